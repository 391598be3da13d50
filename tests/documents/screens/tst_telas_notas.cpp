// The invoice screens over a temporary data folder: the entry screen's states, checks and writing, its
// transaction, the change screen and the browse screen with its search, sums, chart and deletion.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

#include "widgets/untTelas.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/untSqlite.h"
#include "documents/screens/untAlterarNotasFiscais.h"
#include "documents/screens/untIncluirNotasFiscais.h"
#include "documents/screens/untNotasFiscais.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"

namespace {

const QString kCnpjLocal = QStringLiteral("11222333000181");
const QString kCnpjPaulista = QStringLiteral("22333444000155");
const QString kCnpjExterior = QStringLiteral("33444555000166");
const QString kGravada = QStringLiteral("Nota Gravada com Sucesso!");
const QStringList kTabelas = {QStringLiteral("NotaFiscal"), QStringLiteral("NFICMS"), QStringLiteral("NFIPI"),
                              QStringLiteral("NFSUBSTRIB")};

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Clica(QAbstractButton* botao)
{
    QTest::mouseClick(botao, Qt::LeftButton);
}

struct TelasNotas : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    int contribuinte = 0;
    int local = 0; // the counterparty in the home state; others in "SP" and abroad

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        contribuinte = parte("COMERCIO ATIVO", "99888777000100", "ZR", "C");
        local = parte("FORNECEDOR LOCAL", kCnpjLocal, "ZR", "F");
        parte("CLIENTE PAULISTA", kCnpjPaulista, "SP", "F");
        parte("IMPORTADOR", kCnpjExterior, "EX", "F");
        ctx.IdAtivo = contribuinte;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    QStringList lista(const QString& sql) { return TBancoTeste::listaDireta(db(), sql); }
    bool emTransacao() { return sqlite3_get_autocommit(db()) == 0; }

    int parte(const QString& razao, const QString& cnpj, const QString& uf, const QString& tipo)
    {
        executa(QStringLiteral("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) "
                               "VALUES ('%1', '123456789', '%2', '%3', '%4')")
                    .arg(cnpj, razao, uf, tipo));
        return int(sqlite3_last_insert_rowid(db()));
    }

    // An invoice written straight into the four tables, 1.000,00 with 170,00 of ICMS at 17 %.
    int nota(const QString& numero, const QString& dia, const QString& situacao = QStringLiteral("N"),
             const QString& tipo = QStringLiteral("S"), const QString& modelo = QStringLiteral("01"),
             int dest = 0, const QString& alteracao = QStringLiteral("2024-07-01T08:00:00"))
    {
        const QString cfop = situacao == QLatin1String("4") ? QStringLiteral("5949")
                             : tipo == QLatin1String("S")   ? QStringLiteral("5102")
                                                            : QStringLiteral("1102");
        executa(QStringLiteral("INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                               "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, Obs, DtUltAlteracao) "
                               "VALUES (%1, %2, '%3', '%4', '%5', '1', '', '%6', '%7', '%8', 10000000, '%9', "
                               "'VENDA', '%10')")
                    .arg(contribuinte)
                    .arg(dest ? dest : local)
                    .arg(dia, tipo, modelo, numero, cfop, tipo == QLatin1String("S") ? QStringLiteral("P") : QStringLiteral("T"), situacao, alteracao));
        const int id = int(sqlite3_last_insert_rowid(db()));
        executa(QStringLiteral("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, "
                               "AliquotaICMS) VALUES (%1, 10000000, 1700000, 0, 0, '1700')").arg(id));
        executa(QStringLiteral("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (%1, 0, 0, 0)")
                    .arg(id));
        executa(QStringLiteral("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
                               "VALUES (%1, 0, 0, 0, ' ')").arg(id));
        return id;
    }

    // The rows of the four tables, in their order.
    QList<int> linhas()
    {
        QList<int> r;
        for (const QString& t : kTabelas)
            r << valor(QStringLiteral("SELECT COUNT(*) FROM ") + t).toInt();
        return r;
    }
    // The rows of the four tables that belong to one invoice.
    QList<int> linhasDa(int idNota)
    {
        QList<int> r;
        for (const QString& t : kTabelas)
            r << valor(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE IdNotaFiscal = %2").arg(t).arg(idNota)).toInt();
        return r;
    }
    QString daNota(const char* coluna, const QString& numero)
    {
        return valor(QStringLiteral("SELECT %1 FROM NotaFiscal WHERE NumeroNF = '%2'").arg(QLatin1String(coluna), numero))
            .toString();
    }

    // The texts of every box shown so far, plain or not.
    QStringList mensagens() const
    {
        QStringList r;
        for (const auto& m : banco.dialogos.registros())
            r << m.texto;
        return r;
    }
    // Clicks a button that must end with this message (a plain box when `simples`), after the prompts
    // already expected; anything else shown fails the test.
    void informa(QAbstractButton* botao, const QString& mensagem, bool simples = false)
    {
        SCOPED_TRACE(mensagem.toStdString());
        if (simples)
            banco.dialogos.esperaSimples(mensagem);
        else
            banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        EXPECT_EQ(banco.dialogos.pendentes(), 0);
        EXPECT_EQ(mensagens().value(mensagens().size() - 1), mensagem);
        banco.dialogos.verificaConsumo();
    }
    void recusa(QAbstractButton* botao, const QString& mensagem, const QString& campo, bool simples = false)
    {
        SCOPED_TRACE(mensagem.toStdString());
        informa(botao, mensagem, simples);
        EXPECT_EQ(Foco(), campo);
    }

    // The counterparty found by its CNPJ, as on leaving the field.
    static void escolheDestino(TfrmCamposNotaFiscal& t, const QString& cnpj)
    {
        t.edtCnpjDestino->setText(cnpj);
        t.saiDestino();
    }
    static void escolheCfop(TfrmCamposNotaFiscal& t, const QString& codigo)
    {
        t.edtCodCFOP->setText(codigo);
        t.entraCfop();
        t.saiCfop();
    }
    // A complete note of the kind already chosen on the screen, dated 10/05/2024.
    static void preenche(TfrmCamposNotaFiscal& t, const QString& numero, const QString& cnpj, const QString& cfop,
                         const QString& aliquota = QStringLiteral("17"))
    {
        t.edtModelo->setText("01");
        t.edtSerie->setText("1");
        t.edtNumeroNF->setText(numero);
        t.edtEmissao->setDate(QDate(2024, 5, 10));
        t.edtValorNF->setText("1.000,00");
        escolheDestino(t, cnpj);
        escolheCfop(t, cfop);
        t.edtObservacao->setText(QString::fromUtf8("Venda balcão"));
        t.edtBaseIcms->setText("1.000,00");
        t.edtAliquota->setText(aliquota);
        t.edtValorIcms->defineValor(*Money::parse(aliquota == QLatin1String("17") ? "170,00" : "120,00"));
    }
    static void novaSaida(TfrmIncluirNotasFiscais& t)
    {
        Clica(t.btnNovaNota);
        Clica(t.rbSaida);
    }
    static void verificaEditando(TfrmIncluirNotasFiscais& t, bool sim)
    {
        EXPECT_EQ(t.btnNovaNota->isEnabled(), !sim);
        EXPECT_EQ(t.btnFechar->isEnabled(), !sim);
        EXPECT_EQ(t.btnCancelar->isEnabled(), sim);
        EXPECT_EQ(t.btnSalvar->isEnabled(), sim);
        EXPECT_EQ(t.grbDados->isEnabled(), sim);
        EXPECT_EQ(t.grbImpostos->isEnabled(), sim);
        EXPECT_EQ(t.transacaoAberta(), sim);
    }
};

} // namespace

