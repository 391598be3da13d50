// The municipality update: a list of 5,600 municipalities (about the whole country) and 300 code changes,
// read from the two delivered files and applied in one transaction to a database with 100,000 Quadro V rows
// of 200 taxpayers. Each run starts from the same tables (the update is rolled back by restoring a copy).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "declarations/untQuadroV.h"

namespace {

constexpr int kMunicipios = 5600;
constexpr int kQuadros = 100000;
constexpr int kMudancas = 300;

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        con->Conectar();
        dtm = std::make_unique<TDTM>(*con);
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        // The table as an older list left it: most codes there, some renamed, some that the new list drops.
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO municipio (codMunicipio, nomeMunicipio) VALUES (printf('%05d', ?1), ?2)", -1,
                           &st, nullptr);
        for (int i = 1; i <= kMunicipios + 200; ++i) {
            if (i % 10 == 0)
                continue;
            const QByteArray nome = "MUNICIPIO ANTIGO " + QByteArray::number(i);
            sqlite3_bind_int(st, 1, i);
            sqlite3_bind_text(st, 2, nome.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) "
                               "VALUES (?1, ?2, printf('%05d', ?3), 'X', 100000)", -1, &st, nullptr);
        for (int i = 0; i < kQuadros; ++i) {
            const QByteArray periodo = QStringLiteral("%1-%2-01").arg(2020 + i % 5).arg(1 + i % 12, 2, 10, QLatin1Char('0')).toLatin1();
            sqlite3_bind_int(st, 1, 1 + i % 200);
            sqlite3_bind_text(st, 2, periodo.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, 1 + i % kMunicipios);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        executaSql(db, "COMMIT");

        // The delivered files: Windows-1252 with CR LF, as they come.
        QFile m(QDir(pasta.path()).filePath("municipio.txt"));
        m.open(QIODevice::WriteOnly);
        for (int i = 1; i <= kMunicipios; ++i)
            m.write(QByteArray::number(i).rightJustified(5, '0') + "|S\xC3O JO\xC3O DO MUNIC\xCDPIO " + QByteArray::number(i) + "|\r\n");
        m.close();
        QFile d(QDir(pasta.path()).filePath("DeParaNovosCodigosMunicipios.txt"));
        d.open(QIODevice::WriteOnly);
        for (int i = 1; i <= kMudancas; ++i)
            d.write(QByteArray::number(i * 17).rightJustified(5, '0') + "|" + QByteArray::number(90000 + i) + "|\r\n");
        d.close();
    }
};

Base& base()
{
    static Base b;
    return b;
}

void LeituraDosArquivos(benchmark::State& estado)
{
    for (auto _ : estado) {
        TArquivosMunicipios a;
        QString erro;
        benchmark::DoNotOptimize(LeArquivosMunicipios(base().pasta.path(), &a, &erro));
    }
}

void AtualizacaoCompleta(benchmark::State& estado)
{
    Base& b = base();
    for (auto _ : estado) {
        TArquivosMunicipios a;
        QString erro;
        LeArquivosMunicipios(b.pasta.path(), &a, &erro);
        // Applied in a savepoint that is taken back, so every run meets the same tables.
        executaSql(b.con->db(), "SAVEPOINT bench");
        benchmark::DoNotOptimize(AplicaMunicipios(*b.dtm, a, {}, &erro));
        estado.PauseTiming();
        executaSql(b.con->db(), "ROLLBACK TO bench");
        executaSql(b.con->db(), "RELEASE bench");
        estado.ResumeTiming();
    }
}

} // namespace

BENCHMARK(LeituraDosArquivos)->Unit(benchmark::kMillisecond);
BENCHMARK(AtualizacaoCompleta)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
