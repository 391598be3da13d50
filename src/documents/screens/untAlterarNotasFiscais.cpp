#include "documents/screens/untAlterarNotasFiscais.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "documents/untCfop.h"
#include "registers/untClsContribuinte.h"

TfrmAlterarNotasFiscais::TfrmAlterarNotasFiscais(TContexto& ctx, int idNota, QWidget* parent)
    : TfrmCamposNotaFiscal(ctx, true, parent)
{
    setObjectName(QStringLiteral("frmAlterarNotasFiscais"));
    setWindowTitle(QString::fromUtf8("Alteração de Notas Fiscais"));
    m_nota.IdNotaFiscal = idNota;
    btnAlterar = new QPushButton(QStringLiteral("&Alterar"), this);
    btnAlterar->setObjectName(QStringLiteral("btnAlterar"));
    btnAlterar->setAutoDefault(false);
    connect(btnAlterar, &QPushButton::clicked, this, &TfrmAlterarNotasFiscais::Alterar);
    connect(btnSalvar, &QPushButton::clicked, this, &TfrmAlterarNotasFiscais::Salvar);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmAlterarNotasFiscais::Cancelar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(rbEntrada, &QRadioButton::clicked, this, [this] { chbSituacao->setEnabled(false); chbSituacao->setChecked(false); });
    connect(rbSaida, &QRadioButton::clicked, this, [this] { chbSituacao->setEnabled(true); });
    connect(chbExtemporaneo, &QCheckBox::clicked, this, [this] {
        grbExtemporaneo->show();
        cmbMes->setFocus();
    });
    for (QLineEdit* e : {edtModelo, edtSerie, edtSubSerie, edtNumeroNF})
        e->setReadOnly(true);

    auto* meio = new QGridLayout;
    meio->addWidget(grbDestino, 0, 0, 1, 2);
    meio->addWidget(rdgEmitente, 0, 2);
    auto* marcas = new QHBoxLayout;
    marcas->addWidget(chbExtemporaneo);
    marcas->addWidget(chbSituacao);
    meio->addLayout(marcas, 1, 0);
    meio->addWidget(grbExtemporaneo, 1, 1, 1, 2);
    monta(meio, {btnAlterar, btnCancelar, btnSalvar, btnFechar});
}

void TfrmAlterarNotasFiscais::showEvent(QShowEvent* e)
{
    TfrmCamposNotaFiscal::showEvent(e);
    if (!m_carregado) {
        m_carregado = true;
        Carrega();
    }
}

void TfrmAlterarNotasFiscais::habilitaCampos(bool sim)
{
    for (QWidget* w : {static_cast<QWidget*>(rdgTipoNF), static_cast<QWidget*>(grbCfop),
                       static_cast<QWidget*>(grbDados), static_cast<QWidget*>(grbDestino),
                       static_cast<QWidget*>(rdgEmitente), static_cast<QWidget*>(chbExtemporaneo),
                       static_cast<QWidget*>(grbExtemporaneo), static_cast<QWidget*>(grbImpostos)})
        w->setEnabled(sim);
    chbSituacao->setEnabled(sim && rbSaida->isChecked());
    btnAlterar->setEnabled(!sim);
    btnFechar->setEnabled(!sim);
    btnCancelar->setEnabled(sim);
    btnSalvar->setEnabled(sim);
}

