// The normal-regime declaration screens over a temporary data folder, driven by real focus changes, keys and
// clicks: the entry screen before and after "Processa" (the period typed, the figures taken from a month of
// documents, the period thresholds), the recomputation on leaving fields, the MIRVEL-ZR deductions and their
// limit, the two credit windows, the save with its programme rows in one transaction (and its failure), the
// rectifying declaration against the receipt page, the change mode; and the list with its deletion and its
// return file.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untCredPresumido.h"
#include "declarations/screens/untCredProgGov.h"
#include "declarations/screens/untFraRecibo.h"
#include "declarations/screens/untIncluirZEL.h"
#include "declarations/screens/untZEL.h"
#include "db/untSqlite.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kIncluida = QString::fromUtf8("Apuração Incluída com sucesso!");
const QString kAlterada = QString::fromUtf8("Apuração Alterada com sucesso!");
const QString kLimite = QString::fromUtf8("Valor da Dedução MIRVEL-ZR \nmaior que limite máximo!");
const QString kConfirmaExclusao = QString::fromUtf8("Confirma Exclusão ? ");

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
    QTest::keyClicks(c->lineEdit(), texto);
}

void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// A click on the page's tab, as the user brings a page to front.
void MostraPagina(QTabWidget* paginas, QWidget* pagina)
{
    QTabBar* barra = paginas->tabBar();
    QTest::mouseClick(barra, Qt::LeftButton, Qt::NoModifier, barra->tabRect(paginas->indexOf(pagina)).center());
    ASSERT_EQ(paginas->currentWidget(), pagina);
}

// Passes every box on to the scripted dialogs, noting its caption and text, whether a transaction was
// still open on the connection when it came up and how many declarations another program would see then.
// It answers the deletion question itself, whichever kind of box asks it, so that its caption can be
// checked apart from its wording.
class TDialogosEspia final : public IDialogos {
public:
    TDialogosEspia(IDialogos& real, std::function<sqlite3*()> db, QString caminho)
        : m_real(real), m_db(std::move(db)), m_caminho(std::move(caminho))
    {
    }
    struct TVisto {
        QString titulo;
        QString texto;
        bool emTransacao = false;
        int zelDeFora = 0;
    };
    QList<TVisto> vistos;
    std::optional<bool> respostaExclusao;

    Botao mostraMensagem(const TPedidoMensagem& p) override
    {
        registra(p.titulo, p.texto);
        if (respostaExclusao && p.texto == kConfirmaExclusao)
            return *respostaExclusao ? Botao::Sim : Botao::Nao;
        return m_real.mostraMensagem(p);
    }
    bool confirmaExclusao(const QString& t) override
    {
        registra(QString::fromUtf8("Exclusão"), t);
        if (respostaExclusao && t == kConfirmaExclusao)
            return *respostaExclusao;
        return m_real.confirmaExclusao(t);
    }
    void mensagemSimples(const QString& t) override
    {
        registra(QString(), t);
        m_real.mensagemSimples(t);
    }
    QString salvarArquivo(const QString& a, const QString& b, const QString& c) override { return m_real.salvarArquivo(a, b, c); }
    QString escolherPasta(const QString& a, const QString& b) override { return m_real.escolherPasta(a, b); }
    bool abrirAssociado(const QString& a) override { return m_real.abrirAssociado(a); }
    int executaModal(QObject* tela) override { return m_real.executaModal(tela); }

    const TVisto* ultimo(const QString& texto) const
    {
        for (int i = int(vistos.size()) - 1; i >= 0; --i)
            if (vistos[i].texto == texto)
                return &vistos[i];
        return nullptr;
    }

private:
    void registra(const QString& titulo, const QString& texto)
    {
        int n = -1;
        sqlite3* outro = TBancoTeste::abreDireto(m_caminho);
        try {
            n = TBancoTeste::valorDireto(outro, QStringLiteral("SELECT COUNT(*) FROM ZEL")).toInt();
        } catch (const EBancoDados&) { // locked by the screen's own transaction: -1
        }
        sqlite3_close(outro);
        vistos.append({titulo, texto, sqlite3_get_autocommit(m_db()) == 0, n});
    }

    IDialogos& m_real;
    std::function<sqlite3*()> m_db;
    QString m_caminho;
};

struct TelasZel : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 8, 20), QTime(10, 0))};
    std::unique_ptr<TDialogosEspia> espia;

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        espia = std::make_unique<TDialogosEspia>(banco.dialogos, [this] { return banco.con->db(); }, banco.caminho());
        ctx.dialogos = espia.get();
        // The open taxpayer with its accountant, a client, a supplier of another state and a second taxpayer of
        // the same office, as the registers take them.
        ASSERT_TRUE(TCadastroTeste(*banco.dtm, banco.dialogos).escritorio());
        ctx.IdAtivo = 1;
        banco.dtm->LerContribuinteAtivo(1);
        // July 2006 of the open taxpayer, worked out by hand:
        //   1  = 56,00 (the interstate purchase; the 1601 entry is a received transfer, not a credit)
        //   3  = 12,00 (the 1601 entry)
        //   11 = 340,00 + 60,00 (the two sales; the 5601 exit is a transfer, not a debit)
        //   12 = 72,00 (the 5601 exit)
        //   02 = 45,00 (retained on the purchase from another state)
        //   04 = 500,00 (retained on the sale to the home state), 05 = 200,00 (the source-regime line)
        // Another taxpayer's sale of the same month and the open taxpayer's sale of August count nowhere.
        executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
                "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
                "(1, 1, 2, '2006-07-10', 'S', '01', '1', '', '000001', '5102', 'P', 20000000, 'N', '2006-07-10'),"
                "(2, 1, 2, '2006-07-11', 'S', '01', '1', '', '000002', '5405', 'P', 5000000, 'N', '2006-07-11'),"
                "(3, 1, 3, '2006-07-12', 'E', '01', '1', '', '000777', '2102', 'T', 8000000, 'N', '2006-07-12'),"
                "(4, 1, 2, '2006-07-13', 'E', '01', '1', '', '000888', '1601', 'T', 1000000, 'N', '2006-07-13'),"
                "(5, 1, 2, '2006-07-14', 'S', '01', '1', '', '000003', '5601', 'P', 6000000, 'N', '2006-07-14'),"
                "(6, 4, 2, '2006-07-10', 'S', '01', '1', '', '000900', '5102', 'P', 90000000, 'N', '2006-07-10'),"
                "(7, 1, 2, '2006-08-01', 'S', '01', '1', '', '000004', '5102', 'P', 10000000, 'N', '2006-08-01')");
        executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
                "(1, 20000000, 3400000, 0, 0, '1700'), (2, 5000000, 600000, 0, 0, '1200'), "
                "(3, 8000000, 560000, 0, 0, '0700'), (4, 1000000, 120000, 0, 0, '1200'), "
                "(5, 6000000, 720000, 0, 0, '1200'), (6, 90000000, 9990000, 0, 0, '1700'), "
                "(7, 10000000, 1700000, 0, 0, '1700')");
        executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
                "(1, 30000000, 5000000, 0, '1'), (2, 10000000, 2000000, 0, '5'), (3, 3000000, 450000, 0, ''), "
                "(6, 30000000, 7770000, 0, '1')");
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int conta(const QString& sql) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }

    // June 2006: credits 1.200,00 against debits 1.000,00, so July opens with 200,00 of credit balance.
    int junho()
    {
        executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas) VALUES (1, '200606', 'N', 12000000, "
                "10000000)");
        return int(sqlite3_last_insert_rowid(db()));
    }
    // June's housing account ends with 100,00 left: July's previous balance.
    void habitacaoDeJunho()
    {
        executa("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, transfCredEntrada, transfCredSaida, "
                "valorApropriado, sldPeriodoAnterior, sldRemanescente, tipoCheque) VALUES "
                "(1, '200606', 1000000, 0, 0, 0, 0, 1000000, 1)");
    }

    // July 2006 as stored for a change: 04 after a deduction of 100,00 in 09 (gross 500,00), 01 of 100,00
    // (02 + 03), field 2 of 10,00 and field 13 of 5,00 typed; `tare` of presumed credit.
    int julhoGuardado(qint64 tare)
    {
        executa(QStringLiteral("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredEntradas, CredAtivoImob, "
                               "CredSaldoAnterior, DebSaidas, SubstEnt_JR, SubstEnt_AR, SubstSai_AR, SubstSai_JR, "
                               "MirvelSubSaida, MirvelRegFonte, DebOutros, Tare, NumRecibo, sitCadastroContrib, Entregue) "
                               "VALUES (1, '200607', 'R', 10000, 100000, 0, 4000000, 450000, 550000, 4000000, 2000000, "
                               "1000000, 0, 50000, %1, '  ', NULL, -1)")
                    .arg(tare));
        return int(sqlite3_last_insert_rowid(db()));
    }

    // Every column of one stored row, null shown as "NULL".
    QString coluna(const char* tabela, const char* nome, const QString& onde)
    {
        return valor(QStringLiteral("SELECT ifnull(%1, 'NULL') FROM %2 WHERE %3")
                         .arg(QLatin1String(nome), QLatin1String(tabela), onde))
            .toString();
    }

    static QString texto(const TfrmIncluirZEL& t, const char* campo)
    {
        TEdValor* c = t.campo(campo);
        return c ? c->text() : QStringLiteral("<sem campo %1>").arg(QLatin1String(campo));
    }
    static bool editavel(const TfrmIncluirZEL& t, const char* campo)
    {
        TEdValor* c = t.campo(campo);
        return c && c->isEnabled() && !c->isReadOnly();
    }

    // The period typed and "Processa" clicked, with the boxes expected before it.
    void processa(TfrmIncluirZEL& t, const QString& mes, const QString& ano)
    {
        Ativa(&t);
        Digita(t.cmbMes, mes);
        Digita(t.cmbAno, ano);
        Clica(t.btnProcessa);
        banco.dialogos.verificaConsumo();
    }
    // A button that must end with this box and no other.
    void informa(QAbstractButton* botao, const QString& mensagem)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        EXPECT_EQ(banco.dialogos.pendentes(), 0);
        banco.dialogos.verificaConsumo();
    }
    // A field typed and left; the leaving must show this box (none when empty).
    void digitaESai(QLineEdit* campo, const QString& valor, const QString& mensagem = QString())
    {
        SCOPED_TRACE(campo->objectName().toStdString() + " = " + valor.toStdString());
        Digita(campo, valor);
        if (!mensagem.isEmpty())
            banco.dialogos.esperaMensagem(mensagem);
        Sai();
        banco.dialogos.verificaConsumo();
    }

    // The programme window as the button opens it: `digita` works on it, then "&Fechar".
    void programas(TfrmIncluirZEL& t, const std::function<void(TfrmCredProgGov&)>& digita)
    {
        banco.dialogos.esperaTela("TfrmCredProgGov", [&](QObject* o) {
            auto* w = static_cast<TfrmCredProgGov*>(o);
            Ativa(w);
            digita(*w);
            Clica(w->btnFechar);
            return w->result();
        });
        Clica(t.btnCredProgGov);
        banco.dialogos.verificaConsumo();
        Ativa(&t);
    }
    // Housing: 50,00 authorised, 30,00 paid to suppliers, 20,00 used for tax; 50,00 count as credit.
    void lancaHabitacao(TfrmIncluirZEL& t)
    {
        programas(t, [this](TfrmCredProgGov& w) {
            digitaESai(w.edtCH[1], "50,00");
            digitaESai(w.edtCH[3], "30,00");
            digitaESai(w.edtCH[4], "20,00");
        });
    }
};

} // namespace

