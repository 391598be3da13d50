// Return-file records: each builder against a line assembled by hand from the field table, in the current
// layout and, where the record differs, in the older one (periods before 2003).
#include <gtest/gtest.h>
#include <limits>

#include "output/untRegistros.h"
#include "support/TDialogosRoteiro.h"

using namespace Registros;

namespace {

QString esp(int n) { return QString(n, QLatin1Char(' ')); }

const TParte cliente{QStringLiteral("11222333000181"), QStringLiteral("123456789"), QStringLiteral("ZR")};

TContribuinteArquivo contribuinte()
{
    TContribuinteArquivo c;
    c.cnpj = "11222333000181";
    c.ccicms = "123456789";
    c.razaoSocial = "COMERCIAL EXEMPLO LTDA";
    c.municipio = "CIDADE EXEMPLO";
    c.uf = "ZR";
    c.fax = "(11) 3333-4444";
    c.logradouro = "RUA DAS FLORES";
    c.numero = "45";
    c.complemento = "  SALA 3 ";
    c.bairro = "CENTRO";
    c.cep = "01234567";
    c.contato = QString::fromUtf8("JOÃO DA SILVA");
    c.fone = "(11) 3333-5555";
    return c;
}

TNotaArquivo nota(const QDate& emissao, const QString& cfop)
{
    TNotaArquivo n;
    n.dtEmissao = emissao;
    n.dtUltAlteracao = QDate(2006, 8, 2);
    n.modelo = "1";
    n.serie = "1";
    n.subSerie = "U";
    n.numeroNF = "123";
    n.cfop = cfop;
    n.emitente = "P";
    n.situacao = "N";
    n.valorTotal = Money::fromCents(123456);
    n.baseIcms = Money::fromCents(100000);
    n.valorIcms = Money::fromCents(17000);
    n.outrasIcms = Money::fromCents(23456);
    n.aliquota = "1700";
    n.valorIpi = Money::fromCents(5000);
    n.baseSubst = Money::fromCents(20000);
    n.icmsRetido = Money::fromCents(3400);
    n.despAcessorias = Money::fromCents(150);
    n.mva = "A";
    return n;
}

// The five ICMS amounts of the invoice above, 13 digits each.
const QString icms50 = QStringLiteral("0000000123456" "0000000100000" "0000000017000" "0000000000000" "0000000023456");

TCupomArquivo cupom()
{
    TCupomArquivo c;
    c.dtEmissao = QDate(2006, 7, 15);
    c.numSerie = "BE0512SC560000012";   // 17 characters: whole in the current layout, cut to 15 in the older one
    c.numEquip = "1";
    c.modelo = "2D";
    c.cooInicial = 100;
    c.cooFinal = 250;
    c.crz = 45;
    c.cro = 3;
    c.vendaBruta = Money::fromCents(500000);
    c.gtInicioDia = Money::fromCents(11845678);
    c.gtFimDia = Money::fromCents(12345678);
    return c;
}

TTransporteArquivo transporte(const QDate& emissao, const QString& cfop)
{
    TTransporteArquivo t;
    t.dtEmissao = emissao;
    t.modelo = "8";
    t.serie = "U";
    t.numero = "4567";
    t.cfop = cfop;
    t.modalidade = "1";
    t.situacao = "N";
    t.valorTotal = Money::fromCents(80000);
    t.baseIcms = Money::fromCents(80000);
    t.valorIcms = Money::fromCents(9600);
    return t;
}

} // namespace

// ----- field rules

TEST(FormataCampo, NumericoPreencheComZerosEGuardaOsPrimeirosCaracteres)
{
    EXPECT_EQ(FormataCampo(Tipo::N, 6, "123"), "000123");
    EXPECT_EQ(FormataCampo(Tipo::N, 6, ""), "000000");
    EXPECT_EQ(FormataCampo(Tipo::N, 3, qint64(7)), "007");
    EXPECT_EQ(FormataCampo(Tipo::N, 4, "1234567"), "1234");
    EXPECT_EQ(FormataCampo(Tipo::N, 8, 0), "00000000");
    // A number is never cut: keeping its leftmost digits would write another number.
    EXPECT_THROW(FormataCampo(Tipo::N, 3, qint64(12345)), EArquivoInvalido);
    EXPECT_THROW(FormataCampo(Tipo::N, 3, qint64(-1)), EArquivoInvalido);
}

