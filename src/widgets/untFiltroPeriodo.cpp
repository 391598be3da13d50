#include "widgets/untFiltroPeriodo.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "widgets/untSaidaCampo.h"

TFiltroPeriodo::TFiltroPeriodo(IRelogio& relogio, QWidget* parent) : QGroupBox(QStringLiteral("Periodo"), parent)
{
    setObjectName(QStringLiteral("grbPeriodo"));
    cmbMes = new QComboBox(this);
    cmbMes->setObjectName(QStringLiteral("cmbMes"));
    cmbMes->setEditable(true);
    cmbMes->setMinimumWidth(64);
    cmbMes->addItem(QStringLiteral("**"));
    for (int m = 1; m <= 12; ++m)
        cmbMes->addItem(QString::number(m));
    cmbMes->setCurrentIndex(-1);
    cmbMes->setEditText(QString());
    cmbAno = new QComboBox(this);
    cmbAno->setObjectName(QStringLiteral("cmbAno"));
    cmbAno->setEditable(true);
    QStringList anos;
    ListaAnos(2002, relogio.hoje().year(), anos);
    cmbAno->addItems(anos);
    cmbAno->setCurrentText(AnoAtual(relogio));
    auto* regras = new TRegrasSaida(this);
    regras->aoSair(cmbMes, [this] { return saiMes(); });
    regras->aoSair(cmbAno, [this] { return saiAno(); });
    auto* l = new QHBoxLayout(this);
    l->addWidget(new QLabel(QString::fromUtf8("Mês"), this));
    l->addWidget(cmbMes);
    l->addWidget(new QLabel(QStringLiteral("Ano"), this));
    l->addWidget(cmbAno);
}

bool TFiltroPeriodo::saiMes()
{
    bool ok = false;
    const int mes = cmbMes->currentText().trimmed().toInt(&ok);
    if (!ok)
        return true; // "**" and other texts stay as they are
    cmbMes->setEditText(mes > 12 ? QStringLiteral("1") : QString::number(mes));
    return mes <= 12;
}

bool TFiltroPeriodo::saiAno()
{
    bool ok = false;
    const int ano = cmbAno->currentText().trimmed().toInt(&ok);
    if (!ok)
        cmbAno->setEditText(QStringLiteral("2003"));
    else if (ano <= 1998)
        cmbAno->setEditText(QStringLiteral("1999"));
    return ok && ano > 1998;
}
