#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;

// The largest amount a thirteen-digit field of the annual-data file carries: 99.999.999.999,99.
inline constexpr qint64 kMaiorValorTrezeDigitos = 9999999999999LL * 100;

// One year's closing figures of a taxpayer (table DadosAnuais).
struct TValoresAnuais {
    Money EstqTrib, EstqNaoTrib, EstqSubsTrib, SldCaixa, SldBanco, DespPessoal, OutrosImpostos, DespGeral;
    Money estoqueTotal() const { return EstqTrib + EstqNaoTrib + EstqSubsTrib; }
    Money saldoTotal() const { return SldCaixa + SldBanco; }
};

// The regime codes the file carries: 1 normal, 7 EPP, 3 Simples Nacional; anything else is none.
bool RegimeAnualValido(int regime);

// The checks of "&Salvar" in their order: the total above zero, a regime chosen, then each value neither
// negative nor wider than the file's field (naming the field).
TFalha ChecaDadosAnuais(const TValoresAnuais& v, int regime);
// The period of the annual-data file: the year followed by "12", or by the current month in the current year.
QString PeriodoDadosAnuais(const QString& ano, const QDate& hoje);

class TDadosAnuais {
public:
    explicit TDadosAnuais(TDTM& dtm) : m_dtm(dtm) {}

    int IdDadosAnuais = 0;
    int IdContribuinte = 0;
    QString Ano;
    QString Tipo;                 // "N" or "R"
    TValoresAnuais valores;
    int TipoRegimeContrib = 0;    // 0: a row from before the regime existed
    QDateTime DtGeracao;

    // False (with the engine's text) on any error or when no row was written.
    bool Incluir(QString* erro = nullptr);
    // The row of the key loaded when the screen opened, and only the taxpayer's.
    bool Alterar(QString* erro = nullptr);
    bool Excluir(int id, QString* erro = nullptr);
    void Carregar(const TDataSet& q);
    bool CarregarId(int id, int idContribuinte);
    // The year bound as a number, as the rows store it (text or number alike).
    static bool AnoExiste(TDTM& dtm, int idAtivo, int ano);

private:
    TDTM& m_dtm;
};

void AbreListaDadosAnuais(TDataSet& lista, int idAtivo);
