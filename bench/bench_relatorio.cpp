// The invoice report of a month of 20,000 invoices (each with its ICMS, IPI and substitution lines, 2,000
// counterparties): building it from the list the screen opened, and exporting it as a PDF, beside its
// baseline: the very text runs of that PDF drawn with bare QPainter::drawText on a QPdfWriter. The peak
// resident memory reached (VmHWM) is reported beside the times. With the desktop widgets built, the preview
// is timed too (bench_visualizacao): until its first page is on screen, and counting every page.
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

#include "bench/bench_comum.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "documents/untConsultasNotas.h"
#include "reports/pdf/untPintaRelatorio.h"
#include "reports/untRelatorios.h"

#ifdef ZEL_BENCH_VISUALIZACAO
#include <QApplication>
#include <QLabel>
#include "widgets/untVisualizaRelatorio.h"
#endif

namespace {

constexpr int kNotas = 20000;
constexpr int kPartes = 2000;

struct Base {
    QTemporaryDir pasta;
    TDialogosMudos dialogos;
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;
    std::unique_ptr<TDataSet> lista;

    Base()
    {
        con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
        dtm = std::make_unique<TDTM>(*con);
        con->Conectar();
        sqlite3* db = con->db();
        executaSql(db, "BEGIN");
        executaSql(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                       "(1, '11222333000181', '123456789', 'COMERCIO EXEMPLO LTDA', 'ZR', 'C')");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, UF, Tipo) "
                               "VALUES (?1, printf('%014d', ?1), printf('%09d', ?1), 'PARTE ' || ?1, 'ZR', 'F')", -1, &st, nullptr);
        for (int i = 2; i <= kPartes + 1; ++i) {
            sqlite3_bind_int(st, 1, i);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, "INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
                               "(1, ?1, ?2, 'S', '01', '1', '', printf('%06d', ?3), '5102', 'P', 1234500, 'N', ?2)",
                           -1, &st, nullptr);
        for (int i = 0; i < kNotas; ++i) {
            const QByteArray d = "2025-06-" + QByteArray::number(1 + i % 28).rightJustified(2, '0');
            sqlite3_bind_int(st, 1, 2 + i % kPartes);
            sqlite3_bind_text(st, 2, d.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 3, i + 1);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        executaSql(db, "INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
                       "SELECT IdNotaFiscal, 1234500, 209800, 0, 0, '1700' FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) SELECT IdNotaFiscal, 12300, 0, 0 FROM NotaFiscal");
        executaSql(db, "INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                       "SELECT IdNotaFiscal, 1500000, 45000, 0, ' ' FROM NotaFiscal");
        executaSql(db, "COMMIT");
        executaSql(db, "ANALYZE");
        lista = std::make_unique<TDataSet>(*con);
        ConsultasNotas::AbreLista(*lista, 1, QStringLiteral("S"), ConsultasNotas::periodo(QStringLiteral("06"), QStringLiteral("2025")));
    }
};

Base& base()
{
    static Base b;
    return b;
}

Relatorios::TCabecalho cabecalho()
{
    Relatorios::TCabecalho c;
    c.idAtivo = 1;
    c.emissao = QDateTime(QDate(2025, 7, 1), QTime(9, 0));
    c.mes = QStringLiteral("06");
    c.ano = QStringLiteral("2025");
    return c;
}

void MontaRelatorioDeNotas(benchmark::State& estado)
{
    for (auto _ : estado) {
        const TRelatorio r = Relatorios::Notas(*base().dtm, cabecalho(), *base().lista, QStringLiteral("S"));
        benchmark::DoNotOptimize(r.linhas.size());
    }
    estado.counters["linhas"] = base().lista->recordCount();
}

void ExportaPdfDeNotas(benchmark::State& estado)
{
    const TRelatorio r = Relatorios::Notas(*base().dtm, cabecalho(), *base().lista, QStringLiteral("S"));
    const QString pdf = base().pasta.filePath(QStringLiteral("notas.pdf"));
    const double antes = picoMB();
    for (auto _ : estado) {
        QString erro;
        if (!ExportaPdf(r, pdf, &erro))
            estado.SkipWithError(erro.toStdString().c_str());
    }
    estado.counters["MB_pdf"] = double(QFile(pdf).size()) / 1e6;
    estado.counters["pico_MB"] = picoMB();
    estado.counters["pico_acrescimo_MB"] = picoMB() - antes;
}

// The baseline of the export: the same lines of text, in the same fonts and at the same places, drawn with
// bare drawText on a PDF of the same resolution, without measuring or breaking anything.
void DesenhaOsTextosNoPdf(benchmark::State& estado)
{
    const TRelatorio r = Relatorios::Notas(*base().dtm, cabecalho(), *base().lista, QStringLiteral("S"));
    TDisposicao d;
    {
        QPdfWriter medida(base().pasta.filePath(QStringLiteral("medida.pdf")));
        medida.setResolution(300);
        const TPintorRelatorio pintor(r);
        pintor.preparaDispositivo(medida);
        d = pintor.dispoe(medida);
    }
    const QString pdf = base().pasta.filePath(QStringLiteral("base.pdf"));
    qint64 linhas = 0;
    for (auto _ : estado) {
        QPdfWriter escritor(pdf);
        escritor.setResolution(300);
        TPintorRelatorio(r).preparaDispositivo(escritor);
        QPainter p(&escritor);
        linhas = 0;
        for (qsizetype i = 0; i < d.paginas.size(); ++i) {
            if (i > 0)
                escritor.newPage();
            for (const TTextoPagina& t : d.paginas[i].textos) {
                p.setFont(t.fonte);
                for (int k = 0; k < t.linhas.size(); ++k, ++linhas)
                    p.drawText(QPointF(t.caixa.x(), t.caixa.y() + (k + 0.8) * t.altoLinha), t.linhas[k]);
            }
            for (const QLineF& l : d.paginas[i].reguas)
                p.drawLine(l);
        }
    }
    estado.counters["paginas"] = double(d.paginas.size());
    estado.counters["textos"] = double(linhas);
}

#ifdef ZEL_BENCH_VISUALIZACAO
// The preview as the user meets it: from the command until its first page is drawn on screen. The other pages
// are counted afterwards, in the background.
void AbreVisualizacao(benchmark::State& estado)
{
    const TRelatorio r = Relatorios::Notas(*base().dtm, cabecalho(), *base().lista, QStringLiteral("S"));
    const double antes = picoMB();
    int contadas = 0;
    for (auto _ : estado) {
        // Timed until the page is on screen; not the background count that the event loop then runs.
        QElapsedTimer relogio;
        relogio.start();
        TfrmVisualizaRelatorio v(r, base().dialogos);
        v.show();
        while (v.folha->pixmap().isNull() && relogio.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        estado.SetIterationTime(double(relogio.nsecsElapsed()) / 1e9);
        contadas = v.paginasContadas();
        if (v.folha->pixmap().isNull())
            estado.SkipWithError("nenhuma página na tela");
    }
    estado.counters["paginas_contadas"] = contadas;
    estado.counters["pico_MB"] = picoMB();
    estado.counters["pico_acrescimo_MB"] = picoMB() - antes;
}
BENCHMARK(AbreVisualizacao)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

// Counting every page, as the background does while the first is read; then showing the last one.
void ContaAsPaginasDaVisualizacao(benchmark::State& estado)
{
    const TRelatorio r = Relatorios::Notas(*base().dtm, cabecalho(), *base().lista, QStringLiteral("S"));
    const double antes = picoMB();
    int paginas = 0;
    for (auto _ : estado) {
        TfrmVisualizaRelatorio v(r, base().dialogos);
        paginas = v.paginas();
        v.mostraPagina(paginas);
    }
    estado.counters["paginas"] = paginas;
    estado.counters["pico_acrescimo_MB"] = picoMB() - antes;
}
BENCHMARK(ContaAsPaginasDaVisualizacao)->Unit(benchmark::kMillisecond)->Iterations(2);
#endif

} // namespace

BENCHMARK(MontaRelatorioDeNotas)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportaPdfDeNotas)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(DesenhaOsTextosNoPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ZEL_BENCH_VISUALIZACAO
    QApplication app(argc, argv);
#else
    QGuiApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    base();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
