// The import of 10,000 electronic invoice files of 20 items each, read from one zip archive, into a database
// that already holds 1,000,000 invoice rows (with their ICMS, IPI and substitution lines): the time of the
// whole import and the peak resident memory reached (VmHWM), beside its baseline measured in the same run: the
// same files read from the archive and parsed with QXmlStreamReader alone, and the same rows inserted with bare
// prepared statements in one transaction. The import's counter `razao_base` is its time over their sum, `razao_base_cpu` the
// same for processor time (the import parses on a second thread).
#include <ctime>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QXmlStreamReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>
#include <zip.h>

#include "bench/bench_comum.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "nfe/untImportaNFe.h"
#include "tests/support/TNFeTeste.h"

using namespace nfeteste;

namespace {

constexpr int kArquivos = 10000;
constexpr int kItens = 20;
constexpr int kNotasExistentes = 1000000;

// An own sale of 20 items at four rates under 5102.
TNotaTeste nota(int numero)
{
    TNotaTeste n;
    n.numero = numero;
    static const char* const taxas[] = {"17.00", "12.00", "7.00", ""};
    for (int i = 0; i < kItens; ++i) {
        TItemTeste it;
        const char* taxa = taxas[i % 4];
        it.vProd = "100.00";
        if (*taxa) {
            it.vBC = "100.00";
            it.pICMS = QString::fromLatin1(taxa);
            it.vICMS = QString::number(QString::fromLatin1(taxa).toDouble(), 'f', 2);
        } else {
            it.cst = "40";
        }
        n.itens << it;
    }
    return n;
}

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;
    QString zip;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        dtm = std::make_unique<TDTM>(*con);
        con->Conectar();
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        executaSql(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, Logradouro, Numero, "
                       "Complemento, Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Tipo) VALUES (1, '11222333000181', "
                       "'123456789', 'COMERCIAL EXEMPLO LTDA', 'RUA DAS FLORES', '45', 'SALA 3', 'CENTRO', "
                       "'CIDADE EXEMPLO', '01234567', 'ZR', '1133335555', '1133334444', 'JOSE', 'C'), "
                       "(2, '99888777000166', '555666777', 'PARTE', '', '', '', '', '', '', 'ZR', '', '', '', 'F')");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
                               "(1, 2, ?1, 'S', '01', '1', '', printf('%06d', ?2), '5102', 'P', 1234500, 'N', ?1)",
                           -1, &st, nullptr);
        for (int i = 0; i < kNotasExistentes; ++i) {
            const QByteArray d = "2023-" + QByteArray::number(1 + i % 12).rightJustified(2, '0') + "-" +
                                 QByteArray::number(1 + i % 28).rightJustified(2, '0');
            sqlite3_bind_text(st, 1, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, i % 999999 + 1);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        executaSql(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                       "SELECT IdNotaFiscal, 1234500, 209800, 0, 0, '1700' FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) SELECT IdNotaFiscal, 0, 0, 0 FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                       "SELECT IdNotaFiscal, 0, 0, 0, ' ' FROM NotaFiscal");
        executaSql(db, "COMMIT");
        executaSql(db, "ANALYZE");

        zip = pasta.filePath(QStringLiteral("notas.zip"));
        int erro = 0;
        zip_t* z = zip_open(QFile::encodeName(zip).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
        for (int i = 1; i <= kArquivos; ++i) {
            const QByteArray xml = xmlNota(nota(i));
            void* copia = malloc(size_t(xml.size()));
            memcpy(copia, xml.constData(), size_t(xml.size()));
            zip_source_t* s = zip_source_buffer(z, copia, zip_uint64_t(xml.size()), 1);
            zip_file_add(z, QStringLiteral("nfe%1.xml").arg(i, 5, 10, QLatin1Char('0')).toUtf8().constData(), s, 0);
        }
        zip_close(z);
    }
};

Base& base()
{
    static Base b;
    return b;
}

// Seconds of the baseline's two parts, from their own benchmarks (run before the import): elapsed, and of
// processor time (the import parses on a second thread, so on a machine shared with other work its elapsed
// time says less than the processor time both its threads took).
double g_baseXml = 0, g_baseInsercoes = 0;
double g_cpuXml = 0, g_cpuInsercoes = 0;

// Processor seconds of the whole process, every thread.
double cpuProcesso() { return double(std::clock()) / CLOCKS_PER_SEC; }

void ApagaImportadas(sqlite3* db)
{
    executaSql(db, "DELETE FROM NFICMS WHERE IdNotaFiscal > 1000000");
    executaSql(db, "DELETE FROM NFIPI WHERE IdNotaFiscal > 1000000");
    executaSql(db, "DELETE FROM NFSUBSTRIB WHERE IdNotaFiscal > 1000000");
    executaSql(db, "DELETE FROM NotaFiscal WHERE IdNotaFiscal > 1000000");
}

// Every entry of the archive read and every token of it parsed, and nothing else.
void BaseLeituraXml(benchmark::State& estado)
{
    qint64 elementos = 0;
    for (auto _ : estado) {
        QElapsedTimer t;
        t.start();
        const double cpu = cpuProcesso();
        int erro = 0;
        zip_t* z = zip_open(QFile::encodeName(base().zip).constData(), ZIP_RDONLY, &erro);
        const zip_int64_t total = zip_get_num_entries(z, 0);
        QByteArray bytes;
        char bloco[65536];
        elementos = 0;
        for (zip_int64_t i = 0; i < total; ++i) {
            zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
            bytes.clear();
            for (zip_int64_t lidos; (lidos = zip_fread(f, bloco, sizeof bloco)) > 0;)
                bytes.append(bloco, qsizetype(lidos));
            zip_fclose(f);
            QXmlStreamReader r(bytes);
            while (!r.atEnd())
                if (r.readNext() == QXmlStreamReader::StartElement)
                    ++elementos;
        }
        zip_discard(z);
        g_baseXml = double(t.nsecsElapsed()) / 1e9;
        g_cpuXml = cpuProcesso() - cpu;
    }
    estado.counters["elementos"] = double(elementos);
}

// The rows the import writes (four invoice rows of a file, each with its three lines), with statements
// prepared once, in one transaction.
void BaseInsercoes(benchmark::State& estado)
{
    sqlite3* db = base().con->db();
    for (auto _ : estado) {
        estado.PauseTiming();
        ApagaImportadas(db);
        estado.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const double cpu = cpuProcesso();
        sqlite3_stmt* nota = nullptr;
        sqlite3_stmt* icms = nullptr;
        sqlite3_stmt* ipi = nullptr;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, Obs, DtUltAlteracao) "
                               "VALUES (1, 2, '2024-05-10', 'S', '55', '1', '', ?1, '5102', 'P', ?2, 'N', '', "
                               "'2024-06-03 09:00:00')", -1, &nota, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, "
                               "AliquotaICMS) VALUES (?1, ?2, ?3, ?4, 0, ?5)", -1, &icms, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (?1, 0, 0, 0)",
                           -1, &ipi, nullptr);
        sqlite3_prepare_v2(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                           "VALUES (?1, 0, 0, 0, ' ')", -1, &st, nullptr);
        executaSql(db, "BEGIN");
        static const char* const taxas[] = {"1700", "1200", "700", "0"};
        for (int i = 1; i <= kArquivos; ++i) {
            const QByteArray numero = QByteArray::number(i).rightJustified(6, '0');
            for (int g = 0; g < 4; ++g) {
                sqlite3_bind_text(nota, 1, numero.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int64(nota, 2, 5000000);
                sqlite3_step(nota);
                sqlite3_reset(nota);
                const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
                sqlite3_bind_int64(icms, 1, id);
                sqlite3_bind_int64(icms, 2, g < 3 ? 5000000 : 0);
                sqlite3_bind_int64(icms, 3, g < 3 ? 500000 : 0);
                sqlite3_bind_int64(icms, 4, g < 3 ? 0 : 5000000);
                sqlite3_bind_text(icms, 5, taxas[g], -1, SQLITE_STATIC);
                sqlite3_step(icms);
                sqlite3_reset(icms);
                for (sqlite3_stmt* linha : {ipi, st}) {
                    sqlite3_bind_int64(linha, 1, id);
                    sqlite3_step(linha);
                    sqlite3_reset(linha);
                }
            }
        }
        executaSql(db, "COMMIT");
        for (sqlite3_stmt* x : {nota, icms, ipi, st})
            sqlite3_finalize(x);
        g_baseInsercoes = double(t.nsecsElapsed()) / 1e9;
        g_cpuInsercoes = cpuProcesso() - cpu;
    }
}

