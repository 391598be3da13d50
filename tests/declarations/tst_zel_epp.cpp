// The EPP declaration without its screens: the old rules' credits by employees and by the share of internal
// acquisitions with their 50 % cap, the effective revenue and the brackets, the ties of the rate products,
// MP 37/06 with its granted credits and the negative tax it refuses, the period and save checks of both
// screens, the ZEL_EPP row column by column in each regime, and "Processa" over a month of documents.
#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "declarations/untZelEpp.h"
#include "support/TBancoTeste.h"

// Amounts read in a failure message as the user would type them, all four decimals.
static void PrintTo(const Money& m, std::ostream* os) { *os << m.toStringExato().toStdString(); }

namespace {

Money R(qint64 centavos) { return Money::fromCents(centavos); }
Money D(qint64 dezMilesimos) { return Money::fromRaw(dezMilesimos); }

// The old rules with a chosen bracket and the usual 16.000,00 of effective revenue (10.000,00 computed,
// 20.000,00 of average entries).
TApuracaoEPP Antiga(int faixa = 3)
{
    TApuracaoEPP a;
    a.recApurada = R(1000000);
    a.mediaEntradas = R(2000000);
    a.faixa = faixa;
    return a;
}

} // namespace

// ----- the old rules

TEST(ApuracaoEPP, CreditoPorEmpregadosEmCadaFaixaDeQuantidade)
{
    // 1 to 5: one point each; 6 to 20: 5 plus two per employee above five; above 20: 35.
    const struct {
        int empregados;
        int credito;
    } casos[] = {{0, 0}, {1, 1}, {5, 5}, {6, 7}, {7, 9}, {19, 33}, {20, 35}, {21, 35}, {500, 35}};
    for (const auto& c : casos) {
        TApuracaoEPP a = Antiga();
        a.numEmpreg = c.empregados;
        EXPECT_EQ(a.credEmpreg(), c.credito) << c.empregados << " empregados";
        EXPECT_EQ(a.percCredPres(), c.credito) << "no acquisitions: the employees alone";
    }
    // The provisional measure has no employee credit, whatever the count left in the model.
    TApuracaoEPP mp;
    mp.mp3706 = true;
    mp.numEmpreg = 20;
    EXPECT_EQ(mp.credEmpreg(), 0);
}

TEST(ApuracaoEPP, ParticipacaoDasAquisicoesInternasTruncadaDecideOCredito)
{
    // Of 1.000,00 acquired: 799,99 is 79,999 % and counts as 79; the thresholds are 60 and 80.
    const struct {
        qint64 internasCentavos;
        int participacao;
        int credito;
    } casos[] = {{79999, 79, 20}, {80000, 80, 40}, {59999, 59, 0}, {60000, 60, 20}, {100000, 100, 40}, {0, 0, 0}};
    for (const auto& c : casos) {
        TApuracaoEPP a = Antiga();
        a.totalAquis = R(100000);
        a.aquisInter = R(c.internasCentavos);
        EXPECT_EQ(a.participacaoInterna(), c.participacao) << c.internasCentavos;
        EXPECT_EQ(a.credAqInter(), c.credito) << c.internasCentavos;
    }
    // No acquisition at all: a share of 0, not a division by zero.
    TApuracaoEPP semCompras = Antiga();
    semCompras.aquisInter = R(50000);
    EXPECT_EQ(semCompras.participacaoInterna(), 0);
    EXPECT_EQ(semCompras.credAqInter(), 0);
    // Under MP 37/06 the share gives nothing.
    TApuracaoEPP mp;
    mp.mp3706 = true;
    mp.totalAquis = R(100000);
    mp.aquisInter = R(100000);
    EXPECT_EQ(mp.credAqInter(), 0);
}

