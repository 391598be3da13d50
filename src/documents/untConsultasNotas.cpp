#include "documents/untConsultasNotas.h"

#include "core/untDatas.h"
#include "db/untSqlite.h"

namespace ConsultasNotas {

TPeriodo periodo(const QString& mes, const QString& ano)
{
    TPeriodo p;
    bool ok = false;
    p.mes = mes.trimmed().toInt(&ok);
    p.todos = !ok;
    // Month 0 or 13 is a month like any other to the search: it has no rows, it does not mean "every period".
    p.nenhum = ok && (p.mes < 1 || p.mes > 12);
    p.ano = ano.trimmed().toInt();
    return p;
}

QString CondicaoPeriodo(const TPeriodo& p, const QString& coluna)
{
    if (p.nenhum)
        return QStringLiteral("AND 0 = 1 ");
    return p.todos ? QString() : QStringLiteral("AND %1 >= :Inicio AND %1 < :Fim ").arg(coluna);
}

void LigaPeriodo(TDataSet& q, const TPeriodo& p)
{
    if (p.todos || p.nenhum)
        return;
    q.setParam(QStringLiteral("Inicio"), Datas::inicioDoMes(p.mes, p.ano));
    q.setParam(QStringLiteral("Fim"), Datas::inicioDoMesSeguinte(p.mes, p.ano));
}

void AbreListaDe(TDataSet& lista, const char* tabela, const char* ordem, int idAtivo, const TPeriodo& p)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM %1 WHERE IdContribuinte =:IdAtivo ").arg(QString::fromLatin1(tabela)) +
                         CondicaoPeriodo(p, QStringLiteral("DtEmissao")) + QStringLiteral("ORDER BY ") +
                         QString::fromLatin1(ordem));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    LigaPeriodo(lista, p);
    lista.open();
}

TPeriodo TodosOsPeriodos()
{
    TPeriodo p;
    p.todos = true;
    return p;
}

void AbreLista(TDataSet& lista, int idAtivo, const QString& tipo, const TPeriodo& p)
{
    lista.setCommandText(QStringLiteral("SELECT * FROM NOTAFISCAL WHERE IdContribuinte =:IdAtivo AND TipoNota =:TpNota ") +
                         CondicaoPeriodo(p, QStringLiteral("DtEmissao")) + QStringLiteral("ORDER BY DtEmissao"));
    lista.setParam(QStringLiteral("IdAtivo"), idAtivo);
    lista.setParam(QStringLiteral("TpNota"), tipo);
    LigaPeriodo(lista, p);
    lista.open();
}

static const char* const kForaDosTotais =
    "AND Situacao <> 'S' AND Situacao <> 'X' AND Situacao <> '2' AND Situacao <> '4' ";

TResumo Resumo(TDTMCON& con, int idAtivo, const QString& tipo, const TPeriodo& p)
{
    TDataSet q(con);
    q.setCommandText(
        QStringLiteral("SELECT COUNT(*) AS QUANT, SUM(A.ValorTotalNota) AS Somatorio, SUM(B.BaseCalculoICMS) AS BASEICMS, "
                       "SUM(B.VALORICMS) AS VLRICMS, SUM(B.ISENTAICMS) AS ISENTAICMS, SUM(B.OUTRASICMS) AS OUTRASICMS, "
                       "SUM(C.VALORIPI) AS VLRIPI, SUM(C.ISENTAIPI) AS ISENTAIPI, SUM(C.OUTRASIPI) AS OUTRASIPI, "
                       "SUM(D.BASECALCULOSUBST) AS BASESUBST, SUM(D.ICMSRETIDO) AS ICMSRETIDO, "
                       "SUM(D.DESPACESSORIAS) AS DESPACESS "
                       "FROM NOTAFISCAL A JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal "
                       "JOIN NFIPI C ON C.IdNotaFiscal = A.IdNotaFiscal "
                       "JOIN NFSUBSTRIB D ON D.IdNotaFiscal = A.IdNotaFiscal "
                       "WHERE A.IdContribuinte =:IdAtivo AND A.TipoNota =:TpNota ") +
        QString::fromLatin1(kForaDosTotais) + CondicaoPeriodo(p, QStringLiteral("A.DtEmissao")));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("TpNota"), tipo);
    LigaPeriodo(q, p);
    q.open();
    TResumo r;
    r.quantidade = q.fieldByName(QStringLiteral("QUANT")).toLongLong();
    r.valorTotal = q.asMoney(QStringLiteral("Somatorio"));
    r.baseIcms = q.asMoney(QStringLiteral("BASEICMS"));
    r.valorIcms = q.asMoney(QStringLiteral("VLRICMS"));
    r.isentaIcms = q.asMoney(QStringLiteral("ISENTAICMS"));
    r.outrasIcms = q.asMoney(QStringLiteral("OUTRASICMS"));
    r.valorIpi = q.asMoney(QStringLiteral("VLRIPI"));
    r.isentaIpi = q.asMoney(QStringLiteral("ISENTAIPI"));
    r.outrasIpi = q.asMoney(QStringLiteral("OUTRASIPI"));
    r.baseSubst = q.asMoney(QStringLiteral("BASESUBST"));
    r.icmsRetido = q.asMoney(QStringLiteral("ICMSRETIDO"));
    r.despAcessorias = q.asMoney(QStringLiteral("DESPACESS"));
    return r;
}

