// Import of electronic invoices: the access key, the rows written for own and third-party notes, the
// counterparties registered, the situations, every refusal, zip archives, zelcli importa-nfe and the return file.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>
#include <zip.h>

#include "core/untRelogio.h"
#include "nfe/untImportaNFe.h"
#include "output/untGeradorArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TNFeTeste.h"

namespace {

using namespace nfeteste;
using Situacao = TResultadoNFe::Situacao;

struct ImportaNFe : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2024, 6, 3), QTime(9, 0))};
    QTemporaryDir arquivos;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sql("INSERT INTO Contribuinte (IdContribuinte, CNPJ, Ccicms, RazaoSocial, Logradouro, Numero, Complemento, "
            "Bairro, Municipio, Cep, UF, Fone, Fax, Contato, Tipo) VALUES "
            "(1, '11222333000181', '123456789', 'COMERCIAL EXEMPLO LTDA', 'RUA DAS FLORES', '45', 'SALA 3', 'CENTRO', "
            "'CIDADE EXEMPLO', '01234567', 'ZR', '1133335555', '1133334444', 'JOSE', 'C')");
    }

    void sql(const QString& comando) { TBancoTeste::executaDireto(t.con->db(), comando); }
    QVariant valor(const QString& consulta) { return TBancoTeste::valorDireto(t.con->db(), consulta); }
    QStringList lista(const QString& consulta) { return TBancoTeste::listaDireta(t.con->db(), consulta); }
    int conta(const char* tabela) { return valor(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabela)).toInt(); }

    QList<TResultadoNFe> importa(const QList<TArquivoNFe>& a)
    {
        TImportaNFe i(*t.dtm, relogio, 1);
        return i.Importa(a);
    }
    TResultadoNFe importaUm(const QByteArray& xml, const QString& nome = QStringLiteral("nota.xml"))
    {
        const QList<TResultadoNFe> r = importa({TArquivoNFe{nome, xml, {}}});
        return r.value(0);
    }
    QString grava(const QString& nome, const QByteArray& bytes)
    {
        const QString caminho = arquivos.filePath(nome);
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return caminho;
    }
    // Every stored row of a note as one text: invoice, ICMS, IPI and substitution lines.
    QStringList linhasDaNota(const QString& numero)
    {
        return lista(QStringLiteral(
                         "SELECT A.TipoNota || '|' || A.Emitente || '|' || A.Modelo || '|' || A.Serie || '|' || "
                         "A.NumeroNF || '|' || A.Cfop || '|' || A.DtEmissao || '|' || A.Situacao || '|' || "
                         "A.ValorTotalNota || '|' || B.AliquotaICMS || '|' || B.BaseCalculoICMS || '|' || B.ValorICMS || "
                         "'|' || B.IsentaICMS || '|' || B.OutrasICMS || '|' || C.ValorIPI || '|' || D.BaseCalculoSubst || "
                         "'|' || D.ICMSRetido FROM NotaFiscal A JOIN NFICMS B ON B.IdNotaFiscal = A.IdNotaFiscal "
                         "JOIN NFIPI C ON C.IdNotaFiscal = A.IdNotaFiscal JOIN NFSUBSTRIB D ON D.IdNotaFiscal = "
                         "A.IdNotaFiscal WHERE A.NumeroNF = '%1' ORDER BY A.IdNotaFiscal")
                         .arg(numero));
    }
};

} // namespace

TEST(ChaveNFe, DigitoVerificadorModulo11)
{
    // Computed apart from the program: remainders 2..10 give 11 - remainder; 0 and 1 give 0.
    EXPECT_TRUE(ChaveNFeValida("53240511222333000181550010000001231000000013"));
    EXPECT_TRUE(ChaveNFeValida("53240511222333000181550010000001231000000030")); // remainder 1
    EXPECT_TRUE(ChaveNFeValida("53240511222333000181550010000001231000000080")); // remainder 0
    EXPECT_EQ(DigitoChaveNFe("5324051122233300018155001000000123100000001"), 3);
    for (const char* errada : {"53240511222333000181550010000001231000000014", "53240511222333000181550010000001231000000031",
                               "5324051122233300018155001000000123100000001", "5324051122233300018155001000000123100000001a",
                               "532405112223330001815500100000012310000000133", ""})
        EXPECT_FALSE(ChaveNFeValida(errada)) << errada;
    EXPECT_EQ(DigitoChaveNFe("532405112223330001815500100000012310000000x"), -1);
}

