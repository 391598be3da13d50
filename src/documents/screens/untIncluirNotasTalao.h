#pragma once
#include <QDialog>
#include <memory>

#include "documents/untRegrasNotaTalao.h"

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TEdValor;
class TRegrasSaida;
class TEdicao;
struct TContexto;

// The fields and the edit transaction shared by the series D entry and change screens: the run's header
// (model, series, subseries, date, first and last note) and the tax panel.
class TfrmCamposNotaTalao : public QDialog {
    Q_OBJECT
public:
    TfrmCamposNotaTalao(TContexto& ctx, bool alteracao, QWidget* parent);
    ~TfrmCamposNotaTalao() override;

    QGroupBox* grbNota;
    QLineEdit* edtModelo;
    QLineEdit* edtSerie;
    QLineEdit* edtSubSerie;
    QDateEdit* edtEmissao;
    QLineEdit* edtNInicial;
    QLineEdit* edtNFinal;
    QGroupBox* grbImpostos;
    TEdValor* curBaseIcms;
    TEdValor* curVlrIcms;
    TEdValor* curVlrIsenta;
    TEdValor* curVlrOutras;
    QLineEdit* vlrAliquota;
    TEdValor* curVlrTotal;
    QPushButton* btnCancelar;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    // Leaving the rate: the ICMS of the base at that rate, to the two decimals the field shows.
    void saiAliquota();
    TCamposTalao campos() const;
    bool transacaoAberta() const;

protected:
    void reject() override;
    void monta(const QList<QPushButton*>& botoes);
    void zeraValores();
    void mostraAliquota(const QString& texto);
    bool iniciaTransacao();
    void encerraTransacao();
    // Commits the edit; false (the engine's text shown, the screen still editing) when the commit failed.
    bool confirmaTransacao();
    // The checks of "&Salvar"; false (message shown, focus moved) when one fails.
    bool checa(TNotaTalao& nota);
    // A refused insert or update: the engine's own text when it gave one, then the screen's message.
    void informaFalhaGravacao(const QString& erro, const QString& mensagem);

    TContexto& m_ctx;
    bool m_alteracao;
    std::unique_ptr<TEdicao> m_edicao;
    TRegrasSaida* m_regras = nullptr;
};

// "Lançamento das Notas Talão": idle until "&Nova Nota" opens a transaction; each "&Salvar" that passes
// commits it and returns to idle, keeping model, series, subseries, date and rate for the next run.
class TfrmIncluirNotasTalao : public TfrmCamposNotaTalao {
    Q_OBJECT
public:
    explicit TfrmIncluirNotasTalao(TContexto& ctx, QWidget* parent = nullptr);

    QPushButton* btnNovaNota;

    void NovaNota();
    void Salvar();
    void Cancelar();
    void saiNotaFinal();
    // The key of the last run saved here (0 when none), for the list to stand on.
    int ultimaIncluida() const { return m_ultima; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ocioso();
    int m_ultima = 0;
};
