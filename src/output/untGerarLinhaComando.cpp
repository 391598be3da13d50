#include "output/untGerarLinhaComando.h"

#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untBancoPasta.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "output/untGeradorArquivo.h"

int ExecutaGerar(const TOpcoesGerar& o, IDialogos& dialogos, IProgresso& progresso, IRelogio& relogio, QString* erro)
{
    static const QStringList tipos = {QStringLiteral("ZEL"), QStringLiteral("EPP"), QStringLiteral("SN"), QStringLiteral("DA")};
    const int tipoDeclaracao = int(tipos.indexOf(o.tipo.toUpper())) + 1;
    if (tipoDeclaracao == 0) {
        *erro = QStringLiteral("tipo deve ser ZEL, EPP, SN ou DA");
        return 2;
    }
    if (o.saida.isEmpty() || o.ie.isEmpty() || o.periodo.isEmpty()) {
        *erro = QString::fromUtf8("informe --ie, --periodo e --saida");
        return 2;
    }
    TDTMCON con(o.pasta, dialogos);
    TDTM dtm(con);
    int idAtivo = 0;
    if (const int r = AbreContribuinteDaPasta(con, o.ie, &idAtivo, erro); r != 0)
        return r;
    // Kinds 1 to 3 have their regime code; the annual file takes the regime stored with the year's data.
    static const char* const regimes[] = {"1", "7", "3", ""};
    const QString regime = QString::fromLatin1(regimes[tipoDeclaracao - 1]);
    TGeradorArquivo gerador(dtm, dialogos, progresso, relogio, idAtivo);
    gerador.MostraErros = false; // the error comes back in `erro`, which the caller prints
    // The type is the stored declaration's; --retificadora only asks that it be one.
    const QString tipo = o.retificadora ? QStringLiteral("2") : QString();
    if (!o.aceitaDiferencas) {
        // A declaration its own documents contradict is never filed without being asked for.
        QString diferencas;
        try {
            diferencas = gerador.DiferencasDosDocumentos(regime, o.periodo, tipoDeclaracao, tipo);
        } catch (const EArquivoInvalido& e) {
            *erro = e.mensagem();
            return 1;
        } catch (const EBancoDados& e) {
            *erro = e.mensagem();
            return 1;
        }
        if (!diferencas.isEmpty()) {
            *erro = diferencas + QString::fromUtf8("\nO arquivo não foi gerado: salve a declaração de novo depois de "
                                                   "\"Processa\", ou use --aceita-diferencas.");
            return 1;
        }
    }
    if (!gerador.GravaArquivo(o.saida, regime, o.periodo, tipoDeclaracao, tipo)) {
        *erro = gerador.ultimoErro();
        return 1;
    }
    return 0;
}
