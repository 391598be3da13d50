// "Fechamento do Mês" over an office folder with a taxpayer in each state of May 2012, driven as the user
// drives it: the month read at opening, the filter and the sorting of the grid, the batch of files into a
// typed folder (a refused one among them), the period typed wrong, the preview and the double click that opens
// a taxpayer.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untFechamentoMes.h"
#include "support/TBancoTeste.h"
#include "support/TEscritorioFechamento.h"
#include "support/TFoco.h"
#include "widgets/EdPeriod.h"
#include "widgets/untVisualizaRelatorio.h"

namespace {

struct TSessaoGravada final : ISessao {
    int aberturas = 0;
    void AbrirSessao() override { ++aberturas; }
    void CancelarSelecao() override {}
};

struct TelaFechamento : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2012, 6, 15), QTime(10, 0))};
    TProgressoGravado progresso;
    TSessaoGravada sessao;
    TContexto ctx;
    TEscritorioFechamento escritorio;
    QTemporaryDir saida;
    std::unique_ptr<TfrmFechamentoMes> tela;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        t.preencheContexto(ctx, &relogio);
        ctx.progresso = &progresso;
        ctx.sessao = &sessao;
        ASSERT_TRUE(escritorio.monta(*t.dtm, t.dialogos, relogio));
        tela = std::make_unique<TfrmFechamentoMes>(ctx);
        tela->show();
        QApplication::setActiveWindow(tela.get());
    }
    void TearDown() override { tela.reset(); }

    QString celula(int linha, int coluna) const
    {
        return tela->dbgFechamento->model()->index(linha, coluna).data().toString();
    }
    QStringList coluna(int c) const
    {
        QStringList r;
        for (int i = 0; i < tela->dbgFechamento->model()->rowCount(); ++i)
            r << celula(i, c);
        return r;
    }
    int linhaDe(const char* nome) const
    {
        return int(coluna(TfrmFechamentoMes::ColInscricao).indexOf(escritorio.inscricoes.value(QString::fromLatin1(nome))));
    }
    QString situacaoDe(const char* nome) const
    {
        const int l = linhaDe(nome);
        return l < 0 ? QStringLiteral("(ausente)") : celula(l, TfrmFechamentoMes::ColSituacao);
    }

    void digita(QLineEdit* e, const QString& texto)
    {
        e->setFocus(Qt::TabFocusReason);
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, texto);
    }
    // The combo box is opened with the keyboard and moved down to the item, as a user picks it.
    void escolhe(QComboBox* c, const QString& item)
    {
        c->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c, Qt::Key_Home);
        for (int i = 0; i < c->count() && c->currentText() != item; ++i)
            QTest::keyClick(c, Qt::Key_Down);
        ASSERT_EQ(c->currentText(), item);
    }
    void clicaCabecalho(int coluna)
    {
        QHeaderView* h = tela->dbgFechamento->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(h->sectionViewportPosition(coluna) + h->sectionSize(coluna) / 2, h->height() / 2));
    }
    void duploClique(int linha)
    {
        QTableView* g = tela->dbgFechamento;
        g->scrollTo(g->model()->index(linha, TfrmFechamentoMes::ColRazao));
        const QPoint p = g->visualRect(g->model()->index(linha, TfrmFechamentoMes::ColRazao)).center();
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    }
};

} // namespace

TEST_F(TelaFechamento, AbreNoMesAnteriorComCadaContribuinteESeuEstado)
{
    EXPECT_EQ(tela->windowTitle(), QString::fromUtf8("Fechamento do Mês"));
    EXPECT_EQ(tela->edtPeriodo->periodo(), "052012");
    EXPECT_EQ(Foco(), "edtPeriodo");
    ASSERT_EQ(tela->dbgFechamento->model()->rowCount(), 9);
    EXPECT_EQ(situacaoDe("ALFA"), "sem movimento");
    EXPECT_EQ(situacaoDe("BETA"), QString::fromUtf8("sem declaração"));
    EXPECT_EQ(situacaoDe("GAMA"), QString::fromUtf8("declaração desatualizada"));
    EXPECT_EQ(situacaoDe("ETA"), "arquivo gerado");
    EXPECT_EQ(situacaoDe("TETA"), "entregue");
    // The stale one says what differs where the user sees it.
    EXPECT_TRUE(celula(linhaDe("GAMA"), TfrmFechamentoMes::ColObservacao).contains(QString::fromUtf8("11- Por saídas")));
    EXPECT_EQ(celula(linhaDe("DELTA"), TfrmFechamentoMes::ColDeclaracao), "ZEL N");
    EXPECT_EQ(celula(linhaDe("DELTA"), TfrmFechamentoMes::ColEntradas), "1");
    EXPECT_EQ(celula(linhaDe("DELTA"), TfrmFechamentoMes::ColGeracao), "15/06/2012 10:00");
    EXPECT_EQ(celula(linhaDe("DELTA"), TfrmFechamentoMes::ColRecibo), TEscritorioFechamento::recibo());
    EXPECT_EQ(tela->stbStatus->currentMessage(),
              QString::fromUtf8("9 contribuintes: 1 sem movimento, 1 sem declaração, 1 declaração desatualizada, "
                                "4 pronto para gerar, 1 arquivo gerado, 1 entregue"));
    EXPECT_TRUE(tela->btnGerar->isEnabled());
    EXPECT_TRUE(t.dialogos.registros().isEmpty());
}

