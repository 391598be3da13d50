// The SQLite layer as the statements of the program use it.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <vector>

#include "db/untDataSetModel.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "support/TBancoTeste.h"

namespace {
struct Sqlite : ::testing::Test {
    TBancoTeste t;
    void SetUp() override { ASSERT_EQ(t.con->Conectar(), "JET"); }
    QVariant valor(const QString& sql)
    {
        TDataSet ds(*t.con);
        ds.setCommandText(sql);
        ds.open();
        return ds.value(0, 0);
    }
};
} // namespace

TEST_F(Sqlite, FuncoesDoJet)
{
    EXPECT_EQ(valor("SELECT MONTH('2024-05-17')").toInt(), 5);
    EXPECT_EQ(valor("SELECT YEAR('2024-05-17T10:20:30')").toInt(), 2024);
    EXPECT_EQ(valor("SELECT DAY('2024-05-07')").toInt(), 7);
    EXPECT_TRUE(valor("SELECT MONTH(NULL)").isNull());
    EXPECT_TRUE(valor("SELECT YEAR('lixo')").isNull());
    EXPECT_EQ(valor("SELECT LEFT('5102', 1)").toString(), "5");
    EXPECT_EQ(valor("SELECT RIGHT('5102', 3)").toString(), "102");
    EXPECT_EQ(valor("SELECT LEFT('Ação', 2)").toString(), QString::fromUtf8("Aç"));
    EXPECT_EQ(valor("SELECT RIGHT('ab', 5)").toString(), "ab");
    EXPECT_TRUE(valor("SELECT LEFT(NULL, 2)").isNull());
}

TEST_F(Sqlite, DataDoJetViraTextoGuardadoForaDasAspas)
{
    EXPECT_EQ(Sql::traduzJet("WHERE DtEmissao >= #12/01/2025# AND Obs = '#12/01/2025#'"),
              "WHERE DtEmissao >= '2025-12-01' AND Obs = '#12/01/2025#'");
    EXPECT_EQ(Sql::traduzJet("SELECT #13/45/2025#"), "SELECT #13/45/2025#");
    EXPECT_EQ(valor("SELECT #2/29/2024# < '2024-03-01'").toInt(), 1);
}

TEST_F(Sqlite, ParametrosPorNomeSemDiferencaDeCaixa)
{
    TComando& cmd = t.dtm->ADOCommand;
    cmd.setCommandText("INSERT INTO Contribuinte (RazaoSocial, IdContador, Tipo) VALUES (:Razao, :IdContador, :tipo)");
    cmd.setParam(":RAZAO", QString::fromUtf8("D'ÁGUA LTDA"));
    cmd.setParam("idcontador", 7);
    cmd.setParam("Tipo", "C");
    EXPECT_EQ(cmd.execute(), 1);
    const qint64 id = cmd.ultimoIdInserido();

    t.dtm->LerContribuinteAtivo(int(id));
    TDataSet& ds = t.dtm->ADODataSetAtivo;
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.asString("razaosocial"), QString::fromUtf8("D'ÁGUA LTDA"));
    EXPECT_EQ(ds.asInteger("IDCONTADOR"), 7);
    EXPECT_THROW(ds.fieldByName("RazaoSocal"), EBancoDados) << "a misspelt field is an error, not a null";

    // A parameter left without a value refuses the statement instead of storing null.
    cmd.setCommandText("UPDATE Contribuinte SET Fone = :Fone WHERE IdContribuinte = :OLD_IdContribuinte");
    cmd.setParam("OLD_IdContribuinte", id);
    EXPECT_THROW(cmd.execute(), EBancoDados);
}

