#pragma once
#include <QLockFile>
#include <QString>

class IDialogos;

// One running program per data folder. A second copy compacting or renaming the database under a first one
// that holds an open transaction loses the first one's committed rows, so the desktop program (and the
// command-line tool when it touches the database) takes this lock before it opens anything. The lock file
// lives beside the database for the holder's whole life; a lock left by a process that died is recovered.
class TTravaPasta {
public:
    explicit TTravaPasta(const QString& pasta);
    ~TTravaPasta();
    TTravaPasta(const TTravaPasta&) = delete;
    TTravaPasta& operator=(const TTravaPasta&) = delete;

    static QString nomeArquivo() { return QStringLiteral("bcoZel.lck"); }
    static QString mensagemOcupada();
    // Why the last trava() failed: another running copy (mensagemOcupada()), or a folder where the lock file
    // cannot be created (no write permission, a read-only disk), named with what is missing.
    QString mensagemDaFalha() const;

    // False when another running program holds the folder (or the lock file cannot be written at all).
    bool trava();
    // As trava(), and tells the user why the program cannot go on when it fails.
    bool trava(IDialogos& dialogos);
    bool travada() const { return m_arquivo.isLocked(); }
    void libera() { m_arquivo.unlock(); }

private:
    QLockFile m_arquivo;
};
