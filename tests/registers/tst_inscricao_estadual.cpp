#include "registers/untInscricaoEstadual.h"
#include "support/TDialogosRoteiro.h" // readable QString output on failures

#include <gtest/gtest.h>

#include <vector>

// Valid numbers are the tax authorities' own examples ("authority") or numbers worked out by hand, the weighted
// sum and its remainder written beside them. Every valid number is also checked with each of its check digits
// replaced by the nine other figures, all of which must be refused.

namespace {

struct CasosUF {
    const char* uf;
    int digitosVerificadores; // the last N figures of each valid number are check digits
    std::vector<const char*> validas;
    std::vector<const char*> invalidas;
};

QString q(const char* s)
{
    return QString::fromUtf8(s);
}

// Every other figure in the check digit at `posicao` of `ie` (which may carry separators) must be refused.
void esperaTrocasRecusadas(const QString& ie, qsizetype posicao, const QString& uf)
{
    for (char c = '0'; c <= '9'; ++c) {
        QString trocado = ie;
        if (trocado[posicao] == QLatin1Char(c))
            continue;
        trocado[posicao] = QLatin1Char(c);
        EXPECT_NE(ConsisteInscricaoEstadual(trocado, uf), IE_VALIDA) << uf.toStdString() << " " << trocado.toStdString();
    }
}

const std::vector<CasosUF> casos = {
    {"AC", 2,
     {"01.004.823/001-12", // authority
      "0100000000082",     // 1st: 1*3 = 3, r 3 -> 8; 2nd: 1*4 + 8*2 = 20, r 9 -> 2
      "0100000002700"},    // 1st: 1*3 + 2*3 + 7*2 = 23, r 1 -> 0; 2nd: 1*4 + 2*4 + 7*3 = 33, r 0 -> 0
     {"0200482300194",     // opening 02, check digits right
      "010048230011", "01004823001120"}},
    {"AL", 1,
     {"24000004-8", // authority
      "243000014",  // rural producer: 18 + 32 + 21 + 2 = 73, r 7 -> 4
      "248123459"}, // 18 + 32 + 56 + 6 + 10 + 12 + 12 + 10 = 156, r 2 -> 9
     {"250000040", "24000004", "2400000480"}},
    {"AP", 1,
     {"03.012.345-9", // authority
      "030170007",    // last of 1st range: 24 + 6 + 35 = 65, + p 5 = 70, r 4 -> 7
      "030000020",    // 1st range: 24 + 4 = 28, + 5 = 33, r 0 -> "11" -> d 0
      "030170011",    // first of 2nd range: 24 + 6 + 35 + 2 = 67, + p 9 = 76, r 10 -> 1
      "030170071",    // 2nd range: 24 + 6 + 35 + 14 = 79, + 9 = 88, r 0 -> "11" -> d 1
      "030190225",    // last of 2nd range: 24 + 6 + 45 + 6 + 4 = 85, + 9 = 94, r 6 -> 5
      "030190231",    // first of 3rd range: 24 + 6 + 45 + 6 + 6 = 87, + p 0, r 10 -> 1
      "030190240"},   // 3rd range: 24 + 6 + 45 + 6 + 8 = 89, r 1 -> "10" -> 0
     {"040123456",    // opening 04, the digit the 3rd range would give
      "03012345", "0301234590"}},
    {"AM", 1,
     {"99.999.999-0", // authority
      "041234561"},   // 32 + 7 + 12 + 15 + 16 + 15 + 12 = 109, r 10 -> 1
     {"99999999", "9999999900"}},
    {"BA", 2,
     {"123456-63",  // authority, 8 digits, modulus 10
      "612345-57",  // authority, 8 digits, modulus 11
      "1000003-06", // authority, 9 digits, modulus 10
      "76123446",   // modulus 11: last: 49 + 36 + 5 + 8 + 9 + 8 = 115, r 5 -> 6;
                    // 7th: 56 + 42 + 6 + 10 + 12 + 12 + 6*2 = 150, r 7 -> 4
      "91234518",   // modulus 11: last: 63 + 6 + 10 + 12 + 12 + 10 = 113, r 3 -> 8;
                    // 7th: 72 + 7 + 12 + 15 + 16 + 15 + 8*2 = 153, r 10 -> 1
      "81234534",   // modulus 10: last: 56 + 6 + 10 + 12 + 12 + 10 = 106, r 6 -> 4;
                    // 7th: 64 + 7 + 12 + 15 + 16 + 15 + 4*2 = 137, r 7 -> 3
      "061234557",  // 2nd digit 6, modulus 11: last: 42 + 6 + 10 + 12 + 12 + 10 = 92, r 4 -> 7;
                    // 8th: 54 + 7 + 12 + 15 + 16 + 15 + 7*2 = 127, r 6 -> 5
      "600000130",  // 2nd digit 0, modulus 10: last: 48 + 2 = 50, r 0 -> 0; 8th: 54 + 3 + 0 = 57, r 7 -> 3
      "791234567"}, // modulus 11: last: 56 + 63 + 6 + 10 + 12 + 12 + 10 = 169, r 4 -> 7;
                    // 8th: 63 + 72 + 7 + 12 + 15 + 16 + 15 + 7*2 = 214, r 5 -> 6
     {"61234518",   // the digits modulus 10 would give to a number opening with 6
      "1234566", "1000003060"}},
    {"CE", 1,
     {"06000001-5", // authority
      "061234567"}, // 48 + 7 + 12 + 15 + 16 + 15 + 12 = 125, r 4 -> 7
     {"06000001", "0600000150"}},
    {"DF", 2,
     {"07.300.001/001-09", // authority
      "0701234567808"},    // 1st: 21 + 9 + 16 + 21 + 24 + 25 + 24 + 21 + 16 = 177, r 1 -> 0;
                           // 2nd: 28 + 2 + 18 + 24 + 28 + 30 + 30 + 28 + 24 + 0 = 212, r 3 -> 8
     {"073000010010", "07300001001090"}},
    {"ES", 1,
     {"99999999-0", // authority
      "081234562"}, // 64 + 7 + 12 + 15 + 16 + 15 + 12 = 141, r 9 -> 2
     {"99999999", "9999999900"}},
    {"GO", 1,
     {"10.987.654-7", // authority
      "101031051",    // first of the special range: 9 + 7 + 15 + 4 + 10 = 45, r 1 -> 1
      "101199971",    // last of the special range: 9 + 7 + 6 + 45 + 36 + 27 + 14 = 144, r 1 -> 1
      "100000070",    // below the range: 9 + 14 = 23, r 1 -> 0
      "101200030",    // above the range: 9 + 7 + 12 + 6 = 34, r 1 -> 0
      "150000006"},   // 9 + 40 = 49, r 5 -> 6
     {"10987654", "1098765470"}},
    {"MA", 1,
     {"12000038-5", // authority
      "123456789"}, // 9 + 16 + 21 + 24 + 25 + 24 + 21 + 16 = 156, r 2 -> 9
     {"130000388", "12000038", "1200003850"}},
    {"MT", 1,
     {"0013000001-9", // authority
      "13.000.001-9", // the same without its leading zeros
      "00131234560",  // 9 + 24 + 7 + 12 + 15 + 16 + 15 + 12 = 110, r 0 -> 0
      "0131234560"},
     {"13000019", "001300000190"}},
    {"MS", 1,
     {"283123451",  // 18 + 64 + 21 + 6 + 10 + 12 + 12 + 10 = 153, r 10 -> 1
      "500123454"}, // 45 + 6 + 10 + 12 + 12 + 10 = 95, r 7 -> 4
     {"293123454", "28312345", "2831234510"}},
    {"MG", 2,
     {"062.307.904/0081", // authority
      "3130000010006"},   // 1st: 313 0 00000100 by 1,2,1,2...: 3 + 2 + 3 + 2 = 10 -> 0;
                          // 2nd: 9 + 2 + 33 + 5 = 49, r 5 -> 6
     {"062307904008", "06230790400810"}},
    {"PA", 1,
     {"15-999999-5", // authority
      "151234566"},  // 9 + 40 + 7 + 12 + 15 + 16 + 15 + 12 = 126, r 5 -> 6
     {"15999999", "1599999950"}},
    {"PB", 1,
     {"06000001-5", // authority
      "161234569"}, // 9 + 48 + 7 + 12 + 15 + 16 + 15 + 12 = 134, r 2 -> 9
     {"06000001", "0600000150"}},
    {"PR", 2,
     {"123.45678-50", // authority
      "4101234520"},  // 1st: 12 + 2 + 6 + 10 + 12 + 12 + 10 = 64, r 9 -> 2;
                      // 2nd: 16 + 3 + 7 + 12 + 15 + 16 + 15 + 2*2 = 88, r 0 -> 0
     {"123456785", "12345678500"}},
    {"PE", 2,
     {"0321418-40", // authority, eFisco
      "012345601"}, // 1st: 7 + 12 + 15 + 16 + 15 + 12 = 77, r 0 -> 0; 2nd: 8 + 14 + 18 + 20 + 20 + 18 = 98, r 10 -> 1
     {"03214184", "0321418400"}},
    {"PE", 1,
     {"18.1.001.0000004-9", // authority, old format
      "18100100000031",     // 5 + 32 + 3 + 9 + 6 = 55, r 0 -> 11 - 10 = 1
      "18100100000090"},    // 5 + 32 + 3 + 9 + 18 = 67, r 1 -> 10 - 10 = 0
     {"1810010000004", "181001000000490"}},
    {"PI", 1,
     {"012345679",  // 8 + 14 + 18 + 20 + 20 + 18 + 14 = 112, r 2 -> 9
      "193016567"}, // 9 + 72 + 21 + 5 + 24 + 15 + 12 = 158, r 4 -> 7
     {"01234567", "0123456790"}},
    {"RJ", 1,
     {"99.999.99-3", // authority
      "12345674",    // 2 + 14 + 18 + 20 + 20 + 18 + 14 = 106, r 7 -> 4
      "81000000"},   // 16 + 7 = 23, r 1 -> 0
     {"9999999", "999999930"}},
    {"RN", 1,
     {"20.040.040-1",   // authority, 9 digits
      "20.0.040.040-0", // authority, 10 digits
      "201234564",      // 18 + 7 + 12 + 15 + 16 + 15 + 12 = 95, r 7 -> 4
      "2012345670"},    // 20 + 8 + 14 + 18 + 20 + 20 + 18 + 14 = 132, r 0 -> 0
     {"210400404", "2100400401", "20040040", "20004004000"}},
    {"RS", 1,
     {"224/3658792", // authority
      "0960001328"}, // 81 + 48 + 4 + 9 + 4 = 146, r 3 -> 8
     {"224365879", "22436587920"}},
    {"RO", 1,
     {"101.62521-3",      // authority, old 9 digits
      "0000000062521-3",  // authority, 14 digits
      "101123561",        // 6 + 10 + 12 + 15 + 12 = 55, r 0 -> 11 - 10 = 1
      "101123480",        // 6 + 10 + 12 + 12 + 16 = 56, r 1 -> 10 - 10 = 0
      "12345678901231",   // 6 + 10 + 12 + 12 + 10 + 54 + 56 + 56 + 54 + 0 + 4 + 6 + 6 = 286, r 0 -> 1
      "12345678901290"},  // the same with 9 for the 13th digit: 286 - 6 + 18 = 298, r 1 -> 0
     {"10162521", "1016252130", "0000000062521", "000000006252130"}},
    {"RR", 1,
     {"24006628-1", "24001755-6", "24003429-0", "24001360-3", "24008266-8", // authority
      "24006153-6", "24007356-2", "24004145-5", "24001340-7"},
     {"250066283", // opening 25, the modulus 9 digit right
      "24006628", "2400662810"}},
    {"SC", 1,
     {"251.040.852", // authority
      "251234568"},  // 18 + 40 + 7 + 12 + 15 + 16 + 15 + 12 = 135, r 3 -> 8
     {"25104085", "2510408520"}},
    {"SE", 1,
     {"27123456-3", // authority
      "270000011"}, // 18 + 56 + 2 = 76, r 10 -> 1
     {"27123456", "2712345630"}},
    {"TO", 1,
     {"2901022783-6",   // authority (29 01 022783-6), 11 digits
      "29021234569",    // type 02: 18 + 72 + 7 + 12 + 15 + 16 + 15 + 12 = 167, r 2 -> 9
      "29031234569", "29991234569",
      "291234569"},     // 9 digits, the same sum
     {"29040227836", "29000227836", // types 04 and 00, check digit right
      "2901022783", "290102278360", "29123456", "2912345690"}},
    // Home state: 9 digits, weights 9..2, 11 - remainder, remainders 0 and 1 giving 0.
    {"ZR", 1,
     {"123456789",  // 9 + 16 + 21 + 24 + 25 + 24 + 21 + 16 = 156, r 2 -> 9
      "100000010",  // 9 + 2 = 11, r 0 -> 0
      "100000070"}, // 9 + 14 = 23, r 1 -> 0
     {"12345678", "1234567890"}},
};

class InscricaoEstadualUF : public testing::TestWithParam<CasosUF> {};

TEST_P(InscricaoEstadualUF, ValidasERecusaDigitoTrocado)
{
    const CasosUF& c = GetParam();
    const QString uf = q(c.uf);
    for (const char* texto : c.validas) {
        const QString ie = q(texto);
        EXPECT_EQ(ConsisteInscricaoEstadual(ie, uf), IE_VALIDA) << c.uf << " " << texto;
        for (int k = 1; k <= c.digitosVerificadores; ++k)
            esperaTrocasRecusadas(ie, ie.size() - k, uf);
    }
}

TEST_P(InscricaoEstadualUF, InvalidasPorTamanhoOuInicio)
{
    const CasosUF& c = GetParam();
    for (const char* texto : c.invalidas)
        EXPECT_EQ(ConsisteInscricaoEstadual(q(texto), q(c.uf)), IE_INVALIDA) << c.uf << " " << texto;
}

INSTANTIATE_TEST_SUITE_P(Estados, InscricaoEstadualUF, testing::ValuesIn(casos),
                         [](const testing::TestParamInfo<CasosUF>& info) {
                             return std::string(info.param.uf) + "_" + std::to_string(info.index);
                         });

// Every federative unit has a rule; one missing from the table above would go unnoticed there.
TEST(InscricaoEstadual, TodasAsUnidadesTemRegra)
{
    const QStringList ufs = {"AC", "AL", "AP", "AM", "BA", "CE", "DF", "ES", "GO", "MA", "MT", "MS", "MG", "PA",
                             "PB", "PR", "PE", "PI", "RJ", "RN", "RS", "RO", "RR", "SC", "SP", "SE", "TO", "ZR"};
    for (const QString& uf : ufs)
        EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("1"), uf), IE_INVALIDA) << uf.toStdString();
}

