#pragma once
#include <QObject>
#include <QPointer>

class QWidget;

// Enter moves to the next field, as Tab does, on the dialog that owns one of these, check boxes and radio buttons
// included (Space marks them); on a push button Enter keeps its ordinary meaning, and so it does in a selection
// list, where it chooses. A text
// field that holds only blanks is selected when it gets the focus, so that typing replaces them.
class TkEnterAsTab : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool EnterAsTab READ enterAsTab WRITE setEnterAsTab)
public:
    explicit TkEnterAsTab(QWidget* dialogo);
    ~TkEnterAsTab() override;
    bool enterAsTab() const { return m_ativo; }
    void setEnterAsTab(bool ativo) { m_ativo = ativo; }
protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
private:
    QPointer<QWidget> m_dialogo;
    bool m_ativo = true;
};
