#pragma once
#include "core/DialogsNew.h"

// Benchmarks answer no question and show nothing.
class TDialogosMudos final : public IDialogos {
public:
    Botao mostraMensagem(const TPedidoMensagem& p) override { return p.cancela; }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString&) override {}
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};
