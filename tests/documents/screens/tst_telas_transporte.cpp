// The transport document screens over a temporary data folder, driven by real focus changes, keys and clicks:
// the entry screen's states, its header checks in their order, "Cancelada" and the electronic situations, the
// cargo box that writes the header inside the open transaction with the cargo notes hung on it through the
// grid's menu, what "&Salvar" commits and what "&Cancelar" or leaving takes back; the change screen, loaded
// for the open taxpayer only; the browse screen with its freight-mode filter, its sums and its deletions.
#include <QAbstractButton>
#include <QAction>
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
#include <sqlite3.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untAlterarNotasTransporte.h"
#include "documents/screens/untCarga.h"
#include "documents/screens/untIncluirNotasTransporte.h"
#include "documents/screens/untNotasTransporte.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kCnpjAtivo = QStringLiteral("99888777000100");
const QString kCnpjLocal = QStringLiteral("11222333000181");
const QString kCnpjPaulista = QStringLiteral("22333444000155");
const QString kGravadaTransporte = QString::fromUtf8("Nota de Transporte\nGravada com Sucesso!");
const QString kCargaGravada = QString::fromUtf8("Nota de Carga\nGravada com Sucesso!");
const QString kConfirmaExclusao = QString::fromUtf8("Confirma Exclusão \ndeste Registro ?");
const QString kExcluido = QString::fromUtf8("Excluído com Sucesso.");
// The closing box of a save, whatever its text: its wording is checked once, on its own.
const QString kQualquer;

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

// Check boxes and radio buttons stretched by their layout answer only on their box and caption: they are
// clicked there, not in the middle of the empty width.
void Clica(QAbstractButton* b)
{
    if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b))
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
    else
        QTest::mouseClick(b, Qt::LeftButton);
}

// Types into a field as the user does: the focus comes in (the field left runs its rules), all is selected,
// then the keys.
void Digita(QLineEdit* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    if (texto.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, texto);
}

void Data(QDateEdit* e, const QDate& dia)
{
    e->setFocus(Qt::TabFocusReason);
    e->setDate(dia);
}

void Sai()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// Passes every box on to the scripted dialogs, noting for each message whether the screen's transaction
// was still open when it came up.
class TDialogosEspia final : public IDialogos {
public:
    TDialogosEspia(IDialogos& real, sqlite3* db) : m_real(real), m_db(db) {}
    QStringList textos;
    QList<bool> emTransacao;

    Botao mostraMensagem(const TPedidoMensagem& p) override
    {
        textos << p.texto;
        emTransacao << (sqlite3_get_autocommit(m_db) == 0);
        return m_real.mostraMensagem(p);
    }
    bool confirmaExclusao(const QString& t) override { return m_real.confirmaExclusao(t); }
    void mensagemSimples(const QString& t) override { m_real.mensagemSimples(t); }
    QString salvarArquivo(const QString& a, const QString& b, const QString& c) override
    {
        return m_real.salvarArquivo(a, b, c);
    }
    QString escolherPasta(const QString& a, const QString& b) override { return m_real.escolherPasta(a, b); }
    bool abrirAssociado(const QString& a) override { return m_real.abrirAssociado(a); }
    int executaModal(QObject* tela) override { return m_real.executaModal(tela); }

private:
    IDialogos& m_real;
    sqlite3* m_db;
};

struct TelasTransporte : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};
    int ativo = 0;
    int local = 0;     // a party in the home state
    int paulista = 0;  // a party in "SP"
    int alheio = 0;    // another taxpayer, whose documents are never this one's

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        ativo = parte("TRANSPORTES ATIVO", kCnpjAtivo, "ZR", "C");
        local = parte("EMBARCADOR LOCAL", kCnpjLocal, "ZR", "F");
        paulista = parte("EMBARCADOR PAULISTA", kCnpjPaulista, "SP", "F");
        alheio = parte("OUTRO CONTRIBUINTE", "44555666000177", "ZR", "C");
        ctx.IdAtivo = ativo;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    QStringList lista(const QString& sql) { return TBancoTeste::listaDireta(db(), sql); }
    int conta(const QString& tabela) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + tabela).toInt(); }
    bool emTransacao() { return sqlite3_get_autocommit(db()) == 0; }
    // What another program on the same file sees: only what was committed.
    int contaDeFora(const QString& tabela)
    {
        sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
        const int n = TBancoTeste::valorDireto(outro, QStringLiteral("SELECT COUNT(*) FROM ") + tabela).toInt();
        sqlite3_close(outro);
        return n;
    }

    int parte(const QString& razao, const QString& cnpj, const QString& uf, const QString& tipo)
    {
        executa(QStringLiteral("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) "
                               "VALUES ('%1', '123456789', '%2', '%3', '%4')")
                    .arg(cnpj, razao, uf, tipo));
        return int(sqlite3_last_insert_rowid(db()));
    }

    struct TDoc {
        QString numero = QStringLiteral("000123");
        QString dia = QStringLiteral("2024-05-10");
        QString situacao = QStringLiteral("N");
        QString modalidade = QStringLiteral("1");
        QString modelo = QStringLiteral("08");
        QString serie = QStringLiteral("B");
        QString cfop = QStringLiteral("1352");
        int emitente = 0; // the local party unless told
        int dono = 0;     // the open taxpayer unless told
    };
    // A stored document of 1.000,00: base 800,00 with 96,00 of ICMS, 150,00 exempt and 50,00 other, whatever
    // its situation (so that a sum that took in a cancelled or voided row shows it).
    int documento(const TDoc& d)
    {
        executa(QStringLiteral("INSERT INTO NFTRANSPORTE (IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
                               "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao, "
                               "Obs, DtUltAlteracao) VALUES (%1, %2, '%3', '%4', '%5', '', '%6', '%7', 10000000, "
                               "8000000, 960000, 1500000, 500000, '%8', '%9', 'FRETE', '2024-07-01T08:00:00')")
                    .arg(d.dono ? d.dono : ativo)
                    .arg(d.emitente ? d.emitente : local)
                    .arg(d.dia, d.modelo, d.serie, d.numero, d.cfop, d.modalidade, d.situacao));
        return int(sqlite3_last_insert_rowid(db()));
    }
    void carga(int idNota, const QString& numero)
    {
        executa(QStringLiteral("INSERT INTO NFCARGA (IDContribuinte, IDTomador, IDDestino, IDNotaTransporte, DtEmissao, "
                               "ModeloNF, SerieNF, NumNF, ValorNF) VALUES (%1, %2, %3, %4, '2024-05-09', '01', '1', "
                               "'%5', 5000000)")
                    .arg(ativo)
                    .arg(local)
                    .arg(paulista)
                    .arg(idNota)
                    .arg(numero));
    }
    QString daNota(const char* colunas, const QString& numero)
    {
        return valor(QStringLiteral("SELECT %1 FROM NFTRANSPORTE WHERE Numero = '%2'").arg(QLatin1String(colunas), numero))
            .toString();
    }

    QStringList mensagens() const
    {
        QStringList r;
        for (const auto& m : banco.dialogos.registros())
            r << m.texto;
        return r;
    }
    // Clicks a button that must end with this box (a plain one when `simples`), after the prompts already
    // expected; anything else shown fails the test.
    void informa(QAbstractButton* botao, const QString& mensagem, bool simples = false)
    {
        SCOPED_TRACE(mensagem.toStdString());
        if (simples)
            banco.dialogos.esperaSimples(mensagem);
        else
            banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        EXPECT_EQ(banco.dialogos.pendentes(), 0);
        banco.dialogos.verificaConsumo();
    }
    void recusa(QAbstractButton* botao, const QString& mensagem, const QString& campo, bool simples = false)
    {
        SCOPED_TRACE(mensagem.toStdString());
        informa(botao, mensagem, simples);
        EXPECT_EQ(Foco(), campo);
    }

    // A complete paper document dated 10/05/2024, as typed: the code found on leaving it (the focus then goes
    // to the party), the party found by its number on leaving it (the focus then goes to "&Salvar").
    static void preenche(TfrmCamposTransporte& t, const QString& numero, const QString& cnpj = kCnpjLocal,
                         const QString& cfop = QStringLiteral("1352"), const QString& total = QStringLiteral("100,00"))
    {
        Digita(t.edtModelo, "08");
        Digita(t.edtSerie, "b");
        Digita(t.edtNumNtTransporte, numero);
        Data(t.edtEmissao, QDate(2024, 5, 10));
        Digita(t.curNTVlrTotal, total);
        Digita(t.edtObservacao, "FRETE");
        Digita(t.curNTBaseCalc, total);
        Digita(t.curNTValorIcms, "12,00");
        Digita(t.edtCodCFOP, cfop);
        Sai();
        EXPECT_EQ(Foco(), "edtCnpjTomador") << "a code found takes the focus to the party";
        Digita(t.edtCnpjTomador, cnpj);
        Sai();
        EXPECT_EQ(Foco(), "btnSalvar") << "a party found takes the focus to the save button";
    }

    static void verificaEditando(TfrmIncluirNotasTransporte& t, bool sim)
    {
        EXPECT_EQ(t.btnNovaNota->isEnabled(), !sim);
        EXPECT_EQ(t.btnFechar->isEnabled(), !sim);
        EXPECT_EQ(t.btnCancelar->isEnabled(), sim);
        EXPECT_EQ(t.btnSalvar->isEnabled(), sim);
        EXPECT_EQ(t.grbDados->isEnabled(), sim);
        EXPECT_EQ(t.grbIcms->isEnabled(), sim);
        EXPECT_EQ(t.grbCarga->isEnabled(), sim);
        EXPECT_EQ(t.transacaoAberta(), sim);
    }

    // One cargo note typed on its entry screen: the recipient found by its number, then model, number, value.
    void lancaCarga(TfrmIncluirCarga& c, const QString& numero, const QString& valorNF = QStringLiteral("500,00"))
    {
        Digita(c.edtCnpjDestino, kCnpjPaulista);
        Sai();
        EXPECT_EQ(c.lblNomeDestino->text(), "EMBARCADOR PAULISTA");
        Digita(c.edtModelo, "1");
        Digita(c.edtNumeroNF, numero);
        Digita(c.edtValorNF, valorNF);
        informa(c.btnSalvar, kCargaGravada);
    }
    // The grid menu's "Incluir", as the right-click menu triggers it, with these notes typed and the screen
    // left through "Fechar".
    void incluiCargas(TfrmCamposTransporte& t, const QStringList& numeros)
    {
        banco.dialogos.esperaTela("TfrmIncluirCarga", [this, numeros](QObject* o) {
            auto* c = static_cast<TfrmIncluirCarga*>(o);
            Ativa(c);
            for (const QString& n : numeros)
                lancaCarga(*c, n);
            Clica(c->btnFechar);
            return c->result();
        });
        t.mnuIncluirCarga->trigger();
        banco.dialogos.verificaConsumo();
        Ativa(&t);
    }
    // A click on a row of the cargo grid.
    static void escolheCarga(TfrmCamposTransporte& t, int linha)
    {
        const QRect r = t.dbgCarga->visualRect(t.dbgCarga->model()->index(linha, 0));
        QTest::mouseClick(t.dbgCarga->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        EXPECT_EQ(t.dbgCarga->currentIndex().row(), linha);
    }
    static QStringList numerosDaGrade(QTableView* grade, int coluna)
    {
        QStringList r;
        for (int i = 0; i < grade->model()->rowCount(); ++i)
            r << grade->model()->index(i, coluna).data().toString();
        return r;
    }
};

} // namespace

