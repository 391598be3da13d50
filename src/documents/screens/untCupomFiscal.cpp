#include "documents/screens/untCupomFiscal.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "documents/screens/untAlterCupFiscal.h"
#include "documents/screens/untIncluirCupomFiscal.h"
#include "documents/untClsCupomFiscal.h"
#include "core/DialogsNew.h"
#include "db/untDataSetModel.h"

static const TDescricaoNavegacao kCupom = {
    "frmCupomFiscal", "Selecionar Cupom Fiscal", "dbgCupom", "Cupom Fiscal", "Clique com o Botão Direito\nPara Inserir Dados",
    "&Relatório ECF", "IDCupomFiscal",
    {{"DtEmissao", nullptr}, {"GTInicioDia", nullptr}, {"GTFimDia", nullptr}, {"VendaBruta", nullptr},
     {"NumSerie", nullptr}, {"NumEquip", nullptr}, {"Modelo", nullptr}, {"COOInicial", nullptr},
     {"COOFinal", nullptr}, {"CRZ", nullptr}, {"CRO", nullptr}},
    {{"lblQuant", "Quant de Registros\nSelecionados"}, {"lblVendaBruta", "Venda Bruta"},
     {"lblT_ISS", "ISS"}, {"lblT_CANC", "CANC - Cancelamentos"}, {"lblT_DESC", "DESC - Descontos"}},
};

TfrmCupomFiscal::TfrmCupomFiscal(TContexto& ctx, QWidget* parent)
    : TfrmNavegacaoDocumentos(ctx, kCupom, parent), dbgCupom(grade)
{
    m_tituloResumo->setText(QString::fromUtf8("Totalização dos Cupons Fiscais"));
    auto* naoTributados = new QGroupBox(QString::fromUtf8("Não Tributados"), m_tituloResumo->parentWidget());
    naoTributados->setObjectName(QStringLiteral("grbNaoTributados"));
    {
        auto* form = new QFormLayout(naoTributados);
        for (auto [nome, legenda] : {std::pair{"lblT_F", "F - Substituição\n     Tributária"},
                                     std::pair{"lblT_I", "I - Isenção"}, std::pair{"lblT_N", "N - Não Incidência"}}) {
            auto* valor = new QLabel(naoTributados);
            valor->setObjectName(QString::fromLatin1(nome));
            valor->setAlignment(Qt::AlignRight);
            valor->setMinimumWidth(140);
            form->addRow(QString::fromUtf8(legenda), valor);
        }
    }
    m_paginaResumo->insertWidget(m_paginaResumo->count() - 1, naoTributados);
    auto* tributados = new QGroupBox(QStringLiteral("Tributados"), m_tituloResumo->parentWidget());
    tributados->setObjectName(QStringLiteral("grbTributados"));
    dbgAliquotas = new QTableWidget(0, 2, tributados);
    dbgAliquotas->setObjectName(QStringLiteral("dbgAliquotas"));
    dbgAliquotas->setHorizontalHeaderLabels(
        {TDataSetModel::tituloDoCampo(QStringLiteral("Aliquota")), TDataSetModel::tituloDoCampo(QStringLiteral("VlrIcms"))});
    dbgAliquotas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgAliquotas->verticalHeader()->setVisible(false);
    auto* total = new QLabel(tributados);
    total->setObjectName(QStringLiteral("lblTotalTributados"));
    total->setAlignment(Qt::AlignRight);
    auto* l = new QVBoxLayout(tributados);
    l->addWidget(dbgAliquotas);
    l->addWidget(total);
    m_paginaResumo->insertWidget(m_paginaResumo->count() - 1, tributados);
}

bool TfrmCupomFiscal::existeAlgum()
{
    return ConsultasCupom::ExisteAlgum(m_ctx.dtm->conexao(), m_ctx.IdAtivo);
}

void TfrmCupomFiscal::abreLista(const ConsultasNotas::TPeriodo& p)
{
    ConsultasCupom::AbreLista(m_lista, m_ctx.IdAtivo, p);
}

void TfrmCupomFiscal::abreTodas()
{
    ConsultasCupom::AbreTodas(m_lista, m_ctx.IdAtivo);
}

void TfrmCupomFiscal::preencheResumo(const ConsultasNotas::TPeriodo& p)
{
    const auto r = ConsultasCupom::Resumo(m_ctx.dtm->conexao(), m_ctx.IdAtivo, p);
    defineResumo("lblQuant", QString::number(r.quantidade).rightJustified(8));
    defineResumo("lblVendaBruta", RegrasCupom::EmDinheiro(r.vendaBruta));
    defineResumo("lblT_F", RegrasCupom::EmDinheiro(r.f));
    defineResumo("lblT_I", RegrasCupom::EmDinheiro(r.i));
    defineResumo("lblT_N", RegrasCupom::EmDinheiro(r.n));
    defineResumo("lblT_ISS", RegrasCupom::EmDinheiro(r.iss));
    defineResumo("lblT_CANC", RegrasCupom::EmDinheiro(r.canc));
    defineResumo("lblT_DESC", RegrasCupom::EmDinheiro(r.desc));
    const auto aliquotas = ConsultasCupom::IcmsPorAliquota(m_ctx.dtm->conexao(), m_ctx.IdAtivo, p);
    dbgAliquotas->setRowCount(int(aliquotas.size()));
    Money soma;
    for (int i = 0; i < aliquotas.size(); ++i) {
        dbgAliquotas->setItem(i, 0, new QTableWidgetItem(aliquotas[i].aliquota));
        auto* valor = new QTableWidgetItem(aliquotas[i].valorIcms.toString());
        valor->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        dbgAliquotas->setItem(i, 1, valor);
        soma = soma + aliquotas[i].valorIcms;
    }
    defineResumo("lblTotalTributados", soma.toString());
}

QList<ConsultasNotas::TBarra> TfrmCupomFiscal::barras()
{
    return ConsultasCupom::Grafico(m_ctx.dtm->conexao(), m_ctx.IdAtivo, m_ctx.relogio->hoje());
}

QString TfrmCupomFiscal::tituloGrafico() const
{
    return QString::fromUtf8("Variação das Vendas com Cupom");
}

int TfrmCupomFiscal::executaInclusao()
{
    TfrmIncluirCupomFiscal tela(m_ctx, this);
    m_ctx.dialogos->executaModal(&tela);
    return tela.ultimoIncluido();
}

void TfrmCupomFiscal::executaAlteracao(int id)
{
    TfrmAlteraCupom tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmCupomFiscal::exclui(const QList<int>& ids, QString* erro)
{
    TCuponsFiscais cupons(*m_ctx.dtm);
    for (const int id : ids)
        if (!cupons.Excluir(id, erro))
            return false;
    return true;
}

TRelatorio TfrmCupomFiscal::relatorio(const Relatorios::TCabecalho& c)
{
    return Relatorios::Ecf(*m_ctx.dtm, c, m_lista);
}
