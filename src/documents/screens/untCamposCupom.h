#pragma once
#include <QDialog>
#include <memory>

#include "documents/untClsCupomFiscal.h"

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;
class QStatusBar;
class QTableView;
class TDataSet;
class TDataSetModel;
class TEdValor;
class TEdicao;
class TRegrasSaida;
struct TContexto;

// The fields and rules the entry and change screens of a daily summary share: the header step on leaving
// "Venda Bruta" (written inside the screen's transaction), the rate lines, the balance of the day and the
// checks of "&Salvar", which recompute the balance from the fields and the stored lines.
class TfrmCamposCupom : public QDialog {
    Q_OBJECT
public:
    TfrmCamposCupom(TContexto& ctx, bool alteracao, QWidget* parent);
    ~TfrmCamposCupom() override;

    QGroupBox* grbECF;
    QLineEdit* edtModelo;
    QLineEdit* edtNumSerie;
    QLineEdit* edtNumeroEqp;
    QDateEdit* edtEmissao;
    QLineEdit* edtCooInicial;
    QLineEdit* edtCooFinal;
    QLineEdit* edtCRZ;
    QLineEdit* edtCRO;
    TEdValor* curGTInicial;
    TEdValor* curGTFinal;
    TEdValor* curVendaBruta;
    QGroupBox* panST;
    TEdValor* curVlr_F;
    TEdValor* curVlr_I;
    TEdValor* curVlr_N;
    TEdValor* curVlr_CANC;
    TEdValor* curVlr_DESC;
    TEdValor* curVlr_ISS;
    QGroupBox* grbTributados;
    QComboBox* cmbAliquota;
    TEdValor* curVlrAcumulado;
    QLabel* lblimposto;
    QTableView* dbgAliquota;
    QAction* actExcluir;
    QLabel* lblVendaLiquida;
    QLabel* lblSaldo;
    QPushButton* btnCancelar;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    virtual void Salvar() = 0;
    virtual void Cancelar() = 0;
    // The grid menu's "&Excluir" on the selected rate line.
    void ExcluirLinha();

    // The summary being entered or changed (0 when none).
    int cupomAtual() const { return m_id; }
    bool transacaoAberta() const;

protected:
    void reject() override;

    // The first button: "&Novo" on the entry screen, "&Alterar" on the change screen.
    QPushButton* m_btnPrimeiro;

    TCupomFiscal campos() const;
    void mostra(const TCupomFiscal& c);
    void zeraValores();
    void leLinhas();
    void fechaLinhas();
    void mostraSaldo();
    // The header was written: the totalizers and the rate lines can be typed, "&Salvar" is enabled.
    void totais();
    // The checks of "&Salvar" and the update of every field; true once the update and the commit succeeded.
    // A refused commit writes the summary again in the fresh transaction (`regrava`) so the screen keeps
    // editing what was typed.
    bool salva(const QString& erroAlteracao);
    virtual bool regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas) = 0;
    // Writes the header inside the transaction; false after its message, with `ficaNoCampo` cleared when the
    // message sent the focus to another field.
    virtual bool gravaCabecalho(TCupomFiscal& c, bool* ficaNoCampo) = 0;

    TContexto& m_ctx;
    const bool m_alteracao;
    std::unique_ptr<TEdicao> m_edicao;
    std::unique_ptr<TDataSet> m_linhas;
    TDataSetModel* m_modelo = nullptr;
    TRegrasSaida* m_regras = nullptr;
    int m_id = 0;
    bool m_cabecalhoGravado = false;

private:
    // Leaving rules; false keeps the focus in the field left.
    bool saiVendaBruta();
    bool saiAliquota();
    bool saiVlrAcumulado();
};