// ----- entry screen: states

TEST_F(TelasTransporte, OciosoAteNovaNotaQueAbreATransacao)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Lançamento de Notas Fiscais de Transporte"));
    EXPECT_EQ(t.edtModelo->text(), "08");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 7, 15)) << "today comes from the program's clock";
    EXPECT_EQ(t.btnNovaNota->text(), "&Nova Nota");
    verificaEditando(t, false);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(Foco(), "btnNovaNota");

    Clica(t.btnNovaNota);
    verificaEditando(t, true);
    EXPECT_TRUE(emTransacao());
    EXPECT_TRUE(t.rbCIF->isChecked());
    EXPECT_TRUE(t.rdgModalidade->isEnabled());
    EXPECT_TRUE(t.grbCfop->isEnabled());
    EXPECT_TRUE(t.grbTomador->isEnabled());
    EXPECT_TRUE(t.chbSituacao->isEnabled());
    EXPECT_FALSE(t.chbSituacao->isChecked());
    EXPECT_TRUE(t.ckbTransportadora->isEnabled());
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_FALSE(t.dbgCarga->isEnabled()) << "no cargo note before the header is written";
    EXPECT_TRUE(t.rgSituacaoNF->isEnabled());
    EXPECT_EQ(t.notaAtual(), 0);
    EXPECT_EQ(Foco(), "edtModelo");
}

TEST_F(TelasTransporte, CanceladaFechaValoresEGravaOProprioContribuinte)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "77");
    Clica(t.chbSituacao);
    EXPECT_EQ(Foco(), "edtModelo");
    for (TEdValor* v : {t.curNTVlrTotal, t.curNTBaseCalc, t.curNTValorIcms, t.curNTIsenta, t.curNTOutras}) {
        EXPECT_TRUE(v->valor().isZero()) << v->objectName().toStdString();
        EXPECT_FALSE(v->isEnabled()) << v->objectName().toStdString();
    }
    EXPECT_FALSE(t.grbTomador->isEnabled());
    EXPECT_FALSE(t.grbCfop->isEnabled());
    EXPECT_FALSE(t.grbCarga->isEnabled()) << "a cancelled document carries no cargo";
    EXPECT_TRUE(t.grbDados->isEnabled());

    informa(t.btnSalvar, kQualquer);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(daNota("Situacao || ' ' || Cfop || ' ' || IDEmitente", "000077"), "S 5949 " + QString::number(ativo))
        << "the taxpayer itself with the generic code, whatever party and code were typed";
    EXPECT_EQ(daNota("ValorTotal || BaseCalcIcms || ValorIcms || Isenta || Outras", "000077"), "00000");

    // Before 2003 the generic code has three digits.
    Clica(t.btnNovaNota);
    EXPECT_FALSE(t.chbSituacao->isChecked());
    EXPECT_TRUE(t.grbIcms->isEnabled()) << "a new document opens what the cancelled one shut";
    EXPECT_TRUE(t.grbTomador->isEnabled());
    Digita(t.edtNumNtTransporte, "78");
    Data(t.edtEmissao, QDate(2002, 3, 1));
    Clica(t.chbSituacao);
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("Situacao || ' ' || Cfop || ' ' || IDEmitente || ' ' || DtEmissao", "000078"),
              "S 599 " + QString::number(ativo) + " 2002-03-01");
}

// ----- entry screen: the header's checks

