// Opening the database file in its three ways, and compaction that never costs the file.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include "db/untInicio.h"
#include "db/untSqlite.h"
#include "support/TBancoTeste.h"

namespace {

const QString kMensagemErr = QString::fromUtf8(
    "Não foi possível realizar a \nconexão com a Base de Dados.\nProvavelmente a Base de Dados está danificada.\n"
    "Recupere o Backup da Base de Dados.");

void gravaArquivo(const QString& caminho, const QByteArray& bytes)
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A database with enough rows that a truncated copy or a size limit bites.
void criaBancoComNotas(TBancoTeste& t, int notas)
{
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "BEGIN");
    for (int i = 0; i < notas; ++i)
        TBancoTeste::executaDireto(db, QStringLiteral("INSERT INTO NotaFiscal (IdContribuinte, DtEmissao, NumeroNF, Obs) "
                                                      "VALUES (1, '2024-05-%1', '%2', 'observacao de teste %2')")
                                           .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                           .arg(i, 6, 10, QLatin1Char('0')));
    TBancoTeste::executaDireto(db, "COMMIT");
    t.con->Fechar();
}

} // namespace

TEST(Conectar, ArquivoAusenteViraBancoEntregueSemMensagem)
{
    TBancoTeste t;
    ASSERT_FALSE(QFileInfo::exists(t.caminho()));
    EXPECT_EQ(t.con->Conectar(), "JET");
    EXPECT_TRUE(t.con->conectado());
    // No stray file of the building stays beside it.
    EXPECT_EQ(QDir(t.pasta.path()).entryList(QDir::Files), QStringList{"bcoZel.mdb"});
    EXPECT_TRUE(t.dialogos.registros().isEmpty());
}

TEST(Conectar, ArquivoVazioViraBancoEntregue)
{
    TBancoTeste t;
    gravaArquivo(t.caminho(), {});
    EXPECT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM CFOP").toInt(), 619);
}

TEST(Conectar, ArquivoQueNaoEhBancoDaErrEFicaIntacto)
{
    TBancoTeste t;
    QByteArray lixo;
    for (int i = 0; i < 5000; ++i)
        lixo.append(char(i * 7 + 3));
    gravaArquivo(t.caminho(), lixo);
    t.dialogos.esperaMensagem(kMensagemErr);
    EXPECT_EQ(t.con->Conectar(), "ERR");
    EXPECT_FALSE(t.con->conectado());
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), lixo);
    ASSERT_EQ(t.dialogos.registros().size(), 1);
    EXPECT_EQ(t.dialogos.registros()[0].titulo, "Erro");
    EXPECT_EQ(t.dialogos.registros()[0].pedido.botoes, QList<Botao>{Botao::Ok});
}

TEST(Conectar, BancoDeOutroProgramaDaErr)
{
    TBancoTeste t;
    sqlite3* db = TBancoTeste::abreDireto(t.caminho());
    TBancoTeste::executaDireto(db, "CREATE TABLE Clientes (Id INTEGER, Nome TEXT); INSERT INTO Clientes VALUES (1, 'x')");
    sqlite3_close(db);
    const QByteArray antes = TBancoTeste::conteudo(t.caminho());
    t.dialogos.esperaMensagem(kMensagemErr);
    EXPECT_EQ(t.con->Conectar(), "ERR");
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), antes);
}

TEST(Conectar, ArquivoTruncadoNuncaQuebraENaoEhAlterado)
{
    TBancoTeste t;
    criaBancoComNotas(t, 3000);
    QByteArray bytes = TBancoTeste::conteudo(t.caminho());
    bytes.truncate(bytes.size() / 3);
    gravaArquivo(t.caminho(), bytes);
    t.reinicia();
    t.dialogos.esperaMensagem(QString()); // either the damaged way or the refusal, never silence about ERR
    const QString r = t.con->Conectar();
    if (r != "ERR") {
        EXPECT_EQ(r, "MSD"); // schema readable, damage reported by the check: used without compaction
        t.dialogos.verificaConsumo();
    }
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), bytes);
}

