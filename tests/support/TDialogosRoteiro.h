#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <functional>

#include "core/DialogsNew.h"

// Scripted dialogs for tests. Each prompt the code under test shows is recorded; its answer comes from a
// queue of expectations given beforehand. A prompt that was not expected fails the test at once (it is
// answered with its cancel button so the code can unwind) and never opens a real window.
class TDialogosRoteiro final : public IDialogos {
public:
    enum class Tecla { Botao, Enter, Esc };

    struct TRegistro {
        QString tipo;      // "mensagem", "exclusao", "simples", "salvar", "pasta", "abrir", "modal"
        QString titulo;
        QString texto;
        TPedidoMensagem pedido;
    };

    ~TDialogosRoteiro() override;

    // Expect a message box whose text is `texto` (an empty text matches any) answered with a button,
    // or with Enter / Esc (its default / cancel button).
    TDialogosRoteiro& esperaMensagem(const QString& texto, Botao resposta = Botao::Ok);
    TDialogosRoteiro& esperaMensagemTecla(const QString& texto, Tecla tecla);
    TDialogosRoteiro& esperaExclusao(const QString& texto, bool resposta);
    TDialogosRoteiro& esperaSimples(const QString& texto);
    TDialogosRoteiro& esperaSalvar(const QString& caminho);   // empty: cancelled
    TDialogosRoteiro& esperaPasta(const QString& pasta);      // empty: cancelled
    TDialogosRoteiro& esperaArquivos(const QStringList& arquivos);   // empty: cancelled
    TDialogosRoteiro& esperaAbrir(bool resultado = true);
    // A child screen of the given class: the handler fills and clicks it and returns its result.
    TDialogosRoteiro& esperaTela(const QString& classe, std::function<int(QObject*)> tratador);

    const QList<TRegistro>& registros() const { return m_registros; }
    int pendentes() const { return int(m_fila.size()); }
    // Fails the running test when expectations were left unconsumed; clears the queue.
    void verificaConsumo();

    Botao mostraMensagem(const TPedidoMensagem& pedido) override;
    bool confirmaExclusao(const QString& texto) override;
    void mensagemSimples(const QString& texto) override;
    QString salvarArquivo(const QString& titulo, const QString& caminhoSugerido, const QString& filtro) override;
    QString escolherPasta(const QString& titulo, const QString& pastaInicial) override;
    QStringList abrirArquivos(const QString& titulo, const QString& filtro) override;
    bool abrirAssociado(const QString& enderecoOuArquivo) override;
    int executaModal(QObject* tela) override;

private:
    struct TEspera {
        QString tipo;
        QString texto;
        Botao botao = Botao::Ok;
        Tecla tecla = Tecla::Botao;
        bool logico = false;
        std::function<int(QObject*)> tratador;
        QStringList lista;
    };
    const TEspera* proxima(const QString& tipo, const QString& texto);
    QList<TEspera> m_fila;
    TEspera m_atual;
    QList<TRegistro> m_registros;
};

#include <ostream>
// Readable failure output for Qt texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os)
{
    *os << '{';
    for (const QString& s : l)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
