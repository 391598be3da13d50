#include "documents/screens/untAlterarNotasTransporte.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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

TfrmAlterarNotasTransporte::TfrmAlterarNotasTransporte(TContexto& ctx, int idNota, QWidget* parent)
    : TfrmCamposTransporte(ctx, true, parent), btnAlterar(m_btnPrimeiro)
{
    m_idNota = idNota;
    connect(btnAlterar, &QPushButton::clicked, this, &TfrmAlterarNotasTransporte::Alterar);
}

void TfrmAlterarNotasTransporte::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!PrimeiraExibicao(this, e))
        return;
    habilitaCabecalho(false);
    grbCarga->setEnabled(false);
    btnCancelar->setEnabled(false);
    btnSalvar->setEnabled(false);
    TNotaTransporte n;
    try {
        // By key and taxpayer: another taxpayer's key shows nothing and changes nothing.
        m_carregado = TNotasTransporte(*m_ctx.dtm).Carregar(m_idNota, m_ctx.IdAtivo, n);
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
    }
    if (!m_carregado) {
        m_idNota = 0;
        btnAlterar->setEnabled(false);
        btnFechar->setFocus();
        return;
    }
    mostra(n);
    leCargas();
    btnAlterar->setFocus();
}

void TfrmAlterarNotasTransporte::mostra(const TNotaTransporte& n)
{
    edtModelo->setText(n.Modelo.trimmed());
    edtSerie->setText(n.Serie.trimmed());
    edtSubSerie->setText(n.SubSerie.trimmed());
    edtNumNtTransporte->setText(n.Numero.trimmed());
    edtCodCFOP->setText(n.Cfop.trimmed());
    edtObservacao->setText(n.Obs.trimmed());
    edtEmissao->setDate(n.DtEmissao);
    curNTVlrTotal->defineValor(n.ValorTotal);
    curNTBaseCalc->defineValor(n.BaseCalcIcms);
    curNTValorIcms->defineValor(n.ValorIcms);
    curNTIsenta->defineValor(n.Isenta);
    curNTOutras->defineValor(n.Outras);
    m_parte->mostra(m_ctx, n.IDEmitente);
    m_idTomador = n.IDEmitente;
    (n.Modalidade.trimmed() == QLatin1String("1") ? rbCIF : rbFOB)->setChecked(true);
    chbSituacao->setChecked(n.Situacao.trimmed() == QLatin1String("S"));
}

void TfrmAlterarNotasTransporte::Alterar()
{
    if (!m_carregado || !m_edicao->inicia())
        return;
    m_cabecalhoGravado = false;
    habilitaCabecalho(true);
    grbCarga->setEnabled(!chbSituacao->isChecked());
    ckbTransportadora->setChecked(false);
    ckbTransportadora->setEnabled(true);
    dbgCarga->setEnabled(false);
    btnCancelar->setEnabled(true);
    btnSalvar->setEnabled(true);
    btnFechar->setEnabled(false);
    btnAlterar->setEnabled(false);
    edtModelo->setFocus();
}

bool TfrmAlterarNotasTransporte::gravaCabecalho()
{
    TChecagemTransporte r = ChecaNotaTransporte(campos(), m_ctx.IdAtivo, m_ctx.relogio->agora(), true);
    if (r.falha.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, r.falha);
        return false;
    }
    r.nota.IDNFTransporte = m_idNota;
    TNotasTransporte notas(*m_ctx.dtm);
    try {
        // Another document with the same party, model, number and code; the one being changed does not count.
        const QDate existente = notas.Duplicata(r.nota);
        if (existente.isValid()) {
            m_ctx.dialogos->mensagemSimples(QString::fromUtf8("Nota %1 já está cadastrada!\nem: %2.")
                                                .arg(r.nota.Numero, existente.toString(QStringLiteral("dd/MM/yyyy"))));
            edtModelo->setFocus();
            return false;
        }
    } catch (const EBancoDados& e) {
        m_ctx.dialogos->mensagemSimples(e.mensagem());
        return false;
    }
    if (!notas.Alterar(r.nota)) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
        return false;
    }
    m_idTomador = r.nota.IDEmitente;
    m_gravada = r.nota;
    cabecalhoGravado();
    btnSalvar->setEnabled(true);
    return true;
}

bool TfrmAlterarNotasTransporte::regravaCabecalho()
{
    // The duplicate check stands: the rollback brought back what it was made against.
    return TNotasTransporte(*m_ctx.dtm).Alterar(m_gravada);
}

void TfrmAlterarNotasTransporte::Salvar()
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
        // The changed header and the cargo notes stand as the screen showed them: "&Salvar" again commits.
        ckbTransportadora->setChecked(true);
        cabecalhoGravado();
        btnSalvar->setEnabled(true);
        return;
    case Confirmacao::Perdida:
        // The stored document is back as it was: the change is saved again from the fields.
        m_cabecalhoGravado = false;
        habilitaCabecalho(true);
        ckbTransportadora->setChecked(false);
        ckbTransportadora->setEnabled(true);
        dbgCarga->setEnabled(false);
        leCargas();
        edtModelo->setFocus();
        return;
    }
    fechaCargas();
    btnFechar->setEnabled(true);
    reject();
}

void TfrmAlterarNotasTransporte::Cancelar()
{
    if (!m_edicao->desfaz()) {
        Informa(*m_ctx.dialogos, QStringLiteral("Tente Novamente!"));
        btnCancelar->setFocus();
        return;
    }
    fechaCargas();
    btnFechar->setEnabled(true);
    reject();
}
