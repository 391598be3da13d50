#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "declarations/untReciboLinhaComando.h"

namespace {

const char* const kAjudaRecibo =
    "Uso:\n"
    "  zelcli recibo ARQUIVO.rcb\n"
    "Descreve cada linha do comprovante de transmissão e diz se o código de autenticação confere (valido ou\n"
    "invalido). Saída 0 quando todas as linhas são válidas, 1 quando alguma não é ou o arquivo é recusado.\n";

} // namespace

int ComandoRecibo(const QStringList& args)
{
    if (args.size() != 1) {
        erros() << QString::fromUtf8(kAjudaRecibo);
        erros().flush();
        return 2;
    }
    TDialogosTerminal dialogos;
    const int r = ExecutaRecibo(args.first(), dialogos, saida(), erros());
    saida().flush();
    erros().flush();
    return r;
}
