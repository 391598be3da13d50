#pragma once
#include <QString>

class IDialogos;
class IProgresso;
class IRelogio;

// "zelcli gerar": the return file of one taxpayer (found by its state registration) and period, from the
// database in a folder, without a window.
struct TOpcoesGerar {
    QString pasta;
    QString ie;
    QString periodo;       // "yyyymm"
    QString tipo;          // "ZEL", "EPP", "SN" or "DA"
    bool retificadora = false;
    QString saida;
    // A declaration whose fields taken from the documents no longer agree with them is refused unless this
    // is set.
    bool aceitaDiferencas = false;
};

// 0 when the file was written; otherwise non-zero with `erro` saying why (nothing is written then).
int ExecutaGerar(const TOpcoesGerar& opcoes, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio, QString* erro);
