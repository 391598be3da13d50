// The series D screens over a temporary data folder, driven by real focus changes and clicks: the entry
// screen's states, checks in their order, the row written and what stays for the next run, its transaction
// (commit refused, cancel, Esc and close), the change screen and the browse screen.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>

#include "app/Main.h"
#include "app/untRegistroTelas.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untAlterarNotasTalao.h"
#include "documents/screens/untIncluirNotasTalao.h"
#include "documents/screens/untNotasTalao.h"
#include "support/TBancoTeste.h"
#include "support/TFoco.h"
#include "support/TOrdemTab.h"
#include "widgets/untTelas.h"

namespace {

const QString kIncluida = QString::fromUtf8("Nota Incluída com Sucesso!");

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

void Clica(QAbstractButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

// Types into a field as the user does: focus, select all, keys.
void Digita(QLineEdit* e, const QString& texto)
{
    e->setFocus(Qt::TabFocusReason);
    e->selectAll();
    QTest::keyClicks(e, texto);
}

struct TelasTalao : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        executa("INSERT INTO Contribuinte (CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES ('99888777000100', '1', 'ATIVO', 'ZR', 'C')");
        ctx.IdAtivo = int(sqlite3_last_insert_rowid(db()));
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }

    sqlite3* db() { return banco.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    QVariant valor(const QString& sql) { return TBancoTeste::valorDireto(db(), sql); }
    int linhas() { return valor("SELECT COUNT(*) FROM NOTATALAO").toInt(); }
    bool emTransacao() { return sqlite3_get_autocommit(db()) == 0; }

    int talao(const QString& dia, int inicial, int final_, qint64 totalCentavos = 100000)
    {
        executa(QStringLiteral("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, "
                               "NumeroFinal, ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota, DtUltAlteracao) "
                               "VALUES (%1, '%2', '02', 'D', '', %3, %4, %5, %5, %6, 0, 0, '1700', '2024-07-01T08:00:00')")
                    .arg(ctx.IdAtivo)
                    .arg(dia)
                    .arg(inicial)
                    .arg(final_)
                    .arg(totalCentavos * 100)
                    .arg(totalCentavos * 17));
        return int(sqlite3_last_insert_rowid(db()));
    }

    void informa(QAbstractButton* botao, const QString& mensagem)
    {
        SCOPED_TRACE(mensagem.toStdString());
        banco.dialogos.esperaMensagem(mensagem);
        Clica(botao);
        banco.dialogos.verificaConsumo();
    }
    void recusa(QAbstractButton* botao, const QString& mensagem, const QString& campo)
    {
        informa(botao, mensagem);
        EXPECT_EQ(Foco(), campo) << mensagem.toStdString();
    }

    // "&Nova Nota", the header typed and "Nota Final" left with Tab, then the values of a valid run.
    static void preenche(TfrmIncluirNotasTalao& t, const char* inicial = "1", const char* final_ = "50")
    {
        Clica(t.btnNovaNota);
        Digita(t.edtSerie, "d");
        Digita(t.edtNInicial, QString::fromLatin1(inicial));
        Digita(t.edtNFinal, QString::fromLatin1(final_));
        QTest::keyClick(t.edtNFinal, Qt::Key_Tab);
        Digita(t.curVlrTotal, "1.250,00");
        Digita(t.curBaseIcms, "1.000,00");
        Digita(t.curVlrIsenta, "200,00");
        Digita(t.curVlrOutras, "50,00");
        Digita(t.vlrAliquota, "17");
        QTest::keyClick(t.vlrAliquota, Qt::Key_Tab);
    }
    static void verificaEditando(TfrmIncluirNotasTalao& t, bool sim)
    {
        EXPECT_EQ(t.btnNovaNota->isEnabled(), !sim);
        EXPECT_EQ(t.btnFechar->isEnabled(), !sim);
        EXPECT_EQ(t.btnCancelar->isEnabled(), sim);
        EXPECT_EQ(t.btnSalvar->isEnabled(), sim);
        EXPECT_EQ(t.grbNota->isEnabled(), sim);
        EXPECT_EQ(t.grbImpostos->isEnabled(), sim);
        EXPECT_EQ(t.transacaoAberta(), sim);
    }
};

} // namespace

