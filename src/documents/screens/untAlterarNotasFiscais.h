#pragma once
#include "documents/screens/untCamposNotaFiscal.h"

// "Alteração de Notas Fiscais" for one stored invoice of the open taxpayer: read-only until "&Alterar".
class TfrmAlterarNotasFiscais : public TfrmCamposNotaFiscal {
    Q_OBJECT
public:
    TfrmAlterarNotasFiscais(TContexto& ctx, int idNota, QWidget* parent = nullptr);

    QPushButton* btnAlterar;
    int idNota() const { return m_nota.IdNotaFiscal; }

    void Carrega();
    void Alterar();
    void Salvar();
    void Cancelar();

protected:
    void showEvent(QShowEvent* e) override;
    void aplicaSubstituicao(bool admite) override;

private:
    void habilitaCampos(bool sim);
    TNotaFiscal m_nota;
    bool m_carregado = false;
};
