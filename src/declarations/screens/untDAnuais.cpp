#include "declarations/screens/untDAnuais.h"

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "declarations/screens/untIncluirDadosAnuais.h"
#include "declarations/untDadosAnuais.h"

static const TDescricaoLista kAnuais = {
    "frmDAnuais", "Relação de Dados Anuais Cadastrados", "dgbDadosAnuais", "IdDadosAnuais",
    {{"Ano", "Ano"}, {"Tipo", "Tipo"}, {"EstqTrib", "Estq Tributavel"}, {"EstqNaoTrib", "Estq Nao Tributavel"},
     {"SldCaixa", "Sld Caixa"}, {"SldBanco", "Sld Banco"}, {"DespPessoal", "Desp Pessoal"},
     {"OutrosImpostos", "Outros Impostos"}, {"DespGeral", "Desp Geral"}},
};

TfrmDAnuais::TfrmDAnuais(TContexto& ctx, QWidget* parent) : TfrmListaDeclaracoes(ctx, kAnuais, parent), dgbDadosAnuais(grade)
{
}

void TfrmDAnuais::abreLista(bool)
{
    AbreListaDadosAnuais(m_lista, m_ctx.IdAtivo);
}

void TfrmDAnuais::executaInclusao()
{
    TfrmIncluirDadosAnuais tela(m_ctx, 0, this);
    m_ctx.dialogos->executaModal(&tela);
}

void TfrmDAnuais::executaAlteracao(int id)
{
    TfrmIncluirDadosAnuais tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmDAnuais::exclui(int id, QString* mensagem)
{
    if (TDadosAnuais(*m_ctx.dtm).Excluir(id))
        return true;
    *mensagem = QString::fromUtf8("Erro na Exclusão.");
    return false;
}

bool TfrmDAnuais::geraArquivo(int id, bool* semMensagem)
{
    TDadosAnuais d(*m_ctx.dtm);
    try {
        if (!d.CarregarId(id, m_ctx.IdAtivo))
            return false;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        *semMensagem = true;
        return false;
    }
    // A row from before the regime was asked has none: the file would carry a code that is no regime.
    if (!RegimeAnualValido(d.TipoRegimeContrib)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Informe o regime de pagamento do contribuinte nos Dados Anuais "
                                                   "(botão \"Alterar\") antes de gerar o arquivo."));
        *semMensagem = true;
        return false;
    }
    return geraArquivoDe(QString::number(d.TipoRegimeContrib), PeriodoDadosAnuais(d.Ano, m_ctx.relogio->hoje()), 4,
                         d.Tipo, semMensagem);
}

bool TfrmDAnuais::relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r)
{
    TDadosAnuais d(*m_ctx.dtm);
    if (!d.CarregarId(id, m_ctx.IdAtivo))
        return false;
    *r = Relatorios::DadosAnuais(*m_ctx.dtm, c, d);
    return true;
}
