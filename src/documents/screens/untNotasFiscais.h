#pragma once
#include <QDialog>

#include "documents/untConsultasNotas.h"

class QComboBox;
class TFiltroPeriodo;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class TDataSetModel;
struct TContexto;
namespace QtCharts {}
class QChartView;

// "Selecionar Notas Fiscais": the open taxpayer's invoices of one kind and period, their sums and the
// chart of the last months.
class TfrmNotasFiscais : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNotasFiscais(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmNotasFiscais() override;

    QRadioButton* rbEntrada;
    QRadioButton* rbSaida;
    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QTabWidget* PageControl;
    QTableView* dbgNotas;
    QChartView* grafico;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnImportarXML;

    void Pesquisar();
    void Incluir();
    void Alterar();
    void Excluir();
    void Imprimir();
    // Electronic invoices from XML files (or zip archives of them), or from every such file of a folder.
    void ImportarXML();
    void ImportarPastaXML();
    bool saiMes();
    bool saiAno();
    // The texts of the "Resumo" page by object name, for whoever reads them.
    QString textoResumo(const char* nome) const;
    int barrasDoGrafico() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    TFiltroPeriodo* m_periodo = nullptr;
    QString tipo() const;
    void montaGrafico();
    void preencheResumo(const ConsultasNotas::TResumo& r);
    void reabreLista(int idNota = 0);
    void habilita(bool sim);
    void importa(const QStringList& caminhos);

    TContexto& m_ctx;
    TDataSetModel* m_modelo;
    QLabel* m_tituloResumo;
    QStatusBar* m_status;
    int m_barras = 0;
};