// ----- entry screen

TEST_F(TelasTalao, OciosoNovaNotaEPainelSoDepoisDaNotaFinal)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Lançamento das Notas Talão"));
    verificaEditando(t, false);
    EXPECT_EQ(Foco(), "btnNovaNota");
    EXPECT_EQ(t.edtModelo->text(), "02");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 7, 15));
    EXPECT_EQ(t.vlrAliquota->text(), "17,00");

    Clica(t.btnNovaNota);
    EXPECT_TRUE(emTransacao());
    EXPECT_TRUE(t.grbNota->isEnabled());
    EXPECT_TRUE(t.btnCancelar->isEnabled());
    EXPECT_FALSE(t.btnNovaNota->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled()) << "nothing to save before the run is known";
    EXPECT_FALSE(t.grbImpostos->isEnabled());
    EXPECT_EQ(Foco(), "edtModelo");

    // The series takes two letters, upper-cased; the numbers six digits.
    Digita(t.edtSerie, "du1");
    EXPECT_EQ(t.edtSerie->text(), "DU");
    Digita(t.edtNInicial, "12a-3.4567");
    EXPECT_EQ(t.edtNInicial->text(), "123456");
    Digita(t.edtNFinal, "123456");
    QTest::keyClick(t.edtNFinal, Qt::Key_Tab);
    EXPECT_TRUE(t.grbImpostos->isEnabled());
    EXPECT_TRUE(t.btnSalvar->isEnabled());
    EXPECT_EQ(Foco(), "curVlrTotal");

    // Leaving the rate computes the ICMS of the base, to the cent.
    Digita(t.curBaseIcms, "333,33");
    Digita(t.vlrAliquota, "7");
    QTest::keyClick(t.vlrAliquota, Qt::Key_Tab);
    EXPECT_EQ(t.vlrAliquota->text(), "7,00");
    EXPECT_EQ(t.curVlrIcms->valor(), *Money::parse("23,33"));
    EXPECT_TRUE(banco.dialogos.registros().isEmpty());

    Clica(t.btnCancelar);
    verificaEditando(t, false);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(t.edtNInicial->text(), "");
    EXPECT_EQ(t.curBaseIcms->valor(), Money());
}

TEST_F(TelasTalao, SalvarChecaNaOrdemComMensagemEFoco)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t);
    t.edtModelo->setText("2");
    t.edtSerie->setText("UD");
    t.edtNInicial->clear();
    t.vlrAliquota->setText("100");
    t.curVlrTotal->defineValor(Money());
    recusa(t.btnSalvar, QString::fromUtf8("Modelos Válidos: 02,04,07,13,14,15,16, 21 e 65."), "edtModelo");
    t.edtModelo->setText("65");
    recusa(t.btnSalvar, QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e Branco!"), "edtSerie");
    t.edtSerie->setText("DU");
    recusa(t.btnSalvar, QString::fromUtf8("Número da Nota Inicial Inválido!\nInforme um número de 1 a 999999."),
           "edtNInicial");
    t.edtNInicial->setText("51");
    recusa(t.btnSalvar, QStringLiteral("Nota Inicial Maior que Nota Final!"), "edtNInicial");
    t.edtNInicial->setText("50");
    recusa(t.btnSalvar, QString::fromUtf8("Valor da alíquota deve ser menor que 100% !"), "vlrAliquota");
    t.vlrAliquota->setText("99,99");
    recusa(t.btnSalvar, QStringLiteral("Valor Total diferente de \nBase de Calculo+Isenta+Outras"), "curVlrTotal");
    EXPECT_EQ(linhas(), 0);
    verificaEditando(t, true);

    // A run of one note, at the highest rate there is.
    t.curVlrTotal->defineValor(*Money::parse("1.250,00"));
    informa(t.btnSalvar, kIncluida);
    EXPECT_EQ(valor("SELECT Modelo || Serie || ' ' || NumeroInicial || '-' || NumeroFinal || ' ' || Aliquota FROM NOTATALAO")
                  .toString(),
              "65DU 50-50 9999");
}

