// Leaving-a-field rules and the money field, driven by real focus moves on the offscreen platform.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>

#include "support/TDialogosRoteiro.h"
#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"

namespace {

struct Tela {
    QDialog dialogo;
    QLineEdit* campo = new QLineEdit(&dialogo);
    TEdValor* valor = new TEdValor(&dialogo);
    QLineEdit* outro = new QLineEdit(&dialogo);
    QPushButton* salvar = new QPushButton(QStringLiteral("&Salvar"), &dialogo);
    QPushButton* cancelar = new QPushButton(QStringLiteral("&Cancelar"), &dialogo);
    TRegrasSaida* regras = new TRegrasSaida(&dialogo);
    TDialogosRoteiro dialogos;
    Tela()
    {
        valor->setObjectName(QStringLiteral("edtValor"));
        auto* l = new QVBoxLayout(&dialogo);
        for (QWidget* w : {static_cast<QWidget*>(campo), static_cast<QWidget*>(valor), static_cast<QWidget*>(outro),
                           static_cast<QWidget*>(salvar), static_cast<QWidget*>(cancelar)})
            l->addWidget(w);
        regras->silencioso(cancelar);
        RegraDosValores(*regras, &dialogo, dialogos);
        dialogo.show();
        dialogo.activateWindow();
        QApplication::setActiveWindow(&dialogo);
    }
    ~Tela() { dialogos.verificaConsumo(); }
};

} // namespace

TEST(RegrasSaida, RodamAoSairComTextoInalteradoEFicamQuietasParaCancelar)
{
    Tela t;
    int vezes = 0;
    t.regras->aoSair(t.campo, [&] { ++vezes; return true; });
    t.campo->setFocus();
    QTest::keyClick(t.campo, Qt::Key_Tab); // nothing typed: the rule still runs
    EXPECT_EQ(vezes, 1);
    EXPECT_EQ(QApplication::focusWidget(), t.valor);

    t.campo->setFocus();
    QTest::keyClicks(t.campo, "abc");
    QTest::mouseClick(t.outro, Qt::LeftButton);
    EXPECT_EQ(vezes, 2) << "a click elsewhere is leaving too";

    t.campo->setFocus();
    QTest::mouseClick(t.cancelar, Qt::LeftButton);
    EXPECT_EQ(vezes, 2) << "going to Cancelar runs no rule";

    // Losing the window's activation is not leaving the field.
    t.campo->setFocus();
    QDialog outraJanela;
    outraJanela.show();
    QApplication::setActiveWindow(&outraJanela);
    EXPECT_EQ(vezes, 2);
}

TEST(RegrasSaida, RecusaMantemOFocoEEngoleOCliqueDoBotao)
{
    Tela t;
    int vezes = 0;
    int salvos = 0;
    QObject::connect(t.salvar, &QPushButton::clicked, [&] { ++salvos; });
    t.regras->aoSair(t.campo, [&] {
        ++vezes;
        // The rule's own message moves the focus around: that must not run it again.
        t.outro->setFocus();
        t.campo->setFocus();
        return t.campo->text() == QLatin1String("ok");
    });
    t.campo->setFocus();
    QTest::keyClick(t.campo, Qt::Key_Tab);
    EXPECT_EQ(vezes, 1) << "not re-entered from its own focus moves";
    EXPECT_EQ(QApplication::focusWidget(), t.campo);

    QTest::mouseClick(t.salvar, Qt::LeftButton);
    EXPECT_EQ(vezes, 2);
    EXPECT_EQ(salvos, 0) << "the button does not act on a refused value";
    EXPECT_EQ(QApplication::focusWidget(), t.campo);

    t.campo->setText("ok");
    QTest::mouseClick(t.salvar, Qt::LeftButton);
    EXPECT_EQ(salvos, 1);
}

