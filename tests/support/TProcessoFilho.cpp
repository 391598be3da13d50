#include "support/TProcessoFilho.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sqlite3.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "db/untTravaPasta.h"

namespace {

int transacaoInterrompida(const QString& pasta)
{
    TTravaPasta trava(pasta);
    if (!trava.trava())
        return 2;
    sqlite3* db = nullptr;
    const QByteArray caminho = QFile::encodeName(QDir(pasta).filePath(QStringLiteral("bcoZel.mdb")));
    if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 3;
    const char* sql =
        "PRAGMA cache_size = 8;"
        "BEGIN IMMEDIATE;"
        "UPDATE Contribuinte SET RazaoSocial = 'DO OUTRO PROCESSO';"
        "CREATE TABLE Enchimento (b BLOB);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
        "INSERT INTO Enchimento SELECT randomblob(3000) FROM n;";
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        return 4;
    std::cout << "pronto" << std::endl;
    std::string linha;
    std::getline(std::cin, linha);
    std::getline(std::cin, linha);
    return 6; // never committed: the test kills it first
}

} // namespace

int ExecutaPapelDeFilho(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--transacao-interrompida") == 0)
        return transacaoInterrompida(QString::fromLocal8Bit(argv[2]));
    if (argc < 3 || std::strcmp(argv[1], "--segura-pasta") != 0)
        return -1;
    const QString pasta = QString::fromLocal8Bit(argv[2]);
    TTravaPasta trava(pasta);
    if (!trava.trava())
        return 2;
    sqlite3* db = nullptr;
    const QByteArray caminho = QFile::encodeName(QDir(pasta).filePath(QStringLiteral("bcoZel.mdb")));
    if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return 3;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO Contador (Nome) VALUES ('DO OUTRO PROCESSO')", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
        return 4;
    std::cout << "pronto" << std::endl;
    std::string linha;
    std::getline(std::cin, linha);
    const int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        return 5;
    std::cout << "gravado" << std::endl;
    return 0;
}

TPastaSomenteLeitura::TPastaSomenteLeitura(const QString& pasta) : m_pasta(pasta)
{
    const QByteArray p = QFile::encodeName(pasta);
    if (::geteuid() == 0) {
        if (::mount(p.constData(), p.constData(), nullptr, MS_BIND, nullptr) != 0) {
            m_impossivel = QStringLiteral("bind mount refused: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_montada = true;
        if (::mount(nullptr, p.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            m_impossivel = QStringLiteral("read-only remount refused: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    if (::chmod(p.constData(), 0555) != 0)
        m_impossivel = QStringLiteral("chmod refused: ") + QString::fromLocal8Bit(std::strerror(errno));
}

TPastaSomenteLeitura::~TPastaSomenteLeitura()
{
    const QByteArray p = QFile::encodeName(m_pasta);
    if (m_montada)
        ::umount2(p.constData(), MNT_DETACH);
    else if (::geteuid() != 0)
        ::chmod(p.constData(), 0755);
}

TDiscoPequeno::TDiscoPequeno(const QString& pasta, qint64 bytes) : m_pasta(pasta)
{
    QDir().mkpath(pasta);
    const QByteArray opcoes = "size=" + QByteArray::number(bytes);
    if (::geteuid() != 0)
        m_impossivel = QStringLiteral("mounting a small file system needs root");
    else if (::mount("tmpfs", QFile::encodeName(pasta).constData(), "tmpfs", 0, opcoes.constData()) != 0)
        m_impossivel = QStringLiteral("tmpfs mount refused: ") + QString::fromLocal8Bit(std::strerror(errno));
}

TDiscoPequeno::~TDiscoPequeno()
{
    if (m_impossivel.isEmpty())
        ::umount2(QFile::encodeName(m_pasta).constData(), MNT_DETACH);
}
