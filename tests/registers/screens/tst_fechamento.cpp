// Esc and the window's close button on the register screens, and the number field that must keep what was
// typed when the window comes back to the front.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "TTelasCadastro.h"
#include "widgets/untTelas.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/screens/untContribuinte.h"
#include "registers/screens/untIncluirContador.h"
#include "registers/screens/untIncluirContribuinte.h"

using namespace cadastro;

namespace {

struct TSessaoGravada final : ISessao {
    int aberturas = 0;
    int cancelamentos = 0;
    void AbrirSessao() override { ++aberturas; }
    void CancelarSelecao() override { ++cancelamentos; }
};

struct Fechamento : TelaCadastro {};

} // namespace

TEST_F(Fechamento, EscEFecharDaJanelaNaSelecaoCancelamASelecao)
{
    insere("INSERT INTO Contribuinte (RazaoSocial, Tipo, CNPJ) VALUES ('COMERCIO', 'C', '11222333000181')");
    TSessaoGravada sessao;
    ctx.sessao = &sessao;
    {
        TfrmContribuintes tela(ctx);
        Ativa(&tela);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &tela, Qt::Key_Escape);
        EXPECT_FALSE(tela.isVisible());
        EXPECT_EQ(sessao.cancelamentos, 1) << "Esc takes the way of \"&Fechar\": the menus go back to no taxpayer";
    }
    {
        TfrmContribuintes tela(ctx);
        Ativa(&tela);
        EXPECT_TRUE(tela.close());
        EXPECT_EQ(sessao.cancelamentos, 2);
    }
    EXPECT_EQ(sessao.aberturas, 0);
}

TEST_F(Fechamento, EscNoDialogoDeInclusaoRecarregaALista)
{
    criaContador("ANA SOUZA", CpfValido);
    TDataSet& lista = banco.dtm->ADODataSetContador;
    lista.setCommandText("SELECT * from Contador WHERE 1 = 0");
    lista.open();
    ASSERT_TRUE(lista.isEmpty());
    TfrmIncluirContador tela(ctx);
    Ativa(&tela);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(tela.isVisible());
    EXPECT_EQ(lista.commandText(), "SELECT * from Contador ORDER BY Nome");
    EXPECT_EQ(lista.recordCount(), 1) << "the list is refilled as \"Fechar\" does";
}

TEST_F(Fechamento, NumeroDigitadoSobreviveAReativacaoDaJanela)
{
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirContribuinte);
    Ativa(&t);
    ASSERT_EQ(Foco(), "edtCnpj");
    QTest::keyClicks(t.edtCnpj, "11222333000181");
    ASSERT_EQ(t.edtCnpj->valor(), "11222333000181");

    // Another window comes to the front, then this one again: the field gets the focus back, untouched.
    QDialog outra;
    outra.show();
    QApplication::setActiveWindow(&outra);
    QApplication::setActiveWindow(&t);
    EXPECT_EQ(Foco(), "edtCnpj");
    EXPECT_EQ(t.edtCnpj->valor(), "11222333000181");
    // Put back by the program (as after a message box): untouched too.
    t.edtRazaoSocial->setFocus();
    t.edtCnpj->setFocus();
    EXPECT_EQ(t.edtCnpj->valor(), "11222333000181");

    // The user entering the field (Shift+Tab from the next one) empties it for typing; so does changing the kind.
    t.edtCcicms->setFocus();
    QTest::keyClick(t.edtCcicms, Qt::Key_Backtab);
    ASSERT_EQ(Foco(), "edtCnpj");
    EXPECT_EQ(t.edtCnpj->valor().trimmed(), "");
    t.edtCnpj->setText("11222333000181");
    t.rbCpf->setChecked(true);
    EXPECT_EQ(t.edtCnpj->valor().trimmed(), "");
}
