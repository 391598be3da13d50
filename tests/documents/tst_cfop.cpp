// The CFOP lists: the table in force on a date, the pickers' filters over the delivered tables, the codes
// with special treatment and the update of the four-digit table from "NovosCfop.txt".
#include <QFile>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

#include "db/untSqlite.h"
#include "documents/untCfop.h"
#include "support/TBancoTeste.h"

namespace {

struct ListaCfop : ::testing::Test {
    TBancoTeste t;
    void SetUp() override { ASSERT_EQ(t.con->Conectar(), "JET"); }

    QStringList codigos(const QString& sql)
    {
        TDataSet d(*t.con);
        d.setCommandText(sql);
        d.open();
        QStringList r;
        for (d.first(); !d.eof(); d.next())
            r << d.asString("CF_Codigo");
        return r;
    }
    QStringList filtrados(TelaCfop tela, bool entrada, const QString& versao)
    {
        return codigos(FiltroCfop(tela, entrada, versao) + " ORDER BY CF_Codigo");
    }
    // What a filter should admit, worked out here code by code over the whole table.
    QStringList esperados(const QString& tabela, const std::function<bool(const QString&)>& admite)
    {
        QStringList r;
        for (const QString& c : codigos("select CF_Codigo from " + tabela + " ORDER BY CF_Codigo"))
            if (admite(c))
                r << c;
        return r;
    }
};

bool comecaCom(const QString& c, std::initializer_list<const char*> inicios)
{
    for (const char* i : inicios)
        if (c.startsWith(QLatin1String(i)))
            return true;
    return false;
}

bool terminaCom(const QString& c, std::initializer_list<const char*> finais)
{
    for (const char* f : finais)
        if (c.endsWith(QLatin1String(f)))
            return true;
    return false;
}

struct AtualizacaoCfop : ListaCfop {
    TProgressoGravado progresso;
    QString arquivo() const { return t.pasta.filePath("NovosCfop.txt"); }
    void grava(const QByteArray& bytes)
    {
        QFile f(arquivo());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(t.con->db(), sql); }
    QString descricao(const char* codigo)
    {
        return valor(QStringLiteral("SELECT CF_Descricao FROM CFOP WHERE CF_Codigo = '%1'").arg(codigo)).toString();
    }
    QString st(const char* codigo)
    {
        return valor(QStringLiteral("SELECT CF_ST FROM CFOP WHERE CF_Codigo = '%1'").arg(codigo)).toString();
    }
    int total() { return valor("SELECT COUNT(*) FROM CFOP").toInt(); }
};

} // namespace

TEST(VersaoCfop, MudaNaViradaDe2003ede2004)
{
    EXPECT_EQ(VersaoCfop(QDate(1998, 6, 1)), "1");
    EXPECT_EQ(VersaoCfop(QDate(2002, 12, 31)), "1");
    EXPECT_EQ(VersaoCfop(QDate(2003, 1, 1)), "2");
    EXPECT_EQ(VersaoCfop(QDate(2003, 12, 31)), "2");
    EXPECT_EQ(VersaoCfop(QDate(2004, 1, 1)), "3");
    EXPECT_EQ(VersaoCfop(QDate(2026, 12, 9)), "3");
}

TEST_F(ListaCfop, TextosDosFiltrosComATabelaDaVersao)
{
    EXPECT_EQ(FiltroCfop(TelaCfop::AlterarNota, true, "1"),
              "select * from CFOP3 WHERE (LEFT(CF_Codigo,1) = '1' OR LEFT(CF_Codigo,1) = '2' OR LEFT(CF_Codigo,1) = '3')");
    EXPECT_EQ(FiltroCfop(TelaCfop::AlterarNota, false, "2"),
              "select * from CFOP WHERE (LEFT(CF_Codigo,1) = '5' OR LEFT(CF_Codigo,1) = '6' OR LEFT(CF_Codigo,1) = '7')");
    EXPECT_EQ(FiltroCfop(TelaCfop::AlterarTransporte, true, "3"),
              "select * from CFOP WHERE (LEFT(CF_Codigo,3) = '135' OR LEFT(CF_Codigo,3) = '235' OR "
              "RIGHT(CF_Codigo,3) = '206' OR LEFT(CF_Codigo,3) = '335' OR LEFT(CF_Codigo,3) = '535' "
              "OR LEFT(CF_Codigo,3) = '635' OR LEFT(CF_Codigo,3) = '735' )");
    EXPECT_TRUE(FiltroCfop(TelaCfop::IncluirNota, true, "1")
                    .startsWith("select * from CFOP3 WHERE (LEFT(CF_Codigo,1) <> '5' AND LEFT(CF_Codigo,1) <> '6' AND "
                                "LEFT(CF_Codigo,1) <> '7'  AND RIGHT(CF_Codigo,2) <> '23' AND"));
    EXPECT_TRUE(FiltroCfop(TelaCfop::IncluirNota, false, "3")
                    .endsWith("LEFT(CF_Codigo,1) <> '3'  AND RIGHT(CF_Codigo,3) <> '350' AND RIGHT(CF_Codigo,3) <> '351' "
                              "AND RIGHT(CF_Codigo,3) <> '352' AND RIGHT(CF_Codigo,3) <> '353' AND RIGHT(CF_Codigo,3) <> "
                              "'354' AND RIGHT(CF_Codigo,3) <> '355' AND RIGHT(CF_Codigo,3) <> '356' AND "
                              "RIGHT(CF_Codigo,3) <> '357' AND RIGHT(CF_Codigo,3) <> '358' AND RIGHT(CF_Codigo,3) <> '359' )"));
    for (auto tela : {TelaCfop::IncluirTransporte, TelaCfop::AlterarTransporte})
        for (const char* v : {"1", "3"})
            EXPECT_EQ(FiltroCfop(tela, true, v), FiltroCfop(tela, false, v)) << "transport ignores the kind";
}