TEST_F(TelasTransporte, ChecagensDoCabecalhoNaOrdemComMensagemECampo)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");

    Digita(t.edtModelo, "01");
    recusa(t.btnSalvar, QString::fromUtf8("Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10, 11 e 57."), "edtModelo");
    Digita(t.edtModelo, "08");
    Digita(t.edtSerie, "x");
    EXPECT_EQ(t.edtSerie->text(), "X") << "the series is typed in upper case";
    recusa(t.btnSalvar, QString::fromUtf8("Série da Nota Inválida!\n Séries válidas B,C,U e em branco."), "edtSerie");
    Digita(t.edtSerie, "c");
    Digita(t.edtSubSerie, "z");
    recusa(t.btnSalvar, QString::fromUtf8("Sub Série da Nota Inválida!\nDigite U, ou um número."), "edtSubSerie");
    Digita(t.edtSubSerie, " u");
    Digita(t.edtNumNtTransporte, "");
    EXPECT_EQ(t.edtSubSerie->text(), "U") << "trimmed and in upper case on leaving";
    recusa(t.btnSalvar, QString::fromUtf8("Número da Nota Inválido!"), "edtNumNtTransporte");
    Digita(t.edtNumNtTransporte, "0");
    recusa(t.btnSalvar, QString::fromUtf8("Número da Nota Inválido!"), "edtNumNtTransporte");
    Digita(t.edtNumNtTransporte, "123");

    Digita(t.curNTVlrTotal, "0,00");
    recusa(t.btnSalvar, "Valor deve ser Maior que Zero!", "curNTVlrTotal");
    // Base, exempt and other must make the total; the ICMS does not enter the sum.
    Digita(t.curNTVlrTotal, "120,01");
    Digita(t.curNTBaseCalc, "100,00");
    Digita(t.curNTIsenta, "20,00");
    Digita(t.curNTValorIcms, "999,00");
    recusa(t.btnSalvar, "Valor Total da Nota Difere do Informado", "curNTBaseCalc");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);
    verificaEditando(t, true);

    Digita(t.curNTVlrTotal, "120,00");
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("Modelo || '|' || Serie || '|' || SubSerie || '|' || ValorTotal || '|' || BaseCalcIcms || '|' || "
                     "Isenta || '|' || ValorIcms || '|' || Cfop || '|' || IDEmitente || '|' || Situacao || '|' || "
                     "Modalidade || '|' || Obs || '|' || DtEmissao || '|' || DtUltAlteracao",
                     "000123"),
              "08|C|U|1200000|1000000|200000|9990000|1352|" + QString::number(local) +
                  "|N|1|FRETE|2024-05-10|2024-07-15T09:30:00");
}

TEST_F(TelasTransporte, UfDoCfopVemAntesDoTamanhoDoCodigo)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);

    // A four-digit code found for 2024, the date then moved to before 2003: only the length is wrong.
    Clica(t.btnNovaNota);
    preenche(t, "123", kCnpjLocal, "1352");
    Data(t.edtEmissao, QDate(2002, 5, 10));
    recusa(t.btnSalvar, QString::fromUtf8("CFOP Inválido para a Data informada!"), "edtCodCFOP");
    Clica(t.btnCancelar);

    // The same with a party from another state: both are wrong, the state is told first.
    Clica(t.btnNovaNota);
    preenche(t, "123", kCnpjPaulista, "1352");
    EXPECT_EQ(t.lblUF->text(), "SP");
    Data(t.edtEmissao, QDate(2002, 5, 10));
    recusa(t.btnSalvar, QString::fromUtf8("UF Inválida para CFOP informado!"), "edtCodCFOP");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);
    Clica(t.btnCancelar);

    // The interstate code for that party passes.
    Clica(t.btnNovaNota);
    preenche(t, "123", kCnpjPaulista, "2352");
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("Cfop || ' ' || IDEmitente", "000123"), "2352 " + QString::number(paulista));
}

TEST_F(TelasTransporte, CodigoETomadorProcuradosAoSairDosCampos)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    Digita(t.edtNumNtTransporte, "123");
    Data(t.edtEmissao, QDate(2024, 5, 10));
    Digita(t.curNTVlrTotal, "100,00");
    Digita(t.curNTBaseCalc, "100,00");

    // A sales code is not among the transport codes: leaving the field empties it.
    Digita(t.edtCodCFOP, "5102");
    Sai();
    EXPECT_EQ(t.edtCodCFOP->text(), "");
    EXPECT_EQ(t.MemoCfop->toPlainText(), "");
    EXPECT_EQ(Foco(), "edtCnpjTomador");

    // A number not in the register opens the selection; closing it without a choice chooses nobody.
    banco.dialogos.esperaTela("TfrmEmpresas", [](QObject*) { return int(QDialog::Rejected); });
    Digita(t.edtCnpjTomador, "12345678000199");
    Sai();
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.edtCnpjTomador->text(), "");
    EXPECT_EQ(t.lblNomeTomador->text(), "");
    EXPECT_EQ(t.lblUF->text(), "");

    Digita(t.edtCodCFOP, "1352");
    Sai();
    EXPECT_EQ(t.edtCodCFOP->text(), "1352");
    EXPECT_EQ(t.MemoCfop->toPlainText(), QString::fromUtf8("Aquisição de serviço de transporte por estabelecimento industrial"));
    EXPECT_EQ(Foco(), "edtCnpjTomador");

    // Leaving the still empty party for "&Salvar" opens the selection again; with nobody chosen (so no
    // state) the save is refused on the state rule, which comes before the party's own.
    banco.dialogos.esperaTela("TfrmEmpresas", [](QObject*) { return int(QDialog::Rejected); });
    recusa(t.btnSalvar, QString::fromUtf8("UF Inválida para CFOP informado!"), "edtCodCFOP");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);

    Digita(t.edtCnpjTomador, kCnpjLocal);
    Sai();
    EXPECT_EQ(t.lblNomeTomador->text(), "EMBARCADOR LOCAL");
    EXPECT_EQ(t.lblUF->text(), "ZR");
    EXPECT_EQ(t.edtCodCFOP->text(), "1352") << "the code found again on leaving it";
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("IDEmitente || ' ' || Cfop", "000123"), QString::number(local) + " 1352");
}

// Without a party there is no state: an interstate code passes the state rule and the save asks for the
// party; a missing code is told by the date rule, whoever the party.
TEST_F(TelasTransporte, SemTomadorOuSemCodigoCadaUmComSuaMensagem)
{
    struct Caso {
        const char* cfop;    // typed and left; empty: the field is never visited
        QString cnpj;        // the party typed; empty: left empty (the selection closed without a choice)
        const char* mensagem;
        const char* campo;
    };
    const Caso casos[] = {
        {"2352", QString(), "Selecione o Emitente/Tomador", "edtCnpjTomador"},
        {"", kCnpjLocal, "CFOP Inválido para a Data informada!", "edtCodCFOP"},
        {"", QString(), "CFOP Inválido para a Data informada!", "edtCodCFOP"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.cfop) + " / " + caso.cnpj.toStdString());
        TfrmIncluirNotasTransporte t(ctx);
        Ativa(&t);
        Clica(t.btnNovaNota);
        Digita(t.edtNumNtTransporte, "123");
        Data(t.edtEmissao, QDate(2024, 5, 10));
        Digita(t.curNTVlrTotal, "100,00");
        Digita(t.curNTBaseCalc, "100,00");
        const bool comCodigo = *caso.cfop != '\0';
        if (comCodigo) {
            Digita(t.edtCodCFOP, QString::fromLatin1(caso.cfop));
            Sai();
            ASSERT_EQ(t.edtCodCFOP->text(), QString::fromLatin1(caso.cfop)) << "a transport code of the list";
            EXPECT_EQ(Foco(), "edtCnpjTomador");
        }
        if (!caso.cnpj.isEmpty()) {
            Digita(t.edtCnpjTomador, caso.cnpj);
            Sai();
            EXPECT_EQ(Foco(), "btnSalvar");
        } else if (comCodigo) {
            // Leaving the empty party for "&Salvar" opens the selection, closed without a choice.
            banco.dialogos.esperaTela("TfrmEmpresas", [](QObject*) { return int(QDialog::Rejected); });
        }
        recusa(t.btnSalvar, QString::fromUtf8(caso.mensagem), caso.campo);
        EXPECT_EQ(conta("NFTRANSPORTE"), 0);
        verificaEditando(t, true);
        Clica(t.btnCancelar);
    }
}

