#include "documents/screens/untIncluirNotasFiscais.h"

#include <QButtonGroup>
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
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "widgets/untSaidaCampo.h"
#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "documents/untCfop.h"
#include "documents/screens/untCamposDocumento.h"

TfrmIncluirNotasFiscais::TfrmIncluirNotasFiscais(TContexto& ctx, QWidget* parent) : TfrmCamposNotaFiscal(ctx, false, parent)
{
    setObjectName(QStringLiteral("frmIncluirNotasFiscais"));
    setWindowTitle(QString::fromUtf8("Lançamento de Notas Fiscais"));

    m_nfe = std::make_unique<TQuadroNFe>(this, *m_ctx.dialogos, *m_regras);
    rgSituacaoNF = m_nfe->rgSituacaoNF;
    rbDenegado = m_nfe->rbDenegado;
    rbInutilizado = m_nfe->rbInutilizado;
    grbFaixa = m_nfe->grbFaixa;
    edtInicioInutilizado = m_nfe->edtInicioInutilizado;
    edtFinalInutilizado = m_nfe->edtFinalInutilizado;

    btnNovaNota = new QPushButton(QStringLiteral("&Nova Nota"), this);
    btnNovaNota->setObjectName(QStringLiteral("btnNovaNota"));
    btnNovaNota->setAutoDefault(false);
    connect(btnNovaNota, &QPushButton::clicked, this, &TfrmIncluirNotasFiscais::NovaNota);
    connect(btnSalvar, &QPushButton::clicked, this, &TfrmIncluirNotasFiscais::Salvar);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmIncluirNotasFiscais::Cancelar);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(rbEntrada, &QRadioButton::clicked, this, &TfrmIncluirNotasFiscais::mudaTipo);
    connect(rbSaida, &QRadioButton::clicked, this, &TfrmIncluirNotasFiscais::mudaTipo);
    connect(chbSituacao, &QCheckBox::clicked, this, &TfrmIncluirNotasFiscais::clicaCancelada);
    m_regras->aoSair(edtObservacao, [this] {
        if (chbSituacao->isChecked())
            btnSalvar->setFocus();
        return true;
    });

    auto* meio = new QGridLayout;
    meio->addWidget(grbDestino, 0, 0, 1, 2);
    meio->addWidget(rdgEmitente, 0, 2);
    auto* marcas = new QVBoxLayout;
    marcas->addWidget(chbExtemporaneo);
    marcas->addWidget(chbSituacao);
    meio->addLayout(marcas, 1, 0);
    meio->addWidget(grbExtemporaneo, 1, 1);
    meio->addWidget(rgSituacaoNF, 2, 0, 1, 2);
    meio->addWidget(grbFaixa, 2, 2);
    monta(meio, {btnNovaNota, btnCancelar, btnSalvar, btnFechar});
}

TfrmIncluirNotasFiscais::~TfrmIncluirNotasFiscais() = default;

void TfrmIncluirNotasFiscais::showEvent(QShowEvent* e)
{
    TfrmCamposNotaFiscal::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    edtEmissao->setDate(m_ctx.relogio->hoje());
    rbEntrada->setChecked(true);
    edtModelo->setText(QStringLiteral("01"));
    cmbAno->setCurrentText(QString::number(m_ctx.relogio->hoje().year()));
    zeraValores();
    ocioso();
}

void TfrmIncluirNotasFiscais::editando(bool sim)
{
    btnNovaNota->setEnabled(!sim);
    btnFechar->setEnabled(!sim);
    btnCancelar->setEnabled(sim);
    btnSalvar->setEnabled(sim);
    for (QWidget* w : {static_cast<QWidget*>(rdgTipoNF), static_cast<QWidget*>(grbCfop),
                       static_cast<QWidget*>(grbDados), static_cast<QWidget*>(grbDestino),
                       static_cast<QWidget*>(rdgEmitente), static_cast<QWidget*>(chbExtemporaneo),
                       static_cast<QWidget*>(chbSituacao), static_cast<QWidget*>(rgSituacaoNF),
                       static_cast<QWidget*>(grbImpostos)})
        w->setEnabled(sim);
    if (m_subSerieBloqueada)
        edtSubSerie->setEnabled(false);
}

