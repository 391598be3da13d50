// The Simples Nacional declaration without its screens: the rate as typed and the ICMS it gives, the checks of
// "&Salvar Informações" in their order for the branch and for the two head-office categories, the period rule
// of "Processa", and the ZEL_SN row read back column by column (inclusion, change by key and taxpayer, the
// situation date that must never be written as 0, deletion, the date of the return file), with the figures
// "Processa" takes from a month of documents.
#include <QDate>
#include <QDateTime>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "declarations/untZelSN.h"
#include "support/TBancoTeste.h"

static void PrintTo(const Money& m, std::ostream* os) { *os << m.toStringExato().toStdString(); }

namespace {

Money R(qint64 centavos) { return Money::fromCents(centavos); }
Money D(qint64 dezMilesimos) { return Money::fromRaw(dezMilesimos); }

// The establishment number is characters 9 to 12: "0001" is the head office.
const QString kCnpjMatriz = QStringLiteral("11222333000181");
const QString kCnpjFilial = QStringLiteral("11222333000262");

const QString kAliquotaVazia = QString::fromUtf8("A alíquota deve ser informada");
const QString kAliquotaInvalida = QString::fromUtf8("O valor informado não é um número válido");
const QString kAliquotaLargura =
    QString::fromUtf8("A alíquota do ICMS no Simples Nacional deve ser menor que 10% e ter no máximo duas casas decimais.");

const QString kPerguntaFilial = QString::fromUtf8(
    "A empresa selecionada tem o CNPJ 11222333000181. Foi informado que a empresa é uma filial, contudo o CNPJ pode "
    "não ser dessa categoria. Confirma realmente se a empresa é uma filial ?");
const QString kPerguntaMatriz = QString::fromUtf8(
    "A empresa selecionada tem o CNPJ 11222333000262. Foi informado que a empresa é uma matriz ou estabelecimento "
    "único, contudo o CNPJ pode não ser dessa categoria. Confirma realmente se a empresa é matriz ou Estabelecimento "
    "único ?");

// A month of the first category with revenue that matches its rate: 10.000,00 at 3,95 % is 395,00.
TInformacoesSN Matriz(int categoria = 1)
{
    TInformacoesSN c;
    c.categoria = categoria;
    c.faturamento = R(1000000);
    c.aliquota = QStringLiteral("3,95");
    c.icmssn = R(39500);
    return c;
}

TInformacoesSN Filial()
{
    TInformacoesSN c;
    c.categoria = 2;
    c.aliquota = QStringLiteral("0,00");
    return c;
}

// One refusal: its message, the field that takes the focus and the field set to 0 with it.
void ConfereFalha(const TPassoSN& p, const QString& mensagem, const char* campo, const char* zera = "")
{
    SCOPED_TRACE(mensagem.toStdString());
    ASSERT_EQ(p.tipo, TPassoSN::Tipo::Falha) << p.pergunta.toStdString();
    EXPECT_EQ(p.falha.mensagem, mensagem);
    EXPECT_EQ(p.falha.campo, QString::fromLatin1(campo));
    EXPECT_EQ(p.zera, QString::fromLatin1(zera));
}

void ConfereSegue(const TPassoSN& p, int categoria)
{
    ASSERT_EQ(p.tipo, TPassoSN::Tipo::Segue) << p.falha.mensagem.toStdString() << p.pergunta.toStdString();
    EXPECT_EQ(p.categoria, categoria);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The rate and the checks of the save

TEST(InformacoesSN, AliquotaLidaComVirgulaOuPontoEIcmsEsperado)
{
    Money a;
    ASSERT_TRUE(TInformacoesSN::LeAliquota(QStringLiteral("2,5"), &a));
    EXPECT_EQ(a, R(250));
    // The numeric keypad's point is a decimal point, never a thousands mark: 2,50 and not 25.
    ASSERT_TRUE(TInformacoesSN::LeAliquota(QStringLiteral("2.5"), &a));
    EXPECT_EQ(a, R(250));
    ASSERT_TRUE(TInformacoesSN::LeAliquota(QStringLiteral(" 3,95 "), &a));
    EXPECT_EQ(a, R(395));
    for (const char* texto : {"abc", "2,5,1", "3,9x"})
        EXPECT_FALSE(TInformacoesSN::LeAliquota(QString::fromLatin1(texto), &a)) << texto;

    const QStringList& lista = TInformacoesSN::Aliquotas();
    EXPECT_EQ(lista.size(), 20);
    EXPECT_EQ(lista.first(), "1,25");
    EXPECT_EQ(lista.last(), "3,95");
    for (const char* taxa : {"1,86", "2,33", "2,84", "3,10", "3,51", "3,88"})
        EXPECT_TRUE(lista.contains(QString::fromLatin1(taxa))) << taxa;
    EXPECT_FALSE(lista.contains("2,50"));

    TInformacoesSN c = Matriz();
    EXPECT_EQ(c.icmsEsperado(), R(39500));
    // 1.234,56 x 2,33 % = 28,765248, shown and compared to the cent: 28,77.
    c.faturamento = R(123456);
    c.aliquota = QStringLiteral("2,33");
    EXPECT_EQ(c.icmsEsperado(), R(2877));
    // An exact half of a cent goes to the even neighbour: 150,00 x 0,01 % = 0,015 → 0,02 and
    // 250,00 x 0,01 % = 0,025 → 0,02.
    c.aliquota = QStringLiteral("0,01");
    c.faturamento = R(15000);
    EXPECT_EQ(c.icmsEsperado(), R(2));
    c.faturamento = R(25000);
    EXPECT_EQ(c.icmsEsperado(), R(2));
    c.aliquota = QString();
    EXPECT_EQ(c.icmsEsperado(), Money());
}

TEST(InformacoesSN, SalvarOlhaAAliquotaAntesDaCategoria)
{
    // Even a branch, whose rate is to be 0, must have the rate written.
    for (int categoria : {1, 2, 3}) {
        SCOPED_TRACE(categoria);
        TInformacoesSN c = Matriz(categoria);
        c.aliquota = QStringLiteral("   ");
        ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false), kAliquotaVazia, "cbAliquotas");
        c.aliquota = QStringLiteral("dois");
        ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false), kAliquotaInvalida, "cbAliquotas");
    }
    // The return file carries the rate in three digits, in hundredths: 10 % or a third decimal do not fit.
    for (const char* taxa : {"10", "10,00", "12,5", "3,955", "0,001", "-1,00"}) {
        SCOPED_TRACE(taxa);
        TInformacoesSN c = Matriz();
        c.aliquota = QString::fromLatin1(taxa);
        ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, true), kAliquotaLargura, "cbAliquotas");
    }
    TInformacoesSN c = Matriz();
    c.aliquota = QStringLiteral("9,99");
    c.icmssn = R(99900);
    ConfereSegue(ChecaSalvarSN(c, true, kCnpjMatriz, false), 1);
}

