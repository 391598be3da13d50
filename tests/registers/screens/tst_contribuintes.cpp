// The taxpayer and client/supplier registers: include and change dialogs, the taxpayer selection driven from
// the main window, the client/supplier list, searching and deleting.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "TTelasCadastro.h"
#include "support/TOrdemTab.h"
#include "app/Main.h"
#include "app/untRegistroTelas.h"
#include "widgets/untTelas.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "registers/screens/untAlterarContribuinte.h"
#include "registers/screens/untContribuinte.h"
#include "registers/screens/untEmpresas.h"
#include "registers/screens/untIncluirContribuinte.h"

using namespace cadastro;

namespace {

const QString kContato = QStringLiteral("É Obrigatório o Preenchimento\ndo Nome e Fone para Contato!");
const QString kIeInvalida = QStringLiteral("Inscrição Estadual Inválida!");
const QString kJaCadastrado = QStringLiteral("Este Contribuinte já está cadastrado!");

QString comDigitoErrado(const QString& ie)
{
    return ie.left(ie.size() - 1) + QString::number((ie.back().digitValue() + 1) % 10);
}

struct Contribuintes : TelaCadastro {
    QString parte(int id, const char* nome) { return campo("Contribuinte", "IdContribuinte", id, nome); }
    int ultimaParte() { return valor("SELECT MAX(IdContribuinte) FROM Contribuinte").toInt(); }

    // Picks a row of the accountant list opened by the dialog's "..." button.
    void escolheContador(TfrmCamposContribuinte& t, int linha)
    {
        banco.dialogos.esperaTela("TfrmContadores", [linha](QObject* o) {
            auto* lista = static_cast<QDialog*>(o);
            Ativa(lista);
            EscolheLinha(Filho<QTableView>(lista, "dbgContadores"), linha);
            Clica(Filho<QPushButton>(lista, "btnSelecionar"));
            return lista->result();
        });
        Clica(t.btnSelcionaContador);
        QApplication::setActiveWindow(&t); // back to the dialog, as the window system does
    }

    // Starting with everything wrong or empty, the checks shared by both kinds refuse one at a time, in order.
    // Leaves every field right except the registration, which gets `ie`.
    void verificaAteOCep(TfrmIncluirContribuinte& t, const QString& ie)
    {
        t.edtCnpj->setText("11222333000180");
        t.edtCcicms->setText("12121212121212");
        recusa(t.btnConfirma, "CNPJ Inválido!", "edtCnpj");
        EXPECT_EQ(t.edtCnpj->valor().trimmed(), "") << "emptied on entering it";

        t.edtCnpj->setText(CnpjValido);
        recusa(t.btnConfirma, kIeInvalida, "edtCcicms");

        t.edtCcicms->setText(ie);
        t.edtRazaoSocial->setText(" & "); // nothing is left once the refused characters go
        recusa(t.btnConfirma, "Obrigatório Preenchimento da Razao Social!", "edtRazaoSocial");

        t.edtRazaoSocial->setText("Água & Cia  Ltda");
        recusa(t.btnConfirma, "É Obrigatório o Preenchimento do Endereço!", "edtLogradouro");
        t.edtLogradouro->setText("Rua das Flores");
        t.edtBairro->setText("Centro");
        t.edtMunicipio->setText("Brasília");
        recusa(t.btnConfirma, "É Obrigatório o Preenchimento do Endereço!", "edtLogradouro"); // the CEP is part of it

        t.edtCep->setText("7000000");
        EXPECT_EQ(t.edtComplemento->text(), " ");
        recusa(t.btnConfirma, "Preencha o campo Complemento com \"S/N\"!", "edtNumero");

        t.edtComplemento->setText("Loja 2");
        recusa(t.btnConfirma, "CEP Inválido!", "edtCep");
        t.edtCep->setText("70000000");
        EXPECT_EQ(conta("Contribuinte"), 0);
    }

    void preencheValido(TfrmCamposContribuinte& t, const QString& ie)
    {
        t.edtCnpj->setText(CnpjValido);
        t.edtCcicms->setText(ie);
        t.edtRazaoSocial->setText("Comercio Exemplo");
        t.edtLogradouro->setText("Rua Um");
        t.edtNumero->setText("10");
        t.edtBairro->setText("Centro");
        t.edtMunicipio->setText("Brasilia");
        t.edtCep->setText("70000000");
        t.cmbUF->setCurrentText("ZR");
        t.edtContato->setText("Maria");
        t.edtFone->setText("006133334444");
    }
};

} // namespace

