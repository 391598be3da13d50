#pragma once
#include <QList>
#include <QString>
#include <functional>

#include "db/untSqlite.h"

class TDTMCON;

// The main data module: the one command object and the shared datasets, all over the one connection,
// and the schema steps that bring an older database file up to date.
class TDTM {
public:
    explicit TDTM(TDTMCON& con);

    TDTMCON& conexao() { return m_con; }

    TComando ADOCommand;
    TDataSet ADODataSetAtivo;     // the open taxpayer's register row
    TDataSet ADODataSetVariavel;  // the register lists of taxpayers, clients and suppliers
    TDataSet ADODataSetContador;  // the accountant list
    TDataSet ADODataSetNotas;     // the invoice list of the browse screen
    TDataSet ADODataSetCFOP;      // the code list the document screens pick a CFOP from

    // Each step runs its statements through ADOCommand inside its own error trap(s) and returns false only
    // when it cannot run at all (no connection to be had).
    bool CriarZelEpp();
    bool AtualizarZelEpp();
    bool CriarZelSN();
    bool AtualizarZelSN();
    bool CriarZelPrgGov();
    bool AtualizarDadosAnuais();
    bool AtualizarEmailContribuinte();
    bool CriarMunicipio();
    bool AtualizarVornQuadroV();
    bool CriarVornQuadroV();
    // Run each time the normal-regime list opens; ends at the first refused statement, so the closing
    // data fix runs only on the start that added the new columns.
    bool AtualizarZel();

    // The after-connect step: the Quadro V table, then the indexes and the deletion guard.
    void AposConectar();

    struct TPassoInicio {
        std::function<bool()> executa;
        QString mensagemFalha; // empty: a failure passes silently
    };
    // The start-up steps in their order, with the message each shows when it cannot run.
    QList<TPassoInicio> passosDeInicio();

    // Re-reads ADODataSetAtivo for the given taxpayer.
    void LerContribuinteAtivo(int idAtivo);

private:
    bool podeExecutar();
    // Every statement in a trap of its own: a refused one is skipped and the next still runs.
    bool cadaUmNaSuaArmadilha(const QStringList& comandos);
    // All statements in one trap: the first refusal ends the step.
    bool todosNumaArmadilha(const QStringList& comandos);

    TDTMCON& m_con;
};