// ----- entry screen

TEST_F(TelasNotas, LancamentoOciosoAteNovaNotaETipoLiberaSituacoes)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.btnNovaNota->text(), "&Nova Nota");
    verificaEditando(t, false);
    EXPECT_FALSE(t.rgSituacaoNF->isEnabled());
    EXPECT_EQ(Foco(), "btnNovaNota");
    EXPECT_EQ(t.edtModelo->text(), "01");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 7, 15));
    EXPECT_EQ(t.cmbAno->currentText(), "2024");

    Clica(t.btnNovaNota);
    verificaEditando(t, true);
    EXPECT_EQ(Foco(), "edtModelo");
    EXPECT_TRUE(t.rbEntrada->isChecked());
    EXPECT_TRUE(t.rbTerceiros->isChecked());
    EXPECT_TRUE(t.rdgEmitente->isEnabled());
    EXPECT_FALSE(t.rgSituacaoNF->isEnabled());
    EXPECT_FALSE(t.chbSituacao->isEnabled());
    EXPECT_FALSE(t.edtBaseSubst->isEnabled()) << "only a code that admits substitution opens these";

    Clica(t.rbSaida);
    EXPECT_TRUE(t.rgSituacaoNF->isEnabled());
    EXPECT_TRUE(t.chbSituacao->isEnabled());
    EXPECT_TRUE(t.rbProprio->isChecked());
    EXPECT_FALSE(t.rdgEmitente->isEnabled());
    EXPECT_FALSE(t.grbFaixa->isEnabled());
    EXPECT_EQ(Foco(), "edtModelo");

    // The voided range is typed only with "Uso inutilizado"; "Uso denegado" takes it away.
    Clica(t.rbInutilizado);
    EXPECT_TRUE(t.grbFaixa->isEnabled());
    t.edtInicioInutilizado->setText("5");
    Clica(t.rbDenegado);
    EXPECT_FALSE(t.rbInutilizado->isChecked());
    EXPECT_FALSE(t.grbFaixa->isEnabled());
    EXPECT_EQ(t.edtInicioInutilizado->text(), "");

    // A cancelled note moves nothing: values, counterparty and code are locked.
    Clica(t.chbSituacao);
    EXPECT_FALSE(t.rgSituacaoNF->isEnabled());
    EXPECT_FALSE(t.rbDenegado->isChecked());
    EXPECT_FALSE(t.grbImpostos->isEnabled());
    EXPECT_FALSE(t.grbDestino->isEnabled());
    EXPECT_FALSE(t.edtValorNF->isEnabled());

    // Back to an entry: no situations, and what the cancelled mark locked is open again.
    Clica(t.rbEntrada);
    EXPECT_FALSE(t.chbSituacao->isChecked());
    EXPECT_FALSE(t.chbSituacao->isEnabled());
    EXPECT_FALSE(t.rgSituacaoNF->isEnabled());
    EXPECT_TRUE(t.rbTerceiros->isChecked());
    EXPECT_TRUE(t.grbImpostos->isEnabled());
    EXPECT_TRUE(t.grbDestino->isEnabled());
    EXPECT_TRUE(t.grbCfop->isEnabled());
    EXPECT_TRUE(t.edtValorNF->isEnabled());

    Clica(t.btnCancelar);
    verificaEditando(t, false);
    EXPECT_FALSE(emTransacao());
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(TelasNotas, NotaCanceladaGravadaNaoTravaAProxima)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    t.edtSerie->setText("1");
    t.edtNumeroNF->setText("50");
    t.edtEmissao->setDate(QDate(2024, 5, 10));
    Clica(t.chbSituacao);
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(daNota("Situacao || Cfop || IdEmtDest", "000050"), "S5949" + QString::number(contribuinte));

    Clica(t.btnNovaNota);
    EXPECT_FALSE(t.chbSituacao->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(t.edtValorNF), static_cast<QWidget*>(t.grbImpostos),
                       static_cast<QWidget*>(t.grbDestino), static_cast<QWidget*>(t.grbCfop)})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    Clica(t.btnCancelar);
}

