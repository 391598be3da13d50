// The state's records 88: every sub-type pinned position by position against lines built by hand, each
// condition on both sides of its threshold, their order, and the values the layout cannot carry; then the
// declaration read from the database and the whole file around it.
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/untRelogio.h"
#include "output/untGeradorArquivo.h"
#include "output/untRegistros88.h"
#include "output/untVerificaArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"

using namespace Registros;

namespace {

QString esp(int n) { return QString(n, QLatin1Char(' ')); }
QString zeros(int n) { return QString(n, QLatin1Char('0')); }
// An amount of `centavos` as an amount field of `largura` digits.
QString v(qint64 centavos, int largura) { return QString::number(centavos).rightJustified(largura, QLatin1Char('0')); }
Money c(qint64 centavos) { return Money::fromCents(centavos); }

TDeclaracaoArquivo base(int tipo, const QString& periodo, const QString& regime)
{
    TDeclaracaoArquivo d;
    d.tipoDeclaracao = tipo;
    d.periodo = periodo;
    d.letraTipo = QStringLiteral("N");
    d.regime = regime;
    d.ie = QStringLiteral("123456789");
    d.email = QStringLiteral("fiscal@exemplo.com.br");
    d.recibo.tipoEntrega = 1;
    return d;
}

TDeclaracaoArquivo normal(const QString& periodo = QStringLiteral("200607"))
{
    TDeclaracaoArquivo d = base(1, periodo, QStringLiteral("1"));
    TValoresZel& z = d.zel;
    z.CredEntradas = c(123456);
    z.CredAtivoImob = c(2);
    z.CredTransferencia = c(3);
    z.CredIcms_JR = c(4);
    z.CredIcms_AR = c(5);
    z.CredOutros = c(6);
    z.CredEstornoDeb = c(7);
    z.CredSaldoAnterior = c(8);
    z.DebSaidas = c(11);
    z.DebTransfCredAc = c(12);
    z.DebOutros = c(13);
    z.DebEstornoCred = c(14);
    z.SubstEnt_JR = c(15);
    z.SubstEnt_AR = c(16);
    z.SubstSai_JR = c(17);
    z.SubstSai_AR = c(18);
    z.DifAliquota = c(21);
    z.ImpOutraUF = c(22);
    z.OutrosRegEspec = c(31);
    z.Tare = c(32);
    z.PrevRicms = c(33);
    z.Dorq = c(34);
    z.ChqHabitacao = c(35);
    z.ChqEducacao = c(36);
    z.MirvelIcms = c(41);
    z.MirvelSubSaida = c(42);
    z.MirvelSubEntrada = c(43);
    z.MirvelRegFonte = c(44);
    z.MirvelDifAliq = c(45);
    return d;
}

TDeclaracaoArquivo epp(const QString& periodo)
{
    TDeclaracaoArquivo d = base(2, periodo, QStringLiteral("7"));
    TEppArquivo& e = d.epp;
    e.RecApurada = c(1000000);
    e.MediaEntradas = c(200000);
    e.RecEfetiva = c(1000001);
    e.Perc_Recolh = 1.5;
    e.Imp_Devido = c(15000);
    e.Num_Empreg = 12;
    e.CredEmpreg = 10;
    e.TotalAquis = c(300000);
    e.Aquis_Inter = c(100000);
    e.Cred_Aq_Inter = 5;
    e.Perc_Cred_Pres = 15;
    e.Cred_Presumido = c(2250);
    e.Imp_Recolher = c(12750);
    e.Subs_EntJR = c(101);
    e.Subs_EntAR = c(102);
    e.ICMS_SubsSaida = c(103);
    e.ICMS_RetFonte = c(104);
    e.Cred_TEF_ECF = c(201);
    e.Chq_Moradia = c(202);
    e.Chq_Educacao = c(203);
    e.Total_Cred_Outorgado = c(606);
    e.Dif_Aliquota = c(999);
    return d;
}

TDeclaracaoArquivo simples(const QString& periodo)
{
    TDeclaracaoArquivo d = base(3, periodo, QStringLiteral("3"));
    TSnArquivo& s = d.sn;
    s.DifAliquota = c(1);
    s.DifAliqComplem = c(2);
    s.ImpAntecipado = c(3);
    s.SubsSaidas = c(4);
    s.SubsEntradas = c(5);
    s.ICMSRetidoFonte = c(6);
    s.ICMSImportacao = c(7);
    s.Faturamento = c(5000000);
    s.TotEntradas = c(2000000);
    s.PercRecolhimento = 3.95;
    s.MirvelSN = c(8);
    s.ICMSSN = c(197500);
    s.categEstabel = 1;
    d.recibo = {QStringLiteral("ABCDEF0123456789"), 2, QDate(2011, 3, 5)};
    return d;
}

QStringList planos(const QList<QStringList>& grupos)
{
    QStringList r;
    for (const QStringList& g : grupos)
        r << g;
    return r;
}

QStringList subtipos(const TDeclaracaoArquivo& d)
{
    QStringList r;
    for (const QString& l : planos(Registros88(d))) {
        EXPECT_EQ(l.size(), 126) << l.toStdString();
        r << l.left(4);
    }
    return r;
}

QString registro(const TDeclaracaoArquivo& d, const char* subtipo)
{
    for (const QString& l : planos(Registros88(d)))
        if (l.startsWith(QLatin1String(subtipo)))
            return l;
    return {};
}

QString mensagemDe(const TDeclaracaoArquivo& d)
{
    try {
        Registros88(d);
    } catch (const EArquivoInvalido& e) {
        return e.mensagem();
    }
    return {};
}

const QString cab = QStringLiteral("123456789200607N");

} // namespace