TEST(ApuracaoEPP, CreditoPresumidoSomaOsDoisELimitaEm50)
{
    // 16.000,00 at 2,5 % = 400,00 of tax due in every case.
    const struct {
        qint64 internasCentavos;
        int empregados;
        int percentual;
        qint64 creditoCentavos;
        qint64 recolherCentavos;
    } casos[] = {
        {80000, 20, 50, 20000, 20000}, // 40 + 35 = 75, capped: half the tax
        {80000, 5, 45, 18000, 22000},  // 40 + 5
        {79999, 6, 27, 10800, 29200},  // 20 + 7
        {80000, 6, 47, 18800, 21200},  // 40 + 7
        {59999, 0, 0, 0, 40000},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::to_string(c.internasCentavos) + " / " + std::to_string(c.empregados));
        TApuracaoEPP a = Antiga();
        a.totalAquis = R(100000);
        a.aquisInter = R(c.internasCentavos);
        a.numEmpreg = c.empregados;
        EXPECT_EQ(a.impDevido(), R(40000));
        EXPECT_EQ(a.percCredPres(), c.percentual);
        EXPECT_EQ(a.credPresumido(), R(c.creditoCentavos));
        EXPECT_EQ(a.impRecolher(), R(c.recolherCentavos));
    }
}

TEST(ApuracaoEPP, ReceitaEfetivaEOMaiorEntreApuradaE80PorCentoDaMediaEFaixas)
{
    TApuracaoEPP a = Antiga();
    EXPECT_EQ(a.recEfetiva(), R(1600000)) << "80 % of 20.000,00 is above the 10.000,00 computed";
    EXPECT_EQ(a.percRecolhCentesimos(), 250);
    EXPECT_EQ(a.impDevido(), R(40000));

    a.recApurada = R(1600001);
    EXPECT_EQ(a.recEfetiva(), R(1600001)) << "the computed revenue when it is the larger";
    a.recApurada = R(1600000);
    EXPECT_EQ(a.recEfetiva(), R(1600000));
    a.mediaEntradas = Money();
    a.recApurada = R(123456);
    EXPECT_EQ(a.recEfetiva(), R(123456)) << "no average typed";
    // 80 % of an odd cent: 0,03 × 0,8 = 0,024 shows and is stored as 0,02; 0,05 × 0,8 = 0,04 exactly.
    a.recApurada = Money();
    a.mediaEntradas = R(3);
    EXPECT_EQ(a.recEfetiva(), R(2));
    a.mediaEntradas = R(1);
    EXPECT_EQ(a.recEfetiva(), R(1)) << "0,008 is nearer to 0,01";
    // A figure of the documents with a fraction of a cent is shown, and taken, to the cent.
    a.mediaEntradas = Money();
    a.recApurada = D(10000050);
    EXPECT_EQ(a.recEfetiva(), R(100000)) << "1.000,0050 is the tie 1.000,00 (even)";

    // Each bracket over the same 16.000,00; none chosen gives no rate and no tax.
    const struct {
        int faixa;
        int centesimos;
        qint64 impostoCentavos;
    } faixas[] = {{1, 150, 24000}, {2, 200, 32000}, {3, 250, 40000}, {4, 300, 48000}, {5, 350, 56000}, {0, 0, 0}};
    for (const auto& f : faixas) {
        TApuracaoEPP b = Antiga(f.faixa);
        EXPECT_EQ(b.percRecolhCentesimos(), f.centesimos) << f.faixa;
        EXPECT_EQ(b.impDevido(), R(f.impostoCentavos)) << f.faixa;
    }
    // The stored percentage gives its bracket back when a row is reopened.
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(1.5), 1);
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(2.0), 2);
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(2.5), 3);
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(3.0), 4);
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(3.5), 5);
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(1.0), 0) << "the MP 37/06 rate is no bracket";
    EXPECT_EQ(TApuracaoEPP::FaixaDoPercentual(0.0), 0);
}