TEST_F(TelasNotas, SalvarVerificaNaOrdemSemGravar)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    preenche(t, "123", kCnpjLocal, "5102");
    EXPECT_EQ(t.lblNomeDestino->text(), "FORNECEDOR LOCAL");
    EXPECT_EQ(t.lblUF->text(), "ZR");
    EXPECT_FALSE(t.MemoCfop->toPlainText().isEmpty());

    t.edtModelo->setText("02");
    recusa(t.btnSalvar, QString::fromUtf8("Modelo de Nota Inválido!\nModelos válidos 01,04,06,21,22 e 55."), "edtModelo");
    t.edtModelo->setText("01");
    t.edtSerie->setText("UU");
    recusa(t.btnSalvar, QString::fromUtf8("Série da Nota Inválida!\nSéries válidas U,B,C,E,BU,CU e EU."), "edtSerie");
    // The refused series shows selected: what is typed replaces it.
    QCoreApplication::processEvents();
    QTest::keyClicks(QApplication::focusWidget(), "1");
    EXPECT_EQ(t.edtSerie->text(), "1");
    t.edtNumeroNF->setText("0");
    recusa(t.btnSalvar, QString::fromUtf8("Número da Nota Inválido!"), "edtNumeroNF");
    EXPECT_EQ(t.edtNumeroNF->text(), "");
    t.edtNumeroNF->setText("123");
    escolheDestino(t, kCnpjPaulista);
    EXPECT_EQ(t.lblUF->text(), "SP");
    recusa(t.btnSalvar, QString::fromUtf8("UF Inválida para CFOP informado!"), "edtCodCFOP");
    escolheDestino(t, kCnpjExterior);
    recusa(t.btnSalvar, QString::fromUtf8("UF Inválida para CFOP informado!"), "edtCodCFOP");

    EXPECT_EQ(linhas(), (QList<int>{0, 0, 0, 0}));
    verificaEditando(t, true);
    EXPECT_EQ(t.edtObservacao->text(), QString::fromUtf8("Venda balcão")) << "a refusal keeps what was typed";
    EXPECT_FALSE(t.edtSubSerie->isEnabled()) << "no subseries from 2003 on";
}

TEST_F(TelasNotas, CodigoForaDoTipoNaoEhAceitoNoCampo)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    t.edtEmissao->setDate(QDate(2024, 5, 10));
    escolheCfop(t, "1102"); // an entry code on an exit
    EXPECT_EQ(t.edtCodCFOP->text(), "");
    EXPECT_EQ(t.MemoCfop->toPlainText(), "");
    EXPECT_EQ(Foco(), "edtCodCFOP");
    escolheCfop(t, "5102");
    EXPECT_EQ(t.edtCodCFOP->text(), "5102");
    EXPECT_FALSE(t.MemoCfop->toPlainText().isEmpty());
    EXPECT_EQ(Foco(), "edtObservacao");
    Clica(t.btnCancelar);
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());
}

TEST_F(TelasNotas, GravaVoltaAoRepousoERepeticaoDependeDaAliquota)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    preenche(t, "123", kCnpjLocal, "5102");
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(linhas(), (QList<int>{1, 1, 1, 1}));
    verificaEditando(t, false);
    EXPECT_EQ(t.edtSerie->text(), "");
    EXPECT_EQ(t.edtNumeroNF->text(), "");
    EXPECT_EQ(t.edtObservacao->text(), "");
    EXPECT_EQ(t.edtValorNF->valor(), Money());
    EXPECT_TRUE(t.rbEntrada->isChecked());
    EXPECT_EQ(Foco(), "btnNovaNota");
    EXPECT_FALSE(emTransacao());

    EXPECT_EQ(daNota("TipoNota || Emitente || Situacao || Cfop || Modelo || Serie", "000123"), "SPN5102011");
    EXPECT_EQ(daNota("IdEmtDest", "000123").toInt(), local);
    EXPECT_EQ(daNota("IdContribuinte", "000123").toInt(), contribuinte);
    EXPECT_EQ(daNota("DtEmissao", "000123"), "2024-05-10");
    EXPECT_EQ(daNota("DtUltAlteracao", "000123"), "2024-07-15T09:30:00");
    EXPECT_EQ(daNota("Obs", "000123"), "VENDA BALCAO");
    EXPECT_EQ(valor("SELECT AliquotaICMS || '/' || ValorICMS FROM NFICMS").toString(), "1700/1700000");

    // Committed: another connection sees it.
    sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(outro, "SELECT COUNT(*) FROM NotaFiscal").toInt(), 1);
    sqlite3_close(outro);

    novaSaida(t);
    preenche(t, "123", kCnpjLocal, "5102", "12");
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(linhas(), (QList<int>{2, 2, 2, 2}));

    novaSaida(t);
    preenche(t, "123", kCnpjLocal, "5102");
    recusa(t.btnSalvar, QString::fromUtf8("A nota 000123 já está cadastrada!\nem: 10/05/2024"), "edtModelo", true);
    EXPECT_EQ(linhas(), (QList<int>{2, 2, 2, 2}));
    verificaEditando(t, true);

    // Another counterparty makes it another note.
    escolheDestino(t, kCnpjPaulista);
    escolheCfop(t, "6102");
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(linhas(), (QList<int>{3, 3, 3, 3}));
}

