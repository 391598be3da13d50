// The tables of the delivered database and the upgrades that bring an older file up to date.
#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untEsquema.h"
#include "db/untInicio.h"
#include "db/untSqlite.h"
#include "support/TBancoTeste.h"

namespace {

QString tipo(sqlite3* db, const char* tabela, const char* coluna)
{
    return Sql::tipoDeclarado(db, QString::fromLatin1(tabela), QString::fromLatin1(coluna));
}

QStringList colunas(sqlite3* db, const QString& tabela)
{
    return TBancoTeste::listaDireta(db, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(tabela));
}

// A file as the program found it before the later tables and columns: the fifteen first tables, with ZEL
// lacking its four later columns and a narrower NumRecibo, DadosAnuais without the regime.
void criaArquivoAntigo(const QString& caminho, bool comQuadroVAntigo)
{
    sqlite3* db = TBancoTeste::abreDireto(caminho);
    for (QString sql : TEsquema::tabelasEntregues()) {
        if (sql.startsWith("CREATE TABLE ZEL ")) {
            sql.replace("ChqHabitacao money, ChqEducacao money, ", "");
            sql.replace("NumRecibo Text(32), sitCadastroContrib Integer, dataSitCadastro Date", "NumRecibo Text(20)");
        }
        if (sql.startsWith("CREATE TABLE Contribuinte"))
            sql.replace("Email Text(40)", "Email Text(30)");
        if (sql.startsWith("CREATE TABLE DadosAnuais"))
            sql.replace(", TipoRegimeContrib Integer", "");
        TBancoTeste::executaDireto(db, sql);
    }
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, Entregue, NumRecibo) "
                                   "VALUES (1, '200801', 'N', 0, '12345678901234567890')");
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, Entregue) VALUES (1, '200802', 'N', 0)");
    if (comQuadroVAntigo) {
        TBancoTeste::executaDireto(db, "CREATE TABLE VornQuadroV (IdQuadroV INTEGER PRIMARY KEY AUTOINCREMENT, "
                                       "IdContribuinte Integer NOT NULL, PeriodoZel Date, ano Text(4), tipo Text(1), "
                                       "CodMunicipio Text(5), Municipio Text(50), Valor money, DtGeracao Date)");
        TBancoTeste::executaDireto(db, "INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, ano, tipo, CodMunicipio, Valor) "
                                       "VALUES (1, '2008-01-01', '2008', 'N', '00101', 150000)");
    }
    sqlite3_close(db);
}

} // namespace

