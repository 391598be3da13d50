#pragma once
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/untMoney.h"

// A report as data: what the page header says, the columns, the detail lines (with their sub-lines) and the
// summary. Built in core code from the dataset a screen has just opened; one painter lays it out for the
// preview, the printer and a PDF alike.

struct TColunaRelatorio {
    QString titulo;
    int largura = 10;          // in characters of the detail font: the painter scales them to the page
    bool direita = false;      // money and numbers are right-aligned
    // The column opens the second line of each detail: a list whose columns read best in two lines (the ECF
    // summaries) says so; the painter also breaks a list that does not fit the page on one line.
    bool novaLinha = false;
};

struct TLinhaRelatorio {
    enum class Tipo {
        Detalhe,   // one cell per column
        Sub,       // a sub-detail line: cells under the columns, indented
        Secao,     // a heading across the page ("[   CRÉDITO DE ICMS   ]")
        Texto,     // a line of text across the page
        Campo,     // a label and its value (the declaration prints)
        Total,     // cells under the columns, bold
    };
    Tipo tipo = Tipo::Detalhe;
    QStringList celulas;       // Detalhe, Sub, Total; Campo: label and value
    QString texto;             // Secao, Texto
};

struct TRelatorio {
    QString nome;              // the report's form name ("TfrmrptNotas")
    QString titulo;
    QStringList subtitulos;    // "Ordenados por Nome", "ENTRADAS", "MODALIDADE: CIF", "Regime: EPP"
    QString contribuinte;      // "Contribuinte: 12.345678-9  RAZÃO" when the report is about the open taxpayer
    QString periodo;           // "Período: 05 / 2006"
    bool declaracao = false;   // the three government heading lines instead of the program's
    bool paisagem = false;     // landscape even when the columns would fit a portrait page
    QDateTime emissao;         // the printing date and time
    QList<TColunaRelatorio> colunas;
    QList<TLinhaRelatorio> linhas;
    QList<TLinhaRelatorio> resumo;

    void detalhe(const QStringList& celulas) { linhas.append({TLinhaRelatorio::Tipo::Detalhe, celulas, {}}); }
    void sub(const QStringList& celulas) { linhas.append({TLinhaRelatorio::Tipo::Sub, celulas, {}}); }
    void secao(const QString& texto) { linhas.append({TLinhaRelatorio::Tipo::Secao, {}, texto}); }
    void campo(const QString& rotulo, const QString& valor) { linhas.append({TLinhaRelatorio::Tipo::Campo, {rotulo, valor}, {}}); }
    void textoResumo(const QString& texto) { resumo.append({TLinhaRelatorio::Tipo::Texto, {}, texto}); }
    void totalResumo(const QStringList& celulas) { resumo.append({TLinhaRelatorio::Tipo::Total, celulas, {}}); }
    // Every text of the report in reading order, for checks and searches.
    QStringList textos() const;
};

// The headings of every page.
QString NomeDoPrograma();
QString LinhaDoFabricante();
QStringList CabecalhoDeclaracao();

// The number formats of the reports.
namespace FormatoRelatorio {
// Money with two decimals and thousands ("#,##0.00"): 1.234,56; a fraction of a cent rounds ties to even.
QString Dinheiro(Money m);
// A total computed by the program: money right-aligned in twelve characters.
QString Total(Money m);
// The state registration through "00.000000-0" (nine digits); other texts as they are.
QString Inscricao(const QString& ccicms);
// A 14-digit number as a CNPJ (00.000.000/0000-00), an 11-digit one as a CPF (000.000.000-00); other texts
// as they are.
QString CnpjCpf(const QString& numero);
// The rate "1700" as 17.00%; a text that is not four digits after zero-filling as it is.
QString Aliquota(const QString& aliquota);
// "200605" as 2006/05.
QString Periodo(const QString& periodo);
QString Data(const QDate& d);
// "N" NORMAL, "R" RETIFICADORA.
QString TipoDeclaracao(const QString& tipo);
// The tax of a rate on its accumulated base: the exact rate product the figures use; a rate that does not
// read as a number gives 0.
Money ImpostoDaAliquota(Money base, const QString& aliquota);
} // namespace FormatoRelatorio
