// The month's closing of an office of 200 taxpayers, each with a month of 1,000 documents (700 invoices with
// their ICMS, IPI and substitution lines, 100 ECF summaries with two rates, 100 series D runs, 100 transport
// documents with their cargo) and its normal-regime declaration saved from "Processa": the state of the month,
// the batch of the 200 return files, and beside it the same 200 files written one at a time, for the ratio.
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "core/untProgresso.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "declarations/untZel.h"
#include "output/untEstadoMes.h"
#include "output/untGeradorArquivo.h"

namespace {

constexpr int kContribuintes = 200;
constexpr int kNotas = 700;
constexpr int kCupons = 100;
constexpr int kTaloes = 100;
constexpr int kTransportes = 100;
constexpr int kPartes = 50;
const char* const kPeriodo = "202506";

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    TRelogioFixo relogio{QDateTime(QDate(2025, 7, 10), QTime(9, 0))};
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        dtm = std::make_unique<TDTM>(*con);
        con->Conectar();
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        executaSql(db, "INSERT INTO Contador (IDContador, CPF, CRC, Nome, EMail, Fone) VALUES (1, '12345678909', "
                       "'ZR123456O9', 'CONTADORA', 'contadora@exemplo.com', '6133224455')");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Contribuinte (IdContribuinte, IdContador, CNPJ, Ccicms, RazaoSocial, Logradouro, "
                               "Numero, Complemento, Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Email, Tipo) VALUES "
                               "(?1, 1, printf('11222%06d01', ?1), printf('1%08d', ?1), printf('COMERCIO EXEMPLO %03d LTDA', ?1), "
                               "'RUA A', '00012', 'SALA 1', 'CENTRO', 'CAPITAL', '70000000', 'ZR', '006133224455', "
                               "'6133224455', 'MARIA', 'fiscal@exemplo.com', 'C')", -1, &st, nullptr);
        for (int i = 1; i <= kContribuintes; ++i) {
            sqlite3_bind_int(st, 1, i);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) "
                               "VALUES (?1, printf('%014d', ?1), printf('%09d', ?1), 'PARTE', 'ZR', 'F')", -1, &st, nullptr);
        for (int i = 1; i <= kPartes; ++i) {
            sqlite3_bind_int(st, 1, 1000 + i);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        auto dia = [](int i) { return QByteArray("2025-06-") + QByteArray::number(1 + i % 28).rightJustified(2, '0'); };
        sqlite3_stmt* nota = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, Obs, DtUltAlteracao) "
                               "VALUES (?1, ?2, ?3, ?4, '01', '1', '', printf('%06d', ?5), ?6, ?7, 1234500, 'N', '', ?3)",
                           -1, &nota, nullptr);
        sqlite3_stmt* cupom = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
                               "COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, "
                               "T_DESC) VALUES (?1, ?2, 'BE0512SC56000001234', printf('%03d', ?3), '2D', 1, 99, ?3, 1, "
                               "0, 5000000, 5000000, 0, 10000, 0, 0, 2000, 0)", -1, &cupom, nullptr);
        sqlite3_stmt* aliquota = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (?1, ?2, 1000000)",
                           -1, &aliquota, nullptr);
        sqlite3_stmt* talao = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, "
                               "NumeroFinal, ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES "
                               "(?1, ?2, '02', 'D', '', ?3, ?3 + 49, 500000, 500000, 85000, 0, 0, '1700')", -1, &talao, nullptr);
        sqlite3_stmt* transporte = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
                               "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) "
                               "VALUES (?1, ?2, ?3, '08', 'U', '', printf('%06d', ?4), '1352', 300000, 300000, 36000, 0, "
                               "0, '2', 'N')", -1, &transporte, nullptr);
        sqlite3_stmt* carga = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO NFCARGA (IDContribuinte, IDTomador, IDDestino, IDNotaTransporte, DtEmissao, "
                               "ModeloNF, SerieNF, SubSerieNF, NumNF, ValorNF) VALUES (?1, ?1, ?2, ?3, ?4, '01', '1', '', "
                               "printf('%06d', ?5), 1500000)", -1, &carga, nullptr);
        auto passo = [](sqlite3_stmt* s) {
            sqlite3_step(s);
            sqlite3_reset(s);
        };
        for (int c = 1; c <= kContribuintes; ++c) {
            for (int i = 0; i < kNotas; ++i) {
                const QByteArray d = dia(i);
                const bool entrada = i % 3 == 0;
                sqlite3_bind_int(nota, 1, c);
                sqlite3_bind_int(nota, 2, 1001 + i % kPartes);
                sqlite3_bind_text(nota, 3, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(nota, 4, entrada ? "E" : "S", -1, SQLITE_STATIC);
                sqlite3_bind_int(nota, 5, i + 1);
                sqlite3_bind_text(nota, 6, entrada ? "1102" : "5102", -1, SQLITE_STATIC);
                sqlite3_bind_text(nota, 7, entrada ? "T" : "P", -1, SQLITE_STATIC);
                passo(nota);
            }
            for (int i = 0; i < kCupons; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_int(cupom, 1, c);
                sqlite3_bind_text(cupom, 2, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(cupom, 3, i + 1);
                passo(cupom);
                const qint64 id = sqlite3_last_insert_rowid(db);
                for (const char* taxa : {"1700", "1200"}) {
                    sqlite3_bind_int64(aliquota, 1, id);
                    sqlite3_bind_text(aliquota, 2, taxa, -1, SQLITE_STATIC);
                    passo(aliquota);
                }
            }
            for (int i = 0; i < kTaloes; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_int(talao, 1, c);
                sqlite3_bind_text(talao, 2, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(talao, 3, i * 50 + 1);
                passo(talao);
            }
            for (int i = 0; i < kTransportes; ++i) {
                const QByteArray d = dia(i);
                sqlite3_bind_int(transporte, 1, c);
                sqlite3_bind_int(transporte, 2, 1001 + i % kPartes);
                sqlite3_bind_text(transporte, 3, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(transporte, 4, i + 1);
                passo(transporte);
                sqlite3_bind_int(carga, 1, c);
                sqlite3_bind_int(carga, 2, 1001 + (i + 1) % kPartes);
                sqlite3_bind_int64(carga, 3, sqlite3_last_insert_rowid(db));
                sqlite3_bind_text(carga, 4, d.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(carga, 5, i + 1);
                passo(carga);
            }
        }
        for (sqlite3_stmt* s : {nota, cupom, aliquota, talao, transporte, carga})
            sqlite3_finalize(s);
        executaSql(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                       "SELECT IdNotaFiscal, 1234500, 209800, 0, 0, '1700' FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) SELECT IdNotaFiscal, 12300, 0, 0 FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                       "SELECT IdNotaFiscal, 0, 0, 0, ' ' FROM NotaFiscal");
        // Each declaration as "Processa" fills it, so that every taxpayer is ready.
        for (int c = 1; c <= kContribuintes; ++c) {
            TApuracaoNormal a;
            ProcessaNormal(*con, c, 6, 2025, a);
            TZel z(*dtm);
            z.IdContribuinte = c;
            z.Periodo = QString::fromLatin1(kPeriodo);
            z.Tipo = QStringLiteral("N");
            z.valores = a.valores();
            z.NumRecibo = QStringLiteral("A1B2C3D4E5F60718293A4B5C6D7E8F90");
            z.sitCadastroContrib = 0;
            z.DtGeracao = relogio.agora();
            z.Incluir();
        }
        executaSql(db, "COMMIT");
        executaSql(db, "ANALYZE");
    }
};

Base& base()
{
    static Base b;
    return b;
}

QList<Fechamento::TLinha> estado()
{
    Base& b = base();
    return Fechamento::EstadoDoMes(*b.dtm, b.dialogos, b.relogio, QString::fromLatin1(kPeriodo));
}

void EstadoDoMes(benchmark::State& s)
{
    int prontos = 0;
    for (auto _ : s) {
        const QList<Fechamento::TLinha> linhas = estado();
        prontos = 0;
        for (const Fechamento::TLinha& l : linhas)
            prontos += l.situacao == Fechamento::TSituacao::Pronto ? 1 : 0;
    }
    if (prontos != kContribuintes)
        s.SkipWithError("not every taxpayer is ready");
    s.counters["prontos"] = prontos;
}

void LoteDe200Arquivos(benchmark::State& s)
{
    Base& b = base();
    QTemporaryDir saida;
    TProgressoNulo progresso;
    int gravados = 0;
    for (auto _ : s) {
        s.PauseTiming();
        QList<Fechamento::TLinha> linhas = estado();
        s.ResumeTiming();
        gravados = 0;
        for (const Fechamento::TResultado& r :
             Fechamento::GeraArquivos(*b.dtm, b.dialogos, progresso, b.relogio, QString::fromLatin1(kPeriodo), saida.path(), linhas))
            gravados += r.gravado ? 1 : 0;
    }
    if (gravados != kContribuintes)
        s.SkipWithError("not every file was written");
    s.counters["arquivos"] = gravados;
}

// The baseline: the same 200 files, one writer each, as the declaration list writes one.
void SomaDe200GravacoesIsoladas(benchmark::State& s)
{
    Base& b = base();
    QTemporaryDir saida;
    TProgressoNulo progresso;
    for (auto _ : s)
        for (int c = 1; c <= kContribuintes; ++c) {
            TGeradorArquivo g(*b.dtm, b.dialogos, progresso, b.relogio, c);
            if (!g.GravaArquivo(QDir(saida.path()).filePath(QStringLiteral("%1.txt").arg(c)), QStringLiteral("1"),
                                QString::fromLatin1(kPeriodo), 1, QStringLiteral("1")))
                s.SkipWithError(g.ultimoErro().toStdString().c_str());
        }
}

} // namespace

BENCHMARK(EstadoDoMes)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LoteDe200Arquivos)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SomaDe200GravacoesIsoladas)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return RodaBenchmarks(argc, argv, [] { return base().con->caminhoBanco(); });
}