// ----- entry screen: before and at "Processa"

TEST_F(TelasZel, TudoDesabilitadoAteProcessaQuePreencheDosDocumentos)
{
    junho();
    TfrmIncluirZEL t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Apuração do Imposto - Regime Normal"));
    EXPECT_EQ(t.cmbMes->currentText(), "1");
    EXPECT_EQ(t.cmbAno->currentText(), "2024") << "the current year comes from the program's clock";
    EXPECT_EQ(Foco(), "cmbMes");
    for (QWidget* w : std::initializer_list<QWidget*>{t.pcPaginas, t.rdgTipo, t.grbCredito, t.grbDebito, t.grbApuracao,
                                                       t.grbOutras, t.btnSalvarZel})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_FALSE(editavel(t, "edtCredAtivoImobilizado"));
    EXPECT_TRUE(t.btnProcessa->isEnabled());
    EXPECT_EQ(t.stbStatus->currentMessage(), QString::fromUtf8("Clique no botão Processa para ativar os campos."));

    processa(t, "7", "2006");
    EXPECT_EQ(texto(t, "edtCredEntrada"), "56,00");
    EXPECT_EQ(texto(t, "edtCredAcumulado"), "12,00");
    EXPECT_EQ(texto(t, "edtCredSaldoAnterior"), "200,00") << "June's 1.200,00 of credits less its 1.000,00 of debits";
    EXPECT_EQ(texto(t, "edtDebSaidas"), "400,00");
    EXPECT_EQ(texto(t, "edtDebTransCredAC"), "72,00");
    EXPECT_EQ(texto(t, "edtIcmsST_JR"), "45,00");
    EXPECT_EQ(texto(t, "edtSTSaidas"), "500,00");
    EXPECT_EQ(texto(t, "edtST_Fonte"), "200,00");
    EXPECT_EQ(texto(t, "edtTotalST"), "700,00");
    // The totals after the debit is known: 8 = 1 + 3, 10 = 8 + 9, 15 = 11 + 12, 17 = 15 - 10.
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "68,00");
    EXPECT_EQ(texto(t, "edtCredTotal"), "268,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "472,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "204,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "0,00");

    for (QWidget* w : std::initializer_list<QWidget*>{t.pcPaginas, t.rdgTipo, t.grbCredito, t.grbDebito, t.grbApuracao,
                                                       t.grbOutras, t.grbDeducaoMirvel, t.btnSalvarZel, t.btnCredPresumido,
                                                       t.btnCredProgGov})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(editavel(t, "edtMirvelIcms")) << "the month has exits";
    for (QWidget* w : std::initializer_list<QWidget*>{t.cmbMes, t.cmbAno, t.btnProcessa})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (const char* calculado : {"edtCredEntrada", "edtCredAcumulado", "edtCredPeriodo", "edtCredTotal", "edtDebSaidas",
                                  "edtDebTransCredAC", "edtDebTotal", "edtSaldoCredorPeriodo", "edtImpostoRecolher",
                                  "edtIcmsST_AR", "edtSTSaidas", "edtST_Fonte", "edtTotalST"})
        EXPECT_FALSE(editavel(t, calculado)) << calculado;
    EXPECT_FALSE(t.pcPaginas->isTabVisible(t.pcPaginas->indexOf(t.fraRecibo))) << "no receipt before May 2011";
    EXPECT_TRUE(t.stbStatus->currentMessage().isEmpty());
    EXPECT_EQ(Foco(), "edtCredAtivoImobilizado");
}

TEST_F(TelasZel, MesEAnoDigitadosSaoCorrigidosAoSair)
{
    TfrmIncluirZEL t(ctx);
    Ativa(&t);
    const struct {
        QComboBox* campo;
        const char* digitado;
        const char* fica;
        bool volta;
    } casos[] = {
        {t.cmbMes, "13", "1", true},     {t.cmbMes, "0", "1", true},      {t.cmbMes, "12", "12", false},
        {t.cmbMes, "05", "5", false},    {t.cmbMes, "x", "1", true},      {t.cmbAno, "1998", "1999", true},
        {t.cmbAno, "abc", "2005", true}, {t.cmbAno, "1999", "1999", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.campo->objectName().toStdString() + " = " + c.digitado);
        Digita(c.campo, QString::fromLatin1(c.digitado));
        Sai();
        EXPECT_EQ(c.campo->currentText(), c.fica);
        if (c.volta)
            EXPECT_EQ(Foco(), c.campo->objectName()) << "the focus returns to the field corrected";
        else
            EXPECT_NE(Foco(), c.campo->objectName());
    }
    EXPECT_FALSE(t.pcPaginas->isEnabled());
}

