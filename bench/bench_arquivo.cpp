// The complete return file of a normal-regime month holding 100,000 invoices (each with its ICMS, IPI and
// substitution lines), 5,000 ECF summaries with 3 rates each, 5,000 series D runs and 10,000 transport documents
// with two cargo lines each, with its declaration, accountant, programme cheques and municipalities, in a
// database holding twelve such months; the file is checked as it is written. Beside it the two baselines for
// the ratio: reading the same rows with bare sqlite3_step, and writing the same bytes to disk.
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
#include "output/untVerificaArquivo.h"

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
        // The declaration the file carries in its records 88.
        executaSql(db, "INSERT INTO Contador (IDContador, CPF, CRC, Nome, EMail, Fone) VALUES (1, '12345678909', "
                    "'ZR123456O9', 'CONTADORA', 'contadora@exemplo.com', '6133224455')");
        executaSql(db, "UPDATE Contribuinte SET IdContador = 1, Email = 'fiscal@exemplo.com' WHERE IdContribuinte = 1");
        executaSql(db, "INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas, sitCadastroContrib) "
                    "VALUES (1, '202506', 'N', 123450000, 234560000, 1)");
        executaSql(db, "INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, tipoCheque) VALUES "
                    "(1, '202506', 1000000, 1), (1, '202506', 2000000, 2)");
        executaSql(db, "INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Valor) VALUES "
                    "(1, '2025-06-01', '00001', 1000000), (1, '2025-06-01', '00002', 2000000)");
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

// Only the reading: the rows of every section, each column fetched, with bare sqlite3_step.
void SoLerAsLinhas(benchmark::State& estado)
{
    sqlite3* db = base().con->db();
    const char* const consultas[] = {
        "SELECT A.*, B.BaseCalculoICMS, B.ValorICMS, B.IsentaICMS, B.OutrasICMS, B.AliquotaICMS FROM NOTAFISCAL A JOIN "
        "NFICMS B ON A.IdNotaFiscal = B.IdNotaFiscal WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND "
        "A.DtEmissao < '2025-07-01' ORDER BY A.TipoNota, A.DtEmissao, A.IdNotaFiscal",
        "SELECT A.*, B.ValorIPI, B.IsentaIPI, B.OutrasIPI FROM NOTAFISCAL A JOIN NFIPI B ON A.IdNotaFiscal = "
        "B.IdNotaFiscal WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND A.DtEmissao < '2025-07-01' "
        "ORDER BY A.TipoNota, A.DtEmissao, A.IdNotaFiscal",
        "SELECT A.*, B.BaseCalculoSubst, B.ICMSRetido, B.DespAcessorias, B.MVA FROM NOTAFISCAL A JOIN NFSUBSTRIB B ON "
        "A.IdNotaFiscal = B.IdNotaFiscal WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND "
        "A.DtEmissao < '2025-07-01' ORDER BY A.TipoNota, A.DtEmissao, A.IdNotaFiscal",
        "SELECT B.IDCupomFiscal, B.Aliquota, B.ValorAcumulado FROM CUPOMFISCAL A JOIN CFALIQUOTA B ON B.IDCupomFiscal = "
        "A.IDCupomFiscal WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND A.DtEmissao < '2025-07-01' "
        "ORDER BY B.IDCFAliquota",
        "SELECT * FROM CUPOMFISCAL A WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND "
        "A.DtEmissao < '2025-07-01' ORDER BY A.DtEmissao, A.NumEquip, A.IDCupomFiscal",
        "SELECT * FROM NOTATALAO A WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND "
        "A.DtEmissao < '2025-07-01' ORDER BY A.DtEmissao, A.IDNotaTalao",
        "SELECT * FROM NFTRANSPORTE A WHERE A.IdContribuinte = 1 AND A.DtEmissao >= '2025-06-01' AND "
        "A.DtEmissao < '2025-07-01' ORDER BY A.Modalidade, A.DtEmissao, A.IDNFTransporte",
        "SELECT A.*, B.IDDestino, B.DtEmissao AS DtCarga, B.ModeloNF, B.SerieNF, B.SubSerieNF, B.NumNF, B.ValorNF FROM "
        "NFTRANSPORTE A JOIN NFCARGA B ON A.IdNFTransporte = B.IdNotaTransporte WHERE A.IdContribuinte = 1 AND "
        "A.DtEmissao >= '2025-06-01' AND A.DtEmissao < '2025-07-01' ORDER BY A.Modalidade, A.DtEmissao, "
        "A.IDNFTransporte, B.IDNFCarga",
        "SELECT IdContribuinte, CNPJ, Ccicms, UF FROM Contribuinte"};
    qint64 soma = 0;
    for (auto _ : estado) {
        for (const char* sql : consultas) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW) {
                const int n = sqlite3_column_count(st);
                for (int i = 0; i < n; ++i) {
                    if (sqlite3_column_type(st, i) == SQLITE_TEXT)
                        soma += sqlite3_column_bytes(st, i) + (sqlite3_column_text(st, i) ? 1 : 0);
                    else
                        soma += sqlite3_column_int64(st, i);
                }
            }
            sqlite3_finalize(st);
        }
    }
    benchmark::DoNotOptimize(soma);
}

// Only the check the writer makes of every file, over the same bytes.
void SoVerificar(benchmark::State& estado)
{
    QFile f(arquivo());
    f.open(QIODevice::ReadOnly);
    const QByteArray bytes = f.readAll();
    for (auto _ : estado)
        if (!TVerificadorArquivo::Verifica(bytes).isEmpty())
            estado.SkipWithError("falhas no arquivo");
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
BENCHMARK(SoLerAsLinhas)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(SoGravarOsBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(SoVerificar)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