TEST_F(TelasTalao, GravaEGuardaCabecalhoParaAProxima)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t);
    t.edtSubSerie->setText("1");
    t.edtEmissao->setDate(QDate(2024, 5, 10));
    Digita(t.vlrAliquota, "7");
    QTest::keyClick(t.vlrAliquota, Qt::Key_Tab);
    EXPECT_EQ(t.curVlrIcms->valor(), *Money::parse("70,00"));
    informa(t.btnSalvar, kIncluida);

    EXPECT_EQ(valor("SELECT IDContribuinte || '|' || DtEmissao || '|' || Modelo || '|' || Serie || '|' || SubSerie || '|' || "
                    "NumeroInicial || '|' || NumeroFinal || '|' || ValorTotal || '|' || BaseICMS || '|' || ValorICMS || '|' || "
                    "Isenta || '|' || Outras || '|' || Aliquota || '|' || DtUltAlteracao FROM NOTATALAO")
                  .toString(),
              QString::number(ctx.IdAtivo) +
                  "|2024-05-10|02|D|1|1|50|12500000|10000000|700000|2000000|500000|700|2024-07-15T09:30:00");
    EXPECT_GT(t.ultimaIncluida(), 0);
    EXPECT_FALSE(emTransacao());
    sqlite3* outro = TBancoTeste::abreDireto(banco.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(outro, "SELECT COUNT(*) FROM NOTATALAO").toInt(), 1) << "committed";
    sqlite3_close(outro);

    verificaEditando(t, false);
    EXPECT_EQ(Foco(), "btnNovaNota");
    EXPECT_EQ(t.edtNInicial->text(), "");
    EXPECT_EQ(t.edtNFinal->text(), "");
    for (TEdValor* v : {t.curBaseIcms, t.curVlrIcms, t.curVlrIsenta, t.curVlrOutras, t.curVlrTotal})
        EXPECT_EQ(v->text(), "0,00") << v->objectName().toStdString();
    // What describes the pad stays for the next run.
    EXPECT_EQ(t.edtModelo->text(), "02");
    EXPECT_EQ(t.edtSerie->text(), "D");
    EXPECT_EQ(t.edtSubSerie->text(), "1");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t.vlrAliquota->text(), "7,00");

    // The next run of the same numbers on the same day is accepted: no duplicate rule.
    preenche(t);
    informa(t.btnSalvar, kIncluida);
    EXPECT_EQ(linhas(), 2);
}

TEST_F(TelasTalao, ValoresNegativosOuComFracaoDeCentavoRecusadosAoSair)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t);
    Digita(t.curVlrOutras, "-5,00");
    banco.dialogos.esperaMensagem(QString::fromUtf8("O valor não pode ser negativo."));
    QTest::keyClick(t.curVlrOutras, Qt::Key_Tab);
    EXPECT_EQ(Foco(), "curVlrOutras");
    Digita(t.curVlrOutras, "50,005");
    banco.dialogos.esperaMensagem(QString::fromUtf8("O valor não pode ter mais de duas casas decimais."));
    QTest::keyClick(t.curVlrOutras, Qt::Key_Tab);
    EXPECT_EQ(Foco(), "curVlrOutras");
    banco.dialogos.verificaConsumo();
    // "&Cancelar" asks nothing about the field it abandons.
    Clica(t.btnCancelar);
    verificaEditando(t, false);
    EXPECT_EQ(linhas(), 0);
}

TEST_F(TelasTalao, CommitRecusadoNaoDizSucessoEContinuaEditando)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t, "7", "9");
    sqlite3* leitor = TBancoTeste::abreDireto(banco.caminho());
    TBancoTeste::executaDireto(leitor, "BEGIN");
    TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NOTATALAO");
    sqlite3_busy_timeout(db(), 50);
    banco.dialogos.esperaSimples(QString()); // the engine's text, and nothing after it
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(banco.dialogos.registros().size(), 1);
    EXPECT_NE(banco.dialogos.registros()[0].texto, kIncluida);
    verificaEditando(t, true);
    EXPECT_EQ(t.edtNInicial->text(), "7");
    TBancoTeste::executaDireto(leitor, "COMMIT");
    EXPECT_EQ(linhas(), 0) << "the refused commit left nothing";

    // With the reader done the same run saves once, and reaches the file.
    informa(t.btnSalvar, kIncluida);
    EXPECT_EQ(linhas(), 1);
    verificaEditando(t, false);
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(TBancoTeste::valorDireto(leitor, "SELECT COUNT(*) FROM NOTATALAO").toInt(), 1);
    sqlite3_close(leitor);
}