TEST_F(TelasTransporte, DuplicataSemASerieNaoGravaNada)
{
    TDoc d;
    d.serie = "B";
    documento(d);
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");
    Digita(t.edtSerie, "c");
    recusa(t.btnSalvar, QString::fromUtf8("Nota 000123 já está cadastrada!\nem: 10/05/2024."), "edtModelo", true);
    EXPECT_EQ(conta("NFTRANSPORTE"), 1);
    verificaEditando(t, true);
    EXPECT_EQ(t.notaAtual(), 0);

    // Marking the cargo box meets the same rule, and the box is cleared.
    banco.dialogos.esperaSimples(QString::fromUtf8("Nota 000123 já está cadastrada!\nem: 10/05/2024."));
    Clica(t.ckbTransportadora);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_TRUE(t.ckbTransportadora->isEnabled());
    EXPECT_FALSE(t.dbgCarga->isEnabled());
    EXPECT_EQ(conta("NFTRANSPORTE"), 1);
}

// ----- entry screen: the cargo box

TEST_F(TelasTransporte, MarcarACargaGravaOCabecalhoDentroDaTransacao)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");

    // A refusal clears the box and writes nothing.
    Digita(t.curNTVlrTotal, "0,00");
    banco.dialogos.esperaMensagem("Valor deve ser Maior que Zero!");
    Clica(t.ckbTransportadora);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_EQ(Foco(), "curNTVlrTotal");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);
    EXPECT_TRUE(t.grbDados->isEnabled());

    Digita(t.curNTVlrTotal, "100,00");
    const auto caixas = banco.dialogos.registros().size();
    Clica(t.ckbTransportadora);
    EXPECT_EQ(banco.dialogos.registros().size(), caixas) << "no box on a header written for its cargo";
    EXPECT_EQ(conta("NFTRANSPORTE"), 1) << "visible on the screen's own connection";
    EXPECT_EQ(contaDeFora("NFTRANSPORTE"), 0) << "but not committed";
    EXPECT_TRUE(emTransacao());
    EXPECT_EQ(t.notaAtual(), valor("SELECT IDNFTransporte FROM NFTRANSPORTE").toInt());
    EXPECT_TRUE(t.ckbTransportadora->isChecked());
    EXPECT_FALSE(t.ckbTransportadora->isEnabled()) << "the box is spent";
    EXPECT_TRUE(t.dbgCarga->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{t.rdgModalidade, t.grbDados, t.grbIcms, t.chbSituacao, t.grbCfop,
                                                      t.grbTomador, t.rgSituacaoNF})
        EXPECT_FALSE(w->isEnabled()) << "the written header is locked: " << w->objectName().toStdString();
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
}

TEST_F(TelasTransporte, Modelo07NaoLevaCarga)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");
    Digita(t.edtModelo, "07");

    // Entering the box (from the keyboard) is refused at once.
    banco.dialogos.esperaMensagem(QString::fromUtf8("Modelo de Conhecimento Inválido!\n Modelos válidos 08,09, 10 e 11."));
    t.ckbTransportadora->setFocus(Qt::TabFocusReason);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(Foco(), "edtModelo");
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);
    EXPECT_EQ(t.notaAtual(), 0);
    EXPECT_FALSE(t.dbgCarga->isEnabled());
    EXPECT_TRUE(t.grbDados->isEnabled());

    // The same click that enters the box would mark it: one refusal, the box left clear, nothing written.
    banco.dialogos.esperaMensagem(QString::fromUtf8("Modelo de Conhecimento Inválido!\n Modelos válidos 08,09, 10 e 11."));
    Clica(t.ckbTransportadora);
    banco.dialogos.verificaConsumo();
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_EQ(Foco(), "edtModelo");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);

    // A model 07 bill is still saved without cargo.
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("Modelo", "000123"), "07");
    EXPECT_EQ(conta("NFCARGA"), 0);
}

TEST_F(TelasTransporte, NotasDaCargaPeloMenuDaGrade)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");

    // Before the header is written the menu does nothing.
    t.mnuIncluirCarga->trigger();
    EXPECT_EQ(conta("NFCARGA"), 0);

    Clica(t.ckbTransportadora);
    const int nota = t.notaAtual();
    ASSERT_GT(nota, 0);
    incluiCargas(t, {"45", "46"});
    EXPECT_EQ(t.linhasDaCarga(), 2) << "the grid shows the notes just written";
    EXPECT_EQ(lista("SELECT IDNotaTransporte || '|' || IDContribuinte || '|' || IDTomador || '|' || IDDestino || '|' || "
                    "ModeloNF || '|' || NumNF || '|' || ValorNF FROM NFCARGA ORDER BY IDNFCarga"),
              (QStringList{QStringLiteral("%1|%2|%3|%4|01|000045|5000000").arg(nota).arg(ativo).arg(local).arg(paulista),
                           QStringLiteral("%1|%2|%3|%4|01|000046|5000000").arg(nota).arg(ativo).arg(local).arg(paulista)}))
        << "under the new document, its party as the taker, the model as stored, the number padded";
    EXPECT_EQ(numerosDaGrade(t.dbgCarga, 4), (QStringList{"000045", "000046"}));

    // "Alterar" opens the chosen row.
    escolheCarga(t, 0);
    banco.dialogos.esperaTela("TfrmAlterarCarga", [this](QObject* o) {
        auto* c = static_cast<TfrmAlterarCarga*>(o);
        Ativa(c);
        EXPECT_EQ(c->edtNumeroNF->text(), "000045");
        EXPECT_EQ(c->lblNomeDestino->text(), "EMBARCADOR PAULISTA");
        Digita(c->edtNumeroNF, "47");
        informa(c->btnSalvar, QString::fromUtf8("Nota de Carga\nAlterada com Sucesso!"));
        return c->result();
    });
    t.mnuAlterarCarga->trigger();
    banco.dialogos.verificaConsumo();
    Ativa(&t);
    EXPECT_EQ(lista("SELECT NumNF FROM NFCARGA ORDER BY IDNFCarga"), (QStringList{"000047", "000046"}));
    EXPECT_EQ(numerosDaGrade(t.dbgCarga, 4), (QStringList{"000047", "000046"}));

    // "Excluir" asks first; a refusal keeps the note.
    escolheCarga(t, 1);
    banco.dialogos.esperaExclusao(kConfirmaExclusao, false);
    t.mnuExcluirCarga->trigger();
    EXPECT_EQ(conta("NFCARGA"), 2);
    escolheCarga(t, 1);
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    banco.dialogos.esperaMensagem(kExcluido);
    t.mnuExcluirCarga->trigger();
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(lista("SELECT NumNF FROM NFCARGA"), QStringList{"000047"});
    EXPECT_EQ(t.linhasDaCarga(), 1);
    EXPECT_EQ(contaDeFora("NFCARGA"), 0) << "nothing committed before \"&Salvar\"";

    informa(t.btnSalvar, kQualquer);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(contaDeFora("NFTRANSPORTE"), 1);
    EXPECT_EQ(contaDeFora("NFCARGA"), 1);
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_EQ(t.linhasDaCarga(), 0) << "the grid is emptied for the next document";
    verificaEditando(t, false);
}

// ----- entry screen: saving and leaving

