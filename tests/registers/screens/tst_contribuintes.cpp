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
#include "app/Main.h"
#include "app/untRegistroTelas.h"
#include "widgets/untTelas.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
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
