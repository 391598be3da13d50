// The invoice browse screen's "Pesquisar" and "Resumo" for one month in which the taxpayer has 20,000
// invoices, in a database of 1,000,000 invoice rows (each with its ICMS, IPI and substitution lines).
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "documents/untConsultasNotas.h"

namespace {

constexpr int kTotal = 1000000;
constexpr int kDoMes = 20000;

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        con->Conectar();
        sqlite3* db = con->db();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* nf = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) "
                               "VALUES (?1, 2, ?2, ?3, '01', '1', ?4, '5102', 'P', 1000000, ?5, ?2)", -1, &nf, nullptr);
        for (int i = 0; i < kTotal; ++i) {
            // Taxpayer 1 has its 20,000 exits in May 2024; the rest belongs to 50 others over two years.
            const bool doMes = i < kDoMes;
            const int contribuinte = doMes ? 1 : 2 + i % 50;
            const QByteArray data = doMes ? QByteArray("2024-05-") + QByteArray::number(1 + i % 28).rightJustified(2, '0')
                                          : QStringLiteral("%1-%2-%3").arg(2023 + i % 2).arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                                .arg(1 + i % 28, 2, 10, QLatin1Char('0')).toLatin1();
            const QByteArray numero = QByteArray::number(i % 999999 + 1).rightJustified(6, '0');
            sqlite3_bind_int(nf, 1, contribuinte);
            sqlite3_bind_text(nf, 2, data.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(nf, 3, (i % 3 == 0 && !doMes) ? "E" : "S", -1, SQLITE_STATIC);
            sqlite3_bind_text(nf, 4, numero.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(nf, 5, i % 50 == 7 ? "S" : "N", -1, SQLITE_STATIC);
            sqlite3_step(nf);
            sqlite3_reset(nf);
        }
        sqlite3_finalize(nf);
        sqlite3_exec(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                         "SELECT IdNotaFiscal, 1000000, 170000, 0, 0, '1700' FROM NotaFiscal;"
                         "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) "
                         "SELECT IdNotaFiscal, 50000, 0, 0 FROM NotaFiscal;"
                         "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                         "SELECT IdNotaFiscal, 0, 0, 0, ' ' FROM NotaFiscal;"
                         "COMMIT; ANALYZE;",
                     nullptr, nullptr, nullptr);
    }
};

Base& base()
{
    static Base b;
    return b;
}

void Pesquisar(benchmark::State& estado)
{
    TDataSet lista(*base().con);
    const auto periodo = ConsultasNotas::periodo(QStringLiteral("5"), QStringLiteral("2024"));
    for (auto _ : estado) {
        ConsultasNotas::AbreLista(lista, 1, QStringLiteral("S"), periodo);
        benchmark::DoNotOptimize(lista.recordCount());
    }
    estado.counters["linhas"] = lista.recordCount();
}

void Resumo(benchmark::State& estado)
{
    const auto periodo = ConsultasNotas::periodo(QStringLiteral("5"), QStringLiteral("2024"));
    qint64 quantidade = 0;
    for (auto _ : estado) {
        const auto r = ConsultasNotas::Resumo(*base().con, 1, QStringLiteral("S"), periodo);
        quantidade = r.quantidade;
        benchmark::DoNotOptimize(r);
    }
    estado.counters["notas"] = double(quantidade);
}

void Grafico(benchmark::State& estado)
{
    for (auto _ : estado)
        benchmark::DoNotOptimize(ConsultasNotas::Grafico(*base().con, 1, QStringLiteral("S"), QDate(2024, 12, 20)));
}

} // namespace

BENCHMARK(Pesquisar)->Unit(benchmark::kMillisecond);
BENCHMARK(Resumo)->Unit(benchmark::kMillisecond);
BENCHMARK(Grafico)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
