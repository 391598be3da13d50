#pragma once
#include <QString>

// One check of the command-line tool: the kind ("cnpj", "cpf" or "ie", any case), the UF (for "ie") and
// the number (separators such as ".", "-" and "/" are ignored). nullopt-like: `reconhecido` false when the
// kind is unknown or the line malformed.
bool ValidaNumero(const QString& tipo, const QString& uf, const QString& numero, bool* reconhecido = nullptr);

// A line "KIND<TAB>UF<TAB>NUMBER" answered as "NUMBER<TAB>valido|invalido"; an empty text and `ok` false for a
// line that cannot be read.
QString ValidaLinhaLote(const QString& linha, bool* ok);
