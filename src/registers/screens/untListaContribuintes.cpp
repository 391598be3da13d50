#include "registers/screens/untListaContribuintes.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/Enter.h"
#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"
#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "widgets/untFechamento.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untDataSetModel.h"
#include "registers/screens/untAjudasCadastro.h"
#include "registers/untClsContribuinte.h"

TfrmListaContribuintes::TfrmListaContribuintes(TContexto& ctx, const TTextos& textos, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_ctx(ctx)
{
    setWindowTitle(textos.legenda);
    resize(700, 440);
    new TkEnterAsTab(this);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgContribuintes"));
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    ConfiguraGrade(m_grade, m_status, QStringLiteral("Duplo Clique para selecionar empresa"), textos.textoStatus);
    m_modelo = new TDataSetModel(m_ctx.dtm->ADODataSetVariavel,
                                 {{QStringLiteral("RazaoSocial"), QStringLiteral("Razao Social")},
                                  {QStringLiteral("Ccicms"), QStringLiteral("Inscricao")},
                                  {QStringLiteral("CNPJ"), QStringLiteral("CNPJ")},
                                  {QStringLiteral("UF"), QStringLiteral("UF")},
                                  {QStringLiteral("Municipio"), QStringLiteral("Municipio")}},
                                 this);
    MostraNaGrade(m_grade, m_modelo);
    connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    EscolhaNaLista(m_grade, [this] { Selecionar(); });

    auto botao = [this](const char* nome, const QString& legenda, std::function<void()> acao) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        if (acao)
            connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    m_btnSelecionar = botao("btnSelecionar", QStringLiteral("&Selecionar"), [this] { Selecionar(); });
    auto* btnFechar = botao("btnFechar", textos.legendaFechar, [this] { Fechar(); });
    FechaPeloBotao(this, btnFechar);
    m_btnIncluir = botao("btnIncluir", QStringLiteral("&Incluir"), [this] { Incluir(); });
    m_btnAlterar = botao("btnAlterar", QStringLiteral("&Alterar"), [this] { Alterar(); });
    m_btnExcluir = botao("btnExcluir", QStringLiteral("&Excluir"), [this] { Excluir(); });
    m_btnImprimir = botao("btnImprimir", QStringLiteral("&Imprimir"), [this] { Imprimir(); });

    auto menu = [this](const char* nome, const QString& legenda, std::function<void()> acao, QPushButton* b) {
        auto* a = new QAction(legenda, m_grade);
        a->setObjectName(QString::fromLatin1(nome));
        if (acao)
            connect(a, &QAction::triggered, this, acao);
        SegueBotao(a, b);
        m_grade->addAction(a);
    };
    menu("mnuIncluir", QStringLiteral("&Incluir"), [this] { Incluir(); }, m_btnIncluir);
    menu("mnuAlterar", QStringLiteral("&Alterar"), [this] { Alterar(); }, m_btnAlterar);
    menu("mnuExcluir", QStringLiteral("&Excluir"), [this] { Excluir(); }, m_btnExcluir);
    menu("mnuImprimir", QStringLiteral("Im&primir"), [this] { Imprimir(); }, m_btnImprimir);

    auto* pesquisa = new QGroupBox(this);
    auto* rotulo = new QLabel(QString::fromUtf8("Pesquisar por Razão Social"), pesquisa);
    m_edtPesquisa = new QLineEdit(pesquisa);
    m_edtPesquisa->setObjectName(QStringLiteral("edtPesquisa"));
    auto* btnLocalizar = new QPushButton(textos.legendaLocalizar, pesquisa);
    btnLocalizar->setObjectName(QStringLiteral("btnLocalizar"));
    btnLocalizar->setAutoDefault(false);
    connect(btnLocalizar, &QPushButton::clicked, this, [this] { Localizar(); });
    auto* linhaPesquisa = new QHBoxLayout(pesquisa);
    linhaPesquisa->addWidget(rotulo);
    linhaPesquisa->addWidget(m_edtPesquisa, 1);
    linhaPesquisa->addWidget(btnLocalizar);

    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {m_btnSelecionar, btnFechar, m_btnIncluir, m_btnAlterar, m_btnExcluir, m_btnImprimir})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pesquisa);
    layout->addWidget(m_grade);
    layout->addLayout(botoes);
    layout->addWidget(m_status);
    OrdemDeLeituraAoMostrar(this);
}

void TfrmListaContribuintes::habilitaBotoes(bool temLinhas)
{
    m_btnAlterar->setEnabled(temLinhas);
    m_btnExcluir->setEnabled(temLinhas);
    m_btnImprimir->setEnabled(temLinhas);
}

void TfrmListaContribuintes::atualizaGrade()
{
    const int linha = m_modelo->linhaDoCursor();
    m_modelo->reinicia();
    if (linha >= 0) {
        m_grade->selectRow(linha);
        m_modelo->moveCursor(linha);
    }
}

bool TfrmListaContribuintes::temLinhaEscolhida() const
{
    return TContribuinte(*m_ctx.dtm).IdAtual() != 0;
}

bool TfrmListaContribuintes::excluiComConfirmacao(const QString& pergunta, const QString& quem, const QString& tipo)
{
    TContribuinte registro(*m_ctx.dtm);
    const int id = registro.IdAtual();
    if (id == 0)
        return false; // nothing under the cursor
    if (id == m_ctx.IdAtivo) {
        // The client/supplier list finds taxpayers too; the one being worked on must stay.
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Exclusão.\nEste é o Contribuinte aberto: "
                                                   "feche-o antes de excluí-lo."));
        return false;
    }
    if (!m_ctx.dialogos->confirmaExclusao(pergunta)) {
        try {
            m_ctx.dtm->ADODataSetVariavel.refresh();
        } catch (const EBancoDados&) {
        }
        atualizaGrade();
        return false;
    }
    if (!registro.Excluir(id)) {
        Informa(*m_ctx.dialogos, MensagemExclusaoRecusada(registro.UltimoVinculo(), quem));
        return false;
    }
    registro.ListarTipo(tipo);
    atualizaGrade();
    Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
    return true;
}

void TfrmListaContribuintes::Imprimir()
{
    TDataSet& lista = m_ctx.dtm->ADODataSetVariavel;
    if (!lista.active() || lista.isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há registros para imprimir."));
        return;
    }
    ImprimeRelatorio(m_ctx, this, [this, &lista](TRelatorio& r) {
        r = relatorio(lista);
        return true;
    });
}
