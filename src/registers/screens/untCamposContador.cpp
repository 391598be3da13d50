#include "registers/screens/untCamposContador.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "widgets/Enter.h"
#include "widgets/untTelas.h"
#include "core/untContexto.h"
#include "widgets/untFechamento.h"
#include "db/UntDTM.h"
#include "registers/screens/untAjudasCadastro.h"
#include "core/untMascaras.h"
#include "registers/untValidacoes.h"

TfrmCamposContador::TfrmCamposContador(TContexto& ctx, bool inclusao, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx), m_inclusao(inclusao)
{
    new TkEnterAsTab(this);
    auto* dados = new QGroupBox(QStringLiteral("Dados Pessoais"), this);
    edtRazaoSocial = new QLineEdit(dados);
    edtRazaoSocial->setObjectName(QStringLiteral("edtRazaoSocial"));
    rdgTpInscricao = new QGroupBox(dados);
    rdgTpInscricao->setObjectName(QStringLiteral("rdgTpInscricao"));
    rbCnpj = new QRadioButton(QStringLiteral("CNPJ"), rdgTpInscricao);
    rbCnpj->setObjectName(QStringLiteral("rbCnpj"));
    rbCpf = new QRadioButton(QStringLiteral("CPF"), rdgTpInscricao);
    rbCpf->setObjectName(QStringLiteral("rbCpf"));
    rbCpf->setChecked(true);
    auto* tipos = new QHBoxLayout(rdgTpInscricao);
    tipos->addWidget(rbCnpj);
    tipos->addWidget(rbCpf);
    edtCnpj = new TEdMascarado(Mascaras::CpfDigitando, dados);
    edtCnpj->setObjectName(QStringLiteral("edtCnpj"));
    edtCrc = new QLineEdit(dados);
    edtCrc->setObjectName(QStringLiteral("edtCrc"));
    edtCrc->setToolTip(QStringLiteral("Utilize este formato:\nUF999999A9"));
    // Two letters, six digits, a letter and an optional letter or digit; the preset's asterisks stand in
    // for what is still to be typed.
    edtCrc->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[A-Za-z*]{0,2}[0-9*]{0,6}[A-Za-z*]?[A-Za-z0-9*]?$")), edtCrc));
    connect(edtCrc, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int cursor = edtCrc->cursorPosition();
        edtCrc->setText(t.toUpper());
        edtCrc->setCursorPosition(cursor);
    });
    auto* formDados = new QFormLayout(dados);
    formDados->addRow(QStringLiteral("Nome"), edtRazaoSocial);
    formDados->addRow(rdgTpInscricao);
    formDados->addRow(QStringLiteral("CPF / CNPJ"), edtCnpj);
    formDados->addRow(QStringLiteral("CRC"), edtCrc);

    auto* contato = new QGroupBox(QStringLiteral("Contato"), this);
    edtEmail = new QLineEdit(contato);
    edtEmail->setObjectName(QStringLiteral("edtEmail"));
    edtFone = new TEdMascarado(Mascaras::Fone, contato);
    edtFone->setObjectName(QStringLiteral("edtFone"));
    auto* formContato = new QFormLayout(contato);
    formContato->addRow(QStringLiteral("E-mail"), edtEmail);
    formContato->addRow(QStringLiteral("Fone"), edtFone);

    btnConfirma = new QPushButton(QStringLiteral("Confirma"), this);
    btnConfirma->setObjectName(QStringLiteral("btnConfirma"));
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    for (QPushButton* b : {btnConfirma, btnFechar})
        b->setAutoDefault(false);
    connect(btnConfirma, &QPushButton::clicked, this, [this] { Confirma(); });
    connect(btnFechar, &QPushButton::clicked, this, &TfrmCamposContador::Fechar);
    FechaPeloBotao(this, btnFechar);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConfirma);
    botoes->addWidget(btnFechar);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dados);
    layout->addWidget(contato);
    layout->addLayout(botoes);
    setFixedWidth(420);

    // The text fields take their widths from the columns they are stored in.
    LimitaAColuna(edtRazaoSocial, m_ctx, "Contador", "Nome");
    LimitaAColuna(edtCrc, m_ctx, "Contador", "CRC");
    LimitaAColuna(edtEmail, m_ctx, "Contador", "EMail");

    connect(edtCnpj, &TEdMascarado::entrou, this, &TfrmCamposContador::remascaraNumero);
    connect(rbCnpj, &QRadioButton::toggled, this, &TfrmCamposContador::remascaraNumero);
    OrdemDeLeituraAoMostrar(this);
}

QString TfrmCamposContador::tipoEscolhido() const
{
    return rbCnpj->isChecked() ? QStringLiteral("CNPJ") : QStringLiteral("CPF");
}

void TfrmCamposContador::remascaraNumero()
{
    const bool cnpj = rbCnpj->isChecked();
    if (m_inclusao)
        edtCnpj->setMascara(cnpj ? Mascaras::CnpjDigitando : Mascaras::CpfDigitando);
    else
        edtCnpj->setMascara(cnpj ? Mascaras::CnpjCompleto : Mascaras::CpfCompleto);
    edtCnpj->clear();
}

TCamposContador TfrmCamposContador::campos() const
{
    TCamposContador c;
    c.tipoInscricao = tipoEscolhido();
    c.numero = edtCnpj->valor().trimmed();
    c.nome = edtRazaoSocial->text();
    c.crc = edtCrc->text();
    c.email = edtEmail->text();
    c.fone = edtFone->valor();
    return c;
}

void TfrmCamposContador::Fechar()
{
    try {
        TDataSet& lista = m_ctx.dtm->ADODataSetContador;
        lista.setCommandText(QStringLiteral("SELECT * from Contador ORDER BY Nome"));
        lista.open();
    } catch (const EBancoDados&) { // the list screen reports its own failures
    }
    accept();
}