TEST_F(TelasTalao, InclusaoRecusadaPeloBancoMostraOTextoEContinuaEditando)
{
    executa("CREATE TRIGGER recusa BEFORE INSERT ON NOTATALAO BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t);
    banco.dialogos.esperaSimples("disco cheio");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Erro na Inclusão! Verifique os dados digitados."));
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    verificaEditando(t, true);
    Clica(t.btnCancelar);
    EXPECT_FALSE(emTransacao());
}

TEST_F(TelasTalao, EscEFecharRecusadosDuranteAEdicaoEDesfazemAoSair)
{
    TfrmIncluirNotasTalao t(ctx);
    Ativa(&t);
    preenche(t);
    QTest::keyClick(t.curVlrTotal, Qt::Key_Escape);
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.transacaoAberta());
    EXPECT_FALSE(t.close()) << "the window's close button is refused while editing";
    EXPECT_TRUE(t.isVisible());
    EXPECT_EQ(t.edtNFinal->text(), "50");

    // Closed by any other way in the middle of the edit: rolled back, the lock gone.
    static_cast<QDialog&>(t).reject();
    EXPECT_FALSE(t.transacaoAberta());
    EXPECT_FALSE(emTransacao());

    Ativa(&t);
    verificaEditando(t, false);
    QTest::keyClick(t.btnNovaNota, Qt::Key_Escape);
    EXPECT_FALSE(t.isVisible()) << "idle, Esc takes the screen's own \"&Fechar\"";
    EXPECT_EQ(linhas(), 0);
}

// ----- change screen

TEST_F(TelasTalao, AlteracaoCarregaGravaEFecha)
{
    const int id = talao("2024-05-10", 1, 50);
    executa(QStringLiteral("UPDATE NOTATALAO SET Aliquota = '700', ValorICMS = 700000 WHERE IDNotaTalao = %1").arg(id));
    TfrmAlterarNotasTalao t(ctx, id);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Alteração das Notas Talão"));
    EXPECT_EQ(t.edtModelo->text(), "02");
    EXPECT_EQ(t.edtSerie->text(), "D");
    EXPECT_EQ(t.edtNInicial->text(), "1");
    EXPECT_EQ(t.edtNFinal->text(), "50");
    EXPECT_EQ(t.edtEmissao->date(), QDate(2024, 5, 10));
    EXPECT_EQ(t.vlrAliquota->text(), "7,00");
    EXPECT_EQ(t.curVlrTotal->valor(), *Money::parse("1.000,00"));
    EXPECT_FALSE(t.grbNota->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(emTransacao());

    Clica(t.btnAlterar);
    EXPECT_TRUE(emTransacao());
    EXPECT_TRUE(t.grbImpostos->isEnabled());
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnFechar->isEnabled());
    Digita(t.edtSerie, "dd");
    recusa(t.btnSalvar, QString::fromUtf8("Série Inválida! Séries válidas são \"D\",\"U\",\"DU\" e \"   \""), "edtSerie");
    t.edtSerie->setText("U");
    t.edtNFinal->setText("60");
    informa(t.btnSalvar, QStringLiteral("Nota Alterarda com Sucesso!"));
    EXPECT_FALSE(t.isVisible());
    EXPECT_FALSE(emTransacao());
    EXPECT_EQ(valor("SELECT Serie || ' ' || NumeroFinal || ' ' || Aliquota || ' ' || DtUltAlteracao FROM NOTATALAO").toString(),
              "U 60 700 2024-07-15T09:30:00");
}

