#include "db/untSqlite.h"

#include <exception>
#include <memory>
#include <optional>

#include <QDate>
#include <QDateTime>
#include <QMutex>
#include <QRegularExpression>
#include <sqlite3.h>

#include "core/untDatas.h"
#include "db/untDTMCON.h"

// ---------------------------------------------------------------- parameters

static TNomeParametro chaveParametro(const QString& nome)
{
    // The statements' names come without blanks and with their colon; the callers' mostly without either.
    if (nome.isEmpty() || (nome[0] != QLatin1Char(':') && !nome[0].isSpace() && !nome.back().isSpace()))
        return {nome};
    QString k = nome.trimmed();
    if (k.startsWith(QLatin1Char(':')))
        k.remove(0, 1);
    return {k};
}

size_t qHash(const TNomeParametro& k, size_t semente) noexcept
{
    size_t h = semente;
    for (const QChar c : k.nome) {
        const char16_t u = c.unicode();
        const char16_t d = u < 128 ? char16_t(u >= 'A' && u <= 'Z' ? u + 32 : u) : QChar::toCaseFolded(u);
        h = h * 31 + d;
    }
    return h;
}

void TParametros::set(const QString& nome, const QVariant& valor) { m_valores.insert(chaveParametro(nome), valor); }
bool TParametros::contains(const QString& nome) const { return m_valores.contains(chaveParametro(nome)); }
QVariant TParametros::value(const QString& nome) const { return m_valores.value(chaveParametro(nome)); }
const QVariant* TParametros::procura(const QString& chave) const
{
    const auto i = m_valores.constFind(TNomeParametro{chave});
    return i == m_valores.constEnd() ? nullptr : &i.value();
}

namespace Sql {

// ---------------------------------------------------------------- Jet functions

static QString textoArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

// Part of a stored date ("yyyy-MM-dd" or with a time): the year, month or day as a number.
static void parteData(sqlite3_context* ctx, sqlite3_value* v, int inicio, int tamanho)
{
    if (sqlite3_value_type(v) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const QString t = textoArg(v);
    bool ok = false;
    const int n = t.mid(inicio, tamanho).toInt(&ok);
    if (!ok || t.size() < 10) { sqlite3_result_null(ctx); return; }
    sqlite3_result_int(ctx, n);
}

static void fnYear(sqlite3_context* c, int, sqlite3_value** a) { parteData(c, a[0], 0, 4); }
static void fnMonth(sqlite3_context* c, int, sqlite3_value** a) { parteData(c, a[0], 5, 2); }
static void fnDay(sqlite3_context* c, int, sqlite3_value** a) { parteData(c, a[0], 8, 2); }

static void corte(sqlite3_context* ctx, sqlite3_value** a, bool daEsquerda)
{
    if (sqlite3_value_type(a[0]) == SQLITE_NULL) { sqlite3_result_null(ctx); return; }
    const QString t = textoArg(a[0]);
    const qsizetype n = qMax<qsizetype>(0, sqlite3_value_int64(a[1]));
    const QByteArray r = (daEsquerda ? t.left(n) : t.right(n)).toUtf8();
    sqlite3_result_text(ctx, r.constData(), int(r.size()), SQLITE_TRANSIENT);
}

static void fnLeft(sqlite3_context* c, int, sqlite3_value** a) { corte(c, a, true); }
static void fnRight(sqlite3_context* c, int, sqlite3_value** a) { corte(c, a, false); }

void registraFuncoesJet(sqlite3* db)
{
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "YEAR", 1, f, nullptr, fnYear, nullptr, nullptr);
    sqlite3_create_function(db, "MONTH", 1, f, nullptr, fnMonth, nullptr, nullptr);
    sqlite3_create_function(db, "DAY", 1, f, nullptr, fnDay, nullptr, nullptr);
    // LEFT and RIGHT are words of the engine's own grammar (joins), so the statements' calls are renamed
    // to these by traduzJet.
    sqlite3_create_function(db, "JET_LEFT", 2, f, nullptr, fnLeft, nullptr, nullptr);
    sqlite3_create_function(db, "JET_RIGHT", 2, f, nullptr, fnRight, nullptr, nullptr);
}

// ---------------------------------------------------------------- statements

QString traduzJet(const QString& sql)
{
    static const QRegularExpression data(QStringLiteral("^#(\\d{1,2})/(\\d{1,2})/(\\d{4})#"));
    static const QRegularExpression chamada(QStringLiteral("^(left|right)\\s*\\("), QRegularExpression::CaseInsensitiveOption);
    QString r;
    r.reserve(sql.size());
    QChar aspas;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!aspas.isNull()) {
            r.append(c);
            if (c == aspas)
                aspas = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            aspas = c;
            r.append(c);
            continue;
        }
        if ((c == QLatin1Char('L') || c == QLatin1Char('l') || c == QLatin1Char('R') || c == QLatin1Char('r')) &&
            (i == 0 || !(sql[i - 1].isLetterOrNumber() || sql[i - 1] == QLatin1Char('_')))) {
            const auto m = chamada.match(sql.mid(i, 12));
            if (m.hasMatch()) {
                r.append(QStringLiteral("JET_") + m.captured(1).toUpper() + QLatin1Char('('));
                i += m.capturedLength() - 1;
                continue;
            }
        }
        if (c == QLatin1Char('#')) {
            const auto m = data.match(sql.mid(i, 13));
            if (m.hasMatch()) {
                // Jet writes its date literals month first.
                const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
                if (d.isValid()) {
                    r.append(QLatin1Char('\'') + Datas::paraBanco(d) + QLatin1Char('\''));
                    i += m.capturedLength() - 1;
                    continue;
                }
            }
        }
        r.append(c);
    }
    return r;
}