TEST_F(TelasTransporte, SalvarConfirmaAntesDaMensagemEPreparaAProxima)
{
    TDialogosEspia espia(banco.dialogos, db());
    ctx.dialogos = &espia;
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    Clica(t.rbFOB);
    EXPECT_EQ(Foco(), "edtModelo");
    preenche(t, "123");
    Digita(t.edtSubSerie, "1");
    Clica(t.ckbTransportadora);
    incluiCargas(t, {"45"});
    espia.textos.clear();
    espia.emTransacao.clear();

    banco.dialogos.esperaMensagem(kQualquer);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(espia.textos.size(), 1);
    EXPECT_EQ(espia.textos.first(), kGravadaTransporte);
    EXPECT_FALSE(espia.emTransacao.first()) << "the success is told only once the document is committed";
    EXPECT_EQ(contaDeFora("NFTRANSPORTE"), 1);
    EXPECT_EQ(daNota("Modalidade || SubSerie", "000123"), "21");

    EXPECT_EQ(t.edtModelo->text(), "08") << "model and series stay for the next document";
    EXPECT_EQ(t.edtSerie->text(), "B");
    EXPECT_EQ(t.edtNumNtTransporte->text(), "");
    EXPECT_EQ(t.edtSubSerie->text(), "");
    EXPECT_EQ(t.edtObservacao->text(), "");
    for (TEdValor* v : {t.curNTVlrTotal, t.curNTBaseCalc, t.curNTValorIcms, t.curNTIsenta, t.curNTOutras})
        EXPECT_TRUE(v->valor().isZero()) << v->objectName().toStdString();
    verificaEditando(t, false);
    EXPECT_EQ(Foco(), "btnNovaNota");
    EXPECT_EQ(t.ultimaIncluida(), valor("SELECT IDNFTransporte FROM NFTRANSPORTE").toInt());

    Clica(t.btnNovaNota);
    EXPECT_TRUE(t.rbCIF->isChecked()) << "every new document starts as CIF";
    EXPECT_TRUE(t.ckbTransportadora->isEnabled());
    EXPECT_FALSE(t.ckbTransportadora->isChecked());
    EXPECT_FALSE(t.dbgCarga->isEnabled());
}

TEST_F(TelasTransporte, CancelarOuSairDesfazemCabecalhoECargas)
{
    documento(TDoc{});
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "124");
    Clica(t.ckbTransportadora);
    incluiCargas(t, {"45", "46"});
    EXPECT_EQ(conta("NFTRANSPORTE"), 2);
    EXPECT_EQ(conta("NFCARGA"), 2);
    Clica(t.btnCancelar);
    EXPECT_EQ(conta("NFTRANSPORTE"), 1) << "the header written for its cargo is taken back";
    EXPECT_EQ(conta("NFCARGA"), 0);
    EXPECT_FALSE(emTransacao());
    verificaEditando(t, false);
    EXPECT_EQ(t.linhasDaCarga(), 0);

    // Esc in the middle of the edit throws nothing away and lets nothing reach the file.
    Clica(t.btnNovaNota);
    preenche(t, "125");
    Clica(t.ckbTransportadora);
    incluiCargas(t, {"47"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_EQ(conta("NFCARGA"), 1);
    EXPECT_EQ(contaDeFora("NFTRANSPORTE"), 1);
    EXPECT_EQ(contaDeFora("NFCARGA"), 0);

    // Leaving by any other way rolls it all back.
    static_cast<QDialog&>(t).reject();
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(conta("NFTRANSPORTE"), 1);
    EXPECT_EQ(conta("NFCARGA"), 0);
}

// A commit the file refuses (another program holds it) takes back the header and its cargo notes; both are
// written again in the new transaction, so that "&Salvar" can simply be clicked again.
TEST_F(TelasTransporte, CommitRecusadoReescreveCabecalhoECargas)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "123");
    Clica(t.ckbTransportadora);
    const int antes = t.notaAtual();
    ASSERT_GT(antes, 0);
    incluiCargas(t, {"45", "46"});
    const QString cargas = QStringLiteral("SELECT IDContribuinte || '|' || IDTomador || '|' || IDDestino || '|' || "
                                          "DtEmissao || '|' || ModeloNF || '|' || SerieNF || '|' || NumNF || '|' || "
                                          "ValorNF || '|' || DtUltAlteracao FROM NFCARGA ORDER BY IDNFCarga");
    const QStringList digitadas = lista(cargas);
    ASSERT_EQ(digitadas.size(), 2);
    const QString cabecalho = QStringLiteral("SELECT Modelo || '|' || Serie || '|' || Numero || '|' || Cfop || '|' || "
                                             "IDEmitente || '|' || ValorTotal || '|' || Obs FROM NFTRANSPORTE");
    const QStringList digitado = lista(cabecalho);

    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NFTRANSPORTE");
    sqlite3_busy_timeout(db(), 50);
    const qsizetype mostradas = banco.dialogos.registros().size();
    banco.dialogos.esperaSimples(QString()); // the engine's text, and no success after it
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), mostradas + 1);
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "simples");

    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_EQ(lista(cabecalho), digitado) << "the header written again";
    EXPECT_EQ(lista(cargas), digitadas) << "and its cargo notes, as they were";
    EXPECT_GT(t.notaAtual(), 0);
    EXPECT_EQ(lista("SELECT DISTINCT IDNotaTransporte FROM NFCARGA"), QStringList{QString::number(t.notaAtual())})
        << "hung on the header's new key";
    EXPECT_EQ(t.linhasDaCarga(), 2);
    EXPECT_EQ(numerosDaGrade(t.dbgCarga, 4), (QStringList{"000045", "000046"}));
    EXPECT_TRUE(t.ckbTransportadora->isChecked()) << "the header counts as written";
    EXPECT_FALSE(t.ckbTransportadora->isEnabled());
    EXPECT_TRUE(t.dbgCarga->isEnabled());
    EXPECT_FALSE(t.grbDados->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    TBancoTeste::executaDireto(leitor, "COMMIT");
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NFTRANSPORTE").toInt(), 0) << "nothing reached the file";

    informa(t.btnSalvar, kGravadaTransporte);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NFTRANSPORTE").toInt(), 1);
    EXPECT_EQ(TBancoTeste::listaDireta(leitor, cargas), digitadas);
    EXPECT_EQ(t.ultimaIncluida(), valor("SELECT IDNFTransporte FROM NFTRANSPORTE").toInt());
    verificaEditando(t, false);
    sqlite3_close(leitor);
}

// ----- entry screen: electronic situations

TEST_F(TelasTransporte, FaixaInutilizadaDoModelo57TudoOuNada)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    Digita(t.edtModelo, "57");
    Data(t.edtEmissao, QDate(2024, 5, 10));
    Clica(t.rbInutilizado);
    EXPECT_TRUE(t.grbFaixa->isEnabled());
    Digita(t.edtInicioInutilizado, "5");
    Digita(t.edtFinalInutilizado, "7");

    const QString pergunta = QString::fromUtf8("Confirma a inclusão da faixa de 5 a 7 de notas inutilizadas");
    banco.dialogos.esperaMensagem(pergunta, Botao::Nao);
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(banco.dialogos.registros().last().pedido.padrao, Botao::Nao) << "Enter must not confirm it";
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);
    verificaEditando(t, true);

    banco.dialogos.esperaMensagem(pergunta, Botao::Sim);
    informa(t.btnSalvar, QStringLiteral("Faixa de 5 a 7 de notas inutilizadas cadastradas com sucesso!"));
    EXPECT_FALSE(emTransacao());
    const QString dono = QString::number(ativo);
    EXPECT_EQ(lista("SELECT Numero || ' ' || Situacao || ' ' || Modelo || ' ' || Cfop || ' ' || IDEmitente || ' ' || "
                    "ValorTotal FROM NFTRANSPORTE ORDER BY Numero"),
              (QStringList{"000005 4 57 5949 " + dono + " 0", "000006 4 57 5949 " + dono + " 0",
                           "000007 4 57 5949 " + dono + " 0"}));
    EXPECT_EQ(contaDeFora("NFTRANSPORTE"), 3);
    verificaEditando(t, false);
    EXPECT_FALSE(t.rbInutilizado->isChecked());

    // A range that meets a number already there writes none of it.
    Clica(t.btnNovaNota);
    Digita(t.edtModelo, "57");
    Data(t.edtEmissao, QDate(2024, 5, 10));
    Clica(t.rbInutilizado);
    Digita(t.edtInicioInutilizado, "7");
    Digita(t.edtFinalInutilizado, "9");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Confirma a inclusão da faixa de 7 a 9 de notas inutilizadas"),
                                  Botao::Sim);
    recusa(t.btnSalvar, QString::fromUtf8("Nota 000007 já está cadastrada!\nem: 10/05/2024."), "edtModelo", true);
    EXPECT_EQ(conta("NFTRANSPORTE"), 3);
    verificaEditando(t, true);
    Clica(t.btnCancelar);
    EXPECT_EQ(conta("NFTRANSPORTE"), 3);
}

