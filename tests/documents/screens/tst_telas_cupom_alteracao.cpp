// The ECF summary change screen and the summaries' browse screen over a temporary data folder, driven by real
// focus changes, keys and clicks: what the change screen loads and for whom, its header step (model first, no
// duplicate test), the rate lines, the balance taken from the stored lines, the commit before the success
// message, what a cancel gives back; the browse screen's period search, totals and tax per rate, the deletion
// of a summary with its lines and the change screen run from the list.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untAlterCupFiscal.h"
#include "documents/screens/untCupomFiscal.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kAlterado = QString::fromUtf8("Cupom Alterado com Sucesso!");
const QString kDifere = QString::fromUtf8("Totalizadores Fiscais\ndifere da Venda Bruta!");
const QString kConfirmaExclusao = QString::fromUtf8("Confirma Exclusão \ndeste Registro ?");
const QString kExcluido = QString::fromUtf8("Excluído com Sucesso.");
const QString kSemLancamentos = QString::fromUtf8("Não há lançamentos neste período!");

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Clica(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

// Types into a field as the user does: the focus comes in (the field left runs its rules), all is selected,
// then the keys.
void Digita(QWidget* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    if (auto* l = qobject_cast<QLineEdit*>(e))
        l->selectAll();
    if (auto* c = qobject_cast<QComboBox*>(e))
        c->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), texto);
}

void Apaga(QLineEdit* e)
{
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
}

void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// The rate combo edits through its own line edit, which has no name of its own.
bool FocoNaAliquota(const TfrmCamposCupom& t)
{
    QWidget* w = QApplication::focusWidget();
    return w && (w == t.cmbAliquota || w == t.cmbAliquota->lineEdit());
}

QString celula(const QAbstractItemModel* m, int linha, int coluna)
{
    return m->index(linha, coluna).data().toString();
}

