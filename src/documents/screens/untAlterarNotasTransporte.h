#pragma once
#include "documents/screens/untCamposTransporte.h"

// "Alteração de Lançamento de Notas Fiscais de Transporte": one stored document of the open taxpayer, read
// only until "&Alterar" opens a transaction; paper models only.
class TfrmAlterarNotasTransporte : public TfrmCamposTransporte {
    Q_OBJECT
public:
    TfrmAlterarNotasTransporte(TContexto& ctx, int idNota, QWidget* parent = nullptr);

    QPushButton* btnAlterar;

    void Alterar();
    void Salvar() override;
    void Cancelar() override;
    // False when the document is not the taxpayer's or could not be read.
    bool carregado() const { return m_carregado; }

protected:
    void showEvent(QShowEvent* e) override;
    bool gravaCabecalho() override;
    // After a refused commit: the update of the last header save, made again.
    bool regravaCabecalho() override;

private:
    void mostra(const TNotaTransporte& n);
    bool m_carregado = false;
    TNotaTransporte m_gravada;   // the row the header save wrote, to write it again
};