TEST_F(TelasTransporte, UsoDenegadoSoNoModelo57ESemValores)
{
    TfrmIncluirNotasTransporte t(ctx);
    Ativa(&t);
    Clica(t.btnNovaNota);
    preenche(t, "321");
    Clica(t.rbDenegado);
    recusa(t.btnSalvar, QString::fromUtf8("As situações de NFE só são permitidas para o modelo 57!"), "edtModelo");
    EXPECT_EQ(conta("NFTRANSPORTE"), 0);

    Digita(t.edtModelo, "57");
    informa(t.btnSalvar, kQualquer);
    EXPECT_EQ(daNota("Situacao || ' ' || Modelo || ' ' || Cfop || ' ' || IDEmitente", "000321"),
              "2 57 5949 " + QString::number(ativo));
    EXPECT_EQ(daNota("ValorTotal || BaseCalcIcms || ValorIcms || Isenta || Outras", "000321"), "00000")
        << "a denied document never counts as an amount, whatever was typed";
}

// ----- change screen

TEST_F(TelasTransporte, AlteracaoCarregaSoDoContribuinteEGravaSemSeAcharDuplicata)
{
    TDoc alheia;
    alheia.numero = "000900";
    alheia.dono = alheio;
    const int idAlheia = documento(alheia);
    {
        TfrmAlterarNotasTransporte t(ctx, idAlheia);
        Ativa(&t);
        EXPECT_FALSE(t.carregado()) << "another taxpayer's key shows nothing";
        EXPECT_EQ(t.edtNumNtTransporte->text(), "");
        EXPECT_FALSE(t.btnAlterar->isEnabled());
        Clica(t.btnAlterar);
        EXPECT_FALSE(emTransacao());
    }

    TDoc d;
    d.modalidade = "2";
    d.serie = "C";
    const int id = documento(d);
    TfrmAlterarNotasTransporte t(ctx, id);
    Ativa(&t);
    ASSERT_TRUE(t.carregado());
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Alteração de Lançamento de Notas Fiscais de Transporte"));
    EXPECT_EQ(t.edtModelo->text(), "08");
    EXPECT_EQ(t.edtSerie->text(), "C");
    EXPECT_EQ(t.edtNumNtTransporte->text(), "000123");
    EXPECT_EQ(t.edtCodCFOP->text(), "1352");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t.curNTVlrTotal->valor(), *Money::parse("1.000,00"));
    EXPECT_EQ(t.curNTIsenta->valor(), *Money::parse("150,00"));
    EXPECT_EQ(t.lblNomeTomador->text(), "EMBARCADOR LOCAL");
    EXPECT_EQ(t.lblUF->text(), "ZR");
    EXPECT_TRUE(t.rbFOB->isChecked());
    EXPECT_FALSE(t.chbSituacao->isChecked());
    // Read only until "&Alterar".
    EXPECT_FALSE(t.grbDados->isEnabled());
    EXPECT_FALSE(t.grbIcms->isEnabled());
    EXPECT_FALSE(t.grbCarga->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(t.btnCancelar->isEnabled());
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(emTransacao());

    Clica(t.btnAlterar);
    EXPECT_TRUE(t.grbDados->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    EXPECT_TRUE(t.ckbTransportadora->isEnabled());
    EXPECT_TRUE(emTransacao());
    EXPECT_EQ(Foco(), "edtModelo");

    // Saved as it was: the document is no duplicate of itself.
    Clica(t.btnSalvar);
    EXPECT_TRUE(banco.dialogos.registros().isEmpty()) << "nothing refused";
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(conta("NFTRANSPORTE"), 2);
    EXPECT_EQ(daNota("DtUltAlteracao || ' ' || Modalidade || ' ' || Serie || ' ' || ValorTotal || ' ' || IDEmitente",
                     "000123"),
              "2024-07-15T09:30:00 2 C 10000000 " + QString::number(local));
    EXPECT_EQ(daNota("DtUltAlteracao", "000900"), "2024-07-01T08:00:00");
}

TEST_F(TelasTransporte, AlteracaoRecusaModelo57EOutraNotaIgual)
{
    TDoc eletronica;
    eletronica.modelo = "57";
    eletronica.numero = "000500";
    const int id57 = documento(eletronica);
    {
        TfrmAlterarNotasTransporte t(ctx, id57);
        Ativa(&t);
        EXPECT_EQ(t.edtModelo->text(), "57");
        Clica(t.btnAlterar);
        recusa(t.btnSalvar, QString::fromUtf8("Modelo de Nota Inválido!\n Modelos válidos 07,08,09, 10 e 11."), "edtModelo");
        EXPECT_TRUE(t.isVisible());
        Clica(t.btnCancelar);
        EXPECT_FALSE(emTransacao());
    }

    // Changed into another stored document (same party, model, number and code): refused, nothing written.
    documento(TDoc{});
    TDoc outra;
    outra.numero = "000124";
    const int id = documento(outra);
    TfrmAlterarNotasTransporte t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    Digita(t.edtNumNtTransporte, "000123");
    recusa(t.btnSalvar, QString::fromUtf8("Nota 000123 já está cadastrada!\nem: 10/05/2024."), "edtModelo", true);
    EXPECT_EQ(lista("SELECT Numero FROM NFTRANSPORTE WHERE IDNFTransporte = " + QString::number(id)),
              QStringList{"000124"});
    EXPECT_TRUE(t.isVisible());
}

TEST_F(TelasTransporte, AlteracaoCancelarDesfazMudancasECargas)
{
    const int id = documento(TDoc{});
    carga(id, "000045");
    TfrmAlterarNotasTransporte t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.linhasDaCarga(), 1) << "the stored cargo notes are listed";
    Clica(t.btnAlterar);
    Digita(t.curNTVlrTotal, "1.100,00");
    Digita(t.curNTOutras, "150,00");
    Clica(t.ckbTransportadora);
    EXPECT_TRUE(t.dbgCarga->isEnabled());
    EXPECT_FALSE(t.grbDados->isEnabled());
    EXPECT_EQ(daNota("ValorTotal", "000123"), "11000000") << "the header is updated inside the transaction";
    incluiCargas(t, {"46"});
    EXPECT_EQ(t.linhasDaCarga(), 2);
    EXPECT_EQ(valor(QStringLiteral("SELECT IDTomador FROM NFCARGA WHERE NumNF = '000046'")).toInt(), local);

    Clica(t.btnCancelar);
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(daNota("ValorTotal || ' ' || Outras || ' ' || DtUltAlteracao", "000123"),
              "10000000 500000 2024-07-01T08:00:00");
    EXPECT_EQ(lista("SELECT NumNF FROM NFCARGA"), QStringList{"000045"});
}

