#pragma once
#include <QDialog>

#include "core/untMoney.h"

class QPushButton;
class TEdValor;
struct TContexto;

// "Crédito Presumido": the four presumed credits of special regimes, typed beside the declaration (the
// window does not block the entry screen and stays on top of it). It only holds its fields; the entry
// screen reads them when it computes and saves.
class TfrmCredPresumido : public QDialog {
    Q_OBJECT
public:
    TfrmCredPresumido(TContexto& ctx, QWidget* parent = nullptr);

    TEdValor* curedtOutrosRegimes;
    TEdValor* curedtTare;
    TEdValor* curedtPrevRicms;
    TEdValor* curedtDorq;
    QPushButton* btnFechar;

    Money TotalCredPresumido() const;
    // OutrosRegEspec, Tare, PrevRicms, Dorq.
    void valores(Money destino[4]) const;
    void defineValores(const Money origem[4]);

signals:
    // Any of the four changed: the entry screen's total and field 8 follow.
    void mudou();
    // The window was closed (hidden): the focus goes back to the entry screen.
    void fechou();

protected:
    void reject() override;
};