TEST(InformacoesSN, FilialZeraFaturamentoAliquotaEIcmsNessaOrdemEPerguntaPeloCnpj)
{
    TInformacoesSN c = Filial();
    c.faturamento = R(10000);
    c.aliquota = QStringLiteral("2,5");
    c.icmssn = R(500);
    // The documents of the month play no part for a branch.
    ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                 QString::fromUtf8("O faturamento não deve ser informado para a declaração de filial"), "edtFaturamento",
                 "edtFaturamento");
    c.faturamento = Money();
    ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                 QString::fromUtf8("A alíquota não deve ser informada para a declaração de filial"), "cbAliquotas",
                 "cbAliquotas");
    c.aliquota = QStringLiteral("0,00");
    ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                 QString::fromUtf8("O ICMS a recolher não deve ser informado para a declaração de filial"), "edtICMSSN",
                 "edtICMSSN");
    c.icmssn = Money();

    // Everything at 0 on the head office's number: asked, and the category stays the branch's.
    TPassoSN p = ChecaSalvarSN(c, false, kCnpjMatriz, false);
    ASSERT_EQ(p.tipo, TPassoSN::Tipo::Pergunta);
    EXPECT_EQ(p.pergunta, kPerguntaFilial);
    EXPECT_EQ(p.categoria, 2);
    ConfereSegue(ChecaSalvarSN(c, false, kCnpjMatriz, true), 2);
    // A rate written "0" is a rate of 0 as much as "0,00".
    c.aliquota = QStringLiteral("0");
    ConfereSegue(ChecaSalvarSN(c, true, kCnpjMatriz, true), 2);
    // Another establishment's number needs no question.
    ConfereSegue(ChecaSalvarSN(c, true, kCnpjFilial, false), 2);
    // A number stored without its leading zero is read as 14 digits: "1222333000181" is establishment 0001.
    p = ChecaSalvarSN(c, false, QStringLiteral("1222333000181"), false);
    EXPECT_EQ(p.tipo, TPassoSN::Tipo::Pergunta);
}

