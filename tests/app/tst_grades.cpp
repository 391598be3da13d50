// Every list of the program opened from the main window as a user opens it: readable column titles, columns as
// wide as their longest value, CNPJ and CPF through their masks, and the charts' axes written as in pt-BR.
#include <QAction>
#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "app/Main.h"
#include "app/untRegistroTelas.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "documents/screens/untNotasFiscais.h"
#include "support/TBancoTeste.h"
#include "support/TEscritorioFechamento.h"

namespace {

struct GradesLegiveis : ::testing::Test {
    TBancoTeste banco;
    TRelogioFixo relogio{QDateTime(QDate(2012, 6, 11), QTime(9, 0))};
    TProgressoGravado progresso;
    TContexto ctx;
    std::unique_ptr<TfrmMain> janela;
    TEscritorioFechamento escritorio;

    void SetUp() override
    {
        banco.preencheContexto(ctx, &relogio);
        janela = std::make_unique<TfrmMain>(ctx, progresso);
        RegistraTelas(*janela, ctx);
        janela->show();
        ASSERT_TRUE(escritorio.monta(*banco.dtm, banco.dialogos, relogio));
    }
    void TearDown() override
    {
        janela.reset();
        banco.dialogos.verificaConsumo();
    }

    static QStringList titulos(const QTableView* grade)
    {
        QStringList r;
        for (int c = 0; c < grade->model()->columnCount(); ++c)
            r << grade->model()->headerData(c, Qt::Horizontal).toString();
        return r;
    }
    static int coluna(const QTableView* grade, const QString& titulo) { return int(titulos(grade).indexOf(titulo)); }

    // Opens the command's screen through the main window; `olha` looks at it while it is up.
    void abre(const char* comando, const char* classe, std::function<void(QWidget*)> olha)
    {
        bool aberta = false;
        banco.dialogos.esperaTela(QString::fromLatin1(classe), [&](QObject* o) {
            aberta = true;
            auto* tela = qobject_cast<QWidget*>(o);
            tela->resize(1000, 600);
            tela->show();
            QApplication::processEvents();
            olha(tela);
            return 0;
        });
        auto* a = janela->findChild<QAction*>(QString::fromLatin1(comando));
        ASSERT_TRUE(a) << comando;
        ASSERT_TRUE(a->isEnabled()) << comando;
        a->trigger();
        EXPECT_TRUE(aberta) << comando;
    }
};

// A title that is a stored column's name rather than words: joined words ("DtEmissao") or an underscore.
bool ehNomeDeColuna(const QString& t)
{
    static const QRegularExpression junto(QStringLiteral("[a-z][A-Z]|_"));
    return junto.match(t).hasMatch();
}

} // namespace