TEST_F(TelaFechamento, FiltraPorSituacaoEOrdenaPelaColuna)
{
    escolhe(tela->cmbSituacao, "pronto para gerar");
    EXPECT_EQ(tela->dbgFechamento->model()->rowCount(), 4);
    EXPECT_TRUE(tela->stbStatus->currentMessage().endsWith("(mostrando 4)")) << tela->stbStatus->currentMessage().toStdString();
    for (const QString& s : coluna(TfrmFechamentoMes::ColSituacao))
        EXPECT_EQ(s, "pronto para gerar");
    // "sem declaração" must not let "declaração desatualizada" through.
    escolhe(tela->cmbSituacao, QString::fromUtf8("sem declaração"));
    EXPECT_EQ(coluna(TfrmFechamentoMes::ColRazao), QStringList{escritorio.razoes.value("BETA")});

    escolhe(tela->cmbSituacao, "Todas");
    EXPECT_EQ(tela->dbgFechamento->model()->rowCount(), 9);
    // By name at first; the state column sorts in the month's order, not alphabetically.
    EXPECT_EQ(celula(0, TfrmFechamentoMes::ColRazao), escritorio.razoes.value("ALFA"));
    clicaCabecalho(TfrmFechamentoMes::ColSituacao);
    QStringList situacoes = coluna(TfrmFechamentoMes::ColSituacao);
    situacoes.removeDuplicates();
    EXPECT_EQ(situacoes, Fechamento::TextosSituacao());
    clicaCabecalho(TfrmFechamentoMes::ColSituacao);
    EXPECT_EQ(celula(0, TfrmFechamentoMes::ColSituacao), "entregue");
    // The counts sort as numbers.
    clicaCabecalho(TfrmFechamentoMes::ColSaidas);
    EXPECT_EQ(celula(0, TfrmFechamentoMes::ColSaidas), "0");
    EXPECT_EQ(celula(8, TfrmFechamentoMes::ColSaidas), "2");
}

