// Invoices: the save checks in their order, the rows written, the duplicate rule, deletion and the browse sums.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/untDatas.h"
#include "db/untSqlite.h"
#include "documents/untClsNotaFiscal.h"
#include "documents/untConsultasNotas.h"
#include "documents/untRegrasNotaFiscal.h"
#include "support/TBancoTeste.h"

namespace {

struct NotasFiscais : ::testing::Test {
    TBancoTeste t;
    int contribuinte = 0;
    int fornecedorLocal = 0;  // "ZR"
    int fornecedorFora = 0;   // "SP"
    int exterior = 0;         // "EX"
    const QDateTime agora{QDate(2026, 12, 9), QTime(10, 30, 0)};

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sqlite3* db = t.con->db();
        TBancoTeste::executaDireto(db, "INSERT INTO Contribuinte (RazaoSocial, UF, Tipo) VALUES ('CONTRIBUINTE', 'ZR', 'C'),"
                                       "('LOCAL', 'ZR', 'F'), ('PAULISTA', 'SP', 'F'), ('EXTERIOR', 'EX', 'F')");
        contribuinte = 1;
        fornecedorLocal = 2;
        fornecedorFora = 3;
        exterior = 4;
    }

    TCamposNota saida()
    {
        TCamposNota c;
        c.entrada = false;
        c.proprio = true;
        c.modelo = "01";
        c.serie = "1";
        c.numero = "123";
        c.emissao = QDate(2024, 5, 10);
        c.cfop = "5102";
        c.valorTotal = *Money::parse("1.000,00");
        c.idEmtDest = fornecedorLocal;
        c.ufEmtDest = "ZR";
        c.baseIcms = *Money::parse("1.000,00");
        c.aliquota = *Money::parse("17");
        c.valorIcms = ValorIcms(c.baseIcms, c.aliquota);
        return c;
    }

    // Runs the checks and, when they pass, the writing, as "&Salvar" does.
    TFalha salva(const TCamposNota& c, bool* gravou = nullptr)
    {
        const TSituacaoNota s = ChecaSituacaoNota(c);
        if (s.falha.falhou())
            return s.falha;
        TNotaFiscal n;
        const TFalha f = ChecaNota(c, s, contribuinte, agora, false, n);
        if (f.falhou())
            return f;
        QString foco;
        const bool ok = GravaNotasEntrada(*t.dtm, t.dialogos, n, s, &foco);
        if (gravou)
            *gravou = ok;
        return ok ? TFalha{} : TFalha{QStringLiteral("(gravação)"), foco};
    }

    int conta(const char* tabela)
    {
        return TBancoTeste::valorDireto(t.con->db(), QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabela)).toInt();
    }
};

QString campo(const TFalha& f) { return f.campo; }

} // namespace

TEST_F(NotasFiscais, GravaAsQuatroLinhasComOsValoresDoPrograma)
{
    TCamposNota c = saida();
    c.observacao = QString::fromUtf8("Devolução");
    c.aliquota = *Money::parse("12,5");
    c.valorIcms = ValorIcms(c.baseIcms, c.aliquota);
    c.regimeFonte = true;
    ASSERT_FALSE(salva(c).falhou());
    sqlite3* db = t.con->db();
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT Obs FROM NotaFiscal").toString(), "DEVOLUCAO");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT NumeroNF FROM NotaFiscal").toString(), "000123");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT Situacao || TipoNota || Emitente FROM NotaFiscal").toString(), "NSP");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT DtEmissao FROM NotaFiscal").toString(), "2024-05-10");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT DtUltAlteracao FROM NotaFiscal").toString(), "2026-12-09T10:30:00");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT AliquotaICMS FROM NFICMS").toString(), "1250");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT ValorICMS FROM NFICMS").toLongLong(), 1250000) << "125,00";
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT MVA FROM NFSUBSTRIB").toString(), "5");
    for (const char* tabela : {"NotaFiscal", "NFICMS", "NFIPI", "NFSUBSTRIB"})
        EXPECT_EQ(conta(tabela), 1) << tabela;
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM NFIPI I JOIN NotaFiscal N USING (IdNotaFiscal)").toInt(), 1);
}

