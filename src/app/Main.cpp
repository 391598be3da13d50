#include "app/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/USobre.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untVersao.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untExecucao.h"
#include "db/untInicio.h"

static QPixmap fundo(const QSize& tamanho)
{
    QPixmap pm(tamanho);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, tamanho.height());
    g.setColorAt(0, QColor(225, 235, 245));
    g.setColorAt(1, QColor(160, 190, 215));
    p.fillRect(pm.rect(), g);
    QFont f = p.font();
    f.setPointSize(34);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 70, 130, 90));
    p.drawText(pm.rect(), Qt::AlignCenter, tituloAplicacao());
    return pm;
}

TfrmMain::TfrmMain(TContexto& ctx, IProgresso& progresso, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_ctx(ctx), m_progresso(progresso), m_versao(TextoVersao())
{
    setObjectName(QStringLiteral("frmMain"));
    m_ctx.sessao = this;
    setWindowTitle(legendaVersao());
    setFixedSize(790, 580);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - rect().center());
    montaMenus();
    montaBarra();
    auto* imagem = new QLabel(this);
    imagem->setObjectName(QStringLiteral("imgFundo"));
    imagem->setPixmap(fundo(QSize(790, 520)));
    imagem->setScaledContents(true);
    setCentralWidget(imagem);
    aplicaEstado();
}

QString TfrmMain::legendaVersao() const
{
    return QStringLiteral("Zel do ICMS  -  Versão: ") + m_versao;
}

QString TfrmMain::enderecoInternet()
{
    return QStringLiteral("https://www.sefaz.zr.gov.br");
}

QAction* TfrmMain::item(QMenu* menu, const char* nome, const QString& legenda)
{
    auto* a = menu->addAction(legenda);
    a->setObjectName(QString::fromLatin1(nome));
    m_acoes.insert(a->objectName(), a);
    return a;
}

void TfrmMain::montaMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuMain"));
    auto novoMenu = [this](QMenu* pai, const char* nome, const QString& legenda) {
        QMenu* m = pai ? pai->addMenu(legenda) : menuBar()->addMenu(legenda);
        m->setObjectName(QString::fromLatin1(nome));
        m_menus.insert(m->objectName(), m);
        return m;
    };
    auto telaAoAcionar = [this](QAction* a) {
        connect(a, &QAction::triggered, this, [this, nome = a->objectName()] { executaTela(nome); });
    };

    QMenu* contrib = novoMenu(nullptr, "mnuContribuinte", QStringLiteral("Contribuintes"));
    connect(item(contrib, "btnAbrir", QStringLiteral("&Abrir")), &QAction::triggered, this, &TfrmMain::abrir);
    connect(item(contrib, "btnFechar", QStringLiteral("&Fechar")), &QAction::triggered, this, &TfrmMain::FecharSessao);
    contrib->addSeparator();
    telaAoAcionar(item(contrib, "btnContador", QStringLiteral("Con&tabilista")));
    telaAoAcionar(item(contrib, "btnFornecedor", QStringLiteral("Cliente/&Fornecedor")));
    contrib->addSeparator();
    QMenu* apura = novoMenu(contrib, "btnApuraImposto", QStringLiteral("Apuração do &Imposto"));
    telaAoAcionar(item(apura, "btnApurNormal", QStringLiteral("Regime &Normal")));
    telaAoAcionar(item(apura, "btnApurEPP3706", QStringLiteral("# Reg. &EPP MP 37/06")));
    telaAoAcionar(item(apura, "btnApurEPP", QStringLiteral("Regime EPP (Antigo)")));
    telaAoAcionar(item(contrib, "btnDadosAnuais", QStringLiteral("&Dados Anuais")));
    telaAoAcionar(item(contrib, "btnSimplesNacional", QStringLiteral("Simples Nacional")));
    contrib->addSeparator();
    // Every taxpayer's month at once: it needs no open taxpayer, and opens one from its list.
    telaAoAcionar(item(contrib, "btnFechamentoMes", QString::fromUtf8("Fechamento do &Mês")));
    contrib->addSeparator();
    connect(item(contrib, "btnSair", QStringLiteral("&Sair")), &QAction::triggered, this, &TfrmMain::sair);

    QMenu* lanc = novoMenu(nullptr, "mnuLancamentos", QStringLiteral("&Lançamentos"));
    telaAoAcionar(item(lanc, "btnNotasFiscais", QStringLiteral("&Notas Fiscais")));
    telaAoAcionar(item(lanc, "btnNotasTransporte", QStringLiteral("Notas &Transporte")));
    telaAoAcionar(item(lanc, "btnCupomFiscal", QStringLiteral("&Cupom Fiscal")));
    telaAoAcionar(item(lanc, "btnNotaTalao", QStringLiteral("N&otas Talao")));
    telaAoAcionar(item(lanc, "QuadroV1", QStringLiteral("&Quadro V")));

    QMenu* tab = novoMenu(nullptr, "mnuRelatorios", QStringLiteral("&Tabelas"));
    QMenu* cfop = novoMenu(tab, "btnCodigosFiscais", QStringLiteral("&Códigos Fiscais"));
    telaAoAcionar(item(cfop, "btnCfop3Digitos", QStringLiteral("3 Dígitos")));
    telaAoAcionar(item(cfop, "btnCfop4Dig", QStringLiteral("4 Dígitos")));
    telaAoAcionar(item(tab, "Municpio1", QStringLiteral("&Município")));

    QMenu* ajuda = novoMenu(nullptr, "mnuAjuda", QStringLiteral("&Ajuda"));
    connect(item(ajuda, "btnVarnoInternet", QStringLiteral("VARNO na &Internet")), &QAction::triggered, this,
            [this] { m_ctx.dialogos->abrirAssociado(enderecoInternet()); }); // a failure is not reported
    ajuda->addSeparator();
    connect(item(ajuda, "btnConfBackup", QStringLiteral("Configura Backup")), &QAction::triggered, this,
            &TfrmMain::configuraBackup);
    connect(item(ajuda, "btnRestBakcup", QStringLiteral("&Gerencia Backup")), &QAction::triggered, this,
            &TfrmMain::gerenciaBackup);
    ajuda->addSeparator();
    connect(item(ajuda, "btnSobre", QStringLiteral("So&bre")), &QAction::triggered, this, &TfrmMain::sobre);
}

