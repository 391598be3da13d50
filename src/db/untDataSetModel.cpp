#include "db/untDataSetModel.h"

#include "core/untDatas.h"
#include "core/untMoney.h"
#include "db/untSqlite.h"

TDataSetModel::TDataSetModel(TDataSet& dados, QList<TColuna> colunas, QObject* parent)
    : QAbstractTableModel(parent), m_dados(dados), m_colunas(std::move(colunas))
{
}

void TDataSetModel::recarrega()
{
    beginResetModel();
    try {
        m_dados.open();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void TDataSetModel::reinicia()
{
    beginResetModel();
    endResetModel();
}

int TDataSetModel::linhaDoCursor() const { return m_dados.recNo(); }
void TDataSetModel::moveCursor(int linha) { m_dados.setRecNo(linha); }

int TDataSetModel::indiceCampo(int coluna) const
{
    if (m_colunas.isEmpty())
        return coluna;
    return coluna < m_colunas.size() ? m_dados.fieldIndex(m_colunas[coluna].campo) : -1;
}

QString TDataSetModel::formata(const QVariant& valor, const QString& tipo)
{
    if (valor.isNull())
        return {};
    const QString t = tipo.toLower();
    if (t == QLatin1String("money"))
        return Money::fromRaw(valor.toLongLong()).toString();
    if (t == QLatin1String("date"))
        return Datas::formata(Datas::doBanco(valor.toString()));
    return valor.toString();
}

int TDataSetModel::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : m_dados.recordCount();
}

int TDataSetModel::columnCount(const QModelIndex& pai) const
{
    if (pai.isValid())
        return 0;
    return m_colunas.isEmpty() ? m_dados.fieldCount() : int(m_colunas.size());
}

void TDataSetModel::defineFormato(const QString& campo, std::function<QString(const QVariant&)> formato)
{
    m_formatos.insert(campo.toLower(), std::move(formato));
}

QVariant TDataSetModel::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid())
        return {};
    const int campo = indiceCampo(indice.column());
    if (campo < 0)
        return {};
    const QVariant valor = m_dados.value(indice.row(), campo);
    if (papel == Qt::DisplayRole) {
        if (!m_formatos.isEmpty()) {
            const auto f = m_formatos.constFind(m_dados.fieldNames().value(campo).toLower());
            if (f != m_formatos.constEnd())
                return (*f)(valor);
        }
        return formata(valor, m_dados.declaredType(campo));
    }
    if (papel == Qt::EditRole)
        return valor;
    if (papel == Qt::TextAlignmentRole && m_dados.declaredType(campo).compare(QLatin1String("money"), Qt::CaseInsensitive) == 0)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TDataSetModel::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole)
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    if (!m_colunas.isEmpty())
        return secao < m_colunas.size() ? m_colunas[secao].titulo : QVariant();
    return m_dados.fieldNames().value(secao);
}
