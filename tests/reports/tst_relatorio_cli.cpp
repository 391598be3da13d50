// zelcli relatorio writes the PDF the screen would preview for the same choices, read back as text.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TBancoTeste.h"

namespace {

struct RelatorioCli : ::testing::Test {
    TBancoTeste t;
    QTemporaryDir saida;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sql("INSERT INTO Contador (IDContador, CPF, CRC, Nome, EMail, Fone) VALUES (7, '52998224725', 'ZR123456O9', "
            "'MARIA CONTADORA', 'maria@contab.com.br', '6133224455')");
        sql("INSERT INTO Contribuinte (IdContribuinte, IdContador, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
            "(1, 7, '11222333000181', '123456789', 'COMERCIAL EXEMPLO LTDA', 'ZR', 'C'), "
            "(2, NULL, '52998224725', '987654321', 'JOSE DA SILVA', 'SP', 'F')");
        sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 2, '2006-07-10', 'S', '01', '1', '000123', '5102', 'P', 12345600, 'N', '2006-07-10'), "
            "(2, 1, 2, '2006-07-11', 'S', '01', '1', '000124', '5102', 'P', 1000000, 'X', '2006-09-02')");
        sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 10000000, 1700000, 0, 2345600, '1700'), (2, 1000000, 170000, 0, 0, '1700')");
        sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (1, 0, 0, 0), (2, 0, 0, 0)");
        sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 0, 0, 0, ''), (2, 0, 0, 0, '')");
        t.con->Fechar();
    }
    void sql(const QString& s) { TBancoTeste::executaDireto(t.con->db(), s); }
    int zelcli(const QStringList& args, QString* erros = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), QStringList{"relatorio"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (erros)
            *erros = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    static QString texto(const QString& pdf)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

} // namespace

TEST_F(RelatorioCli, NotasDoMesEmPdf)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext missing";
    const QString pdf = saida.filePath("notas.pdf");
    QString erros;
    ASSERT_EQ(zelcli({"notas", "--pasta", t.pasta.path(), "--ie", "123456789", "--periodo", "200607", "--tipo", "S",
                      "--pdf", pdf},
                     &erros),
              0)
        << erros.toStdString();
    const QString t = texto(pdf);
    EXPECT_TRUE(t.contains(QString::fromUtf8("Relatório de Notas Fiscais"))) << t.toStdString();
    EXPECT_TRUE(t.contains("SAIDAS"));
    EXPECT_TRUE(t.contains("12.345678-9"));
    EXPECT_TRUE(t.contains("529.982.247-25")) << "the counterparty's CPF through the CPF mask";
    EXPECT_TRUE(t.contains("02/09/2006")) << "a note of situation X is dated by its last change";
    EXPECT_TRUE(t.contains(QRegularExpression("Total de Notas cadastradas:\\s+2")));
    // The summary's sums leave the cancelled note out: only the first note's value.
    EXPECT_TRUE(t.contains(QRegularExpression("TOTAIS GERAIS:\\s+1\\.234,56"))) << t.toStdString();
}

TEST_F(RelatorioCli, RecusasENadaParaImprimir)
{
    const QString pdf = saida.filePath("nada.pdf");
    QString erros;
    EXPECT_EQ(zelcli({"notas", "--pasta", t.pasta.path(), "--ie", "123456789", "--periodo", "200608", "--pdf", pdf}, &erros), 1);
    EXPECT_TRUE(erros.contains(QString::fromUtf8("Não há lançamentos neste período!"))) << erros.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(zelcli({"desconhecido", "--pasta", t.pasta.path(), "--pdf", pdf}), 2);
    EXPECT_EQ(zelcli({"notas", "--pasta", t.pasta.path(), "--pdf", pdf}), 2) << "no taxpayer given";
    EXPECT_EQ(zelcli({"contadores", "--pasta", t.pasta.path(), "--pdf", saida.filePath("sem/pasta/c.pdf")}, &erros), 1);
    EXPECT_FALSE(QFile::exists(saida.filePath("sem/pasta/c.pdf")));
    EXPECT_EQ(zelcli({"contadores", "--pasta", t.pasta.path(), "--pdf", saida.filePath("c.pdf")}), 0);
    EXPECT_GT(QFile(saida.filePath("c.pdf")).size(), 500);
    EXPECT_EQ(QDir(saida.path()).entryList(QDir::Files), QStringList{"c.pdf"});
}
