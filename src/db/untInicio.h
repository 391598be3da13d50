#pragma once
#include <QString>

class TDTMCON;
class TDTM;
class IDialogos;
class IProgresso;

// The checks run each time the main window shows (and after a restore): connect, compact when the first way
// worked, then the schema steps in their order, each showing its own message when it cannot run at all.
// Returns the label of the connection ("ERR" when none could be made; the steps then do not run).
QString ExecutaVerificacoesIniciais(TDTMCON& con, TDTM& dtm, IDialogos& dialogos, IProgresso& progresso);

// The schema steps alone, in their order; a step that cannot run shows its message and the next still runs.
void ExecutaPassosDeEsquema(TDTM& dtm, IDialogos& dialogos);
