#pragma once
#include <QTextStream>

#include "core/DialogsNew.h"
#include "core/untProgresso.h"

// Standard output and standard error of the tool.
QTextStream& saida();
QTextStream& erros();
// The command's help text (the one the manual page is made from).
QString AjudaComando(const QString& comando);

// Messages of the core go to standard error; no question can be answered here.
class TDialogosTerminal final : public IDialogos {
public:
    Botao mostraMensagem(const TPedidoMensagem& p) override;
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString& texto) override;
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

// Progress as lines on standard error.
class TProgressoTerminal final : public IProgresso {
public:
    void mensagem(const QString& texto) override;
};
