#pragma once
#include "documents/screens/untNavegacaoDocumentos.h"

class QGroupBox;
class QRadioButton;

// "Selecionar Notas Transporte": the open taxpayer's transport documents of one freight mode and period,
// their sums and the chart of the last months.
class TfrmNotasTransporte : public TfrmNavegacaoDocumentos {
    Q_OBJECT
public:
    explicit TfrmNotasTransporte(TContexto& ctx, QWidget* parent = nullptr);

    QGroupBox* rdgTipoNF;
    QRadioButton* rbCIF;
    QRadioButton* rbFOB;
    QTableView* dbgNotasTransporte;

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

private:
    QString modalidade() const;
};
