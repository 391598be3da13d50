// Transport documents and their cargo notes: the key the insert returns, the duplicate rule without the
// series, updates by key and taxpayer, padding of cargo notes, and deletion of a document with its cargo.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "documents/untClsNotaTransporte.h"
#include "support/TBancoTeste.h"

namespace {

struct Transporte : ::testing::Test {
    TBancoTeste t;
    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contribuinte (RazaoSocial, Tipo) VALUES ('ATIVO', 'C'), "
                                                "('TRANSPORTADORA', 'F'), ('DESTINO', 'F')");
    }
    int conta(const char* sql) { return TBancoTeste::valorDireto(t.con->db(), QString::fromUtf8(sql)).toInt(); }
    static TNotaTransporte nota()
    {
        TNotaTransporte n;
        n.IDContribuinte = 1;
        n.IDEmitente = 2;
        n.DtEmissao = QDate(2024, 5, 10);
        n.Modelo = "08";
        n.Serie = "B";
        n.SubSerie = " u ";
        n.Numero = "000123";
        n.Cfop = "1352";
        n.ValorTotal = Money::fromCents(100000);
        n.BaseCalcIcms = Money::fromCents(100000);
        n.ValorIcms = Money::fromCents(17000);
        n.Modalidade = "1";
        n.Situacao = "N";
        n.Obs = "Frete";
        n.DtUltAlteracao = QDateTime(QDate(2024, 5, 10), QTime(9, 0));
        return n;
    }
};

} // namespace

TEST_F(Transporte, GravaAlteraEReconheceDuplicataSemASerie)
{
    TNotasTransporte notas(*t.dtm);
    TNotaTransporte n = nota();
    ASSERT_TRUE(notas.Incluir(n));
    EXPECT_GT(n.IDNFTransporte, 0);
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT SubSerie FROM NFTRANSPORTE").toString(), "U")
        << "subseries stored trimmed and in upper case";

    TNotaTransporte outraSerie = nota();
    outraSerie.Serie = "C";
    EXPECT_EQ(notas.Duplicata(outraSerie), QDate(2024, 5, 10)) << "the series is not compared";
    TNotaTransporte outroCfop = nota();
    outroCfop.Cfop = "2352";
    EXPECT_FALSE(notas.Duplicata(outroCfop).isValid());

    TNotaTransporte lida;
    ASSERT_TRUE(notas.Carregar(n.IDNFTransporte, 1, lida));
    EXPECT_EQ(lida.Numero, "000123");
    EXPECT_EQ(lida.ValorIcms, Money::fromCents(17000));
    EXPECT_FALSE(notas.Carregar(n.IDNFTransporte, 2, lida)) << "another taxpayer's document is not loaded";

    n.Obs = "Frete alterado";
    EXPECT_TRUE(notas.Alterar(n));
    TNotaTransporte alheia = n;
    alheia.IDContribuinte = 2;
    EXPECT_FALSE(notas.Alterar(alheia)) << "an update that finds no row of the taxpayer is a failure";
}

TEST_F(Transporte, CargaPreenchidaEExcluidaComOConhecimento)
{
    TNotasTransporte notas(*t.dtm);
    TNotaTransporte n = nota();
    ASSERT_TRUE(notas.Incluir(n));
    TNotaCarga c;
    c.IDContribuinte = 1;
    c.IDTomador = 2;
    c.IDDestino = 0; // no recipient chosen
    c.IDNotaTransporte = n.IDNFTransporte;
    c.DtEmissao = QDate(2024, 5, 9);
    c.ModeloNF = "1";
    c.NumNF = "45";
    c.ValorNF = Money::fromCents(50000);
    ASSERT_TRUE(notas.IncluirCarga(c));
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT ModeloNF || '/' || NumNF FROM NFCARGA").toString(), "01/000045");
    ASSERT_EQ(notas.Cargas(n.IDNFTransporte).size(), 1);
    c.ValorNF = Money::fromCents(60000);
    EXPECT_TRUE(notas.AlterarCarga(c));
    c.IDNotaTransporte = 999;
    EXPECT_FALSE(notas.AlterarCarga(c)) << "a cargo note is changed only under its own document";

    // A refused document delete keeps its cargo too.
    TBancoTeste::executaDireto(t.con->db(), "CREATE TRIGGER trRecusa BEFORE DELETE ON NFTRANSPORTE BEGIN "
                                            "SELECT RAISE(ABORT, 'recusado'); END");
    QString erro;
    EXPECT_FALSE(notas.Excluir(n.IDNFTransporte, &erro));
    EXPECT_TRUE(erro.contains("recusado"));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM NFCARGA"), 1);
    TBancoTeste::executaDireto(t.con->db(), "DROP TRIGGER trRecusa");
    EXPECT_TRUE(notas.Excluir(n.IDNFTransporte, &erro));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM NFCARGA"), 0);
    EXPECT_EQ(conta("SELECT COUNT(*) FROM NFTRANSPORTE"), 0);
}