TEST(ApuracaoEPP, MeioCentavoNosProdutosArredondaParaOPar)
{
    // What the screen shows in its two-decimal fields is what is stored: each product to the cent, an exact
    // half to the even cent. 1 % of 1.000,50 is 10,005 → 10,00; of 1.001,50 is 10,015 → 10,02.
    TApuracaoEPP mp;
    mp.mp3706 = true;
    mp.recApurada = R(100050);
    EXPECT_EQ(mp.impDevido(), R(1000));
    EXPECT_EQ(mp.impRecolher(), R(1000));
    mp.recApurada = R(100150);
    EXPECT_EQ(mp.impDevido(), R(1002));
    mp.recApurada = R(100250);
    EXPECT_EQ(mp.impDevido(), R(1002));
    mp.recApurada = R(100251);
    EXPECT_EQ(mp.impDevido(), R(1003)) << "above the half: up";

    // 1,5 % of 1,00 is 0,015 → 0,02; of 3,00 is 0,045 → 0,04.
    TApuracaoEPP a;
    a.faixa = 1;
    a.recApurada = R(100);
    EXPECT_EQ(a.impDevido(), R(2));
    a.recApurada = R(300);
    EXPECT_EQ(a.impDevido(), R(4));

    // Half of a tax of 0,25 (2,5 % of 10,00) is 0,125 → 0,12, so 0,13 is left to pay; half of 0,75
    // (2,5 % of 30,00) is 0,375 → 0,38, with 0,37 left.
    a.faixa = 3;
    a.numEmpreg = 20;
    a.totalAquis = R(100);
    a.aquisInter = R(100);
    a.recApurada = R(1000);
    ASSERT_EQ(a.percCredPres(), 50);
    EXPECT_EQ(a.impDevido(), R(25));
    EXPECT_EQ(a.credPresumido(), R(12));
    EXPECT_EQ(a.impRecolher(), R(13));
    a.recApurada = R(3000);
    EXPECT_EQ(a.impDevido(), R(75));
    EXPECT_EQ(a.credPresumido(), R(38));
    EXPECT_EQ(a.impRecolher(), R(37));
}

// ----- MP 37/06

TEST(ApuracaoEPP, MP3706UmPorCentoMenosOsCreditosENegativoRecusado)
{
    TApuracaoEPP a;
    a.mp3706 = true;
    a.recApurada = R(5000000);
    // Left over from the old rules: none of it counts.
    a.faixa = 5;
    a.numEmpreg = 20;
    a.totalAquis = R(100000);
    a.aquisInter = R(100000);
    EXPECT_EQ(a.recEfetiva(), R(5000000));
    EXPECT_EQ(a.percRecolhCentesimos(), 100);
    EXPECT_EQ(a.impDevido(), R(50000));
    EXPECT_EQ(a.percCredPres(), 0);
    EXPECT_EQ(a.credPresumido(), Money());
    EXPECT_EQ(a.impRecolher(), R(50000));
    EXPECT_FALSE(a.ChecaSalvar().falhou()) << "no bracket is asked for under MP 37/06";

    a.credTEF = R(20000);
    a.chqMoradia = R(30000);
    a.chqEducacao = R(10000);
    EXPECT_EQ(a.totalCredOutorgado(), R(60000));
    EXPECT_EQ(a.impRecolher(), R(-10000)) << "negative, not the absolute value of the old rules";
    const TFalha f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, QString::fromUtf8("Valor do Imposto a Recolher não pode ser negativo."));
    EXPECT_EQ(f.campo, "edtCredTEF_ECF");

    // Credits equal to the tax leave nothing to pay, which is accepted.
    a.chqEducacao = Money();
    EXPECT_EQ(a.impRecolher(), Money());
    EXPECT_FALSE(a.ChecaSalvar().falhou());

    // The old rules pay the difference's absolute value and grant none of these credits.
    TApuracaoEPP antiga = Antiga();
    antiga.credTEF = R(100000);
    EXPECT_EQ(antiga.totalCredOutorgado(), Money());
    EXPECT_EQ(antiga.impRecolher(), R(40000));
}

// ----- the checks of "Processa" and "&Salvar Apuração"