TEST_F(TelasTalao, AlteracaoCanceladaVoltaAoGravadoEFalhaMantemEdicao)
{
    const int id = talao("2024-05-10", 1, 50);
    TfrmAlterarNotasTalao t(ctx, id);
    Ativa(&t);
    Clica(t.btnAlterar);
    t.edtNFinal->setText("70");
    Clica(t.btnCancelar);
    EXPECT_TRUE(t.isVisible()) << "cancelling stays on the screen";
    EXPECT_EQ(t.edtNFinal->text(), "50");
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnSalvar->isEnabled());
    EXPECT_FALSE(emTransacao());

    executa("CREATE TRIGGER recusa BEFORE UPDATE ON NOTATALAO BEGIN SELECT RAISE(ABORT, 'recusada'); END");
    Clica(t.btnAlterar);
    t.edtNFinal->setText("80");
    banco.dialogos.esperaSimples("recusada");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
    Clica(t.btnSalvar);
    banco.dialogos.verificaConsumo();
    EXPECT_TRUE(t.isVisible());
    EXPECT_TRUE(t.btnSalvar->isEnabled()) << "still editing";
    EXPECT_EQ(t.edtNFinal->text(), "80");
    Clica(t.btnCancelar);
    EXPECT_EQ(valor("SELECT NumeroFinal FROM NOTATALAO").toInt(), 50);
}

TEST_F(TelasTalao, AlteracaoDeLinhaAlheiaNaoSeAbre)
{
    executa("INSERT INTO Contribuinte (RazaoSocial, UF, Tipo) VALUES ('OUTRO', 'ZR', 'C')");
    const int dono = ctx.IdAtivo;
    ctx.IdAtivo = int(sqlite3_last_insert_rowid(db()));
    const int alheia = talao("2024-05-10", 1, 50);
    ctx.IdAtivo = dono;
    TfrmAlterarNotasTalao t(ctx, alheia);
    Ativa(&t);
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_EQ(t.edtNFinal->text(), "");
}

// ----- browse screen

namespace {

struct NavegacaoTalao : TelasTalao {
    static QStringList inicios(TfrmNotasTalao& t)
    {
        QStringList r;
        for (int i = 0; i < t.dbgNotasTalao->model()->rowCount(); ++i)
            r << t.dbgNotasTalao->model()->index(i, 4).data().toString();
        return r;
    }
    static void pesquisa(TfrmNotasTalao& t, const QString& mes, const QString& ano)
    {
        t.cmbMes->setEditText(mes);
        t.cmbAno->setEditText(ano);
        Clica(t.findChild<QPushButton*>("btnPesquisar"));
    }
    static void escolhe(TfrmNotasTalao& t, const QString& inicial)
    {
        const int linha = int(inicios(t).indexOf(inicial));
        ASSERT_GE(linha, 0);
        t.dbgNotasTalao->setCurrentIndex(t.dbgNotasTalao->model()->index(linha, 0));
    }
};

} // namespace

TEST_F(NavegacaoTalao, SemLinhasComandosDesabilitados)
{
    TfrmNotasTalao t(ctx);
    Ativa(&t);
    EXPECT_EQ(t.windowTitle(), QString::fromUtf8("Selecionar Notas Talão"));
    EXPECT_FALSE(t.btnAlterar->isEnabled());
    EXPECT_FALSE(t.btnExcluir->isEnabled());
    EXPECT_FALSE(t.btnImprimir->isEnabled());
    EXPECT_EQ(t.cmbAno->currentText(), "2024");
}

