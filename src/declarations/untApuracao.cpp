#include "declarations/untApuracao.h"
#include "declarations/untZel.h"

#include <QDate>
#include <QSet>
#include <functional>
#include <sqlite3.h>

#include "core/untDatas.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "documents/untCfop.h"

namespace {

// The month is written as a range of the stored date text, so that every query runs on its table's
// (IdContribuinte, DtEmissao) index; both stored forms (date and moment) fall in the range exactly when
// MONTH() and YEAR() would give the month and year. A month outside 1..12 selects nothing.
TParametros doMes(int idAtivo, int mes, int ano)
{
    TParametros p;
    p.set(QStringLiteral("IdAtivo"), idAtivo);
    const bool valido = mes >= 1 && mes <= 12 && QDate(ano, mes, 1).isValid();
    p.set(QStringLiteral("Inicio"), valido ? Datas::inicioDoMes(mes, ano) : QString());
    p.set(QStringLiteral("Fim"), valido ? Datas::inicioDoMesSeguinte(mes, ano) : QString());
    return p;
}

TParametros comTipo(TParametros p, const char* tipo)
{
    p.set(QStringLiteral("TpNota"), QString::fromLatin1(tipo));
    return p;
}

QString periodoTexto(int mes, int ano)
{
    return QStringLiteral("%1%2").arg(ano, 4, 10, QLatin1Char('0')).arg(mes, 2, 10, QLatin1Char('0'));
}

// Invoices that count in the month's sums: cancelled ("S", "X"), denied ("2") and voided ("4") ones are out.
// A null situation fails every comparison and is out too, as in the engine the statements were written for.
#define VALIDAS(a) a ".Situacao <> 'S' AND " a ".Situacao <> 'X' AND " a ".Situacao <> '2' AND " a ".Situacao <> '4' "
#define NO_MES(a) a ".IdContribuinte =:IdAtivo AND " a ".DtEmissao >= :Inicio AND " a ".DtEmissao < :Fim "

// The CFOP text columns have TEXT affinity, so these ranges compare text: "400" and "4000" are inside
// '100'..'400' / '1000'..'4000', "4001" is not, and a three-digit code of before 2003 falls in the same
// ranges as its four-digit successor.
#define CFOP_ENTRADA "((A.CFOP BETWEEN '100' AND '400') OR (A.CFOP BETWEEN '1000' AND '4000')) "
#define CFOP_SAIDA "((A.CFOP BETWEEN '500' AND '800') OR (A.CFOP BETWEEN '5000' AND '8000')) "
// Transport documents left out of the entry side; on the output side nothing is left out.
#define TRANSPORTE_VALIDO "A.Situacao <> 'S' AND A.Situacao <> '2' AND A.Situacao <> '4' "
// Freight modality "2": the document is taken as an entry.
#define TRANSPORTE_CREDITO "A.Modalidade = '2' AND " CFOP_ENTRADA "AND " TRANSPORTE_VALIDO
#define TRANSPORTE_AQUISICAO "A.Modalidade = '2' AND (A.CFOP BETWEEN '1000' AND '4000') AND " TRANSPORTE_VALIDO
#define TRANSPORTE_ENTRADA CFOP_ENTRADA "AND " TRANSPORTE_VALIDO

const char* const kIcmsPorCfop =
    "SELECT A.CFOP, SUM(B.ValorICMS) FROM NOTAFISCAL A JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal "
    "WHERE " NO_MES("A") "AND A.TipoNota =:TpNota AND " VALIDAS("A") "GROUP BY A.CFOP";
const char* const kBasePorCfop =
    "SELECT A.CFOP, SUM(B.BaseCalculoICMS) FROM NOTAFISCAL A JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal "
    "WHERE " NO_MES("A") "AND A.TipoNota =:TpNota AND " VALIDAS("A") "GROUP BY A.CFOP";
const char* const kTotalNotaPorCfop =
    "SELECT A.CFOP, SUM(A.ValorTotalNota) FROM NOTAFISCAL A "
    "WHERE " NO_MES("A") "AND A.TipoNota =:TpNota AND " VALIDAS("A") "GROUP BY A.CFOP";
const char* const kTotalNotaInternaPorCfop =
    "SELECT A.CFOP, SUM(A.ValorTotalNota) FROM NOTAFISCAL A "
    "WHERE " NO_MES("A") "AND A.TipoNota =:TpNota AND " VALIDAS("A") "AND (A.CFOP BETWEEN '1000' AND '1999') "
    "GROUP BY A.CFOP";

const char* const kIcmsTransporteEntrada =
    "SELECT SUM(A.ValorIcms) FROM NFTRANSPORTE A WHERE " NO_MES("A") "AND " TRANSPORTE_CREDITO;
const char* const kIcmsTransporteSaida =
    "SELECT SUM(A.ValorIcms) FROM NFTRANSPORTE A WHERE " NO_MES("A") "AND " CFOP_SAIDA;
const char* const kBaseTransporteSaida =
    "SELECT SUM(A.BaseCalcIcms) FROM NFTRANSPORTE A WHERE " NO_MES("A") "AND " CFOP_SAIDA;
const char* const kTotalTransporteAquisicao =
    "SELECT SUM(A.ValorTotal) FROM NFTRANSPORTE A WHERE " NO_MES("A") "AND " TRANSPORTE_AQUISICAO;
const char* const kTotalTransporteEntrada =
    "SELECT SUM(A.ValorTotal) FROM NFTRANSPORTE A WHERE " NO_MES("A") "AND " TRANSPORTE_ENTRADA;

const char* const kIcmsTalao = "SELECT SUM(A.ValorICMS) FROM NOTATALAO A WHERE " NO_MES("A");
const char* const kBaseTalao = "SELECT SUM(A.BaseICMS) FROM NOTATALAO A WHERE " NO_MES("A");

// The rate rows of the month, summed by rate text as they arrive (see TGrupos), so that the products of the
// debit are taken once per rate; rows without a rate add nothing to SUM(Aliquota/100 * ValorAcumulado).
const char* const kEcf =
    "SELECT '', B.Aliquota, B.ValorAcumulado FROM CUPOMFISCAL A JOIN CFALiquota B ON B.IDCupomFiscal = A.IDCupomFiscal "
    "WHERE " NO_MES("A");
const char* const kVendaBrutaEcf =
    "SELECT SUM(B.ValorAcumulado) FROM CUPOMFISCAL A JOIN CFALiquota B ON B.IDCupomFiscal = A.IDCupomFiscal "
    "WHERE " NO_MES("A");

const char* const kEntradasSN =
    "SELECT SUM(A.ValorTotalNota) FROM NOTAFISCAL A WHERE " NO_MES("A") "AND A.TipoNota =:TpNota AND " VALIDAS("A");

// Substitution lines of exits to parties of the home state. "X" (cancelled and extemporaneous) is not left
// out here, unlike in the ICMS sums; a null MVA passes neither "<> '5'" nor "= '5'". The invoice is the
// outer loop (CROSS JOIN keeps that order), walked by its month index, never the parties of the state.
#define SUBST_DO_MES                                                                                             \
    "FROM NOTAFISCAL A CROSS JOIN NFSUBSTRIB B CROSS JOIN CONTRIBUINTE C WHERE " NO_MES("A")                    \
    "AND B.IdNotaFiscal = A.IdNotaFiscal AND C.IdContribuinte = A.IdEmtDest "
#define SUBST_SAIDA(mva)                                                                                         \
    "A.TipoNota = 'S' AND C.UF = 'ZR' AND A.Situacao <> 'S' AND A.Situacao <> '2' AND A.Situacao <> '4' "      \
    "AND B.MVA " mva " "
// Interstate purchases: situation "N" only, the CFOP range (not the kind) selects entries, parties of
// another state (not the home state, not abroad).
#define SUBST_COMPRA "C.UF <> 'ZR' AND C.UF <> 'EX' AND A.Situacao = 'N' AND A.CFOP BETWEEN '2000' AND '2999' "
const char* const kSubstSaidasInternas = "SELECT SUM(B.ICMSRetido) " SUBST_DO_MES "AND " SUBST_SAIDA("<> '5'");
const char* const kSubstRegimeFonte = "SELECT SUM(B.ICMSRetido) " SUBST_DO_MES "AND " SUBST_SAIDA("= '5'");
const char* const kSubstEntradasOutrasUF = "SELECT SUM(B.ICMSRetido) " SUBST_DO_MES "AND " SUBST_COMPRA;

// The whole month read at once for the complete set of figures: one walk per document table (per line table
// for the invoices), the conditions of the single queries above turned into conditional sums; a null
// condition takes no row, as in WHERE. Rows to be grouped by CFOP or rate come one by one and are added up
// by their text as they arrive: a month holds few distinct codes, and GROUP BY would sort every row first.
const char* const kMesIcms =
    "SELECT A.TipoNota, A.CFOP, B.ValorICMS, B.BaseCalculoICMS FROM NOTAFISCAL A "
    "JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal WHERE " NO_MES("A") "AND A.TipoNota IN ('E', 'S') AND "
    VALIDAS("A");
const char* const kMesTotalNota =
    "SELECT 'E', A.CFOP, A.ValorTotalNota, A.CFOP BETWEEN '1000' AND '1999' FROM NOTAFISCAL A "
    "WHERE " NO_MES("A") "AND A.TipoNota = 'E' AND " VALIDAS("A");
// The invoice's own part of the conditions, repeated in WHERE, is checked before the joins: invoices that no
// sum takes are never joined to their lines and party.
const char* const kMesSubstituicao =
    "SELECT SUM(CASE WHEN " SUBST_SAIDA("<> '5'") "THEN B.ICMSRetido END), "
    "SUM(CASE WHEN " SUBST_SAIDA("= '5'") "THEN B.ICMSRetido END), "
    "SUM(CASE WHEN " SUBST_COMPRA "THEN B.ICMSRetido END) " SUBST_DO_MES
    "AND ((A.TipoNota = 'S' AND A.Situacao <> 'S' AND A.Situacao <> '2' AND A.Situacao <> '4') "
    "OR (A.Situacao = 'N' AND A.CFOP BETWEEN '2000' AND '2999'))";
const char* const kMesTransporte =
    "SELECT SUM(CASE WHEN " TRANSPORTE_CREDITO "THEN A.ValorIcms END), "
    "SUM(CASE WHEN " CFOP_SAIDA "THEN A.ValorIcms END), SUM(CASE WHEN " CFOP_SAIDA "THEN A.BaseCalcIcms END), "
    "SUM(CASE WHEN " TRANSPORTE_AQUISICAO "THEN A.ValorTotal END), "
    "SUM(CASE WHEN " TRANSPORTE_ENTRADA "THEN A.ValorTotal END) FROM NFTRANSPORTE A WHERE " NO_MES("A");
const char* const kMesTalao = "SELECT SUM(A.ValorICMS), SUM(A.BaseICMS) FROM NOTATALAO A WHERE " NO_MES("A");

#undef VALIDAS
#undef NO_MES
#undef CFOP_ENTRADA
#undef CFOP_SAIDA
#undef TRANSPORTE_VALIDO
#undef TRANSPORTE_CREDITO
#undef TRANSPORTE_AQUISICAO
#undef TRANSPORTE_ENTRADA
#undef SUBST_DO_MES
#undef SUBST_SAIDA
#undef SUBST_COMPRA

// An addition that refuses to wrap, as the engine's SUM does.
void acumula(Money& total, Money v)
{
    qint64 r = 0;
    if (__builtin_add_overflow(total.raw(), v.raw(), &r))
        throw EBancoDados(QString::fromUtf8("Soma além do limite dos valores monetários"));
    total = Money::fromRaw(r);
}

Money soma(std::initializer_list<Money> partes)
{
    Money total;
    for (Money v : partes)
        acumula(total, v);
    return total;
}

Money positivo(Money v) { return v > Money() ? v : Money(); }

qint64 inteiro(sqlite3_stmt* st, int coluna)
{
    return sqlite3_column_type(st, coluna) == SQLITE_NULL ? 0 : sqlite3_column_int64(st, coluna);
}

QString texto(sqlite3_stmt* st, int coluna)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, coluna));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, coluna)) : QString();
}

