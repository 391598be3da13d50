// The normal-regime declaration without its screens: the model's fields worked out by hand (balances, the
// MIRVEL-ZR deductions and their limit, field 03, the checks of the save), the stored row read back for a
// change, the row of ZEL column by column with its receipt page, the government-programme accounts of
// ZEL_PRGGOV, the deletion of a declaration with its programme rows, "Processa" over a month of documents and
// the lines it prints.
#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "declarations/untApuracao.h"
#include "declarations/untZel.h"
#include "declarations/untZelSN.h"
#include "support/TBancoTeste.h"

// Amounts read in a failure message as the user would type them, all four decimals.
static void PrintTo(const Money& m, std::ostream* os) { *os << m.toStringExato().toStdString(); }

namespace {

Money R(qint64 centavos) { return Money::fromCents(centavos); }
Money D(qint64 dezMilesimos) { return Money::fromRaw(dezMilesimos); }

const QString kLimite = QString::fromUtf8("Valor da Dedução MIRVEL-ZR \nmaior que limite máximo!");
const QString kNegativa = QString::fromUtf8("Valor da Dedução MIRVEL-ZR \nnão pode ser negativo!");
const QString kResultadoNegativo = QString::fromUtf8("Resultado Negativo!");
const QString kErroCreditos = QString::fromUtf8("Erro na Exclusão dos créditos do governo.");
const QString kErroApuracao = QString::fromUtf8("Erro na Exclusão da apuração.");

// The 29 amounts of a row by the name of the ZEL column that stores each, as the declaration's data model
// maps them; kept here apart from the program's own list so that a swap on its side shows.
struct TColuna {
    const char* nome;
    Money TValoresZel::*campo;
};
const TColuna kColunas[] = {
    {"CredSaldoAnterior", &TValoresZel::CredSaldoAnterior}, // 0
    {"CredEntradas", &TValoresZel::CredEntradas},
    {"CredAtivoImob", &TValoresZel::CredAtivoImob},
    {"CredTransferencia", &TValoresZel::CredTransferencia},
    {"CredIcms_JR", &TValoresZel::CredIcms_JR},
    {"CredIcms_AR", &TValoresZel::CredIcms_AR}, // 5
    {"CredEstornoDeb", &TValoresZel::CredEstornoDeb},
    {"CredOutros", &TValoresZel::CredOutros},
    {"DebSaidas", &TValoresZel::DebSaidas},
    {"DebTransfCredAc", &TValoresZel::DebTransfCredAc},
    {"DebEstornoCred", &TValoresZel::DebEstornoCred}, // 10
    {"DebOutros", &TValoresZel::DebOutros},
    {"SubstEnt_JR", &TValoresZel::SubstEnt_JR},
    {"SubstEnt_AR", &TValoresZel::SubstEnt_AR},
    {"SubstSai_JR", &TValoresZel::SubstSai_JR},
    {"SubstSai_AR", &TValoresZel::SubstSai_AR}, // 15
    {"DifAliquota", &TValoresZel::DifAliquota},
    {"ImpOutraUF", &TValoresZel::ImpOutraUF},
    {"OutrosRegEspec", &TValoresZel::OutrosRegEspec},
    {"Tare", &TValoresZel::Tare},
    {"PrevRicms", &TValoresZel::PrevRicms}, // 20
    {"Dorq", &TValoresZel::Dorq},
    {"MirvelIcms", &TValoresZel::MirvelIcms},
    {"MirvelSubSaida", &TValoresZel::MirvelSubSaida},
    {"MirvelSubEntrada", &TValoresZel::MirvelSubEntrada},
    {"MirvelRegFonte", &TValoresZel::MirvelRegFonte}, // 25
    {"MirvelDifAliq", &TValoresZel::MirvelDifAliq},
    {"ChqHabitacao", &TValoresZel::ChqHabitacao},
    {"ChqEducacao", &TValoresZel::ChqEducacao},
};

void ConfereValores(const TValoresZel& obtido, const TValoresZel& esperado)
{
    for (const TColuna& c : kColunas)
        EXPECT_EQ(obtido.*c.campo, esperado.*c.campo) << c.nome;
}

// Column i holds (i + 1) x 100,00 plus one ten-thousandth: every column differs from the others and carries
// a fourth decimal.
TValoresZel ValoresDistintos(qint64 passo = 1000000, qint64 resto = 1)
{
    TValoresZel v;
    int i = 0;
    for (const TColuna& c : kColunas)
        v.*c.campo = D(passo * ++i + resto);
    return v;
}

// ---------------------------------------------------------------------------------------------------------
// The model alone

TEST(ApuracaoNormal, SaldoCredorEImpostoSaoOPositivoDaDiferencaNosDoisSentidos)
{
    TApuracaoNormal a;
    a.c1 = R(80000);
    a.c2 = R(10000);
    a.c3 = R(5000);
    a.c4 = R(2000);
    a.c5 = R(1000);
    a.c6 = R(500);
    a.c7 = R(1500);
    a.presumido[0] = R(100);
    a.presumido[1] = R(200);
    a.presumido[2] = R(300);
    a.presumido[3] = R(400);
    a.chqHabitacao = R(3000);
    a.chqEducacao = R(2000);
    a.c9 = R(14000);
    a.debitoSaidas = R(90000);
    a.d12 = R(6000);
    a.d13 = R(2500);
    a.d14 = R(1500);

    // 8 = 800 + 100 + 50 + 20 + 10 + 5 + 15 + (1 + 2 + 3 + 4) + (30 + 20) = 1.060,00; 10 = 1.060 + 140.
    EXPECT_EQ(a.credPresumido(), R(1000));
    EXPECT_EQ(a.credProgramas(), R(5000));
    EXPECT_EQ(a.c8(), R(106000));
    EXPECT_EQ(a.c10(), R(120000));
    // 15 = 900 + 60 + 25 + 15 = 1.000,00: credits above the debits leave 200,00 of balance and no tax.
    EXPECT_EQ(a.d11(), R(90000));
    EXPECT_EQ(a.d15(), R(100000));
    EXPECT_EQ(a.s16(), R(20000));
    EXPECT_EQ(a.s17(), R(0));

    // The stored row gives the same sums, so the next month's balance is the one this month shows.
    const TTotaisZel t = TotaisZel(a.valores());
    EXPECT_EQ(t.credPresumido, R(1000));
    EXPECT_EQ(t.credProgramas, R(5000));
    EXPECT_EQ(t.credPeriodo, R(106000));
    EXPECT_EQ(t.credTotal, R(120000));
    EXPECT_EQ(t.debTotal, R(100000));

    // 500,00 more of other debits: 15 = 1.500,00, so 300,00 to pay and no balance.
    a.d13 = R(52500);
    EXPECT_EQ(a.d15(), R(150000));
    EXPECT_EQ(a.s17(), R(30000));
    EXPECT_EQ(a.s16(), R(0));

    // Debits equal to the credits (200,00 more of reversals instead): neither.
    a.d13 = R(2500);
    a.d14 = R(21500);
    EXPECT_EQ(a.d15(), a.c10());
    EXPECT_EQ(a.s16(), R(0));
    EXPECT_EQ(a.s17(), R(0));

    // One ten-thousandth either side.
    a.d14 += D(1);
    EXPECT_EQ(a.s17(), D(1));
    EXPECT_EQ(a.s16(), R(0));
    a.d14 -= D(2);
    EXPECT_EQ(a.s16(), D(1));
    EXPECT_EQ(a.s17(), R(0));
}

TEST(ApuracaoNormal, LimiteDaDeducaoEhVinteCentoDaBase)
{
    EXPECT_EQ(LimiteMirvel(R(1000000)), R(200000));
    EXPECT_TRUE(DeducaoAceita(R(200000), R(1000000)));
    EXPECT_FALSE(DeducaoAceita(R(200000) + D(1), R(1000000)));
    EXPECT_TRUE(DeducaoAceita(R(0), R(1000000)));
    EXPECT_FALSE(DeducaoAceita(-D(1), R(1000000)));
    EXPECT_TRUE(DeducaoAceita(R(0), R(0)));
    EXPECT_FALSE(DeducaoAceita(D(1), R(0)));
    // A fifth of a base that is no multiple of five ten-thousandths rounds to the nearest: 0,6 of a
    // ten-thousandth is one, 1,4 is one, 1,6 is two; it is never cut.
    EXPECT_EQ(LimiteMirvel(D(3)), D(1));
    EXPECT_EQ(LimiteMirvel(D(7)), D(1));
    EXPECT_EQ(LimiteMirvel(D(8)), D(2));
    EXPECT_TRUE(DeducaoAceita(D(1), D(3)));
    EXPECT_FALSE(DeducaoAceita(D(2), D(7)));

    // Field 11 of 10.000,00 with 2.000,00 in field 18 becomes 8.000,00 and the save goes through.
    TApuracaoNormal a;
    a.debitoSaidas = R(1000000);
    a.m18 = R(200000);
    EXPECT_EQ(a.d11(), R(800000));
    EXPECT_EQ(a.d15(), R(800000));
    EXPECT_EQ(a.s17(), R(800000));
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    EXPECT_EQ(a.valores().DebSaidas, R(800000));
    EXPECT_EQ(a.valores().MirvelIcms, R(200000));

    // 2.000,0001 does not count: field 11 stays 10.000,00, and the save is refused on field 18.
    a.m18 = R(200000) + D(1);
    EXPECT_EQ(a.d11(), R(1000000));
    EXPECT_EQ(a.s17(), R(1000000));
    const TFalha f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, kLimite);
    EXPECT_EQ(f.campo, "edtMirvelIcms");
}