TEST_F(NavegacaoTalao, PesquisaResumoGraficoEExclusao)
{
    talao("2024-05-03", 1, 10);
    const int segunda = talao("2024-05-20", 11, 20, 50000);
    talao("2024-06-02", 21, 30);
    talao("2023-05-02", 31, 40);
    TfrmNotasTalao t(ctx);
    Ativa(&t);
    EXPECT_TRUE(t.btnAlterar->isEnabled());
    EXPECT_EQ(t.barrasDoGrafico(), 2) << "May and June of 2024";
    EXPECT_EQ(t.dbgNotasTalao->model()->rowCount(), 0) << "the list starts empty";

    pesquisa(t, "5", "2024");
    EXPECT_EQ(inicios(t), (QStringList{"1", "11"}));
    EXPECT_EQ(t.textoResumo("lblQuant"), "2");
    EXPECT_EQ(t.textoResumo("lblVendaBruta"), "1.500,00");
    EXPECT_EQ(t.textoResumo("lblValorIcms"), "255,00");
    EXPECT_EQ(t.textoResumo("lblTituloResumo"), QString::fromUtf8("Totalização das Notas Talão"));
    pesquisa(t, "**", "1990");
    EXPECT_EQ(inicios(t).size(), 4);
    EXPECT_EQ(t.textoResumo("lblQuant"), "4");
    banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
    pesquisa(t, "8", "2024");
    banco.dialogos.verificaConsumo();

    pesquisa(t, "5", "2024");
    escolhe(t, "11");
    const QString confirma = QString::fromUtf8("Confirma Exclusão \ndeste Registro ?");
    banco.dialogos.esperaExclusao(confirma, false);
    Clica(t.btnExcluir);
    EXPECT_EQ(linhas(), 4);
    escolhe(t, "11");
    banco.dialogos.esperaExclusao(confirma, true);
    informa(t.btnExcluir, QString::fromUtf8("Excluído com Sucesso."));
    EXPECT_EQ(valor(QStringLiteral("SELECT COUNT(*) FROM NOTATALAO WHERE IDNotaTalao = %1").arg(segunda)).toInt(), 0);
    EXPECT_EQ(linhas(), 3);
    EXPECT_EQ(inicios(t), QStringList{"1"});
}

TEST_F(NavegacaoTalao, AlterarEExcluirSeguemALinhaAtualDaGrade)
{
    // Searched from the keyboard (the period typed, Tab to "Pesquisar", Enter): the commands that act on a row
    // are enabled exactly while the grid has one, whatever the search before found.
    talao("2024-05-03", 1, 10);
    talao("2024-05-20", 11, 20);
    TfrmNotasTalao t(ctx);
    Ativa(&t);
    struct Passo {
        const char* mes;
        bool encontra;
    };
    const auto comandos = [&t] { return QList<bool>{t.btnAlterar->isEnabled(), t.btnExcluir->isEnabled()}; };
    // Opening with documents on file, as before any search; then as each search leaves the list.
    EXPECT_EQ(comandos(), (QList<bool>{true, true}));
    for (const Passo& p : {Passo{"5", true}, Passo{"8", false}, Passo{"5", true}, Passo{"6", false}}) {
        SCOPED_TRACE(p.mes);
        ASSERT_TRUE(DigitaEVaiAte(t.cmbMes, QString::fromLatin1(p.mes), t.btnPesquisar));
        if (!p.encontra)
            banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(t.dbgNotasTalao->model()->rowCount(), p.encontra ? 2 : 0);
        EXPECT_EQ(comandos(), (QList<bool>{p.encontra, p.encontra}));
        EXPECT_TRUE(t.btnImprimir->isEnabled());
    }
    // Deleting the last rows of the list leaves no row to act on.
    NavegacaoTalao::pesquisa(t, "5", "2024");
    const QString confirma = QString::fromUtf8("Confirma Exclusão \ndeste Registro ?");
    banco.dialogos.esperaExclusao(confirma, true);
    informa(t.btnExcluir, QString::fromUtf8("Excluído com Sucesso."));
    EXPECT_EQ(comandos(), (QList<bool>{true, true}));
    banco.dialogos.esperaExclusao(confirma, true).esperaMensagem(QString::fromUtf8("Excluído com Sucesso."));
    banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamentos neste período!"));
    Clica(t.btnExcluir);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(linhas(), 0);
    EXPECT_EQ(comandos(), (QList<bool>{false, false}));
}

