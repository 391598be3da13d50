// Series D runs: the save checks in their order, the row written (rate text, stamps), the statements'
// refusals and zero-row outcomes, deletion, and the browse sums and chart.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "documents/untClsNotaTalao.h"
#include "documents/untRegrasNotaTalao.h"
#include "support/TBancoTeste.h"

namespace {

struct NotasTalao : ::testing::Test {
    TBancoTeste t;
    int contribuinte = 0;
    int outro = 0;
    const QDateTime agora{QDate(2024, 7, 15), QTime(9, 30, 0)};

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TBancoTeste::executaDireto(t.con->db(), "INSERT INTO Contribuinte (RazaoSocial, UF, Tipo) VALUES "
                                                "('CONTRIBUINTE', 'ZR', 'C'), ('OUTRO', 'ZR', 'C')");
        contribuinte = 1;
        outro = 2;
    }

    static TCamposTalao run()
    {
        TCamposTalao c;
        c.modelo = "02";
        c.serie = "D";
        c.subSerie = "1";
        c.emissao = QDate(2024, 5, 10);
        c.notaInicial = "1";
        c.notaFinal = "50";
        c.aliquota = "17";
        c.baseIcms = *Money::parse("1.000,00");
        c.valorIcms = *Money::parse("170,00");
        c.isentas = *Money::parse("200,00");
        c.outras = *Money::parse("50,00");
        c.valorTotal = *Money::parse("1.250,00");
        return c;
    }
    TFalha checa(const TCamposTalao& c, bool alteracao = false)
    {
        TNotaTalao n;
        return ChecaNotaTalao(*t.dtm, c, alteracao, contribuinte, agora, n);
    }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(t.con->db(), sql); }
    int linhas() { return valor("SELECT COUNT(*) FROM NOTATALAO").toInt(); }
    int grava(const TCamposTalao& c, int dono = 0)
    {
        TNotaTalao n;
        EXPECT_FALSE(ChecaNotaTalao(*t.dtm, c, false, dono ? dono : contribuinte, agora, n).falhou());
        EXPECT_TRUE(TNotasTalao(*t.dtm).Incluir(n));
        return n.IDNotaTalao;
    }
};

} // namespace

TEST_F(NotasTalao, ChecagensNaOrdemComMensagemECampo)
{
    struct Caso {
        const char* nome;
        std::function<void(TCamposTalao&)> estraga;
        QString mensagem;
        QString campo;
    };
    const QString modelo = QString::fromUtf8("Modelos Válidos: 02,04,07,13,14,15,16, 21 e 65.");
    const QString serie = QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e Branco!");
    const QString ordem = QStringLiteral("Nota Inicial Maior que Nota Final!");
    const QString aliquota = QString::fromUtf8("Valor da alíquota deve ser menor que 100% !");
    const QString soma = QStringLiteral("Valor Total diferente de \nBase de Calculo+Isenta+Outras");
    const QList<Caso> casos = {
        // Each case breaks its own field and every later one: only the first check may answer.
        {"modelo de um digito", [](TCamposTalao& c) { c.modelo = "2"; c.serie = "X"; c.notaFinal = "0"; }, modelo, "edtModelo"},
        {"modelo fora da lista", [](TCamposTalao& c) { c.modelo = "01"; c.serie = "UD"; }, modelo, "edtModelo"},
        {"serie UD", [](TCamposTalao& c) { c.serie = "UD"; c.notaInicial = "9"; c.notaFinal = "1"; }, serie, "edtSerie"},
        {"serie minuscula", [](TCamposTalao& c) { c.serie = "d"; }, serie, "edtSerie"},
        {"final abaixo do inicial", [](TCamposTalao& c) { c.notaInicial = "10"; c.notaFinal = "9"; c.aliquota = "100"; }, ordem, "edtNInicial"},
        {"aliquota 100", [](TCamposTalao& c) { c.aliquota = "100"; c.valorTotal = Money(); }, aliquota, "vlrAliquota"},
        {"soma diferente", [](TCamposTalao& c) { c.valorTotal = *Money::parse("1.250,01"); }, soma, "curVlrTotal"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.nome);
        TCamposTalao c = run();
        caso.estraga(c);
        const TFalha f = checa(c);
        EXPECT_EQ(f.mensagem, caso.mensagem);
        EXPECT_EQ(f.campo, caso.campo);
    }
    // The change screen names the blank series its own way.
    TCamposTalao c = run();
    c.serie = "DD";
    EXPECT_EQ(checa(c, true).mensagem,
              QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e \"   \""));
    EXPECT_EQ(linhas(), 0);
}