TEST_F(NotasFiscais, VerificacoesNaOrdemComMensagemEFoco)
{
    TCamposNota c = saida();
    c.modelo = "02";
    c.serie = "UU";
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("Modelo de Nota Inválido!\nModelos válidos 01,04,06,21,22 e 55."));
    c.modelo = "01";
    EXPECT_EQ(campo(salva(c)), "edtSerie");
    for (const char* boa : {"1", "A1", "", "EU"}) {
        c.serie = boa;
        c.numero = "0";
        const TFalha f = salva(c);
        EXPECT_EQ(f.mensagem, QString::fromUtf8("Número da Nota Inválido!")) << boa;
        EXPECT_TRUE(f.esvazia);
    }
    c.serie = "A";
    EXPECT_EQ(campo(salva(c)), "edtSerie");
    c.serie = "1";
    c.numero = "12";

    // Before 2003: three-digit codes and no subseries for model 01.
    c.emissao = QDate(2002, 12, 15);
    c.subSerie = "1";
    EXPECT_EQ(campo(salva(c)), "edtSubSerie");
    c.subSerie = "";
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("CFOP Inválido para a Data informada!"));
    c.cfop = "512";
    c.emissao = QDate(2003, 1, 15);
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("CFOP Inválido para a Data informada!"));
    c.cfop = "1102";
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("CFOP Inválido para o Tipo da Nota!"));

    const QString ufInvalida = QString::fromUtf8("UF Inválida para CFOP informado!");
    c.cfop = "5102";
    c.idEmtDest = fornecedorFora;
    c.ufEmtDest = "SP";
    EXPECT_EQ(salva(c).mensagem, ufInvalida);
    c.cfop = "6102";
    c.ufEmtDest = "ZR";
    EXPECT_EQ(salva(c).mensagem, ufInvalida);
    c.ufEmtDest = "EX";
    EXPECT_EQ(salva(c).mensagem, ufInvalida);
    c.cfop = "7102";
    c.ufEmtDest = "SP";
    EXPECT_EQ(salva(c).mensagem, ufInvalida);
    c.cfop = "5904"; // needs no state check
    c.idEmtDest = 0;
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("Selecione o Remetente/Destinatário"));
    EXPECT_EQ(conta("NotaFiscal"), 0) << "no failing check writes anything";
    c.idEmtDest = fornecedorFora;
    EXPECT_FALSE(salva(c).falhou());
}

TEST_F(NotasFiscais, DuplicidadeConsideraAAliquota)
{
    TCamposNota c = saida();
    ASSERT_FALSE(salva(c).falhou());
    c.aliquota = *Money::parse("12");
    ASSERT_FALSE(salva(c).falhou());
    c.aliquota = *Money::parse("17");
    t.dialogos.esperaSimples(QString::fromUtf8("A nota 000123 já está cadastrada!\nem: 10/05/2024"));
    bool gravou = true;
    EXPECT_EQ(campo(salva(c, &gravou)), "edtModelo");
    EXPECT_FALSE(gravou);
    EXPECT_EQ(conta("NotaFiscal"), 2);
}

