#pragma once
#include "documents/screens/untCamposCupom.h"

// "Lançamentos do ECF - Redução Z": idle until "&Novo" opens a transaction; leaving "Venda Bruta" writes the
// header inside it, the rate lines follow, and "&Salvar" commits once the day balances. The next summary of
// the same equipment starts from this one's grand total.
class TfrmIncluirCupomFiscal : public TfrmCamposCupom {
    Q_OBJECT
public:
    explicit TfrmIncluirCupomFiscal(TContexto& ctx, QWidget* parent = nullptr);

    QPushButton* btnNovo;

    void Novo();
    void Salvar() override;
    void Cancelar() override;

    // The last summary saved here (0 when none): the key the insert returned, for the list to stand on.
    int ultimoIncluido() const { return m_ultimo; }

protected:
    void showEvent(QShowEvent* e) override;
    bool gravaCabecalho(TCupomFiscal& c, bool* ficaNoCampo) override;
    bool regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas) override;

private:
    void ocioso();
    int m_ultimo = 0;
};