struct AlteracaoCupom : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    int outro = 0; // a second taxpayer, whose summaries are never this one's

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        executa("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                "('99888777000100', '1', 'ATIVO', 'ZR', 'C')");
        ctx.IdAtivo = int(sqlite3_last_insert_rowid(db()));
        executa("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
                "('11222333000181', '2', 'OUTRO', 'ZR', 'C')");
        outro = int(sqlite3_last_insert_rowid(db()));
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    bool emTransacao() { return sqlite3_get_autocommit(db()) == 0; }

    struct TDia {
        const char* dia = "2024-05-10";
        const char* serie = "ABC123";
        const char* equip = "1";
        int crz = 5;
        qint64 gtInicial = 100000, gtFinal = 150000, vendaBruta = 50000; // in cents
        qint64 f = 5000, i = 0, n = 0, iss = 0, canc = 1000, desc = 500;
    };
    // A stored summary (amounts in cents, stored in ten-thousandths) with its rate lines.
    int resumo(const TDia& d, const QList<std::pair<const char*, qint64>>& linhas = {}, int dono = 0)
    {
        executa(QStringLiteral("INSERT INTO CUPOMFISCAL (IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, "
                               "COOInicial, COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, "
                               "T_N, T_CANC, T_DESC, DtUltAlteracao) VALUES (%1, '%2', '%3', '%4', '2D', 10, 20, %5, "
                               "1, %6, %7, %8, %9, %10, %11, %12, %13, %14, '2024-07-01T08:00:00')")
                    .arg(dono ? dono : ctx.IdAtivo)
                    .arg(QString::fromLatin1(d.dia), QString::fromLatin1(d.serie), QString::fromLatin1(d.equip))
                    .arg(d.crz)
                    .arg(d.gtInicial * 100)
                    .arg(d.gtFinal * 100)
                    .arg(d.vendaBruta * 100)
                    .arg(d.iss * 100)
                    .arg(d.f * 100)
                    .arg(d.i * 100)
                    .arg(d.n * 100)
                    .arg(d.canc * 100)
                    .arg(d.desc * 100));
        const int id = int(sqlite3_last_insert_rowid(db()));
        for (const auto& [aliquota, centavos] : linhas)
            executa(QStringLiteral("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (%1, '%2', %3)")
                        .arg(id)
                        .arg(QString::fromLatin1(aliquota))
                        .arg(centavos * 100));
        return id;
    }
    // The day of the example: VB 500,00, CANC 10,00, DESC 5,00, F 50,00 and lines 1700 → 300,00 and 1200 →
    // `segunda` (13500 balances it to 0,00).
    int diaDoExemplo(qint64 segunda = 13500) { return resumo(TDia(), {{"1700", 30000}, {"1200", segunda}}); }

    // Every stored column of a summary and its lines, keys included, to compare with what was there before.
    QString retrato(int id)
    {
        return valor(QStringLiteral("SELECT DtEmissao || '|' || NumSerie || '|' || NumEquip || '|' || Modelo || '|' || "
                                    "COOInicial || '|' || COOFinal || '|' || CRZ || '|' || CRO || '|' || GTInicioDia || "
                                    "'|' || GTFimDia || '|' || VendaBruta || '|' || T_ISS || '|' || T_F || '|' || T_I || "
                                    "'|' || T_N || '|' || T_CANC || '|' || T_DESC || '|' || DtUltAlteracao FROM "
                                    "CUPOMFISCAL WHERE IDCupomFiscal = %1")
                         .arg(id))
            .toString();
    }
    QStringList linhasGravadas(int id, sqlite3* leitor = nullptr)
    {
        return TBancoTeste::listaDireta(leitor ? leitor : db(),
                                        QStringLiteral("SELECT IDCFAliquota || '|' || Aliquota || '|' || ValorAcumulado "
                                                       "FROM CFAliquota WHERE IDCupomFiscal = %1 ORDER BY IDCFAliquota")
                                            .arg(id));
    }
    QStringList aliquotasGravadas(int id, sqlite3* leitor = nullptr)
    {
        return TBancoTeste::listaDireta(leitor ? leitor : db(),
                                        QStringLiteral("SELECT Aliquota || '|' || ValorAcumulado FROM CFAliquota "
                                                       "WHERE IDCupomFiscal = %1 ORDER BY IDCFAliquota")
                                            .arg(id));
    }

    // Leaves a field with Tab and expects one message and the focus it names.
    void recusaAoSair(QWidget* campo, const QString& mensagem, const QString& foco)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        campo->setFocus(Qt::TabFocusReason);
        Sai();
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(Foco(), foco);
    }
    void informa(QAbstractButton* botao, const QString& mensagem)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        banco.dialogos.verificaConsumo();
    }

    // "&Alterar", then "Venda Bruta" left as loaded: the header step.
    void alteraCabecalho(TfrmAlteraCupom& t)
    {
        Clica(t.btnAlterar);
        t.curVendaBruta->setFocus(Qt::TabFocusReason);
        Sai();
        ASSERT_EQ(Foco(), "curVlr_ISS") << "the header step went through";
    }
    static void linha(TfrmAlteraCupom& t, const char* aliquota, const char* valor)
    {
        Digita(t.cmbAliquota, QString::fromLatin1(aliquota));
        Sai();
        Digita(t.curVlrAcumulado, QString::fromLatin1(valor));
        Sai();
    }
    // The grid menu's "&Excluir" on the line of the given rate, confirmed.
    void excluiLinha(TfrmAlteraCupom& t, const QString& aliquota)
    {
        const QAbstractItemModel* m = t.dbgAliquota->model();
        int achada = -1;
        for (int r = 0; r < m->rowCount(); ++r)
            if (celula(m, r, 0) == aliquota)
                achada = r;
        ASSERT_GE(achada, 0) << aliquota.toStdString();
        t.dbgAliquota->setFocus(Qt::MouseFocusReason);
        t.dbgAliquota->setCurrentIndex(m->index(achada, 0));
        banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
        banco.dialogos.esperaMensagem(kExcluido);
        t.actExcluir->trigger();
        banco.dialogos.verificaConsumo();
    }
};

} // namespace

// ----- change screen

