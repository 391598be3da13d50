#pragma once
#include <QDialog>
#include <memory>

#include "documents/untRegrasNotaFiscal.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TEdValor;
class TRegrasSaida;
class TEdicao;
class TCampoCfop;
class TCampoParte;
struct TContexto;

// The fields and behaviours shared by the invoice entry and change screens: kind, code with its list,
// the note's data, the counterparty, the extemporaneous month and the tax panel.
class TfrmCamposNotaFiscal : public QDialog {
    Q_OBJECT
public:
    TfrmCamposNotaFiscal(TContexto& ctx, bool alteracao, QWidget* parent);
    ~TfrmCamposNotaFiscal() override;

    QGroupBox* rdgTipoNF;
    QRadioButton* rbEntrada;
    QRadioButton* rbSaida;
    QGroupBox* grbCfop;
    QLineEdit* edtCodCFOP;
    QPlainTextEdit* MemoCfop;
    QGroupBox* grbDados;
    QLineEdit* edtModelo;
    QLineEdit* edtSerie;
    QLineEdit* edtSubSerie;
    QLineEdit* edtNumeroNF;
    QDateEdit* edtEmissao;
    TEdValor* edtValorNF;
    QLineEdit* edtObservacao;
    QGroupBox* grbDestino;
    QLineEdit* edtCnpjDestino;
    QLabel* lblNomeDestino;
    QLabel* lblUF;
    QGroupBox* rdgEmitente;
    QRadioButton* rbTerceiros;
    QRadioButton* rbProprio;
    QCheckBox* chbExtemporaneo;
    QGroupBox* grbExtemporaneo;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QCheckBox* chbSituacao;
    QGroupBox* grbImpostos;
    TEdValor* edtBaseIcms;
    QLineEdit* edtAliquota;
    TEdValor* edtValorIcms;
    TEdValor* edtOutrasIcms;
    TEdValor* edtIsentasIcms;
    TEdValor* edtValorIpi;
    TEdValor* edtIsentasIpi;
    TEdValor* edtOutrasIpi;
    TEdValor* edtBaseSubst;
    TEdValor* edtIcmsRetido;
    TEdValor* edtDespAcessorias;
    QCheckBox* chbMVA;
    QPushButton* btnCancelar;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    // The behaviours of the fields, also run by the focus changes.
    void entraCfop();
    void saiCfop();
    void saiDestino();
    void entraAliquota();
    void saiAliquota();

    TCamposNota campos() const;
    const QString& filtroCfop() const;
    bool transacaoAberta() const;

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void reject() override;
    // The substitution fields follow the code's "admits substitution" flag.
    virtual void aplicaSubstituicao(bool admite) = 0;
    void habilitaSubstituicao(bool sim);
    // The screen's layout: kind and code on top, the note's data, the screen's own middle part, the tax panel
    // and the buttons.
    void monta(QLayout* meio, const QList<QPushButton*>& botoes);
    void zeraValores();
    bool iniciaTransacao();
    void encerraTransacao(bool confirma);
    // Commits the edit; false (the engine's text shown, the screen still editing) when the commit failed.
    bool confirmaTransacao();
    void preencheDestino(int id);
    QList<TEdValor*> valores() const;

    TContexto& m_ctx;
    bool m_alteracao;
    std::unique_ptr<TCampoCfop> m_cfop;
    std::unique_ptr<TCampoParte> m_parte;
    std::unique_ptr<TEdicao> m_edicao;
    TRegrasSaida* m_regras = nullptr;
};
