// The program's headless tool: the same core as the desktop program, for scripts and accountants.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "output/untGerarLinhaComando.h"
#include "output/untVerificaArquivo.h"
#include "registers/untValidaLote.h"

namespace {

const char* const kAjudaValida =
    "Uso:\n"
    "  zelcli valida cnpj NUMERO\n"
    "  zelcli valida cpf NUMERO\n"
    "  zelcli valida ie UF NUMERO\n"
    "  zelcli valida --lote < arquivo   (linhas TIPO<TAB>UF<TAB>NUMERO; UF vazia para cnpj e cpf)\n"
    "Responde \"valido\" ou \"invalido\"; no lote, uma linha NUMERO<TAB>valido|invalido por linha lida.\n";

} // namespace

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
            erros() << kAjudaValida;
            return 2;
        }
        uf = args[1];
        numero = args[2];
    } else if (args.size() == 2) {
        numero = args[1];
    } else {
        erros() << kAjudaValida;
        return 2;
    }
    bool reconhecido = false;
    const bool valido = ValidaNumero(tipo, uf, numero, &reconhecido);
    if (!reconhecido) {
        erros() << kAjudaValida;
        return 2;
    }
    saida() << (valido ? "valido" : "invalido") << '\n';
    return valido ? 0 : 1;
}

static const char* const kAjudaGerar =
    "Uso:\n"
    "  zelcli gerar --pasta PASTA --ie INSCRICAO --periodo AAAAMM --tipo ZEL|EPP|SN|DA [--retificadora]\n"
    "               [--aceita-diferencas] --saida ARQUIVO\n"
    "Grava o arquivo da declaração do contribuinte (achado pela inscrição estadual) a partir do banco bcoZel.mdb\n"
    "da PASTA: registros 10 e 11, os registros dos documentos do mês, os registros 88 da declaração gravada\n"
    "do período e o registro 90. O tipo (normal ou retificadora) é o da declaração gravada; --retificadora\n"
    "que não confere com ela é recusada. O arquivo é verificado antes de receber o nome. Progresso e erros\n"
    "vão para a saída de erros; um arquivo existente só é substituído quando o novo fica completo.\n"
    "Uma declaração cujos campos tirados dos documentos já não conferem com eles (os documentos do mês mudaram\n"
    "depois que ela foi salva) é recusada com as diferenças, a menos que --aceita-diferencas seja dado. O arquivo\n"
    "de dados anuais (DA) é do período AAAA12, ou do mês corrente no ano corrente.\n";

static const char* const kAjudaVerifica =
    "Uso:\n"
    "  zelcli verifica ARQUIVO\n"
    "Verifica um arquivo no leiaute do convênio (deste ou de outro programa) e lista cada falha com a linha e\n"
    "a posição. Saída 0 sem falhas, 1 com falhas, 2 quando o arquivo não pode ser lido ou não é um arquivo comum\n"
    "(um dispositivo, um pipe, uma pasta).\n";

int ComandoVerifica(const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        erros() << kAjudaVerifica;
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
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"), QStringLiteral("."));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption tipo(QStringLiteral("tipo"), QStringLiteral("ZEL, EPP, SN ou DA"), QStringLiteral("TIPO"));
    const QCommandLineOption retificadora(QStringLiteral("retificadora"), QString::fromUtf8("declaração retificadora"));
    const QCommandLineOption saida(QStringLiteral("saida"), QStringLiteral("arquivo a gravar"), QStringLiteral("ARQUIVO"));
    const QCommandLineOption aceita(QStringLiteral("aceita-diferencas"),
                                    QString::fromUtf8("gera mesmo que a declaração difira dos documentos"));
    p.addOptions({pasta, ie, periodo, tipo, retificadora, saida, aceita});
    if (!p.parse(QStringList{QStringLiteral("zelcli gerar")} + args)) {
        erros() << p.errorText() << '\n' << kAjudaGerar;
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
        erros() << "zelcli gerar: " << erro << '\n' << (r == 2 ? kAjudaGerar : "");
    erros().flush();
    return r;
}

int main(int argc, char** argv)
{
    IgnoraLimiteDeTamanhoDeArquivo();
    // Reports are laid out with fonts and pages, which need the GUI application object, though no window
    // is ever shown: without a display it draws on the offscreen platform.
    const bool relatorio = argc > 1 && qstrcmp(argv[1], "relatorio") == 0;
    if (relatorio && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> aplicacao(relatorio ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication& app = *aplicacao;
    QCoreApplication::setApplicationName(QStringLiteral("zelcli"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zel do ICMS sem janelas.\n\n") + QString::fromLatin1(kAjudaValida) +
                                     QStringLiteral("\n") + QString::fromUtf8(kAjudaGerar) +
                                     QStringLiteral("\n") + QString::fromUtf8(kAjudaVerifica) +
                                     QString::fromUtf8("\nUso:\n  zelcli apuracao --pasta PASTA --ie INSCRICAO --periodo AAAAMM\n"
                                                       "  zelcli recibo ARQUIVO.rcb\n"
                                                       "  zelcli backup --pasta PASTA [--destino PASTA_DE_BACKUP]\n"
                                                       "  zelcli restaura --pasta PASTA ARQUIVO.zip\n"
                                                       "  zelcli relatorio NOME --pasta PASTA [--ie IE --periodo AAAAMM ...] --pdf ARQUIVO.pdf\n"
                                                       "  zelcli importa-nfe --pasta PASTA --ie INSCRICAO ARQUIVOS...\n"
                                                       "  zelcli fechamento --pasta PASTA --periodo AAAAMM [--gerar PASTA_DOS_ARQUIVOS]\n"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("comando"), QStringLiteral("valida, gerar, verifica, apuracao, recibo, backup, restaura, relatorio, importa-nfe ou fechamento"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);
    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        erros() << parser.helpText();
        return 2;
    }
    const QString comando = args.takeFirst();
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
    erros() << "comando desconhecido: " << comando << "\n" << parser.helpText();
    return 2;
}
