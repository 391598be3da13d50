#pragma once
#include "documents/screens/untCamposTransporte.h"

// "Lançamento de Notas Fiscais de Transporte": idle until "&Nova Nota" opens a transaction; the header is
// written when the cargo box is marked (or on "&Salvar"), the cargo notes follow, and "&Salvar" commits.
class TfrmIncluirNotasTransporte : public TfrmCamposTransporte {
    Q_OBJECT
public:
    explicit TfrmIncluirNotasTransporte(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmIncluirNotasTransporte() override;

    QPushButton* btnNovaNota;
    QGroupBox* rgSituacaoNF;
    QRadioButton* rbDenegado;
    QRadioButton* rbInutilizado;
    QGroupBox* grbFaixa;
    QLineEdit* edtInicioInutilizado;
    QLineEdit* edtFinalInutilizado;

    void NovaNota();
    void Salvar() override;
    void Cancelar() override;
    // The last document saved here (0 when none): the key its insert returned, for the list to stand on.
    int ultimaIncluida() const { return m_ultima; }

protected:
    void showEvent(QShowEvent* e) override;
    bool gravaCabecalho() override;
    // After a refused commit: the header rows of the last save, written again under a new key.
    bool regravaCabecalho() override;

private:
    void ocioso();
    int m_ultima = 0;
    QString m_mensagemFinal;
    TChecagemTransporte m_checagem;   // what the header save wrote, to write it again
};
