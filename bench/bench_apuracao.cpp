// The month's declaration figures (what "Processa" asks for, and "zelcli apuracao" lists) for a taxpayer with
// 20,000 invoices (each with its ICMS, IPI and substitution lines), 20,000 transport documents, 20,000
// series D runs and 20,000 ECF summaries of 3 rates each in the month, in a database of 1,000,000 invoice
// rows; the other months and taxpayers hold as much again of the other documents.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "db/untDTMCON.h"
#include "declarations/untApuracao.h"

namespace {

constexpr int kTotalNotas = 1000000;
constexpr int kDoMes = 20000;
constexpr int kPartes = 60;


// Taxpayer 1 in May 2024 for the month's documents; the rest spread over 50 taxpayers and two years.
QByteArray data(int i, bool doMes)
{
    return doMes ? QByteArray("2024-05-") + QByteArray::number(1 + i % 31).rightJustified(2, '0')
                 : QStringLiteral("%1-%2-%3").arg(2023 + i % 2).arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                       .arg(1 + i % 28, 2, 10, QLatin1Char('0')).toLatin1();
}

int dono(int i, bool doMes) { return doMes ? 1 : 2 + i % 50; }

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        con->Conectar();
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        sqlite3_stmt* st = nullptr;
        // Taxpayers 1..51; parties of the home state, of another state and abroad.
        sqlite3_prepare_v2(db, "INSERT INTO Contribuinte (IdContribuinte, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                               "(?1, printf('%09d', ?1), 'PARTE', ?2, ?3)", -1, &st, nullptr);
        for (int i = 1; i <= kPartes; ++i) {
            sqlite3_bind_int(st, 1, i);
            sqlite3_bind_text(st, 2, i % 5 == 0 ? "SP" : i % 7 == 0 ? "EX" : "ZR", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, i <= 51 ? "C" : "F", -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);

        static const char* const saidas[] = {"5102", "5405", "6102", "5152", "5601", "5934", "6108", "5949"};
        static const char* const entradas[] = {"1102", "2102", "1403", "1152", "1601", "1556", "2556", "1949"};
        static const char* const situacoes[] = {"N", "N", "N", "N", "N", "N", "E", "S", "X", "2", "4"};
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) "
                               "VALUES (?1, ?2, ?3, ?4, '01', '1', printf('%06d', ?5), ?6, 'P', ?7, ?8, ?3)", -1, &st, nullptr);
        for (int i = 0; i < kTotalNotas; ++i) {
            const bool doMes = i < kDoMes;
            const QByteArray d = data(i, doMes);
            const bool entrada = i % 2 == 0;
            sqlite3_bind_int(st, 1, dono(i, doMes));
            sqlite3_bind_int(st, 2, 52 + i % (kPartes - 51));
            sqlite3_bind_text(st, 3, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 4, entrada ? "E" : "S", -1, SQLITE_STATIC);
            sqlite3_bind_int(st, 5, i % 999999 + 1);
            sqlite3_bind_text(st, 6, (entrada ? entradas : saidas)[(i / 2) % 8], -1, SQLITE_STATIC);
            sqlite3_bind_int64(st, 7, 1000000 + i % 977);
            sqlite3_bind_text(st, 8, situacoes[i % 11], -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        executaSql(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                    "SELECT IdNotaFiscal, 1000000, 170000 + IdNotaFiscal % 13, 0, 0, '1700' FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) SELECT IdNotaFiscal, 50000, 0, 0 FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                    "SELECT IdNotaFiscal, 1500000, 45000, 0, CASE IdNotaFiscal % 3 WHEN 0 THEN '5' WHEN 1 THEN ' ' END "
                    "FROM NotaFiscal");

        // The other documents: 20,000 of each kind in the month, as many again elsewhere.
        static const char* const cfopsTransporte[] = {"1352", "2352", "5352", "6352", "400", "600", "4001", "1353"};
        sqlite3_prepare_v2(db, "INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, Numero, "
                               "Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES "
                               "(?1, 52, ?2, '08', 'U', printf('%06d', ?3), ?4, 300000, 300000, 36000, 0, 0, ?5, ?6)",
                           -1, &st, nullptr);
        for (int i = 0; i < 2 * kDoMes; ++i) {
            const bool doMes = i < kDoMes;
            const QByteArray d = data(i, doMes);
            sqlite3_bind_int(st, 1, dono(i, doMes));
            sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i + 1);
            sqlite3_bind_text(st, 4, cfopsTransporte[i % 8], -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 5, i % 3 == 0 ? "1" : "2", -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 6, situacoes[i % 11], -1, SQLITE_STATIC);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, NumeroInicial, NumeroFinal, "
                               "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES (?1, ?2, '02', 'D', ?3, "
                               "?3 + 49, 500000, 500000, 85000, 0, 0, '1700')", -1, &st, nullptr);
        for (int i = 0; i < 2 * kDoMes; ++i) {
            const bool doMes = i < kDoMes;
            const QByteArray d = data(i, doMes);
            sqlite3_bind_int(st, 1, dono(i, doMes));
            sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i * 50 + 1);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "INSERT INTO CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
                               "COOFinal, CRZ, CRO, VendaBruta) VALUES (?1, ?2, 'BE0512SC56000001234', '001', '2D', 1, 99, "
                               "?3, 1, 3000000)", -1, &st, nullptr);
        sqlite3_stmt* aliquota = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (?1, ?2, ?3)", -1,
                           &aliquota, nullptr);
        for (int i = 0; i < 2 * kDoMes; ++i) {
            const bool doMes = i < kDoMes;
            const QByteArray d = data(i, doMes);
            sqlite3_bind_int(st, 1, dono(i, doMes));
            sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i + 1);
            sqlite3_step(st);
            sqlite3_reset(st);
            const qint64 id = sqlite3_last_insert_rowid(db);
            int k = 0;
            for (const char* taxa : {"1700", "1200", "0700"}) {
                sqlite3_bind_int64(aliquota, 1, id);
                sqlite3_bind_text(aliquota, 2, taxa, -1, SQLITE_STATIC);
                sqlite3_bind_int64(aliquota, 3, 1000000 + i % 101 + k++);
                sqlite3_step(aliquota);
                sqlite3_reset(aliquota);
            }
        }
        sqlite3_finalize(st);
        sqlite3_finalize(aliquota);
        executaSql(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredSaldoAnterior, CredEntradas, DebSaidas) "
                    "VALUES (1, '202404', '1', 10000000, 5000000, 12000000)");
        executaSql(db, "COMMIT");
        executaSql(db, "ANALYZE");
    }
};

