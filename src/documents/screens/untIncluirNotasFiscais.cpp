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

TfrmIncluirNotasFiscais::TfrmIncluirNotasFiscais(TContexto& ctx, QWidget* parent) : TfrmCamposNotaFiscal(ctx, false, parent)
{
    setObjectName(QStringLiteral("frmIncluirNotasFiscais"));
    setWindowTitle(QString::fromUtf8("Lançamento de Notas Fiscais"));

    rgSituacaoNF = new QGroupBox(QString::fromUtf8("Seleciona situação da nota fiscal eletrônica"), this);
    rgSituacaoNF->setObjectName(QStringLiteral("rgSituacaoNF"));
    rbDenegado = new QRadioButton(QStringLiteral("Uso denegado"), rgSituacaoNF);
    rbDenegado->setObjectName(QStringLiteral("rbDenegado"));
    rbInutilizado = new QRadioButton(QStringLiteral("Uso inutilizado"), rgSituacaoNF);
    rbInutilizado->setObjectName(QStringLiteral("rbInutilizado"));
    // Both can be off: a group that allows no choice.
    auto* grupo = new QButtonGroup(rgSituacaoNF);
    grupo->setExclusive(false);
    grupo->addButton(rbDenegado);
    grupo->addButton(rbInutilizado);
    auto* situacao = new QHBoxLayout(rgSituacaoNF);
    situacao->addWidget(rbDenegado);
    situacao->addWidget(rbInutilizado);
    connect(rbDenegado, &QRadioButton::clicked, this, [this](bool marcado) {
        if (marcado)
            rbInutilizado->setChecked(false);
        grbFaixa->setEnabled(false);
        edtInicioInutilizado->clear();
        edtFinalInutilizado->clear();
    });
    connect(rbInutilizado, &QRadioButton::clicked, this, [this](bool marcado) {
        if (marcado)
            rbDenegado->setChecked(false);
        grbFaixa->setEnabled(marcado);
    });

    grbFaixa = new QGroupBox(QStringLiteral("Faixa de notas inutilizadas"), this);
    grbFaixa->setObjectName(QStringLiteral("grbFaixa"));
    // Digits only: a sign or a separator typed here would become part of the note numbers written.
    auto* soDigitos = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), grbFaixa);
    edtInicioInutilizado = new QLineEdit(grbFaixa);
    edtInicioInutilizado->setObjectName(QStringLiteral("edtInicioInutilizado"));
    edtInicioInutilizado->setMaxLength(6);
    edtInicioInutilizado->setValidator(soDigitos);
    edtFinalInutilizado = new QLineEdit(grbFaixa);
    edtFinalInutilizado->setObjectName(QStringLiteral("edtFinalInutilizado"));
    edtFinalInutilizado->setMaxLength(6);
    edtFinalInutilizado->setValidator(soDigitos);
    auto* faixa = new QHBoxLayout(grbFaixa);
    faixa->addWidget(new QLabel(QStringLiteral("De"), grbFaixa));
    faixa->addWidget(edtInicioInutilizado);
    faixa->addWidget(new QLabel(QStringLiteral("a"), grbFaixa));
    faixa->addWidget(edtFinalInutilizado);
    m_regras->aoSair(edtInicioInutilizado, [this] { return saiInicioFaixa(); });
    m_regras->aoSair(edtFinalInutilizado, [this] { return saiFinalFaixa(); });

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
    if (rbDenegado->isChecked())
        return SituacaoNFe::Denegado;
    if (rbInutilizado->isChecked())
        return SituacaoNFe::Inutilizado;
    return SituacaoNFe::Nenhuma;
}

void TfrmIncluirNotasFiscais::limpaSituacaoNFe()
{
    rbDenegado->setChecked(false);
    rbInutilizado->setChecked(false);
    edtInicioInutilizado->clear();
    edtFinalInutilizado->clear();
    grbFaixa->setEnabled(false);
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
    const QString t = edtInicioInutilizado->text().trimmed();
    if (t.isEmpty())
        return true;
    const int n = NumeroDaFaixa(t);
    if (n <= 0) {
        m_ctx.dialogos->mensagemSimples(n == 0 ? QString::fromUtf8("Início da faixa não pode ser zero!")
                                               : QString::fromUtf8("Informe um número para o início da faixa!"));
        edtInicioInutilizado->setFocus();
        return false;
    }
    return true;
}

bool TfrmIncluirNotasFiscais::saiFinalFaixa()
{
    const QString t = edtFinalInutilizado->text().trimmed();
    if (!t.isEmpty() && NumeroDaFaixa(t) < 0) {
        m_ctx.dialogos->mensagemSimples(QString::fromUtf8("Informe um número para o final da faixa!"));
        edtFinalInutilizado->setFocus();
        return false;
    }
    return true;
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
