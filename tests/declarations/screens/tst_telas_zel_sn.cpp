// The Simples Nacional screens over a temporary data folder, driven by real focus changes, keys and clicks:
// "Processa" and its period rules, the rules on leaving the rate and the ICMS, the category list with the
// branch's zeroed fields, the save's checks in their order for the branch and the head office (with and
// without documents in the month, on the head office's CNPJ and on another establishment's), the receipt
// page of 2011, the change mode with its recomputed substitutions and the question on closing; and the list
// with its inclusion, deletion and return file, whose date is recorded only once a file was written.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untFraRecibo.h"
#include "declarations/screens/untInformacoesSN.h"
#include "declarations/screens/untZELSN.h"
#include "db/untSqlite.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kIncluida = QString::fromUtf8("Informações Simples Nacional Incluídas com sucesso!");
const QString kAlterada = QString::fromUtf8("Informações do Simples Nacional Alteradas com sucesso!");
const QString kNaoConsta =
    QString::fromUtf8("A alíquota informada não consta entre as definidas no Simples Nacional. Continua ? ");
const QString kAliquotaVazia = QString::fromUtf8("A alíquota deve ser informada");
const QString kPerguntaFilial = QString::fromUtf8(
    "A empresa selecionada tem o CNPJ 11222333000181. Foi informado que a empresa é uma filial, contudo o CNPJ pode "
    "não ser dessa categoria. Confirma realmente se a empresa é uma filial ?");
// Establishment 0002 of another company.
const QString kCnpjFilial = Fixtura::Cnpj("223334440002");
const QString kPerguntaMatriz = QString::fromUtf8(
    "A empresa selecionada tem o CNPJ %1. Foi informado que a empresa é uma matriz ou estabelecimento "
    "único, contudo o CNPJ pode não ser dessa categoria. Confirma realmente se a empresa é matriz ou Estabelecimento "
    "único ?").arg(kCnpjFilial);
const QString kNaoSalvos = QString::fromUtf8(
    "O total das entradas e/ou a substituição por saida e/ou o ICMS retido fonte apresentados na tela não foram "
    "salvos. Deseja sair sem salvar ?");

// The question of an ICMS that is not revenue x rate, with both amounts as the screen writes them.
QString PerguntaIcms(const char* esperado, const char* informado)
{
    return QString::fromUtf8("O valor do ICMS a recolher obtido através da multiplicação do faturamento pela alíquota é "
                             "R$ %1. O valor do ICMS a recolher informado é R$ %2. Este valor será lançado na base de "
                             "dados da DVL e poderá ser fruto de futura cobrança. Tem certeza que o valor informado é o "
                             "certo ?")
        .arg(QString::fromLatin1(esperado), QString::fromLatin1(informado));
}

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

// Radio buttons stretched by their layout answer only on their circle and caption.
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

struct TelasSN : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 8, 20), QTime(10, 0))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        // Taxpayer 1 is a head office (establishment 0001), taxpayer 4 another establishment (0002).
        // All registered as the registers take them, the two establishments under the same accountant.
        TCadastroTeste cadastro(*banco.dtm, banco.dialogos);
        ASSERT_EQ(cadastro.contribuinte(), 1);
        ASSERT_EQ(cadastro.parte(), 2);
        ASSERT_EQ(cadastro.parte(Fixtura::Transportadora()), 3);
        TCamposContribuinte filial = Fixtura::Contribuinte();
        filial.numero = kCnpjFilial;
        filial.ccicms = Fixtura::IeDoEstado("55566677");
        filial.razaoSocial = "FILIAL EXEMPLO";
        ASSERT_EQ(cadastro.contribuinte(filial, 1), 4);
        ctx.IdAtivo = 1;
        banco.dtm->LerContribuinteAtivo(1);
        // July 2007 of taxpayer 1, worked out by hand:
        //   entries 800,00 (the valid purchase; the cancelled one of 300,00 is out);
        //   output substitution 50,00 (the sale with MVA "1" to the home state);
        //   source regime 20,00 (the sale with MVA "5").
        // September and October 2007 have no document at all.
        executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
                "(1, 1, 2, '2007-07-10', 'S', '01', '1', '', '000001', '5102', 'P', 10000000, 'N', '2007-07-10'),"
                "(2, 1, 2, '2007-07-11', 'S', '01', '1', '', '000002', '5405', 'P', 5000000, 'N', '2007-07-11'),"
                "(3, 1, 3, '2007-07-12', 'E', '01', '1', '', '000777', '2102', 'T', 8000000, 'N', '2007-07-12'),"
                "(4, 1, 2, '2007-07-13', 'E', '01', '1', '', '000888', '1102', 'T', 3000000, 'S', '2007-07-13')");
        executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
                "(1, 10000000, 1700000, 0, 0, '1700'), (3, 8000000, 560000, 0, 0, '0700'), "
                "(4, 3000000, 360000, 0, 0, '1200')");
        executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
                "(1, 3000000, 500000, 0, '1'), (2, 1000000, 200000, 0, '5')");
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& sql) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }
    QString coluna(const char* nome, const QString& onde)
    {
        return valor(QStringLiteral("SELECT ifnull(%1, 'NULL') FROM ZEL_SN WHERE %2").arg(QLatin1String(nome), onde))
            .toString();
    }
    int linha(const QString& colunas, const QString& valores)
    {
        executa(QStringLiteral("INSERT INTO ZEL_SN (%1) VALUES (%2)").arg(colunas, valores));
        return int(sqlite3_last_insert_rowid(db()));
    }

    static QString texto(const TfrmInformacoesSN& t, const char* campo)
    {
        TEdValor* c = t.campo(campo);
        return c ? c->text() : QStringLiteral("<sem campo %1>").arg(QLatin1String(campo));
    }
    static bool editavel(const TfrmInformacoesSN& t, const char* campo)
    {
        TEdValor* c = t.campo(campo);
        return c && c->isEnabled() && !c->isReadOnly();
    }

    void processa(TfrmInformacoesSN& t, const QString& mes, const QString& ano)
    {
        Ativa(&t);
        Digita(t.cmbMes, mes);
        Digita(t.cmbAno, ano);
        Clica(t.btnProcessa);
        banco.dialogos.verificaConsumo();
        ASSERT_TRUE(t.btnSalvar->isEnabled()) << "Processa did not go through";
    }
    // A button that must end with this box and no other.
    void informa(QAbstractButton* botao, const QString& mensagem, Botao resposta = Botao::Ok)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem, resposta);
        Clica(botao);
        banco.dialogos.verificaConsumo();
    }
    // A field typed and left; the leaving must show this box (none when empty), answered so.
    void digitaESai(QLineEdit* campo, const QString& valor, const QString& mensagem = QString(),
                    Botao resposta = Botao::Ok)
    {
        SCOPED_TRACE(campo->objectName().toStdString() + " = " + valor.toStdString());
        Digita(campo, valor);
        if (!mensagem.isEmpty())
            banco.dialogos.esperaMensagem(mensagem, resposta);
        Sai();
        banco.dialogos.verificaConsumo();
    }
    void aliquota(TfrmInformacoesSN& t, const QString& valor, const QString& mensagem = QString(),
                  Botao resposta = Botao::Ok)
    {
        SCOPED_TRACE("cbAliquotas = " + valor.toStdString());
        Digita(t.cbAliquotas, valor);
        if (!mensagem.isEmpty())
            banco.dialogos.esperaMensagem(mensagem, resposta);
        Sai();
        banco.dialogos.verificaConsumo();
    }
};

} // namespace

