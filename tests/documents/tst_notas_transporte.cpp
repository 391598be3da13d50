// Transport documents and their cargo notes: the key the insert returns, the duplicate rule without the
// series, updates by key and taxpayer, padding of cargo notes, and deletion of a document with its cargo.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untRegrasNotaTransporte.h"
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

namespace {

TCamposTransporte campos()
{
    TCamposTransporte c;
    c.modelo = "08";
    c.serie = "b";
    c.subSerie = " u ";
    c.numero = "123";
    c.emissao = QDate(2024, 5, 10);
    c.cfop = "1352";
    c.valorTotal = Money::fromCents(100000);
    c.baseIcms = Money::fromCents(80000);
    c.isentas = Money::fromCents(15000);
    c.outras = Money::fromCents(5000);
    c.valorIcms = Money::fromCents(13600);
    c.idEmitente = 2;
    c.ufEmitente = "ZR";
    c.observacao = "Frete";
    return c;
}

const QDateTime kAgora(QDate(2024, 7, 1), QTime(8, 0));

} // namespace

TEST(RegrasTransporte, ChecagensNaOrdemComMensagemECampo)
{
    struct Caso {
        void (*ajusta)(TCamposTransporte&);
        bool alteracao;
        const char* mensagem;
        const char* campo;
    };
    const QList<Caso> casos = {
        {[](TCamposTransporte& c) { c.modelo = "01"; c.serie = "X"; }, false,
         "Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10, 11 e 57.", "edtModelo"},
        {[](TCamposTransporte& c) { c.modelo = "57"; }, true, "Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10 e 11.",
         "edtModelo"},
        {[](TCamposTransporte& c) { c.serie = "X"; c.subSerie = "Z"; }, false,
         "Série da Nota Inválida!\n Séries válidas B,C,U e em branco.", "edtSerie"},
        {[](TCamposTransporte& c) { c.subSerie = "Z"; c.numero = "0"; }, false,
         "Sub Série da Nota Inválida!\nDigite U, ou um número.", "edtSubSerie"},
        {[](TCamposTransporte& c) { c.numero = "0"; c.cfop = "2352"; }, false, "Número da Nota Inválido!", "edtNumNtTransporte"},
        {[](TCamposTransporte& c) { c.numero = "-2"; }, false, "Número da Nota Inválido!", "edtNumNtTransporte"},
        {[](TCamposTransporte& c) { c.numero = "1234567"; }, false, "Número da Nota Inválido!", "edtNumNtTransporte"},
        {[](TCamposTransporte& c) { c.cfop = "2352"; c.emissao = QDate(2002, 5, 1); }, false,
         "UF Inválida para CFOP informado!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.emissao = QDate(2002, 5, 1); }, false, "CFOP Inválido para a Data informada!",
         "edtCodCFOP"},
        // A code that names no place is told by the date rule, never by the state rule.
        {[](TCamposTransporte& c) { c.cfop = ""; }, false, "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.cfop = ""; c.idEmitente = 0; c.ufEmitente = ""; }, false,
         "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.cfop = "8352"; }, false, "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.cfop = "0352"; c.ufEmitente = "SP"; }, false,
         "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.cfop = "9352"; c.ufEmitente = "EX"; }, false,
         "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {[](TCamposTransporte& c) { c.cancelada = true; c.nfe = SituacaoNFe::Denegado; }, false,
         "Informe a situação cancelada ou uma das duas situações da NFE!", "edtEmissao"},
        {[](TCamposTransporte& c) { c.nfe = SituacaoNFe::Denegado; }, false,
         "As situações de NFE só são permitidas para o modelo 57!", "edtModelo"},
        {[](TCamposTransporte& c) { c.idEmitente = 0; c.valorTotal = Money(); }, false, "Selecione o Emitente/Tomador",
         "edtCnpjTomador"},
        // No party chosen means no state: an interstate code goes on to ask for the party.
        {[](TCamposTransporte& c) { c.cfop = "2352"; c.idEmitente = 0; c.ufEmitente = ""; }, false,
         "Selecione o Emitente/Tomador", "edtCnpjTomador"},
        {[](TCamposTransporte& c) { c.cfop = "6352"; c.idEmitente = 0; c.ufEmitente = ""; }, true,
         "Selecione o Emitente/Tomador", "edtCnpjTomador"},
        {[](TCamposTransporte& c) { c.valorTotal = Money(); }, false, "Valor deve ser Maior que Zero!", "curNTVlrTotal"},
        {[](TCamposTransporte& c) { c.outras = Money::fromCents(5001); }, false, "Valor Total da Nota Difere do Informado",
         "curNTBaseCalc"},
    };
    for (const Caso& caso : casos) {
        TCamposTransporte c = campos();
        caso.ajusta(c);
        const TChecagemTransporte r = ChecaNotaTransporte(c, 1, kAgora, caso.alteracao);
        EXPECT_EQ(r.falha.mensagem, QString::fromUtf8(caso.mensagem)) << caso.mensagem;
        EXPECT_EQ(r.falha.campo, QString::fromLatin1(caso.campo)) << caso.mensagem;
    }
}

