#include <QCommandLineParser>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "reports/pdf/untPintaRelatorio.h"
#include "reports/untRelatorio.h"
#include "reports/untRelatorioLinhaComando.h"

namespace {

const char* const kAjudaRelatorio =
    "Uso:\n"
    "  zelcli relatorio NOME --pasta PASTA [--ie INSCRICAO] [--periodo AAAAMM] [--tipo E|S] [--modalidade CIF|FOB]\n"
    "                   [--digitos 3|4] --pdf ARQUIVO.pdf\n"
    "Grava em PDF o relatório que a tela imprimiria com as mesmas escolhas. NOME: notas, talao, transporte, ecf,\n"
    "contadores, contribuintes, fornecedores, cfop, municipios, quadrov, anuais, zel, epp, sn. Os relatórios de\n"
    "um contribuinte pedem --ie e --periodo (anuais: o ano do período). Saída 0 com o arquivo gravado, 1 quando\n"
    "não há o que imprimir ou a gravação falha, 2 com uso incorreto.\n";

} // namespace

int ComandoRelatorio(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"), QStringLiteral("."));
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
        erros() << (p.errorText().isEmpty() ? QString() : p.errorText() + QLatin1Char('\n')) << QString::fromUtf8(kAjudaRelatorio);
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
        erros() << "zelcli relatorio: " << erro << '\n' << (rc == 2 ? QString::fromUtf8(kAjudaRelatorio) : QString());
    else
        saida() << p.value(pdf) << '\n';
    saida().flush();
    erros().flush();
    return rc;
}
