#pragma once
#include <QDialog>

#include "db/untSqlite.h"

class QPushButton;
class QStatusBar;
class QTableView;
class TDataSetModel;
struct TContexto;

// "Relação de ZEL Cadastradas - Regime Normal": the open taxpayer's normal-regime declarations, newest
// first, with their inclusion, change, deletion (with the period's programme accounts, all or nothing) and
// the return file of the selected one.
class TfrmZEL : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZEL(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dbgPeriodo;
    QPushButton* btnIncluir;
    QPushButton* btnAlterar;
    QPushButton* btnExcluir;
    QPushButton* btnImprimir;
    QPushButton* btnGerarArquivo;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    void Incluir();
    void Alterar();
    void Excluir();
    void Imprimir();
    void GerarArquivo();
    TDataSet& lista() { return m_lista; }
    // The upgrade of the table could not run: the list closes as it opens.
    bool falhou() const { return m_falhou; }

protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

private:
    void ativa(bool crescente = false);
    int selecionada() const;

    TContexto& m_ctx;
    TDataSet m_lista;
    TDataSetModel* m_modelo;
    bool m_falhou = false;
};
