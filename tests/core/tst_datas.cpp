#include "core/untDatas.h"
#include "support/TDialogosRoteiro.h" // readable QString output on failures

#include <gtest/gtest.h>

using namespace Datas;

TEST(DatasNomes, MesesEDiasEmPortuguesComMaiuscula)
{
    EXPECT_EQ(nomeMes(1), QStringLiteral("Janeiro"));
    EXPECT_EQ(nomeMes(3), QStringLiteral("Março"));
    EXPECT_EQ(nomeMes(2, true), QStringLiteral("Fev"));
    EXPECT_EQ(nomeMes(9, true), QStringLiteral("Set"));
    EXPECT_TRUE(nomeMes(0).isEmpty());
    EXPECT_TRUE(nomeMes(13, true).isEmpty());

    // Qt counts 1 = Monday .. 7 = Sunday.
    EXPECT_EQ(nomeDia(1), QStringLiteral("Segunda"));
    EXPECT_EQ(nomeDia(6), QStringLiteral("Sábado"));
    EXPECT_EQ(nomeDia(7), QStringLiteral("Domingo"));
    EXPECT_EQ(nomeDia(6, true), QStringLiteral("Sáb"));
    EXPECT_EQ(nomeDia(QDate(2024, 3, 5).dayOfWeek()), QStringLiteral("Terça"));
    EXPECT_TRUE(nomeDia(0).isEmpty());
    EXPECT_TRUE(nomeDia(8).isEmpty());

    EXPECT_EQ(formata(QDate(2024, 3, 5)), QStringLiteral("05/03/2024"));
    EXPECT_TRUE(formata(QDate()).isEmpty());
    EXPECT_EQ(formataMesAno(3, 2024), QStringLiteral("03/2024"));
}

TEST(DatasAnoDoisDigitos, JanelaDeCinquentaAnos)
{
    EXPECT_EQ(anoDeDoisDigitos(75, 2026), 2075);
    EXPECT_EQ(anoDeDoisDigitos(76, 2026), 1976);
    EXPECT_EQ(anoDeDoisDigitos(0, 2026), 2000);
    EXPECT_EQ(anoDeDoisDigitos(99, 2026), 1999);
    EXPECT_EQ(anoDeDoisDigitos(26, 2026), 2026);
    EXPECT_EQ(anoDeDoisDigitos(49, 2000), 2049);
    EXPECT_EQ(anoDeDoisDigitos(50, 2000), 1950);

    // Whatever the reference year, the result keeps its two digits and stays within the window.
    for (int ref : {1950, 1999, 2000, 2026, 2049, 2050, 2099, 2100}) {
        for (int aa = 0; aa < 100; ++aa) {
            const int ano = anoDeDoisDigitos(aa, ref);
            EXPECT_EQ(ano % 100, aa) << ref << " " << aa;
            EXPECT_GE(ano, ref - JanelaSeculo) << ref << " " << aa;
            EXPECT_LT(ano, ref + JanelaSeculo) << ref << " " << aa;
        }
    }
}

TEST(DatasInterpreta, DiaMesAnoDigitados)
{
    const QDate hoje(2026, 6, 15);
    EXPECT_EQ(interpreta(QStringLiteral("05/03/2024"), hoje), QDate(2024, 3, 5));
    EXPECT_EQ(interpreta(QStringLiteral("5/3/2024"), hoje), QDate(2024, 3, 5));
    EXPECT_EQ(interpreta(QStringLiteral(" 05/03/2024 "), hoje), QDate(2024, 3, 5));
    EXPECT_EQ(interpreta(QStringLiteral("05/03/24"), hoje), QDate(2024, 3, 5));
    EXPECT_EQ(interpreta(QStringLiteral("01/01/75"), hoje), QDate(2075, 1, 1));
    EXPECT_EQ(interpreta(QStringLiteral("01/01/76"), hoje), QDate(1976, 1, 1));
    EXPECT_EQ(interpreta(QStringLiteral("29/02/00"), hoje), QDate(2000, 2, 29));
    EXPECT_EQ(interpreta(QStringLiteral("29/02/2024"), hoje), QDate(2024, 2, 29));
    // The window follows the reference day handed in.
    EXPECT_EQ(interpreta(QStringLiteral("01/01/75"), QDate(2020, 1, 1)), QDate(1975, 1, 1));
}

TEST(DatasInterpreta, RecusaOQueNaoEData)
{
    const QDate hoje(2026, 6, 15);
    for (const char* t : {"31/02/2024", "29/02/2023", "31/04/2024", "00/01/2024", "01/13/2024", "01/00/2024", "",
                          "01/2024", "01/01/2024/1", "aa/01/2024", "001/01/2024", "01/001/2024", "01/01/202",
                          "01/01/20245", "01-01-2024", "01/01/-1", "-1/01/2024", "+1/01/2024"})
        EXPECT_FALSE(interpreta(QString::fromUtf8(t), hoje).has_value()) << t;
}

TEST(DatasBanco, FormasGravadasIdaEVolta)
{
    const QDate d(2024, 3, 5);
    EXPECT_EQ(paraBanco(d), QStringLiteral("2024-03-05"));
    EXPECT_EQ(doBanco(paraBanco(d)), d);
    EXPECT_TRUE(paraBanco(QDate()).isEmpty());

    const QDateTime m(QDate(2024, 12, 31), QTime(23, 7, 9));
    EXPECT_EQ(paraBanco(m), QStringLiteral("2024-12-31T23:07:09"));
    EXPECT_EQ(momentoDoBanco(paraBanco(m)), m);
    EXPECT_TRUE(paraBanco(QDateTime()).isEmpty());

    // A moment read as a date keeps its date; a date read as a moment is its midnight.
    EXPECT_EQ(doBanco(QStringLiteral("2024-12-31T23:07:09")), QDate(2024, 12, 31));
    EXPECT_EQ(momentoDoBanco(QStringLiteral("2024-03-05")), QDateTime(d, QTime(0, 0)));

    EXPECT_FALSE(doBanco(QStringLiteral("05/03/2024")).isValid());
    EXPECT_FALSE(doBanco(QString()).isValid());
    EXPECT_FALSE(doBanco(QStringLiteral("2024-02-30")).isValid());
    EXPECT_FALSE(momentoDoBanco(QStringLiteral("2024-03-05 10:00:00")).isValid());
}

TEST(DatasBanco, LimitesDoMes)
{
    EXPECT_EQ(inicioDoMes(3, 2024), QStringLiteral("2024-03-01"));
    EXPECT_EQ(inicioDoMesSeguinte(3, 2024), QStringLiteral("2024-04-01"));
    EXPECT_EQ(inicioDoMes(12, 2024), QStringLiteral("2024-12-01"));
    EXPECT_EQ(inicioDoMesSeguinte(12, 2024), QStringLiteral("2025-01-01"));
    // Stored forms compare as text: the month's last moment is inside, the next month's first day is not.
    EXPECT_LT(QStringLiteral("2024-12-31T23:59:59"), inicioDoMesSeguinte(12, 2024));
    EXPECT_GE(QStringLiteral("2024-12-01"), inicioDoMes(12, 2024));
}
