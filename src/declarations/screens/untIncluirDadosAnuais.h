#pragma once
#include <QDialog>

#include "declarations/untDadosAnuais.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TEdValor;
class TRegrasSaida;
struct TContexto;

// "Incluir Dados Anuais" / "Alterar Dados Anuais": one year's closing stock, balances and expenses with the
// payment regime. The change screen keeps the key of the row it opened on.
class TfrmIncluirDadosAnuais : public QDialog {
    Q_OBJECT
public:
    TfrmIncluirDadosAnuais(TContexto& ctx, int idDadosAnuais = 0, QWidget* parent = nullptr);

    QGroupBox* grbAno;
    QComboBox* cmbAno;
    QGroupBox* rdgTipo;
    QRadioButton* rbNormal;
    QRadioButton* rbRetificadora;
    QGroupBox* rdgRegime;
    QRadioButton* rbEPP;
    QRadioButton* rbRegimeNormal;
    QRadioButton* rbSimples;
    TEdValor* curVlrTrib;
    TEdValor* curVlrNaoTrib;
    TEdValor* curSubTrib;
    TEdValor* curEstqTotal;
    TEdValor* curSldCaixa;
    TEdValor* curSldBancos;
    TEdValor* curSldTotal;
    TEdValor* curDespPessoal;
    TEdValor* curOutrosImpostos;
    TEdValor* curDespGerais;
    QPushButton* btnSalvarDA;
    QPushButton* btnFechar;

    TValoresAnuais valores() const;
    int regime() const;
    bool saiAno();
    void Salvar();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void totais();

    TContexto& m_ctx;
    int m_id;
    TRegrasSaida* m_regras;
};
