#pragma once
#include <QString>

// A second program on the same data folder, for tests that need two real processes: the test executable
// starts itself again with these arguments.
//   --segura-pasta DIR            takes the folder's lock, opens a write transaction adding the accountant
//                                 "DO OUTRO PROCESSO", prints "pronto", commits after a line on its input,
//                                 prints "gravado" and ends.
//   --transacao-interrompida DIR  takes the folder's lock and, in one write transaction never committed,
//                                 renames every taxpayer "DO OUTRO PROCESSO" and adds a table "Enchimento" of
//                                 a few megabytes, with so small a cache that the changed pages reach the
//                                 database file (its journal beside it holds the old ones); prints "pronto" and
//                                 waits to be killed, as a program that dies in the middle of its work.
// Returns -1 when the arguments ask for no child role (the tests then run as usual).
int ExecutaPapelDeFilho(int argc, char** argv);

// The situations of the system that tests of failures need, made real where the test may make them
// (as root: mounts) and reported as impossible otherwise, so the test can say it was skipped and why.

// A folder where nothing may be created: a read-only bind mount of itself as root (root ignores the
// permission bits), its write bits taken away otherwise. Undone at destruction.
class TPastaSomenteLeitura {
public:
    explicit TPastaSomenteLeitura(const QString& pasta);
    ~TPastaSomenteLeitura();
    TPastaSomenteLeitura(const TPastaSomenteLeitura&) = delete;
    TPastaSomenteLeitura& operator=(const TPastaSomenteLeitura&) = delete;
    // Empty when the folder is now read-only; why not otherwise.
    const QString& impossivel() const { return m_impossivel; }
private:
    QString m_pasta;
    QString m_impossivel;
    bool m_montada = false;
};

// A small file system of `bytes` mounted on `pasta` (tmpfs; root only). Unmounted at destruction.
class TDiscoPequeno {
public:
    TDiscoPequeno(const QString& pasta, qint64 bytes);
    ~TDiscoPequeno();
    TDiscoPequeno(const TDiscoPequeno&) = delete;
    TDiscoPequeno& operator=(const TDiscoPequeno&) = delete;
    const QString& impossivel() const { return m_impossivel; }
private:
    QString m_pasta;
    QString m_impossivel;
};
