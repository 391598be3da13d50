#pragma once
#include "declarations/screens/untListaDeclaracoes.h"

// "Relação de ZEL Cadastradas - Regime Normal": the open taxpayer's normal-regime declarations; a deletion
// takes the period's programme accounts with it, all or nothing.
class TfrmZEL : public TfrmListaDeclaracoes {
    Q_OBJECT
public:
    explicit TfrmZEL(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dbgPeriodo;

protected:
    bool prepara() override;
    void abreLista(bool crescente) override;
    void executaInclusao() override;
    void executaAlteracao(int id) override;
    bool exclui(int id, QString* mensagem) override;
    bool geraArquivo(int id, bool* semMensagem) override;
    bool relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r) override;
    bool crescenteAposExcluir() const override { return true; }
    QString mensagemFalhaArquivo() const override { return QStringLiteral("Ocorreu ERRO na geração do Arquivo!"); }
};
