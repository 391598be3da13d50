#include "widgets/untCalendario.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QDateEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>

#include "core/untDatas.h"
#include "widgets/untTelas.h"

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

namespace {
// A date typed over the field as a whole, day, month and year, with or without slashes ("12112026",
// "12/11/2026", "3/2/2025"): the field takes it once it is complete. Tab and Enter leave the field rather than
// walk its day, month and year; the arrows and the calendar still change it piece by piece.
class TDataDigitada final : public QObject {
public:
    explicit TDataDigitada(QDateEdit* campo) : QObject(campo), m_campo(campo) { campo->installEventFilter(this); }
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        switch (e->type()) {
        case QEvent::FocusIn: {
            const auto motivo = static_cast<QFocusEvent*>(e)->reason();
            if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason)
                return false;
            m_digitado.clear();
            static_cast<QObject*>(m_campo)->event(e);
            m_campo->selectAll();
            return true;
        }
        case QEvent::FocusOut:
            m_digitado.clear();
            return false;
        case QEvent::KeyPress:
            return tecla(static_cast<QKeyEvent*>(e));
        default:
            return false;
        }
    }
private:
    bool tecla(QKeyEvent* k)
    {
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            if (!m_digitado.isEmpty())
                RecusaTecla(m_campo); // an incomplete date is not taken; the field keeps its date
            m_digitado.clear();
            const bool volta = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
            QKeyEvent tab(QEvent::KeyPress, volta ? Qt::Key_Backtab : Qt::Key_Tab, k->modifiers() & Qt::ShiftModifier);
            QApplication::sendEvent(m_campo->window(), &tab);
            return true;
        }
        if (k->key() == Qt::Key_Backspace && !m_digitado.isEmpty()) {
            m_digitado.chop(1);
            return true;
        }
        const QString texto = k->text();
        if (texto.size() != 1 || !(texto[0].isDigit() || texto[0] == QLatin1Char('/'))) {
            if (!texto.isEmpty() && texto[0].isPrint())
                RecusaTecla(m_campo);
            else
                m_digitado.clear(); // the arrows and the like change the date themselves
            return !texto.isEmpty() && texto[0].isPrint();
        }
        const QString tentativa = m_digitado + texto;
        static const QRegularExpression parcial(QStringLiteral("^(\\d{0,8}|\\d{1,2}/(\\d{0,2}|\\d{1,2}/\\d{0,4}))$"));
        if (!parcial.match(tentativa).hasMatch()) {
            RecusaTecla(m_campo);
            return true;
        }
        m_digitado = tentativa;
        static const QRegularExpression inteira(QStringLiteral("^(\\d{2})/?(\\d{2})/?(\\d{4})$|^(\\d{1,2})/(\\d{1,2})/(\\d{4})$"));
        const auto m = inteira.match(m_digitado);
        if (!m.hasMatch())
            return true;
        const int base = m.capturedLength(1) ? 1 : 4;
        const QDate data(m.captured(base + 2).toInt(), m.captured(base + 1).toInt(), m.captured(base).toInt());
        m_digitado.clear();
        if (!data.isValid() || data < m_campo->minimumDate() || data > m_campo->maximumDate()) {
            RecusaTecla(m_campo);
            return true;
        }
        m_campo->setDate(data);
        m_campo->selectAll();
        return true;
    }

    QDateEdit* m_campo;
    QString m_digitado;
};
} // namespace

void UsaCalendarioDoPrograma(QDateEdit* campo)
{
    campo->setCalendarPopup(true);
    campo->setCalendarWidget(new TCalendario(campo));
    new TDataDigitada(campo);
}