TEST_F(NotasTalao, LimitesAceitos)
{
    TCamposTalao c = run();
    for (const char* s : {"", "U", "D", "DU", " DU "}) {
        c.serie = QString::fromLatin1(s);
        EXPECT_FALSE(checa(c).falhou()) << s;
    }
    for (const char* m : {"04", "07", "13", "14", "15", "16", "21", "65"}) {
        c.modelo = QString::fromLatin1(m);
        EXPECT_FALSE(checa(c).falhou()) << m;
    }
    c = run();
    c.notaInicial = "1";
    c.notaFinal = "1";
    EXPECT_FALSE(checa(c).falhou()) << "a single note";
    c.aliquota = "99,99";
    EXPECT_FALSE(checa(c).falhou());
    // Base 50 + exempt 0 + other 10 against a total of 60 passes whatever the ICMS says.
    c.baseIcms = *Money::parse("50,00");
    c.isentas = Money();
    c.outras = *Money::parse("10,00");
    c.valorTotal = *Money::parse("60,00");
    c.valorIcms = *Money::parse("999,00");
    EXPECT_FALSE(checa(c).falhou());
}

TEST_F(NotasTalao, NumerosVaziosOuInvalidosTemMensagemEFoco)
{
    for (const char* numero : {"", "  ", "abc", "0", "1234567", "-5", "1.5"}) {
        SCOPED_TRACE(numero);
        TCamposTalao c = run();
        c.notaInicial = QString::fromLatin1(numero);
        TFalha f = checa(c);
        EXPECT_EQ(f.campo, "edtNInicial");
        EXPECT_TRUE(f.esvazia);
        EXPECT_TRUE(f.mensagem.startsWith(QString::fromUtf8("Número da Nota Inicial Inválido!")));
        c = run();
        c.notaFinal = QString::fromLatin1(numero);
        f = checa(c);
        EXPECT_EQ(f.campo, "edtNFinal");
        EXPECT_TRUE(f.mensagem.startsWith(QString::fromUtf8("Número da Nota Final Inválido!")));
    }
    TCamposTalao c = run();
    c.notaFinal = "999999";
    EXPECT_FALSE(checa(c).falhou());
}

TEST_F(NotasTalao, ValoresNegativosFracoesEAliquotaIlegivelRecusados)
{
    TCamposTalao c = run();
    c.outras = -*Money::parse("50,00");
    c.valorTotal = *Money::parse("1.150,00");
    TFalha f = checa(c);
    EXPECT_EQ(f.campo, "curVlrOutras");
    EXPECT_EQ(f.mensagem, QString::fromUtf8("O valor de Outras não pode ser negativo."));

    c = run();
    c.baseIcms = Money::fromRaw(10000005); // 1.000,0005: refused before the sum is compared
    f = checa(c);
    EXPECT_EQ(f.campo, "curBaseIcms");
    EXPECT_TRUE(f.mensagem.contains("1.000,0005")) << f.mensagem.toStdString();

    for (const char* a : {"abc", "-1", "7,125"}) {
        c = run();
        c.aliquota = QString::fromLatin1(a);
        EXPECT_EQ(checa(c).campo, "vlrAliquota") << a;
    }
}

TEST_F(NotasTalao, GravaLinhaComTextoDaAliquotaEMarcas)
{
    TCamposTalao c = run();
    c.aliquota = "7";
    c.serie = "DU";
    c.subSerie = " 1";
    const int id = grava(c);
    ASSERT_GT(id, 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT IDContribuinte || '|' || DtEmissao || '|' || Modelo || '|' || Serie || '|' || "
                                   "SubSerie || '|' || NumeroInicial || '|' || NumeroFinal || '|' || Aliquota || '|' || "
                                   "DtUltAlteracao FROM NOTATALAO WHERE IDNotaTalao = %1").arg(id))
                  .toString(),
              "1|2024-05-10|02|DU|1|1|50|700|2024-07-15T09:30:00");
    EXPECT_EQ(valor("SELECT ValorTotal || '/' || BaseICMS || '/' || ValorICMS || '/' || Isenta || '/' || Outras FROM NOTATALAO")
                  .toString(),
              "12500000/10000000/1700000/2000000/500000");

    c.aliquota = "12,5";
    TNotaTalao n;
    ASSERT_FALSE(ChecaNotaTalao(*t.dtm, c, false, contribuinte, agora, n).falhou());
    EXPECT_EQ(n.Aliquota, "1250");
    c.aliquota = "";
    ASSERT_FALSE(ChecaNotaTalao(*t.dtm, c, false, contribuinte, agora, n).falhou());
    EXPECT_EQ(n.Aliquota, "0");

    // Two runs of the same numbers on the same day are both kept: there is no duplicate rule.
    c = run();
    grava(c);
    grava(c);
    EXPECT_EQ(linhas(), 3);
}

TEST_F(NotasTalao, LarguraDaColunaRecusadaNomeandoOCampo)
{
    // A wider column than the program ever declares is narrowed here to prove the check reads the schema.
    t.dtm->ADOCommand.setCommandText("ALTER TABLE NOTATALAO ALTER COLUMN SubSerie Text(1)");
    t.dtm->ADOCommand.execute();
    TCamposTalao c = run();
    c.subSerie = "AB";
    const TFalha f = checa(c);
    EXPECT_EQ(f.campo, "edtSubSerie");
    EXPECT_TRUE(f.mensagem.contains(QString::fromUtf8("SubSérie"))) << f.mensagem.toStdString();
    EXPECT_EQ(linhas(), 0);
}

