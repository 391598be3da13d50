// Start-up cost on a database of realistic size: connect (with its integrity check), compaction, and the
// schema steps, for files of 50,000 to 1,000,000 invoices (each with its ICMS, IPI and substitution lines).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "core/untProgresso.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untInicio.h"
#include "db/untSqlite.h"

namespace {

void preenche(TDTMCON& con, int notas)
{
    sqlite3* db = con.db();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* nf = nullptr;
    sqlite3_stmt* linha = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                           "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) "
                           "VALUES (?1, 2, ?2, 'S', '01', '1', ?3, '5102', 'P', 1000000, 'N', ?2)", -1, &nf, nullptr);
    sqlite3_prepare_v2(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, "
                           "AliquotaICMS) VALUES (?1, 1000000, 170000, 0, 0, '1700')", -1, &linha, nullptr);
    for (int i = 0; i < notas; ++i) {
        const QByteArray data = QStringLiteral("2024-%1-%2").arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                    .arg(1 + i % 28, 2, 10, QLatin1Char('0')).toLatin1();
        const QByteArray numero = QByteArray::number(i % 1000000).rightJustified(6, '0');
        sqlite3_bind_int(nf, 1, 1 + i % 50);
        sqlite3_bind_text(nf, 2, data.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(nf, 3, numero.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(nf);
        sqlite3_reset(nf);
        sqlite3_bind_int64(linha, 1, sqlite3_last_insert_rowid(db));
        sqlite3_step(linha);
        sqlite3_reset(linha);
    }
    sqlite3_finalize(nf);
    sqlite3_finalize(linha);
    sqlite3_exec(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) "
                     "SELECT IdNotaFiscal, 0, 0, 0 FROM NotaFiscal", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                     "SELECT IdNotaFiscal, 0, 0, 0, ' ' FROM NotaFiscal", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    con.Fechar();
}

// A data folder whose database holds the benchmark's number of invoices.
void preparaPasta(const QTemporaryDir& pasta, IDialogos& dialogos, int notas)
{
    TDTMCON con(pasta.path(), dialogos);
    con.Conectar();
    preenche(con, notas);
}

void Partida(benchmark::State& estado)
{
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    TProgressoNulo progresso;
    preparaPasta(pasta, dialogos, int(estado.range(0)));
    for (auto _ : estado) {
        TDTMCON con(pasta.path(), dialogos);
        TDTM dtm(con);
        con.AposConectar = [&dtm] { dtm.AposConectar(); };
        benchmark::DoNotOptimize(ExecutaVerificacoesIniciais(con, dtm, dialogos, progresso));
    }
    estado.counters["MiB"] = double(QFileInfo(QDir(pasta.path()).filePath("bcoZel.mdb")).size()) / (1 << 20);
}

void SoConectar(benchmark::State& estado)
{
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    preparaPasta(pasta, dialogos, int(estado.range(0)));
    for (auto _ : estado) {
        TDTMCON con(pasta.path(), dialogos);
        benchmark::DoNotOptimize(con.Conectar());
    }
}

} // namespace

BENCHMARK(Partida)->Arg(50000)->Arg(200000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SoConectar)->Arg(50000)->Arg(200000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