TEST(RegrasTransporte, LinhaGravadaESituacoesSemValores)
{
    TChecagemTransporte r = ChecaNotaTransporte(campos(), 1, kAgora, false);
    ASSERT_FALSE(r.falha.falhou()) << r.falha.mensagem.toStdString();
    EXPECT_EQ(r.nota.Numero, "000123");
    EXPECT_EQ(r.nota.Serie, "B");
    EXPECT_EQ(r.nota.SubSerie, "U");
    EXPECT_EQ(r.nota.Situacao, "N");
    EXPECT_EQ(r.nota.Modalidade, "1");
    EXPECT_EQ(r.nota.IDEmitente, 2);
    EXPECT_EQ(r.nota.ValorIcms, Money::fromCents(13600));
    EXPECT_EQ(r.nota.DtUltAlteracao, kAgora);

    // Cancelled: the taxpayer itself, the generic code of the date's scheme, and nothing that counts as an amount.
    TCamposTransporte cancelada = campos();
    cancelada.cancelada = true;
    cancelada.idEmitente = 0;
    cancelada.cif = false;
    r = ChecaNotaTransporte(cancelada, 7, kAgora, false);
    ASSERT_FALSE(r.falha.falhou());
    EXPECT_EQ(r.nota.Situacao, "S");
    EXPECT_EQ(r.nota.IDEmitente, 7);
    EXPECT_EQ(r.nota.Cfop, "5949");
    EXPECT_EQ(r.nota.Modalidade, "2");
    EXPECT_TRUE(r.nota.ValorTotal.isZero() && r.nota.ValorIcms.isZero() && r.nota.BaseCalcIcms.isZero());

    // A voided range of model 57: the first number, one row per number, values stored as 0.
    TCamposTransporte faixa = campos();
    faixa.modelo = "57";
    faixa.numero.clear();
    faixa.nfe = SituacaoNFe::Inutilizado;
    faixa.inicioFaixa = "10";
    faixa.finalFaixa = "12";
    r = ChecaNotaTransporte(faixa, 1, kAgora, false);
    ASSERT_FALSE(r.falha.falhou()) << r.falha.mensagem.toStdString();
    EXPECT_EQ(r.nota.Situacao, "4");
    EXPECT_EQ(r.nota.Numero, "000010");
    EXPECT_EQ(r.situacao.linhas, 3);
    EXPECT_EQ(r.situacao.pergunta, "Confirma a inclusão da faixa de 10 a 12 de notas inutilizadas");
    EXPECT_TRUE(r.nota.ValorTotal.isZero());
    faixa.finalFaixa = "9";
    EXPECT_EQ(ChecaNotaTransporte(faixa, 1, kAgora, false).falha.mensagem,
              QString::fromUtf8("O valor inicial da faixa não pode ser superior ao final!"));

    // A date before 2003 takes the three-digit generic code.
    TCamposTransporte antiga = campos();
    antiga.emissao = QDate(2002, 3, 1);
    antiga.cancelada = true;
    EXPECT_EQ(ChecaNotaTransporte(antiga, 1, kAgora, false).nota.Cfop, "599");
}

TEST_F(Transporte, FaixaInutilizadaGravaTudoOuNada)
{
    TCamposTransporte faixa = campos();
    faixa.modelo = "57";
    faixa.numero.clear();
    faixa.nfe = SituacaoNFe::Inutilizado;
    faixa.inicioFaixa = "10";
    faixa.finalFaixa = "12";
    const TChecagemTransporte r = ChecaNotaTransporte(faixa, 1, kAgora, false);
    ASSERT_FALSE(r.falha.falhou());

    // Number 11 is already there: none of the three is written, and the message names it.
    TNotaTransporte existente = r.nota;
    existente.Numero = "000011";
    TNotasTransporte notas(*t.dtm);
    ASSERT_TRUE(notas.Incluir(existente));
    t.dialogos.esperaSimples(QString::fromUtf8("Nota 000011 já está cadastrada!\nem: 10/05/2024."));
    QString foco;
    int primeira = 0;
    EXPECT_FALSE(GravaNotasTransporte(*t.dtm, t.dialogos, r, &foco, &primeira));
    EXPECT_EQ(foco, "edtModelo");
    EXPECT_EQ(conta("SELECT COUNT(*) FROM NFTRANSPORTE"), 1);

    TBancoTeste::executaDireto(t.con->db(), "DELETE FROM NFTRANSPORTE");
    EXPECT_TRUE(GravaNotasTransporte(*t.dtm, t.dialogos, r, &foco, &primeira));
    EXPECT_EQ(TBancoTeste::listaDireta(t.con->db(), "SELECT Numero || Situacao FROM NFTRANSPORTE ORDER BY Numero"),
              (QStringList{"0000104", "0000114", "0000124"}));
    EXPECT_EQ(primeira, conta("SELECT MIN(IDNFTransporte) FROM NFTRANSPORTE"));
    t.dialogos.verificaConsumo();
}

TEST(RegrasTransporte, CargaModeloNumeroEValorNaOrdem)
{
    const Money cem = Money::fromCents(10000);
    EXPECT_FALSE(ChecaCarga("1", "45", cem).falhou());
    EXPECT_FALSE(ChecaCarga("55", "999999", cem).falhou());
    EXPECT_EQ(ChecaCarga("02", "", Money()).campo, "edtModelo");
    EXPECT_EQ(ChecaCarga("02", "", Money()).mensagem, QString::fromUtf8("Modelo da Nota Inválido!\n Modelos válidos 01, 04 e 55."));
    for (const char* numero : {"", "0", "abc", "-3", "1234567"})
        EXPECT_EQ(ChecaCarga("01", QString::fromLatin1(numero), Money()).mensagem, QString::fromUtf8("Número da Nota Inválido!"))
            << numero;
    EXPECT_EQ(ChecaCarga("04", "7", Money()).mensagem, "Valor deve ser Maior que Zero!");
    EXPECT_EQ(ChecaCarga("04", "7", -cem).campo, "edtValorNF");
}
