// The EPP declaration screens over a temporary data folder, driven by focus changes, keys and clicks: the
// old-rules screen with its brackets, employees and internal acquisitions from a month of documents, the
// periods each screen refuses, the MP 37/06 screen with its granted credits and the negative tax refused at
// save, the columns each regime stores as zero, a stored row reopened with its bracket, a tie of the 1 %
// shown as stored; and the list in both modes with inclusion, change, deletion and the return file.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untIncluirZELEPP.h"
#include "declarations/screens/untZELEPP.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kIncluida = QString::fromUtf8("Apuração Incluída com sucesso!");
const QString kAlterada = QString::fromUtf8("Apuração Alterada com sucesso!");
const QString kSelecioneFaixa = QStringLiteral("Selecione a Faixa de Recolhimento");
const QString kUseMP = QString::fromUtf8("Para este período utilize o formulário da MP 37/06!");
const QString kNegativo = QString::fromUtf8("Valor do Imposto a Recolher não pode ser negativo.");

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Clica(QAbstractButton* b)
{
    if (qobject_cast<QRadioButton*>(b))
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

// The focus comes in (the field left runs its rules), everything is selected, then the keys.
void Digita(QLineEdit* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    if (texto.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, texto);
}

void Digita(QComboBox* c, const QString& texto)
{
    c->setFocus(Qt::TabFocusReason);
    c->lineEdit()->selectAll();
    if (texto.isEmpty())
        QTest::keyClick(c->lineEdit(), Qt::Key_Delete);
    else
        QTest::keyClicks(c->lineEdit(), texto);
}

void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// The bracket chosen with the arrow keys from "Selecione", as the user goes down the list.
void EscolheFaixa(QComboBox* c, int faixa)
{
    c->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c, Qt::Key_Home);
    for (int i = 0; i < faixa; ++i)
        QTest::keyClick(c, Qt::Key_Down);
}