TEST_F(AlteracaoCupom, AbreSoParaLeituraComOResumoESuasLinhas)
{
    // Every totalizer different, so that none is shown in another's field.
    TDia d;
    d.i = 2000;
    d.n = 3000;
    d.iss = 4000;
    const int id = resumo(d, {{"1700", 30000}, {"1200", 13500}});
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Alteração do ECF - Redução Z"));
    EXPECT_TRUE(t.carregado());
    EXPECT_EQ(t.edtModelo->text(), "2D");
    EXPECT_EQ(t.edtNumSerie->text(), "ABC123");
    EXPECT_EQ(t.edtNumeroEqp->text(), "1");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t.edtCooInicial->text(), "10");
    EXPECT_EQ(t.edtCooFinal->text(), "20");
    EXPECT_EQ(t.edtCRZ->text(), "5");
    EXPECT_EQ(t.edtCRO->text(), "1");
    EXPECT_EQ(t.curGTInicial->valor(), *Money::parse("1.000,00"));
    EXPECT_EQ(t.curGTFinal->valor(), *Money::parse("1.500,00"));
    EXPECT_EQ(t.curVendaBruta->valor(), *Money::parse("500,00"));
    EXPECT_EQ(t.curVlr_F->valor(), *Money::parse("50,00"));
    EXPECT_EQ(t.curVlr_CANC->valor(), *Money::parse("10,00"));
    EXPECT_EQ(t.curVlr_DESC->valor(), *Money::parse("5,00"));
    EXPECT_EQ(t.curVlr_I->valor(), *Money::parse("20,00"));
    EXPECT_EQ(t.curVlr_N->valor(), *Money::parse("30,00"));
    EXPECT_EQ(t.curVlr_ISS->valor(), *Money::parse("40,00"));
    const QAbstractItemModel* m = t.dbgAliquota->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(celula(m, 0, 0), "1700");
    EXPECT_EQ(celula(m, 0, 1), "300,00");
    EXPECT_EQ(celula(m, 1, 0), "1200");
    EXPECT_EQ(celula(m, 1, 1), "135,00");

    // Nothing can be typed until "&Alterar", and nothing is held open.
    EXPECT_FALSE(t.grbECF->isEnabled());
    EXPECT_FALSE(t.panST->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.btnCancelar->isEnabled());
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_TRUE(t.btnFechar->isEnabled());
    EXPECT_EQ(Foco(), "btnAlterar");
    EXPECT_FALSE(emTransacao());

    Clica(t.btnAlterar);
    EXPECT_TRUE(emTransacao());
    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    EXPECT_TRUE(t.grbECF->isEnabled());
    EXPECT_TRUE(t.panST->isEnabled());
    EXPECT_EQ(Foco(), "edtNumeroEqp");

    // The serial number and the day are what the reading is known by: they cannot be typed over.
    EXPECT_TRUE(t.edtNumSerie->isReadOnly());
    EXPECT_TRUE(t.edtEmissao->isReadOnly());
    Digita(t.edtNumSerie, "XYZ");
    EXPECT_EQ(t.edtNumSerie->text(), "ABC123");
    t.edtEmissao->setFocus(Qt::TabFocusReason);
    QTest::keyClick(t.edtEmissao, Qt::Key_Up);
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
}

TEST_F(AlteracaoCupom, ResumoDeOutroContribuinteOuInexistenteNaoSeAbre)
{
    const int alheio = resumo(TDia(), {{"1700", 30000}}, outro);
    const QString antes = retrato(alheio);
    for (const int chave : {alheio, alheio + 100}) {
        SCOPED_TRACE(chave);
        TfrmAlteraCupom t(ctx, chave);
        Ativa(&t);
        EXPECT_FALSE(t.carregado());
        EXPECT_FALSE(t.btnAlterar->isEnabled());
        EXPECT_EQ(t.edtNumSerie->text(), "");
        EXPECT_EQ(t.edtCRZ->text(), "");
        EXPECT_EQ(t.curVendaBruta->valor(), Money());
        EXPECT_EQ(t.dbgAliquota->model()->rowCount(), 0) << "no lines of a summary that is not shown";
        Clica(t.btnAlterar);
        EXPECT_FALSE(emTransacao());
        EXPECT_FALSE(t.grbECF->isEnabled());
    }
    EXPECT_EQ(retrato(alheio), antes);
}

