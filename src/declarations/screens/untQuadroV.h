#pragma once
#include <QDialog>

#include "db/untSqlite.h"
#include "declarations/untQuadroV.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class TDataSetModel;
class TEdPeriod;
class TEdValor;
class TRegrasSaida;
struct TContexto;

// "Selecionar Quadro V": the open taxpayer's rows of a month and year (or all of them).
class TfrmSelQuadroV : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelQuadroV(TContexto& ctx, QWidget* parent = nullptr);

    QComboBox* cmbMes;
    QLineEdit* cmbAno;
    QTableView* grade;
    QPushButton* btnPesquisar;
    QPushButton* btnIncluir;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnFechar;

    void Pesquisar();
    void Incluir();
    void Alterar();
    void Excluir();
    // The list as last searched, through the preview.
    void Imprimir();
    TDataSet& lista() { return m_lista; }
    const TQuadroV& atual() const { return m_atual; }

private:
    void reabreTudo();

    TContexto& m_ctx;
    TDataSet m_lista;
    TDataSetModel* m_modelo;
    TQuadroV m_atual;
    bool m_editando = false;
};

// "Quadro V": one municipality's value of one month; in include mode one row after the other.
class TUfrmManterQV : public QDialog {
    Q_OBJECT
public:
    // `linha` is the row to change; none (key 0) includes.
    TUfrmManterQV(TContexto& ctx, const TQuadroV& linha, QWidget* parent = nullptr);

    QGroupBox* gbPeriodo;
    TEdPeriod* edtPeriodo;
    QComboBox* RxDBMunicipio;
    QLineEdit* edtCodMunicipio;
    TEdValor* edtValor;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    void Salvar();
    bool salvou() const { return m_salvou; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    TContexto& m_ctx;
    TQuadroV m_linha;
    TDataSet m_municipios;
    TRegrasSaida* m_regras;
    bool m_salvou = false;
};

// The home state's municipalities, brought up to date from the delivered files.
class TfrmMunicipioZR : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMunicipioZR(TContexto& ctx, QWidget* parent = nullptr);

    QPushButton* btnImprimir;
    QPushButton* btnAtualizar;
    QPushButton* btnFechar;
    QProgressBar* pgbMuni;

    // Reads both files of the data folder, then applies them all or nothing.
    void Atualizar();
    void Imprimir();

private:
    TContexto& m_ctx;
};