TEST_F(NotasFiscais, FaixaInutilizadaUmaLinhaPorNumero)
{
    TCamposNota c = saida();
    c.modelo = "55";
    c.nfe = SituacaoNFe::Inutilizado;
    c.numero = "lixo"; // ignored: the numbers come from the range
    c.idEmtDest = fornecedorFora;
    c.ufEmtDest = "SP";
    c.cfop = "";
    c.inicioFaixa = "";
    c.finalFaixa = "12";
    EXPECT_EQ(salva(c).campo, "edtInicioInutilizado");
    c.inicioFaixa = "13";
    const TFalha invertida = salva(c);
    EXPECT_TRUE(invertida.simples);
    EXPECT_EQ(invertida.mensagem, QString::fromUtf8("O valor inicial da faixa não pode ser superior ao final!"));
    c.inicioFaixa = "10";
    const TSituacaoNota s = ChecaSituacaoNota(c);
    EXPECT_EQ(s.pergunta, QString::fromUtf8("Confirma a inclusão da faixa de 10 a 12 de notas inutilizadas"));
    EXPECT_EQ(s.mensagemFinal, "Faixa de 10 a 12 de notas inutilizadas cadastradas com sucesso!");
    ASSERT_FALSE(salva(c).falhou());
    EXPECT_EQ(TBancoTeste::listaDireta(t.con->db(), "SELECT NumeroNF || Situacao || Cfop || IdEmtDest FROM NotaFiscal "
                                                    "ORDER BY NumeroNF"),
              (QStringList{"00001045949" + QString::number(contribuinte), "00001145949" + QString::number(contribuinte),
                           "00001245949" + QString::number(contribuinte)}));

    // A range that meets a stored number writes none of its rows.
    c.inicioFaixa = "8";
    c.finalFaixa = "11";
    t.dialogos.esperaSimples(QString());
    EXPECT_TRUE(salva(c).falhou());
    EXPECT_EQ(conta("NotaFiscal"), 3);
    EXPECT_EQ(conta("NFICMS"), 3);
}

TEST_F(NotasFiscais, FaixaInutilizadaSoNumerosInteirosDe1a999999)
{
    TCamposNota c = saida();
    c.modelo = "55";
    c.nfe = SituacaoNFe::Inutilizado;
    const QString inicio = QString::fromUtf8("Início da faixa de inutilizado inválido!\nInforme um número inteiro de 1 a 999999.");
    const QString final_ = QString::fromUtf8("Final da faixa de inutilizado inválido!\nInforme um número inteiro de 1 a 999999.");
    struct Caso {
        const char* de;
        const char* ate;
        QString mensagem;
        const char* campo;
    };
    // A sign, a separator, a digit of another script or a seventh digit would all reach the numbers written.
    const Caso recusados[] = {
        {"-2", "1", inicio, "edtInicioInutilizado"},     {"0", "5", inicio, "edtInicioInutilizado"},
        {"abc", "5", inicio, "edtInicioInutilizado"},    {"1.5", "5", inicio, "edtInicioInutilizado"},
        {"+3", "5", inicio, "edtInicioInutilizado"},     {"1 2", "5", inicio, "edtInicioInutilizado"},
        {"1000000", "1000001", inicio, "edtInicioInutilizado"},
        {"\u0663", "5", inicio, "edtInicioInutilizado"}, // ARABIC-INDIC DIGIT THREE
        {"1", "-3", final_, "edtFinalInutilizado"},      {"1", "0", final_, "edtFinalInutilizado"},
        {"1", "9x", final_, "edtFinalInutilizado"},      {"1", "1000000", final_, "edtFinalInutilizado"},
    };
    for (const Caso& k : recusados) {
        c.inicioFaixa = QString::fromUtf8(k.de);
        c.finalFaixa = QString::fromUtf8(k.ate);
        const TFalha f = salva(c);
        EXPECT_EQ(f.mensagem, k.mensagem) << k.de << " a " << k.ate;
        EXPECT_EQ(f.campo, k.campo) << k.de << " a " << k.ate;
    }
    EXPECT_EQ(conta("NotaFiscal"), 0);

    // The bounds themselves, leading zeros and surrounding blanks are numbers like any other.
    c.inicioFaixa = " 999998";
    c.finalFaixa = "999999 ";
    TSituacaoNota s = ChecaSituacaoNota(c);
    ASSERT_FALSE(s.falha.falhou()) << s.falha.mensagem.toStdString();
    EXPECT_EQ(s.primeiro, 999998);
    EXPECT_EQ(s.linhas, 2);
    c.inicioFaixa = "000001";
    c.finalFaixa = "1";
    s = ChecaSituacaoNota(c);
    ASSERT_FALSE(s.falha.falhou());
    EXPECT_EQ(s.linhas, 1);
    ASSERT_FALSE(salva(c).falhou());
    EXPECT_EQ(TBancoTeste::listaDireta(t.con->db(), "SELECT NumeroNF FROM NotaFiscal"), QStringList{"000001"});
}

