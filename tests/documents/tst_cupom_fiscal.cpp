// Cash-register daily summaries: the header and save checks in their order, the exact balance, the rate
// lines, the duplicate rule over stored blanks, and the deletion of a summary with its lines.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "documents/untClsCupomFiscal.h"
#include "support/TBancoTeste.h"

namespace {

Money m(const char* texto) { return *Money::parse(QString::fromUtf8(texto)); }

TCupomFiscal cabecalho()
{
    TCupomFiscal c;
    c.IDContribuinte = 1;
    c.DtEmissao = QDate(2024, 5, 10);
    c.NumSerie = "BE0123456789";
    c.NumEquip = "1";
    c.Modelo = "2D";
    c.COOInicial = "100";
    c.COOFinal = "180";
    c.CRZ = "45";
    c.CRO = "0";
    c.GTInicioDia = m("1.000,00");
    c.GTFimDia = m("1.500,00");
    c.VendaBruta = m("500,00");
    c.DtUltAlteracao = QDateTime(QDate(2024, 5, 10), QTime(18, 0));
    return c;
}

struct Cupons : ::testing::Test {
    TBancoTeste t;
    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contribuinte (RazaoSocial, Tipo) VALUES ('ATIVO', 'C')");
    }
    int conta(const char* sql) { return TBancoTeste::valorDireto(t.con->db(), QString::fromUtf8(sql)).toInt(); }
};

} // namespace

TEST(RegrasCupom, CabecalhoNaOrdemDeCadaTela)
{
    using namespace RegrasCupom;
    TCupomFiscal c = cabecalho();
    EXPECT_FALSE(ChecaCabecalho(c, false).falhou());
    EXPECT_EQ(VendaBrutaProposta(c), m("500,00"));

    const QString obrigatorios = QString::fromUtf8("Preencha os campos obrigatórios \ndo quadro Emissor de Cupom Fiscal");
    const QString modelo = QString::fromUtf8("Modelo de ECF Inválido! Modelos válidos 2B,2C,2D \n2,02,13,14,15 e 16");
    for (auto ajusta : {+[](TCupomFiscal& x) { x.NumSerie = "  "; }, +[](TCupomFiscal& x) { x.COOInicial = "0"; },
                        +[](TCupomFiscal& x) { x.CRZ = ""; }, +[](TCupomFiscal& x) { x.COOFinal = "abc"; },
                        +[](TCupomFiscal& x) { x.NumEquip = ""; }}) {
        TCupomFiscal x = cabecalho();
        ajusta(x);
        const TFalha f = ChecaCabecalho(x, false);
        EXPECT_EQ(f.mensagem, obrigatorios);
        EXPECT_EQ(f.campo, "edtNumSerie");
    }
    TCupomFiscal semCro = cabecalho();
    semCro.CRO = "0";
    EXPECT_FALSE(ChecaCabecalho(semCro, false).falhou()) << "CRO may be 0";
    TCupomFiscal cooInvertido = cabecalho();
    cooInvertido.COOFinal = "50";
    EXPECT_FALSE(ChecaCabecalho(cooInvertido, false).falhou()) << "no rule between the two COO";

    // Both wrong: the entry screen names the required fields first, the change screen the model.
    TCupomFiscal ambos = cabecalho();
    ambos.NumSerie.clear();
    ambos.Modelo = "3X";
    EXPECT_EQ(ChecaCabecalho(ambos, false).mensagem, obrigatorios);
    EXPECT_EQ(ChecaCabecalho(ambos, true).mensagem, modelo);
    EXPECT_EQ(ChecaCabecalho(ambos, true).campo, "edtModelo");
    for (const char* valido : {"2B", "2c", "2", " 2 ", "02", "13", "16"})
        EXPECT_TRUE(ModeloValido(QString::fromLatin1(valido))) << valido;
    for (const char* invalido : {"2A", "12", "17", "", "2BB"})
        EXPECT_FALSE(ModeloValido(QString::fromLatin1(invalido))) << invalido;

    TCupomFiscal gt = cabecalho();
    gt.GTFimDia = m("999,99");
    EXPECT_EQ(ChecaCabecalho(gt, false).mensagem, "GT Final menor do que GT Inicial!");
    EXPECT_EQ(ChecaCabecalho(gt, false).campo, "curGTFinal");
    gt.GTFimDia = gt.GTInicioDia;
    gt.VendaBruta = Money();
    EXPECT_FALSE(ChecaCabecalho(gt, false).falhou()) << "a day without sales";
    TCupomFiscal vb = cabecalho();
    vb.VendaBruta = vb.GTFimDia;
    EXPECT_FALSE(ChecaCabecalho(vb, false).falhou());
    vb.VendaBruta = vb.GTFimDia + Money::fromCents(1);
    EXPECT_EQ(ChecaCabecalho(vb, false).mensagem, QString::fromUtf8("Venda Bruta NÃO pode\nser maior que GT Final!"));
    EXPECT_EQ(ChecaCabecalho(vb, false).campo, "curVendaBruta");
}