// The change screen's commit refused by the file: the changed header and the cargo notes as the grid showed
// them (one changed, one deleted, one added) are written again, and the next "&Salvar" commits exactly that.
TEST_F(TelasTransporte, AlteracaoCommitRecusadoReescreveCabecalhoECargas)
{
    const int id = documento(TDoc{});
    carga(id, "000045");
    carga(id, "000046");
    const int guardada = valor("SELECT IDNFCarga FROM NFCARGA WHERE NumNF = '000045'").toInt();
    // Every column, NULL told apart from blank.
    const QString cabecalho = QStringLiteral(
        "SELECT quote(IDEmitente) || '|' || quote(DtEmissao) || '|' || quote(Modelo) || '|' || quote(Serie) || '|' || "
        "quote(SubSerie) || '|' || quote(Numero) || '|' || quote(Cfop) || '|' || quote(ValorTotal) || '|' || "
        "quote(BaseCalcIcms) || '|' || quote(ValorIcms) || '|' || quote(Isenta) || '|' || quote(Outras) || '|' || "
        "quote(Modalidade) || '|' || quote(Situacao) || '|' || quote(Obs) || '|' || quote(DtUltAlteracao) "
        "FROM NFTRANSPORTE");
    const QString cargas = QStringLiteral(
        "SELECT quote(IDNotaTransporte) || '|' || quote(IDContribuinte) || '|' || quote(IDTomador) || '|' || "
        "quote(IDDestino) || '|' || quote(DtEmissao) || '|' || quote(ModeloNF) || '|' || quote(SerieNF) || '|' || "
        "quote(SubSerieNF) || '|' || quote(NumNF) || '|' || quote(ValorNF) || '|' || quote(DtUltAlteracao) "
        "FROM NFCARGA ORDER BY NumNF");
    const QStringList original = lista(cabecalho);

    TfrmAlterarNotasTransporte t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    Digita(t.curNTVlrTotal, "1.100,00");
    Digita(t.curNTOutras, "150,00");
    Digita(t.edtObservacao, "FRETE REVISTO");
    Clica(t.ckbTransportadora);
    ASSERT_TRUE(t.dbgCarga->isEnabled());
    escolheCarga(t, 0);
    banco.dialogos.esperaTela("TfrmAlterarCarga", [this](QObject* o) {
        auto* c = static_cast<TfrmAlterarCarga*>(o);
        Ativa(c);
        Digita(c->edtNumeroNF, "47");
        informa(c->btnSalvar, QString::fromUtf8("Nota de Carga\nAlterada com Sucesso!"));
        return c->result();
    });
    t.mnuAlterarCarga->trigger();
    banco.dialogos.verificaConsumo();
    Ativa(&t);
    escolheCarga(t, 1);
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    banco.dialogos.esperaMensagem(kExcluido);
    t.mnuExcluirCarga->trigger();
    banco.dialogos.verificaConsumo();
    incluiCargas(t, {"48"});
    ASSERT_EQ(numerosDaGrade(t.dbgCarga, 4), (QStringList{"000047", "000048"}));
    const QStringList digitado = lista(cabecalho);
    const QStringList digitadas = lista(cargas);
    ASSERT_NE(digitado, original);
    ASSERT_EQ(digitadas.size(), 2);

    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NFTRANSPORTE");
    sqlite3_busy_timeout(db(), 50);
    const qsizetype mostradas = banco.dialogos.registros().size();
    banco.dialogos.esperaSimples(QString()); // the engine's text, nothing after it
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), mostradas + 1);
    EXPECT_EQ(banco.dialogos.registros().last().tipo, "simples");

    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_EQ(lista(cabecalho), digitado) << "the changed header written again";
    EXPECT_EQ(lista(cargas), digitadas) << "and the cargo notes as the grid showed them";
    EXPECT_EQ(valor("SELECT IDNFCarga FROM NFCARGA WHERE NumNF = '000047'").toInt(), guardada)
        << "a note stored before the edit keeps its key";
    EXPECT_EQ(numerosDaGrade(t.dbgCarga, 4), (QStringList{"000047", "000048"}));
    EXPECT_TRUE(t.ckbTransportadora->isChecked()) << "the header counts as written";
    EXPECT_FALSE(t.ckbTransportadora->isEnabled());
    EXPECT_TRUE(t.dbgCarga->isEnabled());
    EXPECT_FALSE(t.grbDados->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    TBancoTeste::executaDireto(leitor, "COMMIT");
    EXPECT_EQ(TBancoTeste::listaDireta(leitor, cabecalho), original) << "nothing reached the file";

    Clica(t.btnSalvar);
    EXPECT_EQ(banco.dialogos.registros().size(), mostradas + 1) << "the change screen closes without a message";
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(TBancoTeste::listaDireta(leitor, cabecalho), digitado);
    EXPECT_EQ(TBancoTeste::listaDireta(leitor, cargas), digitadas);
    sqlite3_close(leitor);
}

// ----- browse screen

namespace {

struct NavegacaoTransporte : TelasTransporte {
    int normal = 0, comCarga = 0, inutil1 = 0, inutil2 = 0, inutilOutroDia = 0, inutilFob = 0;

    void SetUp() override
    {
        TelasTransporte::SetUp();
        normal = doc("000001", "2024-05-03");
        doc("000002", "2024-05-04", "S");
        doc("000003", "2024-05-05", "2");
        inutil1 = doc("000004", "2024-05-12", "4");
        inutil2 = doc("000005", "2024-05-12", "4");
        inutilOutroDia = doc("000006", "2024-05-13", "4");
        comCarga = doc("000007", "2024-05-20");
        doc("000008", "2024-06-02");
        doc("000009", "2024-05-08", "N", "2");
        inutilFob = doc("000010", "2024-05-12", "4", "2");
        TDoc alheia;
        alheia.numero = "000011";
        alheia.dia = "2024-05-09";
        alheia.dono = alheio;
        documento(alheia);
        carga(normal, "000101");
        carga(normal, "000102");
        carga(comCarga, "000103");
    }
    int doc(const char* numero, const char* dia, const char* situacao = "N", const char* modalidade = "1")
    {
        TDoc d;
        d.numero = QString::fromLatin1(numero);
        d.dia = QString::fromLatin1(dia);
        d.situacao = QString::fromLatin1(situacao);
        d.modalidade = QString::fromLatin1(modalidade);
        return documento(d);
    }
    static QStringList numeros(TfrmNotasTransporte& t) { return numerosDaGrade(t.dbgNotasTransporte, 4); }
    static void escolhe(TfrmNotasTransporte& t, const QString& numero)
    {
        const int linha = int(numeros(t).indexOf(numero));
        ASSERT_GE(linha, 0) << numero.toStdString();
        t.dbgNotasTransporte->setCurrentIndex(t.dbgNotasTransporte->model()->index(linha, 0));
    }
    static void pesquisa(TfrmNotasTransporte& t, const QString& mes, const QString& ano)
    {
        t.cmbMes->setEditText(mes);
        t.cmbAno->setEditText(ano);
        Clica(t.btnPesquisar);
    }
    int cargasDe(int idNota)
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM NFCARGA WHERE IDNotaTransporte = %1").arg(idNota)).toInt();
    }
    int existe(int idNota)
    {
        return valor(QStringLiteral("SELECT COUNT(*) FROM NFTRANSPORTE WHERE IDNFTransporte = %1").arg(idNota)).toInt();
    }
};

} // namespace

