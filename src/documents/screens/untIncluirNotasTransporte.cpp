#include "documents/screens/untIncluirNotasTransporte.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untEdicao.h"
#include "db/untSqlite.h"
#include "documents/screens/untCamposDocumento.h"
#include "widgets/untTelas.h"

TfrmIncluirNotasTransporte::TfrmIncluirNotasTransporte(TContexto& ctx, QWidget* parent)
    : TfrmCamposTransporte(ctx, false, parent), btnNovaNota(m_btnPrimeiro), rgSituacaoNF(m_nfe->rgSituacaoNF),
      rbDenegado(m_nfe->rbDenegado), rbInutilizado(m_nfe->rbInutilizado), grbFaixa(m_nfe->grbFaixa),
      edtInicioInutilizado(m_nfe->edtInicioInutilizado), edtFinalInutilizado(m_nfe->edtFinalInutilizado)
{
    connect(btnNovaNota, &QPushButton::clicked, this, &TfrmIncluirNotasTransporte::NovaNota);
}

TfrmIncluirNotasTransporte::~TfrmIncluirNotasTransporte() = default;

void TfrmIncluirNotasTransporte::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    edtModelo->setText(QStringLiteral("08"));
    edtEmissao->setDate(m_ctx.relogio->hoje());
    zeraValores();
    ocioso();
}

void TfrmIncluirNotasTransporte::ocioso()
{
    m_idNota = 0;
    m_idTomador = 0;
    m_cabecalhoGravado = false;
    fechaCargas();
    habilitaCabecalho(false);
    grbCarga->setEnabled(false);
    m_nfe->limpa();
    m_nfe->rgSituacaoNF->setEnabled(false);
    btnCancelar->setEnabled(false);
    btnSalvar->setEnabled(false);
    btnNovaNota->setEnabled(true);
    btnFechar->setEnabled(true);
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasTransporte::NovaNota()
{
    if (!m_edicao->inicia())
        return;
    m_idNota = 0;
    m_idTomador = 0;
    m_cabecalhoGravado = false;
    rbCIF->setChecked(true);
    chbSituacao->setChecked(false);
    ckbTransportadora->setChecked(false);
    habilitaCabecalho(true);
    clicaCancelada(); // opens again what a cancelled document had shut
    m_nfe->limpa();
    m_nfe->rgSituacaoNF->setEnabled(true);
    grbCarga->setEnabled(true);
    ckbTransportadora->setEnabled(true);
    dbgCarga->setEnabled(false);
    btnCancelar->setEnabled(true);
    btnSalvar->setEnabled(true);
    btnFechar->setEnabled(false);
    btnNovaNota->setEnabled(false);
    edtModelo->setFocus();
}

bool TfrmIncluirNotasTransporte::gravaCabecalho()
{
    const TChecagemTransporte r = ChecaNotaTransporte(campos(), m_ctx.IdAtivo, m_ctx.relogio->agora(), false);
    if (r.falha.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, r.falha);
        return false;
    }
    if (!r.situacao.pergunta.isEmpty() && !PerguntaNao(*m_ctx.dialogos, r.situacao.pergunta))
        return false;
    QString foco;
    int id = 0;
    if (!GravaNotasTransporte(*m_ctx.dtm, *m_ctx.dialogos, r, &foco, &id)) {
        if (auto* campo = findChild<QWidget*>(foco))
            campo->setFocus();
        return false;
    }
    m_idNota = id;
    m_idTomador = r.nota.IDEmitente;
    m_mensagemFinal = r.situacao.mensagemFinal;
    m_checagem = r;
    cabecalhoGravado();
    return true;
}

bool TfrmIncluirNotasTransporte::regravaCabecalho()
{
    QString foco;
    int id = 0;
    if (!GravaNotasTransporte(*m_ctx.dtm, *m_ctx.dialogos, m_checagem, &foco, &id))
        return false;
    m_idNota = id;
    return true;
}

void TfrmIncluirNotasTransporte::Salvar()
{
    if (!m_edicao->ativa())
        return;
    if (!m_cabecalhoGravado && !gravaCabecalho())
        return;
    switch (confirmaOuRegrava()) {
    case Confirmacao::Feita:
        break;
    case Confirmacao::Adiada:
        return;
    case Confirmacao::Regravada:
        // The header and its cargo notes stand as before the click: "&Salvar" can simply be clicked again.
        ckbTransportadora->setChecked(true);
        cabecalhoGravado();
        return;
    case Confirmacao::Perdida:
        // Not even that: the header is typed in again.
        m_idNota = 0;
        m_cabecalhoGravado = false;
        fechaCargas();
        ckbTransportadora->setChecked(false);
        habilitaCabecalho(true);
        m_nfe->rgSituacaoNF->setEnabled(!chbSituacao->isChecked());
        ckbTransportadora->setEnabled(true);
        dbgCarga->setEnabled(false);
        edtModelo->setFocus();
        return;
    }
    // The saved header's box is cleared without saving it again.
    ckbTransportadora->setChecked(false);
    m_ultima = m_idNota;
    edtSubSerie->clear();
    edtNumNtTransporte->clear();
    edtObservacao->clear();
    zeraValores();
    ocioso();
    Informa(*m_ctx.dialogos, m_mensagemFinal);
    btnNovaNota->setFocus();
}

void TfrmIncluirNotasTransporte::Cancelar()
{
    rbCIF->setChecked(true);
    if (!m_edicao->desfaz()) {
        Informa(*m_ctx.dialogos, QStringLiteral("Tente Novamente!"));
        btnCancelar->setFocus();
        return;
    }
    for (QLineEdit* e : {edtModelo, edtSerie, edtSubSerie, edtNumNtTransporte, edtObservacao})
        e->clear();
    zeraValores();
    ckbTransportadora->setChecked(false);
    ocioso();
}
