#pragma once
#include <QString>
#include <initializer_list>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;

// The statements every declaration row shares.

// Runs a deletion of one row (`sql` with the one parameter `parametro` bound to `chave`); false when no row
// went or the engine refused, with its text in `erro`.
bool ExcluiUmaLinha(TDTM& dtm, const QString& sql, const QString& parametro, int chave, QString* erro);
// Opens the row of the key only when it is the taxpayer's; false when there is none. `tabela` and `chave`
// are names from the code, never typed.
bool AbreLinhaDoContribuinte(TDataSet& q, const char* tabela, const char* chave, int id, int idContribuinte);
// The delivery type a row may store: none (-1) or one of the codes 0 to 3 the return file knows; false with
// the reason in `erro` for any other.
bool TipoEntregaGravavel(int tipoEntrega, QString* erro);

// An amount of a declaration with the field that takes the focus and the label that names it.
struct TValorDoCampo {
    Money valor;
    const char* campo;
    const char* rotulo;
};
// The first amount the return file's fields cannot carry, in the order given: a negative one, or one above
// `maior` ten-thousandths (the widest value of the fields). Empty when all of them fit.
TFalha ChecaValoresDoArquivo(std::initializer_list<TValorDoCampo> valores, qint64 maior);