// A single-value sum; null (no rows) is 0. Raises EBancoDados.
Money soma(TDTMCON& con, const char* sql, const TParametros& p)
{
    qint64 v = 0;
    Sql::executa(con.db(), QString::fromLatin1(sql), p, nullptr, [&](sqlite3_stmt* st) { v = inteiro(st, 0); });
    return Money::fromRaw(v);
}

// A part that counts as 0 when the database refuses it.
Money ouZero(const std::function<Money()>& parte)
{
    try {
        return parte();
    } catch (const EBancoDados&) {
        return {};
    }
}

Money somaOuZero(TDTMCON& con, const char* sql, const TParametros& p)
{
    return ouZero([&] { return soma(con, sql, p); });
}

// Walks the (CFOP, amount) groups as the engine delivers them, the code trimmed; an error raised midway
// leaves what `grupo` already added.
void porCfop(TDTMCON& con, const char* sql, const TParametros& p, const std::function<void(const QString&, Money)>& grupo)
{
    Sql::executa(con.db(), QString::fromLatin1(sql), p, nullptr,
                 [&](sqlite3_stmt* st) { grupo(texto(st, 0).trimmed(), Money::fromRaw(inteiro(st, 1))); });
}

Money somaCfops(TDTMCON& con, const char* sql, const TParametros& p, const std::function<bool(const QString&)>& conta)
{
    Money total;
    porCfop(con, sql, p, [&](const QString& cfop, Money v) {
        if (conta(cfop))
            acumula(total, v);
    });
    return total;
}

