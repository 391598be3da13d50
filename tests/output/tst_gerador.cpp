// The return-file writer over a temporary database: sections, counts, name, encoding and the failures that
// must leave no file behind; and zelcli gerar against the desktop path.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/untRelogio.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "output/untGeradorArquivo.h"
#include "output/untRegistros.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"

using namespace Registros;

namespace {

QString esp(int n) { return QString(n, QLatin1Char(' ')); }

QStringList linhas(const QByteArray& arquivo) { return QString::fromLatin1(arquivo).split(QStringLiteral("\r\n")); }

QStringList tipos(const QStringList& ls)
{
    QStringList r;
    for (const QString& l : ls)
        r << (l.startsWith("60") ? l.left(3) : l.left(2));
    return r;
}

struct Gerador : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2006, 9, 15), QTime(10, 0))};
    TProgressoGravado progresso;
    QTemporaryDir saida;
    // The parties of the documents below; the expected records take their numbers from here.
    const TCamposContribuinte contribuinte = [] {
        TCamposContribuinte c = Fixtura::Contribuinte();
        c.razaoSocial = "COMERCIAL EXEMPLO LTDA";
        c.logradouro = "RUA DAS FLORES";
        c.numeroEndereco = "45";
        c.complemento = "SALA 3";
        c.bairro = "CENTRO";
        c.municipio = "CIDADE EXEMPLO";
        c.cep = "01234567";
        c.fone = "001133335555";
        c.fax = "1133334444";
        c.contato = "JOSE";
        return c;
    }();
    const TCamposContribuinte cliente = Fixtura::Parte();
    const TCamposContribuinte transportadora = Fixtura::Transportadora();

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        // The registers as their screens take them: the taxpayer with its accountant, a client of the state,
        // a carrier of São Paulo, and a second taxpayer of the same office whose invoice stays out of the file.
        ASSERT_TRUE(TCadastroTeste(*t.dtm, t.dialogos).escritorio(contribuinte));
        // A sale with CFOP 5405 (IPI and a substitution line of zeros) and a purchase whose IPI line is all zeros.
        sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "SubSerie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 2, '2006-07-10', 'S', '01', '1', '', '000123', '5405', 'P', 12345600, 'N', '2006-07-10'),"
            "(2, 1, 3, '2006-07-20', 'E', '01', '2', '', '000045', '2102', 'T', 5000000, 'N', '2006-07-20'),"
            "(3, 1, 2, '2006-08-01', 'S', '01', '1', '', '000124', '5102', 'P', 1000000, 'N', '2006-08-01'),"
            "(4, 4, 2, '2006-07-10', 'S', '01', '1', '', '000900', '5102', 'P', 1000000, 'N', '2006-07-10')");
        sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 10000000, 1700000, 0, 2345600, '1700'), (2, 5000000, 350000, 0, 0, '0700'), "
            "(3, 1000000, 170000, 0, 0, '1700'), (4, 1000000, 170000, 0, 0, '1700')");
        sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES (1, 500000, 0, 0), (2, 0, 0, 0), "
            "(3, 100000, 0, 0), (4, 100000, 0, 0)");
        sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 0, 0, 0, '')");
        sql("INSERT INTO CUPOMFISCAL (IDCupomFiscal, IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
            "COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, T_DESC) VALUES "
            "(1, 1, '2006-07-15', 'BE0512SC560000012', '001', '2D', 100, 250, 45, 3, 1184567800, 1234567800, "
            "50000000, 0, 0, 0, 0, 150000, 0)");
        sql("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES (1, '1700', 30000000), "
            "(1, '0700', 20000000)");
        sql("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, NumeroFinal, "
            "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES "
            "(1, '2006-07-05', '02', 'D', '', 1, 150, 3000000, 3000000, 510000, 0, 0, '1700')");
        sql("INSERT INTO NFTRANSPORTE (IDNFTransporte, IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
            "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES "
            "(1, 1, 3, '2006-07-12', '08', 'U', '', '004567', '1352', 8000000, 8000000, 960000, 0, 0, '1', 'N')");
        sql("INSERT INTO NFCARGA (IDContribuinte, IDDestino, IDNotaTransporte, DtEmissao, ModeloNF, SerieNF, "
            "SubSerieNF, NumNF, ValorNF) VALUES (1, 2, 1, '2006-07-10', '01', '1', '', '000123', 12345600), "
            "(1, 2, 1, '2006-07-11', '01', '1', '', '000125', 1000000)");
        // The declarations the files are written for; the writer refuses a period without one.
        sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo) VALUES (1, '200605', 'N'), (1, '200212', 'N')");
        // The month's declarations hold what "Processa" takes from its documents, as saved ones do.
        TApuracaoNormal normal;
        ProcessaNormal(*t.con, 1, 7, 2006, normal);
        TZel zel(*t.dtm);
        zel.IdContribuinte = 1;
        zel.Periodo = "200607";
        zel.Tipo = "N";
        zel.valores = normal.valores();
        ASSERT_TRUE(zel.Incluir());
        TZelEPP epp(*t.dtm);
        epp.IdContribuinte = 1;
        epp.Periodo = "200607";
        epp.Tipo = "N";
        ProcessaEPP(*t.con, 1, 7, 2006, epp.apuracao);
        ASSERT_TRUE(epp.Incluir());
        sql("INSERT INTO ZEL_SN (IdContribuinte, Periodo, Tipo) VALUES (1, '200301', 'R')");
        sql("INSERT INTO DadosAnuais (IdContribuinte, Ano, Tipo, TipoRegimeContrib) VALUES (1, '2006', 'N', 1)");
    }

    void sql(const QString& comando) { TBancoTeste::executaDireto(t.con->db(), comando); }
    TGeradorArquivo gerador() { return TGeradorArquivo(*t.dtm, t.dialogos, progresso, relogio, 1); }
    QString arquivo(const QString& nome) const { return saida.filePath(nome); }
    QStringList pasta() const { return QDir(saida.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    // What the file's document records must be, from the rows above.
    QStringList esperadas() const
    {
        const TParte cliente{this->cliente.numero, this->cliente.ccicms, this->cliente.uf};
        const TParte transportador{transportadora.numero, transportadora.ccicms, transportadora.uf};
        TNotaArquivo compra;
        compra.dtEmissao = compra.dtUltAlteracao = QDate(2006, 7, 20);
        compra.modelo = "01"; compra.serie = "2"; compra.numeroNF = "000045"; compra.cfop = "2102";
        compra.emitente = "T"; compra.situacao = "N"; compra.aliquota = "0700";
        compra.valorTotal = Money::fromCents(50000);
        compra.baseIcms = Money::fromCents(50000);
        compra.valorIcms = Money::fromCents(3500);
        TNotaArquivo venda;
        venda.dtEmissao = venda.dtUltAlteracao = QDate(2006, 7, 10);
        venda.modelo = "01"; venda.serie = "1"; venda.numeroNF = "000123"; venda.cfop = "5405";
        venda.emitente = "P"; venda.situacao = "N"; venda.aliquota = "1700"; venda.mva = " ";
        venda.valorTotal = Money::fromCents(123456);
        venda.baseIcms = Money::fromCents(100000);
        venda.valorIcms = Money::fromCents(17000);
        venda.outrasIcms = Money::fromCents(23456);
        venda.valorIpi = Money::fromCents(5000);
        TCupomArquivo cupom;
        cupom.dtEmissao = QDate(2006, 7, 15);
        cupom.numSerie = "BE0512SC560000012"; cupom.numEquip = "001"; cupom.modelo = "2D";
        cupom.cooInicial = 100; cupom.cooFinal = 250; cupom.crz = 45; cupom.cro = 3;
        cupom.gtInicioDia = Money::fromCents(11845678);
        cupom.gtFimDia = Money::fromCents(12345678);
        cupom.vendaBruta = Money::fromCents(500000);
        TTalaoArquivo talao;
        talao.dtEmissao = QDate(2006, 7, 5);
        talao.modelo = "02"; talao.serie = "D"; talao.aliquota = "1700";
        talao.numeroInicial = 1; talao.numeroFinal = 150;
        talao.valorTotal = talao.baseIcms = Money::fromCents(30000);
        talao.valorIcms = Money::fromCents(5100);
        TTransporteArquivo cte;
        cte.dtEmissao = QDate(2006, 7, 12);
        cte.modelo = "08"; cte.serie = "U"; cte.numero = "004567"; cte.cfop = "1352";
        cte.modalidade = "1"; cte.situacao = "N";
        cte.valorTotal = cte.baseIcms = Money::fromCents(80000);
        cte.valorIcms = Money::fromCents(9600);
        TCargaArquivo c1{QDate(2006, 7, 10), "01", "1", "", "000123", Money::fromCents(123456)};
        TCargaArquivo c2{QDate(2006, 7, 11), "01", "1", "", "000125", Money::fromCents(10000)};
        return {Registro50(compra, transportador, "3"), Registro50(venda, cliente, "3"),
                Registro51(venda, cliente, "3"), Registro53(venda, cliente, "3"), Registro60M(cupom, "3"),
                Registro60A(cupom, "1700", Money::fromCents(300000), "3"),
                Registro60A(cupom, "0700", Money::fromCents(200000), "3"),
                Registro60A(cupom, "CANC", Money::fromCents(1500), "3"), Registro61(talao),
                Registro70(cte, transportador, "3"), Registro71(cte, transportador, c1, cliente, "3"),
                Registro71(cte, transportador, c2, cliente, "3")};
    }

    // A file already there under the chosen name.
    QByteArray antigo(const QString& caminho)
    {
        const QByteArray conteudo("arquivo anterior\r\n");
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        return conteudo;
    }
};

const QString cabecalho90 = QStringLiteral("90" "11222333000181" "123456789     ");

} // namespace

