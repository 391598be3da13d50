// The annual data in core: the save's checks in their order, the file's period, and the row over a database
// (the year found as a number whatever way it was stored, the change bound to its own key and taxpayer).
#include <gtest/gtest.h>

#include "declarations/untDadosAnuais.h"
#include "support/TBancoTeste.h"

namespace {
Money R(qint64 centavos) { return Money::fromCents(centavos); }
}

TEST(DadosAnuais, ChecagensNaOrdem)
{
    TValoresAnuais v;
    EXPECT_EQ(ChecaDadosAnuais(v, 1).mensagem, QString::fromUtf8("Saldo Total dos Dados Anuais\ndeve ser maior que ZERO!"))
        << "every value zero is refused whatever the regime";
    v.EstqTrib = R(1);
    EXPECT_EQ(ChecaDadosAnuais(v, 0).mensagem, QString::fromUtf8("Informe o regime de pagamento do contribuinte"));
    EXPECT_EQ(ChecaDadosAnuais(v, 2).campo, "rdgRegime") << "2 is no regime";
    for (int regime : {1, 3, 7})
        EXPECT_FALSE(ChecaDadosAnuais(v, regime).falhou()) << "only the taxable stock is enough, regime " << regime;

    // A negative value that a larger one hides in the total is refused by itself.
    v.EstqTrib = R(100000);
    v.SldBanco = R(-100);
    const TFalha f = ChecaDadosAnuais(v, 1);
    EXPECT_EQ(f.campo, "curSldBancos");
    EXPECT_TRUE(f.mensagem.contains(QString::fromUtf8("Saldo em bancos")));
    v.SldBanco = Money();
    v.DespGeral = Money::fromRaw(kMaiorValorTrezeDigitos + 100);
    EXPECT_EQ(ChecaDadosAnuais(v, 1).campo, "curDespGerais") << "wider than the file's thirteen digits";
    v.DespGeral = Money::fromRaw(kMaiorValorTrezeDigitos);
    EXPECT_FALSE(ChecaDadosAnuais(v, 1).falhou());
}

TEST(DadosAnuais, PeriodoDoArquivo)
{
    const QDate hoje(2024, 7, 15);
    EXPECT_EQ(PeriodoDadosAnuais("2023", hoje), "202312");
    EXPECT_EQ(PeriodoDadosAnuais(" 2024 ", hoje), "202407") << "the current year stops at the current month";
    EXPECT_EQ(PeriodoDadosAnuais("2024", QDate(2024, 12, 1)), "202412");
}

TEST(DadosAnuais, LinhaAnoComoNumeroEAlteracaoPelaChave)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    // An older row stored the year with a blank and no regime.
    TBancoTeste::executaDireto(t.con->db(), "INSERT INTO DadosAnuais (IdContribuinte, Ano, Tipo, EstqTrib) VALUES (1, '2006 ', 'N', 50000)");
    EXPECT_TRUE(TDadosAnuais::AnoExiste(*t.dtm, 1, 2006));
    EXPECT_FALSE(TDadosAnuais::AnoExiste(*t.dtm, 2, 2006)) << "another taxpayer's year";
    EXPECT_FALSE(TDadosAnuais::AnoExiste(*t.dtm, 1, 2007));

    TDadosAnuais d(*t.dtm);
    d.IdContribuinte = 1;
    d.Ano = "2007";
    d.Tipo = "R";
    d.valores.EstqTrib = Money::fromRaw(12345);
    d.valores.DespGeral = R(99);
    d.TipoRegimeContrib = 3;
    d.DtGeracao = QDateTime(QDate(2024, 7, 15), QTime(9, 0));
    ASSERT_TRUE(d.Incluir());
    EXPECT_TRUE(TDadosAnuais::AnoExiste(*t.dtm, 1, 2007));

    TDadosAnuais lida(*t.dtm);
    ASSERT_TRUE(lida.CarregarId(d.IdDadosAnuais, 1));
    EXPECT_EQ(lida.Ano, "2007");
    EXPECT_EQ(lida.Tipo, "R");
    EXPECT_EQ(lida.valores.EstqTrib, Money::fromRaw(12345));
    EXPECT_EQ(lida.valores.DespGeral, R(99));
    EXPECT_EQ(lida.TipoRegimeContrib, 3);
    EXPECT_FALSE(lida.CarregarId(d.IdDadosAnuais, 2)) << "another taxpayer's key loads nothing";

    TDadosAnuais antiga(*t.dtm);
    ASSERT_TRUE(antiga.CarregarId(1, 1));
    EXPECT_EQ(antiga.TipoRegimeContrib, 0) << "no regime on an older row";
    EXPECT_FALSE(RegimeAnualValido(antiga.TipoRegimeContrib));

    // The change writes its own row only.
    lida.valores.SldCaixa = R(700);
    ASSERT_TRUE(lida.Alterar());
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT SldCaixa FROM DadosAnuais WHERE IdDadosAnuais = 1").toLongLong(), 0);
    lida.IdContribuinte = 2;
    EXPECT_FALSE(lida.Alterar()) << "the key of another taxpayer's row changes nothing";
    EXPECT_TRUE(d.Excluir(d.IdDadosAnuais));
    EXPECT_FALSE(d.Excluir(d.IdDadosAnuais)) << "a deletion that deletes nothing says so";
}