TEST_F(NotasFiscais, PesquisaComMesForaDe1a12NaoEncontraNada)
{
    TCamposNota c = saida();
    ASSERT_FALSE(salva(c).falhou());
    TDataSet lista(*t.con);
    for (const char* mes : {"0", "-1", "-5", "13", "00"}) {
        const auto p = ConsultasNotas::periodo(mes, "2024");
        ConsultasNotas::AbreLista(lista, contribuinte, "S", p);
        EXPECT_TRUE(lista.isEmpty()) << "mes " << mes;
        EXPECT_EQ(ConsultasNotas::Resumo(*t.con, contribuinte, "S", p).quantidade, 0) << "mes " << mes;
    }
    ConsultasNotas::AbreLista(lista, contribuinte, "S", ConsultasNotas::periodo("05", "2024"));
    EXPECT_EQ(lista.recordCount(), 1);
    ConsultasNotas::AbreLista(lista, contribuinte, "S", ConsultasNotas::periodo("**", "2024"));
    EXPECT_EQ(lista.recordCount(), 1);
}

TEST_F(NotasFiscais, SituacoesEletronicasECancelada)
{
    TCamposNota c = saida();
    c.nfe = SituacaoNFe::Denegado;
    EXPECT_EQ(salva(c).mensagem, QString::fromUtf8("As situações de NFE só são permitidas para o modelo 55!"));
    c.cancelada = true;
    EXPECT_EQ(salva(c).campo, "edtEmissao");
    c.cancelada = false;
    c.modelo = "55";
    c.idEmtDest = 0;
    ASSERT_FALSE(salva(c).falhou()) << "a denied note names the taxpayer itself";
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT Situacao || Cfop FROM NotaFiscal").toString(), "25949");

    TCamposNota cancelada = saida();
    cancelada.cancelada = true;
    cancelada.extemporaneo = true;
    cancelada.mesZel = 6;
    cancelada.anoZel = 2024;
    cancelada.numero = "124";
    cancelada.emissao = QDate(2002, 3, 1);
    ASSERT_FALSE(salva(cancelada).falhou());
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT Situacao || Cfop || DtEmissao FROM NotaFiscal "
                                                    "WHERE NumeroNF = '000124'").toString(),
              "X5992024-06-01") << "the code follows the typed date's scheme";
}

TEST_F(NotasFiscais, ExtemporaneaContaNoMesEscolhido)
{
    TCamposNota c = saida();
    c.entrada = true;
    c.proprio = false;
    c.cfop = "1102";
    c.emissao = QDate(2006, 2, 20);
    c.extemporaneo = true;
    c.mesZel = 3;
    c.anoZel = 2006;
    ASSERT_FALSE(salva(c).falhou());
    EXPECT_EQ(TBancoTeste::valorDireto(t.con->db(), "SELECT DtEmissao || ' ' || DtUltAlteracao || Situacao FROM NotaFiscal")
                  .toString(),
              "2006-03-01 2006-02-20E");
    const auto marco = ConsultasNotas::Resumo(*t.con, contribuinte, "E", ConsultasNotas::periodo("3", "2006"));
    EXPECT_EQ(marco.quantidade, 1);
    EXPECT_EQ(ConsultasNotas::Resumo(*t.con, contribuinte, "E", ConsultasNotas::periodo("2", "2006")).quantidade, 0);
}

TEST_F(NotasFiscais, AlteracaoRecusaModelo55)
{
    TCamposNota c = saida();
    c.modelo = "55";
    TNotaFiscal n;
    const TSituacaoNota s = ChecaSituacaoNota(c);
    EXPECT_EQ(ChecaNota(c, s, contribuinte, agora, true, n).mensagem,
              QString::fromUtf8("Modelo de Nota Inválido! Modelos válidos 01,04,06,21 e 22."));
    c.modelo = "01";
    EXPECT_FALSE(ChecaNota(c, s, contribuinte, agora, true, n).falhou());
}