TEST(InformacoesSN, MatrizComFaturamentoPedeAliquotaIcmsEDocumentos)
{
    const QString kDocumentos = QString::fromUtf8(
        "Foram encontradas notas e/ou cupons fiscais vinculados à declaração. Para a categoria de estabelecimento "
        "informada não é permitido ter operações fiscais vinculadas à declaração");
    // The third category with documents is refused before anything about revenue, with or without it.
    ConfereFalha(ChecaSalvarSN(Matriz(3), true, kCnpjMatriz, false), kDocumentos, "edtDifAliquota");
    TInformacoesSN semNada;
    semNada.categoria = 3;
    semNada.aliquota = QStringLiteral("0,00");
    ConfereFalha(ChecaSalvarSN(semNada, true, kCnpjMatriz, false), kDocumentos, "edtDifAliquota");

    for (int categoria : {1, 3}) {
        SCOPED_TRACE(categoria);
        TInformacoesSN c = Matriz(categoria);
        c.aliquota = QStringLiteral("0,00");
        c.icmssn = Money();
        ConfereFalha(ChecaSalvarSN(c, categoria == 1, kCnpjMatriz, false),
                     QString::fromUtf8("A alíquota não pode ser zero se o faturamento é diferente de zero"), "cbAliquotas");
        c.aliquota = QStringLiteral("3,95");
        ConfereFalha(ChecaSalvarSN(c, categoria == 1, kCnpjMatriz, false),
                     QString::fromUtf8("O valor do ICMS não pode ser zero se o faturamento e a alíquota são diferentes "
                                       "de zero"),
                     "edtICMSSN");
    }
    // Revenue of the first category needs the month's documents; the third category must have none.
    ConfereFalha(ChecaSalvarSN(Matriz(1), false, kCnpjMatriz, false),
                 QString::fromUtf8("Está sendo informado faturamento, contudo não foi localizada nenhuma nota e/ou cupons "
                                   "ficais vinculados à declaração."),
                 "edtFaturamento");
    ConfereSegue(ChecaSalvarSN(Matriz(1), true, kCnpjMatriz, false), 1);
    ConfereSegue(ChecaSalvarSN(Matriz(3), false, kCnpjMatriz, false), 3);
    // An ICMS that does not match the rate was already asked about when the field was left: the save takes it.
    TInformacoesSN outro = Matriz(1);
    outro.icmssn = R(40000);
    ConfereSegue(ChecaSalvarSN(outro, true, kCnpjMatriz, false), 1);
}

TEST(InformacoesSN, MatrizSemFaturamentoNaoTemIcmsNemAliquotaEPerguntaPeloCnpj)
{
    TInformacoesSN c;
    c.aliquota = QStringLiteral("3,95");
    c.icmssn = R(500);
    // Both wrong: the ICMS is told first.
    ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                 QString::fromUtf8("O valor do ICMS não pode ser diferente de zero se o faturamento é igual a zero"),
                 "edtICMSSN");
    c.icmssn = Money();
    ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                 QString::fromUtf8("A alíquota não pode ser diferente de zero se o faturamento é igual a zero"),
                 "cbAliquotas");
    c.aliquota = QStringLiteral("0,00");
    // A first category without revenue needs no documents.
    ConfereSegue(ChecaSalvarSN(c, false, kCnpjMatriz, false), 1);

    // Another establishment's number declared as head office: asked, then the category chosen is kept.
    for (int categoria : {1, 3}) {
        SCOPED_TRACE(categoria);
        c.categoria = categoria;
        const TPassoSN p = ChecaSalvarSN(c, false, kCnpjFilial, false);
        ASSERT_EQ(p.tipo, TPassoSN::Tipo::Pergunta);
        EXPECT_EQ(p.pergunta, kPerguntaMatriz);
        ConfereSegue(ChecaSalvarSN(c, false, kCnpjFilial, true), categoria);
    }
    // A category outside the three is stored as the first.
    c.categoria = 0;
    ConfereSegue(ChecaSalvarSN(c, false, kCnpjMatriz, false), 1);
}

