#pragma once
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <stdexcept>

#include "core/untMoney.h"

struct sqlite3;
struct sqlite3_stmt;
class TDTMCON;

// A statement the engine refused; carries the engine's own text, which the screens show as it stands.
class EBancoDados : public std::runtime_error {
public:
    EBancoDados(const QString& mensagem, int codigo = 0)
        : std::runtime_error(mensagem.toStdString()), m_mensagem(mensagem), m_codigo(codigo) {}
    const QString& mensagem() const { return m_mensagem; }
    int codigo() const { return m_codigo; }
private:
    QString m_mensagem;
    int m_codigo;
};

// A parameter's name, matched and hashed without regard to case (and without making a lower-case copy).
struct TNomeParametro {
    QString nome;
    friend bool operator==(const TNomeParametro& a, const TNomeParametro& b)
    {
        return a.nome.compare(b.nome, Qt::CaseInsensitive) == 0;
    }
};
size_t qHash(const TNomeParametro& k, size_t semente = 0) noexcept;

// Named parameters as the statements write them (":IdAtivo", ":OLD_IdContribuinte"), matched without
// regard to case. Money binds as its ten-thousandths, dates in their stored text forms, booleans as -1/0.
class TParametros {
public:
    void set(const QString& nome, const QVariant& valor);
    void set(const QString& nome, Money valor) { set(nome, QVariant::fromValue(valor.raw())); }
    void clear() { m_valores.clear(); }
    bool contains(const QString& nome) const;
    QVariant value(const QString& nome) const;
    // The value under a name already without its colon; null when there is none.
    const QVariant* procura(const QString& chave) const;
private:
    QHash<TNomeParametro, QVariant> m_valores; // key: the name without the colon
};

namespace Sql {
// Registers MONTH, YEAR, DAY, LEFT and RIGHT on a connection, as the Jet statements use them.
void registraFuncoesJet(sqlite3* db);
// Rewrites what the engine does not read as Jet wrote it: date literals "#12/01/2025#" become the stored
// text '2025-12-01', and the calls LEFT( and RIGHT( go to the registered functions. Text inside quotes is
// left alone.
QString traduzJet(const QString& sql);
// Prepares, binds and steps one statement; throws EBancoDados. Calls `linha` for each row when given.
void executa(sqlite3* db, const QString& sql, const TParametros& params, int* afetadas = nullptr,
             const std::function<void(sqlite3_stmt*)>& linha = {});
// How many statements the connection keeps prepared for the next run of the same text (each connection keeps
// those that read or change rows, and lets them go when it closes or its tables change).
int comandosGuardados(sqlite3* db);
// The names and declared types of a query's columns, read from the statement without running it.
void colunas(sqlite3* db, const QString& sql, QStringList& nomes, QStringList& tipos);
// The value of column `i` of the current row as a QVariant (integer, real, text or null).
QVariant valorColuna(sqlite3_stmt* st, int i);
// Declared type of a column ("Text(32)", "money"...) as the table was created; empty when the column is unknown.
QString tipoDeclarado(sqlite3* db, const QString& tabela, const QString& coluna);
// Largest number of characters a text(n) column admits; 0 for other types or unknown columns.
int larguraTexto(sqlite3* db, const QString& tabela, const QString& coluna);
bool existeTabela(sqlite3* db, const QString& tabela);
bool existeColuna(sqlite3* db, const QString& tabela, const QString& coluna);
} // namespace Sql

// The command object: every INSERT, UPDATE, DELETE and schema statement runs through it.
class TComando {
public:
    explicit TComando(TDTMCON& con) : m_con(con) {}
    void setCommandText(const QString& sql) { m_sql = sql; m_params.clear(); }
    const QString& commandText() const { return m_sql; }
    TParametros& parameters() { return m_params; }
    void setParam(const QString& nome, const QVariant& valor) { m_params.set(nome, valor); }
    void setParam(const QString& nome, Money valor) { m_params.set(nome, valor); }
    // Runs the statement; a refusal raises EBancoDados. Returns the rows changed.
    int execute();
    // The error trap of the schema steps: runs, and reports a refusal instead of raising it.
    bool tentaExecutar(QString* erro = nullptr);
    qint64 ultimoIdInserido() const;
private:
    TDTMCON& m_con;
    QString m_sql;
    TParametros m_params;
};

// A query's rows held in memory with a cursor, fields found by name whatever their case.
class TDataSet {
public:
    explicit TDataSet(TDTMCON& con, QString nome = {}) : m_con(con), m_nome(std::move(nome)) {}
    const QString& nome() const { return m_nome; }

    void setCommandText(const QString& sql) { m_sql = sql; m_params.clear(); }
    const QString& commandText() const { return m_sql; }
    TParametros& parameters() { return m_params; }
    void setParam(const QString& nome, const QVariant& valor) { m_params.set(nome, valor); }
    void setParam(const QString& nome, Money valor) { m_params.set(nome, valor); }

    void open();               // runs the query; raises EBancoDados
    void close();
    void refresh() { const int r = m_atual; open(); setRecNo(r); }
    bool active() const { return m_ativo; }

    int recordCount() const { return int(m_linhas.size()); }
    bool isEmpty() const { return m_linhas.isEmpty(); }
    bool eof() const { return m_linhas.isEmpty() || m_eof; }
    bool bof() const { return m_linhas.isEmpty() || m_bof; }
    void first();
    void last();
    void next();
    void prior();
    int recNo() const { return m_atual; }  // 0-based; -1 when empty
    void setRecNo(int linha);

    int fieldCount() const { return int(m_campos.size()); }
    const QStringList& fieldNames() const { return m_campos; }
    QString declaredType(int coluna) const { return m_tipos.value(coluna); }
    int fieldIndex(const QString& nome) const;   // -1 when the query has no such field
    // The current row's value; raises EBancoDados for an unknown field (a typo must not read as null).
    QVariant fieldByName(const QString& nome) const;
    QString asString(const QString& nome) const;
    int asInteger(const QString& nome) const;
    Money asMoney(const QString& nome) const;
    bool isNull(const QString& nome) const { return fieldByName(nome).isNull(); }
    QVariant value(int linha, int coluna) const;

    // Moves the cursor to the first row whose field equals the value (texts compared without regard to
    // case); stays put and returns false when none does.
    bool locate(const QString& campo, const QVariant& valor);

private:
    TDTMCON& m_con;
    QString m_nome;
    QString m_sql;
    TParametros m_params;
    QStringList m_campos;
    QStringList m_tipos;
    QHash<QString, int> m_indice;
    QList<QList<QVariant>> m_linhas;
    int m_atual = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_ativo = false;
};

// All-or-nothing work: rolls back unless committed. Nests (a savepoint inside an open transaction).
class TTransacao {
public:
    explicit TTransacao(TDTMCON& con);
    ~TTransacao();
    TTransacao(const TTransacao&) = delete;
    TTransacao& operator=(const TTransacao&) = delete;
    void commit();
    void rollback();
    bool ativa() const { return m_ativa; }
private:
    TDTMCON& m_con;
    QString m_nome;
    bool m_ativa = false;
};
