#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

#include "core/untFalha.h"
#include "core/untMoney.h"
#include "documents/untClsNotaTalao.h"

class TDTM;

// The values of the series D entry and change screens as typed.
struct TCamposTalao {
    QString modelo;
    QString serie;
    QString subSerie;
    QDate emissao;
    QString notaInicial;
    QString notaFinal;
    QString aliquota;  // the percentage as typed: "17", "12,5"
    Money valorTotal, baseIcms, valorIcms, isentas, outras;
};

// The largest note number of a run: the notes are numbered with six digits.
inline constexpr int kMaiorNotaTalao = 999999;

// The checks of "&Salvar" in their order; on success `nota` holds the row to write for the open taxpayer,
// stamped `agora`. `alteracao` selects the change screen's wording of the series message. The widths the
// database declares for the text columns are held too: nothing stored is ever cut.
TFalha ChecaNotaTalao(TDTM& dtm, const TCamposTalao& c, bool alteracao, int idAtivo, const QDateTime& agora,
                      TNotaTalao& nota);

// The typed rate as an amount (17 -> 17,0000); nothing when it is no rate at all (not a number, negative,
// or finer than hundredths of a percent, which the stored text cannot hold).
std::optional<Money> AliquotaTalao(const QString& texto);
