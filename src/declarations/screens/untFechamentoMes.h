#pragma once
#include <QDialog>
#include <QList>

#include "output/untEstadoMes.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QStatusBar;
class QTableView;
class TEdPeriod;
struct TContexto;

// "Fechamento do Mês": every taxpayer of the register in one period, with the state its month reached; a
// double click opens the taxpayer as "&Abrir" does, "Gerar arquivos" writes the return file of every ready one
// into a folder, "&Imprimir" shows the list in the preview. It needs no open taxpayer.
class TfrmFechamentoMes : public QDialog {
    Q_OBJECT
public:
    TfrmFechamentoMes(TContexto& ctx, QWidget* parent = nullptr);

    // The grid's columns.
    enum Coluna {
        ColInscricao, ColRazao, ColEntradas, ColSaidas, ColTransporte, ColSerieD, ColEcf, ColDeclaracao, ColGeracao,
        ColEntrega, ColRecibo, ColSituacao, ColObservacao, NumColunas
    };

    TEdPeriod* edtPeriodo;
    QLineEdit* edtPasta;
    QPushButton* btnPasta;
    QPushButton* btnAtualizar;
    QComboBox* cmbSituacao;
    QTableView* dbgFechamento;
    QPushButton* btnGerar;
    QPushButton* btnImprimir;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    void Atualizar();
    void EscolherPasta();
    void GerarArquivos();
    void Imprimir();
    // The taxpayer of the grid's row (as shown, sorted and filtered) becomes the open one.
    void AbrirContribuinte(int linhaDaGrade);

    const QList<Fechamento::TLinha>& linhas() const { return m_linhas; }
    // The period shown, "yyyymm"; empty until a period was read.
    const QString& periodo() const { return m_periodo; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void preencheGrade();
    void filtra();
    QList<Fechamento::TLinha> linhasVisiveis() const;

    TContexto& m_ctx;
    QStandardItemModel* m_modelo;
    QSortFilterProxyModel* m_filtro;
    QList<Fechamento::TLinha> m_linhas;
    QString m_periodo;
};
