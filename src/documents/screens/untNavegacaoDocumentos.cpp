#include "documents/screens/untNavegacaoDocumentos.h"

#include "widgets/untVisualizaRelatorio.h"
#include "core/untRelogio.h"

#include <QAction>
#include <QChartView>
#include <QComboBox>
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
#include "core/untDatas.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "documents/screens/untPaginasNavegacao.h"
#include "widgets/Enter.h"
#include "widgets/untFechamento.h"
#include "widgets/untFiltroPeriodo.h"
#include "widgets/untTelas.h"

TfrmNavegacaoDocumentos::TfrmNavegacaoDocumentos(TContexto& ctx, const TDescricaoNavegacao& d, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx),
      m_lista(ctx.dtm->conexao()), m_chave(QString::fromLatin1(d.chave))
{
    setObjectName(QString::fromLatin1(d.objeto));
    setWindowTitle(QString::fromUtf8(d.titulo));
    resize(860, 540);
    new TkEnterAsTab(this);

    m_periodo = new TFiltroPeriodo(*m_ctx.relogio, this);
    cmbMes = m_periodo->cmbMes;
    cmbAno = m_periodo->cmbAno;

    auto botao = [this](const char* nome, const char* legenda, void (TfrmNavegacaoDocumentos::*acao)()) {
        auto* b = new QPushButton(QString::fromUtf8(legenda), this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        if (acao)
            connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    btnPesquisar = botao("btnPesquisar", "Pesquisar", &TfrmNavegacaoDocumentos::Pesquisar);
    btnIncluir = botao("btnIncluir", "&Incluir", &TfrmNavegacaoDocumentos::Incluir);
    btnAlterar = botao("btnAlterar", "&Alterar", &TfrmNavegacaoDocumentos::Alterar);
    btnExcluir = botao("btnExcluir", "&Excluir", nullptr);
    connect(btnExcluir, &QPushButton::clicked, this, [this] { Excluir(); });
    btnImprimir = botao("btnImprimir", "&Imprimir", &TfrmNavegacaoDocumentos::Imprimir);
    btnFechar = botao("btnFechar", "Fechar", nullptr);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    grade = new QTableView(PageControl);
    grade->setObjectName(QString::fromLatin1(d.grade));
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    ConfiguraGrade(grade, m_status, QString::fromUtf8(d.dicaGrade),
                   QString::fromUtf8("Clique com o Botão Direito para ativar o Menu"));
    QList<TDataSetModel::TColuna> colunas;
    for (const auto& [campo, titulo] : d.colunas)
        colunas.append({QString::fromLatin1(campo), QString::fromUtf8(titulo)});
    m_modelo = new TDataSetModel(m_lista, colunas, this);
    MostraNaGrade(grade, m_modelo);
    connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    connect(grade, &QTableView::doubleClicked, this, &TfrmNavegacaoDocumentos::Alterar);
    // Opening, the screen's own rule enables them when the taxpayer has any document; after a search or a
    // deletion they follow whether the list has a row.
    SeguemALinhaAtual(grade, {btnAlterar, btnExcluir}, false);
    auto menu = [this](const char* nome, const char* legenda, auto acao) {
        auto* a = new QAction(QString::fromUtf8(legenda), grade);
        a->setObjectName(QString::fromLatin1(nome));
        connect(a, &QAction::triggered, this, acao);
        grade->addAction(a);
    };
    menu("mnuIncluir", "&Incluir", [this] { Incluir(); });
    menu("mnuAlterar", "&Alterar", [this] { Alterar(); });
    menu("mnuExcluir", "&Excluir", [this] { Excluir(); });
    menu("mnuImprimir", d.menuImprimir, [this] { Imprimir(); });
    PageControl->addTab(grade, QString::fromUtf8(d.pagina));

    m_tituloResumo = MontaPaginaResumo(PageControl, d.resumo);
    m_paginaResumo = qobject_cast<QVBoxLayout*>(m_tituloResumo->parentWidget()->layout());
    grafico = MontaPaginaGrafico(PageControl);

    m_topo = new QHBoxLayout;
    m_topo->addWidget(m_periodo);
    m_topo->addStretch();
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnPesquisar, btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_topo);
    layout->addWidget(PageControl, 1);
    layout->addLayout(botoes);
    layout->addWidget(m_status);
    OrdemDeLeituraAoMostrar(this);
}

TfrmNavegacaoDocumentos::~TfrmNavegacaoDocumentos() = default;

void TfrmNavegacaoDocumentos::habilita(bool sim)
{
    btnAlterar->setEnabled(sim);
    btnExcluir->setEnabled(sim);
    btnImprimir->setEnabled(sim);
}

void TfrmNavegacaoDocumentos::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    bool algum = false;
    try {
        algum = existeAlgum();
    } catch (const EBancoDados&) { // an unreadable table shows as an empty one
    }
    habilita(algum);
    if (algum)
        montaGrafico();
}

