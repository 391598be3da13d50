// The small shared widgets: Enter as Tab, the period field, the Qt message box and the progress window.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "widgets/DialogsQt.h"
#include "widgets/EdPeriod.h"
#include "widgets/Enter.h"
#include "widgets/untAguarde.h"
#include "core/untRelogio.h"
#include "support/TDialogosRoteiro.h"

namespace {
// Acts on the next message box as soon as it is up (the box processes events before showing, so a single
// zero timer would fire too early). Gives up after two seconds so a test can never hang.
void quandoCaixaAparecer(std::function<void(QMessageBox*)> acao)
{
    auto* timer = new QTimer;
    auto* tentativas = new int(0);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, tentativas, acao] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (caixa || ++*tentativas > 200) {
            timer->stop();
            timer->deleteLater();
            delete tentativas;
            if (caixa)
                acao(caixa);
            else
                ADD_FAILURE() << "a caixa não apareceu";
        }
    });
    timer->start();
}

struct DialogoComCampos {
    QDialog dialogo;
    QLineEdit* a = new QLineEdit(&dialogo);
    QLineEdit* b = new QLineEdit(&dialogo);
    QCheckBox* marca = new QCheckBox(QStringLiteral("marca"), &dialogo);
    QPushButton* ok = new QPushButton(QStringLiteral("&Ok"), &dialogo);
    DialogoComCampos()
    {
        auto* l = new QVBoxLayout(&dialogo);
        l->addWidget(a);
        l->addWidget(b);
        l->addWidget(marca);
        l->addWidget(ok);
        dialogo.show();
        dialogo.activateWindow();
        QApplication::setActiveWindow(&dialogo);
    }
};
} // namespace

TEST(EnterComoTab, EnterNoCampoAvancaENoBotaoAciona)
{
    DialogoComCampos d;
    auto* enter = new TkEnterAsTab(&d.dialogo);
    EXPECT_TRUE(enter->property("EnterAsTab").toBool());
    int cliques = 0;
    QObject::connect(d.ok, &QPushButton::clicked, [&] { ++cliques; });

    d.a->setFocus();
    QTest::keyClick(d.a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.b);
    QTest::keyClick(d.b, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), d.marca);
    // A check box moves on too, unmarked: a keyboard user never stops on it, and only Space marks it.
    const bool marcada = d.marca->isChecked();
    QTest::keyClick(d.marca, Qt::Key_Return);
    EXPECT_NE(QApplication::focusWidget(), d.marca);
    EXPECT_EQ(d.marca->isChecked(), marcada);

    // On a button, Enter keeps its own meaning.
    d.ok->setFocus();
    QTest::keyClick(d.ok, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.ok);
    EXPECT_EQ(cliques, 1);

    enter->setEnterAsTab(false);
    d.a->setFocus();
    QTest::keyClick(d.a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.a);
}

TEST(EnterComoTab, EnterPressionaOBotaoQueNaoEhPadrao)
{
    // The screens' buttons are never default ones (Enter in a field moves on); Enter on one still presses it.
    DialogoComCampos d;
    new TkEnterAsTab(&d.dialogo);
    d.ok->setAutoDefault(false);
    int cliques = 0;
    QObject::connect(d.ok, &QPushButton::clicked, [&] { ++cliques; });
    d.b->setFocus();
    QTest::keyClick(d.b, Qt::Key_Tab);
    QTest::keyClick(d.marca, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), d.ok);
    QTest::keyClick(d.ok, Qt::Key_Return);
    QTest::keyClick(d.ok, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(cliques, 2);
}

// A field cleared to a blank takes what is typed in its place, however it gets the focus: a 40-character name typed
// after the check put the focus there keeps its last character. A field a check refused ("XY") and handed the
// focus back shows its text selected, so what is typed replaces it; a click keeps the cursor where it fell.
TEST(EnterComoTab, CampoDeBrancosTemODigitadoNoLugarDeles)
{
    DialogoComCampos d;
    new TkEnterAsTab(&d.dialogo);
    d.a->setMaxLength(10);
    const struct {
        const char* antes;
        const char* depois;
    } casos[] = {{" ", "ABCDEFGHIJ"}, {"   ", "ABCDEFGHIJ"}, {"XY", "ABCDEFGHIJ"}};
    for (const auto& c : casos) {
        d.a->setText(QString::fromLatin1(c.antes));
        d.b->setFocus();
        d.a->setFocus(); // as a check's message leaves it
        QCoreApplication::processEvents();
        QTest::keyClicks(d.a, "ABCDEFGHIJ");
        EXPECT_EQ(d.a->text(), QString::fromLatin1(c.depois)) << c.antes;
    }
    d.a->setText(QStringLiteral("XY"));
    d.b->setFocus();
    d.a->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(d.a->hasSelectedText()) << "a click keeps the cursor";
}

