// "zelcli apuracao": the figures the declaration screens take from the month's documents.
#include <QCommandLineParser>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "declarations/untApuracaoLinhaComando.h"

static const char* const kAjudaApuracao =
    "Uso:\n"
    "  zelcli apuracao --pasta PASTA --ie INSCRICAO --periodo AAAAMM [--declaracao normal|epp|sn]\n"
    "Lista os valores do mês que as declarações tiram dos documentos do contribuinte (achado pela inscrição\n"
    "estadual) no banco bcoZel.mdb da PASTA: uma linha NOME<TAB>valor cada, com duas casas e ponto decimal,\n"
    "e ExistemDocumentos<TAB>sim|nao. Com --declaracao normal, epp ou sn, lista o que o \"Processa\" da tela\n"
    "dessa declaração mostra para o mês (epp: a tela antiga até 06/2006, a da MP 37/06 depois): uma linha\n"
    "COLUNA<TAB>valor cada, pela coluna da tabela (ZEL, ZEL_EPP ou ZEL_SN) que guarda o valor (os totais\n"
    "calculados da ZEL pelo nome do campo), com quatro casas e ponto decimal. O banco não é alterado; erros\n"
    "vão para a saída de erros.\n";

int ComandoApuracao(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"), QStringLiteral("."));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption declaracao(QStringLiteral("declaracao"), QString::fromUtf8("declaração cujo \"Processa\" mostrar: normal, epp ou sn"),
                                        QStringLiteral("TIPO"));
    p.addOptions({pasta, ie, periodo, declaracao});
    if (!p.parse(QStringList{QStringLiteral("zelcli apuracao")} + args) || !p.positionalArguments().isEmpty()) {
        erros() << (p.errorText().isEmpty() ? QStringLiteral("argumento inesperado: ") + p.positionalArguments().join(' ')
                                            : p.errorText())
                << '\n' << QString::fromUtf8(kAjudaApuracao);
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
            erros() << QString::fromUtf8(kAjudaApuracao);
        erros().flush();
        return r;
    }
    for (const QString& linha : linhas)
        saida() << linha << '\n';
    saida().flush();
    return 0;
}