TEST(FormataCampo, TextoPreencheComBrancosECorta)
{
    EXPECT_EQ(FormataCampo(Tipo::X, 4, "AB"), "AB  ");
    EXPECT_EQ(FormataCampo(Tipo::X, 3, "ABCDEF"), "ABC");
    EXPECT_EQ(FormataCampo(Tipo::X, 2, ""), "  ");
    EXPECT_EQ(FormataCampo(Tipo::Brancos, 5, {}), esp(5));
}

TEST(FormataCampo, ValorEmCentavosSemSinalNemVirgula)
{
    EXPECT_EQ(FormataCampo(Tipo::Valor, 13, Money::fromCents(1234).raw()), "0000000001234");
    EXPECT_EQ(FormataCampo(Tipo::Valor, 13, Money().raw()), "0000000000000");
    EXPECT_EQ(FormataCampo(Tipo::Valor, 12, Money::fromCents(99999999999LL).raw()), "099999999999");
    EXPECT_EQ(FormataCampo(Tipo::Valor, 4, Money::fromCents(1).raw()), "0001");
    EXPECT_THROW(FormataCampo(Tipo::Valor, 4, Money::fromCents(123456).raw()), EArquivoInvalido);
    EXPECT_EQ(FormataCampo(Tipo::Valor, 4, Money::fromCents(9999).raw()), "9999");
    EXPECT_EQ(FormataCampo(Tipo::Data, 8, QDate(2006, 1, 5)), "20060105");
}

TEST(FormataCampo, ValorNegativoOuComFracaoDeCentavoParaOArquivo)
{
    EXPECT_THROW(FormataCampo(Tipo::Valor, 13, Money::fromCents(-1).raw()), EArquivoInvalido);
    EXPECT_THROW(FormataCampo(Tipo::Valor, 13, qint64(12345)), EArquivoInvalido);   // 1,2345
    EXPECT_THROW(FormataCampo(Tipo::Valor, 13, qint64(12350)), EArquivoInvalido);   // 1,235
    EXPECT_THROW(FormataCampo(Tipo::Valor, 13, qint64(-1)), EArquivoInvalido);
    try {
        FormataCampo(Tipo::Valor, 13, Money::fromCents(-500).raw(), "nota fiscal 123 de 10/07/2006");
        FAIL() << "valor negativo gravado";
    } catch (const EArquivoInvalido& e) {
        EXPECT_TRUE(e.mensagem().contains("nota fiscal 123 de 10/07/2006")) << e.mensagem().toStdString();
    }
}

TEST(FormataCampo, ValorNaMensagemComoAsTelasMostram)
{
    EXPECT_EQ(TextoValor(Money::fromRaw(100050)), "10,0050");
    EXPECT_EQ(TextoValor(Money::fromRaw(12345678)), "1.234,5678");
    EXPECT_EQ(TextoValor(Money::fromRaw(-50)), "-0,0050");
    EXPECT_EQ(TextoValor(Money::fromRaw(-12345678)), "-1.234,5678");
    EXPECT_EQ(TextoValor(Money::fromCents(123456)), "1.234,56");
    EXPECT_EQ(TextoValor(Money::fromCents(-500)), "-5,00");
    EXPECT_EQ(TextoValor(Money::fromRaw(std::numeric_limits<qint64>::min())), "-922.337.203.685.477,5808");

    auto mensagem = [](qint64 dezMilesimos) {
        try {
            FormataCampo(Tipo::Valor, 13, dezMilesimos, "nota fiscal 123 de 10/07/2006");
        } catch (const EArquivoInvalido& e) {
            return e.mensagem();
        }
        return QString();
    };
    const QString fracao = mensagem(100050);
    EXPECT_TRUE(fracao.contains("(10,0050)")) << fracao.toStdString();
    EXPECT_FALSE(fracao.contains("10.0050")) << fracao.toStdString();
    const QString negativo = mensagem(-50);
    EXPECT_TRUE(negativo.contains("(-0,0050)")) << negativo.toStdString() << ": not rounded to -0,00";
    EXPECT_TRUE(mensagem(-1234500).contains("(-123,45)"));
}