// ----- entry screen: "Processa"

TEST_F(TelasSN, ProcessaRecusaAntesDeJulhoDe2007EPeriodoJaCadastrado)
{
    linha("IdContribuinte, Periodo, Tipo", "1, '200708', 'N'");
    TfrmInformacoesSN t(ctx);
    Ativa(&t);
    const QString titulo = QString::fromUtf8("Informações complementares do Simples Nacional - CNPJ da empresa 11222333000181");
    EXPECT_EQ(t.windowTitle(), titulo);
    EXPECT_EQ(t.cmbAno->currentText(), "2024") << "the current year from the program's clock";
    EXPECT_EQ(t.cmbAno->count(), 23) << "2024 down to 2002";
    EXPECT_EQ(t.cmbAno->itemText(22), "2002");
    EXPECT_TRUE(t.rbNormal->isChecked());
    EXPECT_TRUE(t.rbCategoria[0]->isChecked());
    EXPECT_FALSE(t.pcPaginas->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());

    Digita(t.cmbMes, "6");
    Digita(t.cmbAno, "2007");
    informa(t.btnProcessa, QString::fromUtf8("O Mês deve ser a partir de 07/2007!"));
    EXPECT_EQ(Foco(), "cmbMes");
    Digita(t.cmbMes, "12");
    Digita(t.cmbAno, "2006");
    informa(t.btnProcessa, QString::fromUtf8("O Ano deve ser a partir de 2007!"));
    EXPECT_EQ(Foco(), "cmbAno");
    Digita(t.cmbMes, "8");
    Digita(t.cmbAno, "2007");
    informa(t.btnProcessa, QString::fromUtf8("Este Período já está cadastrado!"));
    for (QWidget* w : std::initializer_list<QWidget*>{t.pcPaginas, t.btnSalvar})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(t.grbPeriodo->isEnabled());
    EXPECT_EQ(texto(t, "edtTotEntradas"), "0,00") << "nothing is taken from the documents";
    EXPECT_EQ(conta("ZEL_SN"), 1);

    Digita(t.cmbMes, "7");
    Clica(t.btnProcessa);
    banco.dialogos.verificaConsumo();
    ASSERT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.pcPaginas->isEnabled());
    EXPECT_FALSE(t.grbPeriodo->isEnabled());
    EXPECT_EQ(texto(t, "edtTotEntradas"), "800,00");
    EXPECT_EQ(texto(t, "edtSubsSaida"), "50,00");
    EXPECT_EQ(texto(t, "edtICMSRetidoFonte"), "20,00");
    for (const char* calculado : {"edtTotEntradas", "edtSubsSaida", "edtICMSRetidoFonte"})
        EXPECT_FALSE(editavel(t, calculado)) << calculado;
    for (const char* digitado : {"edtFaturamento", "edtICMSSN", "edtSubsEntrada", "edtICMSAntecipado", "edtDifAliquota",
                                 "edtDifAliqComplem", "edtICMSImportacao", "edtMIRVELSN"})
        EXPECT_TRUE(editavel(t, digitado)) << digitado;
    EXPECT_TRUE(t.cbAliquotas->isEnabled());
    EXPECT_EQ(t.pcPaginas->currentWidget(), t.tsInformacoes);
    EXPECT_FALSE(t.pcPaginas->isTabVisible(t.pcPaginas->indexOf(t.fraRecibo))) << "no receipt before May 2011";
    EXPECT_EQ(Foco(), "edtDifAliquota");

    // Activated again after another window had the focus, the caption does not grow.
    QWidget outra;
    Ativa(&outra);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), titulo);
}

// ----- entry screen: leaving the rate and the ICMS

TEST_F(TelasSN, SaidaDaAliquotaPerguntaForaDaListaERecusaOQueOArquivoNaoComporta)
{
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");

    // Outside the list, "No": emptied, and the focus stays to have it written.
    aliquota(t, "4,00", kNaoConsta, Botao::Nao);
    EXPECT_EQ(t.cbAliquotas->currentText(), "");
    EXPECT_EQ(Foco(), "cbAliquotas");
    banco.dialogos.esperaMensagem(kAliquotaVazia);
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "cbAliquotas");

    aliquota(t, "abc", QString::fromUtf8("O valor informado não é um número válido"));
    EXPECT_EQ(Foco(), "cbAliquotas");
    aliquota(t, "-1", QString::fromUtf8("O valor do percentual da alíquota do ICMS não pode ser negativo"));
    EXPECT_EQ(t.cbAliquotas->currentText(), "");
    EXPECT_EQ(Foco(), "cbAliquotas");
    const QString largura =
        QString::fromUtf8("A alíquota do ICMS no Simples Nacional deve ser menor que 10% e ter no máximo duas casas decimais.");
    for (const char* taxa : {"10", "10,5", "3,955"}) {
        aliquota(t, QString::fromLatin1(taxa), largura);
        EXPECT_EQ(Foco(), "cbAliquotas") << taxa;
    }

    // The keypad's point is the decimal point: 2,50, never 25.
    aliquota(t, "2.5", kNaoConsta, Botao::Sim);
    EXPECT_EQ(t.cbAliquotas->currentText(), "2,50");
    EXPECT_NE(Foco(), "cbAliquotas");
    // A listed rate passes without a question, shown with two decimals.
    aliquota(t, "3,95");
    EXPECT_EQ(t.cbAliquotas->currentText(), "3,95");
    aliquota(t, "1,860");
    EXPECT_EQ(t.cbAliquotas->currentText(), "1,86");
    aliquota(t, "9,99", kNaoConsta, Botao::Sim);
    EXPECT_EQ(t.cbAliquotas->currentText(), "9,99");
}

