// The month's declaration figures from the documents: which documents each sum takes (situations, kinds,
// CFOP text ranges, transport modality, the state of the other party), the ECF rate product, the balance
// carried over, the error policy and the listing of "zelcli apuracao".
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <sqlite3.h>

#include "db/untSqlite.h"
#include "declarations/untApuracao.h"
#include "declarations/untApuracaoLinhaComando.h"
#include "support/TBancoTeste.h"

namespace {

constexpr qint64 reais(qint64 n) { return n * Money::Escala; }
constexpr int kMes = 5;
constexpr int kAno = 2024;
constexpr const char* kDia = "2024-05-10";

struct Apuracao : ::testing::Test {
    TBancoTeste t;
    const int ativo = 1;
    const int local = 2;    // "ZR", the home state
    const int paulista = 3; // "SP"
    const int exterior = 4; // "EX"
    const int outro = 5;    // another taxpayer of the same file

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TBancoTeste::executaDireto(db(), "INSERT INTO Contribuinte (RazaoSocial, Ccicms, UF, Tipo) VALUES "
                                         "('CONTRIBUINTE', '123456789', 'ZR', 'C'), ('LOCAL', NULL, 'ZR', 'F'), "
                                         "('PAULISTA', NULL, 'SP', 'F'), ('EXTERIOR', NULL, 'EX', 'F'), "
                                         "('OUTRO', '987654321', 'ZR', 'C')");
    }

    // Whatever a test leaves in the file, the whole set read at once agrees with the figures one by one,
    // errors included.
    void TearDown() override { confereConjunto(); }

    void confereConjunto(int mes = kMes, int ano = kAno)
    {
        using Figura = Money (*)(TDTMCON&, int, int, int);
        static const Figura figuras[] = {CreditoPorEntradas,      CreditoAcumuladoRecebido,  DebitoPorSaidas,
                                         TransferenciaCreditoAcumulado, SubstituicaoSaidasInternas,
                                         SubstituicaoRegimeFonte, SubstituicaoEntradasOutrasUF, SaldoCredorAnterior,
                                         ReceitaApuradaEPP,       TotalAquisicoesEPP,        AquisicoesInternasEPP,
                                         TotalEntradasSN};
        QList<qint64> umAUm;
        bool umAUmFalhou = false;
        try {
            for (Figura figura : figuras)
                umAUm << figura(*t.con, ativo, mes, ano).raw();
        } catch (const EBancoDados&) {
            umAUmFalhou = true;
        }
        if (umAUmFalhou) {
            EXPECT_THROW(FigurasApuracao(*t.con, ativo, mes, ano), EBancoDados);
            return;
        }
        QList<qint64> conjunto;
        for (const TFiguraApuracao& fig : FigurasApuracao(*t.con, ativo, mes, ano))
            conjunto << fig.valor.raw();
        EXPECT_EQ(conjunto, umAUm);
    }

    sqlite3* db() { return t.con->db(); }

    qint64 insere(const char* sql, std::initializer_list<QVariant> valores)
    {
        TParametros p;
        int i = 0;
        for (const QVariant& v : valores)
            p.set(QStringLiteral("p%1").arg(++i), v);
        Sql::executa(db(), QString::fromLatin1(sql), p);
        return sqlite3_last_insert_rowid(db());
    }

    int nota(const char* tipo, const QVariant& cfop, const char* situacao, qint64 total = 0, int emtDest = 2,
             const char* data = kDia, int dono = 1)
    {
        return int(insere("INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, NumeroNF, "
                          "Cfop, Emitente, ValorTotalNota, Situacao) VALUES (:p1, :p2, :p3, :p4, '01', '1', '000001', :p5, "
                          "'P', :p6, :p7)",
                          {dono, emtDest, data, tipo, cfop, total, situacao}));
    }
    void icms(int idNota, qint64 base, qint64 valor)
    {
        insere("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
               "VALUES (:p1, :p2, :p3, 0, 0, '1700')",
               {idNota, base, valor});
    }
    void subst(int idNota, qint64 retido, const QVariant& mva)
    {
        insere("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
               "VALUES (:p1, 0, :p2, 0, :p3)",
               {idNota, retido, mva});
    }
    void transporte(const QVariant& cfop, const char* modalidade, const char* situacao, qint64 total, qint64 base,
                    qint64 valorIcms, const char* data = kDia, int dono = 1)
    {
        insere("INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, Numero, Cfop, ValorTotal, "
               "BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES (:p1, 2, :p2, '08', 'U', '000001', "
               ":p3, :p4, :p5, :p6, 0, 0, :p7, :p8)",
               {dono, data, cfop, total, base, valorIcms, modalidade, situacao});
    }
    void talao(qint64 base, qint64 valorIcms, const char* data = kDia, int dono = 1)
    {
        insere("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, NumeroInicial, NumeroFinal, ValorTotal, "
               "BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES (:p1, :p2, '02', 'D', 1, 50, :p3, :p3, :p4, 0, 0, '1700')",
               {dono, data, base, valorIcms});
    }
    int cupom(const char* data = kDia, int dono = 1)
    {
        return int(insere("INSERT INTO CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, COOFinal, "
                          "CRZ, CRO) VALUES (:p1, :p2, 'BE0512', '001', '2D', 1, 99, 1, 1)",
                          {dono, data}));
    }
    void aliquota(int idCupom, const QVariant& taxa, qint64 valor)
    {
        insere("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (:p1, :p2, :p3)", {idCupom, taxa, valor});
    }

