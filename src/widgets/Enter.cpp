#include "widgets/Enter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
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

bool TkEnterAsTab::eventFilter(QObject* alvo, QEvent* evento)
{
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
    if (qobject_cast<QAbstractButton*>(widget) || widget->property("zelEnterEscolhe").toBool())
        return false;
    // The same as pressing Tab: the field's own handling of Tab moves along the dialog's tab order.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(widget, &tab);
    return true;
}
