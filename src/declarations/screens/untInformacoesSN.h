#pragma once
#include <QDialog>
#include <QHash>

#include "declarations/untZelSN.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TEdValor;
class TfraRecibo;
class TRegrasSaida;
struct TContexto;

// "Informações complementares do Simples Nacional": the month's complementary figures, with the category of
// the establishment and its consistency checks. Opened on a stored row (`idSN` not 0) it changes that row.
class TfrmInformacoesSN : public QDialog {
    Q_OBJECT
public:
    TfrmInformacoesSN(TContexto& ctx, int idSN = 0, QWidget* parent = nullptr);

    QGroupBox* grbPeriodo;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QPushButton* btnProcessa;
    QGroupBox* rdgTipo;
    QRadioButton* rbNormal;
    QRadioButton* rbRetificadora;
    QGroupBox* rdgCategEstabel;
    QRadioButton* rbCategoria[3];
    QTabWidget* pcPaginas;
    QWidget* tsInformacoes;
    TfraRecibo* fraRecibo;
    QGroupBox* grbInf1;
    QGroupBox* grbInf2;
    QGroupBox* grbInf3;
    QComboBox* cbAliquotas;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    TEdValor* campo(const char* nome) const;
    TInformacoesSN campos() const;

    void Processa();
    void Salvar();
    bool saiAliquota();
    bool saiICMSSN();
    void escolheCategoria(int indice);

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void mostra(const TInformacoesSN& c);
    void carrega();
    void mudaTipo();
    QString periodo() const;
    QString cnpj() const;

    TContexto& m_ctx;
    int m_idSN;
    QHash<QString, TEdValor*> m_campos;
    TRegrasSaida* m_regras;
    TInformacoesSN m_objeto;   // what the declaration object holds: the values saved (or read) last
    bool m_carregando = false;
    bool m_processado = false;
    bool m_salvo = false;
};
