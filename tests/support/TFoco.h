#pragma once
#include <QApplication>
#include <QString>
#include <QWidget>

// The object name of the widget that has the focus, for assertions on where a check put it.
inline QString Foco()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("<sem foco>");
}
