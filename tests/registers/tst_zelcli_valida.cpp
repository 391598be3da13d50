// "zelcli valida" run as a user runs it: answers, exit status, and the batch form over standard input.
#include <QProcess>
#include <gtest/gtest.h>

namespace {
struct Execucao {
    int status = -1;
    QString saida;
    QString erros;
};

Execucao zelcli(const QStringList& args, const QByteArray& entrada = {})
{
    QProcess p;
    p.start(QStringLiteral(ZELCLI), args);
    EXPECT_TRUE(p.waitForStarted());
    p.write(entrada);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(ZelcliValida, UmNumeroPorVez)
{
    Execucao r = zelcli({"valida", "cnpj", "11.222.333/0001-81"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.saida, "valido\n");
    r = zelcli({"valida", "cpf", "52998224726"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.saida, "invalido\n");
    r = zelcli({"valida", "ie", "PE", "032141840"});
    EXPECT_EQ(r.status, 0);
    r = zelcli({"valida", "rg", "123"});
    EXPECT_EQ(r.status, 2) << "an unknown kind is a misuse";
    EXPECT_TRUE(r.saida.isEmpty());
}

TEST(ZelcliValida, LoteLeTudoEDizQualLinhaNaoLeu)
{
    // The home state's registration 12345678-9: weights 9..2 give 156, 156 mod 11 = 2, check digit 11 - 2.
    Execucao r = zelcli({"valida", "--lote"},
                        "cnpj\t\t11222333000181\r\ncpf\t\t52998224726\n\nie\tZR\t123456789\nie\tZR\t123456780\n");
    EXPECT_EQ(r.status, 0) << r.erros.toStdString();
    EXPECT_EQ(r.saida, "11222333000181\tvalido\n52998224726\tinvalido\n123456789\tvalido\n123456780\tinvalido\n");

    r = zelcli({"valida", "--lote"}, "cnpj\t\t11222333000181\nlixo\ncpf\t\t52998224725\n");
    EXPECT_EQ(r.status, 1) << "a line that could not be read";
    EXPECT_EQ(r.saida, "11222333000181\tvalido\n52998224725\tvalido\n");
    EXPECT_TRUE(r.erros.startsWith("linha 2:"));
}
