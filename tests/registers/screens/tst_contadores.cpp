// The accountant register: the include and change dialogs and the list, which is also the accountant picker.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <QAction>

#include "TTelasCadastro.h"
#include "support/TOrdemTab.h"
#include "db/untSqlite.h"
#include "widgets/untTelas.h"
#include "registers/screens/untAlterarContador.h"
#include "registers/screens/untContadores.h"
#include "registers/screens/untIncluirContador.h"
#include "registers/untValidacoes.h"
#include "core/untMascaras.h"

using namespace cadastro;

namespace {

struct Contadores : TelaCadastro {
    QString contador(int id, const char* nome) { return campo("Contador", "IDContador", id, nome); }
    int idPorNome(const QString& nome)
    {
        return valor(QStringLiteral("SELECT IDContador FROM Contador WHERE Nome = '%1'").arg(nome)).toInt();
    }
};

QPushButton* botao(QDialog& tela, const char* nome) { return Filho<QPushButton>(&tela, nome); }

} // namespace

TEST(NumerosDeExemplo, PassamNasVerificacoes)
{
    EXPECT_TRUE(ValidaCPF(CpfValido));
    EXPECT_TRUE(ValidaCPF(OutroCpfValido));
    EXPECT_TRUE(ValidaCNPJ(CnpjValido));
    EXPECT_TRUE(ValidaInscricaoEstadual(InscricaoZR("12345678"), "ZR"));
    EXPECT_TRUE(ValidaInscricaoEstadual(InscricaoZR("00000060"), "ZR")); // remainder 1
}

TEST_F(Contadores, IncluirVerificaNaOrdemENadaGravaAteOFim)
{
    TfrmIncluirContador tela(ctx);
    Ativa(&tela);
    EXPECT_EQ(tela.edtCrc->text(), PresetCrc);
    EXPECT_TRUE(tela.rbCpf->isChecked());
    EXPECT_EQ(Foco(), "edtCnpj");

    // Everything wrong at once: the number is the first complaint; the field is emptied for typing again.
    QTest::keyClicks(tela.edtCnpj, "52998224724");
    EXPECT_EQ(tela.edtCnpj->valor(), "52998224724");
    tela.edtEmail->setText("sem-arroba");
    recusa(tela.btnConfirma, "CPF Inválido!", "edtCnpj");
    EXPECT_EQ(tela.edtCnpj->valor().trimmed(), "");

    tela.edtCnpj->setText(CpfValido);
    EXPECT_EQ(tela.edtRazaoSocial->text(), " ") << "the name starts as a blank";
    recusa(tela.btnConfirma, "Obrigatório Preenchimento do Nome!", "edtRazaoSocial");

    tela.edtRazaoSocial->setText("  José da Conceição  ");
    recusa(tela.btnConfirma, "Obrigatório Preenchimento do CRC!", "edtCrc");
    tela.edtCrc->setText("  ");
    recusa(tela.btnConfirma, "Obrigatório Preenchimento do CRC!", "edtCrc");

    tela.edtCrc->clear();
    QTest::keyClicks(tela.edtCrc, "zr123456s");
    EXPECT_EQ(tela.edtCrc->text(), "ZR123456S") << "typed in capitals";
    tela.edtCrc->setText("zr123456s1");
    recusa(tela.btnConfirma, "E-Mail do Contabilista inválido: sem-arroba", "edtEmail");
    tela.edtEmail->setText(" ");
    recusa(tela.btnConfirma, "E-Mail do Contabilista não está informado!", "edtEmail");
    EXPECT_EQ(conta("Contador"), 0);

    tela.edtEmail->setText("  contador@exemplo.com.br ");
    tela.edtFone->setText("006132345678");
    informa(tela.btnConfirma, "Incluído com Sucesso.");
    ASSERT_EQ(conta("Contador"), 1);
    const int id = valor("SELECT MAX(IDContador) FROM Contador").toInt();
    EXPECT_EQ(contador(id, "Nome"), "JOSE DA CONCEICAO");
    EXPECT_EQ(contador(id, "CPF"), CpfValido);
    EXPECT_EQ(contador(id, "CRC"), "ZR123456S1");
    EXPECT_EQ(contador(id, "EMail"), "contador@exemplo.com.br");
    EXPECT_EQ(contador(id, "Fone"), "006132345678");

    // Ready for the next one.
    EXPECT_TRUE(tela.isVisible());
    EXPECT_EQ(tela.edtCrc->text(), PresetCrc);
    EXPECT_EQ(tela.edtCnpj->valor().trimmed(), "");
    EXPECT_EQ(Foco(), "edtCnpj");
}

