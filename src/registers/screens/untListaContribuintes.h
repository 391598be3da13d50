#pragma once
#include <QDialog>

class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;
class TDataSet;
class TDataSetModel;
struct TRelatorio;
struct TContexto;

// The grid, buttons, pop-up menu and search panel shared by the taxpayer selection and the
// client/supplier list; each screen adds what its buttons do.
class TfrmListaContribuintes : public QDialog {
    Q_OBJECT
public:
    virtual void Selecionar() = 0;
    virtual void Fechar() = 0;
    virtual void Localizar() = 0;
    virtual void Incluir() = 0;
    virtual void Alterar() = 0;
    virtual void Excluir() = 0;
    // The list as it stands, through the preview.
    void Imprimir();

    // Puts the grid's selection where the register list's cursor is, after the list was refilled.
    void atualizaGrade();

protected:
    struct TTextos {
        QString legenda;
        QString textoStatus;
        QString legendaFechar;
        QString legendaLocalizar;
    };
    TfrmListaContribuintes(TContexto& ctx, const TTextos& textos, QWidget* parent);
    void habilitaBotoes(bool temLinhas);
    // Confirms in the "Exclusão" box and deletes the row under the cursor; true when it was deleted. The open
    // taxpayer and a party that any table names are refused, the message naming the party as `quem`.
    bool excluiComConfirmacao(const QString& pergunta, const QString& quem, const QString& tipo);
    // A row is under the register list's cursor (the change dialog needs one).
    bool temLinhaEscolhida() const;
    // The screen's report of the list.
    virtual TRelatorio relatorio(const TDataSet& lista) = 0;

    TContexto& m_ctx;
    TDataSetModel* m_modelo;
    QTableView* m_grade;
    QStatusBar* m_status;
    QLineEdit* m_edtPesquisa;
    QPushButton* m_btnSelecionar;
    QPushButton* m_btnIncluir;
    QPushButton* m_btnAlterar;
    QPushButton* m_btnExcluir;
    QPushButton* m_btnImprimir;
};