Base& base()
{
    static Base b;
    return b;
}

// Everything "zelcli apuracao" lists: the twelve figures and the test for documents.
void TodasAsFiguras(benchmark::State& estado)
{
    QStringList linhas;
    for (auto _ : estado) {
        linhas = LinhasApuracao(*base().con, 1, 5, 2024);
        benchmark::DoNotOptimize(linhas);
    }
    if (linhas.size() != 13)
        estado.SkipWithError("listing incomplete");
}

void UmaFigura(benchmark::State& estado, Money (*figura)(TDTMCON&, int, int, int))
{
    for (auto _ : estado)
        benchmark::DoNotOptimize(figura(*base().con, 1, 5, 2024));
}

void ExistemDocumentosDoMes(benchmark::State& estado)
{
    for (auto _ : estado)
        benchmark::DoNotOptimize(ExistemDocumentos(*base().con, 1, QStringLiteral("202405")));
}

} // namespace

BENCHMARK(TodasAsFiguras)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, CreditoPorEntradas, CreditoPorEntradas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, CreditoAcumuladoRecebido, CreditoAcumuladoRecebido)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, DebitoPorSaidas, DebitoPorSaidas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, TransferenciaCreditoAcumulado, TransferenciaCreditoAcumulado)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, SubstituicaoSaidasInternas, SubstituicaoSaidasInternas)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, SubstituicaoRegimeFonte, SubstituicaoRegimeFonte)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, SubstituicaoEntradasOutrasUF, SubstituicaoEntradasOutrasUF)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, SaldoCredorAnterior, SaldoCredorAnterior)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, ReceitaApuradaEPP, ReceitaApuradaEPP)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, TotalAquisicoesEPP, TotalAquisicoesEPP)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, AquisicoesInternasEPP, AquisicoesInternasEPP)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(UmaFigura, TotalEntradasSN, TotalEntradasSN)->Unit(benchmark::kMillisecond);
BENCHMARK(ExistemDocumentosDoMes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
