#pragma once
#include <QString>
#include <QStringList>

// Checks of the identification numbers the registers accept. None of them fails on short, empty or
// non-numeric text: a character that is not a digit counts as 0.

bool ValidaCNPJ(const QString& texto);
bool ValidaCPF(const QString& texto);
// The state-registration verdict for the UF, with the program's own rule for "PE" on top: a number the
// check refuses there is still taken when "00" + the number passes the CPF rule.
// `consulta` is the state-registration check (replaceable so that the "PE" rule can be tried on its own).
using TConsultaInscricao = int (*)(const QString& ie, const QString& uf);
bool ValidaInscricaoEstadual(const QString& ie, const QString& uf, TConsultaInscricao consulta = nullptr);
// The 27 federative units (the home state written "ZR" besides its real code), then "EX" for abroad.
const QStringList& ListaUF();
bool ValidaUF(const QString& texto);
bool ValidaCEP(const QString& texto);
// The accountant's e-mail: empty when it passes, otherwise the message to show.
QString ValidaEmailContador(const QString& texto);
bool CaracterValido(QChar c);
QString FiltraTexto(const QString& texto);

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
} // namespace Mascaras

// The home state's telephone area code, preset in the telephone and fax fields.
inline const QString DddEstado = QStringLiteral("61");
