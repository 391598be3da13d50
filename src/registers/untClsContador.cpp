#include "registers/untClsContador.h"

#include "core/DialogsNew.h"
#include "core/untFuncoes.h"
#include "db/UntDTM.h"
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
    const QString erroEmail = ValidaEmailContador(EMail);
    if (!erroEmail.isEmpty()) {
        Informa(m_dialogos, erroEmail);
        return false;
    }
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(sql);
    cmd.setParam(QStringLiteral("CPF"), CPF);
    cmd.setParam(QStringLiteral("CRC"), CRC.trimmed());
    cmd.setParam(QStringLiteral("Nome"), Nome);
    cmd.setParam(QStringLiteral("EMail"), EMail.trimmed());
    // Stored text carries no trailing blank.
    QString fone = Fone;
    while (fone.endsWith(QLatin1Char(' ')))
        fone.chop(1);
    cmd.setParam(QStringLiteral("Fone"), fone);
    if (comId)
        cmd.setParam(QStringLiteral("OLD_IDContador"), IDContador);
    return cmd.tentaExecutar();
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
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from Contador WHERE IdContador =:OLD_IDContador"));
    cmd.setParam(QStringLiteral("OLD_IDContador"), id);
    return cmd.tentaExecutar();
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
