#include <QCommandLineParser>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "reports/pdf/untPintaRelatorio.h"
#include "reports/untRelatorio.h"
#include "reports/untRelatorioLinhaComando.h"

int ComandoRelatorio(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption ie(QStringLiteral("ie"), QString::fromUtf8("inscrição estadual"), QStringLiteral("IE"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption tipo(QStringLiteral("tipo"), QStringLiteral("E ou S"), QStringLiteral("TIPO"), QStringLiteral("S"));
    const QCommandLineOption modalidade(QStringLiteral("modalidade"), QStringLiteral("CIF ou FOB"), QStringLiteral("MODALIDADE"),
                                        QStringLiteral("CIF"));
    const QCommandLineOption digitos(QStringLiteral("digitos"), QStringLiteral("3 ou 4"), QStringLiteral("N"), QStringLiteral("4"));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("arquivo PDF"), QStringLiteral("ARQUIVO"));
    p.addOptions({pasta, ie, periodo, tipo, modalidade, digitos, pdf});
    p.addPositionalArgument(QStringLiteral("nome"), QString::fromUtf8("relatório"));
    if (!p.parse(QStringList{QStringLiteral("zelcli relatorio")} + args) || p.positionalArguments().size() != 1 ||
        !p.isSet(pdf)) {
        erros() << (p.errorText().isEmpty() ? QString() : p.errorText() + QLatin1Char('\n')) << AjudaComando(QStringLiteral("relatorio"));
        erros().flush();
        return 2;
    }
    TOpcoesRelatorio o;
    o.nome = p.positionalArguments().first();
    o.pasta = p.value(pasta);
    o.ie = p.value(ie);
    o.periodo = p.value(periodo);
    o.tipo = p.value(tipo);
    o.modalidade = p.value(modalidade);
    o.digitos = p.value(digitos).toInt();
    o.emissao = QDateTime::currentDateTime();
    TRelatorio r;
    QString erro;
    int rc = MontaRelatorio(o, &r, &erro);
    if (rc == 0 && !ExportaPdf(r, p.value(pdf), &erro))
        rc = 1;
    if (rc != 0)
        erros() << "zelcli relatorio: " << erro << '\n' << (rc == 2 ? AjudaComando(QStringLiteral("relatorio")) : QString());
    else
        saida() << p.value(pdf) << '\n';
    saida().flush();
    erros().flush();
    return rc;
}