TEST_F(ListaCfop, InclusaoDeNotaDeixaForaAOutraDirecaoEOsServicos)
{
    const QString versao = VersaoCfop(QDate(2004, 3, 1));
    const QStringList saida = filtrados(TelaCfop::IncluirNota, false, versao);
    EXPECT_EQ(saida, esperados("CFOP", [](const QString& c) {
                  return !comecaCom(c, {"1", "2", "3"}) &&
                         !terminaCom(c, {"350", "351", "352", "353", "354", "355", "356", "357", "358", "359"});
              }));
    EXPECT_TRUE(saida.contains("5102"));
    EXPECT_FALSE(saida.contains("5351"));
    EXPECT_FALSE(saida.contains("1102"));

    const QStringList entrada = filtrados(TelaCfop::IncluirNota, true, "2");
    EXPECT_EQ(entrada, esperados("CFOP", [](const QString& c) {
                  return !comecaCom(c, {"5", "6", "7"}) && !terminaCom(c, {"350", "351", "352", "353", "354", "355",
                                                                           "356", "357", "358", "359"});
              }));
    EXPECT_TRUE(entrada.contains("1102"));

    const QStringList tres = filtrados(TelaCfop::IncluirNota, true, "1");
    EXPECT_EQ(tres, esperados("CFOP3", [](const QString& c) {
                  return !comecaCom(c, {"5", "6", "7"}) &&
                         !terminaCom(c, {"23", "33", "50", "60", "61", "62", "63", "64", "65"});
              }));
    EXPECT_TRUE(tres.contains("112"));
    EXPECT_FALSE(tres.contains("123"));
}

TEST_F(ListaCfop, AlteracaoDeNotaMostraTodaADirecao)
{
    const QStringList saida = filtrados(TelaCfop::AlterarNota, false, "3");
    EXPECT_EQ(saida, esperados("CFOP", [](const QString& c) { return comecaCom(c, {"5", "6", "7"}); }));
    EXPECT_TRUE(saida.contains("5351"));
    EXPECT_EQ(filtrados(TelaCfop::AlterarNota, true, "1"),
              esperados("CFOP3", [](const QString& c) { return comecaCom(c, {"1", "2", "3"}); }));
}

TEST_F(ListaCfop, TransporteSoComOsCodigosDoServico)
{
    const QStringList inclusao = filtrados(TelaCfop::IncluirTransporte, true, "3");
    EXPECT_EQ(inclusao, esperados("CFOP", [](const QString& c) {
                  return comecaCom(c, {"135", "235", "193", "293", "335", "535", "635", "735", "536", "636", "593",
                                       "693"}) ||
                         c.endsWith("206");
              }));
    EXPECT_TRUE(inclusao.contains("5351"));
    EXPECT_TRUE(inclusao.contains("1206"));

    const QStringList alteracao = filtrados(TelaCfop::AlterarTransporte, false, "3");
    EXPECT_EQ(alteracao, esperados("CFOP", [](const QString& c) {
                  return comecaCom(c, {"135", "235", "335", "535", "635", "735"}) || c.endsWith("206");
              }));
    EXPECT_LT(alteracao.size(), inclusao.size());

    for (auto tela : {TelaCfop::IncluirTransporte, TelaCfop::AlterarTransporte}) {
        const QStringList tres = filtrados(tela, false, "1");
        EXPECT_EQ(tres, esperados("CFOP3", [](const QString& c) {
                      return comecaCom(c, {"16", "26", "35", "56", "66", "76"});
                  }));
        EXPECT_FALSE(tres.isEmpty());
    }
}

