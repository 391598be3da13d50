#include "registers/screens/untContribuinte.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"

#include <QLineEdit>
#include <QTableView>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/screens/untAlterarContribuinte.h"
#include "registers/screens/untIncluirContribuinte.h"
#include "registers/untClsContribuinte.h"

TfrmContribuintes::TfrmContribuintes(TContexto& ctx, QWidget* parent)
    : TfrmListaContribuintes(ctx,
                             {QStringLiteral("Selecionar Contribuinte"),
                              QString::fromUtf8("Clique com o Botão Direito do Mouse para ativar o Menu"),
                              QStringLiteral("&Fechar"), QStringLiteral("&Localizar")},
                             parent)
{
    setObjectName(QStringLiteral("frmContribuintes"));
    TContribuinte registro(*m_ctx.dtm);
    registro.ListarTipo(QStringLiteral("C"));
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
}

void TfrmContribuintes::Selecionar()
{
    const TDataSet& lista = m_ctx.dtm->ADODataSetVariavel;
    const int id = (lista.active() && !lista.isEmpty()) ? lista.asInteger(QStringLiteral("IdContribuinte")) : 0;
    if (id == 0) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Seleção não é válida. Efetue nova pesquisa."));
        return;
    }
    m_ctx.IdAtivo = id;
    if (m_ctx.sessao)
        m_ctx.sessao->AbrirSessao();
    accept();
}

void TfrmContribuintes::Fechar()
{
    if (m_ctx.sessao)
        m_ctx.sessao->CancelarSelecao();
    reject();
}

void TfrmContribuintes::done(int resultado)
{
    // Whatever way the screen closes, the open taxpayer's row is read again.
    try {
        m_ctx.dtm->LerContribuinteAtivo(m_ctx.IdAtivo);
    } catch (const EBancoDados&) {
    }
    TfrmListaContribuintes::done(resultado);
}

void TfrmContribuintes::Localizar()
{
    TContribuinte registro(*m_ctx.dtm);
    try {
        registro.Pesquisar(m_edtPesquisa->text(), QStringLiteral("C"));
    } catch (const EBancoDados&) {
        m_ctx.dtm->ADODataSetVariavel.close(); // a failed search leaves the list empty, unreported
    }
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
    m_edtPesquisa->clear();
    m_grade->setFocus();
}

void TfrmContribuintes::Incluir()
{
    TfrmIncluirContribuinte tela(m_ctx, ModoContribuinte::IncluirContribuinte, this);
    m_ctx.dialogos->executaModal(&tela);
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
}

void TfrmContribuintes::Alterar()
{
    if (!temLinhaEscolhida())
        return; // the change dialog needs a row
    TfrmAlterarContribuinte tela(m_ctx, ModoContribuinte::AlterarContribuinte, this);
    m_ctx.dialogos->executaModal(&tela);
    atualizaGrade();
}

void TfrmContribuintes::Excluir()
{
    excluiComConfirmacao(QString::fromUtf8("Confirma Exclusão ? "),
                         QStringLiteral("este Contribuinte"),
                         QStringLiteral("C"));
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
}

TRelatorio TfrmContribuintes::relatorio(const TDataSet& lista)
{
    return Relatorios::Contribuintes(*m_ctx.dtm, lista, Agora(m_ctx.relogio));
}