void TfrmAlterarNotasFiscais::Carrega()
{
    TNotasFiscais notas(*m_ctx.dtm);
    try {
        if (!notas.Carregar(m_nota.IdNotaFiscal, m_ctx.IdAtivo, m_nota))
            return;
        TContribuinte registro(*m_ctx.dtm);
        registro.LocalizarId(m_nota.IdEmtDest);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    const TNotaFiscal& n = m_nota;
    (n.TipoNota == QLatin1String("S") ? rbSaida : rbEntrada)->setChecked(true);
    (n.Emitente == QLatin1String("P") ? rbProprio : rbTerceiros)->setChecked(true);
    edtModelo->setText(n.Modelo);
    edtSerie->setText(n.Serie);
    edtSubSerie->setText(n.SubSerie);
    edtNumeroNF->setText(n.NumeroNF);
    edtCodCFOP->setText(n.Cfop);
    edtValorNF->defineValor(n.ValorTotalNota);
    const bool extemporanea = n.Situacao == QLatin1String("E") || n.Situacao == QLatin1String("X");
    chbSituacao->setChecked(n.Situacao == QLatin1String("S") || n.Situacao == QLatin1String("X"));
    chbExtemporaneo->setChecked(extemporanea);
    if (extemporanea) {
        edtEmissao->setDate(n.DtUltAlteracao.date());
        cmbMes->setCurrentText(QString::number(n.DtEmissao.month()));
        cmbAno->setCurrentText(QString::number(n.DtEmissao.year()));
        edtObservacao->setText(QStringLiteral("Zel ") + n.DtEmissao.toString(QStringLiteral("MM/yyyy")));
        grbExtemporaneo->show();
    } else {
        edtEmissao->setDate(n.DtEmissao);
        edtObservacao->setText(n.Obs);
    }
    preencheDestino(n.IdEmtDest);
    edtBaseIcms->defineValor(n.BaseCalculoICMS);
    edtValorIcms->defineValor(n.ValorICMS);
    edtIsentasIcms->defineValor(n.IsentaICMS);
    edtOutrasIcms->defineValor(n.OutrasICMS);
    edtAliquota->setText(Money::fromRaw(n.AliquotaICMS.toLongLong() * 100).toEditText());
    edtValorIpi->defineValor(n.ValorIPI);
    edtIsentasIpi->defineValor(n.IsentaIPI);
    edtOutrasIpi->defineValor(n.OutrasIPI);
    edtBaseSubst->defineValor(n.BaseCalculoSubst);
    edtIcmsRetido->defineValor(n.ICMSRetido);
    edtDespAcessorias->defineValor(n.DespAcessorias);
    chbMVA->setChecked(n.MVA.trimmed() == QLatin1String("5"));
    // The code list of the stored date and kind, so that a lookup works before the field is entered.
    entraCfop();
    habilitaCampos(false);
    if (chbMVA->isChecked())
        habilitaSubstituicao(true);
}

void TfrmAlterarNotasFiscais::Alterar()
{
    try {
        TNotasFiscais notas(*m_ctx.dtm);
        TNotaFiscal relida;
        if (!notas.Carregar(m_nota.IdNotaFiscal, m_ctx.IdAtivo, relida) || !iniciaTransacao())
            return;
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return;
    }
    habilitaCampos(true);
    habilitaSubstituicao(false);
    edtCodCFOP->setFocus();
}

void TfrmAlterarNotasFiscais::aplicaSubstituicao(bool admite)
{
    if (!admite) {
        edtBaseSubst->defineValor(Money());
        edtIcmsRetido->defineValor(Money());
        edtDespAcessorias->defineValor(Money());
        chbMVA->setChecked(false);
    }
    habilitaSubstituicao(admite);
}

void TfrmAlterarNotasFiscais::Salvar()
{
    const TCamposNota c = campos();
    const TSituacaoNota s = ChecaSituacaoNota(c);
    TNotaFiscal n;
    const TFalha f = ChecaNota(c, s, m_ctx.IdAtivo, m_ctx.relogio->agora(), true, n);
    if (f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    n.IdNotaFiscal = m_nota.IdNotaFiscal;
    n.IdNfIcms = m_nota.IdNfIcms;
    n.IdNfIpi = m_nota.IdNfIpi;
    n.IdNfSubsTrib = m_nota.IdNfSubsTrib;
    TNotasFiscais notas(*m_ctx.dtm);
    TNotasFiscais::Etapa etapa = TNotasFiscais::Etapa::Nenhuma;
    if (notas.Alterar(n, &etapa)) {
        if (!confirmaTransacao())
            return; // still editing, with the typed values, after the engine's message
        Informa(*m_ctx.dialogos, QStringLiteral("Nota Gravada com Sucesso!"));
        accept();
        return;
    }
    switch (etapa) {
    case TNotasFiscais::Etapa::Nota:
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração dos\ndados da Nota Fiscal"));
        break;
    case TNotasFiscais::Etapa::Icms:
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração dos dados do ICMS"));
        break;
    case TNotasFiscais::Etapa::Ipi:
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração dos dados do IPI."));
        break;
    default:
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração dos dados da Subst.Tributaria."));
    }
    Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu ERRO na gravação!"));
    reject(); // takes the transaction back
}

void TfrmAlterarNotasFiscais::Cancelar()
{
    reject();
}
