#include "documents/screens/untAlterCupFiscal.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "widgets/untTelas.h"

TfrmAlteraCupom::TfrmAlteraCupom(TContexto& ctx, int idCupom, QWidget* parent)
    : TfrmCamposCupom(ctx, true, parent), btnAlterar(m_btnPrimeiro)
{
    m_id = idCupom;
    connect(btnAlterar, &QPushButton::clicked, this, &TfrmAlteraCupom::Alterar);
}

void TfrmAlteraCupom::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    grbECF->setEnabled(false);
    panST->setEnabled(false);
    btnSalvar->setEnabled(false);
    btnCancelar->setEnabled(false);
    TCupomFiscal c;
    try {
        // By key and taxpayer: a key of another taxpayer's summary shows nothing and changes nothing.
        m_carregado = TCuponsFiscais(*m_ctx.dtm).Carregar(m_id, m_ctx.IdAtivo, c);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!m_carregado) {
        m_id = 0;
        btnAlterar->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    mostra(c);
    leLinhas();
    btnAlterar->setFocus();
}

void TfrmAlteraCupom::Alterar()
{
    if (!m_carregado || !m_edicao->inicia())
        return;
    m_cabecalhoGravado = false;
    btnAlterar->setEnabled(false);
    btnFechar->setEnabled(false);
    btnCancelar->setEnabled(true);
    grbECF->setEnabled(true);
    panST->setEnabled(true);
    edtNumeroEqp->setFocus();
}

bool TfrmAlteraCupom::gravaCabecalho(TCupomFiscal& c, bool*)
{
    if (!TCuponsFiscais(*m_ctx.dtm).Alterar(c)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu ERRO na alteração.\nVerifique os dados digitados."));
        return false;
    }
    return true;
}

bool TfrmAlteraCupom::regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas)
{
    // The rollback brought back the stored lines: they give way to the ones the user had.
    TCuponsFiscais cupons(*m_ctx.dtm);
    try {
        for (const TLinhaAliquota& l : cupons.Linhas(m_id))
            if (!cupons.ExcluirLinha(l.IDCFAliquota))
                return false;
    } catch (const EBancoDados&) {
        return false;
    }
    if (!cupons.Alterar(c))
        return false;
    for (const TLinhaAliquota& l : linhas)
        if (!cupons.IncluirLinha(m_id, l.Aliquota, l.ValorAcumulado))
            return false;
    return true;
}

void TfrmAlteraCupom::Salvar()
{
    if (!salva(QString::fromUtf8("Erro na Alteração!\n Verifique os dados digitados.")))
        return;
    fechaLinhas();
    Informa(*m_ctx.dialogos, QString::fromUtf8("Cupom Alterado com Sucesso!"));
    btnFechar->setEnabled(true);
    reject();
}

void TfrmAlteraCupom::Cancelar()
{
    m_edicao->desfaz();
    fechaLinhas();
    btnFechar->setEnabled(true);
    reject();
}
