#pragma once
#include <QGroupBox>

class QComboBox;
class IRelogio;

// The "Periodo" group of the browse screens: the month ("**" for every period, or 1 to 12) and the year
// (the current one down to 2002), with their leaving rules: a month above 12 becomes "1" and a year up to
// 1998 becomes "1999" (a non-number "2003"), the focus staying in the field.
class TFiltroPeriodo : public QGroupBox {
    Q_OBJECT
public:
    TFiltroPeriodo(IRelogio& relogio, QWidget* parent);
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    // The leaving rules; false when the text was corrected and the focus stays.
    bool saiMes();
    bool saiAno();
};