void ImportaZipDe10000(benchmark::State& estado)
{
    TRelogioFixo relogio(QDateTime(QDate(2024, 6, 3), QTime(9, 0)));
    const double antes = picoMB();
    int importados = 0;
    double segundos = 0, cpu = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        // Each round starts from the same register: the previous round's rows go away untimed.
        ApagaImportadas(base().con->db());
        estado.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const double cpuAntes = cpuProcesso();
        TImportaNFe importa(*base().dtm, relogio, 1);
        importados = 0;
        for (const TResultadoNFe& r : importa.ImportaCaminhos({base().zip}))
            importados += r.situacao == TResultadoNFe::Situacao::Importado ? 1 : 0;
        segundos = double(t.nsecsElapsed()) / 1e9;
        cpu = cpuProcesso() - cpuAntes;
    }
    if (g_baseXml + g_baseInsercoes > 0)
        estado.counters["razao_base"] = segundos / (g_baseXml + g_baseInsercoes);
    if (g_cpuXml + g_cpuInsercoes > 0)
        estado.counters["razao_base_cpu"] = cpu / (g_cpuXml + g_cpuInsercoes);
    estado.counters["cpu_s"] = cpu;
    estado.counters["base_cpu_s"] = g_cpuXml + g_cpuInsercoes;
    estado.counters["base_xml_s"] = g_baseXml;
    estado.counters["base_insercoes_s"] = g_baseInsercoes;
    if (importados != kArquivos)
        estado.SkipWithError("nem todos os arquivos foram importados");
    estado.counters["arquivos"] = importados;
    estado.counters["MB_zip"] = double(QFile(base().zip).size()) / 1e6;
    estado.counters["pico_MB"] = picoMB();
    estado.counters["pico_acrescimo_MB"] = picoMB() - antes;
}

} // namespace

BENCHMARK(BaseLeituraXml)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BaseInsercoes)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ImportaZipDe10000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