TEST(Esquema, BancoEntregueTemTodasAsTabelasEListasDeCfop)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    const QStringList tabelas = TBancoTeste::listaDireta(
        db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY lower(name)");
    EXPECT_EQ(tabelas, (QStringList{"CFAliquota", "CFOP", "CFOP3", "Contador", "Contribuinte", "CUPOMFISCAL",
                                    "DadosAnuais", "municipio", "NFCARGA", "NFICMS", "NFIPI", "NFSUBSTRIB",
                                    "NFTRANSPORTE", "NotaFiscal", "NOTATALAO", "VornQuadroV", "ZEL", "ZEL_EPP",
                                    "ZEL_PRGGOV", "ZEL_SN"}));
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM CFOP").toInt(), 619);
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM CFOP3").toInt(), 144);
    EXPECT_TRUE(TBancoTeste::valorDireto(db, "SELECT CF_Descricao FROM CFOP WHERE CF_Codigo = '5102'")
                    .toString()
                    .startsWith(QString::fromUtf8("Venda de mercadoria adquirida ou recebida de terceiros, ou qualquer")));
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT CF_Descricao FROM CFOP3 WHERE CF_Codigo = '111'").toString(),
              QString::fromUtf8("Compra para industrialização"));
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT CF_ST FROM CFOP WHERE CF_Codigo = '5405'").toString(), "S");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM CFOP WHERE CF_ST = 'S'").toInt(), 56);

    // Final forms: the upgraded columns are there from the start, with their types and widths.
    EXPECT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(32)");
    EXPECT_EQ(tipo(db, "ZEL", "Entregue"), "YesNo");
    EXPECT_EQ(tipo(db, "ZEL_SN", "Recibo"), "Text(32)");
    EXPECT_EQ(tipo(db, "ZEL_EPP", "Total_Cred_Outorgado"), "money");
    EXPECT_EQ(tipo(db, "ZEL_EPP", "Perc_Recolh"), "Double");
    EXPECT_EQ(tipo(db, "DadosAnuais", "TipoRegimeContrib").toLower(), "integer");
    EXPECT_EQ(tipo(db, "VornQuadroV", "dtAlteracao"), "Date");
    EXPECT_EQ(Sql::larguraTexto(db, "Contribuinte", "RazaoSocial"), 35);
    EXPECT_EQ(Sql::larguraTexto(db, "CFOP", "CF_Descricao"), 255);
    EXPECT_EQ(colunas(db, "ZEL").size(), 38);
    EXPECT_EQ(colunas(db, "ZEL_EPP").size(), 28);
    EXPECT_EQ(colunas(db, "ZEL_SN").size(), 23);
    EXPECT_EQ(colunas(db, "CUPOMFISCAL").size(), 20);
    EXPECT_FALSE(colunas(db, "VornQuadroV").contains("ano"));

    // Autonumber keys are never given out twice, not even after the last row is deleted.
    TBancoTeste::executaDireto(db, "INSERT INTO Contador (Nome) VALUES ('A'); DELETE FROM Contador;"
                                   "INSERT INTO Contador (Nome) VALUES ('B')");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT IDContador FROM Contador").toInt(), 2);
    // A required owner.
    EXPECT_THROW(Sql::executa(db, "INSERT INTO ZEL_SN (Periodo) VALUES ('201001')", TParametros()), EBancoDados);
}

TEST(Esquema, ArquivoAntigoSemTabelasNovasEhAtualizadoNaPartida)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    TProgressoGravado progresso;
    EXPECT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    EXPECT_TRUE(t.dialogos.registros().isEmpty());
    sqlite3* db = t.con->db();
    for (const char* tabela : {"ZEL_EPP", "ZEL_SN", "ZEL_PRGGOV", "municipio", "VornQuadroV"})
        EXPECT_TRUE(Sql::existeTabela(db, tabela)) << tabela;
    EXPECT_TRUE(colunas(db, "ZEL_EPP").contains("Total_Cred_Outorgado"));
    EXPECT_EQ(tipo(db, "ZEL_SN", "Recibo"), "Text(32)");
    EXPECT_TRUE(colunas(db, "ZEL_SN").contains("dataSitCadastro"));
    EXPECT_EQ(tipo(db, "DadosAnuais", "TipoRegimeContrib").toLower(), "integer");
    EXPECT_TRUE(colunas(db, "VornQuadroV").contains("dtAlteracao"));
    // ZEL waits for its own list to open.
    EXPECT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(20)");
}

TEST(Esquema, AtualizacaoDaZelMarcaEntregueUmaVezSo)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "CREATE INDEX ixZelPeriodo ON ZEL (IdContribuinte, Periodo)");

    EXPECT_TRUE(t.dtm->AtualizarZel());
    EXPECT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(32)");
    for (const char* c : {"sitCadastroContrib", "dataSitCadastro", "ChqHabitacao", "ChqEducacao"})
        EXPECT_TRUE(Sql::existeColuna(db, "ZEL", c)) << c;
    EXPECT_EQ(TBancoTeste::listaDireta(db, "SELECT Entregue FROM ZEL ORDER BY Periodo"), (QStringList{"-1", "-1"}));
    // The rebuilt table keeps its rows, its stored values and its index.
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT NumRecibo FROM ZEL WHERE Periodo = '200801'").toString(),
              "12345678901234567890");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'ixZelPeriodo'").toInt(), 1);

    // A declaration stored afterwards as not delivered stays so: the data fix does not run twice.
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, Entregue) VALUES (1, '200803', 'N', 0)");
    EXPECT_TRUE(t.dtm->AtualizarZel());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT Entregue FROM ZEL WHERE Periodo = '200803'").toInt(), 0);
    EXPECT_EQ(colunas(db, "ZEL").size(), 38);
}

