// The backup screens driven as a user drives them: ticks, clicks, Esc; the states and captions of the
// buttons, the questions and what is on disk afterwards; and the main window's end-of-program step.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QFileInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "app/untRegistroTelas.h"
#include "backup/screens/untFormBackup.h"
#include "backup/screens/untFormConfigBackup.h"
#include "backup/untBackup.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "registers/screens/TTelasCadastro.h"
#include "support/TBancoTeste.h"
#include "support/TOrdemTab.h"

using namespace cadastro;

namespace {

struct TelasBackup : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2024, 5, 1), QTime(10, 5, 33))};
    QString pasta, banco;
    std::unique_ptr<TBackup> b;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contribuinte (IdContribuinte, RazaoSocial, Tipo) VALUES "
                                                "(1, 'ANTES', 'C')");
        t.con->Fechar();
        pasta = t.pasta.path();
        banco = QDir(pasta).filePath("bcoZel.mdb");
        b = std::make_unique<TBackup>(pasta, QDir(pasta).filePath("zel.ini"), relogio);
        b->prefixo = "BackupZel";
        b->AdicionaArquivo(banco);
        b->pastaRecuperacao = pasta;
    }
    void TearDown() override { t.dialogos.verificaConsumo(); }

    std::unique_ptr<TFormBackup> tela(bool conexaoAberta = false)
    {
        auto f = std::make_unique<TFormBackup>(*b, t.dialogos, [conexaoAberta] { return conexaoAberta; });
        Ativa(f.get());
        return f;
    }
    static void marca(TFormBackup& f, int linha, bool sim = true)
    {
        f.lboxArquivos->item(linha)->setCheckState(sim ? Qt::Checked : Qt::Unchecked);
    }
    QString arquivoDe(const QString& pastaDoBackup, TTipoBackup tipo = TTipoBackup::Manual)
    {
        QString erro;
        const QString a = b->Realiza(tipo, pastaDoBackup, &erro);
        EXPECT_FALSE(a.isEmpty()) << erro.toStdString();
        return a;
    }
};

} // namespace

TEST_F(TelasBackup, EstadosDosBotoesEContagens)
{
    auto f = tela();
    EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Gerenciamento de Backup (Cópia de segurança)"));
    EXPECT_EQ(f->editPasta->currentText(), b->pastaPadrao());
    EXPECT_EQ(f->lboxArquivos->count(), 0);
    EXPECT_TRUE(f->btnRealiza->isEnabled());
    EXPECT_FALSE(f->btnApagaPasta->isEnabled()) << "the default folder stays";
    EXPECT_FALSE(f->btnRecupera->isEnabled());
    EXPECT_FALSE(f->btnApagaArquivos->isEnabled());
    EXPECT_FALSE(f->lboxArquivos->isEnabled());
    EXPECT_FALSE(f->lblListados->isVisibleTo(f.get()));
    EXPECT_EQ(f->btnRealiza->toolTip(), QString::fromUtf8("Realiza cópia de segurança dos dados atuais do sistema"));
    EXPECT_EQ(f->btnEscolhePasta->toolTip(), "Seleciona uma pasta existente para pasta de backup");

    t.dialogos.esperaMensagem(QString::fromUtf8("Cópia de segurança realizada com sucesso."));
    Clica(f->btnRealiza);
    relogio.ajusta(QDateTime(QDate(2024, 5, 1), QTime(10, 6)));
    t.dialogos.esperaMensagem(QString::fromUtf8("Cópia de segurança realizada com sucesso."));
    Clica(f->btnRealiza);
    ASSERT_EQ(f->lboxArquivos->count(), 2);
    EXPECT_EQ(f->lblListados->text(), "Arquivos listados: 2");
    EXPECT_TRUE(f->lblListados->isVisibleTo(f.get()));
    EXPECT_FALSE(f->lblSelecionados->isVisibleTo(f.get()));

    marca(*f, 0);
    EXPECT_TRUE(f->btnRecupera->isEnabled());
    EXPECT_TRUE(f->btnApagaArquivos->isEnabled());
    EXPECT_EQ(f->btnApagaArquivos->text(), "Apaga &arquivo");
    EXPECT_EQ(f->lblSelecionados->text(), "Selecionados: 1");
    EXPECT_TRUE(f->lblSelecionados->isVisibleTo(f.get()));
    marca(*f, 1);
    EXPECT_FALSE(f->btnRecupera->isEnabled()) << "one archive is restored, not two";
    EXPECT_EQ(f->btnApagaArquivos->text(), "Apaga &arquivos");

    // Another folder: its own list, and an empty folder text allows nothing.
    f->editPasta->setEditText(QDir(pasta).filePath("nenhuma"));
    EXPECT_EQ(f->lboxArquivos->count(), 0);
    EXPECT_FALSE(f->btnApagaPasta->isEnabled()) << "not in the folder list";
    f->editPasta->setEditText(QString());
    EXPECT_FALSE(f->btnRealiza->isEnabled());
}

