#include "documents/screens/untNotasTalao.h"

#include <QLabel>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "documents/screens/untAlterarNotasTalao.h"
#include "documents/screens/untIncluirNotasTalao.h"
#include "documents/untClsNotaTalao.h"

static const TDescricaoNavegacao kTalao = {
    "frmNotasTalao", "Selecionar Notas Talão", "dbgNotasTalao", "Notas Talão", "", "Im&primir", "IDNotaTalao",
    {{"DtEmissao", nullptr}, {"Modelo", nullptr}, {"Serie", nullptr}, {"SubSerie", nullptr},
     {"NumeroInicial", nullptr}, {"NumeroFinal", nullptr}, {"ValorTotal", nullptr}, {"BaseICMS", nullptr},
     {"ValorICMS", nullptr}, {"Isenta", nullptr}, {"Outras", nullptr}, {"Aliquota", nullptr}},
    {{"lblQuant", "Quant de Registros\nSelecionados"}, {"lblVendaBruta", "Venda Bruta"},
     {"lblBaseIcms", "Base de Cálculo"}, {"lblValorIcms", "Valor do ICMS"}, {"lblIsenta", "Isentas"},
     {"lblOutras", "Outras"}},
};

TfrmNotasTalao::TfrmNotasTalao(TContexto& ctx, QWidget* parent)
    : TfrmNavegacaoDocumentos(ctx, kTalao, parent), dbgNotasTalao(grade)
{
    m_tituloResumo->setText(QString::fromUtf8("Totalização das Notas Talão"));
}

bool TfrmNotasTalao::existeAlgum()
{
    return TNotasTalao(*m_ctx.dtm).ExisteAlguma(m_ctx.IdAtivo);
}

void TfrmNotasTalao::abreLista(const ConsultasNotas::TPeriodo& p)
{
    ConsultasTalao::AbreLista(m_lista, m_ctx.IdAtivo, p);
}

void TfrmNotasTalao::abreTodas()
{
    ConsultasTalao::AbreTodas(m_lista, m_ctx.IdAtivo);
}

void TfrmNotasTalao::preencheResumo(const ConsultasNotas::TPeriodo& p)
{
    const auto r = ConsultasTalao::Resumo(m_ctx.dtm->conexao(), m_ctx.IdAtivo, p);
    defineResumo("lblQuant", QString::number(r.quantidade));
    defineResumo("lblVendaBruta", r.vendaBruta.toString());
    defineResumo("lblBaseIcms", r.baseIcms.toString());
    defineResumo("lblValorIcms", r.valorIcms.toString());
    defineResumo("lblIsenta", r.isenta.toString());
    defineResumo("lblOutras", r.outras.toString());
}

QList<ConsultasNotas::TBarra> TfrmNotasTalao::barras()
{
    return ConsultasTalao::Grafico(m_ctx.dtm->conexao(), m_ctx.IdAtivo, m_ctx.relogio->hoje());
}

QString TfrmNotasTalao::tituloGrafico() const
{
    return QString::fromUtf8("Variação das Vendas com Talão");
}

int TfrmNotasTalao::executaInclusao()
{
    TfrmIncluirNotasTalao tela(m_ctx, this);
    m_ctx.dialogos->executaModal(&tela);
    return tela.ultimaIncluida();
}

void TfrmNotasTalao::executaAlteracao(int id)
{
    TfrmAlterarNotasTalao tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmNotasTalao::exclui(const QList<int>& ids, QString* erro)
{
    TNotasTalao notas(*m_ctx.dtm);
    for (const int id : ids)
        if (!notas.Excluir(id, m_ctx.IdAtivo, erro))
            return false;
    return true;
}

TRelatorio TfrmNotasTalao::relatorio(const Relatorios::TCabecalho& c)
{
    return Relatorios::NotasTalao(*m_ctx.dtm, c, m_lista);
}
