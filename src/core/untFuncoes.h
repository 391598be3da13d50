#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

class IRelogio;

// Zero-fill on the left after removing surrounding blanks; a longer text is returned whole, never cut.
QString PreencheZeros(const QString& texto, int largura);
// Blank-fill on the right; a longer text is cut to its first `largura` characters. Blanks are kept as typed.
QString PreencheBrancos(const QString& texto, int largura);
// The program's own accent table: only these 28 letters change, every other character stays as it is.
QString RemoveAcentos(const QString& texto);
// The current year, four digits.
QString AnoAtual(const IRelogio& relogio);
// Empties the list, then adds the years from `ultimo` down to `primeiro`.
void ListaAnos(int primeiro, int ultimo, QStringList& lista);

// The text of a file delivered to be imported: UTF-8 (with or without BOM) when the bytes are valid UTF-8,
// the Windows page (Latin-1 with its letters in 0x80-0x9F) otherwise. Line ends are left as they are.
QString DecodificaArquivoTexto(const QByteArray& bytes);
