#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// The regional conventions of the program: dates typed and shown as "dd/mm/yyyy", Portuguese month and day
// names whatever the machine's language, two-digit years read through a sliding window of 50 years, and the
// text forms in which the database stores dates.
namespace Datas {

inline constexpr int JanelaSeculo = 50;

QString nomeMes(int mes, bool curto = false);     // 1..12 -> "Janeiro" / "Jan"; empty outside
QString nomeDia(int diaSemana, bool curto = false); // Qt numbering, 1 = Monday .. 7 = Sunday -> "Segunda" / "Seg"

QString formata(const QDate& data);               // "dd/MM/yyyy"; empty for an invalid date
QString formataMesAno(int mes, int ano);          // "mm/yyyy"

// Four-digit year of a two-digit one, within 50 years before or after the reference year:
// the result is never before (referencia - 50) and always before (referencia + 50).
int anoDeDoisDigitos(int aa, int anoReferencia);

// "dd/mm/yyyy" or "dd/mm/yy" (also with one-digit day or month). nullopt when it is no real date.
std::optional<QDate> interpreta(const QString& texto, const QDate& hoje);

// Stored forms: "yyyy-MM-dd" for dates and "yyyy-MM-ddTHH:mm:ss" for moments. They sort and compare as text.
QString paraBanco(const QDate& data);
QString paraBanco(const QDateTime& momento);
// Reads either stored form (the date part of a moment); invalid date for anything else.
QDate doBanco(const QString& texto);
QDateTime momentoDoBanco(const QString& texto);

// First day of a month and the first day of the month after it, in stored form: a month filter written as
// "DtEmissao >= :Inicio AND DtEmissao < :Fim" keeps to the (IdContribuinte, DtEmissao) indexes.
QString inicioDoMes(int mes, int ano);
QString inicioDoMesSeguinte(int mes, int ano);

} // namespace Datas