TEST_F(TelasNotas, FaixaInutilizadaSoDigitosEChecadaAoSalvar)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    t.edtModelo->setText("55");
    t.edtSerie->setText("1");
    t.edtEmissao->setDate(QDate(2024, 5, 10));
    Clica(t.rbInutilizado);

    // Signs, separators and letters never get into the fields.
    for (QLineEdit* e : {t.edtInicioInutilizado, t.edtFinalInutilizado}) {
        e->setFocus();
        QTest::keyClicks(e, "-1.2a3,4 5+67");
        EXPECT_EQ(e->text(), "123456") << e->objectName().toStdString();
    }
    t.edtModelo->setFocus();

    // What passes the keys is still held to 1..999999 at save, the message naming the field that gets the focus.
    t.edtInicioInutilizado->setText("0");
    t.edtFinalInutilizado->setText("12");
    banco.dialogos.esperaMensagem(
        QString::fromUtf8("Início da faixa de inutilizado inválido!\nInforme um número inteiro de 1 a 999999."));
    Clica(t.btnSalvar);
    EXPECT_EQ(Foco(), "edtInicioInutilizado");
    t.edtInicioInutilizado->setText("5");
    t.edtFinalInutilizado->setText("-1");
    banco.dialogos.esperaMensagem(
        QString::fromUtf8("Final da faixa de inutilizado inválido!\nInforme um número inteiro de 1 a 999999."));
    t.edtModelo->setFocus();
    Clica(t.btnSalvar);
    EXPECT_EQ(Foco(), "edtFinalInutilizado");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(linhas(), (QList<int>{0, 0, 0, 0}));
    verificaEditando(t, true);
}

TEST_F(TelasNotas, FaixaInutilizadaPerguntaEGravaUmaLinhaPorNumero)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    t.edtModelo->setText("55");
    t.edtSerie->setText("1");
    t.edtEmissao->setDate(QDate(2024, 5, 10));
    Clica(t.rbInutilizado);

    // The range fields refuse what is no number on leaving them.
    t.edtInicioInutilizado->setText("abc");
    banco.dialogos.esperaSimples(QString::fromUtf8("Informe um número para o início da faixa!"));
    EXPECT_FALSE(t.saiInicioFaixa());
    EXPECT_EQ(Foco(), "edtInicioInutilizado");
    t.edtInicioInutilizado->setText("0");
    banco.dialogos.esperaSimples(QString::fromUtf8("Início da faixa não pode ser zero!"));
    EXPECT_FALSE(t.saiInicioFaixa());
    EXPECT_EQ(Foco(), "edtInicioInutilizado");
    t.edtInicioInutilizado->setText("");
    EXPECT_TRUE(t.saiInicioFaixa());
    t.edtFinalInutilizado->setText("1x");
    banco.dialogos.esperaSimples(QString::fromUtf8("Informe um número para o final da faixa!"));
    EXPECT_FALSE(t.saiFinalFaixa());
    EXPECT_EQ(Foco(), "edtFinalInutilizado");
    banco.dialogos.verificaConsumo();

    t.edtInicioInutilizado->setText("10");
    t.edtFinalInutilizado->setText("12");
    const QString pergunta = QString::fromUtf8("Confirma a inclusão da faixa de 10 a 12 de notas inutilizadas");
    const int antes = int(banco.dialogos.registros().size());
    banco.dialogos.esperaMensagem(pergunta, Botao::Nao);
    Clica(t.btnSalvar);
    ASSERT_EQ(banco.dialogos.registros().size(), antes + 1) << "nothing after the refusal";
    EXPECT_EQ(banco.dialogos.registros().last().pedido.padrao, Botao::Nao) << "Enter must not confirm it";
    EXPECT_EQ(linhas(), (QList<int>{0, 0, 0, 0}));
    verificaEditando(t, true);

    banco.dialogos.esperaMensagem(pergunta, Botao::Sim);
    banco.dialogos.esperaMensagem("Faixa de 10 a 12 de notas inutilizadas cadastradas com sucesso!");
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    const QString dono = QString::number(contribuinte);
    EXPECT_EQ(lista("SELECT NumeroNF || ' ' || Situacao || ' ' || Cfop || ' ' || IdEmtDest || ' ' || Modelo "
                    "FROM NotaFiscal ORDER BY NumeroNF"),
              (QStringList{"000010 4 5949 " + dono + " 55", "000011 4 5949 " + dono + " 55",
                           "000012 4 5949 " + dono + " 55"}));
    EXPECT_EQ(linhas(), (QList<int>{3, 3, 3, 3}));
    verificaEditando(t, false);
    EXPECT_FALSE(t.rbInutilizado->isChecked());
    EXPECT_EQ(t.edtInicioInutilizado->text(), "");
}

TEST_F(TelasNotas, ExtemporaneaGravaNoMesDaZel)
{
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    t.edtModelo->setText("01");
    t.edtSerie->setText("1");
    t.edtNumeroNF->setText("77");
    t.edtEmissao->setDate(QDate(2006, 2, 20));
    t.edtValorNF->setText("500,00");
    EXPECT_FALSE(t.grbExtemporaneo->isVisible());
    Clica(t.chbExtemporaneo);
    EXPECT_TRUE(t.grbExtemporaneo->isVisible()) << "the month panel opens on entering the box";
    t.cmbMes->setCurrentText("3");
    t.cmbAno->setCurrentText("2006");
    escolheDestino(t, kCnpjLocal);
    escolheCfop(t, "1102");
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(daNota("DtEmissao", "000077"), "2006-03-01");
    EXPECT_EQ(daNota("DtUltAlteracao", "000077"), "2006-02-20");
    EXPECT_EQ(daNota("Situacao || TipoNota || Emitente", "000077"), "EET");
}

