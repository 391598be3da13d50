#include "support/TBancoTeste.h"

#include "core/untContexto.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/untSqlite.h"

TBancoTeste::TBancoTeste()
{
    reinicia();
}

TBancoTeste::~TBancoTeste()
{
    dtm.reset();
    con.reset();
    dialogos.verificaConsumo();
}

void TBancoTeste::reinicia()
{
    dtm.reset();
    con.reset();
    con = std::make_unique<TDTMCON>(pasta.path(), dialogos);
    con->esperaBloqueioMs = 50;
    dtm = std::make_unique<TDTM>(*con);
    con->AposConectar = [this] { dtm->AposConectar(); };
}

sqlite3* TBancoTeste::abreDireto(const QString& caminho)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        ADD_FAILURE() << "não abriu " << caminho.toStdString();
    Sql::registraFuncoesJet(db);
    return db;
}

void TBancoTeste::executaDireto(sqlite3* db, const QString& sql)
{
    char* erro = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &erro) != SQLITE_OK) {
        ADD_FAILURE() << sql.toStdString() << ": " << (erro ? erro : "");
        sqlite3_free(erro);
    }
}

QVariant TBancoTeste::valorDireto(sqlite3* db, const QString& sql)
{
    QVariant v;
    Sql::executa(db, sql, TParametros(), nullptr, [&](sqlite3_stmt* st) {
        if (!v.isValid())
            v = Sql::valorColuna(st, 0);
    });
    return v;
}

QStringList TBancoTeste::listaDireta(sqlite3* db, const QString& sql)
{
    QStringList r;
    Sql::executa(db, sql, TParametros(), nullptr, [&](sqlite3_stmt* st) { r << Sql::valorColuna(st, 0).toString(); });
    return r;
}

QByteArray TBancoTeste::conteudo(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TBancoTeste::preencheContexto(TContexto& ctx, IRelogio* relogio)
{
    ctx.pasta = pasta.path();
    ctx.dialogos = &dialogos;
    if (relogio)
        ctx.relogio = relogio;
    ctx.con = con.get();
    ctx.dtm = dtm.get();
}
