// The number checks of the registers and the typed values of masked fields.
#include <gtest/gtest.h>

#include "registers/untValidaLote.h"
#include "registers/untValidacoes.h"
#include "support/TDialogosRoteiro.h"

TEST(Cnpj, DigitosVerificadores)
{
    EXPECT_TRUE(ValidaCNPJ("11222333000181"));
    EXPECT_FALSE(ValidaCNPJ("11222333000182"));
    EXPECT_FALSE(ValidaCNPJ("11222333000191"));
    EXPECT_TRUE(ValidaCNPJ("00000000000000")) << "fourteen zeros pass the rule as it stands";
    // Short, empty and non-numeric texts are simply invalid.
    EXPECT_FALSE(ValidaCNPJ(""));
    EXPECT_FALSE(ValidaCNPJ("112223330001"));
    EXPECT_FALSE(ValidaCNPJ("abcdefghijklmn"));
    // A non-digit counts as 0: "1122233300018x" is checked as if its 14th were 0, and fails.
    EXPECT_FALSE(ValidaCNPJ("1122233300018x"));
}

TEST(Cpf, DigitosVerificadores)
{
    EXPECT_TRUE(ValidaCPF("52998224725"));
    EXPECT_FALSE(ValidaCPF("52998224726"));
    EXPECT_FALSE(ValidaCPF("52998224715"));
    EXPECT_TRUE(ValidaCPF("00000000000"));
    EXPECT_TRUE(ValidaCPF("11111111111")) << "equal digits are not refused";
    EXPECT_FALSE(ValidaCPF("529982247"));
    EXPECT_FALSE(ValidaCPF("5299822472"));
    EXPECT_FALSE(ValidaCPF(""));
}

namespace {
int recusaTudo(const QString&, const QString&) { return 1; }
int aceitaTudo(const QString&, const QString&) { return 0; }
} // namespace

TEST(InscricaoEstadual, RegraPropriaDePernambucoSobreAConsulta)
{
    // The check refuses, but "00" + the number passes the CPF rule: accepted for PE only.
    EXPECT_TRUE(ValidaInscricaoEstadual("032141840", "PE", recusaTudo));
    EXPECT_FALSE(ValidaInscricaoEstadual("032141841", "PE", recusaTudo));
    EXPECT_FALSE(ValidaInscricaoEstadual("032141840", "SP", recusaTudo));
    EXPECT_TRUE(ValidaInscricaoEstadual("qualquer", "SP", aceitaTudo));
    EXPECT_FALSE(ValidaInscricaoEstadual("", "SP", aceitaTudo)) << "an empty number is never asked about";
    // With the program's own check.
    EXPECT_TRUE(ValidaInscricaoEstadual("032141840", "PE"));
    EXPECT_FALSE(ValidaInscricaoEstadual("032141841", "PE"));
}

TEST(UfCepEmail, RegrasSimples)
{
    EXPECT_TRUE(ValidaUF("EX"));
    EXPECT_TRUE(ValidaUF("ZR"));
    EXPECT_TRUE(ValidaUF("SP"));
    EXPECT_FALSE(ValidaUF("zr"));
    EXPECT_FALSE(ValidaUF("XX"));
    EXPECT_FALSE(ValidaUF(""));
    EXPECT_EQ(ListaUF().size(), 29);
    EXPECT_EQ(ListaUF().last(), "EX");

    EXPECT_FALSE(ValidaCEP("7000000"));
    EXPECT_TRUE(ValidaCEP("70000000"));
    EXPECT_TRUE(ValidaCEP(" 7000-00x "));

    EXPECT_EQ(ValidaEmailContador("   "), QString::fromUtf8("E-Mail do Contabilista não está informado!"));
    EXPECT_EQ(ValidaEmailContador("a@b.com"), "E-Mail do Contabilista incompleto: a@b.com");
    EXPECT_EQ(ValidaEmailContador("www.contabil.com.br"),
              QString::fromUtf8("E-Mail do Contabilista inválido: www.contabil.com.br"));
    EXPECT_EQ(ValidaEmailContador("contato@www.ab.com.br"),
              "Confira o E-Mail do Contabilista: contato@www.ab.com.br");
    EXPECT_TRUE(ValidaEmailContador("contato@contabil.com.br").isEmpty());
}

TEST(FiltraTexto, SoCaracteresAceitos)
{
    EXPECT_EQ(FiltraTexto(QString::fromUtf8("ÁGUA-MARINHA (LTDA)")), "GUA-MARINHA (LTDA)");
    EXPECT_EQ(FiltraTexto("A & B"), "A  B");
    EXPECT_EQ(FiltraTexto(",<>.;:/\\*-+(){}[]"), ",<>.;:/\\*-+(){}[]");
    EXPECT_FALSE(CaracterValido(QChar(0xE7)));
    EXPECT_FALSE(CaracterValido('\''));
    EXPECT_TRUE(CaracterValido(' '));
}

TEST(Mascaras, ValorSemLiterais)
{
    EXPECT_EQ(Mascaras::SemLiterais("11.222.333/0001-81", Mascaras::CnpjDigitando), "11222333000181");
    EXPECT_EQ(Mascaras::SemLiterais("529.982.247-25", Mascaras::CpfDigitando), "52998224725");
    // Blank positions become blanks, so a telephone keeps its twelve positions.
    EXPECT_EQ(Mascaras::SemLiterais("(0061)____-____", Mascaras::Fone), "0061        ");
    EXPECT_EQ(Mascaras::SemLiterais("(61)3322-4455", Mascaras::Fax), "6133224455");
    EXPECT_EQ(Mascaras::SemLiterais("70000-12_", Mascaras::Cep), "7000012 ");
    EXPECT_EQ(Mascaras::SemLiterais("DF123456A", Mascaras::Crc), "DF123456A ") << "the optional tenth stays a blank";
}

TEST(ValidaLote, LinhasDoComandoDeLinha)
{
    bool ok = false;
    EXPECT_EQ(ValidaLinhaLote("cnpj\t\t11.222.333/0001-81", &ok), "11.222.333/0001-81\tvalido");
    EXPECT_TRUE(ok);
    EXPECT_EQ(ValidaLinhaLote("CPF\t\t52998224726\r", &ok), "52998224726\tinvalido");
    EXPECT_TRUE(ok);
    EXPECT_EQ(ValidaLinhaLote("ie\tpe\t032141840", &ok), "032141840\tvalido");
    EXPECT_EQ(ValidaLinhaLote("cnpj\t\t1122233300018", &ok), "1122233300018\tinvalido") << "13 digits";
    for (const char* ruim : {"", "cnpj 11222333000181", "rg\tSP\t123", "cnpj\t\t", "ie\tSP\t1\textra"}) {
        EXPECT_TRUE(ValidaLinhaLote(ruim, &ok).isEmpty()) << ruim;
        EXPECT_FALSE(ok) << ruim;
    }
}
