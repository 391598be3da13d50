#include "registers/screens/untIncluirContador.h"

#include <QLineEdit>
#include <QPushButton>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "registers/untClsContador.h"
#include "core/untMascaras.h"

TfrmIncluirContador::TfrmIncluirContador(TContexto& ctx, QWidget* parent) : TfrmCamposContador(ctx, true, parent)
{
    setObjectName(QStringLiteral("frmIncluirContador"));
    setWindowTitle(QStringLiteral("Incluir Contabilista"));
    // Typing starts at the number, below the name: the name comes right after it, so that Enter from the
    // first field reaches every field before "Confirma" (the kind, chosen before the number, is the field
    // before it).
    MovimentoFixo(this, edtCnpj, edtRazaoSocial);
}

void TfrmIncluirContador::showEvent(QShowEvent* e)
{
    TfrmCamposContador::showEvent(e);
    if (PrimeiraExibicao(this, e))
        Limpa();
}

void TfrmIncluirContador::Limpa()
{
    edtCnpj->clear();
    edtCrc->setText(PresetCrc);
    edtRazaoSocial->setText(QStringLiteral(" "));
    edtEmail->setText(QStringLiteral(" "));
    edtFone->setText(QStringLiteral("00") + DddEstado);
    edtCnpj->setFocus();
}

void TfrmIncluirContador::Confirma()
{
    const TCamposContador c = campos();
    if (TFalha f = ChecaContador(c, true); f.falhou()) {
        EsvaziaNumeroRecusado(f);
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    TContador contador(*m_ctx.dtm, *m_ctx.dialogos);
    PreparaContador(c, contador);
    if (contador.Incluir()) {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Incluído com Sucesso."));
        Limpa();
    } else if (const TFalha& recusa = contador.Recusa(); recusa.falhou()) {
        // The entity has shown its message; the field concerned gets the focus.
        if (QWidget* campo = recusa.campo.isEmpty() ? nullptr : findChild<QWidget*>(recusa.campo))
            campo->setFocus();
    } else {
        Informa(*m_ctx.dialogos, QString::fromUtf8("Ocorreu erro na Inclusão do Contabilista.\n"
                                                   "Verifique se o CNPJ/CPF já está cadastrado."));
    }
}
