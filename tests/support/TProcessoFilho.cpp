#include "support/TProcessoFilho.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <sqlite3.h>
#include <string>

#include "db/untTravaPasta.h"

int ExecutaPapelDeFilho(int argc, char** argv)
{
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
