#include "registers/screens/untAlterarContador.h"

#include <QLineEdit>
#include <QRadioButton>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "registers/screens/untAjudasCadastro.h"
#include "registers/untClsContador.h"
#include "core/untMascaras.h"

TfrmAlterarContador::TfrmAlterarContador(TContexto& ctx, QWidget* parent)
    : TfrmCamposContador(ctx, false, parent), m_contador(std::make_unique<TContador>(*ctx.dtm, *ctx.dialogos))
{
    setObjectName(QStringLiteral("frmAlterarContador"));
    setWindowTitle(QStringLiteral("Alterar Contabilista"));
}

TfrmAlterarContador::~TfrmAlterarContador() = default;

void TfrmAlterarContador::showEvent(QShowEvent* e)
{
    TfrmCamposContador::showEvent(e);
    Carrega();
}

void TfrmAlterarContador::Carrega()
{
    m_contador->CarregarContador(m_contador->IDContador);
    const bool cnpj = m_contador->CPF.trimmed().size() == 14;
    {
        const QSignalBlocker bloqueio(rbCnpj);
        (cnpj ? rbCnpj : rbCpf)->setChecked(true);
    }
    edtCnpj->setMascara(cnpj ? Mascaras::CnpjDigitando : Mascaras::CpfDigitando);
    edtCnpj->defineValor(m_contador->CPF);
    MostraSemCortar(edtCrc, m_contador->CRC);
    MostraSemCortar(edtRazaoSocial, m_contador->Nome);
    MostraSemCortar(edtEmail, m_contador->EMail);
    edtFone->defineValor(m_contador->Fone);
    edtRazaoSocial->setFocus();
}

void TfrmAlterarContador::Confirma()
{
    const TCamposContador c = campos();
    if (const TFalha f = ChecaContador(c, false); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    PreparaContador(c, *m_contador);
    if (m_contador->Alterar()) {
        Informa(*m_ctx.dialogos, QStringLiteral("Alterado com Sucesso."));
        Fechar();
    } else {
        // The entity has shown why (the e-mail or a value too wide); a row that is gone shows nothing.
        const QString campo = m_contador->Recusa().campo;
        QWidget* foco = campo.isEmpty() ? nullptr : findChild<QWidget*>(campo);
        (foco ? foco : edtEmail)->setFocus();
    }
}
