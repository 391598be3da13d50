#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;

// The amounts of one normal-regime declaration row (table ZEL), by column, in whole ten-thousandths.
struct TValoresZel {
    Money CredSaldoAnterior, CredEntradas, CredAtivoImob, CredTransferencia, CredIcms_JR, CredIcms_AR, CredEstornoDeb,
        CredOutros;
    Money DebSaidas, DebTransfCredAc, DebEstornoCred, DebOutros;
    Money SubstEnt_JR, SubstEnt_AR, SubstSai_JR, SubstSai_AR;
    Money DifAliquota, ImpOutraUF;
    Money OutrosRegEspec, Tare, PrevRicms, Dorq;
    Money MirvelIcms, MirvelSubSaida, MirvelSubEntrada, MirvelRegFonte, MirvelDifAliq;
    Money ChqHabitacao, ChqEducacao;
};

// The sums a stored row implies: the same function serves the loaded row, the screen and the balance
// carried to the next month.
struct TTotaisZel {
    Money credPresumido;   // special-regime (presumed) credits
    Money credProgramas;   // the two government-programme cheques
    Money credPeriodo;     // field 8
    Money credTotal;       // field 10
    Money debTotal;        // field 15
};
TTotaisZel TotaisZel(const TValoresZel& v);
// The amounts of the row the dataset stands on; null columns are 0.
TValoresZel LeValoresZel(const TDataSet& q);

// The MIRVEL-ZR fund's deduction limit: 20 % of its base, in whole ten-thousandths (ties to even).
Money LimiteMirvel(Money base);
// A deduction counts when it is neither negative nor above the limit of its base.
bool DeducaoAceita(Money deducao, Money base);

// The declaration as the entry screen shows it, every field in whole ten-thousandths. The typed fields and
// the figures "Processa" takes from the documents are inputs; fields 8, 10, 11, 15, 16, 17, 03, 04, 05 and
// 06 are always computed from them, so that no change leaves any of them stale:
//   8 = 1 + 2 + 3 + 4 + 5 + 6 + 7 + presumed credits + programme credits; 10 = 8 + 9;
//   11 = the exit debit less field 18 when that deduction counts; 15 = 11 + 12 + 13 + 14;
//   17 = max(0, 15 - 10), 16 = max(0, 10 - 15);
//   03 = 01 - 02; 04 and 05 = their gross figures less the deductions 09 and 10 when they count; 06 = 04 + 05.
struct TApuracaoNormal {
    // Page "Apuração do ICMS"
    Money c1, c2, c3, c4, c5, c6, c7, c9;
    Money presumido[4];           // OutrosRegEspec, Tare, PrevRicms, Dorq
    Money chqHabitacao, chqEducacao;
    Money debitoSaidas;           // the exit debit before the deduction of field 18 (its base)
    Money d12, d13, d14;
    Money m18, d19, m20, d21;
    // Page "Substituição Tributária"
    Money s01, s02;
    Money substSaidas, substFonte; // fields 04 and 05 before the deductions 09 and 10 (their bases)
    Money m07, m09, m10;

    Money credPresumido() const;
    Money credProgramas() const;
    Money c8() const;
    Money c10() const;
    Money d11() const;
    Money d15() const;
    Money s16() const;
    Money s17() const;
    Money s03() const;
    Money s04() const;
    Money s05() const;
    Money s06() const;

    // The checks of "&Salvar Apuração" on the figures, in their order: a negative tax, every deduction
    // (negative or above its limit: 18, 20, 07, 09, 10), a negative field 03, then every amount of the row
    // that the return file's thirteen-digit fields cannot carry (negative, or above 99.999.999.999,99),
    // named by its label. The field named is the one to take the focus.
    TFalha ChecaSalvar() const;

    // Field 18 can be typed only while the month has exits to deduct from (field 11 above zero).
    bool permiteDeducao18() const { return debitoSaidas > Money(); }
    // A deduction in field 18 kept from a month that no longer has exits can neither be corrected (the field
    // is closed) nor saved (its limit is 0): it becomes 0. The message names the field and the value that was
    // dropped; empty when nothing changed.
    TFalha ZeraDeducao18SemSaidas();

    // The stored row shown for a change: the gross figures are the stored ones plus the deductions that
    // were taken from them.
    static TApuracaoNormal DaLinha(const TValoresZel& v);
    // The row to store: every column from the fields.
    TValoresZel valores() const;
};

