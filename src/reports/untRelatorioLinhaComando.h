#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

struct TRelatorio;

// "zelcli relatorio": the report a screen would print for the same choices, from the database of a folder.
struct TOpcoesRelatorio {
    QString nome;          // one of NomesRelatorios()
    QString pasta;
    QString ie;            // the taxpayer, for the reports about one
    QString periodo;       // "yyyymm" (or "yyyy**" for every month of a year, where the screen offers it)
    QString tipo;          // invoices: "E" or "S"
    QString modalidade;    // transport: "CIF" or "FOB"
    int digitos = 4;       // code table: 4 or 3
    QDateTime emissao;
};

// notas, talao, transporte, ecf, contadores, contribuintes, fornecedores, cfop, municipios, quadrov, anuais,
// zel, epp, sn.
const QStringList& NomesRelatorios();

// 0 with the report built; 1 with the reason in `erro` (nothing found, no such declaration, a database
// error); 2 for options that make no sense.
int MontaRelatorio(const TOpcoesRelatorio& opcoes, TRelatorio* relatorio, QString* erro);
