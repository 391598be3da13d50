#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "support/TDialogosRoteiro.h" // readable QString output on failures

#include <gtest/gtest.h>

TEST(FuncoesPreenche, ZerosAEsquerdaSemCortar)
{
    EXPECT_EQ(PreencheZeros(QStringLiteral(" 12 "), 5), QStringLiteral("00012"));
    EXPECT_EQ(PreencheZeros(QStringLiteral("12345"), 5), QStringLiteral("12345"));
    EXPECT_EQ(PreencheZeros(QStringLiteral("1234567"), 5), QStringLiteral("1234567"));
    EXPECT_EQ(PreencheZeros(QString(), 3), QStringLiteral("000"));
    EXPECT_EQ(PreencheZeros(QStringLiteral("   "), 2), QStringLiteral("00"));
}

TEST(FuncoesPreenche, BrancosADireitaCortandoOExcesso)
{
    EXPECT_EQ(PreencheBrancos(QStringLiteral("ABC"), 5), QStringLiteral("ABC  "));
    EXPECT_EQ(PreencheBrancos(QStringLiteral("ABCDEFG"), 5), QStringLiteral("ABCDE"));
    // Blanks typed by the user belong to the field and are not trimmed.
    EXPECT_EQ(PreencheBrancos(QStringLiteral(" A "), 5), QStringLiteral(" A   "));
    EXPECT_EQ(PreencheBrancos(QStringLiteral("  ABCDE"), 5), QStringLiteral("  ABC"));
    EXPECT_EQ(PreencheBrancos(QString(), 2), QStringLiteral("  "));
}

TEST(FuncoesAcentos, SoAsLetrasDaTabelaMudam)
{
    EXPECT_EQ(RemoveAcentos(QStringLiteral("AÇÃO è")), QStringLiteral("ACAO è"));
    EXPECT_EQ(RemoveAcentos(QStringLiteral("àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜ")),
              QStringLiteral("aaeouaoaeioucuAAEOUAOAEIOUCU"));
    // Letters outside the table are left alone.
    EXPECT_EQ(RemoveAcentos(QStringLiteral("ñ î è ÿ Ñ È ß")), QStringLiteral("ñ î è ÿ Ñ È ß"));
    EXPECT_EQ(RemoveAcentos(QStringLiteral("Rua São João, nº 12")), QStringLiteral("Rua Sao Joao, nº 12"));
}

TEST(FuncoesAnos, AnoAtualDoRelogio)
{
    TRelogioFixo relogio(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)));
    EXPECT_EQ(AnoAtual(relogio), QStringLiteral("2026"));
    relogio.ajusta(QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
    EXPECT_EQ(AnoAtual(relogio), QStringLiteral("2027"));
    relogio.ajusta(QDateTime(QDate(987, 5, 1), QTime(0, 0)));
    EXPECT_EQ(AnoAtual(relogio), QStringLiteral("0987"));
}

TEST(FuncoesAnos, ListaDoUltimoAoPrimeiro)
{
    QStringList lista{QStringLiteral("lixo")};
    ListaAnos(2002, 2004, lista);
    EXPECT_EQ(lista, QStringList({QStringLiteral("2004"), QStringLiteral("2003"), QStringLiteral("2002")}));

    ListaAnos(2010, 2010, lista);
    EXPECT_EQ(lista, QStringList({QStringLiteral("2010")}));

    ListaAnos(2005, 2004, lista);
    EXPECT_TRUE(lista.isEmpty());
}