TEST_F(AlteracaoCupom, CabecalhoChecaOModeloPrimeiroENaoProcuraDuplicata)
{
    const int id = diaDoExemplo();
    // Same day and serial on equipment 2: the entry screen would refuse a second one, a change does not look.
    TDia vizinho;
    vizinho.equip = "2";
    vizinho.crz = 9;
    resumo(vizinho);
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    Digita(t.edtNumeroEqp, "2");
    Digita(t.edtCooInicial, "11");
    Digita(t.edtCooFinal, "21");
    Digita(t.edtCRO, "7");

    // A bad model and a missing counter at once: the model is told first.
    Digita(t.edtModelo, "3X");
    Apaga(t.edtCRZ);
    recusaAoSair(t.curVendaBruta,
                 QString::fromUtf8("Modelo de ECF Inválido! Modelos válidos 2B,2C,2D \n2,02,13,14,15 e 16"), "edtModelo");
    Digita(t.edtModelo, "14");
    {
        SCOPED_TRACE("obrigatorios");
        banco.dialogos.esperaMensagem(
            QString::fromUtf8("Preencha os campos obrigatórios \ndo quadro Emissor de Cupom Fiscal"));
        t.curVendaBruta->setFocus(Qt::TabFocusReason);
        Sai();
        banco.dialogos.verificaConsumo();
    }
    Digita(t.edtCRZ, "6");
    Digita(t.curGTInicial, "1.600,00");
    recusaAoSair(t.curVendaBruta, QString::fromUtf8("GT Final menor do que GT Inicial!"), "curGTFinal");
    Digita(t.curGTInicial, "1.000,00");
    Digita(t.curGTFinal, "1.800,00");
    t.curVendaBruta->setFocus(Qt::TabFocusReason); // leaving "GT Final" proposes the gross sales
    EXPECT_EQ(t.curVendaBruta->valor(), *Money::parse("800,00"));
    Digita(t.curVendaBruta, "1.800,01");
    recusaAoSair(t.curVendaBruta, QString::fromUtf8("Venda Bruta NÃO pode\nser maior que GT Final!"), "curVendaBruta");
    EXPECT_TRUE(t.grbECF->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled()) << "no save before the header step";
    EXPECT_EQ(valor(QStringLiteral("SELECT CRZ || '|' || T_F FROM CUPOMFISCAL WHERE IDCupomFiscal = %1").arg(id)).toString(),
              "5|500000") << "nothing written by a refused step";

    Digita(t.curVendaBruta, "800,00");
    Sai();
    EXPECT_EQ(Foco(), "curVlr_ISS");
    EXPECT_TRUE(t.panST->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.grbECF->isEnabled());
    EXPECT_TRUE(emTransacao());
    // The header as typed, the totalizers as 0 until the day balances; serial and day as they were.
    EXPECT_EQ(retrato(id), "2024-05-10|ABC123|2|14|11|21|6|7|10000000|18000000|8000000|0|0|0|0|0|0|2024-07-15T09:30:00");
    EXPECT_EQ(aliquotasGravadas(id), (QStringList{"1700|3000000", "1200|1350000"}));
    EXPECT_EQ(t.curVlr_F->valor(), *Money::parse("50,00")) << "the fields keep what was loaded";
}

TEST_F(AlteracaoCupom, AliquotaDeQuatroDigitosRepetidaRecusadaENovaLinhaLevaAoSalvar)
{
    const int id = diaDoExemplo();
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    alteraCabecalho(t);

    banco.dialogos.esperaMensagem(QString::fromUtf8("Formato Inválido!"));
    Digita(t.cmbAliquota, "15,5");
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(FocoNaAliquota(t));

    Digita(t.cmbAliquota, "1700");
    Sai();
    EXPECT_EQ(Foco(), "curVlrAcumulado");
    Digita(t.curVlrAcumulado, "50,00");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Alíquota já cadastrada!"));
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(FocoNaAliquota(t));
    EXPECT_EQ(aliquotasGravadas(id), (QStringList{"1700|3000000", "1200|1350000"})) << "a stored rate is never doubled";

    linha(t, "0700", "20,00");
    EXPECT_EQ(Foco(), "btnSalvar") << "after a line the change screen goes on to saving";
    EXPECT_EQ(aliquotasGravadas(id), (QStringList{"1700|3000000", "1200|1350000", "0700|200000"}));
    const QAbstractItemModel* m = t.dbgAliquota->model();
    ASSERT_EQ(m->rowCount(), 3);
    EXPECT_EQ(celula(m, 2, 0), "0700");
    EXPECT_EQ(celula(m, 2, 1), "20,00");
    EXPECT_EQ(t.lblimposto->text().trimmed(), "1,40");
    EXPECT_EQ(t.lblSaldo->text().trimmed(), "-20,00");
    EXPECT_EQ(t.cmbAliquota->currentText(), "");
    EXPECT_EQ(t.curVlrAcumulado->valor(), Money());
}

TEST_F(AlteracaoCupom, SaldoComAsLinhasGravadasRecusaOuSalvaEFecha)
{
    const int id = diaDoExemplo(13499);
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    alteraCabecalho(t);
    EXPECT_EQ(t.lblSaldo->text().trimmed(), "0,01");

    // One cent short, counting the lines stored before "&Alterar".
    banco.dialogos.esperaMensagem(kDifere);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "curVlr_ISS");
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(emTransacao());

    // The line corrected through the grid's menu, and part of F moved to I: the day balances.
    excluiLinha(t, "1200");
    linha(t, "1200", "135,00");
    EXPECT_EQ(Foco(), "btnSalvar");
    Digita(t.curVlr_F, "30,00");
    Digita(t.curVlr_I, "20,00");
    Sai();
    EXPECT_EQ(t.lblSaldo->text().trimmed(), "0,00");
    informa(t.btnSalvar, kAlterado);
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_EQ(retrato(id),
              "2024-05-10|ABC123|1|2D|10|20|5|1|10000000|15000000|5000000|0|300000|200000|0|100000|50000|2024-07-15T09:30:00");
    EXPECT_EQ(aliquotasGravadas(id), (QStringList{"1700|3000000", "1200|1350000"}));
}

