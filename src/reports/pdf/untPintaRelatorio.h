#pragma once
#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
struct TRelatorio;

// One text as the painter places it on a page: the box it was given (device pixels from the corner of the
// printable area), the text as the report has it, the lines it was broken into (at its blanks; a heading
// also between the words of a run-together title such as "ValorTotalNota") and whether it fits its box
// whole. Nothing is ever elided: a text that would not fit is broken where it must and reported here.
struct TTextoPagina {
    enum class Parte {
        Cabecalho,   // the page header: program, maker, date, time, page
        Titulo,      // the report's title and subtitles
        Contribuinte,
        Coluna,      // a column heading
        Detalhe,
        Sub,
        Secao,
        Campo,
        Total,       // the summary: totals and counts
    };
    Parte parte = Parte::Detalhe;
    QRectF caixa;
    QString texto;
    QStringList linhas;
    QFont fonte;
    qreal altoLinha = 0;
    Qt::Alignment alinhamento = Qt::AlignLeft;
    bool cabe = true;    // every line within the box and no word cut
};

struct TPaginaRelatorio {
    QList<TTextoPagina> textos;
    QList<QLineF> reguas;
};

struct TDisposicao {
    bool paisagem = false;
    qreal pontosDetalhe = 0;   // the detail font's size
    QSizeF area;               // the printable area, in device pixels
    QList<TPaginaRelatorio> paginas;
};

// Lays a report out on pages: the page header with "Página: " on every page, the column header, the detail
// lines with their sub-lines, then the summary. Columns are as wide as their contents need: a column heading
// wraps onto two or three lines, a long text wraps inside its cell and the row grows; figures are never
// broken. The detail font is 7 to 8.5 points (totals and headings larger); a list whose columns do not fit a
// portrait page at the smallest size is set landscape, and one that fits no page on one line takes two
// lines per row. Fonts are measured on the device, so the preview, the printer and a PDF show the same pages.
// QtGui only: no widget is involved.
class TPintorRelatorio {
public:
    explicit TPintorRelatorio(const TRelatorio& relatorio);
    ~TPintorRelatorio();
    // Sets the device's page (A4, in the orientation the columns need) before painting starts.
    void preparaDispositivo(QPagedPaintDevice& dispositivo) const;
    // Whether the report needs a landscape page on a device of this resolution.
    bool paisagem(QPaintDevice& dispositivo) const;
    // Paints every page with a painter already begun on the device; returns the page count.
    int pinta(QPainter& p, QPagedPaintDevice& dispositivo) const;
    // The pages the report takes on the device, without painting.
    int paginas(QPagedPaintDevice& dispositivo) const;
    // Every page as laid out on the device's current page, for checks.
    TDisposicao dispoe(QPagedPaintDevice& dispositivo) const;

    struct TAnalise;

private:
    friend class TPaginador;
    int percorre(QPagedPaintDevice& dispositivo, const std::function<void(const TPaginaRelatorio&)>& pagina,
                 TDisposicao* d = nullptr) const;
    const TAnalise& analise(QPaintDevice& dispositivo) const;
    const TRelatorio& m_r;
    mutable std::unique_ptr<TAnalise> m_analise;
};

// The pages of a report laid out one at a time, for a preview that shows the first page before the others
// are known: the report is measured once, then each page is laid out from where it begins. Only where each
// page begins is kept, so a page looked at again is laid out again, and memory does not grow with the
// report's length. The pages are those `TPintorRelatorio::pinta` prints on the same device.
class TPaginador {
public:
    TPaginador(const TPintorRelatorio& pintor, QPagedPaintDevice& dispositivo);
    ~TPaginador();
    // The pages whose beginning is known so far; every page once `contado`.
    int conhecidas() const;
    bool contado() const;
    // Lays out the next page not yet laid out, which `ultima` then holds; false once every page is known.
    bool avanca();
    const TPaginaRelatorio& ultima() const;
    // Counts the pages up to `numero` (and the one after it) where they are not yet known; whether it exists.
    bool alcanca(int numero);
    // Page `numero` (from 1), the pages before it counted first where they are not yet; an empty page for a
    // number outside the report.
    TPaginaRelatorio pagina(int numero);
    bool paisagem() const;
    qreal pontosDetalhe() const;
    QSizeF area() const;   // the printable area, in device pixels

private:
    struct TEstado;
    std::unique_ptr<TEstado> m;
};

// Paints one laid-out page with a painter whose coordinates are the device pixels of the printable area.
void PintaPagina(QPainter& p, const TPaginaRelatorio& pagina);

// Writes the report as a PDF file through an atomic save: a path that cannot be written leaves no file and
// says why in `erro`.
bool ExportaPdf(const TRelatorio& relatorio, const QString& caminho, QString* erro);