TEST_F(Contribuintes, IncluirContribuinteVerificaNaOrdemEGrava)
{
    const int contador = criaContador("ANA SOUZA", CpfValido);
    const QString ie = InscricaoZR("12345678");
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirContribuinte);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), "Incluir Contribuinte");
    EXPECT_FALSE(t.chkIsento->isEnabled());
    EXPECT_EQ(t.cmbUF->currentText(), "ZR");
    EXPECT_EQ(Foco(), "edtCnpj");

    verificaAteOCep(t, comDigitoErrado(ie));
    recusa(t.btnConfirma, kContato, "edtContato");
    t.edtContato->setText("Maria");
    recusa(t.btnConfirma, kContato, "edtContato"); // the telephone has only its area code
    t.edtFone->setText("006133334444");
    recusa(t.btnConfirma, "Contador Obrigatório!", "btnSelcionaContador");

    escolheContador(t, 0);
    EXPECT_EQ(ctx.IdContadorEscolhido, contador);
    EXPECT_EQ(t.edtNomeContador->text(), "ANA SOUZA");
    EXPECT_EQ(Foco(), "btnConfirma");
    recusa(t.btnConfirma, kIeInvalida, "edtCcicms");
    EXPECT_EQ(conta("Contribuinte"), 0);

    t.edtCcicms->setText(ie);
    t.edtEmail->setText(" agua@exemplo.com.br ");
    informa(t.btnConfirma, "Incluído com Sucesso!");
    ASSERT_EQ(conta("Contribuinte"), 1);
    const int id = ultimaParte();
    EXPECT_EQ(parte(id, "RazaoSocial"), "AGUA  CIA  LTDA");
    EXPECT_EQ(parte(id, "CNPJ"), CnpjValido);
    EXPECT_EQ(parte(id, "Ccicms"), ie);
    EXPECT_EQ(parte(id, "Logradouro"), "RUA DAS FLORES");
    EXPECT_EQ(parte(id, "Numero"), "00000");
    EXPECT_EQ(parte(id, "Complemento"), "LOJA 2");
    EXPECT_EQ(parte(id, "Bairro"), "CENTRO");
    EXPECT_EQ(parte(id, "Municipio"), "BRASILIA");
    EXPECT_EQ(parte(id, "Cep"), "70000000");
    EXPECT_EQ(parte(id, "UF"), "ZR");
    EXPECT_EQ(parte(id, "Fone"), "006133334444");
    EXPECT_EQ(parte(id, "Fax"), "61");
    EXPECT_EQ(parte(id, "Contato"), "MARIA");
    EXPECT_EQ(parte(id, "Email"), "agua@exemplo.com.br");
    EXPECT_EQ(parte(id, "Tipo"), "C");
    EXPECT_EQ(parte(id, "IdContador").toInt(), contador);

    // Ready for the next one.
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.edtRazaoSocial->text(), "");
    EXPECT_EQ(Foco(), "edtCnpj");
}

TEST_F(Contribuintes, IncluirClienteFornecedorDispensaContatoEContador)
{
    ctx.IdContadorEscolhido = criaContador("ANA SOUZA", CpfValido); // a choice made elsewhere is not taken
    const QString ie = InscricaoZR("87654321");
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), "Incluir Cliente-Fornecedor");
    EXPECT_FALSE(t.grbContato->isVisible());
    EXPECT_FALSE(t.grbContador->isVisible());
    EXPECT_TRUE(t.chkIsento->isEnabled());

    verificaAteOCep(t, comDigitoErrado(ie));
    recusa(t.btnConfirma, kIeInvalida, "edtCcicms");
    t.edtCcicms->setText(ie);
    t.edtNumero->setText("12");
    informa(t.btnConfirma, "Incluído com Sucesso!");
    const int id = ultimaParte();
    EXPECT_EQ(parte(id, "RazaoSocial"), "AGUA  CIA  LTDA");
    EXPECT_EQ(parte(id, "Ccicms"), ie);
    EXPECT_EQ(parte(id, "Numero"), "00012");
    EXPECT_EQ(parte(id, "Tipo"), "F");
    EXPECT_EQ(parte(id, "IdContador").toInt(), 0);
}

TEST_F(Contribuintes, DepoisDeIncluirODigitadoVaiParaONumero)
{
    // Typed as a person does: a click into each field, then the keys; "Salvar" from the keyboard.
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
    Ativa(&t);
    const auto digita = [](QWidget* campo, const QString& texto) {
        QTest::mouseClick(campo, Qt::LeftButton, {}, QPoint(campo->width() - 3, campo->height() / 2));
        ASSERT_EQ(QApplication::focusWidget(), campo) << qPrintable(campo->objectName());
        QTest::keyClicks(campo, texto);
    };
    const QString ie = InscricaoZR("87654321");
    digita(t.edtCnpj, CnpjValido);
    digita(t.edtCcicms, ie);
    digita(t.edtRazaoSocial, "Comercio Exemplo");
    digita(t.edtLogradouro, "Rua Um");
    digita(t.edtNumero, "10");
    digita(t.edtBairro, "Centro");
    digita(t.edtMunicipio, "Brasilia");
    digita(t.edtCep, "70000000");
    digita(t.edtFax, "33224455");
    EXPECT_EQ(t.edtFax->valor(), "6133224455") << "the preset area code is kept";
    t.btnConfirma->setFocus(Qt::TabFocusReason);
    banco.dialogos.esperaMensagem("Incluído com Sucesso!");
    QTest::keyClick(t.btnConfirma, Qt::Key_Return);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(parte(ultimaParte(), "CNPJ"), CnpjValido);
    EXPECT_EQ(parte(ultimaParte(), "Fax"), "6133224455");

    // The next party is typed straight away, from the number's first position.
    ASSERT_EQ(Foco(), "edtCnpj");
    QTest::keyClicks(QApplication::focusWidget(), "11444777000161");
    EXPECT_EQ(t.edtCnpj->valor(), "11444777000161");
}