TEST_F(NavegacaoTalao, IncluirEAlterarReabremAListaNaLinhaDaTela)
{
    talao("2024-05-03", 1, 10);
    TfrmNotasTalao t(ctx);
    Ativa(&t);
    banco.dialogos.esperaTela("TfrmIncluirNotasTalao", [this](QObject* o) {
        auto* tela = static_cast<TfrmIncluirNotasTalao*>(o);
        Ativa(tela);
        preenche(*tela, "100", "150");
        tela->edtEmissao->setDate(QDate(2024, 4, 1));
        informa(tela->btnSalvar, kIncluida);
        Clica(tela->btnFechar);
        return int(QDialog::Rejected);
    });
    Clica(t.findChild<QPushButton*>("btnIncluir"));
    banco.dialogos.verificaConsumo();
    ASSERT_EQ(inicios(t), (QStringList{"100", "1"})) << "every row of the taxpayer, by date";
    EXPECT_EQ(t.lista().asInteger("NumeroInicial"), 100) << "standing on the run just saved";

    escolhe(t, "1");
    banco.dialogos.esperaTela("TfrmAlterarNotasTalao", [this](QObject* o) {
        auto* tela = static_cast<TfrmAlterarNotasTalao*>(o);
        Ativa(tela);
        Clica(tela->btnAlterar);
        tela->edtNFinal->setText("12");
        tela->curVlrTotal->defineValor(*Money::parse("1.000,00"));
        informa(tela->btnSalvar, QStringLiteral("Nota Alterarda com Sucesso!"));
        return tela->result();
    });
    Clica(t.btnAlterar);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(t.lista().asInteger("NumeroFinal"), 12);
}

TEST_F(NavegacaoTalao, MenuEBotaoDaBarraAbremANavegacao)
{
    TProgressoGravado progresso;
    TfrmMain janela(ctx, progresso);
    RegistraTelas(janela, ctx);
    int abertas = 0;
    const auto confere = [&abertas](QObject* o) {
        EXPECT_TRUE(qobject_cast<TfrmNotasTalao*>(o));
        ++abertas;
        return int(QDialog::Rejected);
    };
    banco.dialogos.esperaTela("TfrmNotasTalao", confere).esperaTela("TfrmNotasTalao", confere);
    for (const char* nome : {"btnNotaTalao", "ActionTalao"}) {
        auto* a = janela.findChild<QAction*>(QString::fromLatin1(nome));
        ASSERT_TRUE(a) << nome;
        a->setEnabled(true); // as with a taxpayer open
        a->trigger();
    }
    EXPECT_EQ(abertas, 2);
}

TEST_F(TelasTalao, TabSegueAOrdemDaTelaNaInclusaoENaAlteracao)
{
    // On entry the values wait for the last number: leaving it opens them and goes to the total. On a change
    // the whole screen is open from the start and Tab reads it in order.
    for (const bool alteracao : {false, true}) {
        SCOPED_TRACE(alteracao ? "alteração" : "inclusão");
        // The fixed moves of the chain: on entry the total right after the run (where leaving "Nota Final"
        // sends the focus) and the panel after it; in both modes "&Salvar" after the last value.
        std::unique_ptr<TfrmCamposNotaTalao> t;
        QList<QPair<QString, QString>> movimentos;
        if (alteracao) {
            auto* a = new TfrmAlterarNotasTalao(ctx, talao("2024-05-10", 1, 50));
            t.reset(a);
            Ativa(a);
            Clica(a->btnAlterar);
            movimentos = {{"curVlrTotal", "btnSalvar"}};
        } else {
            auto* i = new TfrmIncluirNotasTalao(ctx);
            t.reset(i);
            Ativa(i);
            Clica(i->btnNovaNota);
            movimentos = {{"edtNFinal", "curVlrTotal"}, {"curVlrOutras", "btnSalvar"}};
        }
        QWidget* inicio = QApplication::focusWidget();
        ASSERT_TRUE(inicio);
        EXPECT_EQ(inicio, t->edtModelo);
        // The walk reaches the values in both modes: the panel is open by then.
        const QStringList caminho = CaminhoDoTab(inicio, 16);
        EXPECT_TRUE(caminho.contains("curVlrTotal") && caminho.contains("btnSalvar")) << caminho.join(' ').toStdString();
        EXPECT_EQ(caminho, OrdemNaTelaMovida(t.get(), inicio, 16, movimentos));
        EXPECT_EQ(caminho.indexOf("btnSalvar") + 1, caminho.indexOf("btnCancelar"))
            << "the last value leads to saving, and only past it to cancelling";
        Clica(t->btnCancelar);
    }
}