TEST_F(TelasZel, PeriodoJaCadastradoNaoHabilitaNada)
{
    // A rectifying row of the period blocks a new one as much as a normal one would.
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200607', 'R')");
    TfrmIncluirZEL t(ctx);
    Ativa(&t);
    Digita(t.cmbMes, "7");
    Digita(t.cmbAno, "2006");
    informa(t.btnProcessa, QString::fromUtf8("Este Período já está cadastrado!"));
    for (QWidget* w : std::initializer_list<QWidget*>{t.pcPaginas, t.rdgTipo, t.grbCredito, t.btnSalvarZel})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(texto(t, "edtCredEntrada"), "0,00") << "nothing is taken from the documents";
    EXPECT_EQ(texto(t, "edtDebSaidas"), "0,00");
    EXPECT_TRUE(t.stbStatus->currentMessage().startsWith("Clique"));
    EXPECT_EQ(conta("ZEL"), 1);

    // The row is its own taxpayer's: another one includes the same period.
    ctx.IdAtivo = 4;
    banco.dtm->LerContribuinteAtivo(4);
    TfrmIncluirZEL outro(ctx);
    processa(outro, "7", "2006");
    EXPECT_TRUE(outro.btnSalvarZel->isEnabled());
    EXPECT_EQ(texto(outro, "edtDebSaidas"), "999,00") << "the other taxpayer's own sale";
}