// Typed from the keyboard only, Enter after each field: from the name Enter goes straight to the street, so the
// street typed at once lands there and not on the "Isento" box (whose space would mark it and replace the
// registration); the box comes after the e-mail.
TEST_F(Contribuintes, EnterPassaPeloIsentoSemMarcarNemPerderODigitado)
{
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
    Ativa(&t);
    t.edtCnpj->setFocus(Qt::TabFocusReason);
    const QString ie = InscricaoZR("87654321");
    for (const QString& texto : {QString(CnpjValido), ie, QStringLiteral("Comercio Exemplo")}) {
        QTest::keyClicks(QApplication::focusWidget(), texto);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    ASSERT_EQ(Foco(), "edtLogradouro");
    QTest::keyClicks(QApplication::focusWidget(), "Rodovia BR 060 Km 12");
    EXPECT_EQ(t.edtLogradouro->text(), "Rodovia BR 060 Km 12");
    EXPECT_FALSE(t.findChild<QCheckBox*>("chkIsento") && t.findChild<QCheckBox*>("chkIsento")->isChecked());
    EXPECT_EQ(t.edtCcicms->valor().trimmed(), ie);
    t.edtEmail->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Foco(), "chkIsento");
}

TEST_F(Contribuintes, TabPercorreOFormularioNaOrdemDaLeitura)
{
    // Leaving the registration goes to the name (drawn above it), and the name to the street; everything else
    // in reading order.
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
    Ativa(&t);
    t.edtCnpj->setFocus(Qt::TabFocusReason);
    QStringList caminho{Foco()};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        caminho << Foco();
    }
    EXPECT_EQ(caminho, (QStringList{"edtCnpj", "edtCcicms", "edtRazaoSocial", "edtLogradouro", "edtNumero",
                                    "edtComplemento", "edtBairro", "edtCep", "edtMunicipio", "cmbUF", "edtFax",
                                    "edtEmail", "chkIsento"}));
}

TEST_F(Contribuintes, TabSegueAOrdemDaTelaNosDoisTiposDeParte)
{
    for (const auto modo : {ModoContribuinte::IncluirContribuinte, ModoContribuinte::IncluirClienteFornecedor}) {
        TfrmIncluirContribuinte t(ctx, modo);
        Ativa(&t);
        // The registration comes right after the number, though drawn below the name; "Isento" after the e-mail.
        const QStringList nomes = ComMovimentos(
            CamposNaTela(&t), {{"edtCnpj", "edtCcicms"}, {"edtRazaoSocial", "edtLogradouro"}, {"edtEmail", "chkIsento"}});
        const QStringList esperado = CaminhoComSaltos(nomes, "edtCnpj", 20, {});
        EXPECT_EQ(CaminhoDoTab(t.edtCnpj, esperado.size() - 1), esperado);
    }
}

TEST_F(Contribuintes, RepeticaoSoEntrePartesDoMesmoTipo)
{
    const int contador = criaContador("ANA SOUZA", CpfValido);
    const QString ie = InscricaoZR("12345678");
    criaParte("COMERCIO EXISTENTE", "C", ie, contador);
    ctx.IdContadorEscolhido = contador;
    {
        TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirContribuinte);
        Ativa(&t);
        preencheValido(t, ie);
        recusa(t.btnConfirma, kJaCadastrado, "edtCnpj");
        EXPECT_EQ(t.edtCnpj->valor().trimmed(), "");
        EXPECT_EQ(conta("Contribuinte"), 1);

        preencheValido(t, InscricaoZR("12345679")); // another registration of the same company
        informa(t.btnConfirma, "Incluído com Sucesso!");
        EXPECT_EQ(conta("Contribuinte"), 2);
    }
    {
        TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
        Ativa(&t);
        preencheValido(t, ie);
        informa(t.btnConfirma, "Incluído com Sucesso!");
        EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM Contribuinte WHERE Tipo = 'F' AND Ccicms = '%1'").arg(ie))
                      .toInt(),
                  1);
        preencheValido(t, ie);
        recusa(t.btnConfirma, kJaCadastrado, "edtCnpj");
        EXPECT_EQ(conta("Contribuinte"), 3);
    }
}