// ----- the whole file

TEST_F(Gerador, ArquivoCompletoDoMes)
{
    const QString caminho = arquivo("ZEL200607_123456789_331.txt");
    antigo(caminho);   // replaced without a question
    t.dialogos.esperaSalvar(caminho);
    auto g = gerador();
    ASSERT_TRUE(g.GerarArquivo("1", "200607", 1, "1")) << g.ultimoErro().toStdString();
    ASSERT_EQ(t.dialogos.registros().size(), 1);
    EXPECT_EQ(t.dialogos.registros()[0].texto, "ZEL200607_123456789_331.txt");

    const QByteArray bytes = TBancoTeste::conteudo(caminho);
    EXPECT_EQ(bytes.size(), 21 * 126 + 20 * 2);
    EXPECT_EQ(bytes.count("\r\n"), 20);
    EXPECT_EQ(bytes.count('\n'), 20);
    EXPECT_EQ(bytes.count('\r'), 20);
    EXPECT_FALSE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.back(), '1');

    const QStringList ls = linhas(bytes);
    ASSERT_EQ(ls.size(), 21);
    for (const QString& l : ls)
        EXPECT_EQ(l.size(), 126) << l.toStdString();
    EXPECT_EQ(tipos(ls), QStringList({"10", "11", "50", "50", "51", "53", "60M", "60A", "60A", "60A", "61", "70", "71",
                                      "71", "88", "88", "88", "88", "88", "88", "90"}));
    EXPECT_EQ(QStringList({ls[14].left(4), ls[15].left(4), ls[16].left(4), ls[17].left(4), ls[18].left(4),
                           ls[19].left(4)}),
              QStringList({"8801", "8802", "8804", "8805", "8815", "8816"}));
    // The taxpayer's accountant as registered: CPF, CRC in capitals, the name without its accents.
    EXPECT_EQ(ls[17], QString("8805") + "000" + Fixtura::Contador().numero + "ZR123456O9" +
                          "ANTONIO CARLOS DA CONCEICAO ARAUJO FILHO" + Fixtura::Contador().fone +
                          Fixtura::Contador().email + esp(6));
    EXPECT_EQ(ls[0], QString("10") + "11222333000181" + "123456789     " + "COMERCIAL EXEMPLO LTDA" + esp(11) + "  " +
                         "CIDADE EXEMPLO" + esp(16) + "ZR" + "1133334444" + "20060701" + "20060731" + "331");
    EXPECT_EQ(ls[1], QString("11") + "RUA DAS FLORES" + esp(20) + "00045" + "SALA 3" + esp(16) + "CENTRO" + esp(9) +
                         "01234567" + "JOSE" + esp(24) + "001133335555");
    EXPECT_EQ(ls.mid(2, 12), esperadas());
    // The purchase's line read from the database, field by field.
    EXPECT_EQ(ls[2], QString("50") + transportadora.numero + transportadora.ccicms.leftJustified(14) + "20060720" + "SP" +
                         "01" + "2  " + "000045" + "2102" + "T" + "0000000050000" + "0000000050000" + "0000000003500" + "0000000000000" +
                         "0000000000000" + "0700" + "N");
    EXPECT_EQ(ls[20], cabecalho90 + "50" + "00000002" + "51" + "00000001" + "53" + "00000001" + "60" + "00000004" + "61" +
                          "00000001" + "70" + "00000001" + "71" + "00000002" + "88" + "00000006" + "99" + "00000021" +
                          esp(5) + "1");
    EXPECT_EQ(pasta(), QStringList{"ZEL200607_123456789_331.txt"});
    EXPECT_EQ(progresso.inicios, 1);
    EXPECT_EQ(progresso.terminos, 1);
}

