// The invoice entry screen driven as a user drives it: a commit refused by the engine, Esc and the window's
// close button while editing, a restore from minimised, and the leaving rules moved by real focus changes.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untIncluirNotasFiscais.h"
#include "documents/screens/untNotasFiscais.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "widgets/untTelas.h"

namespace {

struct Lancamento : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    std::unique_ptr<TfrmIncluirNotasFiscais> t;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        executa("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES ('99888777000100', '1', 'ATIVO', 'ZR', 'C')");
        ctx.IdAtivo = int(sqlite3_last_insert_rowid(banco.con->db()));
        executa("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES ('11222333000181', '1', 'LOCAL', 'ZR', 'F')");
        t = std::make_unique<TfrmIncluirNotasFiscais>(ctx);
        t->show();
        QApplication::setActiveWindow(t.get());
    }
    void TearDown() override
    {
        t.reset();
        banco.dialogos.verificaConsumo();
    }
    void executa(const char* sql) { TBancoTeste::executaDireto(banco.con->db(), QString::fromUtf8(sql)); }
    int notas() { return TBancoTeste::valorDireto(banco.con->db(), "SELECT COUNT(*) FROM NotaFiscal").toInt(); }

    // A complete exit note, typed field by field.
    void preencheSaida(const char* numero)
    {
        QTest::mouseClick(t->btnNovaNota, Qt::LeftButton);
        QTest::mouseClick(t->rbSaida, Qt::LeftButton);
        t->edtModelo->setText("01");
        t->edtSerie->setText("1");
        t->edtNumeroNF->setText(QString::fromLatin1(numero));
        t->edtEmissao->setDate(QDate(2024, 5, 10));
        t->edtValorNF->defineValor(Money::fromCents(100000));
        t->edtCnpjDestino->setText("11222333000181");
        t->saiDestino();
        t->edtCodCFOP->setText("5102");
        t->entraCfop();
        t->saiCfop();
        t->edtObservacao->setText("VENDA");
    }
};

} // namespace

TEST_F(Lancamento, CommitRecusadoNaoDizSucessoEContinuaEditando)
{
    preencheSaida("123");
    // Another program reading the file keeps the commit from getting its lock.
    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CFOP").toInt() > 0, true);
    sqlite3_busy_timeout(banco.con->db(), 50);
    banco.dialogos.esperaSimples(QString()); // the engine's own text, and no success message after it
    QTest::mouseClick(t->btnSalvar, Qt::LeftButton);
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_NE(banco.dialogos.registros()[0].texto, "Nota Gravada com Sucesso!");
    EXPECT_TRUE(t->btnSalvar->isEnabled()) << "still editing";
    EXPECT_FALSE(t->btnFechar->isEnabled());
    EXPECT_TRUE(t->transacaoAberta());
    EXPECT_EQ(t->edtNumeroNF->text(), "123") << "the typed values stay";
    TBancoTeste::executaDireto(leitor, "COMMIT");
    sqlite3_close(leitor);

    // With the reader gone the same note saves, once.
    banco.dialogos.esperaMensagem("Nota Gravada com Sucesso!");
    QTest::mouseClick(t->btnSalvar, Qt::LeftButton);
    EXPECT_EQ(notas(), 1);
    EXPECT_FALSE(t->transacaoAberta());
    sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(outro, "SELECT COUNT(*) FROM NotaFiscal").toInt(), 1) << "committed to the file";
    sqlite3_close(outro);
}

TEST_F(Lancamento, EscEFecharDaJanelaRecusadosDuranteAEdicao)
{
    preencheSaida("124");
    t->edtObservacao->setFocus();
    QTest::keyClick(t->edtObservacao, Qt::Key_Escape);
    EXPECT_TRUE(t->isVisible());
    EXPECT_TRUE(t->transacaoAberta());
    EXPECT_EQ(t->edtNumeroNF->text(), "124");
    EXPECT_FALSE(t->close()) << "the window's close button is refused while editing";
    EXPECT_TRUE(t->isVisible());

    // Idle again: Esc takes the screen's own "&Fechar".
    QTest::mouseClick(t->btnCancelar, Qt::LeftButton);
    EXPECT_FALSE(t->transacaoAberta());
    QTest::keyClick(t->btnNovaNota, Qt::Key_Escape);
    EXPECT_FALSE(t->isVisible());
    EXPECT_EQ(notas(), 0);
}