TEST(FormataCampo, DataAusenteParaOArquivoNomeandoODocumento)
{
    EXPECT_THROW(FormataCampo(Tipo::Data, 8, QDate()), EArquivoInvalido);
    EXPECT_THROW(FormataCampo(Tipo::Data, 8, TValorCampo()), EArquivoInvalido);

    // An extemporaneous note is dated by its real date of issue: without one there is no date to write.
    for (const char* situacao : {"E", "X"}) {
        TNotaArquivo n = nota(QDate(2006, 7, 1), "5102");
        n.situacao = QString::fromLatin1(situacao);
        n.dtUltAlteracao = QDate();
        using TMonta = QString (*)(const TNotaArquivo&, const TParte&, const QString&);
        for (const TMonta registro : {TMonta(Registro50), TMonta(Registro51), TMonta(Registro53)}) {
            try {
                registro(n, cliente, "3");
                ADD_FAILURE() << "registro gravado sem data, situação " << situacao;
            } catch (const EArquivoInvalido& e) {
                EXPECT_TRUE(e.mensagem().contains("nota fiscal 123 de 01/07/2006")) << e.mensagem().toStdString();
            }
        }
    }
    // The date of issue is enough for a note in its own month.
    TNotaArquivo normal = nota(QDate(2006, 7, 1), "5102");
    normal.dtUltAlteracao = QDate();
    EXPECT_EQ(Registro50(normal, cliente, "3").mid(30, 8), "20060701");

    TCargaArquivo c;
    c.modeloNF = "01";
    c.serieNF = "1";
    c.numNF = "321";
    c.valorNF = Money::fromCents(250000);
    try {
        Registro71(transporte(QDate(2006, 7, 12), "1352"), cliente, c, cliente, "3");
        ADD_FAILURE() << "carga gravada sem data";
    } catch (const EArquivoInvalido& e) {
        EXPECT_TRUE(e.mensagem().contains("321")) << e.mensagem().toStdString();
        EXPECT_TRUE(e.mensagem().contains("conhecimento 4567 de 12/07/2006")) << e.mensagem().toStdString();
    }
}

TEST(FormataCampo, SoCaracteresComUmByteLatin1)
{
    EXPECT_THROW(FormataCampo(Tipo::X, 10, QString::fromUtf8("PREÇO €")), EArquivoInvalido);
    EXPECT_THROW(FormataCampo(Tipo::X, 10, QString::fromUtf8("Łódź")), EArquivoInvalido);
    EXPECT_THROW(FormataCampo(Tipo::N, 6, QString::fromUtf8("12ł")), EArquivoInvalido);
    const QString acentos = FormataCampo(Tipo::X, 8, QString::fromUtf8("AÇÃO ã"));
    EXPECT_EQ(acentos, QString::fromUtf8("AÇÃO ã  "));
    EXPECT_EQ(acentos.toLatin1().size(), 8);
    EXPECT_EQ(acentos.toLatin1(), QByteArray("A\xC7\xC3O \xE3  "));
}

TEST(FormataCampo, CodigoDoLeiautePeloPrimeiroDiaDoPeriodo)
{
    EXPECT_EQ(CodigoLeiaute(QDate(2002, 12, 1)), "1");
    EXPECT_EQ(CodigoLeiaute(QDate(2003, 1, 1)), "2");
    EXPECT_EQ(CodigoLeiaute(QDate(2003, 12, 1)), "2");
    EXPECT_EQ(CodigoLeiaute(QDate(2004, 1, 1)), "3");
}

