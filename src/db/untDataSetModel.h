#pragma once
#include <QHash>
#include <functional>
#include <QAbstractTableModel>
#include <QList>
#include <QString>

class TDataSet;

// Shows a dataset in a grid: the columns asked for (all the query's fields when none are), with money as
// two decimals, dates as dd/mm/yyyy and CNPJ/CPF through their masks. A column given no title of its own is
// titled from one table of readable names, so no grid shows a raw column name. The grid's current row and the dataset's cursor are kept together
// by the screen through linhaDoCursor() and moveCursor().
class TDataSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct TColuna {
        QString campo;
        QString titulo; // empty: the readable title of the field
    };

    explicit TDataSetModel(TDataSet& dados, QList<TColuna> colunas = {}, QObject* parent = nullptr);

    // Runs the dataset's query again and tells the grid.
    void recarrega();
    // Tells the grid that the dataset was reopened elsewhere.
    void reinicia();

    int linhaDoCursor() const;
    void moveCursor(int linha);
    // The text shown for a value of a column whose declared type is `tipo`.
    static QString formata(const QVariant& valor, const QString& tipo);
    // The readable title of a stored column ("DtEmissao" as "Emissão"); a name the table lacks as it is.
    static QString tituloDoCampo(const QString& campo);
    // A column shown through its own mask (a period "2006/05", say) instead of its type's format.
    void defineFormato(const QString& campo, std::function<QString(const QVariant&)> formato);

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

private:
    int indiceCampo(int coluna) const;

    TDataSet& m_dados;
    QList<TColuna> m_colunas;
    QHash<QString, std::function<QString(const QVariant&)>> m_formatos;
};