TEST_F(Lancamento, RestaurarDoMinimizadoNaoReiniciaANota)
{
    preencheSaida("125");
    t->edtValorNF->defineValor(Money::fromCents(4321));
    // The window system shows the screen back: a spontaneous show event.
    QShowEvent mostra;
    QSpontaneKeyEvent::setSpontaneous(&mostra);
    QApplication::sendEvent(t.get(), &mostra);
    EXPECT_EQ(t->edtNumeroNF->text(), "125");
    EXPECT_EQ(t->edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t->edtValorNF->valor(), Money::fromCents(4321));
    EXPECT_TRUE(t->rbSaida->isChecked());
    EXPECT_TRUE(t->btnSalvar->isEnabled());
    EXPECT_TRUE(t->transacaoAberta());
}

TEST_F(Lancamento, RegrasDeSaidaComMudancaRealDeFoco)
{
    preencheSaida("126");
    // Accessory expenses left with Tab: the focus goes to the IPI group, even with the text unchanged.
    t->edtBaseSubst->setEnabled(true);
    t->edtDespAcessorias->setEnabled(true);
    t->edtDespAcessorias->setFocus();
    QTest::keyClick(t->edtDespAcessorias, Qt::Key_Tab);
    EXPECT_EQ(Foco(), "edtValorIpi");

    // "Cancelada" marked: leaving the observation goes to "&Salvar".
    QTest::mouseClick(t->chbSituacao, Qt::LeftButton);
    ASSERT_TRUE(t->chbSituacao->isChecked());
    t->edtObservacao->setFocus();
    QTest::keyClick(t->edtObservacao, Qt::Key_Tab);
    EXPECT_EQ(Foco(), "btnSalvar");
    QTest::mouseClick(t->chbSituacao, Qt::LeftButton);

    // A money field with text that is no amount keeps the focus and its value.
    t->edtValorNF->defineValor(Money::fromCents(100000));
    t->edtValorNF->setFocus();
    t->edtValorNF->selectAll();
    QTest::keyClicks(t->edtValorNF, "10.5.1");
    banco.dialogos.esperaMensagem(QString());
    QTest::keyClick(t->edtValorNF, Qt::Key_Tab);
    EXPECT_EQ(Foco(), "edtValorNF");
    EXPECT_EQ(t->edtValorNF->valor(), Money::fromCents(100000));
    // ...but going to "&Cancelar" asks nothing.
    QTest::mouseClick(t->btnCancelar, Qt::LeftButton);
    EXPECT_FALSE(t->transacaoAberta());
}

TEST_F(Lancamento, MesEAnoDaNavegacaoCorrigidosAoSairComFocoReal)
{
    t->hide();
    TfrmNotasFiscais lista(ctx);
    lista.show();
    QApplication::setActiveWindow(&lista);
    lista.cmbMes->setFocus();
    lista.cmbMes->setEditText("13");
    QTest::keyClick(lista.cmbMes, Qt::Key_Tab);
    EXPECT_EQ(lista.cmbMes->currentText(), "1");
    EXPECT_EQ(Foco(), "cmbMes") << "a corrected month keeps the focus";
    QTest::keyClick(lista.cmbMes, Qt::Key_Tab);
    EXPECT_NE(Foco(), "cmbMes") << "once right, the month lets the focus go";

    lista.cmbAno->setFocus();
    lista.cmbAno->setEditText("1990");
    QTest::keyClick(lista.cmbAno, Qt::Key_Tab);
    EXPECT_EQ(lista.cmbAno->currentText(), "1999");
    EXPECT_EQ(Foco(), "cmbAno");
}
