#include "declarations/screens/untZEL.h"

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "declarations/screens/untIncluirZEL.h"
#include "declarations/untZel.h"

static const TDescricaoLista kZel = {
    "frmZEL", "Relação de ZEL Cadastradas - Regime Normal", "dbgPeriodo", "IDZel",
    {{"Periodo", "Período"}, {"Tipo", "Tipo"}, {"CredEntradas", "Cred. Entradas"},
     {"CredAtivoImob", "Cred. Ativo Imob."}, {"CredTransferencia", "Cred. Transferencia"},
     {"CredOutros", "Outros Creditos"}, {"CredSaldoAnterior", "Saldo Anterior"}, {"DebSaidas", "Deb. Saidas"},
     {"DebTransfCredAc", "Deb. Transf. Cred Acum."}, {"DebEstornoCred", "Deb. Estorno Cred."},
     {"DebOutros", "Outros Débitos"}},
};

TfrmZEL::TfrmZEL(TContexto& ctx, QWidget* parent) : TfrmListaDeclaracoes(ctx, kZel, parent), dbgPeriodo(grade) {}

bool TfrmZEL::prepara()
{
    try {
        TZel::AtualizaTabela(*m_ctx.dtm);
        return true;
    } catch (const EBancoDados&) {
        InformaErro(*m_ctx.dialogos, QString::fromUtf8("Ocorreu um erro ao Alterar Tabela ZEL \nConsulte o Suporte."));
        return false;
    }
}

void TfrmZEL::abreLista(bool crescente)
{
    AbreListaZel(m_lista, m_ctx.IdAtivo, crescente);
}

void TfrmZEL::executaInclusao()
{
    TfrmIncluirZEL tela(m_ctx, 0, this);
    m_ctx.dialogos->executaModal(&tela);
}

void TfrmZEL::executaAlteracao(int id)
{
    TfrmIncluirZEL tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmZEL::exclui(int id, QString* mensagem)
{
    return ExcluiZel(*m_ctx.dtm, id, m_ctx.IdAtivo, m_lista.asString(QStringLiteral("Periodo")).trimmed(), mensagem);
}

bool TfrmZEL::geraArquivo(int id, bool* semMensagem)
{
    TZel z(*m_ctx.dtm);
    try {
        if (!z.CarregarId(id, m_ctx.IdAtivo))
            return false;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        *semMensagem = true;
        return false;
    }
    return geraArquivoDe(QStringLiteral("1"), z.Periodo, 1, z.Tipo, semMensagem);
}

bool TfrmZEL::relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r)
{
    TZel d(*m_ctx.dtm);
    if (!d.CarregarId(id, m_ctx.IdAtivo))
        return false;
    *r = Relatorios::Zel(*m_ctx.dtm, c, d);
    return true;
}
