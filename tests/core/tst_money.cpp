#include "core/untMoney.h"
#include "support/TDialogosRoteiro.h" // readable QString output on failures

#include <gtest/gtest.h>

namespace {

qint64 rawDe(const char* texto)
{
    const auto m = Money::parse(QString::fromUtf8(texto));
    EXPECT_TRUE(m.has_value()) << texto;
    return m ? m->raw() : -999999;
}

} // namespace

TEST(MoneyParse, TextoComoODigitado)
{
    EXPECT_EQ(rawDe("1.234,56"), 12345600);
    EXPECT_EQ(rawDe("-12,5"), -125000);
    EXPECT_EQ(rawDe("+3"), 30000);
    EXPECT_EQ(rawDe(" 0,01 "), 100);
    EXPECT_EQ(rawDe("1234,5678"), 12345678);
    EXPECT_EQ(rawDe(",5"), 5000);
    EXPECT_EQ(rawDe("0007,10"), 71000);
    EXPECT_EQ(rawDe(""), 0);
    EXPECT_EQ(rawDe("   "), 0);
}

// Digits past the fourth decimal round to the nearest ten-thousandth; an exact half goes to the even one.
TEST(MoneyParse, ArredondaNaQuartaCasaParaOPar)
{
    EXPECT_EQ(rawDe("0,00005"), 0);
    EXPECT_EQ(rawDe("0,00015"), 2);
    EXPECT_EQ(rawDe("0,000050"), 0);
    EXPECT_EQ(rawDe("0,000051"), 1);
    EXPECT_EQ(rawDe("0,00004999"), 0);
    EXPECT_EQ(rawDe("1234,56789"), 12345679);
    EXPECT_EQ(rawDe("-0,00015"), -2);
    EXPECT_EQ(rawDe("-0,00005"), 0);
    EXPECT_EQ(rawDe("0,99995"), 10000); // the carry crosses into the units
}

TEST(MoneyParse, TextoInvalidoOuGrandeDemaisNaoEValor)
{
    for (const char* t : {"abc", "1,2,3", "-", ",", "12a", "1 234", "1,234.5", "--1", "+-1", "R$ 10", "1e3"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(t)).has_value()) << t;
    // Digits of other scripts are not ASCII digits.
    EXPECT_FALSE(Money::parse(QString::fromUtf8("١٢")).has_value());

    // Fourteen integer digits is the most 64 bits of ten-thousandths can hold.
    EXPECT_EQ(rawDe("99.999.999.999.999,9999"), 999999999999999999LL);
    EXPECT_FALSE(Money::parse(QStringLiteral("100.000.000.000.000")).has_value());
    EXPECT_FALSE(Money::parse(QStringLiteral("-999999999999999999999")).has_value());
    // Leading zeros do not count.
    EXPECT_EQ(rawDe("0000000000000000001"), 10000);
}

TEST(MoneyTexto, AgrupaMilharesComPontos)
{
    EXPECT_EQ(Money::fromCents(123456).toString(), QStringLiteral("1.234,56"));
    EXPECT_EQ(Money::fromCents(5).toString(), QStringLiteral("0,05"));
    EXPECT_EQ(Money::fromCents(99999).toString(), QStringLiteral("999,99"));
    EXPECT_EQ(Money::fromCents(100000).toString(), QStringLiteral("1.000,00"));
    EXPECT_EQ(Money::fromCents(123456789012).toString(), QStringLiteral("1.234.567.890,12"));
    EXPECT_EQ(Money::fromCents(-50).toString(), QStringLiteral("-0,50"));
    EXPECT_EQ(Money::fromCents(-123456789).toString(), QStringLiteral("-1.234.567,89"));
    EXPECT_EQ(Money::fromCents(-123456789).toEditText(), QStringLiteral("-1234567,89"));
    EXPECT_EQ(Money::fromCents(123456).toEditText(), QStringLiteral("1234,56"));
}

TEST(MoneyTexto, CasasEscondidasArredondamParaOPar)
{
    EXPECT_EQ(Money::fromRaw(12349).toString(), QStringLiteral("1,23"));
    EXPECT_EQ(Money::fromRaw(12351).toString(), QStringLiteral("1,24"));
    EXPECT_EQ(Money::fromRaw(12350).toString(), QStringLiteral("1,24"));
    EXPECT_EQ(Money::fromRaw(12250).toString(), QStringLiteral("1,22"));
    EXPECT_EQ(Money::fromRaw(-12350).toString(), QStringLiteral("-1,24"));
    EXPECT_EQ(Money::fromRaw(99999950).toString(), QStringLiteral("10.000,00"));
    // Rounds to zero: no "-0,00".
    EXPECT_EQ(Money::fromRaw(-50).toString(), QStringLiteral("0,00"));
    EXPECT_EQ(Money::fromRaw(-51).toString(), QStringLiteral("-0,01"));
    // Typed text shows again as typed.
    EXPECT_EQ(Money::parse(QStringLiteral("1.234,56"))->toString(), QStringLiteral("1.234,56"));
}

