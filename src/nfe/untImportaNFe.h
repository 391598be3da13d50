#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class IRelogio;
class TDTM;

// Import of electronic invoices (model 55, layouts 3.10 and 4.00) into the invoice register of the open taxpayer.
// Each file becomes one invoice row per (CFOP, ICMS rate) group of its items, written through the same checks
// and statements as the invoice entry screen, in one savepoint per file: a file either goes in whole or
// leaves nothing of itself behind.

// Files larger than this are refused before any parsing (a zip entry by its stated and its real size).
inline constexpr qint64 kMaiorArquivoNFe = 16 * 1024 * 1024;

// The check digit of an access key: modulo 11 over the first 43 digits with weights 2 to 9 from the right;
// a remainder of 0 or 1 gives 0. -1 when the text is not 43 digits.
int DigitoChaveNFe(const QString& primeiros43);
// 44 digits whose last one is the check digit of the others.
bool ChaveNFeValida(const QString& chave);

// What became of one input file (or one entry of a zip archive, named "arquivo.zip:entrada.xml").
struct TResultadoNFe {
    enum class Situacao { Importado, Duplicado, Recusado };
    QString arquivo;
    Situacao situacao = Situacao::Recusado;
    QString motivo;      // refused, duplicate or ignored: why, in Portuguese
    // Not an invoice this register books (an event other than a cancellation, an NFC-e, a distribution
    // summary): listed, but no fault of the batch. Comes with the situation Recusado, since nothing went in.
    bool ignorado = false;
    QString descricao;   // imported: what went in ("nota 000123 série 1, 2 linhas")
    QList<int> idsNotas; // imported: the NotaFiscal rows written
};

// One input already in memory: its name for the listing and its bytes.
struct TArquivoNFe {
    QString nome;
    QByteArray conteudo;
    QString recusa; // set when the input could not even be read (too big, unreadable); the bytes are then empty
};

// Reads files, folders (their *.xml and *.zip files, not descending into subfolders) and zip archives (their
// *.xml entries, read into memory, never extracted). Unreadable inputs come back with `recusa` set. The import
// of paths (ImportaCaminhos) does not use this: it reads the same inputs one at a time.
QList<TArquivoNFe> LeEntradasNFe(const QStringList& caminhos);

class TImportaNFe {
public:
    TImportaNFe(TDTM& dtm, const IRelogio& relogio, int idContribuinte);

    // Imports the files in the order given, after pairing each cancellation event with its invoice among them.
    // One result per input, in the same order. Nothing here stops the batch: each bad file is refused alone.
    QList<TResultadoNFe> Importa(const QList<TArquivoNFe>& arquivos);
    // The same for the inputs LeEntradasNFe reads, each read only when its turn comes and let go after it:
    // a batch of any size holds a few files in memory at a time.
    QList<TResultadoNFe> ImportaCaminhos(const QStringList& caminhos);

    // Told on the calling thread after each input, with how many of them are done, for a progress bar (and, in
    // a large batch, with 0 done now and then while its cancellations are looked for first).
    std::function<void(int feitos, int total)> progresso;
    // Files imported between two commits of a batch: a crash loses at most these, which the next import of
    // the same files picks up.
    int notasPorLote = 500;

private:
    TDTM& m_dtm;
    const IRelogio& m_relogio;
    int m_idContribuinte;
};
