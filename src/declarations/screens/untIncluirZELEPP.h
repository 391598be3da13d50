#pragma once
#include <QDialog>
#include <QHash>

#include "declarations/untZelEpp.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TEdValor;
class TRegrasSaida;
struct TContexto;

// The EPP computation screens: the old rules (to 06/2006, five brackets and a presumed credit) or the
// provisional measure 37/06 (from 07/2006, 1 % less three granted credits). The arithmetic is the core's;
// the screen shows it. Opened on a stored row (`idEpp` not 0) it changes that row.
class TfrmCamposEPP : public QDialog {
    Q_OBJECT
public:
    TfrmCamposEPP(TContexto& ctx, bool mp3706, int idEpp, QWidget* parent);

    QGroupBox* grbPeriodo;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QPushButton* btnProcessa;
    QGroupBox* rdgTipo;
    QRadioButton* rbNormal;
    QRadioButton* rbRetificadora;
    QTabWidget* pcPaginas;
    QGroupBox* grbBase;
    QGroupBox* grbCreditos;
    QGroupBox* grbEntradas;
    QGroupBox* grbDifAliquota;
    QGroupBox* grbSaidas;
    QComboBox* cmbFaixa;            // the old screen only
    QLineEdit* edtNum_Empreg;       // the old screen only
    QLineEdit* edtPercRecolhimento; // MP 37/06: "1,0 %"
    QLineEdit* edtCred_Aq_Inter;
    QLineEdit* edtPerc_Cred_Pres;
    QPushButton* btnSalvarZel;
    QPushButton* btnFechar;

    TEdValor* campo(const char* nome) const;
    const TApuracaoEPP& modelo() const { return m_modelo; }

    void Processa();
    void Salvar();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TEdValor* valor(QWidget* pai, const char* nome, bool calculado);
    void leCampos();
    void mostra();
    void carrega();
    QString periodo() const;

    TContexto& m_ctx;
    const bool m_mp3706;
    int m_idEpp;
    QHash<QString, TEdValor*> m_campos;
    TApuracaoEPP m_modelo;
    TRegrasSaida* m_regras;
    bool m_processado = false;
    bool m_salvo = false;
};

// "Apuração do Imposto - Regime EPP" (January 2004 to June 2006).
class TfrmIncluirZELEPP : public TfrmCamposEPP {
    Q_OBJECT
public:
    TfrmIncluirZELEPP(TContexto& ctx, int idEpp = 0, QWidget* parent = nullptr) : TfrmCamposEPP(ctx, false, idEpp, parent) {}
};

// "Apuração Regime EPP - Medida Provisória 37/06" (from July 2006).
class TfrmApuraZELEPP2006 : public TfrmCamposEPP {
    Q_OBJECT
public:
    TfrmApuraZELEPP2006(TContexto& ctx, int idEpp = 0, QWidget* parent = nullptr) : TfrmCamposEPP(ctx, true, idEpp, parent) {}
};