TEST_F(ImportaNFe, VendaPropriaAgrupaPorCfopEAliquota)
{
    const TResultadoNFe r = importaUm(xmlNota(vendaVariada()));
    ASSERT_EQ(r.situacao, Situacao::Importado) << r.motivo.toStdString();
    EXPECT_EQ(r.idsNotas.size(), 4);
    // Groups in the order their first item appears; amounts in ten-thousandths. The late-evening emission keeps
    // its own date, the frete and the discount go into the 17 % group, the earlier-withheld ICMS into nothing.
    // The IPI and the frete less the discount lie outside the base: other amounts, so that the row adds up.
    EXPECT_EQ(linhasDaNota("000123"),
              QStringList({"S|P|55|1|000123|5102|2024-05-10|N|11550000|1700|11000000|1870000|0|550000|500000|0|0",
                           "S|P|55|1|000123|5102|2024-05-10|N|5000000|1200|5000000|600000|0|0|0|0|0",
                           "S|P|55|1|000123|5102|2024-05-10|N|2000000|0|0|0|2000000|0|0|0|0",
                           "S|P|55|1|000123|5405|2024-05-10|N|3000000|0|0|0|0|3000000|0|0|0"}));
    EXPECT_EQ(valor("SELECT SUM(ValorTotalNota) FROM NotaFiscal").toLongLong(), 21550000);
    // The client came from the file, through the register's own preparation, in the taxpayer's own state.
    EXPECT_EQ(lista("SELECT CNPJ || '|' || Ccicms || '|' || RazaoSocial || '|' || Logradouro || '|' || Numero || '|' || "
                    "Complemento || '|' || Bairro || '|' || Cep || '|' || UF || '|' || Tipo FROM Contribuinte "
                    "WHERE IdContribuinte <> 1"),
              QStringList({"44555666000181|100000010|COMERCIO SAO JOAO LTDA|RUA DAS ACACIAS|00045|LOJA 2|ASA SUL|"
                           "70000000|ZR|F"}));
    EXPECT_EQ(lista("SELECT DISTINCT IdEmtDest FROM NotaFiscal"), QStringList({"2"}));
}

TEST_F(ImportaNFe, EntradaDeTerceiroComIpiESubstituicao)
{
    const TResultadoNFe r = importaUm(xmlNota(compraSP()));
    ASSERT_EQ(r.situacao, Situacao::Importado) << r.motivo.toStdString();
    // The emitter's exit codes become the taxpayer's entry codes; the substitution charged counts in the total,
    // and with the IPI it is booked as other amounts.
    EXPECT_EQ(linhasDaNota("004567"),
              QStringList({"E|T|55|2|004567|2401|2024-05-10|N|11480000|1200|10000000|1200000|0|1480000|1000000|14000000|480000",
                           "E|T|55|2|004567|2102|2024-05-10|N|2500000|1200|2500000|300000|0|0|0|0|0"}));
    EXPECT_EQ(lista("SELECT CNPJ || '|' || Ccicms || '|' || RazaoSocial || '|' || UF FROM Contribuinte WHERE Tipo = 'F'"),
              QStringList({"77888999000181|110042490114|INDUSTRIA PAULISTA S.A.|SP"}));
}

TEST_F(ImportaNFe, DestinatarioPessoaFisicaEExterior)
{
    TNotaTeste cpf = vendaSimples(10);
    cpf.destTag = "CPF";
    cpf.destinatario = "52998224725";
    cpf.ieDestinatario.clear();
    cpf.nomeDestinatario = QString::fromUtf8("José da Silva");

    TNotaTeste exterior = vendaSimples(11);
    exterior.destTag = "idEstrangeiro";
    exterior.destinatario = "A123456";
    exterior.ufDestinatario = "EX";
    exterior.ieDestinatario.clear();
    exterior.cepDestinatario.clear();
    exterior.nomeDestinatario = "Foreign Buyer Inc";
    exterior.itens[0].cfop = "7101";
    exterior.itens[0].cst = "41";
    exterior.itens[0].vBC = exterior.itens[0].pICMS = exterior.itens[0].vICMS = QString();

    const QList<TResultadoNFe> r = importa({{"cpf.xml", xmlNota(cpf), {}}, {"exterior.xml", xmlNota(exterior), {}}});
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0].situacao, Situacao::Importado) << r[0].motivo.toStdString();
    EXPECT_EQ(r[1].situacao, Situacao::Importado) << r[1].motivo.toStdString();
    EXPECT_EQ(lista("SELECT CNPJ || '|' || Ccicms || '|' || RazaoSocial || '|' || Numero || '|' || Complemento || '|' || "
                    "Cep || '|' || UF FROM Contribuinte WHERE Tipo = 'F' ORDER BY IdContribuinte"),
              QStringList({"52998224725|ISENTO|JOSE DA SILVA|00045|LOJA 2|70000000|ZR",
                           "00000000000000|ISENTO|FOREIGN BUYER INC|00000|S/N LOJA 2|00000000|EX"}));
    EXPECT_EQ(linhasDaNota("000011"), QStringList({"S|P|55|1|000011|7101|2024-05-10|N|1000000|0|0|0|1000000|0|0|0|0"}));
}