// ----- each sub-type, position by position

TEST(Registro8801, CreditosDoRegimeNormal)
{
    EXPECT_EQ(registro(normal(), "8801"), "8801" + cab + v(123456, 13) + v(2, 13) + v(3, 13) + v(4, 13) + v(5, 13) +
                                              v(6, 13) + v(7, 13) + v(8, 13) + esp(2));
}

TEST(Registro8802, DebitosESubstituicaoComARAntesDeJRNasSaidas)
{
    EXPECT_EQ(registro(normal(), "8802"), "8802" + cab + v(11, 13) + v(12, 13) + v(13, 13) + v(14, 13) + v(15, 13) +
                                              v(16, 13) + v(18, 13) + v(17, 13) + esp(2));
}

TEST(Registro8804, OutrosDebitosEmailEIdentificacaoPorTipo)
{
    const QString resto = QString("fiscal@exemplo.com.br") + esp(19) + "19800101" + "S240";
    EXPECT_EQ(registro(normal(), "8804"), "8804" + cab + v(21, 13) + v(22, 13) + resto + "1" + esp(27));
    EXPECT_EQ(registro(epp("200607"), "8804"), "8804" + cab + v(999, 13) + zeros(13) + resto + "7" + esp(27));
    TDeclaracaoArquivo sn = simples("200607");
    EXPECT_EQ(registro(sn, "8804"), "8804" + cab + zeros(26) + resto + "3" + esp(27));
    TDeclaracaoArquivo anual = base(4, "200612", "1");
    anual.zel.DifAliquota = c(5);   // not of this kind: zeros
    EXPECT_EQ(registro(anual, "8804"), "8804123456789200612N" + zeros(26) + resto + "1" + esp(27));
}

TEST(Registro8804, InscricaoCortadaEmNoveEEmailEm40)
{
    TDeclaracaoArquivo d = normal();
    d.ie = QStringLiteral("12345678901234");
    d.email = QString(45, QLatin1Char('a'));
    const QString r = registro(d, "8804");
    EXPECT_EQ(r.mid(4, 9), "123456789");
    EXPECT_EQ(r.mid(46, 40), QString(40, QLatin1Char('a')));
    EXPECT_EQ(r.size(), 126);
}

TEST(Registro8805, ContadorComTelefoneComHifen)
{
    TDeclaracaoArquivo d = normal();
    d.contador = TContadorArquivo{"12345678909", "ZR123456O9", "MARIA CONTADORA", "61-3322-4455", "maria@contab.com"};
    EXPECT_EQ(registro(d, "8805"), QString("8805") + "00012345678909" + "ZR123456O9" + "MARIA CONTADORA" + esp(25) +
                                       "61-3322-4455" + "maria@contab.com" + esp(24) + esp(6));
    d.contador->fone = "3322";
    EXPECT_EQ(registro(d, "8805").mid(68, 12), "3322" + esp(8));
}

