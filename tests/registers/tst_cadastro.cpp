// The register entities and the order of the checks, over a temporary database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "registers/untClsContador.h"
#include "registers/untClsContribuinte.h"
#include "registers/untRegrasCadastro.h"
#include "support/TBancoTeste.h"

namespace {

// A registration of the home state: nine digits, the last the modulo-11 digit over the first eight.
QString ieDoEstado(const QString& oito)
{
    int s = 0;
    for (int i = 0; i < 8; ++i)
        s += (9 - i) * oito[i].digitValue();
    const int r = s % 11;
    return oito + QString::number(r < 2 ? 0 : 11 - r);
}

struct Cadastro : ::testing::Test {
    TBancoTeste t;
    void SetUp() override { ASSERT_EQ(t.con->Conectar(), "JET"); }

    TCamposContribuinte completo()
    {
        TCamposContribuinte c;
        c.tipoInscricao = "CNPJ";
        c.numero = "11222333000181";
        c.razaoSocial = QString::fromUtf8("Comércio Exemplo Ltda");
        c.ccicms = ieDoEstado("12345678");
        c.logradouro = "Rua A";
        c.numeroEndereco = "12";
        c.complemento = " ";
        c.bairro = "Centro";
        c.cep = "70000000";
        c.municipio = "Capital";
        c.uf = "ZR";
        c.fax = "61        ";
        c.contato = "Maria";
        c.fone = "006133224455";
        c.email = " a@b.com.br ";
        c.idContador = 1;
        return c;
    }
    TFalha checa(const TCamposContribuinte& c, ModoContribuinte m)
    {
        TContribuinte r(*t.dtm);
        return ChecaContribuinte(c, m, r);
    }
    int inclui(const TCamposContribuinte& c, ModoContribuinte m)
    {
        TContribuinte r(*t.dtm);
        PreparaContribuinte(c, m, r);
        EXPECT_TRUE(r.Incluir());
        return int(t.dtm->ADOCommand.ultimoIdInserido());
    }
};

} // namespace

TEST_F(Cadastro, InclusaoDeContribuinteVerificaNaOrdem)
{
    const auto C = ModoContribuinte::IncluirContribuinte;
    // Each step breaks the next check while the earlier ones still fail: the first failure wins.
    TCamposContribuinte c = completo();
    c.numero = "11222333000182";
    c.ccicms = "12121212121212";
    EXPECT_EQ(checa(c, C).mensagem, QString::fromUtf8("CNPJ Inválido!"));
    EXPECT_EQ(checa(c, C).campo, "edtCnpj");
    c.numero = "11222333000181";
    EXPECT_EQ(checa(c, C).campo, "edtCcicms");
    c.ccicms = ieDoEstado("12345678");
    c.razaoSocial = QString::fromUtf8("  &  ");
    c.logradouro = " ";
    EXPECT_EQ(checa(c, C).mensagem, "Obrigatório Preenchimento da Razao Social!") << "only a dropped character";
    c.razaoSocial = "Exemplo";
    EXPECT_EQ(checa(c, C).campo, "edtLogradouro");
    c.logradouro = "Rua A";
    c.numeroEndereco = "   ";
    c.uf = "zr";
    EXPECT_EQ(checa(c, C).mensagem, "Preencha o campo Complemento com \"S/N\"!");
    EXPECT_EQ(checa(c, C).campo, "edtNumero");
    c.complemento = "S/N";
    EXPECT_EQ(checa(c, C).campo, "cmbUF");
    c.uf = "ZR";
    c.cep = "7000000";
    EXPECT_EQ(checa(c, C).mensagem, QString::fromUtf8("CEP Inválido!"));
    c.cep = "70000000";
    c.fone = "0061   00000";
    EXPECT_EQ(checa(c, C).campo, "edtContato") << "the last five digits of the telephone are zeros";
    c.fone = "006133224455";
    c.idContador = 0;
    EXPECT_EQ(checa(c, C).mensagem, QString::fromUtf8("Contador Obrigatório!"));
    EXPECT_EQ(checa(c, C).campo, "btnSelcionaContador");
    c.idContador = 1;
    c.ccicms = ieDoEstado("12345678").left(8) + "0";
    if (c.ccicms == ieDoEstado("12345678"))
        c.ccicms = c.ccicms.left(8) + "1";
    EXPECT_EQ(checa(c, C).mensagem, QString::fromUtf8("Inscrição Estadual Inválida!"));
    c.ccicms = "000000000";
    EXPECT_EQ(checa(c, C).campo, "edtCcicms");
    c.ccicms = ieDoEstado("12345678");
    EXPECT_FALSE(checa(c, C).falhou());
}