TEST_F(ImportaNFe, DenegadaECanceladaComoATelaGrava)
{
    TNotaTeste denegada = vendaSimples(20);
    denegada.cStat = "302";
    const TNotaTeste cancelada = vendaSimples(21);
    const QList<TResultadoNFe> r = importa({{"denegada.xml", xmlNota(denegada), {}},
                                            {"evento.xml", xmlCancelamento(chaveDe(cancelada)), {}},
                                            {"cancelada.xml", xmlNota(cancelada), {}}});
    ASSERT_EQ(r.size(), 3);
    for (const TResultadoNFe& x : r)
        EXPECT_EQ(x.situacao, Situacao::Importado) << x.arquivo.toStdString() << ": " << x.motivo.toStdString();
    EXPECT_TRUE(r[2].descricao.contains("cancelada")) << r[2].descricao.toStdString();
    // The taxpayer itself as the other party, the generic exit code, no amounts; no counterparty registered.
    EXPECT_EQ(linhasDaNota("000020"), QStringList({"S|P|55|1|000020|5949|2024-05-10|2|0|0|0|0|0|0|0|0|0"}));
    EXPECT_EQ(linhasDaNota("000021"), QStringList({"S|P|55|1|000021|5949|2024-05-10|S|0|0|0|0|0|0|0|0|0"}));
    EXPECT_EQ(lista("SELECT DISTINCT IdEmtDest FROM NotaFiscal"), QStringList({"1"}));
    EXPECT_EQ(conta("Contribuinte"), 1);

    // The event again on its own only confirms what is stored; for a note never imported it is refused.
    const TResultadoNFe denovo = importaUm(xmlCancelamento(chaveDe(cancelada)), "evento.xml");
    EXPECT_EQ(denovo.situacao, Situacao::Duplicado) << denovo.motivo.toStdString();
    const TResultadoNFe sozinho = importaUm(xmlCancelamento(chaveDe(vendaSimples(99))), "outro.xml");
    EXPECT_EQ(sozinho.situacao, Situacao::Recusado);
    EXPECT_TRUE(sozinho.motivo.contains("não está entre os arquivos")) << sozinho.motivo.toStdString();
    // A cancellation of a note stored as authorised is not applied behind the user's back.
    ASSERT_EQ(importaUm(xmlNota(vendaSimples(30))).situacao, Situacao::Importado);
    const TResultadoNFe tardio = importaUm(xmlCancelamento(chaveDe(vendaSimples(30))), "tardio.xml");
    EXPECT_EQ(tardio.situacao, Situacao::Recusado);
    EXPECT_EQ(valor("SELECT Situacao FROM NotaFiscal WHERE NumeroNF = '000030'").toString(), "N");
    // A cancellation the authority did not register cancels nothing.
    EXPECT_EQ(importaUm(xmlCancelamento(chaveDe(vendaSimples(31)), "573"), "x.xml").situacao, Situacao::Recusado);
}

TEST_F(ImportaNFe, SegundaImportacaoNaoMudaNada)
{
    const QList<TArquivoNFe> lote = {{"a.xml", xmlNota(vendaVariada()), {}}, {"b.xml", xmlNota(compraSP()), {}}};
    for (const TResultadoNFe& x : importa(lote))
        ASSERT_EQ(x.situacao, Situacao::Importado) << x.motivo.toStdString();
    const QStringList antes = lista("SELECT * FROM NotaFiscal") + lista("SELECT COUNT(*) FROM NFICMS") +
                              lista("SELECT COUNT(*) FROM Contribuinte");
    const QList<TResultadoNFe> r = importa(lote);
    ASSERT_EQ(r.size(), 2);
    for (const TResultadoNFe& x : r) {
        EXPECT_EQ(x.situacao, Situacao::Duplicado) << x.motivo.toStdString();
        EXPECT_TRUE(x.motivo.contains("já está cadastrada")) << x.motivo.toStdString();
    }
    EXPECT_EQ(lista("SELECT * FROM NotaFiscal") + lista("SELECT COUNT(*) FROM NFICMS") +
                  lista("SELECT COUNT(*) FROM Contribuinte"),
              antes);
    EXPECT_EQ(conta("NFIPI"), 6);
    EXPECT_EQ(conta("NFSUBSTRIB"), 6);
}

TEST_F(ImportaNFe, EntradasRuinsRecusadasUmaAUma)
{
    TNotaTeste outroContribuinte = vendaSimples(50);
    outroContribuinte.emitente = kOutraEmpresa;
    TNotaTeste digito = vendaSimples(51);
    digito.digitoErrado = true;
    TNotaTeste cfopDesconhecido = vendaSimples(52);
    cfopDesconhecido.itens[0].cfop = "5999";
    // Without the authority's protocol nothing vouches for the total: the items must give it.
    TNotaTeste somaErrada = vendaSimples(53);
    somaErrada.vNF = "100.01";
    somaErrada.cStat.clear();
    const QByteArray boa = xmlNota(vendaSimples(54));
    QByteArray truncado = xmlNota(vendaSimples(55));
    truncado.chop(40);
    const QByteArray entidade = "<?xml version=\"1.0\"?><!DOCTYPE NFe [<!ENTITY x \"yyyy\">]><NFe>&x;</NFe>";

    const QList<TResultadoNFe> r =
        importa({{"pdf.xml", "%PDF-1.4\n\x01\x02 binario", {}},
                 {"cte.xml", "<?xml version=\"1.0\"?><cteProc><CTe/></cteProc>", {}},
                 {"truncado.xml", truncado, {}},
                 {"grande.xml", {}, QString::fromUtf8("arquivo maior que 16 MB")},
                 {"entidade.xml", entidade, {}},
                 {"digito.xml", xmlNota(digito), {}},
                 {"outro.xml", xmlNota(outroContribuinte), {}},
                 {"cfop.xml", xmlNota(cfopDesconhecido), {}},
                 {"soma.xml", xmlNota(somaErrada), {}},
                 {"boa.xml", boa, {}}});
    ASSERT_EQ(r.size(), 10);
    const QStringList motivos = {"não é um arquivo XML", "XML de outro tipo", "XML incompleto", "maior que 16 MB",
                                 "DTD ou de entidades", "dígito verificador errado", "não é do contribuinte aberto",
                                 "CFOP 5999 não consta", "diferença de 0,01"};
    for (int i = 0; i < motivos.size(); ++i) {
        EXPECT_EQ(r[i].situacao, Situacao::Recusado) << r[i].arquivo.toStdString();
        EXPECT_TRUE(r[i].motivo.contains(motivos[i])) << r[i].arquivo.toStdString() << ": " << r[i].motivo.toStdString();
    }
    // The batch went on: the good file at the end is in, and nothing of the refused ones was written (the unknown
    // code was refused after its client had been registered: the client went back with it).
    EXPECT_EQ(r[9].situacao, Situacao::Importado) << r[9].motivo.toStdString();
    EXPECT_EQ(lista("SELECT NumeroNF FROM NotaFiscal"), QStringList({"000054"}));
    EXPECT_EQ(conta("NFICMS"), 1);
    EXPECT_EQ(conta("Contribuinte"), 2);
}

