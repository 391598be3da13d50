#pragma once
#include <QDialog>

class QTableView;
class TDataSetModel;
struct TContexto;

// "CFOP": the picker of a fiscal code. The caller opens the shared code list (ADODataSetCFOP) with the filter
// of its screen, shows this one, and takes the row under the list's cursor once it closes.
class TfrmCFOP : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCFOP(TContexto& ctx, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* evento) override;

private:
    TContexto& m_ctx;
    TDataSetModel* m_modelo;
    QTableView* m_grade;
};
