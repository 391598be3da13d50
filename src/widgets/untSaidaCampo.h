#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// The "on leaving a field" rules of a screen, run by a focus-out filter rather than by editingFinished
// (which does not come when the text is unchanged, and during which the field no longer has the focus).
//   - a rule runs whenever the user takes the focus out of its field (Tab, Enter as Tab, a click, a
//     shortcut), whether or not the text changed;
//   - it is not run again while it runs (its own message box takes the focus away) nor when the window
//     merely loses activation or a pop-up opens;
//   - it stays quiet when the user clicks one of the screen's quiet buttons ("&Cancelar", "&Fechar"):
//     what they do makes the field's check pointless;
//   - a rule returns false to keep the focus in its field; a click that took the focus to a button is then
//     swallowed, so the button does not act on a value that was refused.
class TRegrasSaida : public QObject {
    Q_OBJECT
public:
    explicit TRegrasSaida(QWidget* tela);

    using Regra = std::function<bool()>;
    // Several rules on one field run in the order given; the first that refuses ends the leaving.
    void aoSair(QWidget* campo, Regra regra);
    void silencioso(QWidget* botao);
    bool executando() const { return m_executando; }
    // While a rule runs: how the focus is leaving its field (Tab and Enter give Qt::TabFocusReason; a rule run
    // through verifica() sees Qt::OtherFocusReason), so that a rule may send a keyboard user further on.
    Qt::FocusReason razaoDaSaida() const { return m_razao; }
    // Runs the rules of a field as leaving it would (for a save that must not trust that the field was left).
    bool verifica(QWidget* campo);

    // The rules of the screen that owns `w` (nullptr when it has none).
    static TRegrasSaida* de(QWidget* w);

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;

private:
    bool executa(QWidget* campo);

    QHash<QObject*, QList<Regra>> m_regras;
    QList<QPointer<QWidget>> m_silenciosos;
    bool m_executando = false;
    Qt::FocusReason m_razao = Qt::OtherFocusReason;
};
