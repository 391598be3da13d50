// The import of 10,000 electronic invoice files of 20 items each, read from one zip archive, into a database
// that already holds 1,000,000 invoice rows (with their ICMS, IPI and substitution lines): the time of the
// whole import and the peak resident memory reached (VmHWM).
#include <QCoreApplication>
#include <QFile>
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

void ImportaZipDe10000(benchmark::State& estado)
{
    TRelogioFixo relogio(QDateTime(QDate(2024, 6, 3), QTime(9, 0)));
    const double antes = picoMB();
    int importados = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        sqlite3* db = base().con->db();
        // Each round starts from the same register: the previous round's rows go away untimed.
        executaSql(db, "DELETE FROM NFICMS WHERE IdNotaFiscal > 1000000");
        executaSql(db, "DELETE FROM NFIPI WHERE IdNotaFiscal > 1000000");
        executaSql(db, "DELETE FROM NFSUBSTRIB WHERE IdNotaFiscal > 1000000");
        executaSql(db, "DELETE FROM NotaFiscal WHERE IdNotaFiscal > 1000000");
        estado.ResumeTiming();
        TImportaNFe importa(*base().dtm, relogio, 1);
        importados = 0;
        for (const TResultadoNFe& r : importa.ImportaCaminhos({base().zip}))
            importados += r.situacao == TResultadoNFe::Situacao::Importado ? 1 : 0;
    }
    if (importados != kArquivos)
        estado.SkipWithError("nem todos os arquivos foram importados");
    estado.counters["arquivos"] = importados;
    estado.counters["MB_zip"] = double(QFile(base().zip).size()) / 1e6;
    estado.counters["pico_MB"] = picoMB();
    estado.counters["pico_acrescimo_MB"] = picoMB() - antes;
}

} // namespace

BENCHMARK(ImportaZipDe10000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
