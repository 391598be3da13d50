#include "documents/screens/untIncluirNotasTalao.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untEdicao.h"
#include "documents/untRegrasNotaFiscal.h"
#include "widgets/Enter.h"
#include "widgets/untCalendario.h"
#include "widgets/untFechamento.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

TfrmCamposNotaTalao::TfrmCamposNotaTalao(TContexto& ctx, bool alteracao, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_alteracao(alteracao), m_edicao(std::make_unique<TEdicao>(*ctx.con, *ctx.dialogos))
{
    new TkEnterAsTab(this);
    grbNota = Nomeado(new QGroupBox(this), "grbNota");
    edtModelo = CampoTexto(grbNota, "edtModelo", 2, "\\d{0,2}");
    edtSerie = alteracao ? CampoTexto(grbNota, "edtSerie", 3) : CampoTexto(grbNota, "edtSerie", 2, "[A-Za-z]{0,2}");
    Maiusculas(edtSerie);
    edtSubSerie = CampoTexto(grbNota, "edtSubSerie", 2);
    edtEmissao = Nomeado(new QDateEdit(grbNota), "edtEmissao");
    edtEmissao->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(edtEmissao);
    edtNInicial = CampoTexto(grbNota, "edtNInicial", 6, "[0-9]{0,6}");
    edtNFinal = CampoTexto(grbNota, "edtNFinal", 6, "[0-9]{0,6}");
    auto* dados = new QGridLayout(grbNota);
    const QStringList rotulos = {QStringLiteral("Modelo"),       QString::fromUtf8("Série"),
                                 QString::fromUtf8("SubSérie"),  QString::fromUtf8("Data Emissão"),
                                 QStringLiteral("Nota Inicial"), QStringLiteral("Nota Final")};
    const QList<QWidget*> campos = {edtModelo, edtSerie, edtSubSerie, edtEmissao, edtNInicial, edtNFinal};
    for (int i = 0; i < campos.size(); ++i) {
        dados->addWidget(new QLabel(rotulos[i], grbNota), 0, i);
        dados->addWidget(campos[i], 1, i);
    }

    grbImpostos = Nomeado(new QGroupBox(QString::fromUtf8("Situação Tributária"), this), "grbImpostos");
    auto valor = [this](const char* nome) { return Nomeado(new TEdValor(grbImpostos), nome); };
    curBaseIcms = valor("curBaseIcms");
    curVlrIcms = valor("curVlrIcms");
    curVlrIsenta = valor("curVlrIsenta");
    curVlrOutras = valor("curVlrOutras");
    vlrAliquota = CampoTexto(grbImpostos, "vlrAliquota", 5, "\\d{0,3}(,\\d{0,2})?");
    curVlrTotal = valor("curVlrTotal");
    auto* aliquota = new QHBoxLayout;
    aliquota->addWidget(vlrAliquota);
    aliquota->addWidget(new QLabel(QStringLiteral("%"), grbImpostos));
    auto* impostos = new QGridLayout(grbImpostos);
    const QStringList nomes = {QString::fromUtf8("Base de Cálculo"), QStringLiteral("Valor do ICMS"),
                               QStringLiteral("Isentas"), QStringLiteral("Outras"), QString::fromUtf8("Alíquota"),
                               QStringLiteral("Valor Total")};
    const QList<QWidget*> ws = {curBaseIcms, curVlrIcms, curVlrIsenta, curVlrOutras};
    for (int i = 0; i < 4; ++i) {
        impostos->addWidget(new QLabel(nomes[i], grbImpostos), i, 0);
        impostos->addWidget(ws[i], i, 1);
    }
    impostos->addWidget(new QLabel(nomes[4], grbImpostos), 0, 2);
    impostos->addLayout(aliquota, 0, 3);
    impostos->addWidget(new QLabel(nomes[5], grbImpostos), 3, 2);
    impostos->addWidget(curVlrTotal, 3, 3);
    TeclaDecimalVirgula(vlrAliquota);

    btnCancelar = Nomeado(new QPushButton(QStringLiteral("&Cancelar"), this), "btnCancelar");
    btnSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("&Fechar"), this), "btnFechar");
    for (QPushButton* b : {btnCancelar, btnSalvar, btnFechar})
        b->setAutoDefault(false);

    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, btnCancelar, btnFechar);
    m_regras->aoSair(vlrAliquota, [this] { saiAliquota(); return true; });
}

TfrmCamposNotaTalao::~TfrmCamposNotaTalao() = default;

void TfrmCamposNotaTalao::monta(const QList<QPushButton*>& botoes)
{
    auto* texto = new QLabel(QString::fromUtf8("Para documentos fiscais,\nquando não emitidos \natravés de equipamento \n"
                                               "emissor de cupom fiscal."),
                             this);
    texto->setObjectName(QStringLiteral("lblExplicacao"));
    auto* meio = new QHBoxLayout;
    meio->addWidget(grbImpostos, 1);
    meio->addWidget(texto);
    auto* linhaBotoes = new QHBoxLayout;
    linhaBotoes->addStretch();
    for (QPushButton* b : botoes)
        linhaBotoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grbNota);
    layout->addLayout(meio);
    layout->addLayout(linhaBotoes);
}

bool TfrmCamposNotaTalao::transacaoAberta() const
{
    return m_edicao->ativa();
}

bool TfrmCamposNotaTalao::iniciaTransacao()
{
    return m_edicao->inicia();
}

void TfrmCamposNotaTalao::encerraTransacao()
{
    m_edicao->desfaz();
}

bool TfrmCamposNotaTalao::confirmaTransacao()
{
    return m_edicao->confirma();
}