// The CRC keeps its letters, right-aligned and zero-filled to ten; one the field cannot carry as it is stops
// the file, naming the field.
TEST(Registro8805, CrcComLetrasAlinhadoADireita)
{
    TDeclaracaoArquivo d = normal();
    d.contador = TContadorArquivo{"12345678909", "", "MARIA CONTADORA", "6133224455", "maria@contab.com"};
    const struct {
        const char* crc;
        const char* gravado;   // positions 19-28; empty when refused
    } casos[] = {{"ZR123456O9", "ZR123456O9"}, {"ZR123456O", "0ZR123456O"}, {"12345", "0000012345"},
                 {"ZR-123456/O", ""}, {"ZR123456O91", ""}, {"zr123456o", ""}};
    for (const auto& c : casos) {
        d.contador->crc = QString::fromLatin1(c.crc);
        if (*c.gravado) {
            EXPECT_EQ(registro(d, "8805").mid(18, 10), QString::fromLatin1(c.gravado)) << c.crc;
        } else {
            const QString m = mensagemDe(d);
            EXPECT_TRUE(m.contains("CRC") && m.contains("8805")) << c.crc << ": " << m.toStdString();
        }
    }
}

TEST(Registro8806, DadosAnuaisComOAnoSo)
{
    TDeclaracaoArquivo d = base(4, "200612", "1");
    d.letraTipo = "R";
    TValoresAnuais& a = d.anuais;
    a.EstqTrib = c(1);
    a.EstqNaoTrib = c(2);
    a.EstqSubsTrib = c(3);
    a.SldCaixa = c(4);
    a.SldBanco = c(5);
    a.DespPessoal = c(6);
    a.OutrosImpostos = c(7);
    a.DespGeral = c(9999999999999LL);
    EXPECT_EQ(registro(d, "8806"), QString("8806") + "123456789" + "2006" + "R" + v(1, 13) + v(2, 13) + v(3, 13) +
                                       v(4, 13) + v(5, 13) + v(6, 13) + v(7, 13) + "9999999999999" + esp(4));
}

TEST(Registro8814, EppAteJunhoDe2006)
{
    EXPECT_EQ(registro(epp("200606"), "8814"),
              QString("8814") + v(1000000, 9) + v(200000, 9) + v(1000001, 9) + "15" + v(15000, 9) + "012" + "10" +
                  v(300000, 9) + v(100000, 9) + "05" + "15" + v(2250, 9) + v(12750, 9) + v(101, 9) + v(102, 9) +
                  v(103, 9) + v(104, 9) + esp(3));
}

TEST(Registro8815, RegimesEspeciaisAntesEDepoisDeJaneiroDe2006)
{
    EXPECT_EQ(registro(normal("200512"), "8815"),
              QString("8815") + v(31, 13) + v(32, 13) + v(33, 13) + v(34, 13) + esp(70));
    EXPECT_EQ(registro(normal("200601"), "8815"),
              QString("8815") + v(31, 13) + v(32, 13) + v(33, 13) + v(34, 13) + v(35, 13) + v(36, 13) + zeros(26) +
                  esp(18));
}

TEST(Registro8816, FundoSobreOIcms)
{
    EXPECT_EQ(registro(normal(), "8816"),
              QString("8816") + v(41, 13) + v(42, 13) + v(43, 13) + v(44, 13) + v(45, 13) + esp(57));
}

TEST(Registro8817, EppAPartirDeJulhoDe2006)
{
    EXPECT_EQ(registro(epp("200607"), "8817"),
              QString("8817") + v(1000000, 9) + v(200000, 9) + v(1000001, 9) + "15" + v(15000, 9) + v(201, 9) +
                  v(202, 9) + v(203, 9) + v(606, 9) + v(12750, 9) + v(101, 9) + v(102, 9) + v(103, 9) + v(104, 9) +
                  esp(3));
}

