#include "backup/screens/untFormConfigBackup.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "backup/untBackup.h"
#include "widgets/untTelas.h"

TFormConfigBackup::TFormConfigBackup(TBackup& backup, QWidget* parent) : QDialog(parent), m_backup(backup)
{
    setObjectName(QStringLiteral("FormConfigBackup"));
    setWindowTitle(QString::fromUtf8("Configurações do Backup (Cópia de Segurança) Automático"));
    setModal(true);

    editUltimoArquivo = Nomeado(new QLineEdit(m_backup.ultimoArquivo, this), "editUltimoArquivo");
    editUltimoArquivo->setReadOnly(true);
    editUltimoArquivo->setMinimumWidth(420);
    ckboxSempre = Nomeado(new QCheckBox(QString::fromUtf8("Sempre realizar backup automático ao encerrar o programa"), this),
                          "ckboxSempre");
    editIntervalo = Nomeado(new QSpinBox(this), "editIntervalo");
    editIntervalo->setRange(TBackup::IntervaloMinimo, TBackup::IntervaloMaximo);
    ckboxPerguntar = Nomeado(new QCheckBox(QString::fromUtf8("Ao encerrar o programa, perguntar se deseja realizar backup "),
                                           this),
                             "ckboxPerguntar");
    btnConfirma = Nomeado(new QPushButton(QStringLiteral("Confirma"), this), "btnConfirma");
    btnConfirma->setDefault(true);
    btnCancela = Nomeado(new QPushButton(QStringLiteral("Cancela"), this), "btnCancela");
    btnCancela->setAutoDefault(false);

    auto* grade = new QGridLayout(this);
    grade->addWidget(new QLabel(QString::fromUtf8("Último backup registrado: "), this), 0, 0);
    grade->addWidget(editUltimoArquivo, 0, 1);
    grade->addWidget(ckboxSempre, 1, 0, 1, 2);
    auto* intervalo = new QHBoxLayout;
    intervalo->addWidget(new QLabel(QString::fromUtf8("Fazer backup automático a cada"), this));
    intervalo->addWidget(editIntervalo);
    intervalo->addWidget(new QLabel(QStringLiteral("dias"), this));
    intervalo->addStretch();
    grade->addLayout(intervalo, 2, 0, 1, 2);
    grade->addWidget(ckboxPerguntar, 3, 0, 1, 2);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConfirma);
    botoes->addWidget(btnCancela);
    grade->addLayout(botoes, 4, 0, 1, 2);

    ckboxSempre->setChecked(m_backup.sempre);
    editIntervalo->setValue(m_backup.intervalo);
    ckboxPerguntar->setChecked(m_backup.perguntar);
    connect(ckboxSempre, &QCheckBox::toggled, this, &TFormConfigBackup::atualizaEstado);
    connect(btnConfirma, &QPushButton::clicked, this, [this] {
        m_backup.sempre = ckboxSempre->isChecked();
        m_backup.intervalo = editIntervalo->value();
        m_backup.perguntar = ckboxPerguntar->isChecked();
        accept();
    });
    connect(btnCancela, &QPushButton::clicked, this, &QDialog::reject);
    atualizaEstado();
}

void TFormConfigBackup::atualizaEstado()
{
    // Always backing up makes the interval and the question meaningless.
    editIntervalo->setEnabled(!ckboxSempre->isChecked());
    ckboxPerguntar->setEnabled(!ckboxSempre->isChecked());
}

void TFormConfigBackup::done(int resultado)
{
    m_backup.configurado = true;
    m_backup.Salva();
    QDialog::done(resultado);
}
