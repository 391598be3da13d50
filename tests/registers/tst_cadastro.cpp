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
    EXPECT_EQ(ChecaContador(c, false).mensagem, QString::fromUtf8("CRC Inválido!\nUtilize este formato: UF999999A9"))
        << "the change dialog does not take the preset for empty, but its asterisks are no CRC";
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

// ----- writing and deleting: what the engine really did decides, and nothing is cut or orphaned

namespace {

struct Gravacao : Cadastro {
    sqlite3* db() { return t.con->db(); }
    void executa(const QString& sql) { TBancoTeste::executaDireto(db(), sql); }
    int conta(const QString& sql) { return TBancoTeste::valorDireto(db(), sql).toInt(); }
    QString texto(const QString& sql) { return TBancoTeste::valorDireto(db(), sql).toString(); }
    int criaContador()
    {
        TContador c(*t.dtm, t.dialogos);
        c.CPF = "52998224725";
        c.CRC = "ZR123456S1";
        c.Nome = "ANA SOUZA";
        c.EMail = "ana@exemplo.com.br";
        c.Fone = "006133224455";
        EXPECT_TRUE(c.Incluir());
        return int(t.dtm->ADOCommand.ultimoIdInserido());
    }
};

} // namespace

TEST_F(Gravacao, AlterarOuExcluirSemLinhaFalha)
{
    const int contador = criaContador();
    TContador c(*t.dtm, t.dialogos);
    ASSERT_TRUE(c.CarregarContador(contador));
    c.IDContador = contador + 50;
    EXPECT_FALSE(c.Alterar()) << "no row has that id";
    c.IDContador = contador;
    EXPECT_TRUE(c.Alterar()) << "the same values written again still change the row";
    EXPECT_FALSE(c.Excluir(0));
    EXPECT_FALSE(c.Excluir(contador + 50));

    TContribuinte r(*t.dtm);
    PreparaContribuinte(completo(), ModoContribuinte::AlterarContribuinte, r);
    r.IdContribuinte = 0;
    EXPECT_FALSE(r.Alterar());
    EXPECT_FALSE(r.Excluir(0));
    const int id = inclui(completo(), ModoContribuinte::IncluirContribuinte);
    EXPECT_FALSE(r.Excluir(id + 50));
    EXPECT_TRUE(r.Excluir(id));
    EXPECT_FALSE(r.Excluir(id)) << "already gone";
    EXPECT_EQ(r.UltimoVinculo(), TVinculo::Nenhum);
}

TEST_F(Gravacao, AlteracaoSemCampoDeContadorGuardaOContadorGravado)
{
    const int contador = criaContador();
    TCamposContribuinte c = completo();
    c.idContador = contador;
    const int id = inclui(c, ModoContribuinte::IncluirContribuinte);

    // The client/supplier change has no accountant field: what it hands over says 0.
    TCamposContribuinte editado = completo();
    editado.idContador = 0;
    editado.razaoSocial = "Novo Nome";
    TContribuinte r(*t.dtm);
    ASSERT_TRUE(r.Carregar(id));
    PreparaContribuinte(editado, ModoContribuinte::AlterarClienteFornecedor, r);
    ASSERT_TRUE(r.Alterar());
    const QString sql = QStringLiteral("SELECT %1 FROM Contribuinte WHERE IdContribuinte = ") + QString::number(id);
    EXPECT_EQ(texto(sql.arg("RazaoSocial")), "NOVO NOME");
    EXPECT_EQ(conta(sql.arg("IdContador")), contador);
    EXPECT_EQ(texto(sql.arg("Tipo")), "C") << "the kind never changes";

    // The taxpayer's own change writes the accountant chosen.
    const int outro = criaContador();
    editado.idContador = outro;
    ASSERT_TRUE(r.Carregar(id));
    PreparaContribuinte(editado, ModoContribuinte::AlterarContribuinte, r);
    ASSERT_TRUE(r.Alterar());
    EXPECT_EQ(conta(sql.arg("IdContador")), outro);
    EXPECT_FALSE(r.Carregar(id + 50));
}

