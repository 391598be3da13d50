#pragma once
#include <QDateTime>
#include <QString>

#include "nfe/untImportaNFe.h"
#include "reports/untRelatorio.h"

class TDataSet;
class TDTM;
class TZel;
class TZelEPP;
class TZelSN;
class TDadosAnuais;

// The catalogue of reports. Each prints the rows of the dataset its screen has just opened (in its order,
// whatever row the screen stands on) and looks up related rows per line; none chooses rows of its own, except
// the code tables, which print the whole table. Database errors raise EBancoDados.
namespace Relatorios {

// What a report about the open taxpayer says of it, and when it is printed.
struct TCabecalho {
    int idAtivo = 0;
    QDateTime emissao;
    QString mes, ano;           // the screen's period choice ("**" every month)
};

// "Relatório de Notas Fiscais": `tipo` "E" or "S"; the totals are those of the list's summary query.
TRelatorio Notas(TDTM& dtm, const TCabecalho& c, const TDataSet& lista, const QString& tipo);
TRelatorio NotasTalao(TDTM& dtm, const TCabecalho& c, const TDataSet& lista);
// `modalidade` "1" CIF, "2" FOB.
TRelatorio NotasTransporte(TDTM& dtm, const TCabecalho& c, const TDataSet& lista, const QString& modalidade);
TRelatorio Ecf(TDTM& dtm, const TCabecalho& c, const TDataSet& lista);
TRelatorio Contadores(const TDataSet& lista, const QDateTime& emissao);
TRelatorio Contribuintes(TDTM& dtm, const TDataSet& lista, const QDateTime& emissao);
TRelatorio Fornecedores(const TDataSet& lista, const QDateTime& emissao);
// The whole code table: 4 or 3 digits; a table that cannot be read raises EBancoDados.
TRelatorio Cfop(TDTM& dtm, int digitos, const QDateTime& emissao);
TRelatorio Municipios(TDTM& dtm, const QDateTime& emissao);
TRelatorio QuadroV(TDTM& dtm, const TCabecalho& c, const TDataSet& lista);
TRelatorio DadosAnuais(TDTM& dtm, const TCabecalho& c, const TDadosAnuais& d);
TRelatorio Zel(TDTM& dtm, const TCabecalho& c, const TZel& z);
TRelatorio ZelEpp(TDTM& dtm, const TCabecalho& c, const TZelEPP& z);
TRelatorio ZelSN(TDTM& dtm, const TCabecalho& c, const TZelSN& z);

// The list of an import of electronic invoices: one line per file with what became of it.
TRelatorio ResultadoImportacaoNFe(const QList<TResultadoNFe>& resultados, const QDateTime& emissao);
// "Importado", "Já cadastrado" or "Recusado".
QString TextoSituacaoNFe(const TResultadoNFe& r);

// "Contribuinte: 12.345678-9  RAZÃO" of the open taxpayer.
QString LinhaContribuinte(TDTM& dtm, int idAtivo);

} // namespace Relatorios
