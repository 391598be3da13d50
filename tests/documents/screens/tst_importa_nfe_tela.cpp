// "Importar XML" on the invoice browse screen: the files chosen, the progress, the result list with its
// counts, its copy and its print, and a second import that changes nothing.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untImportacaoNFe.h"
#include "documents/screens/untNotasFiscais.h"
#include "reports/untRelatorios.h"
#include "support/TBancoTeste.h"
#include "support/TNFeTeste.h"
#include "widgets/untVisualizaRelatorio.h"

using namespace nfeteste;

namespace {

struct TelaImportaNFe : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 6, 3), QTime(9, 0))};
    TProgressoGravado progresso;
    QTemporaryDir pasta;
    QStringList arquivos;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        ctx.progresso = &progresso;
        TBancoTeste::executaDireto(
            banco.con->db(),
            "INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, Logradouro, Numero, Complemento, "
            "Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Tipo) VALUES (1, '11222333000181', '123456789', "
            "'COMERCIAL EXEMPLO LTDA', 'RUA DAS FLORES', '45', 'SALA 3', 'CENTRO', 'CIDADE EXEMPLO', '01234567', 'ZR', "
            "'1133335555', '1133334444', 'JOSE', 'C')");
        ctx.IdAtivo = 1;
        arquivos = {grava("venda10.xml", xmlNota(vendaSimples(10))), grava("venda11.xml", xmlNota(vendaSimples(11))),
                    grava("lixo.xml", "isto não é XML")};
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    QString grava(const QString& nome, const QByteArray& bytes)
    {
        const QString caminho = pasta.filePath(nome);
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return caminho;
    }
    int notas() { return TBancoTeste::valorDireto(banco.con->db(), "SELECT COUNT(*) FROM NotaFiscal").toInt(); }
};

} // namespace

TEST_F(TelaImportaNFe, ImportaMostraOResultadoEDepoisNadaMuda)
{
    TfrmNotasFiscais tela(ctx);
    tela.show();
    QApplication::setActiveWindow(&tela);
    ASSERT_TRUE(tela.btnImportarXML->isEnabled()) << "importing needs no search first";

    // Cancelled picker: nothing happens.
    banco.dialogos.esperaArquivos({});
    QTest::mouseClick(tela.btnImportarXML, Qt::LeftButton);
    EXPECT_EQ(notas(), 0);
    EXPECT_EQ(progresso.inicios, 0);

    QString copiado;
    banco.dialogos.esperaArquivos(arquivos).esperaTela("TfrmResultadoNFe", [&](QObject* o) {
        auto* r = qobject_cast<TfrmResultadoNFe*>(o);
        EXPECT_TRUE(r);
        if (!r)
            return 0;
        EXPECT_EQ(r->grdResultado->rowCount(), 3);
        EXPECT_EQ(r->grdResultado->item(0, 1)->text(), "Importado");
        EXPECT_EQ(r->grdResultado->item(1, 1)->text(), "Importado");
        EXPECT_EQ(r->grdResultado->item(2, 1)->text(), "Recusado");
        EXPECT_FALSE(r->grdResultado->item(2, 2)->text().isEmpty()) << "a refusal says why";
        EXPECT_EQ(r->lblResumo->text(), QString::fromUtf8("Importados: 2   Já cadastrados: 0   Recusados: 1"));
        QTest::mouseClick(r->btnCopiar, Qt::LeftButton);
        copiado = QApplication::clipboard()->text();
        // The list prints through the preview.
        banco.dialogos.esperaTela("TfrmVisualizaRelatorio", [](QObject* v) {
            auto* p = qobject_cast<TfrmVisualizaRelatorio*>(v);
            EXPECT_TRUE(p);
            if (p) {
                EXPECT_EQ(p->relatorio().titulo, QString::fromUtf8("Importação de NF-e"));
                EXPECT_EQ(p->relatorio().linhas.size(), 3);
            }
            return 0;
        });
        QTest::mouseClick(r->btnImprimir, Qt::LeftButton);
        return 0;
    });
    QTest::mouseClick(tela.btnImportarXML, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(notas(), 2);
    const QStringList linhas = copiado.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 3);
    EXPECT_TRUE(linhas[0].startsWith(arquivos[0] + "\tImportado\t")) << linhas[0].toStdString();
    EXPECT_TRUE(linhas[2].contains("\tRecusado\t"));
    EXPECT_EQ(progresso.inicios, progresso.terminos);
    ASSERT_FALSE(progresso.posicoes.isEmpty());
    EXPECT_EQ(progresso.posicoes.last(), 100);

    // The same files again: skipped as already registered, nothing written.
    banco.dialogos.esperaArquivos(arquivos).esperaTela("TfrmResultadoNFe", [](QObject* o) {
        auto* r = qobject_cast<TfrmResultadoNFe*>(o);
        EXPECT_TRUE(r);
        if (r) {
            EXPECT_EQ(r->lblResumo->text(), QString::fromUtf8("Importados: 0   Já cadastrados: 2   Recusados: 1"));
        }
        return 0;
    });
    QTest::mouseClick(tela.btnImportarXML, Qt::LeftButton);
    EXPECT_EQ(notas(), 2);
}

