// The Quadro V screens driven as a user does: the selection's filters and messages, inclusion one
// municipality after the other with the duplicate refused, a change that would duplicate refused too, and
// the municipality update from the data folder's files with its progress and its all-or-nothing refusal.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "declarations/screens/untQuadroV.h"
#include "support/TBancoTeste.h"
#include "support/TOrdemTab.h"
#include "widgets/EdPeriod.h"
#include "widgets/untTelas.h"

namespace {

void Ativa(QWidget* tela)
{
    tela->show();
    QApplication::setActiveWindow(tela->window());
}

struct TelasQuadroV : ::testing::Test {
    TBancoTeste banco;
    TContexto ctx;
    TRelogioFixo relogio{QDateTime(QDate(2024, 7, 15), QTime(9, 30))};

    void SetUp() override
    {
        ASSERT_EQ(banco.con->Conectar(), "JET");
        banco.preencheContexto(ctx, &relogio);
        ctx.IdAtivo = 1;
    }
    void TearDown() override { banco.dialogos.verificaConsumo(); }
    void sql(const char* c) { TBancoTeste::executaDireto(banco.con->db(), QString::fromUtf8(c)); }
    QVariant valor(const char* c) { return TBancoTeste::valorDireto(banco.con->db(), QString::fromUtf8(c)); }
    void clica(QPushButton* b, const QString& mensagem)
    {
        banco.dialogos.esperaMensagem(mensagem);
        QTest::mouseClick(b, Qt::LeftButton);
        banco.dialogos.verificaConsumo();
    }
    void arquivo(const char* nome, const QByteArray& conteudo)
    {
        QFile f(QDir(ctx.pasta).filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
};

} // namespace

TEST_F(TelasQuadroV, PesquisaPedeOAnoEIncluiUmMunicipioAposOutro)
{
    sql("INSERT INTO municipio VALUES ('04405', 'CAPITAL'), ('00100', 'INTERIOR')");
    TfrmSelQuadroV t(ctx);
    Ativa(&t);
    t.cmbMes->setCurrentText("5");
    t.cmbAno->clear();
    clica(t.btnPesquisar, "Informe o ano para a pesquisa");
    t.cmbAno->setText("2024");
    clica(t.btnPesquisar, QString::fromUtf8("Não há lançamento neste período"));

    banco.dialogos.esperaTela("TUfrmManterQV", [&](QObject* o) {
        auto* m = static_cast<TUfrmManterQV*>(o);
        Ativa(m);
        EXPECT_TRUE(m->gbPeriodo->isEnabled());
        m->edtPeriodo->definePeriodo("052024");
        m->RxDBMunicipio->setCurrentIndex(m->RxDBMunicipio->findText("CAPITAL"));
        EXPECT_EQ(m->edtCodMunicipio->text(), "04405");
        m->edtValor->defineValor(Money::fromCents(123456));
        clica(m->btnSalvar, QString::fromUtf8("Inclusão realizada com sucesso."));
        EXPECT_EQ(m->RxDBMunicipio->currentIndex(), -1) << "ready for the next municipality";
        // The same month and municipality again is refused; another municipality goes in.
        m->RxDBMunicipio->setCurrentIndex(m->RxDBMunicipio->findText("CAPITAL"));
        clica(m->btnSalvar, QString::fromUtf8("Já existe um item cadastrado para o município."));
        m->RxDBMunicipio->setCurrentIndex(m->RxDBMunicipio->findText("INTERIOR"));
        m->edtValor->defineValor(Money::fromCents(-5));
        clica(m->btnSalvar, QString::fromUtf8("O valor não pode ser negativo."));
        m->edtValor->defineValor(Money::fromCents(500));
        clica(m->btnSalvar, QString::fromUtf8("Inclusão realizada com sucesso."));
        m->edtPeriodo->definePeriodo("112009");
        m->RxDBMunicipio->setCurrentIndex(0);
        clica(m->btnSalvar, QString::fromUtf8("Período inválido"));
        return 0;
    });
    QTest::mouseClick(t.btnIncluir, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(valor("SELECT group_concat(CodMunicipio || '=' || Valor || '@' || PeriodoZel, ';') FROM "
                    "(SELECT * FROM VornQuadroV ORDER BY IdQuadroV)").toString(),
              "04405=12345600@2024-05-01;00100=50000@2024-05-01");
    EXPECT_EQ(t.lista().recordCount(), 2) << "the list shows every row after the inclusions";
}

TEST_F(TelasQuadroV, AlterarEExcluirSeguemALinhaAtualDaGrade)
{
    // Searched from the keyboard (the year typed, Tab to "Pesquisar", Enter): the commands that act on a row
    // are enabled exactly while the grid has one, whatever the search before found.
    sql("INSERT INTO municipio VALUES ('04405', 'CAPITAL'), ('00100', 'INTERIOR')");
    sql("INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) VALUES "
        "(1, '2024-05-01', '04405', 'CAPITAL', 10000), (1, '2024-05-01', '00100', 'INTERIOR', 20000)");
    TfrmSelQuadroV t(ctx);
    Ativa(&t);
    const auto comandos = [&t] { return QList<bool>{t.btnAlterar->isEnabled(), t.btnExcluir->isEnabled()}; };
    EXPECT_EQ(comandos(), (QList<bool>{false, false})) << "the list starts empty";
    struct Passo {
        const char* mes;
        int linhas; // 0: nothing found
    };
    for (const Passo& p : {Passo{"5", 2}, Passo{"8", 0}, Passo{"**", 2}, Passo{"6", 0}}) {
        SCOPED_TRACE(p.mes);
        t.cmbMes->setCurrentText(QString::fromLatin1(p.mes));
        ASSERT_TRUE(DigitaEVaiAte(t.cmbAno, QStringLiteral("2024"), t.btnPesquisar));
        if (p.linhas == 0)
            banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamento neste período"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        banco.dialogos.verificaConsumo();
        EXPECT_EQ(t.grade->model()->rowCount(), p.linhas);
        EXPECT_EQ(comandos(), (QList<bool>{p.linhas > 0, p.linhas > 0}));
    }
}

TEST_F(TelasQuadroV, AlteracaoQueDuplicariaORegistroERecusada)
{
    sql("INSERT INTO municipio VALUES ('04405', 'CAPITAL'), ('00100', 'INTERIOR')");
    sql("INSERT INTO VornQuadroV (IdQuadroV, IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) VALUES "
        "(1, 1, '2024-05-01', '04405', 'CAPITAL', 10000), (2, 1, '2024-05-01', '00100', 'INTERIOR', 20000)");
    TfrmSelQuadroV t(ctx);
    Ativa(&t);
    t.cmbMes->setCurrentText("**");
    QTest::mouseClick(t.btnPesquisar, Qt::LeftButton);
    ASSERT_EQ(t.atual().IdQuadroV, 2) << "by code: 00100 first";
    banco.dialogos.esperaTela("TUfrmManterQV", [&](QObject* o) {
        auto* m = static_cast<TUfrmManterQV*>(o);
        Ativa(m);
        EXPECT_FALSE(m->gbPeriodo->isEnabled());
        EXPECT_EQ(m->edtCodMunicipio->text(), "00100");
        m->RxDBMunicipio->setCurrentIndex(m->RxDBMunicipio->findText("CAPITAL"));
        clica(m->btnSalvar, QString::fromUtf8("Já existe um item cadastrado para o município."));
        m->RxDBMunicipio->setCurrentIndex(m->RxDBMunicipio->findText("INTERIOR"));
        m->edtValor->defineValor(Money::fromCents(999));
        clica(m->btnSalvar, QString::fromUtf8("Alteração realizada com sucesso."));
        // A municipality the table no longer has (an update in between) is no municipality.
        sql("DELETE FROM municipio WHERE codMunicipio = '00100'");
        m->edtValor->defineValor(Money::fromCents(1));
        clica(m->btnSalvar, QString::fromUtf8("Informe o município."));
        return 0;
    });
    QTest::mouseClick(t.btnAlterar, Qt::LeftButton);
    banco.dialogos.verificaConsumo();
    EXPECT_EQ(valor("SELECT Valor FROM VornQuadroV WHERE IdQuadroV = 2").toLongLong(), 99900);
    EXPECT_EQ(valor("SELECT CodMunicipio FROM VornQuadroV WHERE IdQuadroV = 2").toString(), "00100");
}

TEST_F(TelasQuadroV, MunicipiosDesatualizadosEAtualizacaoPelaTela)
{
    TfrmSelQuadroV t(ctx);
    Ativa(&t);
    banco.dialogos.esperaMensagem(QString::fromUtf8("Os municípios não estão cadastrados ou atualizados. Deseja cadastrá-los ou atualizá-los?"), Botao::Nao)
        .esperaMensagem(QString::fromUtf8("É necessário cadastrar/atualizar os municípios para incluir o quadro V."));
    QTest::mouseClick(t.btnIncluir, Qt::LeftButton);
    banco.dialogos.verificaConsumo();

    TfrmMunicipioZR m(ctx);
    Ativa(&m);
    clica(m.btnAtualizar, QString::fromUtf8("O arquivo municipio.txt não foi encontrado!"));
    arquivo("municipio.txt", "04405|CAPITAL|\r\n00100|INTERIOR|\r\n");
    clica(m.btnAtualizar, QString::fromUtf8("O arquivo DeParaNovosCodigosMunicipios.txt não foi encontrado!"));
    EXPECT_EQ(valor("SELECT COUNT(*) FROM municipio").toInt(), 0) << "nothing changed before both files were read";
    arquivo("DeParaNovosCodigosMunicipios.txt", "");
    clica(m.btnAtualizar, QString::fromUtf8("Atualização Concluída!"));
    EXPECT_EQ(valor("SELECT COUNT(*) FROM municipio").toInt(), 2);
    EXPECT_EQ(m.pgbMuni->value(), 0);

    // A code change onto a municipality the month already has: the closing message counts the rows summed.
    sql("INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) VALUES "
        "(1, '2024-05-01', '00100', 'INTERIOR', 10000), (1, '2024-05-01', '4405', 'CAPITAL', 20000)");
    arquivo("DeParaNovosCodigosMunicipios.txt", "00100|04405|\r\n");
    clica(m.btnAtualizar, QString::fromUtf8("Atualização Concluída!\n2 linhas do Quadro V de um mesmo mês e município "
                                            "foram somadas numa só."));
    EXPECT_EQ(valor("SELECT COUNT(*) || ':' || SUM(Valor) FROM VornQuadroV").toString(), "1:30000");
}

// The entry walked with real Tab presses round the whole screen in both modes, against the order the fields
// are drawn in; the period is typed first in inclusion, as it refuses to be left empty. In change the period
// is closed and the code is only shown.
TEST_F(TelasQuadroV, TabDaEntradaSegueAOrdemDaTelaNaInclusaoENaAlteracao)
{
    sql("INSERT INTO municipio VALUES ('04405', 'CAPITAL'), ('00100', 'INTERIOR')");
    TQuadroV guardada;
    guardada.IdQuadroV = 1;
    guardada.IdContribuinte = 1;
    guardada.PeriodoZel = QDate(2024, 5, 1);
    guardada.CodMunicipio = QStringLiteral("00100");
    guardada.Municipio = QStringLiteral("INTERIOR");
    guardada.Valor = Money::fromCents(20000);
    const struct {
        const char* modo;
        TQuadroV linha;
        const char* inicio;
        bool periodo;
    } casos[] = {
        {"inclusão", TQuadroV{}, "edtPeriodo", true},
        {"alteração", guardada, "RxDBMunicipio", false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        TUfrmManterQV m(ctx, c.linha);
        Ativa(&m);
        EXPECT_EQ(m.gbPeriodo->isEnabled(), c.periodo);
        if (c.periodo)
            m.edtPeriodo->definePeriodo("052024");
        QWidget* inicio = m.findChild<QWidget*>(QLatin1String(c.inicio));
        ASSERT_TRUE(inicio);
        const int n = int(CamposNaTela(&m).size());
        EXPECT_EQ(CaminhoDoTab(inicio, n), OrdemNaTela(&m, inicio, n));
        EXPECT_FALSE(CamposNaTela(&m).contains("edtCodMunicipio"));
        banco.dialogos.verificaConsumo();
    }
}

TEST_F(TelasQuadroV, TabDaSelecaoEDosMunicipiosSegueAOrdemDaTela)
{
    const struct {
        const char* modo;
        bool linhas;
        bool municipios;
    } casos[] = {
        {"seleção sem linhas", false, false},
        {"seleção com linhas pesquisadas", true, false},
        {"municípios", false, true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.modo);
        std::unique_ptr<QDialog> tela;
        if (c.municipios) {
            tela = std::make_unique<TfrmMunicipioZR>(ctx);
            Ativa(tela.get());
        } else {
            if (c.linhas)
                sql("INSERT INTO VornQuadroV (IdQuadroV, IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor) "
                    "VALUES (1, 1, '2024-05-01', '04405', 'CAPITAL', 10000)");
            auto* t = new TfrmSelQuadroV(ctx);
            tela.reset(t);
            Ativa(t);
            t->cmbMes->setCurrentText("**");
            if (!c.linhas)
                banco.dialogos.esperaMensagem(QString::fromUtf8("Não há lançamento neste período"));
            QTest::mouseClick(t->btnPesquisar, Qt::LeftButton);
            banco.dialogos.verificaConsumo();
        }
        const auto volta = VoltaDoTab(tela.get());
        EXPECT_GE(volta.esperado.size(), 2) << volta.esperado.join(' ').toStdString();
        EXPECT_EQ(volta.caminho, volta.esperado);
        banco.dialogos.verificaConsumo();
    }
}
