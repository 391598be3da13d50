#pragma once
#include <QDialog>
#include <memory>

#include "documents/untRegrasNotaTransporte.h"

class QAction;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTableView;
class TCampoCfop;
class TCampoParte;
class TDataSet;
class TDataSetModel;
class TEdValor;
class TEdicao;
class TQuadroNFe;
class TRegrasSaida;
struct TContexto;

// The fields and behaviours the transport entry and change screens share: freight mode, the document's
// data and values, "Cancelada", the operation code, the other party, and the cargo box, whose check box
// saves the header inside the screen's transaction so that cargo notes can hang on it. Everything written
// between "new"/"change" and "&Salvar" is one transaction: "&Cancelar", Esc or closing takes it all back.
class TfrmCamposTransporte : public QDialog {
    Q_OBJECT
public:
    TfrmCamposTransporte(TContexto& ctx, bool alteracao, QWidget* parent);
    ~TfrmCamposTransporte() override;

    QGroupBox* rdgModalidade;
    QRadioButton* rbCIF;
    QRadioButton* rbFOB;
    QGroupBox* grbDados;
    QLineEdit* edtModelo;
    QLineEdit* edtSerie;
    QLineEdit* edtSubSerie;
    QLineEdit* edtNumNtTransporte;
    QDateEdit* edtEmissao;
    TEdValor* curNTVlrTotal;
    QLineEdit* edtObservacao;
    QGroupBox* grbIcms;
    TEdValor* curNTBaseCalc;
    TEdValor* curNTValorIcms;
    TEdValor* curNTIsenta;
    TEdValor* curNTOutras;
    QCheckBox* chbSituacao;
    QGroupBox* grbCfop;
    QLineEdit* edtCodCFOP;
    QPlainTextEdit* MemoCfop;
    QGroupBox* grbTomador;
    QLineEdit* edtCnpjTomador;
    QLabel* lblNomeTomador;
    QLabel* lblUF;
    QGroupBox* grbCarga;
    QCheckBox* ckbTransportadora;
    QTableView* dbgCarga;
    QAction* mnuIncluirCarga;
    QAction* mnuAlterarCarga;
    QAction* mnuExcluirCarga;
    QAction* mnuImprimirCarga;
    QPushButton* btnCancelar;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;
    QStatusBar* stbStatus;

    virtual void Salvar() = 0;
    virtual void Cancelar() = 0;
    void clicaCancelada();
    // The cargo grid's menu, on the document whose header is saved.
    void IncluirCarga();
    void AlterarCarga();
    void ExcluirCarga();

    // The document being entered or changed (0 before its header is written).
    int notaAtual() const { return m_idNota; }
    bool transacaoAberta() const;
    int linhasDaCarga() const;

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void reject() override;

    TCamposTransporte campos() const;
    // Writes the header (insert or update) inside the transaction; false, after its message and with the
    // focus on the field at fault, when anything was refused.
    virtual bool gravaCabecalho() = 0;
    // The header is written: it is locked, the cargo grid opens, the check box is spent.
    void cabecalhoGravado();
    // The header, the values and the cargo box open (or shut) for typing.
    void habilitaCabecalho(bool sim);
    void zeraValores();
    void leCargas();
    void fechaCargas();
    // Commits the edit. A refused commit (its text shown) gives back everything the edit wrote and opens a
    // fresh transaction; the header (`regravaCabecalho`) and the cargo notes as the grid held them are then
    // written again in it, so that the user can save again or cancel without typing anything twice. Should
    // that be refused too, what it wrote is taken back and the fresh transaction holds nothing.
    enum class Confirmacao {
        Feita,      // committed
        Regravada,  // refused; the header and its cargo notes are written again in the new transaction
        Perdida,    // refused and not written again: the header is to be saved anew, its cargo notes are lost
        Adiada,     // the cargo notes could not be read first: nothing was committed nor given back
    };
    Confirmacao confirmaOuRegrava();
    // Writes the header of the last header save again (a new key on the entry screen); false when refused.
    virtual bool regravaCabecalho() = 0;
    // Makes the cargo notes of the current document exactly `cargas`: a note whose key is still the
    // document's is updated, any other is inserted anew, and the document's notes not among them deleted.
    bool regravaCargas(const QList<TNotaCarga>& cargas);
    // Model 07 bills carry no cargo box: the refusal of entering or marking it.
    bool recusaModeloDaCarga();
    void marcaCarga(bool marcado);

    QPushButton* m_btnPrimeiro;   // "&Nova Nota" or "&Alterar"
    TContexto& m_ctx;
    const bool m_alteracao;
    std::unique_ptr<TEdicao> m_edicao;
    std::unique_ptr<TCampoCfop> m_cfop;
    std::unique_ptr<TCampoParte> m_parte;
    std::unique_ptr<TQuadroNFe> m_nfe;   // the entry screen's electronic situations; none on the change screen
    std::unique_ptr<TDataSet> m_cargas;
    TDataSetModel* m_modeloCargas = nullptr;
    TRegrasSaida* m_regras = nullptr;
    int m_idNota = 0;
    int m_idTomador = 0;          // the saved header's other party: the cargo notes' taker
    bool m_cabecalhoGravado = false;
};