bool umDe(const QString& cfop, std::initializer_list<const char*> codigos)
{
    for (const char* c : codigos)
        if (cfop == QLatin1String(c))
            return true;
    return false;
}

bool recebeCredito(const QString& cfop) { return umDe(cfop, {"1601", "1602", "1603", "2603"}); }
bool transfereCredito(const QString& cfop) { return umDe(cfop, {"5601", "5602", "5603", "6603"}); }

QSet<QString> conjunto(const QStringList& lista) { return QSet<QString>(lista.cbegin(), lista.cend()); }

// Rate text as Jet converts it for the division: blanks around it ignored, digits only.
qint64 aliquota(const QString& texto)
{
    const QString t = texto.trimmed();
    bool ok = !t.isEmpty();
    for (QChar c : t)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const qint64 r = ok && t.size() <= 9 ? t.toLongLong(&ok) : 0;
    if (!ok)
        throw EBancoDados(QStringLiteral("Tipo de dados incompatível na expressão: Aliquota '%1'").arg(texto));
    return r;
}

// The rows of one grouped sum: column 0 the kind ("E", "S" or empty), column 1 the text grouped by, column 2
// the amount and, when asked, column 3 a second amount. Groups are told apart as GROUP BY does: by the kind
// and the text byte for byte, null being a group of its own. An amount beyond the money range raises
// EBancoDados, as the engine's SUM would.
class TGrupos {
public:
    struct TGrupo {
        QByteArray tipo;
        bool nulo = false;
        QByteArray texto;
        qint64 marca = 0; // column 3 read as a number, for a condition on the text
        Money valor, outro;
    };

