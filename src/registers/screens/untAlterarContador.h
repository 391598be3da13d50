#pragma once
#include <memory>

#include "registers/screens/untCamposContador.h"

class TContador;

// "Alterar Contabilista" for the accountant under the cursor of the list.
class TfrmAlterarContador : public TfrmCamposContador {
    Q_OBJECT
public:
    explicit TfrmAlterarContador(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmAlterarContador() override;
    void Confirma() override;
    // Loads the accountant into the fields (done when the dialog shows).
    void Carrega();
protected:
    void showEvent(QShowEvent* e) override;
private:
    std::unique_ptr<TContador> m_contador;
};