TEST_F(NotasFiscais, ExclusaoTudoOuNada)
{
    TCamposNota c = saida();
    ASSERT_FALSE(salva(c).falhou());
    c.numero = "124";
    ASSERT_FALSE(salva(c).falhou());
    TNotasFiscais notas(*t.dtm);
    // A refusal at the last statement takes back the lines deleted before it.
    TBancoTeste::executaDireto(t.con->db(), "CREATE TRIGGER recusa BEFORE DELETE ON NotaFiscal WHEN OLD.NumeroNF = '000124' "
                                            "BEGIN SELECT RAISE(ABORT, 'recusada'); END");
    QString erro;
    EXPECT_FALSE(notas.Excluir({1, 2}, &erro));
    EXPECT_EQ(erro, "recusada");
    for (const char* tabela : {"NotaFiscal", "NFICMS", "NFIPI", "NFSUBSTRIB"})
        EXPECT_EQ(conta(tabela), 2) << tabela;
    EXPECT_TRUE(notas.Excluir({1}));
    for (const char* tabela : {"NotaFiscal", "NFICMS", "NFIPI", "NFSUBSTRIB"})
        EXPECT_EQ(conta(tabela), 1) << tabela;
}

TEST_F(NotasFiscais, PesquisaEResumoDeixamForaCanceladasEInutilizadas)
{
    TCamposNota c = saida();
    const char* situacoes[] = {"N", "S", "X", "2", "4", "E"};
    int numero = 1;
    for (const char* s : situacoes) {
        c.numero = QString::number(numero++);
        ASSERT_FALSE(salva(c).falhou());
        TBancoTeste::executaDireto(t.con->db(), QStringLiteral("UPDATE NotaFiscal SET Situacao = '%1' WHERE NumeroNF = '%2'")
                                                    .arg(s).arg(c.numero.rightJustified(6, '0')));
    }
    c.emissao = QDate(2024, 6, 1); // another month
    c.numero = "99";
    ASSERT_FALSE(salva(c).falhou());

    TDataSet lista(*t.con);
    ConsultasNotas::AbreLista(lista, contribuinte, "S", ConsultasNotas::periodo("5", "2024"));
    EXPECT_EQ(lista.recordCount(), 6) << "the list shows every situation";
    ConsultasNotas::AbreLista(lista, contribuinte, "S", ConsultasNotas::periodo("**", "1990"));
    EXPECT_EQ(lista.recordCount(), 7) << "\"**\" lists every period whatever the year";
    ConsultasNotas::AbreLista(lista, contribuinte, "E", ConsultasNotas::periodo("5", "2024"));
    EXPECT_TRUE(lista.isEmpty());

    const auto r = ConsultasNotas::Resumo(*t.con, contribuinte, "S", ConsultasNotas::periodo("5", "2024"));
    EXPECT_EQ(r.quantidade, 2) << "N and E only";
    EXPECT_EQ(r.valorTotal.toString(), "2.000,00");
    EXPECT_EQ(r.valorIcms.toString(), "340,00");
    EXPECT_EQ(ConsultasNotas::Resumo(*t.con, contribuinte, "S", ConsultasNotas::periodo("**", "")).quantidade, 3);

    const auto barras = ConsultasNotas::Grafico(*t.con, contribuinte, "S", QDate(2024, 12, 20));
    ASSERT_EQ(barras.size(), 2);
    EXPECT_EQ(barras[0].mes, 5);
    EXPECT_EQ(barras[0].total.toString(), "2.000,00");
    EXPECT_EQ(barras[1].mes, 6);
    EXPECT_EQ(ConsultasNotas::InicioDoGrafico(QDate(2024, 12, 20)), QDate(2024, 4, 1));
    EXPECT_TRUE(ConsultasNotas::Grafico(*t.con, contribuinte, "S", QDate(2025, 6, 1)).isEmpty());
}