TEST_F(Contadores, TabSegueAOrdemDaTela)
{
    // Typing starts at the number (below the name): the name is the field right after it.
    TfrmIncluirContador t(ctx);
    Ativa(&t);
    QWidget* primeiro = QApplication::focusWidget();
    ASSERT_EQ(primeiro, t.edtCnpj);
    const QStringList esperado = OrdemEsperada(&t, primeiro, 30, {{"edtCnpj", "edtRazaoSocial"}}).mid(0, 14);
    EXPECT_EQ(esperado.mid(0, 3), (QStringList{"edtCnpj", "edtRazaoSocial", "edtCrc"}));
    EXPECT_EQ(CaminhoDoTab(primeiro, esperado.size() - 1), esperado);
}

TEST_F(Contadores, IncluirSoComOTecladoPassaPorTodosOsCampos)
{
    // From the field the dialog starts in, Enter goes through every field to "Confirma", and Enter there
    // saves; the kind is the field before the number (Shift+Tab, then the arrows).
    struct Caso {
        const char* nome;
        bool cnpj;
        QString numero;
    };
    for (const Caso& c : {Caso{"CPF", false, CpfValido}, Caso{"CNPJ", true, CnpjValido}}) {
        SCOPED_TRACE(c.nome);
        TfrmIncluirContador tela(ctx);
        Ativa(&tela);
        auto tecla = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        auto digita = [](const QString& texto) {
            for (const QChar ch : texto)
                QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
        };
        ASSERT_EQ(Foco(), "edtCnpj");
        if (c.cnpj) {
            tecla(Qt::Key_Backtab, Qt::ShiftModifier);
            ASSERT_EQ(Foco(), "rbCpf");
            tecla(Qt::Key_Left);
            EXPECT_TRUE(tela.rbCnpj->isChecked());
            tecla(Qt::Key_Tab);
            ASSERT_EQ(Foco(), "edtCnpj");
        }
        digita(c.numero);
        tecla(Qt::Key_Return);
        EXPECT_EQ(Foco(), "edtRazaoSocial");
        digita(QString::fromUtf8("Maria da Conceição"));
        tecla(Qt::Key_Return);
        EXPECT_EQ(Foco(), "edtCrc");
        digita("zr654321s1");
        tecla(Qt::Key_Return);
        EXPECT_EQ(Foco(), "edtEmail");
        digita("maria.conceicao@contabilidade.com.br");
        tecla(Qt::Key_Return);
        EXPECT_EQ(Foco(), "edtFone");
        digita("32345678");
        tecla(Qt::Key_Return);
        ASSERT_EQ(Foco(), "btnConfirma");
        banco.dialogos.esperaMensagem(QString::fromUtf8("Incluído com Sucesso."));
        tecla(Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        const int id = valor(QStringLiteral("SELECT IDContador FROM Contador WHERE CPF = '%1'").arg(c.numero)).toInt();
        ASSERT_GT(id, 0);
        EXPECT_EQ(contador(id, "Nome"), "MARIA DA CONCEICAO");
        EXPECT_EQ(contador(id, "CRC"), "ZR654321S1");
        EXPECT_EQ(contador(id, "EMail"), "maria.conceicao@contabilidade.com.br");
        EXPECT_EQ(contador(id, "Fone"), QStringLiteral("00") + DddEstado + "32345678");
        EXPECT_EQ(Foco(), "edtCnpj") << "ready for the next one";
    }
}

TEST_F(Contadores, TabSegueAOrdemDaTelaNaAlteracao)
{
    criaContador("ANA SOUZA", CpfValido);
    TfrmContadores lista(ctx);
    Ativa(&lista);
    EscolheLinha(Filho<QTableView>(&lista, "dbgContadores"), 0);
    banco.dialogos.esperaTela("TfrmAlterarContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmAlterarContador*>(o);
        Ativa(tela);
        QWidget* inicio = QApplication::focusWidget();
        EXPECT_EQ(inicio, tela->edtRazaoSocial);
        if (inicio) {
            const QStringList esperado = OrdemEsperada(tela, inicio, 30).mid(0, 14);
            EXPECT_EQ(CaminhoDoTab(inicio, esperado.size() - 1), esperado);
        }
        return int(QDialog::Rejected);
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));
}