TEST(InformacoesSN, ValoresNegativosOuMaioresQueOArquivoSaoRecusadosPeloNome)
{
    struct TCaso {
        Money TInformacoesSN::*campo;
        const char* rotulo;
        const char* foco;
    };
    const TCaso casos[] = {
        {&TInformacoesSN::subsEntradas, "Substituição por Entrada", "edtSubsEntrada"},
        {&TInformacoesSN::antecipado, "Imposto Antecipado", "edtICMSAntecipado"},
        {&TInformacoesSN::difAliquota, "Diferencial de Alíquota", "edtDifAliquota"},
        {&TInformacoesSN::difAliqComplem, "Diferença Alíquota Complementar", "edtDifAliqComplem"},
        {&TInformacoesSN::importacao, "ICMS Importação", "edtICMSImportacao"},
        {&TInformacoesSN::mirvel, "MIRVEL Simples Nacional", "edtMIRVELSN"},
    };
    for (const TCaso& k : casos) {
        SCOPED_TRACE(k.rotulo);
        TInformacoesSN c = Matriz();
        c.*k.campo = R(-1);
        ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                     QString::fromUtf8("O valor de \"%1\" não pode ser negativo.").arg(QString::fromUtf8(k.rotulo)), k.foco);
        // Nine digits of cents: 9.999.999,99 fits, 10.000.000,00 does not.
        c.*k.campo = R(999999999);
        ConfereSegue(ChecaSalvarSN(c, true, kCnpjMatriz, false), 1);
        c.*k.campo = R(1000000000);
        ConfereFalha(ChecaSalvarSN(c, true, kCnpjMatriz, false),
                     QString::fromUtf8("O valor de \"%1\" é maior que o arquivo da declaração comporta (9.999.999,99).")
                         .arg(QString::fromUtf8(k.rotulo)),
                     k.foco);
    }
    // The revenue and its ICMS too (the ICMS need not match the rate at save).
    TInformacoesSN c = Matriz(3);
    c.faturamento = R(1000000000);
    ConfereFalha(ChecaSalvarSN(c, false, kCnpjMatriz, false),
                 QString::fromUtf8("O valor de \"Faturamento\" é maior que o arquivo da declaração comporta (9.999.999,99)."),
                 "edtFaturamento");
}