TEST(ApuracaoEPP, PeriodosAceitosEmCadaTela)
{
    const QString mp = QString::fromUtf8("Para este período utilize o formulário da MP 37/06!");
    const struct {
        bool mp3706;
        int mes;
        int ano;
        const char* mensagem;
        const char* campo;
    } casos[] = {
        {false, 1, 2004, "", ""},
        {false, 6, 2006, "", ""},
        {false, 7, 2006, "Para este período utilize o formulário da MP 37/06!", "cmbMes"},
        {false, 12, 2006, "Para este período utilize o formulário da MP 37/06!", "cmbMes"},
        {false, 1, 2007, "Para este período utilize o formulário da MP 37/06!", "cmbMes"},
        {false, 12, 2003, "O Ano deve ser a partir de 2004!", "cmbAno"},
        {false, 13, 2005, "Informe um mês de 1 a 12!", "cmbMes"},
        {true, 7, 2006, "", ""},
        {true, 1, 2007, "", ""},
        {true, 6, 2006, "O Mês deve ser a partir de 07/2006!", "cmbMes"},
        {true, 1, 2006, "O Mês deve ser a partir de 07/2006!", "cmbMes"},
        {true, 12, 2005, "O Ano deve ser a partir de 2006!", "cmbAno"},
        {true, 0, 2007, "Informe um mês de 1 a 12!", "cmbMes"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.mp3706 ? "MP " : "antiga ") + std::to_string(c.mes) + "/" + std::to_string(c.ano));
        const TFalha f = TApuracaoEPP::ChecaPeriodo(c.mp3706, c.mes, c.ano);
        EXPECT_EQ(f.mensagem, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(f.campo, QString::fromLatin1(c.campo));
    }
    EXPECT_EQ(TApuracaoEPP::ChecaPeriodo(false, 8, 2006).mensagem, mp);
}

TEST(ApuracaoEPP, SalvarRecusaNaOrdemNomeandoOCampo)
{
    // Everything wrong at once: the bracket is told first.
    TApuracaoEPP a = Antiga(0);
    a.numEmpreg = -1;
    a.s02 = R(1000);
    a.s03 = R(2000);
    a.mediaEntradas = R(-100);
    TFalha f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, "Selecione a Faixa de Recolhimento");
    EXPECT_EQ(f.campo, "cmbFaixa");
    a.faixa = 2;
    f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, QString::fromUtf8("O número de empregados não pode ser negativo."));
    EXPECT_EQ(f.campo, "edtNum_Empreg");
    a.numEmpreg = 3;
    f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, "Resultado Negativo!") << "03 above 02";
    EXPECT_EQ(f.campo, "edtIcmsSTEntradas");
    a.s03 = R(1000);
    f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, QString::fromUtf8("O valor de \"Média Mensal de Entradas\" não pode ser negativo."));
    EXPECT_EQ(f.campo, "edtMediaEntradas");
    a.mediaEntradas = Money();
    EXPECT_FALSE(a.ChecaSalvar().falhou());

    // 9.999.999,99 is the widest amount of the return file; one cent more is refused.
    a.difAliquota = D(kMaiorValorNoveDigitos);
    EXPECT_FALSE(a.ChecaSalvar().falhou());
    a.difAliquota = D(kMaiorValorNoveDigitos + 100);
    f = a.ChecaSalvar();
    EXPECT_EQ(f.mensagem, QString::fromUtf8("O valor de \"01- ICMS Dif. de alíquota a recolher\" é maior que o arquivo "
                                            "da declaração comporta (9.999.999,99)."));
    EXPECT_EQ(f.campo, "edtDifAliquota");
}

// ----- the row

namespace {

struct ZelEPP : ::testing::Test {
    TBancoTeste banco;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        executa("INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                "(1, '11222333000181', '123456789', 'ATIVO', 'ZR', 'C'), (2, '44555666000177', '987654321', 'CLIENTE', "
                "'ZR', 'F'), (3, '77888999000155', '111222333', 'FORNECEDOR', 'SP', 'F'), "
                "(4, '22333444000166', '555666777', 'OUTRO', 'ZR', 'C')");
    }
    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    QString coluna(const char* nome, int idEpp)
    {
        return valor(QStringLiteral("SELECT ifnull(%1, 'NULL') FROM ZEL_EPP WHERE IdEpp = %2").arg(QLatin1String(nome)).arg(idEpp))
            .toString();
    }
    double real(const char* nome, int idEpp)
    {
        return valor(QStringLiteral("SELECT %1 FROM ZEL_EPP WHERE IdEpp = %2").arg(QLatin1String(nome)).arg(idEpp)).toDouble();
    }
};

} // namespace

