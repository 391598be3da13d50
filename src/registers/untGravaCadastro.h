#pragma once
#include <QList>
#include <QString>

#include "core/untFalha.h"

class TComando;
class TDTM;

// One text value about to be stored, with the column that receives it and how the dialogs name the field.
struct TValorGravado {
    const char* coluna;
    QString valor;
    const char* rotulo;      // the field's label, as the message names it
    const char* componente;  // the field that gets the focus
};

// The width of a text(n) column as the database declares it; 0 for other types, unknown columns, or when the
// database cannot be read.
int LarguraDaColuna(TDTM& dtm, const QString& tabela, const QString& coluna);

// Refuses the first value longer than its text(n) column, as declared in the database: a stored value is
// never cut to fit. Columns of other types are not measured.
TFalha ChecaLarguras(TDTM& dtm, const QString& tabela, const QList<TValorGravado>& valores);

// Runs the insert, update or delete of one row: true only when the engine accepted the statement and a row
// was changed. A statement that finds no row (the row was deleted meanwhile, or no row was chosen) is a
// failure, not a success.
bool GravaUmaLinha(TComando& cmd);

// True when any row of `tabela` has `id` in one of `colunas`. A table or column the database does not have
// (an older file whose upgrade steps have not run) names nothing.
bool AlgumaLinhaNomeia(TDTM& dtm, const QString& tabela, const QStringList& colunas, int id);
