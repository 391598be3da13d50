#pragma once
#include <QString>
#include <QStringList>

class IDialogos;

// "zelcli apuracao": the month's declaration figures of one taxpayer (found by its state registration) from
// the database in a folder, without a window. Nothing is written to the database.
struct TOpcoesApuracao {
    QString pasta;
    QString ie;
    QString periodo; // "yyyymm"
    // Empty: the month's figures. "normal", "epp", "sn": what "Processa" of that declaration's screen shows
    // for the month, before anything is typed (for "epp", the old rules' screen up to 06/2006, MP 37/06 after).
    QString declaracao;
};

// 0 with the listing of LinhasApuracao in `linhas`; otherwise 2 for arguments that do not read, 1 for
// anything else (a period the declaration's screen refuses among them, with that screen's message), with
// `erro` saying why and `linhas` left empty.
int ExecutaApuracao(const TOpcoesApuracao& opcoes, IDialogos& dialogos, QStringList* linhas, QString* erro);
