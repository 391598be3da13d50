// The calendars show the program's own month and weekday names, whatever the regional library calls them.
#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/TDialogosRoteiro.h"
#include "widgets/untCalendario.h"

TEST(Calendario, NomesDoProgramaNoMesNoMenuENoCabecalho)
{
    TCalendario c;
    c.setFirstDayOfWeek(Qt::Sunday);
    c.setCurrentPage(2026, 3);
    c.show();
    auto* mes = c.findChild<QToolButton*>("qt_calendar_monthbutton");
    ASSERT_TRUE(mes);
    EXPECT_EQ(mes->text(), QString::fromUtf8("Março")) << "not the library's \"março\"";
    ASSERT_TRUE(mes->menu());
    EXPECT_EQ(mes->menu()->actions().value(2)->text(), QString::fromUtf8("Março"));
    EXPECT_EQ(c.textoDoCabecalho(1), "Seg");
    EXPECT_EQ(c.textoDoCabecalho(6), QString::fromUtf8("Sáb"));
    EXPECT_EQ(c.textoDoCabecalho(7), "Dom");

    // Turning the page writes the program's name again.
    c.setCurrentPage(2026, 9);
    EXPECT_EQ(mes->text(), "Setembro");
}

TEST(Calendario, CampoDeDataUsaOCalendarioDoPrograma)
{
    QDateEdit campo;
    UsaCalendarioDoPrograma(&campo);
    EXPECT_TRUE(campo.calendarPopup());
    EXPECT_TRUE(qobject_cast<TCalendario*>(campo.calendarWidget()));
}
