#pragma once
#include <QDialog>
#include <memory>

class QPushButton;
class QStatusBar;
class QTableView;
class TContador;
class TDataSetModel;
struct TContexto;

// "Selecionar Contabilista": the accountant list, also the picker whose last choice becomes the
// accountant of a new taxpayer.
class TfrmContadores : public QDialog {
    Q_OBJECT
public:
    explicit TfrmContadores(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmContadores() override;

    void Selecionar();
    void Cancela();
    void Incluir();
    void Alterar();
    void Excluir();
    void Imprimir();

private:
    void recarregaGrade();
    void habilitaBotoes(bool temLinhas);

    TContexto& m_ctx;
    std::unique_ptr<TContador> m_contador;
    TDataSetModel* m_modelo = nullptr;
    QTableView* m_grade;
    QStatusBar* m_status;
    QPushButton* m_btnAlterar;
    QPushButton* m_btnExcluir;
    QPushButton* m_btnImprimir;
};