struct TelasEpp : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 8, 20), QTime(10, 0))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        // The open taxpayer with its accountant, a client, a supplier of another state and a second taxpayer of
        // the same office, as the registers take them.
        ASSERT_TRUE(TCadastroTeste(*banco.dtm, banco.dialogos).escritorio());
        ctx.IdAtivo = 1;
        banco.dtm->LerContribuinteAtivo(1);
        // May 2006 (old rules): a sale of 10.000,00 of base to the home state with 500,00 retained and a
        // source-regime line of 200,00; 1.000,00 of purchases, 799,99 of them inside the state (a share
        // of 79). July 2006 (MP 37/06): a sale of 50.000,00 of base. Another taxpayer's sale counts nowhere.
        executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
                "(1, 1, 2, '2006-05-10', 'S', '01', '1', '', '000001', '5102', 'P', 100000000, 'N', '2006-05-10'),"
                "(2, 1, 2, '2006-05-11', 'E', '01', '1', '', '000777', '1102', 'T', 7999900, 'N', '2006-05-11'),"
                "(3, 1, 3, '2006-05-12', 'E', '01', '1', '', '000778', '2102', 'T', 2000100, 'N', '2006-05-12'),"
                "(4, 1, 2, '2006-07-10', 'S', '01', '1', '', '000002', '5102', 'P', 500000000, 'N', '2006-07-10'),"
                "(5, 4, 2, '2006-07-10', 'S', '01', '1', '', '000900', '5102', 'P', 900000000, 'N', '2006-07-10')");
        executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
                "(1, 100000000, 17000000, 0, 0, '1700'), (4, 500000000, 85000000, 0, 0, '1700'), "
                "(5, 900000000, 153000000, 0, 0, '1700')");
        executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
                "(1, 30000000, 5000000, 0, '1'), (1, 10000000, 2000000, 0, '5')");
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& onde = QStringLiteral("1 = 1"))
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM ZEL_EPP WHERE ") + onde).toInt();
    }
    QString coluna(const char* nome, const QString& onde)
    {
        return valor(QStringLiteral("SELECT ifnull(%1, 'NULL') FROM ZEL_EPP WHERE %2").arg(QLatin1String(nome), onde)).toString();
    }
    double real(const char* nome, const QString& onde)
    {
        return valor(QStringLiteral("SELECT %1 FROM ZEL_EPP WHERE %2").arg(QLatin1String(nome), onde)).toDouble();
    }

    static QString texto(const TfrmCamposEPP& t, const char* campo)
    {
        TEdValor* c = t.campo(campo);
        return c ? c->text() : QStringLiteral("<sem campo %1>").arg(QLatin1String(campo));
    }

    // The period typed and "Processa" clicked; `mensagem` is the one box it must show (none when empty).
    void processa(TfrmCamposEPP& t, const QString& mes, const QString& ano, const QString& mensagem = QString())
    {
        SCOPED_TRACE((mes + "/" + ano).toStdString());
        Ativa(&t);
        Digita(t.cmbMes, mes);
        Digita(t.cmbAno, ano);
        if (!mensagem.isEmpty())
            banco.dialogos.esperaMensagem(mensagem);
        Clica(t.btnProcessa);
        banco.dialogos.verificaConsumo();
    }
    void informa(QAbstractButton* botao, const QString& mensagem)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        banco.dialogos.verificaConsumo();
    }
    void digitaESai(QLineEdit* campo, const QString& valor, const QString& mensagem = QString())
    {
        SCOPED_TRACE(campo->objectName().toStdString() + " = " + valor.toStdString());
        Digita(campo, valor);
        if (!mensagem.isEmpty())
            banco.dialogos.esperaMensagem(mensagem);
        Sai();
        banco.dialogos.verificaConsumo();
    }
    // Nothing of the computation is open to typing.
    static void esperaFechada(const TfrmCamposEPP& t)
    {
        for (QWidget* w : std::initializer_list<QWidget*>{t.pcPaginas, t.rdgTipo, t.btnSalvarZel})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(t.btnProcessa->isEnabled());
    }

    // May 2006 as stored by the old screen: 16.000,00 at 2,5 %, 6 employees (7) and a share of 79 (20),
    // 02 of 45,00 with 15,00 already paid.
    int maioGuardado()
    {
        executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, RecApurada, MediaEntradas, RecEfetiva, Perc_Recolh, "
                "Imp_Devido, Num_Empreg, CredEmpreg, TotalAquis, Aquis_Inter, Cred_Aq_Inter, Perc_Cred_Pres, Cred_Presumido, "
                "Cred_TEF_ECF, Chq_Moradia, Chq_Educacao, Total_Cred_Outorgado, Imp_Recolher, Subs_EntJR, Subs_EntAR, "
                "ICMS_SubsSaida, ICMS_RetFonte, Dif_Aliquota, DtGeracao) VALUES (1, '200605', 'R', 100000000, 200000000, "
                "160000000, 2.5, 4000000, 6, 7, 10000000, 7999900, 20, 27, 1080000, 0, 0, 0, 0, 2920000, 150000, "
                "300000, 5000000, 2000000, 50000, '2024-01-02T03:04:05')");
        return int(sqlite3_last_insert_rowid(db()));
    }
};

} // namespace

// ----- the old rules' screen