    using Figura = Money (*)(TDTMCON&, int, int, int);
    qint64 f(Figura figura, int mes = kMes, int ano = kAno) { return figura(*t.con, ativo, mes, ano).raw(); }
};

// Amounts in powers of two, so that a sum tells exactly which documents it took.
constexpr qint64 b(int bit) { return reais(qint64(1) << bit); }

} // namespace

TEST(CfopsApuracao, ListasDoRegimeEPP)
{
    EXPECT_EQ(CfopsForaReceitaEPP().size(), 16);
    EXPECT_EQ(CfopsForaAquisicaoEPP().size(), 115);
    EXPECT_EQ(QSet<QString>(CfopsForaReceitaEPP().cbegin(), CfopsForaReceitaEPP().cend()).size(), 16);
    EXPECT_EQ(QSet<QString>(CfopsForaAquisicaoEPP().cbegin(), CfopsForaAquisicaoEPP().cend()).size(), 115);
    for (const char* fora : {"5151", "5557", "6409", "6557"})
        EXPECT_FALSE(CfopReceitaEPP(fora)) << fora;
    for (const char* conta : {"5102", "5154", "6102", "1151", ""})
        EXPECT_TRUE(CfopReceitaEPP(conta)) << conta;
    for (const char* fora : {"1151", "1556", "1926", "2603", "2949", "3930"})
        EXPECT_FALSE(CfopAquisicaoEPP(fora)) << fora;
    for (const char* conta : {"1102", "2556", "2102", "1604", "3102"})
        EXPECT_TRUE(CfopAquisicaoEPP(conta)) << conta;
}

TEST_F(Apuracao, MesSemDocumentosDaZeroEmTudo)
{
    // Documents just outside the month, of the same month a year before, and of another taxpayer.
    for (const char* data : {"2024-04-30T23:59:59", "2024-06-01", "2023-05-10"}) {
        const int n = nota("S", "5102", "N", reais(10), local, data);
        icms(n, reais(10), reais(1));
        subst(n, reais(1), " ");
        transporte("5353", "2", "N", reais(10), reais(10), reais(1), data);
        talao(reais(10), reais(1), data);
        aliquota(cupom(data), "1700", reais(10));
    }
    const int deOutro = nota("E", "1102", "N", reais(10), local, kDia, outro);
    icms(deOutro, reais(10), reais(1));
    transporte("1353", "2", "N", reais(10), reais(10), reais(1), kDia, outro);

    const QList<TFiguraApuracao> figuras = FigurasApuracao(*t.con, ativo, kMes, kAno);
    ASSERT_EQ(figuras.size(), 12);
    for (const TFiguraApuracao& fig : figuras)
        EXPECT_EQ(fig.valor.raw(), 0) << fig.nome.toStdString();
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, "202405"));

    // A cancelled transport document taken as entry is a document of the month, though it adds to no sum.
    transporte("1353", "2", "S", reais(10), reais(10), reais(1));
    EXPECT_TRUE(ExistemDocumentos(*t.con, ativo, "202405"));
    EXPECT_EQ(f(CreditoPorEntradas), 0);
    EXPECT_EQ(f(TotalEntradasSN), 0);
    EXPECT_EQ(f(TotalAquisicoesEPP), 0);
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, "202406x"));
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, "202413"));
}

