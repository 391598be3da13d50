#include <QCommandLineParser>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untBancoPasta.h"
#include "db/untDTMCON.h"
#include "db/untTravaPasta.h"
#include "nfe/untImportaNFe.h"

int ComandoImportaNFe(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    p.addOptions({pasta, ie});
    p.addPositionalArgument(QStringLiteral("arquivos"), QStringLiteral("arquivos XML, pastas ou zip"));
    if (!p.parse(QStringList{QStringLiteral("zelcli importa-nfe")} + args) || !p.isSet(pasta) ||
        p.value(ie).trimmed().isEmpty() || p.positionalArguments().isEmpty()) {
        erros() << (p.errorText().isEmpty() ? QString() : p.errorText() + QLatin1Char('\n'))
                << AjudaComando(QStringLiteral("importa-nfe"));
        erros().flush();
        return 2;
    }
    // The import writes: a desktop program open on the same folder must not be written under.
    TTravaPasta trava(p.value(pasta));
    if (!trava.trava()) {
        erros() << "zelcli importa-nfe: " << trava.mensagemDaFalha() << '\n';
        erros().flush();
        return 1;
    }
    TDialogosTerminal dialogos;
    TDTMCON con(p.value(pasta), dialogos);
    TDTM dtm(con);
    int idAtivo = 0;
    QString erro;
    if (AbreContribuinteDaPasta(con, p.value(ie), &idAtivo, &erro) != 0) {
        erros() << "zelcli importa-nfe: " << erro << '\n';
        erros().flush();
        return 1;
    }
    if (con.modo() == QLatin1String("MAD") || con.danificado()) {
        erros() << "zelcli importa-nfe: "
                << (con.danificado() ? TDTMCON::mensagemDanificado()
                                     : QString::fromUtf8("o banco de dados está somente para leitura"))
                << '\n';
        erros().flush();
        return 1;
    }
    TRelogioSistema relogio;
    TImportaNFe importa(dtm, relogio, idAtivo);
    bool recusou = false;
    for (const TResultadoNFe& r : importa.ImportaCaminhos(p.positionalArguments())) {
        switch (r.situacao) {
        case TResultadoNFe::Situacao::Importado:
            saida() << "importado: " << r.arquivo << ": " << r.descricao << '\n';
            break;
        case TResultadoNFe::Situacao::Duplicado:
            saida() << "duplicado: " << r.arquivo << ": " << r.motivo << '\n';
            break;
        case TResultadoNFe::Situacao::Recusado:
            // What the register does not book (other events, NFC-e, distribution summaries) is listed, but
            // the batch did not fail on it.
            if (r.ignorado) {
                saida() << "ignorado: " << r.arquivo << ": " << r.motivo << '\n';
                break;
            }
            recusou = true;
            saida() << "recusado: " << r.arquivo << ": " << r.motivo << '\n';
            break;
        }
    }
    saida().flush();
    return recusou ? 1 : 0;
}