TEST_F(AlteracaoCupom, SaldoVemDasLinhasGravadasNaoDoQueEstaNaTela)
{
    const int id = diaDoExemplo(13499);
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    alteraCabecalho(t);
    // A line changed behind the screen: the save reads the stored lines, not the balance shown.
    executa(QStringLiteral("UPDATE CFAliquota SET ValorAcumulado = 1350000 WHERE IDCupomFiscal = %1 AND Aliquota = '1200'")
                .arg(id));
    EXPECT_EQ(t.lblSaldo->text().trimmed(), "0,01");
    informa(t.btnSalvar, kAlterado);
    EXPECT_FALSE(emTransacao());

    // And the other way round: a balance that shows 0,00 over lines that no longer sum to it is refused.
    const int outroDia = diaDoExemplo();
    TfrmAlteraCupom u(ctx, outroDia);
    Ativa(&u);
    alteraCabecalho(u);
    ASSERT_EQ(u.lblSaldo->text().trimmed(), "0,00");
    executa(QStringLiteral("DELETE FROM CFAliquota WHERE IDCupomFiscal = %1 AND Aliquota = '1200'").arg(outroDia));
    banco.dialogos.esperaMensagem(kDifere);
    Clica(u.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(u.isVisible());
    EXPECT_TRUE(emTransacao());
    Clica(u.btnCancelar);
}

TEST_F(AlteracaoCupom, CancelarDevolveOResumoEAsLinhasComoEstavam)
{
    const int id = diaDoExemplo();
    const QString antes = retrato(id);
    const QStringList linhasAntes = linhasGravadas(id);
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    Digita(t.edtCRZ, "8");
    Digita(t.curVendaBruta, "400,00");
    Sai();
    ASSERT_EQ(Foco(), "curVlr_ISS");
    excluiLinha(t, "1700");
    linha(t, "0700", "20,00");
    ASSERT_NE(retrato(id), antes);
    ASSERT_NE(linhasGravadas(id), linhasAntes);

    Clica(t.btnCancelar);
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_EQ(retrato(id), antes);
    EXPECT_EQ(linhasGravadas(id), linhasAntes) << "the same lines, under the same keys";
    EXPECT_EQ(banco.dialogos.registros().size(), 2) << "the deletion's two, none of its own on cancelling";
}

TEST_F(AlteracaoCupom, EscEFecharDaJanelaNaoPerdemAEdicaoESairDesfaz)
{
    const int id = diaDoExemplo();
    const QString antes = retrato(id);
    const QStringList linhasAntes = linhasGravadas(id);
    {
        // Idle, Esc takes the screen's own "&Fechar".
        TfrmAlteraCupom t(ctx, id);
        Ativa(&t);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(t.isVisible());
        EXPECT_FALSE(emTransacao());
    }
    {
        TfrmAlteraCupom t(ctx, id);
        Ativa(&t);
        alteraCabecalho(t);
        linha(t, "0700", "20,00");
        // While the change is open, Esc and the window's close button never throw away what was written
        // without the user choosing "&Cancelar"; neither do they let it reach the file.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(t.isVisible());
        EXPECT_FALSE(t.close());
        EXPECT_TRUE(t.isVisible());
        EXPECT_TRUE(t.transacaoAberta());
        EXPECT_EQ(aliquotasGravadas(id).size(), 3);
        Clica(t.btnCancelar);
        EXPECT_FALSE(t.isVisible());
        EXPECT_EQ(retrato(id), antes);
        EXPECT_EQ(linhasGravadas(id), linhasAntes);
    }
    {
        // A screen that goes away in the middle of a change (its caller ends) gives everything back.
        TfrmAlteraCupom t(ctx, id);
        Ativa(&t);
        alteraCabecalho(t);
        excluiLinha(t, "1700");
    }
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(retrato(id), antes);
    EXPECT_EQ(linhasGravadas(id), linhasAntes);
}

TEST_F(AlteracaoCupom, CommitRecusadoNaoDizSucessoEContinuaComAsLinhasDigitadas)
{
    const int id = diaDoExemplo();
    TfrmAlteraCupom t(ctx, id);
    Ativa(&t);
    alteraCabecalho(t);
    excluiLinha(t, "1200");
    linha(t, "1200", "100,00");
    linha(t, "0700", "35,00");
    ASSERT_EQ(t.lblSaldo->text().trimmed(), "0,00");

    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM CUPOMFISCAL");
    sqlite3_busy_timeout(db(), 50);
    const qsizetype mostradas = banco.dialogos.registros().size();
    banco.dialogos.esperaSimples(QString()); // the engine's text, and no success after it
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), mostradas + 1);
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "simples");
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_EQ(aliquotasGravadas(id), (QStringList{"1700|3000000", "1200|1000000", "0700|350000"}))
        << "the lines the user had, not the ones the rollback brought back";
    EXPECT_EQ(t.dbgAliquota->model()->rowCount(), 3);
    TBancoTeste::executaDireto(leitor, "COMMIT");
    EXPECT_EQ(aliquotasGravadas(id, leitor), (QStringList{"1700|3000000", "1200|1350000"})) << "nothing reached the file";

    informa(t.btnSalvar, kAlterado);
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(aliquotasGravadas(id, leitor), (QStringList{"1700|3000000", "1200|1000000", "0700|350000"}));
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, QStringLiteral("SELECT DtUltAlteracao FROM CUPOMFISCAL WHERE "
                                                             "IDCupomFiscal = %1").arg(id))
                  .toString(),
              "2024-07-15T09:30:00");
    sqlite3_close(leitor);
}

