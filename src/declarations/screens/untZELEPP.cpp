#include "declarations/screens/untZELEPP.h"

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "declarations/screens/untIncluirZELEPP.h"
#include "declarations/untZelEpp.h"

static const TDescricaoLista kEpp = {
    "frmZELEPP", "Relação de ZEL Cadastradas - Regime EPP", "dbgZELEPP", "IdEpp",
    {{"Periodo", nullptr}, {"Tipo", "Tipo"}, {"RecEfetiva", "Receita Efetiva"}, {"Imp_Devido", "Imposto Devido"},
     {"Imp_Recolher", "Imposto a Recolher"}, {"DtGeracao", "Data Geracao"}},
    nullptr,
};

TfrmZELEPP::TfrmZELEPP(TContexto& ctx, bool mp3706, QWidget* parent)
    : TfrmListaDeclaracoes(ctx, kEpp, parent), dbgZELEPP(grade), m_mp3706(mp3706)
{
}

void TfrmZELEPP::abreLista(bool)
{
    AbreListaEpp(m_lista, m_ctx.IdAtivo);
}

QString TfrmZELEPP::erroDeLeitura() const
{
    return QString::fromUtf8("Ocorreu um erro ao abrir a Tabela EPP \nConsulte o Suporte.");
}

void TfrmZELEPP::executaInclusao()
{
    if (m_mp3706) {
        TfrmApuraZELEPP2006 tela(m_ctx, 0, this);
        m_ctx.dialogos->executaModal(&tela);
    } else {
        TfrmIncluirZELEPP tela(m_ctx, 0, this);
        m_ctx.dialogos->executaModal(&tela);
    }
}

void TfrmZELEPP::executaAlteracao(int id)
{
    if (m_mp3706) {
        TfrmApuraZELEPP2006 tela(m_ctx, id, this);
        m_ctx.dialogos->executaModal(&tela);
    } else {
        TfrmIncluirZELEPP tela(m_ctx, id, this);
        m_ctx.dialogos->executaModal(&tela);
    }
}

bool TfrmZELEPP::exclui(int id, QString* mensagem)
{
    if (TZelEPP(*m_ctx.dtm).Excluir(id))
        return true;
    *mensagem = QString::fromUtf8("Erro na Exclusão.");
    return false;
}

bool TfrmZELEPP::geraArquivo(int id, bool* semMensagem)
{
    TZelEPP z(*m_ctx.dtm);
    try {
        if (!z.CarregarId(id, m_ctx.IdAtivo))
            return false;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        *semMensagem = true;
        return false;
    }
    return geraArquivoDe(QStringLiteral("7"), z.Periodo, 2, z.Tipo, semMensagem);
}

bool TfrmZELEPP::relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r)
{
    TZelEPP d(*m_ctx.dtm);
    if (!d.CarregarId(id, m_ctx.IdAtivo))
        return false;
    *r = Relatorios::ZelEpp(*m_ctx.dtm, c, d);
    return true;
}