TEST_F(TelasSN, AliquotaDigitadaComUmaCasaViraDuasDepoisDaPergunta)
{
    // "2,5" begins like the listed "2,56": what was typed is what is asked about, not a completion of it.
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    aliquota(t, "2,5", kNaoConsta, Botao::Sim);
    EXPECT_EQ(t.cbAliquotas->currentText(), "2,50");
}

TEST_F(TelasSN, SaidaDoIcmsConfereComFaturamentoVezesAliquota)
{
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    aliquota(t, "3,95");
    digitaESai(t.campo("edtFaturamento"), "10.000,00");
    // 10.000,00 x 3,95 % = 395,00: no question.
    digitaESai(t.campo("edtICMSSN"), "395,00");
    EXPECT_EQ(texto(t, "edtICMSSN"), "395,00");
    // Another value: asked with both amounts; "No" puts the computed one back.
    digitaESai(t.campo("edtICMSSN"), "400,00", PerguntaIcms("395,00", "400,00"), Botao::Nao);
    EXPECT_EQ(texto(t, "edtICMSSN"), "395,00");
    digitaESai(t.campo("edtICMSSN"), "400,00", PerguntaIcms("395,00", "400,00"), Botao::Sim);
    EXPECT_EQ(texto(t, "edtICMSSN"), "400,00");
    // "Yes" is the preselected answer: Enter keeps the value typed.
    Digita(t.campo("edtICMSSN"), "401,00");
    banco.dialogos.esperaMensagemTecla(PerguntaIcms("395,00", "401,00"), TDialogosRoteiro::Tecla::Enter);
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(texto(t, "edtICMSSN"), "401,00");

    // Thousands grouped in the question: 100.000,00 x 3,95 % = 3.950,00.
    digitaESai(t.campo("edtFaturamento"), "100.000,00");
    digitaESai(t.campo("edtICMSSN"), "3.950,01", PerguntaIcms("3.950,00", "3.950,01"), Botao::Nao);
    EXPECT_EQ(texto(t, "edtICMSSN"), "3.950,00");

    // Negative amounts: the message, 0 and the focus kept.
    digitaESai(t.campo("edtICMSSN"), "-5,00", QString::fromUtf8("O valor do ICMS a recolher não pode ser negativo"));
    EXPECT_EQ(texto(t, "edtICMSSN"), "0,00");
    EXPECT_EQ(Foco(), "edtICMSSN");
    digitaESai(t.campo("edtICMSSN"), "0,00");
    digitaESai(t.campo("edtFaturamento"), "-1,00", QString::fromUtf8("O valor do faturamento não pode ser negativo"));
    EXPECT_EQ(texto(t, "edtFaturamento"), "0,00");
    EXPECT_EQ(Foco(), "edtFaturamento");
    digitaESai(t.campo("edtFaturamento"), "1,00");
    digitaESai(t.campo("edtMIRVELSN"), "-0,01", QString::fromUtf8("O valor do MIRVEL não pode ser negativo"));
    EXPECT_EQ(texto(t, "edtMIRVELSN"), "0,00");
    EXPECT_EQ(Foco(), "edtMIRVELSN");
}

TEST_F(TelasSN, IcmsComAliquotaAindaVaziaPedeAAliquota)
{
    // The rate field skipped with the mouse: an empty rate is no number to multiply by.
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    digitaESai(t.campo("edtFaturamento"), "10.000,00");
    EXPECT_EQ(t.cbAliquotas->currentText(), "");
    digitaESai(t.campo("edtICMSSN"), "395,00", QString::fromUtf8("O valor da alíquota informada não é um número válido"));
    EXPECT_EQ(Foco(), "cbAliquotas");
    EXPECT_EQ(texto(t, "edtICMSSN"), "395,00");
}

// ----- entry screen: the branch

TEST_F(TelasSN, FilialZeraOsCamposDoRegimeEPerguntaPeloCnpjDaMatriz)
{
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    aliquota(t, "3,95");
    digitaESai(t.campo("edtFaturamento"), "10.000,00");
    digitaESai(t.campo("edtICMSSN"), "395,00");

    const QString zerar = QString::fromUtf8(
        "Foram encontrados valores nos campos do faturamento ou da alíquota ou do ICMS a recolher. A declaração da "
        "filial deve ter esses campos zerados. Deseja que eles sejam zerados ?");
    // "No": back on the first category, nothing touched.
    informa(t.rbCategoria[1], zerar, Botao::Nao);
    EXPECT_TRUE(t.rbCategoria[0]->isChecked());
    EXPECT_TRUE(t.grbInf3->isEnabled());
    EXPECT_EQ(texto(t, "edtFaturamento"), "10.000,00");
    EXPECT_EQ(t.cbAliquotas->currentText(), "3,95");
    // "Yes": the three zeroed and the group closed.
    informa(t.rbCategoria[1], zerar, Botao::Sim);
    EXPECT_TRUE(t.rbCategoria[1]->isChecked());
    EXPECT_FALSE(t.grbInf3->isEnabled());
    EXPECT_EQ(texto(t, "edtFaturamento"), "0,00");
    EXPECT_EQ(texto(t, "edtICMSSN"), "0,00");
    EXPECT_EQ(t.cbAliquotas->currentText(), "0,00");
    // The head office opens the group again; the branch chosen with nothing to zero only tells.
    Clica(t.rbCategoria[0]);
    EXPECT_TRUE(t.grbInf3->isEnabled());
    informa(t.rbCategoria[1], QString::fromUtf8("Não é necessário informar o faturamento, a alíquota e o ICMS a recolher "
                                                "na declaração da Filial"));
    EXPECT_FALSE(t.grbInf3->isEnabled());

    // The head office's number: "No" saves nothing.
    informa(t.btnSalvar, kPerguntaFilial, Botao::Nao);
    EXPECT_EQ(conta("ZEL_SN"), 0);
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    banco.dialogos.esperaMensagem(kPerguntaFilial, Botao::Sim);
    informa(t.btnSalvar, kIncluida);
    ASSERT_EQ(conta("ZEL_SN"), 1);
    const QString onde = QStringLiteral("Periodo = '200707'");
    EXPECT_EQ(coluna("categEstabel", onde), "2");
    EXPECT_EQ(coluna("Faturamento", onde), "0");
    EXPECT_EQ(coluna("ICMSSN", onde), "0");
    EXPECT_EQ(coluna("PercRecolhimento", onde).toDouble(), 0.0);
    EXPECT_EQ(coluna("TotEntradas", onde), "8000000");
    EXPECT_EQ(coluna("SubsSaidas", onde), "500000");
    EXPECT_EQ(coluna("ICMSRetidoFonte", onde), "200000");
    EXPECT_FALSE(t.btnSalvar->isEnabled());

    // Saved: closing asks nothing.
    Clica(t.btnFechar);
    EXPECT_FALSE(t.isVisible());
}