static EBancoDados erroDe(sqlite3* db)
{
    return EBancoDados(QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_extended_errcode(db));
}

// The names of a statement's parameters as TParametros keeps them, in the statement's order (empty for a
// parameter without a name).
static QStringList chavesDe(sqlite3_stmt* st)
{
    QStringList chaves;
    const int n = sqlite3_bind_parameter_count(st);
    for (int i = 1; i <= n; ++i) {
        const char* nomeC = sqlite3_bind_parameter_name(st, i);
        chaves << (nomeC ? chaveParametro(QString::fromUtf8(nomeC)).nome : QString());
    }
    return chaves;
}

static void liga(sqlite3* db, sqlite3_stmt* st, const QStringList& chaves, const TParametros& params)
{
    for (int i = 1; i <= chaves.size(); ++i) {
        const QString& chave = chaves[i - 1];
        const QVariant* valor = chave.isEmpty() ? nullptr : params.procura(chave);
        if (!valor) {
            const char* nomeC = sqlite3_bind_parameter_name(st, i);
            throw EBancoDados(QStringLiteral("Parâmetro sem valor: %1").arg(nomeC ? QString::fromUtf8(nomeC) : QString::number(i)));
        }
        const QVariant& v = *valor;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(st, i);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(st, i, v.toBool() ? -1 : 0);
                break;
            case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
            case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong:
                rc = sqlite3_bind_int64(st, i, v.toLongLong());
                break;
            case QMetaType::Double: case QMetaType::Float:
                rc = sqlite3_bind_double(st, i, v.toDouble());
                break;
            case QMetaType::QDate: {
                const QByteArray t = Datas::paraBanco(v.toDate()).toUtf8();
                rc = sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            case QMetaType::QDateTime: {
                const QByteArray t = Datas::paraBanco(v.toDateTime()).toUtf8();
                rc = sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            throw erroDe(db);
    }
}

QVariant valorColuna(sqlite3_stmt* st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER: return QVariant::fromValue<qint64>(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT: return sqlite3_column_double(st, i);
    case SQLITE_NULL: return QVariant();
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return QString::fromUtf8(p, sqlite3_column_bytes(st, i));
    }
    }
}

// ---------------------------------------------------------------- prepared statements kept per connection

// Preparing a statement (and reading its Jet dialect first) costs more than running most of them: the screens
// and the imports run the same few statements over and over. Each connection keeps its statements prepared,
// found by their text as the caller wrote it. A statement is taken out of the cache while it runs, so a
// statement run again from inside a row callback gets a fresh one, and one that failed is thrown away rather
// than put back. The cache of a connection goes with it: the engine tells when the connection closes, and its
// statements are finalized then, whoever closes it.
namespace {

// Enough for every statement the program writes; texts built with literal values past that push out the
// statements used longest ago.
constexpr int kComandosPorConexao = 256;

struct TCacheConexao {
    struct TEntrada {
        sqlite3_stmt* st = nullptr;
        QStringList chaves; // its parameters' names, read once
        QStringList nomes, tipos; // its columns' names and declared types, once read
        bool temNomes = false;
        quint64 uso = 0;
    };
    QHash<QString, TEntrada> comandos;
    quint64 relogio = 0;
    bool fechada = false;
};

QMutex& mutexCaches()
{
    static QMutex m;
    return m;
}

QHash<sqlite3*, std::shared_ptr<TCacheConexao>>& caches()
{
    static QHash<sqlite3*, std::shared_ptr<TCacheConexao>> c;
    return c;
}

void finalizaTodos(const QList<sqlite3_stmt*>& lista)
{
    for (sqlite3_stmt* st : lista)
        sqlite3_finalize(st);
}

// Called by the engine as the connection closes, before it looks for statements still open: finalizing them
// here lets the connection really close instead of lingering until they are.
int aoFechar(unsigned tipo, void*, void* p, void*)
{
    if (tipo != SQLITE_TRACE_CLOSE)
        return 0;
    QList<sqlite3_stmt*> lista;
    {
        QMutexLocker trava(&mutexCaches());
        const std::shared_ptr<TCacheConexao> c = caches().take(static_cast<sqlite3*>(p));
        if (!c)
            return 0;
        c->fechada = true;
        for (const TCacheConexao::TEntrada& e : std::as_const(c->comandos))
            lista << e.st;
        c->comandos.clear();
    }
    finalizaTodos(lista);
    return 0;
}

// Whether the statement's first word (after any blanks) is `palavra`, in any case.
bool comecaCom(const QString& sql, const char* palavra)
{
    qsizetype i = 0;
    while (i < sql.size() && sql[i].isSpace())
        ++i;
    const QLatin1StringView p(palavra);
    return QStringView(sql).mid(i, p.size()).compare(p, Qt::CaseInsensitive) == 0 &&
           (i + p.size() == sql.size() || !(sql[i + p.size()].isLetterOrNumber() || sql[i + p.size()] == QLatin1Char('_')));
}

// The statements worth keeping: those that read or change rows. Transaction control (savepoints have names of
// their own each time) and schema statements are prepared each time they run.
bool guardavel(const QString& sql)
{
    for (const char* inicio : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH", "REPLACE"})
        if (comecaCom(sql, inicio))
            return true;
    return false;
}

bool mudaEsquema(const QString& sql)
{
    return comecaCom(sql, "CREATE") || comecaCom(sql, "DROP") || comecaCom(sql, "ALTER");
}

// The kept statements of a connection whose tables changed: none of them is needed as it was.
void esqueceComandos(sqlite3* db)
{
    QList<sqlite3_stmt*> lista;
    {
        QMutexLocker trava(&mutexCaches());
        const auto c = caches().constFind(db);
        if (c == caches().constEnd())
            return;
        for (const TCacheConexao::TEntrada& e : std::as_const((*c)->comandos))
            lista << e.st;
        (*c)->comandos.clear();
    }
    finalizaTodos(lista);
}

// One statement ready to bind and step: taken from the connection's cache or prepared now, and given back
// (reset, its bindings cleared) when done, unless it failed, which finalizes it.
class TPreparado {
public:
    TPreparado(sqlite3* db, const QString& sql) : m_sql(sql), m_excecoes(std::uncaught_exceptions())
    {
        if (guardavel(sql)) {
            QMutexLocker trava(&mutexCaches());
            std::shared_ptr<TCacheConexao>& c = caches()[db];
            if (!c) {
                c = std::make_shared<TCacheConexao>();
                sqlite3_trace_v2(db, SQLITE_TRACE_CLOSE, aoFechar, nullptr);
            }
            m_cache = c;
            if (const auto e = c->comandos.constFind(sql); e != c->comandos.constEnd()) {
                m_st = e->st;
                m_chaves = e->chaves;
                m_nomes = e->nomes;
                m_tipos = e->tipos;
                m_temNomes = e->temNomes;
                c->comandos.erase(e);
                return;
            }
        }
        const QByteArray texto = traduzJet(sql).toUtf8();
        if (sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), &m_st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_st);
            m_st = nullptr;
            m_cache.reset();
            throw erroDe(db);
        }
        if (!m_st)
            m_cache.reset(); // a blank statement: nothing to keep
        else
            m_chaves = chavesDe(m_st);
    }
    ~TPreparado()
    {
        if (!m_st)
            return;
        // Whatever unwinds through here (an engine error, a callback's own exception) leaves the statement in
        // a state not worth reasoning about: it goes.
        if (!m_cache || std::uncaught_exceptions() > m_excecoes) {
            sqlite3_finalize(m_st);
            return;
        }
        // Reset at once: a read left pending would keep its snapshot (and the file's read lock) open.
        if (sqlite3_reset(m_st) != SQLITE_OK) {
            sqlite3_finalize(m_st);
            return;
        }
        sqlite3_clear_bindings(m_st);
        sqlite3_stmt* sobra = nullptr;
        {
            QMutexLocker trava(&mutexCaches());
            if (m_cache->fechada || m_cache->comandos.contains(m_sql)) {
                sobra = m_st; // the connection closed meanwhile, or a nested run put its copy back first
            } else {
                if (m_cache->comandos.size() >= kComandosPorConexao) {
                    auto velha = m_cache->comandos.begin();
                    for (auto i = m_cache->comandos.begin(); i != m_cache->comandos.end(); ++i)
                        if (i->uso < velha->uso)
                            velha = i;
                    sobra = velha->st;
                    m_cache->comandos.erase(velha);
                }
                m_cache->comandos.insert(m_sql, {m_st, m_chaves, m_nomes, m_tipos, m_temNomes, ++m_cache->relogio});
            }
        }
        sqlite3_finalize(sobra);
    }
    TPreparado(const TPreparado&) = delete;
    TPreparado& operator=(const TPreparado&) = delete;

    sqlite3_stmt* st() const { return m_st; }
    const QStringList& chaves() const { return m_chaves; }
    // The columns' names and declared types, read from the statement the first time it is asked.
    void colunas(QStringList& nomes, QStringList& tipos)
    {
        // A statement the engine prepared again (its tables changed under another path) may have other columns.
        if (m_temNomes && m_st && sqlite3_column_count(m_st) != m_nomes.size()) {
            m_nomes.clear();
            m_tipos.clear();
            m_temNomes = false;
        }
        if (!m_temNomes && m_st) {
            for (int i = 0; i < sqlite3_column_count(m_st); ++i) {
                m_nomes << QString::fromUtf8(sqlite3_column_name(m_st, i));
                const char* t = sqlite3_column_decltype(m_st, i);
                m_tipos << (t ? QString::fromUtf8(t) : QString());
            }
            m_temNomes = true;
        }
        nomes << m_nomes;
        tipos << m_tipos;
    }

private:
    const QString& m_sql;
    int m_excecoes;
    std::shared_ptr<TCacheConexao> m_cache;
    sqlite3_stmt* m_st = nullptr;
    QStringList m_chaves;
    QStringList m_nomes, m_tipos;
    bool m_temNomes = false;
};

} // namespace