TEST_F(ZelEPP, CadaRegimeGravaSuasColunasEZeraAsDoOutro)
{
    const QDateTime agora(QDate(2024, 8, 20), QTime(10, 0));
    // May 2006, old rules: 16.000,00 at 2,5 %, 20 + 7 of presumed credit; granted credits typed by mistake
    // are not stored.
    TZelEPP antiga(*banco.dtm);
    antiga.IdContribuinte = 1;
    antiga.Periodo = "200605";
    antiga.Tipo = "N";
    antiga.apuracao = Antiga(3);
    antiga.apuracao.numEmpreg = 6;
    antiga.apuracao.totalAquis = R(100000);
    antiga.apuracao.aquisInter = R(79999);
    antiga.apuracao.credTEF = R(1000);
    antiga.apuracao.chqMoradia = R(2000);
    antiga.apuracao.chqEducacao = R(3000);
    antiga.apuracao.difAliquota = R(500);
    antiga.apuracao.s02 = R(4500);
    antiga.apuracao.s03 = R(1500);
    antiga.apuracao.substSaidas = R(50000);
    antiga.apuracao.regFonte = R(20000);
    antiga.DtGeracao = agora;
    QString erro;
    ASSERT_TRUE(antiga.Incluir(&erro)) << erro.toStdString();
    ASSERT_GT(antiga.IdEpp, 0);
    const std::pair<const char*, const char*> colunasAntiga[] = {
        {"IdContribuinte", "1"},        {"Periodo", "200605"},         {"Tipo", "N"},
        {"RecApurada", "100000000"},    {"MediaEntradas", "200000000"}, {"RecEfetiva", "160000000"},
        {"Imp_Devido", "4000000"},      {"Num_Empreg", "6"},           {"TotalAquis", "10000000"},
        {"Aquis_Inter", "7999900"},      {"Cred_Presumido", "1080000"}, {"Cred_TEF_ECF", "0"},
        {"Chq_Moradia", "0"},           {"Chq_Educacao", "0"},         {"Total_Cred_Outorgado", "0"},
        {"Imp_Recolher", "2920000"},    {"Subs_EntJR", "150000"},      {"Subs_EntAR", "300000"},
        {"ICMS_SubsSaida", "5000000"},  {"ICMS_RetFonte", "2000000"},  {"Dif_Aliquota", "50000"},
        {"DtGeracao", "2024-08-20T10:00:00"}, {"Entregue", "NULL"},
    };
    for (const auto& [nome, v] : colunasAntiga)
        EXPECT_EQ(coluna(nome, antiga.IdEpp), v) << nome;
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", antiga.IdEpp), 2.5);
    EXPECT_DOUBLE_EQ(real("CredEmpreg", antiga.IdEpp), 7);
    EXPECT_DOUBLE_EQ(real("Cred_Aq_Inter", antiga.IdEpp), 20);
    EXPECT_DOUBLE_EQ(real("Perc_Cred_Pres", antiga.IdEpp), 27);

    // July 2006, MP 37/06: 1 % of 50.000,00 less 150,00 of credits; what the old rules would have counted is
    // stored as 0 and the rate as 1.
    TZelEPP mp(*banco.dtm);
    mp.IdContribuinte = 1;
    mp.Periodo = "200607";
    mp.Tipo = "R";
    mp.apuracao.mp3706 = true;
    mp.apuracao.recApurada = R(5000000);
    mp.apuracao.mediaEntradas = R(1000000);
    mp.apuracao.faixa = 4;
    mp.apuracao.numEmpreg = 20;
    mp.apuracao.totalAquis = R(100000);
    mp.apuracao.aquisInter = R(90000);
    mp.apuracao.credTEF = R(10000);
    mp.apuracao.chqMoradia = R(2500);
    mp.apuracao.chqEducacao = R(2500);
    mp.DtGeracao = agora;
    ASSERT_TRUE(mp.Incluir(&erro)) << erro.toStdString();
    const std::pair<const char*, const char*> colunasMp[] = {
        {"Periodo", "200607"},       {"Tipo", "R"},              {"RecApurada", "500000000"},
        {"RecEfetiva", "500000000"}, {"Imp_Devido", "5000000"},   {"Num_Empreg", "0"},
        {"TotalAquis", "0"},         {"Aquis_Inter", "0"},       {"Cred_Presumido", "0"},
        {"Cred_TEF_ECF", "1000000"}, {"Chq_Moradia", "250000"},  {"Chq_Educacao", "250000"},
        {"Total_Cred_Outorgado", "1500000"}, {"Imp_Recolher", "3500000"},
    };
    for (const auto& [nome, v] : colunasMp)
        EXPECT_EQ(coluna(nome, mp.IdEpp), v) << nome;
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", mp.IdEpp), 1.0);
    for (const char* percentual : {"CredEmpreg", "Cred_Aq_Inter", "Perc_Cred_Pres"})
        EXPECT_DOUBLE_EQ(real(percentual, mp.IdEpp), 0) << percentual;
}