TEST_F(TelasZel, LimiaresDoFundoEDosProgramasPorPeriodo)
{
    const struct {
        const char* mes;
        const char* ano;
        bool fundo;
        bool programas;
    } casos[] = {{"12", "2004", false, false}, {"1", "2005", true, false}, {"12", "2005", true, false}, {"1", "2006", true, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(std::string(c.mes) + "/" + c.ano);
        TfrmIncluirZEL t(ctx);
        processa(t, c.mes, c.ano);
        ASSERT_TRUE(t.btnSalvarZel->isEnabled());
        EXPECT_EQ(t.grbDeducaoMirvel->isEnabled(), c.fundo);
        EXPECT_EQ(t.panMirvelDifAliq->isEnabled(), c.fundo);
        EXPECT_EQ(editavel(t, "edtMirvelDifAliq"), c.fundo);
        EXPECT_EQ(t.btnCredPresumido->isEnabled(), c.fundo);
        EXPECT_EQ(t.btnCredProgGov->isEnabled(), c.programas);
        // None of these months has an exit: field 18 has nothing to deduct from.
        EXPECT_FALSE(editavel(t, "edtMirvelIcms"));
        EXPECT_TRUE(t.grbCredito->isEnabled());
    }
}

// ----- entry screen: recomputation and the fund's deductions

TEST_F(TelasZel, CampoDigitadoRecalculaOsTotaisEDeducaoDoDebito)
{
    junho();
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");

    digitaESai(t.campo("edtCredAtivoImobilizado"), "100,00");
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "168,00");
    EXPECT_EQ(texto(t, "edtCredTotal"), "368,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "472,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "104,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "0,00");
    // Credits above the debits: the balance changes side.
    digitaESai(t.campo("edtCredAtivoImobilizado"), "300,00");
    EXPECT_EQ(texto(t, "edtCredTotal"), "568,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "96,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "0,00");
    digitaESai(t.campo("edtDebOutros"), "100,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "572,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "0,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "4,00");

    // The limit is 20 % of the exit debit of 400,00: one cent more is refused and the focus stays.
    digitaESai(t.campo("edtMirvelIcms"), "80,01", kLimite);
    EXPECT_EQ(Foco(), "edtMirvelIcms");
    EXPECT_EQ(t.campo("edtMirvelIcms")->text(), "80,01") << "the value stays as typed";
    EXPECT_EQ(texto(t, "edtDebSaidas"), "400,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "572,00");
    digitaESai(t.campo("edtMirvelIcms"), "80,00");
    EXPECT_NE(Foco(), "edtMirvelIcms");
    EXPECT_EQ(texto(t, "edtDebSaidas"), "320,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "492,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "76,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "0,00");
    // Lowered again, the deduction is taken from the whole debit, not from what was left.
    digitaESai(t.campo("edtMirvelIcms"), "40,00");
    EXPECT_EQ(texto(t, "edtDebSaidas"), "360,00");
}

TEST_F(TelasZel, DeducoesDaSubstituicaoEResultadoNegativo)
{
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    MostraPagina(t.pcPaginas, t.tsSubstituicao);

    // Field 09 is limited by 20 % of field 04 (500,00).
    digitaESai(t.campo("edtMirvelSubSaida"), "100,01", kLimite);
    EXPECT_EQ(Foco(), "edtMirvelSubSaida");
    EXPECT_EQ(texto(t, "edtSTSaidas"), "500,00");
    digitaESai(t.campo("edtMirvelSubSaida"), "100,00");
    EXPECT_EQ(texto(t, "edtSTSaidas"), "400,00");
    EXPECT_EQ(texto(t, "edtTotalST"), "600,00") << "the total is always 04 + 05";
    EXPECT_FALSE(t.campo("edtMirvelSubSaida")->isEnabled()) << "a deduction applied is applied once";

    // Field 10 by 20 % of field 05 (200,00).
    digitaESai(t.campo("edtMirvelRegFonte"), "40,01", kLimite);
    EXPECT_EQ(Foco(), "edtMirvelRegFonte");
    digitaESai(t.campo("edtMirvelRegFonte"), "40,00");
    EXPECT_EQ(texto(t, "edtST_Fonte"), "160,00");
    EXPECT_EQ(texto(t, "edtTotalST"), "560,00");
    EXPECT_FALSE(t.campo("edtMirvelRegFonte")->isEnabled());

    // 02 above 01: told on leaving 02, the focus goes to 01; a save of it is refused, writing nothing.
    digitaESai(t.campo("edtIcmsSTEntradas"), "10,00");
    digitaESai(t.campo("edtIcmsST_JR"), "45,00", QStringLiteral("Resultado Negativo!"));
    EXPECT_EQ(Foco(), "edtIcmsSTEntradas");
    informa(t.btnSalvarZel, QStringLiteral("Resultado Negativo!"));
    EXPECT_EQ(Foco(), "edtIcmsSTEntradas");
    EXPECT_EQ(conta("ZEL"), 0);
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());

    // Field 07 by 20 % of field 01.
    digitaESai(t.campo("edtIcmsSTEntradas"), "100,00");
    EXPECT_EQ(texto(t, "edtIcmsST_AR"), "55,00") << "03 = 01 - 02";
    digitaESai(t.campo("edtMirvelSubEntrada"), "20,01", kLimite);
    EXPECT_EQ(Foco(), "edtMirvelSubEntrada");
    digitaESai(t.campo("edtMirvelSubEntrada"), "20,00");
    // Its base lowered afterwards, the deduction no longer fits: the save checks it again.
    digitaESai(t.campo("edtIcmsSTEntradas"), "50,00");
    informa(t.btnSalvarZel, kLimite);
    EXPECT_EQ(Foco(), "edtMirvelSubEntrada");
    EXPECT_EQ(conta("ZEL"), 0);
}

// ----- entry screen: the two credit windows

TEST_F(TelasZel, CreditosPresumidosContamNoCampo8AoDigitar)
{
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    EXPECT_EQ(t.lblSomaCredPresumido->text().trimmed(), "0,00");
    Clica(t.btnCredPresumido);
    TfrmCredPresumido* p = t.credPresumido();
    ASSERT_TRUE(p->isVisible());
    EXPECT_EQ(p->windowTitle(), QString::fromUtf8("Crédito Presumido"));
    EXPECT_FALSE(p->isModal()) << "the entry screen stays usable beside it";
    Ativa(p);
    digitaESai(p->curedtOutrosRegimes, "10,00");
    digitaESai(p->curedtTare, "20,00");
    digitaESai(p->curedtPrevRicms, "30,00");
    Digita(p->curedtDorq, "1.040,00");
    // Counted as it is typed, before the window is closed.
    EXPECT_EQ(t.lblSomaCredPresumido->text().trimmed(), "1.100,00");
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "1.168,00");
    EXPECT_EQ(texto(t, "edtSaldoCredorPeriodo"), "696,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "0,00");
    Clica(p->btnFechar);
    EXPECT_FALSE(p->isVisible());
    Ativa(&t);
    EXPECT_EQ(t.focusWidget() ? t.focusWidget()->objectName() : QString(), "edtCredEstornoDeb");
    EXPECT_EQ(p->TotalCredPresumido(), Money::fromCents(110000)) << "the values stay after it is closed";
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "1.168,00");
}

TEST_F(TelasZel, ProgramasContamSoDepoisDeFecharESaldoRemanescente)
{
    habitacaoDeJunho();
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    programas(t, [&](TfrmCredProgGov& w) {
        EXPECT_EQ(w.pcCredGoverno->currentWidget(), w.tsChequeHabitacao);
        EXPECT_EQ(Foco(), "edtCHSldPeriodoAnterior");
        EXPECT_EQ(w.edtCH[0]->text(), "100,00") << "June's remaining balance";
        EXPECT_EQ(w.edtCE[0]->text(), "0,00");
        digitaESai(w.edtCH[1], "50,00");
        digitaESai(w.edtCH[3], "30,00");
        digitaESai(w.edtCH[4], "20,00");
        EXPECT_EQ(w.edtCH[5]->text(), "100,00") << "100 + 50 - 30 - 20";
        EXPECT_FALSE(w.edtCH[5]->isEnabled());
        // Nothing counts on the entry screen while the window is open.
        EXPECT_EQ(t.lblSomaCredGoverno->text().trimmed(), "0,00");
        EXPECT_EQ(texto(t, "edtCredPeriodo"), "68,00");

        digitaESai(w.edtCH[4], "200,01",
                   QString::fromUtf8("O saldo remanescente do cheque habitação está negativo para os valores informados. "
                                     "Por favor, corrija-os."));
        EXPECT_EQ(Foco(), "edtCHValorApropriacao");
        EXPECT_EQ(w.edtCH[5]->text(), "-80,01");
        digitaESai(w.edtCH[4], "20,00");
        EXPECT_EQ(w.edtCH[5]->text(), "100,00");

        MostraPagina(w.pcCredGoverno, w.tsChequeEducacao);
        EXPECT_EQ(Foco(), "edtCESldPeriodoAnterior");
        digitaESai(w.edtCE[4], "5,00",
                   QString::fromUtf8("O saldo remanescente do cheque educação está negativo para os valores informados. "
                                     "Por favor, corrija-os."));
        EXPECT_EQ(Foco(), "edtCEValorApropriacao");
        digitaESai(w.edtCE[4], "0,00");
    });
    // Closed: appropriated + transferred out of the housing cheque.
    EXPECT_EQ(t.lblSomaCredGoverno->text().trimmed(), "50,00");
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "118,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "472,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "354,00");
    EXPECT_EQ(t.focusWidget() ? t.focusWidget()->objectName() : QString(), "edtCredEstornoDeb");
}

// ----- entry screen: saving

TEST_F(TelasZel, SalvarGravaCadaColunaEOsProgramasDepoisDoCommit)
{
    junho();
    habitacaoDeJunho();
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    for (auto [campo, valor] : {std::pair{"edtCredAtivoImobilizado", "10,00"}, std::pair{"edtCredICMS_AR", "1,00"},
                                std::pair{"edtCredICMS_JR", "2,00"}, std::pair{"edtCredOutros", "3,00"},
                                std::pair{"edtCredEstornoDeb", "4,00"}, std::pair{"edtDebOutros", "5,00"},
                                std::pair{"edtDebEstornoCred", "6,00"}, std::pair{"edtMirvelIcms", "80,00"},
                                std::pair{"edtDifAliquota", "50,00"}, std::pair{"edtMirvelDifAliq", "10,00"},
                                std::pair{"edtRetidoOutrasUF", "7,00"}})
        digitaESai(t.campo(campo), QString::fromUtf8(valor));
    MostraPagina(t.pcPaginas, t.tsSubstituicao);
    for (auto [campo, valor] : {std::pair{"edtIcmsSTEntradas", "100,00"}, std::pair{"edtMirvelSubEntrada", "20,00"},
                                std::pair{"edtMirvelSubSaida", "100,00"}, std::pair{"edtMirvelRegFonte", "40,00"}})
        digitaESai(t.campo(campo), QString::fromUtf8(valor));
    MostraPagina(t.pcPaginas, t.tsApuracao);
    Clica(t.btnCredPresumido);
    TfrmCredPresumido* p = t.credPresumido();
    Ativa(p);
    digitaESai(p->curedtOutrosRegimes, "1,00");
    digitaESai(p->curedtTare, "2,00");
    digitaESai(p->curedtPrevRicms, "3,00");
    digitaESai(p->curedtDorq, "4,00");
    Clica(p->btnFechar);
    Ativa(&t);
    lancaHabitacao(t);
    // 8 = 56 + 10 + 12 + 1 + 2 + 3 + 4 + 10 (presumed) + 50 (housing); 11 = 400 - 80; 15 = 320 + 72 + 5 + 6.
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "148,00");
    EXPECT_EQ(texto(t, "edtCredTotal"), "348,00");
    EXPECT_EQ(texto(t, "edtDebTotal"), "403,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "55,00");

    informa(t.btnSalvarZel, kIncluida);
    const TDialogosEspia::TVisto* sucesso = espia->ultimo(kIncluida);
    ASSERT_TRUE(sucesso);
    EXPECT_FALSE(sucesso->emTransacao) << "told once the transaction is over";
    EXPECT_EQ(sucesso->zelDeFora, 2) << "another program already sees the row when the user is told";
    EXPECT_FALSE(t.btnSalvarZel->isEnabled());
    EXPECT_FALSE(t.pcPaginas->isEnabled());
    EXPECT_FALSE(t.rdgTipo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");

    ASSERT_EQ(conta("ZEL WHERE Periodo = '200607'"), 1);
    const QString linha = QStringLiteral("Periodo = '200607'");
    const std::pair<const char*, const char*> esperado[] = {
        {"IdContribuinte", "1"},       {"Tipo", "N"},
        {"CredSaldoAnterior", "2000000"}, {"CredEntradas", "560000"},  {"CredAtivoImob", "100000"},
        {"CredTransferencia", "120000"}, {"CredIcms_AR", "10000"},    {"CredIcms_JR", "20000"},
        {"CredOutros", "30000"},       {"CredEstornoDeb", "40000"},   {"DebSaidas", "3200000"},
        {"DebTransfCredAc", "720000"}, {"DebOutros", "50000"},        {"DebEstornoCred", "60000"},
        {"SubstEnt_JR", "450000"},     {"SubstEnt_AR", "550000"},     {"SubstSai_AR", "4000000"},
        {"SubstSai_JR", "1600000"},    {"DifAliquota", "500000"},     {"ImpOutraUF", "70000"},
        {"OutrosRegEspec", "10000"},   {"Tare", "20000"},             {"PrevRicms", "30000"},
        {"Dorq", "40000"},             {"MirvelIcms", "800000"},      {"MirvelSubSaida", "1000000"},
        {"MirvelSubEntrada", "200000"}, {"MirvelRegFonte", "400000"}, {"MirvelDifAliq", "100000"},
        {"ChqHabitacao", "500000"},    {"ChqEducacao", "0"},          {"Entregue", "0"},
        {"DtGeracao", "2024-08-20T10:00:00"}, {"NumRecibo", "NULL"},  {"sitCadastroContrib", "NULL"},
        {"dataSitCadastro", "NULL"},
    };
    for (const auto& [nome, v] : esperado)
        EXPECT_EQ(coluna("ZEL", nome, linha), v) << nome;

    // The housing account of July; the education cheque, left at 0, writes no row.
    ASSERT_EQ(conta("ZEL_PRGGOV WHERE periodo = '200607'"), 1);
    const QString conta1 = QStringLiteral("periodo = '200607' AND tipoCheque = 1");
    const std::pair<const char*, const char*> programa[] = {
        {"idContribuinte", "1"},       {"credAutorizado", "500000"},    {"transfCredEntrada", "0"},
        {"transfCredSaida", "300000"}, {"valorApropriado", "200000"},   {"sldPeriodoAnterior", "1000000"},
        {"sldRemanescente", "1000000"},
    };
    for (const auto& [nome, v] : programa)
        EXPECT_EQ(coluna("ZEL_PRGGOV", nome, conta1), v) << nome;
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '200606'"), 1) << "June's account is not touched";
}

TEST_F(TelasZel, FalhaNosProgramasDesfazADeclaracaoEPermiteTentarDeNovo)
{
    habitacaoDeJunho();
    executa("CREATE TRIGGER recusa_programa BEFORE INSERT ON ZEL_PRGGOV BEGIN SELECT RAISE(ABORT, 'gravação recusada'); END");
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    digitaESai(t.campo("edtCredAtivoImobilizado"), "10,00");
    MostraPagina(t.pcPaginas, t.tsSubstituicao);
    digitaESai(t.campo("edtIcmsSTEntradas"), "45,00");
    MostraPagina(t.pcPaginas, t.tsApuracao);
    lancaHabitacao(t);

    const QString falha = QString::fromUtf8("Erro na inclusão das informações do cheque habitação.");
    informa(t.btnSalvarZel, falha);
    const TDialogosEspia::TVisto* visto = espia->ultimo(falha);
    ASSERT_TRUE(visto);
    EXPECT_FALSE(visto->emTransacao) << "told after the rollback";
    EXPECT_EQ(visto->zelDeFora, 0);
    EXPECT_EQ(conta("ZEL"), 0) << "the declaration row went back with its programme row";
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '200607'"), 0);
    EXPECT_FALSE(espia->ultimo(kIncluida));
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());
    EXPECT_TRUE(t.pcPaginas->isEnabled());
    EXPECT_EQ(texto(t, "edtCredAtivoImobilizado"), "10,00") << "the typed values stay for another try";
    EXPECT_EQ(t.lblSomaCredGoverno->text().trimmed(), "50,00");

    executa("DROP TRIGGER recusa_programa");
    informa(t.btnSalvarZel, kIncluida);
    EXPECT_EQ(conta("ZEL WHERE Periodo = '200607' AND CredAtivoImob = 100000 AND ChqHabitacao = 500000"), 1);
    EXPECT_EQ(conta("ZEL_PRGGOV WHERE periodo = '200607' AND tipoCheque = 1 AND sldRemanescente = 1000000"), 1);
}

TEST_F(TelasZel, RetificadoraDe2011SemReciboENormalRecusadaPelaPagina)
{
    {
        TfrmIncluirZEL t(ctx);
        processa(t, "6", "2011");
        const int recibo = t.pcPaginas->indexOf(t.fraRecibo);
        EXPECT_TRUE(t.pcPaginas->isTabVisible(recibo)) << "a normal declaration from May 2011 has its receipt page";
        MostraPagina(t.pcPaginas, t.fraRecibo);
        Clica(t.rbRetificadora);
        EXPECT_FALSE(t.pcPaginas->isTabVisible(recibo));
        EXPECT_EQ(t.pcPaginas->currentIndex(), 0);
        Clica(t.rbNormal);
        EXPECT_TRUE(t.pcPaginas->isTabVisible(recibo));
        Clica(t.rbRetificadora);
        informa(t.btnSalvarZel, kIncluida);
        const QString linha = QStringLiteral("Periodo = '201106'");
        EXPECT_EQ(coluna("ZEL", "Tipo", linha), "R");
        EXPECT_EQ(coluna("ZEL", "sitCadastroContrib", linha), "NULL");
        EXPECT_EQ(coluna("ZEL", "NumRecibo", linha), "NULL");
        EXPECT_EQ(coluna("ZEL", "dataSitCadastro", linha), "NULL");
    }

    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2011");
    informa(t.btnSalvarZel, QString::fromUtf8("O tipo de entrega deve ser informado"));
    EXPECT_EQ(t.pcPaginas->currentWidget(), t.fraRecibo);
    EXPECT_EQ(Foco(), "btnFechar");
    EXPECT_EQ(conta("ZEL"), 1);
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());

    // A monthly delivery with the previous receipt typed between blanks: checked and stored without them.
    const QString numero = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    Digita(t.fraRecibo->edtNrRecibo, "  " + numero + " ");
    t.fraRecibo->cbSituacaoCadastro->setCurrentIndex(0);
    informa(t.btnSalvarZel, kIncluida);
    const QString linha = QStringLiteral("Periodo = '201107'");
    EXPECT_EQ(coluna("ZEL", "Tipo", linha), "N");
    EXPECT_EQ(coluna("ZEL", "NumRecibo", linha), numero);
    EXPECT_EQ(coluna("ZEL", "sitCadastroContrib", linha), "0");
    const QString data = coluna("ZEL", "dataSitCadastro", linha);
    EXPECT_TRUE(data == "NULL" || data == "0") << data.toStdString();
}

