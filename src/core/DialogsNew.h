#pragma once
#include <QList>
#include <QString>
#include <QStringList>

class QObject;

// Every message, question, file or folder choice and every modal child screen of the program goes through
// one IDialogos, handed to the screens by the application context. The desktop program installs the Qt
// implementation; tests install a scripted one that answers from a queue and fails on anything unexpected.

enum class TipoMsg { Aviso, Erro, Informacao, Confirmacao, Personalizado };

// The buttons, in the order in which a box shows them.
enum class Botao { Nenhum, Sim, Nao, Ok, Cancela, Abortar, Repetir, Ignorar, Todos, NaoParaTodos, SimParaTodos, Ajuda };

QString legendaTipo(TipoMsg tipo);   // "Aviso", "Erro", "Informação", "Confirmação"
QString legendaBotao(Botao botao);   // "&Sim", "&Não", "&Ok", "Cancela", ...

struct TPedidoMensagem {
    TipoMsg tipo = TipoMsg::Informacao;
    QString titulo;
    QString texto;
    QList<Botao> botoes;     // already in display order
    Botao padrao = Botao::Nenhum;   // answered by Enter
    Botao cancela = Botao::Nenhum;  // answered by Esc
};

class IDialogos {
public:
    virtual ~IDialogos() = default;
    // The modal box; returns the button pressed (the cancel button when the box is closed otherwise).
    virtual Botao mostraMensagem(const TPedidoMensagem& pedido) = 0;
    // The registers' plain Yes/No box with a question icon captioned "Exclusão"; true for Yes.
    virtual bool confirmaExclusao(const QString& texto) = 0;
    // A plain box with the application's title and a single "OK" (the engine's own error texts use it).
    virtual void mensagemSimples(const QString& texto) = 0;
    // Save-file dialog; the chosen path, or an empty text when cancelled.
    virtual QString salvarArquivo(const QString& titulo, const QString& caminhoSugerido, const QString& filtro) = 0;
    // Folder picker; the chosen folder, or an empty text when cancelled.
    virtual QString escolherPasta(const QString& titulo, const QString& pastaInicial) = 0;
    // Open-files picker with several files chosen at once; empty when cancelled (or where nothing can ask).
    virtual QStringList abrirArquivos(const QString& titulo, const QString& filtro)
    {
        Q_UNUSED(titulo);
        Q_UNUSED(filtro);
        return {};
    }
    // Opens a document or web address with its associated program; false when nothing could open it.
    virtual bool abrirAssociado(const QString& enderecoOuArquivo) = 0;
    // Shows a child screen modally and returns its result (QDialog::Accepted / Rejected).
    virtual int executaModal(QObject* tela) = 0;
};

// The application's title, used in the captions of MensagemDlg.
QString tituloAplicacao();

// Buttons put into display order without repetitions.
QList<Botao> ordenaBotoes(const QList<Botao>& botoes);
// Enter: the given button when present, else "&Ok", else "&Sim", else "&Repetir".
Botao resolvePadrao(const QList<Botao>& botoes, Botao pedido);
// Esc: the given button when present, else "Cancela", else "&Não", else "&Ok".
Botao resolveCancela(const QList<Botao>& botoes, Botao pedido);

// The standard box: captioned by its kind.
Botao MessageDlg(IDialogos& d, const QString& texto, TipoMsg tipo, const QList<Botao>& botoes);
// The program's own box: captioned "<title> - <kind>".
Botao MensagemDlg(IDialogos& d, const QString& texto, TipoMsg tipo, const QList<Botao>& botoes,
                  Botao padrao = Botao::Nenhum, Botao cancela = Botao::Nenhum);
// Confirmation with "&Sim" and "&Não"; true for "&Sim". PerguntaSim defaults to "&Sim", PerguntaNao to "&Não".
bool PerguntaSim(IDialogos& d, const QString& texto);
bool PerguntaNao(IDialogos& d, const QString& texto);
// The usual check message: information, a single "&Ok".
void Informa(IDialogos& d, const QString& texto);
// Connection and upgrade failures: the error kind, a single "&Ok".
void InformaErro(IDialogos& d, const QString& texto);