    TGrupos(bool segundoValor, bool marca) : m_segundoValor(segundoValor), m_marca(marca) {}

    void linha(sqlite3_stmt* st)
    {
        const QByteArrayView tipo(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
        const bool nulo = sqlite3_column_type(st, 1) == SQLITE_NULL;
        const QByteArrayView texto(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), sqlite3_column_bytes(st, 1));
        TGrupo* g = nullptr;
        for (TGrupo& x : m_grupos)
            if (x.nulo == nulo && x.texto == texto && x.tipo == tipo) {
                g = &x;
                break;
            }
        if (!g) {
            m_grupos.append({tipo.toByteArray(), nulo, texto.toByteArray(), m_marca ? inteiro(st, 3) : 0, {}, {}});
            g = &m_grupos.last();
        }
        acumula(g->valor, Money::fromRaw(inteiro(st, 2)));
        if (m_segundoValor)
            acumula(g->outro, Money::fromRaw(inteiro(st, 3)));
    }
    const QList<TGrupo>& grupos() const { return m_grupos; }

private:
    bool m_segundoValor;
    bool m_marca;
    QList<TGrupo> m_grupos;
};

TGrupos agrupa(sqlite3* db, const char* sql, const TParametros& p, bool segundoValor, bool marca)
{
    TGrupos g(segundoValor, marca);
    Sql::executa(db, QString::fromLatin1(sql), p, nullptr, [&](sqlite3_stmt* st) { g.linha(st); });
    return g;
}

// The month's rate rows: accumulated values by rate text (rows without a rate left out) and, when asked,
// the gross sales of every row.
struct TEcfDoMes {
    QList<QPair<QString, Money>> porAliquota;
    Money vendaBruta;
};

