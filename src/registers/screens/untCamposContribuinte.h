#pragma once
#include <QDialog>

#include "registers/untRegrasCadastro.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class TEdMascarado;
struct TContexto;

// The fields shared by the taxpayer include and change dialogs, in both kinds (taxpayer or client/supplier).
class TfrmCamposContribuinte : public QDialog {
    Q_OBJECT
public:
    TfrmCamposContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent);

    QGroupBox* rdgTpInscricao;
    QRadioButton* rbCnpj;
    QRadioButton* rbCpf;
    TEdMascarado* edtCnpj;
    QLineEdit* edtRazaoSocial;
    TEdMascarado* edtCcicms;
    QCheckBox* chkIsento;
    QLineEdit* edtLogradouro;
    TEdMascarado* edtNumero;
    QLineEdit* edtComplemento;
    QLineEdit* edtBairro;
    TEdMascarado* edtCep;
    QLineEdit* edtMunicipio;
    QComboBox* cmbUF;
    TEdMascarado* edtFax;
    QGroupBox* grbContato;
    QLineEdit* edtContato;
    TEdMascarado* edtFone;
    QLineEdit* edtEmail;
    QGroupBox* grbContador;
    QLineEdit* edtNomeContador;
    QPushButton* btnSelcionaContador;
    QPushButton* btnConfirma;
    QPushButton* btnFechar;
    QStatusBar* StatusBar;

    ModoContribuinte modo() const { return m_modo; }
    TCamposContribuinte campos() const;
    virtual void Confirma() = 0;
    virtual void Fechar() = 0;
    // Opens the accountant list and shows the accountant chosen there.
    void SelecionaContador();

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void marcaIsento(bool isento);
    void remascaraNumero();
    // The accountant whose id is saved: the one loaded into the accountant list.
    int contadorCarregado() const;

    TContexto& m_ctx;
    ModoContribuinte m_modo;
};
