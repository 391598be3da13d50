// The program's headless tool: the same core as the desktop program, for scripts and accountants.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untAjuda.h"
#include "core/untPastaDados.h"
#include "core/untSistema.h"
#include "core/untVersao.h"
#include "core/untRelogio.h"
#include "output/untGerarLinhaComando.h"
#include "output/untVerificaArquivo.h"
#include "registers/untValidaLote.h"

// Exit status: 0 valid, 1 invalid, 2 misuse. In the batch form: 0 when every line was read and checked,
// 1 when some line could not be read (it is reported on standard error and skipped).
int ComandoValida(const QStringList& args)
{
    if (args.value(0) == QLatin1String("--lote")) {
        QTextStream entrada(stdin);
        int numeroLinha = 0;
        int ruins = 0;
        QString linha;
        while (entrada.readLineInto(&linha)) {
            ++numeroLinha;
            if (linha.trimmed().isEmpty())
                continue;
            bool ok = false;
            const QString resposta = ValidaLinhaLote(linha, &ok);
            if (ok) {
                saida() << resposta << '\n';
            } else {
                ++ruins;
                erros() << "linha " << numeroLinha << ": esperado TIPO<TAB>UF<TAB>NUMERO com TIPO cnpj, cpf ou ie\n";
            }
        }
        saida().flush();
        erros().flush();
        return ruins == 0 ? 0 : 1;
    }
    QString tipo = args.value(0), uf, numero;
    if (tipo == QLatin1String("ie")) {
        if (args.size() != 3) {
            erros() << AjudaComando(QStringLiteral("valida"));
            return 2;
        }
        uf = args[1];
        numero = args[2];
    } else if (args.size() == 2) {
        numero = args[1];
    } else {
        erros() << AjudaComando(QStringLiteral("valida"));
        return 2;
    }
    bool reconhecido = false;
    const bool valido = ValidaNumero(tipo, uf, numero, &reconhecido);
    if (!reconhecido) {
        erros() << AjudaComando(QStringLiteral("valida"));
        return 2;
    }
    saida() << (valido ? "valido" : "invalido") << '\n';
    return valido ? 0 : 1;
}

int ComandoVerifica(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        erros() << AjudaComando(QStringLiteral("verifica"));
        return 2;
    }
    QString texto, erro;
    const int r = ExecutaVerifica(args.first(), &texto, &erro);
    if (r == 2) {
        erros() << "zelcli verifica: " << erro << '\n';
        return r;
    }
    saida() << texto;
    saida().flush();
    return r;
}

int ComandoGerar(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption tipo(QStringLiteral("tipo"), QStringLiteral("ZEL, EPP, SN ou DA"), QStringLiteral("TIPO"));
    const QCommandLineOption retificadora(QStringLiteral("retificadora"), QString::fromUtf8("declaração retificadora"));
    const QCommandLineOption saida(QStringLiteral("saida"), QStringLiteral("arquivo a gravar"), QStringLiteral("ARQUIVO"));
    const QCommandLineOption aceita(QStringLiteral("aceita-diferencas"),
                                    QString::fromUtf8("gera mesmo que a declaração difira dos documentos"));
    p.addOptions({pasta, ie, periodo, tipo, retificadora, saida, aceita});
    if (!p.parse(QStringList{QStringLiteral("zelcli gerar")} + args)) {
        erros() << p.errorText() << '\n' << AjudaComando(QStringLiteral("gerar"));
        return 2;
    }
    TOpcoesGerar o;
    o.pasta = p.value(pasta);
    o.ie = p.value(ie);
    o.periodo = p.value(periodo);
    o.tipo = p.value(tipo);
    o.retificadora = p.isSet(retificadora);
    o.saida = p.value(saida);
    o.aceitaDiferencas = p.isSet(aceita);
    TDialogosTerminal dialogos;
    TProgressoTerminal progresso;
    TRelogioSistema relogio;
    QString erro;
    const int r = ExecutaGerar(o, dialogos, progresso, relogio, &erro);
    if (r != 0)
        erros() << "zelcli gerar: " << erro << '\n' << (r == 2 ? AjudaComando(QStringLiteral("gerar")) : QString());
    erros().flush();
    return r;
}

int main(int argc, char** argv)
{
    Sistema::IgnoraLimiteDeTamanhoDeArquivo();
    // Reports are laid out with fonts and pages, which need the GUI application object, though no window
    // is ever shown: without a display it draws on the offscreen platform.
    const bool relatorio = argc > 1 && qstrcmp(argv[1], "relatorio") == 0;
    if (relatorio && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> aplicacao(relatorio ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication& app = *aplicacao;
    QCoreApplication::setApplicationName(QStringLiteral("zelcli"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        erros() << TextoAjudaZelcli();
        erros().flush();
        return 2;
    }
    const QString comando = args.takeFirst();
    if (comando == QLatin1String("--help") || comando == QLatin1String("-h")) {
        saida() << TextoAjudaZelcli();
        saida().flush();
        return 0;
    }
    if (comando == QLatin1String("--version")) {
        saida() << "zelcli " << TextoVersao() << '\n';
        saida().flush();
        return 0;
    }
    const TAjuda* ajuda = AjudaDoComando(comando);
    if (!ajuda) {
        erros() << "comando desconhecido: " << comando << "\n\n" << TextoAjudaZelcli();
        erros().flush();
        return 2;
    }
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        saida() << TextoAjuda(*ajuda);
        saida().flush();
        return 0;
    }
    // A command without --pasta works on the folder the desktop program would use.
    if (QStringList{QStringLiteral("gerar"), QStringLiteral("apuracao"), QStringLiteral("backup"), QStringLiteral("restaura"),
                    QStringLiteral("relatorio"), QStringLiteral("importa-nfe"), QStringLiteral("fechamento")}
            .contains(comando))
        args = ArgumentosComPasta(args, QCoreApplication::applicationDirPath());
    if (comando == QLatin1String("valida"))
        return ComandoValida(args);
    if (comando == QLatin1String("gerar"))
        return ComandoGerar(args);
    if (comando == QLatin1String("relatorio"))
        return ComandoRelatorio(args);
    if (comando == QLatin1String("backup"))
        return ComandoBackup(args);
    if (comando == QLatin1String("restaura"))
        return ComandoRestaura(args);
    if (comando == QLatin1String("verifica"))
        return ComandoVerifica(args);
    if (comando == QLatin1String("apuracao"))
        return ComandoApuracao(args);
    if (comando == QLatin1String("recibo"))
        return ComandoRecibo(args);
    if (comando == QLatin1String("importa-nfe"))
        return ComandoImportaNFe(args);
    if (comando == QLatin1String("fechamento"))
        return ComandoFechamento(args);
    return 2;
}
