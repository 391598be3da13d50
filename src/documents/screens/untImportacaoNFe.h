#pragma once
#include <QDateTime>
#include <QDialog>
#include <QList>

#include "nfe/untImportaNFe.h"

class IDialogos;
class QLabel;
class QPushButton;
class QTableWidget;
struct TContexto;

// The outcome of an import of electronic invoices: one line per file (imported, skipped as a duplicate,
// refused with its reason), which the user can print or copy.
class TfrmResultadoNFe : public QDialog {
    Q_OBJECT
public:
    TfrmResultadoNFe(QList<TResultadoNFe> resultados, IDialogos& dialogos, const QDateTime& emissao,
                     QWidget* parent = nullptr);

    QTableWidget* grdResultado;
    QLabel* lblResumo;
    QPushButton* btnImprimir;
    QPushButton* btnCopiar;
    QPushButton* btnFechar;

    // What "Copiar" puts on the clipboard: one tab-separated line per file.
    QString texto() const;
    // What "&Imprimir" prints.
    const QList<TResultadoNFe>& resultados() const { return m_resultados; }

private:
    QList<TResultadoNFe> m_resultados;
    IDialogos& m_dialogos;
    QDateTime m_emissao;
};

// Imports the chosen files, folders or zip archives into the open taxpayer's invoices, with the progress
// window, then shows the result list. Returns how many files went in.
int ImportaNFeNaTela(TContexto& ctx, QWidget* pai, const QStringList& caminhos);