TEST(MoneyCentavos, EmpateVaiParaOPar)
{
    EXPECT_EQ(Money::fromRaw(150).cents(), 2);
    EXPECT_EQ(Money::fromRaw(250).cents(), 2);
    EXPECT_EQ(Money::fromRaw(251).cents(), 3);
    EXPECT_EQ(Money::fromRaw(-150).cents(), -2);
    EXPECT_EQ(Money::fromRaw(-250).cents(), -2);
    EXPECT_EQ(Money::fromRaw(-251).cents(), -3);
    EXPECT_EQ(Money::fromRaw(-49).cents(), 0);
    EXPECT_TRUE(Money::fromRaw(101).hasFractionOfCent());
    EXPECT_FALSE(Money::fromRaw(-300).hasFractionOfCent());
}

TEST(MoneyAliquota, MultiplicaEmCentesimosDePorcento)
{
    const Money cem = Money::fromCents(10000);
    EXPECT_EQ(cem.timesRateHundredths(1700), Money::fromCents(1700));
    EXPECT_EQ(Money::fromCents(123456).timesRateHundredths(1800).raw(), 2222208); // 1234,56 * 18 %
    EXPECT_EQ(Money::fromRaw(12345).timesRateHundredths(1200).raw(), 1481);      // 1481,4 -> 1481
    EXPECT_EQ(Money::fromRaw(1).timesRateHundredths(5000).raw(), 0);             // 0,5 -> 0
    EXPECT_EQ(Money::fromRaw(3).timesRateHundredths(5000).raw(), 2);             // 1,5 -> 2
    EXPECT_EQ(Money::fromRaw(-3).timesRateHundredths(5000).raw(), -2);
    EXPECT_EQ(Money::fromRaw(-12345).timesRateHundredths(1200).raw(), -1481);
}

TEST(MoneyDivisao, ArredondaParaOParComSinais)
{
    EXPECT_EQ(divideTiesToEven(5, 2), 2);
    EXPECT_EQ(divideTiesToEven(7, 2), 4);
    EXPECT_EQ(divideTiesToEven(-5, 2), -2);
    EXPECT_EQ(divideTiesToEven(-7, 2), -4);
    EXPECT_EQ(divideTiesToEven(5, -2), -2);
    EXPECT_EQ(divideTiesToEven(-7, -2), 4);
    EXPECT_EQ(divideTiesToEven(-7, 4), -2);
    EXPECT_EQ(divideTiesToEven(-5, 4), -1);
    EXPECT_EQ(divideTiesToEven(7, 3), 2);
    EXPECT_EQ(divideTiesToEven(-8, 3), -3);
}

// Dots are thousands separators only in groups of three; a lone dot before one or two final digits is the
// numeric keypad's decimal point. Anything else is refused rather than read ten or a hundred times off.
TEST(MoneyParse, PontosSoDeMilharOuDoTecladoNumerico)
{
    EXPECT_EQ(rawDe("10.5"), 105000);
    EXPECT_EQ(rawDe("2.5"), 25000);
    EXPECT_EQ(rawDe("0.07"), 700);
    EXPECT_EQ(rawDe(".5"), 5000);
    EXPECT_EQ(rawDe("-5.25"), -52500);
    EXPECT_EQ(rawDe("1.234"), 12340000);
    EXPECT_EQ(rawDe("1.234.567"), 12345670000LL);
    EXPECT_EQ(rawDe("1234"), 12340000);
    EXPECT_EQ(rawDe("1234,56"), 12345600);
    EXPECT_EQ(rawDe("-5,00"), -50000);
    for (const char* t : {"10.5.1", "1.2.3", "1234.567", "12.34.567", "1.23,4", "1.2345", "10.", "1..234", ".",
                          "1.234.56", "1.5,0", "12,3.4"})
        EXPECT_FALSE(Money::parse(QString::fromUtf8(t)).has_value()) << t;
}

TEST(MoneyTexto, ExatoMostraAsQuatroCasasSoQuandoHaFracaoDeCentavo)
{
    EXPECT_EQ(Money::fromRaw(100050).toStringExato(), "10,0050");
    EXPECT_EQ(Money::fromRaw(170017).toStringExato(), "17,0017");
    EXPECT_EQ(Money::fromRaw(-12345678901).toStringExato(), "-1.234.567,8901");
    EXPECT_EQ(Money::fromRaw(12345600).toStringExato(), "1.234,56");
    EXPECT_EQ(Money::fromRaw(-50).toStringExato(), "-0,0050");
}