TEST_F(TelasTalao, EnterDoUltimoValorVaiAoSalvarEGravaSemPassarPeloCancelar)
{
    // Only Enter and typing, as an accountant types a run: on entry from "&Nova Nota", on a change from
    // "&Alterar". Enter after the last value lands on "&Salvar" (never on "&Cancelar", where it would throw
    // the run away) and Enter there saves.
    struct Caso {
        const char* nome;
        bool alteracao;
        // What is typed in each field Enter reaches, in order (empty: Enter only), up to "&Salvar".
        QList<QPair<const char*, const char*>> campos;
        const char* mensagem;
        const char* gravado; // NumeroInicial, NumeroFinal, ValorTotal, BaseICMS, ValorICMS, Isenta, Outras
    };
    const QList<Caso> casos = {
        {"inclusão", false,
         {{"edtModelo", ""}, {"edtSerie", "d"}, {"edtSubSerie", ""}, {"edtEmissao", ""}, {"edtNInicial", "1"},
          {"edtNFinal", "50"}, {"curVlrTotal", "1.250,00"}, {"curBaseIcms", "1.000,00"}, {"vlrAliquota", ""},
          {"curVlrIcms", ""}, {"curVlrIsenta", "200,00"}, {"curVlrOutras", "50,00"}},
         "Nota Incluída com Sucesso!", "1 50 12500000 10000000 1700000 2000000 500000"},
        {"alteração", true,
         {{"edtModelo", ""}, {"edtSerie", ""}, {"edtSubSerie", ""}, {"edtEmissao", ""}, {"edtNInicial", ""},
          {"edtNFinal", "60"}, {"curBaseIcms", ""}, {"vlrAliquota", ""}, {"curVlrIcms", ""}, {"curVlrIsenta", ""},
          {"curVlrOutras", ""}, {"curVlrTotal", "1.000,00"}},
         "Nota Alterarda com Sucesso!", "1 60 10000000 10000000 1700000 0 0"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        executa("DELETE FROM NOTATALAO");
        std::unique_ptr<TfrmCamposNotaTalao> t;
        if (c.alteracao) {
            auto* a = new TfrmAlterarNotasTalao(ctx, talao("2024-05-10", 1, 50));
            t.reset(a);
            Ativa(a);
            Clica(a->btnAlterar);
        } else {
            auto* i = new TfrmIncluirNotasTalao(ctx);
            t.reset(i);
            Ativa(i);
            Clica(i->btnNovaNota);
        }
        for (const auto& [campo, texto] : c.campos) {
            ASSERT_EQ(Foco(), QString::fromLatin1(campo));
            QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(texto));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QApplication::processEvents(); // the pause between two fields, where entering one selects its text
        }
        ASSERT_EQ(Foco(), "btnSalvar");
        EXPECT_TRUE(emTransacao()) << "nothing was thrown away on the way";
        banco.dialogos.esperaMensagem(QString::fromUtf8(c.mensagem));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_FALSE(emTransacao());
        EXPECT_EQ(valor("SELECT NumeroInicial || ' ' || NumeroFinal || ' ' || ValorTotal || ' ' || BaseICMS || ' ' || "
                        "ValorICMS || ' ' || Isenta || ' ' || Outras FROM NOTATALAO").toString(),
                  QString::fromLatin1(c.gravado));
    }
}

TEST_F(NavegacaoTalao, TabDaListaSegueAOrdemDaTelaComESemLinhas)
{
    // Without rows the commands that need one are disabled and left out of the walk.
    for (const bool comLinha : {false, true}) {
        SCOPED_TRACE(comLinha ? "com uma linha" : "sem linhas");
        if (comLinha)
            talao("2024-05-03", 1, 10);
        TfrmNotasTalao t(ctx);
        Ativa(&t);
        EXPECT_EQ(t.btnImprimir->isEnabled(), comLinha);
        if (comLinha)
            NavegacaoTalao::pesquisa(t, "5", "2024");
        EXPECT_EQ(t.btnAlterar->isEnabled(), comLinha);
        const auto volta = VoltaDoTab(&t);
        EXPECT_EQ(volta.esperado.contains("btnAlterar"), comLinha) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