TEST_F(TelasEpp, AntigaProcessaCalculaAoSairEGravaSoAsColunasDaLeiAntiga)
{
    TfrmIncluirZELEPP t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Apuração do Imposto - Regime EPP"));
    EXPECT_EQ(t.cmbAno->currentText(), "2006");
    EXPECT_EQ(t.cmbFaixa->currentText(), "Selecione");
    esperaFechada(t);

    processa(t, "5", "2006");
    ASSERT_TRUE(t.btnSalvarZel->isEnabled());
    EXPECT_FALSE(t.grbPeriodo->isEnabled());
    EXPECT_EQ(Foco(), "edtMediaEntradas");
    EXPECT_EQ(texto(t, "edtBase_RecApurada"), "10.000,00");
    EXPECT_EQ(texto(t, "edtTotalAquis"), "1.000,00");
    EXPECT_EQ(texto(t, "edtAquis_Internas"), "799,99");
    EXPECT_EQ(t.edtCred_Aq_Inter->text(), "20") << "799,99 of 1.000,00 is a share of 79";
    EXPECT_EQ(texto(t, "edtSTSaidas"), "500,00");
    EXPECT_EQ(texto(t, "edtSTRegFonte"), "200,00");
    EXPECT_EQ(texto(t, "edtST_Total"), "700,00");
    EXPECT_EQ(texto(t, "edtImp_Devido"), "0,00") << "no bracket yet";

    // 80 % of the average is above the computed revenue.
    digitaESai(t.campo("edtMediaEntradas"), "20.000,00");
    EXPECT_EQ(texto(t, "edtBase_RecEfetiva"), "16.000,00");
    EscolheFaixa(t.cmbFaixa, 3);
    EXPECT_EQ(t.cmbFaixa->currentText(), QString::fromUtf8("3ª Faixa - 2,5%"));
    EXPECT_EQ(texto(t, "edtImp_Devido"), "400,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "320,00") << "20 % of presumed credit from the acquisitions alone";

    digitaESai(t.edtNum_Empreg, "6");
    EXPECT_EQ(texto(t, "edtCredEmpreg"), "7,00");
    EXPECT_EQ(t.edtPerc_Cred_Pres->text(), "27");
    EXPECT_EQ(texto(t, "edtCred_Presumido"), "108,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "292,00");
    // 20 employees give 35, and 20 + 35 is capped at 50: half of the tax.
    digitaESai(t.edtNum_Empreg, "20");
    EXPECT_EQ(texto(t, "edtCredEmpreg"), "35,00");
    EXPECT_EQ(t.edtPerc_Cred_Pres->text(), "50");
    EXPECT_EQ(texto(t, "edtCred_Presumido"), "200,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "200,00");
    digitaESai(t.edtNum_Empreg, "21");
    EXPECT_EQ(texto(t, "edtCredEmpreg"), "35,00");
    digitaESai(t.edtNum_Empreg, "5");
    EXPECT_EQ(texto(t, "edtCredEmpreg"), "5,00");
    EXPECT_EQ(t.edtPerc_Cred_Pres->text(), "25");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "300,00");

    t.pcPaginas->setCurrentIndex(1);
    digitaESai(t.campo("edtDifAliquota"), "5,00");
    digitaESai(t.campo("edtIcmsSTEntradas"), "45,00");
    digitaESai(t.campo("edtIcmsST_JR"), "15,00");
    EXPECT_EQ(texto(t, "edtIcmsST_AR"), "30,00");

    Clica(t.rbRetificadora);
    informa(t.btnSalvarZel, kIncluida);
    EXPECT_FALSE(t.btnSalvarZel->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");
    ASSERT_EQ(conta(), 1);
    const QString linha = QStringLiteral("Periodo = '200605'");
    const std::pair<const char*, const char*> esperado[] = {
        {"IdContribuinte", "1"},       {"Tipo", "R"},                  {"RecApurada", "100000000"},
        {"MediaEntradas", "200000000"}, {"RecEfetiva", "160000000"},   {"Imp_Devido", "4000000"},
        {"Num_Empreg", "5"},           {"TotalAquis", "10000000"},     {"Aquis_Inter", "7999900"},
        {"Cred_Presumido", "1000000"}, {"Imp_Recolher", "3000000"},    {"Cred_TEF_ECF", "0"},
        {"Chq_Moradia", "0"},          {"Chq_Educacao", "0"},          {"Total_Cred_Outorgado", "0"},
        {"Subs_EntJR", "150000"},      {"Subs_EntAR", "300000"},       {"ICMS_SubsSaida", "5000000"},
        {"ICMS_RetFonte", "2000000"},  {"Dif_Aliquota", "50000"},      {"DtGeracao", "2024-08-20T10:00:00"},
    };
    for (const auto& [nome, v] : esperado)
        EXPECT_EQ(coluna(nome, linha), v) << nome;
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", linha), 2.5);
    EXPECT_DOUBLE_EQ(real("CredEmpreg", linha), 5);
    EXPECT_DOUBLE_EQ(real("Cred_Aq_Inter", linha), 20);
    EXPECT_DOUBLE_EQ(real("Perc_Cred_Pres", linha), 25);

    // The period is taken now: a second inclusion of it stops at "Processa".
    TfrmIncluirZELEPP outra(ctx);
    processa(outra, "5", "2006", QString::fromUtf8("Este Período já está cadastrado!"));
    esperaFechada(outra);
    EXPECT_EQ(texto(outra, "edtBase_RecApurada"), "0,00") << "nothing is taken from the documents";
}

TEST_F(TelasEpp, AntigaSemFaixaRecusadaAoSalvarEAoSairDaLista)
{
    TfrmIncluirZELEPP t(ctx);
    processa(t, "5", "2006");
    Digita(t.edtNum_Empreg, "3");
    Digita(t.campo("edtMediaEntradas"), "20.000,00");
    // Saved without a bracket: refused, nothing written, the focus on the list.
    informa(t.btnSalvarZel, kSelecioneFaixa);
    EXPECT_EQ(Foco(), "cmbFaixa");
    EXPECT_EQ(conta(), 0);
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());
    EXPECT_EQ(texto(t, "edtBase_RecEfetiva"), "16.000,00") << "the average was read all the same";

    // Leaving the list on "Selecione" is refused as well, and the focus stays.
    banco.dialogos.esperaMensagem(kSelecioneFaixa);
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "cmbFaixa");

    EscolheFaixa(t.cmbFaixa, 1);
    EXPECT_EQ(texto(t, "edtImp_Devido"), "240,00") << "1,5 % of 16.000,00";
    informa(t.btnSalvarZel, kIncluida);
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", "Periodo = '200605'"), 1.5);
    EXPECT_EQ(coluna("Imp_Devido", "Periodo = '200605'"), "2400000");
    EXPECT_EQ(coluna("Num_Empreg", "Periodo = '200605'"), "3");
}

TEST_F(TelasEpp, CadaTelaRecusaOsPeriodosDaOutraLei)
{
    const struct {
        bool mp3706;
        const char* mes;
        const char* ano;
        const char* mensagem;
        const char* foco;
    } casos[] = {
        {false, "7", "2006", "Para este período utilize o formulário da MP 37/06!", "cmbMes"},
        {false, "1", "2007", "Para este período utilize o formulário da MP 37/06!", "cmbMes"},
        {false, "12", "2003", "O Ano deve ser a partir de 2004!", "cmbAno"},
        {true, "6", "2006", "O Mês deve ser a partir de 07/2006!", "cmbMes"},
        {true, "12", "2005", "O Ano deve ser a partir de 2006!", "cmbAno"},
        // Text that is no month or no year at all.
        {false, "ab", "2006", "Informe um mês de 1 a 12!", "cmbMes"},
        {true, "13", "2006", "Informe um mês de 1 a 12!", "cmbMes"},
        {false, "5", "", "O Ano deve ser a partir de 2004!", "cmbAno"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.mp3706 ? "MP " : "antiga ") + c.mes + "/" + c.ano);
        std::unique_ptr<TfrmCamposEPP> t;
        if (c.mp3706)
            t = std::make_unique<TfrmApuraZELEPP2006>(ctx);
        else
            t = std::make_unique<TfrmIncluirZELEPP>(ctx);
        processa(*t, c.mes, c.ano, QString::fromUtf8(c.mensagem));
        esperaFechada(*t);
        EXPECT_EQ(Foco(), c.foco);
        EXPECT_EQ(texto(*t, "edtBase_RecApurada"), "0,00");
    }
    // The last month of each law is accepted by its own screen.
    TfrmIncluirZELEPP junho(ctx);
    processa(junho, "6", "2006");
    EXPECT_TRUE(junho.btnSalvarZel->isEnabled());
    TfrmApuraZELEPP2006 julho(ctx);
    processa(julho, "7", "2006");
    EXPECT_TRUE(julho.btnSalvarZel->isEnabled());
    EXPECT_EQ(conta(), 0);
}

