#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "core/untMoney.h"
#include "documents/untConsultasNotas.h"

class TDataSet;
class TDTM;
class TDTMCON;

// One run of consecutive series D notes of one day, with the run's totals and its single rate.
struct TNotaTalao {
    int IDNotaTalao = 0;
    int IDContribuinte = 0;
    QDate DtEmissao;
    QString Modelo;
    QString Serie;
    QString SubSerie;
    int NumeroInicial = 0;
    int NumeroFinal = 0;
    Money ValorTotal, BaseICMS, ValorICMS, Isenta, Outras;
    QString Aliquota;  // hundredths of a percent, no padding: "1700", "700"
    QDateTime DtUltAlteracao;
};

// The statements of NOTATALAO. Each returns false when the engine refuses it or when it changed no row
// (a row deleted meanwhile is not a success); `erro` gets the engine's text when there is one.
class TNotasTalao {
public:
    explicit TNotasTalao(TDTM& dtm) : m_dtm(dtm) {}

    // Inserts the row and keeps the key it got in `nota`.
    bool Incluir(TNotaTalao& nota, QString* erro = nullptr);
    // Rewrites the row of `nota.IDNotaTalao`, only when it belongs to `nota.IDContribuinte`.
    bool Alterar(const TNotaTalao& nota, QString* erro = nullptr);
    // Reads the row by key and taxpayer; false when it is not there. Raises EBancoDados.
    bool Carregar(int idNotaTalao, int idContribuinte, TNotaTalao& nota);
    // Deletes the row in a transaction of its own (a savepoint inside an open one).
    bool Excluir(int idNotaTalao, int idContribuinte, QString* erro = nullptr);
    // True when the taxpayer has any row at all; a failing query counts as none.
    bool ExisteAlguma(int idContribuinte);

private:
    TDTM& m_dtm;
};

// The browse screen's queries over the same period rules as the invoices'.
namespace ConsultasTalao {

// The taxpayer's rows of the period, by date (every row when the period says so).
void AbreLista(TDataSet& lista, int idAtivo, const ConsultasNotas::TPeriodo& p);
// Every row of the taxpayer, by date: the list the browse screen shows after an edit.
void AbreTodas(TDataSet& lista, int idAtivo);

struct TResumo {
    qint64 quantidade = 0;
    Money vendaBruta, baseIcms, valorIcms, isenta, outras;
};
TResumo Resumo(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p);

// The totals per month number from the first day of the month that holds the day 240 days before today.
QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje);

} // namespace ConsultasTalao
