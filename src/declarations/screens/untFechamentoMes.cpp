#include "declarations/screens/untFechamentoMes.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untFalha.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/untSqlite.h"
#include "output/untRegistros.h"
#include "widgets/EdPeriod.h"
#include "widgets/untFechamento.h"
#include "widgets/untTelas.h"
#include "widgets/untVisualizaRelatorio.h"

using namespace Fechamento;

namespace {

constexpr int kOrdem = Qt::UserRole;        // what a column sorts by
constexpr int kIndice = Qt::UserRole + 1;   // the row's place in the screen's list

const char* const kTitulos[TfrmFechamentoMes::NumColunas] = {
    "Inscrição", "Razão Social", "Entradas", "Saídas", "Transporte", "Série D", "ECF", "Declaração", "Geração",
    "Entrega", "Recibo", "Situação", "Observação",
};

QStandardItem* celula(const QString& texto, const QVariant& ordem = {})
{
    auto* item = new QStandardItem(texto);
    item->setData(ordem.isValid() ? ordem : QVariant(texto), kOrdem);
    return item;
}

QString observacao(const TLinha& l)
{
    if (!l.mensagem.isEmpty())
        return l.mensagem;
    if (!l.diferencas.isEmpty())
        return l.diferencas.section(QLatin1Char('\n'), 1).simplified();
    return l.arquivo.isEmpty() ? QString() : QFileInfo(l.arquivo).fileName();
}

} // namespace