void TfrmMain::montaBarra()
{
    auto* barra = addToolBar(QStringLiteral("Ferramentas"));
    barra->setObjectName(QStringLiteral("ToolBar"));
    barra->setMovable(false);
    barra->setIconSize(QSize(32, 32));
    struct BotaoBarra {
        const char* botao;
        const char* acao;
        QString dica;
        QStyle::StandardPixmap icone;
        std::function<void()> executa;
    };
    const QList<BotaoBarra> botoes = {
        {"SpeedAbrir", "ActionSelecionar", QStringLiteral("Selecionar Contribuinte"), QStyle::SP_DirOpenIcon,
         [this] { abrir(); }},
        {"SpeedNtFiscal", "ActionNFiscal", QStringLiteral("Incluir Nota Fiscal"), QStyle::SP_FileIcon,
         [this] { executaTela(QStringLiteral("btnNotasFiscais")); }},
        {"SpeedNtTransp", "ActionNTransp", QStringLiteral("Incluir Notas de Transporte"), QStyle::SP_ArrowForward,
         [this] { executaTela(QStringLiteral("btnNotasTransporte")); }},
        {"SpeedCupom", "ActionCupom", QStringLiteral("Incluir Cupom Fiscal"), QStyle::SP_FileDialogDetailedView,
         [this] { executaTela(QStringLiteral("btnCupomFiscal")); }},
        {"SpeedTalao", "ActionTalao", QStringLiteral("Incluir Notas de Talão"), QStyle::SP_FileDialogListView,
         [this] { executaTela(QStringLiteral("btnNotaTalao")); }},
        {"SpeedBackup", "ActionBackup", QStringLiteral("Configurar Cópia de Segurança"), QStyle::SP_DriveHDIcon,
         [this] { gerenciaBackup(); }},
        {"SpeedZel", "ActionZEL", QStringLiteral("Apuração da ZEL Normal"), QStyle::SP_FileDialogContentsView,
         [this] { executaTela(QStringLiteral("btnApurNormal")); }},
        {"SpeedSN", "ActionSN", QStringLiteral("Apuração Simples Nacional"), QStyle::SP_FileDialogInfoView,
         [this] { executaTela(QStringLiteral("btnSimplesNacional")); }},
        {"SpeedSair", "ActionSair", QStringLiteral("Encerrar o Programa"), QStyle::SP_DialogCloseButton,
         [this] { sair(); }},
    };
    for (const BotaoBarra& b : botoes) {
        auto* acao = new QAction(style()->standardIcon(b.icone), b.dica, this);
        acao->setObjectName(QString::fromLatin1(b.acao));
        acao->setToolTip(b.dica);
        connect(acao, &QAction::triggered, this, b.executa);
        m_acoes.insert(acao->objectName(), acao);
        auto* botao = new QToolButton(barra);
        botao->setObjectName(QString::fromLatin1(b.botao));
        botao->setDefaultAction(acao);
        botao->setToolTipDuration(4000);
        barra->addWidget(botao);
    }
}

