#pragma once
#include <QString>

// Long operations report through this: the desktop program shows its "Aguarde ..." window, the command-line
// tool prints lines, tests ignore it. Pauses belong to the display, so a silent progress never sleeps.
class IProgresso {
public:
    virtual ~IProgresso() = default;
    virtual void inicia() {}
    virtual void mensagem(const QString&) {}
    virtual void posicao(int /*0..100*/) {}
    virtual void pausa(int /*milissegundos*/) {}
    virtual void termina() {}
};

class TProgressoNulo final : public IProgresso {};