TEST_F(Gerador, NomeSugeridoPeloTipoDeDeclaracao)
{
    t.dialogos.esperaSalvar("").esperaSalvar("").esperaSalvar("");
    auto g = gerador();
    EXPECT_FALSE(g.GerarArquivo("7", "200607", 2, "1"));
    EXPECT_FALSE(g.GerarArquivo("3", "200301", 3, "2"));
    EXPECT_FALSE(g.GerarArquivo("1", "200212", 1, "1"));
    ASSERT_EQ(t.dialogos.registros().size(), 3);
    EXPECT_EQ(t.dialogos.registros()[0].texto, "EPP200607_123456789_331.txt");
    EXPECT_EQ(t.dialogos.registros()[1].texto, "SN200301_123456789_232.txt");
    EXPECT_EQ(t.dialogos.registros()[2].texto, "ZEL200212_123456789_131.txt");
    // A cancelled dialog writes nothing and starts no progress.
    EXPECT_TRUE(pasta().isEmpty());
    EXPECT_EQ(progresso.inicios, 0);
}

TEST_F(Gerador, DadosAnuaisSoCabecalhoETotais)
{
    const QString caminho = arquivo("DA.txt");
    t.dialogos.esperaSalvar(caminho);
    auto g = gerador();
    ASSERT_TRUE(g.GerarArquivo("1", "200609", 4, "1")) << g.ultimoErro().toStdString();
    EXPECT_EQ(t.dialogos.registros()[0].texto, "DA200609_123456789_331.txt");
    const QStringList ls = linhas(TBancoTeste::conteudo(caminho));
    ASSERT_EQ(ls.size(), 6);
    EXPECT_EQ(ls[0].mid(63, 2), "DA");
    EXPECT_EQ(ls[0].mid(107, 16), QString("20060901") + "20060915");
    // Right after record 11: the e-mail record, the accountant and the year's figures.
    EXPECT_EQ(ls[2].left(4), "8804");
    EXPECT_EQ(ls[3].left(4), "8805");
    EXPECT_EQ(ls[4].left(4), "8806");
    EXPECT_EQ(ls[5], cabecalho90 + "88" + "00000003" + "99" + "00000006" + esp(75) + "1");
    for (const QString& m : progresso.mensagens)
        EXPECT_FALSE(m.contains("Registro 88")) << m.toStdString();
}

