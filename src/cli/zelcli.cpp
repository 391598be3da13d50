// The program's headless tool: the same core as the desktop program, for scripts and accountants.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "registers/untValidaLote.h"

namespace {

QTextStream& saida()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& erros()
{
    static QTextStream s(stderr);
    return s;
}

const char* const kAjudaValida =
    "Uso:\n"
    "  zelcli valida cnpj NUMERO\n"
    "  zelcli valida cpf NUMERO\n"
    "  zelcli valida ie UF NUMERO\n"
    "  zelcli valida --lote < arquivo   (linhas TIPO<TAB>UF<TAB>NUMERO; UF vazia para cnpj e cpf)\n"
    "Responde \"valido\" ou \"invalido\"; no lote, uma linha NUMERO<TAB>valido|invalido por linha lida.\n";

// Exit status: 0 valid, 1 invalid, 2 misuse. In the batch form: 0 when every line was read and checked,
// 1 when some line could not be read (it is reported on standard error and skipped).
int valida(const QStringList& args)
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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelcli"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zel do ICMS sem janelas.\n\n") + QString::fromLatin1(kAjudaValida));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("comando"), QStringLiteral("valida"));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);
    QStringList args = parser.positionalArguments();
    if (args.isEmpty()) {
        erros() << parser.helpText();
        return 2;
    }
    const QString comando = args.takeFirst();
    if (comando == QLatin1String("valida"))
        return valida(args);
    erros() << "comando desconhecido: " << comando << "\n" << parser.helpText();
    return 2;
}
