// The annual-data screens driven as a user does: the year field's leaving rule, the save's checks and rows,
// the change bound to the row it opened on, and the list's file (refused for a row without a regime, the
// button spent until the list is read again).
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untDAnuais.h"
#include "declarations/screens/untIncluirDadosAnuais.h"
#include "support/TBancoTeste.h"
#include "support/TOrdemTab.h"
#include "support/TCadastroTeste.h"
#include "support/TFoco.h"
#include "widgets/untTelas.h"

namespace {

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Digita(QWidget* w, const QString& texto)
{
    w->setFocus(Qt::TabFocusReason);
    if (auto* c = qobject_cast<QComboBox*>(w))
        c->lineEdit()->selectAll();
    else if (auto* l = qobject_cast<QLineEdit*>(w))
        l->selectAll();
    QTest::keyClicks(w, texto);
}

void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

struct TelasDadosAnuais : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        // The taxpayer with its accountant, as the registers take them.
        ASSERT_EQ(TCadastroTeste(*banco.dtm, banco.dialogos).contribuinte(), 1);
        ctx.IdAtivo = 1;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }
    void sql(const char* c) { TBancoTeste::executaDireto(banco.con->db(), QString::fromUtf8(c)); }
    QVariant valor(const char* c) { return TBancoTeste::valorDireto(banco.con->db(), QString::fromUtf8(c)); }
    void salva(TfrmIncluirDadosAnuais& t, const QString& mensagem)
    {
        banco.dialogos.esperaMensagem(mensagem);
        QTest::mouseClick(t.btnSalvarDA, Qt::LeftButton);
        banco.dialogos.verificaConsumo();
    }
};

} // namespace

TEST_F(TelasDadosAnuais, AnoDaListaERegraAoSair)
{
    TfrmIncluirDadosAnuais t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), "Incluir Dados Anuais");
    EXPECT_EQ(t.cmbAno->currentText(), "2023") << "last year";
    EXPECT_EQ(t.cmbAno->itemText(0), "2023");
    EXPECT_EQ(t.cmbAno->itemText(t.cmbAno->count() - 1), "2002");
    EXPECT_EQ(t.cmbAno->lineEdit()->maxLength(), 4);

    Digita(t.cmbAno, "1998");
    Sai();
    EXPECT_EQ(t.cmbAno->currentText(), "1999");
    EXPECT_EQ(Foco(), "cmbAno");
    Digita(t.cmbAno, "abc");
    Sai();
    EXPECT_EQ(t.cmbAno->currentText(), "2003");
    EXPECT_EQ(Foco(), "cmbAno");
    Digita(t.cmbAno, "2010");
    Sai();
    EXPECT_EQ(t.cmbAno->currentText(), "2010");
    EXPECT_NE(Foco(), "cmbAno");
}

TEST_F(TelasDadosAnuais, SalvarChecaNaOrdemGravaERecusaOAnoRepetido)
{
    {
        TfrmIncluirDadosAnuais t(ctx);
        Ativa(&t);
        salva(t, QString::fromUtf8("Saldo Total dos Dados Anuais\ndeve ser maior que ZERO!"));
        Digita(t.curVlrTrib, "1.500,00");
        Digita(t.curVlrNaoTrib, "250,50");
        Sai();
        EXPECT_EQ(t.curEstqTotal->valor(), Money::fromCents(175050)) << "the stock total follows on leaving";
        salva(t, QString::fromUtf8("Informe o regime de pagamento do contribuinte"));
        EXPECT_EQ(valor("SELECT COUNT(*) FROM DadosAnuais").toInt(), 0);
        QTest::mouseClick(t.rbSimples, Qt::LeftButton);
        salva(t, QString::fromUtf8("Dados Anuais Incluídos com sucesso!"));
        EXPECT_FALSE(t.btnSalvarDA->isEnabled());
    }
    EXPECT_EQ(valor("SELECT Ano || '|' || Tipo || '|' || EstqTrib || '|' || EstqNaoTrib || '|' || TipoRegimeContrib "
                    "FROM DadosAnuais")
                  .toString(),
              "2023|N|15000000|2505000|3");

    TfrmIncluirDadosAnuais t(ctx);
    Ativa(&t);
    Digita(t.curSldCaixa, "10,00");
    QTest::mouseClick(t.rbRegimeNormal, Qt::LeftButton);
    salva(t, QString::fromUtf8("Ano já cadastrado!"));
    EXPECT_EQ(valor("SELECT COUNT(*) FROM DadosAnuais").toInt(), 1);
}

