#include <QCommandLineParser>

#include "backup/untBackup.h"
#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untRelogio.h"

namespace {

const char* const kAjudaBackup =
    "Uso:\n"
    "  zelcli backup --pasta PASTA [--destino PASTA_DE_BACKUP]\n"
    "  zelcli restaura --pasta PASTA ARQUIVO.zip\n"
    "backup grava uma cópia de segurança (manual) da Base de Dados bcoZel.mdb da PASTA em PASTA_DE_BACKUP (ou na\n"
    "pasta Backup da PASTA) e mostra o nome do arquivo. restaura faz antes uma cópia dos dados atuais e então\n"
    "recupera a Base de Dados do ARQUIVO.zip; qualquer falha deixa os dados atuais como estavam. Os dois recusam\n"
    "a PASTA enquanto o programa estiver aberto nela. Saída 0 com sucesso, 1 com falha, 2 com uso incorreto.\n";

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
        erros() << (p.errorText().isEmpty() ? QString() : p.errorText() + QLatin1Char('\n')) << QString::fromUtf8(kAjudaBackup);
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
