#include "widgets/Enter.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

TkEnterAsTab::TkEnterAsTab(QWidget* dialogo) : QObject(dialogo), m_dialogo(dialogo)
{
    setObjectName(QStringLiteral("kEnterAsTab"));
    // Keys reach the focused field first, so the dialog's own handler would be too late.
    qApp->installEventFilter(this);
}

TkEnterAsTab::~TkEnterAsTab()
{
    qApp->removeEventFilter(this);
}

// A text field cleared to a blank (the entry screens clear their fields to " ") is empty to the user: however it
// gets the focus, what is typed replaces the blank instead of following it, which in a field of fixed width would
// push the last typed character out.
static void substituiBrancos(QObject* alvo)
{
    auto* campo = qobject_cast<QLineEdit*>(alvo);
    if (!campo || campo->isReadOnly() || !campo->inputMask().isEmpty() || campo->text().isEmpty() ||
        !campo->text().trimmed().isEmpty())
        return;
    // After the field's own handling of the focus, which places the cursor for a click.
    QTimer::singleShot(0, campo, [campo] {
        if (campo->hasFocus() && campo->text().trimmed().isEmpty())
            campo->selectAll();
    });
}

// A text field the program hands the focus to (after a check refused what it holds, or a field's leaving rule
// moved on to it) shows what it holds selected, as Tab leaves it: what is typed replaces the refused value
// instead of being refused in turn by the field's width. A click keeps its cursor; a masked field places its own.
static void selecionaAoReceber(QObject* alvo, const QFocusEvent* foco)
{
    auto* campo = qobject_cast<QLineEdit*>(alvo);
    if (!campo || foco->reason() != Qt::OtherFocusReason || campo->isReadOnly() || !campo->inputMask().isEmpty() ||
        campo->text().isEmpty())
        return;
    QTimer::singleShot(0, campo, [campo] {
        if (campo->hasFocus() && !campo->hasSelectedText())
            campo->selectAll();
    });
}

bool TkEnterAsTab::eventFilter(QObject* alvo, QEvent* evento)
{
    if (m_dialogo && evento->type() == QEvent::FocusIn && qobject_cast<QWidget*>(alvo) &&
        static_cast<QWidget*>(alvo)->window() == m_dialogo) {
        substituiBrancos(alvo);
        selecionaAoReceber(alvo, static_cast<QFocusEvent*>(evento));
    }
    if (!m_ativo || !m_dialogo || evento->type() != QEvent::KeyPress)
        return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter)
        return false;
    auto* widget = qobject_cast<QWidget*>(alvo);
    if (!widget || widget->window() != m_dialogo)
        return false;
    if (!widget->hasFocus())
        return false; // the same key travels up through the parents; act once, at the focused field
    if (auto* botao = qobject_cast<QPushButton*>(widget); botao && !botao->autoDefault()) {
        // Enter presses the focused button, as everywhere else; Qt's own push buttons do it only when they may
        // be the default one, which these dialogs' buttons are not (so that Enter in a field moves on).
        botao->click();
        return true;
    }
    // A check box or radio button has no meaning for Enter of its own (Space marks it): Enter moves on from it as
    // from a field, or a keyboard user stops there and the Spaces of the next text mark it instead.
    const bool marca = qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget);
    if ((qobject_cast<QAbstractButton*>(widget) && !marca) || widget->property("zelEnterEscolhe").toBool())
        return false;
    // The same as pressing Tab: the field's own handling of Tab moves along the dialog's tab order.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
    return true;
}