TEST_F(Gerador, PeriodoSemDocumentos)
{
    const QString caminho = arquivo("vazio.txt");
    ASSERT_TRUE(gerador().GravaArquivo(caminho, "1", "200605", 1, "1"));
    const QByteArray bytes = TBancoTeste::conteudo(caminho);
    EXPECT_EQ(bytes.size(), 9 * 126 + 8 * 2);
    const QStringList ls = linhas(bytes);
    ASSERT_EQ(ls.size(), 9);
    EXPECT_EQ(tipos(ls), QStringList({"10", "11", "88", "88", "88", "88", "88", "88", "90"}));
    EXPECT_EQ(ls[0].mid(107, 16), QString("20060501") + "20060531");
    EXPECT_EQ(ls[8], cabecalho90 + "88" + "00000006" + "99" + "00000009" + esp(75) + "1");
}

TEST_F(Gerador, DeclaracaoRetificadoraDaOTipoAoArquivo)
{
    sql("UPDATE ZEL SET Tipo = 'R' WHERE Periodo = '200607'");
    const QString caminho = arquivo("ret.txt");
    auto g = gerador();
    // The type asked for must be the stored one: a normal file of a rectifying declaration is refused.
    t.dialogos.esperaSimples("");
    EXPECT_FALSE(g.GravaArquivo(caminho, "1", "200607", 1, "1"));
    EXPECT_TRUE(g.ultimoErro().contains("retificadora")) << g.ultimoErro().toStdString();
    EXPECT_FALSE(QFile::exists(caminho));
    ASSERT_TRUE(g.GravaArquivo(caminho, "1", "200607", 1, "")) << g.ultimoErro().toStdString();
    const QStringList ls = linhas(TBancoTeste::conteudo(caminho));
    ASSERT_EQ(ls.size(), 21);
    EXPECT_EQ(ls[0].right(3), "332");
    for (int i : {14, 15, 16})
        EXPECT_EQ(ls[i].mid(13, 7), "200607R") << ls[i].toStdString();
}

