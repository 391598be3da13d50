#include "db/untEdicao.h"

#include "core/DialogsNew.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"

#include <sqlite3.h>

TEdicao::TEdicao(TDTMCON& con, IDialogos& dialogos) : m_con(con), m_dialogos(dialogos) {}

TEdicao::~TEdicao() = default;

bool TEdicao::ativa() const
{
    return m_transacao && m_transacao->ativa();
}

bool TEdicao::inicia()
{
    m_transacao.reset();
    try {
        m_externa = sqlite3_get_autocommit(m_con.db()) != 0;
        m_transacao = std::make_unique<TTransacao>(m_con);
        return true;
    } catch (const EBancoDados& e) {
        m_dialogos.mensagemSimples(e.mensagem());
        return false;
    }
}

bool TEdicao::confirma()
{
    if (!ativa())
        return false;
    try {
        m_transacao->commit();
        m_transacao.reset();
        return true;
    } catch (const EBancoDados& e) {
        m_dialogos.mensagemSimples(e.mensagem());
    }
    desfaz();
    inicia();
    return false;
}

bool TEdicao::desfaz()
{
    if (!m_transacao)
        return true;
    QString erro;
    try {
        m_transacao->rollback();
    } catch (const EBancoDados& e) {
        erro = e.mensagem();
    }
    m_transacao.reset();
    // After a refused commit the savepoint's release can be refused too, which would leave the transaction
    // open under the next edit (whose "commit" would then write nothing to the file). The edit's own
    // transaction is ended for good.
    try {
        sqlite3* db = m_con.db();
        if (m_externa && sqlite3_get_autocommit(db) == 0 &&
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK)
            erro = QString::fromUtf8(sqlite3_errmsg(db));
        else if (m_externa)
            erro.clear();
    } catch (const EBancoDados& e) {
        erro = e.mensagem();
    }
    if (!erro.isEmpty())
        m_dialogos.mensagemSimples(erro);
    return erro.isEmpty();
}
