#pragma once
#include "declarations/screens/untListaDeclaracoes.h"

// "Relação de ZEL Cadastradas - Regime Simples Nacional": the open taxpayer's Simples Nacional declarations;
// the date of the return file is recorded only after a file was written.
class TfrmZELSN : public TfrmListaDeclaracoes {
    Q_OBJECT
public:
    explicit TfrmZELSN(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dbgZELSN;

protected:
    void abreLista(bool crescente) override;
    QString erroDeLeitura() const override;
    void executaInclusao() override;
    void executaAlteracao(int id) override;
    bool exclui(int id, QString* mensagem) override;
    bool geraArquivo(int id, bool* semMensagem) override;
    bool relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r) override;
};
