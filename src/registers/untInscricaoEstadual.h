#pragma once
#include <QString>

// Answers of ConsisteInscricaoEstadual. Callers only need "zero or not"; the two failures are told apart for
// messages and for the tests.
inline constexpr int IE_VALIDA = 0;
inline constexpr int IE_INVALIDA = 1;  // the number breaks the rule of its state (digits, length, check digits)
inline constexpr int IE_UF_SEM_REGRA = 2; // unknown UF, or "EX": a taxpayer abroad has no state registration

// 0 when `ie` is a valid state registration of the federative unit `uf`, any other value when not.
// `ie` as typed: blanks around it and the separators '.', '-' and '/' are ignored; any other non-digit makes it
// invalid, except the "P" that opens a rural producer's registration in São Paulo. `uf` is the two-letter code
// (blanks and case ignored); "ZR" is the program's home state.
int ConsisteInscricaoEstadual(const QString& ie, const QString& uf);