TEST_F(TelasSN, FilialGuardadaComValoresTemCadaUmZeradoNoSalvar)
{
    // An older row of a branch that still holds revenue, rate and ICMS.
    const int id = linha("IdContribuinte, Periodo, Tipo, Faturamento, PercRecolhimento, ICMSSN, TotEntradas, SubsSaidas, "
                         "ICMSRetidoFonte, categEstabel",
                         "1, '200707', 'N', 1000000, 2.5, 50000, 8000000, 500000, 200000, 2");
    TfrmInformacoesSN t(ctx, id);
    Ativa(&t);
    banco.dialogos.verificaConsumo(); // the category is not reacted to while the row loads
    EXPECT_TRUE(t.rbCategoria[1]->isChecked());
    EXPECT_FALSE(t.grbInf3->isEnabled());
    EXPECT_EQ(texto(t, "edtFaturamento"), "100,00");
    EXPECT_EQ(t.cbAliquotas->currentText(), "2,50");
    EXPECT_EQ(texto(t, "edtICMSSN"), "5,00");
    ASSERT_TRUE(t.btnSalvar->isEnabled()) << "Processa runs by itself";

    informa(t.btnSalvar, QString::fromUtf8("O faturamento não deve ser informado para a declaração de filial"));
    EXPECT_EQ(texto(t, "edtFaturamento"), "0,00");
    EXPECT_EQ(t.cbAliquotas->currentText(), "2,50") << "one field at a time";
    informa(t.btnSalvar, QString::fromUtf8("A alíquota não deve ser informada para a declaração de filial"));
    EXPECT_EQ(t.cbAliquotas->currentText(), "0,00");
    EXPECT_EQ(texto(t, "edtICMSSN"), "5,00");
    informa(t.btnSalvar, QString::fromUtf8("O ICMS a recolher não deve ser informado para a declaração de filial"));
    EXPECT_EQ(texto(t, "edtICMSSN"), "0,00");
    EXPECT_EQ(coluna("Faturamento", QStringLiteral("IdSN = %1").arg(id)), "1000000") << "nothing written yet";

    banco.dialogos.esperaMensagem(kPerguntaFilial, Botao::Sim);
    informa(t.btnSalvar, kAlterada);
    const QString onde = QStringLiteral("IdSN = %1").arg(id);
    EXPECT_EQ(coluna("Faturamento", onde), "0");
    EXPECT_EQ(coluna("ICMSSN", onde), "0");
    EXPECT_EQ(coluna("PercRecolhimento", onde).toDouble(), 0.0);
    EXPECT_EQ(coluna("categEstabel", onde), "2");
    EXPECT_EQ(coluna("DtAlteracao", onde), "2024-08-20T10:00:00");
    EXPECT_EQ(conta("ZEL_SN"), 1);
    EXPECT_FALSE(t.rdgTipo->isEnabled());
}

// ----- entry screen: the head office

TEST_F(TelasSN, MatrizNoMesComDocumentosRecusaATerceiraCategoriaEPedeAliquotaEIcms)
{
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    Clica(t.rbCategoria[2]);
    EXPECT_TRUE(t.grbInf3->isEnabled());
    aliquota(t, "0,00", kNaoConsta, Botao::Sim);
    informa(t.btnSalvar, QString::fromUtf8("Foram encontradas notas e/ou cupons fiscais vinculados à declaração. Para a "
                                           "categoria de estabelecimento informada não é permitido ter operações fiscais "
                                           "vinculadas à declaração"));
    EXPECT_EQ(Foco(), "edtDifAliquota");
    EXPECT_EQ(conta("ZEL_SN"), 0);

    Clica(t.rbCategoria[0]);
    digitaESai(t.campo("edtFaturamento"), "10.000,00");
    informa(t.btnSalvar, QString::fromUtf8("A alíquota não pode ser zero se o faturamento é diferente de zero"));
    EXPECT_EQ(Foco(), "cbAliquotas");
    aliquota(t, "3,95");
    informa(t.btnSalvar,
            QString::fromUtf8("O valor do ICMS não pode ser zero se o faturamento e a alíquota são diferentes de zero"));
    EXPECT_EQ(Foco(), "edtICMSSN");
    EXPECT_EQ(conta("ZEL_SN"), 0);

    digitaESai(t.campo("edtICMSSN"), "395,00");
    for (auto [campo, v] : {std::pair{"edtSubsEntrada", "12,34"}, std::pair{"edtICMSAntecipado", "1,00"},
                            std::pair{"edtDifAliquota", "2,00"}, std::pair{"edtDifAliqComplem", "3,00"},
                            std::pair{"edtICMSImportacao", "4,00"}, std::pair{"edtMIRVELSN", "5,00"}})
        digitaESai(t.campo(campo), QString::fromUtf8(v));
    // The head office's own number: no question.
    informa(t.btnSalvar, kIncluida);
    ASSERT_EQ(conta("ZEL_SN"), 1);
    const QString onde = QStringLiteral("Periodo = '200707'");
    const std::pair<const char*, const char*> esperado[] = {
        {"IdContribuinte", "1"},      {"Tipo", "N"},               {"Faturamento", "100000000"},
        {"ICMSSN", "3950000"},        {"TotEntradas", "8000000"},  {"SubsSaidas", "500000"},
        {"ICMSRetidoFonte", "200000"}, {"SubsEntradas", "123400"}, {"ImpAntecipado", "10000"},
        {"DifAliquota", "20000"},     {"DifAliqComplem", "30000"}, {"ICMSImportacao", "40000"},
        {"MirvelSN", "50000"},        {"categEstabel", "1"},       {"sitCadastroContrib", "NULL"},
        {"Recibo", "NULL"},           {"dataSitCadastro", "NULL"}, {"DtInclusao", "2024-08-20T10:00:00"},
        {"DtAlteracao", "NULL"},      {"DtGeracao", "NULL"},
    };
    for (const auto& [nome, v] : esperado)
        EXPECT_EQ(coluna(nome, onde), v) << nome;
    EXPECT_DOUBLE_EQ(coluna("PercRecolhimento", onde).toDouble(), 3.95);
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.grbInf1->isEnabled());
}