TEST(Registro8818, SimplesNacionalComCategoriaEPercentual)
{
    EXPECT_EQ(registro(simples("200707"), "8818"),
              QString("8818") + "123456789200707N" + v(1, 9) + v(2, 9) + v(3, 9) + v(4, 9) + v(5, 9) + v(6, 9) +
                  v(7, 9) + "3" + v(5000000, 9) + v(2000000, 9) + "395" + v(8, 9) + v(197500, 9) + "1" + esp(2));
    // 1,15 x 100 is 114.999... in binary: the field writes 115.
    TDeclaracaoArquivo d = simples("200707");
    d.sn.PercRecolhimento = 1.15;
    EXPECT_EQ(registro(d, "8818").mid(102, 3), "115");
    d.sn.PercRecolhimento = 0.29;
    EXPECT_EQ(registro(d, "8818").mid(102, 3), "029");
    d.sn.categEstabel = 3;
    EXPECT_EQ(registro(d, "8818").mid(123, 1), "3");
}

TEST(Registro8825, ChequesDosProgramasNaOrdemDoTipo)
{
    TDeclaracaoArquivo d = normal();
    d.cheques = {TChequeArquivo{1, c(1), c(2), c(3), c(4), c(5), c(6)},
                 TChequeArquivo{2, c(11), Money(), c(13), c(14), c(15), c(16)}};
    const QStringList ls = planos(Registros88(d));
    QStringList cheques;
    for (const QString& l : ls)
        if (l.startsWith("8825"))
            cheques << l;
    ASSERT_EQ(cheques.size(), 2);
    EXPECT_EQ(cheques[0], QString("8825") + v(1, 13) + v(2, 13) + v(3, 13) + v(4, 13) + v(5, 13) + v(6, 13) + "1" + esp(43));
    EXPECT_EQ(cheques[1], QString("8825") + v(11, 13) + zeros(13) + v(13, 13) + v(14, 13) + v(15, 13) + v(16, 13) + "2" +
                              esp(43));
}

TEST(Registro8829, MunicipioPreenchidoComZerosEmCinco)
{
    TDeclaracaoArquivo d = normal();
    d.municipios = {{"123", c(150000)}, {"04405", c(1)}};
    const QStringList ls = planos(Registros88(d));
    const QStringList r = ls.filter(QRegularExpression("^8829"));
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0], QString("8829") + "00123" + v(150000, 13) + esp(104));
    EXPECT_EQ(r[1], QString("8829") + "04405" + v(1, 13) + esp(104));
    // Never cut, never guessed: a code that is no municipality code stops the file.
    for (const char* codigo : {"123456", "12A", ""}) {
        d.municipios = {{QString::fromLatin1(codigo), c(1)}};
        EXPECT_TRUE(mensagemDe(d).contains(QString::fromUtf8("código de município"))) << codigo;
    }
}

TEST(Registro8830, ReciboComDataDiaPrimeiro)
{
    TDeclaracaoArquivo d = simples("201105");
    EXPECT_EQ(registro(d, "8830"), QString("8830") + "ABCDEF0123456789" + esp(16) + "2" + "05032011" + esp(81));
    // No date is zeros.
    d.recibo.data = QDate();
    EXPECT_EQ(registro(d, "8830").mid(37, 8), "00000000");
    EXPECT_EQ(registro(d, "8830").mid(36, 1), "2");
}

// ----- conditions, each on both sides of its threshold

TEST(Condicoes88, RegimeNormalAntesEDepoisDe2005)
{
    TDeclaracaoArquivo d = normal("200412");
    d.contador = TContadorArquivo{"1", "2", "C", "", ""};
    EXPECT_EQ(subtipos(d), QStringList({"8801", "8802", "8804", "8805"}));
    d.periodo = "200501";
    EXPECT_EQ(subtipos(d), QStringList({"8801", "8802", "8804", "8805", "8815", "8816"}));
    d.contador.reset();
    EXPECT_EQ(subtipos(d), QStringList({"8801", "8802", "8804", "8815", "8816"}));
}

TEST(Condicoes88, EppAntesEDepoisDeJulhoDe2006)
{
    EXPECT_EQ(subtipos(epp("200606")), QStringList({"8804", "8814"}));
    EXPECT_EQ(subtipos(epp("200607")), QStringList({"8804", "8817"}));
}