TEST_F(Apuracao, ExistemDocumentosPorCadaTipoDeDocumento)
{
    const QString periodo = QStringLiteral("202405");
    // An invoice counts through one of its lines; one without any line is no document of the month here.
    const int semLinhas = nota("S", "5102", "S");
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, periodo));
    insere("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (:p1, 0, 0, 0)", {semLinhas});
    EXPECT_TRUE(ExistemDocumentos(*t.con, ativo, periodo)) << "a cancelled invoice with its IPI line";
    TBancoTeste::executaDireto(db(), "DELETE FROM NFIPI");
    subst(nota("E", "1102", "4"), 0, QVariant());
    EXPECT_TRUE(ExistemDocumentos(*t.con, ativo, periodo)) << "a voided number with its substitution line";
    TBancoTeste::executaDireto(db(), "DELETE FROM NFSUBSTRIB");
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, periodo));
    cupom("2024-05-31T23:59:59");
    EXPECT_TRUE(ExistemDocumentos(*t.con, ativo, periodo)) << "an ECF summary, even without rates";
    TBancoTeste::executaDireto(db(), "DELETE FROM CUPOMFISCAL");
    talao(0, 0, "2024-05-01");
    EXPECT_TRUE(ExistemDocumentos(*t.con, ativo, periodo)) << "a series D run";
    EXPECT_FALSE(ExistemDocumentos(*t.con, ativo, "202404"));
}

TEST_F(Apuracao, MesPorFaixaDeDatasIgualAMonthEYear)
{
    const char* datas[] = {"2024-04-30", "2024-04-30T23:59:59", "2024-05-01", "2024-05-01T00:00:00", "2024-05-15",
                           "2024-05-31T23:59:59", "2024-06-01", "2023-05-15", "2025-05-15", "2024-5-15"};
    for (int i = 0; i < int(std::size(datas)); ++i)
        nota("E", "1102", "N", b(i), local, datas[i]);
    const qint64 porJet =
        TBancoTeste::valorDireto(db(), "SELECT SUM(ValorTotalNota) FROM NotaFiscal WHERE MONTH(DtEmissao) = 5 "
                                       "AND YEAR(DtEmissao) = 2024").toLongLong();
    EXPECT_EQ(porJet, b(2) + b(3) + b(4) + b(5));
    EXPECT_EQ(f(TotalEntradasSN), porJet);
    EXPECT_EQ(f(TotalEntradasSN, 12, 2023), 0);
    EXPECT_EQ(f(TotalEntradasSN, 13, 2024), 0) << "no month 13";
    EXPECT_EQ(f(TotalEntradasSN, 0, 2024), 0);
}

TEST_F(Apuracao, SituacoesDasSaidasNoDebitoENaSubstituicao)
{
    // Each situation with its ICMS line and two substitution lines, one of them under the source regime.
    const char* situacoes[] = {"N", "E", "S", "X", "2", "4"};
    for (int i = 0; i < 6; ++i) {
        const int n = nota("S", "5102", situacoes[i]);
        icms(n, reais(100), b(i));
        subst(n, b(i), " ");
        subst(n, b(10 + i), "5");
    }
    EXPECT_EQ(f(DebitoPorSaidas), b(0) + b(1)) << "N and E only";
    EXPECT_EQ(f(SubstituicaoSaidasInternas), b(0) + b(1) + b(3)) << "X counts here";
    EXPECT_EQ(f(SubstituicaoRegimeFonte), b(10) + b(11) + b(13));

    // Lines that neither substitution sum on outputs takes: a null MVA, another state's party, an entry.
    const int semMva = nota("S", "5102", "N");
    subst(semMva, b(20), QVariant());
    const int paraSP = nota("S", "6102", "N", 0, paulista);
    subst(paraSP, b(21), " ");
    subst(paraSP, b(22), "5");
    const int entrada = nota("E", "1102", "N");
    subst(entrada, b(23), " ");
    subst(entrada, b(24), "5");
    EXPECT_EQ(f(SubstituicaoSaidasInternas), b(0) + b(1) + b(3));
    EXPECT_EQ(f(SubstituicaoRegimeFonte), b(10) + b(11) + b(13));
}

TEST_F(Apuracao, SubstituicaoNasCompras)
{
    // Interstate entry codes from another state's party, situation "N" only; the kind is not looked at.
    subst(nota("E", "2102", "N", 0, paulista), b(0), " ");
    subst(nota("E", "2999", "N", 0, paulista), b(1), "5");
    subst(nota("S", "2102", "N", 0, paulista), b(2), QVariant());
    subst(nota("E", "2102", "E", 0, paulista), b(3), " ");
    subst(nota("E", "2102", "X", 0, paulista), b(4), " ");
    subst(nota("E", "1102", "N", 0, paulista), b(5), " ");
    subst(nota("E", "3102", "N", 0, paulista), b(6), " ");
    subst(nota("E", "2102", "N", 0, local), b(7), " ");
    subst(nota("E", "2102", "N", 0, exterior), b(8), " ");
    subst(nota("E", "2102", "N", 0, 99), b(9), " "); // a party that is not in the register
    EXPECT_EQ(f(SubstituicaoEntradasOutrasUF), b(0) + b(1) + b(2));
    EXPECT_EQ(f(SubstituicaoSaidasInternas), 0);
}