TEST_F(Cadastro, DuplicidadeConsideraOTipo)
{
    const TCamposContribuinte c = completo();
    inclui(c, ModoContribuinte::IncluirContribuinte);
    const TFalha f = checa(c, ModoContribuinte::IncluirContribuinte);
    EXPECT_EQ(f.mensagem, QString::fromUtf8("Este Contribuinte já está cadastrado!"));
    EXPECT_EQ(f.campo, "edtCnpj");
    // The same party as a client or supplier is another row.
    EXPECT_FALSE(checa(c, ModoContribuinte::IncluirClienteFornecedor).falhou());
    // The same number with another registration is another establishment.
    TCamposContribuinte outra = c;
    outra.ccicms = ieDoEstado("87654321");
    EXPECT_FALSE(checa(outra, ModoContribuinte::IncluirContribuinte).falhou());
}

TEST_F(Cadastro, ValoresGuardados)
{
    TCamposContribuinte c = completo();
    c.razaoSocial = QString::fromUtf8("  Água & Cia  ");
    c.numeroEndereco = "";
    c.complemento = "s/n";
    c.logradouro = QString::fromUtf8("Avenida São João");
    const int id = inclui(c, ModoContribuinte::IncluirContribuinte);
    sqlite3* db = t.con->db();
    auto campo = [&](const char* nome) {
        return TBancoTeste::valorDireto(db, QStringLiteral("SELECT %1 FROM Contribuinte WHERE IdContribuinte = %2")
                                                .arg(nome).arg(id)).toString();
    };
    EXPECT_EQ(campo("RazaoSocial"), "AGUA  CIA");
    EXPECT_EQ(campo("Numero"), "00000");
    EXPECT_EQ(campo("Complemento"), "S/N");
    EXPECT_EQ(campo("Logradouro"), "AVENIDA SAO JOAO");
    EXPECT_EQ(campo("Email"), "a@b.com.br");
    EXPECT_EQ(campo("Fax"), "61") << "no trailing blanks are stored";
    EXPECT_EQ(campo("Tipo"), "C");
    EXPECT_EQ(campo("IdContador"), "1");

    // The change keeps characters the include drops.
    EXPECT_EQ(PreparaRazaoSocial(QString::fromUtf8("Água & Cia"), false), "AGUA & CIA");
    // A counterparty marked exempt.
    TCamposContribuinte f = completo();
    f.isento = true;
    f.ccicms = "ISENTO";
    EXPECT_FALSE(checa(f, ModoContribuinte::IncluirClienteFornecedor).falhou());
    TContribuinte r(*t.dtm);
    PreparaContribuinte(f, ModoContribuinte::IncluirClienteFornecedor, r);
    EXPECT_EQ(r.Ccicms, "ISENTO");
    EXPECT_EQ(r.IdContador, 0);
    EXPECT_EQ(r.Tipo, "F");
}

TEST_F(Cadastro, AlteracaoSoVerificaOQueMuda)
{
    TCamposContribuinte c = completo();
    c.numero = "123";        // never checked on change
    c.ccicms = "12121212121212";
    c.contato = " ";
    EXPECT_EQ(checa(c, ModoContribuinte::AlterarContribuinte).campo, "edtContato");
    EXPECT_FALSE(checa(c, ModoContribuinte::AlterarClienteFornecedor).falhou());
}

