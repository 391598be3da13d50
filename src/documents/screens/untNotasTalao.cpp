#include "documents/screens/untNotasTalao.h"

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "documents/screens/untAlterarNotasTalao.h"
#include "documents/screens/untIncluirNotasTalao.h"
#include "widgets/Enter.h"
#include "documents/screens/untPaginasNavegacao.h"
#include "widgets/untFechamento.h"
#include "widgets/untFiltroPeriodo.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

static const char* const kResumo[][2] = {
    {"lblQuant", "Quant de Registros\nSelecionados"}, {"lblVendaBruta", "Venda Bruta"},
    {"lblBaseIcms", "Base de Cálculo"},                {"lblValorIcms", "Valor do ICMS"},
    {"lblIsenta", "Isentas"},                           {"lblOutras", "Outras"},
};

TfrmNotasTalao::TfrmNotasTalao(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx),
      m_lista(ctx.dtm->conexao(), QStringLiteral("ADODataSetTalao"))
{
    setObjectName(QStringLiteral("frmNotasTalao"));
    setWindowTitle(QString::fromUtf8("Selecionar Notas Talão"));
    resize(820, 520);
    new TkEnterAsTab(this);

    m_periodo = new TFiltroPeriodo(*m_ctx.relogio, this);
    auto* periodo = m_periodo;
    cmbMes = m_periodo->cmbMes;
    cmbAno = m_periodo->cmbAno;

    auto botao = [this](const char* nome, const QString& legenda, void (TfrmNotasTalao::*acao)()) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        if (acao)
            connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    auto* btnPesquisar = botao("btnPesquisar", QStringLiteral("Pesquisar"), &TfrmNotasTalao::Pesquisar);
    auto* btnIncluir = botao("btnIncluir", QStringLiteral("&Incluir"), &TfrmNotasTalao::Incluir);
    btnAlterar = botao("btnAlterar", QStringLiteral("&Alterar"), &TfrmNotasTalao::Alterar);
    btnExcluir = botao("btnExcluir", QStringLiteral("&Excluir"), &TfrmNotasTalao::Excluir);
    btnImprimir = botao("btnImprimir", QStringLiteral("&Imprimir"), &TfrmNotasTalao::Imprimir);
    btnFechar = botao("btnFechar", QStringLiteral("Fechar"), nullptr);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    dbgNotasTalao = new QTableView(PageControl);
    dbgNotasTalao->setObjectName(QStringLiteral("dbgNotasTalao"));
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    ConfiguraGrade(dbgNotasTalao, m_status, QString(), QString::fromUtf8("Clique com o Botão Direito para ativar o Menu"));
    QList<TDataSetModel::TColuna> colunas;
    for (const char* c : {"DtEmissao", "Modelo", "Serie", "SubSerie", "NumeroInicial", "NumeroFinal", "ValorTotal",
                          "BaseICMS", "ValorICMS", "Isenta", "Outras", "Aliquota"})
        colunas.append({QString::fromLatin1(c), QString::fromLatin1(c)});
    m_modelo = new TDataSetModel(m_lista, colunas, this);
    dbgNotasTalao->setModel(m_modelo);
    connect(dbgNotasTalao->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    connect(dbgNotasTalao, &QTableView::doubleClicked, this, &TfrmNotasTalao::Alterar);
    for (auto [nome, legenda, acao] : {std::tuple{"mnuIncluir", "&Incluir", &TfrmNotasTalao::Incluir},
                                       std::tuple{"mnuAlterar", "&Alterar", &TfrmNotasTalao::Alterar},
                                       std::tuple{"mnuExcluir", "&Excluir", &TfrmNotasTalao::Excluir},
                                       std::tuple{"mnuImprimir", "Im&primir", &TfrmNotasTalao::Imprimir}}) {
        auto* a = new QAction(QString::fromUtf8(legenda), dbgNotasTalao);
        a->setObjectName(QString::fromLatin1(nome));
        connect(a, &QAction::triggered, this, acao);
        dbgNotasTalao->addAction(a);
    }
    PageControl->addTab(dbgNotasTalao, QString::fromUtf8("Notas Talão"));

    QList<std::pair<const char*, const char*>> linhasResumo;
    for (const auto& [nome, legenda] : kResumo)
        linhasResumo.append(std::make_pair(nome, legenda));
    MontaPaginaResumo(PageControl, linhasResumo)->setText(QString::fromUtf8("Totalização das Notas Talão"));

    grafico = MontaPaginaGrafico(PageControl);

    auto* topo = new QHBoxLayout;
    topo->addWidget(periodo);
    topo->addStretch();
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnPesquisar, btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(PageControl, 1);
    layout->addLayout(botoes);
    layout->addWidget(m_status);
}

TfrmNotasTalao::~TfrmNotasTalao() = default;

void TfrmNotasTalao::habilita(bool sim)
{
    btnAlterar->setEnabled(sim);
    btnExcluir->setEnabled(sim);
    btnImprimir->setEnabled(sim);
}

void TfrmNotasTalao::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    const bool alguma = TNotasTalao(*m_ctx.dtm).ExisteAlguma(m_ctx.IdAtivo);
    habilita(alguma);
    if (alguma)
        montaGrafico();
}