TEST_F(TelasDadosAnuais, SemRegimeOFocoVaiAoRegimeEOTecladoEscolheEGrava)
{
    // The save's message about the regime leaves the focus on the regime's own buttons (not on the
    // declaration type's "&Normal" beside them): Space chooses the one focused (the arrows move to another
    // first), and Enter on "&Salvar" saves with it.
    struct Caso {
        const char* nome;
        QList<Qt::Key> teclas;
        int regime;
    };
    for (const Caso& c : {Caso{"espaço", {Qt::Key_Space}, 7}, Caso{"seta e espaço", {Qt::Key_Right, Qt::Key_Space}, 1},
                          Caso{"duas setas e espaço", {Qt::Key_Right, Qt::Key_Right, Qt::Key_Space}, 3}}) {
        SCOPED_TRACE(c.nome);
        sql("DELETE FROM DadosAnuais");
        TfrmIncluirDadosAnuais t(ctx);
        Ativa(&t);
        Digita(t.curVlrTrib, "1.500,00");
        Sai();
        banco.dialogos.esperaMensagem(QString::fromUtf8("Informe o regime de pagamento do contribuinte"));
        t.btnSalvarDA->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        ASSERT_EQ(Foco(), "rbEPP");
        EXPECT_TRUE(t.rbNormal->isChecked()) << "the declaration type is left as it was";
        for (const Qt::Key tecla : c.teclas)
            QTest::keyClick(QApplication::focusWidget(), tecla);
        t.btnSalvarDA->setFocus(Qt::TabFocusReason);
        banco.dialogos.esperaMensagem(QString::fromUtf8("Dados Anuais Incluídos com sucesso!"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(valor("SELECT Tipo || TipoRegimeContrib FROM DadosAnuais").toString(), QStringLiteral("N%1").arg(c.regime));
    }
}

TEST_F(TelasDadosAnuais, AlteracaoGravaSoALinhaAbertaEMantemOAno)
{
    sql("INSERT INTO DadosAnuais (IdDadosAnuais, IdContribuinte, Ano, Tipo, EstqTrib, TipoRegimeContrib) VALUES "
        "(1, 1, '2022', 'N', 1000000, 1), (2, 1, '2021', 'R', 2000000, 7)");
    {
        TfrmIncluirDadosAnuais t(ctx, 2);
        Ativa(&t);
        EXPECT_EQ(t.windowTitle(), "Alterar Dados Anuais");
        EXPECT_EQ(t.cmbAno->currentText(), "2021");
        EXPECT_FALSE(t.grbAno->isEnabled()) << "a change cannot change its year";
        EXPECT_TRUE(t.rbRetificadora->isChecked());
        EXPECT_TRUE(t.rbEPP->isChecked());
        EXPECT_EQ(t.curEstqTotal->valor(), Money::fromCents(20000));
        Digita(t.curDespGerais, "33,00");
        salva(t, QString::fromUtf8("Dados Anuais Alterado com sucesso!"));
    }
    EXPECT_EQ(valor("SELECT DespGeral FROM DadosAnuais WHERE IdDadosAnuais = 2").toLongLong(), 330000);
    EXPECT_EQ(valor("SELECT COALESCE(DespGeral, 0) FROM DadosAnuais WHERE IdDadosAnuais = 1").toLongLong(), 0)
        << "the other year is untouched";

    ctx.IdAtivo = 9; // another taxpayer cannot open the row
    TfrmIncluirDadosAnuais outro(ctx, 2);
    Ativa(&outro);
    EXPECT_FALSE(outro.btnSalvarDA->isEnabled());
}

TEST_F(TelasDadosAnuais, ArquivoRecusadoSemRegimeEBotaoGastoAteLerDeNovo)
{
    sql("INSERT INTO DadosAnuais (IdDadosAnuais, IdContribuinte, Ano, Tipo, EstqTrib) VALUES (1, 1, '2022', 'N', 1000000)");
    TfrmDAnuais t(ctx);
    Ativa(&t);
    ASSERT_TRUE(t.btnGerarArquivo->isEnabled());
    banco.dialogos.esperaMensagem(QString::fromUtf8("Informe o regime de pagamento do contribuinte nos Dados Anuais "
                                                    "(botão \"Alterar\") antes de gerar o arquivo."));
    QTest::mouseClick(t.btnGerarArquivo, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled()) << "nothing was written: the button stays";

    sql("UPDATE DadosAnuais SET TipoRegimeContrib = 1");
    QTemporaryDir saida;
    const QString caminho = saida.filePath("anual.txt");
    banco.dialogos.esperaSalvar(caminho).esperaMensagem("Arquivo gerado com sucesso!");
    QTest::mouseClick(t.btnGerarArquivo, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    ASSERT_TRUE(QFile::exists(caminho));
    const QString arquivo = QString::fromLatin1(TBancoTeste::conteudo(caminho));
    EXPECT_TRUE(arquivo.startsWith("10")) << arquivo.toStdString();
    EXPECT_TRUE(arquivo.contains("20221231")) << "an earlier year ends on its 31st of December";
    EXPECT_TRUE(arquivo.contains("\r\n8805")) << "the taxpayer's accountant";
    EXPECT_FALSE(t.btnGerarArquivo->isEnabled()) << "spent until the list is read again";
}

TEST_F(TelasDadosAnuais, TabSegueAOrdemDaTelaNaInclusaoENaAlteracao)
{
    for (const bool alteracao : {false, true}) {
        SCOPED_TRACE(alteracao ? "alteração" : "inclusão");
        if (alteracao)
            sql("INSERT INTO DadosAnuais (IdDadosAnuais, IdContribuinte, Ano, Tipo, EstqTrib, TipoRegimeContrib) "
                "VALUES (2, 1, '2021', 'R', 2000000, 7)");
        std::unique_ptr<TfrmIncluirDadosAnuais> t = alteracao ? std::make_unique<TfrmIncluirDadosAnuais>(ctx, 2)
                                                              : std::make_unique<TfrmIncluirDadosAnuais>(ctx);
        Ativa(t.get());
        QWidget* inicio = QApplication::focusWidget();
        ASSERT_TRUE(inicio);
        const QStringList esperado = OrdemEsperada(t.get(), inicio, 40).mid(0, 16);
        EXPECT_EQ(CaminhoDoTab(inicio, esperado.size() - 1), esperado);
    }
}

TEST_F(TelasDadosAnuais, TabDaListaSegueAOrdemDaTelaComESemLinhas)
{
    for (const bool comLinha : {false, true}) {
        SCOPED_TRACE(comLinha ? "com uma linha" : "sem linhas");
        if (comLinha)
            sql("INSERT INTO DadosAnuais (IdDadosAnuais, IdContribuinte, Ano, Tipo, EstqTrib) VALUES (1, 1, '2022', 'N', 1000000)");
        TfrmDAnuais t(ctx);
        Ativa(&t);
        EXPECT_EQ(t.btnGerarArquivo->isEnabled(), comLinha);
        const auto volta = VoltaDoTab(&t);
        EXPECT_EQ(volta.esperado.contains("btnGerarArquivo"), comLinha) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
    }
}
