#pragma once
#include <QDialog>
#include <QHash>
#include <memory>

#include "declarations/untZel.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class TEdValor;
class TfraRecibo;
class TfrmCredPresumido;
class TfrmCredProgGov;
class TRegrasSaida;
struct TContexto;

// "Apuração do Imposto - Regime Normal": the month's declaration, computed from the documents by
// "Processa", completed by the user and saved with its programme credits in one transaction. Opened on a
// stored row (`idZel` not 0) it is the change screen "Alterar Apuração do Imposto".
class TfrmIncluirZEL : public QDialog {
    Q_OBJECT
public:
    TfrmIncluirZEL(TContexto& ctx, int idZel = 0, QWidget* parent = nullptr);
    ~TfrmIncluirZEL() override;

    QGroupBox* grbPeriodo;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QPushButton* btnProcessa;
    QGroupBox* rdgTipo;
    QRadioButton* rbNormal;
    QRadioButton* rbRetificadora;
    QTabWidget* pcPaginas;
    QWidget* tsApuracao;
    QWidget* tsSubstituicao;
    TfraRecibo* fraRecibo;
    QGroupBox* grbCredito;
    QGroupBox* grbDebito;
    QGroupBox* grbApuracao;
    QGroupBox* grbOutras;
    QGroupBox* grbSubstituicao;
    QGroupBox* grbDeducaoMirvel;
    QGroupBox* panMirvelIcms;
    QGroupBox* panMirvelDifAliq;
    QPushButton* btnCredPresumido;
    QPushButton* btnCredProgGov;
    QLabel* lblSomaCredPresumido;
    QLabel* lblSomaCredGoverno;
    QPushButton* btnSalvarZel;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    // Every amount field by its object name ("edtCredEntrada", "edtDebSaidas", ...).
    TEdValor* campo(const char* nome) const;
    TfrmCredPresumido* credPresumido() const { return m_presumido.get(); }
    TfrmCredProgGov* credProgGov() const { return m_programas.get(); }
    const TApuracaoNormal& modelo() const { return m_modelo; }
    bool alteracao() const { return m_idZel != 0; }

    void Processa();
    void Salvar();
    bool saiMes();
    bool saiAno();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void aoFecharCreditos();
    void leCampos();
    void mostra();
    void carrega();
    void habilita(bool sim);
    void mudaTipo();
    bool saiDeducao(const char* nome, Money base, bool desabilitaAoAplicar);
    QString periodo() const;

    TContexto& m_ctx;
    int m_idZel;
    QString m_periodoCarregado;
    QHash<QString, TEdValor*> m_campos;
    TApuracaoNormal m_modelo;
    std::unique_ptr<TfrmCredPresumido> m_presumido;
    std::unique_ptr<TfrmCredProgGov> m_programas;
    TRegrasSaida* m_regras = nullptr;
    bool m_processado = false;
};
