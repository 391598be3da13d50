#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDTM;

// One day's reading of a fiscal cash register, as typed: the counters stay text until they are checked.
struct TCupomFiscal {
    int IDCupomFiscal = 0;
    int IDContribuinte = 0;
    QDate DtEmissao;
    QString NumSerie, NumEquip, Modelo;
    QString COOInicial, COOFinal, CRZ, CRO;
    Money GTInicioDia, GTFimDia, VendaBruta;
    Money T_ISS, T_F, T_I, T_N, T_CANC, T_DESC;
    QDateTime DtUltAlteracao;
};

struct TLinhaAliquota {
    int IDCFAliquota = 0;
    QString Aliquota;   // four digits, hundredths of a percent: "1700"
    Money ValorAcumulado;
};

// The rules of a summary, in the order the screens run them. Everything is exact money: the balance of a
// day is compared in ten-thousandths, never through a shown text.
namespace RegrasCupom {
// "2B", "2C", "2D", "2", "02", "13" ... "16", compared trimmed and in upper case.
bool ModeloValido(const QString& modelo);
// "Venda Líquida" and "Saldo" of a summary whose rate lines sum to `somaLinhas`.
Money VendaLiquida(const TCupomFiscal& c);
Money Saldo(const TCupomFiscal& c, Money somaLinhas);
// GT Final less GT Inicial: the gross sales proposed on leaving "GT Final".
Money VendaBrutaProposta(const TCupomFiscal& c);
// The header step: required fields and counters, model, grand totals, gross sales (the change screen checks
// the model first). The duplicate test is the caller's, with the database.
TFalha ChecaCabecalho(const TCupomFiscal& c, bool alteracao);
// "&Salvar": grand totals, gross sales, then the balance recomputed from the fields and the stored lines.
TFalha ChecaSalvar(const TCupomFiscal& c, Money somaLinhas);
// The rate as typed reduced to its digits; a non-blank text that is not exactly four digits is refused.
TFalha LeAliquota(const QString& texto, QString* aliquota);
// The tax of a rate line: rate × value ÷ 10000, exact to the ten-thousandth.
Money ImpostoDaLinha(const QString& aliquota, Money valor);
// An amount as the summary screens show it beside its caption: the program's money text, right-aligned to
// at least eight characters so that the figures of a column line up.
QString EmDinheiro(Money m);
} // namespace RegrasCupom

// The statements of the summaries and their rate lines. The writes return false when nothing was written;
// the caller owns the transaction, except for the deletion, which is all or nothing on its own.
class TCuponsFiscais {
public:
    explicit TCuponsFiscais(TDTM& dtm) : m_dtm(dtm) {}
    // A summary of the taxpayer with the same day, serial and equipment numbers (compared trimmed).
    bool Duplicata(const TCupomFiscal& c);
    // Inserts the summary (serial, equipment and model trimmed) and reads its key back into `c`.
    bool Incluir(TCupomFiscal& c);
    bool Alterar(const TCupomFiscal& c);
    bool Carregar(int idCupom, int idContribuinte, TCupomFiscal& c);
    // The summary and all its rate lines in one transaction; false, with the engine's text, when any fails.
    bool Excluir(int idCupom, QString* erro = nullptr);

    bool TemAliquota(int idCupom, const QString& aliquota);
    bool IncluirLinha(int idCupom, const QString& aliquota, Money valor);
    bool ExcluirLinha(int idLinha);
    QList<TLinhaAliquota> Linhas(int idCupom);
    // The sum of the summary's lines; raises EBancoDados when it cannot be read (a save must not take it as 0).
    Money SomaLinhas(int idCupom);

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
namespace ConsultasCupom {

// The taxpayer's summaries of the period, by day; every one of them with `AbreTodas`.
void AbreLista(TDataSet& lista, int idAtivo, const ConsultasNotas::TPeriodo& p);
void AbreTodas(TDataSet& lista, int idAtivo);

struct TResumo {
    qint64 quantidade = 0;
    Money vendaBruta, iss, f, i, n, canc, desc;
};
TResumo Resumo(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p);

struct TIcmsAliquota {
    QString aliquota;
    Money valorIcms;
};
// The tax of the period per rate text, each the exact rate product of the rate's summed lines (a rate that
// is no number gives 0), by rate.
QList<TIcmsAliquota> IcmsPorAliquota(TDTMCON& con, int idAtivo, const ConsultasNotas::TPeriodo& p);

// The gross sales per month number from the first day of the month that holds the day 240 days before today.
QList<ConsultasNotas::TBarra> Grafico(TDTMCON& con, int idAtivo, const QDate& hoje);
bool ExisteAlgum(TDTMCON& con, int idAtivo);

} // namespace ConsultasCupom