TEST_F(TelasEpp, ReabrirLinhaAntigaRestauraFaixaEMostraOGuardado)
{
    const int id = maioGuardado();
    TfrmIncluirZELEPP t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Alterar Apuração do Imposto"));
    EXPECT_EQ(t.cmbMes->currentText(), "5");
    EXPECT_EQ(t.cmbAno->currentText(), "2006");
    EXPECT_FALSE(t.cmbMes->isEnabled());
    EXPECT_TRUE(t.rbRetificadora->isChecked());
    EXPECT_EQ(t.cmbFaixa->currentIndex(), 3) << "2,5 % is the third bracket";
    // Every field as stored, before "Processa".
    EXPECT_EQ(t.edtNum_Empreg->text(), "6");
    EXPECT_EQ(texto(t, "edtMediaEntradas"), "20.000,00");
    EXPECT_EQ(texto(t, "edtImp_Devido"), "400,00");
    EXPECT_EQ(texto(t, "edtCredEmpreg"), "7,00");
    EXPECT_EQ(t.edtPerc_Cred_Pres->text(), "27");
    EXPECT_EQ(texto(t, "edtCred_Presumido"), "108,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "292,00");
    EXPECT_EQ(texto(t, "edtDifAliquota"), "5,00");
    EXPECT_EQ(texto(t, "edtIcmsSTEntradas"), "45,00") << "02 = 03 + 04";
    EXPECT_EQ(texto(t, "edtIcmsST_JR"), "15,00");
    EXPECT_EQ(texto(t, "edtIcmsST_AR"), "30,00");
    EXPECT_EQ(texto(t, "edtST_Total"), "700,00");

    Clica(t.btnProcessa);
    banco.dialogos.verificaConsumo();
    ASSERT_TRUE(t.btnSalvarZel->isEnabled());
    // Saved without a change: the percentage and the tax stay, not 0.
    informa(t.btnSalvarZel, kAlterada);
    const QString linha = QStringLiteral("IdEpp = %1").arg(id);
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", linha), 2.5);
    EXPECT_EQ(coluna("Imp_Devido", linha), "4000000");
    EXPECT_EQ(coluna("Num_Empreg", linha), "6");
    EXPECT_EQ(coluna("Cred_Presumido", linha), "1080000");
    EXPECT_EQ(coluna("Imp_Recolher", linha), "2920000");
    EXPECT_EQ(coluna("Subs_EntJR", linha), "150000");
    EXPECT_EQ(coluna("Subs_EntAR", linha), "300000");
    EXPECT_EQ(coluna("Dif_Aliquota", linha), "50000");
    EXPECT_EQ(coluna("Tipo", linha), "R");
    EXPECT_EQ(coluna("DtGeracao", linha), "2024-08-20T10:00:00");
    EXPECT_EQ(conta(), 1);

    // A row of the provisional measure opened on the old screen cannot be processed, so it is not rewritten.
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Perc_Recolh, Imp_Devido, Cred_TEF_ECF) VALUES "
            "(1, '200607', 'N', 1.0, 5000000, 1000000)");
    const int julho = int(sqlite3_last_insert_rowid(db()));
    TfrmIncluirZELEPP antiga(ctx, julho);
    Ativa(&antiga);
    informa(antiga.btnProcessa, kUseMP);
    EXPECT_FALSE(antiga.btnSalvarZel->isEnabled());
    EXPECT_EQ(coluna("Cred_TEF_ECF", QStringLiteral("IdEpp = %1").arg(julho)), "1000000");
}