// ----- browse screen

namespace {

struct NavegacaoCupom : AlteracaoCupom {
    // The CRZ column identifies the summaries of these tests.
    static QStringList crzs(TfrmCupomFiscal& t)
    {
        QStringList r;
        for (int i = 0; i < t.dbgCupom->model()->rowCount(); ++i)
            r << celula(t.dbgCupom->model(), i, 9);
        return r;
    }
    static void pesquisa(TfrmCupomFiscal& t, const QString& mes, const QString& ano)
    {
        t.cmbMes->setEditText(mes);
        t.cmbAno->setEditText(ano);
        Clica(t.btnPesquisar);
    }
    static void escolhe(TfrmCupomFiscal& t, const QString& crz)
    {
        const int linha = int(crzs(t).indexOf(crz));
        ASSERT_GE(linha, 0) << crz.toStdString();
        t.dbgCupom->setCurrentIndex(t.dbgCupom->model()->index(linha, 0));
    }
    static QStringList tributados(TfrmCupomFiscal& t)
    {
        QStringList r;
        for (int i = 0; i < t.dbgAliquotas->rowCount(); ++i)
            r << t.dbgAliquotas->item(i, 0)->text() + QLatin1Char('=') + t.dbgAliquotas->item(i, 1)->text();
        return r;
    }
    static TDia dia(const char* quando, int crz, qint64 vendaBruta)
    {
        TDia d;
        d.dia = quando;
        d.crz = crz;
        d.gtInicial = 0;
        d.gtFinal = vendaBruta;
        d.vendaBruta = vendaBruta;
        d.f = vendaBruta;
        d.canc = d.desc = 0;
        return d;
    }
};

} // namespace

TEST_F(NavegacaoCupom, SemResumoDoContribuinteComandosDesabilitados)
{
    resumo(dia("2024-05-10", 1, 10000), {{"1700", 10000}}, outro);
    TfrmCupomFiscal t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QStringLiteral("Selecionar Cupom Fiscal"));
    EXPECT_FALSE(t.btnAlterar->isEnabled()) << "another taxpayer's summary is not this one's";
    EXPECT_FALSE(t.btnExcluir->isEnabled());
    EXPECT_FALSE(t.btnImprimir->isEnabled());
    EXPECT_EQ(t.dbgCupom->model()->rowCount(), 0);
    banco.dialogos.esperaMensagem(kSemLancamentos);
    pesquisa(t, "**", "2024");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.dbgCupom->model()->rowCount(), 0);
    EXPECT_FALSE(t.btnAlterar->isEnabled());
}

