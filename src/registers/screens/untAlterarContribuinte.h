#pragma once
#include "registers/screens/untCamposContribuinte.h"

// "Alterar Contribuinte" / "Alterar Cliente-Fornecedor" for the row under the register list's cursor.
class TfrmAlterarContribuinte : public TfrmCamposContribuinte {
    Q_OBJECT
public:
    TfrmAlterarContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent = nullptr);
    void Confirma() override;
    void Fechar() override;
    // Loads the row into the fields (done when the dialog shows).
    void Carrega();
    int idAlterado() const { return m_id; }
protected:
    void showEvent(QShowEvent* e) override;
private:
    int m_id = 0;
    bool m_carregado = false;
};