TEcfDoMes leEcf(sqlite3* db, const TParametros& p, bool comVendaBruta)
{
    TEcfDoMes r;
    const TGrupos grupos = agrupa(db, kEcf, p, false, false);
    for (const auto& g : grupos.grupos()) {
        if (comVendaBruta)
            acumula(r.vendaBruta, g.valor);
        if (!g.nulo)
            r.porAliquota.append({QString::fromUtf8(g.texto), g.valor});
    }
    return r;
}

Money debitoEcf(TDTMCON& con, const TParametros& p) { return DebitoEcf(leEcf(con.db(), p, false).porAliquota); }

} // namespace

Money DebitoEcf(const QList<QPair<QString, Money>>& valoresPorAliquota)
{
    // (rate / 100) * value / 100 in money units is rate * raw / 10000 in ten-thousandths: the sum of the
    // products is exact in integers, and only the one division at the end rounds.
    qint64 produtos = 0;
    for (const auto& [texto, valor] : valoresPorAliquota) {
        qint64 produto = 0;
        if (__builtin_mul_overflow(aliquota(texto), valor.raw(), &produto) ||
            __builtin_add_overflow(produtos, produto, &produtos))
            throw EBancoDados(QStringLiteral("Estouro no valor do ICMS das reduções Z"));
    }
    return Money::fromRaw(divideTiesToEven(produtos, 10000));
}

const QStringList& CfopsForaReceitaEPP()
{
    static const QStringList lista =
        QStringLiteral("5151 5152 5153 5155 5156 5408 5409 5557 6151 6152 6153 6155 6156 6408 6409 6557")
            .split(QLatin1Char(' '));
    return lista;
}

bool CfopReceitaEPP(const QString& codigo)
{
    static const QSet<QString> fora = conjunto(CfopsForaReceitaEPP());
    return !fora.contains(codigo);
}

const QStringList& CfopsForaAquisicaoEPP()
{
    static const QStringList lista = QStringLiteral(
        "1151 1152 1153 1154 1201 1202 1203 1204 1205 1206 1207 1208 1209 1408 1409 1410 1411 1414 1415 1552 "
        "1553 1554 1555 1556 1557 1601 1602 1603 1901 1902 1903 1904 1905 1906 1907 1908 1909 1910 1911 1912 "
        "1913 1914 1915 1916 1917 1918 1919 1920 1921 1922 1923 1924 1925 1926 2151 2152 2153 2154 2201 2202 "
        "2203 2204 2205 2206 2207 2208 2209 2408 2409 2410 2411 2414 2415 2501 2503 2504 2552 2553 2554 2555 "
        "2557 2603 2661 2662 2663 2664 2901 2902 2903 2904 2905 2906 2907 2908 2909 2910 2911 2912 2913 2914 "
        "2915 2916 2917 2918 2919 2920 2921 2922 2923 2924 2925 2949 3503 3553 3930").split(QLatin1Char(' '));
    return lista;
}

bool CfopAquisicaoEPP(const QString& codigo)
{
    static const QSet<QString> fora = conjunto(CfopsForaAquisicaoEPP());
    return !fora.contains(codigo);
}

Money CreditoPorEntradas(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = doMes(idAtivo, mes, ano);
    const Money notas = somaCfops(con, kIcmsPorCfop, comTipo(p, "E"), CfopGeraCreditoEntrada);
    return soma({notas, somaOuZero(con, kIcmsTransporteEntrada, p)});
}

Money CreditoAcumuladoRecebido(TDTMCON& con, int idAtivo, int mes, int ano)
{
    return somaCfops(con, kIcmsPorCfop, comTipo(doMes(idAtivo, mes, ano), "E"), recebeCredito);
}

Money DebitoPorSaidas(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = doMes(idAtivo, mes, ano);
    Money notas;
    try {
        porCfop(con, kIcmsPorCfop, comTipo(p, "S"), [&](const QString& cfop, Money v) {
            if (!transfereCredito(cfop) && cfop != QLatin1String("5934") && cfop != QLatin1String("6934"))
                acumula(notas, v);
        });
    } catch (const EBancoDados&) {
        // The groups added before the error stay in.
    }
    return soma({notas, ouZero([&] { return debitoEcf(con, p); }), somaOuZero(con, kIcmsTalao, p),
                 somaOuZero(con, kIcmsTransporteSaida, p)});
}

Money TransferenciaCreditoAcumulado(TDTMCON& con, int idAtivo, int mes, int ano)
{
    return somaCfops(con, kIcmsPorCfop, comTipo(doMes(idAtivo, mes, ano), "S"), transfereCredito);
}