TEST_F(Cadastro, PesquisaComApostrofoEExclusaoRecusada)
{
    // An apostrophe is dropped on include, but the change dialog keeps it.
    TCamposContribuinte c = completo();
    const int id = inclui(c, ModoContribuinte::IncluirContribuinte);
    TContribuinte r(*t.dtm);
    c.razaoSocial = "D'agua Comercio";
    PreparaContribuinte(c, ModoContribuinte::AlterarContribuinte, r);
    r.IdContribuinte = id;
    ASSERT_TRUE(r.Alterar());
    r.Pesquisar("D'AGUA", "C");
    ASSERT_EQ(t.dtm->ADODataSetVariavel.recordCount(), 1);
    EXPECT_EQ(r.IdAtual(), id);
    r.Pesquisar("%' OR '1'='1", "C");
    EXPECT_EQ(t.dtm->ADODataSetVariavel.recordCount(), 0) << "typed text is never part of the statement";
    r.Pesquisar("agua", "F");
    EXPECT_EQ(t.dtm->ADODataSetVariavel.recordCount(), 0);
    r.Pesquisar("agua", "");
    EXPECT_EQ(t.dtm->ADODataSetVariavel.recordCount(), 1);

    TBancoTeste::executaDireto(t.con->db(), QStringLiteral("INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest) "
                                                           "VALUES (%1, %1)").arg(id));
    EXPECT_FALSE(r.Excluir(id));
    EXPECT_TRUE(r.LocalizarId(id));
    EXPECT_EQ(r.RazaoSocialAtual(), "D'AGUA COMERCIO");
    EXPECT_EQ(r.BuscarCNPJ("11222333000181"), "11222333000181");
    EXPECT_EQ(r.BuscarCNPJ("99999999999999"), "");
}

TEST_F(Cadastro, ContadorEmailEVerificacoes)
{
    TCamposContador c{"CPF", "52998224725", QString::fromUtf8(" José da Silva "), PresetCrc, "contato@contabil.com.br",
                      "006133224455"};
    EXPECT_EQ(ChecaContador(c, true).mensagem, QString::fromUtf8("Obrigatório Preenchimento do CRC!"));
    EXPECT_FALSE(ChecaContador(c, false).falhou()) << "the change dialog refuses only an empty CRC";
    c.crc = "df123456a";
    c.email = "contato.contabil.com.br";
    EXPECT_EQ(ChecaContador(c, true).campo, "edtEmail");
    c.email = "contato@contabil.com.br";
    c.numero = "52998224726";
    EXPECT_EQ(ChecaContador(c, true).mensagem, QString::fromUtf8("CPF Inválido!"));
    c.numero = "52998224725";

    TContador contador(*t.dtm, t.dialogos);
    PreparaContador(c, contador);
    EXPECT_TRUE(contador.Incluir());
    const int id = int(t.dtm->ADOCommand.ultimoIdInserido());
    TContador outro(*t.dtm, t.dialogos);
    ASSERT_TRUE(outro.CarregarContador(id));
    EXPECT_EQ(outro.NomeContador(), "JOSE DA SILVA");
    EXPECT_EQ(outro.CRC, "DF123456A");
    EXPECT_FALSE(outro.CarregarContador(id + 100));
    EXPECT_EQ(outro.IDContador, 0);
    EXPECT_TRUE(outro.Nome.isEmpty());

    // The entity checks the e-mail itself before writing anything.
    outro.EMail = "sem-arroba";
    t.dialogos.esperaMensagem(QString::fromUtf8("E-Mail do Contabilista inválido: sem-arroba"));
    EXPECT_FALSE(outro.Incluir());
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM Contador").toInt(), 1);
}
