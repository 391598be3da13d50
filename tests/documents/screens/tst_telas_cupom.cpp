// The ECF summary entry screen over a temporary data folder, driven by real focus changes and clicks: the
// header step's checks in their order, the balance of a day with its rate lines, what carries over to the next
// summary, and its transaction (cancel, refused commit).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untIncluirCupomFiscal.h"
#include "support/TBancoTeste.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kIncluido = QString::fromUtf8("Cupom Incluído com Sucesso!");
const QString kDifere = QString::fromUtf8("Totalizadores Fiscais\ndifere da Venda Bruta!");

QString Foco()
{
    QWidget* w = QApplication::focusWidget();
    while (w && w->objectName().isEmpty())
        w = w->parentWidget(); // the line edit inside the rate combo
    return w ? w->objectName() : QStringLiteral("<sem foco>");
}

void Clica(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

void Digita(QWidget* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    if (auto* l = qobject_cast<QLineEdit*>(e))
        l->selectAll();
    if (auto* c = qobject_cast<QComboBox*>(e))
        c->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), texto);
}

void Sai(QWidget* e)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : e, Qt::Key_Tab);
}

struct TelasCupom : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        TBancoTeste::executaDireto(db(), "INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                                         "('99888777000100', '1', 'ATIVO', 'ZR', 'C')");
        ctx.IdAtivo = int(sqlite3_last_insert_rowid(db()));
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    bool emTransacao() { return sqlite3_get_autocommit(db()) == 0; }

    // Leaves a field with Tab and expects one message and the focus it names.
    void recusaAoSair(QWidget* campo, const QString& mensagem, const QString& foco)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        campo->setFocus(Qt::TabFocusReason);
        Sai(campo);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(Foco(), foco);
    }

    // "&Novo", a valid header, GT 1.000,00 to 1.500,00, leaving "Venda Bruta" (500,00) to the totals step.
    static void cabecalho(TfrmIncluirCupomFiscal& t, const char* equip = "1")
    {
        Clica(t.btnNovo);
        Digita(t.edtNumSerie, "  ABC123  ");
        Digita(t.edtNumeroEqp, QString::fromLatin1(equip));
        Digita(t.edtCooInicial, "10");
        Digita(t.edtCooFinal, "20");
        Digita(t.edtCRZ, "5");
        Digita(t.curGTInicial, "1.000,00");
        Digita(t.curGTFinal, "1.500,00");
        Sai(t.curGTFinal);
        Sai(t.curVendaBruta);
    }
    static void linha(TfrmIncluirCupomFiscal& t, const char* aliquota, const char* valor)
    {
        Digita(t.cmbAliquota, QString::fromLatin1(aliquota));
        Sai(t.cmbAliquota);
        Digita(t.curVlrAcumulado, QString::fromLatin1(valor));
        Sai(t.curVlrAcumulado);
    }
    // The worked example of a balanced day: VB 500, CANC 10, DESC 5, F 50, lines 1700/300,00 and 1200/`segunda`.
    static void dia(TfrmIncluirCupomFiscal& t, const char* segunda)
    {
        Digita(t.curVlr_CANC, "10,00");
        Digita(t.curVlr_DESC, "5,00");
        Digita(t.curVlr_F, "50,00");
        Sai(t.curVlr_F);
        linha(t, "1700", "300,00");
        linha(t, "1200", segunda);
    }
};

} // namespace

