// Typing from the keyboard as an accountant does: masked fields, date fields, selection lists and the page of a
// refused field, driven by real key presses, clicks and focus moves.
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "core/DialogsNew.h"
#include "core/untFalha.h"
#include "core/untMascaras.h"
#include "widgets/Enter.h"
#include "widgets/untCalendario.h"
#include "widgets/untTelas.h"

namespace {
// A dialog with a field before and after the one under test, with Enter as Tab.
template <class Campo>
struct Formulario {
    QDialog dialogo;
    QLineEdit* antes = new QLineEdit(&dialogo);
    Campo* campo;
    QLineEdit* depois = new QLineEdit(&dialogo);
    explicit Formulario(Campo* c) : campo(c)
    {
        campo->setParent(&dialogo);
        QWidget::setTabOrder(antes, campo);
        QWidget::setTabOrder(campo, depois);
        new TkEnterAsTab(&dialogo);
        auto* l = new QVBoxLayout(&dialogo);
        l->addWidget(antes);
        l->addWidget(campo);
        l->addWidget(depois);
        dialogo.show();
        QApplication::setActiveWindow(&dialogo);
        antes->setFocus();
    }
    void entraComTab() { QTest::keyClick(antes, Qt::Key_Tab); }
    void entraComEnter() { QTest::keyClick(antes, Qt::Key_Return); }
    // A click at the field's right end, where an empty mask would leave the cursor.
    void entraComClique() { QTest::mouseClick(campo, Qt::LeftButton, {}, QPoint(campo->width() - 4, campo->height() / 2)); }
    // A click on the text, not on the calendar's button.
    void clicaNoTexto() { QTest::mouseClick(campo, Qt::LeftButton, {}, QPoint(campo->width() / 3, campo->height() / 2)); }
};

int recusas(QWidget* campo)
{
    return campo->property("zelTeclasRecusadas").toInt();
}
} // namespace

