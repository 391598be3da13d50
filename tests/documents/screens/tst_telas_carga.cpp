// The cargo note screens: checks in order, the row written under its transport document, what stays for the
// next note, the recipient found by its number, and the change screen.
#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untCarga.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "widgets/untTelas.h"

namespace {

struct TelasCarga : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    TNotaCarga chaves;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        executa("INSERT INTO Contribuinte (CNPJ, RazaoSocial, UF, Tipo) VALUES ('99888777000100', 'ATIVO', 'ZR', 'C'), "
                "('11222333000181', 'TRANSPORTADORA', 'ZR', 'F'), ('22333444000155', 'DESTINO LTDA', 'SP', 'F')");
        executa("INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Numero, Cfop) "
                "VALUES (1, 2, '2024-05-10', '08', '000123', '1352')");
        ctx.IdAtivo = 1;
        chaves.IDContribuinte = 1;
        chaves.IDTomador = 2;
        chaves.IDNotaTransporte = 1;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }
    void executa(const char* sql) { TBancoTeste::executaDireto(banco.con->db(), QString::fromUtf8(sql)); }
    QString valor(const char* sql) { return TBancoTeste::valorDireto(banco.con->db(), QString::fromUtf8(sql)).toString(); }
    static void mostra(QDialog& d)
    {
        d.show();
        QApplication::setActiveWindow(&d);
    }
    void recusa(QPushButton* botao, const char* mensagem, const char* campo)
    {
        banco.dialogos.esperaMensagem(QString::fromUtf8(mensagem));
        QTest::mouseClick(botao, Qt::LeftButton);
        EXPECT_EQ(Foco(), QString::fromLatin1(campo)) << mensagem;
        banco.dialogos.verificaConsumo();
    }
};

} // namespace

TEST_F(TelasCarga, IncluirVerificaNaOrdemGravaEPreparaAProxima)
{
    TfrmIncluirCarga t(ctx, chaves);
    mostra(t);
    EXPECT_EQ(Foco(), "edtCnpjDestino");
    EXPECT_EQ(t.edtModelo->text(), "01");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 7, 15));

    // Leaving the empty recipient opens the register's selection; leaving it without a choice is allowed.
    banco.dialogos.esperaTela("TfrmEmpresas", [](QObject*) { return 0; });
    t.edtModelo->setText("02");
    recusa(t.btnSalvar, "Modelo da Nota Inválido!\n Modelos válidos 01, 04 e 55.", "edtModelo");
    t.edtModelo->setText("1");
    recusa(t.btnSalvar, "Número da Nota Inválido!", "edtNumeroNF");
    t.edtNumeroNF->setText("45");
    recusa(t.btnSalvar, "Valor deve ser Maior que Zero!", "edtValorNF");
    EXPECT_EQ(valor("SELECT COUNT(*) FROM NFCARGA"), "0");

    t.edtValorNF->defineValor(Money::fromCents(50000));
    banco.dialogos.esperaMensagem("Nota de Carga\nGravada com Sucesso!");
    QTest::mouseClick(t.btnSalvar, Qt::LeftButton);
    EXPECT_EQ(valor("SELECT ModeloNF || '|' || NumNF || '|' || ValorNF || '|' || IDDestino || '|' || IDTomador || '|' || "
                    "IDNotaTransporte || '|' || DtUltAlteracao FROM NFCARGA"),
              "01|000045|5000000|0|2|1|2024-07-15T09:30:00")
        << "no recipient is required";
    EXPECT_EQ(t.edtNumeroNF->text(), "");
    EXPECT_EQ(t.edtValorNF->valor(), Money());
    EXPECT_EQ(t.edtModelo->text(), "1") << "the model stays for the next note";
    EXPECT_EQ(Foco(), "edtCnpjDestino");
    EXPECT_TRUE(t.isVisible());
}

TEST_F(TelasCarga, DestinatarioPeloNumeroEEscFechaPeloBotao)
{
    TfrmIncluirCarga t(ctx, chaves);
    mostra(t);
    QTest::keyClicks(t.edtCnpjDestino, "22333444000155");
    QTest::keyClick(t.edtCnpjDestino, Qt::Key_Tab);
    EXPECT_EQ(t.lblNomeDestino->text(), "DESTINO LTDA");
    EXPECT_EQ(Foco(), "edtModelo");
    t.edtNumeroNF->setText("46");
    t.edtValorNF->defineValor(Money::fromCents(100));
    banco.dialogos.esperaMensagem("Nota de Carga\nGravada com Sucesso!");
    QTest::mouseClick(t.btnSalvar, Qt::LeftButton);
    EXPECT_EQ(valor("SELECT IDDestino FROM NFCARGA"), "3");

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(t.isVisible());
}

TEST_F(TelasCarga, AlterarMostraGravaEFalhaSemSucesso)
{
    executa("INSERT INTO NFCARGA (IDContribuinte, IDTomador, IDDestino, IDNotaTransporte, DtEmissao, ModeloNF, SerieNF, "
            "NumNF, ValorNF) VALUES (1, 2, 3, 1, '2024-05-09', '01', '1', '000045', 5000000)");
    TNotaCarga c = chaves;
    c.IDNFCarga = 1;
    c.IDDestino = 3;
    c.DtEmissao = QDate(2024, 5, 9);
    c.ModeloNF = "01";
    c.SerieNF = "1";
    c.NumNF = "000045";
    c.ValorNF = Money::fromCents(50000);
    {
        TfrmAlterarCarga t(ctx, c);
        mostra(t);
        EXPECT_EQ(t.lblNomeDestino->text(), "DESTINO LTDA");
        EXPECT_EQ(t.edtCnpjDestino->text(), "22333444000155");
        EXPECT_EQ(t.edtNumeroNF->text(), "000045");
        t.edtNumeroNF->clear();
        recusa(t.btnSalvar, "Número da Nota Inválido!", "edtNumeroNF");
        t.edtNumeroNF->setText("47");
        banco.dialogos.esperaMensagem("Nota de Carga\nAlterada com Sucesso!");
        QTest::mouseClick(t.btnSalvar, Qt::LeftButton);
        EXPECT_FALSE(t.isVisible());
        EXPECT_EQ(valor("SELECT NumNF FROM NFCARGA"), "000047");
    }
    executa("DELETE FROM NFCARGA");
    TfrmAlterarCarga t(ctx, c);
    mostra(t);
    banco.dialogos.esperaMensagem(QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
    QTest::mouseClick(t.btnSalvar, Qt::LeftButton);
    EXPECT_TRUE(t.isVisible()) << "a change that found no row is no success";
}