TEST_F(TelasSN, MatrizSemDocumentosEOutroEstabelecimento)
{
    {
        // Revenue of a single establishment needs documents; the head office without movement must have none.
        TfrmInformacoesSN t(ctx);
        processa(t, "9", "2007");
        aliquota(t, "3,95");
        digitaESai(t.campo("edtFaturamento"), "10.000,00");
        digitaESai(t.campo("edtICMSSN"), "395,00");
        informa(t.btnSalvar, QString::fromUtf8("Está sendo informado faturamento, contudo não foi localizada nenhuma nota "
                                               "e/ou cupons ficais vinculados à declaração."));
        EXPECT_EQ(Foco(), "edtFaturamento");
        EXPECT_EQ(conta("ZEL_SN"), 0);
        Clica(t.rbCategoria[2]);
        informa(t.btnSalvar, kIncluida);
        EXPECT_EQ(coluna("categEstabel", "Periodo = '200709'"), "3");
        EXPECT_EQ(coluna("Faturamento", "Periodo = '200709'"), "100000000");
    }
    {
        // No revenue: neither ICMS nor rate, the ICMS told first.
        TfrmInformacoesSN t(ctx);
        processa(t, "10", "2007");
        aliquota(t, "3,95");
        digitaESai(t.campo("edtICMSSN"), "5,00", PerguntaIcms("0,00", "5,00"), Botao::Sim);
        informa(t.btnSalvar,
                QString::fromUtf8("O valor do ICMS não pode ser diferente de zero se o faturamento é igual a zero"));
        EXPECT_EQ(Foco(), "edtICMSSN");
        digitaESai(t.campo("edtICMSSN"), "0,00");
        informa(t.btnSalvar,
                QString::fromUtf8("A alíquota não pode ser diferente de zero se o faturamento é igual a zero"));
        EXPECT_EQ(Foco(), "cbAliquotas");
        EXPECT_EQ(conta("ZEL_SN WHERE Periodo = '200710'"), 0);
    }
    // Another establishment's number declared as head office is asked about.
    ctx.IdAtivo = 4;
    banco.dtm->LerContribuinteAtivo(4);
    TfrmInformacoesSN t(ctx);
    processa(t, "7", "2007");
    EXPECT_TRUE(t.windowTitle().endsWith(kCnpjFilial));
    EXPECT_EQ(texto(t, "edtTotEntradas"), "0,00") << "taxpayer 1's documents are not this one's";
    aliquota(t, "0,00", kNaoConsta, Botao::Sim);
    informa(t.btnSalvar, kPerguntaMatriz, Botao::Nao);
    EXPECT_EQ(conta("ZEL_SN WHERE IdContribuinte = 4"), 0);
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    banco.dialogos.esperaMensagem(kPerguntaMatriz, Botao::Sim);
    informa(t.btnSalvar, kIncluida);
    EXPECT_EQ(coluna("categEstabel", "IdContribuinte = 4"), "1");
    EXPECT_EQ(coluna("Periodo", "IdContribuinte = 4"), "200707");
}

// ----- entry screen: the receipt page and the change mode

TEST_F(TelasSN, ReciboDe2011GravaTipoENumeroSemNuncaGravarDataZero)
{
    {
        // A rectifying declaration has no receipt page and stores none of its three columns.
        TfrmInformacoesSN t(ctx);
        processa(t, "5", "2011");
        const int recibo = t.pcPaginas->indexOf(t.fraRecibo);
        EXPECT_TRUE(t.pcPaginas->isTabVisible(recibo)) << "a normal declaration from May 2011";
        Clica(t.rbRetificadora);
        EXPECT_FALSE(t.pcPaginas->isTabVisible(recibo));
        EXPECT_EQ(t.pcPaginas->currentWidget(), t.tsInformacoes);
        aliquota(t, "0,00", kNaoConsta, Botao::Sim);
        informa(t.btnSalvar, kIncluida);
        const QString onde = QStringLiteral("Periodo = '201105'");
        EXPECT_EQ(coluna("Tipo", onde), "R");
        for (const char* nome : {"sitCadastroContrib", "Recibo", "dataSitCadastro"})
            EXPECT_EQ(coluna(nome, onde), "NULL") << nome;
    }
    const QString numero = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    {
        TfrmInformacoesSN t(ctx);
        processa(t, "6", "2011");
        aliquota(t, "0,00", kNaoConsta, Botao::Sim);
        informa(t.btnSalvar, QString::fromUtf8("O tipo de entrega deve ser informado"));
        EXPECT_EQ(t.pcPaginas->currentWidget(), t.fraRecibo);
        EXPECT_EQ(Foco(), "cbSituacaoCadastro") << "the field the message speaks of";
        EXPECT_EQ(conta("ZEL_SN WHERE Periodo = '201106'"), 0);
        // A monthly delivery with the previous receipt and no date.
        Digita(t.fraRecibo->edtNrRecibo, numero);
        t.fraRecibo->cbSituacaoCadastro->setCurrentIndex(0);
        informa(t.btnSalvar, kIncluida);
    }
    const QString onde = QStringLiteral("Periodo = '201106'");
    EXPECT_EQ(coluna("Tipo", onde), "N");
    EXPECT_EQ(coluna("sitCadastroContrib", onde), "0");
    EXPECT_EQ(coluna("Recibo", onde), numero);
    EXPECT_EQ(coluna("dataSitCadastro", onde), "NULL");
    const int id = valor("SELECT IdSN FROM ZEL_SN WHERE " + onde).toInt();

    {
        // Changed to a delivery after an inactive period, with its date.
        TfrmInformacoesSN t(ctx, id);
        Ativa(&t);
        ASSERT_TRUE(t.btnSalvar->isEnabled());
        EXPECT_EQ(t.fraRecibo->edtNrRecibo->text(), numero);
        EXPECT_EQ(t.fraRecibo->cbSituacaoCadastro->currentIndex(), 0);
        t.fraRecibo->cbSituacaoCadastro->setCurrentIndex(2);
        t.fraRecibo->edtDataSituacao->setText("10/05/2011");
        informa(t.btnSalvar, kAlterada);
    }
    EXPECT_EQ(coluna("sitCadastroContrib", onde), "2");
    EXPECT_EQ(coluna("dataSitCadastro", onde), "2011-05-10");
    {
        // And back to a monthly delivery: the date goes as no date, not as day 0.
        TfrmInformacoesSN t(ctx, id);
        Ativa(&t);
        EXPECT_EQ(t.fraRecibo->dataSituacao(), QDate(2011, 5, 10));
        t.fraRecibo->cbSituacaoCadastro->setCurrentIndex(0);
        t.fraRecibo->edtDataSituacao->setText(QString());
        informa(t.btnSalvar, kAlterada);
    }
    EXPECT_EQ(coluna("sitCadastroContrib", onde), "0");
    EXPECT_EQ(coluna("dataSitCadastro", onde), "NULL");
    EXPECT_EQ(coluna("Recibo", onde), numero);
}