TEST(Condicoes88, SimplesNacionalDe2007EReciboDeMaioDe2011)
{
    EXPECT_EQ(subtipos(simples("200706")), QStringList({"8804"}));
    EXPECT_EQ(subtipos(simples("200707")), QStringList({"8804", "8818"}));
    EXPECT_EQ(subtipos(simples("201104")), QStringList({"8804", "8818"}));
    EXPECT_EQ(subtipos(simples("201105")), QStringList({"8804", "8818", "8830"}));
    TDeclaracaoArquivo r = simples("201105");
    r.letraTipo = "R";
    EXPECT_EQ(subtipos(r), QStringList({"8804", "8818"})) << "a rectifying declaration has no receipt record";
}

TEST(Condicoes88, OrdemCompletaDoRegimeNormal)
{
    TDeclaracaoArquivo d = normal("201105");
    d.contador = TContadorArquivo{"1", "2", "C", "", ""};
    d.cheques = {TChequeArquivo{1, c(1), {}, {}, {}, {}, {}}, TChequeArquivo{2, c(2), {}, {}, {}, {}, {}}};
    d.municipios = {{"00001", c(1)}, {"00002", c(2)}};
    EXPECT_EQ(subtipos(d), QStringList({"8801", "8802", "8804", "8805", "8815", "8816", "8825", "8825", "8829", "8829",
                                        "8830"}));
    d.periodo = "201104";
    EXPECT_EQ(subtipos(d).last(), "8829");
    // Only the normal regime carries the programme credits and the municipalities.
    TDeclaracaoArquivo e = epp("201105");
    e.cheques = d.cheques;
    e.municipios = d.municipios;
    EXPECT_EQ(subtipos(e), QStringList({"8804", "8817"}));
}

TEST(Condicoes88, DadosAnuaisComChequesSoNoRegimeNormal)
{
    TDeclaracaoArquivo d = base(4, "201112", "1");
    d.cheques = {TChequeArquivo{2, c(5), {}, {}, {}, {}, {}}};
    d.municipios = {{"00001", c(1)}};
    EXPECT_EQ(subtipos(d), QStringList({"8804", "8806", "8825"})) << "no 8829 and no 8830 in the annual file";
    d.regime = "7";
    EXPECT_EQ(subtipos(d), QStringList({"8804", "8806"}));
}

// ----- values the layout cannot carry

TEST(Valores88, ArredondadosAoCentavoComEmpateParaOPar)
{
    // An ECF debit carries four decimals into the declaration: it is written as the screens show it.
    TDeclaracaoArquivo d = normal();
    d.zel.DebSaidas = Money::fromRaw(1000050);    // 100,0050 -> 100,00
    d.zel.DebTransfCredAc = Money::fromRaw(1000150); // 100,0150 -> 100,02
    d.zel.DebOutros = Money::fromRaw(1000051);    // 100,0051 -> 100,01
    const QString r = registro(d, "8802");
    EXPECT_EQ(r.mid(20, 13), v(10000, 13));
    EXPECT_EQ(r.mid(33, 13), v(10002, 13));
    EXPECT_EQ(r.mid(46, 13), v(10001, 13));
}

struct Recusa {
    const char* nome;
    std::function<TDeclaracaoArquivo()> declaracao;
    QStringList trechos;
};
void PrintTo(const Recusa& r, std::ostream* os) { *os << r.nome; }

class Recusas88 : public ::testing::TestWithParam<Recusa> {};

