#pragma once
#include <QDate>
#include <QList>
#include <QString>

#include "core/untMoney.h"

class TDataSet;
class TDTMCON;

// The browse screen's queries. Month filters are written as date ranges so that they run on the
// (IdContribuinte, DtEmissao) index; the results are those of filtering by MONTH() and YEAR().
namespace ConsultasNotas {

// The period of a search: a month 1..12 of a year, every period when `todos`, or no period at all when
// `nenhum` (a month number outside 1..12, which no row has).
struct TPeriodo {
    bool todos = false;
    bool nenhum = false;
    int mes = 0;
    int ano = 0;
};
// The month text of the screen ("**" or a number) with the year text.
TPeriodo periodo(const QString& mes, const QString& ano);

// The period condition of a query on `coluna` ("AND ... " or nothing for every period) and its parameters.
QString CondicaoPeriodo(const TPeriodo& p, const QString& coluna);
void LigaPeriodo(TDataSet& q, const TPeriodo& p);

// The taxpayer's rows of a document table (a name from the code, never typed) in the period, in `ordem`.
void AbreListaDe(TDataSet& lista, const char* tabela, const char* ordem, int idAtivo, const TPeriodo& p);
TPeriodo TodosOsPeriodos();

// The list of "Pesquisar": the taxpayer's invoices of one kind ("E"/"S") in the period, by date.
void AbreLista(TDataSet& lista, int idAtivo, const QString& tipo, const TPeriodo& p);

struct TResumo {
    qint64 quantidade = 0;
    Money valorTotal, baseIcms, valorIcms, isentaIcms, outrasIcms, valorIpi, isentaIpi, outrasIpi, baseSubst,
        icmsRetido, despAcessorias;
};
// The "Resumo" sums: cancelled ("S", "X"), denied ("2") and voided ("4") notes left out.
TResumo Resumo(TDTMCON& con, int idAtivo, const QString& tipo, const TPeriodo& p);

struct TBarra {
    int mes = 0;
    Money total;
};
// The chart: the totals per month number from the first day of the month that holds the day 240 days
// before today, the same situations left out.
QList<TBarra> Grafico(TDTMCON& con, int idAtivo, const QString& tipo, const QDate& hoje);
QDate InicioDoGrafico(const QDate& hoje);
// The same chart over another document table (a name from the code, never typed): the sums of `soma` per
// month number, of every row of the taxpayer.
QList<TBarra> GraficoMensal(TDTMCON& con, const char* tabela, const char* soma, int idAtivo, const QDate& hoje);
// Whether the taxpayer has any row in the table; a failing query counts as none.
bool ExisteAlguma(TDTMCON& con, const char* tabela, int idAtivo);
// The keys of the voided numbers ("4") the list holds for the day of its current row, in list order.
QList<int> InutilizadasDoDia(const TDataSet& lista, const QString& colunaId);

} // namespace ConsultasNotas
