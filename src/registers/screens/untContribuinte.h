#pragma once
#include "registers/screens/untListaContribuintes.h"

// "Selecionar Contribuinte": opening a taxpayer starts every piece of work.
class TfrmContribuintes : public TfrmListaContribuintes {
    Q_OBJECT
public:
    explicit TfrmContribuintes(TContexto& ctx, QWidget* parent = nullptr);
    void Selecionar() override;
    void Fechar() override;
    void Localizar() override;
    void Incluir() override;
    void Alterar() override;
    void Excluir() override;

protected:
    TRelatorio relatorio(const TDataSet& lista) override;
    void done(int resultado) override;
};
