#pragma once
#include <QObject>
#include <QPointer>

class QDialog;
class QPushButton;

// Esc and the window's close button take the screen's own way out: they press its close button, so that
// whatever that button does (refilling a list, cancelling a selection, rolling back) is never skipped. While
// the close button is disabled (a document being edited) they are refused, and nothing typed is lost; the
// user leaves through "&Cancelar".
class TFechamento : public QObject {
    Q_OBJECT
public:
    TFechamento(QDialog* tela, QPushButton* fechar);
protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
private:
    bool pressiona();
    QDialog* m_tela;
    QPointer<QPushButton> m_fechar;
    bool m_pressionando = false;
};

void FechaPeloBotao(QDialog* tela, QPushButton* fechar);