TEST(InscricaoEstadualSP, IndustriaComercioEProdutorRural)
{
    const QString sp = QStringLiteral("SP");
    // Authority: industry and commerce; rural producer.
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("110.042.490.114"), sp), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("P-01100424.3/002"), sp), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("p011004243002"), sp), IE_VALIDA);
    // 9th: 1 + 6 + 12 + 20 + 30 + 42 + 56 + 80 = 247, r 5 -> 5;
    // 12th: 3 + 4 + 30 + 36 + 40 + 42 + 42 + 40 + 20 + 3 + 4 = 264, r 0 -> 0.
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("123456785120"), sp), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("P123456785001"), sp), IE_VALIDA);

    for (const QString& ie : {QStringLiteral("110042490114"), QStringLiteral("123456785120")}) {
        esperaTrocasRecusadas(ie, 8, sp);
        esperaTrocasRecusadas(ie, 11, sp);
    }
    esperaTrocasRecusadas(QStringLiteral("P011004243002"), 9, sp);
    esperaTrocasRecusadas(QStringLiteral("P123456785001"), 9, sp);

    for (const char* texto : {"11004249011", "1100424901140", "P01100424300", "P0110042430020", "01100424P3002",
                              "PP011004243002", "P", "X011004243002"})
        EXPECT_EQ(ConsisteInscricaoEstadual(q(texto), sp), IE_INVALIDA) << texto;
    // The "P" belongs to São Paulo alone.
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("P251040852"), QStringLiteral("SC")), IE_INVALIDA);
}