TEST(Conectar, DanoNasPaginasDaMsdSemCompactar)
{
    TBancoTeste t;
    criaBancoComNotas(t, 3000);
    {
        // Indexes and guards of the after-connect step must not come back into a damaged file.
        sqlite3* db = TBancoTeste::abreDireto(t.caminho());
        TBancoTeste::executaDireto(db, "DROP INDEX IF EXISTS ixNotaFiscalEmtDest");
        sqlite3_close(db);
    }
    QByteArray bytes = TBancoTeste::conteudo(t.caminho());
    // Spoil the middle of the file (table pages), leaving the schema page alone.
    for (int i = bytes.size() / 2; i < bytes.size() / 2 + 3000; ++i)
        bytes[i] = char(0xA5);
    gravaArquivo(t.caminho(), bytes);
    t.reinicia();
    TProgressoGravado progresso;
    t.dialogos.esperaMensagem(TDTMCON::mensagemDanificado());
    EXPECT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "MSD");
    EXPECT_EQ(progresso.inicios, 0) << "a damaged file is never compacted";
    EXPECT_TRUE(t.con->danificado()) << "the backup manager reads this state";
    EXPECT_EQ(t.dialogos.registros().value(0).titulo, "Aviso");
    t.con->Fechar();
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), bytes) << "nothing is written into a damaged file unasked";
}

TEST(Conectar, ArquivoSomenteLeituraAbreComoMadSemCompactar)
{
    TBancoTeste t;
    criaBancoComNotas(t, 10);
    QFile::setPermissions(t.caminho(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray antes = TBancoTeste::conteudo(t.caminho());
    t.reinicia();
    TProgressoGravado progresso;
    EXPECT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "MAD");
    EXPECT_EQ(progresso.inicios, 0);
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM NotaFiscal").toInt(), 10);
    t.con->Fechar();
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), antes);
    QFile::setPermissions(t.caminho(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST(Conectar, FecharDuasVezesNaoFazNadaEReabreComOMesmoModo)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    t.con->Fechar();
    t.con->Fechar();
    EXPECT_FALSE(t.con->conectado());
    // A dataset opened with the connection closed reopens it.
    t.dtm->ADODataSetVariavel.setCommandText("SELECT * FROM Contribuinte");
    t.dtm->ADODataSetVariavel.open();
    EXPECT_TRUE(t.con->conectado());
    EXPECT_EQ(t.con->modo(), "JET");
}

TEST(Compactar, RemoveTempAntigoEMantemOsDados)
{
    TBancoTeste t;
    criaBancoComNotas(t, 2000);
    {
        sqlite3* db = TBancoTeste::abreDireto(t.caminho());
        TBancoTeste::executaDireto(db, "DELETE FROM NotaFiscal WHERE IdNotaFiscal > 100");
        sqlite3_close(db);
    }
    const QString temp = QDir(t.pasta.path()).filePath("TEMPbcoZel.mdb");
    gravaArquivo(temp, "sobra de uma compactacao anterior");
    const qint64 antes = QFileInfo(t.caminho()).size();
    TProgressoGravado progresso;
    EXPECT_TRUE(t.con->CompactarBanco("bcoZel.mdb", progresso));
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_LT(QFileInfo(t.caminho()).size(), antes);
    ASSERT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM NotaFiscal").toInt(), 100);
    // 10, 25, 40, then one step per position up to 100, each with its pause.
    ASSERT_EQ(progresso.posicoes.size(), 3 + 60);
    EXPECT_EQ(progresso.posicoes.mid(0, 4), (QList<int>{10, 25, 40, 41}));
    EXPECT_EQ(progresso.posicoes.last(), 100);
    EXPECT_EQ(progresso.pausas, 60);
    EXPECT_EQ(progresso.terminos, 1);
}

TEST(Compactar, DiscoCheioDeixaOBancoIntactoESemTemp)
{
    TBancoTeste t;
    criaBancoComNotas(t, 4000);
    const QByteArray antes = TBancoTeste::conteudo(t.caminho());
    ASSERT_GT(antes.size(), 128 * 1024);
    const QString temp = QDir(t.pasta.path()).filePath("TEMPbcoZel.mdb");

    // A file-size limit makes every write past 64 KiB fail, as a full disk does.
    struct rlimit anterior;
    getrlimit(RLIMIT_FSIZE, &anterior);
    auto sinalAnterior = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limite = anterior;
    limite.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &limite);
    t.dialogos.esperaSimples(QString());
    TProgressoGravado progresso;
    const bool ok = t.con->CompactarBanco("bcoZel.mdb", progresso);
    setrlimit(RLIMIT_FSIZE, &anterior);
    signal(SIGXFSZ, sinalAnterior);

    EXPECT_FALSE(ok);
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), antes);
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_EQ(progresso.posicoes.last(), 100) << "the bar runs to the end after a failure too";
    EXPECT_FALSE(progresso.posicoes.contains(40));
    ASSERT_EQ(t.dialogos.registros().size(), 1);
    EXPECT_FALSE(t.dialogos.registros()[0].texto.isEmpty());
}

