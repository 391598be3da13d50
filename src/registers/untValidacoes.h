#pragma once
#include <QString>
#include <QStringList>

#include "core/untMascaras.h"

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
