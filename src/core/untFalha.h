#pragma once
#include <QString>

// What a failing check tells its screen: the message to show and the field (object name) that gets the
// focus; an empty field name leaves the focus where it is.
struct TFalha {
    QString mensagem;
    QString campo;
    bool simples = false;  // shown in the plain box instead of the information box
    bool esvazia = false;  // the field is emptied before it gets the focus
    bool falhou() const { return !mensagem.isEmpty(); }
};
