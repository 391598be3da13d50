#pragma once
#include <QDialog>

#include "db/untSqlite.h"
#include "documents/untClsNotaTalao.h"

class QChartView;
class QComboBox;
class TFiltroPeriodo;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class TDataSetModel;
struct TContexto;

// "Selecionar Notas Talão": the open taxpayer's series D runs of one period, their sums and the chart of
// the last months.
class TfrmNotasTalao : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNotasTalao(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmNotasTalao() override;

    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QTabWidget* PageControl;
    QTableView* dbgNotasTalao;
    QChartView* grafico;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnFechar;

    void Pesquisar();
    void Incluir();
    void Alterar();
    void Excluir();
    void Imprimir();
    bool saiMes();
    bool saiAno();
    // The texts of the "Resumo" page by object name, for whoever reads them.
    QString textoResumo(const char* nome) const;
    int barrasDoGrafico() const { return m_barras; }
    TDataSet& lista() { return m_lista; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    TFiltroPeriodo* m_periodo = nullptr;
    void montaGrafico();
    void reabreLista(int idNotaTalao);
    void habilita(bool sim);
    int selecionada() const;

    TContexto& m_ctx;
    TDataSet m_lista;
    TDataSetModel* m_modelo;
    QStatusBar* m_status;
    int m_barras = 0;
};
