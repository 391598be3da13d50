#include <QCommandLineParser>

#include "backup/untBackup.h"
#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untRelogio.h"

namespace {

int executa(const QString& nome, const QStringList& args, bool restaura)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption destino(QStringLiteral("destino"), QStringLiteral("pasta de backup"), QStringLiteral("PASTA"));
    p.addOption(pasta);
    if (!restaura)
        p.addOption(destino);
    p.addPositionalArgument(QStringLiteral("arquivo"), QStringLiteral("arquivo de backup"));
    if (!p.parse(QStringList{nome} + args) || !p.isSet(pasta) || p.positionalArguments().size() != (restaura ? 1 : 0)) {
        erros() << (p.errorText().isEmpty() ? QString() : p.errorText() + QLatin1Char('\n')) << AjudaComando(restaura ? QStringLiteral("restaura") : QStringLiteral("backup"));
        erros().flush();
        return 2;
    }
    TRelogioSistema relogio;
    QString texto, erro;
    const int r = restaura ? ExecutaRestaura(p.value(pasta), p.positionalArguments().first(), relogio, &texto, &erro)
                           : ExecutaBackup(p.value(pasta), p.value(destino), relogio, &texto, &erro);
    if (r == 0)
        saida() << texto << '\n';
    else
        erros() << nome << ": " << erro << '\n';
    saida().flush();
    erros().flush();
    return r;
}

} // namespace

int ComandoBackup(const QStringList& args) { return executa(QStringLiteral("zelcli backup"), args, false); }
int ComandoRestaura(const QStringList& args) { return executa(QStringLiteral("zelcli restaura"), args, true); }