TEST(ApuracaoNormal, DeducoesDosCampos09e10)
{
    // 04 = 500,00 and 05 = 200,00: 100,00 in field 09 is exactly its limit.
    TApuracaoNormal a;
    a.substSaidas = R(50000);
    a.substFonte = R(20000);
    a.m09 = R(10000);
    EXPECT_EQ(a.s04(), R(40000));
    EXPECT_EQ(a.s05(), R(20000));
    // The total is the sum of the two fields as they stand after the deduction, never the gross 04.
    EXPECT_EQ(a.s06(), R(60000));
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    EXPECT_EQ(a.valores().SubstSai_AR, R(40000));
    EXPECT_EQ(a.valores().SubstSai_JR, R(20000));
    EXPECT_EQ(a.valores().MirvelSubSaida, R(10000));

    // The same deduction in field 10, with 05 = 500,00 and 04 = 200,00.
    TApuracaoNormal b;
    b.substSaidas = R(20000);
    b.substFonte = R(50000);
    b.m10 = R(10000);
    EXPECT_EQ(b.s04(), R(20000));
    EXPECT_EQ(b.s05(), R(40000));
    EXPECT_EQ(b.s06(), R(60000));
    EXPECT_FALSE(b.ChecaSalvar().falhou());
    EXPECT_EQ(b.valores().SubstSai_JR, R(40000));
    EXPECT_EQ(b.valores().SubstSai_AR, R(20000));
    EXPECT_EQ(b.valores().MirvelRegFonte, R(10000));

    // One ten-thousandth over either limit: the field keeps its gross figure and the save names the field.
    a.m09 = R(10000) + D(1);
    EXPECT_EQ(a.s04(), R(50000));
    EXPECT_EQ(a.s06(), R(70000));
    EXPECT_EQ(a.ChecaSalvar().mensagem, kLimite);
    EXPECT_EQ(a.ChecaSalvar().campo, "edtMirvelSubSaida");
    b.m10 = R(10000) + D(1);
    EXPECT_EQ(b.s05(), R(50000));
    EXPECT_EQ(b.ChecaSalvar().mensagem, kLimite);
    EXPECT_EQ(b.ChecaSalvar().campo, "edtMirvelRegFonte");
}

TEST(ApuracaoNormal, SalvarRecusaDeducoesNegativasOuAcimaDoLimiteNaOrdemDosCampos)
{
    // Bases: 11 = 1.000,00, 19 = 300,00, 01 = 400,00 (02 = 0), 04 = 250,00, 05 = 150,00; every deduction
    // at its limit passes.
    TApuracaoNormal a;
    a.debitoSaidas = R(100000);
    a.d19 = R(30000);
    a.s01 = R(40000);
    a.substSaidas = R(25000);
    a.substFonte = R(15000);
    a.m18 = R(20000);
    a.m20 = R(6000);
    a.m07 = R(8000);
    a.m09 = R(5000);
    a.m10 = R(3000);
    ASSERT_FALSE(a.ChecaSalvar().falhou());

    // A negative deduction is refused on its own field, and never adds to the figure it is taken from.
    struct Caso {
        Money TApuracaoNormal::*deducao;
        const char* campo;
    };
    const Caso casos[] = {{&TApuracaoNormal::m18, "edtMirvelIcms"},
                          {&TApuracaoNormal::m20, "edtMirvelDifAliq"},
                          {&TApuracaoNormal::m07, "edtMirvelSubEntrada"},
                          {&TApuracaoNormal::m09, "edtMirvelSubSaida"},
                          {&TApuracaoNormal::m10, "edtMirvelRegFonte"}};
    for (const Caso& c : casos) {
        TApuracaoNormal n = a;
        n.*c.deducao = -D(1);
        const TFalha f = n.ChecaSalvar();
        EXPECT_EQ(f.mensagem, kNegativa) << c.campo;
        EXPECT_EQ(f.campo, c.campo);
        TApuracaoNormal acima = a;
        acima.*c.deducao += D(1);
        EXPECT_EQ(acima.ChecaSalvar().mensagem, kLimite) << c.campo;
        EXPECT_EQ(acima.ChecaSalvar().campo, c.campo);
    }
    TApuracaoNormal n = a;
    n.m18 = -R(5000);
    n.m09 = -R(1000);
    n.m10 = -R(1000);
    EXPECT_EQ(n.d11(), R(100000));
    EXPECT_EQ(n.s04(), R(25000));
    EXPECT_EQ(n.s05(), R(15000));

    // Several faults at once: the first field in the order 18, 20, 07, 09, 10 is named, each with its own
    // message; a negative field 03 comes last.
    TApuracaoNormal v = a;
    v.m18 += D(1);
    v.m20 = -D(1);
    EXPECT_EQ(v.ChecaSalvar().campo, "edtMirvelIcms");
    EXPECT_EQ(v.ChecaSalvar().mensagem, kLimite);
    v = a;
    v.m07 = -D(1);
    v.m10 += D(1);
    EXPECT_EQ(v.ChecaSalvar().campo, "edtMirvelSubEntrada");
    EXPECT_EQ(v.ChecaSalvar().mensagem, kNegativa);
    v = a;
    v.s02 = R(50000); // 03 = -100,00; the base of 07 is still 01
    v.m09 += D(1);
    EXPECT_EQ(v.ChecaSalvar().campo, "edtMirvelSubSaida");
    v.m09 = a.m09;
    EXPECT_EQ(v.ChecaSalvar().mensagem, kResultadoNegativo);
}

TEST(ApuracaoNormal, DeducaoDoCampo18SemSaidasViraZeroComAvisoPeloCampo)
{
    // A deduction stored while the month had exits, reopened once they are gone: the field is closed and its
    // limit is 0, so the value becomes 0 and the user is told, by the field's label and the value dropped.
    const struct {
        qint64 debito, deducao; // raw ten-thousandths
        bool zera;
    } casos[] = {
        {0, 1000000, true},
        {-50000, 10000, true}, // a month of returned exits only
        {0, 1, true},
        {0, 0, false},          // nothing to drop
        {4000000, 800000, false}, // exits left: the field stays open and the value as it is
        {1, 1000000, false},    // open too: the save names the field, which the user can correct
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::to_string(c.debito) + " / " + std::to_string(c.deducao));
        TApuracaoNormal a;
        a.debitoSaidas = D(c.debito);
        a.m18 = D(c.deducao);
        EXPECT_EQ(a.permiteDeducao18(), c.debito > 0);
        const TFalha f = a.ZeraDeducao18SemSaidas();
        EXPECT_EQ(f.falhou(), c.zera);
        if (!c.zera) {
            EXPECT_EQ(a.m18, D(c.deducao));
            continue;
        }
        EXPECT_EQ(a.m18, R(0));
        EXPECT_TRUE(f.mensagem.contains(QString::fromUtf8("\"18- MIRVEL-ZR - ICMS Normal\""))) << f.mensagem.toStdString();
        EXPECT_TRUE(f.mensagem.contains(D(c.deducao).toStringExato())) << f.mensagem.toStdString();
        EXPECT_EQ(a.d11(), D(c.debito));
        EXPECT_NE(a.ChecaSalvar().mensagem, kLimite);
        if (c.debito >= 0) {
            EXPECT_FALSE(a.ChecaSalvar().falhou()) << "the save goes through: " << a.ChecaSalvar().mensagem.toStdString();
        }
        EXPECT_EQ(a.valores().MirvelIcms, R(0));
    }
}