TEST_F(Apuracao, DebitoPorSaidasETransferenciaDeCredito)
{
    const char* codigos[] = {"5102", "6102", "5601", "5602", "5603", "6603", "5934", "6934", "6601"};
    for (int i = 0; i < int(std::size(codigos)); ++i)
        icms(nota("S", codigos[i], "N"), reais(100), b(i));
    icms(nota("E", "1102", "N"), reais(100), b(12));
    const qint64 notas = b(0) + b(1) + b(8);
    EXPECT_EQ(f(TransferenciaCreditoAcumulado), b(2) + b(3) + b(4) + b(5));
    EXPECT_EQ(f(DebitoPorSaidas), notas);

    // ECF: 17 % of 100.00; series D ICMS.
    aliquota(cupom(), "1700", reais(100));
    talao(reais(1000), b(13));
    EXPECT_EQ(f(DebitoPorSaidas), notas + reais(17) + b(13));

    // Transport documents taken as outputs: any situation and modality, CFOP by text range.
    transporte("5353", "1", "S", 0, 0, b(14));
    transporte("600", "2", "4", 0, 0, b(15));
    transporte("8000", "1", "N", 0, 0, b(16));
    transporte("800", "1", "N", 0, 0, b(17));
    transporte("8001", "1", "N", 0, 0, b(18));
    transporte("499", "1", "N", 0, 0, b(19));
    transporte("4999", "2", "N", 0, 0, b(20));
    transporte(6, "1", "N", 0, 0, b(21)); // the text "6", after "500" as text
    EXPECT_EQ(f(DebitoPorSaidas), notas + reais(17) + b(13) + b(14) + b(15) + b(16) + b(17) + b(21));
}

TEST_F(Apuracao, CreditoPorEntradasEAcumuladoRecebido)
{
    const char* codigos[] = {"1102", "2102", "1601", "1602", "1603", "2603", "1556", "2556", " 1102", "1601 "};
    for (int i = 0; i < int(std::size(codigos)); ++i)
        icms(nota("E", codigos[i], "N"), reais(100), b(i));
    icms(nota("E", "1102", "E"), reais(100), b(10));
    icms(nota("E", "1102", "X"), reais(100), b(11));
    icms(nota("E", "1601", "S"), reais(100), b(12));
    icms(nota("S", "1102", "N"), reais(100), b(13));
    icms(nota("E", "1102", "N", 0, local, "2024-06-01"), reais(100), b(14));
    // 1556 and 2556 both give no credit; codes are trimmed before the lists are consulted.
    EXPECT_EQ(f(CreditoPorEntradas), b(0) + b(1) + b(8) + b(10));
    EXPECT_EQ(f(CreditoAcumuladoRecebido), b(2) + b(3) + b(4) + b(5) + b(9));
}

TEST_F(Apuracao, TransporteDeEntradaPorFaixaDeTextoEModalidade)
{
    // ICMS, total and base of each document in the same power of two.
    auto doc = [&](const QVariant& cfop, const char* modalidade, const char* situacao, int bit) {
        transporte(cfop, modalidade, situacao, b(bit), b(bit), b(bit));
    };
    doc("400", "2", "N", 0);
    doc("4000", "2", "N", 1);
    doc("4001", "2", "N", 2);
    doc("100", "2", "N", 3);
    doc("099", "2", "N", 4);
    doc(35, "2", "N", 5);     // stored as the text "35", inside '100'..'400' as text
    doc("1353", "2", "X", 6); // "X" is not left out of the transport entries
    doc("1353", "2", "S", 7);
    doc("1353", "2", "2", 8);
    doc("1353", "2", "4", 9);
    doc("1353", "1", "N", 10);
    doc("2353", "2", "E", 11);
    EXPECT_EQ(TBancoTeste::valorDireto(db(), "SELECT typeof(Cfop) FROM NFTRANSPORTE WHERE Cfop = '35'").toString(), "text");

    const qint64 modalidade2 = b(0) + b(1) + b(3) + b(5) + b(6) + b(11);
    EXPECT_EQ(f(CreditoPorEntradas), modalidade2);
    EXPECT_EQ(f(TotalEntradasSN), modalidade2 + b(10)) << "no modality filter";
    // Only '1000'..'4000' here; as text "400" and "35" fall in it as well, "100" does not.
    EXPECT_EQ(f(TotalAquisicoesEPP), b(0) + b(1) + b(5) + b(6) + b(11));
    EXPECT_EQ(f(AquisicoesInternasEPP), 0) << "no transport part";
    EXPECT_EQ(f(DebitoPorSaidas), 0);
    EXPECT_EQ(f(ReceitaApuradaEPP), 0);
}