TEST(Esquema, QuadroVAntigoPerdeAnoETipoEGanhaDtAlteracao)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), true);
    TProgressoGravado progresso;
    ASSERT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    sqlite3* db = t.con->db();
    const QStringList c = colunas(db, "VornQuadroV");
    EXPECT_FALSE(c.contains("ano"));
    EXPECT_FALSE(c.contains("tipo"));
    EXPECT_TRUE(c.contains("dtAlteracao"));
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT Valor FROM VornQuadroV").toInt(), 150000);
    // The next start finds nothing to do.
    t.con->Fechar();
    t.reinicia();
    ASSERT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    EXPECT_EQ(colunas(t.con->db(), "VornQuadroV"), c);
}

TEST(Esquema, MudancaDeTipoRepetidaNaoReconstroiNada)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    const QString antes = TBancoTeste::valorDireto(db, "SELECT sql FROM sqlite_master WHERE name = 'ZEL_SN'").toString();
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL_SN (IdContribuinte, Recibo) VALUES (1, '77')");
    EXPECT_TRUE(t.dtm->AtualizarZelSN());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT sql FROM sqlite_master WHERE name = 'ZEL_SN'").toString(), antes);
    // An unknown column or table is a refusal, as the other trapped statements.
    t.dtm->ADOCommand.setCommandText("Alter Table ZEL_SN ALTER COLUMN NaoExiste Text(3)");
    EXPECT_FALSE(t.dtm->ADOCommand.tentaExecutar());
    t.dtm->ADOCommand.setCommandText("Alter Table NaoExiste ALTER COLUMN Recibo Text(3)");
    EXPECT_FALSE(t.dtm->ADOCommand.tentaExecutar());
}

TEST(Esquema, ContribuinteCitadoPorDocumentoNaoPodeSerExcluido)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "INSERT INTO Contribuinte (IdContribuinte, Tipo) VALUES (1, 'C'), (2, 'F'), (3, 'F'), (4, 'F')");
    TBancoTeste::executaDireto(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao) VALUES (1, 2, '2024-01-05')");
    TBancoTeste::executaDireto(db, "INSERT INTO NFCARGA (IDContribuinte, IDTomador, IDDestino) VALUES (1, 1, 3)");

    auto exclui = [&](int id) {
        t.dtm->ADOCommand.setCommandText("DELETE FROM Contribuinte WHERE IdContribuinte = :OLD_IdContribuinte");
        t.dtm->ADOCommand.setParam("OLD_IdContribuinte", id);
        return t.dtm->ADOCommand.tentaExecutar();
    };
    EXPECT_FALSE(exclui(1)) << "owner of an invoice";
    EXPECT_FALSE(exclui(2)) << "counterparty of an invoice";
    EXPECT_FALSE(exclui(3)) << "destination of a cargo line";
    EXPECT_TRUE(exclui(4));
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM Contribuinte").toInt(), 3);
}

TEST(Esquema, FiltroDeMesPorIntervaloUsaOIndice)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    const QStringList plano = TBancoTeste::listaDireta(
        t.con->db(), "EXPLAIN QUERY PLAN SELECT * FROM NotaFiscal WHERE IdContribuinte = 1 "
                     "AND DtEmissao >= '2024-05-01' AND DtEmissao < '2024-06-01'");
    ASSERT_FALSE(plano.isEmpty());
    // The plan's text is in the fourth column; the first column carries ids only.
    QString texto;
    Sql::executa(t.con->db(), "EXPLAIN QUERY PLAN SELECT * FROM NotaFiscal WHERE IdContribuinte = 1 "
                              "AND DtEmissao >= '2024-05-01' AND DtEmissao < '2024-06-01'",
                 TParametros(), nullptr, [&](sqlite3_stmt* st) { texto += Sql::valorColuna(st, 3).toString(); });
    EXPECT_TRUE(texto.contains("ixNotaFiscalEmissao")) << texto.toStdString();
}

