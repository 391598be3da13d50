#include "registers/screens/untIncluirContribuinte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/untClsContribuinte.h"
#include "core/untMascaras.h"

TfrmIncluirContribuinte::TfrmIncluirContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent)
    : TfrmCamposContribuinte(ctx, modo, parent)
{
    setObjectName(QStringLiteral("frmIncluirContribuinte"));
    const bool contribuinte = ehContribuinte(modo);
    setWindowTitle(contribuinte ? QStringLiteral("Incluir Contribuinte") : QStringLiteral("Incluir Cliente-Fornecedor"));
    chkIsento->setEnabled(!contribuinte);
    btnConfirma->setText(QStringLiteral("&Salvar"));
}

void TfrmIncluirContribuinte::showEvent(QShowEvent* e)
{
    TfrmCamposContribuinte::showEvent(e);
    if (PrimeiraExibicao(this, e))
        Limpa();
}

void TfrmIncluirContribuinte::Limpa()
{
    for (QLineEdit* e : {static_cast<QLineEdit*>(edtRazaoSocial), static_cast<QLineEdit*>(edtCnpj),
                         static_cast<QLineEdit*>(edtCcicms), edtLogradouro, static_cast<QLineEdit*>(edtNumero),
                         edtBairro, edtMunicipio, static_cast<QLineEdit*>(edtCep)})
        e->clear();
    for (QLineEdit* e : {edtComplemento, edtEmail, edtContato, edtNomeContador})
        e->setText(QStringLiteral(" "));
    edtFone->setText(QStringLiteral("00") + DddEstado);
    edtFax->setText(DddEstado);
    edtCnpj->setFocus();
}

void TfrmIncluirContribuinte::Confirma()
{
    TCamposContribuinte c = campos();
    c.idContador = m_ctx.IdContadorEscolhido;
    TContribuinte registro(*m_ctx.dtm);
    TFalha f;
    try {
        f = ChecaContribuinte(c, m_modo, registro);
    } catch (const EBancoDados& e) {
        f = {e.mensagem(), QString()};
    }
    if (f.falhou()) {
        EsvaziaNumeroRecusado(f);
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    PreparaContribuinte(c, m_modo, registro);
    if (registro.Incluir()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Incluído com Sucesso!"));
        for (QLineEdit* e : findChildren<QLineEdit*>())
            if (e != cmbUF->lineEdit())
                e->setText(QStringLiteral(" "));
        edtRazaoSocial->clear();
        edtCnpj->setFocus();
    } else if (registro.Recusa().falhou()) {
        MostraFalha(*m_ctx.dialogos, this, registro.Recusa());
    } else {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Inclusão!\n- Verifique se empresa já está cadastrada\n"
                                                   "- Preencha todos os campos. "));
    }
}

void TfrmIncluirContribuinte::Fechar()
{
    try {
        TContribuinte registro(*m_ctx.dtm);
        if (ehContribuinte(m_modo)) {
            registro.ListarTipo(QStringLiteral("C"));
        } else {
            // The counterparty created last ends under the cursor, for the screen that wants to pick it.
            registro.ListarTipo(QStringLiteral("F"), true);
            TDataSet& lista = m_ctx.dtm->ADODataSetVariavel;
            lista.last();
            const int ultimo = lista.isEmpty() ? 0 : lista.asInteger(QStringLiteral("IdContribuinte"));
            registro.ListarTipo(QStringLiteral("F"));
            lista.locate(QStringLiteral("IdContribuinte"), ultimo);
        }
        m_ctx.dtm->LerContribuinteAtivo(m_ctx.IdAtivo);
    } catch (const EBancoDados&) { // the lists report their own failures when they refill
    }
    accept();
}