QDate InicioDoGrafico(const QDate& hoje)
{
    const QDate antes = hoje.addDays(-240);
    return QDate(antes.year(), antes.month(), 1);
}

QList<TBarra> Grafico(TDTMCON& con, int idAtivo, const QString& tipo, const QDate& hoje)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT MONTH(DTEMISSAO) AS Mes, SUM(VALORTOTALNOTA) AS TOTAIS FROM NOTAFISCAL "
                                    "WHERE IdContribuinte =:IdAtivo AND DTEMISSAO >= :Inicio AND TipoNota =:TpNota ") +
                     QString::fromLatin1(kForaDosTotais) + QStringLiteral("GROUP BY MONTH(DTEMISSAO) ORDER BY MIN(DTEMISSAO)"));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("Inicio"), Datas::paraBanco(InicioDoGrafico(hoje)));
    q.setParam(QStringLiteral("TpNota"), tipo);
    q.open();
    QList<TBarra> barras;
    for (q.first(); !q.eof(); q.next())
        barras.append({q.asInteger(QStringLiteral("Mes")), q.asMoney(QStringLiteral("TOTAIS"))});
    return barras;
}

QList<TBarra> GraficoMensal(TDTMCON& con, const char* tabela, const char* soma, int idAtivo, const QDate& hoje)
{
    TDataSet q(con);
    q.setCommandText(QStringLiteral("SELECT MONTH(DTEMISSAO) AS MES, SUM(%1) AS TOTAIS FROM %2 "
                                    "WHERE IdContribuinte =:IdAtivo AND DTEMISSAO >= :Inicio "
                                    "GROUP BY MONTH(DTEMISSAO) ORDER BY MIN(DTEMISSAO)")
                         .arg(QString::fromLatin1(soma), QString::fromLatin1(tabela)));
    q.setParam(QStringLiteral("IdAtivo"), idAtivo);
    q.setParam(QStringLiteral("Inicio"), Datas::paraBanco(InicioDoGrafico(hoje)));
    q.open();
    QList<TBarra> barras;
    for (q.first(); !q.eof(); q.next())
        barras.append({q.asInteger(QStringLiteral("MES")), q.asMoney(QStringLiteral("TOTAIS"))});
    return barras;
}

bool ExisteAlguma(TDTMCON& con, const char* tabela, int idAtivo)
{
    try {
        TDataSet q(con);
        q.setCommandText(QStringLiteral("SELECT 1 FROM %1 WHERE IdContribuinte =:IdAtivo LIMIT 1").arg(QString::fromLatin1(tabela)));
        q.setParam(QStringLiteral("IdAtivo"), idAtivo);
        q.open();
        return !q.isEmpty();
    } catch (const EBancoDados&) {
        return false;
    }
}

QList<int> InutilizadasDoDia(const TDataSet& lista, const QString& colunaId)
{
    QList<int> ids;
    if (!lista.active() || lista.isEmpty() || lista.recNo() < 0)
        return ids;
    const int c = lista.fieldIndex(QStringLiteral("Situacao"));
    const int d = lista.fieldIndex(QStringLiteral("DtEmissao"));
    const int k = lista.fieldIndex(colunaId);
    const QString dia = lista.value(lista.recNo(), d).toString().left(10);
    for (int i = 0; i < lista.recordCount(); ++i)
        if (lista.value(i, c).toString().trimmed() == QLatin1String("4") && lista.value(i, d).toString().left(10) == dia)
            ids << lista.value(i, k).toInt();
    return ids;
}

} // namespace ConsultasNotas