TEST_F(Apuracao, ProdutoDaAliquotaDoEcf)
{
    using Lista = QList<QPair<QString, Money>>;
    EXPECT_EQ(DebitoEcf({{"1700", Money::fromRaw(reais(100))}}).raw(), reais(17));
    EXPECT_EQ(DebitoEcf({{"1700", Money::fromRaw(100)}}).raw(), 17) << "0,01 at 17 % is 0,0017, kept to the fourth decimal";
    EXPECT_EQ(DebitoEcf({{"1250", Money::fromRaw(reais(3))}}).raw(), 3750);
    // Ties at the fourth decimal go to the even neighbour; the sum is rounded once.
    EXPECT_EQ(DebitoEcf({{"0100", Money::fromRaw(150)}}).raw(), 2);
    EXPECT_EQ(DebitoEcf({{"100", Money::fromRaw(250)}}).raw(), 2);
    EXPECT_EQ(DebitoEcf({{"100", Money::fromRaw(350)}}).raw(), 4);
    EXPECT_EQ(DebitoEcf({{"100", Money::fromRaw(251)}}).raw(), 3);
    EXPECT_EQ(DebitoEcf(Lista{{"100", Money::fromRaw(150)}, {" 100 ", Money::fromRaw(150)}}).raw(), 3);
    EXPECT_EQ(DebitoEcf({}).raw(), 0);
    EXPECT_THROW(DebitoEcf({{"ISS", Money::fromRaw(reais(1))}}), EBancoDados);
    EXPECT_THROW(DebitoEcf({{"", Money::fromRaw(reais(1))}}), EBancoDados);
    EXPECT_THROW(DebitoEcf({{"17.5", Money::fromRaw(reais(1))}}), EBancoDados);
    EXPECT_THROW(DebitoEcf({{"9999", Money::fromRaw(std::numeric_limits<qint64>::max() / 1000)}}), EBancoDados);

    // Away from exact ties the figure is the floating-point expression rounded to four decimals.
    QRandomGenerator gerador(20240510);
    for (int i = 0; i < 2000; ++i) {
        Lista lista;
        double flutuante = 0;
        for (int k = 0; k < 3; ++k) {
            const int taxa = int(gerador.bounded(2800));
            const qint64 valor = qint64(gerador.bounded(1000000000)) * 10 + gerador.bounded(10);
            lista.append({QString::number(taxa), Money::fromRaw(valor)});
            flutuante += taxa / 100.0 * (double(valor) / Money::Escala);
        }
        qint64 produtos = 0;
        for (const auto& [taxa, valor] : lista)
            produtos += taxa.toLongLong() * valor.raw();
        if (produtos % 10000 == 5000)
            continue;
        ASSERT_EQ(DebitoEcf(lista).raw(), Money::fromDouble(flutuante / 100).raw()) << i;
    }
}

TEST_F(Apuracao, EcfNoDebitoENaReceita)
{
    const int c1 = cupom();
    aliquota(c1, "1700", reais(100));
    aliquota(c1, "1200", Money::parse("0,01")->raw());
    aliquota(c1, QVariant(), reais(50)); // no rate: nothing to the debit, still part of the gross sales
    const int c2 = cupom("2024-05-31T20:00:00");
    aliquota(c2, "1700", reais(100));
    aliquota(cupom("2024-06-01"), "1700", reais(1000));
    aliquota(cupom(kDia, outro), "1700", reais(1000));
    EXPECT_EQ(f(DebitoPorSaidas), reais(34) + 12);
    EXPECT_EQ(f(ReceitaApuradaEPP), reais(250) + 100);
    confereConjunto();

    // A rate the division cannot read makes the ECF part 0; the other parts stay.
    talao(reais(10), reais(1));
    aliquota(c2, "ISS", reais(5));
    EXPECT_EQ(f(DebitoPorSaidas), reais(1));
    EXPECT_EQ(f(ReceitaApuradaEPP), reais(255) + 100 + reais(10)) << "the gross sales do not divide";
}