void TfrmMain::aplicaEstado()
{
    auto define = [this](const char* nome, Comando c) {
        if (QAction* a = m_acoes.value(QString::fromLatin1(nome)))
            a->setEnabled(m_estado.habilitado(c));
        else if (QMenu* m = m_menus.value(QString::fromLatin1(nome)))
            m->menuAction()->setEnabled(m_estado.habilitado(c));
    };
    define("btnAbrir", Comando::Abrir);
    define("ActionSelecionar", Comando::Abrir);
    define("btnFechar", Comando::Fechar);
    define("btnContador", Comando::Contabilista);
    define("btnFechamentoMes", Comando::Contabilista);
    define("btnFornecedor", Comando::Fornecedor);
    define("btnApuraImposto", Comando::ApuraImposto);
    define("btnDadosAnuais", Comando::DadosAnuais);
    define("btnSimplesNacional", Comando::SimplesNacional);
    define("btnSair", Comando::Sair);
    define("ActionSair", Comando::Sair);
    define("mnuLancamentos", Comando::Lancamentos);
    define("mnuRelatorios", Comando::Tabelas);
    define("btnVarnoInternet", Comando::Ajuda);
    define("btnConfBackup", Comando::Ajuda);
    define("btnSobre", Comando::Ajuda);
    define("btnRestBakcup", Comando::GerenciaBackup);
    for (const char* a : {"ActionNFiscal", "ActionNTransp", "ActionCupom", "ActionTalao", "ActionZEL", "ActionSN"})
        define(a, Comando::AcoesDocumentos);
    define("ActionBackup", Comando::ActionBackup);
}

void TfrmMain::defineTela(const QString& nomeItem, std::function<void()> tela)
{
    m_telas.insert(nomeItem, std::move(tela));
}

void TfrmMain::executaTela(const QString& nome)
{
    // Every screen opens through here, so an engine error while it builds or queries ends the command only.
    if (const auto tela = m_telas.value(nome))
        ExecutaProtegido(*m_ctx.dialogos, tela);
}

void TfrmMain::abrir()
{
    // Both menus are enabled while the selection screen is up; the screen itself opens the taxpayer
    // (AbrirSessao) or gives up (CancelarSelecao).
    const auto tela = m_telas.value(QStringLiteral("btnAbrir"));
    if (!tela)
        return;
    m_estado.selecionando();
    aplicaEstado();
    if (!ExecutaProtegido(*m_ctx.dialogos, tela))
        CancelarSelecao(); // the selection never showed: no taxpayer is being chosen
}

void TfrmMain::AbrirSessao()
{
    m_estado.abrirSessao();
    aplicaEstado();
    QString ccicms, razao;
    try {
        m_ctx.dtm->LerContribuinteAtivo(m_ctx.IdAtivo);
        ccicms = m_ctx.dtm->ADODataSetAtivo.asString(QStringLiteral("Ccicms"));
        razao = m_ctx.dtm->ADODataSetAtivo.asString(QStringLiteral("RazaoSocial"));
    } catch (const EBancoDados& e) {
        InformaErro(*m_ctx.dialogos, e.mensagem());
    }
    m_aberto = ccicms + QStringLiteral(" . ") + razao;
    setWindowTitle(QStringLiteral("ZEL - ") + m_aberto);
}

void TfrmMain::CancelarSelecao()
{
    m_estado.cancelarSelecao();
    aplicaEstado();
}

void TfrmMain::FecharSessao()
{
    m_estado.fecharSessao();
    aplicaEstado();
    m_aberto.clear();
    setWindowTitle(legendaVersao());
}

QString TfrmMain::VerificacoesIniciais()
{
    const QString r = ExecutaVerificacoesIniciais(*m_ctx.con, *m_ctx.dtm, *m_ctx.dialogos, m_progresso);
    if (AposVerificar)
        AposVerificar(r);
    if (r == QLatin1String("ERR")) {
        executaTela(QStringLiteral("btnRestBakcup"));
        // Closing from inside the showing would cut it short; the event loop closes the window next.
        QTimer::singleShot(0, this, &QWidget::close);
        return r;
    }
    setWindowTitle(legendaVersao());
    return r;
}

void TfrmMain::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!m_verificado) {
        m_verificado = true;
        VerificacoesIniciais();
    }
}

void TfrmMain::closeEvent(QCloseEvent* e)
{
    m_ctx.con->Fechar();
    executaTela(QStringLiteral("FimDoPrograma")); // the backup manager's end-of-program step, when present
    e->accept();
}

void TfrmMain::gerenciaBackup()
{
    m_ctx.con->Fechar();
    executaTela(QStringLiteral("btnRestBakcup"));
    VerificacoesIniciais();
}

void TfrmMain::configuraBackup()
{
    m_ctx.con->Fechar();
    executaTela(QStringLiteral("btnConfBackup"));
}

void TfrmMain::sair()
{
    m_ctx.con->Fechar();
    close();
}

void TfrmMain::sobre()
{
    TFrmSobre sobre(m_versao, m_ctx.pasta, this);
    m_ctx.dialogos->executaModal(&sobre);
}
