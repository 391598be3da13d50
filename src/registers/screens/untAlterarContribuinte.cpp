#include "registers/screens/untAlterarContribuinte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "widgets/untTelas.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "db/UntDTM.h"
#include "registers/screens/untAjudasCadastro.h"
#include "registers/untClsContador.h"
#include "registers/untClsContribuinte.h"
#include "core/untMascaras.h"

TfrmAlterarContribuinte::TfrmAlterarContribuinte(TContexto& ctx, ModoContribuinte modo, QWidget* parent)
    : TfrmCamposContribuinte(ctx, modo, parent)
{
    setObjectName(QStringLiteral("frmAlterarContribuinte"));
    setWindowTitle(ehContribuinte(modo) ? QStringLiteral("Alterar Contribuinte")
                                        : QStringLiteral("Alterar Cliente-Fornecedor"));
    btnConfirma->setText(QStringLiteral("Confirma"));
    // The number, the registration and the UF identify the party: shown, not changed here.
    for (QWidget* w : {static_cast<QWidget*>(rdgTpInscricao), static_cast<QWidget*>(edtCnpj),
                       static_cast<QWidget*>(edtCcicms), static_cast<QWidget*>(chkIsento),
                       static_cast<QWidget*>(cmbUF)})
        w->setEnabled(false);
    m_id = TContribuinte(*ctx.dtm).IdAtual();
}

void TfrmAlterarContribuinte::showEvent(QShowEvent* e)
{
    TfrmCamposContribuinte::showEvent(e);
    if (!m_carregado) {
        m_carregado = true;
        Carrega();
    }
}

void TfrmAlterarContribuinte::Carrega()
{
    try {
        TDataSet linha(m_ctx.dtm->conexao());
        linha.setCommandText(QStringLiteral("SELECT * FROM Contribuinte WHERE IDContribuinte =:IDContrib"));
        linha.setParam(QStringLiteral("IDContrib"), m_id);
        linha.open();
        if (linha.isEmpty())
            return;
        const QString numero = linha.asString(QStringLiteral("CNPJ"));
        const bool cnpj = numero.size() == 14;
        {
            const QSignalBlocker bloqueio(rbCnpj);
            (cnpj ? rbCnpj : rbCpf)->setChecked(true);
        }
        edtCnpj->setMascara(cnpj ? Mascaras::CnpjCompleto : Mascaras::CpfCompleto);
        edtCnpj->defineValor(numero);
        MostraSemCortar(edtRazaoSocial, linha.asString(QStringLiteral("RazaoSocial")));
        const QString ie = linha.asString(QStringLiteral("Ccicms"));
        {
            const QSignalBlocker bloqueio(chkIsento);
            chkIsento->setChecked(ie == QLatin1String("ISENTO"));
        }
        edtCcicms->setMascara(ie == QLatin1String("ISENTO") ? QString() : Mascaras::Inscricao);
        edtCcicms->defineValor(ie);
        MostraSemCortar(edtLogradouro, linha.asString(QStringLiteral("Logradouro")));
        edtNumero->defineValor(linha.asString(QStringLiteral("Numero")));
        MostraSemCortar(edtComplemento, linha.asString(QStringLiteral("Complemento")));
        MostraSemCortar(edtBairro, linha.asString(QStringLiteral("Bairro")));
        edtCep->defineValor(linha.asString(QStringLiteral("Cep")));
        MostraSemCortar(edtMunicipio, linha.asString(QStringLiteral("Municipio")));
        cmbUF->setCurrentText(linha.asString(QStringLiteral("UF")));
        edtFax->defineValor(linha.asString(QStringLiteral("Fax")));
        MostraSemCortar(edtContato, linha.asString(QStringLiteral("Contato")));
        edtFone->defineValor(linha.asString(QStringLiteral("Fone")));
        MostraSemCortar(edtEmail, linha.asString(QStringLiteral("Email")));
        TContador contador(*m_ctx.dtm, *m_ctx.dialogos);
        contador.CarregarContador(linha.asInteger(QStringLiteral("IdContador")));
        edtNomeContador->setText(contador.NomeContador());
    } catch (const EBancoDados& e) {
        Informa(*m_ctx.dialogos, e.mensagem());
    }
    edtRazaoSocial->setFocus();
}

void TfrmAlterarContribuinte::Confirma()
{
    TCamposContribuinte c = campos();
    c.idContador = contadorCarregado();
    TContribuinte registro(*m_ctx.dtm);
    if (const TFalha f = ChecaContribuinte(c, m_modo, registro); f.falhou()) {
        MostraFalha(*m_ctx.dialogos, this, f);
        return;
    }
    // Starting from the stored row keeps what this mode does not show (the accountant of a taxpayer reached
    // through the client/supplier list).
    if (registro.Carregar(m_id)) {
        PreparaContribuinte(c, m_modo, registro);
        if (registro.Alterar()) {
            Informa(*m_ctx.dialogos, QStringLiteral("Alterado com Sucesso."));
            Fechar();
            return;
        }
    }
    if (registro.Recusa().falhou())
        MostraFalha(*m_ctx.dialogos, this, registro.Recusa());
    else
        Informa(*m_ctx.dialogos, QString::fromUtf8("Erro na Alteração! Verifique os dados digitados."));
}

void TfrmAlterarContribuinte::Fechar()
{
    try {
        TContribuinte registro(*m_ctx.dtm);
        registro.ListarTipo(ehContribuinte(m_modo) ? QStringLiteral("C") : QStringLiteral("F"));
        m_ctx.dtm->ADODataSetVariavel.locate(QStringLiteral("IdContribuinte"), m_id);
    } catch (const EBancoDados&) {
    }
    accept();
}
