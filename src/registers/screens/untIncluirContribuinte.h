#pragma once
#include "registers/screens/untCamposContribuinte.h"

// "Incluir Contribuinte" (from the taxpayer selection) or "Incluir Cliente-Fornecedor" (from the
// client/supplier list); stays open after each save for the next entry.
class TfrmIncluirContribuinte : public TfrmCamposContribuinte {
    Q_OBJECT
public:
    TfrmIncluirContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent = nullptr);
    void Confirma() override;
    void Fechar() override;
    // The fields as on showing, focus on the number.
    void Limpa();
protected:
    void showEvent(QShowEvent* e) override;
};