TEST_F(Gerador, PeriodoSemDeclaracaoRecusado)
{
    const QString caminho = arquivo("ZEL200608_123456789_331.txt");
    t.dialogos.esperaSimples("");
    auto g = gerador();
    // Refused before the save dialog is offered.
    EXPECT_FALSE(g.GerarArquivo("1", "200608", 1, "1"));
    ASSERT_EQ(t.dialogos.registros().size(), 1);
    EXPECT_EQ(t.dialogos.registros()[0].texto,
              QString::fromUtf8("A declaração do regime normal de 08/2006 não foi encontrada: o arquivo não foi gerado."));
    EXPECT_FALSE(g.cancelado());
    EXPECT_TRUE(pasta().isEmpty());
}

TEST_F(Gerador, NotaExtemporaneaDatadaPelaAlteracao)
{
    sql("UPDATE NotaFiscal SET Situacao = 'E', DtUltAlteracao = '2006-09-02' WHERE IdNotaFiscal = 1");
    sql("UPDATE NFTRANSPORTE SET Situacao = 'E', DtUltAlteracao = '2006-09-02'");
    const QString caminho = arquivo("e.txt");
    ASSERT_TRUE(gerador().GravaArquivo(caminho, "1", "200607", 1, "1"));
    const QStringList ls = linhas(TBancoTeste::conteudo(caminho));
    ASSERT_EQ(ls.size(), 21);
    for (int i : {3, 4, 5}) {
        EXPECT_EQ(ls[i].mid(30, 8), "20060902") << ls[i].toStdString();
        EXPECT_EQ(ls[i].at(ls[i].startsWith("53") ? 95 : 125), QLatin1Char('E'));
    }
    // Transport documents keep their date of issue whatever their situation.
    EXPECT_EQ(ls[11].mid(30, 8), "20060712");
    EXPECT_EQ(ls[11].right(1), "E");
}

TEST_F(Gerador, CargaSemDestinatarioTemCnpjZeradoEIeUfEmBranco)
{
    sql("UPDATE NFCARGA SET IDDestino = 0 WHERE NumNF = '000125'");
    const QString caminho = arquivo("c.txt");
    ASSERT_TRUE(gerador().GravaArquivo(caminho, "1", "200607", 1, "1"));
    bool achou = false;
    for (const QString& l : linhas(TBancoTeste::conteudo(caminho))) {
        if (!l.startsWith("71") || !l.contains("000125"))
            continue;
        achou = true;
        EXPECT_EQ(l.size(), 126);
        EXPECT_EQ(l.mid(51, 2), "  ") << "recipient's UF";
        EXPECT_EQ(l.mid(53, 14), "00000000000000") << "recipient's CNPJ";
        EXPECT_EQ(l.mid(67, 14), QString(14, QLatin1Char(' '))) << "recipient's IE";
    }
    EXPECT_TRUE(achou);
}

