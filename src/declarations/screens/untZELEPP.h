#pragma once
#include "declarations/screens/untListaDeclaracoes.h"

// "Relação de ZEL Cadastradas - Regime EPP": the open taxpayer's EPP declarations. The menu item decides
// which computation the list opens: the old rules or MP 37/06.
class TfrmZELEPP : public TfrmListaDeclaracoes {
    Q_OBJECT
public:
    TfrmZELEPP(TContexto& ctx, bool mp3706, QWidget* parent = nullptr);

    QTableView* dbgZELEPP;

protected:
    void abreLista(bool crescente) override;
    QString erroDeLeitura() const override;
    void executaInclusao() override;
    void executaAlteracao(int id) override;
    bool exclui(int id, QString* mensagem) override;
    bool geraArquivo(int id, bool* semMensagem) override;
    bool relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r) override;

private:
    bool m_mp3706;
};

// The two menu items' lists.
class TfrmZELEPPAntigo : public TfrmZELEPP {
    Q_OBJECT
public:
    explicit TfrmZELEPPAntigo(TContexto& ctx, QWidget* parent = nullptr) : TfrmZELEPP(ctx, false, parent) {}
};
class TfrmZELEPP3706 : public TfrmZELEPP {
    Q_OBJECT
public:
    explicit TfrmZELEPP3706(TContexto& ctx, QWidget* parent = nullptr) : TfrmZELEPP(ctx, true, parent) {}
};
