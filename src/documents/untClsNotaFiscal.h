#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

#include "core/untMoney.h"

class TDTM;

// One invoice row with its ICMS, IPI and tax-substitution lines: the four rows are always written,
// changed and deleted together.
struct TNotaFiscal {
    int IdNotaFiscal = 0;
    int IdContribuinte = 0;
    int IdEmtDest = 0;
    QDate DtEmissao;
    QString TipoNota;      // "E" / "S"
    QString Modelo;
    QString Serie;
    QString SubSerie;
    QString NumeroNF;      // zero-filled to six
    QString Cfop;
    QString Emitente;      // "T" / "P"
    Money ValorTotalNota;
    QString Situacao;
    QString Obs;
    QDateTime DtUltAlteracao;

    int IdNfIcms = 0;
    Money BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS;
    QString AliquotaICMS;  // hundredths of a percent: "1700"

    int IdNfIpi = 0;
    Money ValorIPI, IsentaIPI, OutrasIPI;

    int IdNfSubsTrib = 0;
    Money BaseCalculoSubst, ICMSRetido, DespAcessorias;
    QString MVA;           // "5" or a blank
};

// The statements of the invoice tables. Each returns false when the database refuses it; the caller
// decides the message and owns the transaction.
class TNotasFiscais {
public:
    explicit TNotasFiscais(TDTM& dtm) : m_dtm(dtm) {}

    // The stored emission date of a row that makes `nota` a duplicate (same taxpayer, counterparty, model,
    // series, number, operation code and rate); an invalid date when there is none or the query fails.
    QDate Duplicata(const TNotaFiscal& nota);
    // Inserts the invoice row, reads its key back into `nota`, then its three lines. `etapa` names what failed.
    enum class Etapa { Nenhuma, Nota, Icms, Ipi, Subst };
    bool Incluir(TNotaFiscal& nota, Etapa* etapa = nullptr);
    bool Alterar(const TNotaFiscal& nota, Etapa* etapa = nullptr);
    // Reads one invoice with its first line of each kind; false when the row is not the taxpayer's.
    bool Carregar(int idNota, int idContribuinte, TNotaFiscal& nota);
    // Deletes the lines and the invoice rows of these keys in one transaction: all of them or none.
    bool Excluir(const QList<int>& idsNotas, QString* erro = nullptr);

private:
    TDTM& m_dtm;
};