TEST_F(ImportaNFe, LeituraLimitadaDeArquivosEPastas)
{
    // One byte over the limit is refused before it is parsed; a missing path is reported, not skipped.
    const QString grande = grava("grande.xml", QByteArray(kMaiorArquivoNFe + 1, ' '));
    const QString boa = grava("boa.xml", xmlNota(vendaSimples(60)));
    const QList<TArquivoNFe> e = LeEntradasNFe({grande, arquivos.filePath("nao-existe.xml"), boa});
    ASSERT_EQ(e.size(), 3);
    EXPECT_TRUE(e[0].recusa.contains("maior que 16 MB"));
    EXPECT_TRUE(e[0].conteudo.isEmpty());
    EXPECT_EQ(e[1].recusa, QString::fromUtf8("arquivo não encontrado"));
    EXPECT_TRUE(e[2].recusa.isEmpty());

    // A folder gives its XML and zip files in name order and leaves anything else alone.
    QTemporaryDir pasta;
    QFile::copy(boa, pasta.filePath("b.xml"));
    QFile::copy(boa, pasta.filePath("a.XML"));
    QFile leia(pasta.filePath("leia.txt"));
    ASSERT_TRUE(leia.open(QIODevice::WriteOnly));
    leia.write("texto");
    leia.close();
    const QList<TArquivoNFe> p = LeEntradasNFe({pasta.path()});
    ASSERT_EQ(p.size(), 2);
    EXPECT_TRUE(p[0].nome.endsWith("a.XML"));
    EXPECT_TRUE(p[1].nome.endsWith("b.xml"));
}