TEST_F(TelasSN, AlteracaoRecalculaSubstituicoesEPerguntaAoFecharSemSalvar)
{
    // Another taxpayer's key shows nothing and offers nothing.
    const int alheia = linha("IdContribuinte, Periodo, Tipo, Faturamento", "4, '200707', 'N', 990000");
    {
        TfrmInformacoesSN t(ctx, alheia);
        Ativa(&t);
        EXPECT_EQ(texto(t, "edtFaturamento"), "0,00");
        EXPECT_FALSE(t.btnProcessa->isEnabled());
        EXPECT_FALSE(t.btnSalvar->isEnabled());
    }

    // July as stored earlier, before the documents were complete.
    const int id = linha("IdContribuinte, Periodo, Tipo, Faturamento, PercRecolhimento, ICMSSN, TotEntradas, SubsSaidas, "
                         "ICMSRetidoFonte, SubsEntradas, MirvelSN, categEstabel",
                         "1, '200707', 'N', 100000000, 3.95, 3950000, 1110000, 99900, 0, 123400, 50000, 1");
    {
        TfrmInformacoesSN t(ctx, id);
        Ativa(&t);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(t.cmbMes->currentText(), "7");
        EXPECT_EQ(t.cmbAno->currentText(), "2007");
        EXPECT_FALSE(t.grbPeriodo->isEnabled());
        EXPECT_TRUE(t.rbNormal->isChecked());
        EXPECT_TRUE(t.rbCategoria[0]->isChecked());
        EXPECT_EQ(t.cbAliquotas->currentText(), "3,95");
        EXPECT_EQ(texto(t, "edtFaturamento"), "10.000,00");
        EXPECT_EQ(texto(t, "edtICMSSN"), "395,00");
        EXPECT_EQ(texto(t, "edtSubsEntrada"), "12,34");
        EXPECT_EQ(texto(t, "edtMIRVELSN"), "5,00");
        // From the documents again.
        EXPECT_EQ(texto(t, "edtTotEntradas"), "800,00");
        EXPECT_EQ(texto(t, "edtSubsSaida"), "50,00");
        EXPECT_EQ(texto(t, "edtICMSRetidoFonte"), "20,00");
        ASSERT_TRUE(t.btnSalvar->isEnabled());

        informa(t.btnFechar, kNaoSalvos, Botao::Nao);
        EXPECT_TRUE(t.isVisible()) << "No stays on the screen";
        informa(t.btnFechar, kNaoSalvos, Botao::Sim);
        EXPECT_FALSE(t.isVisible());
        EXPECT_EQ(coluna("TotEntradas", QStringLiteral("IdSN = %1").arg(id)), "1110000");
    }
    {
        // Saved this time: the recomputed values are stored, and closing asks nothing.
        TfrmInformacoesSN t(ctx, id);
        Ativa(&t);
        informa(t.btnSalvar, kAlterada);
        const QString onde = QStringLiteral("IdSN = %1").arg(id);
        EXPECT_EQ(coluna("TotEntradas", onde), "8000000");
        EXPECT_EQ(coluna("SubsSaidas", onde), "500000");
        EXPECT_EQ(coluna("ICMSRetidoFonte", onde), "200000");
        EXPECT_EQ(coluna("SubsEntradas", onde), "123400");
        EXPECT_EQ(coluna("Faturamento", onde), "100000000");
        EXPECT_EQ(coluna("categEstabel", onde), "1");
        Clica(t.btnFechar);
        EXPECT_FALSE(t.isVisible());
    }
    EXPECT_EQ(coluna("Faturamento", QStringLiteral("IdSN = %1").arg(alheia)), "990000");

    // September has no document left: the 123,00 of entries stored differ from the 0,00 recomputed, so closing
    // asks; the old engine's day 0 shows no date.
    const int setembro = linha("IdContribuinte, Periodo, Tipo, TotEntradas, sitCadastroContrib, dataSitCadastro",
                               "1, '200709', 'N', 1230000, 0, '1899-12-30'");
    {
        TfrmInformacoesSN t(ctx, setembro);
        Ativa(&t);
        EXPECT_EQ(texto(t, "edtTotEntradas"), "0,00");
        EXPECT_FALSE(t.fraRecibo->dataSituacao().isValid());
        EXPECT_EQ(t.cbAliquotas->currentText(), "0,00");
        EXPECT_TRUE(t.rbCategoria[0]->isChecked()) << "no category stored is the first";
        informa(t.btnFechar, kNaoSalvos, Botao::Sim);
        EXPECT_FALSE(t.isVisible());
    }
    {
        TfrmInformacoesSN t(ctx, setembro);
        Ativa(&t);
        informa(t.btnSalvar, kAlterada);
    }
    const QString onde = QStringLiteral("IdSN = %1").arg(setembro);
    EXPECT_EQ(coluna("dataSitCadastro", onde), "NULL");
    EXPECT_EQ(coluna("TotEntradas", onde), "0");
    EXPECT_EQ(coluna("categEstabel", onde), "1");
}

