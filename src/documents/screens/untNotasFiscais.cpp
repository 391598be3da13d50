#include "documents/screens/untNotasFiscais.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"
#include "documents/screens/untImportacaoNFe.h"

#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/Enter.h"
#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "documents/screens/untPaginasNavegacao.h"
#include "widgets/untFechamento.h"
#include "widgets/untFiltroPeriodo.h"
#include "widgets/untSaidaCampo.h"
#include "core/untContexto.h"
#include "core/untDatas.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDataSetModel.h"
#include "documents/screens/untAlterarNotasFiscais.h"
#include "documents/screens/untIncluirNotasFiscais.h"
#include "documents/untClsNotaFiscal.h"

static const char* const kResumo[][2] = {
    {"lblQuant", "Quant de Registros\nSelecionados"}, {"lblTotal", "Valor Total das Notas"},
    {"lblBaseIcms", "Base de Cálculo do ICMS"},         {"lblValorIcms", "ICMS"},
    {"lblIsentaIcms", "ICMS Isentas"},                  {"lblOutrasIcms", "ICMS Outras"},
    {"lblValorIpi", "IPI"},                             {"lblIsentaIpi", "IPI Isentas"},
    {"lblOutrasIpi", "IPI Outras"},                     {"lblBaseSubst", "Base de Cálculo ST"},
    {"lblIcmsRetido", "ICMS Retido"},                   {"lblDespAcess", "Despesas Acessórias"},
};

TfrmNotasFiscais::TfrmNotasFiscais(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmNotasFiscais"));
    setWindowTitle(QStringLiteral("Selecionar Notas Fiscais"));
    resize(760, 520);
    new TkEnterAsTab(this);

    auto* tipo = new QGroupBox(QStringLiteral("Tipo Nota Fiscal"), this);
    tipo->setObjectName(QStringLiteral("rdgTipoNF"));
    rbEntrada = new QRadioButton(QStringLiteral("Entrada"), tipo);
    rbEntrada->setObjectName(QStringLiteral("rbEntrada"));
    rbSaida = new QRadioButton(QString::fromUtf8("Saída"), tipo);
    rbSaida->setObjectName(QStringLiteral("rbSaida"));
    rbEntrada->setChecked(true);
    auto* lt = new QHBoxLayout(tipo);
    lt->addWidget(rbEntrada);
    lt->addWidget(rbSaida);

    m_periodo = new TFiltroPeriodo(*m_ctx.relogio, this);
    auto* periodo = m_periodo;
    cmbMes = m_periodo->cmbMes;
    cmbAno = m_periodo->cmbAno;

    auto botao = [this](const char* nome, const QString& legenda, void (TfrmNotasFiscais::*acao)()) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        if (acao)
            connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    auto* btnPesquisar = botao("btnPesquisar", QStringLiteral("Pesquisar"), &TfrmNotasFiscais::Pesquisar);
    auto* btnIncluir = botao("btnIncluir", QStringLiteral("&Incluir"), &TfrmNotasFiscais::Incluir);
    btnAlterar = botao("btnAlterar", QStringLiteral("&Alterar"), &TfrmNotasFiscais::Alterar);
    btnExcluir = botao("btnExcluir", QStringLiteral("&Excluir"), &TfrmNotasFiscais::Excluir);
    btnImprimir = botao("btnImprimir", QStringLiteral("&Imprimir"), &TfrmNotasFiscais::Imprimir);
    btnImportarXML = botao("btnImportarXML", QStringLiteral("Importar &XML"), &TfrmNotasFiscais::ImportarXML);
    btnImportarXML->setToolTip(QString::fromUtf8("Importa arquivos XML de NF-e (ou arquivos .zip com eles)"));
    auto* btnFechar = botao("btnFechar", QStringLiteral("Fechar"), nullptr);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    dbgNotas = new QTableView(PageControl);
    dbgNotas->setObjectName(QStringLiteral("dbgNotas"));
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    ConfiguraGrade(dbgNotas, m_status, QString(), QString::fromUtf8("Clique com o Botão Direito para ativar o Menu"));
    m_modelo = new TDataSetModel(m_ctx.dtm->ADODataSetNotas,
                                 {{QStringLiteral("DtEmissao"), QStringLiteral("Emissao")},
                                  {QStringLiteral("TipoNota"), {}},
                                  {QStringLiteral("Cfop"), {}},
                                  {QStringLiteral("NumeroNF"), QStringLiteral("Numero")},
                                  {QStringLiteral("Modelo"), {}},
                                  {QStringLiteral("Serie"), {}},
                                  {QStringLiteral("ValorTotalNota"), QStringLiteral("Total")},
                                  {QStringLiteral("Situacao"), {}}},
                                 this);
    MostraNaGrade(dbgNotas, m_modelo);
    connect(dbgNotas->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    connect(dbgNotas, &QTableView::doubleClicked, this, &TfrmNotasFiscais::Alterar);
    // Opening, the screen's own rule enables them when the taxpayer has any document; after a search or a
    // deletion they follow whether the list has a row.
    SeguemALinhaAtual(dbgNotas, {btnAlterar, btnExcluir}, false);
    for (auto [nome, legenda, acao] : {std::tuple{"mnuIncluir", "&Incluir", &TfrmNotasFiscais::Incluir},
                                       std::tuple{"mnuAlterar", "&Alterar", &TfrmNotasFiscais::Alterar},
                                       std::tuple{"mnuExcluir", "&Excluir", &TfrmNotasFiscais::Excluir},
                                       std::tuple{"mnuImprimir", "Im&primir", &TfrmNotasFiscais::Imprimir},
                                       std::tuple{"mnuImportarPasta", "Importar pasta de XML...", &TfrmNotasFiscais::ImportarPastaXML}}) {
        auto* a = new QAction(QString::fromUtf8(legenda), dbgNotas);
        a->setObjectName(QString::fromLatin1(nome));
        connect(a, &QAction::triggered, this, acao);
        dbgNotas->addAction(a);
    }
    PageControl->addTab(dbgNotas, QStringLiteral("Notas Fiscais"));

    QList<std::pair<const char*, const char*>> linhasResumo;
    for (const auto& [nome, legenda] : kResumo)
        linhasResumo.append(std::make_pair(nome, legenda));
    m_tituloResumo = MontaPaginaResumo(PageControl, linhasResumo);

    grafico = MontaPaginaGrafico(PageControl);

    auto* topo = new QHBoxLayout;
    topo->addWidget(tipo);
    topo->addWidget(periodo);
    topo->addStretch();
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnPesquisar, btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnImportarXML, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(PageControl, 1);
    layout->addLayout(botoes);
    layout->addWidget(m_status);
    OrdemDeLeituraAoMostrar(this);
}

TfrmNotasFiscais::~TfrmNotasFiscais()
{
    m_ctx.dtm->ADODataSetNotas.close();
}

QString TfrmNotasFiscais::tipo() const
{
    return rbEntrada->isChecked() ? QStringLiteral("E") : QStringLiteral("S");
}

void TfrmNotasFiscais::habilita(bool sim)
{
    btnAlterar->setEnabled(sim);
    btnExcluir->setEnabled(sim);
    btnImprimir->setEnabled(sim);
}

void TfrmNotasFiscais::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    bool algumaNota = false;
    try {
        TDataSet q(m_ctx.dtm->conexao());
        q.setCommandText(QStringLiteral("SELECT IdNotaFiscal FROM NOTAFISCAL WHERE IdContribuinte =:IdAtivo LIMIT 1"));
        q.setParam(QStringLiteral("IdAtivo"), m_ctx.IdAtivo);
        q.open();
        algumaNota = !q.isEmpty();
    } catch (const EBancoDados&) {
    }
    habilita(algumaNota);
    if (algumaNota)
        montaGrafico();
}

