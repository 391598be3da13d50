#include "registers/screens/untEmpresas.h"

#include "core/untRelogio.h"
#include "reports/untRelatorios.h"
#include "widgets/untVisualizaRelatorio.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/screens/untAlterarContribuinte.h"
#include "registers/screens/untIncluirContribuinte.h"
#include "registers/untClsContribuinte.h"

TfrmEmpresas::TfrmEmpresas(TContexto& ctx, QWidget* parent)
    : TfrmListaContribuintes(ctx,
                             {QStringLiteral("Selecionar Cliente /  Fornecedor"),
                              QString::fromUtf8("Clique com o Botão Direito para ativar o Menu"),
                              QStringLiteral("Fechar"), QStringLiteral("Localizar")},
                             parent)
{
    setObjectName(QStringLiteral("frmEmpresas"));
}

void TfrmEmpresas::showEvent(QShowEvent* e)
{
    TfrmListaContribuintes::showEvent(e);
    if (PrimeiraExibicao(this, e))
        Carrega();
}

void TfrmEmpresas::Carrega()
{
    TContribuinte registro(*m_ctx.dtm);
    registro.ListarTipo(QStringLiteral("F"));
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
    m_grade->setFocus();
}

void TfrmEmpresas::Selecionar() { accept(); }
void TfrmEmpresas::Fechar() { reject(); }

void TfrmEmpresas::Localizar()
{
    TContribuinte registro(*m_ctx.dtm);
    try {
        registro.Pesquisar(m_edtPesquisa->text(), QString());
    } catch (const EBancoDados&) {
        m_ctx.dtm->ADODataSetVariavel.close();
        atualizaGrade();
        Informa(*m_ctx.dialogos, QStringLiteral("Pesquisa Vazia!."));
    }
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
    m_edtPesquisa->clear();
    m_grade->setFocus();
}

void TfrmEmpresas::Incluir()
{
    TfrmIncluirContribuinte tela(m_ctx, ModoContribuinte::IncluirClienteFornecedor, this);
    m_ctx.dialogos->executaModal(&tela);
    atualizaGrade();
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
    m_btnSelecionar->setFocus();
}

void TfrmEmpresas::Alterar()
{
    if (!temLinhaEscolhida())
        return; // the change dialog needs a row
    TfrmAlterarContribuinte tela(m_ctx, ModoContribuinte::AlterarClienteFornecedor, this);
    m_ctx.dialogos->executaModal(&tela);
    atualizaGrade();
}

void TfrmEmpresas::Excluir()
{
    excluiComConfirmacao(QString::fromUtf8("Confirma Exclusão \ndeste Registro ?"),
                         QStringLiteral("esta empresa"),
                         QStringLiteral("F"));
    habilitaBotoes(!m_ctx.dtm->ADODataSetVariavel.isEmpty());
}

TParteEscolhida EscolheParte(TContexto& ctx, QWidget* tela, const QString& cnpjDigitado)
{
    TContribuinte registro(*ctx.dtm);
    const QString cnpj = cnpjDigitado.trimmed();
    bool achou = false;
    try {
        achou = !cnpj.isEmpty() && !registro.BuscarCNPJ(cnpj).isEmpty();
    } catch (const EBancoDados&) {
    }
    TParteEscolhida r;
    if (!achou) {
        // Closing the selection without choosing chooses nobody: the row the list happened to stand on is
        // not the user's choice.
        TfrmEmpresas selecao(ctx, tela);
        if (ctx.dialogos->executaModal(&selecao) != QDialog::Accepted)
            return r;
    }
    const TDataSet& lista = ctx.dtm->ADODataSetVariavel;
    if (lista.active() && !lista.isEmpty() && lista.recNo() >= 0) {
        r.id = lista.asInteger(QStringLiteral("IdContribuinte"));
        r.cnpj = lista.asString(QStringLiteral("CNPJ"));
        r.razaoSocial = lista.asString(QStringLiteral("RazaoSocial"));
        r.uf = lista.asString(QStringLiteral("UF"));
    }
    return r;
}

TRelatorio TfrmEmpresas::relatorio(const TDataSet& lista)
{
    return Relatorios::Fornecedores(lista, Agora(m_ctx.relogio));
}