// ----- record 10

TEST(Registro10, MesNormal)
{
    const QString r = Registro10(contribuinte(), 2006, 7, "1", "  ", QDate(2006, 9, 15), false);
    EXPECT_EQ(r, QString("10") + "11222333000181" + "123456789     " + "COMERCIAL EXEMPLO LTDA" + esp(11) + "  " +
                     "CIDADE EXEMPLO" + esp(16) + "ZR" + "1133334444" + "20060701" + "20060731" + "3" + "3" + "1");
}

TEST(Registro10, CodigoDoLeiauteFinalidadeEUltimoDia)
{
    const TContribuinteArquivo c = contribuinte();
    const QDate hoje(2006, 9, 15);
    const QString de2002 = Registro10(c, 2002, 2, "2", "  ", hoje, false);
    EXPECT_EQ(de2002.mid(107), QString("20020201") + "20020228" + "1" + "3" + "2");
    EXPECT_EQ(Registro10(c, 2003, 12, "1", "  ", hoje, false).mid(107), QString("20031201") + "20031231" + "231");
    EXPECT_EQ(Registro10(c, 2004, 2, "1", "  ", hoje, false).mid(107), QString("20040201") + "20040229" + "331");
    // A monthly file of the current month still ends on the month's last day.
    EXPECT_EQ(Registro10(c, 2006, 9, "1", "  ", hoje, false).mid(107, 16), QString("20060901") + "20060930");
}

TEST(Registro10, DadosAnuais)
{
    const TContribuinteArquivo c = contribuinte();
    const QDate hoje(2006, 9, 15);
    const QString corrente = Registro10(c, 2006, 9, "1", "DA", hoje, true);
    EXPECT_EQ(corrente, QString("10") + "11222333000181" + "123456789     " + "COMERCIAL EXEMPLO LTDA" + esp(11) + "DA" +
                            "CIDADE EXEMPLO" + esp(16) + "ZR" + "1133334444" + "20060901" + "20060915" + "331");
    const QString anterior = Registro10(c, 2005, 12, "1", "DA", hoje, true);
    EXPECT_EQ(anterior.mid(63, 2), "DA");
    EXPECT_EQ(anterior.mid(107, 16), QString("20051201") + "20051231");
}

TEST(Registro10, CortaNomeLongoEFaxSoComDigitos)
{
    TContribuinteArquivo c = contribuinte();
    c.razaoSocial = "COMERCIAL DE PRODUTOS EXEMPLO LTDA ME";   // 37 characters
    c.fax = "+55 (11) 3333-4444";
    const QString r = Registro10(c, 2006, 7, "1", "  ", QDate(2006, 9, 15), false);
    ASSERT_EQ(r.size(), 126);
    EXPECT_EQ(r.mid(30, 35), QString("COMERCIAL DE PRODUTOS EXEMPLO LTD") + "  ");
    EXPECT_EQ(r.mid(97, 10), "5511333344");
    c.fax.clear();
    EXPECT_EQ(Registro10(c, 2006, 7, "1", "  ", QDate(2006, 9, 15), false).mid(97, 10), "0000000000");
}

// ----- record 11

TEST(Registro11, Endereco)
{
    EXPECT_EQ(Registro11(contribuinte()), QString("11") + "RUA DAS FLORES" + esp(20) + "00045" + "SALA 3" + esp(16) +
                                              "CENTRO" + esp(9) + "01234567" + QString::fromUtf8("JOÃO DA SILVA") +
                                              esp(15) + "001133335555");
    EXPECT_EQ(Registro11(contribuinte()).toLatin1().size(), 126);
}

// ----- record 50

TEST(Registro50, LeiauteAtual)
{
    const TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    EXPECT_EQ(Registro50(n, cliente, "3"), QString("50") + "11222333000181" + "123456789     " + "20060710" + "ZR" +
                                               "01" + "1  " + "000123" + "5102" + "P" + icms50 + "1700" + "N");
    EXPECT_EQ(Registro50(n, cliente, "2"), Registro50(n, cliente, "3"));
}

