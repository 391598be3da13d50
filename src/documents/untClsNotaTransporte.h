#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "core/untMoney.h"

class TDTM;

// A transport document (freight bill) of the open taxpayer.
struct TNotaTransporte {
    int IDNFTransporte = 0;
    int IDContribuinte = 0;
    int IDEmitente = 0;      // the other party: issuer of a received document, taker of an issued one
    QDate DtEmissao;
    QString Modelo, Serie, SubSerie;
    QString Numero;          // zero-filled to six
    QString Cfop;
    Money ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras;
    QString Modalidade;      // "1" CIF, "2" FOB
    QString Situacao;        // "N", "S", "2", "4"
    QString Obs;
    QDateTime DtUltAlteracao;
};

// An invoice covering the goods a transport document carried.
struct TNotaCarga {
    int IDNFCarga = 0;
    int IDContribuinte = 0;
    int IDTomador = 0;
    int IDDestino = 0;       // 0 when no recipient was chosen
    int IDNotaTransporte = 0;
    QDate DtEmissao;
    QString ModeloNF, SerieNF, SubSerieNF, NumNF;
    Money ValorNF;
    QDateTime DtUltAlteracao;
};

// The statements of transport documents and their cargo notes. Writes return false when nothing was written
// (a refusal, or no row to change); the caller owns the edit transaction, except for the deletion of a
// document, which takes its cargo notes with it, all or nothing.
class TNotasTransporte {
public:
    explicit TNotasTransporte(TDTM& dtm) : m_dtm(dtm) {}

    // The stored date of a document that makes `n` a duplicate (taxpayer, other party, model, number and
    // CFOP; the series is not compared); an invalid date when there is none. A stored document (a key in `n`)
    // is not its own duplicate.
    QDate Duplicata(const TNotaTransporte& n);
    // Inserts the document and reads its key back into `n`.
    bool Incluir(TNotaTransporte& n);
    bool Alterar(const TNotaTransporte& n);
    // The document of this key, only when it is the taxpayer's.
    bool Carregar(int idNota, int idContribuinte, TNotaTransporte& n);
    bool Excluir(int idNota, QString* erro = nullptr);
    // Several documents (a voided range) with their cargo notes, all or nothing.
    bool Excluir(const QList<int>& idsNotas, QString* erro = nullptr);

    bool IncluirCarga(TNotaCarga& c);
    bool AlterarCarga(const TNotaCarga& c);
    bool ExcluirCarga(int idCarga);
    QList<TNotaCarga> Cargas(int idNota);

    // "1" → "01", "55" stays: the model of a cargo note as stored.
    static QString ModeloCarga(const QString& digitado);

private:
    TDTM& m_dtm;
};

namespace ConsultasNotas {
struct TPeriodo;
struct TBarra;
}
class TDataSet;
class TDTMCON;

// The browse screen's queries over the period rules of the other documents.
namespace ConsultasTransporte {

// The taxpayer's documents of one freight mode ("1" CIF, "2" FOB) in the period, by date, number and code.
void AbreLista(TDataSet& lista, int idAtivo, const QString& modalidade, const ConsultasNotas::TPeriodo& p);
// Every document of the taxpayer in the same order: the list after an edit.
void AbreTodas(TDataSet& lista, int idAtivo);

struct TResumo {
    qint64 quantidade = 0;
    Money valorTotal, baseIcms, valorIcms, isenta, outras;
};
// Cancelled, denied and voided documents left out.
TResumo Resumo(TDTMCON& con, int idAtivo, const QString& modalidade, const ConsultasNotas::TPeriodo& p);
// The totals per month number of every document of the taxpayer from the first day of the month that
// holds the day 240 days before today.
QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje);
bool ExisteAlguma(TDTMCON& con, int idAtivo);

} // namespace ConsultasTransporte
