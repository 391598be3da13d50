#pragma once
#include <QString>
#include <functional>

struct sqlite3;
class IDialogos;
class IProgresso;

// The one connection of the program to its database file "bcoZel.mdb" in the data folder.
//
// The engine has no password, so the three connection attempts are three ways of opening the same file,
// tried in this order:
//   "JET"  read-write, the file is ours and its integrity check is clean: compaction allowed;
//   "MSD"  read-write and ours, but the integrity check reports damage: used as it is, never compacted;
//   "MAD"  read-only (the file is marked read-only, or the folder refuses writing): never compacted;
//   "ERR"  not our database, not a database at all, or not openable.
// A missing (or empty) file is replaced by the delivered database before the first attempt.
class TDTMCON {
public:
    TDTMCON(QString pasta, IDialogos& dialogos);
    ~TDTMCON();
    TDTMCON(const TDTMCON&) = delete;
    TDTMCON& operator=(const TDTMCON&) = delete;

    static QString nomeBanco() { return QStringLiteral("bcoZel.mdb"); }
    const QString& pasta() const { return m_pasta; }
    QString caminhoBanco() const;

    // Tries the three ways in order; returns "JET", "MSD", "MAD", or "ERR" after showing its message.
    QString Conectar();
    // Compacts the given database file (a name inside the data folder, or a full path) into "TEMP" + its
    // name, then puts the copy in its place with one atomic rename. The connection must be closed.
    // Whatever fails, the database file stays whole; the failure is shown and false returned.
    bool CompactarBanco(const QString& nomeArquivo, IProgresso& progresso);

    // Closing twice does nothing the second time.
    void Fechar();
    bool conectado() const { return m_db != nullptr; }
    // The way chosen by the last Conectar ("" before it).
    const QString& modo() const { return m_modo; }
    // The file opened, but its integrity check reports damage ("MSD"): nothing is written into it unasked, it is
    // never compacted, and a backup must not archive it over good copies.
    bool danificado() const { return m_modo == QLatin1String("MSD"); }
    static QString mensagemDanificado();
    // Reopens the connection the way last chosen; false when that fails or Conectar never succeeded.
    bool Reabrir();
    // The open connection, reopened when it was closed; raises EBancoDados when none can be had.
    sqlite3* db();

    // Run after every successful connect, its failure ignored (the main data module puts its step here).
    std::function<void()> AposConectar;
    // How long a statement waits for a lock held by another program before giving up.
    int esperaBloqueioMs = 3000;
    // The final replacement of the database file by its compacted copy; replaceable so that tests can make
    // it fail. Must be atomic: the destination is either the old file or the new one, never missing.
    std::function<bool(const QString& de, const QString& para, QString* erro)> substituiArquivo;

private:
    bool abre(const QString& modo);

    QString m_pasta;
    IDialogos& m_dialogos;
    sqlite3* m_db = nullptr;
    QString m_modo;
};
