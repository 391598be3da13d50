// "zelcli apuracao": the figures the declaration screens take from the month's documents.
#include <QCommandLineParser>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "declarations/untApuracaoLinhaComando.h"

int ComandoApuracao(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption declaracao(QStringLiteral("declaracao"), QString::fromUtf8("declaração cujo \"Processa\" mostrar: normal, epp ou sn"),
                                        QStringLiteral("TIPO"));
    p.addOptions({pasta, ie, periodo, declaracao});
    if (!p.parse(QStringList{QStringLiteral("zelcli apuracao")} + args) || !p.positionalArguments().isEmpty()) {
        erros() << (p.errorText().isEmpty() ? QStringLiteral("argumento inesperado: ") + p.positionalArguments().join(' ')
                                            : p.errorText())
                << '\n' << AjudaComando(QStringLiteral("apuracao"));
        erros().flush();
        return 2;
    }
    TOpcoesApuracao o;
    o.pasta = p.value(pasta);
    o.ie = p.value(ie);
    o.periodo = p.value(periodo);
    o.declaracao = p.value(declaracao);
    TDialogosTerminal dialogos;
    QStringList linhas;
    QString erro;
    const int r = ExecutaApuracao(o, dialogos, &linhas, &erro);
    if (r != 0) {
        erros() << "zelcli apuracao: " << erro << '\n';
        if (r == 2)
            erros() << AjudaComando(QStringLiteral("apuracao"));
        erros().flush();
        return r;
    }
    for (const QString& linha : linhas)
        saida() << linha << '\n';
    saida().flush();
    return 0;
}
