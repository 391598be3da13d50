#pragma once
#include <QDialog>
#include <functional>
#include <memory>

#include "declarations/untZel.h"

class QPushButton;
class QTabWidget;
class QWidget;
class TEdValor;
class TRegrasSaida;
struct TContexto;

// "Créditos de Programas de Governo": the month's account of the housing and the education cheques. The
// window holds one account object per cheque; the values typed count once the window is closed.
class TfrmCredProgGov : public QDialog {
    Q_OBJECT
public:
    // `periodo` gives the entry screen's period "yyyymm" when the window loads.
    TfrmCredProgGov(TContexto& ctx, std::function<QString()> periodo, QWidget* parent = nullptr);
    ~TfrmCredProgGov() override;

    QTabWidget* pcCredGoverno;
    QWidget* tsChequeHabitacao;
    QWidget* tsChequeEducacao;
    // Per page: previous balance, authorised, transferred in, transferred out, appropriated, remaining.
    TEdValor* edtCH[6];
    TEdValor* edtCE[6];
    QPushButton* btnFechar;

    TZelCredGov& habitacao() { return *m_habitacao; }
    TZelCredGov& educacao() { return *m_educacao; }

    Money TotalCredGoverno() const;
    Money TotalChqHabitacao() const;
    Money TotalChqEducacao() const;
    // Writes the two accounts in the caller's transaction; false with the message of the first failure. An
    // account left all at 0 writes no new row, and a stored one set to 0 is updated to 0.
    bool SalvaCredGoverno(QString* mensagem);
    // The caller's transaction was rolled back: the accounts are again as before SalvaCredGoverno.
    void desfazGravacao();
    // Loads the accounts of the period from the database when a load is pending (the entry screen also
    // calls it after loading a stored declaration).
    void Carrega();
    void marcaRecarga() { m_carregaPendente = true; }
    // The remaining balances from the fields; a negative one is told and keeps the focus in `campo`.
    bool VerSaldoRemanescente(QWidget* campo);

signals:
    void fechou();

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void capturaValores();
    static void paraCampos(const TZelCredGov& c, Money anterior, TEdValor* const campos[6]);

    TContexto& m_ctx;
    std::function<QString()> m_periodo;
    std::unique_ptr<TZelCredGov> m_habitacao;
    std::unique_ptr<TZelCredGov> m_educacao;
    bool m_carregaPendente = true;
    struct TAntes {
        bool existe = false;
        int id = 0;
    } m_antes[2];
    bool m_mostradoPeloUsuario = true;
    TRegrasSaida* m_regras;
};
