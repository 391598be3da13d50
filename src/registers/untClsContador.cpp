#include "registers/untClsContador.h"

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "db/UntDTM.h"
#include "registers/untGravaCadastro.h"
#include "registers/untValidacoes.h"

TContador::TContador(TDTM& dtm, IDialogos& dialogos) : m_dtm(dtm), m_dialogos(dialogos)
{
    TDataSet& lista = m_dtm.ADODataSetContador;
    if (!lista.commandText().isEmpty() && !lista.active())
        lista.open();
    IDContador = IdAtual();
}

int TContador::IdAtual() const
{
    const TDataSet& lista = m_dtm.ADODataSetContador;
    if (!lista.active() || lista.isEmpty() || lista.fieldIndex(QStringLiteral("IDContador")) < 0)
        return 0;
    return lista.asInteger(QStringLiteral("IDContador"));
}

void TContador::preparaValores()
{
    Nome = RemoveAcentos(Nome).toUpper().trimmed();
    CPF = CPF.trimmed();
    CRC = CRC.toUpper().trimmed();
    EMail = EMail.trimmed();
}

bool TContador::executa(const QString& sql, bool comId)
{
    m_recusa = {};
    if (const QString erroEmail = ValidaEmailContador(EMail); !erroEmail.isEmpty()) {
        m_recusa = {erroEmail, QStringLiteral("edtEmail")};
        Informa(m_dialogos, erroEmail);
        return false;
    }
    // Stored text carries no trailing blank.
    QString fone = Fone;
    while (fone.endsWith(QLatin1Char(' ')))
        fone.chop(1);
    const QList<TValorGravado> valores = {
        {"CPF", CPF, "CPF / CNPJ", "edtCnpj"},
        {"CRC", CRC.trimmed(), "CRC", "edtCrc"},
        {"Nome", Nome, "Nome", "edtRazaoSocial"},
        {"EMail", EMail.trimmed(), "E-mail", "edtEmail"},
        {"Fone", fone, "Fone", "edtFone"},
    };
    try {
        m_recusa = ChecaLarguras(m_dtm, QStringLiteral("Contador"), valores);
    } catch (const EBancoDados& e) {
        m_recusa = {e.mensagem(), QString()};
    }
    if (m_recusa.falhou()) {
        Informa(m_dialogos, m_recusa.mensagem);
        return false;
    }
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(sql);
    for (const TValorGravado& v : valores)
        cmd.setParam(QString::fromLatin1(v.coluna), v.valor);
    if (comId)
        cmd.setParam(QStringLiteral("OLD_IDContador"), IDContador);
    return GravaUmaLinha(cmd);
}

bool TContador::Incluir()
{
    return executa(QStringLiteral("insert into Contador(CPF, CRC, Nome, EMail, Fone) VALUES (:CPF, :CRC, :Nome, :EMail, :Fone)"),
                   false);
}

bool TContador::Alterar()
{
    return executa(QStringLiteral("update Contador set CPF = :CPF, CRC = :CRC, Nome = :Nome, EMail = :EMail, "
                                  "Fone = :Fone where IDContador = :OLD_IDContador"),
                   true);
}

bool TContador::Excluir(int id)
{
    m_recusa = {};
    try {
        if (AlgumaLinhaNomeia(m_dtm, QStringLiteral("Contribuinte"), {QStringLiteral("IdContador")}, id)) {
            m_recusa = {QString::fromUtf8("Erro na Exclusão.\nHá contribuintes que indicam este Contabilista!"),
                        QString()};
            return false;
        }
    } catch (const EBancoDados& e) {
        m_recusa = {e.mensagem(), QString()};
        return false;
    }
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from Contador WHERE IdContador =:OLD_IDContador"));
    cmd.setParam(QStringLiteral("OLD_IDContador"), id);
    return GravaUmaLinha(cmd);
}

bool TContador::CarregarContador(int id)
{
    IDContador = 0;
    CPF.clear();
    CRC.clear();
    Nome.clear();
    Fone.clear();
    EMail.clear();
    try {
        TDataSet& lista = m_dtm.ADODataSetContador;
        lista.setCommandText(QStringLiteral("SELECT * FROM Contador WHERE IDContador =:IDCont"));
        lista.setParam(QStringLiteral("IDCont"), id);
        lista.open();
        if (lista.isEmpty())
            return false;
        IDContador = lista.asInteger(QStringLiteral("IDContador"));
        CPF = lista.asString(QStringLiteral("CPF"));
        CRC = lista.asString(QStringLiteral("CRC"));
        Nome = lista.asString(QStringLiteral("Nome"));
        Fone = lista.asString(QStringLiteral("Fone"));
        EMail = lista.asString(QStringLiteral("EMail"));
        return true;
    } catch (const EBancoDados&) {
        return false;
    }
}
