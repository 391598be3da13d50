#include "support/TCadastroTeste.h"

#include <gtest/gtest.h>

#include "db/UntDTM.h"
#include "registers/untClsContador.h"
#include "registers/untClsContribuinte.h"

namespace Fixtura {

namespace {

// The modulus-11 digit over `digitos` with the weights running from `peso` down to 2 and back to 9.
int digitoMod11(const QString& digitos, int maiorPeso)
{
    int soma = 0;
    int peso = 2;
    for (qsizetype i = digitos.size() - 1; i >= 0; --i) {
        soma += digitos[i].digitValue() * peso;
        peso = peso == maiorPeso ? 2 : peso + 1;
    }
    const int r = soma % 11;
    return r < 2 ? 0 : 11 - r;
}

QString comDigitos(QString base, int digitos, int maiorPeso)
{
    for (int i = 0; i < digitos; ++i)
        base += QString::number(digitoMod11(base, maiorPeso));
    return base;
}

} // namespace

QString IeDoEstado(const QString& oito) { return comDigitos(oito, 1, 9); }
QString Cnpj(const QString& doze) { return comDigitos(doze, 2, 9); }
QString Cpf(const QString& nove) { return comDigitos(nove, 2, 11); }

TCamposContador Contador()
{
    TCamposContador c;
    c.tipoInscricao = QStringLiteral("CPF");
    c.numero = Cpf(QStringLiteral("529982247"));
    c.nome = QString::fromUtf8("Antônio Carlos da Conceição Araújo Filho");  // 40 characters
    c.crc = QStringLiteral("zr123456o9");
    c.email = QStringLiteral("contabil.araujo@escritoriosaojose.com.br");  // 40 characters
    c.fone = QStringLiteral("61 3322-4455");  // as older records keep it
    return c;
}

TCamposContribuinte Contribuinte()
{
    TCamposContribuinte c;
    c.tipoInscricao = QStringLiteral("CNPJ");
    c.numero = Cnpj(QStringLiteral("112223330001"));
    c.razaoSocial = QString::fromUtf8("Comércio de Materiais São José Ltda");  // 35 characters
    c.ccicms = IeDoEstado(QStringLiteral("12345678"));
    c.logradouro = QString::fromUtf8("Avenida das Araucárias Quadra 301");
    c.numeroEndereco = QStringLiteral("1250");
    c.complemento = QStringLiteral("Loja 3");
    c.bairro = QStringLiteral("Setor Central");
    c.cep = QStringLiteral("70390010");
    c.municipio = QStringLiteral("Capital do Estado");
    c.uf = QStringLiteral("ZR");
    c.fax = QStringLiteral("6133224456");
    c.contato = QString::fromUtf8("Maria das Graças Figueiredo");
    c.fone = QStringLiteral("006133224455");
    c.email = QStringLiteral("fiscal@materiaissaojose.com.br");  // 30 characters;
    return c;
}

TCamposContribuinte Parte(const QString& uf)
{
    TCamposContribuinte c;
    c.tipoInscricao = QStringLiteral("CNPJ");
    c.numero = Cnpj(QStringLiteral("445556660001"));
    c.razaoSocial = QStringLiteral("Distribuidora Planalto de Alimentos");  // 35 characters
    c.ccicms = IeDoEstado(QStringLiteral("98765432"));
    c.logradouro = QStringLiteral("Rodovia BR 060 Km 12");
    c.numeroEndereco = QString();
    c.complemento = QStringLiteral("S/N");
    c.bairro = QStringLiteral("Setor Industria");
    c.cep = QStringLiteral("72600000");
    c.municipio = QStringLiteral("Cidade do Planalto");
    c.uf = uf;
    c.fone = QStringLiteral("006134567890");
    return c;
}

TCamposContribuinte Transportadora()
{
    TCamposContribuinte c = Parte(QStringLiteral("SP"));
    c.numero = Cnpj(QStringLiteral("778889990001"));
    c.razaoSocial = QString::fromUtf8("Transportes Rodoviários Bandeirante");  // 35 characters
    c.ccicms = QStringLiteral("110042490114");
    c.logradouro = QString::fromUtf8("Rua Voluntários da Pátria");
    c.numeroEndereco = QStringLiteral("3400");
    c.complemento = QString();
    c.bairro = QStringLiteral("Santana");
    c.cep = QStringLiteral("02011300");
    c.municipio = QString::fromUtf8("São Paulo");
    c.fone = QStringLiteral("001122334455");
    return c;
}

TCamposContribuinte OutroContribuinte()
{
    TCamposContribuinte c = Contribuinte();
    c.numero = Cnpj(QStringLiteral("223334440001"));
    c.ccicms = IeDoEstado(QStringLiteral("55566677"));
    c.razaoSocial = QStringLiteral("OUTRO CONTRIBUINTE");
    return c;
}

} // namespace Fixtura

int TCadastroTeste::contador(const TCamposContador& c)
{
    if (const TFalha f = ChecaContador(c, true); f.falhou()) {
        ADD_FAILURE() << "accountant refused by its checks: " << f.mensagem.toStdString();
        return 0;
    }
    TContador contador(m_dtm, m_dialogos);
    PreparaContador(c, contador);
    if (!contador.Incluir()) {
        ADD_FAILURE() << "accountant refused by its save: " << contador.Recusa().mensagem.toStdString();
        return 0;
    }
    return int(m_dtm.ADOCommand.ultimoIdInserido());
}

int TCadastroTeste::inclui(const TCamposContribuinte& c, ModoContribuinte modo)
{
    TContribuinte registro(m_dtm);
    if (const TFalha f = ChecaContribuinte(c, modo, registro); f.falhou()) {
        ADD_FAILURE() << c.razaoSocial.toStdString() << " refused by its checks: " << f.mensagem.toStdString();
        return 0;
    }
    PreparaContribuinte(c, modo, registro);
    if (!registro.Incluir()) {
        ADD_FAILURE() << c.razaoSocial.toStdString() << " refused by its save: " << registro.Recusa().mensagem.toStdString();
        return 0;
    }
    return int(m_dtm.ADOCommand.ultimoIdInserido());
}

int TCadastroTeste::contribuinte(TCamposContribuinte c, int idContador)
{
    c.idContador = idContador;
    return inclui(c, ModoContribuinte::IncluirContribuinte);
}

int TCadastroTeste::contribuinte() { return contribuinte(Fixtura::Contribuinte(), contador()); }

int TCadastroTeste::parte(const TCamposContribuinte& c) { return inclui(c, ModoContribuinte::IncluirClienteFornecedor); }

bool TCadastroTeste::escritorio(const TCamposContribuinte& contribuinte)
{
    const int contador = this->contador();
    const int ids[] = {this->contribuinte(contribuinte, contador), parte(), parte(Fixtura::Transportadora()),
                       this->contribuinte(Fixtura::OutroContribuinte(), contador)};
    for (int i = 0; i < 4; ++i)
        if (ids[i] != i + 1) {
            ADD_FAILURE() << "party " << i + 1 << " of the office took the key " << ids[i];
            return false;
        }
    return true;
}
