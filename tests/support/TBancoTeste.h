#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

#include "core/untProgresso.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "support/TDialogosRoteiro.h"

struct sqlite3;
struct TContexto;
class IRelogio;

// A data folder of its own for each test, with the connection, the main data module and scripted dialogs.
struct TBancoTeste {
    QTemporaryDir pasta;
    TDialogosRoteiro dialogos;
    std::unique_ptr<TDTMCON> con;
    std::unique_ptr<TDTM> dtm;

    TBancoTeste();
    ~TBancoTeste();
    QString caminho() const { return con->caminhoBanco(); }
    // The screens' context over this folder, its scripted dialogs, connection and data module.
    void preencheContexto(TContexto& ctx, IRelogio* relogio = nullptr);
    // A fresh connection and data module over the same folder, as a second start of the program would have.
    void reinicia();
    // A direct connection to the file, for building older shapes and reading back what was stored.
    static sqlite3* abreDireto(const QString& caminho);
    static void executaDireto(sqlite3* db, const QString& sql);
    static QVariant valorDireto(sqlite3* db, const QString& sql);
    static QStringList listaDireta(sqlite3* db, const QString& sql);
    static QByteArray conteudo(const QString& arquivo);
};

// Records what a long operation reported.
struct TProgressoGravado final : IProgresso {
    QList<int> posicoes;
    QStringList mensagens;
    int pausas = 0;
    int inicios = 0;
    int terminos = 0;
    void inicia() override { ++inicios; }
    void posicao(int p) override { posicoes << p; }
    void mensagem(const QString& m) override { mensagens << m; }
    void pausa(int) override { ++pausas; }
    void termina() override { ++terminos; }
};