int comandosGuardados(sqlite3* db)
{
    QMutexLocker trava(&mutexCaches());
    const auto c = caches().constFind(db);
    return c == caches().constEnd() ? 0 : int((*c)->comandos.size());
}

void colunas(sqlite3* db, const QString& sql, QStringList& nomes, QStringList& tipos)
{
    try {
        TPreparado preparado(db, sql);
        preparado.colunas(nomes, tipos);
    } catch (const EBancoDados&) { // the statement just ran: a failure now only leaves the names out
    }
}

static void executaUm(sqlite3* db, const QString& sql, const TParametros& params, int* afetadas,
                      const std::function<void(sqlite3_stmt*)>& linha)
{
    const TPreparado preparado(db, sql);
    sqlite3_stmt* st = preparado.st();
    if (!st) // blank statement
        return;
    liga(db, st, preparado.chaves(), params);
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            if (linha)
                linha(st);
            continue;
        }
        if (rc == SQLITE_DONE)
            break;
        throw erroDe(db);
    }
    if (afetadas)
        *afetadas = sqlite3_changes(db);
    if (mudaEsquema(sql))
        esqueceComandos(db);
}

QString tipoDeclarado(sqlite3* db, const QString& tabela, const QString& coluna)
{
    QString tipo;
    TParametros p;
    p.set(QStringLiteral("t"), tabela);
    p.set(QStringLiteral("c"), coluna);
    executaUm(db, QStringLiteral("SELECT type FROM pragma_table_info(:t) WHERE name = :c COLLATE NOCASE"), p, nullptr,
              [&](sqlite3_stmt* st) { tipo = valorColuna(st, 0).toString(); });
    return tipo;
}

