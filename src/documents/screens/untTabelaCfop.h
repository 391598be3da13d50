#pragma once
#include <QDialog>
#include <memory>

class QProgressBar;
class QPushButton;
class QTableView;
class TDataSet;
class TDataSetModel;
struct TContexto;

// The table screens of the code lists, one per table: the list, its printing and, for the four-digit
// table, the update from the file "NovosCfop.txt" of the data folder.
class TfrmTabelaCfop : public QDialog {
    Q_OBJECT
public:
    ~TfrmTabelaCfop() override;

    void Imprimir();
    void AtualizarDados();

protected:
    TfrmTabelaCfop(TContexto& ctx, bool quatroDigitos, QWidget* parent);

private:
    TContexto& m_ctx;
    std::unique_ptr<TDataSet> m_lista;
    TDataSetModel* m_modelo = nullptr;
    QTableView* m_grade;
    QProgressBar* m_barra;
    QPushButton* m_btnAtualiza;
    bool m_quatroDigitos;
};

class TfrmCfop03 : public TfrmTabelaCfop {
    Q_OBJECT
public:
    explicit TfrmCfop03(TContexto& ctx, QWidget* parent = nullptr);
};

class TfrmCfop04 : public TfrmTabelaCfop {
    Q_OBJECT
public:
    explicit TfrmCfop04(TContexto& ctx, QWidget* parent = nullptr);
};
