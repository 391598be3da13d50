#include "documents/screens/untAlterarNotasTalao.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "widgets/untTelas.h"

TfrmAlterarNotasTalao::TfrmAlterarNotasTalao(TContexto& ctx, int idNotaTalao, QWidget* parent)
    : TfrmCamposNotaTalao(ctx, true, parent), m_id(idNotaTalao)
{
    setObjectName(QStringLiteral("frmAlterarNotasTalao"));
    setWindowTitle(QString::fromUtf8("Alteração das Notas Talão"));
    btnAlterar = new QPushButton(QStringLiteral("&Alterar"), this);
    btnAlterar->setObjectName(QStringLiteral("btnAlterar"));
    btnAlterar->setAutoDefault(false);
    connect(btnAlterar, &QPushButton::clicked, this, &TfrmAlterarNotasTalao::Alterar);
    connect(btnSalvar, &QPushButton::clicked, this, &TfrmAlterarNotasTalao::Salvar);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmAlterarNotasTalao::Cancelar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    // After the last value Tab and Enter go to "&Salvar", never to "&Cancelar", where Enter would throw the
    // change away.
    MovimentoFixo(this, curVlrTotal, btnSalvar);
    monta({btnAlterar, btnCancelar, btnSalvar, btnFechar});
}

void TfrmAlterarNotasTalao::showEvent(QShowEvent* e)
{
    TfrmCamposNotaTalao::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    editando(false);
    // A run that is gone (deleted meanwhile, or not the open taxpayer's) cannot be changed.
    btnAlterar->setEnabled(Carrega());
}

void TfrmAlterarNotasTalao::editando(bool sim)
{
    grbNota->setEnabled(sim);
    grbImpostos->setEnabled(sim);
    btnSalvar->setEnabled(sim);
    btnCancelar->setEnabled(sim);
    btnAlterar->setEnabled(!sim);
    btnFechar->setEnabled(!sim);
}

bool TfrmAlterarNotasTalao::Carrega()
{
    TNotaTalao n;
    try {
        TNotasTalao notas(*m_ctx.dtm);
        if (!notas.Carregar(m_id, m_ctx.IdAtivo, n))
            return false;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    edtModelo->setText(n.Modelo);
    edtSerie->setText(n.Serie);
    edtSubSerie->setText(n.SubSerie);
    edtEmissao->setDate(n.DtEmissao);
    edtNInicial->setText(QString::number(n.NumeroInicial));
    edtNFinal->setText(QString::number(n.NumeroFinal));
    curVlrTotal->defineValor(n.ValorTotal);
    curBaseIcms->defineValor(n.BaseICMS);
    curVlrIcms->defineValor(n.ValorICMS);
    curVlrIsenta->defineValor(n.Isenta);
    curVlrOutras->defineValor(n.Outras);
    // The stored text is in hundredths of a percent.
    vlrAliquota->setText(Money::fromRaw(n.Aliquota.toLongLong() * 100).toEditText());
    return true;
}

void TfrmAlterarNotasTalao::Alterar()
{
    if (!Carrega()) {
        btnAlterar->setEnabled(false);
        return;
    }
    if (!iniciaTransacao())
        return;
    editando(true);
    edtModelo->setFocus();
}

void TfrmAlterarNotasTalao::Salvar()
{
    TNotaTalao nota;
    if (!checa(nota))
        return;
    nota.IDNotaTalao = m_id;
    TNotasTalao notas(*m_ctx.dtm);
    QString erro;
    if (!notas.Alterar(nota, &erro)) {
        informaFalhaGravacao(erro, QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
        return;
    }
    if (!confirmaTransacao())
        return; // still editing, with the typed values, after the engine's message
    Informa(*m_ctx.dialogos, QStringLiteral("Nota Alterarda com Sucesso!"));
    editando(false);
    btnFechar->click();
}

void TfrmAlterarNotasTalao::Cancelar()
{
    encerraTransacao();
    Carrega();
    editando(false);
    btnAlterar->setFocus();
}
