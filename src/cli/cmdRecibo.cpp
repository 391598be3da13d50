#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "declarations/untReciboLinhaComando.h"

int ComandoRecibo(const QStringList& args)
{
    if (args.size() != 1) {
        erros() << AjudaComando(QStringLiteral("recibo"));
        erros().flush();
        return 2;
    }
    TDialogosTerminal dialogos;
    const int r = ExecutaRecibo(args.first(), dialogos, saida(), erros());
    saida().flush();
    erros().flush();
    return r;
}
