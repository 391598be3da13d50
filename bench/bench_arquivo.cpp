// The document sections of the return file for one month holding 100,000 invoices (each with its ICMS, IPI and
// substitution lines), 5,000 ECF summaries with 3 rates each, 5,000 series D runs and 10,000 transport documents
// with two cargo lines each, in a database holding twelve such months; beside it, the time to write the same
// bytes to disk without building them, for the ratio.
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "output/untGeradorArquivo.h"

namespace {

constexpr int kMeses = 12;
constexpr int kNotas = 100000;
constexpr int kCupons = 5000;
constexpr int kTaloes = 5000;
constexpr int kTransportes = 10000;
constexpr int kPartes = 2000;


struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        dtm = std::make_unique<TDTM>(*con);
        con->Conectar();
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        executaSql(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, Logradouro, Numero, Complemento, "
                    "Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Tipo) VALUES (1, '11222333000181', '123456789', "
                    "'COMERCIO EXEMPLO LTDA', 'RUA A', '00012', 'SALA 1', 'CENTRO', 'CAPITAL', '70000000', 'ZR', "
                    "'006133224455', '6133224455', 'MARIA', 'C')");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) "
                               "VALUES (?1, printf('%014d', ?1), printf('%09d', ?1), 'PARTE', 'ZR', 'F')", -1, &st, nullptr);
        for (int i = 2; i <= kPartes + 1; ++i) {
            sqlite3_bind_int(st, 1, i);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        for (int m = 1; m <= kMeses; ++m) {
            const QByteArray mes = QByteArray::number(m).rightJustified(2, '0');
            auto dia = [&mes](int i) { return QByteArray("2025-") + mes + "-" + QByteArray::number(1 + i % 28).rightJustified(2, '0'); };
            sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                                   "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, Obs, DtUltAlteracao) "
                                   "VALUES (1, ?1, ?2, 'S', '01', '1', '', printf('%06d', ?3), '5102', 'P', 1234500, 'N', "
                                   "'', ?2)", -1, &st, nullptr);
            for (int i = 0; i < kNotas; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_int(st, 1, 2 + i % kPartes);
                sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(st, 3, i + 1);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
            sqlite3_prepare_v2(db, "INSERT INTO CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
                                   "COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, "
                                   "T_DESC) VALUES (1, ?1, 'BE0512SC56000001234', printf('%03d', ?2), '2D', 1, 99, ?2, 1, "
                                   "0, 5000000, 5000000, 0, 10000, 0, 0, 2000, 0)", -1, &st, nullptr);
            sqlite3_stmt* aliquota = nullptr;
            sqlite3_prepare_v2(db, "INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (?1, ?2, 1000000)",
                               -1, &aliquota, nullptr);
            for (int i = 0; i < kCupons; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_text(st, 1, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(st, 2, i % 999 + 1);
                sqlite3_step(st);
                sqlite3_reset(st);
                const qint64 id = sqlite3_last_insert_rowid(db);
                for (const char* taxa : {"1700", "1200", "0700"}) {
                    sqlite3_bind_int64(aliquota, 1, id);
                    sqlite3_bind_text(aliquota, 2, taxa, -1, SQLITE_STATIC);
                    sqlite3_step(aliquota);
                    sqlite3_reset(aliquota);
                }
            }
            sqlite3_finalize(st);
            sqlite3_finalize(aliquota);
            sqlite3_prepare_v2(db, "INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, "
                                   "NumeroFinal, ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES "
                                   "(1, ?1, '02', 'D', '', ?2, ?2 + 49, 500000, 500000, 85000, 0, 0, '1700')", -1, &st, nullptr);
            for (int i = 0; i < kTaloes; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_text(st, 1, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(st, 2, i * 50 + 1);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
            sqlite3_finalize(st);
            sqlite3_prepare_v2(db, "INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
                                   "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) "
                                   "VALUES (1, ?1, ?2, '08', 'U', '', printf('%06d', ?3), '1352', 300000, 300000, 36000, 0, "
                                   "0, '1', 'N')", -1, &st, nullptr);
            sqlite3_stmt* carga = nullptr;
            sqlite3_prepare_v2(db, "INSERT INTO NFCARGA (IDContribuinte, IDTomador, IDDestino, IDNotaTransporte, DtEmissao, "
                                   "ModeloNF, SerieNF, SubSerieNF, NumNF, ValorNF) VALUES (1, 1, ?1, ?2, ?3, '01', '1', '', "
                                   "printf('%06d', ?4), 1500000)", -1, &carga, nullptr);
            for (int i = 0; i < kTransportes; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_int(st, 1, 2 + i % kPartes);
                sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(st, 3, i + 1);
                sqlite3_step(st);
                sqlite3_reset(st);
                const qint64 id = sqlite3_last_insert_rowid(db);
                for (int k = 0; k < 2; ++k) {
                    sqlite3_bind_int(carga, 1, 2 + (i + k) % kPartes);
                    sqlite3_bind_int64(carga, 2, id);
                    sqlite3_bind_text(carga, 3, d.constData(), -1, SQLITE_TRANSIENT);
                    sqlite3_bind_int(carga, 4, i * 2 + k + 1);
                    sqlite3_step(carga);
                    sqlite3_reset(carga);
                }
            }
            sqlite3_finalize(st);
            sqlite3_finalize(carga);
        }
        executaSql(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                    "SELECT IdNotaFiscal, 1234500, 209800, 0, 0, '1700' FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) SELECT IdNotaFiscal, 12300, 0, 0 FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                    "SELECT IdNotaFiscal, 1500000, 45000, 0, ' ' FROM NotaFiscal");
        executaSql(db, "COMMIT");
        executaSql(db, "ANALYZE");
    }
};

Base& base()
{
    static Base b;
    return b;
}

QString arquivo() { return base().pasta.filePath(QStringLiteral("ZEL202506.txt")); }

void GravaArquivo(benchmark::State& estado)
{
    TProgressoNulo progresso;
    TRelogioFixo relogio(QDateTime(QDate(2026, 1, 10), QTime(9, 0)));
    TGeradorArquivo gerador(*base().dtm, base().dialogos, progresso, relogio, 1);
    for (auto _ : estado)
        if (!gerador.GravaArquivo(arquivo(), QStringLiteral("1"), QStringLiteral("202506"), 1, QStringLiteral("1")))
            estado.SkipWithError(gerador.ultimoErro().toStdString().c_str());
    estado.counters["MB"] = double(QFile(arquivo()).size()) / 1e6;
}

// Only the writing: the same bytes, already in memory, through the same kind of atomic file.
void SoGravarOsBytes(benchmark::State& estado)
{
    QFile f(arquivo());
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    const QString destino = base().pasta.filePath(QStringLiteral("copia.txt"));
    for (auto _ : estado) {
        QSaveFile s(destino);
        s.open(QIODevice::WriteOnly);
        s.write(bytes);
        s.commit();
    }
}

} // namespace

BENCHMARK(GravaArquivo)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SoGravarOsBytes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
