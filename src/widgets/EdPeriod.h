#pragma once
#include <QLineEdit>

#include "core/untPeriodo.h"

class IDialogos;
class IRelogio;

// The month-and-year field: typed as "mm-yyyy", its value the six characters month then year.
class TEdPeriod : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdPeriod(QWidget* parent = nullptr);
    void configura(IDialogos* dialogos, IRelogio* relogio) { m_dialogos = dialogos; m_relogio = relogio; }

    TPeriodoRegras regras;

    // The value as stored: "mmyyyy" (blanks where nothing was typed); empty when nothing was typed at all.
    QString periodo() const;
    void definePeriodo(const QString& mmyyyy);
    // The checks of leaving the field; shows their messages and tells whether the focus must stay.
    bool valida();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    IDialogos* m_dialogos = nullptr;
    IRelogio* m_relogio = nullptr;
};