TEST_F(GradesLegiveis, TitulosDeCadaListaDoPrograma)
{
    struct TCaso {
        const char* comando;
        const char* classe;
        const char* grade;
        QStringList titulos;
    };
    // Titles the screens' own texts fix are kept as they are ("Emissao", "Razao Social", "Cred. Transferencia");
    // the others are words.
    const QStringList cadastro{"Razao Social", "Inscricao", "CNPJ", "UF", "Municipio"};
    const QStringList epp{QString::fromUtf8("Período"), "Tipo", "Receita Efetiva", "Imposto Devido",
                          "Imposto a Recolher", "Data Geracao"};
    const QStringList cfop{QString::fromUtf8("Código"), QString::fromUtf8("Descrição")};
    const TCaso casos[] = {
        {"btnFornecedor", "TfrmEmpresas", "dbgContribuintes", cadastro},
        {"btnContador", "TfrmContadores", nullptr, {"CPF / CNPJ", "Nome", "CRC"}},
        {"btnNotasFiscais", "TfrmNotasFiscais", "dbgNotas",
         {"Emissao", "Tipo", "CFOP", "Numero", "Modelo", QString::fromUtf8("Série"), "Total",
          QString::fromUtf8("Situação")}},
        {"btnNotaTalao", "TfrmNotasTalao", "dbgNotasTalao",
         QString::fromUtf8("Emissão|Modelo|Série|Subsérie|Número Inicial|Número Final|Valor Total|"
                           "Base de Cálculo ICMS|Valor ICMS|Isentas|Outras|Alíquota")
             .split('|')},
        {"btnNotasTransporte", "TfrmNotasTransporte", "dbgNotasTransporte",
         QString::fromUtf8("Emissão|Modelo|Série|Sub|Número|CFOP|Valor Total|Base de Cálculo ICMS|Valor ICMS|"
                           "Isentas|Outras|Modalidade|Situação|Observação")
             .split('|')},
        {"btnCupomFiscal", "TfrmCupomFiscal", "dbgCupom",
         QString::fromUtf8("Emissão|GT Inicial|GT Final|Venda Bruta|Nº Série|Nº Equipamento|Modelo|COO Inicial|"
                           "COO Final|CRZ|CRO")
             .split('|')},
        {"btnCupomFiscal", "TfrmCupomFiscal", "dbgAliquotas", {QString::fromUtf8("Alíquota"), "Valor ICMS"}},
        {"btnApurNormal", "TfrmZEL", nullptr,
         {QString::fromUtf8("Período"), "Tipo", "Cred. Entradas", "Cred. Ativo Imob.", "Cred. Transferencia",
          "Outros Creditos", "Saldo Anterior", "Deb. Saidas", "Deb. Transf. Cred Acum.", "Deb. Estorno Cred.",
          QString::fromUtf8("Outros Débitos")}},
        {"btnApurEPP3706", "TfrmZELEPP3706", nullptr, epp},
        {"btnApurEPP", "TfrmZELEPPAntigo", nullptr, epp},
        {"btnSimplesNacional", "TfrmZELSN", nullptr,
         {QString::fromUtf8("Período"), "Tipo", "Faturamento", "Total das Entradas", QString::fromUtf8("Data inclusão"),
          QString::fromUtf8("Data alteração"), QString::fromUtf8("Data Geração")}},
        {"btnDadosAnuais", "TfrmDAnuais", nullptr,
         {"Ano", "Tipo", "Estq Tributavel", "Estq Nao Tributavel", "Sld Caixa", "Sld Banco", "Desp Pessoal",
          "Outros Impostos", "Desp Geral"}},
        {"QuadroV1", "TfrmSelQuadroV", nullptr,
         QString::fromUtf8("Período|Código|Município|Valor|Geração|Alteração").split('|')},
        {"btnCfop3Digitos", "TfrmCfop03", nullptr, cfop},
        {"btnCfop4Dig", "TfrmCfop04", nullptr, cfop},
    };
    ctx.IdAtivo = escritorio.ids.value("GAMA");
    janela->AbrirSessao();
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.comando);
        abre(caso.comando, caso.classe, [&](QWidget* tela) {
            QList<QTableView*> grades = tela->findChildren<QTableView*>();
            ASSERT_FALSE(grades.isEmpty());
            for (const QTableView* g : grades)
                for (const QString& t : titulos(g))
                    EXPECT_FALSE(ehNomeDeColuna(t)) << g->objectName().toStdString() << ": " << t.toStdString();
            const QTableView* grade = caso.grade ? tela->findChild<QTableView*>(QString::fromLatin1(caso.grade))
                                                 : grades.first();
            ASSERT_TRUE(grade) << caso.grade;
            EXPECT_EQ(titulos(grade), caso.titulos) << grade->objectName().toStdString();
        });
    }
}

