// The main window over a temporary data folder: start-up, menus, toolbar and the states of its commands.
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "app/Main.h"
#include "app/USobre.h"
#include "app/untRegistroTelas.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untFechamentoMes.h"
#include "widgets/EdPeriod.h"
#include "support/TBancoTeste.h"
#include "support/TEscritorioFechamento.h"

namespace {

struct JanelaPrincipal : ::testing::Test {
    TBancoTeste banco;
    TRelogioFixo relogio{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    TProgressoGravado progresso;
    TContexto ctx;
    std::unique_ptr<TfrmMain> janela;

    void SetUp() override
    {
        banco.preencheContexto(ctx, &relogio);
        janela = std::make_unique<TfrmMain>(ctx, progresso);
    }
    void TearDown() override { janela.reset(); }

    QAction* acao(const char* nome) { return janela->findChild<QAction*>(QString::fromLatin1(nome)); }
    QMenu* menu(const char* nome) { return janela->findChild<QMenu*>(QString::fromLatin1(nome)); }
    bool habilitado(const char* nome)
    {
        if (QAction* a = acao(nome))
            return a->isEnabled();
        QMenu* m = menu(nome);
        EXPECT_TRUE(m) << nome;
        return m && m->menuAction()->isEnabled();
    }

    // Every flag of the command table, in one string so that a failure shows the whole state.
    QString flags()
    {
        QString r;
        for (const char* n : {"btnAbrir", "ActionSelecionar", "btnFechar", "btnContador", "btnFornecedor",
                              "btnApuraImposto", "btnDadosAnuais", "btnSimplesNacional", "btnSair", "ActionSair",
                              "mnuLancamentos", "mnuRelatorios", "btnVarnoInternet", "btnConfBackup", "btnSobre",
                              "btnRestBakcup", "ActionNFiscal", "ActionNTransp", "ActionCupom", "ActionTalao",
                              "ActionZEL", "ActionSN", "ActionBackup"})
            r += habilitado(n) ? QLatin1Char('E') : QLatin1Char('D');
        return r;
    }

    int criaContribuinte()
    {
        sqlite3* db = banco.con->db();
        TBancoTeste::executaDireto(db, "INSERT INTO Contribuinte (Ccicms, RazaoSocial, Tipo) "
                                       "VALUES ('123456789', 'COMERCIO EXEMPLO LTDA', 'C')");
        return int(sqlite3_last_insert_rowid(db));
    }
};

//                                     Abrir  Fechar Cont Forn Apur DA SN Sair  Lanc Tab  Ajuda GerB Docs      ActB
const QString kInicio   = QStringLiteral("EE" "D" "E" "D" "D" "D" "D" "EE" "D" "E" "EEE" "E" "DDDDDD" "E");
const QString kAberto   = QStringLiteral("DD" "E" "E" "E" "E" "E" "E" "EE" "E" "E" "EEE" "D" "EEEEEE" "E");
const QString kFechado  = QStringLiteral("EE" "D" "E" "D" "D" "D" "D" "EE" "D" "D" "EEE" "E" "DDDDDD" "E");

} // namespace

TEST_F(JanelaPrincipal, PrimeiraPartidaSemMensagensComLegendaDaVersao)
{
    janela->show();
    EXPECT_TRUE(banco.con->conectado());
    EXPECT_EQ(janela->windowTitle(), "Zel do ICMS  -  Versão: 1.0.0.0");
    EXPECT_EQ(janela->size(), QSize(790, 580));
    EXPECT_EQ(janela->minimumSize(), janela->maximumSize()) << "not resizable";
    EXPECT_FALSE(janela->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(flags(), kInicio);
    EXPECT_EQ(progresso.inicios, 1) << "a clean file is compacted at start";
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(JanelaPrincipal, MenusComLegendasNomesESeparadores)
{
    auto itens = [](QMenu* m) {
        QStringList r;
        for (QAction* a : m->actions())
            r << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char('=') + a->text());
        return r;
    };
    QStringList topo;
    for (QAction* a : janela->menuBar()->actions())
        topo << a->menu()->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(topo, (QStringList{"mnuContribuinte=Contribuintes", "mnuLancamentos=&Lançamentos",
                                 "mnuRelatorios=&Tabelas", "mnuAjuda=&Ajuda"}));
    EXPECT_EQ(itens(menu("mnuContribuinte")),
              (QStringList{"btnAbrir=&Abrir", "btnFechar=&Fechar", "-", "btnContador=Con&tabilista",
                           "btnFornecedor=Cliente/&Fornecedor", "-", "=Apuração do &Imposto",
                           "btnDadosAnuais=&Dados Anuais", "btnSimplesNacional=Simples Nacional", "-",
                           "btnFechamentoMes=Fechamento do &Mês", "-", "btnSair=&Sair"}));
    EXPECT_EQ(itens(menu("btnApuraImposto")),
              (QStringList{"btnApurNormal=Regime &Normal", "btnApurEPP3706=# Reg. &EPP MP 37/06",
                           "btnApurEPP=Regime EPP (Antigo)"}));
    EXPECT_EQ(itens(menu("mnuLancamentos")),
              (QStringList{"btnNotasFiscais=&Notas Fiscais", "btnNotasTransporte=Notas &Transporte",
                           "btnCupomFiscal=&Cupom Fiscal", "btnNotaTalao=N&otas Talao", "QuadroV1=&Quadro V"}));
    EXPECT_EQ(itens(menu("btnCodigosFiscais")),
              (QStringList{"btnCfop3Digitos=3 Dígitos", "btnCfop4Dig=4 Dígitos"}));
    EXPECT_EQ(itens(menu("mnuAjuda")),
              (QStringList{"btnVarnoInternet=VARNO na &Internet", "-", "btnConfBackup=Configura Backup",
                           "btnRestBakcup=&Gerencia Backup", "-", "btnSobre=So&bre"}));
}

TEST_F(JanelaPrincipal, BarraComNoveBotoesEmOrdemComSuasDicas)
{
    QStringList r;
    for (QToolButton* b : janela->findChildren<QToolButton*>()) {
        if (!b->objectName().startsWith("Speed"))
            continue;
        r << b->objectName() + QLatin1Char('/') + b->defaultAction()->objectName() + QLatin1Char('=') + b->toolTip();
    }
    EXPECT_EQ(r, (QStringList{"SpeedAbrir/ActionSelecionar=Selecionar Contribuinte",
                              "SpeedNtFiscal/ActionNFiscal=Incluir Nota Fiscal",
                              "SpeedNtTransp/ActionNTransp=Incluir Notas de Transporte",
                              "SpeedCupom/ActionCupom=Incluir Cupom Fiscal",
                              "SpeedTalao/ActionTalao=Incluir Notas de Talão",
                              "SpeedBackup/ActionBackup=Configurar Cópia de Segurança",
                              "SpeedZel/ActionZEL=Apuração da ZEL Normal",
                              "SpeedSN/ActionSN=Apuração Simples Nacional",
                              "SpeedSair/ActionSair=Encerrar o Programa"}));
}

TEST_F(JanelaPrincipal, AbrirEscolherFecharECancelar)
{
    janela->show();
    const int id = criaContribuinte();
    QString durante;
    bool escolhe = true;
    janela->defineTela("btnAbrir", [&] {
        durante = flags();
        if (escolhe) {
            ctx.IdAtivo = id;
            janela->AbrirSessao();
        } else {
            janela->CancelarSelecao();
        }
    });

    acao("btnAbrir")->trigger();
    EXPECT_TRUE(durante.mid(10, 2) == "EE") << "both document menus are enabled while choosing";
    EXPECT_EQ(flags(), kAberto);
    EXPECT_EQ(janela->windowTitle(), "ZEL - 123456789 . COMERCIO EXEMPLO LTDA");

    acao("btnFechar")->trigger();
    EXPECT_EQ(flags(), kFechado);
    EXPECT_EQ(janela->windowTitle(), "Zel do ICMS  -  Versão: 1.0.0.0");
    EXPECT_EQ(ctx.IdAtivo, id) << "closing keeps the id";

    // Leaving the selection without a choice: both menus end disabled, although "&Tabelas" was enabled at start.
    janela->FecharSessao();
    escolhe = false;
    acao("ActionSelecionar")->trigger();
    EXPECT_EQ(durante.mid(10, 2), "EE");
    EXPECT_FALSE(habilitado("mnuLancamentos"));
    EXPECT_FALSE(habilitado("mnuRelatorios"));
    EXPECT_TRUE(habilitado("btnAbrir"));
}

TEST_F(JanelaPrincipal, ComandoSemTelaNaoFazNada)
{
    janela->show();
    acao("btnContador")->trigger();
    acao("btnAbrir")->trigger(); // no selection screen yet: not even the menus change
    EXPECT_EQ(flags(), kInicio);
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(JanelaPrincipal, GerenciaBackupPelaBarraRefazAsVerificacoes)
{
    janela->show();
    const int id = criaContribuinte();
    ctx.IdAtivo = id;
    janela->AbrirSessao();
    bool telaMostrada = false;
    janela->defineTela("btnRestBakcup", [&] {
        telaMostrada = true;
        EXPECT_FALSE(banco.con->conectado()) << "the backup screen works on a closed database";
    });
    acao("ActionBackup")->trigger();
    EXPECT_TRUE(telaMostrada);
    EXPECT_EQ(progresso.inicios, 2) << "compacted again";
    EXPECT_TRUE(banco.con->conectado());
    EXPECT_EQ(janela->windowTitle(), "Zel do ICMS  -  Versão: 1.0.0.0");
    EXPECT_EQ(flags(), kAberto) << "the taxpayer stays open";
}

TEST_F(JanelaPrincipal, SemConexaoOfereceBackupEFecha)
{
    QFile f(banco.caminho());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("isto nao e um banco de dados, mas tambem nao e vazio");
    f.close();
    bool telaBackup = false;
    janela->defineTela("btnRestBakcup", [&] { telaBackup = true; });
    banco.dialogos.esperaMensagem(QString());
    janela->show();
    QApplication::processEvents();
    EXPECT_TRUE(telaBackup);
    EXPECT_FALSE(janela->isVisible());
    EXPECT_EQ(TBancoTeste::conteudo(banco.caminho()), "isto nao e um banco de dados, mas tambem nao e vazio");
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_TRUE(banco.dialogos.registros()[0].texto.startsWith(QString::fromUtf8("Não foi possível realizar a ")));
}

TEST_F(JanelaPrincipal, SairFechaConexaoEJanelaEAvisaOFimDoPrograma)
{
    janela->show();
    int fim = 0;
    janela->defineTela("FimDoPrograma", [&] { ++fim; });
    acao("ActionSair")->trigger();
    EXPECT_FALSE(janela->isVisible());
    EXPECT_FALSE(banco.con->conectado());
    EXPECT_EQ(fim, 1);
}

TEST_F(JanelaPrincipal, InternetAbreOEnderecoSemReclamarDeFalha)
{
    janela->show();
    banco.dialogos.esperaAbrir(false);
    acao("btnVarnoInternet")->trigger();
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_EQ(banco.dialogos.registros()[0].texto, TfrmMain::enderecoInternet());
}

TEST_F(JanelaPrincipal, SobreMostraAVersaoNaQuintaLinhaUmaVezSo)
{
    janela->show();
    auto confere = [this](QObject* tela) {
        auto* sobre = qobject_cast<TFrmSobre*>(tela);
        EXPECT_TRUE(sobre);
        sobre->show();
        const QStringList linhas = sobre->linhas();
        EXPECT_EQ(linhas.size(), 17);
        EXPECT_EQ(linhas[4], "Programa Zel do ICMS - versão: 1.0.0.0");
        EXPECT_EQ(linhas.filter("versão").size(), 1);
        EXPECT_EQ(sobre->timer()->interval(), 50);
        EXPECT_TRUE(sobre->timer()->isActive());
        const int antes = sobre->deslocamento();
        sobre->rola();
        EXPECT_EQ(sobre->deslocamento(), antes + 1);
        sobre->hide();
        sobre->show(); // shown again: still one version line, scroll from the top
        EXPECT_EQ(sobre->linhas().filter("versão").size(), 1);
        EXPECT_EQ(sobre->deslocamento(), 0);
        EXPECT_EQ(sobre->findChild<QPushButton*>("btnFechar")->toolTip(), "Tecle para fechar esta tela");
        // The data folder in use, which a user needs to copy the database or point another computer at it.
        const auto* lblPasta = sobre->findChild<QLabel*>("lblPasta");
        EXPECT_TRUE(lblPasta && lblPasta->isVisible());
        if (lblPasta) {
            EXPECT_EQ(lblPasta->text(), QString::fromUtf8("Pasta dos dados: ") + QDir::toNativeSeparators(ctx.pasta));
        }
        EXPECT_FALSE(sobre->windowFlags() & Qt::WindowCloseButtonHint);
        return 1;
    };
    banco.dialogos.esperaTela("TFrmSobre", confere).esperaTela("TFrmSobre", confere);
    acao("btnSobre")->trigger();
    acao("btnSobre")->trigger();
}

TEST_F(JanelaPrincipal, ErroDoBancoNumComandoMostraOErroEAJanelaContinua)
{
    RegistraTelas(*janela, ctx);
    janela->show();
    criaContribuinte();
    // Another program holds the file: the selection screen's first query is refused.
    sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(outro, "BEGIN EXCLUSIVE");
    sqlite3_busy_timeout(banco.con->db(), 20);
    banco.dialogos.esperaMensagem(QString());
    acao("btnAbrir")->trigger();
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_EQ(banco.dialogos.registros()[0].titulo, "Erro");
    EXPECT_TRUE(banco.dialogos.registros()[0].texto.contains("locked")) << banco.dialogos.registros()[0].texto.toStdString();
    EXPECT_TRUE(janela->isVisible());
    EXPECT_EQ(flags(), kFechado) << "the selection never showed: no document menu stays enabled";

    // The same from the toolbar, then the lock goes and the command works again.
    banco.dialogos.esperaMensagem(QString());
    acao("ActionSelecionar")->trigger();
    TBancoTeste::executaDireto(outro, "ROLLBACK");
    sqlite3_close(outro);
    banco.dialogos.esperaTela("TfrmContribuintes", [](QObject*) { return 0; });
    acao("btnAbrir")->trigger();
    EXPECT_EQ(banco.dialogos.pendentes(), 0);

    int fim = 0;
    janela->defineTela("FimDoPrograma", [&] { ++fim; });
    acao("ActionSair")->trigger();
    EXPECT_EQ(fim, 1) << "the closing steps still run";
}

TEST_F(JanelaPrincipal, FechamentoDoMesSemContribuinteAbertoAbreOEscolhido)
{
    RegistraTelas(*janela, ctx);
    janela->show();
    TEscritorioFechamento escritorio;
    ASSERT_TRUE(escritorio.monta(*banco.dtm, banco.dialogos, relogio));
    EXPECT_TRUE(habilitado("btnFechamentoMes"));
    // Its list opens the taxpayer of the row as the selection does: the window takes that taxpayer's state.
    banco.dialogos.esperaTela("TfrmFechamentoMes", [&](QObject* o) {
        auto* tela = qobject_cast<TfrmFechamentoMes*>(o);
        EXPECT_TRUE(tela);
        if (!tela)
            return 0;
        tela->show();
        EXPECT_EQ(tela->linhas().size(), 9);
        tela->edtPeriodo->definePeriodo("052012");
        tela->Atualizar();
        tela->cmbSituacao->setCurrentText("entregue");
        tela->AbrirContribuinte(0);
        return tela->result();
    });
    acao("btnFechamentoMes")->trigger();
    EXPECT_EQ(ctx.IdAtivo, escritorio.ids.value("TETA"));
    EXPECT_EQ(flags(), kAberto);
    EXPECT_TRUE(janela->windowTitle().startsWith("ZEL - " + escritorio.inscricoes.value("TETA"))) << janela->windowTitle().toStdString();
    // With a taxpayer open the month's list is still there.
    EXPECT_TRUE(habilitado("btnFechamentoMes"));
    janela->FecharSessao();
    EXPECT_TRUE(habilitado("btnFechamentoMes"));
}