TEST(CampoValor, TextoIlegivelAvisaAoSairEMantemOValor)
{
    Tela t;
    t.valor->defineValor(Money::fromRaw(123400));
    for (const char* texto : {"10.5.1", "abc", "1,2,3"}) {
        t.valor->setFocus();
        t.valor->selectAll();
        QTest::keyClicks(t.valor, texto);
        t.dialogos.esperaMensagem(QString::fromUtf8("Valor inválido: \"%1\".\nDigite o valor como 1.234,56 ou 1234,56.")
                                      .arg(QString::fromLatin1(texto)));
        QTest::keyClick(t.valor, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), t.valor) << texto;
        EXPECT_EQ(t.valor->valor(), Money::fromRaw(123400)) << "no value changes silently: " << texto;
    }
    t.valor->selectAll();
    QTest::keyClicks(t.valor, "-5,00");
    t.dialogos.esperaMensagem(QString::fromUtf8("O valor não pode ser negativo."));
    QTest::keyClick(t.valor, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), t.valor);

    t.valor->setPermiteNegativo(true);
    QTest::keyClick(t.valor, Qt::Key_Tab);
    EXPECT_EQ(t.valor->valor(), Money::fromRaw(-50000));
    EXPECT_EQ(t.valor->text(), "-5,00");
}

TEST(CampoValor, FormasAceitasETeclaDecimalDoTecladoNumerico)
{
    Tela t;
    const QList<std::pair<const char*, qint64>> casos = {
        {"1.234,56", 12345600}, {"1234,56", 12345600}, {"1234", 12340000}, {"10.5", 105000}};
    for (const auto& [texto, raw] : casos) {
        t.valor->setFocus();
        t.valor->selectAll();
        QTest::keyClicks(t.valor, texto);
        QTest::keyClick(t.valor, Qt::Key_Tab);
        EXPECT_EQ(t.valor->valor().raw(), raw) << texto;
    }
    t.valor->setFocus();
    t.valor->selectAll();
    QTest::keyClicks(t.valor, "12");
    QTest::keyClick(t.valor, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClicks(t.valor, "5");
    EXPECT_EQ(t.valor->text(), "12,5");
    QTest::keyClick(t.valor, Qt::Key_Tab);
    EXPECT_EQ(t.valor->valor().raw(), 125000);
}

// However the focus arrives (a leaving rule's move, a click, Tab), what is typed replaces the amount shown.
TEST(CampoValor, EntrarNoCampoSelecionaOValorMostrado)
{
    Tela t;
    const std::function<void()> entradas[] = {
        [&] { t.valor->setFocus(); },
        [&] { t.valor->setFocus(Qt::TabFocusReason); },
        [&] { QTest::mouseClick(t.valor, Qt::LeftButton, {}, QPoint(t.valor->width() - 3, t.valor->height() / 2)); },
    };
    for (const auto& entra : entradas) {
        t.outro->setFocus();
        t.valor->defineValor(Money());
        entra();
        QCoreApplication::processEvents();
        QTest::keyClicks(t.valor, "500,00");
        EXPECT_EQ(t.valor->text(), "500,00");
        QTest::keyClick(t.valor, Qt::Key_Tab);
        EXPECT_EQ(t.valor->valor().raw(), 5000000);
    }
}

TEST(CampoValor, GuardaOValorExatoENaoCortaOTexto)
{
    Tela t;
    t.valor->defineValor(Money::fromRaw(170017)); // 17,0017 from a summary's rate line
    t.valor->setFocus();
    QTest::keyClick(t.valor, Qt::Key_Tab);
    EXPECT_EQ(t.valor->valor().raw(), 170017) << "passing through the field keeps the four decimals";

    t.valor->defineValor(Money::fromRaw(1234567891200LL));
    EXPECT_EQ(t.valor->text(), "123.456.789,12");
    t.valor->setFocus();
    t.valor->selectAll();
    QTest::keyClicks(t.valor, "99.999.999.999.999,99");
    QTest::keyClick(t.valor, Qt::Key_Tab);
    EXPECT_EQ(t.valor->valor().raw(), 999999999999999900LL);
}