// ----- the entry screen's transaction

TEST_F(TelasNotas, CancelarEFecharDesfazemSemDeixarTransacao)
{
    nota("000001", "2024-05-02");
    TfrmIncluirNotasFiscais t(ctx);
    Ativa(&t);
    novaSaida(t);
    EXPECT_TRUE(emTransacao());
    preenche(t, "124", kCnpjLocal, "5102");
    Clica(t.btnCancelar);
    verificaEditando(t, false);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(linhas(), (QList<int>{1, 1, 1, 1}));

    // A refused save, then the screen closed in the middle of the edit.
    sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
    novaSaida(t);
    preenche(t, "1", kCnpjLocal, "5102");
    t.edtEmissao->setDate(QDate(2024, 5, 2));
    recusa(t.btnSalvar, QString::fromUtf8("A nota 000001 já está cadastrada!\nem: 02/05/2024"), "edtModelo", true);
    EXPECT_TRUE(emTransacao());
    EXPECT_EQ(TBancoTeste::valorDireto(outro, "SELECT COUNT(*) FROM NFICMS").toInt(), 1);
    static_cast<QDialog&>(t).reject(); // Esc or the window closed
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(linhas(), (QList<int>{1, 1, 1, 1}));
    for (const QString& tabela : kTabelas)
        EXPECT_EQ(TBancoTeste::valorDireto(outro, "SELECT COUNT(*) FROM " + tabela).toInt(), 1) << tabela.toStdString();
    // The write lock is gone too.
    TBancoTeste::executaDireto(outro, "UPDATE NotaFiscal SET Obs = 'OUTRO' WHERE NumeroNF = '000001'");
    sqlite3_close(outro);

    // Reopened and closed right after "&Nova Nota".
    Ativa(&t);
    verificaEditando(t, false);
    Clica(t.btnNovaNota);
    EXPECT_TRUE(emTransacao());
    static_cast<QDialog&>(t).reject(); // Esc or the window closed
    EXPECT_FALSE(emTransacao());
    {
        TTransacao outra(*banco.con);
        outra.commit();
    }
    EXPECT_EQ(daNota("Obs", "000001"), "OUTRO");
}

// ----- change screen

TEST_F(TelasNotas, AlteracaoCarregaEGravaCancelada)
{
    const int id = nota("000123", "2024-05-10");
    TfrmAlterarNotasFiscais t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.idNota(), id);
    EXPECT_EQ(t.edtNumeroNF->text(), "000123");
    EXPECT_TRUE(t.edtNumeroNF->isReadOnly());
    EXPECT_TRUE(t.rbSaida->isChecked());
    EXPECT_TRUE(t.rbProprio->isChecked());
    EXPECT_EQ(t.edtCodCFOP->text(), "5102");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t.edtValorNF->valor(), *Money::parse("1.000,00"));
    EXPECT_EQ(t.edtValorIcms->valor(), *Money::parse("170,00"));
    EXPECT_EQ(t.edtAliquota->text(), "17,00");
    EXPECT_EQ(t.lblNomeDestino->text(), "FORNECEDOR LOCAL");
    EXPECT_EQ(t.lblUF->text(), "ZR");
    EXPECT_FALSE(t.chbSituacao->isChecked());
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.btnCancelar->isEnabled());
    EXPECT_FALSE(t.grbDados->isEnabled());
    EXPECT_FALSE(emTransacao());

    Clica(t.btnAlterar);
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    EXPECT_TRUE(t.chbSituacao->isEnabled()) << "an exit may be cancelled";
    EXPECT_EQ(Foco(), "edtCodCFOP");
    EXPECT_TRUE(emTransacao());

    Clica(t.chbSituacao);
    informa(t.btnSalvar, kGravada);
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(t.result(), QDialog::Accepted);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(daNota("Situacao || ' ' || Cfop || ' ' || IdEmtDest", "000123"), "S 5949 " + QString::number(contribuinte));
    EXPECT_EQ(daNota("DtUltAlteracao", "000123"), "2024-07-15T09:30:00");
    EXPECT_EQ(linhas(), (QList<int>{1, 1, 1, 1}));
}

TEST_F(TelasNotas, AlteracaoRecusaModelo55EDesfazAoCancelar)
{
    const int id = nota("000200", "2024-05-10", "N", "S", "55");
    TfrmAlterarNotasFiscais t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.edtModelo->text(), "55");
    Clica(t.btnAlterar);
    t.edtValorNF->setText("2.000,00");
    recusa(t.btnSalvar, QString::fromUtf8("Modelo de Nota Inválido! Modelos válidos 01,04,06,21 e 22."), "edtModelo");
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_EQ(daNota("ValorTotalNota", "000200").toLongLong(), 10000000);

    Clica(t.btnCancelar);
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(t.result(), QDialog::Rejected);
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(daNota("ValorTotalNota || Situacao || Modelo", "000200"), "10000000N55");
}