TEST_F(Sqlite, ValoresGuardadosNasFormasDoPrograma)
{
    TComando& cmd = t.dtm->ADOCommand;
    cmd.setCommandText("INSERT INTO NotaFiscal (IdContribuinte, DtEmissao, DtUltAlteracao, ValorTotalNota) "
                       "VALUES (1, :Dt, :Alt, :Valor)");
    cmd.setParam("Dt", QDate(2024, 2, 29));
    cmd.setParam("Alt", QDateTime(QDate(2024, 3, 1), QTime(8, 5, 9)));
    cmd.setParam("Valor", *Money::parse("1.234,56"));
    cmd.execute();
    cmd.setCommandText("INSERT INTO ZEL (IdContribuinte, Entregue) VALUES (1, :E)");
    cmd.setParam("E", true);
    cmd.execute();
    EXPECT_EQ(valor("SELECT DtEmissao FROM NotaFiscal").toString(), "2024-02-29");
    EXPECT_EQ(valor("SELECT DtUltAlteracao FROM NotaFiscal").toString(), "2024-03-01T08:05:09");
    EXPECT_EQ(valor("SELECT ValorTotalNota FROM NotaFiscal").toLongLong(), 12345600);
    EXPECT_EQ(valor("SELECT typeof(ValorTotalNota) FROM NotaFiscal").toString(), "integer");
    EXPECT_EQ(valor("SELECT Entregue FROM ZEL").toInt(), -1);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM NotaFiscal WHERE MONTH(DtEmissao) = 2 AND YEAR(DtEmissao) = 2024").toInt(), 1);
}

TEST_F(Sqlite, CursorELocate)
{
    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome, CPF) VALUES ('ANA', '1'), ('BIA', '2'), ('CAIO', '3')");
    TDataSet& ds = t.dtm->ADODataSetContador;
    ds.setCommandText("SELECT * FROM Contador ORDER BY Nome");
    ds.open();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_FALSE(ds.eof());
    int vistos = 0;
    for (ds.first(); !ds.eof(); ds.next())
        ++vistos;
    EXPECT_EQ(vistos, 3);
    EXPECT_TRUE(ds.locate("nome", "bia"));
    EXPECT_EQ(ds.asString("CPF"), "2");
    EXPECT_FALSE(ds.locate("Nome", "ZECA"));
    EXPECT_EQ(ds.asString("CPF"), "2") << "a failed locate keeps the cursor";

    ds.setCommandText("SELECT * FROM Contador WHERE Nome = :n");
    ds.setParam("n", "NINGUEM");
    ds.open();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.eof());
    EXPECT_GE(ds.fieldIndex("EMail"), 0) << "an empty result still knows its fields";
    EXPECT_TRUE(ds.fieldByName("Nome").isNull());
}

TEST_F(Sqlite, TransacaoDesfazSemCommitEAninha)
{
    auto conta = [&] { return valor("SELECT COUNT(*) FROM Contador").toInt(); };
    {
        TTransacao tr(*t.con);
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('A')");
        {
            TTransacao interna(*t.con);
            TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('B')");
        } // the inner one is undone alone
        EXPECT_EQ(conta(), 1);
        tr.commit();
    }
    EXPECT_EQ(conta(), 1);
    {
        TTransacao tr(*t.con);
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('C')");
    }
    EXPECT_EQ(conta(), 1);
}