TEST(Mascaras, PrimeiraPosicaoVazia)
{
    struct Caso { const char* mostrado; QString mascara; int esperado; };
    const Caso casos[] = {
        {"(61)____-____", Mascaras::Fax, 4},
        {"(0061)____-____", Mascaras::Fone, 6},
        {"_____-___", Mascaras::Cep, 0},
        {"70000-1__", Mascaras::Cep, 7},
        {"11.222.33_/____-__", Mascaras::CnpjDigitando, 9},
        {"123           ", Mascaras::Inscricao, 3},
        {"70000-123", Mascaras::Cep, -1},
        {" _.___.___/____-__", Mascaras::CnpjDigitando, 0}, // a form reset to one blank
        {"70 00-123", Mascaras::Cep, 2},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(Mascaras::PrimeiraPosicaoVazia(QString::fromLatin1(c.mostrado), c.mascara), c.esperado) << c.mostrado;
}

TEST(CampoMascarado, EntrarPorCliqueTabOuEnterDigitaDaPrimeiraPosicaoVazia)
{
    struct Caso { QString mascara; QString preenchido; QString digitado; QString valor; };
    const Caso casos[] = {
        {Mascaras::Inscricao, {}, QStringLiteral("0734567890123"), QStringLiteral("0734567890123 ")},
        {Mascaras::Cep, {}, QStringLiteral("70000123"), QStringLiteral("70000123")},
        {Mascaras::CnpjDigitando, {}, QStringLiteral("11222333000181"), QStringLiteral("11222333000181")},
        // The home state's area code stays; the number follows it.
        {Mascaras::Fax, DddEstado, QStringLiteral("33224455"), QStringLiteral("6133224455")},
        {Mascaras::Fone, QStringLiteral("00") + DddEstado, QStringLiteral("33224455"), QStringLiteral("006133224455")},
    };
    for (int modo = 0; modo < 3; ++modo)
        for (const Caso& c : casos) {
            Formulario<TEdMascarado> f(new TEdMascarado(c.mascara));
            f.campo->defineValor(c.preenchido);
            if (modo == 0)
                f.entraComClique();
            else if (modo == 1)
                f.entraComTab();
            else
                f.entraComEnter();
            ASSERT_EQ(QApplication::focusWidget(), f.campo) << "modo " << modo;
            QTest::keyClicks(f.campo, c.digitado);
            EXPECT_EQ(f.campo->valor(), c.valor) << qPrintable(c.mascara) << " modo " << modo;
            EXPECT_EQ(recusas(f.campo), 0) << qPrintable(c.mascara) << " modo " << modo;
        }
}

TEST(CampoMascarado, TeclaRecusadaAvisaEGuardaODigitado)
{
    Formulario<TEdMascarado> f(new TEdMascarado(Mascaras::Cep));
    f.entraComTab();
    QTest::keyClicks(f.campo, QStringLiteral("700"));
    QTest::keyClick(f.campo, Qt::Key_A);
    EXPECT_EQ(recusas(f.campo), 1);
    QTest::keyClicks(f.campo, QStringLiteral("00123"));
    EXPECT_EQ(f.campo->valor(), "70000123");
    QTest::keyClick(f.campo, Qt::Key_9); // the mask is full
    EXPECT_EQ(recusas(f.campo), 2);
    EXPECT_EQ(f.campo->valor(), "70000123");

    // A full field entered again: the cursor goes where the user clicks, nothing is overtyped by itself.
    f.antes->setFocus();
    f.entraComClique();
    EXPECT_EQ(f.campo->valor(), "70000123");

    // A click past the typed part of a field that already has the focus goes back to the first blank.
    f.campo->clear();
    QTest::keyClicks(f.campo, QStringLiteral("7"));
    f.entraComClique();
    QTest::keyClicks(f.campo, QStringLiteral("0000123"));
    EXPECT_EQ(f.campo->valor(), "70000123");
}

TEST(CampoData, DataInteiraDigitadaPorCimaComOuSemBarrasEEnterSai)
{
    struct Caso { QString digitado; QDate esperada; };
    const Caso casos[] = {
        {QStringLiteral("12112026"), QDate(2026, 11, 12)},
        {QStringLiteral("12/11/2026"), QDate(2026, 11, 12)},
        {QStringLiteral("03022025"), QDate(2025, 2, 3)},
        {QStringLiteral("3/2/2025"), QDate(2025, 2, 3)},
        {QStringLiteral("31/12/2026"), QDate(2026, 12, 31)},
    };
    for (int modo = 0; modo < 3; ++modo)
        for (const Caso& c : casos) {
            auto* data = new QDateEdit;
            data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
            UsaCalendarioDoPrograma(data);
            data->setDate(QDate(2026, 1, 20));
            Formulario<QDateEdit> f(data);
            if (modo == 0)
                f.entraComTab();
            else if (modo == 1)
                f.entraComEnter();
            else
                f.clicaNoTexto();
            ASSERT_EQ(QApplication::focusWidget(), data) << "modo " << modo;
            QTest::keyClicks(data, c.digitado);
            QTest::keyClick(data, Qt::Key_Return);
            EXPECT_EQ(data->date(), c.esperada) << qPrintable(c.digitado) << " modo " << modo;
            EXPECT_EQ(QApplication::focusWidget(), f.depois) << qPrintable(c.digitado) << " modo " << modo;
        }
}

TEST(CampoData, TabSaiDoCampoEDataIncompletaNaoMudaNada)
{
    auto* data = new QDateEdit;
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    UsaCalendarioDoPrograma(data);
    data->setDate(QDate(2026, 1, 20));
    Formulario<QDateEdit> f(data);
    f.entraComTab();
    QTest::keyClick(data, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.depois) << "Tab leaves the field, not its day";
    QTest::keyClick(f.depois, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), data);
    QTest::keyClick(data, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), f.antes);

    // A day that does not exist and a date left half typed: refused with a beep, the date stays.
    f.entraComTab();
    QTest::keyClicks(data, QStringLiteral("31022026"));
    EXPECT_EQ(recusas(data), 1);
    EXPECT_EQ(data->date(), QDate(2026, 1, 20));
    QTest::keyClicks(data, QStringLiteral("1511"));
    QTest::keyClick(data, Qt::Key_Tab);
    EXPECT_EQ(recusas(data), 2);
    EXPECT_EQ(data->date(), QDate(2026, 1, 20));
    EXPECT_EQ(QApplication::focusWidget(), f.depois);
}

