#include "app/untRegistroTelas.h"

#include "app/Main.h"
#include "backup/screens/untFormBackup.h"
#include "backup/screens/untFormConfigBackup.h"
#include "backup/untBackup.h"
#include "core/untProgresso.h"
#include "db/untDTMCON.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untDAnuais.h"
#include "declarations/screens/untFechamentoMes.h"
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
    registra<TfrmFechamentoMes>(janela, ctx, "btnFechamentoMes");
}

void RegistraBackup(TfrmMain& janela, TContexto& ctx, TBackup& backup)
{
    janela.AposVerificar = [&backup, &ctx](const QString& modo) {
        if (modo == QLatin1String("ERR"))
            backup.impedimento = QString::fromUtf8("não foi possível abrir a Base de Dados.");
        else if (ctx.con->danificado())
            backup.impedimento = QString::fromUtf8("a Base de Dados está danificada.");
        else
            backup.impedimento.clear();
    };
    janela.defineTela(QStringLiteral("btnRestBakcup"), [&janela, &ctx, &backup] {
        TFormBackup tela(backup, *ctx.dialogos, [&ctx] { return ctx.con->conectado(); }, &janela);
        ctx.dialogos->executaModal(&tela);
        // The open taxpayer may not exist in the restored data: it is closed, and the start-up checks that
        // follow open the restored file. The user is told, or the next command would seem to have lost it.
        if (backup.recuperado && janela.estado().habilitado(Comando::Fechar)) {
            const QString aberto = janela.contribuinteAberto();
            janela.FecharSessao();
            Informa(*ctx.dialogos, QString::fromUtf8("O contribuinte %1 foi fechado: os dados do sistema foram substituídos "
                                                     "pelos da cópia de segurança recuperada.\nAbra o contribuinte "
                                                     "novamente para continuar.")
                                       .arg(aberto));
        }
    });
    janela.defineTela(QStringLiteral("btnConfBackup"), [&janela, &ctx, &backup] {
        TFormConfigBackup tela(backup, &janela);
        ctx.dialogos->executaModal(&tela);
    });
    janela.defineTela(QStringLiteral("FimDoPrograma"), [&janela, &ctx, &backup] {
        IProgresso* progresso = ctx.progresso;
        if (progresso) {
            backup.dica = [progresso](const QString& t) { progresso->mensagem(t); };
            backup.progresso = [progresso](int p) { progresso->posicao(p); };
        }
        const bool vaiFazer = backup.Vencido(ctx.relogio->agora()) && backup.impedimento.isEmpty();
        if (progresso && vaiFazer)
            progresso->inicia();
        const TBackup::TFim fim = backup.FimDoPrograma();
        if (progresso && vaiFazer)
            progresso->termina();
        backup.dica = nullptr;
        backup.progresso = nullptr;
        switch (fim.acao) {
        case TBackup::TFim::Acao::Falhou:
            InformaErro(*ctx.dialogos, fim.mensagem);
            break;
        case TBackup::TFim::Acao::Impedido:
            Informa(*ctx.dialogos, fim.mensagem);
            break;
        case TBackup::TFim::Acao::Pergunta:
            if (PerguntaSim(*ctx.dialogos, fim.mensagem)) {
                TFormBackup tela(backup, *ctx.dialogos, [&ctx] { return ctx.con->conectado(); }, &janela);
                ctx.dialogos->executaModal(&tela);
            }
            break;
        case TBackup::TFim::Acao::Nada:
        case TBackup::TFim::Acao::Realizado:
            break;
        }
        backup.Salva();
    });
}