TEST_F(Sqlite, ModeloDeGradeFormataDinheiroEDatas)
{
    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO NotaFiscal (IdContribuinte, DtEmissao, NumeroNF, ValorTotalNota) "
                                            "VALUES (1, '2024-05-17', '000010', 12345600), (1, '2024-05-18', '000011', -5000)");
    TDataSet ds(*t.con);
    ds.setCommandText("SELECT NumeroNF, DtEmissao, ValorTotalNota FROM NotaFiscal ORDER BY NumeroNF");
    TDataSetModel modelo(ds, {{"dtemissao", "Emissão"}, {"ValorTotalNota", "Valor"}, {"NaoExiste", "?"}});
    modelo.recarrega();
    ASSERT_EQ(modelo.rowCount(), 2);
    ASSERT_EQ(modelo.columnCount(), 3);
    EXPECT_EQ(modelo.headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Emissão"));
    EXPECT_EQ(modelo.data(modelo.index(0, 0)).toString(), "17/05/2024");
    EXPECT_EQ(modelo.data(modelo.index(0, 1)).toString(), "1.234,56");
    EXPECT_EQ(modelo.data(modelo.index(1, 1)).toString(), "-0,50");
    EXPECT_EQ(modelo.data(modelo.index(0, 1), Qt::EditRole).toLongLong(), 12345600);
    EXPECT_FALSE(modelo.data(modelo.index(0, 2)).isValid()) << "a column the query lacks shows nothing";
    modelo.moveCursor(1);
    EXPECT_EQ(ds.asString("NumeroNF"), "000011");
    EXPECT_EQ(modelo.linhaDoCursor(), 1);
}

TEST(Edicao, CommitRecusadoDesfazOSalvarEContinuaEditando)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    TEdicao edicao(*t.con, t.dialogos);
    ASSERT_TRUE(edicao.inicia());
    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('PRIMEIRO')");
    sqlite3* leitor = TBancoTeste::abreDireto(t.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM Contador");
    sqlite3_busy_timeout(t.con->db(), 20);
    t.dialogos.esperaSimples(QString());
    EXPECT_FALSE(edicao.confirma());
    EXPECT_TRUE(edicao.ativa()) << "a fresh transaction keeps the edit going";
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM Contador").toInt(), 0)
        << "what the refused save wrote is given back";
    TBancoTeste::executaDireto(leitor, "COMMIT");
    sqlite3_close(leitor);

    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('SEGUNDO')");
    EXPECT_TRUE(edicao.confirma());
    EXPECT_FALSE(edicao.ativa());
    EXPECT_EQ(sqlite3_get_autocommit(t.con->db()), 1) << "really committed, not released inside a leftover transaction";
    sqlite3* outro = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(TBancoTeste::listaDireta(outro, "SELECT Nome FROM Contador"), QStringList{"SEGUNDO"});
    sqlite3_close(outro);
    ASSERT_TRUE(edicao.inicia());
    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contador (Nome) VALUES ('DESFEITO')");
    edicao.desfaz();
    EXPECT_EQ(TBancoTeste::listaDireta(t.con->db(), "SELECT Nome FROM Contador"), QStringList{"SEGUNDO"});
    EXPECT_EQ(sqlite3_get_autocommit(t.con->db()), 1);
}