TEST_F(NavegacaoCupom, PesquisaPorPeriodoTotaisEImpostoExatoPorAliquota)
{
    TDia primeiro = dia("2024-05-03", 1, 50000);
    primeiro.f = 30000;
    primeiro.i = 2000;
    primeiro.n = 1000;
    primeiro.iss = 500;
    primeiro.canc = 1000;
    primeiro.desc = 500;
    resumo(primeiro, {{"1550", 10000}, {"1700", 20000}});
    resumo(dia("2024-05-20", 2, 30000), {{"1700", 10000}, {"0364", 10000}});
    resumo(dia("2024-06-02", 3, 10000), {{"1200", 5000}});
    resumo(dia("2023-05-02", 4, 100000));
    resumo(dia("2024-05-10", 7, 999900), {{"1700", 100000}}, outro);

    TfrmCupomFiscal t(ctx);
    Ativa(&t);
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_TRUE(t.btnExcluir->isEnabled());
    EXPECT_TRUE(t.btnImprimir->isEnabled());
    EXPECT_EQ(t.dbgCupom->model()->rowCount(), 0) << "the list starts empty";

    pesquisa(t, "5", "2024");
    EXPECT_EQ(crzs(t), (QStringList{"1", "2"}));
    // The count and the seven amounts right-aligned to eight characters, so that the column lines up.
    const std::pair<const char*, const char*> totais[] = {
        {"lblQuant", "       2"}, {"lblVendaBruta", "  800,00"}, {"lblT_F", "  600,00"}, {"lblT_I", "   20,00"},
        {"lblT_N", "   10,00"},  {"lblT_ISS", "    5,00"},    {"lblT_CANC", "   10,00"}, {"lblT_DESC", "    5,00"},
    };
    for (const auto& [rotulo, texto] : totais)
        EXPECT_EQ(t.textoResumo(rotulo), QString::fromLatin1(texto)) << rotulo;
    // 15,5% of 100,00 is 15,50; 17% of the two summaries' 300,00 is 51,00; 3,64% of 100,00 is 3,64.
    EXPECT_EQ(tributados(t), (QStringList{"0364=3,64", "1550=15,50", "1700=51,00"}));
    EXPECT_EQ(t.textoResumo("lblTotalTributados"), "70,14");

    pesquisa(t, "**", "2024");
    EXPECT_EQ(crzs(t), (QStringList{"4", "1", "2", "3"})) << "every period, by day, only this taxpayer's";
    EXPECT_EQ(t.textoResumo("lblQuant"), "       4");
    EXPECT_EQ(t.textoResumo("lblVendaBruta"), "1.900,00");
    EXPECT_EQ(t.textoResumo("lblT_DESC"), "    5,00");
    EXPECT_EQ(tributados(t), (QStringList{"0364=3,64", "1200=6,00", "1550=15,50", "1700=51,00"}));
    EXPECT_EQ(t.textoResumo("lblTotalTributados"), "76,14");

    banco.dialogos.esperaMensagem(kSemLancamentos);
    pesquisa(t, "8", "2024");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.dbgCupom->model()->rowCount(), 0);
}

TEST_F(NavegacaoCupom, ExcluirLevaAsLinhasDoResumoJuntoOuNadaSai)
{
    const int primeiro = resumo(dia("2024-05-03", 1, 30000), {{"1700", 10000}, {"1200", 5000}});
    const int segundo = resumo(dia("2024-05-20", 2, 30000), {{"0700", 10000}});
    TfrmCupomFiscal t(ctx);
    Ativa(&t);
    pesquisa(t, "5", "2024");

    escolhe(t, "1");
    banco.dialogos.esperaExclusao(kConfirmaExclusao, false);
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 2);
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CFAliquota").toInt(), 3);
    EXPECT_EQ(crzs(t), (QStringList{"1", "2"}));

    escolhe(t, "1");
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    informa(t.btnExcluir, kExcluido);
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM CUPOMFISCAL WHERE IDCupomFiscal = %1").arg(primeiro)).toInt(), 0);
    EXPECT_EQ(linhasGravadas(primeiro), QStringList()) << "no line left without its summary";
    EXPECT_EQ(aliquotasGravadas(segundo), QStringList{"0700|1000000"});
    EXPECT_EQ(crzs(t), QStringList{"2"}) << "the list read again";
    EXPECT_FALSE(emTransacao());

    // A summary the engine refuses to delete keeps its lines too.
    executa("CREATE TRIGGER recusa BEFORE DELETE ON CUPOMFISCAL BEGIN SELECT RAISE(ABORT, 'recusado'); END");
    escolhe(t, "2");
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    banco.dialogos.esperaMensagem(QString());
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(banco.dialogos.registros().last().texto.startsWith(QString::fromUtf8("Erro na Exclusão.")));
    EXPECT_EQ(aliquotasGravadas(segundo), QStringList{"0700|1000000"});
    EXPECT_EQ(valor("SELECT COUNT(*) FROM CUPOMFISCAL").toInt(), 1);
    EXPECT_FALSE(emTransacao());
}

