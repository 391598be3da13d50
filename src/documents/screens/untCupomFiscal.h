#pragma once
#include "documents/screens/untNavegacaoDocumentos.h"

class QTableWidget;

// "Selecionar Cupom Fiscal": the open taxpayer's daily summaries of one period, their totalizers, the tax per
// rate and the chart of the last months' gross sales.
class TfrmCupomFiscal : public TfrmNavegacaoDocumentos {
    Q_OBJECT
public:
    explicit TfrmCupomFiscal(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dbgCupom;
    QTableWidget* dbgAliquotas;   // "Tributados": rate and ICMS

protected:
    bool existeAlgum() override;
    void abreLista(const ConsultasNotas::TPeriodo& p) override;
    void abreTodas() override;
    void preencheResumo(const ConsultasNotas::TPeriodo& p) override;
    QList<ConsultasNotas::TBarra> barras() override;
    QString tituloGrafico() const override;
    int executaInclusao() override;
    void executaAlteracao(int id) override;
    TRelatorio relatorio(const Relatorios::TCabecalho& c) override;
    bool exclui(const QList<int>& ids, QString* erro) override;
};
