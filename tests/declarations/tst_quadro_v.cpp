// Quadro V and the municipality table: the list's filters (month and year bound as numbers), the rule of one
// row per taxpayer, month and municipality (a change included), and the update from the delivered files,
// read whole first and applied all or nothing.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "declarations/untQuadroV.h"
#include "support/TBancoTeste.h"

namespace {

struct QuadroV : ::testing::Test {
    TBancoTeste t;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sql("INSERT INTO VornQuadroV (IdQuadroV, IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) VALUES "
            "(1, 1, '2024-05-01', '00100', 'A', 10000), (2, 1, '2024-05-01T00:00:00', '00200', 'B', 20000), "
            "(3, 1, '2024-06-01', '00100', 'A', 30000), (4, 1, '2023-05-01', '00300', 'C', 40000), "
            "(5, 2, '2024-05-01', '00100', 'A', 50000)");
    }
    void sql(const QString& c) { TBancoTeste::executaDireto(t.con->db(), c); }
    QVariant valor(const QString& c) { return TBancoTeste::valorDireto(t.con->db(), c); }
    QStringList ids(const QString& mes, const QString& ano)
    {
        TDataSet l(*t.con);
        AbreListaQuadroV(l, 1, mes, ano);
        QStringList r;
        for (l.first(); !l.eof(); l.next())
            r << l.asString("IdQuadroV");
        return r;
    }
    void arquivo(const QString& pasta, const char* nome, const QByteArray& conteudo)
    {
        QFile f(QDir(pasta).filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    QString municipios()
    {
        return valor("SELECT group_concat(codMunicipio || '=' || nomeMunicipio, ';') FROM "
                     "(SELECT * FROM municipio ORDER BY codMunicipio)").toString();
    }
};

} // namespace

TEST_F(QuadroV, FiltrosDaListaEmNumeros)
{
    EXPECT_EQ(ids("5", "2024"), QStringList({"1", "2"})) << "by code, the time of day of an older row no matter";
    EXPECT_EQ(ids("**", "2024"), QStringList({"1", "3", "2"}));
    EXPECT_EQ(ids("", ""), QStringList({"1", "3", "2", "4"})) << "every month of every year, only the taxpayer's";
    EXPECT_EQ(ids("5", ""), QStringList({"1", "2", "4"})) << "by municipality code";
    EXPECT_TRUE(ids("7", "2024").isEmpty());
}

TEST_F(QuadroV, UmaLinhaPorMesEMunicipioNaInclusaoENaAlteracao)
{
    TQuadrosV q(*t.dtm);
    TQuadroV nova;
    nova.IdContribuinte = 1;
    nova.PeriodoZel = QDate(2024, 5, 1);
    nova.CodMunicipio = "00200";
    EXPECT_TRUE(q.Duplicado(nova)) << "the row stored with a time of day is the same month";
    nova.CodMunicipio = "00300";
    EXPECT_FALSE(q.Duplicado(nova));
    nova.IdContribuinte = 2;
    nova.CodMunicipio = "00200";
    EXPECT_FALSE(q.Duplicado(nova)) << "another taxpayer's month";

    // Changing row 1 to the municipality of row 2 is the same duplicate; keeping its own is not.
    TQuadroV um;
    um.IdQuadroV = 1;
    um.IdContribuinte = 1;
    um.PeriodoZel = QDate(2024, 5, 1);
    um.CodMunicipio = "00200";
    EXPECT_TRUE(q.Duplicado(um, um.IdQuadroV));
    um.CodMunicipio = "00100";
    EXPECT_FALSE(q.Duplicado(um, um.IdQuadroV));

    um.Valor = Money::fromCents(77);
    EXPECT_TRUE(q.Alterar(um));
    um.IdContribuinte = 2;
    QString erro;
    EXPECT_FALSE(q.Alterar(um, &erro)) << "another taxpayer's row changes nothing, and says so";
    EXPECT_FALSE(erro.isEmpty());
    EXPECT_FALSE(q.Excluir(99, 1)) << "a deletion that deletes nothing says so";
    EXPECT_TRUE(q.Excluir(1, 1));
}

TEST_F(QuadroV, ChecagensAoSalvar)
{
    const QDate hoje(2024, 7, 15);
    TQuadroV l;
    l.CodMunicipio = "00100";
    EXPECT_EQ(ChecaQuadroV(l, hoje).campo, "edtPeriodo");
    l.PeriodoZel = QDate(2009, 11, 1);
    EXPECT_EQ(ChecaQuadroV(l, hoje).mensagem, QString::fromUtf8("Período inválido"));
    l.PeriodoZel = QDate(2024, 8, 1);
    EXPECT_EQ(ChecaQuadroV(l, hoje).mensagem, QString::fromUtf8("Período inválido")) << "after the current month";
    l.PeriodoZel = QDate(2009, 12, 1);
    EXPECT_FALSE(ChecaQuadroV(l, hoje).falhou());
    l.Valor = Money::fromCents(-1);
    EXPECT_EQ(ChecaQuadroV(l, hoje).campo, "edtValor");
    l.Valor = Money();
    l.CodMunicipio.clear();
    EXPECT_EQ(ChecaQuadroV(l, hoje).campo, "RxDBMunicipio");
}

TEST_F(QuadroV, AtualizacaoDosMunicipiosIgualNasDuasCodificacoes)
{
    QString resultado[2];
    for (int k = 0; k < 2; ++k) {
        TBancoTeste b;
        ASSERT_EQ(b.con->Conectar(), "JET");
        TBancoTeste::executaDireto(b.con->db(),
                                   "INSERT INTO municipio VALUES ('00100', 'VELHO'), ('00999', 'EXTINTO');"
                                   "INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Valor) VALUES "
                                   "(1, '2024-05-01', '00100', 1), (2, '2024-05-01', '00100', 1), (3, '2024-05-01', '00200', 1)");
        QTemporaryDir pasta;
        if (k == 0) {
            arquivo(pasta.path(), "municipio.txt", "00100|S\xC3O PAULO DO NORTE|\r\n00200|BEL\xC9M|\r\n\r\n");
            arquivo(pasta.path(), "DeParaNovosCodigosMunicipios.txt", "00100|00150|\r\n");
        } else {
            // UTF-8 with LF, one name without the closing character.
            arquivo(pasta.path(), "municipio.txt", "00100|S\xC3\x83O PAULO DO NORTE|\n00200|BEL\xC3\x89M\n");
            arquivo(pasta.path(), "DeParaNovosCodigosMunicipios.txt", "00100|00150|\n");
        }
        TArquivosMunicipios a;
        QString erro;
        ASSERT_TRUE(LeArquivosMunicipios(pasta.path(), &a, &erro)) << erro.toStdString();
        ASSERT_TRUE(AplicaMunicipios(*b.dtm, a, {}, &erro)) << erro.toStdString();
        resultado[k] = TBancoTeste::valorDireto(b.con->db(), "SELECT group_concat(codMunicipio || '=' || nomeMunicipio, ';') "
                                                              "FROM (SELECT * FROM municipio ORDER BY codMunicipio)")
                           .toString() +
                       " / " +
                       TBancoTeste::valorDireto(b.con->db(), "SELECT group_concat(CodMunicipio, ',') FROM "
                                                              "(SELECT * FROM VornQuadroV ORDER BY IdContribuinte)")
                           .toString();
    }
    EXPECT_EQ(resultado[0], QString::fromUtf8("00100=SÃO PAULO DO NORTE;00200=BELÉM / 00150,00150,00200"))
        << "renamed, inserted, the missing code deleted, every taxpayer's rows moved";
    EXPECT_EQ(resultado[1], resultado[0]);
}

TEST_F(QuadroV, ArquivoMalFormadoNaoMudaNadaENomeiaALinha)
{
    sql("INSERT INTO municipio VALUES ('00100', 'VELHO')");
    const QString antes = municipios();
    const struct {
        QByteArray municipios, mudancas;
        QString mensagem;
    } casos[] = {
        {"00100|A|\r\nsem barra\r\n", "", QString::fromUtf8("Linha 2 do arquivo municipio.txt inválida.")},
        {"1234567|A|\r\n", "", QString::fromUtf8("Linha 1 do arquivo municipio.txt inválida.")},
        {"00100||\r\n", "", QString::fromUtf8("Linha 1 do arquivo municipio.txt inválida.")},
        {"00100|" + QByteArray(61, 'N') + "|\r\n", "", QString::fromUtf8("Linha 1 do arquivo municipio.txt inválida.")},
        {"\r\n\r\n", "", QString::fromUtf8("O arquivo municipio.txt não tem nenhum município.")},
        {"00100|A|\r\n", "00100||\r\n", QString::fromUtf8("Linha 1 do arquivo DeParaNovosCodigosMunicipios.txt inválida.")},
    };
    for (const auto& c : casos) {
        QTemporaryDir pasta;
        arquivo(pasta.path(), "municipio.txt", c.municipios);
        arquivo(pasta.path(), "DeParaNovosCodigosMunicipios.txt", c.mudancas);
        TArquivosMunicipios a;
        QString erro;
        EXPECT_FALSE(LeArquivosMunicipios(pasta.path(), &a, &erro));
        EXPECT_EQ(erro, c.mensagem);
        EXPECT_TRUE(a.municipios.isEmpty());
    }
    // A missing code-change file stops the update before anything changed.
    QTemporaryDir pasta;
    arquivo(pasta.path(), "municipio.txt", "00100|NOVO|\r\n");
    TArquivosMunicipios a;
    QString erro;
    EXPECT_FALSE(LeArquivosMunicipios(pasta.path(), &a, &erro));
    EXPECT_EQ(erro, QString::fromUtf8("O arquivo DeParaNovosCodigosMunicipios.txt não foi encontrado!"));
    EXPECT_EQ(municipios(), antes);

    // A failure while applying takes back the municipalities already written.
    arquivo(pasta.path(), "DeParaNovosCodigosMunicipios.txt", "00100|00150|\r\n");
    ASSERT_TRUE(LeArquivosMunicipios(pasta.path(), &a, &erro));
    sql("CREATE TRIGGER recusa BEFORE UPDATE ON VornQuadroV BEGIN SELECT RAISE(ABORT, 'recusado'); END");
    EXPECT_FALSE(AplicaMunicipios(*t.dtm, a, {}, &erro));
    EXPECT_TRUE(erro.contains("recusado"));
    EXPECT_EQ(municipios(), antes);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM VornQuadroV WHERE CodMunicipio = '00100'").toInt(), 3);
}

// Codes are numbers: "4405" is "04405" in the list's order, the duplicate rule and the municipality lookup; the
// update sums the rows of one month and municipality that older spellings or a code change leave side by side.
TEST_F(QuadroV, CodigosComoNumerosEUpdateSomaOsRepetidos)
{
    sql("DELETE FROM VornQuadroV");
    sql("INSERT INTO municipio VALUES ('04405', 'CAPITAL'), ('00123', 'VILA'), ('00150', 'NOVA'), ('00100', 'VELHA')");
    sql("INSERT INTO VornQuadroV (IdQuadroV, IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) VALUES "
        "(1, 1, '2024-05-01', '4405', 'CAPITAL', 10000), (2, 1, '2024-05-01', '04405', 'CAPITAL', 20000), "
        "(3, 1, '2024-05-01', '123', 'VILA', 30000), (4, 1, '2024-05-01', '00150', 'NOVA', 40000), "
        "(5, 1, '2024-05-01', '00100', 'VELHA', 50000), (6, 1, '2024-06-01', '00100', 'VELHA', 60000), "
        "(7, 2, '2024-05-01', '00100', 'VELHA', 70000)");
    EXPECT_EQ(ids("5", "2024"), QStringList({"5", "3", "4", "2", "1"})) << "100, 123, 150, 4405: by number";

    TQuadrosV q(*t.dtm);
    TQuadroV nova;
    nova.IdContribuinte = 1;
    nova.PeriodoZel = QDate(2024, 5, 1);
    for (const char* codigo : {"4405", "04405", "0004405"}) {
        nova.CodMunicipio = QString::fromLatin1(codigo);
        EXPECT_TRUE(q.Duplicado(nova)) << codigo;
        EXPECT_TRUE(MunicipioExiste(*t.dtm, nova.CodMunicipio)) << codigo;
    }
    EXPECT_FALSE(MunicipioExiste(*t.dtm, "ABC"));

    // 00100 becomes 00150, which May already has: those two sum, and so do the two spellings of 4405.
    TArquivosMunicipios a;
    a.municipios = {{"04405", "CAPITAL"}, {"00123", "VILA"}, {"00150", "NOVA"}};
    a.mudancas = {{"100", "00150"}};
    QString erro;
    int somadas = -1;
    ASSERT_TRUE(AplicaMunicipios(*t.dtm, a, {}, &erro, &somadas)) << erro.toStdString();
    EXPECT_EQ(somadas, 4);
    EXPECT_EQ(valor("SELECT group_concat(IdQuadroV || ':' || CodMunicipio || '=' || Valor, ';') FROM "
                    "(SELECT * FROM VornQuadroV ORDER BY IdQuadroV)").toString(),
              "1:4405=30000;3:123=30000;4:00150=90000;6:00150=60000;7:00150=70000")
        << "each month of each taxpayer keeps one row per municipality, the first, with the sum";

    // Nothing repeated: nothing summed.
    ASSERT_TRUE(AplicaMunicipios(*t.dtm, a, {}, &erro, &somadas)) << erro.toStdString();
    EXPECT_EQ(somadas, 0);
}

// The code changes go in one pass, as if applied line after line: a chain takes the rows to its end, a code
// moved back returns, a second line for a code already moved finds nothing left on it.
TEST(MudancasDeMunicipio, DestinoFinalDeCadaCodigoAntigo)
{
    using L = QList<QPair<QString, QString>>;
    using D = QList<QPair<qint64, QString>>;
    const struct {
        L mudancas;
        D destinos;
    } casos[] = {
        {{{"00100", "00150"}}, {{100, "00150"}}},
        {{{"100", "200"}, {"00200", "300"}}, {{100, "300"}, {200, "300"}}},
        {{{"100", "200"}, {"200", "100"}}, {{100, "100"}, {200, "100"}}},
        {{{"100", "200"}, {"100", "300"}}, {{100, "200"}}},
        {{{"200", "100"}, {"100", "300"}}, {{200, "300"}, {100, "300"}}},
    };
    for (const auto& c : casos)
        EXPECT_EQ(DestinosDasMudancas(c.mudancas), c.destinos);
}