TEST(Registro50, LeiauteDe2002ComSubserieSemEmitente)
{
    const TNotaArquivo n = nota(QDate(2002, 7, 10), "512");
    EXPECT_EQ(Registro50(n, cliente, "1"), QString("50") + "11222333000181" + "123456789     " + "20020710" + "ZR" +
                                               "01" + "1  " + "U " + "000123" + "512" + icms50 + "1700" + "N");
}

TEST(Registro50, ExtemporaneaDatadaPelaUltimaAlteracao)
{
    TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    for (const char* s : {"E", "X"}) {
        n.situacao = s;
        const QString r = Registro50(n, cliente, "3");
        EXPECT_EQ(r.mid(30, 8), "20060802") << s;
        EXPECT_EQ(r.right(1), s);
    }
    n.situacao = "S";
    EXPECT_EQ(Registro50(n, cliente, "3").mid(30, 8), "20060710");
}

TEST(Registro50, CfopDeQuatroCaracteresNoLeiauteAntigoFicaComTres)
{
    const QString r = Registro50(nota(QDate(2002, 7, 10), "5102"), cliente, "1");
    EXPECT_EQ(r.mid(53, 3), "510");
    EXPECT_EQ(r.mid(56, 13), "0000000123456");
}

TEST(Registro50, ValorInvalidoNomeiaANota)
{
    TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    n.isentaIcms = Money::fromRaw(-100);
    try {
        Registro50(n, cliente, "3");
        FAIL() << "nota com valor negativo gravada";
    } catch (const EArquivoInvalido& e) {
        EXPECT_TRUE(e.mensagem().contains("nota fiscal 123 de 10/07/2006")) << e.mensagem().toStdString();
    }
    n.isentaIcms = Money::fromRaw(10);   // 0,001
    EXPECT_THROW(Registro50(n, cliente, "3"), EArquivoInvalido);
}

// ----- record 51

TEST(Registro51, AmbosOsLeiautes)
{
    const QString ipi = QStringLiteral("0000000123456" "0000000005000" "0000000000000" "0000000000000");
    EXPECT_EQ(Registro51(nota(QDate(2006, 7, 10), "5102"), cliente, "3"),
              QString("51") + "11222333000181" + "123456789     " + "20060710" + "ZR" + "1  " + "000123" + "5102" +
                  ipi + esp(20) + "N");
    EXPECT_EQ(Registro51(nota(QDate(2002, 7, 10), "512"), cliente, "1"),
              QString("51") + "11222333000181" + "123456789     " + "20020710" + "ZR" + "1 " + "U " + "000123" + "512" +
                  ipi + esp(20) + "N");
}

TEST(Registro51, SoComAlgumValorDeIpi)
{
    TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    n.valorIpi = Money();
    EXPECT_FALSE(TemRegistro51(n));
    n.outrasIpi = Money::fromCents(1);
    EXPECT_TRUE(TemRegistro51(n));
    n.outrasIpi = Money();
    n.isentaIpi = Money::fromCents(200);
    EXPECT_TRUE(TemRegistro51(n));
}

// ----- record 53

TEST(Registro53, AmbosOsLeiautes)
{
    const QString st = QStringLiteral("0000000020000" "0000000003400" "0000000000150");
    EXPECT_EQ(Registro53(nota(QDate(2006, 7, 10), "5405"), cliente, "3"),
              QString("53") + "11222333000181" + "123456789     " + "20060710" + "ZR" + "01" + "1  " + "000123" + "5405" +
                  "P" + st + "N" + "A" + esp(29));
    EXPECT_EQ(Registro53(nota(QDate(2002, 7, 10), "540"), cliente, "1"),
              QString("53") + "11222333000181" + "123456789     " + "20020710" + "ZR" + "01" + "1  " + "U " + "000123" +
                  "540" + st + "N" + "A" + esp(29));
}