TEST(EnterComoTab, OutroDialogoNaoEhAfetado)
{
    DialogoComCampos comEnter;
    new TkEnterAsTab(&comEnter.dialogo);
    DialogoComCampos semEnter;
    semEnter.a->setFocus();
    QTest::keyClick(semEnter.a, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), semEnter.a);
}

TEST(CampoPeriodo, LimitesComMesCorrenteEMensagens)
{
    TDialogosRoteiro dialogos;
    TRelogioFixo relogio(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
    QDialog dono;
    auto* outro = new QLineEdit(&dono);
    auto* campo = new TEdPeriod(&dono);
    auto* l = new QVBoxLayout(&dono);
    l->addWidget(outro);
    l->addWidget(campo);
    dono.show();
    QApplication::setActiveWindow(&dono);
    campo->configura(&dialogos, &relogio);
    campo->regras.PeriodoMin = QStringLiteral("122009");
    campo->regras.MaxPerAgora = true;
    campo->regras.MensErroValidade = QStringLiteral("Período fora do intervalo permitido.");
    campo->regras.MensErroSintaxe = QStringLiteral("Período inválido.");
    campo->regras.Aviso = QStringLiteral("  Informe o período como mm-aaaa.  ");

    campo->setFocus(); // entering sets the upper limit to the current month
    EXPECT_EQ(campo->regras.PeriodoMax, "122026");

    QTest::keyClicks(campo, "122009");
    EXPECT_EQ(campo->periodo(), "122009");
    EXPECT_TRUE(campo->valida());

    campo->clear();
    QTest::keyClicks(campo, "112009");
    dialogos.esperaMensagem(QString::fromUtf8("Período fora do intervalo permitido."))
        .esperaMensagem(QString::fromUtf8("Informe o período como mm-aaaa."));
    EXPECT_FALSE(campo->valida());

    campo->definePeriodo("132020");
    dialogos.esperaMensagem(QString::fromUtf8("Período inválido.")).esperaMensagem(QString());
    EXPECT_FALSE(campo->valida());

    campo->definePeriodo("012027");
    dialogos.esperaMensagem(QString()).esperaMensagem(QString());
    EXPECT_FALSE(campo->valida());

    // Leaving with a bad period keeps the focus in the field.
    campo->definePeriodo("112009");
    dialogos.esperaMensagem(QString()).esperaMensagem(QString());
    outro->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), campo);

    campo->clear();
    EXPECT_EQ(campo->periodo(), QString());
    EXPECT_TRUE(campo->valida()) << "an empty field is not checked";
    dialogos.verificaConsumo();
}

TEST(CaixaQt, BotoesPadraoECancelamentoDaPergunta)
{
    TDialogosQt dialogos;
    QString padrao, escape, titulo;
    QList<QString> legendas;
    quandoCaixaAparecer([&](QMessageBox* caixa) {
        titulo = caixa->windowTitle();
        padrao = caixa->defaultButton()->text();
        escape = qobject_cast<QPushButton*>(caixa->escapeButton())->text();
        for (QAbstractButton* b : caixa->buttons())
            legendas << b->text();
        QTest::keyClick(caixa, Qt::Key_Escape);
    });
    EXPECT_FALSE(PerguntaNao(dialogos, QString::fromUtf8("Confirma a exclusão?")));
    EXPECT_EQ(titulo, QString::fromUtf8("Zel do ICMS - Confirmação"));
    EXPECT_EQ(padrao, QString::fromUtf8("&Não"));
    EXPECT_EQ(escape, QString::fromUtf8("&Não"));
    EXPECT_TRUE(legendas.contains("&Sim"));

    quandoCaixaAparecer([&](QMessageBox* caixa) { QTest::keyClick(caixa, Qt::Key_Return);
    });
    EXPECT_TRUE(PerguntaSim(dialogos, QString::fromUtf8("Deseja continuar?")));
}

TEST(JanelaProgresso, AbreAtualizaEFechaComAmpulheta)
{
    TProgressoJanela progresso;
    progresso.inicia();
    auto* janela = qobject_cast<TfrmProgresso*>(QApplication::topLevelWidgets().isEmpty() ? nullptr : [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TfrmProgresso*>(w) && w->isVisible())
                return w;
        return static_cast<QWidget*>(nullptr);
    }());
    ASSERT_TRUE(janela);
    EXPECT_EQ(janela->windowTitle(), "Aguarde ...");
    EXPECT_FALSE(janela->isModal());
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    progresso.mensagem(QStringLiteral("Gerando registro 10"));
    progresso.posicao(40);
    EXPECT_EQ(janela->findChild<QLabel*>("lblMensagem")->text(), "Gerando registro 10");
    EXPECT_EQ(janela->findChild<QProgressBar*>("ProgressBar")->value(), 40);
    QPointer<QWidget> vigia(janela);
    progresso.termina();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(vigia.isNull()) << "closing destroys the window";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