TEST_F(ZelEPP, CarregarDevolveAFaixaEAlterarEExcluirPelaChave)
{
    TZelEPP z(*banco.dtm);
    z.IdContribuinte = 1;
    z.Periodo = "200604";
    z.Tipo = "R";
    z.apuracao = Antiga(4);
    z.apuracao.numEmpreg = 12;
    z.apuracao.s02 = R(7000);
    z.apuracao.s03 = R(2500);
    ASSERT_TRUE(z.Incluir());
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Perc_Recolh, Imp_Devido) VALUES (4, '200604', 'N', 2.0, 123)");
    const int alheia = int(sqlite3_last_insert_rowid(db()));

    TZelEPP lido(*banco.dtm);
    ASSERT_TRUE(lido.CarregarId(z.IdEpp, 1));
    EXPECT_EQ(lido.Periodo, "200604");
    EXPECT_EQ(lido.Tipo, "R");
    EXPECT_FALSE(lido.apuracao.mp3706);
    EXPECT_EQ(lido.apuracao.faixa, 4) << "3,0 % is the fourth bracket";
    EXPECT_EQ(lido.apuracao.numEmpreg, 12);
    EXPECT_EQ(lido.apuracao.s03, R(2500));
    EXPECT_EQ(lido.apuracao.s02, R(7000)) << "02 is 03 + 04 as stored";
    EXPECT_EQ(lido.apuracao.impDevido(), R(48000)) << "so the tax saved again is the one stored";
    EXPECT_FALSE(TZelEPP(*banco.dtm).CarregarId(alheia, 1)) << "another taxpayer's key loads nothing";

    // A row of July 2006 reads as MP 37/06.
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Perc_Recolh) VALUES (1, '200607', 'N', 1.0)");
    TZelEPP julho(*banco.dtm);
    ASSERT_TRUE(julho.CarregarId(int(sqlite3_last_insert_rowid(db())), 1));
    EXPECT_TRUE(julho.apuracao.mp3706);
    EXPECT_EQ(julho.apuracao.faixa, 0);

    // The change is of the row with this key and this taxpayer.
    lido.apuracao.faixa = 5;
    ASSERT_TRUE(lido.Alterar());
    EXPECT_EQ(coluna("Imp_Devido", z.IdEpp), "5600000");
    TZelEPP outro(*banco.dtm);
    outro.IdEpp = alheia;
    outro.IdContribuinte = 1;
    outro.Periodo = "200604";
    outro.Tipo = "N";
    outro.apuracao = Antiga(1);
    EXPECT_FALSE(outro.Alterar()) << "the key of another taxpayer's row changes nothing";
    EXPECT_EQ(coluna("Imp_Devido", alheia), "123");
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", alheia), 2.0);

    ASSERT_TRUE(TZelEPP(*banco.dtm).Excluir(z.IdEpp));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM ZEL_EPP WHERE IdEpp = %1").arg(z.IdEpp)).toInt(), 0);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM ZEL_EPP").toInt(), 2);
    EXPECT_FALSE(TZelEPP(*banco.dtm).Excluir(z.IdEpp)) << "nothing left to delete";
    EXPECT_TRUE(ExisteEpp(*banco.dtm, 4, "200604"));
    EXPECT_FALSE(ExisteEpp(*banco.dtm, 1, "200604"));
}