// One row of ZEL: key, period "yyyymm", type "N"/"R", the amounts, and the page "Recibo".
class TZel {
public:
    explicit TZel(TDTM& dtm) : m_dtm(dtm) {}

    int IDZel = 0;
    int IdContribuinte = 0;
    QString Periodo;
    QString Tipo;
    TValoresZel valores;
    QString NumRecibo;          // stored trimmed
    int sitCadastroContrib = -1; // the delivery type; -1 when none
    QDate dataSitCadastro;       // null when none
    QDateTime DtGeracao;
    TTotaisZel totais;           // derived when loaded

    // The writes return false on any database error or when no row was written; `erro` gets the engine's
    // text. The caller owns the transaction.
    bool Incluir(QString* erro = nullptr);
    bool Alterar(QString* erro = nullptr);
    bool Excluir(int idZel, QString* erro = nullptr);
    // The row the dataset stands on, with its derived values.
    void Carregar(const TDataSet& q);
    // The taxpayer's row of this key; false when there is none.
    bool CarregarId(int idZel, int idContribuinte);
    // The in-place upgrade of older tables: the receipt columns and the cheques, each step once; the first
    // statement that fails ends the sequence (the columns are already there).
    static void AtualizaTabela(TDTM& dtm);

private:
    TDTM& m_dtm;
};

// The list of declarations of a taxpayer, newest first (or oldest first when `crescente`).
void AbreListaZel(TDataSet& lista, int idAtivo, bool crescente = false);
// Whether the taxpayer has a declaration of the period, of either finality.
bool ExisteZel(TDTM& dtm, int idAtivo, const QString& periodo);

// The remaining balance of one cheque's month: previous balance + authorised + transferred in - transferred
// out - appropriated.
Money SaldoRemanescente(Money anterior, Money autorizado, Money entrada, Money saida, Money apropriado);
// What the programme window tells once it has recomputed both remaining balances: the message of each
// negative one, housing first; empty when neither is negative.
QStringList AvisosSaldoRemanescente(Money habitacao, Money educacao);

// One month's account of one government-programme cheque (table ZEL_PRGGOV): 1 housing, 2 education.
class TZelCredGov {
public:
    explicit TZelCredGov(TDTM& dtm) : m_dtm(dtm) {}

    int id = 0;
    int idContribuinte = 0;
    QString periodo;
    Money credAutorizado, transfCredEntrada, transfCredSaida, valorApropriado, sldPeriodoAnterior, sldRemanescente;
    int tipoCheque = 0;
    bool existe = false;
    // The last read failed: the object holds nothing it can be trusted to write.
    bool ilegivel = false;

    // previous balance + authorised + transferred in - transferred out - appropriated.
    Money saldoCalculado() const;
    // What counts as a credit of the declaration: appropriated + transferred out.
    Money credito() const;
    bool todosZero() const;

    // The row of the period and cheque type (raises nothing: a failed read sets `ilegivel`, with the
    // engine's text in `erro`). The remaining balance is recomputed from the loaded values.
    bool CarregaPeriodo(const QString& periodo, int tipo, QString* erro = nullptr);
    // The remaining balance of the month before `periodo` (December of the year before for January), 0
    // when there is none; the object is left loaded with that month's row.
    Money SaldoAnterior(const QString& periodo, int tipo, QString* erro = nullptr);
    bool Incluir(QString* erro = nullptr);
    bool Alterar(QString* erro = nullptr);
    bool Excluir(int chave, QString* erro = nullptr);

    static QString PeriodoAnterior(const QString& periodo);

private:
    TDTM& m_dtm;
};

// Deletes the declaration and its two programme rows of the same period in one transaction: all or nothing;
// false with the message of the step that failed.
bool ExcluiZel(TDTM& dtm, int idZel, int idContribuinte, const QString& periodo, QString* mensagem);

class TDTMCON;
// "Processa": the figures of the month taken from the documents into the model (fields 1, 3, 9, the exit
// debit of field 11, 12, 02 and the gross 04 and 05); the typed fields stay. Database errors that the
// figures raise are passed on.
void ProcessaNormal(TDTMCON& con, int idAtivo, int mes, int ano, TApuracaoNormal& a);
// What "Processa" shows, one "NN<TAB>valor" line per field it fills, NN the number of the field's label as
// the screen writes it ("1", "3", "8" ... "17", "01" ... "06"), four decimals and a point.
QStringList LinhasNormal(const TApuracaoNormal& a);
