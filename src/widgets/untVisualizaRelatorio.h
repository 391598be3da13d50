#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "reports/untRelatorios.h"

class IDialogos;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

// The print preview of a report: its pages as they will print, with print, export to PDF (through the save
// dialog, written atomically), zoom and page commands. It needs no printer: the pages are laid out on a PDF
// printer unless a real one is chosen for printing.
class TfrmVisualizaRelatorio : public QDialog {
    Q_OBJECT
public:
    TfrmVisualizaRelatorio(TRelatorio relatorio, IDialogos& dialogos, QWidget* parent = nullptr);
    ~TfrmVisualizaRelatorio() override;

    const TRelatorio& relatorio() const { return m_relatorio; }
    int paginas() const;
    int paginaAtual() const;

    QPrintPreviewWidget* preview;
    QPushButton* btnImprimir;
    QPushButton* btnPdf;
    QPushButton* btnZoomMais;
    QPushButton* btnZoomMenos;
    QPushButton* btnAjusta;
    QPushButton* btnPrimeira;
    QPushButton* btnAnterior;
    QPushButton* btnProxima;
    QPushButton* btnUltima;
    QPushButton* btnFechar;
    QLabel* lblPagina;

    // How the printer is chosen; the system's print dialog unless a test replaces it. False: cancelled.
    std::function<bool(QPrinter&)> escolheImpressora;

private:
    void exportaPdf();
    void imprime();
    void atualizaPagina();

    TRelatorio m_relatorio;
    IDialogos& m_dialogos;
    std::unique_ptr<QPrinter> m_impressora;
};

// Opens the preview of a report through the dialogs (so that tests can drive it).
void MostraRelatorio(IDialogos& dialogos, QWidget* pai, const TRelatorio& relatorio);

struct TContexto;
// The header part a screen's report takes from the context: the open taxpayer, the moment, the period shown.
Relatorios::TCabecalho CabecalhoRelatorio(const TContexto& ctx, const QString& mes = {}, const QString& ano = {});
// A screen's print command: builds the report (`monta` false: nothing to print, already said) and opens its
// preview. A database error while building it is shown (as `mensagemErro` when given, else the engine's text)
// and no preview opens.
void ImprimeRelatorio(TContexto& ctx, QWidget* pai, const std::function<bool(TRelatorio&)>& monta,
                      const QString& mensagemErro = {});
