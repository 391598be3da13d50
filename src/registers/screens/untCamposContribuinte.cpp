#include "registers/screens/untCamposContribuinte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "widgets/Enter.h"
#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "widgets/untFechamento.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/screens/untAjudasCadastro.h"
#include "registers/screens/untContadores.h"
#include "registers/untClsContador.h"
#include "core/untMascaras.h"
#include "registers/untValidacoes.h"

static QLineEdit* texto(QWidget* pai, const char* nome)
{
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

static TEdMascarado* mascarado(QWidget* pai, const char* nome, const QString& mascara)
{
    auto* e = new TEdMascarado(mascara, pai);
    e->setObjectName(QString::fromLatin1(nome));
    return e;
}

TfrmCamposContribuinte::TfrmCamposContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx), m_modo(modo)
{
    new TkEnterAsTab(this);
    rdgTpInscricao = new QGroupBox(QString::fromUtf8("Tipo Inscrição"), this);
    rdgTpInscricao->setObjectName(QStringLiteral("rdgTpInscricao"));
    rbCnpj = new QRadioButton(QStringLiteral("CNPJ"), rdgTpInscricao);
    rbCnpj->setObjectName(QStringLiteral("rbCnpj"));
    rbCnpj->setChecked(true);
    rbCpf = new QRadioButton(QStringLiteral("CPF"), rdgTpInscricao);
    rbCpf->setObjectName(QStringLiteral("rbCpf"));
    auto* tipos = new QHBoxLayout(rdgTpInscricao);
    tipos->addWidget(rbCnpj);
    tipos->addWidget(rbCpf);
    edtCnpj = mascarado(this, "edtCnpj", Mascaras::CnpjDigitando);

    edtRazaoSocial = texto(this, "edtRazaoSocial");
    edtCcicms = mascarado(this, "edtCcicms", Mascaras::Inscricao);
    chkIsento = new QCheckBox(QStringLiteral("Isento"), this);
    chkIsento->setObjectName(QStringLiteral("chkIsento"));

    auto* endereco = new QGroupBox(QString::fromUtf8("Endereço"), this);
    edtLogradouro = texto(endereco, "edtLogradouro");
    edtNumero = mascarado(endereco, "edtNumero", Mascaras::NumeroEndereco);
    edtComplemento = texto(endereco, "edtComplemento");
    edtBairro = texto(endereco, "edtBairro");
    edtCep = mascarado(endereco, "edtCep", Mascaras::Cep);
    edtMunicipio = texto(endereco, "edtMunicipio");
    cmbUF = new QComboBox(endereco);
    cmbUF->setObjectName(QStringLiteral("cmbUF"));
    cmbUF->setEditable(true);
    cmbUF->addItems(ListaUF());
    cmbUF->setCurrentText(QStringLiteral("ZR"));
    edtFax = mascarado(endereco, "edtFax", Mascaras::Fax);
    auto* gradeEnd = new QGridLayout(endereco);
    gradeEnd->addWidget(new QLabel(QStringLiteral("Rua, Av, ..."), endereco), 0, 0);
    gradeEnd->addWidget(edtLogradouro, 0, 1, 1, 3);
    gradeEnd->addWidget(new QLabel(QString::fromUtf8("Número"), endereco), 1, 0);
    gradeEnd->addWidget(edtNumero, 1, 1);
    gradeEnd->addWidget(new QLabel(QStringLiteral("Complemento"), endereco), 1, 2);
    gradeEnd->addWidget(edtComplemento, 1, 3);
    gradeEnd->addWidget(new QLabel(QStringLiteral("Bairro"), endereco), 2, 0);
    gradeEnd->addWidget(edtBairro, 2, 1);
    gradeEnd->addWidget(new QLabel(QStringLiteral("Cep"), endereco), 2, 2);
    gradeEnd->addWidget(edtCep, 2, 3);
    gradeEnd->addWidget(new QLabel(QString::fromUtf8("Município"), endereco), 3, 0);
    gradeEnd->addWidget(edtMunicipio, 3, 1);
    gradeEnd->addWidget(new QLabel(QStringLiteral("UF"), endereco), 3, 2);
    gradeEnd->addWidget(cmbUF, 3, 3);
    gradeEnd->addWidget(new QLabel(QStringLiteral("Fone/Fax"), endereco), 4, 0);
    gradeEnd->addWidget(edtFax, 4, 1);

    grbContato = new QGroupBox(QStringLiteral("Contato"), this);
    grbContato->setObjectName(QStringLiteral("grbContato"));
    edtContato = texto(grbContato, "edtContato");
    edtFone = mascarado(grbContato, "edtFone", Mascaras::Fone);
    auto* formContato = new QFormLayout(grbContato);
    formContato->addRow(QStringLiteral("Nome"), edtContato);
    formContato->addRow(QStringLiteral("Fone"), edtFone);

    edtEmail = texto(this, "edtEmail");
    edtEmail->installEventFilter(this);

    grbContador = new QGroupBox(QStringLiteral("Contador"), this);
    grbContador->setObjectName(QStringLiteral("grbContador"));
    edtNomeContador = texto(grbContador, "edtNomeContador");
    edtNomeContador->setReadOnly(true);
    btnSelcionaContador = new QPushButton(QStringLiteral("..."), grbContador);
    btnSelcionaContador->setObjectName(QStringLiteral("btnSelcionaContador"));
    btnSelcionaContador->setAutoDefault(false);
    auto* linhaContador = new QHBoxLayout(grbContador);
    linhaContador->addWidget(new QLabel(QStringLiteral("Nome"), grbContador));
    linhaContador->addWidget(edtNomeContador, 1);
    linhaContador->addWidget(btnSelcionaContador);
    connect(btnSelcionaContador, &QPushButton::clicked, this, &TfrmCamposContribuinte::SelecionaContador);

    btnConfirma = new QPushButton(this);
    btnConfirma->setObjectName(QStringLiteral("btnConfirma"));
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    for (QPushButton* b : {btnConfirma, btnFechar})
        b->setAutoDefault(false);
    connect(btnConfirma, &QPushButton::clicked, this, [this] { Confirma(); });
    connect(btnFechar, &QPushButton::clicked, this, [this] { Fechar(); });
    FechaPeloBotao(this, btnFechar);
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);

    auto* topo = new QGridLayout;
    topo->addWidget(rdgTpInscricao, 0, 0, 2, 1);
    topo->addWidget(edtCnpj, 0, 1);
    topo->addWidget(new QLabel(QString::fromUtf8("Razão Social"), this), 2, 0);
    topo->addWidget(edtRazaoSocial, 2, 1, 1, 2);
    topo->addWidget(new QLabel(QStringLiteral("Insc. Estadual"), this), 3, 0);
    topo->addWidget(edtCcicms, 3, 1);
    topo->addWidget(chkIsento, 3, 2);
    auto* linhaEmail = new QHBoxLayout;
    linhaEmail->addWidget(new QLabel(QStringLiteral("E-Mail"), this));
    linhaEmail->addWidget(edtEmail, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnConfirma);
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(endereco);
    layout->addWidget(grbContato);
    layout->addLayout(linhaEmail);
    layout->addWidget(grbContador);
    layout->addLayout(botoes);
    layout->addWidget(StatusBar);
    setFixedWidth(560);

    // Reading order, except that the registration comes right after the number and leaving it goes to the
    // name drawn above it, and that "Isento" comes after the e-mail: from the name Enter goes on to the street,
    // where a street typed at once would otherwise land on the box, whose space marks it and replaces the
    // registration. Marking the box sends the focus back to the name.
    OrdemDeLeitura(this, {{edtCnpj, edtCcicms}, {edtRazaoSocial, edtLogradouro}, {edtEmail, chkIsento}});

    // Every text field takes its width from the column it is stored in.
    const struct {
        QLineEdit* campo;
        const char* tabela;
        const char* coluna;
    } colunas[] = {
        {edtRazaoSocial, "Contribuinte", "RazaoSocial"}, {edtLogradouro, "Contribuinte", "Logradouro"},
        {edtComplemento, "Contribuinte", "Complemento"}, {edtBairro, "Contribuinte", "Bairro"},
        {edtMunicipio, "Contribuinte", "Municipio"},     {cmbUF->lineEdit(), "Contribuinte", "UF"},
        {edtContato, "Contribuinte", "Contato"},         {edtEmail, "Contribuinte", "Email"},
        {edtNomeContador, "Contador", "Nome"},
    };
    for (const auto& c : colunas)
        LimitaAColuna(c.campo, m_ctx, c.tabela, c.coluna);

    const bool contribuinte = ehContribuinte(modo);
    grbContato->setVisible(contribuinte);
    grbContador->setVisible(contribuinte);
    connect(edtCnpj, &TEdMascarado::entrou, this, &TfrmCamposContribuinte::remascaraNumero);
    connect(rbCnpj, &QRadioButton::toggled, this, &TfrmCamposContribuinte::remascaraNumero);
    connect(chkIsento, &QCheckBox::toggled, this, &TfrmCamposContribuinte::marcaIsento);
}