TEST_F(Apuracao, SaldoCredorAnteriorDoMesAntes)
{
    static const char* const creditos[] = {"CredSaldoAnterior", "CredEntradas", "CredAtivoImob", "CredTransferencia",
                                           "CredIcms_JR", "CredIcms_AR", "CredEstornoDeb", "OutrosRegEspec", "Tare",
                                           "PrevRicms", "Dorq", "ChqHabitacao", "ChqEducacao", "CredOutros"};
    static const char* const debitos[] = {"DebSaidas", "DebTransfCredAc", "DebEstornoCred", "DebOutros"};
    // Columns of the declaration that are no credit or debit, to show that they are left out.
    static const char* const outros[] = {"SubstEnt_JR", "SubstEnt_AR", "SubstSai_JR", "SubstSai_AR", "DifAliquota",
                                         "ImpOutraUF", "MirvelIcms"};
    auto zel = [&](int dono, const char* periodo, qint64 fatorCredito, qint64 fatorDebito) {
        QStringList colunas{"IdContribuinte", "Periodo", "Tipo"};
        QStringList valores{QString::number(dono), QStringLiteral("'%1'").arg(periodo), "'1'"};
        int bit = 0;
        for (const char* c : creditos) {
            colunas << c;
            valores << QString::number(fatorCredito * b(bit++));
        }
        for (const char* c : debitos) {
            colunas << c;
            valores << QString::number(fatorDebito * b(bit++));
        }
        for (const char* c : outros) {
            colunas << c;
            valores << QString::number(b(30));
        }
        TBancoTeste::executaDireto(db(), QStringLiteral("INSERT INTO ZEL (%1) VALUES (%2)").arg(colunas.join(','), valores.join(',')));
    };
    qint64 credito = 0, debito = 0;
    for (int i = 0; i < 14; ++i)
        credito += b(i);
    for (int i = 14; i < 18; ++i)
        debito += b(i);
    ASSERT_LT(debito, 64 * credito);

    zel(outro, "200512", 1, 0);
    zel(ativo, "200512", 64, 1);
    zel(ativo, "200612", 1024, 0); // the December of the same year is not the month before January
    EXPECT_EQ(f(SaldoCredorAnterior, 1, 2006), 64 * credito - debito);
    EXPECT_EQ(f(SaldoCredorAnterior, 2, 2006), 0) << "no declaration of January";

    // Debits above the credits, and equal to them, leave nothing to carry over.
    zel(ativo, "200601", 0, 1);
    EXPECT_EQ(f(SaldoCredorAnterior, 2, 2006), 0);
    TBancoTeste::executaDireto(db(), "UPDATE ZEL SET CredOutros = (SELECT DebSaidas + DebTransfCredAc + DebEstornoCred "
                                     "+ DebOutros FROM ZEL WHERE Periodo = '200601') WHERE Periodo = '200601'");
    EXPECT_EQ(f(SaldoCredorAnterior, 2, 2006), 0);

    // Columns never filled (added to older files) count as 0.
    TBancoTeste::executaDireto(db(), "UPDATE ZEL SET ChqHabitacao = NULL, ChqEducacao = NULL, DebOutros = NULL "
                                     "WHERE Periodo = '200512' AND IdContribuinte = 1");
    EXPECT_EQ(f(SaldoCredorAnterior, 1, 2006), 64 * (credito - b(11) - b(12)) - (debito - b(17)));
}

TEST_F(Apuracao, ReceitaApuradaEPPComTransferenciasDosDoisLados)
{
    // Exit bases count except the transfer codes; entry bases count against them only with a transfer code.
    icms(nota("S", "5102", "N"), b(10), 0);
    icms(nota("S", "6102", "E"), b(9), 0);
    icms(nota("S", "5152", "N"), b(20), 0);
    icms(nota("S", "6557", "N"), b(21), 0);
    icms(nota("S", "5102", "X"), b(22), 0);
    icms(nota("E", "1102", "N"), b(23), 0);
    icms(nota("E", "5152", "N"), b(2), 0);
    icms(nota("E", " 6409", "N"), b(3), 0);
    icms(nota("E", "5152", "S"), b(24), 0);
    const qint64 saidas = b(10) + b(9);
    EXPECT_EQ(f(ReceitaApuradaEPP), saidas - b(2) - b(3));

    // ECF gross sales, series D bases and output transport bases (cancelled too) are added after the floor.
    aliquota(cupom(), "1700", b(4));
    talao(b(5), reais(1));
    transporte("5353", "1", "S", b(25), b(6), reais(1));
    transporte("1353", "2", "N", b(26), b(26), reais(1));
    const qint64 demais = b(4) + b(5) + b(6);
    EXPECT_EQ(f(ReceitaApuradaEPP), saidas - b(2) - b(3) + demais);
    // More transfers received than revenue: the invoice part stops at 0, the others still count.
    icms(nota("E", "6151", "N"), b(12), 0);
    EXPECT_EQ(f(ReceitaApuradaEPP), demais);
}

TEST_F(Apuracao, AquisicoesEPPEEntradasDoSimples)
{
    const char* codigos[] = {"1102", "2102", "1556", "2556", "1949", "3102", "3930", "1999", "2000", "1556 "};
    for (int i = 0; i < int(std::size(codigos)); ++i)
        nota("E", codigos[i], "N", b(i));
    nota("E", "1102", "S", b(10));
    nota("E", "1102", "X", b(11));
    nota("E", "1102", "2", b(12));
    nota("E", "1102", "4", b(13));
    nota("E", "1102", "E", b(14));
    nota("S", "5102", "N", b(15));
    transporte("1353", "2", "N", b(16), 0, 0);
    transporte("1353", "1", "N", b(17), 0, 0);
    EXPECT_EQ(f(TotalAquisicoesEPP), b(0) + b(1) + b(3) + b(4) + b(5) + b(7) + b(8) + b(14) + b(16));
    EXPECT_EQ(f(AquisicoesInternasEPP), b(0) + b(4) + b(7) + b(14));
    qint64 todas = b(14) + b(16) + b(17);
    for (int i = 0; i < int(std::size(codigos)); ++i)
        todas += b(i);
    EXPECT_EQ(f(TotalEntradasSN), todas) << "every valid entry, whatever its code";
}