Money SubstituicaoSaidasInternas(TDTMCON& con, int idAtivo, int mes, int ano)
{
    return somaOuZero(con, kSubstSaidasInternas, doMes(idAtivo, mes, ano));
}

Money SubstituicaoRegimeFonte(TDTMCON& con, int idAtivo, int mes, int ano)
{
    return somaOuZero(con, kSubstRegimeFonte, doMes(idAtivo, mes, ano));
}

Money SubstituicaoEntradasOutrasUF(TDTMCON& con, int idAtivo, int mes, int ano)
{
    return somaOuZero(con, kSubstEntradasOutrasUF, doMes(idAtivo, mes, ano));
}

Money SaldoCredorAnterior(TDTMCON& con, int idAtivo, int mes, int ano)
{
    if (mes < 1 || mes > 12)
        return {};
    const QString anterior = mes == 1 ? periodoTexto(12, ano - 1) : periodoTexto(mes - 1, ano);
    return ouZero([&] {
        TDataSet q(con);
        q.setCommandText(QStringLiteral("SELECT * FROM ZEL WHERE IdContribuinte =:IdAtivo AND Periodo =:pPeriodo ORDER BY IDZel"));
        q.setParam(QStringLiteral("IdAtivo"), idAtivo);
        q.setParam(QStringLiteral("pPeriodo"), anterior);
        q.open();
        if (q.isEmpty())
            return Money();
        // The same sums as the declaration screen and the loaded row.
        const TTotaisZel t = TotaisZel(LeValoresZel(q));
        return positivo(t.credTotal - t.debTotal);
    });
}

Money ReceitaApuradaEPP(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = doMes(idAtivo, mes, ano);
    const Money saidas = somaCfops(con, kBasePorCfop, comTipo(p, "S"), CfopReceitaEPP);
    const Money transferenciasRecebidas =
        somaCfops(con, kBasePorCfop, comTipo(p, "E"), [](const QString& cfop) { return !CfopReceitaEPP(cfop); });
    return soma({positivo(saidas - transferenciasRecebidas), somaOuZero(con, kVendaBrutaEcf, p),
                 somaOuZero(con, kBaseTalao, p), somaOuZero(con, kBaseTransporteSaida, p)});
}

Money TotalAquisicoesEPP(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = doMes(idAtivo, mes, ano);
    // All or nothing: an error midway drops the groups already added.
    const Money notas = ouZero([&] { return somaCfops(con, kTotalNotaPorCfop, comTipo(p, "E"), CfopAquisicaoEPP); });
    return soma({notas, somaOuZero(con, kTotalTransporteAquisicao, p)});
}

Money AquisicoesInternasEPP(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = comTipo(doMes(idAtivo, mes, ano), "E");
    return ouZero([&] { return somaCfops(con, kTotalNotaInternaPorCfop, p, CfopAquisicaoEPP); });
}

Money TotalEntradasSN(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TParametros p = doMes(idAtivo, mes, ano);
    return soma({somaOuZero(con, kEntradasSN, comTipo(p, "E")), somaOuZero(con, kTotalTransporteEntrada, p)});
}

bool ExistemDocumentos(TDTMCON& con, int idAtivo, const QString& periodo)
{
    const QString t = periodo.trimmed();
    bool okAno = false, okMes = false;
    const int ano = t.left(4).toInt(&okAno);
    const int mes = t.mid(4).toInt(&okMes);
    if (t.size() != 6 || !okAno || !okMes || mes < 1 || mes > 12)
        return false;
    const TParametros p = doMes(idAtivo, mes, ano);
    // No situation filter: cancelled and voided documents are documents of the month. Every query runs, as
    // the save check has always run them.
    static const char* const consultas[] = {
        "SELECT 1 FROM NOTAFISCAL A JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal WHERE "
        "A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
        "SELECT 1 FROM NOTAFISCAL A JOIN NFIPI B ON B.IdNotaFiscal = A.IdNotaFiscal WHERE "
        "A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
        "SELECT 1 FROM NOTAFISCAL A JOIN NFSUBSTRIB B ON B.IdNotaFiscal = A.IdNotaFiscal WHERE "
        "A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
        "SELECT 1 FROM CUPOMFISCAL A WHERE A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
        "SELECT 1 FROM NOTATALAO A WHERE A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
        "SELECT 1 FROM NFTRANSPORTE A WHERE A.IdContribuinte =:IdAtivo AND A.DtEmissao >= :Inicio AND A.DtEmissao < :Fim LIMIT 1",
    };
    bool existe = false;
    for (const char* sql : consultas)
        Sql::executa(con.db(), QString::fromLatin1(sql), p, nullptr, [&](sqlite3_stmt*) { existe = true; });
    return existe;
}

