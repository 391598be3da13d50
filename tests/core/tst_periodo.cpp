#include "core/untPeriodo.h"
#include "support/TDialogosRoteiro.h" // readable QString output on failures

#include <gtest/gtest.h>

namespace {

TPeriodoRegras regrasAteHoje()
{
    TPeriodoRegras r;
    r.PeriodoMin = QStringLiteral("122009");
    r.MaxPerAgora = true;
    r.MensErroSintaxe = QStringLiteral("Período inválido");
    r.MensErroValidade = QStringLiteral("Período fora dos limites");
    r.Aviso = QStringLiteral("  Informe mês e ano.  ");
    r.aoEntrar(QDate(2026, 12, 9));
    return r;
}

} // namespace

TEST(PeriodoPartes, MesEAno)
{
    EXPECT_EQ(TPeriodoRegras::mesDe(QStringLiteral("032024")), 3);
    EXPECT_EQ(TPeriodoRegras::mesDe(QStringLiteral("002024")), 0);
    EXPECT_EQ(TPeriodoRegras::mesDe(QStringLiteral("132024")), 0);
    EXPECT_EQ(TPeriodoRegras::mesDe(QStringLiteral("-12024")), 0);

    EXPECT_EQ(TPeriodoRegras::anoDe(QStringLiteral("032024")), 2024);
    EXPECT_EQ(TPeriodoRegras::anoDe(QStringLiteral("011899")), 1899);
    EXPECT_EQ(TPeriodoRegras::anoDe(QStringLiteral("011898")), 0);
    EXPECT_EQ(TPeriodoRegras::anoDe(QStringLiteral("0120a4")), 0);
    EXPECT_EQ(TPeriodoRegras::anoDe(QStringLiteral("01")), 0);
}

TEST(PeriodoLimites, DoMinimoAteOMesCorrente)
{
    const TPeriodoRegras r = regrasAteHoje();
    EXPECT_EQ(r.PeriodoMax, QStringLiteral("122026"));

    EXPECT_FALSE(r.dentroDosLimites(QStringLiteral("112009")));
    EXPECT_TRUE(r.dentroDosLimites(QStringLiteral("122009")));
    EXPECT_TRUE(r.dentroDosLimites(QStringLiteral("122026")));
    EXPECT_FALSE(r.dentroDosLimites(QStringLiteral("012027")));
    EXPECT_FALSE(r.dentroDosLimites(QStringLiteral("062008")));

    EXPECT_TRUE(r.sintaxeValida(QStringLiteral("122009")));
    EXPECT_FALSE(r.sintaxeValida(QStringLiteral("132020")));
    EXPECT_FALSE(r.sintaxeValida(QStringLiteral("011800")));
}

TEST(PeriodoLimites, MesCorrenteAcompanhaOHoje)
{
    TPeriodoRegras r = regrasAteHoje();
    r.aoEntrar(QDate(2027, 3, 1));
    EXPECT_EQ(r.PeriodoMax, QStringLiteral("032027"));
    EXPECT_TRUE(r.dentroDosLimites(QStringLiteral("032027")));
    EXPECT_FALSE(r.dentroDosLimites(QStringLiteral("042027")));

    // Without MaxPerAgora the upper limit is left as given.
    TPeriodoRegras fixo;
    fixo.PeriodoMax = QStringLiteral("062020");
    fixo.aoEntrar(QDate(2026, 12, 9));
    EXPECT_FALSE(fixo.dentroDosLimites(QStringLiteral("072020")));
}

TEST(PeriodoLimites, SemMaximoNadaPassa)
{
    TPeriodoRegras r;
    r.PeriodoMin = QStringLiteral("012000");
    r.aoEntrar(QDate(2026, 12, 9));
    for (const char* t : {"012000", "122009", "122026", "012099"})
        EXPECT_FALSE(r.dentroDosLimites(QString::fromLatin1(t))) << t;

    bool falhou = false;
    r.MensErroValidade = QStringLiteral("Fora");
    EXPECT_EQ(r.aoSair(QStringLiteral("062010"), &falhou), QStringList{QStringLiteral("Fora")});
    EXPECT_TRUE(falhou);
}

TEST(PeriodoSaida, MensagensEmOrdem)
{
    const TPeriodoRegras r = regrasAteHoje();
    bool falhou = true;

    EXPECT_TRUE(r.aoSair(QStringLiteral("062015"), &falhou).isEmpty());
    EXPECT_FALSE(falhou);

    EXPECT_EQ(r.aoSair(QStringLiteral("132020"), &falhou),
              QStringList({QStringLiteral("Período inválido"), QStringLiteral("Informe mês e ano.")}));
    EXPECT_TRUE(falhou);

    EXPECT_EQ(r.aoSair(QStringLiteral("112009"), &falhou),
              QStringList({QStringLiteral("Período fora dos limites"), QStringLiteral("Informe mês e ano.")}));
    EXPECT_TRUE(falhou);

    // An empty field is not checked.
    EXPECT_TRUE(r.aoSair(QString(), &falhou).isEmpty());
    EXPECT_FALSE(falhou);
    EXPECT_TRUE(r.aoSair(QStringLiteral("      "), &falhou).isEmpty());
    EXPECT_FALSE(falhou);

    // Empty messages are left out, yet the focus still stays in the field.
    TPeriodoRegras semTexto = r;
    semTexto.MensErroSintaxe.clear();
    semTexto.Aviso = QStringLiteral("   ");
    EXPECT_TRUE(semTexto.aoSair(QStringLiteral("992020"), &falhou).isEmpty());
    EXPECT_TRUE(falhou);
}