TEST(InformacoesSN, PeriodoDoSimplesComecaEmJulhoDe2007)
{
    const struct {
        int mes, ano;
        const char* mensagem;
        const char* campo;
    } casos[] = {
        {6, 2007, "O Mês deve ser a partir de 07/2007!", "cmbMes"},
        {1, 2007, "O Mês deve ser a partir de 07/2007!", "cmbMes"},
        {12, 2006, "O Ano deve ser a partir de 2007!", "cmbAno"},
        {7, 2002, "O Ano deve ser a partir de 2007!", "cmbAno"},
        {13, 2008, "Informe um mês de 1 a 12!", "cmbMes"},
        {0, 2008, "Informe um mês de 1 a 12!", "cmbMes"},
        {7, 2007, "", ""},
        {12, 2007, "", ""},
        {1, 2008, "", ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(QStringLiteral("%1/%2").arg(c.mes).arg(c.ano).toStdString());
        const TFalha f = ChecaPeriodoSN(c.mes, c.ano);
        EXPECT_EQ(f.falhou(), *c.mensagem != 0);
        EXPECT_EQ(f.mensagem, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(f.campo, QString::fromLatin1(c.campo));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Over a database

namespace {

struct ZelSN : ::testing::Test {
    TBancoTeste t;
    const QDateTime agora{QDate(2024, 8, 20), QTime(10, 0)};

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        executa("INSERT INTO Contribuinte (IdContribuinte, CNPJ, RazaoSocial, Ccicms, UF, Tipo) VALUES "
                "(1, '11222333000181', 'CONTRIBUINTE', '123456789', 'ZR', 'C'), "
                "(2, '22333444000266', 'OUTRO', '987654321', 'ZR', 'C'), "
                "(3, '44555666000177', 'CLIENTE', NULL, 'ZR', 'F'), (4, '77888999000155', 'FORNECEDOR', NULL, 'SP', 'F')");
    }

    sqlite3* db() { return t.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& sql) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }
    // One column of a row, null shown as "NULL".
    QString coluna(int id, const char* nome)
    {
        return valor(QStringLiteral("SELECT ifnull(%1, 'NULL') FROM ZEL_SN WHERE IdSN = %2").arg(QLatin1String(nome)).arg(id))
            .toString();
    }

    // Every amount different from the others, the entries with a fourth decimal.
    TZelSN declaracao(const char* periodo)
    {
        TZelSN z(*t.dtm);
        z.IdContribuinte = 1;
        z.Periodo = QString::fromLatin1(periodo);
        z.Tipo = "N";
        TInformacoesSN& c = z.info;
        c.faturamento = R(1000000);
        c.aliquota = QStringLiteral("3,95");
        c.icmssn = R(39500);
        c.totEntradas = D(8000123);
        c.subsSaidas = R(5000);
        c.retidoFonte = R(2000);
        c.subsEntradas = R(100);
        c.antecipado = R(200);
        c.difAliquota = R(300);
        c.difAliqComplem = R(400);
        c.importacao = R(500);
        c.mirvel = R(600);
        c.categoria = 3;
        return z;
    }
};

} // namespace

TEST_F(ZelSN, IncluirGravaCadaColunaELeDeVolta)
{
    TZelSN z = declaracao("201106");
    z.NumRecibo = "  ABCDEF0123456789ABCDEF0123456789 ";
    z.sitCadastroContrib = 2;
    z.dataSitCadastro = QDate(2011, 5, 10);
    QString erro;
    ASSERT_TRUE(z.Incluir(agora, &erro)) << erro.toStdString();
    ASSERT_GT(z.IdSN, 0);

    const std::pair<const char*, const char*> esperado[] = {
        {"IdContribuinte", "1"},      {"Periodo", "201106"},          {"Tipo", "N"},
        {"Faturamento", "100000000"}, {"ICMSSN", "3950000"},          {"TotEntradas", "8000123"},
        {"SubsSaidas", "500000"},     {"ICMSRetidoFonte", "200000"},  {"SubsEntradas", "10000"},
        {"ImpAntecipado", "20000"},   {"DifAliquota", "30000"},       {"DifAliqComplem", "40000"},
        {"ICMSImportacao", "50000"},  {"MirvelSN", "60000"},          {"categEstabel", "3"},
        {"Recibo", "ABCDEF0123456789ABCDEF0123456789"},               {"sitCadastroContrib", "2"},
        {"dataSitCadastro", "2011-05-10"}, {"DtInclusao", "2024-08-20T10:00:00"}, {"DtAlteracao", "NULL"},
        {"DtGeracao", "NULL"},
    };
    for (const auto& [nome, v] : esperado)
        EXPECT_EQ(coluna(z.IdSN, nome), v) << nome;
    EXPECT_DOUBLE_EQ(valor(QStringLiteral("SELECT PercRecolhimento FROM ZEL_SN WHERE IdSN = %1").arg(z.IdSN)).toDouble(), 3.95);

    TZelSN lido(*t.dtm);
    ASSERT_TRUE(lido.CarregarId(z.IdSN, 1));
    EXPECT_EQ(lido.IdSN, z.IdSN);
    EXPECT_EQ(lido.Periodo, "201106");
    EXPECT_EQ(lido.Tipo, "N");
    EXPECT_EQ(lido.info.faturamento, R(1000000));
    EXPECT_EQ(lido.info.aliquota, "3,95");
    EXPECT_EQ(lido.info.icmssn, R(39500));
    EXPECT_EQ(lido.info.totEntradas, D(8000123));
    EXPECT_EQ(lido.info.subsSaidas, R(5000));
    EXPECT_EQ(lido.info.retidoFonte, R(2000));
    EXPECT_EQ(lido.info.subsEntradas, R(100));
    EXPECT_EQ(lido.info.antecipado, R(200));
    EXPECT_EQ(lido.info.difAliquota, R(300));
    EXPECT_EQ(lido.info.difAliqComplem, R(400));
    EXPECT_EQ(lido.info.importacao, R(500));
    EXPECT_EQ(lido.info.mirvel, R(600));
    EXPECT_EQ(lido.info.categoria, 3);
    EXPECT_EQ(lido.NumRecibo, "ABCDEF0123456789ABCDEF0123456789");
    EXPECT_EQ(lido.sitCadastroContrib, 2);
    EXPECT_EQ(lido.dataSitCadastro, QDate(2011, 5, 10));
    EXPECT_EQ(lido.DtInclusao, agora);
    EXPECT_FALSE(lido.DtGeracao.isValid());
    EXPECT_FALSE(lido.CarregarId(z.IdSN, 2)) << "another taxpayer's key is no row of this one";

    // A monthly delivery with no number and no date writes neither column: no 0 for the date.
    TZelSN mensal = declaracao("201107");
    mensal.info.aliquota = QStringLiteral("2.5");
    mensal.NumRecibo = "   ";
    mensal.sitCadastroContrib = 0;
    ASSERT_TRUE(mensal.Incluir(agora));
    EXPECT_EQ(coluna(mensal.IdSN, "sitCadastroContrib"), "0");
    EXPECT_EQ(coluna(mensal.IdSN, "Recibo"), "NULL");
    EXPECT_EQ(coluna(mensal.IdSN, "dataSitCadastro"), "NULL");
    EXPECT_DOUBLE_EQ(valor(QStringLiteral("SELECT PercRecolhimento FROM ZEL_SN WHERE IdSN = %1").arg(mensal.IdSN)).toDouble(),
                     2.5);
    ASSERT_TRUE(lido.CarregarId(mensal.IdSN, 1));
    EXPECT_EQ(lido.info.aliquota, "2,50");
    EXPECT_EQ(lido.sitCadastroContrib, 0);
    EXPECT_FALSE(lido.dataSitCadastro.isValid());

    // No delivery type: none of the three, whatever the object holds.
    TZelSN semTipo = declaracao("200707");
    semTipo.NumRecibo = "XYZ";
    semTipo.dataSitCadastro = QDate(2007, 1, 2);
    ASSERT_TRUE(semTipo.Incluir(agora));
    for (const char* nome : {"sitCadastroContrib", "Recibo", "dataSitCadastro"})
        EXPECT_EQ(coluna(semTipo.IdSN, nome), "NULL") << nome;
    ASSERT_TRUE(lido.CarregarId(semTipo.IdSN, 1));
    EXPECT_EQ(lido.sitCadastroContrib, -1);
    EXPECT_EQ(lido.NumRecibo, "");

    // A refused insert answers false with the engine's text and leaves nothing.
    executa("CREATE TRIGGER recusa_sn BEFORE INSERT ON ZEL_SN BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    TZelSN recusado = declaracao("200708");
    EXPECT_FALSE(recusado.Incluir(agora, &erro));
    EXPECT_TRUE(erro.contains("disco cheio")) << erro.toStdString();
    EXPECT_EQ(conta("ZEL_SN WHERE Periodo = '200708'"), 0);
}

TEST_F(ZelSN, AlterarPelaChaveEContribuinteSemNuncaGravarDataZero)
{
    TZelSN z = declaracao("201106");
    z.NumRecibo = "ABCDEF0123456789ABCDEF0123456789";
    z.sitCadastroContrib = 2;
    z.dataSitCadastro = QDate(2011, 5, 10);
    ASSERT_TRUE(z.Incluir(agora));
    TZelSN vizinha = declaracao("201105");
    ASSERT_TRUE(vizinha.Incluir(agora));

    // Back to a monthly delivery: the date goes, stored as no date at all.
    const QDateTime depois(QDate(2024, 9, 1), QTime(8, 30, 5));
    z.Tipo = "R";
    z.info.faturamento = R(2000000);
    z.info.aliquota = QStringLiteral("1,86");
    z.info.icmssn = R(37200);
    z.info.categoria = 1;
    z.sitCadastroContrib = 0;
    z.dataSitCadastro = QDate();
    QString erro;
    ASSERT_TRUE(z.Alterar(depois, &erro)) << erro.toStdString();
    EXPECT_EQ(coluna(z.IdSN, "dataSitCadastro"), "NULL");
    EXPECT_EQ(coluna(z.IdSN, "sitCadastroContrib"), "0");
    EXPECT_EQ(coluna(z.IdSN, "Tipo"), "R");
    EXPECT_EQ(coluna(z.IdSN, "Faturamento"), "200000000");
    EXPECT_EQ(coluna(z.IdSN, "ICMSSN"), "3720000");
    EXPECT_EQ(coluna(z.IdSN, "categEstabel"), "1");
    EXPECT_EQ(coluna(z.IdSN, "DtAlteracao"), "2024-09-01T08:30:05");
    EXPECT_EQ(coluna(z.IdSN, "DtInclusao"), "2024-08-20T10:00:00") << "the insertion date is not touched";
    EXPECT_DOUBLE_EQ(valor(QStringLiteral("SELECT PercRecolhimento FROM ZEL_SN WHERE IdSN = %1").arg(z.IdSN)).toDouble(), 1.86);
    EXPECT_EQ(coluna(vizinha.IdSN, "Faturamento"), "100000000") << "only the row of the key";
    EXPECT_EQ(coluna(vizinha.IdSN, "DtAlteracao"), "NULL");

    // Older rows hold 0 or the old engine's day 0 for "no date": both read as none, and a change writes none.
    executa("INSERT INTO ZEL_SN (IdContribuinte, Periodo, Tipo, sitCadastroContrib, Recibo, dataSitCadastro) VALUES "
            "(1, '201108', 'N', 1, ' ', 0), (1, '201109', 'N', 2, 'X', '1899-12-30'), "
            "(1, '201110', 'N', 3, 'Y', '1899-12-30T00:00:00')");
    const int primeira = int(sqlite3_last_insert_rowid(db())) - 2;
    for (int id = primeira; id < primeira + 3; ++id) {
        SCOPED_TRACE(id);
        TZelSN antiga(*t.dtm);
        ASSERT_TRUE(antiga.CarregarId(id, 1));
        EXPECT_FALSE(antiga.dataSitCadastro.isValid()) << antiga.dataSitCadastro.toString().toStdString();
        EXPECT_EQ(antiga.info.categoria, 1) << "no category stored is the first";
        antiga.info.aliquota = QStringLiteral("0,00");
        ASSERT_TRUE(antiga.Alterar(depois));
        EXPECT_EQ(coluna(id, "dataSitCadastro"), "NULL");
    }

    // The key of another taxpayer's row, or of no row, changes nothing.
    TZelSN alheio = z;
    alheio.IdContribuinte = 2;
    alheio.info.faturamento = R(1);
    EXPECT_FALSE(alheio.Alterar(depois));
    EXPECT_EQ(coluna(z.IdSN, "Faturamento"), "200000000");
    EXPECT_EQ(coluna(z.IdSN, "IdContribuinte"), "1");
    TZelSN inexistente = z;
    inexistente.IdSN = z.IdSN + 100;
    EXPECT_FALSE(inexistente.Alterar(depois));

    executa("CREATE TRIGGER recusa_sn BEFORE UPDATE ON ZEL_SN BEGIN SELECT RAISE(ABORT, 'somente leitura'); END");
    EXPECT_FALSE(z.Alterar(depois, &erro));
    EXPECT_TRUE(erro.contains("somente leitura")) << erro.toStdString();
}

TEST_F(ZelSN, ListaExistenciaExclusaoEDataDoArquivo)
{
    int ids[4];
    const char* periodos[] = {"200708", "200712", "200707", "200709"};
    for (int i = 0; i < 4; ++i) {
        TZelSN z = declaracao(periodos[i]);
        z.IdContribuinte = i == 3 ? 2 : 1;
        ASSERT_TRUE(z.Incluir(agora));
        ids[i] = z.IdSN;
    }
    TDataSet lista(*t.con);
    AbreListaSN(lista, 1);
    QStringList vistos;
    for (lista.first(); !lista.eof(); lista.next())
        vistos << lista.asString("Periodo");
    EXPECT_EQ(vistos, QStringList({"200712", "200708", "200707"})) << "the taxpayer's rows, newest first";

    EXPECT_TRUE(ExisteSN(*t.dtm, 1, "200708"));
    EXPECT_FALSE(ExisteSN(*t.dtm, 1, "200709")) << "another taxpayer's month";
    EXPECT_TRUE(ExisteSN(*t.dtm, 2, "200709"));

    // The date of the file is its own column: nothing else of the row, and no other row, changes.
    TZelSN z(*t.dtm);
    ASSERT_TRUE(z.CarregarId(ids[1], 1));
    const QDateTime gerado(QDate(2024, 8, 21), QTime(9, 30, 0));
    ASSERT_TRUE(z.RegistraGeracao(gerado));
    EXPECT_EQ(coluna(ids[1], "DtGeracao"), "2024-08-21T09:30:00");
    EXPECT_EQ(coluna(ids[1], "DtAlteracao"), "NULL");
    EXPECT_EQ(coluna(ids[1], "Faturamento"), "100000000");
    EXPECT_EQ(conta("ZEL_SN WHERE DtGeracao IS NOT NULL"), 1);
    TZelSN outra(*t.dtm);
    outra.IdSN = ids[3] + 100;
    EXPECT_FALSE(outra.RegistraGeracao(gerado)) << "no row of that key";

    EXPECT_TRUE(z.Excluir(ids[0]));
    EXPECT_EQ(conta(QStringLiteral("ZEL_SN WHERE IdSN = %1").arg(ids[0])), 0);
    EXPECT_EQ(conta("ZEL_SN"), 3);
    EXPECT_FALSE(z.Excluir(ids[0])) << "already gone";

    executa("CREATE TRIGGER recusa_sn BEFORE DELETE ON ZEL_SN BEGIN SELECT RAISE(ABORT, 'bloqueado'); END");
    QString erro;
    EXPECT_FALSE(z.Excluir(ids[2], &erro));
    EXPECT_TRUE(erro.contains("bloqueado")) << erro.toStdString();
    EXPECT_EQ(conta("ZEL_SN"), 3);
}

TEST_F(ZelSN, ProcessaTomaEntradasESubstituicoesDoMesDoContribuinte)
{
    // July 2007 of taxpayer 1, worked out by hand:
    //   entries: the valid purchase of 800,00 plus 0,0123; the cancelled one of 300,00 is out;
    //   output substitution: 50,0050 retained on the sale to the home state (MVA "1");
    //   source regime: 20,00 on the sale marked MVA "5";
    //   the 7,00 retained on the sale to another state count nowhere, nor do August and the other taxpayer.
    executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 3, '2007-07-02', 'S', '01', '1', '', '000001', '5102', 'P', 10000000, 'N', '2007-07-02'),"
            "(2, 1, 3, '2007-07-03', 'S', '01', '1', '', '000002', '5405', 'P', 5000000, 'N', '2007-07-03'),"
            "(3, 1, 4, '2007-07-04', 'E', '01', '1', '', '000777', '2102', 'T', 8000123, 'N', '2007-07-04'),"
            "(4, 1, 3, '2007-07-05', 'E', '01', '1', '', '000778', '1102', 'T', 3000000, 'S', '2007-07-05'),"
            "(5, 1, 4, '2007-07-31', 'S', '01', '1', '', '000003', '6102', 'P', 1000000, 'N', '2007-07-31'),"
            "(6, 1, 4, '2007-08-01', 'E', '01', '1', '', '000779', '2102', 'T', 990000, 'N', '2007-08-01'),"
            "(7, 2, 4, '2007-07-10', 'E', '01', '1', '', '000780', '2102', 'T', 550000, 'N', '2007-07-10')");
    executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 3000000, 500050, 0, '1'), (2, 1000000, 200000, 0, '5'), (5, 1000000, 70000, 0, '1'), "
            "(6, 1000000, 30000, 0, '1')");
    TInformacoesSN c;
    c.faturamento = R(123); // typed values are not touched
    ProcessaSN(*t.con, 1, 7, 2007, c);
    // Shown in two-decimal fields and stored as shown: 800,0123 → 800,01; the tie 50,0050 → 50,00 (even).
    EXPECT_EQ(c.totEntradas, R(80001));
    EXPECT_EQ(c.subsSaidas, R(5000));
    EXPECT_EQ(c.retidoFonte, R(2000));
    EXPECT_EQ(c.faturamento, R(123));
    EXPECT_EQ(LinhasSN(c), QStringList({"TotEntradas\t800.0100", "SubsSaidas\t50.0000", "ICMSRetidoFonte\t20.0000"}));

    TInformacoesSN outro;
    ProcessaSN(*t.con, 2, 7, 2007, outro);
    EXPECT_EQ(outro.totEntradas, R(5500));
    EXPECT_EQ(outro.subsSaidas, Money());
    TInformacoesSN vazio;
    ProcessaSN(*t.con, 1, 9, 2007, vazio);
    EXPECT_EQ(LinhasSN(vazio), QStringList({"TotEntradas\t0.0000", "SubsSaidas\t0.0000", "ICMSRetidoFonte\t0.0000"}));
}