TEST(ApuracaoNormal, SalvarRecusaOQueOArquivoNaoComportaPeloRotuloDoCampo)
{
    // Every column goes to a thirteen-digit field of the file, without sign: 99.999.999.999,99 at most.
    const qint64 maior = 9999999999999LL * 100;
    const struct {
        Money TApuracaoNormal::*campo;
        const char* rotulo;
        const char* foco;
    } casos[] = {
        {&TApuracaoNormal::c1, "1- Por entradas", "edtCredAtivoImobilizado"},
        {&TApuracaoNormal::c2, "2- Ativo Imobilizado", "edtCredAtivoImobilizado"},
        {&TApuracaoNormal::c6, "6- Outros créditos", "edtCredOutros"},
        {&TApuracaoNormal::c9, "9- Saldo Credor Anterior", "edtCredSaldoAnterior"},
        {&TApuracaoNormal::chqEducacao, "Cheque Educação", "btnCredProgGov"},
        {&TApuracaoNormal::d13, "13- Outros débitos", "edtDebOutros"},
        {&TApuracaoNormal::d19, "19-Diferença de alíquota a recolher", "edtDifAliquota"},
        {&TApuracaoNormal::d21, "21- ICMS retido por outras UF", "edtRetidoOutrasUF"},
        {&TApuracaoNormal::s02, "02-Subst. recolhida", "edtIcmsST_JR"},
        {&TApuracaoNormal::substFonte, "05-ICMS Subst. Regime Fonte", "edtIcmsSTEntradas"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.rotulo);
        const QString rotulo = QString::fromUtf8(c.rotulo);
        TApuracaoNormal a;
        a.*c.campo = Money::fromRaw(maior);
        a.s01 = a.s02; // 03 stays 0
        EXPECT_FALSE(a.ChecaSalvar().falhou()) << "the widest amount the file carries: " << a.ChecaSalvar().mensagem.toStdString();
        a.*c.campo = Money::fromRaw(maior + 1);
        a.s01 = a.s02;
        TFalha f = a.ChecaSalvar();
        EXPECT_EQ(f.mensagem, QString::fromUtf8("O valor de \"%1\" é maior que o arquivo da declaração comporta "
                                                "(99.999.999.999,99).").arg(rotulo));
        EXPECT_EQ(f.campo, c.foco);
        a.*c.campo = -D(1);
        a.s01 = a.s02;
        f = a.ChecaSalvar();
        EXPECT_EQ(f.mensagem, QString::fromUtf8("O valor de \"%1\" não pode ser negativo.").arg(rotulo));
        EXPECT_EQ(f.campo, c.foco);
    }
    // The presumed credits and the debit are named by their own labels, after the checks of before.
    TApuracaoNormal p;
    p.presumido[1] = -R(1);
    EXPECT_EQ(p.ChecaSalvar().mensagem, QString::fromUtf8("O valor de \"02- Termo de Acordo - TARE\" não pode ser negativo."));
    EXPECT_EQ(p.ChecaSalvar().campo, "btnCredPresumido");
    TApuracaoNormal d;
    d.debitoSaidas = -R(1);
    EXPECT_EQ(d.ChecaSalvar().mensagem, QString::fromUtf8("O valor de \"11- Por saídas\" não pode ser negativo."));
    TApuracaoNormal r;
    r.s02 = R(1);
    EXPECT_EQ(r.ChecaSalvar().mensagem, kResultadoNegativo) << "field 03 keeps its own message";
}

TEST(ApuracaoNormal, SaldosRemanescentesDosDoisChequesEAvisos)
{
    EXPECT_EQ(SaldoRemanescente(R(10000), R(5000), R(0), R(3000), R(2000)), R(10000));
    const QString habitacao = QString::fromUtf8(
        "O saldo remanescente do cheque habitação está negativo para os valores informados. Por favor, corrija-os.");
    const QString educacao = QString::fromUtf8(
        "O saldo remanescente do cheque educação está negativo para os valores informados. Por favor, corrija-os.");
    const struct {
        qint64 h, e;
        QStringList avisos;
    } casos[] = {{0, 0, {}}, {-1, 0, {habitacao}}, {0, -1, {educacao}}, {-1, -1, {habitacao, educacao}}, {5, 7, {}}};
    for (const auto& c : casos)
        EXPECT_EQ(AvisosSaldoRemanescente(D(c.h), D(c.e)), c.avisos) << c.h << " " << c.e;
}

TEST(ApuracaoNormal, Campo03EhSempre01Menos02)
{
    TApuracaoNormal a;
    a.s01 = R(30000);
    a.s02 = R(12000);
    EXPECT_EQ(a.s03(), R(18000));
    // What is stored: 02 as paid, 03 as the remainder; a row read back shows 01 again as their sum.
    TValoresZel v = a.valores();
    EXPECT_EQ(v.SubstEnt_JR, R(12000));
    EXPECT_EQ(v.SubstEnt_AR, R(18000));
    EXPECT_EQ(TApuracaoNormal::DaLinha(v).s01, R(30000));
    EXPECT_FALSE(a.ChecaSalvar().falhou());

    // Typing 01 again is enough: 03 follows without leaving 02.
    a.s01 = R(45000);
    EXPECT_EQ(a.s03(), R(33000));
    EXPECT_EQ(a.valores().SubstEnt_AR, R(33000));

    // 02 equal to 01 gives 0; one ten-thousandth more is refused at save on field 01.
    a.s02 = R(45000);
    EXPECT_EQ(a.s03(), R(0));
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    a.s02 = R(45000) + D(1);
    EXPECT_EQ(a.s03(), -D(1));
    const TFalha f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, kResultadoNegativo);
    EXPECT_EQ(f.campo, "edtIcmsSTEntradas");

    // A row re-saved many times keeps its 01: 02 and 03 stored, read back, stored again.
    TApuracaoNormal b;
    b.s01 = R(30000) + D(7);
    b.s02 = R(12000) + D(3);
    TValoresZel linha = b.valores();
    for (int i = 0; i < 3; ++i)
        linha = TApuracaoNormal::DaLinha(linha).valores();
    EXPECT_EQ(linha.SubstEnt_JR, R(12000) + D(3));
    EXPECT_EQ(linha.SubstEnt_AR, R(18000) + D(4));
}

TEST(ApuracaoNormal, FigurasDeQuatroCasasPassamSemArredondar)
{
    TApuracaoNormal a;
    a.c1 = D(12345678);     // 1.234,5678
    a.c2 = D(1);            // 0,0001
    a.presumido[2] = D(49); // 0,0049
    a.chqEducacao = D(50);  // 0,0050
    a.c9 = D(3);
    a.debitoSaidas = D(10003); // 1,0003: its limit is 0,20006, so 0,2001
    a.m18 = D(2001);
    a.d12 = D(5);
    a.s01 = D(99999);
    a.s02 = D(33333);
    a.substSaidas = D(7);  // limit 0,0001 (1,4 rounds down)
    a.m09 = D(1);
    a.substFonte = D(3);   // limit 0,0001 (0,6 rounds up)
    a.m10 = D(1);

    // 8 = 1.234,5678 + 0,0001 + 0,0049 + 0,0050 = 1.234,5778; 10 = + 0,0003.
    EXPECT_EQ(a.c8(), D(12345778));
    EXPECT_EQ(a.c10(), D(12345781));
    // 11 = 1,0003 - 0,2001 = 0,8002; 15 = 0,8007.
    EXPECT_EQ(a.d11(), D(8002));
    EXPECT_EQ(a.d15(), D(8007));
    EXPECT_EQ(a.s16(), D(12345781 - 8007));
    EXPECT_EQ(a.s17(), D(0));
    EXPECT_EQ(a.s03(), D(66666));
    EXPECT_EQ(a.s04(), D(6));
    EXPECT_EQ(a.s05(), D(2));
    EXPECT_EQ(a.s06(), D(8));
    EXPECT_FALSE(a.ChecaSalvar().falhou());

    const TValoresZel v = a.valores();
    EXPECT_EQ(v.CredEntradas, D(12345678));
    EXPECT_EQ(v.CredAtivoImob, D(1));
    EXPECT_EQ(v.PrevRicms, D(49));
    EXPECT_EQ(v.ChqEducacao, D(50));
    EXPECT_EQ(v.DebSaidas, D(8002));
    EXPECT_EQ(v.SubstEnt_AR, D(66666));
    EXPECT_EQ(v.SubstSai_AR, D(6));
    EXPECT_EQ(v.SubstSai_JR, D(2));
    EXPECT_EQ(TotaisZel(v).credTotal, D(12345781));
}