TEST_F(Gravacao, ValorMaisLargoQueAColunaERecusadoSemCortar)
{
    const int largura = Sql::larguraTexto(db(), "Contribuinte", "Email");
    ASSERT_GT(largura, 0);
    TCamposContribuinte c = completo();
    c.email = QString(largura - 8, QLatin1Char('a')) + "@b.com.br";
    ASSERT_EQ(c.email.size(), largura + 1);
    TContribuinte r(*t.dtm);
    PreparaContribuinte(c, ModoContribuinte::IncluirContribuinte, r);
    EXPECT_FALSE(r.Incluir());
    EXPECT_EQ(r.Recusa().mensagem, QString::fromUtf8("O campo E-Mail admite no máximo %1 caracteres (foram informados %2).")
                                       .arg(largura)
                                       .arg(largura + 1));
    EXPECT_EQ(r.Recusa().campo, "edtEmail");
    EXPECT_EQ(conta("SELECT COUNT(*) FROM Contribuinte"), 0);

    // Exactly the width is stored whole; a change that widens it again is refused and the row keeps its value.
    c.email = c.email.mid(1);
    const int id = inclui(c, ModoContribuinte::IncluirContribuinte);
    EXPECT_EQ(texto(QStringLiteral("SELECT Email FROM Contribuinte WHERE IdContribuinte = %1").arg(id)), c.email);
    TContribuinte alt(*t.dtm);
    ASSERT_TRUE(alt.Carregar(id));
    alt.Contato = QString(Sql::larguraTexto(db(), "Contribuinte", "Contato") + 1, QLatin1Char('X'));
    EXPECT_FALSE(alt.Alterar());
    EXPECT_EQ(alt.Recusa().campo, "edtContato");
    EXPECT_EQ(texto(QStringLiteral("SELECT Contato FROM Contribuinte WHERE IdContribuinte = %1").arg(id)), "MARIA");

    // The accountant's entity shows its refusal itself, as it does for the e-mail.
    TContador contador(*t.dtm, t.dialogos);
    contador.CPF = "52998224725";
    contador.CRC = "ZR123456S1";
    const int nome = Sql::larguraTexto(db(), "Contador", "Nome");
    contador.Nome = QString(nome + 1, QLatin1Char('N'));
    contador.EMail = "ana@exemplo.com.br";
    t.dialogos.esperaMensagem(QString::fromUtf8("O campo Nome admite no máximo %1 caracteres (foram informados %2).")
                                  .arg(nome)
                                  .arg(nome + 1));
    EXPECT_FALSE(contador.Incluir());
    EXPECT_EQ(contador.Recusa().campo, "edtRazaoSocial");
    EXPECT_EQ(conta("SELECT COUNT(*) FROM Contador"), 0);
    t.dialogos.verificaConsumo();
}

TEST_F(Gravacao, CrcSeguePadrao)
{
    for (const char* bom : {"ZR123456S", "ZR123456S1", "zr123456sa", " DF654321T "})
        EXPECT_TRUE(CrcValido(bom)) << bom;
    for (const char* ruim : {"ZR12", "ZR******S*", "Z1123456S", "ZR12345S", "ZR1234567S", "ZR123456", "ZR123456S12",
                             "ZR123456-1", "**123456S1", "ZR 123456S"})
        EXPECT_FALSE(CrcValido(ruim)) << ruim;

    TCamposContador c{"CPF", "52998224725", "Ana", "ZR12", "ana@exemplo.com.br", "006133224455"};
    const QString invalido = QString::fromUtf8("CRC Inválido!\nUtilize este formato: UF999999A9");
    for (bool inclusao : {true, false}) {
        EXPECT_EQ(ChecaContador(c, inclusao).mensagem, invalido);
        EXPECT_EQ(ChecaContador(c, inclusao).campo, "edtCrc");
    }
    c.crc = PresetCrc;
    EXPECT_EQ(ChecaContador(c, false).mensagem, invalido) << "asterisks are never stored";
    c.crc = "zr123456s";
    EXPECT_FALSE(ChecaContador(c, true).falhou());
    c.email = "sem-arroba";
    EXPECT_EQ(ChecaContador(c, true).campo, "edtEmail") << "the CRC comes before the e-mail";
}

