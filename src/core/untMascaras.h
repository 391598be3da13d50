#pragma once
#include <QString>

// The typing masks of the register dialogs (Qt syntax: "0" an optional digit, "9" a required one).
namespace Mascaras {
inline const QString CnpjDigitando = QStringLiteral("00.000.000/0000-00;_");
inline const QString CpfDigitando = QStringLiteral("000.000.000-00;_");
inline const QString CnpjCompleto = QStringLiteral("99.999.999/9999-99;_");
inline const QString CpfCompleto = QStringLiteral("999.999.999-99;_");
inline const QString Inscricao = QStringLiteral("00000000000000; ");
inline const QString Cep = QStringLiteral("00000-000;_");
inline const QString NumeroEndereco = QStringLiteral("00000; ");
inline const QString Fone = QStringLiteral("(####)####-####;_");
inline const QString Fax = QStringLiteral("(##)####-####;_");
inline const QString Crc = QStringLiteral(">AA999999An; ");

// The typed characters of a masked text: literal positions left out, blank positions as blanks.
QString SemLiterais(const QString& textoMostrado, const QString& mascara);
// The position in the shown text of the first position still blank (the mask's blank or a space: where typing
// goes on), -1 when none is.
int PrimeiraPosicaoVazia(const QString& textoMostrado, const QString& mascara);
// A stored number shown through its mask by its length, as the reports and the lists show it: 14 digits as a CNPJ
// (00.000.000/0000-00), 11 as a CPF (000.000.000-00); any other text as it is.
QString CnpjCpf(const QString& numero);
} // namespace Mascaras

// The home state's telephone area code, preset in the telephone and fax fields.
inline const QString DddEstado = QStringLiteral("61");
