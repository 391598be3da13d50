#pragma once
#include "documents/screens/untIncluirNotasTalao.h"

// "Alteração das Notas Talão" for one stored run of the open taxpayer: read-only until "&Alterar"; a save
// that commits closes it, "&Cancelar" takes the edit back and shows the stored row again.
class TfrmAlterarNotasTalao : public TfrmCamposNotaTalao {
    Q_OBJECT
public:
    TfrmAlterarNotasTalao(TContexto& ctx, int idNotaTalao, QWidget* parent = nullptr);

    QPushButton* btnAlterar;
    int idNotaTalao() const { return m_id; }

    bool Carrega();
    void Alterar();
    void Salvar();
    void Cancelar();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void editando(bool sim);
    int m_id;
};
