#include "documents/screens/untNotasTransporte.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "documents/screens/untAlterarNotasTransporte.h"
#include "documents/screens/untIncluirNotasTransporte.h"
#include "documents/untClsNotaTransporte.h"

static const TDescricaoNavegacao kTransporte = {
    "frmNotasTransporte", "Selecionar Notas Transporte", "dbgNotasTransporte", "Notas Fiscais", "", "&Imprimir",
    "IDNFTransporte",
    {{"DtEmissao", "Emissão"}, {"Modelo", nullptr}, {"Serie", nullptr}, {"SubSerie", "Sub"}, {"Numero", nullptr},
     {"Cfop", nullptr}, {"ValorTotal", nullptr}, {"BaseCalcIcms", nullptr}, {"ValorIcms", nullptr},
     {"Isenta", nullptr}, {"Outras", nullptr}, {"Modalidade", nullptr}, {"Situacao", nullptr}, {"Obs", nullptr}},
    {{"lblQuant", "Quant de Registros\nSelecionados"}, {"lblValorTotal", "Valor Total das Notas"},
     {"lblBaseIcms", "Base de Cálculo"}, {"lblValorIcms", "Valor do ICMS"}, {"lblIsenta", "Isentas"},
     {"lblOutras", "Outras"}},
};

TfrmNotasTransporte::TfrmNotasTransporte(TContexto& ctx, QWidget* parent)
    : TfrmNavegacaoDocumentos(ctx, kTransporte, parent), dbgNotasTransporte(grade)
{
    rdgTipoNF = new QGroupBox(QStringLiteral("Modalidade"), this);
    rdgTipoNF->setObjectName(QStringLiteral("rdgTipoNF"));
    rbCIF = new QRadioButton(QStringLiteral("CIF (pago)"), rdgTipoNF);
    rbCIF->setObjectName(QStringLiteral("rbCIF"));
    rbFOB = new QRadioButton(QStringLiteral("FOB (a pagar)"), rdgTipoNF);
    rbFOB->setObjectName(QStringLiteral("rbFOB"));
    rbCIF->setChecked(true);
    auto* l = new QHBoxLayout(rdgTipoNF);
    l->addWidget(rbCIF);
    l->addWidget(rbFOB);
    l->addStretch();
    m_topo->insertWidget(0, rdgTipoNF);
    m_tituloResumo->setText(QString::fromUtf8("Totalização das Notas Transporte - CIF"));
}

QString TfrmNotasTransporte::modalidade() const
{
    return rbCIF->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
}

bool TfrmNotasTransporte::existeAlgum()
{
    return ConsultasTransporte::ExisteAlguma(m_ctx.dtm->conexao(), m_ctx.IdAtivo);
}

void TfrmNotasTransporte::abreLista(const ConsultasNotas::TPeriodo& p)
{
    ConsultasTransporte::AbreLista(m_lista, m_ctx.IdAtivo, modalidade(), p);
}

void TfrmNotasTransporte::abreTodas()
{
    ConsultasTransporte::AbreTodas(m_lista, m_ctx.IdAtivo);
}

void TfrmNotasTransporte::preencheResumo(const ConsultasNotas::TPeriodo& p)
{
    m_tituloResumo->setText(QString::fromUtf8("Totalização das Notas Transporte - ") +
                            (rbCIF->isChecked() ? QStringLiteral("CIF") : QStringLiteral("FOB")));
    const auto r = ConsultasTransporte::Resumo(m_ctx.dtm->conexao(), m_ctx.IdAtivo, modalidade(), p);
    defineResumo("lblQuant", QString::number(r.quantidade));
    defineResumo("lblValorTotal", r.valorTotal.toString());
    defineResumo("lblBaseIcms", r.baseIcms.toString());
    defineResumo("lblValorIcms", r.valorIcms.toString());
    defineResumo("lblIsenta", r.isenta.toString());
    defineResumo("lblOutras", r.outras.toString());
}

QList<ConsultasNotas::TBarra> TfrmNotasTransporte::barras()
{
    return ConsultasTransporte::Grafico(m_ctx.dtm->conexao(), m_ctx.IdAtivo, m_ctx.relogio->hoje());
}

QString TfrmNotasTransporte::tituloGrafico() const
{
    return QString::fromUtf8("Valores Totais p/ mês");
}

int TfrmNotasTransporte::executaInclusao()
{
    TfrmIncluirNotasTransporte tela(m_ctx, this);
    m_ctx.dialogos->executaModal(&tela);
    return tela.ultimaIncluida();
}

void TfrmNotasTransporte::executaAlteracao(int id)
{
    TfrmAlterarNotasTransporte tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmNotasTransporte::exclui(const QList<int>& ids, QString* erro)
{
    return TNotasTransporte(*m_ctx.dtm).Excluir(ids, erro);
}

TRelatorio TfrmNotasTransporte::relatorio(const Relatorios::TCabecalho& c)
{
    return Relatorios::NotasTransporte(*m_ctx.dtm, c, m_lista, modalidade());
}