namespace {

struct TGrupoIcms {
    QString codigo; // trimmed
    Money icms, base;
};
struct TGrupoTotal {
    QString codigo;  // trimmed
    bool interna;    // the stored text within '1000'..'1999'
    Money total;
};

// Every sum of the month that the figures are made of, read with one walk per document table.
struct TMesLido {
    QList<TGrupoIcms> entradas, saidas;
    QList<TGrupoTotal> totaisEntradas;
    Money substSaidasInternas, substRegimeFonte, substEntradasOutrasUF;
    Money transporteCredito, transporteIcmsSaida, transporteBaseSaida, transporteAquisicao, transporteEntrada;
    Money talaoIcms, talaoBase;
    QList<QPair<QString, Money>> ecfPorAliquota; // rows with a rate
    Money vendaBrutaEcf;                         // every row
};

TMesLido leMes(TDTMCON& con, const TParametros& p)
{
    sqlite3* db = con.db();
    TMesLido m;
    const TGrupos icms = agrupa(db, kMesIcms, p, true, false);
    for (const auto& g : icms.grupos())
        (g.tipo == "E" ? m.entradas : m.saidas).append({QString::fromUtf8(g.texto).trimmed(), g.valor, g.outro});
    const TGrupos totais = agrupa(db, kMesTotalNota, p, false, true);
    for (const auto& g : totais.grupos())
        m.totaisEntradas.append({QString::fromUtf8(g.texto).trimmed(), g.marca != 0, g.valor});
    Sql::executa(db, QString::fromLatin1(kMesSubstituicao), p, nullptr, [&](sqlite3_stmt* st) {
        m.substSaidasInternas = Money::fromRaw(inteiro(st, 0));
        m.substRegimeFonte = Money::fromRaw(inteiro(st, 1));
        m.substEntradasOutrasUF = Money::fromRaw(inteiro(st, 2));
    });
    Sql::executa(db, QString::fromLatin1(kMesTransporte), p, nullptr, [&](sqlite3_stmt* st) {
        m.transporteCredito = Money::fromRaw(inteiro(st, 0));
        m.transporteIcmsSaida = Money::fromRaw(inteiro(st, 1));
        m.transporteBaseSaida = Money::fromRaw(inteiro(st, 2));
        m.transporteAquisicao = Money::fromRaw(inteiro(st, 3));
        m.transporteEntrada = Money::fromRaw(inteiro(st, 4));
    });
    Sql::executa(db, QString::fromLatin1(kMesTalao), p, nullptr, [&](sqlite3_stmt* st) {
        m.talaoIcms = Money::fromRaw(inteiro(st, 0));
        m.talaoBase = Money::fromRaw(inteiro(st, 1));
    });
    TEcfDoMes ecf = leEcf(db, p, true);
    m.ecfPorAliquota = std::move(ecf.porAliquota);
    m.vendaBrutaEcf = ecf.vendaBruta;
    return m;
}

Money somaIcms(const QList<TGrupoIcms>& grupos, bool (*conta)(const QString&), bool base = false)
{
    Money total;
    for (const TGrupoIcms& g : grupos)
        if (conta(g.codigo))
            acumula(total, base ? g.base : g.icms);
    return total;
}

Money somaTotais(const QList<TGrupoTotal>& grupos, bool (*conta)(const TGrupoTotal&))
{
    Money total;
    for (const TGrupoTotal& g : grupos)
        if (conta(g))
            acumula(total, g.total);
    return total;
}

// The figures of the functions above from one reading of the month. Raises EBancoDados when a table cannot
// be read or a sum leaves the money range; the caller then takes the figures one by one, each with its own
// rule for errors.
QList<Money> figurasDoMes(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const TMesLido m = leMes(con, doMes(idAtivo, mes, ano));
    const Money ecf = ouZero([&] { return DebitoEcf(m.ecfPorAliquota); });
    const Money receita = positivo(somaIcms(m.saidas, CfopReceitaEPP, true) -
                                   somaIcms(m.entradas, [](const QString& c) { return !CfopReceitaEPP(c); }, true));
    return {
        soma({somaIcms(m.entradas, CfopGeraCreditoEntrada), m.transporteCredito}),
        somaIcms(m.entradas, recebeCredito),
        soma({somaIcms(m.saidas,
                       [](const QString& c) {
                           return !transfereCredito(c) && c != QLatin1String("5934") && c != QLatin1String("6934");
                       }),
              ecf, m.talaoIcms, m.transporteIcmsSaida}),
        somaIcms(m.saidas, transfereCredito),
        m.substSaidasInternas,
        m.substRegimeFonte,
        m.substEntradasOutrasUF,
        SaldoCredorAnterior(con, idAtivo, mes, ano),
        soma({receita, m.vendaBrutaEcf, m.talaoBase, m.transporteBaseSaida}),
        soma({somaTotais(m.totaisEntradas, [](const TGrupoTotal& g) { return CfopAquisicaoEPP(g.codigo); }),
              m.transporteAquisicao}),
        somaTotais(m.totaisEntradas, [](const TGrupoTotal& g) { return g.interna && CfopAquisicaoEPP(g.codigo); }),
        soma({somaTotais(m.totaisEntradas, [](const TGrupoTotal&) { return true; }), m.transporteEntrada}),
    };
}

} // namespace