TEST(Registro53, CondicaoPeloCfopOuPelosValores)
{
    TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    n.baseSubst = n.icmsRetido = n.despAcessorias = Money();
    for (const char* cfop : {"1403", "2403", "5405", "6404"}) {
        n.cfop = cfop;
        EXPECT_TRUE(TemRegistro53(n, "nf")) << cfop;
    }
    for (const char* cfop : {"5102", "1102", "6108", "5540"}) {
        n.cfop = cfop;
        EXPECT_FALSE(TemRegistro53(n, "nf")) << cfop;
    }
    n.cfop = "5102";
    n.despAcessorias = Money::fromCents(1);
    EXPECT_TRUE(TemRegistro53(n, "nf"));
}

TEST(Registro53, CfopSemDoisDigitosNoInicioParaOArquivo)
{
    TNotaArquivo n = nota(QDate(2006, 7, 10), "5102");
    for (const char* cfop : {"A102", "5.40", "", "5"}) {
        n.cfop = cfop;
        EXPECT_THROW(TemRegistro53(n, "nota fiscal 123"), EArquivoInvalido) << cfop;
    }
}

// ----- records 60M and 60A

TEST(Registro60, ResumoDiarioNosDoisLeiautes)
{
    const TCupomArquivo c = cupom();
    EXPECT_EQ(Registro60M(c, "3"), QString("60M") + "20060715" + "BE0512SC560000012   " + "001" + "2D" + "000100" +
                                       "000250" + "000045" + "003" + "0000000000500000" + "0000000012345678" + esp(37));
    EXPECT_EQ(Registro60M(c, "1"), QString("60M") + "20060715" + "001" + "BE0512SC5600000" + "2D" + "000100" +
                                       "000250" + "000045" + "0000000011845678" + "0000000012345678" + esp(45));
}

TEST(Registro60, TotalPorAliquotaNosDoisLeiautes)
{
    const TCupomArquivo c = cupom();
    EXPECT_EQ(Registro60A(c, "1700", Money::fromCents(150000), "3"),
              QString("60A") + "20060715" + "BE0512SC560000012   " + "1700" + "000000150000" + esp(79));
    EXPECT_EQ(Registro60A(c, "CANC", Money::fromCents(1500), "1"),
              QString("60A") + "20060715" + "001" + "CANC" + "000000001500" + esp(96));
}

TEST(Registro60, TotaisDoResumoAcimaDeZeroNaOrdemDosRotulos)
{
    TCupomArquivo c = cupom();
    EXPECT_TRUE(TotaisDoCupom(c).isEmpty());
    c.tDesc = Money::fromCents(1);
    c.tCanc = Money::fromCents(300);
    c.tN = Money::fromCents(500);
    c.tF = Money::fromCents(1000);
    const auto t = TotaisDoCupom(c);
    ASSERT_EQ(t.size(), 4);
    EXPECT_EQ(t[0].first, "F   ");
    EXPECT_EQ(t[1].first, "N   ");
    EXPECT_EQ(t[2].first, "CANC");
    EXPECT_EQ(t[2].second, Money::fromCents(300));
    EXPECT_EQ(t[3].first, "DESC");
    c = cupom();
    c.tIss = Money::fromCents(10);
    c.tI = Money::fromCents(20);
    const auto u = TotaisDoCupom(c);
    ASSERT_EQ(u.size(), 2);
    EXPECT_EQ(u[0].first, "ISS ");
    EXPECT_EQ(u[1].first, "I   ");
}

// ----- record 61

