#pragma once
#include "core/DialogsNew.h"

// Benchmarks answer no question and show nothing.
class TDialogosMudos final : public IDialogos {
public:
    Botao mostraMensagem(const TPedidoMensagem& p) override { return p.cancela; }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString&) override {}
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};

#include <QCoreApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

// Statements of the database builders; a refusal is printed, the timings would be meaningless anyway.
inline void executaSql(sqlite3* db, const char* sql)
{
    char* erro = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &erro) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, erro);
        sqlite3_free(erro);
    }
}

// The main of a benchmark whose database is built once, before the timings, by `constroiBase` (which returns
// the database's path). ZEL_COPIA_BANCO names a copy to keep, for reading query plans with the sqlite3 shell.
template <class F>
int RodaBenchmarks(int argc, char** argv, F constroiBase)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString banco = constroiBase();
    if (qEnvironmentVariableIsSet("ZEL_COPIA_BANCO"))
        QFile::copy(banco, qEnvironmentVariable("ZEL_COPIA_BANCO"));
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

// The peak resident memory of the process so far (VmHWM), in MB; 0 where the system does not tell.
inline double picoMB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}
