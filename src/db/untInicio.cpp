#include "db/untInicio.h"

#include "core/DialogsNew.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"

QString ExecutaVerificacoesIniciais(TDTMCON& con, TDTM& dtm, IDialogos& dialogos, IProgresso& progresso)
{
    const QString resultado = con.Conectar();
    if (resultado == QLatin1String("ERR"))
        return resultado;
    if (resultado == QLatin1String("JET")) {
        con.Fechar();
        con.CompactarBanco(TDTMCON::nomeBanco(), progresso);
        con.Reabrir();
    }
    if (con.danificado()) {
        // Upgrading a damaged file could spread the damage; the user is told once and decides.
        MessageDlg(dialogos, TDTMCON::mensagemDanificado(), TipoMsg::Aviso, {Botao::Ok});
        return resultado;
    }
    ExecutaPassosDeEsquema(dtm, dialogos);
    return resultado;
}

void ExecutaPassosDeEsquema(TDTM& dtm, IDialogos& dialogos)
{
    for (const TDTM::TPassoInicio& passo : dtm.passosDeInicio())
        if (!passo.executa() && !passo.mensagemFalha.isEmpty())
            InformaErro(dialogos, passo.mensagemFalha);
}
