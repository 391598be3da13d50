// Writes the manual pages zel.1 and zelcli.1 into the folder given, from the help texts the programs print.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "core/untAjuda.h"
#include "core/untVersao.h"

static bool grava(const QString& caminho, const QString& texto)
{
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(texto.toUtf8()) < 0 || !f.flush()) {
        std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(caminho));
        return false;
    }
    return true;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s PASTA\n", argv[0]);
        return 2;
    }
    const QDir pasta(QString::fromLocal8Bit(argv[1]));
    const bool ok = grava(pasta.filePath(QStringLiteral("zel.1")), PaginaManualZel(TextoVersao())) &&
                    grava(pasta.filePath(QStringLiteral("zelcli.1")), PaginaManualZelcli(TextoVersao()));
    return ok ? 0 : 1;
}
