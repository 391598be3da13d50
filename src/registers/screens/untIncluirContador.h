#pragma once
#include "registers/screens/untCamposContador.h"

// "Incluir Contabilista": stays open after each save for the next entry.
class TfrmIncluirContador : public TfrmCamposContador {
    Q_OBJECT
public:
    explicit TfrmIncluirContador(TContexto& ctx, QWidget* parent = nullptr);
    void Confirma() override;
    // The fields as on showing: number empty, CRC preset, telephone preset, focus on the number.
    void Limpa();
protected:
    void showEvent(QShowEvent* e) override;
};
