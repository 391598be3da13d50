#include "db/untDataSetModel.h"

#include "core/untDatas.h"
#include "core/untMascaras.h"
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

namespace {
struct TTitulo {
    const char* campo;
    const char* titulo;
};
// The stored columns the grids show, by the name the tables give them.
const TTitulo kTitulos[] = {
    {"DtEmissao", "Emissão"},
    {"DtGeracao", "Geração"},
    {"DtInclusao", "Inclusão"},
    {"DtAlteracao", "Alteração"},
    {"DtUltAlteracao", "Última Alteração"},
    {"TipoNota", "Tipo"},
    {"Tipo", "Tipo"},
    {"Cfop", "CFOP"},
    {"CF_Codigo", "Código"},
    {"CF_Descricao", "Descrição"},
    {"Modelo", "Modelo"},
    {"ModeloNF", "Modelo"},
    {"Serie", "Série"},
    {"SerieNF", "Série"},
    {"SubSerie", "Subsérie"},
    {"SubSerieNF", "Subsérie"},
    {"Numero", "Número"},
    {"NumeroNF", "Número"},
    {"NumNF", "Número"},
    {"NumeroInicial", "Número Inicial"},
    {"NumeroFinal", "Número Final"},
    {"ValorTotal", "Valor Total"},
    {"ValorTotalNota", "Valor Total"},
    {"ValorNF", "Valor"},
    {"BaseICMS", "Base de Cálculo ICMS"},
    {"BaseCalcIcms", "Base de Cálculo ICMS"},
    {"ValorICMS", "Valor ICMS"},
    {"VlrIcms", "Valor ICMS"},
    {"Isenta", "Isentas"},
    {"Outras", "Outras"},
    {"Aliquota", "Alíquota"},
    {"ValorAcumulado", "Valor Acumulado"},
    {"Modalidade", "Modalidade"},
    {"Situacao", "Situação"},
    {"Obs", "Observação"},
    {"GTInicioDia", "GT Inicial"},
    {"GTFimDia", "GT Final"},
    {"VendaBruta", "Venda Bruta"},
    {"NumSerie", "Nº Série"},
    {"NumEquip", "Nº Equipamento"},
    {"COOInicial", "COO Inicial"},
    {"COOFinal", "COO Final"},
    {"Periodo", "Período"},
    {"PeriodoZel", "Período"},
    {"RazaoSocial", "Razão Social"},
    {"Ccicms", "Inscrição"},
    {"Municipio", "Município"},
    {"CodMunicipio", "Código"},
};

// The columns that hold a CNPJ or a CPF as digits.
bool ehCnpjCpf(const QString& campo)
{
    return campo.compare(QLatin1String("CNPJ"), Qt::CaseInsensitive) == 0
           || campo.compare(QLatin1String("CPF"), Qt::CaseInsensitive) == 0;
}
} // namespace

QString TDataSetModel::tituloDoCampo(const QString& campo)
{
    for (const TTitulo& t : kTitulos)
        if (campo.compare(QLatin1String(t.campo), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(t.titulo);
    return campo;
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
        if (ehCnpjCpf(m_dados.fieldNames().value(campo)))
            return Mascaras::CnpjCpf(valor.toString());
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
    if (!m_colunas.isEmpty()) {
        if (secao >= m_colunas.size())
            return {};
        const TColuna& c = m_colunas[secao];
        return c.titulo.isEmpty() ? tituloDoCampo(c.campo) : c.titulo;
    }
    return tituloDoCampo(m_dados.fieldNames().value(secao));
}