// ----- entry screen: change mode

TEST_F(TelasZel, AlteracaoCarregaPelaChaveMantemODigitadoEReaplicaAsDeducoes)
{
    junho();
    // Another taxpayer's key shows nothing and changes nothing.
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, CredAtivoImob) VALUES (4, '200607', 'N', 990000)");
    const int alheia = int(sqlite3_last_insert_rowid(db()));
    {
        TfrmIncluirZEL t(ctx, alheia);
        Ativa(&t);
        EXPECT_EQ(texto(t, "edtCredAtivoImobilizado"), "0,00");
        EXPECT_FALSE(t.btnProcessa->isEnabled());
        EXPECT_FALSE(t.btnSalvarZel->isEnabled());
    }

    const int id = julhoGuardado(0);
    TfrmIncluirZEL t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Alterar Apuração do Imposto"));
    EXPECT_EQ(t.cmbMes->currentText(), "07");
    EXPECT_EQ(t.cmbAno->currentText(), "2006");
    EXPECT_FALSE(t.cmbMes->isEnabled());
    EXPECT_FALSE(t.cmbAno->isEnabled());
    EXPECT_TRUE(t.rbRetificadora->isChecked());
    EXPECT_FALSE(t.pcPaginas->isEnabled()) << "still waiting for Processa";
    EXPECT_EQ(texto(t, "edtCredAtivoImobilizado"), "10,00");
    EXPECT_EQ(texto(t, "edtCredEntrada"), "1,00");
    EXPECT_EQ(texto(t, "edtIcmsSTEntradas"), "100,00") << "01 = 02 + 03 as stored";
    EXPECT_EQ(texto(t, "edtSTSaidas"), "400,00");
    EXPECT_EQ(texto(t, "edtMirvelSubSaida"), "100,00");

    Clica(t.btnProcessa);
    banco.dialogos.verificaConsumo();
    ASSERT_TRUE(t.btnSalvarZel->isEnabled());
    EXPECT_EQ(t.cmbMes->currentText(), "7");
    // From the documents again.
    EXPECT_EQ(texto(t, "edtCredEntrada"), "56,00");
    EXPECT_EQ(texto(t, "edtCredSaldoAnterior"), "200,00");
    EXPECT_EQ(texto(t, "edtDebSaidas"), "400,00");
    // As typed and stored: the deduction in 09 is taken again from the gross 500,00.
    EXPECT_EQ(texto(t, "edtCredAtivoImobilizado"), "10,00");
    EXPECT_EQ(texto(t, "edtDebOutros"), "5,00");
    EXPECT_EQ(texto(t, "edtMirvelSubSaida"), "100,00");
    EXPECT_EQ(texto(t, "edtSTSaidas"), "400,00");
    EXPECT_EQ(texto(t, "edtST_Fonte"), "200,00");
    EXPECT_EQ(texto(t, "edtTotalST"), "600,00");
    EXPECT_EQ(texto(t, "edtIcmsST_AR"), "55,00");
    // 8 = 56 + 10 + 12, 10 = 78 + 200, 15 = 400 + 72 + 5.
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "78,00");
    EXPECT_EQ(texto(t, "edtImpostoRecolher"), "199,00");

    digitaESai(t.campo("edtCredAtivoImobilizado"), "15,00");
    informa(t.btnSalvarZel, kAlterada);
    EXPECT_EQ(conta("ZEL"), 3) << "the same row, changed";
    const QString linha = QStringLiteral("IDZel = %1").arg(id);
    EXPECT_EQ(coluna("ZEL", "CredAtivoImob", linha), "150000");
    EXPECT_EQ(coluna("ZEL", "CredEntradas", linha), "560000");
    EXPECT_EQ(coluna("ZEL", "CredSaldoAnterior", linha), "2000000");
    EXPECT_EQ(coluna("ZEL", "SubstSai_AR", linha), "4000000") << "not the gross figure beside a stored deduction";
    EXPECT_EQ(coluna("ZEL", "MirvelSubSaida", linha), "1000000");
    EXPECT_EQ(coluna("ZEL", "SubstSai_JR", linha), "2000000");
    EXPECT_EQ(coluna("ZEL", "SubstEnt_AR", linha), "550000");
    EXPECT_EQ(coluna("ZEL", "DebOutros", linha), "50000");
    EXPECT_EQ(coluna("ZEL", "Tipo", linha), "R");
    EXPECT_EQ(coluna("ZEL", "Periodo", linha), "200607");
    EXPECT_EQ(coluna("ZEL", "CredAtivoImob", QStringLiteral("IDZel = %1").arg(alheia)), "990000");
}

