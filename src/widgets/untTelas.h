#pragma once
#include <QLineEdit>
#include <QString>

#include "core/untMoney.h"

class QStatusBar;
class QTableView;
class QWidget;
class IDialogos;
struct TFalha;

// A failing check on a screen: its message in the information box, then the focus on its field.
void MostraFalha(IDialogos& dialogos, QWidget* tela, const TFalha& falha);

// A field typed through a mask whose value is the typed characters only (separators left out).
class TEdMascarado : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdMascarado(const QString& mascara = {}, QWidget* parent = nullptr);
    void setMascara(const QString& mascara);
    const QString& mascara() const { return m_mascara; }
    // The typed characters, blank positions as blanks (not trimmed).
    QString valor() const;
    // Shows a stored value through the mask.
    void defineValor(const QString& valor);
signals:
    void entrou();
protected:
    void focusInEvent(QFocusEvent* e) override;
private:
    QString m_mascara;
};

// A money field: typed as "1.234,56", shown with two decimals.
class TEdValor : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdValor(QWidget* parent = nullptr);
    // The typed amount; text that is no amount reads as zero.
    Money valor() const;
    void defineValor(Money valor);
protected:
    void focusOutEvent(QFocusEvent* e) override;
};

// The register grids: one whole row selected at a time, a hint, and a status-bar text while the mouse is
// over the grid (cleared by a click or when the mouse leaves it).
void ConfiguraGrade(QTableView* grade, QStatusBar* status, const QString& dica, const QString& textoStatus);