// ----- the MP 37/06 screen

TEST_F(TelasEpp, MPUmPorCentoMenosCreditosENegativoRecusadoAoSalvar)
{
    TfrmApuraZELEPP2006 t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Apuração Regime EPP - Medida Provisória 37/06"));
    EXPECT_EQ(t.cmbAno->currentText(), "2007");
    EXPECT_EQ(t.edtPercRecolhimento->text(), "1,0 %");
    processa(t, "7", "2006");
    ASSERT_TRUE(t.btnSalvarZel->isEnabled());
    EXPECT_EQ(texto(t, "edtBase_RecApurada"), "50.000,00");
    EXPECT_EQ(texto(t, "edtBase_RecEfetiva"), "50.000,00");
    EXPECT_EQ(texto(t, "edtImp_Devido"), "500,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "500,00");

    digitaESai(t.campo("edtCredTEF_ECF"), "200,00");
    digitaESai(t.campo("edtCredChqMoradia"), "300,00");
    digitaESai(t.campo("edtCredChqEducacao"), "100,00");
    EXPECT_EQ(texto(t, "edtCredOutorgado"), "600,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "-100,00") << "shown negative";
    informa(t.btnSalvarZel, kNegativo);
    EXPECT_EQ(Foco(), "edtCredTEF_ECF");
    EXPECT_EQ(conta(), 0);
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());

    // An average whose 80 % is above the revenue raises the tax back over the credits.
    digitaESai(t.campo("edtMediaEntradas"), "80.000,00");
    EXPECT_EQ(texto(t, "edtBase_RecEfetiva"), "64.000,00");
    EXPECT_EQ(texto(t, "edtImp_Devido"), "640,00");
    EXPECT_EQ(texto(t, "edtImp_Recolher"), "40,00");

    // 03 typed before 02: told negative on leaving it, then 02 typed; 04 follows and is what is stored.
    t.pcPaginas->setCurrentIndex(1);
    digitaESai(t.campo("edtIcmsST_JR"), "15,00", QStringLiteral("Resultado Negativo!"));
    EXPECT_EQ(Foco(), "edtIcmsSTEntradas");
    Digita(t.campo("edtIcmsSTEntradas"), "45,00");
    informa(t.btnSalvarZel, kIncluida);
    EXPECT_EQ(texto(t, "edtIcmsST_AR"), "30,00");

    const QString linha = QStringLiteral("Periodo = '200607'");
    const std::pair<const char*, const char*> esperado[] = {
        {"Tipo", "N"},                 {"RecApurada", "500000000"},    {"MediaEntradas", "800000000"},
        {"RecEfetiva", "640000000"},   {"Imp_Devido", "6400000"},      {"Num_Empreg", "0"},
        {"TotalAquis", "0"},           {"Aquis_Inter", "0"},           {"Cred_Presumido", "0"},
        {"Cred_TEF_ECF", "2000000"},   {"Chq_Moradia", "3000000"},     {"Chq_Educacao", "1000000"},
        {"Total_Cred_Outorgado", "6000000"}, {"Imp_Recolher", "400000"},
        {"Subs_EntJR", "150000"},      {"Subs_EntAR", "300000"},
    };
    for (const auto& [nome, v] : esperado)
        EXPECT_EQ(coluna(nome, linha), v) << nome;
    EXPECT_DOUBLE_EQ(real("Perc_Recolh", linha), 1.0);
    for (const char* percentual : {"CredEmpreg", "Cred_Aq_Inter", "Perc_Cred_Pres"})
        EXPECT_DOUBLE_EQ(real(percentual, linha), 0) << percentual;
}

TEST_F(TelasEpp, EmpateDoUmPorCentoMostradoComoGuardado)
{
    // August and September 2006: revenues of 1.000,50 and 1.001,50, whose 1 % fall on half a cent:
    // 10,00 and 10,02 (ties to even), shown and stored alike.
    executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(10, 1, 2, '2006-08-10', 'S', '01', '1', '', '000010', '5102', 'P', 10005000, 'N', '2006-08-10'),"
            "(11, 1, 2, '2006-09-10', 'S', '01', '1', '', '000011', '5102', 'P', 10015000, 'N', '2006-09-10')");
    executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(10, 10005000, 0, 0, 0, '1700'), (11, 10015000, 0, 0, 0, '1700')");
    const struct {
        const char* mes;
        const char* periodo;
        qint64 imposto;
    } casos[] = {{"8", "200608", 100000}, {"9", "200609", 100200}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.periodo);
        TfrmApuraZELEPP2006 t(ctx);
        processa(t, c.mes, "2006");
        ASSERT_TRUE(t.btnSalvarZel->isEnabled());
        EXPECT_EQ(t.campo("edtImp_Devido")->valor().raw(), c.imposto);
        informa(t.btnSalvarZel, kIncluida);
        // Each figure stored is the one its field shows.
        const QString linha = QStringLiteral("Periodo = '%1'").arg(QLatin1String(c.periodo));
        for (auto [coluna, campo] : {std::pair{"RecApurada", "edtBase_RecApurada"}, std::pair{"RecEfetiva", "edtBase_RecEfetiva"},
                                     std::pair{"Imp_Devido", "edtImp_Devido"}, std::pair{"Imp_Recolher", "edtImp_Recolher"}}) {
            const auto mostrado = Money::parse(texto(t, campo));
            ASSERT_TRUE(mostrado) << campo;
            EXPECT_EQ(QString::number(mostrado->raw()), this->coluna(coluna, linha)) << coluna << " shown as " << texto(t, campo).toStdString();
        }
        EXPECT_EQ(this->coluna("Imp_Devido", linha), QString::number(c.imposto));
    }
}

