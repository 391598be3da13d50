#include "app/untRegistroTelas.h"

#include "app/Main.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "declarations/screens/untDAnuais.h"
#include "declarations/screens/untQuadroV.h"
#include "declarations/screens/untZEL.h"
#include "declarations/screens/untZELEPP.h"
#include "declarations/screens/untZELSN.h"
#include "documents/screens/untCupomFiscal.h"
#include "documents/screens/untNotasFiscais.h"
#include "documents/screens/untNotasTalao.h"
#include "documents/screens/untNotasTransporte.h"
#include "documents/screens/untTabelaCfop.h"
#include "registers/screens/untContadores.h"
#include "registers/screens/untContribuinte.h"
#include "registers/screens/untEmpresas.h"

template <class Tela>
static void registra(TfrmMain& janela, TContexto& ctx, const char* item)
{
    janela.defineTela(QString::fromLatin1(item), [&janela, &ctx] {
        Tela tela(ctx, &janela);
        ctx.dialogos->executaModal(&tela);
    });
}

void RegistraTelas(TfrmMain& janela, TContexto& ctx)
{
    registra<TfrmContribuintes>(janela, ctx, "btnAbrir");
    registra<TfrmContadores>(janela, ctx, "btnContador");
    registra<TfrmEmpresas>(janela, ctx, "btnFornecedor");
    registra<TfrmCfop03>(janela, ctx, "btnCfop3Digitos");
    registra<TfrmCfop04>(janela, ctx, "btnCfop4Dig");
    registra<TfrmNotasFiscais>(janela, ctx, "btnNotasFiscais");
    registra<TfrmNotasTalao>(janela, ctx, "btnNotaTalao");
    registra<TfrmCupomFiscal>(janela, ctx, "btnCupomFiscal");
    registra<TfrmNotasTransporte>(janela, ctx, "btnNotasTransporte");
    registra<TfrmZEL>(janela, ctx, "btnApurNormal");
    registra<TfrmZELEPP3706>(janela, ctx, "btnApurEPP3706");
    registra<TfrmZELEPPAntigo>(janela, ctx, "btnApurEPP");
    registra<TfrmZELSN>(janela, ctx, "btnSimplesNacional");
    registra<TfrmDAnuais>(janela, ctx, "btnDadosAnuais");
    registra<TfrmSelQuadroV>(janela, ctx, "QuadroV1");
    registra<TfrmMunicipioZR>(janela, ctx, "Municpio1");
}
