#pragma once
#include "registers/screens/untListaContribuintes.h"

// "Selecionar Cliente /  Fornecedor": leaves the chosen row under the register list's cursor, where the
// screen that opened it reads it.
class TfrmEmpresas : public TfrmListaContribuintes {
    Q_OBJECT
public:
    explicit TfrmEmpresas(TContexto& ctx, QWidget* parent = nullptr);
    void Selecionar() override;
    void Fechar() override;
    void Localizar() override;
    void Incluir() override;
    void Alterar() override;
    void Excluir() override;

protected:
    TRelatorio relatorio(const TDataSet& lista) override;
    // Fills the list as on showing.
    void Carrega();
protected:
    void showEvent(QShowEvent* e) override;
};

// The counterparty fields of the document screens: a typed CNPJ/CPF found in the register, or else the
// selection screen; then whatever row is current in the register list is the counterparty (none when the
// list is empty or was left without a choice).
struct TParteEscolhida {
    int id = 0;
    QString cnpj;
    QString razaoSocial;
    QString uf;
};
TParteEscolhida EscolheParte(TContexto& ctx, QWidget* tela, const QString& cnpjDigitado);