TEST_F(TelasZel, AlteracaoComCreditoPresumidoGuardadoMantemOsCamposDigitados)
{
    // The same July with 2,00 of TARE: the presumed window filled on load must not wipe the other fields.
    const int id = julhoGuardado(20000);
    TfrmIncluirZEL t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.credPresumido()->curedtTare->text(), "2,00");
    EXPECT_EQ(t.lblSomaCredPresumido->text().trimmed(), "2,00");
    EXPECT_EQ(texto(t, "edtCredAtivoImobilizado"), "10,00");
    EXPECT_EQ(texto(t, "edtDebOutros"), "5,00");
    EXPECT_EQ(texto(t, "edtIcmsSTEntradas"), "100,00");
    EXPECT_EQ(texto(t, "edtMirvelSubSaida"), "100,00");
    EXPECT_EQ(texto(t, "edtSTSaidas"), "400,00");

    Clica(t.btnProcessa);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(texto(t, "edtCredPeriodo"), "80,00") << "56 + 10 + 12 + 2";
    informa(t.btnSalvarZel, kAlterada);
    const QString linha = QStringLiteral("IDZel = %1").arg(id);
    EXPECT_EQ(coluna("ZEL", "CredAtivoImob", linha), "100000") << "a change that touched nothing keeps field 2";
    EXPECT_EQ(coluna("ZEL", "DebOutros", linha), "50000");
    EXPECT_EQ(coluna("ZEL", "MirvelSubSaida", linha), "1000000");
    EXPECT_EQ(coluna("ZEL", "SubstSai_AR", linha), "4000000");
    EXPECT_EQ(coluna("ZEL", "Tare", linha), "20000");
}

TEST_F(TelasZel, DeducaoGuardadaNoCampo18DeMesSemSaidasViraZeroComAvisoESalva)
{
    // September 2006 was saved when it still had 400,00 of exits and 80,00 deducted from them; its documents
    // are gone since. The field is closed, so the value that can no longer count becomes 0, and the user is
    // told which field and what was dropped; the save then goes through.
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, DebSaidas, MirvelIcms) VALUES (1, '200609', 'N', 3200000, "
            "800000)");
    const int id = int(sqlite3_last_insert_rowid(db()));
    TfrmIncluirZEL t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(texto(t, "edtMirvelIcms"), "80,00");
    informa(t.btnProcessa, QString::fromUtf8("Sem saídas no mês, o limite da Dedução MIRVEL-ZR é zero: o valor de \"18- "
                                             "MIRVEL-ZR - ICMS Normal\" (80,00) passou a 0,00."));
    EXPECT_EQ(texto(t, "edtMirvelIcms"), "0,00");
    EXPECT_FALSE(editavel(t, "edtMirvelIcms")) << "no exits, nothing to deduct from";
    EXPECT_EQ(texto(t, "edtDebSaidas"), "0,00");
    informa(t.btnSalvarZel, kAlterada);
    const QString linha = QStringLiteral("IDZel = %1").arg(id);
    EXPECT_EQ(coluna("ZEL", "MirvelIcms", linha), "0");
    EXPECT_EQ(coluna("ZEL", "DebSaidas", linha), "0");

    // A month that still has exits keeps its deduction as stored, and asks nothing.
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, DebSaidas, MirvelIcms) VALUES (1, '200607', 'N', 3200000, "
            "800000)");
    TfrmIncluirZEL julho(ctx, int(sqlite3_last_insert_rowid(db())));
    Ativa(&julho);
    Clica(julho.btnProcessa);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(texto(julho, "edtMirvelIcms"), "80,00");
    EXPECT_TRUE(editavel(julho, "edtMirvelIcms"));
    EXPECT_EQ(texto(julho, "edtDebSaidas"), "320,00");
}

TEST_F(TelasZel, SalvarRecusaValorQueOArquivoNaoComportaPeloCampo)
{
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    MostraPagina(t.pcPaginas, t.tsSubstituicao);
    digitaESai(t.campo("edtIcmsSTEntradas"), "45,00"); // 01 = 02: field 03 is 0
    MostraPagina(t.pcPaginas, t.tsApuracao);
    // One cent beyond the thirteen digits of the file's field, typed in field 13.
    digitaESai(t.campo("edtDebOutros"), "100.000.000.000,00");
    MostraPagina(t.pcPaginas, t.tsSubstituicao);
    informa(t.btnSalvarZel, QString::fromUtf8("O valor de \"13- Outros débitos\" é maior que o arquivo da declaração "
                                              "comporta (99.999.999.999,99)."));
    EXPECT_EQ(t.pcPaginas->currentWidget(), t.tsApuracao) << "the page of the field named comes to front";
    EXPECT_EQ(Foco(), "edtDebOutros");
    EXPECT_EQ(conta("ZEL"), 0);
    EXPECT_TRUE(t.btnSalvarZel->isEnabled());
    digitaESai(t.campo("edtDebOutros"), "99.999.999.999,99");
    informa(t.btnSalvarZel, kIncluida);
    EXPECT_EQ(coluna("ZEL", "DebOutros", QStringLiteral("Periodo = '200607'")), "999999999999900");
}

TEST_F(TelasZel, CamposMostramDuasCasasEOModeloGuardaOsDezMilesimos)
{
    // October 2006: figures with fractions of a cent. 11 = 1.022,9994; 1 = 0,0150; 04 = 0,0050; 17 = 1.022,9844.
    executa("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(20, 1, 2, '2006-10-10', 'S', '01', '1', '', '000020', '5102', 'P', 60000000, 'N', '2006-10-10'),"
            "(21, 1, 3, '2006-10-11', 'E', '01', '1', '', '000021', '2102', 'T', 10000, 'N', '2006-10-11')");
    executa("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(20, 60000000, 10229994, 0, 0, '1700'), (21, 10000, 150, 0, 0, '0700')");
    executa("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(20, 1000, 50, 0, '1')");
    TfrmIncluirZEL t(ctx);
    processa(t, "10", "2006");
    // Two decimals, ties to even: 0,0150 shows 0,02 and 0,0050 shows 0,00; what is held stays exact.
    const struct {
        const char* campo;
        const char* mostrado;
        qint64 guardado;
    } casos[] = {
        {"edtDebSaidas", "1.023,00", 10229994},       {"edtDebTotal", "1.023,00", 10229994},
        {"edtCredEntrada", "0,02", 150},               {"edtCredPeriodo", "0,02", 150},
        {"edtImpostoRecolher", "1.022,98", 10229844}, {"edtSTSaidas", "0,00", 50},
        {"edtTotalST", "0,00", 50},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(texto(t, c.campo), QString::fromLatin1(c.mostrado)) << c.campo;
        EXPECT_EQ(t.campo(c.campo)->valor().raw(), c.guardado) << c.campo;
    }
    EXPECT_EQ(t.modelo().debitoSaidas.raw(), 10229994);

    // A typed fraction of a cent would be held without being seen: refused where it is typed.
    digitaESai(t.campo("edtCredAtivoImobilizado"), "10,005",
               QString::fromUtf8("O valor não pode ter mais de duas casas decimais."));
    EXPECT_EQ(Foco(), "edtCredAtivoImobilizado");
    digitaESai(t.campo("edtCredAtivoImobilizado"), "10,00");
    EXPECT_EQ(t.modelo().c2, Money::fromCents(1000));

    informa(t.btnSalvarZel, kIncluida);
    const QString linha = QStringLiteral("Periodo = '200610'");
    EXPECT_EQ(coluna("ZEL", "DebSaidas", linha), "10229994");
    EXPECT_EQ(coluna("ZEL", "CredEntradas", linha), "150");
    EXPECT_EQ(coluna("ZEL", "SubstSai_AR", linha), "50");
    EXPECT_EQ(coluna("ZEL", "CredAtivoImob", linha), "100000");
}