TEST_F(Gerador, TextoAcentuadoGravadoEmLatin1)
{
    sql(QString::fromUtf8("UPDATE Contribuinte SET RazaoSocial = 'AÇÚCAR & CIA', Contato = 'JOÃO' WHERE IdContribuinte = 1"));
    const QString caminho = arquivo("acento.txt");
    ASSERT_TRUE(gerador().GravaArquivo(caminho, "1", "200607", 1, "1"));
    const QByteArray bytes = TBancoTeste::conteudo(caminho);
    EXPECT_EQ(bytes.size(), 21 * 126 + 20 * 2);
    EXPECT_EQ(bytes.mid(30, 12), QByteArray("A\xC7\xDA" "CAR & CIA"));
    EXPECT_EQ(bytes.mid(126 + 2 + 86, 5), QByteArray("JO\xC3O "));
}

// ----- failures: a message naming the document, and no file

struct Falha {
    const char* nome;
    const char* comando;
    QStringList trechos;   // each must be in the message
};

void PrintTo(const Falha& f, std::ostream* os) { *os << f.nome; }

class GeradorFalha : public Gerador, public ::testing::WithParamInterface<Falha> {};

TEST_P(GeradorFalha, MensagemEArquivoExistenteIntacto)
{
    sql(QString::fromUtf8(GetParam().comando));
    const QString caminho = arquivo("ZEL200607_123456789_331.txt");
    const QByteArray anterior = antigo(caminho);
    auto g = gerador();
    // A damage that changes the month's figures is asked about first; going on, the file still fails.
    if (!g.DiferencasDosDocumentos("1", "200607", 1, "1").isEmpty())
        t.dialogos.esperaMensagem({}, Botao::Sim);
    t.dialogos.esperaSalvar(caminho).esperaSimples("");
    EXPECT_FALSE(g.GerarArquivo("1", "200607", 1, "1"));
    const QString mensagem = t.dialogos.registros().last().texto;
    EXPECT_EQ(t.dialogos.registros().last().tipo, "simples");
    EXPECT_EQ(mensagem, g.ultimoErro());
    for (const QString& trecho : GetParam().trechos)
        EXPECT_TRUE(mensagem.contains(trecho)) << mensagem.toStdString() << " / " << trecho.toStdString();
    EXPECT_EQ(TBancoTeste::conteudo(caminho), anterior);
    EXPECT_EQ(pasta(), QStringList{"ZEL200607_123456789_331.txt"});
    EXPECT_EQ(progresso.inicios, progresso.terminos);
}

INSTANTIATE_TEST_SUITE_P(
    Documentos, GeradorFalha,
    ::testing::Values(
        Falha{"ParteDesconhecida", "UPDATE NotaFiscal SET IdEmtDest = 99 WHERE IdNotaFiscal = 1",
              {"99", "nota fiscal", "000123", "10/07/2006"}},
        Falha{"ValorNegativo", "UPDATE NFICMS SET OutrasICMS = -100 WHERE IdNotaFiscal = 2",
              {"nota fiscal", "000045", "20/07/2006", "(-0,01)"}},
        Falha{"TresCasas", "UPDATE NFTRANSPORTE SET ValorTotal = 8000050",
              {"conhecimento", "004567", "12/07/2006", "(800,0050)"}},
        Falha{"ExtemporaneaSemDataReal",
              "UPDATE NotaFiscal SET Situacao = 'E', DtUltAlteracao = NULL WHERE IdNotaFiscal = 2",
              {"Data", "nota fiscal", "000045", "20/07/2006"}},
        Falha{"CargaSemData", "UPDATE NFCARGA SET DtEmissao = NULL WHERE NumNF = '000125'",
              {"Data", "000125", "conhecimento", "004567", "12/07/2006"}},
        Falha{"DestinoDaCargaDesconhecido", "UPDATE NFCARGA SET IDDestino = 77 WHERE NumNF = '000125'",
              {"77", "conhecimento", "004567", "12/07/2006"}},
        Falha{"EuroNaCarga", "UPDATE NFCARGA SET SerieNF = '€' WHERE NumNF = '000125'",
              {"conhecimento", "004567", "12/07/2006"}},
        Falha{"EuroNoCupom", "UPDATE CUPOMFISCAL SET NumSerie = 'BE€1'", {"cupom", "001", "15/07/2006"}},
        Falha{"ValorNegativoNaSerieD", "UPDATE NOTATALAO SET Outras = -100", {"D", "1 a 150", "05/07/2006"}},
        Falha{"CfopInvalido", "UPDATE NotaFiscal SET Cfop = 'X405' WHERE IdNotaFiscal = 1",
              {"X405", "nota fiscal", "000123", "10/07/2006"}}),
    [](const ::testing::TestParamInfo<Falha>& i) { return std::string(i.param.nome); });

