#include "registers/untClsContribuinte.h"

#include "db/UntDTM.h"

TContribuinte::TContribuinte(TDTM& dtm) : m_dtm(dtm)
{
    IdContribuinte = IdAtual();
}

QString TContribuinte::campoAtual(const char* nome) const
{
    const TDataSet& lista = m_dtm.ADODataSetVariavel;
    const QString campo = QString::fromLatin1(nome);
    if (!lista.active() || lista.isEmpty() || lista.fieldIndex(campo) < 0)
        return {};
    return lista.asString(campo);
}

int TContribuinte::IdAtual() const { return campoAtual("IdContribuinte").toInt(); }
QString TContribuinte::RazaoSocialAtual() const { return campoAtual("RazaoSocial"); }
QString TContribuinte::UFAtual() const { return campoAtual("UF"); }
QString TContribuinte::CNPJAtual() const { return campoAtual("CNPJ"); }

static QString semBrancoFinal(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    return s;
}

bool TContribuinte::grava(const QString& sql, bool comId)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(sql);
    cmd.setParam(QStringLiteral("IdContador"), IdContador);
    cmd.setParam(QStringLiteral("CNPJ"), CNPJ);
    cmd.setParam(QStringLiteral("Ccicms"), Ccicms);
    cmd.setParam(QStringLiteral("RazaoSocial"), RazaoSocial);
    // Optional texts are stored without trailing blanks.
    cmd.setParam(QStringLiteral("Logradouro"), semBrancoFinal(Logradouro));
    cmd.setParam(QStringLiteral("Numero"), semBrancoFinal(Numero));
    cmd.setParam(QStringLiteral("Complemento"), semBrancoFinal(Complemento));
    cmd.setParam(QStringLiteral("Bairro"), semBrancoFinal(Bairro));
    cmd.setParam(QStringLiteral("Municipio"), semBrancoFinal(Municipio));
    cmd.setParam(QStringLiteral("Cep"), semBrancoFinal(Cep));
    cmd.setParam(QStringLiteral("UF"), semBrancoFinal(UF));
    cmd.setParam(QStringLiteral("Fone"), semBrancoFinal(Fone));
    cmd.setParam(QStringLiteral("Fax"), semBrancoFinal(Fax));
    cmd.setParam(QStringLiteral("Contato"), semBrancoFinal(Contato));
    cmd.setParam(QStringLiteral("Email"), semBrancoFinal(Email));
    if (comId)
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
    else
        cmd.setParam(QStringLiteral("Tipo"), Tipo);
    return cmd.tentaExecutar();
}

bool TContribuinte::Incluir()
{
    return grava(QStringLiteral(
                     "insert into Contribuinte(IdContador, CNPJ, Ccicms, RazaoSocial, Logradouro, Numero,Complemento, "
                     "Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Email, Tipo) values (:IdContador, :CNPJ, :Ccicms, "
                     ":RazaoSocial, :Logradouro,:Numero, :Complemento, :Bairro, :Municipio, :Cep, :UF, :Fone,:Fax,"
                     ":Contato,:Email,:Tipo)"),
                 false);
}

bool TContribuinte::Alterar()
{
    return grava(QStringLiteral(
                     "update Contribuinte set IdContador = :IdContador, CNPJ = :CNPJ, Ccicms = :Ccicms, "
                     "RazaoSocial = :RazaoSocial, Logradouro = :Logradouro, Numero = :Numero, "
                     "Complemento = :Complemento, Bairro = :Bairro, Municipio = :Municipio, Cep = :Cep, UF = :UF, "
                     "Fone = :Fone, Fax = :Fax, Contato = :Contato, Email = :Email "
                     "where IdContribuinte = :OLD_IdContribuinte"),
                 true);
}

bool TContribuinte::Excluir(int id)
{
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from Contribuinte WHERE IdContribuinte = :OLD_IdContribuinte"));
    cmd.setParam(QStringLiteral("OLD_IdContribuinte"), id);
    return cmd.tentaExecutar();
}

bool TContribuinte::LocalizarId(int id)
{
    TDataSet& lista = m_dtm.ADODataSetVariavel;
    lista.setCommandText(QStringLiteral("select * from Contribuinte"));
    lista.open();
    lista.locate(QStringLiteral("IdContribuinte"), id);
    return true;
}

QString TContribuinte::BuscarCNPJ(const QString& cnpj)
{
    TDataSet& lista = m_dtm.ADODataSetVariavel;
    lista.setCommandText(QStringLiteral("select * from Contribuinte WHERE CNPJ =:strCnpj"));
    lista.setParam(QStringLiteral("strCnpj"), cnpj);
    lista.open();
    return lista.isEmpty() ? QString() : lista.asString(QStringLiteral("CNPJ"));
}

bool TContribuinte::JaCadastrado(const QString& cnpj, const QString& ie, const QString& uf, const QString& tipo)
{
    TDataSet consulta(m_dtm.conexao());
    consulta.setCommandText(QStringLiteral("select * from Contribuinte WHERE CNPJ = :strCnpj AND Ccicms = :strInsc "
                                           "AND UF = :strUF AND Tipo = :strTipo"));
    consulta.setParam(QStringLiteral("strCnpj"), cnpj);
    consulta.setParam(QStringLiteral("strInsc"), ie);
    consulta.setParam(QStringLiteral("strUF"), uf);
    consulta.setParam(QStringLiteral("strTipo"), tipo);
    consulta.open();
    return !consulta.isEmpty();
}

void TContribuinte::Pesquisar(const QString& texto, const QString& tipo)
{
    TDataSet& lista = m_dtm.ADODataSetVariavel;
    if (tipo.isEmpty()) {
        lista.setCommandText(QStringLiteral("SELECT * from Contribuinte WHERE RazaoSocial LIKE '%' || :Pesquisa || '%' "
                                            "ORDER BY RazaoSocial"));
    } else {
        lista.setCommandText(QStringLiteral("SELECT * from Contribuinte WHERE Tipo = :Tipo "
                                            "AND RazaoSocial LIKE '%' || :Pesquisa || '%' ORDER BY RazaoSocial"));
        lista.setParam(QStringLiteral("Tipo"), tipo);
    }
    lista.setParam(QStringLiteral("Pesquisa"), texto);
    lista.open();
}

void TContribuinte::ListarTipo(const QString& tipo, bool porId)
{
    TDataSet& lista = m_dtm.ADODataSetVariavel;
    lista.setCommandText(QStringLiteral("SELECT * from Contribuinte WHERE Tipo ='%1' ORDER BY %2")
                             .arg(tipo == QLatin1String("C") ? QStringLiteral("C") : QStringLiteral("F"),
                                  porId ? QStringLiteral("IdContribuinte") : QStringLiteral("RazaoSocial")));
    lista.open();
}