TEST_F(TelasZel, SaldoNegativoDaHabitacaoNaoDeixaAEducacaoSemCalcular)
{
    const QString habitacao = QString::fromUtf8(
        "O saldo remanescente do cheque habitação está negativo para os valores informados. Por favor, corrija-os.");
    TfrmIncluirZEL t(ctx);
    processa(t, "7", "2006");
    programas(t, [&](TfrmCredProgGov& w) {
        // No balance from June: 20,00 appropriated leaves the housing account at -20,00.
        digitaESai(w.edtCH[4], "20,00", habitacao);
        EXPECT_EQ(w.edtCH[5]->text(), "-20,00");
        banco.dialogos.esperaMensagem(habitacao); // leaving the field for the other page tells it again
        MostraPagina(w.pcCredGoverno, w.tsChequeEducacao);
        banco.dialogos.verificaConsumo();
        // While the housing balance is negative every field left tells it and keeps the focus; the field left
        // on the education page still brings that page's balance up to date.
        ASSERT_EQ(Foco(), "edtCESldPeriodoAnterior");
        w.edtCE[0]->selectAll();
        QTest::keyClicks(w.edtCE[0], "30,00");
        banco.dialogos.esperaMensagem(habitacao);
        Sai();
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(w.edtCE[5]->text(), "30,00");
        EXPECT_EQ(w.edtCH[5]->text(), "-20,00");
        EXPECT_EQ(Foco(), "edtCESldPeriodoAnterior") << "the focus returns to the field left";
    });
}

TEST_F(TelasZel, AlteracaoComNumeroDoReciboApagadoGravaSemNumero)
{
    // June 2011 stored as a monthly delivery with the previous receipt; changed to the first delivery after
    // the start of activity, which carries no number: the number emptied on the page is emptied in the row.
    const QString numero = QStringLiteral("0123456789ABCDEF0123456789ABCDEF");
    executa(QStringLiteral("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, NumRecibo, sitCadastroContrib) VALUES "
                           "(1, '201106', 'N', '%1', 0)")
                .arg(numero));
    const int id = int(sqlite3_last_insert_rowid(db()));
    TfrmIncluirZEL t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.fraRecibo->edtNrRecibo->text(), numero);
    Clica(t.btnProcessa);
    banco.dialogos.verificaConsumo();
    MostraPagina(t.pcPaginas, t.fraRecibo);
    Digita(t.fraRecibo->edtNrRecibo, "");
    t.fraRecibo->cbSituacaoCadastro->setCurrentIndex(1);
    t.fraRecibo->edtDataSituacao->setText("02/05/2011");
    informa(t.btnSalvarZel, kAlterada);
    const QString linha = QStringLiteral("IDZel = %1").arg(id);
    EXPECT_EQ(coluna("ZEL", "NumRecibo", linha), "NULL");
    EXPECT_EQ(coluna("ZEL", "sitCadastroContrib", linha), "1");

    TfrmIncluirZEL reaberta(ctx, id);
    Ativa(&reaberta);
    EXPECT_TRUE(reaberta.fraRecibo->edtNrRecibo->text().isEmpty()) << "the row holds what the page showed";
}

// ----- the list

TEST_F(TelasZel, ListaMaisNovaPrimeiroEBotoesSemLinha)
{
    {
        TfrmZEL vazia(ctx);
        Ativa(&vazia);
        EXPECT_EQ(vazia.windowTitle(), QString::fromUtf8("Relação de ZEL Cadastradas - Regime Normal"));
        for (QPushButton* b : {vazia.btnAlterar, vazia.btnExcluir, vazia.btnImprimir, vazia.btnGerarArquivo})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(vazia.btnIncluir->isEnabled());
        EXPECT_EQ(vazia.dbgPeriodo->model()->rowCount(), 0);
    }
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200606', 'N'), (1, '200701', 'N'), "
            "(1, '200512', 'R'), (4, '200801', 'N')");
    TfrmZEL t(ctx);
    Ativa(&t);
    QStringList periodos;
    for (int i = 0; i < t.dbgPeriodo->model()->rowCount(); ++i)
        periodos << t.dbgPeriodo->model()->index(i, 0).data().toString();
    EXPECT_EQ(periodos, QStringList({"2007/01", "2006/06", "2005/12"})) << "the open taxpayer's only, newest first";
    for (QPushButton* b : {t.btnAlterar, t.btnExcluir, t.btnImprimir, t.btnGerarArquivo})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();

    // Reached with Tab, a command is pressed with Enter as with Space ("&Incluir" and "&Imprimir" share
    // their letter, so Alt+I alone cannot tell them apart).
    bool visualizou = false;
    banco.dialogos.esperaTela("TfrmVisualizaRelatorio", [&](QObject*) {
        visualizou = true;
        return 0;
    });
    t.btnImprimir->setFocus(Qt::TabFocusReason);
    QTest::keyClick(t.btnImprimir, Qt::Key_Return);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(visualizou);
}

TEST_F(TelasZel, ExcluirPerguntaELevaOsProgramasDoPeriodo)
{
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200605', 'N'), (1, '200606', 'N'), "
            "(1, '200607', 'N'), (4, '200607', 'N')");
    executa("INSERT INTO ZEL_PRGGOV (idContribuinte, periodo, credAutorizado, tipoCheque) VALUES "
            "(1, '200607', 10000, 1), (1, '200607', 20000, 2), (1, '200606', 30000, 1), (4, '200607', 40000, 1)");
    TfrmZEL t(ctx);
    Ativa(&t);
    ASSERT_EQ(t.dbgPeriodo->model()->index(0, 0).data().toString(), "2006/07");

    espia->respostaExclusao = false;
    Clica(t.btnExcluir);
    EXPECT_EQ(conta("ZEL"), 4) << "No deletes nothing";
    EXPECT_EQ(conta("ZEL_PRGGOV"), 4);

    espia->respostaExclusao = true;
    banco.dialogos.esperaMensagem(QString::fromUtf8("Excluído com Sucesso."));
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    const TDialogosEspia::TVisto* pergunta = espia->ultimo(kConfirmaExclusao);
    ASSERT_TRUE(pergunta);
    EXPECT_EQ(pergunta->titulo, QString::fromUtf8("Exclusão")) << "the question box's caption";
    EXPECT_EQ(valor("SELECT group_concat(IdContribuinte || ':' || Periodo, ' ') FROM (SELECT * FROM ZEL ORDER BY "
                    "IdContribuinte, Periodo)")
                  .toString(),
              "1:200605 1:200606 4:200607");
    EXPECT_EQ(valor("SELECT group_concat(idContribuinte || ':' || periodo || ':' || tipoCheque, ' ') FROM (SELECT * FROM "
                    "ZEL_PRGGOV ORDER BY idContribuinte, periodo)")
                  .toString(),
              "1:200606:1 4:200607:1")
        << "both cheques of the period go, the other months' and the other taxpayer's stay";
    QStringList periodos;
    for (int i = 0; i < t.dbgPeriodo->model()->rowCount(); ++i)
        periodos << t.dbgPeriodo->model()->index(i, 0).data().toString();
    EXPECT_EQ(periodos, QStringList({"2006/05", "2006/06"})) << "oldest first until the list is read again";
}