TEST(ApuracaoNormal, LinhaGravadaMostraOsBrutosEVoltaIgual)
{
    // A row as stored after deductions that counted: 11 = 8.000,00 after 2.000,00 of 18 (gross 10.000,00),
    // 04 = 400,00 after 100,00 of 09 (gross 500,00), 05 = 160,00 after 40,00 of 10 (gross 200,00),
    // 02 = 45,00 and 03 = 55,00 (01 = 100,00) with 20,00 of 07, 19 = 300,00 with 60,00 of 20.
    TValoresZel v;
    v.CredSaldoAnterior = R(1100);
    v.CredEntradas = R(100000);
    v.CredAtivoImob = R(200);
    v.CredTransferencia = R(300);
    v.CredIcms_JR = R(400);
    v.CredIcms_AR = R(500);
    v.CredEstornoDeb = R(600);
    v.CredOutros = R(700);
    v.DebSaidas = R(800000);
    v.DebTransfCredAc = R(900);
    v.DebEstornoCred = R(1000);
    v.DebOutros = R(1200);
    v.SubstEnt_JR = R(4500);
    v.SubstEnt_AR = R(5500);
    v.SubstSai_AR = R(40000);
    v.SubstSai_JR = R(16000);
    v.DifAliquota = R(30000);
    v.ImpOutraUF = R(1300);
    v.OutrosRegEspec = R(1);
    v.Tare = R(2);
    v.PrevRicms = R(3);
    v.Dorq = R(4);
    v.MirvelIcms = R(200000);
    v.MirvelSubSaida = R(10000);
    v.MirvelSubEntrada = R(2000);
    v.MirvelRegFonte = R(4000);
    v.MirvelDifAliq = R(6000);
    v.ChqHabitacao = R(5);
    v.ChqEducacao = R(6);

    const TApuracaoNormal a = TApuracaoNormal::DaLinha(v);
    EXPECT_EQ(a.c1, R(100000));
    EXPECT_EQ(a.c2, R(200));
    EXPECT_EQ(a.c3, R(300));
    EXPECT_EQ(a.c4, R(500)); // field 4 is the advance still to pay (AR), 5 the one paid (JR)
    EXPECT_EQ(a.c5, R(400));
    EXPECT_EQ(a.c6, R(700));
    EXPECT_EQ(a.c7, R(600));
    EXPECT_EQ(a.c9, R(1100));
    EXPECT_EQ(a.d12, R(900));
    EXPECT_EQ(a.d13, R(1200));
    EXPECT_EQ(a.d14, R(1000));
    EXPECT_EQ(a.d19, R(30000));
    EXPECT_EQ(a.d21, R(1300));
    EXPECT_EQ(a.presumido[0], R(1));
    EXPECT_EQ(a.presumido[3], R(4));
    EXPECT_EQ(a.chqHabitacao, R(5));
    EXPECT_EQ(a.chqEducacao, R(6));
    // The gross figures are the stored ones plus what was taken from them.
    EXPECT_EQ(a.debitoSaidas, R(1000000));
    EXPECT_EQ(a.substSaidas, R(50000));
    EXPECT_EQ(a.substFonte, R(20000));
    EXPECT_EQ(a.s01, R(10000));
    EXPECT_EQ(a.s02, R(4500));
    // And the fields shown are the stored ones again.
    EXPECT_EQ(a.d11(), R(800000));
    EXPECT_EQ(a.s03(), R(5500));
    EXPECT_EQ(a.s04(), R(40000));
    EXPECT_EQ(a.s05(), R(16000));
    EXPECT_EQ(a.s06(), R(56000));
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    ConfereValores(a.valores(), v);

    // A row stored with a deduction that did not count kept its gross figure: 04 = 400,00 beside 110,00 in
    // 09 (above a fifth of 400,00, and of 510,00 too). Shown as stored, saved as stored.
    TValoresZel w = v;
    w.MirvelSubSaida = R(11000);
    w.SubstSai_AR = R(40000);
    w.MirvelIcms = R(300000); // 30 % of 10.000,00, 23 % of 13.000,00
    w.DebSaidas = R(1000000);
    const TApuracaoNormal b = TApuracaoNormal::DaLinha(w);
    EXPECT_EQ(b.substSaidas, R(40000));
    EXPECT_EQ(b.s04(), R(40000));
    EXPECT_EQ(b.debitoSaidas, R(1000000));
    EXPECT_EQ(b.d11(), R(1000000));
    ConfereValores(b.valores(), w);
}

TEST(ApuracaoNormal, LinhasNormalUmaPorValorComQuatroCasasEPonto)
{
    TApuracaoNormal a;
    a.c1 = D(12345678);
    a.c2 = R(100);
    a.c3 = R(200);
    a.c4 = R(300);
    a.c5 = R(400);
    a.c6 = R(500);
    a.c7 = R(600);
    a.presumido[1] = R(1000);
    a.chqHabitacao = R(2000);
    a.c9 = D(5);
    a.debitoSaidas = R(500000);
    a.m18 = R(100000);
    a.d12 = R(100);
    a.d13 = R(200);
    a.d14 = R(300);
    a.s01 = R(10000);
    a.s02 = D(33333);
    a.substSaidas = R(50000);
    a.m09 = R(10000);
    a.substFonte = R(20000);

    QMap<QString, QString> obtido;
    const QRegularExpression formato(QStringLiteral("^([0-9]{1,2})\t(-?[0-9]+\\.[0-9]{4})$"));
    const QStringList linhas = LinhasNormal(a);
    for (const QString& l : linhas) {
        const QRegularExpressionMatch m = formato.match(l);
        ASSERT_TRUE(m.hasMatch()) << l.toStdString();
        EXPECT_FALSE(obtido.contains(m.captured(1))) << "repeated " << m.captured(1).toStdString();
        obtido.insert(m.captured(1), m.captured(2));
    }
    // 8 = 1.234,5678 + 1 + 2 + 3 + 4 + 5 + 6 + 10 + 20 = 1.285,5678; 10 = + 0,0005.
    // 11 = 5.000 - 1.000 = 4.000; 15 = 4.006,00; 17 = 4.006 - 1.285,5683 = 2.720,4317.
    const QMap<QString, QString> esperado = {
        {"1", "1234.5678"},  {"3", "2.0000"},     {"8", "1285.5678"},  {"9", "0.0005"},
        {"10", "1285.5683"}, {"11", "4000.0000"}, {"12", "1.0000"},    {"15", "4006.0000"},
        {"16", "0.0000"},    {"17", "2720.4317"}, {"01", "100.0000"},  {"02", "3.3333"},
        {"03", "96.6667"},   {"04", "400.0000"},  {"05", "200.0000"},  {"06", "600.0000"},
    };
    EXPECT_EQ(linhas.size(), esperado.size());
    EXPECT_EQ(obtido, esperado);
}

// ---------------------------------------------------------------------------------------------------------
// Over a database

struct Zel : ::testing::Test {
    TBancoTeste t;
    const int ativo = 1;
    const int outro = 2;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        executa("INSERT INTO Contribuinte (IdContribuinte, RazaoSocial, Ccicms, UF, Tipo) VALUES "
                "(1, 'CONTRIBUINTE', '123456789', 'ZR', 'C'), (2, 'OUTRO', '987654321', 'ZR', 'C'), "
                "(3, 'CLIENTE', NULL, 'ZR', 'F'), (4, 'FORNECEDOR', NULL, 'SP', 'F')");
    }

    sqlite3* db() { return t.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& sql) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }
    qint64 ultimoId() { return sqlite3_last_insert_rowid(db()); }

    int zelDireto(int dono, const char* periodo, const char* tipo = "N")
    {
        executa(QStringLiteral("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas) VALUES (%1, '%2', '%3', 10000)")
                    .arg(dono)
                    .arg(QLatin1String(periodo), QLatin1String(tipo)));
        return int(ultimoId());
    }
    // A programme row with the five amounts given (raw ten-thousandths) and the stored remaining balance.
    int programa(int dono, const char* periodo, int tipo, qint64 anterior, qint64 autorizado, qint64 entrada,
                 qint64 saida, qint64 apropriado, qint64 remanescente)
    {
        executa(QStringLiteral("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, transfCredEntrada, "
                               "transfCredSaida, valorApropriado, sldPeriodoAnterior, sldRemanescente, tipoCheque) "
                               "VALUES (%1, '%2', %3, %4, %5, %6, %7, %8, %9)")
                    .arg(dono)
                    .arg(QLatin1String(periodo))
                    .arg(autorizado)
                    .arg(entrada)
                    .arg(saida)
                    .arg(apropriado)
                    .arg(anterior)
                    .arg(remanescente)
                    .arg(tipo));
        return int(ultimoId());
    }
};