TEST_F(TelasSN, FecharPerguntaExatamenteQuandoOMostradoDifereDoGuardado)
{
    // July's figures from the documents are 800,00 of entries, 50,00 and 20,00 of substitution. Stored as they
    // are now, with substitutions that are not zero: nothing shown differs, closing asks nothing. Stored with
    // another entries total only: closing asks.
    const struct {
        qint64 entradas, saidas, fonte;
        bool pergunta;
    } casos[] = {
        {8000000, 500000, 200000, false},
        {7990000, 500000, 200000, true},
        {8000000, 500000, 0, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::to_string(c.entradas) + " " + std::to_string(c.saidas) + " " + std::to_string(c.fonte));
        const int id = linha("IdContribuinte, Periodo, Tipo, PercRecolhimento, TotEntradas, SubsSaidas, ICMSRetidoFonte, "
                             "categEstabel",
                             QStringLiteral("1, '200707', 'N', 0, %1, %2, %3, 1").arg(c.entradas).arg(c.saidas).arg(c.fonte));
        TfrmInformacoesSN t(ctx, id);
        Ativa(&t);
        banco.dialogos.verificaConsumo();
        ASSERT_TRUE(t.btnSalvar->isEnabled());
        if (c.pergunta) {
            informa(t.btnFechar, kNaoSalvos, Botao::Nao);
            EXPECT_TRUE(t.isVisible()) << "No stays on the screen";
            informa(t.btnFechar, kNaoSalvos, Botao::Sim);
        } else {
            Clica(t.btnFechar);
            banco.dialogos.verificaConsumo();
        }
        EXPECT_FALSE(t.isVisible());
        executa(QStringLiteral("DELETE FROM ZEL_SN WHERE IdSN = %1").arg(id));
    }
}

TEST_F(TelasSN, SalvarComConsultaDosDocumentosFalhaMostraOErroENaoGrava)
{
    // September has no documents; with the month unreadable the save must not take it for a month without any.
    TfrmInformacoesSN t(ctx);
    processa(t, "9", "2007");
    aliquota(t, "0,00", kNaoConsta, Botao::Sim);
    executa("ALTER TABLE NotaTalao RENAME TO NotaTalao_fora");
    banco.dialogos.esperaSimples(QString());
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_FALSE(banco.dialogos.registros().isEmpty());
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "simples");
    EXPECT_TRUE(banco.dialogos.registros().last().texto.contains("NOTATALAO", Qt::CaseInsensitive))
        << banco.dialogos.registros().last().texto.toStdString();
    EXPECT_EQ(conta("ZEL_SN"), 0);
    EXPECT_TRUE(t.btnSalvar->isEnabled());

    // Readable again: the same save goes through.
    executa("ALTER TABLE NotaTalao_fora RENAME TO NotaTalao");
    informa(t.btnSalvar, kIncluida);
    EXPECT_EQ(conta("ZEL_SN WHERE Periodo = '200709'"), 1);
}

// ----- the list