// Statements are kept prepared per connection: the same text runs again without being prepared again, with
// the values of each run, whatever went wrong in an earlier run.
TEST_F(Sqlite, ComandosGuardadosValemAsMesmasRespostas)
{
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "INSERT INTO Contador (Nome, CPF) VALUES ('ANA', '1'), ('BIA', '2')");
    const QString busca = "SELECT CPF FROM Contador WHERE Nome = :Nome";
    auto cpf = [&](const QString& nome) {
        TDataSet ds(*t.con);
        ds.setCommandText(busca);
        ds.setParam("Nome", nome);
        ds.open();
        return ds.isEmpty() ? QString("-") : ds.asString("CPF");
    };
    EXPECT_EQ(cpf("ANA"), "1");
    const int guardados = Sql::comandosGuardados(db);
    EXPECT_EQ(cpf("BIA"), "2");
    EXPECT_EQ(cpf("NINGUEM"), "-");
    EXPECT_EQ(Sql::comandosGuardados(db), guardados) << "the same text is kept once";

    // A run without a value for its parameter is refused; the value of the previous run is not reused.
    TDataSet semValor(*t.con);
    semValor.setCommandText(busca);
    EXPECT_THROW(semValor.open(), EBancoDados);
    EXPECT_EQ(cpf("BIA"), "2");

    // A refused change (the key exists) leaves the next run of the same text sound.
    TComando& cmd = t.dtm->ADOCommand;
    const QString inclui = "INSERT INTO Contador (IdContador, Nome) VALUES (:Id, :Nome)";
    for (const auto& [id, esperaFalha] : std::vector<std::pair<int, bool>>{{900, false}, {900, true}, {901, false}}) {
        cmd.setCommandText(inclui);
        cmd.setParam("Id", id);
        cmd.setParam("Nome", "X");
        if (esperaFalha)
            EXPECT_THROW(cmd.execute(), EBancoDados);
        else
            EXPECT_EQ(cmd.execute(), 1);
    }
    EXPECT_EQ(valor("SELECT COUNT(*) FROM Contador WHERE Nome = 'X'").toInt(), 2);

    // The same text run again from inside its own rows gets a statement of its own.
    QStringList pares;
    TParametros todos;
    const QString lista = "SELECT Nome FROM Contador WHERE Nome IN ('ANA', 'BIA') ORDER BY Nome";
    Sql::executa(db, lista, todos, nullptr, [&](sqlite3_stmt* st) {
        const QString fora = Sql::valorColuna(st, 0).toString();
        Sql::executa(db, lista, todos, nullptr,
                     [&](sqlite3_stmt* dentro) { pares << fora + Sql::valorColuna(dentro, 0).toString(); });
    });
    EXPECT_EQ(pares, QStringList({"ANAANA", "ANABIA", "BIAANA", "BIABIA"}));

    // A kept read is reset after its run: it holds no snapshot that would stop another program writing.
    sqlite3* outro = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(sqlite3_exec(outro, "BEGIN EXCLUSIVE; INSERT INTO Contador (Nome) VALUES ('OUTRO'); COMMIT", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(outro);
    EXPECT_EQ(cpf("OUTRO"), "");
}

TEST_F(Sqlite, ComandosGuardadosSeguemOEsquemaESaemComAConexao)
{
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "INSERT INTO Contador (Nome) VALUES ('ANA')");
    TDataSet ds(*t.con);
    ds.setCommandText("SELECT * FROM Contador");
    ds.open();
    EXPECT_LT(ds.fieldIndex("Apelido"), 0);
    // A column added (and a Jet type change, which rebuilds the table) is seen by the same text run again.
    TComando& cmd = t.dtm->ADOCommand;
    cmd.setCommandText("ALTER TABLE Contador ADD COLUMN Apelido Text(10)");
    cmd.execute();
    EXPECT_EQ(Sql::comandosGuardados(db), 0) << "a schema change lets the kept statements go";
    ds.open();
    EXPECT_GE(ds.fieldIndex("Apelido"), 0);
    cmd.setCommandText("Alter Table Contador ALTER COLUMN Apelido Text(40)");
    cmd.execute();
    ds.open();
    EXPECT_EQ(ds.asString("Nome"), "ANA");
    EXPECT_EQ(Sql::larguraTexto(db, "Contador", "Apelido"), 40);

    // Whoever closes a connection, its kept statements are finalized with it: the engine's plain close,
    // which refuses a connection with statements still open, succeeds.
    sqlite3* direto = TBancoTeste::abreDireto(t.caminho());
    TParametros p;
    p.set("n", "ANA");
    int achados = 0;
    Sql::executa(direto, "SELECT 1 FROM Contador WHERE Nome = :n", p, nullptr, [&](sqlite3_stmt*) { ++achados; });
    EXPECT_EQ(achados, 1);
    EXPECT_EQ(Sql::comandosGuardados(direto), 1);
    EXPECT_EQ(sqlite3_close(direto), SQLITE_OK);
    EXPECT_EQ(Sql::comandosGuardados(direto), 0);

    t.con->Fechar();
    EXPECT_EQ(Sql::comandosGuardados(db), 0);
    t.con->Reabrir();
    ds.open();
    EXPECT_EQ(ds.asString("Nome"), "ANA");
}