void TfrmCamposNotaTalao::reject()
{
    // Leaving the screen in the middle of an edit takes back what it had written.
    encerraTransacao();
    QDialog::reject();
}

void TfrmCamposNotaTalao::zeraValores()
{
    for (TEdValor* v : {curBaseIcms, curVlrIcms, curVlrIsenta, curVlrOutras, curVlrTotal})
        v->defineValor(Money());
}

void TfrmCamposNotaTalao::mostraAliquota(const QString& texto)
{
    const auto aliquota = AliquotaTalao(texto);
    vlrAliquota->setText(aliquota ? aliquota->toEditText() : texto);
}

void TfrmCamposNotaTalao::saiAliquota()
{
    const auto aliquota = AliquotaTalao(vlrAliquota->text());
    if (!aliquota)
        return; // "&Salvar" names the problem
    vlrAliquota->setText(aliquota->toEditText());
    curVlrIcms->defineValor(ValorIcms(curBaseIcms->valor(), *aliquota));
}

TCamposTalao TfrmCamposNotaTalao::campos() const
{
    TCamposTalao c;
    c.modelo = edtModelo->text();
    c.serie = edtSerie->text();
    c.subSerie = edtSubSerie->text();
    c.emissao = edtEmissao->date();
    c.notaInicial = edtNInicial->text();
    c.notaFinal = edtNFinal->text();
    c.aliquota = vlrAliquota->text();
    c.valorTotal = curVlrTotal->valor();
    c.baseIcms = curBaseIcms->valor();
    c.valorIcms = curVlrIcms->valor();
    c.isentas = curVlrIsenta->valor();
    c.outras = curVlrOutras->valor();
    return c;
}

bool TfrmCamposNotaTalao::checa(TNotaTalao& nota)
{
    TFalha f;
    try {
        f = ChecaNotaTalao(*m_ctx.dtm, campos(), m_alteracao, m_ctx.IdAtivo, m_ctx.relogio->agora(), nota);
    } catch (const EBancoDados& e) { // the column widths could not be read: nothing is written blind
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    if (!f.falhou())
        return true;
    MostraFalha(*m_ctx.dialogos, this, f);
    return false;
}

void TfrmCamposNotaTalao::informaFalhaGravacao(const QString& erro, const QString& mensagem)
{
    if (!erro.isEmpty())
        m_ctx.dialogos->mensagemSimples(erro);
    Informa(*m_ctx.dialogos, mensagem);
}

// ----- entry screen

TfrmIncluirNotasTalao::TfrmIncluirNotasTalao(TContexto& ctx, QWidget* parent) : TfrmCamposNotaTalao(ctx, false, parent)
{
    setObjectName(QStringLiteral("frmIncluirNotasTalao"));
    setWindowTitle(QString::fromUtf8("Lançamento das Notas Talão"));
    btnNovaNota = Nomeado(new QPushButton(QStringLiteral("&Nova Nota"), this), "btnNovaNota");
    btnNovaNota->setAutoDefault(false);
    connect(btnNovaNota, &QPushButton::clicked, this, &TfrmIncluirNotasTalao::NovaNota);
    connect(btnSalvar, &QPushButton::clicked, this, &TfrmIncluirNotasTalao::Salvar);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmIncluirNotasTalao::Cancelar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    m_regras->aoSair(edtNFinal, [this] { saiNotaFinal(); return true; });
    // The total is typed right after the run (leaving "Nota Final" goes there), then the panel from its first
    // value; after the last one Tab and Enter go to "&Salvar", never to "&Cancelar", where Enter would throw
    // the run away.
    MovimentoFixo(this, edtNFinal, curVlrTotal);
    MovimentoFixo(this, curVlrOutras, btnSalvar);
    monta({btnNovaNota, btnCancelar, btnSalvar, btnFechar});
}

void TfrmIncluirNotasTalao::showEvent(QShowEvent* e)
{
    TfrmCamposNotaTalao::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    edtModelo->setText(QStringLiteral("02"));
    edtEmissao->setDate(m_ctx.relogio->hoje());
    mostraAliquota(QStringLiteral("17"));
    ocioso();
}

void TfrmIncluirNotasTalao::ocioso()
{
    edtNInicial->clear();
    edtNFinal->clear();
    zeraValores();
    grbNota->setEnabled(false);
    grbImpostos->setEnabled(false);
    btnCancelar->setEnabled(false);
    btnSalvar->setEnabled(false);
    btnNovaNota->setEnabled(true);
    btnFechar->setEnabled(true);
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasTalao::NovaNota()
{
    if (!iniciaTransacao())
        return;
    grbNota->setEnabled(true);
    btnCancelar->setEnabled(true);
    btnNovaNota->setEnabled(false);
    btnFechar->setEnabled(false);
    edtModelo->setFocus();
}

void TfrmIncluirNotasTalao::saiNotaFinal()
{
    // The values are typed once the run is known.
    grbImpostos->setEnabled(true);
    btnSalvar->setEnabled(true);
    curVlrTotal->setFocus();
}

void TfrmIncluirNotasTalao::Salvar()
{
    TNotaTalao nota;
    if (!checa(nota))
        return;
    TNotasTalao notas(*m_ctx.dtm);
    QString erro;
    if (!notas.Incluir(nota, &erro)) {
        informaFalhaGravacao(erro, QString::fromUtf8("Erro na Inclusão! Verifique os dados digitados."));
        return;
    }
    if (!confirmaTransacao())
        return; // the success message follows only a commit that succeeded
    m_ultima = nota.IDNotaTalao;
    ocioso();
    Informa(*m_ctx.dialogos, QString::fromUtf8("Nota Incluída com Sucesso!"));
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasTalao::Cancelar()
{
    encerraTransacao();
    ocioso();
}
