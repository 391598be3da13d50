#pragma once
#include <QCalendarWidget>

class QDateEdit;

// The calendar of every date field and date picker: the program's own month and weekday names ("Março",
// "Seg"), not the lower-case ones of the regional library ("março", "seg."), so that calendars and the
// program's other date texts agree.
class TCalendario : public QCalendarWidget {
    Q_OBJECT
public:
    explicit TCalendario(QWidget* parent = nullptr);
    // The weekday text shown in the header for a column's day (Qt numbering, 1 = Monday).
    QString textoDoCabecalho(int diaSemana) const;
private:
    void aplicaNomes();
};

// A date field whose pop-up is the program's calendar.
void UsaCalendarioDoPrograma(QDateEdit* campo);