TEST_F(Contadores, IncluirComCnpjEFoneSoComDdd)
{
    TfrmIncluirContador tela(ctx);
    Ativa(&tela);
    tela.rbCnpj->setChecked(true);
    EXPECT_EQ(tela.edtCnpj->mascara(), Mascaras::CnpjDigitando);
    tela.edtCnpj->setText("11222333000180");
    tela.edtRazaoSocial->setText("Escritório Contábil");
    tela.edtCrc->setText("ZR654321S");
    tela.edtEmail->setText("escritorio@exemplo.com");
    recusa(tela.btnConfirma, "CNPJ Inválido!", "edtCnpj");
    EXPECT_EQ(tela.edtCnpj->valor().trimmed(), "");

    tela.edtCnpj->setText(CnpjValido);
    informa(tela.btnConfirma, "Incluído com Sucesso.");
    const int id = valor("SELECT MAX(IDContador) FROM Contador").toInt();
    EXPECT_EQ(contador(id, "CPF"), CnpjValido);
    EXPECT_EQ(contador(id, "Nome"), "ESCRITORIO CONTABIL");
    EXPECT_EQ(contador(id, "Fone"), "0061") << "the untouched telephone keeps only the preset, no trailing blanks";
}

TEST_F(Contadores, ListaVaziaDesabilitaBotoesAteIncluir)
{
    TfrmContadores lista(ctx);
    Ativa(&lista);
    for (const char* b : {"btnAlterar", "btnExcluir", "btnImprimir"})
        EXPECT_FALSE(botao(lista, b)->isEnabled()) << b;

    banco.dialogos.esperaTela("TfrmIncluirContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmIncluirContador*>(o);
        Ativa(tela);
        tela->edtCnpj->setText(CpfValido);
        tela->edtRazaoSocial->setText("Ana Souza");
        tela->edtCrc->setText("ZR111111S1");
        tela->edtEmail->setText("ana@exemplo.com.br");
        informa(tela->btnConfirma, "Incluído com Sucesso.");
        Clica(tela->btnFechar);
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    Clica(botao(lista, "btnIncluir"));
    for (const char* b : {"btnAlterar", "btnExcluir", "btnImprimir"})
        EXPECT_TRUE(botao(lista, b)->isEnabled()) << b;
    EXPECT_EQ(Linhas(Filho<QTableView>(&lista, "dbgContadores"), 1), QStringList{"ANA SOUZA"});
}

TEST_F(Contadores, SelecionarCancelaEFecharPelaJanela)
{
    const int ana = criaContador("ANA SOUZA", CpfValido);
    const int bruno = criaContador("BRUNO LIMA", OutroCpfValido);
    {
        TfrmContadores lista(ctx);
        Ativa(&lista);
        auto* grade = Filho<QTableView>(&lista, "dbgContadores");
        EXPECT_EQ(Linhas(grade, 1), (QStringList{"ANA SOUZA", "BRUNO LIMA"}));
        EscolheLinha(grade, 1);
        Clica(botao(lista, "btnSelecionar"));
        EXPECT_EQ(ctx.IdContadorEscolhido, bruno);
        EXPECT_EQ(lista.result(), QDialog::Accepted);
    }
    {
        // From the keyboard: Enter on the row chooses it, as the double click does.
        TfrmContadores lista(ctx);
        Ativa(&lista);
        auto* grade = Filho<QTableView>(&lista, "dbgContadores");
        grade->setFocus(Qt::TabFocusReason);
        EscolheLinha(grade, 1);
        QTest::keyClick(grade, Qt::Key_Up);
        QTest::keyClick(grade, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(ctx.IdContadorEscolhido, ana);
        EXPECT_EQ(lista.result(), QDialog::Accepted);
    }
    {
        TfrmContadores lista(ctx);
        Ativa(&lista);
        Clica(botao(lista, "btnCancela"));
        EXPECT_EQ(ctx.IdContadorEscolhido, 0);
        EXPECT_EQ(lista.result(), QDialog::Rejected);
    }
    ctx.IdContadorEscolhido = ana;
    {
        TfrmContadores lista(ctx);
        Ativa(&lista);
        EscolheLinha(Filho<QTableView>(&lista, "dbgContadores"), 1);
        lista.reject(); // Esc
        EXPECT_EQ(ctx.IdContadorEscolhido, ana);
    }
    {
        TfrmContadores lista(ctx);
        Ativa(&lista);
        EscolheLinha(Filho<QTableView>(&lista, "dbgContadores"), 1);
        lista.close(); // the window's button
        EXPECT_FALSE(lista.isVisible());
        EXPECT_EQ(ctx.IdContadorEscolhido, ana);
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(Contadores, ExcluirPerguntaEApagaSoALinhaDoCursor)
{
    const int ana = criaContador("ANA SOUZA", CpfValido);
    const int bruno = criaContador("BRUNO LIMA", OutroCpfValido);
    TfrmContadores lista(ctx);
    Ativa(&lista);
    auto* grade = Filho<QTableView>(&lista, "dbgContadores");
    EscolheLinha(grade, 1);

    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", false);
    Clica(botao(lista, "btnExcluir"));
    EXPECT_EQ(conta("Contador"), 2);
    EXPECT_EQ(Linhas(grade, 1), (QStringList{"ANA SOUZA", "BRUNO LIMA"}));

    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    informa(botao(lista, "btnExcluir"), "Excluído com Sucesso.");
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM Contador WHERE IDContador = %1").arg(bruno)).toInt(), 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM Contador WHERE IDContador = %1").arg(ana)).toInt(), 1);
    EXPECT_EQ(Linhas(grade, 1), QStringList{"ANA SOUZA"});

    // The last one gone, nothing is left to change or delete.
    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    informa(botao(lista, "btnExcluir"), "Excluído com Sucesso.");
    EXPECT_EQ(conta("Contador"), 0);
    for (const char* b : {"btnAlterar", "btnExcluir", "btnImprimir"})
        EXPECT_FALSE(botao(lista, b)->isEnabled()) << b;
}

TEST_F(Contadores, AlterarCarregaLinhaDoCursorEGrava)
{
    const int ana = criaContador("ANA SOUZA", CpfValido);
    const int bruno = criaContador("BRUNO LIMA", OutroCpfValido);
    TfrmContadores lista(ctx);
    Ativa(&lista);
    EscolheLinha(Filho<QTableView>(&lista, "dbgContadores"), 1);

    banco.dialogos.esperaTela("TfrmAlterarContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmAlterarContador*>(o);
        Ativa(tela);
        EXPECT_EQ(tela->edtRazaoSocial->text(), "BRUNO LIMA");
        EXPECT_EQ(tela->edtCnpj->valor(), OutroCpfValido);
        EXPECT_TRUE(tela->rbCpf->isChecked());
        EXPECT_EQ(tela->edtCrc->text(), "ZR123456S1");
        EXPECT_EQ(tela->edtEmail->text(), "contador@exemplo.com.br");
        EXPECT_EQ(tela->edtFone->valor(), "006132221111");
        EXPECT_EQ(Foco(), "edtRazaoSocial");

        // Entering the number empties it: leaving it so is refused.
        tela->edtCnpj->setFocus(Qt::TabFocusReason); // the user enters it
        EXPECT_EQ(tela->edtCnpj->valor().trimmed(), "");
        recusa(tela->btnConfirma, "CPF Inválido!", "edtCnpj");

        tela->edtCnpj->setText(OutroCpfValido);
        tela->edtCrc->setText("");
        recusa(tela->btnConfirma, "Obrigatório Preenchimento do CRC!", "edtCrc");
        tela->edtCrc->setText(PresetCrc); // not empty, but its asterisks are no CRC
        recusa(tela->btnConfirma, "CRC Inválido!\nUtilize este formato: UF999999A9", "edtCrc");
        tela->edtCrc->setText("ZR654321T");
        tela->edtRazaoSocial->setText("Bruno Antônio Lima ");
        tela->edtEmail->setText(" bruno@exemplo.com.br ");
        informa(tela->btnConfirma, "Alterado com Sucesso.");
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    Clica(Filho<QPushButton>(&lista, "btnAlterar"));

    EXPECT_EQ(contador(bruno, "Nome"), "BRUNO ANTONIO LIMA");
    EXPECT_EQ(contador(bruno, "CPF"), OutroCpfValido);
    EXPECT_EQ(contador(bruno, "CRC"), "ZR654321T");
    EXPECT_EQ(contador(bruno, "EMail"), "bruno@exemplo.com.br");
    EXPECT_EQ(contador(ana, "Nome"), "ANA SOUZA") << "only the chosen row changes";
    EXPECT_EQ(contador(ana, "CPF"), CpfValido);
    EXPECT_EQ(conta("Contador"), 2);
    EXPECT_EQ(Linhas(Filho<QTableView>(&lista, "dbgContadores"), 1),
              (QStringList{"ANA SOUZA", "BRUNO ANTONIO LIMA"}));
}

TEST_F(Contadores, MenuSegueOsBotoesESemLinhaNadaAcontece)
{
    TfrmContadores lista(ctx);
    Ativa(&lista);
    auto acao = [&](const char* nome) { return Filho<QAction>(&lista, nome); };
    const struct {
        const char* menu;
        const char* botao;
    } pares[] = {{"mnuAlterar", "btnAlterar"}, {"mnuExcluir", "btnExcluir"}, {"mnuImprimir", "btnImprimir"}};
    for (const auto& p : pares)
        EXPECT_FALSE(acao(p.menu)->isEnabled()) << p.menu;
    EXPECT_TRUE(acao("mnuIncluir")->isEnabled());
    // Neither the pop-up items nor the commands themselves act on an empty list.
    acao("mnuAlterar")->trigger();
    acao("mnuExcluir")->trigger();
    lista.Alterar();
    lista.Excluir();
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());

    banco.dialogos.esperaTela("TfrmIncluirContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmIncluirContador*>(o);
        Ativa(tela);
        tela->edtCnpj->setText(CpfValido);
        tela->edtRazaoSocial->setText("Ana Souza");
        tela->edtCrc->setText("ZR111111S1");
        tela->edtEmail->setText("ana@exemplo.com.br");
        informa(tela->btnConfirma, "Incluído com Sucesso.");
        Clica(tela->btnFechar);
        return tela->result();
    });
    acao("mnuIncluir")->trigger();
    for (const auto& p : pares)
        EXPECT_EQ(acao(p.menu)->isEnabled(), botao(lista, p.botao)->isEnabled()) << p.menu;
    EXPECT_TRUE(acao("mnuExcluir")->isEnabled());

    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    banco.dialogos.esperaMensagem("Excluído com Sucesso.");
    acao("mnuExcluir")->trigger();
    EXPECT_EQ(conta("Contador"), 0);
    for (const auto& p : pares)
        EXPECT_FALSE(acao(p.menu)->isEnabled()) << p.menu;
}