bool TfrmNavegacaoDocumentos::saiMes()
{
    return m_periodo->saiMes();
}

bool TfrmNavegacaoDocumentos::saiAno()
{
    return m_periodo->saiAno();
}

ConsultasNotas::TPeriodo TfrmNavegacaoDocumentos::periodo() const
{
    return ConsultasNotas::periodo(cmbMes->currentText(), cmbAno->currentText());
}

void TfrmNavegacaoDocumentos::Pesquisar()
{
    const auto p = periodo();
    try {
        abreLista(p);
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
    grade->selectRow(0);
    montaGrafico();
    try {
        preencheResumo(p);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
}

void TfrmNavegacaoDocumentos::defineResumo(const char* nome, const QString& texto)
{
    if (auto* l = findChild<QLabel*>(QString::fromLatin1(nome)))
        l->setText(texto);
}

QString TfrmNavegacaoDocumentos::textoResumo(const char* nome) const
{
    const auto* l = findChild<QLabel*>(QString::fromLatin1(nome));
    return l ? l->text() : QString();
}

void TfrmNavegacaoDocumentos::montaGrafico()
{
    QList<ConsultasNotas::TBarra> b;
    try {
        b = barras();
    } catch (const EBancoDados&) { // a chart that cannot be built stays disabled
    }
    m_barras = int(b.size());
    DesenhaGrafico(grafico, tituloGrafico(), b);
}

void TfrmNavegacaoDocumentos::reabreLista(int id)
{
    try {
        abreTodas();
        if (id)
            m_lista.locate(m_chave, id);
    } catch (const EBancoDados&) {
        m_lista.close();
    }
    const int linha = m_lista.recNo();
    m_modelo->reinicia();
    if (linha >= 0)
        grade->selectRow(linha);
}

int TfrmNavegacaoDocumentos::selecionada() const
{
    if (!m_lista.active() || m_lista.isEmpty() || m_lista.recNo() < 0)
        return 0;
    return m_lista.asInteger(m_chave);
}

void TfrmNavegacaoDocumentos::Incluir()
{
    const int ultima = executaInclusao();
    reabreLista(ultima ? ultima : selecionada());
    habilita(m_lista.active() && !m_lista.isEmpty());
}

void TfrmNavegacaoDocumentos::Alterar()
{
    const int id = selecionada();
    if (id == 0)
        return;
    executaAlteracao(id);
    reabreLista(id);
}

void TfrmNavegacaoDocumentos::Excluir()
{
    const int id = selecionada();
    if (id == 0)
        return;
    QList<int> ids;
    if (m_lista.fieldIndex(QStringLiteral("Situacao")) >= 0 &&
        m_lista.asString(QStringLiteral("Situacao")).trimmed() == QLatin1String("4")) {
        const QDate dia = Datas::doBanco(m_lista.asString(QStringLiteral("DtEmissao")).left(10));
        if (PerguntaNao(*m_ctx.dialogos,
                        QStringLiteral("Deseja excluir todas as notas inutilizadas de %1.").arg(Datas::formata(dia))))
            ids = ConsultasNotas::InutilizadasDoDia(m_lista, m_chave);
    }
    if (ids.isEmpty()) {
        if (!m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"))) {
            Pesquisar();
            return;
        }
        ids << id;
    }
    QString erro;
    if (!exclui(ids, &erro)) {
        // Nothing was deleted: the documents and what hangs on them stay together.
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão.\n") + erro);
        return;
    }
    Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
    Pesquisar();
}

void TfrmNavegacaoDocumentos::Imprimir()
{
    Pesquisar();
    // A search that found nothing has said so: there is nothing to preview.
    if (!m_lista.active() || m_lista.isEmpty())
        return;
    ImprimeRelatorio(m_ctx, this, [this](TRelatorio& r) {
        r = relatorio(CabecalhoRelatorio(m_ctx, cmbMes->currentText(), cmbAno->currentText()));
        return true;
    });
}
