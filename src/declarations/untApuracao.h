#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "core/untMoney.h"

class TDTMCON;

// The month's figures that the declaration screens take from the recorded documents instead of asking for
// them: read-only sums over one taxpayer's invoices, transport documents, series D notes and ECF summaries
// of one calendar month, the credit balance carried over from the normal-regime declaration of the month
// before, and the test for any document at all.
//
// Every function takes the taxpayer's IdContribuinte, the month 1..12 and the four-digit year. Amounts are
// added as whole ten-thousandths, never rounded to cents; a sum over no rows is 0.
//
// Database errors: a single-value part (transport, ECF, series D, substitution, the Simples Nacional entry
// total, the balance carried over) counts as 0 and the figure goes on; the grouped invoice query of
// CreditoPorEntradas, CreditoAcumuladoRecebido, TransferenciaCreditoAcumulado and ReceitaApuradaEPP raises
// EBancoDados (the screen's "Processa" stops with the engine's message); DebitoPorSaidas keeps the exit
// groups summed before the error; TotalAquisicoesEPP and AquisicoesInternasEPP count their invoice part as 0.
// A sum beyond the money range is such an error too, whether the engine or this code adds it up.

// Entry ICMS of the codes that give credit, plus the ICMS of transport documents taken as entries (modality
// "2"). Field "1- Por entradas".
Money CreditoPorEntradas(TDTMCON& con, int idAtivo, int mes, int ano);
// Entry ICMS of the accumulated-credit transfer codes 1601, 1602, 1603 and 2603.
Money CreditoAcumuladoRecebido(TDTMCON& con, int idAtivo, int mes, int ano);
// Exit ICMS (transfers of accumulated credit and 5934/6934 left out), the ECF rate products, series D notes
// and transport documents taken as outputs.
Money DebitoPorSaidas(TDTMCON& con, int idAtivo, int mes, int ano);
// Exit ICMS of the codes 5601, 5602, 5603 and 6603.
Money TransferenciaCreditoAcumulado(TDTMCON& con, int idAtivo, int mes, int ano);
// Substitution ICMS retained on exits to parties of the home state, lines not marked as source regime.
Money SubstituicaoSaidasInternas(TDTMCON& con, int idAtivo, int mes, int ano);
// The same, only the lines marked as source regime (MVA "5").
Money SubstituicaoRegimeFonte(TDTMCON& con, int idAtivo, int mes, int ano);
// Substitution ICMS retained on interstate purchases (CFOP 2000-2999) from parties of another state.
Money SubstituicaoEntradasOutrasUF(TDTMCON& con, int idAtivo, int mes, int ano);
// Total credit minus total debit of the normal-regime declaration of the month before (January reads the
// December of the year before); 0 when there is none or when debits are not below credits.
Money SaldoCredorAnterior(TDTMCON& con, int idAtivo, int mes, int ano);
// EPP revenue base: max(0, exit bases - entry bases of the transfer codes) + ECF gross sales + series D
// bases + bases of transport documents taken as outputs.
Money ReceitaApuradaEPP(TDTMCON& con, int idAtivo, int mes, int ano);
// EPP acquisitions: entry invoice totals of the codes that count, plus transport documents taken as
// entries (modality "2", four-digit codes).
Money TotalAquisicoesEPP(TDTMCON& con, int idAtivo, int mes, int ano);
// EPP acquisitions inside the state: entry invoice totals of the codes 1000-1999 that count.
Money AquisicoesInternasEPP(TDTMCON& con, int idAtivo, int mes, int ano);
// Simples Nacional entries: every valid entry invoice's total plus transport documents taken as entries.
Money TotalEntradasSN(TDTMCON& con, int idAtivo, int mes, int ano);
// True when the period "yyyymm" holds any document of the taxpayer, cancelled and voided ones included
// (an invoice counts through its ICMS, IPI or substitution line). False for a period that does not read.
bool ExistemDocumentos(TDTMCON& con, int idAtivo, const QString& periodo);

// The ECF debit from the sums of accumulated values per rate text (rows without a rate add nothing): the
// statement's SUM(Aliquota/100 * ValorAcumulado) / 100, each rate in hundredths of a percent. Worked out in
// integers (rate x ten-thousandths, one division by 10000 at the end, ties to even), it is the exact value
// of that expression rounded to four decimals: what Money::fromDouble makes of the floating-point figure,
// whose representation error stays far below a ten-thousandth at any real amount, except that an exact tie
// is settled by the rule instead of by that error. Raises EBancoDados for a rate text that is not a number
// (the engine refuses the division) and for a product beyond the money range.
Money DebitoEcf(const QList<QPair<QString, Money>>& valoresPorAliquota);

// EPP revenue leaves out the 16 transfer codes (exits counted out, entries counted against it).
bool CfopReceitaEPP(const QString& codigo);
const QStringList& CfopsForaReceitaEPP();
// EPP acquisitions leave out 115 codes (returns, transfers, remittances and the like).
bool CfopAquisicaoEPP(const QString& codigo);
const QStringList& CfopsForaAquisicaoEPP();

// One money figure of the month under its function's name.
struct TFiguraApuracao {
    QString nome;
    Money valor;
};
// The twelve money figures above in their order, the same as calling each function: the month's tables are
// read once for all of them, and the functions one by one are called only when that reading meets a
// database error, so that each figure keeps its own rule for errors. Errors that the figures raise are
// passed on.
QList<TFiguraApuracao> FigurasApuracao(TDTMCON& con, int idAtivo, int mes, int ano);
// Two decimals with a point and no grouping ("1234.56", "-0.50"); a fraction of a cent rounds ties to even.
QString ValorComPonto(Money valor);
// Four decimals with a point and no grouping ("1234.5678", "-0.0050"): the exact stored amount.
QString ValorQuatroCasas(Money valor);
// The listing of "zelcli apuracao": one "Nome<TAB>valor" line per figure, then "ExistemDocumentos<TAB>sim"
// or "nao". Everything is worked out before the first line, so an error leaves no partial listing.
QStringList LinhasApuracao(TDTMCON& con, int idAtivo, int mes, int ano);