// ----- the list

TEST_F(TelasEpp, ListaIncluiAlteraPelaChaveEExcluiDepoisDaPergunta)
{
    // Another taxpayer's row of the same period must come through untouched.
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Imp_Devido) VALUES (4, '200607', 'N', 777)");
    TfrmZELEPP3706 lista(ctx);
    Ativa(&lista);
    EXPECT_EQ(lista.windowTitle(), QString::fromUtf8("Relação de ZEL Cadastradas - Regime EPP"));
    EXPECT_EQ(lista.dbgZELEPP->model()->rowCount(), 0);
    for (QPushButton* b : {lista.btnAlterar, lista.btnExcluir, lista.btnImprimir, lista.btnGerarArquivo})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

    banco.dialogos.esperaTela("TfrmApuraZELEPP2006", [&](QObject* o) {
        auto* w = static_cast<TfrmApuraZELEPP2006*>(o);
        processa(*w, "7", "2006");
        informa(w->btnSalvarZel, kIncluida);
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(lista.btnIncluir);
    banco.dialogos.verificaConsumo();
    Ativa(&lista);
    ASSERT_EQ(lista.dbgZELEPP->model()->rowCount(), 1);
    EXPECT_EQ(lista.dbgZELEPP->model()->index(0, 0).data().toString(), "2006/07");
    EXPECT_TRUE(lista.btnAlterar->isEnabled());
    const int id = valor("SELECT IdEpp FROM ZEL_EPP WHERE IdContribuinte = 1").toInt();

    banco.dialogos.esperaTela("TfrmApuraZELEPP2006", [&](QObject* o) {
        auto* w = static_cast<TfrmApuraZELEPP2006*>(o);
        Ativa(w);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Alterar Apuração Regime EPP - MP 37/06"));
        EXPECT_EQ(w->cmbMes->currentText(), "7");
        Clica(w->btnProcessa);
        digitaESai(w->campo("edtCredTEF_ECF"), "100,00");
        EXPECT_EQ(texto(*w, "edtImp_Recolher"), "400,00");
        informa(w->btnSalvarZel, kAlterada);
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(lista.btnAlterar);
    banco.dialogos.verificaConsumo();
    Ativa(&lista);
    EXPECT_EQ(conta(), 2) << "changed in place";
    EXPECT_EQ(coluna("Cred_TEF_ECF", QStringLiteral("IdEpp = %1").arg(id)), "1000000");
    EXPECT_EQ(coluna("Imp_Recolher", QStringLiteral("IdEpp = %1").arg(id)), "4000000");
    EXPECT_EQ(coluna("Imp_Devido", "IdContribuinte = 4"), "777");

    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão ? "), false);
    Clica(lista.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(conta(), 2) << "No deletes nothing";
    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão ? "), true);
    banco.dialogos.esperaMensagem(QString::fromUtf8("Excluído com Sucesso."));
    Clica(lista.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(conta("IdContribuinte = 1"), 0);
    EXPECT_EQ(conta("IdContribuinte = 4"), 1);
    EXPECT_EQ(lista.dbgZELEPP->model()->rowCount(), 0);
    EXPECT_FALSE(lista.btnExcluir->isEnabled());

    // The old list opens the old screen, in change mode on the row of the key.
    const int maio = maioGuardado();
    TfrmZELEPPAntigo antiga(ctx);
    Ativa(&antiga);
    banco.dialogos.esperaTela("TfrmIncluirZELEPP", [&](QObject* o) {
        auto* w = static_cast<TfrmIncluirZELEPP*>(o);
        Ativa(w);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Alterar Apuração do Imposto"));
        EXPECT_EQ(w->cmbFaixa->currentIndex(), 3);
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(antiga.btnAlterar);
    banco.dialogos.verificaConsumo();
    banco.dialogos.esperaTela("TfrmIncluirZELEPP", [&](QObject* o) {
        auto* w = static_cast<TfrmIncluirZELEPP*>(o);
        Ativa(w);
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8("Apuração do Imposto - Regime EPP"));
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(antiga.btnIncluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(coluna("DtGeracao", QStringLiteral("IdEpp = %1").arg(maio)), "2024-01-02T03:04:05") << "closed unsaved";
}

TEST_F(TelasEpp, GerarArquivoCanceladoCalaEGravadoInforma)
{
    QTemporaryDir saida;
    maioGuardado();
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo) VALUES (1, '200604', 'N')");
    TfrmZELEPPAntigo t(ctx);
    Ativa(&t);
    ASSERT_EQ(t.dbgZELEPP->model()->rowCount(), 2);
    ASSERT_EQ(t.dbgZELEPP->model()->index(0, 0).data().toString(), "2006/05");

    // Cancelled: nothing written and nothing said.
    banco.dialogos.esperaSalvar("");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    ASSERT_FALSE(banco.dialogos.registros().isEmpty());
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "salvar");
    EXPECT_EQ(banco.dialogos.registros().last().texto, "EPP200605_123456789_332.txt") << "a rectifying declaration";
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");

    // April, chosen with a click: normal finality.
    const QRect r = t.dbgZELEPP->visualRect(t.dbgZELEPP->model()->index(1, 0));
    QTest::mouseClick(t.dbgZELEPP->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    const QString caminho = saida.filePath("EPP200604_123456789_331.txt");
    banco.dialogos.esperaSalvar(caminho);
    banco.dialogos.esperaMensagem("Arquivo gerado com sucesso!");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(banco.dialogos.registros()[banco.dialogos.registros().size() - 2].texto, "EPP200604_123456789_331.txt");
    ASSERT_TRUE(QFileInfo::exists(caminho));
    const QByteArray arquivo = TBancoTeste::conteudo(caminho);
    EXPECT_TRUE(arquivo.startsWith("1011222333000181123456789")) << arquivo.left(60).toStdString();
    EXPECT_EQ(arquivo.mid(107, 19), "2006040120060430331") << "April, normal finality";
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");
}

// ----- focus order

// Both screens after "Processa", in inclusion and in change, each page brought to front by its tab and
// walked with real Tab presses round the whole screen, against the order the fields are drawn in. The old
// screen's bracket refuses to be left at "Selecione": a bracket is chosen first; leaving it goes to "Número de
// Empregados", which is also the next field drawn, so the walk names no move of its own.
TEST_F(TelasEpp, TabSegueAOrdemDaTelaEmCadaPaginaNasDuasTelasENosDoisModos)
{
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, Perc_Recolh, Imp_Devido, Cred_TEF_ECF) VALUES "
            "(1, '200607', 'N', 1.0, 5000000, 1000000)");
    const int julho = int(sqlite3_last_insert_rowid(db()));
    const int maio = maioGuardado();
    const struct {
        const char* modo;
        bool mp;
        int id;
        const char* mes;
    } casos[] = {
        {"lei antiga, inclusão", false, 0, "4"},
        {"lei antiga, alteração", false, maio, nullptr},
        {"MP 37/06, inclusão", true, 0, "8"},
        {"MP 37/06, alteração", true, julho, nullptr},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        std::unique_ptr<TfrmCamposEPP> t;
        if (c.mp)
            t = std::make_unique<TfrmApuraZELEPP2006>(ctx, c.id);
        else
            t = std::make_unique<TfrmIncluirZELEPP>(ctx, c.id);
        if (c.id) {
            Ativa(t.get());
            Clica(t->btnProcessa);
            banco.dialogos.verificaConsumo();
        } else {
            processa(*t, QString::fromLatin1(c.mes), QStringLiteral("2006"));
        }
        ASSERT_TRUE(t->btnSalvarZel->isEnabled());
        if (t->cmbFaixa && t->cmbFaixa->currentIndex() == 0)
            EscolheFaixa(t->cmbFaixa, 2);
        for (int i = 0; i < t->pcPaginas->count(); ++i) {
            QTest::mouseClick(t->pcPaginas->tabBar(), Qt::LeftButton, Qt::NoModifier,
                              t->pcPaginas->tabBar()->tabRect(i).center());
            ASSERT_EQ(t->pcPaginas->currentIndex(), i);
            SCOPED_TRACE(t->pcPaginas->tabText(i).toStdString());
            QWidget* inicio = t->pcPaginas->tabBar();
            const int n = int(CamposNaTela(t.get()).size());
            EXPECT_EQ(CaminhoDoTab(inicio, n), OrdemNaTela(t.get(), inicio, n));
            banco.dialogos.verificaConsumo();
        }
    }
}

TEST_F(TelasEpp, TabSegueAOrdemDaTelaNasListasENasEntradasAntesDoProcessa)
{
    const int maio = maioGuardado();
    executa("INSERT INTO ZEL_EPP (IdContribuinte, Periodo, Tipo, RecApurada, Perc_Recolh) VALUES (1, '200608', 'N', "
            "100000000, 1.0)");
    const int agosto = int(sqlite3_last_insert_rowid(db()));
    const struct {
        const char* modo;
        std::function<std::unique_ptr<QDialog>()> abre;
    } casos[] = {
        {"lista da lei antiga", [this] { return std::make_unique<TfrmZELEPPAntigo>(ctx); }},
        {"lista da MP 37/06", [this] { return std::make_unique<TfrmZELEPP3706>(ctx); }},
        {"lei antiga, inclusão", [this] { return std::make_unique<TfrmIncluirZELEPP>(ctx); }},
        {"lei antiga, alteração", [this, maio] { return std::make_unique<TfrmIncluirZELEPP>(ctx, maio); }},
        {"MP 37/06, inclusão", [this] { return std::make_unique<TfrmApuraZELEPP2006>(ctx); }},
        {"MP 37/06, alteração", [this, agosto] { return std::make_unique<TfrmApuraZELEPP2006>(ctx, agosto); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        const std::unique_ptr<QDialog> t = c.abre();
        Ativa(t.get());
        const auto volta = VoltaDoTab(t.get());
        EXPECT_GE(volta.esperado.size(), 3) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
