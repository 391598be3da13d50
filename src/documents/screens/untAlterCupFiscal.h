#pragma once
#include "documents/screens/untCamposCupom.h"

// "Alteração do ECF - Redução Z": one stored summary of the open taxpayer, read-only until "&Alterar" opens
// a transaction. Serial number and date stay as stored; there is no duplicate test.
class TfrmAlteraCupom : public TfrmCamposCupom {
    Q_OBJECT
public:
    TfrmAlteraCupom(TContexto& ctx, int idCupom, QWidget* parent = nullptr);

    QPushButton* btnAlterar;

    void Alterar();
    void Salvar() override;
    void Cancelar() override;
    // False when the summary is not the taxpayer's or could not be read (the screen then shows nothing).
    bool carregado() const { return m_carregado; }

protected:
    void showEvent(QShowEvent* e) override;
    bool gravaCabecalho(TCupomFiscal& c, bool* ficaNoCampo) override;
    bool regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas) override;

private:
    bool m_carregado = false;
};
