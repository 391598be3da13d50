#pragma once
#include <QDialog>
#include <QList>
#include <utility>

#include "db/untSqlite.h"
#include "documents/untConsultasNotas.h"
#include "reports/untRelatorios.h"

class QChartView;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableView;
class QVBoxLayout;
class TDataSetModel;
class TFiltroPeriodo;
struct TContexto;

// What a document browse screen is made of: its names, its list's columns and its "Resumo" lines.
struct TDescricaoNavegacao {
    const char* objeto;           // the screen's object name
    const char* titulo;           // the caption
    const char* grade;            // the grid's object name
    const char* pagina;           // the grid page's tab
    const char* dicaGrade;        // the grid's hint
    const char* menuImprimir;     // the grid menu's print entry
    const char* chave;            // the key column of the list
    QList<std::pair<const char*, const char*>> colunas;   // field, header
    QList<std::pair<const char*, const char*>> resumo;    // label object name, caption
};

// The browse screen of one kind of document of the open taxpayer: the period filter, "Pesquisar", the list,
// the "Resumo" and "Gráfico" pages, the buttons and the grid's menu. The kinds give their queries and their
// entry and change screens.
class TfrmNavegacaoDocumentos : public QDialog {
    Q_OBJECT
public:
    TfrmNavegacaoDocumentos(TContexto& ctx, const TDescricaoNavegacao& d, QWidget* parent);
    ~TfrmNavegacaoDocumentos() override;

    QComboBox* cmbMes;
    QComboBox* cmbAno;
    QTabWidget* PageControl;
    QTableView* grade;
    QChartView* grafico;
    QPushButton* btnPesquisar;
    QPushButton* btnIncluir;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnFechar;

    void Pesquisar();
    void Incluir();
    void Alterar();
    virtual void Excluir();
    void Imprimir();
    bool saiMes();
    bool saiAno();
    // The texts of the "Resumo" page by object name, for whoever reads them.
    QString textoResumo(const char* nome) const;
    int barrasDoGrafico() const { return m_barras; }
    TDataSet& lista() { return m_lista; }

protected:
    void showEvent(QShowEvent* e) override;

    // The kind's queries: any of them may raise EBancoDados.
    virtual bool existeAlgum() = 0;
    virtual void abreLista(const ConsultasNotas::TPeriodo& p) = 0;
    virtual void abreTodas() = 0;
    virtual void preencheResumo(const ConsultasNotas::TPeriodo& p) = 0;
    virtual QList<ConsultasNotas::TBarra> barras() = 0;
    virtual QString tituloGrafico() const = 0;
    // The entry screen, run modally; returns the key of the last document it saved (0 for none).
    virtual int executaInclusao() = 0;
    virtual void executaAlteracao(int id) = 0;
    // The kind's report of the list just searched.
    virtual TRelatorio relatorio(const Relatorios::TCabecalho& c) = 0;
    // Deletes the keys in one transaction; false with the engine's text.
    virtual bool exclui(const QList<int>& ids, QString* erro) = 0;

    ConsultasNotas::TPeriodo periodo() const;
    void defineResumo(const char* nome, const QString& texto);
    void reabreLista(int id);
    int selecionada() const;
    void habilita(bool sim);
    void montaGrafico();

    TContexto& m_ctx;
    TDataSet m_lista;
    TDataSetModel* m_modelo;
    QStatusBar* m_status;
    QHBoxLayout* m_topo;          // the period filter; a kind adds its own filter here
    QVBoxLayout* m_paginaResumo;  // the "Resumo" page; a kind adds its own parts here
    QLabel* m_tituloResumo;
    QString m_chave;

private:
    TFiltroPeriodo* m_periodo = nullptr;
    int m_barras = 0;
};
