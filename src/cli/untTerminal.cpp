#include "cli/untTerminal.h"

#include <cstdio>

#include "core/untAjuda.h"

QTextStream& saida()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& erros()
{
    static QTextStream s(stderr);
    return s;
}

QString AjudaComando(const QString& comando)
{
    const TAjuda* a = AjudaDoComando(comando);
    return a ? TextoAjuda(*a) : QString();
}

Botao TDialogosTerminal::mostraMensagem(const TPedidoMensagem& p)
{
    erros() << p.texto << '\n';
    erros().flush();
    return p.cancela;
}

void TDialogosTerminal::mensagemSimples(const QString& texto)
{
    erros() << texto << '\n';
    erros().flush();
}

void TProgressoTerminal::mensagem(const QString& texto)
{
    erros() << texto << '\n';
    erros().flush();
}