TEST(ListaDeSelecao, EnterEReturnEscolhemComoODuploClique)
{
    for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Enter}) {
        QDialog d;
        new TkEnterAsTab(&d);
        auto* grade = new QTableView(&d);
        auto* depois = new QLineEdit(&d);
        QStandardItemModel modelo(3, 1);
        for (int i = 0; i < 3; ++i)
            modelo.setItem(i, 0, new QStandardItem(QString::number(i)));
        grade->setModel(&modelo);
        grade->setToolTip(QStringLiteral("Duplo Clique para selecionar empresa"));
        auto* l = new QVBoxLayout(&d);
        l->addWidget(grade);
        l->addWidget(depois);
        int escolhida = -1;
        EscolhaNaLista(grade, [&] { escolhida = grade->currentIndex().row(); });
        d.show();
        QApplication::setActiveWindow(&d);
        grade->setFocus();
        grade->setCurrentIndex(modelo.index(0, 0));
        QTest::keyClick(grade, Qt::Key_Down);
        QTest::keyClick(grade, tecla);
        EXPECT_EQ(escolhida, 1);
        EXPECT_EQ(QApplication::focusWidget(), grade) << "Enter chooses here, it does not move on";
        EXPECT_EQ(grade->toolTip(), "Duplo Clique para selecionar empresa");

        escolhida = -1;
        const QRect r = grade->visualRect(modelo.index(2, 0));
        // The first press of a double click lands on the row before the second one chooses it.
        QTest::mouseClick(grade->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(grade->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(escolhida, 2);
    }
}

namespace {
// Records, at the moment each message is shown, which page each tab widget of the screen has in front.
class TDialogosPaginas final : public IDialogos {
public:
    QList<QTabWidget*> abas;
    QList<QList<int>> paginasNaMensagem;
    Botao mostraMensagem(const TPedidoMensagem&) override
    {
        QList<int> p;
        for (QTabWidget* a : abas)
            p << a->currentIndex();
        paginasNaMensagem << p;
        return Botao::Ok;
    }
    bool confirmaExclusao(const QString&) override { return false; }
    void mensagemSimples(const QString&) override { ADD_FAILURE(); }
    QString salvarArquivo(const QString&, const QString&, const QString&) override { return {}; }
    QString escolherPasta(const QString&, const QString&) override { return {}; }
    bool abrirAssociado(const QString&) override { return false; }
    int executaModal(QObject*) override { return 0; }
};
} // namespace

TEST(FalhaNaTela, PaginaDoCampoVemParaAFrenteAntesDaMensagem)
{
    QDialog tela;
    auto* abas = new QTabWidget(&tela);
    auto* primeira = new QLineEdit;
    primeira->setObjectName("edtPrimeira");
    abas->addTab(primeira, "Dados");
    // A page holding a page: both come forward.
    auto* internas = new QTabWidget;
    abas->addTab(internas, "Recibo");
    internas->addTab(new QLineEdit, "Um");
    auto* pagina = new QWidget;
    auto* campo = new QLineEdit(pagina);
    campo->setObjectName("edtNrRecibo");
    new QVBoxLayout(pagina);
    pagina->layout()->addWidget(campo);
    internas->addTab(pagina, "Dois");
    (new QVBoxLayout(&tela))->addWidget(abas);
    tela.show();
    QApplication::setActiveWindow(&tela);
    primeira->setFocus();

    TDialogosPaginas dialogos;
    dialogos.abas = {abas, internas};
    MostraFalha(dialogos, &tela, {QStringLiteral("Informe um número de recibo válido"), QStringLiteral("edtNrRecibo")});
    ASSERT_EQ(dialogos.paginasNaMensagem.size(), 1);
    EXPECT_EQ(dialogos.paginasNaMensagem[0], (QList<int>{1, 1}));
    EXPECT_EQ(QApplication::focusWidget(), campo);

    // A field of the first page brings that page back.
    MostraFalha(dialogos, &tela, {QStringLiteral("Outra"), QStringLiteral("edtPrimeira")});
    EXPECT_EQ(dialogos.paginasNaMensagem.value(1), (QList<int>{0, 1}));
    EXPECT_EQ(QApplication::focusWidget(), primeira);
}