TEST_F(NavegacaoTransporte, ModalidadePeriodoEResumoSemCanceladasNemInutilizadas)
{
    TfrmNotasTransporte t(ctx);
    Ativa(&t);
    EXPECT_TRUE(t.rbCIF->isChecked());
    EXPECT_TRUE(t.btnAlterar->isEnabled());

    pesquisa(t, "5", "2024");
    EXPECT_EQ(numeros(t), (QStringList{"000001", "000002", "000003", "000004", "000005", "000006", "000007"}))
        << "CIF documents of May, by date, of this taxpayer only";
    EXPECT_EQ(t.textoResumo("lblTituloResumo"), "Totalização das Notas Transporte - CIF");
    EXPECT_EQ(t.textoResumo("lblQuant"), "2") << "cancelled, denied and voided left out";
    EXPECT_EQ(t.textoResumo("lblValorTotal"), "2.000,00");
    EXPECT_EQ(t.textoResumo("lblBaseIcms"), "1.600,00");
    EXPECT_EQ(t.textoResumo("lblValorIcms"), "192,00");
    EXPECT_EQ(t.textoResumo("lblIsenta"), "300,00");
    EXPECT_EQ(t.textoResumo("lblOutras"), "100,00");

    t.rbFOB->setChecked(true);
    pesquisa(t, "5", "2024");
    EXPECT_EQ(numeros(t), (QStringList{"000009", "000010"}));
    EXPECT_EQ(t.textoResumo("lblTituloResumo"), "Totalização das Notas Transporte - FOB");
    EXPECT_EQ(t.textoResumo("lblQuant"), "1");
    EXPECT_EQ(t.textoResumo("lblValorTotal"), "1.000,00");
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());

    banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
    pesquisa(t, "8", "2024");
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.dbgNotasTransporte->model()->rowCount(), 0);
}

TEST_F(NavegacaoTransporte, ExcluirLevaAsCargasNumaSoTransacao)
{
    TfrmNotasTransporte t(ctx);
    Ativa(&t);
    pesquisa(t, "5", "2024");

    // A deletion the file refuses half-way leaves the document and its cargo notes together.
    executa("CREATE TRIGGER recusa BEFORE DELETE ON NFTRANSPORTE BEGIN SELECT RAISE(ABORT, 'recusada'); END");
    escolhe(t, "000001");
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    banco.dialogos.esperaMensagem(kQualquer);
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(mensagens().last().startsWith(QString::fromUtf8("Erro na Exclusão."))) << mensagens().last().toStdString();
    EXPECT_EQ(existe(normal), 1);
    EXPECT_EQ(cargasDe(normal), 2) << "no cargo note lost without its document";
    EXPECT_FALSE(emTransacao());
    executa("DROP TRIGGER recusa");

    escolhe(t, "000001");
    banco.dialogos.esperaExclusao(kConfirmaExclusao, true);
    informa(t.btnExcluir, kExcluido);
    EXPECT_EQ(existe(normal), 0);
    EXPECT_EQ(cargasDe(normal), 0) << "no orphan cargo note";
    EXPECT_EQ(cargasDe(comCarga), 1);
    EXPECT_EQ(conta("NFTRANSPORTE"), 10);
    EXPECT_FALSE(numeros(t).contains("000001"));
    EXPECT_EQ(t.textoResumo("lblQuant"), "1");
    EXPECT_FALSE(emTransacao());
}

TEST_F(NavegacaoTransporte, ExcluirInutilizadaLevaAsDoMesmoDiaDaLista)
{
    TfrmNotasTransporte t(ctx);
    Ativa(&t);
    pesquisa(t, "5", "2024");

    escolhe(t, "000005");
    banco.dialogos.esperaMensagem("Deseja excluir todas as notas inutilizadas de 12/05/2024.", Botao::Sim);
    informa(t.btnExcluir, kExcluido);
    EXPECT_EQ(banco.dialogos.registros().first().pedido.padrao, Botao::Nao);
    EXPECT_EQ(existe(inutil1), 0);
    EXPECT_EQ(existe(inutil2), 0);
    EXPECT_EQ(existe(inutilOutroDia), 1);
    EXPECT_EQ(existe(inutilFob), 1) << "a voided FOB document of that day is not in the list";
    EXPECT_EQ(numeros(t), (QStringList{"000001", "000002", "000003", "000006", "000007"}));
}

TEST_F(NavegacaoTransporte, IncluirEAlterarPelaLista)
{
    TfrmNotasTransporte t(ctx);
    Ativa(&t);
    pesquisa(t, "5", "2024");

    // The entry screen run from the list; back on the list, every document with the new one current.
    banco.dialogos.esperaTela("TfrmIncluirNotasTransporte", [this](QObject* o) {
        auto* tela = static_cast<TfrmIncluirNotasTransporte*>(o);
        Ativa(tela);
        Clica(tela->btnNovaNota);
        preenche(*tela, "700");
        informa(tela->btnSalvar, kGravadaTransporte);
        Clica(tela->btnFechar);
        return tela->result();
    });
    Clica(t.btnIncluir);
    banco.dialogos.verificaConsumo();
    Ativa(&t);
    EXPECT_EQ(t.lista().asString("Numero"), "000700");
    EXPECT_EQ(numeros(t).size(), 11) << "every document of the taxpayer, whatever mode and month";

    // The change screen opens on the chosen row.
    pesquisa(t, "5", "2024");
    escolhe(t, "000007");
    banco.dialogos.esperaTela("TfrmAlterarNotasTransporte", [this](QObject* o) {
        auto* tela = static_cast<TfrmAlterarNotasTransporte*>(o);
        Ativa(tela);
        EXPECT_EQ(tela->edtNumNtTransporte->text(), "000007");
        EXPECT_EQ(tela->linhasDaCarga(), 1);
        Clica(tela->btnAlterar);
        Digita(tela->edtObservacao, "FRETE REVISTO");
        Clica(tela->btnSalvar);
        EXPECT_FALSE(tela->isVisible());
        return tela->result();
    });
    Clica(t.btnAlterar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.lista().asInteger("IDNFTransporte"), comCarga);
    EXPECT_EQ(daNota("Obs || ' ' || DtUltAlteracao", "000007"), "FRETE REVISTO 2024-07-15T09:30:00");
    EXPECT_EQ(cargasDe(comCarga), 1);
}

TEST_F(TelasTransporte, TabSegueAOrdemDaTelaComOsCamposDoIcms)
{
    // From the model down to the fiscal code, whose leaving opens its list: the header row by row, the ICMS
    // group, then "Cancelada" below it.
    for (const bool alteracao : {false, true}) {
        std::unique_ptr<TfrmCamposTransporte> t;
        if (alteracao) {
            t = std::make_unique<TfrmAlterarNotasTransporte>(ctx, documento(TDoc{}));
            Ativa(t.get());
            Clica(t->findChild<QPushButton*>("btnAlterar"));
        } else {
            t = std::make_unique<TfrmIncluirNotasTransporte>(ctx);
            Ativa(t.get());
            Clica(t->findChild<QPushButton*>("btnNovaNota"));
        }
        const QStringList esperado = OrdemEsperada(t.get(), t->edtModelo, 12);
        ASSERT_EQ(esperado.last(), "edtCodCFOP");
        EXPECT_EQ(CaminhoDoTab(t->edtModelo, 12), esperado) << (alteracao ? "alteração" : "inclusão");
    }
}

TEST_F(NavegacaoTransporte, TabDaListaSegueAOrdemDaTela)
{
    TfrmNotasTransporte t(ctx);
    Ativa(&t);
    ASSERT_TRUE(t.btnAlterar->isEnabled());
    const auto volta = VoltaDoTab(&t);
    EXPECT_TRUE(volta.esperado.contains("dbgNotasTransporte") && volta.esperado.contains("btnPesquisar"))
        << volta.esperado.join(' ').toStdString();
    EXPECT_EQ(volta.caminho, volta.esperado);
    banco.dialogos.verificaConsumo();
}