int larguraTexto(sqlite3* db, const QString& tabela, const QString& coluna)
{
    static const QRegularExpression re(QStringLiteral("^\\s*text\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(tipoDeclarado(db, tabela, coluna));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

bool existeTabela(sqlite3* db, const QString& tabela)
{
    bool existe = false;
    TParametros p;
    p.set(QStringLiteral("t"), tabela);
    executaUm(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = :t COLLATE NOCASE"), p,
              nullptr, [&](sqlite3_stmt*) { existe = true; });
    return existe;
}

bool existeColuna(sqlite3* db, const QString& tabela, const QString& coluna)
{
    bool achou = false;
    TParametros p;
    p.set(QStringLiteral("t"), tabela);
    p.set(QStringLiteral("c"), coluna);
    executaUm(db, QStringLiteral("SELECT 1 FROM pragma_table_info(:t) WHERE name = :c COLLATE NOCASE"), p, nullptr,
              [&](sqlite3_stmt*) { achou = true; });
    return achou;
}

// Splits the body of a CREATE TABLE at the commas that are not inside parentheses or quotes.
static QStringList divideDefinicoes(const QString& corpo)
{
    QStringList partes;
    int nivel = 0;
    QChar aspas;
    QString atual;
    for (const QChar c : corpo) {
        if (!aspas.isNull()) {
            atual.append(c);
            if (c == aspas) aspas = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('`')) {
            aspas = c == QLatin1Char('[') ? QLatin1Char(']') : c;
        } else if (c == QLatin1Char('(')) {
            ++nivel;
        } else if (c == QLatin1Char(')')) {
            --nivel;
        } else if (c == QLatin1Char(',') && nivel == 0) {
            partes << atual;
            atual.clear();
            continue;
        }
        atual.append(c);
    }
    partes << atual;
    return partes;
}

static QString semDelimitadores(QString nome)
{
    if (nome.size() >= 2 && QStringLiteral("\"[`").contains(nome[0]))
        nome = nome.mid(1, nome.size() - 2);
    return nome;
}

static QString normalizaTipo(QString tipo)
{
    return tipo.remove(QLatin1Char(' ')).toLower();
}

// The engine cannot change a column's declared type in place, so the table is rebuilt around the new
// definition: a copy with the new type receives every row, replaces the old table, and gets back the
// indexes and triggers the old one had. All of it in one savepoint, so a failure leaves the table as it was.
// A column that already has the asked type is left alone (the change is then a harmless repetition).
static void alteraTipoColuna(sqlite3* db, const QString& tabela, const QString& coluna, const QString& tipo)
{
    QString criacao, nomeReal;
    TParametros p;
    p.set(QStringLiteral("t"), tabela);
    executaUm(db, QStringLiteral("SELECT sql, name FROM sqlite_master WHERE type = 'table' AND name = :t COLLATE NOCASE"),
              p, nullptr, [&](sqlite3_stmt* st) {
                  criacao = valorColuna(st, 0).toString();
                  nomeReal = valorColuna(st, 1).toString();
              });
    if (criacao.isEmpty())
        throw EBancoDados(QStringLiteral("no such table: %1").arg(tabela));
    const qsizetype abre = criacao.indexOf(QLatin1Char('('));
    const qsizetype fecha = criacao.lastIndexOf(QLatin1Char(')'));
    QStringList defs = divideDefinicoes(criacao.mid(abre + 1, fecha - abre - 1));
    static const QRegularExpression reDef(
        QStringLiteral("^\\s*(\"[^\"]+\"|\\[[^\\]]+\\]|`[^`]+`|\\w+)\\s*([A-Za-z_]+(?:\\s*\\([^)]*\\))?)?(.*)$"),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList colunas;
    int alvo = -1;
    for (int i = 0; i < defs.size(); ++i) {
        const auto m = reDef.match(defs[i]);
        if (!m.hasMatch())
            continue;
        const QString nome = semDelimitadores(m.captured(1));
        static const QStringList restricoes = {QStringLiteral("constraint"), QStringLiteral("primary"),
                                               QStringLiteral("unique"), QStringLiteral("check"),
                                               QStringLiteral("foreign")};
        if (restricoes.contains(nome.toLower()))
            continue;
        colunas << QLatin1Char('"') + nome + QLatin1Char('"');
        if (nome.compare(coluna, Qt::CaseInsensitive) != 0)
            continue;
        alvo = i;
        if (normalizaTipo(m.captured(2)) == normalizaTipo(tipo))
            return;
        if (m.captured(3).contains(QStringLiteral("PRIMARY KEY"), Qt::CaseInsensitive))
            throw EBancoDados(QStringLiteral("cannot change the type of the key column %1").arg(coluna));
        defs[i] = QLatin1Char(' ') + m.captured(1) + QLatin1Char(' ') + tipo + m.captured(3);
    }
    if (alvo < 0)
        throw EBancoDados(QStringLiteral("no such column: %1").arg(coluna));

    QStringList dependentes;
    p.set(QStringLiteral("t"), nomeReal);
    executaUm(db, QStringLiteral("SELECT sql FROM sqlite_master WHERE tbl_name = :t COLLATE NOCASE "
                                 "AND type IN ('index', 'trigger') AND sql IS NOT NULL"),
              p, nullptr, [&](sqlite3_stmt* st) { dependentes << valorColuna(st, 0).toString(); });

    // The table's autonumber must survive the rebuild: an id once issued (and perhaps deleted) is never issued
    // again, as other tables and files may still name it.
    std::optional<qint64> sequencia;
    if (existeTabela(db, QStringLiteral("sqlite_sequence")))
        executaUm(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = :t"), p, nullptr,
                  [&](sqlite3_stmt* st) { sequencia = valorColuna(st, 0).toLongLong(); });

    const QString temp = QStringLiteral("zel_reconstrucao_") + nomeReal;
    const TParametros nenhum;
    executaUm(db, QStringLiteral("SAVEPOINT zel_altera_coluna"), nenhum, nullptr, {});
    try {
        executaUm(db, QStringLiteral("PRAGMA legacy_alter_table = ON"), nenhum, nullptr, {});
        executaUm(db, QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(temp, defs.join(QLatin1Char(','))), nenhum,
                  nullptr, {});
        const QString lista = colunas.join(QStringLiteral(", "));
        executaUm(db, QStringLiteral("INSERT INTO \"%1\" (%2) SELECT %2 FROM \"%3\"").arg(temp, lista, nomeReal),
                  nenhum, nullptr, {});
        executaUm(db, QStringLiteral("DROP TABLE \"%1\"").arg(nomeReal), nenhum, nullptr, {});
        executaUm(db, QStringLiteral("ALTER TABLE \"%1\" RENAME TO \"%2\"").arg(temp, nomeReal), nenhum, nullptr, {});
        for (const QString& sql : dependentes)
            executaUm(db, sql, nenhum, nullptr, {});
        if (sequencia) {
            TParametros seq;
            seq.set(QStringLiteral("t"), nomeReal);
            seq.set(QStringLiteral("s"), *sequencia);
            executaUm(db, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = :t"), seq, nullptr, {});
            executaUm(db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (:t, :s)"), seq, nullptr, {});
        }
        executaUm(db, QStringLiteral("PRAGMA legacy_alter_table = OFF"), nenhum, nullptr, {});
        executaUm(db, QStringLiteral("RELEASE zel_altera_coluna"), nenhum, nullptr, {});
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO zel_altera_coluna; RELEASE zel_altera_coluna; PRAGMA legacy_alter_table = OFF",
                     nullptr, nullptr, nullptr);
        throw;
    }
}

void executa(sqlite3* db, const QString& sql, const TParametros& params, int* afetadas,
             const std::function<void(sqlite3_stmt*)>& linha)
{
    // "Alter Table T ALTER COLUMN C Type": Jet's way of changing a column's type.
    static const QRegularExpression reAlter(
        QStringLiteral("^\\s*ALTER\\s+TABLE\\s+(\\w+)\\s+ALTER\\s+COLUMN\\s+(\\w+)\\s+(.+?)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    // Most statements are not schema changes: the expression is only tried on those that could be one.
    const auto m = mudaEsquema(sql) ? reAlter.match(sql) : QRegularExpressionMatch();
    if (m.hasMatch()) {
        // The table is rebuilt under its name: nothing prepared against the old one is kept.
        esqueceComandos(db);
        alteraTipoColuna(db, m.captured(1), m.captured(2), m.captured(3));
        if (afetadas)
            *afetadas = 0;
        return;
    }
    executaUm(db, sql, params, afetadas, linha);
}

} // namespace Sql

// ---------------------------------------------------------------- command

int TComando::execute()
{
    int afetadas = 0;
    Sql::executa(m_con.db(), m_sql, m_params, &afetadas);
    return afetadas;
}

bool TComando::tentaExecutar(QString* erro)
{
    try {
        execute();
        return true;
    } catch (const EBancoDados& e) {
        if (erro)
            *erro = e.mensagem();
        return false;
    }
}

qint64 TComando::ultimoIdInserido() const
{
    return sqlite3_last_insert_rowid(m_con.db());
}

// ---------------------------------------------------------------- dataset

void TDataSet::open()
{
    close();
    sqlite3* db = m_con.db();
    bool primeiraLinha = true;
    QList<QList<QVariant>> linhas;
    QStringList campos, tipos;
    // Lists repeat the same short texts row after row (kind, model, series, code, situation, dates): a text
    // equal to the column's previous one shares its string instead of allocating another.
    QList<QByteArray> textoAnterior;
    QList<QVariant> valorAnterior;
    Sql::executa(db, m_sql, m_params, nullptr, [&](sqlite3_stmt* st) {
        const int n = sqlite3_column_count(st);
        if (primeiraLinha) {
            for (int i = 0; i < n; ++i) {
                campos << QString::fromUtf8(sqlite3_column_name(st, i));
                const char* t = sqlite3_column_decltype(st, i);
                tipos << (t ? QString::fromUtf8(t) : QString());
            }
            textoAnterior.resize(n);
            valorAnterior.resize(n);
            primeiraLinha = false;
        }
        QList<QVariant> linha;
        linha.reserve(n);
        for (int i = 0; i < n; ++i) {
            if (sqlite3_column_type(st, i) != SQLITE_TEXT) {
                linha << Sql::valorColuna(st, i);
                continue;
            }
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            const QByteArrayView bytes(p, sqlite3_column_bytes(st, i));
            if (bytes != textoAnterior[i] || !valorAnterior[i].isValid()) {
                textoAnterior[i] = bytes.toByteArray();
                valorAnterior[i] = QString::fromUtf8(bytes);
            }
            linha << valorAnterior[i];
        }
        linhas << linha;
    });
    if (primeiraLinha) {
        // No rows: the field names still come from the prepared statement.
        Sql::colunas(db, m_sql, campos, tipos);
    }
    m_campos = campos;
    m_tipos = tipos;
    for (int i = 0; i < m_campos.size(); ++i)
        if (!m_indice.contains(m_campos[i].toLower()))
            m_indice.insert(m_campos[i].toLower(), i);
    m_linhas = std::move(linhas);
    m_ativo = true;
    first();
}

void TDataSet::close()
{
    m_campos.clear();
    m_tipos.clear();
    m_indice.clear();
    m_linhas.clear();
    m_atual = -1;
    m_eof = m_bof = true;
    m_ativo = false;
}

void TDataSet::first()
{
    m_atual = m_linhas.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_linhas.isEmpty();
}

void TDataSet::last()
{
    m_atual = int(m_linhas.size()) - 1;
    m_eof = true;
    m_bof = m_linhas.isEmpty();
}

void TDataSet::next()
{
    m_bof = false;
    if (m_atual + 1 < m_linhas.size())
        ++m_atual;
    else
        m_eof = true;
}

void TDataSet::prior()
{
    m_eof = false;
    if (m_atual > 0)
        --m_atual;
    else
        m_bof = true;
}

void TDataSet::setRecNo(int linha)
{
    if (m_linhas.isEmpty()) {
        m_atual = -1;
        return;
    }
    m_atual = qBound(0, linha, int(m_linhas.size()) - 1);
    m_bof = m_eof = false;
}

int TDataSet::fieldIndex(const QString& nome) const
{
    return m_indice.value(nome.toLower(), -1);
}

QVariant TDataSet::fieldByName(const QString& nome) const
{
    const int i = fieldIndex(nome);
    if (i < 0)
        throw EBancoDados(QStringLiteral("Campo não encontrado: %1").arg(nome));
    if (m_atual < 0)
        return {};
    return m_linhas[m_atual][i];
}

QString TDataSet::asString(const QString& nome) const { return fieldByName(nome).toString(); }
int TDataSet::asInteger(const QString& nome) const { return fieldByName(nome).toInt(); }
Money TDataSet::asMoney(const QString& nome) const { return Money::fromRaw(fieldByName(nome).toLongLong()); }

QVariant TDataSet::value(int linha, int coluna) const
{
    if (linha < 0 || linha >= m_linhas.size() || coluna < 0 || coluna >= m_campos.size())
        return {};
    return m_linhas[linha][coluna];
}

bool TDataSet::locate(const QString& campo, const QVariant& valor)
{
    const int c = fieldIndex(campo);
    if (c < 0)
        return false;
    for (int i = 0; i < m_linhas.size(); ++i) {
        const QVariant& v = m_linhas[i][c];
        const bool igual = (v.typeId() == QMetaType::QString || valor.typeId() == QMetaType::QString)
                               ? v.toString().compare(valor.toString(), Qt::CaseInsensitive) == 0
                               : v == valor;
        if (igual && !v.isNull()) {
            setRecNo(i);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- transaction

TTransacao::TTransacao(TDTMCON& con) : m_con(con)
{
    static int contador = 0;
    m_nome = QStringLiteral("zel_transacao_%1").arg(++contador);
    Sql::executa(m_con.db(), QStringLiteral("SAVEPOINT ") + m_nome, TParametros());
    m_ativa = true;
}

TTransacao::~TTransacao()
{
    if (m_ativa) {
        try {
            rollback();
        } catch (...) { // a destructor must not throw; the engine drops the savepoint with the connection anyway
        }
    }
}

void TTransacao::commit()
{
    if (!m_ativa)
        return;
    Sql::executa(m_con.db(), QStringLiteral("RELEASE ") + m_nome, TParametros());
    m_ativa = false;
}

void TTransacao::rollback()
{
    if (!m_ativa)
        return;
    m_ativa = false;
    Sql::executa(m_con.db(), QStringLiteral("ROLLBACK TO ") + m_nome, TParametros());
    Sql::executa(m_con.db(), QStringLiteral("RELEASE ") + m_nome, TParametros());
}
