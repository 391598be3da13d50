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
    "e ExistemDocumentos<TAB>sim|nao. Com --declaracao normal, depois desses valores, uma linha NN<TAB>valor\n"
    "para cada campo que o \"Processa\" da apuração do regime normal preenche (NN o número do rótulo do\n"
    "campo: 1, 3, 8 ... 17, 01 ... 06). Com --declaracao epp ou sn, só o que o \"Processa\" dessa tela\n"
    "preenche (epp: a tela antiga até 06/2006, a da MP 37/06 depois), uma linha COLUNA<TAB>valor pela coluna\n"
    "da tabela ZEL_EPP ou ZEL_SN. Esses valores têm quatro casas e ponto decimal. Um período que a tela\n"
    "recusa (epp antes de 2004, sn antes de 07/2007) termina com a mensagem da tela e o código 1.\n"
    "O banco não é alterado; erros vão para a saída de erros.\n";

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