TEST_F(ImportaNFe, ArquivoZipLidoEmMemoria)
{
    const QString caminho = arquivos.filePath("lote.zip");
    int erro = 0;
    zip_t* z = zip_open(QFile::encodeName(caminho).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    ASSERT_NE(z, nullptr);
    QList<QByteArray> conteudos = {xmlNota(vendaVariada()), xmlNota(compraSP()), "nao e xml", "readme"};
    const char* nomes[] = {"notas/venda.xml", "compra.xml", "ruim.xml", "leia.txt"};
    for (int i = 0; i < 4; ++i) {
        zip_source_t* s = zip_source_buffer(z, conteudos[i].constData(), zip_uint64_t(conteudos[i].size()), 0);
        ASSERT_GE(zip_file_add(z, nomes[i], s, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(z), 0);

    TImportaNFe i(*t.dtm, relogio, 1);
    const QList<TResultadoNFe> r = i.ImportaCaminhos({caminho});
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ(r[0].arquivo, caminho + ":notas/venda.xml");
    EXPECT_EQ(r[0].situacao, Situacao::Importado) << r[0].motivo.toStdString();
    EXPECT_EQ(r[1].situacao, Situacao::Importado) << r[1].motivo.toStdString();
    EXPECT_EQ(r[2].situacao, Situacao::Recusado);
    EXPECT_EQ(conta("NotaFiscal"), 6);
    // Nothing was unpacked beside the archive.
    EXPECT_EQ(QDir(arquivos.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"lote.zip"}));
}

TEST_F(ImportaNFe, ArquivoDoMesTotalizaOsValoresDasNotas)
{
    for (const TResultadoNFe& x : importa({{"a.xml", xmlNota(vendaVariada()), {}}, {"b.xml", xmlNota(compraSP()), {}}}))
        ASSERT_EQ(x.situacao, Situacao::Importado) << x.motivo.toStdString();
    // A monthly delivery (type 1): from 2011 on the file names the delivery type.
    sql("INSERT INTO ZEL (IdContribuinte, Periodo, Tipo, sitCadastroContrib) VALUES (1, '202405', 'N', 1)");
    TProgressoGravado progresso;
    TGeradorArquivo gerador(*t.dtm, t.dialogos, progresso, relogio, 1);
    gerador.MostraErros = false;
    const QString caminho = arquivos.filePath("retorno.txt");
    ASSERT_TRUE(gerador.GravaArquivo(caminho, "1", "202405", 1, "")) << gerador.ultimoErro().toStdString();
    qint64 soma = 0;
    int registros50 = 0;
    for (const QString& l : QString::fromLatin1(TBancoTeste::conteudo(caminho)).split("\r\n")) {
        if (!l.startsWith("50"))
            continue;
        ++registros50;
        soma += l.mid(56, 13).toLongLong();
    }
    EXPECT_EQ(registros50, 6);
    EXPECT_EQ(soma, 215500 + 139800); // the two files' vNF in cents
}

#ifdef ZELCLI
TEST_F(ImportaNFe, ZelcliImportaNFe)
{
    const QString boa = grava("boa.xml", xmlNota(vendaSimples(70)));
    const QString ruim = grava("ruim.xml", "isto nao e xml");
    t.con->Fechar();
    auto roda = [&](const QStringList& args, QString* saida = nullptr) {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), QStringList{"importa-nfe"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (saida)
            *saida = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    };
    const QString pasta = t.pasta.path();
    EXPECT_EQ(roda({"--pasta", pasta, boa}), 2);        // no --ie
    EXPECT_EQ(roda({"--pasta", pasta, "--ie", "123456789"}), 2); // no files
    QString saida;
    EXPECT_EQ(roda({"--pasta", pasta, "--ie", "123456789", boa}, &saida), 0);
    EXPECT_EQ(saida, "importado: " + boa + QString::fromUtf8(": nota 000070 série 1, 1 linha\n"));
    // Twice is no refusal; a refused file in the batch makes the status 1 without stopping the others.
    EXPECT_EQ(roda({"--pasta", pasta, "--ie", "123456789", boa}, &saida), 0);
    EXPECT_TRUE(saida.startsWith("duplicado: " + boa)) << saida.toStdString();
    EXPECT_EQ(roda({"--pasta", pasta, "--ie", "123456789", ruim, boa}, &saida), 1);
    EXPECT_EQ(saida.split('\n', Qt::SkipEmptyParts).size(), 2);
    EXPECT_TRUE(saida.startsWith("recusado: " + ruim + QString::fromUtf8(": não é um arquivo XML\n"))) << saida.toStdString();
    EXPECT_EQ(roda({"--pasta", pasta, "--ie", "999999999", boa}), 1); // no such taxpayer
    t.reinicia();
    ASSERT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(conta("NotaFiscal"), 1);
}
#endif

// ----- files as real emitters write them

namespace {

// Every row's base, exempt and other amounts add up to its value: how the fiscal books read a row.
QStringList linhasQueNaoSomam(const QStringList& linhas)
{
    QStringList r;
    for (const QString& l : linhas) {
        const QStringList c = l.split('|');
        if (c.size() < 14 || c[8].toLongLong() != c[10].toLongLong() + c[12].toLongLong() + c[13].toLongLong())
            r << l;
    }
    return r;
}

} // namespace

TEST_F(ImportaNFe, CadaCodigoDoIcmsLancaOForaDaBaseEmSuaColuna)
{
    struct Caso {
        const char* cst;
        TItemTeste item;
        const char* linha; // value|rate|base|ICMS|exempt|other|IPI|ST base|ST
    };
    auto com = [](TItemTeste it, const char* ipi, const char* bcst = "", const char* st = "") {
        it.vIPI = QString::fromLatin1(ipi);
        it.vBCST = QString::fromLatin1(bcst);
        it.vICMSST = QString::fromLatin1(st);
        return it;
    };
    const QList<Caso> casos = {
        {"00 IPI fora da base", com(item("5102", "00", "100.00", "100.00", "17.00", "17.00"), "10.00"),
         "1100000|1700|1000000|170000|0|100000|100000|0|0"},
        {"00 IPI na base", com(item("5102", "00", "100.00", "110.00", "17.00", "18.70"), "10.00"),
         "1100000|1700|1100000|187000|0|0|100000|0|0"},
        {"10", com(item("5401", "10", "100.00", "100.00", "17.00", "17.00"), "", "140.00", "6.80"),
         "1068000|1700|1000000|170000|0|68000|0|1400000|68000"},
        {"20", item("5102", "20", "313.92", "209.29", "17.00", "35.58"), "3139200|1700|2092900|355800|1046300|0|0|0|0"},
        {"20 com IPI", com(item("5102", "20", "200.00", "100.00", "17.00", "17.00"), "20.00"),
         "2200000|1700|1000000|170000|1000000|200000|200000|0|0"},
        {"30", com(item("5403", "30", "100.00"), "", "140.00", "23.80"), "1238000|0|0|0|1000000|238000|0|1400000|238000"},
        {"40", item("5102", "40", "100.00"), "1000000|0|0|0|1000000|0|0|0|0"},
        {"40 com IPI", com(item("5102", "40", "100.00"), "5.00"), "1050000|0|0|0|1000000|50000|50000|0|0"},
        {"41", item("5102", "41", "100.00"), "1000000|0|0|0|1000000|0|0|0|0"},
        {"50", item("5102", "50", "100.00"), "1000000|0|0|0|0|1000000|0|0|0"},
        {"51", item("5102", "51", "100.00", "100.00", "17.00", "10.00"), "1000000|1700|1000000|100000|0|0|0|0|0"},
        {"60", item("5405", "60", "100.00"), "1000000|0|0|0|0|1000000|0|0|0"},
        {"70", com(item("5401", "70", "100.00", "60.00", "17.00", "10.20"), "", "140.00", "13.60"),
         "1136000|1700|600000|102000|400000|136000|0|1400000|136000"},
        {"90", item("5102", "90", "100.00", "50.00", "17.00", "8.50"), "1000000|1700|500000|85000|0|500000|0|0|0"},
        {"SN 101", item("5102", "SN:101", "100.00"), "1000000|0|0|0|0|1000000|0|0|0"},
        {"SN 102", item("5102", "SN:102", "100.00"), "1000000|0|0|0|0|1000000|0|0|0"},
        {"SN 103", item("5102", "SN:103", "100.00"), "1000000|0|0|0|1000000|0|0|0|0"},
        {"SN 300", item("5102", "SN:300", "100.00"), "1000000|0|0|0|1000000|0|0|0|0"},
        {"SN 400", item("5102", "SN:400", "100.00"), "1000000|0|0|0|1000000|0|0|0|0"},
        {"SN 500", item("5405", "SN:500", "100.00"), "1000000|0|0|0|0|1000000|0|0|0"},
        {"SN 900", item("5102", "SN:900", "100.00", "80.00", "17.00", "13.60"), "1000000|1700|800000|136000|0|200000|0|0|0"},
    };
    int numero = 600;
    for (const Caso& c : casos) {
        TNotaTeste n = vendaSimples(++numero);
        // An item of no value beside it joins no row.
        n.itens = {c.item, item("5102", "00", "0.00")};
        const TResultadoNFe r = importaUm(xmlNota(n));
        ASSERT_EQ(r.situacao, Situacao::Importado) << c.cst << ": " << r.motivo.toStdString();
        const QString num = QString::number(numero).rightJustified(6, '0');
        const QStringList linhas = linhasDaNota(num);
        ASSERT_EQ(linhas.size(), 1) << c.cst << ": " << linhas.join(" / ").toStdString();
        EXPECT_EQ(linhas[0].section('|', 8), QString::fromLatin1(c.linha)) << c.cst;
        EXPECT_EQ(linhasQueNaoSomam(linhas), QStringList()) << c.cst;
    }
}

TEST_F(ImportaNFe, TotalAutorizadoValeComOuSemIIEMenosODesonerado)
{
    struct Caso {
        const char* nome;
        TNotaTeste nota;
        Situacao situacao;
        const char* texto; // in the reason or the description
        const char* linhas; // value|base|exempt|other of each row, joined by " / "
    };
    TNotaTeste comII = importacaoSemII();
    comII.numero = 701;
    comII.vNFSemII = false;
    comII.itens[0].vBC = "1155.00";
    comII.itens[0].vICMS = "196.35";
    TNotaTeste semII = importacaoSemII();
    semII.numero = 702;
    TNotaTeste semIISemProtocolo = importacaoSemII();
    semIISemProtocolo.numero = 703;
    semIISemProtocolo.cStat.clear();
    TNotaTeste desonerada = vendaDesonerada();
    desonerada.numero = 704;
    TNotaTeste diferente = vendaSimples(705);
    diferente.vNF = "100.50";
    TNotaTeste diferenteSemProtocolo = vendaSimples(706);
    diferenteSemProtocolo.vNF = "100.50";
    diferenteSemProtocolo.cStat.clear();
    const QList<Caso> casos = {
        {"importação com vII", comII, Situacao::Importado, "1 linha", "11550000|11550000|0|0"},
        {"importação sem vII", semII, Situacao::Importado, "1 linha", "10550000|10550000|0|0"},
        {"sem protocolo, sem vII", semIISemProtocolo, Situacao::Importado, "1 linha", "10550000|10550000|0|0"},
        {"desonerado", desonerada, Situacao::Importado, "2 linhas", "1000000|1000000|0|0 / 8300000|0|8300000|0"},
        {"autorizada que não compõe", diferente, Situacao::Importado, "diferença de 0,50", "1005000|1000000|0|5000"},
        {"sem protocolo que não compõe", diferenteSemProtocolo, Situacao::Recusado, "diferença de 0,50", ""},
    };
    for (const Caso& c : casos) {
        const TResultadoNFe r = importaUm(xmlNota(c.nota));
        EXPECT_EQ(r.situacao, c.situacao) << c.nome << ": " << r.motivo.toStdString();
        EXPECT_TRUE((r.motivo + r.descricao).contains(QString::fromUtf8(c.texto)))
            << c.nome << ": " << (r.motivo + r.descricao).toStdString();
        QStringList linhas;
        for (const QString& l : linhasDaNota(QString::number(c.nota.numero).rightJustified(6, '0'))) {
            const QStringList x = l.split('|');
            linhas << QStringList{x[8], x[10], x[12], x[13]}.join('|');
        }
        EXPECT_EQ(linhas.join(" / "), QString::fromLatin1(c.linhas)) << c.nome;
    }
}

TEST_F(ImportaNFe, TextosLongosEncurtadosNoCadastroEEstrangeirosPeloNomeEPais)
{
    const TResultadoNFe r = importaUm(xmlNota(compraComTodosOsCst()));
    ASSERT_EQ(r.situacao, Situacao::Importado) << r.motivo.toStdString();
    // Cut at a word where one is near, accents folded as the register folds them; what was cut is listed.
    EXPECT_EQ(lista("SELECT RazaoSocial || '|' || Logradouro || '|' || Numero || '|' || Complemento || '|' || Bairro || "
                    "'|' || Municipio FROM Contribuinte WHERE CNPJ = '77888999000181'"),
              QStringList({"INDUSTRIA E COMERCIO DE PRODUTOS|AVENIDA DOUTOR JOSE BONIFACIO|01500|GALPAO 3 BLOCO B|"
                           "JARDIM DAS|FLORINEA DA SERRA ALTA DO"}));
    EXPECT_TRUE(r.descricao.endsWith(QString::fromUtf8(
        "cadastro de 77888999000181 com texto encurtado: razão social, município, endereço, complemento, bairro")))
        << r.descricao.toStdString();

    // Two parties abroad share number, registration and state; each is registered, and found again by name
    // and country.
    TNotaTeste outroPais = exportacao();
    outroPais.numero = 801;
    outroPais.enderDest.xPais = "Argentina";
    const QList<TArquivoNFe> estrangeiros = {{"imp.xml", xmlNota(importacaoSemII()), {}},
                                             {"exp.xml", xmlNota(exportacao()), {}},
                                             {"arg.xml", xmlNota(outroPais), {}}};
    for (const TResultadoNFe& x : importa(estrangeiros))
        EXPECT_EQ(x.situacao, Situacao::Importado) << x.arquivo.toStdString() << ": " << x.motivo.toStdString();
    const QStringList exterior = lista("SELECT RazaoSocial || '|' || Municipio FROM Contribuinte WHERE UF = 'EX' "
                                       "ORDER BY IdContribuinte");
    EXPECT_EQ(exterior, QStringList({"GLOBAL INDUSTRIAL SUPPLIES|ESTADOS UNIDOS",
                                     "IMPORTADORA ANDINA DE ALIMENTOS|CHILE",
                                     "IMPORTADORA ANDINA DE ALIMENTOS|ARGENTINA"}));
    for (const TResultadoNFe& x : importa(estrangeiros))
        EXPECT_EQ(x.situacao, Situacao::Duplicado) << x.arquivo.toStdString() << ": " << x.motivo.toStdString();
    EXPECT_EQ(conta("Contribuinte"), 5);
}

TEST_F(ImportaNFe, OQueNaoSeLancaOuSeLancaDeOutroModo)
{
    struct Caso {
        const char* nome;
        QByteArray xml;
        Situacao situacao;
        bool ignorado;
        const char* texto;
        const char* situacaoGravada; // empty: nothing stored
    };
    TNotaTeste homologacao = vendaSimples(901);
    homologacao.tpAmb = "2";
    TNotaTeste nfce = vendaSimples(902);
    nfce.modelo = "65";
    TNotaTeste procEvento = vendaSimples(903);
    procEvento.cancelamentoNoProc = "procEventoNFe";
    TNotaTeste retEvento = vendaSimples(904);
    retEvento.cancelamentoNoProc = "retEvento";
    TNotaTeste naoRegistrado = vendaSimples(905);
    naoRegistrado.cancelamentoNoProc = "procEventoNFe";
    naoRegistrado.cStatCancelamento = "573";
    TNotaTeste v310 = vendaSimples(906);
    v310.versao = "3.10";
    TNotaTeste v200 = vendaSimples(907);
    v200.versao = "2.00";
    const QList<Caso> casos = {
        {"homologação", xmlNota(homologacao), Situacao::Recusado, false, "homologação (tpAmb 2)", ""},
        {"NFC-e", xmlNota(nfce), Situacao::Recusado, true, "modelo 65", ""},
        {"carta de correção", xmlEvento(chaveDe(vendaSimples(908)), "110110"), Situacao::Recusado, true,
         "evento 110110 (carta de correção)", ""},
        {"ciência", xmlEvento(chaveDe(vendaSimples(908)), "210210"), Situacao::Recusado, true, "evento 210210", ""},
        {"resumo", "<resNFe versao=\"1.01\"><chNFe>1</chNFe></resNFe>", Situacao::Recusado, true, "<resNFe>", ""},
        {"cancelada em procEventoNFe", xmlNota(procEvento), Situacao::Importado, false, "(cancelada)", "S"},
        {"cancelada em retEvento", xmlNota(retEvento), Situacao::Importado, false, "(cancelada)", "S"},
        {"cancelamento não registrado", xmlNota(naoRegistrado), Situacao::Importado, false, "1 linha", "N"},
        {"leiaute 3.10", xmlNota(v310), Situacao::Importado, false, "1 linha", "N"},
        {"leiaute 2.00", xmlNota(v200), Situacao::Recusado, false, "leiaute 2.00", ""},
    };
    int numero = 900;
    for (const Caso& c : casos) {
        const TResultadoNFe r = importaUm(c.xml);
        EXPECT_EQ(r.situacao, c.situacao) << c.nome << ": " << r.motivo.toStdString();
        EXPECT_EQ(r.ignorado, c.ignorado) << c.nome;
        EXPECT_TRUE((r.motivo + r.descricao).contains(QString::fromUtf8(c.texto)))
            << c.nome << ": " << (r.motivo + r.descricao).toStdString();
        if (QByteArray(c.xml).contains("<nNF>")) {
            const QString num = QString::number(++numero).rightJustified(6, '0');
            EXPECT_EQ(lista("SELECT Situacao FROM NotaFiscal WHERE NumeroNF = '" + num + "'").join(','),
                      QString::fromLatin1(c.situacaoGravada))
                << c.nome;
        }
    }
}

#ifdef ZELCLI
TEST_F(ImportaNFe, PastaComoAsQueOEscritorioRecebePeloZelcli)
{
    QTemporaryDir pasta;
    const QList<TAmostraNFe> amostras = amostrasComoReais();
    for (const TAmostraNFe& a : amostras) {
        QFile f(pasta.filePath(a.nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(a.xml);
    }
    t.con->Fechar();
    auto roda = [&](QStringList* linhas) {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), {"importa-nfe", "--pasta", t.pasta.path(), "--ie", "123456789", pasta.path()});
        EXPECT_TRUE(p.waitForFinished(60000));
        *linhas = QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return p.exitCode();
    };
    QStringList saida;
    // The homologation note is the one refusal: ignored files do not fail the batch.
    EXPECT_EQ(roda(&saida), 1);
    ASSERT_EQ(saida.size(), amostras.size()) << saida.join('\n').toStdString();
    for (int i = 0; i < amostras.size(); ++i)
        EXPECT_TRUE(saida[i].startsWith(amostras[i].situacao + ": " + pasta.filePath(amostras[i].nome) + ": "))
            << saida[i].toStdString();

    t.reinicia();
    ASSERT_EQ(t.con->Conectar(), "JET");
    QStringList todas;
    for (const TAmostraNFe& a : amostras) {
        if (a.numero.isEmpty())
            continue;
        EXPECT_EQ(linhasDaNota(a.numero), a.linhas) << a.nome.toStdString();
        todas << linhasDaNota(a.numero);
    }
    EXPECT_EQ(todas.size(), conta("NotaFiscal"));
    EXPECT_EQ(linhasQueNaoSomam(todas), QStringList());

    // Again: every note is already there, and not one row or party changes.
    const QStringList antes = lista("SELECT * FROM NotaFiscal") + lista("SELECT * FROM NFICMS") +
                              lista("SELECT * FROM Contribuinte");
    t.con->Fechar();
    EXPECT_EQ(roda(&saida), 1);
    ASSERT_EQ(saida.size(), amostras.size());
    for (int i = 0; i < amostras.size(); ++i) {
        const QString esperada = amostras[i].situacao == "importado" ? QStringLiteral("duplicado") : amostras[i].situacao;
        EXPECT_TRUE(saida[i].startsWith(esperada + ": ")) << saida[i].toStdString();
    }
    t.reinicia();
    ASSERT_EQ(t.con->Conectar(), "JET");
    EXPECT_EQ(lista("SELECT * FROM NotaFiscal") + lista("SELECT * FROM NFICMS") + lista("SELECT * FROM Contribuinte"),
              antes);
}
#endif

// A batch is committed every few files, not once per file nor only at its end: what another program sees grows
// lot by lot, a fall in the middle loses only the files of the open lot, and importing the same files again
// picks those up and skips the rest. The archive is read an entry at a time, and a cancellation placed after
// its note still reaches it.
TEST_F(ImportaNFe, LoteGravadoACadaPoucasNotasEQuedaPerdeSoOLoteAberto)
{
    const QString caminho = arquivos.filePath("lote.zip");
    int erro = 0;
    zip_t* z = zip_open(QFile::encodeName(caminho).constData(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    ASSERT_NE(z, nullptr);
    QList<QByteArray> conteudos;
    for (int k = 0; k < 10; ++k)
        conteudos << xmlNota(vendaSimples(100 + k));
    conteudos << xmlCancelamento(chaveDe(vendaSimples(105)));
    for (int k = 0; k < conteudos.size(); ++k) {
        zip_source_t* s = zip_source_buffer(z, conteudos[k].constData(), zip_uint64_t(conteudos[k].size()), 0);
        ASSERT_GE(zip_file_add(z, QStringLiteral("n%1.xml").arg(k, 2, 10, QLatin1Char('0')).toUtf8().constData(), s, 0), 0);
    }
    ASSERT_EQ(zip_close(z), 0);

    sqlite3* outro = TBancoTeste::abreDireto(t.caminho());
    auto gravadas = [&] { return TBancoTeste::valorDireto(outro, "SELECT COUNT(DISTINCT NumeroNF) FROM NotaFiscal").toInt(); };
    QList<int> vistas;
    {
        TImportaNFe i(*t.dtm, relogio, 1);
        i.notasPorLote = 3;
        i.progresso = [&](int feitos, int total) {
            EXPECT_EQ(total, 11);
            vistas << gravadas();
            if (feitos == 8)
                throw std::runtime_error("queda no meio do lote");
        };
        EXPECT_THROW(i.ImportaCaminhos({caminho}), std::runtime_error);
    }
    EXPECT_EQ(vistas, QList<int>({0, 0, 3, 3, 3, 6, 6, 6}));
    EXPECT_EQ(sqlite3_get_autocommit(t.con->db()), 1) << "no transaction left open by the fall";
    EXPECT_EQ(gravadas(), 6);
    EXPECT_EQ(valor("SELECT Situacao FROM NotaFiscal WHERE NumeroNF = '000105'").toString(), "S");
    sqlite3_close(outro);

    TImportaNFe denovo(*t.dtm, relogio, 1);
    const QList<TResultadoNFe> r = denovo.ImportaCaminhos({caminho});
    ASSERT_EQ(r.size(), 11);
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(r[k].situacao, k < 6 ? Situacao::Duplicado : Situacao::Importado)
            << r[k].arquivo.toStdString() << ": " << r[k].motivo.toStdString();
    EXPECT_EQ(r[10].situacao, Situacao::Duplicado) << r[10].motivo.toStdString();
    EXPECT_EQ(valor("SELECT COUNT(DISTINCT NumeroNF) FROM NotaFiscal").toInt(), 10);
    EXPECT_EQ(lista("SELECT DISTINCT Situacao FROM NotaFiscal WHERE NumeroNF <> '000105'"), QStringList({"N"}));
}
