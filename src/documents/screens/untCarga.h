#pragma once
#include <QDialog>

#include "documents/untClsNotaTransporte.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TEdValor;
class TRegrasSaida;
struct TContexto;

// The fields of a cargo note (an invoice covering goods a transport document carried) shared by its entry and
// change screens. The note is written in the transport screen's open transaction.
class TfrmCamposCarga : public QDialog {
    Q_OBJECT
public:
    TfrmCamposCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent);

    QLineEdit* edtCnpjDestino;
    QLabel* lblNomeDestino;
    QLineEdit* edtModelo;
    QLineEdit* edtSerie;
    QLineEdit* edtSubSerie;
    QLineEdit* edtNumeroNF;
    QDateEdit* edtEmissao;
    TEdValor* edtValorNF;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    // The recipient, found by its CNPJ/CPF or chosen in the register; none is required.
    void saiDestino();
    virtual void Salvar() = 0;

protected:
    // The note as typed, on the keys it was opened with.
    TNotaCarga campos() const;
    void mostraDestino(int id);

    TContexto& m_ctx;
    TNotaCarga m_carga;
    TRegrasSaida* m_regras;
};

class TfrmIncluirCarga : public TfrmCamposCarga {
    Q_OBJECT
public:
    // `carga` carries the taxpayer, the transport document and its other party (the cargo's taker).
    TfrmIncluirCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent = nullptr);
    void Salvar() override;
protected:
    void showEvent(QShowEvent* e) override;
};

class TfrmAlterarCarga : public TfrmCamposCarga {
    Q_OBJECT
public:
    TfrmAlterarCarga(TContexto& ctx, const TNotaCarga& carga, QWidget* parent = nullptr);
    void Salvar() override;
};