TEST_F(TelasCupom, CabecalhoChecaNaOrdemComMensagemEFoco)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Lançamentos do ECF - Redução Z"));
    EXPECT_EQ(t.edtModelo->text(), "2D");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 7, 15));
    EXPECT_EQ(t.lblSaldo->text(), "R$ 0,00");
    EXPECT_FALSE(t.grbECF->isEnabled());
    Clica(t.btnNovo);
    EXPECT_TRUE(emTransacao());
    EXPECT_FALSE(t.btnNovo->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    EXPECT_FALSE(t.panST->isEnabled());
    EXPECT_EQ(Foco(), "edtNumSerie");

    // The model takes a digit and an optional letter or digit, upper-cased.
    Digita(t.edtModelo, "x1a9");
    EXPECT_EQ(t.edtModelo->text(), "1A");
    Digita(t.edtModelo, "02");
    EXPECT_EQ(t.edtModelo->text(), "02");

    const QString obrig = QString::fromUtf8("Preencha os campos obrigatórios \ndo quadro Emissor de Cupom Fiscal");
    recusaAoSair(t.curVendaBruta, obrig, "edtNumSerie");
    Digita(t.edtNumSerie, "S1");
    Digita(t.edtNumeroEqp, "1");
    Digita(t.edtCooInicial, "0");
    Digita(t.edtCooFinal, "9");
    Digita(t.edtCRZ, "3");
    recusaAoSair(t.curVendaBruta, obrig, "edtNumSerie");
    Digita(t.edtCooInicial, "10"); // a last counter below the first is accepted
    Digita(t.edtModelo, "3X");
    recusaAoSair(t.curVendaBruta,
                 QString::fromUtf8("Modelo de ECF Inválido! Modelos válidos 2B,2C,2D \n2,02,13,14,15 e 16"), "edtModelo");
    Digita(t.edtModelo, "13");
    Digita(t.curGTInicial, "1.000,00");
    Digita(t.curGTFinal, "999,99");
    recusaAoSair(t.curVendaBruta, QString::fromUtf8("GT Final menor do que GT Inicial!"), "curGTFinal");
    Digita(t.curGTFinal, "1.500,00");
    Sai(t.curGTFinal);
    EXPECT_EQ(t.curVendaBruta->valor(), *Money::parse("500,00")) << "GT Final less GT Inicial";
    Digita(t.curVendaBruta, "1.500,01");
    recusaAoSair(t.curVendaBruta, QString::fromUtf8("Venda Bruta NÃO pode\nser maior que GT Final!"), "curVendaBruta");
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 0) << "nothing written by a refused step";
    Digita(t.curVendaBruta, "1.500,00");
    Sai(t.curVendaBruta);
    EXPECT_EQ(Foco(), "curVlr_ISS");
    EXPECT_TRUE(t.panST->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.grbECF->isEnabled());
    EXPECT_NE(t.cupomAtual(), 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT Modelo || '|' || NumSerie FROM CUPOMFISCAL WHERE IDCupomFiscal = %1")
                        .arg(t.cupomAtual()))
                  .toString(),
              "13|S1");
}

