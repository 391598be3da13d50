#include "declarations/screens/untZELSN.h"

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untDataSetModel.h"
#include "declarations/screens/untInformacoesSN.h"
#include "declarations/untZelSN.h"

static const TDescricaoLista kSN = {
    "frmZELSN", "Relação de ZEL Cadastradas - Regime Simples Nacional", "dbgZELSN", "IdSN",
    {{"Periodo", "Período"}, {"Tipo", "Tipo"}, {"Faturamento", "Faturamento"}, {"TotEntradas", "Total das Entradas"},
     {"DtInclusao", "Data inclusão"}, {"DtAlteracao", "Data alteração"}, {"DtGeracao", "Data Geração"}},
    nullptr,
};

TfrmZELSN::TfrmZELSN(TContexto& ctx, QWidget* parent) : TfrmListaDeclaracoes(ctx, kSN, parent), dbgZELSN(grade)
{
    const auto reais = [](const QVariant& v) {
        const Money m = Money::fromRaw(v.toLongLong());
        return m.isNegative() ? QStringLiteral("-R$ ") + (-m).toString() : QStringLiteral("R$ ") + m.toString();
    };
    m_modelo->defineFormato(QStringLiteral("Faturamento"), reais);
    m_modelo->defineFormato(QStringLiteral("TotEntradas"), reais);
}

void TfrmZELSN::abreLista(bool)
{
    AbreListaSN(m_lista, m_ctx.IdAtivo);
}

QString TfrmZELSN::erroDeLeitura() const
{
    return QString::fromUtf8("Ocorreu um erro ao abrir a Tabela ZEL_SN \nConsulte o Suporte.");
}

void TfrmZELSN::executaInclusao()
{
    TfrmInformacoesSN tela(m_ctx, 0, this);
    m_ctx.dialogos->executaModal(&tela);
}

void TfrmZELSN::executaAlteracao(int id)
{
    TfrmInformacoesSN tela(m_ctx, id, this);
    m_ctx.dialogos->executaModal(&tela);
}

bool TfrmZELSN::exclui(int id, QString* mensagem)
{
    if (TZelSN(*m_ctx.dtm).Excluir(id))
        return true;
    *mensagem = QString::fromUtf8("Erro na Exclusão.");
    return false;
}

bool TfrmZELSN::geraArquivo(int id, bool* semMensagem)
{
    TZelSN z(*m_ctx.dtm);
    try {
        if (!z.CarregarId(id, m_ctx.IdAtivo))
            return false;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        *semMensagem = true;
        return false;
    }
    if (!geraArquivoDe(QStringLiteral("3"), z.Periodo, 3, z.Tipo, semMensagem))
        return false;
    if (!z.RegistraGeracao(m_ctx.relogio->agora())) {
        Informa(*m_ctx.dialogos, QStringLiteral("Erro no registro da data de geracao do arquivo"));
        *semMensagem = true;
        return false;
    }
    return true;
}

bool TfrmZELSN::relatorio(int id, const Relatorios::TCabecalho& c, TRelatorio* r)
{
    TZelSN d(*m_ctx.dtm);
    if (!d.CarregarId(id, m_ctx.IdAtivo))
        return false;
    *r = Relatorios::ZelSN(*m_ctx.dtm, c, d);
    return true;
}