bool TfrmNotasTalao::saiMes()
{
    return m_periodo->saiMes();
}

bool TfrmNotasTalao::saiAno()
{
    return m_periodo->saiAno();
}

void TfrmNotasTalao::Pesquisar()
{
    const auto periodo = ConsultasNotas::periodo(cmbMes->currentText(), cmbAno->currentText());
    try {
        ConsultasTalao::AbreLista(m_lista, m_ctx.IdAtivo, periodo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        m_lista.close();
    }
    m_modelo->reinicia();
    if (m_lista.isEmpty()) {
        m_lista.close();
        m_modelo->reinicia();
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há lançamentos neste período!"));
        return;
    }
    habilita(true);
    dbgNotasTalao->selectRow(0);
    montaGrafico();
    try {
        const auto r = ConsultasTalao::Resumo(m_ctx.dtm->conexao(), m_ctx.IdAtivo, periodo);
        findChild<QLabel*>(QStringLiteral("lblQuant"))->setText(QString::number(r.quantidade));
        const Money valores[] = {r.vendaBruta, r.baseIcms, r.valorIcms, r.isenta, r.outras};
        for (int i = 0; i < 5; ++i)
            findChild<QLabel*>(QString::fromLatin1(kResumo[i + 1][0]))->setText(valores[i].toString());
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

QString TfrmNotasTalao::textoResumo(const char* nome) const
{
    const auto* l = findChild<QLabel*>(QString::fromLatin1(nome));
    return l ? l->text() : QString();
}

void TfrmNotasTalao::montaGrafico()
{
    QList<ConsultasNotas::TBarra> barras;
    try {
        barras = ConsultasTalao::Grafico(m_ctx.dtm->conexao(), m_ctx.IdAtivo, m_ctx.relogio->hoje());
    } catch (const EBancoDados&) { // a chart that cannot be built stays disabled
    }
    m_barras = int(barras.size());
    DesenhaGrafico(grafico, QString::fromUtf8("Variação das Vendas com Talão"), barras);
}

void TfrmNotasTalao::reabreLista(int id)
{
    try {
        ConsultasTalao::AbreTodas(m_lista, m_ctx.IdAtivo);
        if (id)
            m_lista.locate(QStringLiteral("IDNotaTalao"), id);
    } catch (const EBancoDados&) {
        m_lista.close();
    }
    const int linha = m_lista.recNo();
    m_modelo->reinicia();
    if (linha >= 0)
        dbgNotasTalao->selectRow(linha);
}

int TfrmNotasTalao::selecionada() const
{
    if (!m_lista.active() || m_lista.isEmpty() || m_lista.recNo() < 0)
        return 0;
    return m_lista.asInteger(QStringLiteral("IDNotaTalao"));
}

void TfrmNotasTalao::Incluir()
{
    int ultima = 0;
    {
        TfrmIncluirNotasTalao tela(m_ctx, this);
        m_ctx.dialogos->executaModal(&tela);
        ultima = tela.ultimaIncluida();
    }
    reabreLista(ultima ? ultima : selecionada());
    habilita(!m_lista.isEmpty());
}

void TfrmNotasTalao::Alterar()
{
    const int id = selecionada();
    if (id == 0)
        return;
    {
        TfrmAlterarNotasTalao tela(m_ctx, id, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    reabreLista(id);
}

void TfrmNotasTalao::Excluir()
{
    const int id = selecionada();
    if (id == 0)
        return;
    if (!m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
        Pesquisar();
        return;
    }
    QString erro;
    if (!TNotasTalao(*m_ctx.dtm).Excluir(id, m_ctx.IdAtivo, &erro)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão.\n") + erro);
        return;
    }
    Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
    Pesquisar();
}

void TfrmNotasTalao::Imprimir()
{
    Pesquisar();
    // The printed list comes with the reports.
}