TEST_F(TelasBackup, RealizaNumaPastaNovaAColocaPrimeiraNaLista)
{
    auto f = tela();
    const QString nova = QDir(pasta).filePath("copias");
    t.dialogos.esperaPasta(nova);
    Clica(f->btnEscolhePasta);
    EXPECT_EQ(f->editPasta->currentText(), nova + "/");
    t.dialogos.esperaMensagem(QString::fromUtf8("Cópia de segurança realizada com sucesso."));
    Clica(f->btnRealiza);
    EXPECT_EQ(b->pastas.first(), nova + "/");
    EXPECT_EQ(f->editPasta->itemText(0), nova + "/");
    EXPECT_EQ(f->editPasta->currentIndex(), 0);
    EXPECT_EQ(f->lboxArquivos->count(), 1);
    EXPECT_TRUE(QFile::exists(nova + "/" + f->lboxArquivos->item(0)->text()));
    // Esc leaves through "&Fechar" and the folders are saved.
    QTest::keyClick(f.get(), Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    QFile lista(QDir(pasta).filePath("Paths.Backup"));
    ASSERT_TRUE(lista.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(lista.readAll()).split('\n', Qt::SkipEmptyParts),
              QStringList({nova + "/", b->pastaPadrao()}));
}

TEST_F(TelasBackup, RecuperaComAPerguntaEACopiaDeSeguranca)
{
    const QString arquivo = arquivoDe({});
    const QByteArray guardado = TBancoTeste::conteudo(banco);
    t.con->Conectar();
    TBancoTeste::executaDireto(t.con->db(), "UPDATE Contribuinte SET RazaoSocial = 'DEPOIS'");
    t.con->Fechar();
    relogio.ajusta(QDateTime(QDate(2024, 5, 2), QTime(9, 0)));
    auto f = tela();
    ASSERT_EQ(f->lboxArquivos->count(), 1);
    marca(*f, 0);
    const QString pergunta =
        QString::fromUtf8("Ao realizar uma Recuperação de Backup, os dados presentes no sistema serão substituídos pelos "
                          "dados existentes no arquivo de backup a ser recuperado.\n\nPor medida de segurança, antes de "
                          "realizar a recuperação do backup, o sistema criará automaticamente uma cópia dos dados atuais, "
                          "possibilitando, caso necessário, a recuperação dos mesmos.\n\nConfirma recuperação dos dados do "
                          "sistema, a partir do arquivo de backup '%1'?\n")
            .arg(arquivo);
    // "No" changes nothing.
    t.dialogos.esperaMensagem(pergunta, Botao::Nao);
    Clica(f->btnRecupera);
    EXPECT_NE(TBancoTeste::conteudo(banco), guardado);
    t.dialogos.esperaMensagem(pergunta, Botao::Sim)
        .esperaMensagem(QString::fromUtf8("Cópia de segurança recuperada com sucesso."));
    Clica(f->btnRecupera);
    EXPECT_EQ(TBancoTeste::conteudo(banco), guardado);
    EXPECT_TRUE(b->recuperado);
    EXPECT_EQ(b->ultimoArquivo, arquivo);
    // The safety copy shows in the default folder's list, nothing ticked.
    EXPECT_EQ(f->lboxArquivos->count(), 2);
    EXPECT_FALSE(f->btnRecupera->isEnabled());
    EXPECT_TRUE(f->lblStatus->text().isEmpty()) << "the status line is cleared when done";
}

TEST_F(TelasBackup, RecuperaRecusadaComAConexaoAberta)
{
    arquivoDe({});
    const QByteArray antes = TBancoTeste::conteudo(banco);
    auto f = tela(true);
    marca(*f, 0);
    t.dialogos.esperaMensagem(QString(), Botao::Sim).esperaMensagem(QString());
    Clica(f->btnRecupera);
    ASSERT_GE(t.dialogos.registros().size(), 2);
    EXPECT_TRUE(t.dialogos.registros().last().texto.contains(QString::fromUtf8("Os dados atuais não foram alterados.")));
    EXPECT_EQ(t.dialogos.registros().last().titulo, "Erro");
    EXPECT_EQ(TBancoTeste::conteudo(banco), antes);
    EXPECT_FALSE(b->recuperado);
}

TEST_F(TelasBackup, ApagaArquivosMarcados)
{
    arquivoDe({});
    relogio.ajusta(QDateTime(QDate(2024, 5, 1), QTime(11, 0)));
    const QString segundo = arquivoDe({});
    relogio.ajusta(QDateTime(QDate(2024, 5, 1), QTime(12, 0)));
    arquivoDe({});
    auto f = tela();
    ASSERT_EQ(f->lboxArquivos->count(), 3);
    marca(*f, 0);
    marca(*f, 2);
    t.dialogos.esperaMensagem(QString::fromUtf8("Confirma a exclusão dos arquivos selecionados?"), Botao::Nao);
    Clica(f->btnApagaArquivos);
    EXPECT_EQ(QDir(b->pastaPadrao()).entryList(QDir::Files).size(), 3);
    t.dialogos.esperaMensagem(QString::fromUtf8("Confirma a exclusão dos arquivos selecionados?"), Botao::Sim);
    Clica(f->btnApagaArquivos);
    EXPECT_EQ(QDir(b->pastaPadrao()).entryList(QDir::Files), QStringList{QFileInfo(segundo).fileName()});
    ASSERT_EQ(f->lboxArquivos->count(), 1);
    EXPECT_EQ(f->lboxArquivos->item(0)->text(), QFileInfo(segundo).fileName());
    EXPECT_FALSE(f->btnApagaArquivos->isEnabled());
}

TEST_F(TelasBackup, ApagaPastaSoComoEhSeguro)
{
    const QString vazia = QDir(pasta).filePath("vazia") + "/";
    const QString comOutros = QDir(pasta).filePath("outros") + "/";
    QDir().mkpath(vazia + "sub");
    QDir().mkpath(comOutros);
    QFile outro(comOutros + "nota.txt");
    ASSERT_TRUE(outro.open(QIODevice::WriteOnly));
    outro.close();
    b->pastas = {vazia, comOutros, b->pastaPadrao()};
    auto f = tela();
    EXPECT_EQ(f->editPasta->currentText(), vazia);
    EXPECT_TRUE(f->btnApagaPasta->isEnabled());
    t.dialogos.esperaMensagem(QString::fromUtf8("Confirma a retirada da pasta '%1' da lista de pastas de backup?").arg(vazia),
                              Botao::Sim)
        .esperaMensagem(QString::fromUtf8("A pasta '%1' é uma pasta existente.\n\nDeseja também excluí-la fisicamente, "
                                          "juntamente com suas subpastas?")
                            .arg(vazia),
                        Botao::Sim)
        .esperaMensagem(QString::fromUtf8("Pasta excluída com sucesso!"));
    Clica(f->btnApagaPasta);
    EXPECT_FALSE(QFileInfo::exists(vazia));
    EXPECT_EQ(b->pastas, QStringList({comOutros, b->pastaPadrao()}));
    EXPECT_EQ(f->editPasta->currentText(), comOutros);

    // A folder holding other files: only taken off the list, with the reason.
    t.dialogos.esperaMensagem(QString(), Botao::Sim).esperaMensagem(QString(), Botao::Sim).esperaMensagem(QString());
    Clica(f->btnApagaPasta);
    EXPECT_TRUE(t.dialogos.registros().last().texto.contains("nota.txt"));
    EXPECT_TRUE(QFile::exists(comOutros + "nota.txt"));
    EXPECT_EQ(b->pastas, QStringList{b->pastaPadrao()});
    EXPECT_FALSE(f->btnApagaPasta->isEnabled());
}

TEST_F(TelasBackup, ConfiguracaoConfirmaOuCancela)
{
    b->ultimoArquivo = "/b/BackupZel 2024-05-01 10h05min33s (manual).zip";
    b->intervalo = 9;
    {
        TFormConfigBackup c(*b);
        Ativa(&c);
        EXPECT_EQ(c.editUltimoArquivo->text(), b->ultimoArquivo);
        EXPECT_TRUE(c.editUltimoArquivo->isReadOnly());
        EXPECT_EQ(c.editIntervalo->value(), 9);
        EXPECT_EQ(c.editIntervalo->minimum(), 1);
        EXPECT_EQ(c.editIntervalo->maximum(), 15);
        Clica(c.ckboxSempre);
        EXPECT_FALSE(c.editIntervalo->isEnabled());
        EXPECT_FALSE(c.ckboxPerguntar->isEnabled());
        Clica(c.btnCancela);
        EXPECT_FALSE(b->sempre) << "Cancela copies nothing";
        EXPECT_TRUE(b->configurado);
    }
    b->configurado = false;
    TFormConfigBackup c(*b);
    Ativa(&c);
    c.editIntervalo->setValue(3);
    Clica(c.ckboxPerguntar);
    Clica(c.btnConfirma);
    EXPECT_EQ(b->intervalo, 3);
    EXPECT_TRUE(b->perguntar);
    EXPECT_FALSE(b->sempre);
    EXPECT_TRUE(b->configurado);
    // Written at once: a new manager reads the same.
    TBackup outro(pasta, QDir(pasta).filePath("zel.ini"), relogio);
    EXPECT_EQ(outro.intervalo, 3);
    EXPECT_TRUE(outro.perguntar);
    EXPECT_TRUE(outro.configurado);
}

// The configuration walked with real Tab presses round the whole window, with the automatic backup off and on
// (the interval and the question closed), against the order the fields are drawn in.
TEST_F(TelasBackup, TabDaConfiguracaoSegueAOrdemDaTela)
{
    b->ultimoArquivo = "/b/BackupZel 2024-05-01 10h05min33s (manual).zip";
    for (const bool sempre : {false, true}) {
        SCOPED_TRACE(sempre ? "sempre" : "a cada tantos dias");
        b->sempre = sempre;
        TFormConfigBackup c(*b);
        Ativa(&c);
        EXPECT_EQ(c.editIntervalo->isEnabled(), !sempre);
        const int n = int(CamposNaTela(&c).size());
        EXPECT_EQ(n, sempre ? 4 : 6);
        EXPECT_EQ(CaminhoDoTab(c.editUltimoArquivo, n), OrdemNaTela(&c, c.editUltimoArquivo, n));
    }
}

TEST_F(TelasBackup, TabDoGerenciamentoSegueAOrdemDaTela)
{
    // The list and the commands on archives join the walk as archives are listed and marked.
    const struct {
        const char* modo;
        int copias;
        bool marcada;
        qsizetype campos;
    } casos[] = {
        {"pasta sem cópias", 0, false, 4},
        {"com cópias listadas", 2, false, 5},
        {"com uma cópia marcada", 0, true, 7},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        auto f = tela();
        for (int i = 0; i < c.copias; ++i) {
            relogio.ajusta(QDateTime(QDate(2024, 5, 1), QTime(10, 6 + i)));
            t.dialogos.esperaMensagem(QString::fromUtf8("Cópia de segurança realizada com sucesso."));
            Clica(f->btnRealiza);
        }
        if (c.marcada)
            marca(*f, 0);
        const auto volta = VoltaDoTab(f.get());
        EXPECT_EQ(volta.esperado.size(), c.campos + 1) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        t.dialogos.verificaConsumo();
    }
}

// ----- the main window's end of program

namespace {

struct FimDoPrograma : TelasBackup {
    TContexto ctx;
    TProgressoGravado progresso;
    std::unique_ptr<TfrmMain> janela;

    void SetUp() override
    {
        TelasBackup::SetUp();
        t.preencheContexto(ctx, &relogio);
        ctx.progresso = &progresso;
        janela = std::make_unique<TfrmMain>(ctx, progresso);
        RegistraBackup(*janela, ctx, *b);
    }
    void TearDown() override
    {
        janela.reset();
        TelasBackup::TearDown();
    }
    QStringList arquivos() const { return QDir(b->pastaPadrao()).entryList(QDir::Files); }
};

} // namespace

TEST_F(FimDoPrograma, PerguntaSemBackupEAbreOGerenciamentoNoSim)
{
    b->perguntar = true;
    janela->show();
    t.dialogos.esperaMensagem(QString::fromUtf8("O sistema ainda não possui nenhuma cópia de segurança!\n"
                                                "Deseja realizar cópia de segurança agora?"),
                              Botao::Sim)
        .esperaTela("TFormBackup", [](QObject*) { return 0; });
    janela->close();
    EXPECT_TRUE(arquivos().isEmpty());
}

TEST_F(FimDoPrograma, AutomaticoQuandoVencidoENuncaNumaBaseDanificada)
{
    b->ultimoArquivo = b->pastaPadrao() + "BackupZel 2024-05-01 10h05min33s (manual).zip";
    relogio.ajusta(QDateTime(QDate(2024, 5, 9), QTime(17, 30)));
    janela->show();
    janela->close();
    EXPECT_EQ(arquivos(), QStringList{QString::fromUtf8("BackupZel 2024-05-09 17h30min00s (automático).zip")});
    EXPECT_EQ(progresso.inicios, progresso.terminos);

    // A start on a damaged file: the automatic backup is skipped, and the user is told why.
    b->sempre = true;
    b->impedimento = QString::fromUtf8("a Base de Dados está danificada.");
    janela = std::make_unique<TfrmMain>(ctx, progresso);
    RegistraBackup(*janela, ctx, *b);
    janela->AposVerificar = nullptr;   // the damage is given here, not found by the start
    t.dialogos.esperaMensagem(QString::fromUtf8("O backup automático não foi feito: a Base de Dados está danificada."));
    janela->close();
    EXPECT_EQ(arquivos().size(), 1);
}

TEST_F(FimDoPrograma, GerenciaBackupComContribuinteAbertoFechaODepoisDeRecuperar)
{
    const QString arquivo = arquivoDe({});
    janela->show();
    ctx.IdAtivo = 1;
    janela->AbrirSessao();
    ASSERT_TRUE(janela->estado().habilitado(Comando::Fechar));
    t.dialogos.esperaTela("TFormBackup", [](QObject* o) {
        auto* f = qobject_cast<TFormBackup*>(o);
        EXPECT_TRUE(f);
        return 0;   // closed without a restore
    });
    janela->findChild<QAction*>("ActionBackup")->trigger();
    EXPECT_TRUE(janela->estado().habilitado(Comando::Fechar)) << "no restore: the taxpayer stays open";
    t.dialogos.esperaTela("TFormBackup", [this, arquivo](QObject*) {
        QString erro;
        EXPECT_TRUE(b->Recupera(arquivo, [] { return false; }, &erro)) << erro.toStdString();
        return 0;
    });
    t.dialogos.esperaMensagem(QString::fromUtf8("O contribuinte  . ANTES foi fechado: os dados do sistema foram "
                                                "substituídos pelos da cópia de segurança recuperada.\nAbra o "
                                                "contribuinte novamente para continuar."));
    janela->findChild<QAction*>("ActionBackup")->trigger();
    EXPECT_FALSE(janela->estado().habilitado(Comando::Fechar)) << "the restored data may not hold that taxpayer";
    EXPECT_TRUE(t.con->conectado()) << "the start-up checks opened the restored file";
}

TEST_F(FimDoPrograma, RecuperacaoPelaTelaDizQueFechouOContribuinteEOsMenusSeguem)
{
    const QString arquivo = arquivoDe({});
    janela->show();
    TBancoTeste::executaDireto(t.con->db(), "UPDATE Contribuinte SET Ccicms = '073456789' WHERE IdContribuinte = 1");
    ctx.IdAtivo = 1;
    janela->AbrirSessao();
    auto habilitado = [this](const char* nome) {
        if (auto* a = janela->findChild<QAction*>(QString::fromLatin1(nome)))
            return a->isEnabled();
        auto* m = janela->findChild<QMenu*>(QString::fromLatin1(nome));
        EXPECT_TRUE(m) << nome;
        return m && m->menuAction()->isEnabled();
    };
    // The commands that need a taxpayer, and those that need none open.
    const char* const doContribuinte[] = {"btnFechar", "btnFornecedor", "btnApuraImposto", "btnDadosAnuais",
                                          "btnSimplesNacional", "mnuLancamentos", "ActionNFiscal", "ActionNTransp",
                                          "ActionCupom", "ActionTalao", "ActionZEL", "ActionSN"};
    const char* const semContribuinte[] = {"btnAbrir", "ActionSelecionar", "btnRestBakcup"};
    for (const char* n : doContribuinte)
        ASSERT_TRUE(habilitado(n)) << n;
    const QString nome = QFileInfo(arquivo).fileName();
    t.dialogos
        .esperaTela("TFormBackup",
                    [nome](QObject* o) {
                        auto* f = qobject_cast<TFormBackup*>(o);
                        EXPECT_TRUE(f);
                        if (!f)
                            return 0;
                        const auto achados = f->lboxArquivos->findItems(nome, Qt::MatchExactly);
                        EXPECT_EQ(achados.size(), 1);
                        if (achados.size() != 1)
                            return 0;
                        achados[0]->setCheckState(Qt::Checked);
                        Clica(f->btnRecupera);
                        Clica(f->btnFechar);
                        return 0;
                    })
        .esperaMensagem(QString::fromUtf8("Ao realizar uma Recuperação de Backup, os dados presentes no sistema "
                                          "serão substituídos pelos dados existentes no arquivo de backup a ser "
                                          "recuperado.\n\nPor medida de segurança, antes de realizar a recuperação "
                                          "do backup, o sistema criará automaticamente uma cópia dos dados atuais, "
                                          "possibilitando, caso necessário, a recuperação dos mesmos.\n\nConfirma "
                                          "recuperação dos dados do sistema, a partir do arquivo de backup '%1'?\n")
                            .arg(QDir(b->pastaPadrao()).filePath(nome)),
                        Botao::Sim)
        .esperaMensagem(QString::fromUtf8("Cópia de segurança recuperada com sucesso."))
        // After the success message, the one that names the taxpayer closed.
        .esperaMensagem(QString::fromUtf8("O contribuinte 073456789 . ANTES foi fechado: os dados do sistema "
                                          "foram substituídos pelos da cópia de segurança recuperada.\nAbra o "
                                          "contribuinte novamente para continuar."));
    // With a taxpayer open the menu's "&Gerencia Backup" is disabled: the toolbar's button is the way in.
    ASSERT_FALSE(habilitado("btnRestBakcup"));
    janela->findChild<QAction*>("ActionBackup")->trigger();
    t.dialogos.verificaConsumo();
    for (const char* n : doContribuinte)
        EXPECT_FALSE(habilitado(n)) << n << " needs a taxpayer";
    for (const char* n : semContribuinte)
        EXPECT_TRUE(habilitado(n)) << n;
    EXPECT_TRUE(janela->contribuinteAberto().isEmpty());
    EXPECT_EQ(janela->windowTitle(), janela->legendaVersao());
    EXPECT_TRUE(t.con->conectado()) << "the start-up checks opened the restored file";

    // A restore with no taxpayer open has nothing to close and says nothing more.
    t.dialogos.esperaTela("TFormBackup", [this](QObject*) {
        QString erro;
        EXPECT_TRUE(b->Recupera(b->ultimoArquivo, [] { return false; }, &erro)) << erro.toStdString();
        return 0;
    });
    janela->findChild<QAction*>("ActionBackup")->trigger();
    for (const char* n : doContribuinte)
        EXPECT_FALSE(habilitado(n)) << n;
}