TEST_F(TelasNotas, AlteracaoDeExtemporaneaMostraOMesDaZel)
{
    const int id = nota("000077", "2006-03-01", "E", "E", "01", local, "2006-02-20");
    TfrmAlterarNotasFiscais t(ctx, id);
    Ativa(&t);
    EXPECT_TRUE(t.rbEntrada->isChecked());
    EXPECT_TRUE(t.chbExtemporaneo->isChecked());
    EXPECT_TRUE(t.grbExtemporaneo->isVisible());
    EXPECT_EQ(t.edtObservacao->text(), "Zel 03/2006");
    EXPECT_EQ(t.cmbMes->currentText(), "3");
    EXPECT_EQ(t.cmbAno->currentText(), "2006");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2006, 2, 20));

    Clica(t.btnAlterar);
    EXPECT_FALSE(t.chbSituacao->isEnabled()) << "an entry is never cancelled";
    t.cmbMes->setCurrentText("4");
    informa(t.btnSalvar, kGravada);
    EXPECT_EQ(daNota("DtEmissao || ' ' || DtUltAlteracao || ' ' || Situacao", "000077"), "2006-04-01 2006-02-20 E");
}

TEST_F(TelasNotas, AlteracaoQueFalhaNoMeioDesfazAPrimeiraParte)
{
    const int id = nota("000123", "2024-05-10");
    executa("CREATE TRIGGER recusa BEFORE UPDATE ON NFICMS BEGIN SELECT RAISE(ABORT, 'recusada'); END");
    TfrmAlterarNotasFiscais t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    t.edtValorNF->setText("2.500,00");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Erro na Alteração dos dados do ICMS"));
    banco.dialogos.esperaMensagem(QString::fromUtf8("Ocorreu ERRO na gravação!"));
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(t.isVisible());
    EXPECT_EQ(t.result(), QDialog::Rejected);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(daNota("ValorTotalNota", "000123").toLongLong(), 10000000) << "the invoice row was changed first";
}

// ----- browse screen

namespace {

struct Navegacao : TelasNotas {
    int normal = 0, outraNormal = 0, inutil1 = 0, inutil2 = 0, inutilOutroDia = 0;

    void SetUp() override
    {
        TelasNotas::SetUp();
        normal = nota("000001", "2024-05-03");
        nota("000002", "2024-05-04", "S");
        nota("000003", "2024-05-05", "X");
        nota("000004", "2024-05-06", "2");
        inutil1 = nota("000005", "2024-05-12", "4");
        inutil2 = nota("000006", "2024-05-12", "4");
        inutilOutroDia = nota("000007", "2024-05-13", "4");
        outraNormal = nota("000008", "2024-05-20", "E");
        nota("000009", "2024-06-02");
        nota("000010", "2024-05-08", "N", "E");
    }

    static QStringList numeros(TfrmNotasFiscais& t)
    {
        QStringList r;
        for (int i = 0; i < t.dbgNotas->model()->rowCount(); ++i)
            r << t.dbgNotas->model()->index(i, 3).data().toString();
        return r;
    }
    static void escolhe(TfrmNotasFiscais& t, const QString& numero)
    {
        const int linha = int(numeros(t).indexOf(numero));
        ASSERT_GE(linha, 0) << numero.toStdString();
        t.dbgNotas->setCurrentIndex(t.dbgNotas->model()->index(linha, 0));
    }
    void pesquisa(TfrmNotasFiscais& t, const QString& mes, const QString& ano)
    {
        t.cmbMes->setEditText(mes);
        t.cmbAno->setEditText(ano);
        Clica(t.findChild<QPushButton*>("btnPesquisar"));
    }
};

} // namespace

TEST_F(Navegacao, PesquisaResumoEGrafico)
{
    TfrmNotasFiscais t(ctx);
    Ativa(&t);
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_EQ(t.cmbAno->currentText(), "2024");
    EXPECT_EQ(t.barrasDoGrafico(), 1) << "the entries of May";

    t.rbSaida->setChecked(true);
    pesquisa(t, "5", "2024");
    EXPECT_EQ(numeros(t), (QStringList{"000001", "000002", "000003", "000004", "000005", "000006", "000007",
                                       "000008"}));
    EXPECT_EQ(t.textoResumo("lblQuant"), "2") << "normal and extemporaneous only";
    EXPECT_EQ(t.textoResumo("lblTotal"), "2.000,00");
    EXPECT_EQ(t.textoResumo("lblValorIcms"), "340,00");
    EXPECT_EQ(t.textoResumo("lblTituloResumo"), QString::fromUtf8("Totalização das Notas de Saídas"));
    EXPECT_EQ(t.barrasDoGrafico(), 2) << "May and June";

    pesquisa(t, "**", "1990");
    EXPECT_EQ(numeros(t).size(), 9);
    EXPECT_EQ(t.textoResumo("lblQuant"), "3");

    t.rbEntrada->setChecked(true);
    pesquisa(t, "5", "2024");
    EXPECT_EQ(numeros(t), QStringList{"000010"});
    EXPECT_EQ(t.textoResumo("lblTituloResumo"), "Totalização das Notas de Entradas");
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());

    banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
    pesquisa(t, "8", "2024");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.dbgNotas->model()->rowCount(), 0);
}

TEST_F(Navegacao, AlterarEExcluirSeguemALinhaAtualDaGrade)
{
    // Searched from the keyboard (kind and period as they are or typed, Tab to "Pesquisar", Enter): the
    // commands that act on a row are enabled exactly while the grid has one.
    TfrmNotasFiscais t(ctx);
    Ativa(&t);
    const auto comandos = [&t] { return QList<bool>{t.btnAlterar->isEnabled(), t.btnExcluir->isEnabled()}; };
    // Opening with documents on file, as before any search; then as each search leaves the list.
    EXPECT_EQ(comandos(), (QList<bool>{true, true}));
    struct Passo {
        bool saida;
        const char* mes;
        int linhas; // 0: nothing found
    };
    for (const Passo& p : {Passo{true, "5", 8}, Passo{true, "8", 0}, Passo{false, "5", 1}, Passo{false, "6", 0},
                           Passo{true, "6", 1}}) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(p.saida ? "saídas" : "entradas", p.mes).toStdString());
        (p.saida ? t.rbSaida : t.rbEntrada)->setChecked(true);
        ASSERT_TRUE(DigitaEVaiAte(t.cmbMes, QString::fromLatin1(p.mes), t.findChild<QWidget*>("btnPesquisar")));
        if (p.linhas == 0)
            banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(t.dbgNotas->model()->rowCount(), p.linhas);
        EXPECT_EQ(comandos(), (QList<bool>{p.linhas > 0, p.linhas > 0}));
        EXPECT_TRUE(t.btnImprimir->isEnabled());
    }
}