TEST(Registro61, NotasSerieD)
{
    TTalaoArquivo t;
    t.dtEmissao = QDate(2006, 7, 5);
    t.modelo = "2";
    t.serie = "  D";
    t.subSerie = " 1";
    t.numeroInicial = 1;
    t.numeroFinal = 150;
    t.valorTotal = Money::fromCents(30000);
    t.baseIcms = Money::fromCents(30000);
    t.valorIcms = Money::fromCents(5100);
    t.outras = Money::fromCents(7);
    t.aliquota = "1700";
    EXPECT_EQ(Registro61(t), QString("61") + esp(28) + "20060705" + "02" + "D  " + "1 " + "000001" + "000150" +
                                 "0000000030000" + "0000000030000" + "000000005100" + "0000000000000" +
                                 "0000000000007" + "1700" + " ");
}

// ----- record 70

TEST(Registro70, LarguraDoValorTotalMudaComOLeiaute)
{
    const QString resto = QStringLiteral("00000000080000" "00000000009600" "00000000000000" "00000000000000") + "1" + "N";
    EXPECT_EQ(Registro70(transporte(QDate(2006, 7, 12), "1352"), cliente, "3"),
              QString("70") + "11222333000181" + "123456789     " + "20060712" + "ZR" + "08" + "U" + "  " + "004567" +
                  "1352" + "0000000080000" + resto);
    EXPECT_EQ(Registro70(transporte(QDate(2002, 7, 12), "135"), cliente, "1"),
              QString("70") + "11222333000181" + "123456789     " + "20020712" + "ZR" + "08" + "U" + "  " + "004567" +
                  "135" + "00000000080000" + resto);
}

// ----- record 71

TEST(Registro71, CargaNosDoisLeiautes)
{
    const TParte destino{QStringLiteral("44555666000177"), QStringLiteral("987654321"), QStringLiteral("SP")};
    TCargaArquivo c;
    c.dtEmissao = QDate(2006, 7, 10);
    c.modeloNF = "01";
    c.serieNF = "1";
    c.subSerieNF = "A";
    c.numNF = "321";
    c.valorNF = Money::fromCents(250000);
    EXPECT_EQ(Registro71(transporte(QDate(2006, 7, 12), "1352"), cliente, c, destino, "3"),
              QString("71") + "11222333000181" + "123456789     " + "20060712" + "ZR" + "8 " + "U" + "  " + "004567" +
                  "SP" + "44555666000177" + "987654321     " + "20060710" + "01" + "1  " + "000321" +
                  "00000000250000" + esp(12));
    EXPECT_EQ(Registro71(transporte(QDate(2002, 7, 12), "135"), cliente, c, destino, "1"),
              QString("71") + "11222333000181" + "123456789     " + "20020712" + "ZR" + "8 " + "U" + "  " + "004567" +
                  "SP" + "44555666000177" + "987654321     " + "20060710" + "01" + "1 " + "A " + "000321" +
                  "00000000250000" + esp(11));
}

// ----- record 90

TEST(Registro90, TodasAsFamilias)
{
    const QHash<QString, int> contagem{{"50", 3}, {"51", 1}, {"53", 1}, {"60", 4},
                                       {"61", 1}, {"70", 1}, {"71", 2}, {"88", 4}};
    const QString r = Registro90("11222333000181", "123456789", 19, contagem);
    EXPECT_EQ(r, QString("90") + "11222333000181" + "123456789     " + "50" + "00000003" + "51" + "00000001" + "53" +
                     "00000001" + "60" + "00000004" + "61" + "00000001" + "70" + "00000001" + "71" + "00000002" + "88" +
                     "00000004" + "99" + "00000020" + esp(5) + "1");
    EXPECT_EQ(r.left(120).right(10), "9900000020");
}

TEST(Registro90, SoFamiliasComRegistros)
{
    const QHash<QString, int> contagem{{"50", 3}, {"51", 0}, {"88", 4}};
    EXPECT_EQ(Registro90("11222333000181", "123456789", 9, contagem),
              QString("90") + "11222333000181" + "123456789     " + "50" + "00000003" + "88" + "00000004" + "99" +
                  "00000010" + esp(65) + "1");
    EXPECT_EQ(Registro90("11222333000181", "123456789", 2, {}),
              QString("90") + "11222333000181" + "123456789     " + "99" + "00000003" + esp(85) + "1");
}
