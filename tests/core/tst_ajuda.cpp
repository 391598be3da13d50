#include "core/untAjuda.h"
#include "core/untVersao.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "support/TDialogosRoteiro.h" // readable QString output on failures

namespace {

// The roff text of a help fragment, as the manual page writes it.
QString emRoff(QString t)
{
    return t.replace('\\', "\\e").replace('-', "\\-");
}

struct Execucao {
    int codigo = -1;
    QString saida, erros;
};

Execucao zelcli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ZELCLI), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    Execucao r;
    r.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.saida = QString::fromUtf8(p.readAllStandardOutput());
    r.erros = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(Ajuda, CadaComandoTemUsoOpcoesSaidasEExemplo)
{
    const QStringList esperados = {"valida", "gerar", "verifica", "apuracao", "recibo", "backup", "restaura",
                                   "relatorio", "importa-nfe", "fechamento"};
    QStringList nomes;
    for (const TAjuda& a : AjudasDosComandos()) {
        SCOPED_TRACE(a.nome.toStdString());
        nomes << a.nome;
        EXPECT_EQ(AjudaDoComando(a.nome), &a);
        ASSERT_FALSE(a.uso.isEmpty());
        for (const QString& u : a.uso)
            EXPECT_TRUE(u.startsWith(a.nome + ' ')) << u.toStdString();
        // Misuse is exit status 2 everywhere; every status is told.
        QStringList codigos;
        for (const auto& s : a.saidas)
            codigos << s.first;
        EXPECT_EQ(codigos.first(), "0");
        EXPECT_TRUE(codigos.contains("2"));
        ASSERT_FALSE(a.exemplos.isEmpty());
        for (const QString& e : a.exemplos)
            EXPECT_TRUE(e.contains("zelcli " + a.nome)) << e.toStdString();
        // Every option of the synopsis is explained.
        const QRegularExpression opcao(QStringLiteral("--[a-z-]+"));
        for (const QString& u : a.uso)
            for (const auto& m : opcao.globalMatch(u)) {
                const QString nome = m.captured();
                EXPECT_TRUE(std::any_of(a.opcoes.begin(), a.opcoes.end(),
                                        [&](const auto& o) { return o.first.split(' ').first() == nome; }))
                    << nome.toStdString();
            }
    }
    EXPECT_EQ(nomes, esperados);
    EXPECT_EQ(AjudaDoComando("desconhecido"), nullptr);
}

TEST(Ajuda, PaginaDeManualFeitaDosMesmosTextos)
{
    const QString zelcli = PaginaManualZelcli("9.8.7.6");
    EXPECT_TRUE(zelcli.startsWith(".TH ZELCLI 1 \"\" \"zel 9.8.7.6\""));
    for (const TAjuda& a : AjudasDosComandos()) {
        SCOPED_TRACE(a.nome.toStdString());
        EXPECT_TRUE(zelcli.contains(".SS " + emRoff(a.nome) + " \\(em " + emRoff(a.resumo) + "\n"));
        for (const QString& p : a.descricao)
            EXPECT_TRUE(zelcli.contains(".PP\n" + emRoff(p) + "\n")) << p.toStdString();
        for (const auto& o : a.opcoes)
            EXPECT_TRUE(zelcli.contains(".TP\n.B " + emRoff(o.first) + "\n" + emRoff(o.second) + "\n"));
        for (const QString& e : a.exemplos)
            EXPECT_TRUE(zelcli.contains(emRoff(e) + "\n"));
    }
    const QString zel = PaginaManualZel("9.8.7.6");
    EXPECT_TRUE(zel.contains(".B zel [\\-\\-pasta PASTA]\n"));
    EXPECT_TRUE(zel.contains("ZEL_PASTA"));
    // No line of text may be taken for a request.
    for (const QString& pagina : {zel, zelcli})
        for (const QString& linha : pagina.split('\n'))
            EXPECT_FALSE(linha.startsWith('\'')) << linha.toStdString();
}

TEST(Ajuda, ZelcliMostraAListaEAAjudaDeCadaComando)
{
    const Execucao geral = zelcli({"--help"});
    EXPECT_EQ(geral.codigo, 0);
    EXPECT_EQ(geral.saida, TextoAjudaZelcli());
    for (const TAjuda& a : AjudasDosComandos()) {
        SCOPED_TRACE(a.nome.toStdString());
        EXPECT_TRUE(geral.saida.contains("  " + a.nome.leftJustified(13) + a.resumo + "\n"));
        const Execucao r = zelcli({a.nome, "--help"});
        EXPECT_EQ(r.codigo, 0);
        EXPECT_EQ(r.saida, TextoAjuda(a));
        EXPECT_FALSE(r.erros.contains("Uso:")) << r.erros.toStdString();
    }
    // Wrong uses: the help goes to the error output with status 2.
    const Execucao nada = zelcli({});
    EXPECT_EQ(nada.codigo, 2);
    EXPECT_EQ(nada.erros, TextoAjudaZelcli());
    const Execucao desconhecido = zelcli({"desconhecido"});
    EXPECT_EQ(desconhecido.codigo, 2);
    EXPECT_TRUE(desconhecido.erros.startsWith("comando desconhecido: desconhecido\n"));
    const Execucao recibo = zelcli({"recibo"});
    EXPECT_EQ(recibo.codigo, 2);
    EXPECT_EQ(recibo.erros, TextoAjuda(*AjudaDoComando("recibo")));
    EXPECT_EQ(zelcli({"--version"}).saida, "zelcli " + TextoVersao() + "\n");
}