TEST_F(ListaCfop, AberturaEBuscaDentroDoFiltro)
{
    TDataSet& lista = t.dtm->ADODataSetCFOP;
    const QString saida = FiltroCfop(TelaCfop::IncluirNota, false, "3");

    ASSERT_TRUE(AbreListaCfop(lista, saida, " ORDER BY CF_Codigo DESC"));
    EXPECT_EQ(lista.commandText(), saida + " ORDER BY CF_Codigo DESC");
    EXPECT_TRUE(lista.asString("CF_Codigo").startsWith("7"));

    EXPECT_EQ(BuscaCfop(lista, "5102", saida), "5102");
    EXPECT_EQ(lista.recordCount(), 1);
    EXPECT_EQ(BuscaCfop(lista, " 5102 ", saida), "5102");
    EXPECT_EQ(BuscaCfop(lista, "1102", saida), "") << "an entry code under the Saída filter";
    EXPECT_EQ(BuscaCfop(lista, "5351", saida), "") << "transport is left out of invoices";
    EXPECT_EQ(BuscaCfop(lista, "5351", FiltroCfop(TelaCfop::AlterarNota, false, "3")), "5351");
    EXPECT_EQ(BuscaCfop(lista, "161", FiltroCfop(TelaCfop::IncluirTransporte, true, "1")), "161");
    EXPECT_EQ(BuscaCfop(lista, "", saida), "");

    const QString quebrado = "select * from TabelaQueNaoExiste WHERE (1 = 1";
    EXPECT_FALSE(AbreListaCfop(lista, quebrado, ")"));
    EXPECT_EQ(BuscaCfop(lista, "5102", quebrado), "");
}

TEST(CodigosEspeciais, ListasCompletasSemRepeticao)
{
    const QStringList& a = CfopsDispensamCriticaUF();
    const QStringList& b = CfopsSemCreditoEntrada();
    EXPECT_EQ(a.size(), 72);
    EXPECT_EQ(QSet<QString>(a.cbegin(), a.cend()).size(), 72);
    EXPECT_EQ(b.size(), 137);
    EXPECT_EQ(QSet<QString>(b.cbegin(), b.cend()).size(), 137);
    for (const QString& c : a)
        EXPECT_TRUE(CfopDispensaCriticaUF(c)) << c.toStdString();
    for (const QString& c : b)
        EXPECT_FALSE(CfopGeraCreditoEntrada(c)) << c.toStdString();

    QStringList ambas;
    for (const QString& c : a)
        if (b.contains(c))
            ambas << c;
    EXPECT_EQ(ambas, (QStringList{"1601", "1602", "1603", "2603"}));
}

TEST(CodigosEspeciais, ComparacaoDoTextoInteiro)
{
    for (const char* c : {"1904", "6925", "195", "679", "5600"})
        EXPECT_TRUE(CfopDispensaCriticaUF(c)) << c;
    for (const char* c : {"5102", "1102", "", "190", "19", " 1904", "1904 ", "01904", "1.904", "6926"})
        EXPECT_FALSE(CfopDispensaCriticaUF(c)) << c;

    for (const char* c : {"143", "1128", "1934", "3556", "3000", "1601"})
        EXPECT_FALSE(CfopGeraCreditoEntrada(c)) << c;
    for (const char* c : {"1102", "1101", "5102", "", "143 ", "0143", "14", "3557"})
        EXPECT_TRUE(CfopGeraCreditoEntrada(c)) << c;
}

TEST_F(AtualizacaoCfop, ArquivoAusenteNaoMexeNaTabela)
{
    const int antes = total();
    const TResultadoCfops r = AtualizaCfops(*t.dtm, arquivo(), progresso);
    EXPECT_EQ(r.situacao, TResultadoCfops::Situacao::ArquivoAusente);
    EXPECT_EQ(total(), antes);
    EXPECT_TRUE(progresso.posicoes.isEmpty());
}

