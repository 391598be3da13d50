#include "widgets/untCalendario.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDateEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include "core/untDatas.h"

namespace {
// The header cells hold the library's weekday names; they are shown as the program writes them.
class TCabecalhoDias final : public QStyledItemDelegate {
public:
    explicit TCabecalhoDias(QObject* pai) : QStyledItemDelegate(pai) {}
    QString displayText(const QVariant& valor, const QLocale& local) const override
    {
        if (valor.typeId() == QMetaType::QString) {
            const QString texto = valor.toString();
            for (int d = 1; d <= 7; ++d)
                for (auto formato : {QLocale::ShortFormat, QLocale::LongFormat, QLocale::NarrowFormat})
                    if (texto == local.dayName(d, formato) || texto == local.standaloneDayName(d, formato))
                        return formato == QLocale::LongFormat ? Datas::nomeDia(d) : Datas::nomeDia(d, true);
        }
        return QStyledItemDelegate::displayText(valor, local);
    }
};
} // namespace

TCalendario::TCalendario(QWidget* parent) : QCalendarWidget(parent)
{
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    if (auto* vista = findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview")))
        vista->setItemDelegate(new TCabecalhoDias(vista));
    // The widget writes the month's name again on every page change; ours is written after it.
    connect(this, &QCalendarWidget::currentPageChanged, this, &TCalendario::aplicaNomes);
    aplicaNomes();
}

QString TCalendario::textoDoCabecalho(int diaSemana) const
{
    auto* vista = findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    if (!vista || !vista->model() || !vista->itemDelegate())
        return {};
    const int primeiro = firstDayOfWeek();
    const int coluna = (diaSemana - primeiro + 7) % 7;
    const QVariant v = vista->model()->index(0, coluna).data();
    auto* d = qobject_cast<QStyledItemDelegate*>(vista->itemDelegate());
    return d ? d->displayText(v, locale()) : v.toString();
}

void TCalendario::aplicaNomes()
{
    if (auto* botao = findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"))) {
        botao->setText(Datas::nomeMes(monthShown()));
        if (QMenu* menu = botao->menu()) {
            const QList<QAction*> meses = menu->actions();
            for (int i = 0; i < meses.size() && i < 12; ++i)
                meses[i]->setText(Datas::nomeMes(i + 1));
        }
    }
}

void UsaCalendarioDoPrograma(QDateEdit* campo)
{
    campo->setCalendarPopup(true);
    campo->setCalendarWidget(new TCalendario(campo));
}