TEST(Compactar, TrocaRecusadaNaoCustaOBanco)
{
    TBancoTeste t;
    criaBancoComNotas(t, 200);
    const QByteArray antes = TBancoTeste::conteudo(t.caminho());
    t.con->substituiArquivo = [](const QString&, const QString&, QString* erro) {
        *erro = QStringLiteral("Arquivo em uso");
        return false;
    };
    t.dialogos.esperaSimples(QString());
    TProgressoGravado progresso;
    EXPECT_FALSE(t.con->CompactarBanco("bcoZel.mdb", progresso));
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), antes);
    EXPECT_FALSE(QFileInfo::exists(QDir(t.pasta.path()).filePath("TEMPbcoZel.mdb")));
    EXPECT_TRUE(t.dialogos.registros()[0].texto.contains("Arquivo em uso"));
}

TEST(Compactar, BancoBloqueadoPorOutroProgramaFalhaSemPerdas)
{
    TBancoTeste t;
    criaBancoComNotas(t, 50);
    sqlite3* outro = TBancoTeste::abreDireto(t.caminho());
    TBancoTeste::executaDireto(outro, "BEGIN EXCLUSIVE; INSERT INTO Contador (Nome) VALUES ('X')");
    t.dialogos.esperaSimples(QString());
    TProgressoGravado progresso;
    EXPECT_FALSE(t.con->CompactarBanco("bcoZel.mdb", progresso));
    TBancoTeste::executaDireto(outro, "ROLLBACK");
    sqlite3_close(outro);
    ASSERT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM NotaFiscal").toInt(), 50);
}

TEST(Inicio, PrimeiraESegundaPartidaSemMensagens)
{
    TBancoTeste t;
    TProgressoGravado progresso;
    EXPECT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    EXPECT_EQ(progresso.inicios, 1) << "compaction follows the first way";
    EXPECT_TRUE(t.con->conectado());
    sqlite3* db = t.con->db();
    const QStringList esquema = TBancoTeste::listaDireta(db, "SELECT sql FROM sqlite_master ORDER BY name");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' "
                                           "AND name NOT LIKE 'sqlite_%'").toInt(), 20);
    t.con->Fechar();

    t.reinicia();
    EXPECT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    EXPECT_EQ(TBancoTeste::listaDireta(t.con->db(), "SELECT sql FROM sqlite_master ORDER BY name"), esquema);
    EXPECT_TRUE(t.dialogos.registros().isEmpty());
}

TEST(Inicio, SemConexaoCadaPassoMostraSuaMensagem)
{
    TBancoTeste t;
    // The steps need a connection; without one each step that has a message shows it, in order.
    const QString s = QStringLiteral(" \nConsulte o Suporte.");
    t.dialogos.esperaMensagem("Ocorreu um erro ao criar Tabela EPP" + s)
        .esperaMensagem("Ocorreu um erro ao Alterar Tabela EPP" + s)
        .esperaMensagem("Ocorreu um erro ao criar Tabela ZEL_SN" + s)
        .esperaMensagem("Ocorreu um erro ao Alterar Tabela ZEL_SN" + s)
        .esperaMensagem("Ocorreu um erro ao criar Tabela ZEL_PRGGOV" + s)
        .esperaMensagem("Ocorreu um erro ao criar a tabela municipio e/ou \nalterar a tabela VornQuadroV.");
    ExecutaPassosDeEsquema(*t.dtm, t.dialogos);
    for (const auto& r : t.dialogos.registros())
        EXPECT_EQ(r.titulo, "Erro");
}
