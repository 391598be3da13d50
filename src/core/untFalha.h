#pragma once
#include <QString>

// What a failing check tells its screen: the message to show and the field (object name) that gets the
// focus; an empty field name leaves the focus where it is.
struct TFalha {
    QString mensagem;
    QString campo;
    bool falhou() const { return !mensagem.isEmpty(); }
};