TEST_F(Contribuintes, ClienteIsentoGravaIsentoSemConferirInscricao)
{
    TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirClienteFornecedor);
    Ativa(&t);
    preencheValido(t, "123");
    t.chkIsento->setChecked(true);
    EXPECT_EQ(t.edtCcicms->text(), "ISENTO");
    EXPECT_EQ(Foco(), "edtRazaoSocial");
    informa(t.btnConfirma, "Incluído com Sucesso!");
    EXPECT_EQ(parte(ultimaParte(), "Ccicms"), "ISENTO");
    EXPECT_EQ(parte(ultimaParte(), "Tipo"), "F");
}

TEST_F(Contribuintes, AlterarCarregaALinhaEGuardaOEComercial)
{
    const int contador = criaContador("ANA SOUZA", CpfValido);
    const int alfa = criaParte("ALFA COMERCIO", "C", "111111111", contador);
    const QString ie = InscricaoZR("12345678");
    const int beta = criaParte("BETA COMERCIO", "C", ie, contador);
    TfrmContribuintes lista(ctx);
    Ativa(&lista);
    auto* grade = Filho<QTableView>(&lista, "dbgContribuintes");
    EscolheLinha(grade, 1);

    banco.dialogos.esperaTela("TfrmAlterarContribuinte", [&](QObject* o) {
        auto* t = static_cast<TfrmAlterarContribuinte*>(o);
        Ativa(t);
        EXPECT_EQ(t->idAlterado(), beta);
        EXPECT_EQ(t->edtRazaoSocial->text(), "BETA COMERCIO");
        EXPECT_EQ(t->edtCnpj->valor(), CnpjValido);
        EXPECT_EQ(t->edtCcicms->valor().trimmed(), ie);
        EXPECT_FALSE(t->edtCnpj->isEnabled());
        EXPECT_FALSE(t->edtCcicms->isEnabled());
        EXPECT_EQ(t->edtNumero->valor(), "00010");
        EXPECT_EQ(t->edtNomeContador->text(), "ANA SOUZA");
        EXPECT_EQ(Foco(), "edtRazaoSocial");

        t->edtContato->setText(" ");
        recusa(t->btnConfirma, kContato, "edtContato");
        t->edtContato->setText("João");
        t->edtRazaoSocial->setText(" Beta & Filhos Comércio ");
        informa(t->btnConfirma, "Alterado com Sucesso.");
        EXPECT_FALSE(t->isVisible());
        return t->result();
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));

    EXPECT_EQ(parte(beta, "RazaoSocial"), "BETA & FILHOS COMERCIO");
    EXPECT_EQ(parte(beta, "Contato"), "JOAO");
    EXPECT_EQ(parte(beta, "Ccicms"), ie);
    EXPECT_EQ(parte(beta, "Tipo"), "C");
    EXPECT_EQ(parte(beta, "IdContador").toInt(), contador);
    EXPECT_EQ(parte(alfa, "RazaoSocial"), "ALFA COMERCIO");
    EXPECT_EQ(parte(alfa, "Contato"), "MARIA");
    EXPECT_EQ(Linhas(grade, 0), (QStringList{"ALFA COMERCIO", "BETA & FILHOS COMERCIO"}));
}