TEST_F(Navegacao, MesEAnoCorrigidosAoSair)
{
    TfrmNotasFiscais t(ctx);
    Ativa(&t);
    const auto mes = [&t](const char* digitado) {
        t.cmbMes->setEditText(digitado);
        t.saiMes();
        return t.cmbMes->currentText();
    };
    const auto ano = [&t](const char* digitado) {
        t.cmbAno->setEditText(digitado);
        t.saiAno();
        return t.cmbAno->currentText();
    };
    EXPECT_EQ(mes("13"), "1");
    EXPECT_EQ(mes("**"), "**");
    EXPECT_EQ(mes("07"), "7");
    EXPECT_EQ(ano("1990"), "1999");
    EXPECT_EQ(ano("abc"), "2003");
    EXPECT_EQ(ano("2005"), "2005");
}

TEST_F(Navegacao, ExcluirNotaComSuasLinhas)
{
    TfrmNotasFiscais t(ctx);
    Ativa(&t);
    t.rbSaida->setChecked(true);
    pesquisa(t, "5", "2024");

    escolhe(t, "000001");
    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"), false);
    Clica(t.btnExcluir);
    EXPECT_EQ(linhasDa(normal), (QList<int>{1, 1, 1, 1}));

    escolhe(t, "000001");
    banco.dialogos.esperaExclusao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"), true);
    informa(t.btnExcluir, QString::fromUtf8("Excluído com Sucesso."));
    EXPECT_EQ(linhasDa(normal), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(linhasDa(outraNormal), (QList<int>{1, 1, 1, 1}));
    EXPECT_EQ(linhas(), (QList<int>{9, 9, 9, 9}));
    EXPECT_FALSE(numeros(t).contains("000001"));
    EXPECT_EQ(t.textoResumo("lblQuant"), "1");
}

TEST_F(Navegacao, ExcluirInutilizadaLevaAsDoMesmoDia)
{
    TfrmNotasFiscais t(ctx);
    Ativa(&t);
    t.rbSaida->setChecked(true);
    pesquisa(t, "5", "2024");

    escolhe(t, "000006");
    banco.dialogos.esperaMensagem("Deseja excluir todas as notas inutilizadas de 12/05/2024.", Botao::Sim);
    informa(t.btnExcluir, QString::fromUtf8("Excluído com Sucesso."));
    EXPECT_EQ(banco.dialogos.registros().first().pedido.padrao, Botao::Nao);
    EXPECT_EQ(linhasDa(inutil1), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(linhasDa(inutil2), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(linhasDa(inutilOutroDia), (QList<int>{1, 1, 1, 1}));
    EXPECT_EQ(linhas(), (QList<int>{8, 8, 8, 8}));
    EXPECT_EQ(numeros(t), (QStringList{"000001", "000002", "000003", "000004", "000007", "000008"}));
}

TEST_F(TelasNotas, TabSegueAOrdemDaTelaNaInclusaoENaAlteracao)
{
    // Leaving the counterparty goes to the ICMS base and a CFOP found goes to the observation, the fields
    // between left for the mouse; an empty counterparty or CFOP opens its list on the way. The chain's fixed
    // moves: the CFOP, drawn at the top, typed after the total; in the tax panel the substitution (when its
    // fields are open) after the ICMS line, and "&Salvar" after the IPI line.
    const QList<QPair<QString, QString>> saltos = {{"edtCnpjDestino", "edtBaseIcms"}, {"edtCodCFOP", "edtObservacao"}};
    const QList<QPair<QString, QString>> movimentos = {
        {"edtValorNF", "edtCodCFOP"},      {"edtIsentasIcms", "chbMVA"},         {"chbMVA", "edtBaseSubst"},
        {"edtBaseSubst", "edtIcmsRetido"}, {"edtIcmsRetido", "edtDespAcessorias"}, {"edtOutrasIpi", "btnSalvar"}};
    struct Caso {
        const char* nome;
        bool alteracao;
        bool listas; // the counterparty and the CFOP left empty: their lists open when Tab leaves them
    };
    for (const Caso& c : {Caso{"inclusão", false, false}, Caso{"inclusão com as listas", false, true},
                          Caso{"alteração", true, false}}) {
        SCOPED_TRACE(c.nome);
        std::unique_ptr<TfrmCamposNotaFiscal> t;
        if (c.alteracao) {
            auto* a = new TfrmAlterarNotasFiscais(ctx, nota("000123", "2024-05-10"));
            t.reset(a);
            Ativa(a);
            Clica(a->btnAlterar);
        } else {
            auto* i = new TfrmIncluirNotasFiscais(ctx);
            t.reset(i);
            Ativa(i);
            Clica(i->btnNovaNota);
            if (!c.listas) {
                t->edtCnpjDestino->setText(kCnpjLocal);
                t->edtCodCFOP->setText("1102");
            }
        }
        if (c.listas)
            banco.dialogos.esperaTela("TfrmCFOP", [](QObject*) { return int(QDialog::Accepted); })
                .esperaTela("TfrmEmpresas", [](QObject*) { return int(QDialog::Accepted); });
        QWidget* inicio = QApplication::focusWidget();
        ASSERT_TRUE(inicio);
        const QStringList caminho = CaminhoDoTab(inicio, 22);
        const QStringList esperado = OrdemNaTelaMovida(t.get(), inicio, 22, movimentos, saltos);
        EXPECT_TRUE(esperado.contains("edtBaseIcms") && esperado.contains("edtValorIpi") && esperado.contains("btnSalvar"))
            << esperado.join(' ').toStdString();
        EXPECT_EQ(caminho, esperado);
        EXPECT_EQ(caminho.value(caminho.indexOf("edtValorNF") + 1), "edtCodCFOP");
        EXPECT_EQ(caminho.indexOf("btnSalvar") + 1, caminho.indexOf("btnCancelar"))
            << "the last tax field leads to saving, and only past it to cancelling";
        banco.dialogos.verificaConsumo();
        Clica(t->btnCancelar);
    }
}

TEST_F(TelasNotas, NotaDigitadaSoComOTecladoPassaPeloCfopEVaiAoSalvar)
{
    // Only typing and Enter from "&Nova Nota": the CFOP, drawn at the top, comes after the total, its leaving
    // rule goes on to the observation and the counterparty's to the ICMS base; with a code that admits
    // substitution its fields follow the ICMS line ("Operação Regime Fonte" first, the accessory expenses
    // leading to the IPI); after the IPI line Enter lands on "&Salvar", and Enter there saves.
    struct Caso {
        const char* cfop;
        QList<QPair<const char*, const char*>> impostos; // from the ICMS base to the last field before "&Salvar"
        const char* substituicao;                      // BaseCalculoSubst/ICMSRetido/DespAcessorias/MVA stored
    };
    const QList<QPair<const char*, const char*>> icms = {
        {"edtBaseIcms", "1.000,00"}, {"edtAliquota", ""}, {"edtValorIcms", ""}, {"edtOutrasIcms", ""},
        {"edtIsentasIcms", ""}};
    const QList<QPair<const char*, const char*>> ipi = {
        {"edtValorIpi", "50,00"}, {"edtIsentasIpi", ""}, {"edtOutrasIpi", ""}};
    const QList<QPair<const char*, const char*>> st = {
        {"chbMVA", ""}, {"edtBaseSubst", "100,00"}, {"edtIcmsRetido", "17,00"}, {"edtDespAcessorias", "5,00"}};
    for (const Caso& c : {Caso{"1102", icms + ipi, "0/0/0/ "}, Caso{"1403", icms + st + ipi, "1000000/170000/50000/ "}}) {
        SCOPED_TRACE(c.cfop);
        executa("DELETE FROM NFICMS; DELETE FROM NFIPI; DELETE FROM NFSUBSTRIB; DELETE FROM NotaFiscal");
        TfrmIncluirNotasFiscais t(ctx);
        Ativa(&t);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // "&Nova Nota"
        const QList<QPair<const char*, const char*>> cabecalho = {
            {"edtModelo", ""},          {"edtSerie", "1"},          {"edtSubSerie", ""},
            {"edtNumeroNF", "123"},     {"edtEmissao", "10052024"}, {"edtValorNF", "1.050,00"},
            {"edtCodCFOP", c.cfop},     {"edtObservacao", "compra"}, {"edtCnpjDestino", "11222333000181"}};
        for (const auto& [campo, texto] : cabecalho + c.impostos) {
            ASSERT_EQ(Foco(), QString::fromLatin1(campo));
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(texto));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QApplication::processEvents(); // the pause between two fields, where entering one selects its text
        }
        ASSERT_EQ(Foco(), "btnSalvar");
        banco.dialogos.esperaMensagem(kGravada);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(linhas(), (QList<int>{1, 1, 1, 1}));
        EXPECT_EQ(daNota("TipoNota || Emitente || Situacao || Cfop", "000123"),
                  QStringLiteral("ETN%1").arg(QString::fromLatin1(c.cfop)));
        EXPECT_EQ(daNota("Modelo", "000123") + "/" + daNota("Serie", "000123"), "01/1");
        EXPECT_EQ(daNota("DtEmissao || ' ' || ValorTotalNota || ' ' || Obs", "000123"), "2024-05-10 10500000 COMPRA");
        EXPECT_EQ(daNota("IdEmtDest", "000123").toInt(), local);
        EXPECT_EQ(valor("SELECT AliquotaICMS || '/' || BaseCalculoICMS || '/' || ValorICMS FROM NFICMS").toString(),
                  "1700/10000000/1700000");
        EXPECT_EQ(valor("SELECT ValorIPI FROM NFIPI").toInt(), 500000);
        EXPECT_EQ(valor("SELECT BaseCalculoSubst || '/' || ICMSRetido || '/' || DespAcessorias || '/' || MVA "
                        "FROM NFSUBSTRIB").toString(),
                  QString::fromLatin1(c.substituicao));
        EXPECT_EQ(Foco(), "btnNovaNota");
    }
}

TEST_F(Navegacao, TabDaListaSegueAOrdemDaTelaComESemNotas)
{
    for (const bool vazia : {false, true}) {
        SCOPED_TRACE(vazia ? "sem notas no período" : "com notas");
        TfrmNotasFiscais t(ctx);
        Ativa(&t);
        if (vazia) {
            banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
            pesquisa(t, "8", "2024");
            banco.dialogos.verificaConsumo();
        }
        const auto volta = VoltaDoTab(&t);
        EXPECT_TRUE(volta.esperado.contains("dbgNotas") && volta.esperado.contains("btnFechar"))
            << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