TEST(RegrasCupom, SaldoExatoDecideOSalvar)
{
    using namespace RegrasCupom;
    TCupomFiscal c = cabecalho();
    c.T_CANC = m("10,00");
    c.T_DESC = m("5,00");
    c.T_F = m("50,00");
    EXPECT_EQ(VendaLiquida(c), m("485,00"));
    const Money linhas = m("300,00") + m("135,00");
    EXPECT_TRUE(Saldo(c, linhas).isZero());
    EXPECT_FALSE(ChecaSalvar(c, linhas).falhou());

    const Money faltaUmCentavo = m("300,00") + m("134,99");
    EXPECT_EQ(Saldo(c, faltaUmCentavo), m("0,01"));
    const TFalha f = ChecaSalvar(c, faltaUmCentavo);
    EXPECT_EQ(f.mensagem, "Totalizadores Fiscais\ndifere da Venda Bruta!");
    EXPECT_EQ(f.campo, "curVlr_ISS");
    // A negative balance is no balance either, and a hidden fraction of a cent is not rounded away.
    EXPECT_TRUE(ChecaSalvar(c, linhas + m("0,01")).falhou());
    EXPECT_TRUE(ChecaSalvar(c, linhas + Money::fromRaw(1)).falhou());
}

TEST(RegrasCupom, AliquotaSoComQuatroDigitosEImpostoExato)
{
    using namespace RegrasCupom;
    QString a;
    EXPECT_FALSE(LeAliquota("1550", &a).falhou());
    EXPECT_EQ(a, "1550");
    EXPECT_EQ(LeAliquota("15,5", &a).mensagem, QString::fromUtf8("Formato Inválido!"));
    EXPECT_EQ(a, "155");
    EXPECT_EQ(LeAliquota("170", &a).campo, "cmbAliquota");
    EXPECT_FALSE(LeAliquota("  ", &a).falhou()) << "a blank rate is no line, not a fault";
    EXPECT_TRUE(a.isEmpty());
    EXPECT_EQ(ImpostoDaLinha("1700", m("100,00")), m("17,00"));
    EXPECT_EQ(ImpostoDaLinha("0364", m("100,00")), m("3,64"));
    EXPECT_EQ(ImpostoDaLinha("1550", m("0,01")).raw(), 16) << "kept to the ten-thousandth";
}

TEST_F(Cupons, GravaComChaveDevolvidaEDuplicataSobreBrancosGuardados)
{
    TCuponsFiscais cupons(*t.dtm);
    TCupomFiscal c = cabecalho();
    c.NumSerie = "BE0123456789 ";
    ASSERT_TRUE(cupons.Incluir(c));
    EXPECT_GT(c.IDCupomFiscal, 0);
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT NumSerie || '|' || NumEquip || '|' || Modelo FROM CUPOMFISCAL")
                  .toString(),
              "BE0123456789|1|2D")
        << "stored trimmed";

    // A row stored by an older version, with the blank appended, is still the same equipment's day.
    TBancoTeste::executaDireto(t.con->db(), "UPDATE CUPOMFISCAL SET NumSerie = NumSerie || ' ', NumEquip = NumEquip || ' '");
    EXPECT_TRUE(cupons.Duplicata(cabecalho()));
    TCupomFiscal outroEquipamento = cabecalho();
    outroEquipamento.NumEquip = "2";
    EXPECT_FALSE(cupons.Duplicata(outroEquipamento));

    ASSERT_TRUE(cupons.IncluirLinha(c.IDCupomFiscal, "1700", m("300,00")));
    ASSERT_TRUE(cupons.IncluirLinha(c.IDCupomFiscal, "1200", m("135,00")));
    EXPECT_TRUE(cupons.TemAliquota(c.IDCupomFiscal, "1700"));
    EXPECT_FALSE(cupons.TemAliquota(c.IDCupomFiscal, "0700"));
    EXPECT_EQ(cupons.SomaLinhas(c.IDCupomFiscal), m("435,00"));
    EXPECT_EQ(cupons.Linhas(c.IDCupomFiscal).size(), 2);

    TCupomFiscal lido;
    ASSERT_TRUE(cupons.Carregar(c.IDCupomFiscal, 1, lido));
    EXPECT_EQ(lido.NumSerie, "BE0123456789");
    EXPECT_EQ(lido.VendaBruta, m("500,00"));
    EXPECT_FALSE(cupons.Carregar(c.IDCupomFiscal, 2, lido)) << "another taxpayer's summary is not loaded";
    lido.T_F = m("65,00");
    EXPECT_TRUE(cupons.Alterar(lido));
    lido.IDCupomFiscal = 999;
    EXPECT_FALSE(cupons.Alterar(lido)) << "an update that changes no row is a failure";
}

TEST_F(Cupons, ExclusaoLevaAsLinhasOuNadaSai)
{
    TCuponsFiscais cupons(*t.dtm);
    TCupomFiscal c = cabecalho();
    ASSERT_TRUE(cupons.Incluir(c));
    ASSERT_TRUE(cupons.IncluirLinha(c.IDCupomFiscal, "1700", m("100,00")));

    // The summary's delete is refused: its lines must not go alone.
    TBancoTeste::executaDireto(t.con->db(), "CREATE TRIGGER trRecusa BEFORE DELETE ON CUPOMFISCAL BEGIN "
                                            "SELECT RAISE(ABORT, 'recusado'); END");
    QString erro;
    EXPECT_FALSE(cupons.Excluir(c.IDCupomFiscal, &erro));
    EXPECT_TRUE(erro.contains("recusado"));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM CFAliquota"), 1);
    EXPECT_EQ(conta("SELECT COUNT(*) FROM CUPOMFISCAL"), 1);

    TBancoTeste::executaDireto(t.con->db(), "DROP TRIGGER trRecusa");
    EXPECT_TRUE(cupons.Excluir(c.IDCupomFiscal, &erro));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM CFAliquota"), 0);
    EXPECT_EQ(conta("SELECT COUNT(*) FROM CUPOMFISCAL"), 0);
    EXPECT_FALSE(cupons.Excluir(c.IDCupomFiscal, &erro)) << "nothing there to delete";
}