TEST_F(TelasCupom, SaldoDoDiaLinhasEImpostoESalvar)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    cabecalho(t);
    const int id = t.cupomAtual();
    ASSERT_NE(id, 0);
    EXPECT_EQ(valor(QStringLiteral("SELECT NumSerie FROM CUPOMFISCAL WHERE IDCupomFiscal = %1").arg(id)).toString(),
              "ABC123") << "stored trimmed";

    // Rate field: digits only, exactly four.
    banco.dialogos.esperaMensagem(QString::fromUtf8("Formato Inválido!"));
    Digita(t.cmbAliquota, "15,5");
    Sai(t.cmbAliquota);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "cmbAliquota");
    Digita(t.cmbAliquota, "1700");
    Digita(t.curVlrAcumulado, "0,00");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Valor menor ou igual a zero!"));
    Sai(t.curVlrAcumulado);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "curVlrAcumulado");
    t.cmbAliquota->setEditText(QString());
    Sai(t.curVlrAcumulado);
    EXPECT_EQ(Foco(), "btnSalvar") << "a blank rate moves on to saving";

    Digita(t.curVlr_CANC, "10,00");
    Digita(t.curVlr_DESC, "5,00");
    Digita(t.curVlr_F, "50,00");
    Sai(t.curVlr_F);
    EXPECT_EQ(t.lblVendaLiquida->text(), "  485,00");
    linha(t, "1700", "300,00");
    EXPECT_EQ(t.lblimposto->text(), "   51,00");
    EXPECT_EQ(Foco(), "cmbAliquota");
    EXPECT_EQ(t.cmbAliquota->currentText(), "");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Alíquota já cadastrada!"));
    linha(t, "1700", "100,00");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "cmbAliquota");
    linha(t, "1200", "134,99");
    EXPECT_EQ(t.lblSaldo->text(), "    0,01");

    banco.dialogos.esperaMensagem(kDifere);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "curVlr_ISS");
    EXPECT_TRUE(emTransacao());

    // A line written behind the label: the save reads the stored lines, not the text shown.
    TBancoTeste::executaDireto(db(), QStringLiteral("UPDATE CFAliquota SET ValorAcumulado = 1350000 WHERE "
                                                    "IDCupomFiscal = %1 AND Aliquota = '1200'").arg(id));
    EXPECT_EQ(t.lblSaldo->text(), "    0,01");
    banco.dialogos.esperaMensagem(kIncluido);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(t.ultimoIncluido(), id);
    EXPECT_EQ(valor(QStringLiteral("SELECT T_CANC || '|' || T_DESC || '|' || T_F FROM CUPOMFISCAL WHERE IDCupomFiscal = %1")
                        .arg(id))
                  .toString(),
              "100000|50000|500000");

    // The next day of the same equipment.
    EXPECT_EQ(t.curGTInicial->valor(), *Money::parse("1.500,00"));
    EXPECT_EQ(t.curGTFinal->valor(), Money());
    EXPECT_EQ(t.edtNumSerie->text(), "  ABC123  ");
    EXPECT_EQ(t.edtNumeroEqp->text(), "1");
    EXPECT_EQ(t.edtModelo->text(), "2D");
    EXPECT_EQ(t.edtCRO->text(), "0");
    EXPECT_EQ(t.edtCRZ->text(), "");
    EXPECT_EQ(t.edtCooInicial->text(), "");
    EXPECT_EQ(t.lblSaldo->text(), "R$ 0,00");
    EXPECT_TRUE(t.btnNovo->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_EQ(Foco(), "btnNovo");

    // Same day, serial and equipment: refused; another equipment is accepted.
    Clica(t.btnNovo);
    Digita(t.edtCooInicial, "21");
    Digita(t.edtCooFinal, "30");
    Digita(t.edtCRZ, "6");
    Digita(t.curGTFinal, "1.600,00");
    Sai(t.curGTFinal);
    recusaAoSair(t.curVendaBruta, QString::fromUtf8("Já existe lançamento\npara esta data!"), "edtNumSerie");
    Digita(t.edtNumeroEqp, "2");
    t.curVendaBruta->setFocus(Qt::TabFocusReason);
    Sai(t.curVendaBruta);
    EXPECT_EQ(Foco(), "curVlr_ISS");
}

TEST_F(TelasCupom, ImpostoDaLinhaEExemploQueFecha)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    cabecalho(t);
    linha(t, "0364", "100,00");
    EXPECT_EQ(t.lblimposto->text(), "    3,64");
    Clica(t.btnCancelar);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFAliquota").toInt(), 0);
    cabecalho(t);
    linha(t, "1700", "100,00");
    EXPECT_EQ(t.lblimposto->text(), "   17,00");
    Clica(t.btnCancelar);

    cabecalho(t);
    dia(t, "135,00");
    EXPECT_EQ(t.lblSaldo->text(), "    0,00");
    banco.dialogos.esperaMensagem(kIncluido);
    Clica(t.btnSalvar);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFAliquota").toInt(), 2);
}

TEST_F(TelasCupom, CancelarDesfazResumoELinhas)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    cabecalho(t);
    linha(t, "1700", "300,00");
    ASSERT_EQ(valor("SELECT COUNT(*) FROM CFAliquota").toInt(), 1);
    Digita(t.edtCRO, "7");
    Clica(t.btnCancelar);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 0);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFAliquota").toInt(), 0);
    EXPECT_EQ(t.edtCRO->text(), "0");
    EXPECT_EQ(t.curGTInicial->valor(), Money());
    EXPECT_TRUE(t.btnNovo->isEnabled());
    EXPECT_TRUE(t.btnFechar->isEnabled());
    EXPECT_FALSE(t.panST->isEnabled());
}