TEST_F(GradesLegiveis, ListaDeContribuintesMostraOCnpjInteiroPelaMascara)
{
    abre("btnAbrir", "TfrmContribuintes", [](QWidget* tela) {
        auto* grade = tela->findChild<QTableView*>("dbgContribuintes");
        ASSERT_TRUE(grade);
        ASSERT_GT(grade->model()->rowCount(), 0);
        const int cnpj = coluna(grade, "CNPJ");
        ASSERT_GE(cnpj, 0);
        static const QRegularExpression mascara(QStringLiteral("^\\d{2}\\.\\d{3}\\.\\d{3}/\\d{4}-\\d{2}$"));
        for (int r = 0; r < grade->model()->rowCount(); ++r) {
            const QString v = grade->model()->index(r, cnpj).data().toString();
            EXPECT_TRUE(mascara.match(v).hasMatch()) << v.toStdString();
        }
        // Wide enough for any CNPJ, with the cell's margins, and for every name of the list.
        const int largura = grade->fontMetrics().horizontalAdvance(QStringLiteral("11.222.333/0001-81"));
        EXPECT_GT(grade->columnWidth(cnpj), largura);
        const int razao = coluna(grade, "Razao Social");
        for (int r = 0; r < grade->model()->rowCount(); ++r) {
            const QString v = grade->model()->index(r, razao).data().toString();
            EXPECT_GT(grade->columnWidth(razao), grade->fontMetrics().horizontalAdvance(v)) << v.toStdString();
        }
    });
}

TEST_F(GradesLegiveis, GraficoDasNotasComMesesEValoresEmPortugues)
{
    ctx.IdAtivo = escritorio.ids.value("GAMA");
    janela->AbrirSessao();
    abre("btnNotasFiscais", "TfrmNotasFiscais", [](QWidget* w) {
        auto* tela = qobject_cast<TfrmNotasFiscais*>(w);
        ASSERT_TRUE(tela);
        QTest::mouseClick(tela->rbSaida, Qt::LeftButton);
        tela->cmbMes->setCurrentText("5");
        tela->cmbAno->setCurrentText("2012");
        QTest::mouseClick(tela->findChild<QPushButton*>("btnPesquisar"), Qt::LeftButton);
        ASSERT_GT(tela->barrasDoGrafico(), 0);
        // The list's columns hold their dates and amounts whole.
        const int emissao = coluna(tela->dbgNotas, "Emissao");
        EXPECT_GT(tela->dbgNotas->columnWidth(emissao),
                  tela->dbgNotas->fontMetrics().horizontalAdvance(QStringLiteral("31/05/2012")));

        tela->PageControl->setCurrentWidget(tela->grafico);
        QApplication::processEvents();
        QChart* chart = tela->grafico->chart();
        auto eixos = chart->axes(Qt::Horizontal);
        ASSERT_EQ(eixos.size(), 1);
        auto* meses = qobject_cast<QBarCategoryAxis*>(eixos.first());
        ASSERT_TRUE(meses);
        EXPECT_TRUE(meses->categories().contains("Mai")) << meses->categories().join(',').toStdString();
        for (const QString& m : meses->categories())
            EXPECT_FALSE(m.front().isDigit()) << "a month by its name, not its number: " << m.toStdString();

        // The amounts' axis as drawn: two decimals after a comma, thousands by dots.
        QStringList numeros;
        static const QRegularExpression numero(QStringLiteral("^[\\d.,]+$"));
        for (QGraphicsItem* i : tela->grafico->scene()->items())
            if (auto* texto = dynamic_cast<QGraphicsTextItem*>(i)) {
                const QString t = texto->toPlainText();
                if (numero.match(t).hasMatch())
                    numeros << t;
            }
        ASSERT_FALSE(numeros.isEmpty());
        static const QRegularExpression ptBR(QStringLiteral("^\\d{1,3}(\\.\\d{3})*,\\d{2}$"));
        bool milhar = false;
        for (const QString& t : numeros) {
            EXPECT_TRUE(ptBR.match(t).hasMatch()) << t.toStdString();
            milhar = milhar || t.contains('.');
        }
        EXPECT_TRUE(milhar) << "the axis reaches the thousands: " << numeros.join(' ').toStdString();
    });
}
