#include "documents/screens/untCamposTransporte.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSet>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "documents/screens/untCamposDocumento.h"
#include "documents/screens/untCarga.h"
#include "widgets/Enter.h"
#include "widgets/untCalendario.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

TfrmCamposTransporte::TfrmCamposTransporte(TContexto& ctx, bool alteracao, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx), m_alteracao(alteracao),
      m_edicao(std::make_unique<TEdicao>(*ctx.con, *ctx.dialogos)), m_cargas(std::make_unique<TDataSet>(*ctx.con))
{
    setObjectName(QString::fromLatin1(alteracao ? "frmAlterarNotasTransporte" : "frmIncluirNotasTransporte"));
    setWindowTitle(QString::fromUtf8(alteracao ? "Alteração de Lançamento de Notas Fiscais de Transporte"
                                               : "Lançamento de Notas Fiscais de Transporte"));
    new TkEnterAsTab(this);

    rdgModalidade = Nomeado(new QGroupBox(QString::fromUtf8("Modalidade do Frete / Situação"), this), "rdgModalidade");
    rbCIF = Nomeado(new QRadioButton(QStringLiteral("CIF (Pago)"), rdgModalidade), "rbCIF");
    rbFOB = Nomeado(new QRadioButton(QStringLiteral("FOB (A Pagar)"), rdgModalidade), "rbFOB");
    rbCIF->setChecked(true);
    {
        auto* l = new QHBoxLayout(rdgModalidade);
        l->addWidget(rbCIF);
        l->addWidget(rbFOB);
        l->addStretch();
    }

    grbDados = Nomeado(new QGroupBox(QStringLiteral("Dados da Nota Fiscal de Transporte"), this), "grbDados");
    edtModelo = CampoTexto(grbDados, "edtModelo", 2, "[0-9]{0,2}");
    edtSerie = CampoTexto(grbDados, "edtSerie", 1, "[A-Za-z]?");
    Maiusculas(edtSerie);
    edtSubSerie = CampoTexto(grbDados, "edtSubSerie", 2);
    edtNumNtTransporte = CampoTexto(grbDados, "edtNumNtTransporte", 6, alteracao ? nullptr : "[0-9]{0,6}");
    edtEmissao = Nomeado(new QDateEdit(grbDados), "edtEmissao");
    edtEmissao->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(edtEmissao);
    curNTVlrTotal = Nomeado(new TEdValor(grbDados), "curNTVlrTotal");
    edtObservacao = CampoTexto(grbDados, "edtObservacao", 30);
    chbSituacao = Nomeado(new QCheckBox(QStringLiteral("Cancelada"), this), "chbSituacao");
    {
        auto* g = new QGridLayout(grbDados);
        const QStringList rotulos = {QStringLiteral("Modelo"), QString::fromUtf8("Série"), QStringLiteral("SubSerie"),
                                     QString::fromUtf8("Número"), QString::fromUtf8("Dt Emissão")};
        const QList<QWidget*> ws = {edtModelo, edtSerie, edtSubSerie, edtNumNtTransporte, edtEmissao};
        for (int i = 0; i < ws.size(); ++i) {
            g->addWidget(new QLabel(rotulos[i], grbDados), 0, i);
            g->addWidget(ws[i], 1, i);
        }
        g->addWidget(new QLabel(QStringLiteral(" Valor Total "), grbDados), 2, 0);
        g->addWidget(curNTVlrTotal, 3, 0, 1, 2);
        g->addWidget(new QLabel(QString::fromUtf8("Observação"), grbDados), 2, 2);
        g->addWidget(edtObservacao, 3, 2, 1, 3);
    }

    grbIcms = Nomeado(new QGroupBox(QString::fromUtf8("Cálculo do ICMS"), this), "grbIcms");
    curNTBaseCalc = Nomeado(new TEdValor(grbIcms), "curNTBaseCalc");
    curNTValorIcms = Nomeado(new TEdValor(grbIcms), "curNTValorIcms");
    curNTIsenta = Nomeado(new TEdValor(grbIcms), "curNTIsenta");
    curNTOutras = Nomeado(new TEdValor(grbIcms), "curNTOutras");
    {
        auto* g = new QGridLayout(grbIcms);
        const QStringList rotulos = {QString::fromUtf8("Base de Cálculo"), QStringLiteral("Valor do ICMS"),
                                     QStringLiteral("Isentas"), QStringLiteral("Outras")};
        const QList<QWidget*> ws = {curNTBaseCalc, curNTValorIcms, curNTIsenta, curNTOutras};
        for (int i = 0; i < ws.size(); ++i) {
            g->addWidget(new QLabel(rotulos[i], grbIcms), 0, i);
            g->addWidget(ws[i], 1, i);
        }
    }

    grbCfop = Nomeado(new QGroupBox(QStringLiteral("CFOP"), this), "grbCfop");
    edtCodCFOP = CampoTexto(grbCfop, "edtCodCFOP", 4, "[0-9]{0,4}");
    MemoCfop = Nomeado(new QPlainTextEdit(grbCfop), "MemoCfop");
    MemoCfop->setReadOnly(true);
    MemoCfop->setFocusPolicy(Qt::NoFocus);
    MemoCfop->setFixedHeight(50);
    {
        auto* l = new QHBoxLayout(grbCfop);
        l->addWidget(edtCodCFOP);
        l->addWidget(MemoCfop, 1);
    }
    m_cfop = std::make_unique<TCampoCfop>(edtCodCFOP, MemoCfop);

    grbTomador = Nomeado(new QGroupBox(QStringLiteral("Emitente / Tomador"), this), "grbTomador");
    edtCnpjTomador = CampoTexto(grbTomador, "edtCnpjTomador", 14);
    lblNomeTomador = Nomeado(new QLabel(grbTomador), "lblNomeTomador");
    lblUF = Nomeado(new QLabel(grbTomador), "lblUF");
    {
        auto* l = new QHBoxLayout(grbTomador);
        l->addWidget(edtCnpjTomador);
        l->addWidget(lblNomeTomador, 1);
        l->addWidget(lblUF);
    }
    m_parte = std::make_unique<TCampoParte>(edtCnpjTomador, lblNomeTomador, lblUF);

    grbCarga = Nomeado(new QGroupBox(this), "grbCarga");
    auto* lblCarga = new QLabel(QStringLiteral("Notas Fiscais que acobertam a carga transportada"), grbCarga);
    ckbTransportadora = Nomeado(new QCheckBox(QString::fromUtf8("Marque para habilitar quadro."), grbCarga),
                                "ckbTransportadora");
    ckbTransportadora->installEventFilter(this);
    dbgCarga = Nomeado(new QTableView(grbCarga), "dbgCarga");
    ConfiguraGrade(dbgCarga, nullptr, QString(), QString());
    m_modeloCargas = new TDataSetModel(*m_cargas,
                                       {{QStringLiteral("DtEmissao"), {}},
                                        {QStringLiteral("ModeloNF"), {}},
                                        {QStringLiteral("SerieNF"), {}},
                                        {QStringLiteral("SubSerieNF"), {}},
                                        {QStringLiteral("NumNF"), {}},
                                        {QStringLiteral("ValorNF"), {}}},
                                       this);
    MostraNaGrade(dbgCarga, m_modeloCargas);
    auto acao = [this](const char* nome, const char* legenda) {
        auto* a = Nomeado(new QAction(QString::fromUtf8(legenda), dbgCarga), nome);
        dbgCarga->addAction(a);
        return a;
    };
    mnuIncluirCarga = acao("mnuIncluirCarga", "Incluir");
    mnuAlterarCarga = acao("mnuAlterarCarga", "Alterar");
    mnuExcluirCarga = acao("mnuExcluirCarga", "Excluir");
    mnuImprimirCarga = acao("mnuImprimirCarga", "Imprimir"); // the printed cargo list comes with the reports
    connect(mnuIncluirCarga, &QAction::triggered, this, &TfrmCamposTransporte::IncluirCarga);
    connect(mnuAlterarCarga, &QAction::triggered, this, &TfrmCamposTransporte::AlterarCarga);
    connect(mnuExcluirCarga, &QAction::triggered, this, &TfrmCamposTransporte::ExcluirCarga);
    {
        auto* l = new QVBoxLayout(grbCarga);
        l->addWidget(lblCarga);
        l->addWidget(ckbTransportadora, 0, Qt::AlignLeft);
        l->addWidget(dbgCarga);
    }

    m_btnPrimeiro = alteracao ? Nomeado(new QPushButton(QStringLiteral("&Alterar"), this), "btnAlterar")
                              : Nomeado(new QPushButton(QStringLiteral("&Nova Nota"), this), "btnNovaNota");
    btnCancelar = Nomeado(new QPushButton(QStringLiteral("&Cancelar"), this), "btnCancelar");
    btnSalvar = Nomeado(new QPushButton(QStringLiteral("&Salvar"), this), "btnSalvar");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    stbStatus->showMessage(
        QString::fromUtf8("Para Incluir as Notas da Carga Clique no Botão Direito do Mouse sobre a Tabela"));

    m_regras = PreparaTelaDeEdicao(this, *m_ctx.dialogos, btnCancelar, btnFechar);
    if (!alteracao)
        m_nfe = std::make_unique<TQuadroNFe>(this, *m_ctx.dialogos, *m_regras);

    auto* esquerda = new QVBoxLayout;
    esquerda->addWidget(rdgModalidade);
    esquerda->addWidget(grbDados);
    esquerda->addWidget(grbIcms);
    esquerda->addWidget(chbSituacao, 0, Qt::AlignLeft); // only its box and caption take the click
    esquerda->addWidget(grbCfop);
    esquerda->addWidget(grbTomador);
    if (m_nfe) {
        auto* l = new QHBoxLayout;
        l->addWidget(m_nfe->rgSituacaoNF);
        l->addWidget(m_nfe->grbFaixa);
        esquerda->addLayout(l);
    }
    auto* corpo = new QHBoxLayout;
    corpo->addLayout(esquerda, 3);
    corpo->addWidget(grbCarga, 2);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {m_btnPrimeiro, btnCancelar, btnSalvar, btnFechar}) {
        b->setAutoDefault(false);
        botoes->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(corpo);
    layout->addLayout(botoes);
    layout->addWidget(stbStatus);

    connect(btnSalvar, &QPushButton::clicked, this, [this] { Salvar(); });
    connect(btnCancelar, &QPushButton::clicked, this, [this] { Cancelar(); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(chbSituacao, &QCheckBox::clicked, this, &TfrmCamposTransporte::clicaCancelada);
    for (QRadioButton* r : {rbCIF, rbFOB})
        connect(r, &QRadioButton::clicked, this, [this] { edtModelo->setFocus(); });
    connect(ckbTransportadora, &QCheckBox::clicked, this, &TfrmCamposTransporte::marcaCarga);

    const TelaCfop telaCfop = alteracao ? TelaCfop::AlterarTransporte : TelaCfop::IncluirTransporte;
    m_regras->aoSair(edtCodCFOP, [this, telaCfop] {
        const auto r = m_cfop->sai(m_ctx, this, telaCfop, true, edtEmissao->date(), !m_alteracao);
        if (!r.codigo.isEmpty())
            edtCnpjTomador->setFocus();
        return true;
    });
    edtCodCFOP->installEventFilter(this);
    m_regras->aoSair(edtCnpjTomador, [this] {
        m_parte->escolhe(m_ctx, this);
        btnSalvar->setFocus();
        return true;
    });
    m_regras->aoSair(edtObservacao, [this] {
        if (chbSituacao->isChecked())
            btnSalvar->setFocus();
        return true;
    });
    m_regras->aoSair(edtSubSerie, [this] {
        edtSubSerie->setText(edtSubSerie->text().trimmed().toUpper());
        return true;
    });
}

TfrmCamposTransporte::~TfrmCamposTransporte() = default;

bool TfrmCamposTransporte::transacaoAberta() const
{
    return m_edicao->ativa();
}

int TfrmCamposTransporte::linhasDaCarga() const
{
    return m_cargas->active() ? m_cargas->recordCount() : 0;
}

bool TfrmCamposTransporte::eventFilter(QObject* alvo, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn) {
        if (alvo == edtCodCFOP)
            m_cfop->entra(m_ctx, m_alteracao ? TelaCfop::AlterarTransporte : TelaCfop::IncluirTransporte, true,
                          edtEmissao->date());
        // A mouse click is checked by the click itself: refusing here too would say it twice.
        else if (alvo == ckbTransportadora && ckbTransportadora->isEnabled() &&
                 static_cast<QFocusEvent*>(evento)->reason() != Qt::MouseFocusReason)
            recusaModeloDaCarga();
    }
    return QDialog::eventFilter(alvo, evento);
}

void TfrmCamposTransporte::reject()
{
    // Leaving in the middle of an edit takes back the header and its cargo notes.
    m_edicao->desfaz();
    fechaCargas();
    QDialog::reject();
}

bool TfrmCamposTransporte::recusaModeloDaCarga()
{
    if (edtModelo->text().trimmed() != QLatin1String("07"))
        return false;
    ckbTransportadora->setChecked(false);
    Informa(*m_ctx.dialogos, QString::fromUtf8("Modelo de Conhecimento Inválido!\n Modelos válidos 08,09, 10 e 11."));
    edtModelo->setFocus();
    return true;
}

void TfrmCamposTransporte::marcaCarga(bool marcado)
{
    if (!marcado || m_cabecalhoGravado)
        return;
    // The same click that entered the box marks it: the model is checked again before anything is written.
    if (recusaModeloDaCarga())
        return;
    if (!m_edicao->ativa() || !gravaCabecalho())
        ckbTransportadora->setChecked(false);
}

TCamposTransporte TfrmCamposTransporte::campos() const
{
    TCamposTransporte c;
    c.modelo = edtModelo->text();
    c.serie = edtSerie->text();
    c.subSerie = edtSubSerie->text();
    c.numero = edtNumNtTransporte->text();
    c.emissao = edtEmissao->date();
    c.cfop = edtCodCFOP->text();
    c.valorTotal = curNTVlrTotal->valor();
    c.baseIcms = curNTBaseCalc->valor();
    c.valorIcms = curNTValorIcms->valor();
    c.isentas = curNTIsenta->valor();
    c.outras = curNTOutras->valor();
    c.cif = rbCIF->isChecked();
    c.cancelada = chbSituacao->isChecked();
    if (m_nfe) {
        c.nfe = m_nfe->situacao();
        c.inicioFaixa = m_nfe->edtInicioInutilizado->text();
        c.finalFaixa = m_nfe->edtFinalInutilizado->text();
    }
    c.idEmitente = m_parte->id();
    c.ufEmitente = m_parte->uf();
    c.observacao = edtObservacao->text();
    return c;
}

void TfrmCamposTransporte::habilitaCabecalho(bool sim)
{
    for (QWidget* w : {static_cast<QWidget*>(rdgModalidade), static_cast<QWidget*>(grbDados),
                       static_cast<QWidget*>(grbIcms), static_cast<QWidget*>(chbSituacao),
                       static_cast<QWidget*>(grbCfop), static_cast<QWidget*>(grbTomador)})
        w->setEnabled(sim);
    if (m_nfe)
        m_nfe->rgSituacaoNF->setEnabled(sim);
    if (sim && chbSituacao->isChecked())
        clicaCancelada(); // a cancelled document keeps its values, party and code shut
}

void TfrmCamposTransporte::clicaCancelada()
{
    const bool cancelada = chbSituacao->isChecked();
    if (m_nfe) {
        if (cancelada)
            m_nfe->limpa();
        m_nfe->rgSituacaoNF->setEnabled(!cancelada);
    }
    if (cancelada)
        zeraValores();
    for (QWidget* w : {static_cast<QWidget*>(curNTVlrTotal), static_cast<QWidget*>(grbIcms),
                       static_cast<QWidget*>(grbTomador), static_cast<QWidget*>(grbCfop),
                       static_cast<QWidget*>(grbCarga)})
        w->setEnabled(!cancelada);
    edtModelo->setFocus();
}

void TfrmCamposTransporte::zeraValores()
{
    for (TEdValor* v : {curNTVlrTotal, curNTBaseCalc, curNTValorIcms, curNTIsenta, curNTOutras})
        v->defineValor(Money());
}

void TfrmCamposTransporte::cabecalhoGravado()
{
    m_cabecalhoGravado = true;
    habilitaCabecalho(false);
    if (m_nfe) {
        m_nfe->rgSituacaoNF->setEnabled(false);
        m_nfe->grbFaixa->setEnabled(false);
    }
    grbCarga->setEnabled(true);
    dbgCarga->setEnabled(true);
    ckbTransportadora->setEnabled(false);
    leCargas();
}

void TfrmCamposTransporte::leCargas()
{
    try {
        m_cargas->setCommandText(QStringLiteral("SELECT * FROM NFCARGA WHERE IDNotaTransporte =:IDNFTransporte "
                                                "AND IDContribuinte =:IdAtivo ORDER BY IDNFCarga"));
        m_cargas->setParam(QStringLiteral("IDNFTransporte"), m_idNota);
        m_cargas->setParam(QStringLiteral("IdAtivo"), m_ctx.IdAtivo);
        m_modeloCargas->recarrega();
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

void TfrmCamposTransporte::fechaCargas()
{
    m_cargas->close();
    m_modeloCargas->reinicia();
}

TfrmCamposTransporte::Confirmacao TfrmCamposTransporte::confirmaOuRegrava()
{
    QList<TNotaCarga> cargas;
    try {
        // What the commit would make permanent, kept in case it is refused.
        cargas = TNotasTransporte(*m_ctx.dtm).Cargas(m_idNota);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return Confirmacao::Adiada;
    }
    if (m_edicao->confirma())
        return Confirmacao::Feita;
    if (m_edicao->ativa() && regravaCabecalho() && regravaCargas(cargas))
        return Confirmacao::Regravada;
    // Half of it written again is worse than none: the header step starts over in a clean transaction.
    m_edicao->desfaz();
    m_edicao->inicia();
    return Confirmacao::Perdida;
}

bool TfrmCamposTransporte::regravaCargas(const QList<TNotaCarga>& cargas)
{
    TNotasTransporte notas(*m_ctx.dtm);
    QSet<int> guardadas;
    try {
        // After the rollback the document holds the notes it had before the edit (none for a new one).
        for (const TNotaCarga& c : notas.Cargas(m_idNota))
            guardadas.insert(c.IDNFCarga);
    } catch (const EBancoDados&) {
        return false;
    }
    QSet<int> mantidas;
    for (const TNotaCarga& c : cargas)
        if (guardadas.contains(c.IDNFCarga))
            mantidas.insert(c.IDNFCarga);
    for (int id : std::as_const(guardadas))
        if (!mantidas.contains(id) && !notas.ExcluirCarga(id))
            return false;
    for (TNotaCarga c : cargas) {
        c.IDNotaTransporte = m_idNota;
        if (mantidas.contains(c.IDNFCarga)) {
            // A note stored before the edit keeps its key, with what the edit made of it.
            if (!notas.AlterarCarga(c))
                return false;
        } else {
            c.IDNFCarga = 0;
            if (!notas.IncluirCarga(c))
                return false;
        }
    }
    return true;
}

void TfrmCamposTransporte::IncluirCarga()
{
    if (!m_cabecalhoGravado || m_idNota == 0 || !m_edicao->ativa())
        return;
    TNotaCarga c;
    c.IDContribuinte = m_ctx.IdAtivo;
    c.IDNotaTransporte = m_idNota;
    c.IDTomador = m_idTomador;
    {
        TfrmIncluirCarga tela(m_ctx, c, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    leCargas();
}

void TfrmCamposTransporte::AlterarCarga()
{
    const int linha = dbgCarga->currentIndex().isValid() ? dbgCarga->currentIndex().row() : -1;
    if (!m_cabecalhoGravado || !m_edicao->ativa() || linha < 0 || linha >= linhasDaCarga())
        return;
    m_modeloCargas->moveCursor(linha);
    const int idCarga = m_cargas->asInteger(QStringLiteral("IDNFCarga"));
    TNotaCarga carga;
    try {
        for (const TNotaCarga& c : TNotasTransporte(*m_ctx.dtm).Cargas(m_idNota))
            if (c.IDNFCarga == idCarga)
                carga = c;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    if (carga.IDNFCarga == 0)
        return;
    {
        TfrmAlterarCarga tela(m_ctx, carga, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    leCargas();
}

void TfrmCamposTransporte::ExcluirCarga()
{
    const int linha = dbgCarga->currentIndex().isValid() ? dbgCarga->currentIndex().row() : -1;
    if (!m_cabecalhoGravado || !m_edicao->ativa() || linha < 0 || linha >= linhasDaCarga())
        return;
    m_modeloCargas->moveCursor(linha);
    const int idCarga = m_cargas->asInteger(QStringLiteral("IDNFCarga"));
    if (m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
        if (TNotasTransporte(*m_ctx.dtm).ExcluirCarga(idCarga))
            Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
        else
            Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão! Verifique os dados digitados."));
    }
    leCargas();
}