TEST_F(Contadores, AlterarLinhaQueSumiuNaoDizSucesso)
{
    const int ana = criaContador("ANA SOUZA", CpfValido);
    TfrmContadores lista(ctx);
    Ativa(&lista);
    banco.dialogos.esperaTela("TfrmAlterarContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmAlterarContador*>(o);
        Ativa(tela);
        // Deleted meanwhile (another screen, another program): the update finds no row.
        insere(QStringLiteral("DELETE FROM Contador WHERE IDContador = %1").arg(ana));
        tela->edtRazaoSocial->setText("Ana Lima");
        Clica(tela->btnConfirma);
        EXPECT_TRUE(tela->isVisible()) << "a failing update leaves the dialog open";
        EXPECT_EQ(Foco(), "edtEmail");
        Clica(tela->btnFechar);
        return tela->result();
    });
    Clica(botao(lista, "btnAlterar"));
    EXPECT_TRUE(mensagens().isEmpty()) << mensagens().join(" | ").toStdString();
    EXPECT_EQ(conta("Contador"), 0);
}

TEST_F(Contadores, CrcForaDoPadraoRecusadoNaConfirmacao)
{
    TfrmIncluirContador tela(ctx);
    Ativa(&tela);
    tela.edtCnpj->setText(CpfValido);
    tela.edtRazaoSocial->setText("Ana Souza");
    tela.edtEmail->setText("ana@exemplo.com.br");
    const QString invalido = QStringLiteral("CRC Inválido!\nUtilize este formato: UF999999A9");
    for (const char* crc : {"ZR12", "ZR123***S*", "ZR1234567", "ZR123456", "1R123456S"}) {
        SCOPED_TRACE(crc);
        tela.edtCrc->setText(QString::fromLatin1(crc));
        tela.edtRazaoSocial->setFocus();
        recusa(tela.btnConfirma, invalido, "edtCrc");
    }
    EXPECT_EQ(conta("Contador"), 0);
    tela.edtCrc->setText("ZR123456S");
    informa(tela.btnConfirma, "Incluído com Sucesso.");
    EXPECT_EQ(contador(idPorNome("ANA SOUZA"), "CRC"), "ZR123456S");
}