TEST_F(Zel, IncluirGravaCadaValorNaSuaColunaELeDeVolta)
{
    TZel z(*t.dtm);
    z.IdContribuinte = ativo;
    z.Periodo = "202405";
    z.Tipo = "N";
    z.valores = ValoresDistintos();
    z.NumRecibo = "  ABCDEF0123456789ABCDEF0123456789  "; // 32 characters between the blanks
    z.sitCadastroContrib = 3;
    z.dataSitCadastro = QDate(2024, 3, 15);
    z.DtGeracao = QDateTime(QDate(2024, 8, 20), QTime(10, 30, 15));
    QString erro;
    ASSERT_TRUE(z.Incluir(&erro)) << erro.toStdString();
    ASSERT_GT(z.IDZel, 0);

    const QString onde = QStringLiteral(" FROM ZEL WHERE IDZel = %1").arg(z.IDZel);
    qint64 i = 0;
    for (const TColuna& c : kColunas) {
        ++i;
        EXPECT_EQ(valor(QStringLiteral("SELECT %1").arg(QLatin1String(c.nome)) + onde).toLongLong(), 1000000 * i + 1)
            << c.nome;
    }
    EXPECT_EQ(valor("SELECT IdContribuinte" + onde).toInt(), ativo);
    EXPECT_EQ(valor("SELECT Periodo" + onde).toString(), "202405");
    EXPECT_EQ(valor("SELECT Tipo" + onde).toString(), "N");
    EXPECT_EQ(valor("SELECT NumRecibo" + onde).toString(), "ABCDEF0123456789ABCDEF0123456789");
    EXPECT_EQ(valor("SELECT sitCadastroContrib" + onde).toInt(), 3);
    EXPECT_TRUE(valor("SELECT dataSitCadastro" + onde).toString().startsWith("2024-03-15"));
    EXPECT_TRUE(valor("SELECT DtGeracao" + onde).toString().startsWith("2024-08-20"));
    EXPECT_EQ(valor("SELECT Entregue" + onde).toInt(), 0);

    TZel lido(*t.dtm);
    ASSERT_TRUE(lido.CarregarId(z.IDZel, ativo));
    EXPECT_EQ(lido.IDZel, z.IDZel);
    EXPECT_EQ(lido.IdContribuinte, ativo);
    EXPECT_EQ(lido.Periodo, "202405");
    EXPECT_EQ(lido.Tipo, "N");
    ConfereValores(lido.valores, z.valores);
    EXPECT_EQ(lido.NumRecibo, "ABCDEF0123456789ABCDEF0123456789");
    EXPECT_EQ(lido.sitCadastroContrib, 3);
    EXPECT_EQ(lido.dataSitCadastro, QDate(2024, 3, 15));
    EXPECT_EQ(lido.DtGeracao, QDateTime(QDate(2024, 8, 20), QTime(10, 30, 15)));
    // Credits are columns 1-8, 19-22 and 28-29: 36 + 82 + 57 = 175 hundreds and 14 ten-thousandths; the
    // debits 9-12: 42 hundreds and 4.
    EXPECT_EQ(lido.totais.credPresumido, D(82000004));
    EXPECT_EQ(lido.totais.credProgramas, D(57000002));
    EXPECT_EQ(lido.totais.credPeriodo, D(174000013));
    EXPECT_EQ(lido.totais.credTotal, D(175000014));
    EXPECT_EQ(lido.totais.debTotal, D(42000004));

    // Another taxpayer's key is no row of this one.
    EXPECT_FALSE(lido.CarregarId(z.IDZel, outro));
    EXPECT_FALSE(lido.CarregarId(z.IDZel + 1, ativo));

    // Delivery type 0 counts as one; a blank number and no date write neither column.
    TZel r(*t.dtm);
    r.IdContribuinte = ativo;
    r.Periodo = "202406";
    r.Tipo = "N";
    r.NumRecibo = "   ";
    r.sitCadastroContrib = 0;
    ASSERT_TRUE(r.Incluir());
    const QString ondeR = QStringLiteral(" FROM ZEL WHERE IDZel = %1").arg(r.IDZel);
    EXPECT_EQ(valor("SELECT sitCadastroContrib" + ondeR), QVariant(qint64(0)));
    EXPECT_TRUE(valor("SELECT NumRecibo" + ondeR).isNull());
    EXPECT_TRUE(valor("SELECT dataSitCadastro" + ondeR).isNull());
    ASSERT_TRUE(lido.CarregarId(r.IDZel, ativo));
    EXPECT_EQ(lido.sitCadastroContrib, 0);
    EXPECT_EQ(lido.NumRecibo, "");
    EXPECT_FALSE(lido.dataSitCadastro.isValid());

    // With no delivery type none of the three receipt columns is written, whatever the object holds.
    TZel s(*t.dtm);
    s.IdContribuinte = ativo;
    s.Periodo = "202407";
    s.Tipo = "R";
    s.NumRecibo = "XYZ";
    s.sitCadastroContrib = -1;
    s.dataSitCadastro = QDate(2024, 1, 2);
    ASSERT_TRUE(s.Incluir());
    const QString ondeS = QStringLiteral(" FROM ZEL WHERE IDZel = %1").arg(s.IDZel);
    EXPECT_TRUE(valor("SELECT sitCadastroContrib" + ondeS).isNull());
    EXPECT_TRUE(valor("SELECT NumRecibo" + ondeS).isNull());
    EXPECT_TRUE(valor("SELECT dataSitCadastro" + ondeS).isNull());
    ASSERT_TRUE(lido.CarregarId(s.IDZel, ativo));
    EXPECT_EQ(lido.sitCadastroContrib, -1);
    EXPECT_EQ(lido.Tipo, "R");

    // A refused write answers false with the engine's text, and leaves nothing behind.
    executa("CREATE TRIGGER recusa_zel BEFORE INSERT ON ZEL BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    TZel f(*t.dtm);
    f.IdContribuinte = ativo;
    f.Periodo = "202408";
    f.Tipo = "N";
    QString motivo;
    EXPECT_FALSE(f.Incluir(&motivo));
    EXPECT_TRUE(motivo.contains("disco cheio")) << motivo.toStdString();
    EXPECT_EQ(conta("ZEL WHERE Periodo = '202408'"), 0);
}

TEST_F(Zel, AlterarRegravaAsColunasEGuardaOReciboQuandoNaoHaTipo)
{
    TZel z(*t.dtm);
    z.IdContribuinte = ativo;
    z.Periodo = "202405";
    z.Tipo = "N";
    z.valores = ValoresDistintos();
    z.NumRecibo = "RECIBO-ANTIGO";
    z.sitCadastroContrib = 2;
    z.dataSitCadastro = QDate(2024, 4, 1);
    z.DtGeracao = QDateTime(QDate(2024, 6, 1), QTime(8, 0));
    ASSERT_TRUE(z.Incluir());
    const int outraLinha = zelDireto(ativo, "202404");
    const QString onde = QStringLiteral(" FROM ZEL WHERE IDZel = %1").arg(z.IDZel);

    // Every amount, the period and the finality change; with no delivery type the receipt stays stored.
    z.valores = ValoresDistintos(7, 30000);
    z.Periodo = "202406";
    z.Tipo = "R";
    z.NumRecibo = "OUTRO";
    z.sitCadastroContrib = -1;
    z.dataSitCadastro = QDate();
    z.DtGeracao = QDateTime(QDate(2024, 7, 2), QTime(9, 15, 1));
    QString erro;
    ASSERT_TRUE(z.Alterar(&erro)) << erro.toStdString();
    qint64 i = 0;
    for (const TColuna& c : kColunas)
        EXPECT_EQ(valor(QStringLiteral("SELECT %1").arg(QLatin1String(c.nome)) + onde).toLongLong(), 7 * ++i + 30000)
            << c.nome;
    TZel lido(*t.dtm);
    ASSERT_TRUE(lido.CarregarId(z.IDZel, ativo));
    EXPECT_EQ(lido.Periodo, "202406");
    EXPECT_EQ(lido.Tipo, "R");
    EXPECT_EQ(lido.NumRecibo, "RECIBO-ANTIGO");
    EXPECT_EQ(lido.sitCadastroContrib, 2);
    EXPECT_EQ(lido.dataSitCadastro, QDate(2024, 4, 1));
    EXPECT_EQ(lido.DtGeracao, QDateTime(QDate(2024, 7, 2), QTime(9, 15, 1)));
    EXPECT_EQ(valor("SELECT Entregue" + onde).toInt(), 0);
    // The other row of the taxpayer is not touched.
    EXPECT_EQ(valor(QStringLiteral("SELECT CredEntradas FROM ZEL WHERE IDZel = %1").arg(outraLinha)).toLongLong(), 10000);
    EXPECT_EQ(valor(QStringLiteral("SELECT Periodo FROM ZEL WHERE IDZel = %1").arg(outraLinha)).toString(), "202404");

    // A delivery type writes itself, its date (none: 0, read back as no date) and its number: an emptied
    // number empties the stored one, a number with blanks is stored trimmed.
    z.sitCadastroContrib = 3;
    z.NumRecibo = "";
    ASSERT_TRUE(z.Alterar());
    EXPECT_EQ(valor("SELECT sitCadastroContrib" + onde).toInt(), 3);
    EXPECT_EQ(valor("SELECT dataSitCadastro" + onde).toString().trimmed(), "0");
    EXPECT_TRUE(valor("SELECT NumRecibo" + onde).isNull());
    ASSERT_TRUE(lido.CarregarId(z.IDZel, ativo));
    EXPECT_EQ(lido.sitCadastroContrib, 3);
    EXPECT_FALSE(lido.dataSitCadastro.isValid());
    z.NumRecibo = " NOVO ";
    z.dataSitCadastro = QDate(2024, 5, 31);
    ASSERT_TRUE(z.Alterar());
    ASSERT_TRUE(lido.CarregarId(z.IDZel, ativo));
    EXPECT_EQ(valor("SELECT NumRecibo" + onde).toString(), "NOVO");
    EXPECT_EQ(lido.dataSitCadastro, QDate(2024, 5, 31));

    // No row of that key and taxpayer: nothing written, false.
    TZel alheio = z;
    alheio.IdContribuinte = outro;
    alheio.valores.CredEntradas = R(1);
    EXPECT_FALSE(alheio.Alterar());
    EXPECT_EQ(valor("SELECT CredEntradas" + onde).toLongLong(), 7 * 2 + 30000);
    EXPECT_EQ(valor("SELECT IdContribuinte" + onde).toInt(), ativo);
    TZel inexistente = z;
    inexistente.IDZel = z.IDZel + 100;
    EXPECT_FALSE(inexistente.Alterar());
    EXPECT_FALSE(z.Excluir(z.IDZel + 100));

    EXPECT_TRUE(z.Excluir(z.IDZel));
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(z.IDZel)), 0);
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(outraLinha)), 1);
}

