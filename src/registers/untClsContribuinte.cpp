#include "registers/untClsContribuinte.h"

#include "db/UntDTM.h"
#include "registers/untGravaCadastro.h"

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
    m_recusa = {};
    // Optional texts are stored without trailing blanks.
    const QList<TValorGravado> valores = {
        {"CNPJ", CNPJ, "CNPJ/CPF", "edtCnpj"},
        {"Ccicms", Ccicms, "Insc. Estadual", "edtCcicms"},
        {"RazaoSocial", RazaoSocial, "Razão Social", "edtRazaoSocial"},
        {"Logradouro", semBrancoFinal(Logradouro), "Endereço", "edtLogradouro"},
        {"Numero", semBrancoFinal(Numero), "Número", "edtNumero"},
        {"Complemento", semBrancoFinal(Complemento), "Complemento", "edtComplemento"},
        {"Bairro", semBrancoFinal(Bairro), "Bairro", "edtBairro"},
        {"Municipio", semBrancoFinal(Municipio), "Município", "edtMunicipio"},
        {"Cep", semBrancoFinal(Cep), "Cep", "edtCep"},
        {"UF", semBrancoFinal(UF), "UF", "cmbUF"},
        {"Fone", semBrancoFinal(Fone), "Fone", "edtFone"},
        {"Fax", semBrancoFinal(Fax), "Fone/Fax", "edtFax"},
        {"Contato", semBrancoFinal(Contato), "Contato", "edtContato"},
        {"Email", semBrancoFinal(Email), "E-Mail", "edtEmail"},
    };
    try {
        m_recusa = ChecaLarguras(m_dtm, QStringLiteral("Contribuinte"), valores);
    } catch (const EBancoDados& e) {
        m_recusa = {e.mensagem(), QString()};
    }
    if (m_recusa.falhou())
        return false;
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(sql);
    cmd.setParam(QStringLiteral("IdContador"), IdContador);
    for (const TValorGravado& v : valores)
        cmd.setParam(QString::fromLatin1(v.coluna), v.valor);
    if (comId)
        cmd.setParam(QStringLiteral("OLD_IdContribuinte"), IdContribuinte);
    else
        cmd.setParam(QStringLiteral("Tipo"), Tipo);
    return GravaUmaLinha(cmd);
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

TVinculo TContribuinte::VinculoDe(int id)
{
    struct TTabela {
        const char* nome;
        QStringList colunas;
        TVinculo vinculo;
    };
    // A party is named as the owner of a document or as its other side (issuer, recipient, carrier's
    // client); the declarations, annual data and Quadro V rows belong to a taxpayer.
    static const QList<TTabela> tabelas = {
        {"NotaFiscal", {"IdContribuinte", "IdEmtDest"}, TVinculo::Documentos},
        {"NFTRANSPORTE", {"IDContribuinte", "IDEmitente"}, TVinculo::Documentos},
        {"NFCARGA", {"IDContribuinte", "IDTomador", "IDDestino"}, TVinculo::Documentos},
        {"NOTATALAO", {"IDContribuinte"}, TVinculo::Documentos},
        {"CUPOMFISCAL", {"IDContribuinte"}, TVinculo::Documentos},
        {"ZEL", {"IdContribuinte"}, TVinculo::Declaracoes},
        {"ZEL_EPP", {"IdContribuinte"}, TVinculo::Declaracoes},
        {"ZEL_SN", {"IdContribuinte"}, TVinculo::Declaracoes},
        {"ZEL_PRGGOV", {"IdContribuinte"}, TVinculo::Declaracoes},
        {"DadosAnuais", {"IdContribuinte"}, TVinculo::DadosAnuais},
        {"VornQuadroV", {"IdContribuinte"}, TVinculo::QuadroV},
    };
    for (const TTabela& t : tabelas)
        if (AlgumaLinhaNomeia(m_dtm, QString::fromLatin1(t.nome), t.colunas, id))
            return t.vinculo;
    return TVinculo::Nenhum;
}

bool TContribuinte::Excluir(int id)
{
    try {
        m_vinculo = VinculoDe(id);
    } catch (const EBancoDados&) {
        m_vinculo = TVinculo::Nenhum;
        return false;
    }
    if (m_vinculo != TVinculo::Nenhum)
        return false;
    TComando& cmd = m_dtm.ADOCommand;
    cmd.setCommandText(QStringLiteral("delete from Contribuinte WHERE IdContribuinte = :OLD_IdContribuinte"));
    cmd.setParam(QStringLiteral("OLD_IdContribuinte"), id);
    return GravaUmaLinha(cmd);
}

QString MensagemExclusaoRecusada(TVinculo vinculo, const QString& quem)
{
    const QString inicio = QString::fromUtf8("Erro na Exclusão.");
    switch (vinculo) {
    case TVinculo::Documentos:
        return inicio + QStringLiteral("\nHá notas relacionadas a %1!").arg(quem);
    case TVinculo::Declaracoes:
        return inicio + QString::fromUtf8("\nHá declarações relacionadas a %1!").arg(quem);
    case TVinculo::DadosAnuais:
        return inicio + QString::fromUtf8("\nHá dados anuais relacionados a %1!").arg(quem);
    case TVinculo::QuadroV:
        return inicio + QString::fromUtf8("\nHá lançamentos do Quadro V relacionados a %1!").arg(quem);
    case TVinculo::Nenhum:
        break;
    }
    return inicio;
}

bool TContribuinte::Carregar(int id)
{
    TDataSet linha(m_dtm.conexao());
    linha.setCommandText(QStringLiteral("SELECT * FROM Contribuinte WHERE IdContribuinte = :Id"));
    linha.setParam(QStringLiteral("Id"), id);
    try {
        linha.open();
    } catch (const EBancoDados&) {
        return false;
    }
    if (linha.isEmpty())
        return false;
    auto texto = [&](const char* nome) { return linha.asString(QString::fromLatin1(nome)); };
    IdContribuinte = linha.asInteger(QStringLiteral("IdContribuinte"));
    IdContador = linha.asInteger(QStringLiteral("IdContador"));
    RazaoSocial = texto("RazaoSocial");
    CNPJ = texto("CNPJ");
    Ccicms = texto("Ccicms");
    Logradouro = texto("Logradouro");
    Numero = texto("Numero");
    Complemento = texto("Complemento");
    Bairro = texto("Bairro");
    Municipio = texto("Municipio");
    Cep = texto("Cep");
    UF = texto("UF");
    Email = texto("Email");
    Fone = texto("Fone");
    Fax = texto("Fax");
    Contato = texto("Contato");
    Tipo = texto("Tipo");
    return true;
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