TEST_F(TelasZel, GerarArquivoCanceladoCalaEGravadoInforma)
{
    QTemporaryDir saida;
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200606', 'N'), (1, '200607', 'R')");
    TfrmZEL t(ctx);
    Ativa(&t);
    ASSERT_EQ(t.dbgPeriodo->model()->index(0, 0).data().toString(), "2006/07");

    // July's documents were typed after its declaration: asked about, then cancelled: nothing written and
    // nothing more said.
    banco.dialogos.esperaMensagem({}, Botao::Sim).esperaSalvar("");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    ASSERT_FALSE(banco.dialogos.registros().isEmpty());
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "salvar");
    EXPECT_EQ(banco.dialogos.registros().last().texto, "ZEL200607_123456789_332.txt") << "a rectifying declaration";
    ASSERT_EQ(espia->vistos.size(), 1) << "no message after a cancel";
    EXPECT_TRUE(espia->vistos[0].texto.endsWith("Gerar o arquivo assim mesmo?"));
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");

    // The June row, chosen with a click.
    const QRect r = t.dbgPeriodo->visualRect(t.dbgPeriodo->model()->index(1, 0));
    QTest::mouseClick(t.dbgPeriodo->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    const QString caminho = saida.filePath("ZEL200606_123456789_331.txt");
    banco.dialogos.esperaSalvar(caminho);
    banco.dialogos.esperaMensagem("Arquivo gerado com sucesso!");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(banco.dialogos.registros()[banco.dialogos.registros().size() - 2].texto, "ZEL200606_123456789_331.txt");
    ASSERT_TRUE(QFileInfo::exists(caminho));
    const QByteArray arquivo = TBancoTeste::conteudo(caminho);
    EXPECT_TRUE(arquivo.startsWith("1011222333000181123456789")) << arquivo.left(60).toStdString();
    EXPECT_EQ(arquivo.mid(107, 19), "2006060120060630331") << "June, normal finality";
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());
    EXPECT_EQ(Foco(), "btnFechar");
}

// A declaration its documents contradict is filed only when the user says so, and no failure, whether refused
// by the user or by the writer, leaves "&Gerar Arquivo" disabled.
TEST_F(TelasZel, GerarArquivoDesatualizadoOuRecusadoDeixaOBotaoUsavel)
{
    QTemporaryDir saida;
    executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200607', 'N')");
    TfrmZEL t(ctx);
    Ativa(&t);

    banco.dialogos.esperaMensagem({}, Botao::Nao);
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    const QString pergunta = banco.dialogos.registros().last().texto;
    EXPECT_TRUE(pergunta.startsWith(QString::fromUtf8("A declaração do regime normal de 07/2006 difere do que \"Processa\" "
                                                      "calcula hoje com os documentos do mês:")))
        << pergunta.toStdString();
    EXPECT_TRUE(pergunta.contains(QString::fromUtf8("11- Por saídas: declarado 0,00")) &&
                pergunta.endsWith("Gerar o arquivo assim mesmo?"))
        << pergunta.toStdString();
    EXPECT_TRUE(QDir(saida.path()).isEmpty());
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());

    // A value the file cannot carry: the writer's message, the list's, and the button again.
    executa("UPDATE ZEL SET DebOutros = -100");
    const QString caminho = saida.filePath("ZEL200607_123456789_331.txt");
    banco.dialogos.esperaMensagem({}, Botao::Sim).esperaSalvar(caminho).esperaSimples("").esperaMensagem(
        "Ocorreu ERRO na geração do Arquivo!");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(QFileInfo::exists(caminho));
    EXPECT_TRUE(t.btnGerarArquivo->isEnabled());

    executa("UPDATE ZEL SET DebOutros = 0");
    banco.dialogos.esperaMensagem({}, Botao::Sim).esperaSalvar(caminho).esperaMensagem("Arquivo gerado com sucesso!");
    Clica(t.btnGerarArquivo);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(QFileInfo::exists(caminho));
}

// ----- focus order

// After "Processa", in inclusion (a period with the page "Recibo") and in change, each page brought to front
// by its tab and walked with real Tab presses round the whole screen, against the order the fields are drawn
// in. Fields 10, 11, 12 and 15 to 17 are computed and take no focus, so the move from field 10 to field 13 is
// no stop of the walk; "01-Entradas" is typed above "02-Subst. recolhida" first, so that leaving 02 shows no
// box. The presumed-credit window and both pages of the programmes' window are walked too.
TEST_F(TelasZel, TabSegueAOrdemDaTelaEmCadaPaginaNaInclusaoENaAlteracao)
{
    const struct {
        const char* modo;
        bool alteracao;
        const char* mes;
        const char* ano;
        int paginas;
    } casos[] = {
        {"inclusão de 2024, com a página Recibo", false, "7", "2024", 3},
        {"alteração da retificadora de 2006", true, nullptr, nullptr, 2},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        std::unique_ptr<TfrmIncluirZEL> t;
        if (c.alteracao) {
            t = std::make_unique<TfrmIncluirZEL>(ctx, julhoGuardado(0));
            Ativa(t.get());
            Clica(t->btnProcessa);
            banco.dialogos.verificaConsumo();
        } else {
            t = std::make_unique<TfrmIncluirZEL>(ctx, 0);
            processa(*t, QString::fromLatin1(c.mes), QString::fromLatin1(c.ano));
        }
        ASSERT_TRUE(t->btnSalvarZel->isEnabled());
        digitaESai(t->campo("edtIcmsSTEntradas"), "100,00");
        int visitadas = 0;
        for (int i = 0; i < t->pcPaginas->count(); ++i) {
            if (!t->pcPaginas->isTabVisible(i))
                continue;
            ++visitadas;
            MostraPagina(t->pcPaginas, t->pcPaginas->widget(i));
            SCOPED_TRACE(t->pcPaginas->tabText(i).toStdString());
            QWidget* inicio = t->pcPaginas->tabBar();
            const int n = int(CamposNaTela(t.get()).size());
            const QStringList esperado = OrdemNaTela(t.get(), inicio, n);
            EXPECT_EQ(CaminhoDoTab(inicio, n), esperado);
            banco.dialogos.verificaConsumo();
        }
        EXPECT_EQ(visitadas, c.paginas);
        if (c.alteracao)
            continue;
        // The two credit windows the first page opens, the programmes' on each of its pages.
        MostraPagina(t->pcPaginas, t->tsApuracao);
        Clica(t->btnCredPresumido);
        TfrmCredPresumido* presumido = t->findChild<TfrmCredPresumido*>();
        ASSERT_TRUE(presumido && presumido->isVisible());
        Ativa(presumido);
        {
            SCOPED_TRACE("Crédito Presumido");
            const int n = int(CamposNaTela(presumido).size());
            EXPECT_EQ(n, 5);
            EXPECT_EQ(CaminhoDoTab(presumido->curedtOutrosRegimes, n), OrdemNaTela(presumido, presumido->curedtOutrosRegimes, n));
        }
        Clica(presumido->btnFechar);
        Ativa(t.get());
        programas(*t, [](TfrmCredProgGov& w) {
            for (int i = 0; i < w.pcCredGoverno->count(); ++i) {
                QTest::mouseClick(w.pcCredGoverno->tabBar(), Qt::LeftButton, Qt::NoModifier,
                                  w.pcCredGoverno->tabBar()->tabRect(i).center());
                ASSERT_EQ(w.pcCredGoverno->currentIndex(), i);
                SCOPED_TRACE(w.pcCredGoverno->tabText(i).toStdString());
                QWidget* inicio = w.pcCredGoverno->tabBar();
                const int n = int(CamposNaTela(&w).size());
                EXPECT_EQ(n, 7);
                EXPECT_EQ(CaminhoDoTab(inicio, n), OrdemNaTela(&w, inicio, n));
            }
        });
    }
}

TEST_F(TelasZel, TabSegueAOrdemDaTelaNaListaENaEntradaAntesDoProcessa)
{
    // Before "Processa" only the period, the button and the closing are there to walk.
    const struct {
        const char* modo;
        std::function<std::unique_ptr<QDialog>()> abre;
        qsizetype campos;
    } casos[] = {
        {"lista vazia", [this] { return std::make_unique<TfrmZEL>(ctx); }, 3},
        {"lista com declarações",
         [this] {
             executa("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200606', 'N'), (1, '200701', 'N')");
             return std::make_unique<TfrmZEL>(ctx);
         },
         7},
        {"inclusão antes do Processa", [this] { return std::make_unique<TfrmIncluirZEL>(ctx); }, 4},
        {"alteração antes do Processa", [this] { return std::make_unique<TfrmIncluirZEL>(ctx, julhoGuardado(0)); }, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        const std::unique_ptr<QDialog> t = c.abre();
        Ativa(t.get());
        const auto volta = VoltaDoTab(t.get());
        if (c.campos) {
            EXPECT_EQ(volta.esperado.size(), c.campos + 1) << volta.esperado.join(' ').toStdString();
        }
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
