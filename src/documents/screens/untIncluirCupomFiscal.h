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

// "Lançamentos do ECF - Redução Z": idle until "&Novo" opens a transaction; leaving "Venda Bruta" writes the
// header inside it, the rate lines follow, and "&Salvar" commits once the day balances. The next summary of
// the same equipment starts from this one's grand total.
class TfrmIncluirCupomFiscal : public QDialog {
    Q_OBJECT
public:
    explicit TfrmIncluirCupomFiscal(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmIncluirCupomFiscal() override;

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
    QPushButton* btnNovo;
    QPushButton* btnCancelar;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    void Novo();
    void Salvar();
    void Cancelar();
    // The grid menu's "&Excluir" on the selected rate line.
    void ExcluirLinha();

    // The summary being entered (0 outside an edit) and the last one saved here (0 when none): keys the
    // inserts returned, for the list to stand on.
    int cupomAtual() const { return m_id; }
    int ultimoIncluido() const { return m_ultimo; }
    bool transacaoAberta() const;

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    TCupomFiscal campos() const;
    void ocioso();
    void zeraValores();
    void leLinhas();
    void fechaLinhas();
    void mostraSaldo();
    void totais();
    // Leaving rules; false keeps the focus in the field left.
    bool saiVendaBruta();
    bool saiAliquota();
    bool saiVlrAcumulado();
    // After a refused commit gave back the summary and its lines, writes them again in the fresh
    // transaction so the screen keeps editing what was typed.
    bool regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas);

    TContexto& m_ctx;
    std::unique_ptr<TEdicao> m_edicao;
    std::unique_ptr<TDataSet> m_linhas;
    TDataSetModel* m_modelo = nullptr;
    TRegrasSaida* m_regras = nullptr;
    int m_id = 0;
    int m_ultimo = 0;
};