TEST_F(TelasCupom, CommitRecusadoNaoDizSucessoEContinuaEditando)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    cabecalho(t);
    dia(t, "135,00");
    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CUPOMFISCAL");
    sqlite3_busy_timeout(db(), 50);
    banco.dialogos.esperaSimples(QString());
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_NE(banco.dialogos.registros()[0].texto, kIncluido);
    EXPECT_TRUE(emTransacao());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_NE(t.cupomAtual(), 0);
    TBancoTeste::executaDireto(leitor, "COMMIT");
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 0);

    banco.dialogos.esperaMensagem(kIncluido);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 1);
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CFAliquota").toInt(), 2);
    sqlite3_close(leitor);
}

TEST_F(TelasCupom, LinhasIlegiveisImpedemOSalvarComOTextoDoBanco)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    cabecalho(t);
    dia(t, "135,00");
    TBancoTeste::executaDireto(db(), "ALTER TABLE CFAliquota RENAME TO CFAliquotaFora");
    banco.dialogos.esperaSimples(QString()); // the engine's text, never a balance taken as 0 nor a success
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_NE(banco.dialogos.registros()[0].texto, kIncluido);
    EXPECT_TRUE(emTransacao());
    TBancoTeste::executaDireto(db(), "ALTER TABLE CFAliquotaFora RENAME TO CFAliquota");
    banco.dialogos.esperaMensagem(kIncluido);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(emTransacao());
}

TEST_F(TelasCupom, TabSegueAOrdemDaTela)
{
    TfrmIncluirCupomFiscal t(ctx);
    t.show();
    QApplication::setActiveWindow(&t);
    Clica(t.btnNovo);
    QWidget* primeiro = QApplication::focusWidget();
    ASSERT_TRUE(primeiro);
    const QStringList esperado = OrdemEsperada(&t, primeiro, 8);
    EXPECT_EQ(CaminhoDoTab(primeiro, 8), esperado);
}

TEST_F(TelasCupom, DoIssAoSalvarSoComEnterEUmEnterDaAliquotaEmBranco)
{
    // From "ISS", where the header step leaves the focus, only typing and Enter: every totalizer comes next,
    // each rate line goes back to the rate, and one Enter on a blank rate moves on to "&Salvar" (the value
    // beside it would add nothing), where Enter saves.
    struct Caso {
        const char* nome;
        QList<QPair<const char*, const char*>> campos; // field reached, what is typed there
        int linhas;
    };
    const QList<QPair<const char*, const char*>> totalizadores = {
        {"curVlr_ISS", ""}, {"curVlr_F", "50,00"}, {"curVlr_I", ""}, {"curVlr_N", ""}, {"curVlr_CANC", "10,00"},
        {"curVlr_DESC", "5,00"}};
    const QList<Caso> casos = {
        {"duas alíquotas", totalizadores + QList<QPair<const char*, const char*>>{
             {"cmbAliquota", "1700"}, {"curVlrAcumulado", "300,00"}, {"cmbAliquota", "1200"},
             {"curVlrAcumulado", "135,00"}, {"cmbAliquota", ""}}, 2},
        {"só não tributados", {{"curVlr_ISS", ""}, {"curVlr_F", "500,00"}, {"curVlr_I", ""}, {"curVlr_N", ""},
                               {"curVlr_CANC", ""}, {"curVlr_DESC", ""}, {"cmbAliquota", ""}}, 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        TfrmIncluirCupomFiscal t(ctx);
        t.show();
        QApplication::setActiveWindow(&t);
        cabecalho(t, c.linhas ? "1" : "2");
        for (const auto& [campo, texto] : c.campos) {
            ASSERT_EQ(Foco(), QString::fromLatin1(campo));
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(texto));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QApplication::processEvents(); // the pause between two fields, where entering one selects its text
        }
        ASSERT_EQ(Foco(), "btnSalvar") << "one Enter from the blank rate";
        EXPECT_EQ(t.lblSaldo->text().trimmed(), "0,00");
        banco.dialogos.esperaMensagem(kIncluido);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_FALSE(emTransacao());
        const QString equip = QString::fromLatin1(c.linhas ? "1" : "2");
        EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM CFAliquota A JOIN CUPOMFISCAL C ON C.IDCupomFiscal = "
                                       "A.IDCupomFiscal WHERE TRIM(C.NumEquip) = '%1'").arg(equip)).toInt(),
                  c.linhas);
    }
}