TEST_F(ZelEPP, ProcessaLeODoMesEAsLinhasDoComando)
{
    // May 2006: a sale of 10.000,00 of base with 500,00 retained for a party of the state and a source-
    // regime line of 200,00; purchases of 799,99 inside the state and 200,01 from another state. June's
    // sale and another taxpayer's purchase count nowhere.
    executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 2, '2006-05-10', 'S', '01', '1', '', '000001', '5102', 'P', 100000000, 'N', '2006-05-10'),"
            "(2, 1, 2, '2006-05-11', 'E', '01', '1', '', '000777', '1102', 'T', 7999900, 'N', '2006-05-11'),"
            "(3, 1, 3, '2006-05-12', 'E', '01', '1', '', '000778', '2102', 'T', 2000100, 'N', '2006-05-12'),"
            "(4, 1, 2, '2006-06-01', 'S', '01', '1', '', '000002', '5102', 'P', 50000000, 'N', '2006-06-01'),"
            "(5, 4, 2, '2006-05-11', 'E', '01', '1', '', '000779', '1102', 'T', 90000000, 'N', '2006-05-11')");
    executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 100000000, 17000000, 0, 0, '1700'), (4, 50000000, 8500000, 0, 0, '1700')");
    executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 30000000, 5000000, 0, '1'), (1, 10000000, 2000000, 0, '5')");

    TApuracaoEPP a;
    a.faixa = 1;
    a.mediaEntradas = R(2000000);
    a.numEmpreg = 4;
    ProcessaEPP(*banco.con, 1, 5, 2006, a);
    EXPECT_FALSE(a.mp3706);
    EXPECT_EQ(a.recApurada, R(1000000));
    EXPECT_EQ(a.totalAquis, R(100000));
    EXPECT_EQ(a.aquisInter, R(79999));
    EXPECT_EQ(a.substSaidas, R(50000));
    EXPECT_EQ(a.regFonte, R(20000));
    EXPECT_EQ(a.faixa, 1) << "what was typed stays";
    EXPECT_EQ(a.mediaEntradas, R(2000000));
    // 16.000,00 at 1,5 % = 240,00; 20 + 4 = 24 % of it = 57,60.
    EXPECT_EQ(a.credAqInter(), 20);
    EXPECT_EQ(a.credPresumido(), R(5760));
    EXPECT_EQ(LinhasEPP(a), QStringList({"RecApurada\t10000.0000", "RecEfetiva\t16000.0000", "Imp_Devido\t240.0000",
                                         "TotalAquis\t1000.0000", "Aquis_Inter\t799.9900", "Imp_Recolher\t182.4000",
                                         "ICMS_SubsSaida\t500.0000", "ICMS_RetFonte\t200.0000"}));

    // June 2006 is still the old rules; July's month is the provisional measure's, with no acquisitions read.
    TApuracaoEPP julho;
    julho.totalAquis = R(1);
    ProcessaEPP(*banco.con, 1, 7, 2006, julho);
    EXPECT_TRUE(julho.mp3706);
    EXPECT_EQ(julho.recApurada, Money());
    EXPECT_EQ(julho.totalAquis, R(1)) << "not read under MP 37/06";
    EXPECT_EQ(LinhasEPP(julho).size(), 6) << "no acquisition lines";
    TApuracaoEPP junho;
    ProcessaEPP(*banco.con, 1, 6, 2006, junho);
    EXPECT_FALSE(junho.mp3706);
    EXPECT_EQ(junho.recApurada, R(500000));
}
