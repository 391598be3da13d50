#pragma once
#include "documents/screens/untCamposNotaFiscal.h"

class TQuadroNFe;

// "Lançamento de Notas Fiscais": idle until "&Nova Nota" opens a transaction; each "&Salvar" that passes
// commits it and returns to idle.
class TfrmIncluirNotasFiscais : public TfrmCamposNotaFiscal {
    Q_OBJECT
public:
    explicit TfrmIncluirNotasFiscais(TContexto& ctx, QWidget* parent = nullptr);
    ~TfrmIncluirNotasFiscais() override;

    QGroupBox* rgSituacaoNF;
    QRadioButton* rbDenegado;
    QRadioButton* rbInutilizado;
    QGroupBox* grbFaixa;
    QLineEdit* edtInicioInutilizado;
    QLineEdit* edtFinalInutilizado;
    QPushButton* btnNovaNota;

    void NovaNota();
    void Salvar();
    void Cancelar();
    void mudaTipo();
    void clicaCancelada();
    bool saiInicioFaixa();
    bool saiFinalFaixa();

protected:
    void showEvent(QShowEvent* e) override;
    void aplicaSubstituicao(bool admite) override;

private:
    void ocioso(bool limpaSerie = true);
    void editando(bool sim);
    SituacaoNFe situacaoNFe() const;
    void limpaSituacaoNFe();
    bool m_subSerieBloqueada = false;
    std::unique_ptr<TQuadroNFe> m_nfe;
};