TEST_F(TelasSN, ListaIncluiAlteraPelaLinhaEExclui)
{
    {
        TfrmZELSN vazia(ctx);
        Ativa(&vazia);
        EXPECT_EQ(vazia.windowTitle(), QString::fromUtf8("Relação de ZEL Cadastradas - Regime Simples Nacional"));
        for (QPushButton* b : {vazia.btnAlterar, vazia.btnExcluir, vazia.btnImprimir, vazia.btnGerarArquivo})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(vazia.btnIncluir->isEnabled());
    }
    linha("IdContribuinte, Periodo, Tipo", "1, '200708', 'N'");
    linha("IdContribuinte, Periodo, Tipo", "1, '200712', 'R'");
    linha("IdContribuinte, Periodo, Tipo", "1, '200707', 'N'");
    linha("IdContribuinte, Periodo, Tipo", "4, '200801', 'N'");
    TfrmZELSN t(ctx);
    Ativa(&t);
    auto periodos = [&t] {
        QStringList r;
        for (int i = 0; i < t.dbgZELSN->model()->rowCount(); ++i)
            r << t.dbgZELSN->model()->index(i, 0).data().toString();
        return r;
    };
    EXPECT_EQ(periodos(), QStringList({"2007/12", "2007/08", "2007/07"})) << "the open taxpayer's, newest first";
    for (QPushButton* b : {t.btnAlterar, t.btnExcluir, t.btnImprimir, t.btnGerarArquivo})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // Inclusion from the list; the list is read again when the screen closes.
    banco.dialogos.esperaTela("TfrmInformacoesSN", [this](QObject* o) {
        auto* w = static_cast<TfrmInformacoesSN*>(o);
        processa(*w, "9", "2007");
        aliquota(*w, "0,00", kNaoConsta, Botao::Sim);
        informa(w->btnSalvar, kIncluida);
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(t.btnIncluir);
    banco.dialogos.verificaConsumo();
    Ativa(&t);
    EXPECT_EQ(periodos(), QStringList({"2007/12", "2007/09", "2007/08", "2007/07"}));

    // The change screen opens on the row chosen in the grid.
    const QRect r = t.dbgZELSN->visualRect(t.dbgZELSN->model()->index(2, 0));
    QTest::mouseClick(t.dbgZELSN->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QString mesVisto, anoVisto;
    banco.dialogos.esperaTela("TfrmInformacoesSN", [&](QObject* o) {
        auto* w = static_cast<TfrmInformacoesSN*>(o);
        Ativa(w);
        mesVisto = w->cmbMes->currentText();
        anoVisto = w->cmbAno->currentText();
        Clica(w->btnFechar);
        return w->result();
    });
    Clica(t.btnAlterar);
    banco.dialogos.verificaConsumo();
    Ativa(&t);
    EXPECT_EQ(anoVisto + "/" + mesVisto, "2007/8");

    // Deletion of the chosen row after the question; "No" deletes nothing.
    QTest::mouseClick(t.dbgZELSN->viewport(), Qt::LeftButton, Qt::NoModifier,
                      t.dbgZELSN->visualRect(t.dbgZELSN->model()->index(0, 0)).center());
    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão ? "), false);
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(conta("ZEL_SN"), 5);
    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão ? "), true);
    banco.dialogos.esperaMensagem(QString::fromUtf8("Excluído com Sucesso."));
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(conta("ZEL_SN WHERE Periodo = '200712'"), 0);
    EXPECT_EQ(conta("ZEL_SN"), 4);
    EXPECT_EQ(periodos(), QStringList({"2007/09", "2007/08", "2007/07"}));
}

TEST_F(TelasSN, GerarArquivoSoRegistraADataDepoisDeGravarOArquivo)
{
    QTemporaryDir saida;
    const int id = linha("IdContribuinte, Periodo, Tipo, categEstabel", "1, '200709', 'N', 1");
    const QString onde = QStringLiteral("IdSN = %1").arg(id);
    TfrmZELSN t(ctx);
    Ativa(&t);

    // The save dialog cancelled: nothing written, nothing said, no date.
    banco.dialogos.esperaSalvar("");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    ASSERT_FALSE(banco.dialogos.registros().isEmpty());
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "salvar");
    EXPECT_EQ(banco.dialogos.registros().last().texto, "SN200709_123456789_331.txt");
    EXPECT_EQ(coluna("DtGeracao", onde), "NULL");
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");

    // A file that cannot be written: the error, and still no date.
    banco.dialogos.esperaSalvar(saida.filePath("nao-existe/SN200709.txt"));
    banco.dialogos.esperaSimples(QString()); // the writer's own message, and nothing more
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(coluna("DtGeracao", onde), "NULL");

    // Written: the date of that moment.
    relogio.ajusta(QDateTime(QDate(2024, 8, 21), QTime(9, 30)));
    const QString caminho = saida.filePath("SN200709_123456789_331.txt");
    banco.dialogos.esperaSalvar(caminho);
    banco.dialogos.esperaMensagem("Arquivo gerado com sucesso!");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    ASSERT_TRUE(QFileInfo::exists(caminho));
    const QByteArray arquivo = TBancoTeste::conteudo(caminho);
    EXPECT_TRUE(arquivo.startsWith("1011222333000181123456789")) << arquivo.left(60).toStdString();
    EXPECT_EQ(arquivo.mid(107, 19), "2007090120070930331") << "September, normal finality";
    EXPECT_EQ(coluna("DtGeracao", onde), "2024-08-21T09:30:00");
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());

    // The date that cannot be recorded is told alone, after the file.
    executa("CREATE TRIGGER recusa_sn BEFORE UPDATE ON ZEL_SN BEGIN SELECT RAISE(ABORT, 'somente leitura'); END");
    relogio.ajusta(QDateTime(QDate(2024, 8, 22), QTime(8, 0)));
    banco.dialogos.esperaSalvar(caminho);
    banco.dialogos.esperaMensagem("Erro no registro da data de geracao do arquivo");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(coluna("DtGeracao", onde), "2024-08-21T09:30:00");
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
}

// ----- focus order

// After "Processa", each page brought to front by its tab and walked with real Tab presses round the whole
// screen, against the order the fields are drawn in: a head office of July 2007 (the rate typed first: it
// refuses to be left empty), a branch (the rate, the sales and the tax closed), May 2011 with the page
// "Recibo", and the change of a stored July.
TEST_F(TelasSN, TabSegueAOrdemDaTelaEmCadaPaginaECategoriaNaInclusaoENaAlteracao)
{
    const int guardada = linha("IdContribuinte, Periodo, Tipo, Faturamento, PercRecolhimento, ICMSSN, categEstabel",
                               "1, '200708', 'N', 100000000, 3.95, 3950000, 1");
    const struct {
        const char* modo;
        int id;
        const char* mes;
        const char* ano;
        int categoria;
        int paginas;
    } casos[] = {
        {"matriz, inclusão de 07/2007", 0, "7", "2007", 0, 1},
        {"filial, inclusão de 07/2007", 0, "7", "2007", 1, 1},
        {"matriz, inclusão de 05/2011 com a página Recibo", 0, "5", "2011", 0, 2},
        {"alteração de 08/2007", guardada, nullptr, nullptr, 0, 1},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        TfrmInformacoesSN t(ctx, c.id);
        if (c.id) {
            Ativa(&t);
            if (t.btnProcessa->isEnabled())
                Clica(t.btnProcessa);
            banco.dialogos.verificaConsumo();
        } else {
            processa(t, QString::fromLatin1(c.mes), QString::fromLatin1(c.ano));
        }
        ASSERT_TRUE(t.btnSalvar->isEnabled());
        if (c.categoria)
            informa(t.rbCategoria[c.categoria], QString::fromUtf8("Não é necessário informar o faturamento, a alíquota e o "
                                                                  "ICMS a recolher na declaração da Filial"));
        else
            aliquota(t, "3,95");
        ASSERT_TRUE(t.rbCategoria[c.categoria]->isChecked());
        EXPECT_EQ(t.grbInf3->isEnabled(), c.categoria != 1);
        int visitadas = 0;
        for (int i = 0; i < t.pcPaginas->count(); ++i) {
            if (!t.pcPaginas->isTabVisible(i))
                continue;
            ++visitadas;
            QTest::mouseClick(t.pcPaginas->tabBar(), Qt::LeftButton, Qt::NoModifier, t.pcPaginas->tabBar()->tabRect(i).center());
            ASSERT_EQ(t.pcPaginas->currentIndex(), i);
            SCOPED_TRACE(t.pcPaginas->tabText(i).toStdString());
            QWidget* inicio = t.pcPaginas->tabBar();
            const int n = int(CamposNaTela(&t).size());
            EXPECT_EQ(CaminhoDoTab(inicio, n), OrdemNaTela(&t, inicio, n));
            banco.dialogos.verificaConsumo();
        }
        EXPECT_EQ(visitadas, c.paginas);
    }
}

TEST_F(TelasSN, TabSegueAOrdemDaTelaNaListaENaEntradaAntesDoProcessa)
{
    const struct {
        const char* modo;
        std::function<std::unique_ptr<QDialog>()> abre;
    } casos[] = {
        {"lista vazia", [this] { return std::make_unique<TfrmZELSN>(ctx); }},
        {"lista com declarações",
         [this] {
             linha("IdContribuinte, Periodo, Tipo", "1, '200708', 'N'");
             return std::make_unique<TfrmZELSN>(ctx);
         }},
        {"inclusão antes do Processa", [this] { return std::make_unique<TfrmInformacoesSN>(ctx); }},
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
