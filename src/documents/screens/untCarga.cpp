#include "documents/screens/untCarga.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "documents/untRegrasNotaTransporte.h"
#include "registers/screens/untEmpresas.h"
#include "widgets/Enter.h"
#include "widgets/untCalendario.h"
#include "widgets/untFechamento.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

TfrmCamposCarga::TfrmCamposCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx), m_carga(carga)
{
    new TkEnterAsTab(this);
    auto* destino = new QGroupBox(QString::fromUtf8(" Destinatário "), this);
    edtCnpjDestino = CampoTexto(destino, "edtCnpjDestino", 14);
    lblNomeDestino = new QLabel(destino);
    lblNomeDestino->setObjectName(QStringLiteral("lblNomeDestino"));
    auto* ld = new QHBoxLayout(destino);
    ld->addWidget(edtCnpjDestino);
    ld->addWidget(lblNomeDestino, 1);

    auto* dados = new QGroupBox(QStringLiteral(" Dados da Nota Fiscal "), this);
    edtModelo = CampoTexto(dados, "edtModelo", 2);
    edtModelo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), edtModelo));
    edtSerie = CampoTexto(dados, "edtSerie", 3);
    edtSubSerie = CampoTexto(dados, "edtSubSerie", 2);
    edtNumeroNF = CampoTexto(dados, "edtNumeroNF", 6);
    edtNumeroNF->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), edtNumeroNF));
    edtEmissao = new QDateEdit(dados);
    edtEmissao->setObjectName(QStringLiteral("edtEmissao"));
    edtEmissao->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(edtEmissao);
    edtValorNF = new TEdValor(dados);
    edtValorNF->setObjectName(QStringLiteral("edtValorNF"));
    auto* g = new QGridLayout(dados);
    const QStringList rotulos = {QStringLiteral("Modelo"), QString::fromUtf8("Série"), QStringLiteral("SubSerie"),
                                 QString::fromUtf8("Número"), QString::fromUtf8("Dt Emissão")};
    const QList<QWidget*> ws = {edtModelo, edtSerie, edtSubSerie, edtNumeroNF, edtEmissao};
    for (int i = 0; i < ws.size(); ++i) {
        g->addWidget(new QLabel(rotulos[i], dados), 0, i);
        g->addWidget(ws[i], 1, i);
    }
    g->addWidget(new QLabel(QStringLiteral(" Valor Total "), dados), 2, 0);
    g->addWidget(edtValorNF, 3, 0, 1, 2);

    btnSalvar = new QPushButton(QStringLiteral("&Salvar"), this);
    btnSalvar->setObjectName(QStringLiteral("btnSalvar"));
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    for (QPushButton* b : {btnSalvar, btnFechar})
        b->setAutoDefault(false);
    connect(btnSalvar, &QPushButton::clicked, this, [this] { Salvar(); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(btnSalvar);
    botoes->addWidget(btnFechar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(destino);
    layout->addWidget(dados);
    layout->addLayout(botoes);

    m_regras = new TRegrasSaida(this);
    m_regras->silencioso(btnFechar);
    RegraDosValores(*m_regras, this, *m_ctx.dialogos);
    m_regras->aoSair(edtCnpjDestino, [this] { saiDestino(); return true; });
}

void TfrmCamposCarga::mostraDestino(int id)
{
    m_carga.IDDestino = id;
    lblNomeDestino->clear();
    if (id == 0)
        return;
    TDataSet q(m_ctx.dtm->conexao());
    q.setCommandText(QStringLiteral("SELECT CNPJ, RazaoSocial FROM Contribuinte WHERE IdContribuinte = :Id"));
    q.setParam(QStringLiteral("Id"), id);
    q.open();
    if (!q.isEmpty()) {
        edtCnpjDestino->setText(q.asString(QStringLiteral("CNPJ")));
        lblNomeDestino->setText(q.asString(QStringLiteral("RazaoSocial")));
    }
}

void TfrmCamposCarga::saiDestino()
{
    const TParteEscolhida p = EscolheParte(m_ctx, this, edtCnpjDestino->text());
    m_carga.IDDestino = p.id;
    edtCnpjDestino->setText(p.cnpj);
    lblNomeDestino->setText(p.razaoSocial);
    edtModelo->setFocus();
}

TNotaCarga TfrmCamposCarga::campos() const
{
    TNotaCarga c = m_carga;
    c.DtEmissao = edtEmissao->date();
    c.ModeloNF = edtModelo->text().trimmed();
    c.SerieNF = edtSerie->text().trimmed();
    c.SubSerieNF = edtSubSerie->text().trimmed();
    c.NumNF = edtNumeroNF->text().trimmed();
    c.ValorNF = edtValorNF->valor();
    c.DtUltAlteracao = m_ctx.relogio->agora();
    return c;
}

TfrmIncluirCarga::TfrmIncluirCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent)
    : TfrmCamposCarga(ctx, carga, parent)
{
    setObjectName(QStringLiteral("frmIncluirCarga"));
    setWindowTitle(QString::fromUtf8("Lançamento da Carga Transportada"));
    edtModelo->setText(QStringLiteral("01"));
}

void TfrmIncluirCarga::showEvent(QShowEvent* e)
{
    TfrmCamposCarga::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    edtEmissao->setDate(m_ctx.relogio->hoje());
    edtCnpjDestino->setFocus();
}

void TfrmIncluirCarga::Salvar()
{
    TNotaCarga c = campos();
    if (const TFalha f = ChecaCarga(c.ModeloNF, c.NumNF, c.ValorNF); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    TNotasTransporte notas(*m_ctx.dtm);
    if (!notas.IncluirCarga(c)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Inclusão! Verifique os dados digitados."));
        return;
    }
    Informa(*m_ctx.dialogos, QStringLiteral("Nota de Carga\nGravada com Sucesso!"));
    // Ready for the next note of the same load.
    edtNumeroNF->clear();
    edtValorNF->defineValor(Money());
    edtCnpjDestino->setFocus();
}

TfrmAlterarCarga::TfrmAlterarCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent)
    : TfrmCamposCarga(ctx, carga, parent)
{
    setObjectName(QStringLiteral("frmAlterarCarga"));
    setWindowTitle(QString::fromUtf8("Alteração do Lançamento da Carga Transportada"));
    edtModelo->setText(carga.ModeloNF.trimmed());
    edtSerie->setText(carga.SerieNF.trimmed());
    edtSubSerie->setText(carga.SubSerieNF.trimmed());
    edtNumeroNF->setText(carga.NumNF.trimmed());
    edtEmissao->setDate(carga.DtEmissao);
    edtValorNF->defineValor(carga.ValorNF);
    try {
        mostraDestino(carga.IDDestino);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

void TfrmAlterarCarga::Salvar()
{
    const TNotaCarga c = campos();
    if (const TFalha f = ChecaCarga(c.ModeloNF, c.NumNF, c.ValorNF); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    TNotasTransporte notas(*m_ctx.dtm);
    if (!notas.AlterarCarga(c)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
        return;
    }
    Informa(*m_ctx.dialogos, QStringLiteral("Nota de Carga\nAlterada com Sucesso!"));
    accept();
}