TEST_F(NavegacaoCupom, AlterarAbreOResumoEscolhidoEAListaVoltaNele)
{
    resumo(dia("2024-05-03", 1, 30000));
    const int segundo = resumo(dia("2024-05-20", 2, 30000));
    const int terceiro = resumo(dia("2024-06-20", 3, 30000));
    TfrmCupomFiscal t(ctx);
    Ativa(&t);
    pesquisa(t, "5", "2024");
    escolhe(t, "2");
    banco.dialogos.esperaTela("TfrmAlteraCupom", [this, segundo](QObject* o) {
        auto* tela = static_cast<TfrmAlteraCupom*>(o);
        Ativa(tela);
        EXPECT_EQ(tela->cupomAtual(), segundo);
        EXPECT_EQ(tela->edtCRZ->text(), "2");
        Clica(tela->btnAlterar);
        Digita(tela->edtCRO, "7");
        tela->curVendaBruta->setFocus(Qt::TabFocusReason);
        Sai();
        informa(tela->btnSalvar, kAlterado);
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    Clica(t.btnAlterar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(valor(QStringLiteral("SELECT CRO FROM CUPOMFISCAL WHERE IDCupomFiscal = %1").arg(segundo)).toInt(), 7);
    EXPECT_EQ(t.lista().asInteger("IDCupomFiscal"), segundo) << "standing on the summary just changed";
    EXPECT_EQ(t.lista().asInteger("CRO"), 7) << "read again after the change";
    ASSERT_TRUE(t.dbgCupom->currentIndex().isValid());
    EXPECT_EQ(celula(t.dbgCupom->model(), t.dbgCupom->currentIndex().row(), 9), "2");

    // A double click on another row opens that one; a cancelled change leaves it as it was, the list on it.
    const QString antes = retrato(terceiro);
    const int linha = int(crzs(t).indexOf("3"));
    ASSERT_GE(linha, 0);
    banco.dialogos.esperaTela("TfrmAlteraCupom", [this, terceiro](QObject* o) {
        auto* tela = static_cast<TfrmAlteraCupom*>(o);
        Ativa(tela);
        EXPECT_EQ(tela->cupomAtual(), terceiro);
        Clica(tela->btnAlterar);
        Digita(tela->edtCRO, "9");
        tela->curVendaBruta->setFocus(Qt::TabFocusReason);
        Sai();
        Clica(tela->btnCancelar);
        return tela->result();
    });
    const QRect celulaVisivel = t.dbgCupom->visualRect(t.dbgCupom->model()->index(linha, 0));
    // The first press of a double click lands on the row before the second one opens it.
    QTest::mouseClick(t.dbgCupom->viewport(), Qt::LeftButton, Qt::NoModifier, celulaVisivel.center());
    QTest::mouseDClick(t.dbgCupom->viewport(), Qt::LeftButton, Qt::NoModifier, celulaVisivel.center());
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(retrato(terceiro), antes);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(t.lista().asInteger("IDCupomFiscal"), terceiro);
}

TEST_F(AlteracaoCupom, TabSegueAOrdemDaTela)
{
    // From the equipment number down the header; leaving the gross sales records the header and goes to
    // "ISS", which the chain puts before the totalizers drawn ahead of it, so that every one of them follows;
    // a blank rate goes straight on to "&Salvar". Otherwise the screen's drawn order, as shown before the walk.
    TfrmAlteraCupom t(ctx, diaDoExemplo());
    Ativa(&t);
    Clica(t.btnAlterar);
    QWidget* inicio = QApplication::focusWidget();
    ASSERT_EQ(inicio, t.edtNumeroEqp);
    const QStringList nomes = ComMovimentos(CamposNaTela(&t), {{"curVendaBruta", "curVlr_ISS"}});
    const QStringList esperado = CaminhoComSaltos(nomes, inicio->objectName(), 16, {{"cmbAliquota", "btnSalvar"}});
    ASSERT_EQ(esperado.last(), "btnSalvar");
    ASSERT_EQ(esperado.mid(9, 3), (QStringList{"curVlr_ISS", "curVlr_F", "curVlr_I"}));
    EXPECT_EQ(CaminhoDoTab(inicio, 16), esperado);
}

TEST_F(NavegacaoCupom, TabDaListaSegueAOrdemDaTelaComESemResumo)
{
    for (const bool comResumo : {false, true}) {
        SCOPED_TRACE(comResumo ? "com um resumo" : "sem resumo");
        if (comResumo)
            resumo(dia("2024-05-10", 1, 10000), {{"1700", 10000}});
        TfrmCupomFiscal t(ctx);
        Ativa(&t);
        EXPECT_EQ(t.btnImprimir->isEnabled(), comResumo);
        if (comResumo)
            pesquisa(t, "5", "2024");
        EXPECT_EQ(t.btnAlterar->isEnabled(), comResumo);
        const auto volta = VoltaDoTab(&t);
        EXPECT_EQ(volta.esperado.contains("btnAlterar"), comResumo) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