TEST_F(Zel, AlterarGravaONumeroDoReciboComoAPaginaOMostra)
{
    // A stored monthly delivery with its number, changed as the page leaves it: the row read back (and so the
    // file's record of the delivery) carries the page's number, never one kept from before.
    const struct {
        int tipo;
        const char* numero;
        const char* gravado; // nullptr: no number
    } casos[] = {
        {1, "", nullptr},                // first delivery after the start of activity carries no number
        {1, "   ", nullptr},
        {0, " NOVO ", "NOVO"},
        {2, "OUTRO", "OUTRO"},
        {-1, "", "RECIBO-ANTIGO"},        // no type: the three receipt columns stay as stored
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::to_string(c.tipo) + " [" + c.numero + "]");
        TZel z(*t.dtm);
        z.IdContribuinte = ativo;
        z.Periodo = "201106";
        z.Tipo = "N";
        z.NumRecibo = "RECIBO-ANTIGO";
        z.sitCadastroContrib = 0;
        ASSERT_TRUE(z.Incluir());
        z.sitCadastroContrib = c.tipo;
        z.NumRecibo = QString::fromLatin1(c.numero);
        z.dataSitCadastro = c.tipo == 1 ? QDate(2011, 5, 2) : QDate();
        ASSERT_TRUE(z.Alterar());
        const QVariant gravado = valor(QStringLiteral("SELECT NumRecibo FROM ZEL WHERE IDZel = %1").arg(z.IDZel));
        TZel lido(*t.dtm);
        ASSERT_TRUE(lido.CarregarId(z.IDZel, ativo));
        if (c.gravado) {
            EXPECT_EQ(gravado.toString(), QString::fromLatin1(c.gravado));
            EXPECT_EQ(lido.NumRecibo, QString::fromLatin1(c.gravado));
        } else {
            EXPECT_TRUE(gravado.isNull()) << gravado.toString().toStdString();
            EXPECT_TRUE(lido.NumRecibo.isEmpty()) << lido.NumRecibo.toStdString();
        }
        ASSERT_TRUE(z.Excluir(z.IDZel));
    }
}

TEST_F(Zel, LinhasAntigasListaEExistencia)
{
    // An older row: blanks around the texts, no delivery type, a date of 0, amounts never filled.
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas, ChqHabitacao, NumRecibo, "
            "sitCadastroContrib, dataSitCadastro) VALUES (1, '200512', 'N ', 5000000, 1200000, NULL, ' 12AB  ', NULL, 0)");
    const int antiga = int(ultimoId());
    TZel z(*t.dtm);
    ASSERT_TRUE(z.CarregarId(antiga, ativo));
    EXPECT_EQ(z.Tipo, "N");
    EXPECT_EQ(z.NumRecibo, "12AB");
    EXPECT_EQ(z.sitCadastroContrib, -1);
    EXPECT_FALSE(z.dataSitCadastro.isValid());
    EXPECT_EQ(z.valores.CredEntradas, R(50000));
    EXPECT_EQ(z.valores.ChqHabitacao, R(0));
    EXPECT_EQ(z.valores.CredOutros, R(0));
    EXPECT_EQ(z.totais.credTotal, R(50000));
    EXPECT_EQ(z.totais.debTotal, R(12000));

    zelDireto(ativo, "200602", "R");
    zelDireto(ativo, "200601");
    zelDireto(outro, "200603");
    TDataSet lista(*t.con);
    AbreListaZel(lista, ativo);
    QStringList periodos;
    for (lista.first(); !lista.eof(); lista.next())
        periodos << lista.asString("Periodo");
    EXPECT_EQ(periodos, QStringList({"200602", "200601", "200512"}));
    AbreListaZel(lista, ativo, true);
    periodos.clear();
    for (lista.first(); !lista.eof(); lista.next())
        periodos << lista.asString("Periodo");
    EXPECT_EQ(periodos, QStringList({"200512", "200601", "200602"}));

    EXPECT_TRUE(ExisteZel(*t.dtm, ativo, "200602")); // rectifying
    EXPECT_TRUE(ExisteZel(*t.dtm, ativo, "200601"));
    EXPECT_FALSE(ExisteZel(*t.dtm, ativo, "200603")); // the other taxpayer's
    EXPECT_FALSE(ExisteZel(*t.dtm, ativo, "200604"));
}

TEST_F(Zel, ContaDoProgramaDeGoverno)
{
    // Previous balance 100,00 + authorised 50,00 + in 0 - out 30,00 - appropriated 20,00 = 100,00 left;
    // the declaration's credit is 20,00 + 30,00.
    TZelCredGov h(*t.dtm);
    h.idContribuinte = ativo;
    h.periodo = "200607";
    h.tipoCheque = 1;
    h.sldPeriodoAnterior = R(10000);
    h.credAutorizado = R(5000);
    h.transfCredSaida = R(3000);
    h.valorApropriado = R(2000);
    EXPECT_EQ(h.saldoCalculado(), R(10000));
    EXPECT_EQ(h.credito(), R(5000));
    EXPECT_FALSE(h.todosZero());
    QString erro;
    ASSERT_TRUE(h.Incluir(&erro)) << erro.toStdString();
    EXPECT_TRUE(h.existe);
    ASSERT_GT(h.id, 0);
    const QString onde = QStringLiteral(" FROM ZEL_PRGGOV WHERE idZelProgGoverno = %1").arg(h.id);
    EXPECT_EQ(valor("SELECT sldRemanescente" + onde).toLongLong(), 1000000);
    EXPECT_EQ(valor("SELECT credAutorizado" + onde).toLongLong(), 500000);
    EXPECT_EQ(valor("SELECT transfCredSaida" + onde).toLongLong(), 300000);
    EXPECT_EQ(valor("SELECT valorApropriado" + onde).toLongLong(), 200000);
    EXPECT_EQ(valor("SELECT sldPeriodoAnterior" + onde).toLongLong(), 1000000);
    EXPECT_EQ(valor("SELECT tipoCheque" + onde).toInt(), 1);
    EXPECT_EQ(valor("SELECT periodo" + onde).toString(), "200607");

    // Received credit adds to the balance and is no credit of the declaration.
    TZelCredGov e(*t.dtm);
    e.idContribuinte = ativo;
    e.periodo = "200607";
    e.tipoCheque = 2;
    e.transfCredEntrada = D(123456);
    e.valorApropriado = D(23456);
    EXPECT_EQ(e.saldoCalculado(), D(100000));
    EXPECT_EQ(e.credito(), D(23456));
    ASSERT_TRUE(e.Incluir());

    // What an older version stored as remaining balance is replaced by the account's own result.
    executa(QStringLiteral("UPDATE ZEL_PRGGOV SET sldRemanescente = 999 WHERE idZelProgGoverno = %1").arg(h.id));
    TZelCredGov lido(*t.dtm);
    lido.idContribuinte = ativo;
    ASSERT_TRUE(lido.CarregaPeriodo("200607", 1));
    EXPECT_TRUE(lido.existe);
    EXPECT_EQ(lido.id, h.id);
    EXPECT_EQ(lido.sldPeriodoAnterior, R(10000));
    EXPECT_EQ(lido.credAutorizado, R(5000));
    EXPECT_EQ(lido.transfCredEntrada, R(0));
    EXPECT_EQ(lido.transfCredSaida, R(3000));
    EXPECT_EQ(lido.valorApropriado, R(2000));
    EXPECT_EQ(lido.sldRemanescente, R(10000));
    ASSERT_TRUE(lido.CarregaPeriodo("200607", 2));
    EXPECT_EQ(lido.id, e.id);
    EXPECT_EQ(lido.sldRemanescente, D(100000));

    // A stored row whose amounts are all set to 0 is written as zeros, the other row untouched.
    ASSERT_TRUE(lido.CarregaPeriodo("200607", 1));
    lido.sldPeriodoAnterior = lido.credAutorizado = lido.transfCredSaida = lido.valorApropriado = Money();
    lido.sldRemanescente = Money();
    EXPECT_TRUE(lido.todosZero());
    ASSERT_TRUE(lido.Alterar());
    for (const char* c : {"credAutorizado", "transfCredEntrada", "transfCredSaida", "valorApropriado",
                          "sldPeriodoAnterior", "sldRemanescente"})
        EXPECT_EQ(valor(QStringLiteral("SELECT %1").arg(QLatin1String(c)) + onde).toLongLong(), 0) << c;
    EXPECT_EQ(valor(QStringLiteral("SELECT sldRemanescente FROM ZEL_PRGGOV WHERE idZelProgGoverno = %1").arg(e.id))
                  .toLongLong(),
              100000);

    // A period with no row: nothing loaded, key 0.
    ASSERT_TRUE(lido.CarregaPeriodo("200608", 1));
    EXPECT_FALSE(lido.existe);
    EXPECT_EQ(lido.id, 0);
    EXPECT_TRUE(lido.todosZero());
    EXPECT_FALSE(lido.Alterar()) << "no key to update";

    EXPECT_TRUE(lido.Excluir(e.id));
    EXPECT_FALSE(lido.Excluir(e.id));
    EXPECT_EQ(conta("ZEL_PRGGOV"), 1);
}

