#pragma once
#include <QString>
#include <QStringList>

struct sqlite3;

// Every table of the database and the statements that create and upgrade them.
//
// Column types keep Jet's names in the declarations, so the declared type of a column tells what it holds:
// "Text(n)" text of at most n characters, "money" ten-thousandths as a whole number, "Double", "Integer",
// "Date" text "yyyy-MM-dd" or "yyyy-MM-ddTHH:mm:ss", "YesNo" -1/0; autonumber keys are
// "INTEGER PRIMARY KEY AUTOINCREMENT" (a number is never given out twice).
namespace TEsquema {

// The fifteen tables every database file has from the start, in their final form.
const QStringList& tabelasEntregues();

// The statements of each schema step. A create step is one statement; the upgrade steps list theirs in order.
QString criaZelEpp();
const QStringList& atualizaZelEpp();
QString criaZelSN();
const QStringList& atualizaZelSN();
QString criaZelPrgGov();
QString atualizaDadosAnuais();
QString atualizaEmailContribuinte();
QString criaMunicipio();
const QStringList& atualizaVornQuadroV();
QString criaVornQuadroV();
const QStringList& atualizaZel();

// Indexes and the guard against deleting a party that documents name; "IF NOT EXISTS", so they can be
// made sure of after every connect without changing anything on a current file.
const QStringList& indicesEGuardas();

// True when the file's tables are the program's (a foreign database is not taken for ours).
bool ehNossoBanco(sqlite3* db);

// Builds the delivered database (every table in its final form, the CFOP lists filled) beside `caminho`
// and moves it into place only when complete; an existing file of that name is never overwritten by a
// partial one. Returns false when it could not be built.
bool criaBancoEntregue(const QString& caminho);

// Fills CFOP (four digits) and CFOP3 (three digits) from the program's code lists.
void carregaCfops(sqlite3* db);

} // namespace TEsquema
