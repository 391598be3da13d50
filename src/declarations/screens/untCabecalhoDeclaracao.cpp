#include "declarations/screens/untCabecalhoDeclaracao.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/untTelas.h"

QStringList AnosDesde(int deste, int ate)
{
    QStringList r;
    for (int a = deste; a >= ate; --a)
        r << QString::number(a);
    return r;
}

TCabecalhoDeclaracao MontaCabecalhoDeclaracao(QWidget* tela, const QStringList& anos, const char* tituloTipo)
{
    TCabecalhoDeclaracao c;
    c.grbPeriodo = Nomeado(new QGroupBox(QString::fromUtf8(" Período "), tela), "grbPeriodo");
    c.grbPeriodo->setToolTip(QString::fromUtf8("Clique no botão Processa\npara ativar os campos."));
    c.cmbMes = Nomeado(new QComboBox(c.grbPeriodo), "cmbMes");
    c.cmbMes->setEditable(true);
    c.cmbMes->setInsertPolicy(QComboBox::NoInsert);
    for (int m = 1; m <= 12; ++m)
        c.cmbMes->addItem(QString::number(m));
    c.cmbMes->lineEdit()->setMaxLength(2);
    c.cmbAno = Nomeado(new QComboBox(c.grbPeriodo), "cmbAno");
    c.cmbAno->setEditable(true);
    c.cmbAno->setInsertPolicy(QComboBox::NoInsert);
    c.cmbAno->addItems(anos);
    c.cmbAno->lineEdit()->setMaxLength(4);
    c.btnProcessa = Nomeado(new QPushButton(QStringLiteral("Processa"), c.grbPeriodo), "btnProcessa");
    c.btnProcessa->setAutoDefault(false);
    auto* lp = new QHBoxLayout(c.grbPeriodo);
    lp->addWidget(new QLabel(QString::fromUtf8("Mês"), c.grbPeriodo));
    lp->addWidget(c.cmbMes);
    lp->addWidget(new QLabel(QStringLiteral("Ano"), c.grbPeriodo));
    lp->addWidget(c.cmbAno);
    lp->addWidget(c.btnProcessa);
    c.rdgTipo = Nomeado(new QGroupBox(QString::fromUtf8(tituloTipo), tela), "rdgTipo");
    c.rbNormal = Nomeado(new QRadioButton(QStringLiteral("&Normal"), c.rdgTipo), "rbNormal");
    c.rbRetificadora = Nomeado(new QRadioButton(QStringLiteral("&Retificadora"), c.rdgTipo), "rbRetificadora");
    c.rbNormal->setChecked(true);
    auto* lt = new QHBoxLayout(c.rdgTipo);
    lt->addWidget(c.rbNormal);
    lt->addWidget(c.rbRetificadora);
    lt->addStretch();
    return c;
}