TEST_F(TelaFechamento, GeraOsArquivosDosProntosNaPastaDigitada)
{
    digita(tela->edtPasta, saida.path());
    t.dialogos.esperaMensagem(QString::fromUtf8("Gravar em %1 os arquivos de 05/2012 dos 4 contribuintes prontos para gerar?")
                                  .arg(QDir::toNativeSeparators(saida.path())),
                              Botao::Sim);
    t.dialogos.esperaMensagem(QString());
    QTest::mouseClick(tela->btnGerar, Qt::LeftButton);
    ASSERT_EQ(t.dialogos.pendentes(), 0);
    const QString resumo = t.dialogos.registros().last().texto;
    EXPECT_TRUE(resumo.startsWith(QString::fromUtf8("Arquivos gravados em %1: 3.").arg(QDir::toNativeSeparators(saida.path()))))
        << resumo.toStdString();
    EXPECT_TRUE(resumo.contains(escritorio.inscricoes.value("IOTA"))) << resumo.toStdString();
    EXPECT_TRUE(resumo.contains(QString::fromUtf8("tipo de entrega não está informado"))) << resumo.toStdString();

    // One result a taxpayer in the grid: the files written, the writer's message for the one refused.
    for (const char* nome : {"DELTA", "EPSILON", "ZETA"}) {
        EXPECT_EQ(situacaoDe(nome), "arquivo gerado") << nome;
        EXPECT_TRUE(celula(linhaDe(nome), TfrmFechamentoMes::ColObservacao).endsWith(".txt")) << nome;
    }
    EXPECT_EQ(situacaoDe("IOTA"), "pronto para gerar");
    EXPECT_TRUE(celula(linhaDe("IOTA"), TfrmFechamentoMes::ColObservacao).contains("tipo de entrega"));
    EXPECT_EQ(QDir(saida.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    // The progress window, once for the batch, one line per taxpayer.
    EXPECT_EQ(progresso.inicios, 1);
    EXPECT_EQ(progresso.terminos, 1);
    EXPECT_EQ(progresso.mensagens.filter(QRegularExpression("^\\d/4 - ")).size(), 4);

    // Read again with the folder: the files found there count.
    QTest::mouseClick(tela->btnAtualizar, Qt::LeftButton);
    EXPECT_EQ(situacaoDe("DELTA"), "arquivo gerado");
    EXPECT_EQ(situacaoDe("IOTA"), "pronto para gerar");
}

TEST_F(TelaFechamento, SemPastaPedeUmaEDesistirNaoGravaNada)
{
    t.dialogos.esperaPasta(QString());
    QTest::mouseClick(tela->btnGerar, Qt::LeftButton);
    EXPECT_TRUE(QDir(saida.path()).isEmpty());
    EXPECT_EQ(progresso.inicios, 0);

    // A folder that is not there is named, and the focus goes to it.
    digita(tela->edtPasta, saida.filePath("nao-existe"));
    t.dialogos.esperaMensagem(QString::fromUtf8("A pasta dos arquivos não existe: %1").arg(saida.filePath("nao-existe")));
    QTest::mouseClick(tela->btnGerar, Qt::LeftButton);
    EXPECT_EQ(Foco(), "edtPasta");

    // The picker fills the field and reads the month again with it.
    t.dialogos.esperaPasta(saida.path());
    QTest::mouseClick(tela->btnPasta, Qt::LeftButton);
    EXPECT_EQ(tela->edtPasta->text(), QDir::toNativeSeparators(saida.path()));
}

TEST_F(TelaFechamento, PeriodoInvalidoAvisaEFicaNoCampo)
{
    digita(tela->edtPeriodo, "132012");
    t.dialogos.esperaMensagem(QString::fromUtf8("Período inválido"));
    QTest::mouseClick(tela->btnAtualizar, Qt::LeftButton);
    EXPECT_EQ(Foco(), "edtPeriodo");
    EXPECT_EQ(tela->periodo(), "201205") << "the month shown stays";

    // June: only the declaration that delivered May's receipt; everybody else has no movement.
    digita(tela->edtPeriodo, "062012");
    QTest::mouseClick(tela->btnAtualizar, Qt::LeftButton);
    EXPECT_EQ(tela->periodo(), "201206");
    EXPECT_EQ(situacaoDe("TETA"), "pronto para gerar");
    EXPECT_EQ(situacaoDe("DELTA"), "sem movimento");
}

TEST_F(TelaFechamento, ImprimeAsLinhasComoEstaoNaGrade)
{
    escolhe(tela->cmbSituacao, "pronto para gerar");
    int linhas = -1;
    t.dialogos.esperaTela("TfrmVisualizaRelatorio", [&](QObject* o) {
        auto* v = qobject_cast<TfrmVisualizaRelatorio*>(o);
        EXPECT_TRUE(v);
        if (!v)
            return 0;
        linhas = int(v->relatorio().linhas.size());
        EXPECT_EQ(v->relatorio().titulo, QString::fromUtf8("Fechamento do Mês"));
        EXPECT_TRUE(v->relatorio().textos().contains(QStringLiteral("pronto para gerar: 4")));
        EXPECT_GE(v->paginas(), 1);
        return 0;
    });
    QTest::mouseClick(tela->btnImprimir, Qt::LeftButton);
    // The four rows the filter shows, no more: before a batch no row carries a message line.
    EXPECT_EQ(linhas, 4);
}

TEST_F(TelaFechamento, DuploCliqueAbreOContribuinte)
{
    duploClique(linhaDe("DELTA"));
    EXPECT_EQ(sessao.aberturas, 1);
    EXPECT_EQ(ctx.IdAtivo, escritorio.ids.value("DELTA"));
    EXPECT_EQ(tela->result(), QDialog::Accepted);
    EXPECT_FALSE(tela->isVisible());
}