TfrmFechamentoMes::TfrmFechamentoMes(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmFechamentoMes"));
    setWindowTitle(QString::fromUtf8("Fechamento do Mês"));
    resize(1240, 520);

    edtPeriodo = Nomeado(new TEdPeriod(this), "edtPeriodo");
    // The period is checked once, by "&Atualizar": a check on leaving too would tell the same twice.
    edtPeriodo->configura(nullptr, ctx.relogio);
    edtPeriodo->setMaximumWidth(90);
    edtPeriodo->setToolTip(QString::fromUtf8("Mês e ano do fechamento"));
    edtPasta = Nomeado(new QLineEdit(this), "edtPasta");
    edtPasta->setToolTip(QString::fromUtf8("Pasta onde os arquivos do mês são gravados; um arquivo que já está nela "
                                           "conta como gerado"));
    btnPasta = Nomeado(new QPushButton(QStringLiteral("..."), this), "btnPasta");
    btnPasta->setMaximumWidth(32);
    btnAtualizar = Nomeado(new QPushButton(QStringLiteral("&Atualizar"), this), "btnAtualizar");
    cmbSituacao = Nomeado(new QComboBox(this), "cmbSituacao");
    cmbSituacao->addItem(QStringLiteral("Todas"));
    cmbSituacao->addItems(TextosSituacao());

    m_modelo = new QStandardItemModel(0, NumColunas, this);
    for (int c = 0; c < NumColunas; ++c)
        m_modelo->setHeaderData(c, Qt::Horizontal, QString::fromUtf8(kTitulos[c]));
    m_filtro = new QSortFilterProxyModel(this);
    m_filtro->setSourceModel(m_modelo);
    m_filtro->setSortRole(kOrdem);
    m_filtro->setFilterKeyColumn(ColSituacao);
    dbgFechamento = Nomeado(new QTableView(this), "dbgFechamento");
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    ConfiguraGrade(dbgFechamento, nullptr, QString::fromUtf8("Duplo Clique para abrir o contribuinte"), QString());
    dbgFechamento->setModel(m_filtro);
    dbgFechamento->setSortingEnabled(true);
    dbgFechamento->sortByColumn(ColRazao, Qt::AscendingOrder);
    dbgFechamento->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // One line a taxpayer: the full texts are in the cells' hints and in the preview.
    dbgFechamento->setWordWrap(false);
    static const int larguras[NumColunas] = {85, 250, 60, 50, 70, 55, 40, 75, 110, 55, 80, 160, 220};
    for (int c = 0; c < NumColunas; ++c)
        dbgFechamento->setColumnWidth(c, larguras[c]);

    btnGerar = Nomeado(new QPushButton(QStringLiteral("Gerar arquivos"), this), "btnGerar");
    btnGerar->setToolTip(QString::fromUtf8("Grava na pasta o arquivo de cada contribuinte pronto para gerar"));
    btnImprimir = Nomeado(new QPushButton(QStringLiteral("&Imprimir"), this), "btnImprimir");
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    for (QPushButton* b : {btnPasta, btnAtualizar, btnGerar, btnImprimir, btnFechar})
        b->setAutoDefault(false);

    connect(btnAtualizar, &QPushButton::clicked, this, &TfrmFechamentoMes::Atualizar);
    connect(btnPasta, &QPushButton::clicked, this, &TfrmFechamentoMes::EscolherPasta);
    connect(btnGerar, &QPushButton::clicked, this, &TfrmFechamentoMes::GerarArquivos);
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmFechamentoMes::Imprimir);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbSituacao, &QComboBox::currentIndexChanged, this, &TfrmFechamentoMes::filtra);
    connect(dbgFechamento, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { AbrirContribuinte(i.row()); });
    FechaPeloBotao(this, btnFechar);

    auto* topo = new QGridLayout;
    topo->addWidget(new QLabel(QString::fromUtf8("Período:"), this), 0, 0);
    topo->addWidget(edtPeriodo, 0, 1);
    topo->addWidget(new QLabel(QStringLiteral("Pasta dos arquivos:"), this), 0, 2);
    topo->addWidget(edtPasta, 0, 3);
    topo->addWidget(btnPasta, 0, 4);
    topo->addWidget(new QLabel(QString::fromUtf8("Situação:"), this), 0, 5);
    topo->addWidget(cmbSituacao, 0, 6);
    topo->addWidget(btnAtualizar, 0, 7);
    topo->setColumnStretch(3, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    for (QPushButton* b : {btnGerar, btnImprimir, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(dbgFechamento, 1);
    layout->addLayout(botoes);
    layout->addWidget(stbStatus);
    setTabOrder(edtPeriodo, edtPasta);
    setTabOrder(edtPasta, btnPasta);
    setTabOrder(btnPasta, cmbSituacao);
    setTabOrder(cmbSituacao, btnAtualizar);
    setTabOrder(btnAtualizar, dbgFechamento);
}

void TfrmFechamentoMes::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    // The month an office closes is the one just ended.
    const QDate anterior = Agora(m_ctx.relogio).date().addMonths(-1);
    edtPeriodo->definePeriodo(anterior.toString(QStringLiteral("MMyyyy")));
    Atualizar();
    edtPeriodo->setFocus();
}

void TfrmFechamentoMes::Atualizar()
{
    const QString mmyyyy = edtPeriodo->periodo();
    const QString periodo = mmyyyy.mid(2, 4) + mmyyyy.left(2);
    if (!PeriodoValido(periodo, nullptr)) {
        MostraFalha(*m_ctx.dialogos, this, {QString::fromUtf8("Período inválido"), QStringLiteral("edtPeriodo")});
        return;
    }
    try {
        m_linhas = EstadoDoMes(*m_ctx.dtm, *m_ctx.dialogos, *m_ctx.relogio, periodo, edtPasta->text().trimmed());
        m_periodo = periodo;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    } catch (const EArquivoInvalido& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    preencheGrade();
}

void TfrmFechamentoMes::preencheGrade()
{
    m_modelo->removeRows(0, m_modelo->rowCount());
    for (int i = 0; i < m_linhas.size(); ++i) {
        const TLinha& l = m_linhas[i];
        QList<QStandardItem*> itens;
        itens << celula(l.ccicms) << celula(l.razaoSocial);
        for (const TDocumentos& d : l.documentos) {
            QStandardItem* item = celula(QString::number(d.quantidade), d.quantidade);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(QStringLiteral("Total: %1").arg(d.total.toString()));
            itens << item;
        }
        itens << celula(l.tipoDeclaracao ? l.siglaDeclaracao() + QLatin1Char(' ') + l.tipo : QString());
        itens << celula(l.dtGeracao.isValid() ? l.dtGeracao.toString(QStringLiteral("dd/MM/yyyy hh:mm")) : QString(),
                        l.dtGeracao.isValid() ? l.dtGeracao.toString(Qt::ISODate) : QString());
        itens << celula(l.tipoEntrega >= 0 ? QString::number(l.tipoEntrega) : QString(), l.tipoEntrega);
        itens << celula(l.numRecibo);
        // The states sort in the order the month goes through them, not by their words.
        itens << celula(TextoSituacao(l.situacao), int(l.situacao));
        QStandardItem* obs = celula(observacao(l));
        obs->setToolTip(!l.mensagem.isEmpty() ? l.mensagem : l.diferencas);
        itens << obs;
        itens.first()->setData(i, kIndice);
        m_modelo->appendRow(itens);
    }
    filtra();
}

void TfrmFechamentoMes::filtra()
{
    const int escolha = cmbSituacao->currentIndex();
    m_filtro->setFilterRegularExpression(
        escolha <= 0 ? QRegularExpression()
                     : QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(cmbSituacao->currentText()) +
                                          QLatin1Char('$')));
    QList<TLinha> visiveis = linhasVisiveis();
    QString texto = ResumoSituacoes(m_linhas);
    if (escolha > 0)
        texto += QString::fromUtf8(" (mostrando %1)").arg(visiveis.size());
    stbStatus->showMessage(texto);
    bool algumPronto = false;
    for (const TLinha& l : m_linhas)
        algumPronto = algumPronto || l.situacao == TSituacao::Pronto;
    btnGerar->setEnabled(algumPronto);
    btnImprimir->setEnabled(!visiveis.isEmpty());
}

QList<TLinha> TfrmFechamentoMes::linhasVisiveis() const
{
    QList<TLinha> r;
    for (int linha = 0; linha < m_filtro->rowCount(); ++linha)
        r << m_linhas.value(m_filtro->index(linha, 0).data(kIndice).toInt());
    return r;
}

void TfrmFechamentoMes::EscolherPasta()
{
    const QString pasta = m_ctx.dialogos->escolherPasta(QStringLiteral("Pasta dos arquivos"), edtPasta->text().trimmed());
    if (pasta.isEmpty())
        return;
    edtPasta->setText(QDir::toNativeSeparators(pasta));
    Atualizar();
}

void TfrmFechamentoMes::GerarArquivos()
{
    if (m_periodo.isEmpty())
        return;
    int prontos = 0;
    for (const TLinha& l : m_linhas)
        prontos += l.situacao == TSituacao::Pronto ? 1 : 0;
    if (prontos == 0) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Nenhum contribuinte está pronto para gerar."));
        return;
    }
    QString pasta = edtPasta->text().trimmed();
    if (pasta.isEmpty()) {
        pasta = m_ctx.dialogos->escolherPasta(QStringLiteral("Pasta dos arquivos"), QString());
        if (pasta.isEmpty())
            return;
        edtPasta->setText(QDir::toNativeSeparators(pasta));
    }
    if (!QFileInfo(pasta).isDir()) {
        MostraFalha(*m_ctx.dialogos, this,
                    {QString::fromUtf8("A pasta dos arquivos não existe: %1").arg(pasta), QStringLiteral("edtPasta")});
        return;
    }
    if (!PerguntaSim(*m_ctx.dialogos, QString::fromUtf8("Gravar em %1 os arquivos de %2/%3 dos %4 contribuintes "
                                                        "prontos para gerar?")
                                          .arg(QDir::toNativeSeparators(pasta), m_periodo.mid(4, 2), m_periodo.left(4))
                                          .arg(prontos)))
        return;
    btnGerar->setEnabled(false);
    TProgressoNulo nulo;
    IProgresso& progresso = m_ctx.progresso ? *m_ctx.progresso : nulo;
    QList<TResultado> resultados;
    try {
        resultados = GeraArquivos(*m_ctx.dtm, *m_ctx.dialogos, progresso, *m_ctx.relogio, m_periodo, pasta, m_linhas,
                                  [&progresso](int i, int n, const TLinha& l) {
                                      progresso.mensagem(QStringLiteral("%1/%2 - %3").arg(i + 1).arg(n).arg(l.razaoSocial));
                                  });
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    preencheGrade();
    if (!resultados.isEmpty())
        Informa(*m_ctx.dialogos, ResumoLote(resultados, pasta));
}

void TfrmFechamentoMes::Imprimir()
{
    const QList<TLinha> visiveis = linhasVisiveis();
    if (visiveis.isEmpty() || m_periodo.isEmpty())
        return;
    ImprimeRelatorio(m_ctx, this, [this, &visiveis](TRelatorio& r) {
        r = Relatorio(visiveis, m_periodo, Agora(m_ctx.relogio));
        return true;
    });
}

void TfrmFechamentoMes::AbrirContribuinte(int linhaDaGrade)
{
    const QModelIndex i = m_filtro->index(linhaDaGrade, 0);
    if (!i.isValid() || !m_ctx.sessao)
        return;
    m_ctx.IdAtivo = m_linhas.value(i.data(kIndice).toInt()).idContribuinte;
    m_ctx.sessao->AbrirSessao();
    accept();
}
