#pragma once
#include "core/DialogsNew.h"

// The desktop program's dialogs: Qt message boxes with the Portuguese captions and buttons, the native
// file and folder dialogs, and the system's "open with" for documents and web addresses.
class TDialogosQt final : public IDialogos {
public:
    Botao mostraMensagem(const TPedidoMensagem& pedido) override;
    bool confirmaExclusao(const QString& texto) override;
    void mensagemSimples(const QString& texto) override;
    QString salvarArquivo(const QString& titulo, const QString& caminhoSugerido, const QString& filtro) override;
    QString escolherPasta(const QString& titulo, const QString& pastaInicial) override;
    QStringList abrirArquivos(const QString& titulo, const QString& filtro) override;
    bool abrirAssociado(const QString& enderecoOuArquivo) override;
    int executaModal(QObject* tela) override;
};
