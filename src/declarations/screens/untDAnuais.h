#pragma once
#include "declarations/screens/untListaDeclaracoes.h"

// "Relação de Dados Anuais Cadastrados": the open taxpayer's annual data, newest year first, and the
// annual-data file of the selected year.
class TfrmDAnuais : public TfrmListaDeclaracoes {
    Q_OBJECT
public:
    explicit TfrmDAnuais(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dgbDadosAnuais;

protected:
    void abreLista(bool crescente) override;
    void executaInclusao() override;
    void executaAlteracao(int id) override;
    bool exclui(int id, QString* mensagem) override;
    bool geraArquivo(int id, bool* semMensagem) override;
    bool relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r) override;
    QString mensagemExcluido() const override { return QString::fromUtf8("Excluído com Sucesso!"); }
    bool reabilitaGerar() const override { return false; }
};