TEST_P(Recusas88, MensagemApontaADeclaracao)
{
    const QString m = mensagemDe(GetParam().declaracao());
    ASSERT_FALSE(m.isEmpty()) << "the record was written";
    for (const QString& t : GetParam().trechos)
        EXPECT_TRUE(m.contains(t)) << m.toStdString() << " / " << t.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Registros, Recusas88,
    ::testing::Values(
        Recusa{"ValorNegativo",
               [] {
                   auto d = normal();
                   d.zel.CredEntradas = c(-1);
                   return d;
               },
               {"(-0,01)", "CredEntradas", "8801", QString::fromUtf8("declaração do regime normal de 07/2006")}},
        Recusa{"ValorLargoDemaisEmNoveDigitos",
               [] {
                   auto d = epp("200607");
                   d.epp.Imp_Devido = c(1000000000);   // 10.000.000,00
                   return d;
               },
               {"10.000.000,00", "Imp_Devido", "8817", "9", QString::fromUtf8("declaração EPP de 07/2006")}},
        Recusa{"EmpregadosNegativos",
               [] {
                   auto d = epp("200606");
                   d.epp.Num_Empreg = -1;
                   return d;
               },
               {"Num_Empreg", "8814"}},
        Recusa{"PercentualComCasasDemais",
               [] {
                   auto d = simples("200707");
                   d.sn.PercRecolhimento = 2.505;
                   return d;
               },
               {"PercRecolhimento", "8818", "casas decimais"}},
        Recusa{"CategoriaAusente",
               [] {
                   auto d = simples("200707");
                   d.sn.categEstabel = -1;
                   return d;
               },
               {"categoria", QString::fromUtf8("declaração do Simples Nacional de 07/2007")}},
        Recusa{"CategoriaDeDoisDigitos",
               [] {
                   auto d = simples("200707");
                   d.sn.categEstabel = 12;
                   return d;
               },
               {"categoria"}},
        Recusa{"TipoDeEntregaAusente",
               [] {
                   auto d = normal("201105");
                   d.recibo.tipoEntrega = -1;
                   return d;
               },
               {"tipo de entrega", QString::fromUtf8("declaração do regime normal de 05/2011")}},
        // The layout has the delivery codes 0 to 3; a 7 left in an older row is no code at all.
        Recusa{"TipoDeEntregaForaDaTabela",
               [] {
                   auto d = normal("201105");
                   d.recibo.tipoEntrega = 7;
                   return d;
               },
               {"tipo de entrega 7", "de 0 a 3", QString::fromUtf8("declaração do regime normal de 05/2011")}},
        Recusa{"MunicipioRepetidoComOutraGrafia",
               [] {
                   auto d = normal();
                   d.municipios = {{"123", c(1)}, {"4405", c(2)}, {"04405", c(3)}};
                   return d;
               },
               {"Quadro V de 07/2006", QString::fromUtf8("2 linhas do município 4405 (\"4405\", \"04405\")")}}),
    [](const ::testing::TestParamInfo<Recusa>& i) { return std::string(i.param.nome); });

TEST(Valores88, OMaiorValorDeCadaLarguraCabe)
{
    auto d = epp("200607");
    d.epp.Imp_Devido = c(999999999);
    EXPECT_EQ(registro(d, "8817").mid(33, 9), "999999999");
    auto n = normal();
    n.zel.CredEntradas = c(9999999999999LL);
    EXPECT_EQ(registro(n, "8801").mid(20, 13), "9999999999999");
}

// ----- the declaration read from the database, and the whole file

namespace {

struct Declaracao88 : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2012, 3, 15), QTime(10, 0))};
    TProgressoGravado progresso;
    QTemporaryDir saida;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        // Registered as the screens register them: the accountant's CRC in its pattern, the phone with its hyphen.
        TCadastroTeste cadastro(*t.dtm, t.dialogos);
        TCamposContador contador = Fixtura::Contador();
        contador.numero = "12345678909";
        contador.nome = "Maria Contadora";
        contador.email = "maria@contab.com";
        contador.fone = "61-3322-4455";
        TCamposContribuinte contribuinte = Fixtura::Contribuinte();
        contribuinte.razaoSocial = "Comercial Exemplo Ltda";
        contribuinte.email = "fiscal@exemplo.com.br";
        ASSERT_EQ(cadastro.contribuinte(contribuinte, cadastro.contador(contador)), 1);
    }
    void sql(const QString& s) { TBancoTeste::executaDireto(t.con->db(), s); }
    TDeclaracaoArquivo carrega(int tipo, const QString& periodo, const QString& regime, const QString& pedido = {})
    {
        return CarregaDeclaracaoArquivo(*t.dtm, 1, tipo, periodo, pedido, regime, QStringLiteral("123456789"));
    }
    QStringList arquivo(const QString& regime, const QString& periodo, int tipo)
    {
        const QString caminho = saida.filePath("a.txt");
        TGeradorArquivo g(*t.dtm, t.dialogos, progresso, relogio, 1);
        g.MostraErros = false;
        EXPECT_TRUE(g.GravaArquivo(caminho, regime, periodo, tipo, {})) << g.ultimoErro().toStdString();
        const QByteArray bytes = TBancoTeste::conteudo(caminho);
        EXPECT_TRUE(TVerificadorArquivo::Verifica(bytes).isEmpty());
        return QString::fromLatin1(bytes).split("\r\n");
    }
    QString erroDoArquivo(const QString& regime, const QString& periodo, int tipo)
    {
        const QString caminho = saida.filePath("falha.txt");
        TGeradorArquivo g(*t.dtm, t.dialogos, progresso, relogio, 1);
        g.MostraErros = false;
        EXPECT_FALSE(g.GravaArquivo(caminho, regime, periodo, tipo, {}));
        EXPECT_FALSE(QFile::exists(caminho));
        return g.ultimoErro();
    }
};

} // namespace