TEST_F(Gravacao, ExclusaoRecusadaEnquantoAlgumaTabelaNomeiaALinha)
{
    const int contador = criaContador();
    TCamposContribuinte c = completo();
    c.idContador = contador;
    const int id = inclui(c, ModoContribuinte::IncluirContribuinte);

    TContador cont(*t.dtm, t.dialogos);
    EXPECT_FALSE(cont.Excluir(contador));
    EXPECT_EQ(cont.Recusa().mensagem, QString::fromUtf8("Erro na Exclusão.\nHá contribuintes que indicam este Contabilista!"));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM Contador"), 1);

    const struct {
        const char* insercao;
        const char* limpeza;
        TVinculo vinculo;
    } casos[] = {
        {"INSERT INTO NFCARGA (IDContribuinte, IDTomador) VALUES (0, %1)", "DELETE FROM NFCARGA", TVinculo::Documentos},
        {"INSERT INTO ZEL (IdContribuinte, Periodo) VALUES (%1, '202601')", "DELETE FROM ZEL", TVinculo::Declaracoes},
        {"INSERT INTO ZEL_EPP (IdContribuinte, Periodo) VALUES (%1, '202601')", "DELETE FROM ZEL_EPP",
         TVinculo::Declaracoes},
        {"INSERT INTO ZEL_SN (IdContribuinte, Periodo) VALUES (%1, '202601')", "DELETE FROM ZEL_SN",
         TVinculo::Declaracoes},
        {"INSERT INTO ZEL_PRGGOV (idContribuinte, periodo) VALUES (%1, '202601')", "DELETE FROM ZEL_PRGGOV",
         TVinculo::Declaracoes},
        {"INSERT INTO DadosAnuais (IdContribuinte, Ano) VALUES (%1, '2025')", "DELETE FROM DadosAnuais",
         TVinculo::DadosAnuais},
        {"INSERT INTO VornQuadroV (IdContribuinte, Valor) VALUES (%1, 10000)", "DELETE FROM VornQuadroV",
         TVinculo::QuadroV},
    };
    TContribuinte r(*t.dtm);
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.insercao);
        executa(QString::fromLatin1(caso.insercao).arg(id));
        EXPECT_EQ(r.VinculoDe(id), caso.vinculo);
        EXPECT_FALSE(r.Excluir(id));
        EXPECT_EQ(r.UltimoVinculo(), caso.vinculo);
        EXPECT_EQ(conta("SELECT COUNT(*) FROM Contribuinte"), 1);
        executa(QString::fromLatin1(caso.limpeza));
    }
    EXPECT_EQ(MensagemExclusaoRecusada(TVinculo::Declaracoes, "este Contribuinte"),
              QString::fromUtf8("Erro na Exclusão.\nHá declarações relacionadas a este Contribuinte!"));
    EXPECT_EQ(MensagemExclusaoRecusada(TVinculo::QuadroV, "esta empresa"),
              QString::fromUtf8("Erro na Exclusão.\nHá lançamentos do Quadro V relacionados a esta empresa!"));

    // Once nothing names them, both go: the taxpayer first, then its accountant.
    EXPECT_TRUE(r.Excluir(id));
    EXPECT_TRUE(cont.Excluir(contador));
    EXPECT_EQ(conta("SELECT COUNT(*) FROM Contador"), 0);
}

TEST_F(Gravacao, ExclusaoRecusadaMesmoSemAGuardaDoBanco)
{
    // A file opened without the deletion guard (a damaged one is left as it is) still keeps its documents' parties.
    const int id = inclui(completo(), ModoContribuinte::IncluirContribuinte);
    executa("DROP TRIGGER IF EXISTS trgContribuinteReferenciado");
    executa(QStringLiteral("INSERT INTO NotaFiscal (IdContribuinte, IdEmtDest) VALUES (0, %1)").arg(id));
    TContribuinte r(*t.dtm);
    EXPECT_FALSE(r.Excluir(id));
    EXPECT_EQ(r.UltimoVinculo(), TVinculo::Documentos);
    EXPECT_EQ(conta("SELECT COUNT(*) FROM Contribuinte"), 1);
}
