#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class IProgresso;
class TDataSet;
class TDTM;

// The CFOP code lists: which table a date uses, the filters the document screens open the code list
// with, the codes with special treatment, and the update of the four-digit table from "NovosCfop.txt".

// The code table in force on a date: "1" (three digits, table CFOP3) before 2003, "2" during 2003 and
// "3" from 2004 on (both four digits, table CFOP).
QString VersaoCfop(const QDate& data);

// The screens that pick a code from the list.
enum class TelaCfop { IncluirNota, AlterarNota, IncluirTransporte, AlterarTransporte };

// The query that opens the code list for a screen: "select * from ..." with a WHERE whose parenthesis is
// already closed, so that further conditions can follow with " AND ...". `entrada` is the document's kind
// (Entrada / Saída); the transport screens use the same list for both kinds.
QString FiltroCfop(TelaCfop tela, bool entrada, const QString& versao);

// Opens the list with filtro + sufixo; a refused query leaves it closed and returns false.
bool AbreListaCfop(TDataSet& lista, const QString& filtro, const QString& sufixo = {});
// Re-opens the list on the one code (blanks around it ignored) within the filter and returns its CF_Codigo;
// empty when the filter does not admit it or the query is refused.
QString BuscaCfop(TDataSet& lista, const QString& codigo, const QString& filtro);

// Codes whose documents are not checked against the other party's state.
bool CfopDispensaCriticaUF(const QString& codigo);
// Entry codes that give no tax credit: false for them, true for every other code.
bool CfopGeraCreditoEntrada(const QString& codigo);
// The two lists themselves, in their order.
const QStringList& CfopsDispensamCriticaUF();
const QStringList& CfopsSemCreditoEntrada();

// What an update of the CFOP table from a text file did.
struct TResultadoCfops {
    enum class Situacao { ArquivoAusente, Concluida };
    Situacao situacao = Situacao::Concluida;
    int linhas = 0;     // lines in the file
    int incluidas = 0;
    int alteradas = 0;
    int ignoradas = 0;  // malformed lines and lines the database refused
};

// Called after each line with the lines done and the lines in the file, for a screen's own bar.
using TPassoCfops = std::function<void(int feitas, int total)>;

// Brings the four-digit table up to date from a file of fixed-width lines: the code in characters 1-4, the
// description in 5-234. A new code is added with CF_ST "S"; a known one gets the new description and keeps
// its flag. The file may be UTF-8 (with or without BOM) or Latin-1 / Windows-1252, with LF or CR LF lines.
// Malformed lines and lines the database refuses are skipped. Everything runs in one transaction; only
// the failure to begin or to commit it raises EBancoDados.
TResultadoCfops AtualizaCfops(TDTM& dtm, const QString& arquivo, IProgresso& progresso,
                              const TPassoCfops& passo = {});
