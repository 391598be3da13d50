// The CFOP picker and the two table screens over a temporary data folder.
#include <QAbstractItemModel>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/untVisualizaRelatorio.h"

#include "widgets/Enter.h"
#include "core/untContexto.h"
#include "db/untSqlite.h"
#include "documents/screens/untCFOP.h"
#include "documents/screens/untTabelaCfop.h"
#include "documents/untCfop.h"
#include "support/TBancoTeste.h"
#include "support/TOrdemTab.h"

namespace {

struct TelasCfop : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx);
    }

    template <class T>
    static T* filho(QWidget& tela, const char* nome)
    {
        T* w = tela.findChild<T*>(QString::fromLatin1(nome));
        EXPECT_TRUE(w) << nome;
        return w;
    }
    static void clica(QWidget& tela, const char* botao)
    {
        if (auto* b = filho<QPushButton>(tela, botao))
            QTest::mouseClick(b, Qt::LeftButton);
    }
    static QStringList titulos(QTableView* grade)
    {
        QStringList r;
        for (int c = 0; c < grade->model()->columnCount(); ++c)
            r << grade->model()->headerData(c, Qt::Horizontal).toString();
        return r;
    }
};

} // namespace

TEST_F(TelasCfop, EscolhaFicaNaLinhaDoCursorAoFechar)
{
    TDataSet& lista = ctx.dtm->ADODataSetCFOP;
    const QString filtro = FiltroCfop(TelaCfop::AlterarNota, false, "3");
    ASSERT_TRUE(AbreListaCfop(lista, filtro, " ORDER BY CF_Codigo"));
    const int linhas = lista.recordCount();
    lista.setRecNo(5); // left elsewhere by the caller: the screen starts at the top all the same

    {
        TfrmCFOP tela(ctx);
        EXPECT_EQ(tela.windowTitle(), "CFOP");
        EXPECT_TRUE(tela.findChild<TkEnterAsTab*>());
        tela.show();
        auto* grade = filho<QTableView>(tela, "dbgCFOP");
        ASSERT_TRUE(grade);
        EXPECT_EQ(titulos(grade), (QStringList{"Codigo", "Descricao"}));
        EXPECT_EQ(grade->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_EQ(grade->editTriggers(), QAbstractItemView::NoEditTriggers);
        EXPECT_EQ(grade->model()->rowCount(), linhas);
        EXPECT_EQ(grade->currentIndex().row(), 0);
        EXPECT_EQ(filho<QPushButton>(tela, "btnFechar")->text(), "&Fechar");
        clica(tela, "btnFechar");
        EXPECT_FALSE(tela.isVisible());
    }
    EXPECT_EQ(lista.commandText(), filtro + " ORDER BY CF_Codigo") << "the caller's query is kept";
    EXPECT_EQ(lista.recNo(), 0);
    EXPECT_EQ(lista.asString("CF_Codigo"), "5101");
}

TEST_F(TelasCfop, LinhaEscolhidaNaGradeEhADoCursor)
{
    TDataSet& lista = ctx.dtm->ADODataSetCFOP;
    ASSERT_TRUE(AbreListaCfop(lista, FiltroCfop(TelaCfop::IncluirTransporte, true, "3"), " ORDER BY CF_Codigo"));
    TfrmCFOP tela(ctx);
    tela.show();
    auto* grade = filho<QTableView>(tela, "dbgCFOP");
    ASSERT_TRUE(grade);
    ASSERT_GT(grade->model()->rowCount(), 3);
    grade->setCurrentIndex(grade->model()->index(3, 1));
    const QString escolhido = grade->model()->index(3, 0).data().toString();
    EXPECT_EQ(filho<QPushButton>(tela, "btnSeleciona")->text(), "&Selecionar");
    clica(tela, "btnSeleciona");
    EXPECT_FALSE(tela.isVisible());
    EXPECT_EQ(lista.asString("CF_Codigo"), escolhido);
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(TelasCfop, EnterOuDuploCliqueEscolheALinha)
{
    TDataSet& lista = ctx.dtm->ADODataSetCFOP;
    ASSERT_TRUE(AbreListaCfop(lista, FiltroCfop(TelaCfop::IncluirTransporte, true, "3"), " ORDER BY CF_Codigo"));
    for (const bool teclado : {true, false}) {
        TfrmCFOP tela(ctx);
        tela.show();
        QApplication::setActiveWindow(&tela);
        auto* grade = filho<QTableView>(tela, "dbgCFOP");
        ASSERT_TRUE(grade);
        ASSERT_GT(grade->model()->rowCount(), 3);
        const QString escolhido = grade->model()->index(2, 0).data().toString();
        grade->setFocus(Qt::TabFocusReason);
        if (teclado) {
            QTest::keyClick(grade, Qt::Key_Down);
            QTest::keyClick(grade, Qt::Key_Down);
            QTest::keyClick(grade, Qt::Key_Return);
        } else {
            const QPoint p = grade->visualRect(grade->model()->index(2, 1)).center();
            QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(grade->viewport(), Qt::LeftButton, {}, p);
        }
        EXPECT_FALSE(tela.isVisible()) << (teclado ? "Enter" : "duplo clique");
        EXPECT_EQ(lista.asString("CF_Codigo"), escolhido) << (teclado ? "Enter" : "duplo clique");
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(TelasCfop, TelasDasTabelas)
{
    TfrmCfop03 tres(ctx);
    TfrmCfop04 quatro(ctx);
    EXPECT_EQ(tres.windowTitle(), QString::fromUtf8("CFOP - 03 Dígitos"));
    EXPECT_EQ(quatro.windowTitle(), QString::fromUtf8("CFOP - 04 Dígitos"));
    EXPECT_EQ(filho<QLabel>(tres, "lblRelacao")->text(), QString::fromUtf8("Relação de CFOP de 03 Dígitos"));
    EXPECT_EQ(filho<QLabel>(quatro, "lblRelacao")->text(), QString::fromUtf8("Relação de CFOP de 04 Dígitos"));
    EXPECT_FALSE(filho<QPushButton>(tres, "btnAtualiza")->isEnabled());
    EXPECT_TRUE(filho<QPushButton>(quatro, "btnAtualiza")->isEnabled());
    EXPECT_EQ(filho<QPushButton>(quatro, "btnAtualiza")->text(), "&Atualizar Dados");
    EXPECT_EQ(filho<QPushButton>(quatro, "btnImprimir")->text(), "Imprimir");
    EXPECT_FALSE(tres.findChild<TkEnterAsTab*>());
    EXPECT_FALSE(quatro.findChild<TkEnterAsTab*>());
    EXPECT_EQ(filho<QTableView>(tres, "dbgCFOP")->model()->rowCount(), 144);
    EXPECT_EQ(filho<QTableView>(quatro, "dbgCFOP")->model()->rowCount(), 619);

    quatro.show();
    // The whole four-digit table through the preview.
    banco.dialogos.esperaTela("TfrmVisualizaRelatorio", [](QObject* o) {
        auto* v = qobject_cast<TfrmVisualizaRelatorio*>(o);
        EXPECT_TRUE(v);
        if (v) {
            EXPECT_EQ(v->relatorio().nome, "TfrmRelCFOP");
            EXPECT_EQ(v->relatorio().linhas.size(), 619);
            EXPECT_GE(v->paginas(), 5);
        }
        return 0;
    });
    clica(quatro, "btnImprimir");
    banco.dialogos.verificaConsumo();
    clica(quatro, "btnFechar");
    EXPECT_FALSE(quatro.isVisible());
    EXPECT_EQ(banco.dialogos.registros().size(), 1);
}

TEST_F(TelasCfop, AtualizarDadosComESemArquivo)
{
    TfrmCfop04 tela(ctx);
    tela.show();

    banco.dialogos.esperaMensagem(QString::fromUtf8("O arquivo NovosCfop.txt não foi encontrado!"));
    clica(tela, "btnAtualiza");
    banco.dialogos.verificaConsumo();

    QFile f(banco.pasta.filePath("NovosCfop.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("5102Venda alterada\r\n9101Nova operacao\r\n");
    f.close();
    banco.dialogos.esperaMensagem(QString::fromUtf8("Atualização Concluída!"));
    clica(tela, "btnAtualiza");
    banco.dialogos.verificaConsumo();

    auto* barra = filho<QProgressBar>(tela, "ProgressBar");
    EXPECT_EQ(barra->maximum(), 2);
    EXPECT_EQ(barra->value(), 2);
    auto* grade = filho<QTableView>(tela, "dbgCFOP");
    EXPECT_EQ(grade->model()->rowCount(), 620) << "the list shows the new code";
    EXPECT_EQ(TBancoTeste::valorDireto(banco.con->db(), "SELECT CF_Descricao FROM CFOP WHERE CF_Codigo = '5102'"),
              "Venda alterada");
}

TEST_F(TelasCfop, TabSegueAOrdemDaTelaNaListaENasTabelas)
{
    TDataSet& lista = ctx.dtm->ADODataSetCFOP;
    ASSERT_TRUE(AbreListaCfop(lista, FiltroCfop(TelaCfop::IncluirTransporte, true, "3"), " ORDER BY CF_Codigo"));
    TfrmCFOP escolha(ctx);
    TfrmCfop03 tres(ctx);
    TfrmCfop04 quatro(ctx);
    const struct {
        const char* nome;
        QWidget* tela;
        qsizetype campos;
    } casos[] = {{"lista de escolha", &escolha, 3}, {"tabela de 03 dígitos", &tres, 3}, {"tabela de 04 dígitos", &quatro, 4}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        c.tela->show();
        QApplication::setActiveWindow(c.tela);
        const auto volta = VoltaDoTab(c.tela);
        EXPECT_EQ(volta.esperado.size(), c.campos + 1) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        c.tela->hide();
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}