QList<TFiguraApuracao> FigurasApuracao(TDTMCON& con, int idAtivo, int mes, int ano)
{
    using Figura = Money (*)(TDTMCON&, int, int, int);
    static const QList<QPair<const char*, Figura>> figuras = {
        {"CreditoPorEntradas", CreditoPorEntradas},
        {"CreditoAcumuladoRecebido", CreditoAcumuladoRecebido},
        {"DebitoPorSaidas", DebitoPorSaidas},
        {"TransferenciaCreditoAcumulado", TransferenciaCreditoAcumulado},
        {"SubstituicaoSaidasInternas", SubstituicaoSaidasInternas},
        {"SubstituicaoRegimeFonte", SubstituicaoRegimeFonte},
        {"SubstituicaoEntradasOutrasUF", SubstituicaoEntradasOutrasUF},
        {"SaldoCredorAnterior", SaldoCredorAnterior},
        {"ReceitaApuradaEPP", ReceitaApuradaEPP},
        {"TotalAquisicoesEPP", TotalAquisicoesEPP},
        {"AquisicoesInternasEPP", AquisicoesInternasEPP},
        {"TotalEntradasSN", TotalEntradasSN},
    };
    QList<Money> valores;
    try {
        valores = figurasDoMes(con, idAtivo, mes, ano);
    } catch (const EBancoDados&) {
        // Errors are rare and each figure treats them its own way (a part as 0, the groups summed so far,
        // or the error passed on): the single queries give exactly that.
        valores.clear();
        for (const auto& figura : figuras)
            valores.append(figura.second(con, idAtivo, mes, ano));
    }
    QList<TFiguraApuracao> r;
    r.reserve(figuras.size());
    for (int i = 0; i < figuras.size(); ++i)
        r.append({QString::fromLatin1(figuras[i].first), valores[i]});
    return r;
}

QString ValorComPonto(Money valor)
{
    return valor.toEditText().replace(QLatin1Char(','), QLatin1Char('.'));
}

QStringList LinhasApuracao(TDTMCON& con, int idAtivo, int mes, int ano)
{
    const QList<TFiguraApuracao> figuras = FigurasApuracao(con, idAtivo, mes, ano);
    const bool existem = ExistemDocumentos(con, idAtivo, periodoTexto(mes, ano));
    QStringList linhas;
    for (const TFiguraApuracao& f : figuras)
        linhas << f.nome + QLatin1Char('\t') + ValorComPonto(f.valor);
    linhas << QStringLiteral("ExistemDocumentos\t") + (existem ? QStringLiteral("sim") : QStringLiteral("nao"));
    return linhas;
}

QString ValorQuatroCasas(Money valor)
{
    const qint64 raw = valor.raw();
    const quint64 abs = raw < 0 ? quint64(-(raw + 1)) + 1 : quint64(raw);
    return (raw < 0 ? QStringLiteral("-") : QString()) + QString::number(abs / 10000) + QLatin1Char('.') +
           QString::number(abs % 10000).rightJustified(4, QLatin1Char('0'));
}