TEST_F(Contribuintes, LocalizarComApostrofo)
{
    const int dagua = criaParte("D'AGUA COMERCIO", "C");
    criaParte("OUTRO COMERCIO", "C");
    criaParte("D'AGUA DISTRIBUIDORA", "F");
    criaParte("OUTRA DISTRIBUIDORA", "F");
    {
        TfrmContribuintes lista(ctx);
        Ativa(&lista);
        auto* grade = Filho<QTableView>(&lista, "dbgContribuintes");
        auto* pesquisa = Filho<QLineEdit>(&lista, "edtPesquisa");
        QTest::keyClicks(pesquisa, "D'AGUA");
        Clica(Filho<QPushButton>(&lista, "btnLocalizar"));
        EXPECT_EQ(Linhas(grade, 0), QStringList{"D'AGUA COMERCIO"}) << "taxpayers only";
        EXPECT_EQ(pesquisa->text(), "");
        Clica(Filho<QPushButton>(&lista, "btnSelecionar"));
        EXPECT_EQ(ctx.IdAtivo, dagua);
    }
    {
        TfrmEmpresas lista(ctx);
        Ativa(&lista);
        auto* grade = Filho<QTableView>(&lista, "dbgContribuintes");
        EXPECT_EQ(Linhas(grade, 0), (QStringList{"D'AGUA DISTRIBUIDORA", "OUTRA DISTRIBUIDORA"}));
        QTest::keyClicks(Filho<QLineEdit>(&lista, "edtPesquisa"), "D'AGUA");
        Clica(Filho<QPushButton>(&lista, "btnLocalizar"));
        EXPECT_EQ(Linhas(grade, 0), (QStringList{"D'AGUA COMERCIO", "D'AGUA DISTRIBUIDORA"}));
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(Contribuintes, ExcluirParteComNotasRecusaESemNotasApaga)
{
    const int contribuinte = criaParte("COMERCIO EXEMPLO", "C");
    const int comNota = criaParte("EMPRESA COM NOTA", "F");
    const int semNota = criaParte("EMPRESA SEM NOTA", "F");
    insere(QStringLiteral("INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, NumeroNF) "
                          "VALUES (%1, %2, '2026-11-05', '000123')")
               .arg(contribuinte)
               .arg(comNota));
    const QString existe = QStringLiteral("SELECT COUNT(*) FROM Contribuinte WHERE IdContribuinte = %1");
    {
        TfrmEmpresas lista(ctx);
        Ativa(&lista);
        auto* grade = Filho<QTableView>(&lista, "dbgContribuintes");
        auto* excluir = Filho<QPushButton>(&lista, "btnExcluir");
        EscolheLinha(grade, 0);
        banco.dialogos.esperaExclusao("Confirma Exclusão \ndeste Registro ?", true);
        informa(excluir, "Erro na Exclusão.\nHá notas relacionadas a esta empresa!");
        EXPECT_EQ(valor(existe.arg(comNota)).toInt(), 1);

        EscolheLinha(grade, 1);
        banco.dialogos.esperaExclusao("Confirma Exclusão \ndeste Registro ?", true);
        informa(excluir, "Excluído com Sucesso.");
        EXPECT_EQ(valor(existe.arg(semNota)).toInt(), 0);
        EXPECT_EQ(Linhas(grade, 0), QStringList{"EMPRESA COM NOTA"});
    }
    {
        TfrmContribuintes lista(ctx);
        Ativa(&lista);
        banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
        informa(Filho<QPushButton>(&lista, "btnExcluir"), "Erro na Exclusão.\nHá notas relacionadas a este Contribuinte!");
        EXPECT_EQ(valor(existe.arg(contribuinte)).toInt(), 1);
    }
}

TEST_F(Contribuintes, ListasSemLinhaNaoOferecemAlterarNemExcluir)
{
    const auto verifica = [&](TfrmListaContribuintes& lista, bool temLinhas) {
        for (const auto& [menu, botao] : {std::pair{"mnuAlterar", "btnAlterar"}, std::pair{"mnuExcluir", "btnExcluir"},
                                          std::pair{"mnuImprimir", "btnImprimir"}}) {
            EXPECT_EQ(Filho<QAction>(&lista, menu)->isEnabled(), temLinhas) << menu;
            EXPECT_EQ(Filho<QPushButton>(&lista, botao)->isEnabled(), temLinhas) << botao;
        }
        EXPECT_TRUE(Filho<QAction>(&lista, "mnuIncluir")->isEnabled());
    };
    {
        TfrmEmpresas lista(ctx);
        Ativa(&lista);
        verifica(lista, false);
        // Not even called directly does a change dialog open without a row (it would edit id 0).
        Filho<QAction>(&lista, "mnuAlterar")->trigger();
        lista.Alterar();
        lista.Excluir();
    }
    criaParte("ALFA COMERCIO", "C");
    {
        TfrmContribuintes lista(ctx);
        Ativa(&lista);
        verifica(lista, true);
        QTest::keyClicks(Filho<QLineEdit>(&lista, "edtPesquisa"), "NADA DISSO");
        Clica(Filho<QPushButton>(&lista, "btnLocalizar"));
        verifica(lista, false);
        lista.Alterar();
        Filho<QAction>(&lista, "mnuExcluir")->trigger();
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(Contribuintes, AlterarLinhaQueSumiuNaoDizSucesso)
{
    const int contador = criaContador("ANA SOUZA", CpfValido);
    const int alfa = criaParte("ALFA COMERCIO", "C", "111111111", contador);
    TfrmContribuintes lista(ctx);
    Ativa(&lista);
    banco.dialogos.esperaTela("TfrmAlterarContribuinte", [&](QObject* o) {
        auto* t = static_cast<TfrmAlterarContribuinte*>(o);
        Ativa(t);
        insere(QStringLiteral("DELETE FROM Contribuinte WHERE IdContribuinte = %1").arg(alfa));
        informa(t->btnConfirma, "Erro na Alteração! Verifique os dados digitados.");
        EXPECT_TRUE(t->isVisible());
        Clica(t->btnFechar);
        return t->result();
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));
    EXPECT_EQ(conta("Contribuinte"), 0);
}

TEST_F(Contribuintes, ContribuinteAlteradoPelaListaDeClientesGuardaOContador)
{
    const int contador = criaContador("ANA SOUZA", CpfValido);
    const int alfa = criaParte("ALFA COMERCIO", "C", "111111111", contador);
    TfrmEmpresas lista(ctx);
    Ativa(&lista);
    QTest::keyClicks(Filho<QLineEdit>(&lista, "edtPesquisa"), "ALFA");
    Clica(Filho<QPushButton>(&lista, "btnLocalizar")); // the search finds taxpayers too
    ASSERT_EQ(Linhas(Filho<QTableView>(&lista, "dbgContribuintes"), 0), QStringList{"ALFA COMERCIO"});
    banco.dialogos.esperaTela("TfrmAlterarContribuinte", [&](QObject* o) {
        auto* t = static_cast<TfrmAlterarContribuinte*>(o);
        Ativa(t);
        EXPECT_FALSE(t->grbContador->isVisible());
        t->edtRazaoSocial->setText("Alfa Comercio e Industria");
        informa(t->btnConfirma, "Alterado com Sucesso.");
        return t->result();
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));
    EXPECT_EQ(parte(alfa, "RazaoSocial"), "ALFA COMERCIO E INDUSTRIA");
    EXPECT_EQ(parte(alfa, "IdContador").toInt(), contador);
    EXPECT_EQ(parte(alfa, "Tipo"), "C");
}

TEST_F(Contribuintes, LargurasDosCamposVemDoBancoENadaECortado)
{
    sqlite3* banco_ = db();
    const auto largura = [&](const char* coluna) { return Sql::larguraTexto(banco_, "Contribuinte", coluna); };
    const int email = largura("Email");
    {
        TfrmIncluirContribuinte inclusao(ctx, ModoContribuinte::IncluirContribuinte);
        TfrmAlterarContribuinte alteracao(ctx, ModoContribuinte::AlterarContribuinte);
        for (TfrmCamposContribuinte* t : {static_cast<TfrmCamposContribuinte*>(&inclusao),
                                          static_cast<TfrmCamposContribuinte*>(&alteracao)}) {
            SCOPED_TRACE(t->objectName().toStdString());
            EXPECT_EQ(t->edtEmail->maxLength(), email);
            EXPECT_EQ(t->edtRazaoSocial->maxLength(), largura("RazaoSocial"));
            EXPECT_EQ(t->edtLogradouro->maxLength(), largura("Logradouro"));
            EXPECT_EQ(t->edtComplemento->maxLength(), largura("Complemento"));
            EXPECT_EQ(t->edtBairro->maxLength(), largura("Bairro"));
            EXPECT_EQ(t->edtMunicipio->maxLength(), largura("Municipio"));
            EXPECT_EQ(t->edtContato->maxLength(), largura("Contato"));
        }
    }

    // An e-mail as wide as the column goes in whole and comes back whole through the change dialog.
    const int contador = criaContador("ANA SOUZA", CpfValido);
    ctx.IdContadorEscolhido = contador;
    const QString longo = QString(email - 9, QLatin1Char('e')) + "@x.com.br";
    ASSERT_EQ(longo.size(), email);
    {
        TfrmIncluirContribuinte t(ctx, ModoContribuinte::IncluirContribuinte);
        Ativa(&t);
        preencheValido(t, InscricaoZR("12345678"));
        t.edtEmail->setText(longo);
        informa(t.btnConfirma, "Incluído com Sucesso!");
    }
    const int id = ultimaParte();
    EXPECT_EQ(parte(id, "Email"), longo);
    // A contact wider than its column, left by an older file.
    const QString contato = QString(largura("Contato") + 3, QLatin1Char('C'));
    insere(QStringLiteral("UPDATE Contribuinte SET Contato = '%1' WHERE IdContribuinte = %2").arg(contato).arg(id));

    TfrmContribuintes lista(ctx);
    Ativa(&lista);
    banco.dialogos.esperaTela("TfrmAlterarContribuinte", [&](QObject* o) {
        auto* t = static_cast<TfrmAlterarContribuinte*>(o);
        Ativa(t);
        EXPECT_EQ(t->edtEmail->text(), longo);
        EXPECT_EQ(t->edtContato->text(), contato) << "shown whole, not cut to the field";
        recusa(t->btnConfirma,
               QStringLiteral("O campo Contato admite no máximo %1 caracteres (foram informados %2).")
                   .arg(largura("Contato"))
                   .arg(contato.size()),
               "edtContato");
        EXPECT_EQ(parte(id, "Contato"), contato);
        t->edtContato->setText("Maria");
        informa(t->btnConfirma, "Alterado com Sucesso.");
        return t->result();
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));
    EXPECT_EQ(parte(id, "Email"), longo);
    EXPECT_EQ(parte(id, "Contato"), "MARIA");
}

TEST_F(Contribuintes, ExclusaoRecusadaPorDeclaracoesDadosAnuaisEQuadroV)
{
    const int alfa = criaParte("ALFA COMERCIO", "C");
    TfrmContribuintes lista(ctx);
    Ativa(&lista);
    auto* excluir = Filho<QPushButton>(&lista, "btnExcluir");
    const struct {
        const char* insercao;
        const char* tabela;
        const char* mensagem;
    } casos[] = {
        {"INSERT INTO ZEL_SN (IdContribuinte, Periodo) VALUES (%1, '202601')", "ZEL_SN",
         "Erro na Exclusão.\nHá declarações relacionadas a este Contribuinte!"},
        {"INSERT INTO DadosAnuais (IdContribuinte, Ano) VALUES (%1, '2025')", "DadosAnuais",
         "Erro na Exclusão.\nHá dados anuais relacionados a este Contribuinte!"},
        {"INSERT INTO VornQuadroV (IdContribuinte, Valor) VALUES (%1, 10000)", "VornQuadroV",
         "Erro na Exclusão.\nHá lançamentos do Quadro V relacionados a este Contribuinte!"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.tabela);
        insere(QString::fromLatin1(caso.insercao).arg(alfa));
        banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
        informa(excluir, QString::fromUtf8(caso.mensagem));
        EXPECT_EQ(conta("Contribuinte"), 1);
        insere(QStringLiteral("DELETE FROM ") + QString::fromLatin1(caso.tabela));
    }
    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    informa(excluir, "Excluído com Sucesso.");
    EXPECT_EQ(conta("Contribuinte"), 0);
}

TEST_F(Contribuintes, ContribuinteAbertoNaoEExcluidoPelaListaDeClientes)
{
    const int alfa = criaParte("ALFA COMERCIO", "C");
    ctx.IdAtivo = alfa;
    TfrmEmpresas lista(ctx);
    Ativa(&lista);
    QTest::keyClicks(Filho<QLineEdit>(&lista, "edtPesquisa"), "ALFA");
    Clica(Filho<QPushButton>(&lista, "btnLocalizar"));
    ASSERT_EQ(Linhas(Filho<QTableView>(&lista, "dbgContribuintes"), 0), QStringList{"ALFA COMERCIO"});
    // Refused before the question: there is nothing to confirm.
    informa(Filho<QPushButton>(&lista, "btnExcluir"),
            "Erro na Exclusão.\nEste é o Contribuinte aberto: feche-o antes de excluí-lo.");
    EXPECT_EQ(conta("Contribuinte"), 1);
}

// ----- the taxpayer selection opened from the main window

namespace {

struct SelecaoDeContribuinte : Contribuintes {
    TRelogioFixo relogio{QDateTime(QDate(2026, 12, 9), QTime(10, 0))};
    TProgressoGravado progresso;
    std::unique_ptr<TfrmMain> janela;

    void SetUp() override
    {
        preparaContexto();
        ctx.relogio = &relogio;
        janela = std::make_unique<TfrmMain>(ctx, progresso);
        RegistraTelas(*janela, ctx);
        janela->show(); // connects
        ASSERT_TRUE(banco.con->conectado());
    }
    void TearDown() override
    {
        janela.reset();
        Contribuintes::TearDown();
    }
    QAction* acao(const char* nome) { return Filho<QAction>(janela.get(), nome); }
    bool menuHabilitado(const char* nome) { return Filho<QMenu>(janela.get(), nome)->menuAction()->isEnabled(); }
};

} // namespace

TEST_F(SelecaoDeContribuinte, SelecionarAbreOContribuinteDaLinha)
{
    criaParte("ALFA COMERCIO", "C", "111111111");
    const int beta = criaParte("BETA INDUSTRIA", "C", "222222222");
    criaParte("GAMA FORNECEDOR", "F", "333333333");
    banco.dialogos.esperaTela("TfrmContribuintes", [&](QObject* o) {
        auto* tela = static_cast<QDialog*>(o);
        Ativa(tela);
        auto* grade = Filho<QTableView>(tela, "dbgContribuintes");
        EXPECT_EQ(Linhas(grade, 0), (QStringList{"ALFA COMERCIO", "BETA INDUSTRIA"}));
        EscolheLinha(grade, 1);
        Clica(Filho<QPushButton>(tela, "btnSelecionar"));
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    acao("btnAbrir")->trigger();
    EXPECT_EQ(ctx.IdAtivo, beta);
    EXPECT_EQ(janela->windowTitle(), "ZEL - 222222222 . BETA INDUSTRIA");
    EXPECT_TRUE(acao("btnFechar")->isEnabled());
    EXPECT_FALSE(acao("btnAbrir")->isEnabled());
    EXPECT_TRUE(menuHabilitado("mnuLancamentos"));
    EXPECT_EQ(banco.dtm->ADODataSetAtivo.asInteger("IdContribuinte"), beta);
}

TEST_F(SelecaoDeContribuinte, EnterNaListaAbreOContribuinteDaLinha)
{
    criaParte("ALFA COMERCIO", "C", "111111111");
    const int beta = criaParte("BETA INDUSTRIA", "C", "222222222");
    banco.dialogos.esperaTela("TfrmContribuintes", [&](QObject* o) {
        auto* tela = static_cast<QDialog*>(o);
        Ativa(tela);
        auto* grade = Filho<QTableView>(tela, "dbgContribuintes");
        EXPECT_EQ(grade->toolTip(), "Duplo Clique para selecionar empresa");
        grade->setFocus(Qt::TabFocusReason);
        EscolheLinha(grade, 0);
        QTest::keyClick(grade, Qt::Key_Down);
        QTest::keyClick(grade, Qt::Key_Return);
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    acao("btnAbrir")->trigger();
    EXPECT_EQ(ctx.IdAtivo, beta);
}

TEST_F(SelecaoDeContribuinte, ListaVaziaNaoAbreEFecharDesabilitaOsMenus)
{
    banco.dialogos.esperaTela("TfrmContribuintes", [&](QObject* o) {
        auto* tela = static_cast<QDialog*>(o);
        Ativa(tela);
        EXPECT_TRUE(menuHabilitado("mnuLancamentos"));
        EXPECT_TRUE(menuHabilitado("mnuRelatorios"));
        for (const char* b : {"btnAlterar", "btnExcluir", "btnImprimir"})
            EXPECT_FALSE(Filho<QPushButton>(tela, b)->isEnabled()) << b;
        informa(Filho<QPushButton>(tela, "btnSelecionar"), "Seleção não é válida. Efetue nova pesquisa.");
        EXPECT_TRUE(tela->isVisible()) << "stays for a new search";
        Clica(Filho<QPushButton>(tela, "btnFechar"));
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    acao("btnAbrir")->trigger();
    EXPECT_EQ(ctx.IdAtivo, 0);
    EXPECT_FALSE(acao("btnFechar")->isEnabled());
    EXPECT_TRUE(acao("btnAbrir")->isEnabled());
    EXPECT_FALSE(menuHabilitado("mnuLancamentos"));
    EXPECT_FALSE(menuHabilitado("mnuRelatorios"));
    EXPECT_EQ(janela->windowTitle(), janela->legendaVersao());
}

TEST_F(Contribuintes, TabSegueAOrdemDaTelaNaAlteracao)
{
    // The number and registration are fixed on a change: Tab reads the rest of the form in order, from the name
    // where the screen opens, both for a taxpayer (through its list) and for a client or supplier.
    const int contador = criaContador("ANA SOUZA", CpfValido);
    criaParte("ALFA COMERCIO", "C", "111111111", contador);
    criaParte("BETA FORNECEDOR", "F", "111111111", contador);
    for (const bool contribuinte : {true, false}) {
        SCOPED_TRACE(contribuinte ? "contribuinte" : "cliente ou fornecedor");
        std::unique_ptr<QDialog> lista;
        if (contribuinte)
            lista = std::make_unique<TfrmContribuintes>(ctx);
        else
            lista = std::make_unique<TfrmEmpresas>(ctx);
        Ativa(lista.get());
        if (!contribuinte) {
            QTest::keyClicks(Filho<QLineEdit>(lista.get(), "edtPesquisa"), "BETA");
            Clica(Filho<QPushButton>(lista.get(), "btnLocalizar"));
        }
        banco.dialogos.esperaTela("TfrmAlterarContribuinte", [&](QObject* o) {
            auto* t = static_cast<TfrmAlterarContribuinte*>(o);
            Ativa(t);
            QWidget* inicio = QApplication::focusWidget();
            EXPECT_EQ(inicio, t->edtRazaoSocial);
            if (inicio) {
                const QStringList esperado = OrdemEsperada(t, inicio, 30).mid(0, 16);
                EXPECT_EQ(CaminhoDoTab(inicio, esperado.size() - 1), esperado);
            }
            return int(QDialog::Rejected);
        });
        Clica(Filho<QPushButton>(lista.get(), "btnAlterar"));
        banco.dialogos.verificaConsumo();
    }
}

TEST_F(Contribuintes, TabDasListasSegueAOrdemDaTelaComESemLinhas)
{
    // Without a row the commands that need one are disabled and left out of the walk.
    const struct {
        const char* modo;
        bool empresas;
        bool linha;
    } casos[] = {
        {"clientes e fornecedores, vazia", true, false},
        {"contribuintes, vazia", false, false},
        {"clientes e fornecedores, com uma linha", true, true},
        {"contribuintes, com uma linha", false, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        if (c.linha && c.empresas)
            criaParte("ALFA COMERCIO", "C");
        std::unique_ptr<TfrmListaContribuintes> lista;
        if (c.empresas)
            lista = std::make_unique<TfrmEmpresas>(ctx);
        else
            lista = std::make_unique<TfrmContribuintes>(ctx);
        Ativa(lista.get());
        const auto volta = VoltaDoTab(lista.get());
        EXPECT_EQ(volta.esperado.contains("btnAlterar"), Filho<QPushButton>(lista.get(), "btnAlterar")->isEnabled());
        EXPECT_TRUE(volta.esperado.contains("edtPesquisa")) << volta.esperado.join(' ').toStdString();
        if (c.linha) {
            EXPECT_EQ(Filho<QTableView>(lista.get(), "dbgContribuintes")->model()->rowCount() > 0,
                      volta.esperado.contains("btnExcluir"));
        }
        EXPECT_EQ(volta.caminho, volta.esperado);
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}