TEST_F(NotasTalao, AlterarCarregarEExcluirPorChaveEContribuinte)
{
    const int id = grava(run());
    TNotasTalao notas(*t.dtm);
    TNotaTalao n;
    ASSERT_TRUE(notas.Carregar(id, contribuinte, n));
    EXPECT_EQ(n.Aliquota, "1700");
    EXPECT_EQ(n.NumeroFinal, 50);
    EXPECT_EQ(n.ValorTotal, *Money::parse("1.250,00"));
    EXPECT_FALSE(notas.Carregar(id, outro, n)) << "another taxpayer's key reads nothing";

    ASSERT_TRUE(notas.Carregar(id, contribuinte, n));
    n.NumeroFinal = 60;
    n.DtUltAlteracao = QDateTime(QDate(2024, 7, 16), QTime(8, 0));
    EXPECT_TRUE(notas.Alterar(n));
    EXPECT_EQ(valor("SELECT NumeroFinal || ' ' || DtUltAlteracao FROM NOTATALAO").toString(), "60 2024-07-16T08:00:00");

    // A row that is not there is not "changed" nor "deleted".
    TNotaTalao ausente = n;
    ausente.IDNotaTalao = id + 100;
    QString erro = "x";
    EXPECT_FALSE(notas.Alterar(ausente, &erro));
    EXPECT_TRUE(erro.isEmpty());
    TNotaTalao alheia = n;
    alheia.IDContribuinte = outro;
    EXPECT_FALSE(notas.Alterar(alheia));
    EXPECT_FALSE(notas.Excluir(id, outro));
    EXPECT_EQ(linhas(), 1);

    // The engine's refusal comes back with its text.
    TBancoTeste::executaDireto(t.con->db(),
                               "CREATE TRIGGER recusa BEFORE DELETE ON NOTATALAO BEGIN SELECT RAISE(ABORT, 'recusada'); END");
    EXPECT_FALSE(notas.Excluir(id, contribuinte, &erro));
    EXPECT_TRUE(erro.contains("recusada"));
    EXPECT_EQ(linhas(), 1);
    EXPECT_EQ(sqlite3_get_autocommit(t.con->db()), 1) << "no transaction left open";
    TBancoTeste::executaDireto(t.con->db(), "DROP TRIGGER recusa");
    EXPECT_TRUE(notas.Excluir(id, contribuinte));
    EXPECT_EQ(linhas(), 0);
    EXPECT_FALSE(notas.ExisteAlguma(contribuinte));
}

TEST_F(NotasTalao, IncluirRecusadoDevolveOTextoDoBanco)
{
    TBancoTeste::executaDireto(t.con->db(),
                               "CREATE TRIGGER recusa BEFORE INSERT ON NOTATALAO BEGIN SELECT RAISE(ABORT, 'cheio'); END");
    TNotaTalao n;
    ASSERT_FALSE(ChecaNotaTalao(*t.dtm, run(), false, contribuinte, agora, n).falhou());
    QString erro;
    EXPECT_FALSE(TNotasTalao(*t.dtm).Incluir(n, &erro));
    EXPECT_TRUE(erro.contains("cheio"));
    EXPECT_EQ(n.IDNotaTalao, 0);
}

TEST_F(NotasTalao, ResumoEGraficoDoPeriodo)
{
    TCamposTalao c = run();
    grava(c);
    c.emissao = QDate(2024, 5, 31);
    grava(c);
    c.emissao = QDate(2024, 6, 1);
    grava(c);
    c.emissao = QDate(2023, 5, 10);
    grava(c);
    grava(run(), outro);

    auto r = ConsultasTalao::Resumo(*t.con, contribuinte, ConsultasNotas::periodo("5", "2024"));
    EXPECT_EQ(r.quantidade, 2);
    EXPECT_EQ(r.vendaBruta, *Money::parse("2.500,00"));
    EXPECT_EQ(r.baseIcms, *Money::parse("2.000,00"));
    EXPECT_EQ(r.valorIcms, *Money::parse("340,00"));
    EXPECT_EQ(r.isenta, *Money::parse("400,00"));
    EXPECT_EQ(r.outras, *Money::parse("100,00"));
    r = ConsultasTalao::Resumo(*t.con, contribuinte, ConsultasNotas::periodo("**", "1990"));
    EXPECT_EQ(r.quantidade, 4);

    TDataSet lista(*t.con);
    ConsultasTalao::AbreLista(lista, contribuinte, ConsultasNotas::periodo("5", "2024"));
    EXPECT_EQ(lista.recordCount(), 2);
    ConsultasTalao::AbreTodas(lista, contribuinte);
    EXPECT_EQ(lista.recordCount(), 4);
    EXPECT_EQ(lista.asString("DtEmissao"), "2023-05-10") << "by date";

    // From 01/11/2023 (240 days before 15/07/2024 falls in November): May and June.
    const auto barras = ConsultasTalao::Grafico(*t.con, contribuinte, QDate(2024, 7, 15));
    ASSERT_EQ(barras.size(), 2);
    EXPECT_EQ(barras[0].mes, 5);
    EXPECT_EQ(barras[0].total, *Money::parse("2.500,00"));
    EXPECT_EQ(barras[1].mes, 6);
}