TEST_F(Declaracao88, RegimeNormalLidoDaLinhaComContadorChequesEMunicipios)
{
    sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas, DifAliquota, ChqHabitacao, "
        "NumRecibo, sitCadastroContrib, dataSitCadastro) VALUES (1, '201105', 'N', 1234500, 1000050, 10000, 20000, "
        "'RECIBO123', 2, '2011-03-05')");
    sql("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, transfCredEntrada, transfCredSaida, "
        "valorApropriado, sldPeriodoAnterior, sldRemanescente, tipoCheque) VALUES "
        "(1, '201105', 10000, NULL, 0, 5000, 0, 5000, 2), (1, '201104', 1, 1, 1, 1, 1, 1, 1)");
    sql("INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Valor) VALUES "
        "(1, '2011-05-01', '123', 1500000), (1, '2011-05-01', '00045', 10000), (1, '2011-06-01', '00099', 1)");
    const QStringList ls = arquivo("1", "201105", 1);
    QStringList tipos88;
    for (const QString& l : ls)
        if (l.startsWith("88"))
            tipos88 << l.left(4);
    EXPECT_EQ(tipos88, QStringList({"8801", "8802", "8804", "8805", "8815", "8816", "8825", "8829", "8829", "8830"}));
    const int i = int(ls.indexOf(QRegularExpression("^8801.*")));
    ASSERT_GE(i, 2);
    EXPECT_EQ(ls[i].mid(20, 13), v(12345, 13));
    EXPECT_EQ(ls[i + 1].mid(20, 13), v(10000, 13)) << "100,0050 written as 100,00";
    EXPECT_EQ(ls[i + 3], QString("8805") + "00012345678909" + "ZR123456O9" + "MARIA CONTADORA" + esp(25) +
                             "61-3322-4455" + "maria@contab.com" + esp(30));
    EXPECT_EQ(ls[i + 6], QString("8825") + v(100, 13) + zeros(13) + zeros(13) + v(50, 13) + zeros(13) + v(50, 13) +
                             "2" + esp(43));
    EXPECT_EQ(ls[i + 7].left(22), QString("8829") + "00045" + v(100, 13));
    EXPECT_EQ(ls[i + 8].left(22), QString("8829") + "00123" + v(15000, 13));
    EXPECT_EQ(ls[i + 9], QString("8830") + "RECIBO123" + esp(23) + "2" + "05032011" + esp(81));
    EXPECT_TRUE(ls.last().contains(QString("88") + "00000010"));
}

TEST_F(Declaracao88, SemDataDoReciboDeQualquerForma)
{
    for (const char* semData : {"NULL", "0", "'1899-12-30'"}) {
        sql("DELETE FROM ZEL_SN");
        sql(QString("INSERT INTO ZEL_SN (IdContribuinte, Periodo, Tipo, categEstabel, Recibo, sitCadastroContrib, "
                    "dataSitCadastro) VALUES (1, '201105', 'N', 1, 'R1', 0, %1)")
                .arg(semData));
        const TDeclaracaoArquivo d = carrega(3, "201105", "3");
        const QString r = planos(Registros88(d)).last();
        EXPECT_EQ(r, QString("8830") + "R1" + esp(30) + "0" + "00000000" + esp(81)) << semData;
    }
    // Without a delivery type the receipt number counts as empty, and the file is refused.
    sql("UPDATE ZEL_SN SET sitCadastroContrib = NULL");
    EXPECT_TRUE(erroDoArquivo("3", "201105", 3).contains("tipo de entrega"));
}