SituacaoNFe TfrmIncluirNotasFiscais::situacaoNFe() const
{
    return m_nfe->situacao();
}

void TfrmIncluirNotasFiscais::limpaSituacaoNFe()
{
    m_nfe->limpa();
}

void TfrmIncluirNotasFiscais::ocioso(bool limpaSerie)
{
    if (limpaSerie)
        edtSerie->clear();
    edtNumeroNF->clear();
    edtObservacao->clear();
    zeraValores();
    limpaSituacaoNFe();
    rbEntrada->setChecked(true);
    editando(false);
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasFiscais::NovaNota()
{
    if (!iniciaTransacao())
        return;
    editando(true);
    rbEntrada->setChecked(true);
    habilitaSubstituicao(false);
    chbMVA->setChecked(false);
    if (chbSituacao->isChecked()) {
        chbSituacao->setChecked(false);
        clicaCancelada(); // opens again what the last (cancelled) note had locked
    }
    chbExtemporaneo->setChecked(false);
    mudaTipo();
}

void TfrmIncluirNotasFiscais::mudaTipo()
{
    const bool entrada = rbEntrada->isChecked();
    (entrada ? rbTerceiros : rbProprio)->setChecked(true);
    rdgEmitente->setEnabled(entrada);
    if (entrada && chbSituacao->isChecked()) {
        chbSituacao->setChecked(false);
        clicaCancelada();
    }
    limpaSituacaoNFe();
    rgSituacaoNF->setEnabled(!entrada);
    chbSituacao->setEnabled(!entrada);
    edtModelo->setFocus();
}

void TfrmIncluirNotasFiscais::clicaCancelada()
{
    const bool cancelada = chbSituacao->isChecked();
    rgSituacaoNF->setEnabled(!cancelada);
    if (cancelada) {
        limpaSituacaoNFe();
        zeraValores();
    }
    for (QWidget* w : {static_cast<QWidget*>(edtValorNF), static_cast<QWidget*>(grbImpostos),
                       static_cast<QWidget*>(grbDestino), static_cast<QWidget*>(grbCfop)})
        w->setEnabled(!cancelada);
    edtModelo->setFocus();
}

bool TfrmIncluirNotasFiscais::saiInicioFaixa()
{
    return m_nfe->saiInicioFaixa();
}

bool TfrmIncluirNotasFiscais::saiFinalFaixa()
{
    return m_nfe->saiFinalFaixa();
}

void TfrmIncluirNotasFiscais::aplicaSubstituicao(bool admite)
{
    habilitaSubstituicao(admite);
}

void TfrmIncluirNotasFiscais::Salvar()
{
    TCamposNota c = campos();
    c.nfe = situacaoNFe();
    c.inicioFaixa = edtInicioInutilizado->text();
    c.finalFaixa = edtFinalInutilizado->text();
    const TSituacaoNota s = ChecaSituacaoNota(c);
    if (s.falha.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, s.falha);
        return;
    }
    if (!s.pergunta.isEmpty() && !PerguntaNao(*m_ctx.dialogos, s.pergunta))
        return;
    TNotaFiscal nota;
    const TFalha f = ChecaNota(c, s, m_ctx.IdAtivo, m_ctx.relogio->agora(), false, nota);
    if (VersaoCfop(c.emissao) != QLatin1String("1")) {
        // From 2003 on there is no subseries to type.
        m_subSerieBloqueada = true;
        edtSubSerie->setEnabled(false);
    }
    if (f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    QString foco;
    if (!GravaNotasEntrada(*m_ctx.dtm, *m_ctx.dialogos, nota, s, &foco)) {
        if (auto* campo = findChild<QWidget*>(foco))
            campo->setFocus();
        return;
    }
    if (!confirmaTransacao())
        return; // the success message follows only a commit that succeeded
    ocioso();
    Informa(*m_ctx.dialogos, s.mensagemFinal);
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasFiscais::Cancelar()
{
    encerraTransacao(false);
    ocioso(false);
}
