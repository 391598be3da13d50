#pragma once
#include <QDialog>

#include "registers/untRegrasCadastro.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;
class TEdMascarado;
struct TContexto;

// The fields shared by the accountant include and change dialogs.
class TfrmCamposContador : public QDialog {
    Q_OBJECT
public:
    TfrmCamposContador(TContexto& ctx, bool inclusao, QWidget* parent);

    QLineEdit* edtRazaoSocial;
    QGroupBox* rdgTpInscricao;
    QRadioButton* rbCnpj;
    QRadioButton* rbCpf;
    TEdMascarado* edtCnpj;
    QLineEdit* edtCrc;
    QLineEdit* edtEmail;
    TEdMascarado* edtFone;
    QPushButton* btnConfirma;
    QPushButton* btnFechar;

    TCamposContador campos() const;
    virtual void Confirma() = 0;
    // Refills the accountant list and closes.
    void Fechar();

protected:
    QString tipoEscolhido() const;
    // The number field is emptied and takes the mask of the chosen kind (full masks in the change dialog).
    void remascaraNumero();

    TContexto& m_ctx;
    bool m_inclusao;
};
