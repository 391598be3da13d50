#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;
class TDTMCON;
class TComando;

// The largest amount a nine-digit field of the return file carries: 9.999.999,99.
inline constexpr qint64 kMaiorValorNoveDigitos = 99999999900;

// An amount rounded to the cent, ties to even: what a two-decimal field shows and what is stored of it.
Money EmCentavos(Money m);

// The EPP declaration of one month as its screens show it, in whole ten-thousandths. The typed fields and
// the figures from the documents are inputs; everything else is computed from them. Every amount the
// screens show is rounded to the cent, ties to even (the figures from the documents as they are read, each
// product as it is made), so what is stored is what is shown.
//   effective revenue = the larger of the computed revenue and 80 % of the average of entries;
//   old rules (to 06/2006): tax due = effective revenue × the bracket's rate; presumed credit percentage =
//     employees' credit + internal-acquisition credit, at most 50; tax to pay = |tax due − presumed credit|;
//   MP 37/06 (from 07/2006): tax due = 1 % of the effective revenue; tax to pay = tax due − the three granted
//     credits (refused at save when negative).
struct TApuracaoEPP {
    bool mp3706 = false;
    Money recApurada, mediaEntradas;
    int faixa = 0;                 // 1..5 on the old screen; 0 none chosen
    int numEmpreg = 0;
    Money totalAquis, aquisInter;  // read from the documents when the old computation runs
    Money credTEF, chqMoradia, chqEducacao;
    Money difAliquota;             // 01
    Money s02, s03;                // entries' substitution typed: 02 total, 03 already paid
    Money substSaidas, regFonte;   // 05 and 06, from the documents

    Money recEfetiva() const;
    // The rate in hundredths of a percent: 150 for "1ª Faixa - 1,5%", 100 under MP 37/06, 0 with no bracket.
    int percRecolhCentesimos() const;
    Money impDevido() const;
    int credEmpreg() const;
    // Internal acquisitions × 100 / total acquisitions, truncated; 0 when there is no acquisition.
    int participacaoInterna() const;
    int credAqInter() const;
    int percCredPres() const;
    Money credPresumido() const;
    Money totalCredOutorgado() const;
    Money impRecolher() const;
    Money s04() const;             // 02 − 03
    Money s07() const;             // 05 + 06

    // The checks of "&Salvar Apuração" in their order, the field named for the focus.
    TFalha ChecaSalvar() const;
    // The bracket of a stored percentage (1.5 → 1 ... 3.5 → 5); 0 when it is none of them.
    static int FaixaDoPercentual(double percentual);
    // The period checks of "Processa" on each screen ("yyyymm"); empty when the period is accepted.
    static TFalha ChecaPeriodo(bool mp3706, int mes, int ano);
    // Whether the month falls under the provisional measure 37/06 (from July 2006) and so its screen.
    static bool PeriodoDaMP3706(int mes, int ano) { return ano > 2006 || (ano == 2006 && mes >= 7); }
};

// One row of ZEL_EPP.
class TZelEPP {
public:
    explicit TZelEPP(TDTM& dtm) : m_dtm(dtm) {}

    int IdEpp = 0;
    int IdContribuinte = 0;
    QString Periodo;
    QString Tipo;
    TApuracaoEPP apuracao;
    QDateTime DtGeracao;

    // Every column from the computation: the old rules zero the granted credits, MP 37/06 zeroes the old
    // columns and stores the rate 1.0. False (with the engine's text) when nothing was written.
    bool Incluir(QString* erro = nullptr);
    bool Alterar(QString* erro = nullptr);
    bool Excluir(int idEpp, QString* erro = nullptr);
    void Carregar(const TDataSet& q);
    bool CarregarId(int idEpp, int idContribuinte);

private:
    void liga(TComando& cmd) const;
    TDTM& m_dtm;
};

void AbreListaEpp(TDataSet& lista, int idAtivo);
bool ExisteEpp(TDTM& dtm, int idAtivo, const QString& periodo);

// "Processa" of the EPP screen of the period: the computed revenue and the substitution of outputs, and for
// the old rules the acquisitions the computation reads.
void ProcessaEPP(TDTMCON& con, int idAtivo, int mes, int ano, TApuracaoEPP& a);
// What "Processa" fills, one "Coluna<TAB>valor" line per ZEL_EPP column, four decimals and a point.
QStringList LinhasEPP(const TApuracaoEPP& a);