TEST(InscricaoEstadualGO, NumeroEmitidoComDoisDigitos)
{
    // 9 + 8 + 54 + 20 + 16 + 4 = 111, r 1: the rule gives 0, and 1 was issued too.
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("110944020"), QStringLiteral("GO")), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("110944021"), QStringLiteral("GO")), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("110944022"), QStringLiteral("GO")), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("110944029"), QStringLiteral("GO")), IE_INVALIDA);
}

TEST(InscricaoEstadual, TextoDigitadoLimpo)
{
    const QString ce = QStringLiteral("CE");
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("  06.000.001-5\t"), ce), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("06/000/001.5"), ce), IE_VALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("060000015"), QStringLiteral(" ce ")), IE_VALIDA);

    // Anything but digits and the three separators spoils the number, blanks inside included.
    for (const char* texto : {"0600 00015", "06,000,001-5", "06000001_5", "A60000015", "06000001-5X", "06000001+5",
                              "06000001٥", "０６０００００１５"})
        EXPECT_EQ(ConsisteInscricaoEstadual(q(texto), ce), IE_INVALIDA) << texto;

    for (const char* texto : {"", "   ", "-", "./-"})
        EXPECT_EQ(ConsisteInscricaoEstadual(q(texto), ce), IE_INVALIDA) << texto;
    EXPECT_EQ(ConsisteInscricaoEstadual(QString(), ce), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QString(1'000'000, QLatin1Char('1')), ce), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QString(1'000'000, QLatin1Char('.')) + QStringLiteral("060000015"), ce),
              IE_INVALIDA);
}

TEST(InscricaoEstadual, ZerosNaoSaoInscricao)
{
    // The plain rules would take these: zero sums give digit 0.
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("000000000"), QStringLiteral("CE")), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("000.000.000"), QStringLiteral("ZR")), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("00000000000"), QStringLiteral("MT")), IE_INVALIDA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("P000000000000"), QStringLiteral("SP")), IE_INVALIDA);
}

TEST(InscricaoEstadual, UnidadeSemRegra)
{
    // A number valid at home is still refused for abroad and for codes that are no unit.
    ASSERT_EQ(ConsisteInscricaoEstadual(QStringLiteral("123456789"), QStringLiteral("ZR")), IE_VALIDA);
    for (const char* uf : {"EX", "ex", "XX", "", " ", "Z", "ZRR", "BR"})
        EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("123456789"), q(uf)), IE_UF_SEM_REGRA) << uf;
    EXPECT_EQ(ConsisteInscricaoEstadual(QString(), QStringLiteral("EX")), IE_UF_SEM_REGRA);
    EXPECT_EQ(ConsisteInscricaoEstadual(QStringLiteral("123456789"), QStringLiteral("zr")), IE_VALIDA);
}

} // namespace
