#include "documents/screens/untIncluirCupomFiscal.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "widgets/untTelas.h"

TfrmIncluirCupomFiscal::TfrmIncluirCupomFiscal(TContexto& ctx, QWidget* parent)
    : TfrmCamposCupom(ctx, false, parent), btnNovo(m_btnPrimeiro)
{
    connect(btnNovo, &QPushButton::clicked, this, &TfrmIncluirCupomFiscal::Novo);
}

void TfrmIncluirCupomFiscal::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    edtModelo->setText(QStringLiteral("2D"));
    edtEmissao->setDate(m_ctx.relogio->hoje());
    edtCRO->setText(QStringLiteral("0"));
    curGTInicial->defineValor(Money());
    ocioso();
}

void TfrmIncluirCupomFiscal::ocioso()
{
    m_id = 0;
    m_cabecalhoGravado = false;
    fechaLinhas();
    grbECF->setEnabled(false);
    panST->setEnabled(false);
    btnSalvar->setEnabled(false);
    btnCancelar->setEnabled(false);
    btnNovo->setEnabled(true);
    btnFechar->setEnabled(true);
    btnNovo->setFocus();
}

void TfrmIncluirCupomFiscal::Novo()
{
    if (!m_edicao->inicia())
        return;
    m_cabecalhoGravado = false;
    btnNovo->setEnabled(false);
    btnFechar->setEnabled(false);
    btnCancelar->setEnabled(true);
    grbECF->setEnabled(true);
    panST->setEnabled(false);
    lblVendaLiquida->setText(QStringLiteral("R$ 0,00"));
    lblSaldo->setText(QStringLiteral("R$ 0,00"));
    edtNumSerie->setFocus();
}

bool TfrmIncluirCupomFiscal::gravaCabecalho(TCupomFiscal& c, bool* ficaNoCampo)
{
    TCuponsFiscais cupons(*m_ctx.dtm);
    try {
        if (cupons.Duplicata(c)) {
            MostraFalha(*m_ctx.dialogos, this,
                        {QString::fromUtf8("Já existe lançamento\npara esta data!"), QStringLiteral("edtNumSerie")});
            *ficaNoCampo = false;
            return false;
        }
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    if (!cupons.Incluir(c)) {
        Informa(*m_ctx.dialogos, QStringLiteral("Verifique os dados digitados."));
        return false;
    }
    return true;
}

bool TfrmIncluirCupomFiscal::regrava(const TCupomFiscal& c, const QList<TLinhaAliquota>& linhas)
{
    TCupomFiscal novo = c;
    TCuponsFiscais cupons(*m_ctx.dtm);
    if (!cupons.Incluir(novo))
        return false;
    for (const TLinhaAliquota& l : linhas)
        if (!cupons.IncluirLinha(novo.IDCupomFiscal, l.Aliquota, l.ValorAcumulado))
            return false;
    m_id = novo.IDCupomFiscal;
    return true;
}

void TfrmIncluirCupomFiscal::Salvar()
{
    if (!salva(QString::fromUtf8("Erro na Inclusão! Verifique os dados digitados.")))
        return;
    m_ultimo = m_id;
    const Money gtFinal = curGTFinal->valor();
    zeraValores();
    curGTInicial->defineValor(gtFinal);
    ocioso();
    Informa(*m_ctx.dialogos, QString::fromUtf8("Cupom Incluído com Sucesso!"));
    btnNovo->setFocus();
}

void TfrmIncluirCupomFiscal::Cancelar()
{
    m_edicao->desfaz();
    zeraValores();
    edtCRO->setText(QStringLiteral("0"));
    curGTInicial->defineValor(Money());
    ocioso();
}