TEST_F(Zel, SaldoAnteriorDoProgramaDeJaneiroEhOdeDezembroDoAnoAnterior)
{
    EXPECT_EQ(TZelCredGov::PeriodoAnterior("202401"), "202312");
    EXPECT_EQ(TZelCredGov::PeriodoAnterior("202410"), "202409");
    EXPECT_EQ(TZelCredGov::PeriodoAnterior("202412"), "202411");
    EXPECT_EQ(TZelCredGov::PeriodoAnterior("200001"), "199912");

    // December 2023's housing row ends with 80,00 (50 + 40 + 10 - 5 - 15), whatever it stored; the education
    // row with 7,00. The December of the same year, another taxpayer's December and another cheque's rows
    // are not it.
    const int dezembro = programa(ativo, "202312", 1, 500000, 400000, 100000, 50000, 150000, 0);
    programa(ativo, "202312", 2, 0, 70000, 0, 0, 0, 70000);
    programa(ativo, "202412", 1, 0, 9990000, 0, 0, 0, 9990000);
    programa(outro, "202312", 1, 0, 5550000, 0, 0, 0, 5550000);
    programa(ativo, "202309", 1, 0, 110000, 0, 0, 0, 110000);

    TZelCredGov h(*t.dtm);
    h.idContribuinte = ativo;
    EXPECT_EQ(h.SaldoAnterior("202401", 1), R(8000));
    // Left loaded with December's row.
    EXPECT_TRUE(h.existe);
    EXPECT_EQ(h.id, dezembro);
    EXPECT_EQ(h.periodo, "202312");
    EXPECT_EQ(h.tipoCheque, 1);
    EXPECT_EQ(h.credAutorizado, R(4000));

    TZelCredGov e(*t.dtm);
    e.idContribuinte = ativo;
    EXPECT_EQ(e.SaldoAnterior("202401", 2), R(700));
    EXPECT_EQ(e.SaldoAnterior("202310", 1), R(1100)); // October reads September
    EXPECT_EQ(e.SaldoAnterior("202403", 1), R(0));
    EXPECT_FALSE(e.existe);
    EXPECT_EQ(e.id, 0);
    EXPECT_EQ(e.SaldoAnterior("202501", 2), R(0)) << "December 2024 has only a housing row";

    TZelCredGov o(*t.dtm);
    o.idContribuinte = outro;
    EXPECT_EQ(o.SaldoAnterior("202401", 1), R(55500));
}

TEST_F(Zel, LeituraFalhaDeixaOObjetoIlegivelEAsGravacoesFalham)
{
    const int junho = programa(ativo, "200606", 1, 0, 100000, 0, 0, 0, 100000);
    TZelCredGov h(*t.dtm);
    h.idContribuinte = ativo;
    ASSERT_TRUE(h.CarregaPeriodo("200606", 1));
    ASSERT_EQ(h.id, junho);

    // The table cannot be read: the object forgets June's key and values and refuses to write.
    executa("ALTER TABLE ZEL_PRGGOV RENAME TO ZEL_PRGGOV_FORA");
    QString erro;
    EXPECT_FALSE(h.CarregaPeriodo("200607", 1, &erro));
    EXPECT_FALSE(erro.isEmpty());
    executa("ALTER TABLE ZEL_PRGGOV_FORA RENAME TO ZEL_PRGGOV");
    EXPECT_TRUE(h.ilegivel);
    EXPECT_FALSE(h.existe);
    EXPECT_EQ(h.id, 0);
    EXPECT_EQ(h.periodo, "200607");
    h.credAutorizado = R(777);
    EXPECT_FALSE(h.Alterar());
    EXPECT_FALSE(h.Incluir());
    EXPECT_EQ(conta("ZEL_PRGGOV"), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT credAutorizado FROM ZEL_PRGGOV WHERE idZelProgGoverno = %1").arg(junho))
                  .toLongLong(),
              100000);

    // Even with the key put back by hand, the object holds nothing it can write.
    h.id = junho;
    EXPECT_FALSE(h.Alterar());
    EXPECT_EQ(valor(QStringLiteral("SELECT credAutorizado FROM ZEL_PRGGOV WHERE idZelProgGoverno = %1").arg(junho))
                  .toLongLong(),
              100000);

    // The same through SaldoAnterior: 0, and unreadable.
    TZelCredGov s(*t.dtm);
    s.idContribuinte = ativo;
    executa("ALTER TABLE ZEL_PRGGOV RENAME TO ZEL_PRGGOV_FORA");
    EXPECT_EQ(s.SaldoAnterior("200607", 1), R(0));
    executa("ALTER TABLE ZEL_PRGGOV_FORA RENAME TO ZEL_PRGGOV");
    EXPECT_TRUE(s.ilegivel);
    EXPECT_FALSE(s.Incluir());

    // A read that works again makes it writable again.
    ASSERT_TRUE(h.CarregaPeriodo("200607", 1));
    EXPECT_FALSE(h.ilegivel);
    h.credAutorizado = R(777);
    EXPECT_TRUE(h.Incluir());
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '200607'"), 1);
}

TEST_F(Zel, ExcluiZelLevaOsDoisProgramasDoPeriodoESoEles)
{
    const int janeiro = zelDireto(ativo, "202401");
    const int fevereiro = zelDireto(ativo, "202402");
    programa(ativo, "202401", 1, 0, 10000, 0, 0, 0, 10000);
    programa(ativo, "202401", 2, 0, 20000, 0, 0, 0, 20000);
    programa(ativo, "202402", 1, 0, 30000, 0, 0, 0, 30000);
    programa(ativo, "202402", 2, 0, 40000, 0, 0, 0, 40000);
    programa(outro, "202401", 1, 0, 50000, 0, 0, 0, 50000);
    programa(outro, "202401", 2, 0, 60000, 0, 0, 0, 60000);

    QString mensagem;
    ASSERT_TRUE(ExcluiZel(*t.dtm, janeiro, ativo, "202401", &mensagem)) << mensagem.toStdString();
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(janeiro)), 0);
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(fevereiro)), 1);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE idContribuinte = 1 AND periodo = '202401'"), 0);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE idContribuinte = 1 AND periodo = '202402'"), 2);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE idContribuinte = 2 AND periodo = '202401'"), 2);

    // A period with only its education row, and one with none.
    executa("DELETE FROM ZEL_PRGGOV WHERE idContribuinte = 1 AND periodo = '202402' AND tipoCheque = 1");
    ASSERT_TRUE(ExcluiZel(*t.dtm, fevereiro, ativo, "202402", &mensagem)) << mensagem.toStdString();
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE idContribuinte = 1"), 0);
    const int marco = zelDireto(ativo, "202403");
    ASSERT_TRUE(ExcluiZel(*t.dtm, marco, ativo, "202403", &mensagem)) << mensagem.toStdString();
    EXPECT_EQ(conta("ZEL WHERE IdContribuinte = 1"), 0);
    EXPECT_EQ(conta("ZEL_PRGGOV"), 2);
}

TEST_F(Zel, ExcluiZelQueFalhaNaoApagaNada)
{
    const int janeiro = zelDireto(ativo, "202401");
    programa(ativo, "202401", 1, 0, 10000, 0, 0, 0, 10000);
    programa(ativo, "202401", 2, 0, 20000, 0, 0, 0, 20000);

    // The education row refuses its deletion after the declaration and the housing row are gone: both
    // come back.
    executa("CREATE TRIGGER recusa_programa BEFORE DELETE ON ZEL_PRGGOV WHEN OLD.tipoCheque = 2 "
            "BEGIN SELECT RAISE(ABORT, 'exclusão recusada'); END");
    QString mensagem;
    EXPECT_FALSE(ExcluiZel(*t.dtm, janeiro, ativo, "202401", &mensagem));
    EXPECT_EQ(mensagem, kErroCreditos);
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(janeiro)), 1);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '202401' AND tipoCheque = 1"), 1);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '202401' AND tipoCheque = 2"), 1);
    executa("DROP TRIGGER recusa_programa");

    // The programme table cannot be read: the declaration stays.
    executa("ALTER TABLE ZEL_PRGGOV RENAME TO ZEL_PRGGOV_FORA");
    mensagem.clear();
    EXPECT_FALSE(ExcluiZel(*t.dtm, janeiro, ativo, "202401", &mensagem));
    executa("ALTER TABLE ZEL_PRGGOV_FORA RENAME TO ZEL_PRGGOV");
    EXPECT_EQ(mensagem, kErroCreditos);
    EXPECT_EQ(conta(QStringLiteral("ZEL WHERE IDZel = %1").arg(janeiro)), 1);

    // No declaration of that key: its message, and the programme rows are not touched.
    mensagem.clear();
    EXPECT_FALSE(ExcluiZel(*t.dtm, janeiro + 100, ativo, "202401", &mensagem));
    EXPECT_EQ(mensagem, kErroApuracao);
    EXPECT_EQ(conta("ZEL_PRGGOV"), 2);

    // And once nothing refuses, everything goes, so the failures left no half-open transaction.
    ASSERT_TRUE(ExcluiZel(*t.dtm, janeiro, ativo, "202401", &mensagem)) << mensagem.toStdString();
    EXPECT_EQ(conta("ZEL"), 0);
    EXPECT_EQ(conta("ZEL_PRGGOV"), 0);
}