TEST_F(TelaImportaNFe, PastaInteiraPeloMenuDaGrade)
{
    TfrmNotasFiscais tela(ctx);
    tela.show();
    auto* acao = tela.findChild<QAction*>("mnuImportarPasta");
    ASSERT_TRUE(acao);
    banco.dialogos.esperaPasta(pasta.path()).esperaTela("TfrmResultadoNFe", [](QObject* o) {
        auto* r = qobject_cast<TfrmResultadoNFe*>(o);
        EXPECT_TRUE(r);
        if (r) {
            EXPECT_EQ(r->grdResultado->rowCount(), 3);
        }
        return 0;
    });
    acao->trigger();
    EXPECT_EQ(notas(), 2);
}

TEST_F(TelaImportaNFe, PastaComoAsQueOEscritorioRecebe)
{
    QTemporaryDir amostras;
    const QList<TAmostraNFe> lista = amostrasComoReais();
    for (const TAmostraNFe& a : lista) {
        QFile f(amostras.filePath(a.nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(a.xml);
    }
    auto linhas = [&](const QString& numero) {
        return TBancoTeste::listaDireta(
            banco.con->db(),
            "SELECT A.TipoNota || '|' || A.Emitente || '|' || A.Modelo || '|' || A.Serie || '|' || A.NumeroNF || '|' || "
            "A.Cfop || '|' || A.DtEmissao || '|' || A.Situacao || '|' || A.ValorTotalNota || '|' || B.AliquotaICMS || "
            "'|' || B.BaseCalculoICMS || '|' || B.ValorICMS || '|' || B.IsentaICMS || '|' || B.OutrasICMS || '|' || "
            "C.ValorIPI || '|' || D.BaseCalculoSubst || '|' || D.ICMSRetido FROM NotaFiscal A JOIN NFICMS B ON "
            "B.IdNotaFiscal = A.IdNotaFiscal JOIN NFIPI C ON C.IdNotaFiscal = A.IdNotaFiscal JOIN NFSUBSTRIB D ON "
            "D.IdNotaFiscal = A.IdNotaFiscal WHERE A.NumeroNF = '" + numero + "' ORDER BY A.IdNotaFiscal");
    };
    const QHash<QString, QString> texto = {{"importado", "Importado"}, {"recusado", "Recusado"}, {"ignorado", "Ignorado"}};
    TfrmNotasFiscais tela(ctx);
    tela.show();
    auto* acao = tela.findChild<QAction*>("mnuImportarPasta");
    ASSERT_TRUE(acao);
    for (int vez = 0; vez < 2; ++vez) {
        banco.dialogos.esperaPasta(amostras.path()).esperaTela("TfrmResultadoNFe", [&](QObject* o) {
            auto* r = qobject_cast<TfrmResultadoNFe*>(o);
            EXPECT_TRUE(r);
            if (!r)
                return 0;
            EXPECT_EQ(r->grdResultado->rowCount(), lista.size());
            for (int i = 0; i < lista.size() && i < r->grdResultado->rowCount(); ++i) {
                const QString esperada = vez == 1 && lista[i].situacao == "importado" ? QString::fromUtf8("Já cadastrado")
                                                                                      : texto.value(lista[i].situacao);
                EXPECT_EQ(r->grdResultado->item(i, 1)->text(), esperada) << lista[i].nome.toStdString();
            }
            EXPECT_EQ(r->lblResumo->text(),
                      vez == 0 ? QString::fromUtf8("Importados: 7   Já cadastrados: 0   Recusados: 1   Ignorados: 3")
                               : QString::fromUtf8("Importados: 0   Já cadastrados: 7   Recusados: 1   Ignorados: 3"));
            // The printed list says what the screen says, ignored files as such.
            const TRelatorio impresso =
                Relatorios::ResultadoImportacaoNFe(r->resultados(), QDateTime(QDate(2026, 1, 1), QTime()));
            EXPECT_EQ(impresso.resumo.isEmpty() ? QString() : impresso.resumo.last().texto, r->lblResumo->text());
            return 0;
        });
        acao->trigger();
        banco.dialogos.verificaConsumo();
        int total = 0;
        for (const TAmostraNFe& a : lista) {
            if (a.numero.isEmpty())
                continue;
            EXPECT_EQ(linhas(a.numero), a.linhas) << a.nome.toStdString() << " (vez " << vez << ")";
            total += int(a.linhas.size());
        }
        EXPECT_EQ(notas(), total);
    }
}
