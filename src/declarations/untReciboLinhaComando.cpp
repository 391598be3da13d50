#include "declarations/untReciboLinhaComando.h"

#include <QTextStream>
#include <memory>

#include "declarations/ReciboVarnoNet.h"

int ExecutaRecibo(const QString& caminho, IDialogos& dialogos, QTextStream& saida, QTextStream& erros)
{
    std::unique_ptr<TArqReciboVarnoNet> arquivo;
    try {
        arquivo = std::make_unique<TArqReciboVarnoNet>(caminho, dialogos);
    } catch (const ERecibo& e) {
        erros << e.mensagem() << '\n';
        return 1;
    }
    bool todasValidas = true;
    while (arquivo->TemProximo()) {
        const int numero = arquivo->Indice() + 2;
        try {
            const bool valida = arquivo->Proximo();
            todasValidas = todasValidas && valida;
            saida << "Linha " << numero << ": " << (valida ? "valido" : "invalido") << '\n'
                  << arquivo->Descricao(2) << '\n';
            // The box of an invalid line goes to the other stream; keep the two in the order of the lines.
            saida.flush();
        } catch (const EVarnoNetForaDoPrazo& e) {
            // The reader stops here: whatever follows a transmission out of time is not read.
            saida << "Linha " << numero << ": invalido\n" << arquivo->Descricao(2) << '\n';
            erros << QString::fromUtf8("Linha %1: transmissão fora do prazo\n").arg(numero) << e.mensagem() << '\n';
            return 1;
        } catch (const ERecibo& e) {
            erros << "Linha " << numero << ": " << e.mensagem() << '\n';
            return 1;
        }
    }
    return todasValidas ? 0 : 1;
}