bool TfrmCamposContribuinte::eventFilter(QObject* alvo, QEvent* evento)
{
    if (alvo == edtEmail) {
        if (evento->type() == QEvent::FocusIn)
            StatusBar->showMessage(QString::fromUtf8(
                "O E-Mail é obrigatório para a recepção do Recibo Definitivo via Internet"));
        else if (evento->type() == QEvent::FocusOut)
            StatusBar->clearMessage();
    }
    return QDialog::eventFilter(alvo, evento);
}

void TfrmCamposContribuinte::remascaraNumero()
{
    if (!ehInclusao(m_modo))
        return; // the change dialog shows the stored number and does not let it be typed again
    edtCnpj->setMascara(rbCnpj->isChecked() ? Mascaras::CnpjDigitando : Mascaras::CpfDigitando);
    edtCnpj->clear();
}

void TfrmCamposContribuinte::marcaIsento(bool isento)
{
    if (isento) {
        edtCcicms->setMascara(QString());
        edtCcicms->setText(QStringLiteral("ISENTO"));
    } else {
        edtCcicms->setMascara(Mascaras::Inscricao);
        edtCcicms->clear();
    }
    edtRazaoSocial->setFocus();
}

TCamposContribuinte TfrmCamposContribuinte::campos() const
{
    TCamposContribuinte c;
    c.tipoInscricao = rbCnpj->isChecked() ? QStringLiteral("CNPJ") : QStringLiteral("CPF");
    c.numero = edtCnpj->valor().trimmed();
    c.razaoSocial = edtRazaoSocial->text();
    c.isento = chkIsento->isChecked();
    c.ccicms = c.isento ? QStringLiteral("ISENTO") : edtCcicms->valor().trimmed();
    c.logradouro = edtLogradouro->text();
    c.numeroEndereco = edtNumero->valor();
    c.complemento = edtComplemento->text();
    c.bairro = edtBairro->text();
    c.cep = edtCep->valor().trimmed();
    c.municipio = edtMunicipio->text();
    c.uf = cmbUF->currentText();
    c.fax = edtFax->valor();
    c.contato = edtContato->text();
    c.fone = edtFone->valor();
    c.email = edtEmail->text();
    return c;
}

void TfrmCamposContribuinte::SelecionaContador()
{
    edtNomeContador->clear();
    {
        TfrmContadores lista(m_ctx, this);
        m_ctx.dialogos->executaModal(&lista);
    }
    TContador contador(*m_ctx.dtm, *m_ctx.dialogos);
    contador.CarregarContador(m_ctx.IdContadorEscolhido);
    edtNomeContador->setText(contador.NomeContador());
    btnConfirma->setFocus();
}

int TfrmCamposContribuinte::contadorCarregado() const
{
    const TDataSet& lista = m_ctx.dtm->ADODataSetContador;
    if (!lista.active() || lista.isEmpty() || lista.fieldIndex(QStringLiteral("IDContador")) < 0)
        return 0;
    return lista.asInteger(QStringLiteral("IDContador"));
}
