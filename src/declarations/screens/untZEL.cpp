#include "declarations/screens/untZEL.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "declarations/screens/untIncluirZEL.h"
#include "declarations/untZel.h"
#include "output/untGeradorArquivo.h"
#include "widgets/untFechamento.h"
#include "widgets/untTelas.h"

TfrmZEL::TfrmZEL(TContexto& ctx, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_lista(ctx.dtm->conexao())
{
    setObjectName(QStringLiteral("frmZEL"));
    setWindowTitle(QString::fromUtf8("Relação de ZEL Cadastradas - Regime Normal"));
    resize(900, 460);
    dbgPeriodo = Nomeado(new QTableView(this), "dbgPeriodo");
    stbStatus = Nomeado(new QStatusBar(this), "stbStatus");
    stbStatus->showMessage(QString::fromUtf8("Clique com o botão direito do Mouse no Grid para ativar o menu"));
    ConfiguraGrade(dbgPeriodo, nullptr, QStringLiteral("Duplo Clique para alterar dados"), QString());
    m_modelo = new TDataSetModel(m_lista,
                                 {{QStringLiteral("Periodo"), QString::fromUtf8("Período")},
                                  {QStringLiteral("Tipo"), QStringLiteral("Tipo")},
                                  {QStringLiteral("CredEntradas"), QStringLiteral("Cred. Entradas")},
                                  {QStringLiteral("CredAtivoImob"), QStringLiteral("Cred. Ativo Imob.")},
                                  {QStringLiteral("CredTransferencia"), QStringLiteral("Cred. Transferencia")},
                                  {QStringLiteral("CredOutros"), QStringLiteral("Outros Creditos")},
                                  {QStringLiteral("CredSaldoAnterior"), QStringLiteral("Saldo Anterior")},
                                  {QStringLiteral("DebSaidas"), QStringLiteral("Deb. Saidas")},
                                  {QStringLiteral("DebTransfCredAc"), QStringLiteral("Deb. Transf. Cred Acum.")},
                                  {QStringLiteral("DebEstornoCred"), QStringLiteral("Deb. Estorno Cred.")},
                                  {QStringLiteral("DebOutros"), QString::fromUtf8("Outros Débitos")}},
                                 this);
    m_modelo->defineFormato(QStringLiteral("Periodo"), [](const QVariant& v) {
        const QString p = v.toString().trimmed();
        return p.size() == 6 ? p.left(4) + QLatin1Char('/') + p.mid(4) : p;
    });
    dbgPeriodo->setModel(m_modelo);
    connect(dbgPeriodo->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { m_modelo->moveCursor(atual.row()); });
    connect(dbgPeriodo, &QTableView::doubleClicked, this, &TfrmZEL::Alterar);

    auto botao = [this](const char* nome, const char* legenda, void (TfrmZEL::*acao)()) {
        auto* b = Nomeado(new QPushButton(QString::fromUtf8(legenda), this), nome);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, acao);
        return b;
    };
    btnIncluir = botao("btnIncluir", "&Incluir", &TfrmZEL::Incluir);
    btnAlterar = botao("btnAlterar", "&Alterar", &TfrmZEL::Alterar);
    btnExcluir = botao("btnExcluir", "&Excluir", &TfrmZEL::Excluir);
    btnImprimir = botao("btnImprimir", "&Imprimir", &TfrmZEL::Imprimir);
    btnGerarArquivo = botao("btnGerarArquivo", "&Gerar Arquivo", &TfrmZEL::GerarArquivo);
    btnFechar = Nomeado(new QPushButton(QStringLiteral("Fechar"), this), "btnFechar");
    btnFechar->setAutoDefault(false);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    FechaPeloBotao(this, btnFechar);
    for (auto [nome, legenda, acao] : {std::tuple{"mnuIncluir", "&Incluir", &TfrmZEL::Incluir},
                                       std::tuple{"mnuAlterar", "&Alterar", &TfrmZEL::Alterar},
                                       std::tuple{"mnuExcluir", "&Excluir", &TfrmZEL::Excluir},
                                       std::tuple{"mnuImprimir", "Im&primir", &TfrmZEL::Imprimir}}) {
        auto* a = Nomeado(new QAction(QString::fromUtf8(legenda), dbgPeriodo), nome);
        connect(a, &QAction::triggered, this, acao);
        dbgPeriodo->addAction(a);
    }
    auto* botoes = new QHBoxLayout;
    for (QPushButton* b : {btnIncluir, btnAlterar, btnExcluir, btnImprimir, btnGerarArquivo, btnFechar})
        botoes->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dbgPeriodo, 1);
    layout->addLayout(botoes);
    layout->addWidget(stbStatus);
}