TEST_F(Zel, ProcessaDeJaneiroTomaOsDocumentosEOSaldoDeDezembro)
{
    // January 2024 of taxpayer 1, worked out by hand:
    //   1  = 70,00 (the purchase from another state)      3  = 15,00 (the 1601 entry)
    //   11 = 1.000,00 + 250,00 before field 18             12 = 40,00 (the 5601 exit)
    //   02 = 33,3333 (retained on the purchase from SP)    04 = 500,00, 05 = 200,00 (the two sales' lines)
    // A sale of January 2023 and one of February 2024 count nowhere.
    executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 4, '2024-01-05', 'E', '01', '1', '', '000101', '2102', 'T', 10000000, 'N', '2024-01-05'),"
            "(2, 1, 3, '2024-01-06', 'E', '01', '1', '', '000102', '1601', 'T', 1000000, 'N', '2024-01-06'),"
            "(3, 1, 3, '2024-01-10', 'S', '01', '1', '', '000001', '5102', 'P', 60000000, 'N', '2024-01-10'),"
            "(4, 1, 3, '2024-01-11', 'S', '01', '1', '', '000002', '5405', 'P', 20000000, 'N', '2024-01-11'),"
            "(5, 1, 3, '2024-01-12', 'S', '01', '1', '', '000003', '5601', 'P', 3000000, 'N', '2024-01-12'),"
            "(6, 1, 3, '2023-01-10', 'S', '01', '1', '', '000004', '5102', 'P', 90000000, 'N', '2023-01-10'),"
            "(7, 1, 3, '2024-02-01', 'S', '01', '1', '', '000005', '5102', 'P', 90000000, 'N', '2024-02-01')");
    executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 10000000, 700000, 0, 0, '0700'), (2, 1000000, 150000, 0, 0, '1500'), "
            "(3, 60000000, 10000000, 0, 0, '1700'), (4, 20000000, 2500000, 0, 0, '1250'), "
            "(5, 3000000, 400000, 0, 0, '1300'), (6, 90000000, 9990000, 0, 0, '1700'), "
            "(7, 90000000, 9990000, 0, 0, '1700')");
    executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 2000000, 333333, 0, ''), (3, 30000000, 5000000, 0, '1'), (4, 10000000, 2000000, 0, '5'), "
            "(6, 10000000, 7770000, 0, '1')");
    // December 2023 ends with 300 + 10 + 20 + 50 = 380,00 of credit against 250 + 30 = 280,00 of debit: 100,00
    // carried. The December of 2024 and the other taxpayer's December are not it.
    TApuracaoNormal dez;
    dez.c1 = R(30000);
    dez.presumido[0] = R(1000);
    dez.chqEducacao = R(2000);
    dez.c9 = R(5000);
    dez.debitoSaidas = R(25000);
    dez.d13 = R(3000);
    ASSERT_EQ(dez.s16(), R(10000));
    TZel z(*t.dtm);
    z.IdContribuinte = ativo;
    z.Periodo = "202312";
    z.Tipo = "N";
    z.valores = dez.valores();
    ASSERT_TRUE(z.Incluir());
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas) VALUES (1, '202412', 'N', 99990000), "
            "(2, '202312', 'N', 88880000)");
    EXPECT_EQ(SaldoCredorAnterior(*t.con, ativo, 1, 2024), R(10000));

    // A January declaration loaded for a change: 2 = 7,00, 01 = 100,00, 18 = 100,00, 09 = 100,00 and
    // 10 = 40,00 as typed, and old figures in the fields "Processa" fills.
    TValoresZel guardado;
    guardado.CredAtivoImob = R(700);
    guardado.CredTransferencia = R(99900);
    guardado.CredEntradas = R(99900);
    guardado.CredSaldoAnterior = R(99900);
    guardado.DebSaidas = R(90000);
    guardado.MirvelIcms = R(10000);
    guardado.SubstEnt_JR = R(2000);
    guardado.SubstEnt_AR = R(8000);
    guardado.SubstSai_AR = R(40000);
    guardado.MirvelSubSaida = R(10000);
    guardado.SubstSai_JR = R(16000);
    guardado.MirvelRegFonte = R(4000);
    TApuracaoNormal a = TApuracaoNormal::DaLinha(guardado);
    ASSERT_EQ(a.s01, R(10000));
    ProcessaNormal(*t.con, ativo, 1, 2024, a);

    EXPECT_EQ(a.c1, R(7000));
    EXPECT_EQ(a.c3, R(1500));
    EXPECT_EQ(a.c9, R(10000));
    EXPECT_EQ(a.debitoSaidas, R(125000));
    EXPECT_EQ(a.d12, R(4000));
    EXPECT_EQ(a.s02, D(333333));
    EXPECT_EQ(a.substSaidas, R(50000));
    EXPECT_EQ(a.substFonte, R(20000));
    // The typed fields stay, and the loaded deductions apply again to the new gross figures.
    EXPECT_EQ(a.c2, R(700));
    EXPECT_EQ(a.s01, R(10000));
    EXPECT_EQ(a.m18, R(10000));
    EXPECT_EQ(a.m09, R(10000));
    EXPECT_EQ(a.m10, R(4000));
    EXPECT_EQ(a.d11(), R(115000));
    EXPECT_EQ(a.s04(), R(40000));
    EXPECT_EQ(a.s05(), R(16000));
    EXPECT_EQ(a.s06(), R(56000));
    // 03 = 100,00 - 33,3333; 8 = 70 + 7 + 15; 10 = 192,00; 15 = 1.150 + 40; 17 = 998,00.
    EXPECT_EQ(a.s03(), D(666667));
    EXPECT_EQ(a.c8(), R(9200));
    EXPECT_EQ(a.c10(), R(19200));
    EXPECT_EQ(a.d15(), R(119000));
    EXPECT_EQ(a.s17(), R(99800));
    EXPECT_EQ(a.s16(), R(0));
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    const TValoresZel v = a.valores();
    EXPECT_EQ(v.DebSaidas, R(115000));
    EXPECT_EQ(v.SubstSai_AR, R(40000));
    EXPECT_EQ(v.SubstSai_JR, R(16000));
    EXPECT_EQ(v.SubstEnt_AR, D(666667));
    EXPECT_EQ(v.CredSaldoAnterior, R(10000));
}

} // namespace

// The return file knows the delivery codes 0 to 3 only: neither row of a declaration with a delivery page stores
// any other, on inclusion or on change.
TEST_F(Zel, TipoDeEntregaForaDaTabelaNaoSeGrava)
{
    for (int tipo : {4, 7, 9}) {
        SCOPED_TRACE(tipo);
        QString erro;
        TZel z(*t.dtm);
        z.IdContribuinte = ativo;
        z.Periodo = "201106";
        z.Tipo = "N";
        z.sitCadastroContrib = tipo;
        EXPECT_FALSE(z.Incluir(&erro));
        EXPECT_TRUE(erro.contains(QString::fromUtf8("os tipos vão de 0 a 3"))) << erro.toStdString();
        z.sitCadastroContrib = 0;
        ASSERT_TRUE(z.Incluir());
        z.sitCadastroContrib = tipo;
        EXPECT_FALSE(z.Alterar(&erro));
        EXPECT_EQ(valor(QStringLiteral("SELECT sitCadastroContrib FROM ZEL WHERE IDZel = %1").arg(z.IDZel)).toInt(), 0);
        ASSERT_TRUE(z.Excluir(z.IDZel));

        TZelSN sn(*t.dtm);
        sn.IdContribuinte = ativo;
        sn.Periodo = "201106";
        sn.Tipo = "N";
        sn.sitCadastroContrib = tipo;
        EXPECT_FALSE(sn.Incluir(QDateTime(QDate(2011, 7, 1), QTime(9, 0)), &erro));
        EXPECT_EQ(valor("SELECT COUNT(*) FROM ZEL_SN").toInt(), 0);
    }
}