TEST_F(Apuracao, ErrosDoBancoPorParte)
{
    // Two amounts whose sum the engine refuses ("integer overflow").
    const qint64 meio = std::numeric_limits<qint64>::max() / 2 + 1;

    // Single-value parts: 0, and the figure goes on.
    icms(nota("E", "1102", "N"), reais(100), reais(7));
    transporte("1353", "2", "N", meio, meio, meio);
    transporte("2353", "2", "N", meio, meio, meio);
    EXPECT_EQ(f(CreditoPorEntradas), reais(7));
    EXPECT_EQ(f(TotalAquisicoesEPP), 0);
    for (int i = 0; i < 2; ++i)
        subst(nota("S", "5102", "N"), meio, " ");
    EXPECT_EQ(f(SubstituicaoSaidasInternas), 0);
    confereConjunto();
    TBancoTeste::executaDireto(db(), "DELETE FROM NFTRANSPORTE");

    // The exits loop keeps the groups added before the failing one.
    icms(nota("S", "5102", "N"), reais(100), reais(3));
    icms(nota("S", "5405", "N"), meio, meio);
    icms(nota("S", "5405", "N"), meio, meio);
    talao(reais(10), reais(1));
    EXPECT_EQ(f(DebitoPorSaidas), reais(3) + reais(1));
    EXPECT_THROW(f(TransferenciaCreditoAcumulado), EBancoDados) << "the grouped query is not caught here";
    EXPECT_THROW(f(ReceitaApuradaEPP), EBancoDados);

    // Entry groups: the credit figures raise, the acquisition figures count the invoice part as 0.
    nota("E", "1949", "N", meio);
    nota("E", "1949", "N", meio);
    nota("E", "1102", "N", reais(5));
    transporte("1353", "2", "N", reais(2), 0, 0);
    icms(nota("E", "1601", "N"), reais(100), meio);
    icms(nota("E", "1601", "N"), reais(100), meio);
    EXPECT_THROW(f(CreditoPorEntradas), EBancoDados);
    EXPECT_THROW(f(CreditoAcumuladoRecebido), EBancoDados);
    EXPECT_EQ(f(TotalAquisicoesEPP), reais(2)) << "1102 was summed before 1949 failed, and is dropped too";
    EXPECT_EQ(f(AquisicoesInternasEPP), 0);
    EXPECT_EQ(f(TotalEntradasSN), reais(2));

    // The balance carried over: a table the engine cannot read gives 0.
    TBancoTeste::executaDireto(db(), "DROP TABLE ZEL");
    EXPECT_EQ(f(SaldoCredorAnterior), 0);
}

TEST_F(Apuracao, EstouroSoNaSomaDosGrupos)
{
    // Each code's sum fits, their total does not: the engine refuses the single sum, so that part is 0.
    const qint64 meio = std::numeric_limits<qint64>::max() / 2 + 1;
    nota("E", "1102", "N", meio);
    nota("E", "2102", "N", meio);
    transporte("1353", "2", "N", reais(2), 0, 0);
    EXPECT_EQ(f(TotalEntradasSN), reais(2));
    EXPECT_EQ(f(TotalAquisicoesEPP), reais(2));
    EXPECT_EQ(f(AquisicoesInternasEPP), meio);
}

TEST(ValorComPonto, DuasCasasEPontoComDesempatePar)
{
    EXPECT_EQ(ValorComPonto(Money::fromRaw(12345600)), "1234.56");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(123456789012340)), "12345678901.23");
    EXPECT_EQ(ValorComPonto(Money()), "0.00");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(-5000)), "-0.50");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(150)), "0.02");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(250)), "0.02");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(251)), "0.03");
    EXPECT_EQ(ValorComPonto(Money::fromRaw(17)), "0.00");
}