TEST_F(Gerador, NomeDoContribuinteComEuroNaoAbreODialogo)
{
    sql(QString::fromUtf8("UPDATE Contribuinte SET RazaoSocial = 'COMÉRCIO € LTDA' WHERE IdContribuinte = 1"));
    t.dialogos.esperaSimples("");
    auto g = gerador();
    EXPECT_FALSE(g.GerarArquivo("1", "200607", 1, "1"));
    ASSERT_EQ(t.dialogos.registros().size(), 1);
    EXPECT_TRUE(t.dialogos.registros()[0].texto.contains(QString::fromUtf8("€")));
    EXPECT_TRUE(t.dialogos.registros()[0].texto.contains("registro 10"));

    const QString caminho = arquivo("x.txt");
    const QByteArray anterior = antigo(caminho);
    t.dialogos.esperaSimples("");
    EXPECT_FALSE(g.GravaArquivo(caminho, "1", "200607", 1, "1"));
    EXPECT_EQ(TBancoTeste::conteudo(caminho), anterior);
    EXPECT_EQ(pasta(), QStringList{"x.txt"});
}

// ----- zelcli gerar

TEST_F(Gerador, LinhaDeComandoGravaOMesmoArquivo)
{
    const QString desktop = arquivo("desktop.txt");
    t.dialogos.esperaSalvar(desktop);
    ASSERT_TRUE(gerador().GerarArquivo("1", "200607", 1, "1"));
    t.con->Fechar();

    auto zelcli = [&](const QString& ie, const QString& saidaCli) {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), {"gerar", "--pasta", t.pasta.path(), "--ie", ie, "--periodo", "200607",
                                         "--tipo", "ZEL", "--saida", saidaCli});
        EXPECT_TRUE(p.waitForFinished(60000));
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    };
    const QString cli = arquivo("cli.txt");
    ASSERT_EQ(zelcli("123456789", cli), 0);
    const QByteArray esperado = TBancoTeste::conteudo(desktop);
    ASSERT_EQ(esperado.size(), 21 * 126 + 20 * 2);
    EXPECT_EQ(TBancoTeste::conteudo(cli), esperado);

    const QString nada = arquivo("nada.txt");
    EXPECT_NE(zelcli("999999999", nada), 0);
    EXPECT_FALSE(QFile::exists(nada));
    EXPECT_EQ(pasta(), QStringList({"cli.txt", "desktop.txt"}));
}

TEST_F(Gerador, LinhaDeComandoMostraCadaErroUmaVez)
{
    sql("UPDATE NFTRANSPORTE SET ValorTotal = 8000050");
    t.con->Fechar();
    const QString destino = arquivo("cli.txt");
    QProcess p;
    p.start(QStringLiteral(ZELCLI), {"gerar", "--pasta", t.pasta.path(), "--ie", "123456789", "--periodo", "200607",
                                     "--tipo", "ZEL", "--saida", destino});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString erros = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(erros.count(QStringLiteral("800,0050")), 1) << erros.toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("zelcli gerar: ")) && erros.contains("conhecimento 004567"))
        << erros.toStdString();
    EXPECT_FALSE(QFile::exists(destino));
    EXPECT_TRUE(pasta().isEmpty());
}
