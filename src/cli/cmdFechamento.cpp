#include <QCommandLineParser>
#include <QFileInfo>

#include "cli/untComandos.h"
#include "cli/untTerminal.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untBancoPasta.h"
#include "db/untDTMCON.h"
#include "db/untSqlite.h"
#include "db/untTravaPasta.h"
#include "output/untEstadoMes.h"
#include "output/untRegistros.h"

namespace {

QString umaLinha(QString texto)
{
    texto.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return texto.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QStringLiteral("; ")).simplified();
}

int falha(const QString& texto)
{
    erros() << "zelcli fechamento: " << texto << '\n';
    erros().flush();
    return 1;
}

} // namespace

int ComandoFechamento(const QStringList& args)
{
    QCommandLineParser p;
    const QCommandLineOption pasta(QStringLiteral("pasta"), QStringLiteral("pasta do banco"), QStringLiteral("PASTA"));
    const QCommandLineOption periodo(QStringLiteral("periodo"), QString::fromUtf8("período AAAAMM"), QStringLiteral("AAAAMM"));
    const QCommandLineOption gerar(QStringLiteral("gerar"), QStringLiteral("pasta dos arquivos a gravar"), QStringLiteral("PASTA"));
    p.addOptions({pasta, periodo, gerar});
    QString erro;
    if (!p.parse(QStringList{QStringLiteral("zelcli fechamento")} + args) || !p.isSet(pasta) || !p.isSet(periodo) ||
        !p.positionalArguments().isEmpty() || !Fechamento::PeriodoValido(p.value(periodo), &erro) ||
        (p.isSet(gerar) && p.value(gerar).trimmed().isEmpty())) {
        const QString motivo = !p.errorText().isEmpty() ? p.errorText() : erro;
        erros() << (motivo.isEmpty() ? QString() : motivo + QLatin1Char('\n')) << AjudaComando(QStringLiteral("fechamento"));
        erros().flush();
        return 2;
    }
    const QString destino = p.value(gerar);
    if (p.isSet(gerar) && !QFileInfo(destino).isDir())
        return falha(QString::fromUtf8("a pasta dos arquivos não existe: %1").arg(destino));
    // The batch records the Simples Nacional files' dates: a desktop program open on the folder must not be
    // written under, and the state it lists must not change under it.
    TTravaPasta trava(p.value(pasta));
    if (!trava.trava())
        return falha(trava.mensagemDaFalha());
    TDialogosTerminal dialogos;
    TDTMCON con(p.value(pasta), dialogos);
    TDTM dtm(con);
    if (AbreBancoDaPasta(con, &erro) != 0)
        return falha(erro);
    if (p.isSet(gerar) && (con.modo() == QLatin1String("MAD") || con.danificado()))
        return falha(con.danificado() ? TDTMCON::mensagemDanificado()
                                      : QString::fromUtf8("o banco de dados está somente para leitura"));
    TRelogioSistema relogio;
    const QString mes = p.value(periodo);
    QList<Fechamento::TLinha> linhas;
    QList<Fechamento::TResultado> resultados;
    try {
        linhas = Fechamento::EstadoDoMes(dtm, dialogos, relogio, mes, destino);
        if (p.isSet(gerar)) {
            TProgressoNulo nulo;
            resultados = Fechamento::GeraArquivos(dtm, dialogos, nulo, relogio, mes, destino, linhas,
                                                  [](int i, int n, const Fechamento::TLinha& l) {
                                                      erros() << "gerando " << i + 1 << "/" << n << ": " << l.ccicms
                                                              << " - " << l.razaoSocial << '\n';
                                                      erros().flush();
                                                  });
        }
    } catch (const EBancoDados& e) {
        return falha(e.mensagem());
    } catch (const EArquivoInvalido& e) {
        return falha(e.mensagem());
    }
    for (const Fechamento::TLinha& l : linhas) {
        QStringList campos = {l.ccicms, l.razaoSocial, Fechamento::TextoSituacao(l.situacao)};
        for (const Fechamento::TDocumentos& d : l.documentos)
            campos << QString::number(d.quantidade);
        const QString observacao = !l.mensagem.isEmpty() ? l.mensagem : !l.diferencas.isEmpty() ? l.diferencas : l.arquivo;
        if (!observacao.isEmpty())
            campos << umaLinha(observacao);
        saida() << campos.join(QLatin1Char('\t')) << '\n';
    }
    saida().flush();
    return Fechamento::MesEmOrdem(linhas, resultados) ? 0 : 1;
}