TEST_F(Contadores, NomeGuardadoMaisLongoQueAColunaNaoECortado)
{
    // A value wider than its column, left by an older file: shown whole, and refused until it is shortened.
    const int largura = Sql::larguraTexto(db(), "Contador", "Nome");
    const QString longo = QString(largura + 5, QLatin1Char('N'));
    const int id = criaContador(longo, CpfValido);
    {
        TfrmIncluirContador inclusao(ctx);
        EXPECT_EQ(inclusao.edtRazaoSocial->maxLength(), largura);
        EXPECT_EQ(inclusao.edtEmail->maxLength(), Sql::larguraTexto(db(), "Contador", "EMail"));
        EXPECT_EQ(inclusao.edtCrc->maxLength(), Sql::larguraTexto(db(), "Contador", "CRC"));
    }
    TfrmContadores lista(ctx);
    Ativa(&lista);
    banco.dialogos.esperaTela("TfrmAlterarContador", [&](QObject* o) {
        auto* tela = static_cast<TfrmAlterarContador*>(o);
        Ativa(tela);
        EXPECT_EQ(tela->edtRazaoSocial->text(), longo);
        tela->edtCnpj->setText(CpfValido);
        banco.dialogos.esperaMensagem(QStringLiteral("O campo Nome admite no máximo %1 caracteres (foram informados %2).")
                                          .arg(largura)
                                          .arg(largura + 5));
        Clica(tela->btnConfirma);
        EXPECT_EQ(Foco(), "edtRazaoSocial");
        EXPECT_TRUE(tela->isVisible());
        tela->edtRazaoSocial->setText("Nome Curto");
        informa(tela->btnConfirma, "Alterado com Sucesso.");
        return tela->result();
    });
    Clica(botao(lista, "btnAlterar"));
    EXPECT_EQ(contador(id, "Nome"), "NOME CURTO");
}