TEST(Esquema, AtualizacaoDaZelTudoOuNada)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    // The closing data fix is refused: nothing of the step may stay behind.
    TBancoTeste::executaDireto(db, "CREATE TRIGGER trRecusa BEFORE UPDATE ON ZEL BEGIN SELECT RAISE(ABORT, 'recusado'); END");
    EXPECT_TRUE(t.dtm->AtualizarZel());
    EXPECT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(20)");
    for (const char* c : {"sitCadastroContrib", "dataSitCadastro", "ChqHabitacao", "ChqEducacao"})
        EXPECT_FALSE(Sql::existeColuna(db, "ZEL", c)) << c;
    EXPECT_EQ(TBancoTeste::listaDireta(db, "SELECT Entregue FROM ZEL ORDER BY Periodo"), (QStringList{"0", "0"}));

    // Tried again once the cause is gone, the whole step runs.
    TBancoTeste::executaDireto(db, "DROP TRIGGER trRecusa");
    EXPECT_TRUE(t.dtm->AtualizarZel());
    EXPECT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(32)");
    EXPECT_TRUE(Sql::existeColuna(db, "ZEL", "ChqEducacao"));
    EXPECT_EQ(TBancoTeste::listaDireta(db, "SELECT Entregue FROM ZEL ORDER BY Periodo"), (QStringList{"-1", "-1"}));
}

TEST(Esquema, ArquivoDeixadoAMeioCompletaAZelEFazACorrecao)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    // An earlier version stopped after two of the new columns.
    TBancoTeste::executaDireto(db, "ALTER TABLE ZEL ADD sitCadastroContrib integer; ALTER TABLE ZEL ADD dataSitCadastro Date");
    EXPECT_TRUE(t.dtm->AtualizarZel());
    for (const char* c : {"ChqHabitacao", "ChqEducacao"})
        EXPECT_TRUE(Sql::existeColuna(db, "ZEL", c)) << c;
    EXPECT_EQ(TBancoTeste::listaDireta(db, "SELECT Entregue FROM ZEL ORDER BY Periodo"), (QStringList{"-1", "-1"}));
}

TEST(Esquema, ReconstrucaoDaTabelaMantemOAutonumero)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    ASSERT_EQ(t.con->Conectar(), "JET");
    sqlite3* db = t.con->db();
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200803', 'N')");
    const int ultimo = TBancoTeste::valorDireto(db, "SELECT MAX(IDZel) FROM ZEL").toInt();
    TBancoTeste::executaDireto(db, QStringLiteral("DELETE FROM ZEL WHERE IDZel = %1").arg(ultimo));
    EXPECT_TRUE(t.dtm->AtualizarZel()); // rebuilds ZEL for the wider NumRecibo
    ASSERT_EQ(tipo(db, "ZEL", "NumRecibo"), "Text(32)");
    TBancoTeste::executaDireto(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200804', 'N')");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT MAX(IDZel) FROM ZEL").toInt(), ultimo + 1)
        << "a deleted id is never issued again";
}

TEST(Esquema, EmailDoContribuinteAlargadoSemPerderLinhas)
{
    TBancoTeste t;
    criaArquivoAntigo(t.caminho(), false);
    {
        sqlite3* db = TBancoTeste::abreDireto(t.caminho());
        TBancoTeste::executaDireto(db, "INSERT INTO Contribuinte (RazaoSocial, Email) VALUES ('A', 'a@b.com')");
        sqlite3_close(db);
    }
    TProgressoGravado progresso;
    ASSERT_EQ(ExecutaVerificacoesIniciais(*t.con, *t.dtm, t.dialogos, progresso), "JET");
    sqlite3* db = t.con->db();
    EXPECT_EQ(tipo(db, "Contribuinte", "Email"), "Text(40)");
    EXPECT_EQ(Sql::larguraTexto(db, "Contribuinte", "Email"), 40);
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT Email FROM Contribuinte").toString(), "a@b.com");
}