void TfrmZEL::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    try {
        TZel::AtualizaTabela(*m_ctx.dtm);
    } catch (const EBancoDados&) {
        m_falhou = true;
        InformaErro(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro ao Alterar Tabela ZEL \nConsulte o Suporte."));
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    ativa();
}

bool TfrmZEL::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && m_lista.active() && !m_falhou && isVisible()) {
        // Back from another window: the list shows the table as it is now.
        const bool r = QDialog::event(e);
        return r;
    }
    return QDialog::event(e);
}

void TfrmZEL::ativa(bool crescente)
{
    const int atual = selecionada();
    try {
        AbreListaZel(m_lista, m_ctx.IdAtivo, crescente);
        if (atual)
            m_lista.locate(QStringLiteral("IDZel"), atual);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        m_lista.close();
    }
    const int linha = m_lista.active() ? m_lista.recNo() : -1;
    m_modelo->reinicia();
    const bool algum = m_lista.active() && !m_lista.isEmpty();
    for (QPushButton* b : {btnAlterar, btnExcluir, btnImprimir, btnGerarArquivo})
        b->setEnabled(algum);
    if (linha >= 0)
        dbgPeriodo->selectRow(linha);
    dbgPeriodo->setFocus();
}

int TfrmZEL::selecionada() const
{
    if (!m_lista.active() || m_lista.isEmpty() || m_lista.recNo() < 0)
        return 0;
    return m_lista.asInteger(QStringLiteral("IDZel"));
}

void TfrmZEL::Incluir()
{
    {
        TfrmIncluirZEL tela(m_ctx, 0, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    ativa();
}

void TfrmZEL::Alterar()
{
    const int id = selecionada();
    if (id == 0)
        return;
    {
        TfrmIncluirZEL tela(m_ctx, id, this);
        m_ctx.dialogos->executaModal(&tela);
    }
    ativa();
}

void TfrmZEL::Excluir()
{
    const int id = selecionada();
    if (id == 0)
        return;
    const QString periodo = m_lista.asString(QStringLiteral("Periodo")).trimmed();
    if (MensagemDlg(*m_ctx.dialogos, QStringLiteral("Confirma Exclusão ? "), TipoMsg::Confirmacao,
                    {Botao::Sim, Botao::Nao}) != Botao::Sim) {
        ativa();
        return;
    }
    QString mensagem;
    if (!ExcluiZel(*m_ctx.dtm, id, m_ctx.IdAtivo, periodo, &mensagem)) {
        Informa(*m_ctx.dialogos, mensagem);
        ativa();
        return;
    }
    ativa(true);
    Informa(*m_ctx.dialogos, QString::fromUtf8("Excluído com Sucesso."));
}

void TfrmZEL::Imprimir()
{
    // The printed declaration comes with the reports.
}

void TfrmZEL::GerarArquivo()
{
    const int id = selecionada();
    if (id == 0)
        return;
    TZel z(*m_ctx.dtm);
    try {
        if (!z.CarregarId(id, m_ctx.IdAtivo))
            return;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    btnGerarArquivo->setEnabled(false);
    TProgressoNulo nulo;
    TGeradorArquivo gerador(*m_ctx.dtm, *m_ctx.dialogos, m_ctx.progresso ? *m_ctx.progresso : nulo, *m_ctx.relogio,
                            m_ctx.IdAtivo);
    const bool ok = gerador.GerarArquivo(QStringLiteral("1"), z.Periodo, 1,
                                         z.Tipo == QLatin1String("N") ? QStringLiteral("1") : QStringLiteral("2"));
    if (ok)
        Informa(*m_ctx.dialogos, QStringLiteral("Arquivo gerado com sucesso!"));
    else if (!gerador.cancelado())
        Informa(*m_ctx.dialogos, QStringLiteral("Ocorreu ERRO na geração do Arquivo!"));
    btnGerarArquivo->setEnabled(true);
    btnFechar->setFocus();
}
