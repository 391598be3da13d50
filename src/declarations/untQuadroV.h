#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

#include "core/untFalha.h"
#include "core/untMoney.h"

class TDataSet;
class TDTM;

// One Quadro V row: the value of a month's operations attributed to one municipality of the home state.
struct TQuadroV {
    int IdQuadroV = 0;
    int IdContribuinte = 0;
    QDate PeriodoZel;            // the first day of the month
    QString CodMunicipio;
    QString Municipio;
    Money Valor;
    QDateTime DtGeracao, dtAlteracao;
};

// The list of the selection screen: the taxpayer's rows, of a month ("" or "**": every month) and a year
// (empty: every year), by municipality code as a number. Month and year are bound as numbers.
void AbreListaQuadroV(TDataSet& lista, int idAtivo, const QString& mes, const QString& ano);
void CarregaQuadroV(const TDataSet& lista, TQuadroV& q);

// The save's checks: a period, a municipality, a value neither negative nor wider than the file's
// thirteen-digit field, and a period from 12/2009 to the current month.
TFalha ChecaQuadroV(const TQuadroV& q, const QDate& hoje);

class TQuadrosV {
public:
    explicit TQuadrosV(TDTM& dtm) : m_dtm(dtm) {}
    // Another row of the taxpayer, period and municipality (the row `excetoId` itself does not count).
    bool Duplicado(const TQuadroV& q, int excetoId = 0);
    // Each false when no row was written, with the engine's text in `erro` when it refused.
    bool Incluir(TQuadroV& q, QString* erro = nullptr);
    bool Alterar(const TQuadroV& q, QString* erro = nullptr);
    bool Excluir(int idQuadroV, int idContribuinte, QString* erro = nullptr);

private:
    TDTM& m_dtm;
};

// The municipality list, by name; whether it is current (it holds the code "04405").
void AbreMunicipios(TDataSet& lista);
bool MunicipiosAtualizados(TDTM& dtm);
// Whether the code is one of the table's municipalities (compared as numbers: "4405" is "04405").
bool MunicipioExiste(TDTM& dtm, const QString& codigo);

// The two import files read whole before anything changes.
struct TArquivosMunicipios {
    QList<QPair<QString, QString>> municipios;   // code, name
    QList<QPair<QString, QString>> mudancas;     // old code, new code
};
// Reads "municipio.txt" and "DeParaNovosCodigosMunicipios.txt" of the folder (Windows-1252 or UTF-8, CR LF or
// LF). Blank lines are skipped; a missing file, an empty municipality file or a line that is not "code|text"
// (code of 1 to 5 digits, a name of 1 to 60 characters, a new code of 1 to 5 digits) is refused with the
// message naming the file and line; nothing is returned then.
bool LeArquivosMunicipios(const QString& pasta, TArquivosMunicipios* arquivos, QString* erro);
// Applies them in one transaction: each municipality inserted or renamed, those missing from the file
// deleted, then every taxpayer's Quadro V rows moved to their new codes. Any error rolls everything back.
// `passo` is told the steps done out of the total.
// Rows of one taxpayer, month and municipality (codes compared as numbers) are then summed into the first of
// them; `linhasSomadas` gets how many rows took part.
bool AplicaMunicipios(TDTM& dtm, const TArquivosMunicipios& arquivos, const std::function<void(int, int)>& passo,
                      QString* erro, int* linhasSomadas = nullptr);
// The final code of each old code of the code-change lines (as numbers), the lines applied one after another.
QList<QPair<qint64, QString>> DestinosDasMudancas(const QList<QPair<QString, QString>>& mudancas);
// Sums every group of rows of one taxpayer, month and municipality into its first row, inside the caller's
// transaction; the number of rows that took part. Raises EBancoDados when a statement fails.
int SomaQuadrosVRepetidos(TDTM& dtm);
