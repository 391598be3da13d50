#pragma once
#include "documents/screens/untNavegacaoDocumentos.h"

// "Selecionar Notas Talão": the open taxpayer's series D runs of one period, their sums and the chart of
// the last months.
class TfrmNotasTalao : public TfrmNavegacaoDocumentos {
    Q_OBJECT
public:
    explicit TfrmNotasTalao(TContexto& ctx, QWidget* parent = nullptr);

    QTableView* dbgNotasTalao;

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