TEST_F(Declaracao88, EppLidaDasColunasGravadas)
{
    sql("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, RecApurada, Perc_Recolh, Num_Empreg, CredEmpreg, "
        "Cred_Aq_Inter, Perc_Cred_Pres, Dif_Aliquota) VALUES (1, '200606', 'N', 1000000, 2.5, 3, 10, 5, 15, 7700)");
    const TDeclaracaoArquivo d = carrega(2, "200606", "7");
    const QString r = registro(d, "8814");
    EXPECT_EQ(r.mid(4, 9), v(10000, 9));
    EXPECT_EQ(r.mid(31, 2), "25");
    EXPECT_EQ(r.mid(42, 3), "003");
    EXPECT_EQ(r.mid(45, 2), "10");
    EXPECT_EQ(r.mid(65, 4), "0515");
    EXPECT_EQ(registro(d, "8804").mid(20, 13), v(77, 13));
}

TEST_F(Declaracao88, DadosAnuaisComESemCheques)
{
    sql("INSERT INTO DadosAnuais (IdContribuinte, Ano, Tipo, EstqTrib, DespGeral, TipoRegimeContrib) VALUES "
        "(1, '2011', 'N', 1000000, 50000, 1)");
    QStringList ls = arquivo("1", "201112", 4);
    ASSERT_EQ(ls.size(), 6);
    EXPECT_EQ(QStringList({ls[2].left(4), ls[3].left(4), ls[4].left(4)}), QStringList({"8804", "8805", "8806"}));
    EXPECT_EQ(ls[4].left(18), "88061234567892011N");
    EXPECT_EQ(ls[5].mid(30, 20), QString("88") + "00000003" + "99" + "00000006");

    sql("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, tipoCheque) VALUES (1, '201112', 10000, 1)");
    ls = arquivo("1", "201112", 4);
    ASSERT_EQ(ls.size(), 7);
    EXPECT_EQ(ls[5].left(4), "8825");
    EXPECT_EQ(ls[5].mid(82, 1), "1");
    EXPECT_EQ(ls[6].mid(30, 20), QString("88") + "00000004" + "99" + "00000007");

    // Another regime has no programme credits in its annual file.
    sql("UPDATE DadosAnuais SET TipoRegimeContrib = 7");
    ls = arquivo("7", "201112", 4);
    EXPECT_EQ(ls.size(), 6);
    EXPECT_EQ(ls[2].mid(98, 1), "7");

    // A row from before the regime existed: refused, never guessed.
    sql("UPDATE DadosAnuais SET TipoRegimeContrib = NULL");
    EXPECT_TRUE(erroDoArquivo("0", "201112", 4).contains("regime")) << "missing regime";
}

TEST_F(Declaracao88, FalhasDeLeituraParamOArquivo)
{
    sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200607', 'N')");
    // The accountant's table unreadable: not the same as no accountant.
    sql("ALTER TABLE Contador RENAME TO Contador_x");
    EXPECT_THROW(carrega(1, "200607", "1"), EBancoDados);
    EXPECT_FALSE(erroDoArquivo("1", "200607", 1).isEmpty());
    sql("ALTER TABLE Contador_x RENAME TO Contador");
    // No accountant row: no 8805, and the file is written.
    sql("UPDATE Contribuinte SET IdContador = 99");
    EXPECT_FALSE(carrega(1, "200607", "1").contador.has_value());
    // The programme credits unreadable: the file stops with the message of the table.
    sql("ALTER TABLE ZEL_PRGGOV RENAME TO ZEL_PRGGOV_x");
    EXPECT_EQ(erroDoArquivo("1", "200607", 1), QString::fromUtf8("Ocorreu um erro ao abrir a Tabela ZEL_PRGGOV \nConsulte o Suporte."));
}

TEST_F(Declaracao88, ValorQueNaoCabeParaOArquivoSemDeixarNada)
{
    sql("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Imp_Devido, Perc_Recolh) VALUES "
        "(1, '200607', 'N', 100000000000, 1)");
    const QString m = erroDoArquivo("7", "200607", 2);
    EXPECT_TRUE(m.contains("Imp_Devido") && m.contains("8817") && m.contains("10.000.000,00")) << m.toStdString();
    EXPECT_EQ(progresso.inicios, 0) << "refused before any byte was written";
}