TEST_F(Contadores, IndicadoPorContribuinteNaoEExcluido)
{
    const int ana = criaContador("ANA SOUZA", CpfValido);
    const int parte = criaParte("COMERCIO EXEMPLO", "C", "123456789", ana);
    TfrmContadores lista(ctx);
    Ativa(&lista);
    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    informa(botao(lista, "btnExcluir"), "Erro na Exclusão.\nHá contribuintes que indicam este Contabilista!");
    EXPECT_EQ(conta("Contador"), 1);
    EXPECT_EQ(Linhas(Filho<QTableView>(&lista, "dbgContadores"), 1), QStringList{"ANA SOUZA"});

    insere(QStringLiteral("UPDATE Contribuinte SET IdContador = 0 WHERE IdContribuinte = %1").arg(parte));
    banco.dialogos.esperaExclusao("Confirma Exclusão ? ", true);
    informa(botao(lista, "btnExcluir"), "Excluído com Sucesso.");
    EXPECT_EQ(conta("Contador"), 0);
}

TEST_F(Contadores, TabDaListaSegueAOrdemDaTelaComESemLinhas)
{
    for (const bool comLinha : {false, true}) {
        SCOPED_TRACE(comLinha ? "com uma linha" : "vazia");
        if (comLinha)
            criaContador("ANA SOUZA", CpfValido);
        TfrmContadores lista(ctx);
        Ativa(&lista);
        const auto volta = VoltaDoTab(&lista);
        EXPECT_EQ(volta.esperado.contains("btnAlterar"), comLinha) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
    }
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}
