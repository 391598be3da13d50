#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "reports/untRelatorios.h"

class IDialogos;
class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class QTimer;
class TPaginador;
class TPintorRelatorio;

// The print preview of a report: its pages as they will print, with print, export to PDF (through the save
// dialog, written atomically), zoom and page commands. It needs no printer: the pages are laid out on a PDF
// printer unless a real one is chosen for printing. The first page shows as soon as it is laid out; the
// others are counted in the background while the user reads (the count shows when it is known), and only
// the page on screen is drawn, so a long report opens as fast as a short one.
class TfrmVisualizaRelatorio : public QDialog {
    Q_OBJECT
public:
    TfrmVisualizaRelatorio(TRelatorio relatorio, IDialogos& dialogos, QWidget* parent = nullptr);
    ~TfrmVisualizaRelatorio() override;

    const TRelatorio& relatorio() const { return m_relatorio; }
    // The report's page count; the pages not yet counted in the background are counted now.
    int paginas();
    // The pages counted so far, and whether that is all of them.
    int paginasContadas() const;
    bool contagemCompleta() const;
    int paginaAtual() const { return m_atual; }
    // The screen pixels per device pixel of the page shown.
    double escala() const { return m_escala; }
    void mostraPagina(int numero);

    QScrollArea* preview;
    QLabel* folha;   // the page on screen
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

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void exportaPdf();
    void imprime();
    void atualizaPagina();
    void contaMais();
    void desenha();
    void ajusta();
    void zoom(double fator);

    TRelatorio m_relatorio;
    IDialogos& m_dialogos;
    std::unique_ptr<QPrinter> m_impressora;
    std::unique_ptr<TPintorRelatorio> m_pintor;
    std::unique_ptr<TPaginador> m_paginador;
    QTimer* m_contagem = nullptr;
    int m_atual = 1;
    double m_escala = 0;
    bool m_ajustada = true;   // the zoom follows the window: the whole page in view
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