TEST_F(Apuracao, ListagemDoComando)
{
    icms(nota("S", "5102", "N"), reais(1000), Money::parse("1.234,56")->raw());
    aliquota(cupom(), "1000", 500); // 10 % of 0,05: half a cent more, 1.234,565
    icms(nota("E", "1102", "N"), reais(1000), reais(170));
    TBancoTeste::executaDireto(db(), "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredOutros, DebOutros) "
                                     "VALUES (1, '202404', '1', 500000, 0)");

    TOpcoesApuracao o;
    o.pasta = t.pasta.path();
    o.ie = " 123456789 ";
    o.periodo = "202405";
    QStringList linhas;
    QString erro;
    ASSERT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 0) << erro.toStdString();
    EXPECT_EQ(linhas, (QStringList{
                          "CreditoPorEntradas\t170.00",
                          "CreditoAcumuladoRecebido\t0.00",
                          "DebitoPorSaidas\t1234.56",
                          "TransferenciaCreditoAcumulado\t0.00",
                          "SubstituicaoSaidasInternas\t0.00",
                          "SubstituicaoRegimeFonte\t0.00",
                          "SubstituicaoEntradasOutrasUF\t0.00",
                          "SaldoCredorAnterior\t50.00",
                          "ReceitaApuradaEPP\t1000.05",
                          "TotalAquisicoesEPP\t0.00",
                          "AquisicoesInternasEPP\t0.00",
                          "TotalEntradasSN\t0.00",
                          "ExistemDocumentos\tsim",
                      }));
    EXPECT_EQ(f(DebitoPorSaidas), Money::parse("1.234,565")->raw()) << "the listing rounds ties to even, the figure not at all";

    o.periodo = "202406";
    ASSERT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 0);
    EXPECT_EQ(linhas.size(), 13);
    EXPECT_EQ(linhas.last(), "ExistemDocumentos\tnao");
    EXPECT_EQ(linhas.count(QStringLiteral("TotalEntradasSN\t0.00")), 1);

    // A refused grouped query ends the command with the engine's message and no listing.
    TBancoTeste::executaDireto(db(), "ALTER TABLE NFICMS RENAME TO NFICMS_FORA");
    o.periodo = "202405";
    EXPECT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 1);
    EXPECT_TRUE(linhas.isEmpty());
    EXPECT_TRUE(erro.contains("NFICMS")) << erro.toStdString();
}

TEST_F(Apuracao, ComandoRecusaOPeriodoQueATelaRecusaComAMensagemDela)
{
    TOpcoesApuracao o;
    o.pasta = t.pasta.path();
    o.ie = "123456789";
    const struct {
        const char* declaracao;
        const char* periodo;
        const char* mensagem; // nullptr: accepted
    } casos[] = {
        {"epp", "200312", "O Ano deve ser a partir de 2004!"},
        {"epp", "199901", "O Ano deve ser a partir de 2004!"},
        {"epp", "200401", nullptr},
        {"epp", "200606", nullptr}, // the old screen's last month
        {"epp", "200607", nullptr}, // the MP 37/06 screen's first
        {"epp", "202405", nullptr},
        {"sn", "200612", "O Ano deve ser a partir de 2007!"},
        {"sn", "200706", "O Mês deve ser a partir de 07/2007!"},
        {"sn", "200707", nullptr},
        {"normal", "200312", nullptr},
        {"", "199901", nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.declaracao) + " " + c.periodo);
        o.declaracao = QString::fromLatin1(c.declaracao);
        o.periodo = QString::fromLatin1(c.periodo);
        QStringList linhas{"resto"};
        QString erro;
        const int r = ExecutaApuracao(o, t.dialogos, &linhas, &erro);
        if (c.mensagem) {
            EXPECT_EQ(r, 1);
            EXPECT_EQ(erro, QString::fromUtf8(c.mensagem));
            EXPECT_TRUE(linhas.isEmpty());
        } else {
            EXPECT_EQ(r, 0) << erro.toStdString();
            EXPECT_FALSE(linhas.isEmpty());
        }
    }
}

TEST_F(Apuracao, ComandoRecusaPastaSemBancoEArgumentos)
{
    TOpcoesApuracao o;
    o.ie = "123456789";
    o.periodo = "202405";
    QStringList linhas;
    QString erro;

    QTemporaryDir vazia;
    o.pasta = vazia.path();
    EXPECT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 1);
    EXPECT_TRUE(erro.contains(QString::fromUtf8("não há banco de dados"))) << erro.toStdString();
    EXPECT_FALSE(QFile::exists(QDir(vazia.path()).filePath("bcoZel.mdb"))) << "nothing is created";

    o.pasta = t.pasta.path();
    o.ie = "111111111";
    EXPECT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 1);
    EXPECT_TRUE(erro.contains("111111111"));
    o.ie = "";
    EXPECT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 2);
    o.ie = "123456789";
    for (const char* ruim : {"202413", "202400", "2024-05", "05/2024", "24055", "abcdef"}) {
        o.periodo = ruim;
        EXPECT_EQ(ExecutaApuracao(o, t.dialogos, &linhas, &erro), 2) << ruim;
        EXPECT_TRUE(linhas.isEmpty());
    }
}
