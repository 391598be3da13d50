#include "registers/screens/untContadores.h"

#include <QAction>
#include <QHBoxLayout>
#include <QItemSelectionModel>
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
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untDataSetModel.h"
#include "registers/screens/untAjudasCadastro.h"
#include "registers/screens/untAlterarContador.h"
#include "registers/screens/untIncluirContador.h"
#include "registers/untClsContador.h"

static const char* const kListaContadores = "SELECT * from Contador ORDER BY Nome";

TfrmContadores::TfrmContadores(TContexto& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmContadores"));
    setWindowTitle(QStringLiteral("Selecionar Contabilista"));
    resize(560, 380);
    new TkEnterAsTab(this);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("dbgContadores"));
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    ConfiguraGrade(m_grade, m_status, QString::fromUtf8("Clique com o Botão Direito\ndo Mouse para\nAtivar o Menu"),
                   QString::fromUtf8("Clique com o Botão Direito do Mouse para ativar o Menu"));

    auto botao = [this](const char* nome, const QString& legenda, void (TfrmContadores::*acao)()) {
        auto* b = new QPushButton(legenda, this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    auto* btnCancela = botao("btnCancela", QStringLiteral("C&ancela"), &TfrmContadores::Cancela);
    auto* btnSelecionar = botao("btnSelecionar", QStringLiteral("&Selecionar"), &TfrmContadores::Selecionar);
    auto* btnIncluir = botao("btnIncluir", QStringLiteral("&Incluir"), &TfrmContadores::Incluir);
    m_btnAlterar = botao("btnAlterar", QStringLiteral("&Alterar"), &TfrmContadores::Alterar);
    m_btnExcluir = botao("btnExcluir", QStringLiteral("&Excluir"), &TfrmContadores::Excluir);
    m_btnImprimir = botao("btnImprimir", QStringLiteral("&Imprimir"), &TfrmContadores::Imprimir);

    auto menu = [this](const char* nome, const QString& legenda, void (TfrmContadores::*acao)(), QPushButton* b) {
        auto* a = new QAction(legenda, m_grade);
        a->setObjectName(QString::fromLatin1(nome));
        if (acao)
            connect(a, &QAction::triggered, this, acao);
        SegueBotao(a, b);
        m_grade->addAction(a);
    };
    menu("mnuIncluir", QStringLiteral("&Incluir"), &TfrmContadores::Incluir, btnIncluir);
    menu("mnuAlterar", QStringLiteral("&Alterar"), &TfrmContadores::Alterar, m_btnAlterar);
    menu("mnuExcluir", QStringLiteral("&Excluir"), &TfrmContadores::Excluir, m_btnExcluir);
    menu("mnuImprimir", QStringLiteral("&Imprimir"), &TfrmContadores::Imprimir, m_btnImprimir);

    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnCancela, btnSelecionar, btnIncluir, m_btnAlterar, m_btnExcluir, m_btnImprimir})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grade);
    layout->addLayout(botoes);
    layout->addWidget(m_status);

    try {
        TDataSet& lista = m_ctx.dtm->ADODataSetContador;
        lista.setCommandText(QString::fromLatin1(kListaContadores));
        lista.open();
        m_modelo = new TDataSetModel(lista, {{QStringLiteral("CPF"), QStringLiteral("CPF / CNPJ")},
                                             {QStringLiteral("Nome"), QStringLiteral("Nome")},
                                             {QStringLiteral("CRC"), QStringLiteral("CRC")}},
                                     this);
        MostraNaGrade(m_grade, m_modelo);
        connect(m_grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
        habilitaBotoes(!lista.isEmpty());
        m_contador = std::make_unique<TContador>(*m_ctx.dtm, *m_ctx.dialogos);
        recarregaGrade();
    } catch (const EBancoDados&) {
        Informa(*m_ctx.dialogos, QStringLiteral("Erro ao selecionar tabela."));
    }
    EscolhaNaLista(m_grade, [this] { Selecionar(); });
    OrdemDeLeituraAoMostrar(this);
}

TfrmContadores::~TfrmContadores()
{
    m_ctx.dtm->ADODataSetContador.close();
}

void TfrmContadores::habilitaBotoes(bool temLinhas)
{
    m_btnAlterar->setEnabled(temLinhas);
    m_btnExcluir->setEnabled(temLinhas);
    m_btnImprimir->setEnabled(temLinhas);
}

void TfrmContadores::recarregaGrade()
{
    if (!m_modelo)
        return;
    const int linha = m_modelo->linhaDoCursor();
    m_modelo->reinicia();
    if (linha >= 0)
        m_grade->selectRow(linha);
}

void TfrmContadores::Selecionar()
{
    m_ctx.IdContadorEscolhido = m_contador ? m_contador->IdAtual() : 0;
    m_ctx.dtm->ADODataSetContador.close();
    if (m_modelo)
        m_modelo->reinicia();
    accept();
}

void TfrmContadores::Cancela()
{
    m_ctx.IdContadorEscolhido = 0;
    reject();
}

void TfrmContadores::Incluir()
{
    TfrmIncluirContador tela(m_ctx, this);
    m_ctx.dialogos->executaModal(&tela);
    recarregaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetContador.isEmpty());
}

void TfrmContadores::Alterar()
{
    if (!m_contador || m_contador->IdAtual() == 0)
        return; // no row to change
    TfrmAlterarContador tela(m_ctx, this);
    m_ctx.dialogos->executaModal(&tela);
    recarregaGrade();
}

void TfrmContadores::Excluir()
{
    if (!m_contador)
        return;
    TDataSet& lista = m_ctx.dtm->ADODataSetContador;
    const int id = m_contador->IdAtual();
    if (id == 0)
        return; // no row to delete
    try {
        if (m_ctx.dialogos->confirmaExclusao(QString::fromUtf8("Confirma Exclusão ? "))) {
            if (m_contador->Excluir(id)) {
                lista.close();
                m_modelo->reinicia();
                Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
                lista.setCommandText(QString::fromLatin1(kListaContadores));
                lista.open();
            } else {
                const TFalha& recusa = m_contador->Recusa();
                Informa(*m_ctx.dialogos,
                        recusa.falhou() ? recusa.mensagem : QString::fromUtf8("Erro na Exclusão."));
            }
        } else {
            lista.refresh();
        }
    } catch (const EBancoDados& e) {
        Informa(*m_ctx.dialogos, e.mensagem());
    }
    recarregaGrade();
    habilitaBotoes(!lista.isEmpty());
}

void TfrmContadores::Imprimir()
{
    TDataSet& lista = m_ctx.dtm->ADODataSetContador;
    if (!lista.active() || lista.isEmpty()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Não há registros para imprimir."));
        return;
    }
    MostraRelatorio(*m_ctx.dialogos, this, Relatorios::Contadores(lista, Agora(m_ctx.relogio)));
}