bool TfrmNotasFiscais::saiMes()
{
    return m_periodo->saiMes();
}

bool TfrmNotasFiscais::saiAno()
{
    return m_periodo->saiAno();
}

void TfrmNotasFiscais::Pesquisar()
{
    const auto periodo = ConsultasNotas::periodo(cmbMes->currentText(), cmbAno->currentText());
    TDataSet& lista = m_ctx.dtm->ADODataSetNotas;
    try {
        ConsultasNotas::AbreLista(lista, m_ctx.IdAtivo, tipo(), periodo);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        lista.close();
    }
    m_modelo->reinicia();
    if (lista.isEmpty()) {
        lista.close();
        m_modelo->reinicia();
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há lançamentos neste período!"));
        return;
    }
    habilita(true);
    dbgNotas->selectRow(0);
    montaGrafico();
    try {
        preencheResumo(ConsultasNotas::Resumo(m_ctx.dtm->conexao(), m_ctx.IdAtivo, tipo(), periodo));
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

void TfrmNotasFiscais::preencheResumo(const ConsultasNotas::TResumo& r)
{
    m_tituloResumo->setText(QString::fromUtf8("Totalização das Notas de ") +
                            (tipo() == QLatin1String("E") ? QStringLiteral("Entradas") : QString::fromUtf8("Saídas")));
    const Money valores[] = {r.valorTotal, r.baseIcms,  r.valorIcms, r.isentaIcms, r.outrasIcms, r.valorIpi,
                             r.isentaIpi,  r.outrasIpi, r.baseSubst, r.icmsRetido, r.despAcessorias};
    findChild<QLabel*>(QStringLiteral("lblQuant"))->setText(QString::number(r.quantidade));
    for (int i = 0; i < 11; ++i)
        findChild<QLabel*>(QString::fromLatin1(kResumo[i + 1][0]))->setText(valores[i].toString());
}

QString TfrmNotasFiscais::textoResumo(const char* nome) const
{
    const auto* l = findChild<QLabel*>(QString::fromLatin1(nome));
    return l ? l->text() : QString();
}

int TfrmNotasFiscais::barrasDoGrafico() const
{
    return m_barras;
}

void TfrmNotasFiscais::montaGrafico()
{
    QList<ConsultasNotas::TBarra> barras;
    try {
        barras = ConsultasNotas::Grafico(m_ctx.dtm->conexao(), m_ctx.IdAtivo, tipo(), m_ctx.relogio->hoje());
    } catch (const EBancoDados&) { // a chart that cannot be built stays disabled
    }
    m_barras = int(barras.size());
    DesenhaGrafico(grafico, tipo() == QLatin1String("E") ? QStringLiteral("Variação das Entradas")
                                                 : QString::fromUtf8("Variação das Saídas"), barras);
}

void TfrmNotasFiscais::reabreLista(int idNota)
{
    TDataSet& lista = m_ctx.dtm->ADODataSetNotas;
    try {
        lista.setCommandText(QStringLiteral("SELECT * FROM NOTAFISCAL WHERE IdContribuinte =:IdAtivo "
                                            "ORDER BY DtEmissao, CFOP, NumeroNF"));
        lista.setParam(QStringLiteral("IdAtivo"), m_ctx.IdAtivo);
        lista.open();
        if (idNota)
            lista.locate(QStringLiteral("IdNotaFiscal"), idNota);
    } catch (const EBancoDados&) {
        lista.close();
    }
    const int linha = lista.recNo();
    m_modelo->reinicia();
    if (linha >= 0)
        dbgNotas->selectRow(linha);
}

void TfrmNotasFiscais::Incluir()
{
    {
        TfrmIncluirNotasFiscais tela(m_ctx, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    reabreLista();
    habilita(!m_ctx.dtm->ADODataSetNotas.isEmpty());
}

static int notaSelecionada(const TDataSet& lista)
{
    if (!lista.active() || lista.isEmpty() || lista.recNo() < 0)
        return 0;
    return lista.asInteger(QStringLiteral("IdNotaFiscal"));
}

void TfrmNotasFiscais::Alterar()
{
    const int id = notaSelecionada(m_ctx.dtm->ADODataSetNotas);
    if (id == 0)
        return;
    {
        TfrmAlterarNotasFiscais tela(m_ctx, id, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    reabreLista(id);
}

void TfrmNotasFiscais::Excluir()
{
    TDataSet& lista = m_ctx.dtm->ADODataSetNotas;
    const int id = notaSelecionada(lista);
    if (id == 0)
        return;
    QList<int> excluir;
    if (lista.asString(QStringLiteral("Situacao")).trimmed() == QLatin1String("4")) {
        const QString data = lista.asString(QStringLiteral("DtEmissao")).left(10);
        if (PerguntaNao(*m_ctx.dialogos, QStringLiteral("Deseja excluir todas as notas inutilizadas de %1.")
                                              .arg(Datas::formata(Datas::doBanco(data)))))
            excluir = ConsultasNotas::InutilizadasDoDia(lista, QStringLiteral("IdNotaFiscal"));
    }
    if (excluir.isEmpty()) {
        if (!m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
            Pesquisar();
            return;
        }
        excluir << id;
    }
    QString erro;
    TNotasFiscais notas(*m_ctx.dtm);
    if (!notas.Excluir(excluir, &erro)) {
        // Nothing was deleted: the rows and their lines stay together.
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão.\n") + erro);
        return;
    }
    Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
    Pesquisar();
}

void TfrmNotasFiscais::Imprimir()
{
    if (cmbMes->currentText().trimmed().isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Informe o mês."));
        cmbMes->setFocus();
        return;
    }
    Pesquisar();
    TDataSet& lista = m_ctx.dtm->ADODataSetNotas;
    // A search that found nothing has said so: there is nothing to preview.
    if (!lista.active() || lista.isEmpty())
        return;
    ImprimeRelatorio(m_ctx, this, [&](TRelatorio& r) {
        r = Relatorios::Notas(*m_ctx.dtm, CabecalhoRelatorio(m_ctx, cmbMes->currentText(), cmbAno->currentText()), lista,
                              tipo());
        return true;
    });
}

void TfrmNotasFiscais::ImportarXML()
{
    importa(m_ctx.dialogos->abrirArquivos(QStringLiteral("Importar NF-e"),
                                          QString::fromUtf8("Arquivos de NF-e (*.xml *.zip);;Todos os arquivos (*)")));
}

void TfrmNotasFiscais::ImportarPastaXML()
{
    const QString pasta = m_ctx.dialogos->escolherPasta(QStringLiteral("Selecione a pasta dos arquivos XML"), m_ctx.pasta);
    if (!pasta.isEmpty())
        importa({pasta});
}

void TfrmNotasFiscais::importa(const QStringList& caminhos)
{
    if (caminhos.isEmpty())
        return;
    // The list shows the month searched: it is searched again when something went in.
    if (ImportaNFeNaTela(m_ctx, this, caminhos) > 0 && m_ctx.dtm->ADODataSetNotas.active())
        reabreLista();
}