TEST_F(AtualizacaoCfop, NovoCodigoEntraComSTeExistenteSoTrocaADescricao)
{
    ASSERT_EQ(st("5102"), "N");
    ASSERT_EQ(st("1401"), "S");
    const int antes = total();
    grava("5102Venda de mercadoria de terceiros      \n"
          "1401Compra em substituicao tributaria\n"
          "9101Nova operacao de teste\n");
    QList<QPair<int, int>> passos;
    const TResultadoCfops r = AtualizaCfops(*t.dtm, arquivo(), progresso,
                                            [&](int feitas, int totalLinhas) { passos << qMakePair(feitas, totalLinhas); });
    EXPECT_EQ(r.situacao, TResultadoCfops::Situacao::Concluida);
    EXPECT_EQ(r.linhas, 3);
    EXPECT_EQ(r.incluidas, 1);
    EXPECT_EQ(r.alteradas, 2);
    EXPECT_EQ(r.ignoradas, 0);

    EXPECT_EQ(descricao("5102"), "Venda de mercadoria de terceiros") << "trailing blanks trimmed";
    EXPECT_EQ(st("5102"), "N");
    EXPECT_EQ(st("1401"), "S");
    EXPECT_EQ(descricao("9101"), "Nova operacao de teste");
    EXPECT_EQ(st("9101"), "S");
    EXPECT_EQ(total(), antes + 1);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFOP WHERE CF_Codigo = '5102'").toInt(), 1);

    EXPECT_EQ(passos.first(), qMakePair(0, 3));
    EXPECT_EQ(passos.last(), qMakePair(3, 3));
    EXPECT_EQ(passos.size(), 4);
    ASSERT_FALSE(progresso.posicoes.isEmpty());
    EXPECT_EQ(progresso.posicoes.first(), 0);
    EXPECT_EQ(progresso.posicoes.last(), 100);
    EXPECT_TRUE(std::is_sorted(progresso.posicoes.begin(), progresso.posicoes.end()));

    // Committed: a new start of the program still sees it.
    t.reinicia();
    ASSERT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(descricao("9101"), "Nova operacao de teste");
}

TEST_F(AtualizacaoCfop, CodificacaoDoArquivo)
{
    // Latin-1, as Windows tools write it: "Operação" and a Windows-only sign (0x96, the en dash).
    grava(QByteArray("9102Opera\xe7\xe3o de teste \x96 Latin\n"));
    AtualizaCfops(*t.dtm, arquivo(), progresso);
    EXPECT_EQ(descricao("9102"), QString::fromUtf8("Operação de teste – Latin"));

    // UTF-8 with a BOM and CR LF line ends, the last line without one.
    grava(QByteArray("\xef\xbb\xbf" "9103Devolu\xc3\xa7\xc3\xa3o em UTF-8\r\n"
                     "9104Presta\xc3\xa7\xc3\xa3o de servi\xc3\xa7o\r\n"
                     "9105\xc3\x89 a \xc3\xbaltima"));
    const TResultadoCfops r = AtualizaCfops(*t.dtm, arquivo(), progresso);
    EXPECT_EQ(r.linhas, 3);
    EXPECT_EQ(r.incluidas, 3);
    EXPECT_EQ(descricao("9103"), QString::fromUtf8("Devolução em UTF-8")) << "the BOM is not part of the code";
    EXPECT_EQ(descricao("9104"), QString::fromUtf8("Prestação de serviço")) << "no carriage return kept";
    EXPECT_EQ(descricao("9105"), QString::fromUtf8("É a última"));
}

TEST_F(AtualizacaoCfop, LinhasMalformadasOuRecusadasSaoPuladas)
{
    // The database refuses one code; the lines after it still go in.
    TBancoTeste::executaDireto(t.con->db(), "CREATE TRIGGER recusa_teste BEFORE INSERT ON CFOP "
                                            "WHEN NEW.CF_Codigo = '9201' BEGIN SELECT RAISE(ABORT, 'recusado'); END");
    const QString longa = QString(300, QLatin1Char('x'));
    grava("\n"
          "12\n"
          "AB12Codigo com letras\n"
          "12 4Codigo com branco\n"
          "9201Recusada pelo banco\n"
          "9202" + longa.toLatin1() + "\n"
          "9203\n"
          "   \n");
    TResultadoCfops r;
    ASSERT_NO_THROW(r = AtualizaCfops(*t.dtm, arquivo(), progresso));
    EXPECT_EQ(r.linhas, 8);
    EXPECT_EQ(r.ignoradas, 6);
    EXPECT_EQ(r.incluidas, 2);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFOP WHERE CF_Codigo = '9201'").toInt(), 0);
    EXPECT_EQ(descricao("9202"), QString(230, QLatin1Char('x'))) << "characters 5 to 234 only";
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFOP WHERE CF_Codigo = '9203'").toInt(), 1) << "a code alone is a line";
    EXPECT_EQ(descricao("9203"), "");
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFOP WHERE CF_Codigo IN ('AB12', '12 4', '12')").toInt(), 0);
    EXPECT_EQ(progresso.posicoes.last(), 100);
}

TEST_F(AtualizacaoCfop, ArquivoVazioNaoFalha)
{
    grava("");
    const int antes = total();
    QList<QPair<int, int>> passos;
    const TResultadoCfops r =
        AtualizaCfops(*t.dtm, arquivo(), progresso, [&](int f, int n) { passos << qMakePair(f, n); });
    EXPECT_EQ(r.situacao, TResultadoCfops::Situacao::Concluida);
    EXPECT_EQ(r.linhas, 0);
    EXPECT_EQ(total(), antes);
    EXPECT_EQ(passos, (QList<QPair<int, int>>{{0, 0}}));
}
