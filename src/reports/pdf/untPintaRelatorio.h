#pragma once
#include <QString>

class QPagedPaintDevice;
class QPainter;
struct TRelatorio;

// Lays a report out on pages: the page header with "Página: " on every page, the column header, the detail
// lines with their sub-lines, then the summary. Fonts are sized from the device (its resolution and page),
// so the preview, the printer and a PDF show the same pages. QtGui only: no widget is involved.
class TPintorRelatorio {
public:
    explicit TPintorRelatorio(const TRelatorio& relatorio) : m_r(relatorio) {}
    // Sets the device's page (A4, portrait or landscape as the report asks) before painting starts.
    void preparaDispositivo(QPagedPaintDevice& dispositivo) const;
    // Paints every page with a painter already begun on the device; returns the page count.
    int pinta(QPainter& p, QPagedPaintDevice& dispositivo) const;
    // The pages the report takes on the device, without painting.
    int paginas(QPagedPaintDevice& dispositivo) const;

private:
    int percorre(QPainter* p, QPagedPaintDevice& dispositivo) const;
    const TRelatorio& m_r;
};

// Writes the report as a PDF file through an atomic save: a path that cannot be written leaves no file and
// says why in `erro`.
bool ExportaPdf(const TRelatorio& relatorio, const QString& caminho, QString* erro);
