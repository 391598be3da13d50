// The reports over a temporary database: what each builder makes of the rows a screen opened (titles,
// masks, sub-lines and totals), how the painter pages them, what ExportaPdf leaves on disk, and the preview
// dialog's page commands and export. The PDFs are read back with pdftotext.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>

#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"
#include "declarations/untQuadroV.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "documents/untClsCupomFiscal.h"
#include "documents/untClsNotaTalao.h"
#include "documents/untClsNotaTransporte.h"
#include "documents/untConsultasNotas.h"
#include "registers/untClsContribuinte.h"
#include "reports/pdf/untPintaRelatorio.h"
#include "reports/untRelatorio.h"
#include "reports/untRelatorios.h"
#include "support/TBancoTeste.h"
#include "widgets/untVisualizaRelatorio.h"

namespace {

const QDateTime kEmissao(QDate(2006, 9, 15), QTime(10, 30, 5));

bool temPdftotext()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// The text of a PDF as pdftotext reads it; pages are separated by form feeds.
QString textoPdf(const QString& pdf, bool layout = true)
{
    QProcess p;
    QStringList args;
    if (layout)
        args << QStringLiteral("-layout");
    args << pdf << QStringLiteral("-");
    p.start(QStringLiteral("pdftotext"), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

int paginasDoTexto(const QString& texto)
{
    // pdftotext ends every page with a form feed.
    return int(texto.count(QLatin1Char('\f')));
}

// The first line of the report (detail or summary) whose cells or text hold `chave`.
const TLinhaRelatorio* linhaCom(const QList<TLinhaRelatorio>& linhas, const QString& chave)
{
    for (const TLinhaRelatorio& l : linhas)
        if (l.texto.contains(chave) || l.celulas.contains(chave))
            return &l;
    return nullptr;
}

QStringList celulasDe(const QList<TLinhaRelatorio>& linhas, TLinhaRelatorio::Tipo tipo)
{
    QStringList r;
    for (const TLinhaRelatorio& l : linhas)
        if (l.tipo == tipo)
            r << l.celulas.join(QLatin1Char('|'));
    return r;
}

// The label's value in a declaration print.
QString campo(const TRelatorio& r, const QString& rotulo)
{
    for (const TLinhaRelatorio& l : r.linhas)
        if (l.tipo == TLinhaRelatorio::Tipo::Campo && l.celulas.value(0) == rotulo)
            return l.celulas.value(1);
    return QStringLiteral("<sem %1>").arg(rotulo);
}

// A report's painter on an in-memory PDF of the export's resolution, its page already set.
struct TPdfNaMemoria {
    QBuffer destino;
    QPdfWriter pdf;
    const TPintorRelatorio pintor;
    explicit TPdfNaMemoria(const TRelatorio& r) : pdf(&destino), pintor(r)
    {
        destino.open(QIODevice::WriteOnly);
        pdf.setResolution(300);
        pintor.preparaDispositivo(pdf);
    }
};

int paginasEmPdf(const TRelatorio& r)
{
    TPdfNaMemoria m(r);
    return m.pintor.paginas(m.pdf);
}

TDisposicao disposicao(const TRelatorio& r)
{
    TPdfNaMemoria m(r);
    return m.pintor.dispoe(m.pdf);
}

// The rows of a page, top to bottom, each its texts left to right.
QList<QStringList> fileiras(const TPaginaRelatorio& p)
{
    QList<TTextoPagina> t = p.textos;
    std::stable_sort(t.begin(), t.end(), [](const TTextoPagina& a, const TTextoPagina& b) {
        return qAbs(a.caixa.top() - b.caixa.top()) > 0.5 ? a.caixa.top() < b.caixa.top() : a.caixa.left() < b.caixa.left();
    });
    QList<QStringList> r;
    qreal topo = -1;
    for (const TTextoPagina& x : t) {
        if (r.isEmpty() || qAbs(x.caixa.top() - topo) > 0.5)
            r.append(QStringList{});
        topo = x.caixa.top();
        r.last() << x.texto.trimmed();
    }
    return r;
}

int paginasNaImpressora(const TRelatorio& r)
{
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setOutputFormat(QPrinter::PdfFormat);
    const TPintorRelatorio pintor(r);
    pintor.preparaDispositivo(impressora);
    return pintor.paginas(impressora);
}

struct Relatorio : ::testing::Test {
    TBancoTeste t;
    QTemporaryDir saida;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sql("INSERT INTO Contador (IDContador, CPF, CRC, Nome, EMail, Fone) VALUES "
            "(7, '52998224725', 'ZR123456O9', 'MARIA CONTADORA', 'maria@contab.com.br', '6133224455'), "
            "(8, '11144477735', '54321', 'ANTONIO CONTADOR', 'a@c.com', '6133220000')");
        // The open taxpayer, a counterparty that is a person (an 11-digit CPF in the CNPJ column) and one
        // that is a company.
        sql("INSERT INTO Contribuinte (IdContribuinte, IdContador, CNPJ, Ccicms, RazaoSocial, UF, Tipo) VALUES "
            "(1, 7, '11222333000181', '123456789', 'COMERCIAL EXEMPLO LTDA', 'ZR', 'C'), "
            "(2, NULL, '52998224725', '987654321', 'JOSE DA SILVA', 'SP', 'F'), "
            "(3, NULL, '44555666000177', '111222333', 'CLIENTE ATACADO SA', 'ZR', 'F'), "
            "(4, NULL, '22333444000166', '555666777', 'ALFA OUTRO CONTRIBUINTE', 'ZR', 'C')");
        // July 2006: a normal sale, an extemporaneous one (E, dated by its last change), a cancelled one
        // (X, also dated by its last change and left out of the sums) and a purchase.
        sql("INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, Serie, "
            "NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) VALUES "
            "(1, 1, 3, '2006-07-10', 'S', '01', '1', '000123', '5102', 'P', 12345600, 'N', '2006-07-10'), "
            "(2, 1, 2, '2006-07-11', 'S', '01', '1', '000124', '5102', 'P', 1000000, 'E', '2006-06-28'), "
            "(3, 1, 2, '2006-07-12', 'S', '01', '1', '000125', '5102', 'P', 500000, 'X', '2006-09-02T11:20:00'), "
            "(4, 1, 3, '2006-07-20', 'E', '01', '2', '000045', '1102', 'T', 5000000, 'N', '2006-07-20')");
        sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) VALUES "
            "(1, 10000000, 1700000, 0, 2345600, '1700'), (2, 1000000, 120000, 0, 0, '1200'), "
            "(3, 500000, 85000, 0, 0, '1700'), (4, 5000000, 350000, 0, 0, '0700')");
        sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) VALUES "
            "(1, 500000, 0, 0), (2, 0, 10000, 0), (3, 0, 0, 0), (4, 0, 0, 0)");
        sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) VALUES "
            "(1, 2000000, 340000, 0, ''), (2, 0, 0, 0, ''), (3, 0, 0, 0, ''), (4, 0, 0, 0, '')");
        // Two reduction summaries; the first with rates 17%, 15,5% and a rate that is no number.
        sql("INSERT INTO CUPOMFISCAL (IDCupomFiscal, IDContribuinte, DtEmissao, NumSerie, NumEquip, Modelo, COOInicial, "
            "COOFinal, CRZ, CRO, GTInicioDia, GTFimDia, VendaBruta, T_ISS, T_F, T_I, T_N, T_CANC, T_DESC) VALUES "
            "(1, 1, '2006-07-15', 'BE0512SC560000012', '001', '2D', 100, 250, 45, 3, 1184567800, 1234567800, "
            "12000000, 0, 0, 0, 0, 150000, 0), "
            "(2, 1, '2006-07-16', 'BE0512SC560000012', '001', '2D', 251, 300, 46, 3, 1234567800, 1254567800, "
            "2000000, 100000, 0, 0, 0, 0, 50000)");
        sql("INSERT INTO CFAliquota (IDCupomFiscal, Aliquota, ValorAcumulado) VALUES "
            "(1, '1700', 10000000), (1, '1550', 1000000), (1, 'ABCD', 500000), (2, '1700', 2000000)");
        sql("INSERT INTO NOTATALAO (IDContribuinte, DtEmissao, Modelo, Serie, SubSerie, NumeroInicial, NumeroFinal, "
            "ValorTotal, BaseICMS, ValorICMS, Isenta, Outras, Aliquota) VALUES "
            "(1, '2006-07-05', '02', 'D', '', 1, 150, 3000000, 3000000, 510000, 0, 0, '1700'), "
            "(1, '2006-07-06', '02', 'D', '', 151, 200, 12345600, 10000000, 1700000, 2345600, 0, '1700')");
        sql("INSERT INTO NFTRANSPORTE (IDNFTransporte, IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
            "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES "
            "(1, 1, 3, '2006-07-12', '08', 'U', '', '004567', '1352', 8000000, 8000000, 960000, 0, 0, '1', 'N'), "
            "(2, 1, 2, '2006-07-13', '08', 'U', '', '004568', '1352', 4345600, 4345600, 521472, 0, 0, '1', 'N'), "
            "(3, 1, 3, '2006-07-14', '08', 'U', '', '004569', '1352', 1000000, 1000000, 120000, 0, 0, '2', 'N')");
        sql("INSERT INTO VornQuadroV (IdContribuinte, PeriodoZel, CodMunicipio, Municipio, Valor, DtGeracao, dtAlteracao) "
            "VALUES (1, '2006-07-01', '12345', 'CIDADE EXEMPLO', 1234500, '2006-08-01', '2006-08-02T09:00:00'), "
            "(1, '2006-07-01', '23456', 'OUTRA CIDADE', 10000000, '2006-08-01', '2006-08-01')");
        sql("INSERT INTO DadosAnuais (IdDadosAnuais, IdContribuinte, Ano, Tipo, EstqTrib, EstqNaoTrib, EstqSubsTrib, "
            "SldCaixa, SldBanco, DespPessoal, OutrosImpostos, DespGeral, TipoRegimeContrib) VALUES "
            "(5, 1, '2006', 'R', 12345600, 1000000, 0, 500000, 1500000, 0, 0, 10000, 1)");
        sql("INSERT INTO ZEL (IDZel, IdContribuinte, Periodo, Tipo, CredEntradas, DebSaidas) VALUES "
            "(9, 1, '200605', 'N', 12345600, 20000000)");
        sql("INSERT INTO ZEL_EPP (IdEpp, IdContribuinte, Periodo, Tipo, RecApurada, MediaEntradas) VALUES "
            "(10, 1, '200605', 'N', 12345600, 1000000)");
        sql("INSERT INTO ZEL_SN (IdSN, IdContribuinte, Periodo, Tipo, Faturamento, ICMSSN, categEstabel) VALUES "
            "(11, 1, '200605', 'R', 12345600, 487651, 2)");
    }

    void sql(const QString& s) { TBancoTeste::executaDireto(t.con->db(), s); }
    TDTMCON& con() { return *t.con; }

    Relatorios::TCabecalho cabecalho(const QString& mes = QStringLiteral("07"), const QString& ano = QStringLiteral("2006"))
    {
        Relatorios::TCabecalho c;
        c.idAtivo = 1;
        c.emissao = kEmissao;
        c.mes = mes;
        c.ano = ano;
        return c;
    }

    TRelatorio notas(const QString& tipo, const QString& mes = QStringLiteral("07"))
    {
        TDataSet lista(con());
        ConsultasNotas::AbreLista(lista, 1, tipo, ConsultasNotas::periodo(mes, "2006"));
        return Relatorios::Notas(*t.dtm, cabecalho(mes), lista, tipo);
    }
    TRelatorio ecf()
    {
        TDataSet lista(con());
        ConsultasCupom::AbreLista(lista, 1, ConsultasNotas::periodo("07", "2006"));
        return Relatorios::Ecf(*t.dtm, cabecalho(), lista);
    }
    TRelatorio talao()
    {
        TDataSet lista(con());
        ConsultasTalao::AbreLista(lista, 1, ConsultasNotas::periodo("07", "2006"));
        return Relatorios::NotasTalao(*t.dtm, cabecalho(), lista);
    }
    TRelatorio transporte(const QString& modalidade)
    {
        TDataSet lista(con());
        ConsultasTransporte::AbreLista(lista, 1, modalidade, ConsultasNotas::periodo("07", "2006"));
        return Relatorios::NotasTransporte(*t.dtm, cabecalho(), lista, modalidade);
    }
    TRelatorio contadores()
    {
        TDataSet lista(con());
        lista.setCommandText(QStringLiteral("SELECT * from Contador ORDER BY Nome"));
        lista.open();
        return Relatorios::Contadores(lista, kEmissao);
    }
    TRelatorio cadastro(bool contribuintes)
    {
        TContribuinte c(*t.dtm);
        c.ListarTipo(contribuintes ? QStringLiteral("C") : QStringLiteral("F"));
        return contribuintes ? Relatorios::Contribuintes(*t.dtm, t.dtm->ADODataSetVariavel, kEmissao)
                             : Relatorios::Fornecedores(t.dtm->ADODataSetVariavel, kEmissao);
    }
    TRelatorio quadroV()
    {
        TDataSet lista(con());
        AbreListaQuadroV(lista, 1, "07", "2006");
        return Relatorios::QuadroV(*t.dtm, cabecalho(), lista);
    }
    TRelatorio anuais()
    {
        TDadosAnuais d(*t.dtm);
        EXPECT_TRUE(d.CarregarId(5, 1));
        return Relatorios::DadosAnuais(*t.dtm, cabecalho(), d);
    }
    TRelatorio zel()
    {
        TZel z(*t.dtm);
        EXPECT_TRUE(z.CarregarId(9, 1));
        return Relatorios::Zel(*t.dtm, cabecalho(), z);
    }
    TRelatorio zelEpp()
    {
        TZelEPP z(*t.dtm);
        EXPECT_TRUE(z.CarregarId(10, 1));
        return Relatorios::ZelEpp(*t.dtm, cabecalho(), z);
    }
    TRelatorio zelSN()
    {
        TZelSN z(*t.dtm);
        EXPECT_TRUE(z.CarregarId(11, 1));
        return Relatorios::ZelSN(*t.dtm, cabecalho(), z);
    }

    // `n` more sales in August, each with its three child rows, as the invoice screen stores them.
    void muitasNotas(int n)
    {
        sql(QStringLiteral("WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < %1) "
                           "INSERT INTO NotaFiscal (IdNotaFiscal, IdContribuinte, IdEmtDest, DtEmissao, TipoNota, Modelo, "
                           "Serie, NumeroNF, Cfop, Emitente, ValorTotalNota, Situacao, DtUltAlteracao) "
                           "SELECT 1000 + i, 1, 3, '2006-08-' || printf('%02d', 1 + i % 28), 'S', '01', '1', "
                           "printf('%06d', 500000 + i), '5102', 'P', 1000000, 'N', '2006-08-01' FROM k")
                .arg(n));
        sql("INSERT INTO NFICMS (IdNotaFiscal, BaseCalculoICMS, ValorICMS, IsentaICMS, OutrasICMS, AliquotaICMS) "
            "SELECT IdNotaFiscal, 1000000, 170000, 0, 0, '1700' FROM NotaFiscal WHERE IdNotaFiscal > 1000");
        sql("INSERT INTO NFIPI (IdNotaFiscal, ValorIPI, IsentaIPI, OutrasIPI) "
            "SELECT IdNotaFiscal, 0, 0, 0 FROM NotaFiscal WHERE IdNotaFiscal > 1000");
        sql("INSERT INTO NFSUBSTRIB (IdNotaFiscal, BaseCalculoSubst, ICMSRetido, DespAcessorias, MVA) "
            "SELECT IdNotaFiscal, 0, 0, 0, '' FROM NotaFiscal WHERE IdNotaFiscal > 1000");
    }

    // Exports and reads the file back; empty when the export failed.
    QString exporta(const TRelatorio& r, const QString& nome)
    {
        const QString pdf = saida.filePath(nome);
        QString erro;
        EXPECT_TRUE(ExportaPdf(r, pdf, &erro)) << erro.toStdString();
        EXPECT_TRUE(erro.isEmpty());
        const QByteArray bytes = TBancoTeste::conteudo(pdf);
        EXPECT_TRUE(bytes.startsWith("%PDF-")) << nome.toStdString();
        EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF")) << nome.toStdString();
        return textoPdf(pdf);
    }
    QStringList arquivosDaSaida() const
    {
        return QDir(saida.path()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot,
                                            QDir::Name);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// The number formats every report shares.

TEST(FormatoRelatorio, MascarasDeDocumentos)
{
    using namespace FormatoRelatorio;
    EXPECT_EQ(Inscricao("123456789"), "12.345678-9");
    EXPECT_EQ(Inscricao(" 123456789 "), "12.345678-9");
    EXPECT_EQ(Inscricao("12345678"), "12345678") << "not nine digits: as typed";
    EXPECT_EQ(Inscricao("12345678X"), "12345678X");
    EXPECT_EQ(CnpjCpf("11222333000181"), "11.222.333/0001-81");
    EXPECT_EQ(CnpjCpf("52998224725"), "529.982.247-25");
    EXPECT_EQ(CnpjCpf("1222333000181"), "1222333000181") << "13 digits are neither";
    EXPECT_EQ(CnpjCpf("11.222.333/0001-81"), "11.222.333/0001-81") << "already masked: not garbled";
    EXPECT_EQ(CnpjCpf(""), "");
    EXPECT_EQ(Aliquota("1700"), "17.00%");
    EXPECT_EQ(Aliquota("0700"), "07.00%");
    EXPECT_EQ(Aliquota("700"), "07.00%") << "zero-filled to four digits";
    EXPECT_EQ(Aliquota("1550"), "15.50%");
    EXPECT_EQ(Aliquota("ABCD"), "ABCD");
    EXPECT_EQ(Aliquota("17000"), "17000");
    EXPECT_EQ(Aliquota(""), "");
    EXPECT_EQ(Periodo("200605"), "2006/05");
    EXPECT_EQ(Periodo("20065"), "20065");
    EXPECT_EQ(TipoDeclaracao("R"), "RETIFICADORA");
    EXPECT_EQ(TipoDeclaracao("N"), "NORMAL");
    EXPECT_EQ(Data(QDate(2006, 7, 5)), "05/07/2006");
    EXPECT_EQ(Data(QDate()), "");
}

TEST(FormatoRelatorio, DinheiroTotaisEImposto)
{
    using namespace FormatoRelatorio;
    EXPECT_EQ(Dinheiro(Money::fromRaw(12345600)), "1.234,56");
    EXPECT_EQ(Dinheiro(Money::fromRaw(0)), "0,00");
    EXPECT_EQ(Dinheiro(Money::fromRaw(-500000)), "-50,00");
    EXPECT_EQ(Dinheiro(Money::fromRaw(123456789012)), "12.345.678,90");
    EXPECT_EQ(Total(Money::fromRaw(12345600)), "    1.234,56");
    EXPECT_EQ(Total(Money::fromRaw(0)), "        0,00");
    EXPECT_EQ(Total(Money::fromRaw(12345600)).size(), 12);
    // Exact: 17% of 1.000,00 and 15,5% of 100,00, in integer arithmetic.
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(10000000), "1700"), Money::fromRaw(1700000));
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(1000000), "1550"), Money::fromRaw(155000));
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(1000000), " 1550 "), Money::fromRaw(155000));
    // A tenth of a cent is kept, not rounded away: 0,01 at 15,5% is 0,00155 -> 0,0016 (ties to even).
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(100), "1550"), Money::fromRaw(16));
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(10000000), "ABCD"), Money());
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(10000000), "17.5"), Money());
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(10000000), "-100"), Money()) << "a sign is no rate";
    EXPECT_EQ(ImpostoDaAliquota(Money::fromRaw(10000000), ""), Money());
}

// ---------------------------------------------------------------------------------------------------------
// The builders, one group per report, on the rows the screens' queries open.

TEST_F(Relatorio, NotasFiscaisDeSaida)
{
    const TRelatorio r = notas("S");
    EXPECT_EQ(r.titulo, QString::fromUtf8("Relatório de Notas Fiscais"));
    EXPECT_EQ(r.subtitulos, QStringList{"SAIDAS"});
    EXPECT_EQ(r.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    EXPECT_EQ(r.periodo, QString::fromUtf8("Período: 07 / 2006"));
    EXPECT_TRUE(r.paisagem);
    ASSERT_EQ(r.linhas.size(), 3);
    const int emissao = 2, cnpj = 5, razao = 6, total = 8, icms = 9, base = 10, outras = 12, aliquota = 13,
              retido = 14, baseSt = 15, isentaIpi = 17, ipi = 19, situacao = 20;
    EXPECT_EQ(r.colunas[emissao].titulo, QString::fromUtf8("Emissão"));
    EXPECT_EQ(r.colunas[cnpj].titulo, "CNPJ");
    for (const TLinhaRelatorio& l : r.linhas)
        EXPECT_EQ(l.celulas.size(), r.colunas.size());

    const QStringList& normal = r.linhas[0].celulas;
    EXPECT_EQ(normal[0], "000123");
    EXPECT_EQ(normal[emissao], "10/07/2006");
    EXPECT_EQ(normal[cnpj], "44.555.666/0001-77");
    EXPECT_EQ(normal[razao], "CLIENTE ATACADO SA");
    EXPECT_EQ(normal[total], "1.234,56");
    EXPECT_EQ(normal[icms], "170,00");
    EXPECT_EQ(normal[base], "1.000,00");
    EXPECT_EQ(normal[outras], "234,56");
    EXPECT_EQ(normal[aliquota], "17.00%");
    EXPECT_EQ(normal[retido], "34,00");
    EXPECT_EQ(normal[baseSt], "200,00");
    EXPECT_EQ(normal[ipi], "50,00");

    // The extemporaneous note and the cancelled one are dated by their last change; the person shows the
    // CPF mask.
    const QStringList& extemporanea = r.linhas[1].celulas;
    EXPECT_EQ(extemporanea[emissao], "28/06/2006");
    EXPECT_EQ(extemporanea[cnpj], "529.982.247-25");
    EXPECT_EQ(extemporanea[razao], "JOSE DA SILVA");
    EXPECT_EQ(extemporanea[aliquota], "12.00%");
    EXPECT_EQ(extemporanea[isentaIpi], "1,00");
    EXPECT_EQ(extemporanea[situacao], "E");
    EXPECT_EQ(r.linhas[2].celulas[emissao], "02/09/2006");
    EXPECT_EQ(r.linhas[2].celulas[situacao], "X");

    ASSERT_EQ(r.resumo.size(), 2);
    EXPECT_EQ(r.resumo[0].texto, "Total de Notas cadastradas:  3");
    // The sums leave the cancelled note out and keep the extemporaneous one.
    const QStringList& totais = r.resumo[1].celulas;
    ASSERT_EQ(totais.size(), r.colunas.size());
    EXPECT_EQ(totais[0], "TOTAIS GERAIS:");
    EXPECT_EQ(totais[total], "    1.334,56");
    EXPECT_EQ(totais[icms], "      182,00");
    EXPECT_EQ(totais[base], "    1.100,00");
    EXPECT_EQ(totais[outras], "      234,56");
    EXPECT_EQ(totais[retido], "       34,00");
    EXPECT_EQ(totais[baseSt], "      200,00");
    EXPECT_EQ(totais[isentaIpi], "        1,00");
    EXPECT_EQ(totais[ipi], "       50,00");
    EXPECT_EQ(totais[aliquota], "") << "a rate has no total";
}

TEST_F(Relatorio, NotasFiscaisDeEntradaEDeOutroMes)
{
    const TRelatorio e = notas("E");
    EXPECT_EQ(e.subtitulos, QStringList{"ENTRADAS"});
    ASSERT_EQ(e.linhas.size(), 1);
    EXPECT_EQ(e.linhas[0].celulas[0], "000045");
    EXPECT_EQ(e.resumo[0].texto, "Total de Notas cadastradas:  1");
    EXPECT_EQ(e.resumo[1].celulas[8], "      500,00");
    // The summary follows the screen's period, not the whole table.
    muitasNotas(3);
    const TRelatorio agosto = notas("S", "08");
    EXPECT_EQ(agosto.linhas.size(), 3);
    EXPECT_EQ(agosto.resumo[0].texto, "Total de Notas cadastradas:  3");
    EXPECT_EQ(agosto.resumo[1].celulas[8], "      300,00");
}

TEST_F(Relatorio, NotasLidasDaListaSemMoverOCursor)
{
    TDataSet lista(con());
    ConsultasNotas::AbreLista(lista, 1, "S", ConsultasNotas::periodo("07", "2006"));
    lista.last();
    const int antes = lista.recNo();
    const TRelatorio r = Relatorios::Notas(*t.dtm, cabecalho(), lista, "S");
    EXPECT_EQ(lista.recNo(), antes) << "the screen's grid stays on its row";
    ASSERT_EQ(r.linhas.size(), 3);
    EXPECT_EQ(r.linhas[0].celulas[0], "000123") << "printed from the first row whatever the current one";
}

TEST_F(Relatorio, SaidasPorTalao)
{
    const TRelatorio r = talao();
    EXPECT_EQ(r.titulo, QString::fromUtf8("Relatório de Saídas por Talão"));
    EXPECT_EQ(r.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    EXPECT_FALSE(r.paisagem);
    EXPECT_EQ(celulasDe(r.linhas, TLinhaRelatorio::Tipo::Detalhe),
              (QStringList{"05/07/2006|02|D||1|150|300,00|300,00|51,00|0,00|0,00|17.00%",
                           "06/07/2006|02|D||151|200|1.234,56|1.000,00|170,00|234,56|0,00|17.00%"}));
    ASSERT_EQ(r.resumo.size(), 2);
    EXPECT_EQ(r.resumo[0].texto, QString::fromUtf8("Total de Saídas por Talão:  2"));
    EXPECT_EQ(r.resumo[1].celulas.mid(6, 5),
              (QStringList{"    1.534,56", "    1.300,00", "      221,00", "      234,56", "        0,00"}));
}

TEST_F(Relatorio, NotasDeTransportePorModalidade)
{
    const TRelatorio cif = transporte("1");
    EXPECT_EQ(cif.titulo, QString::fromUtf8("Relatório de Notas Fiscais de Transporte"));
    EXPECT_EQ(cif.subtitulos, QStringList{"MODALIDADE: CIF"});
    EXPECT_EQ(cif.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    ASSERT_EQ(cif.linhas.size(), 2);
    EXPECT_EQ(cif.linhas[0].celulas.mid(0, 3), (QStringList{"004567", "1352", "12/07/2006"}));
    EXPECT_EQ(cif.linhas[0].celulas[6], "44.555.666/0001-77");
    EXPECT_EQ(cif.linhas[1].celulas[6], "529.982.247-25");
    EXPECT_EQ(cif.linhas[1].celulas[7], "SP");
    EXPECT_EQ(cif.linhas[1].celulas[8], "434,56");
    EXPECT_EQ(cif.resumo[0].texto, "Total Geral de Notas: 2");
    EXPECT_EQ(cif.resumo[1].celulas.mid(8, 3), (QStringList{"    1.234,56", "      148,15", "    1.234,56"}));

    const TRelatorio fob = transporte("2");
    EXPECT_EQ(fob.subtitulos, QStringList{"MODALIDADE: FOB"});
    ASSERT_EQ(fob.linhas.size(), 1);
    EXPECT_EQ(fob.linhas[0].celulas[0], "004569");
    EXPECT_EQ(fob.resumo[1].celulas[8], "      100,00");
}

TEST_F(Relatorio, NotasDeTransporteSomamComoOResumoDaTela)
{
    // A cancelled (S), a denied (2) and a voided (4) CIF document of the month: listed and counted, but
    // left out of the sums as the screen's "Resumo" leaves them out.
    sql("INSERT INTO NFTRANSPORTE (IDNFTransporte, IDContribuinte, IDEmitente, DtEmissao, Modelo, Serie, SubSerie, "
        "Numero, Cfop, ValorTotal, BaseCalcIcms, ValorIcms, Isenta, Outras, Modalidade, Situacao) VALUES "
        "(4, 1, 3, '2006-07-20', '08', 'U', '', '004570', '1352', 7000000, 7000000, 840000, 10000, 20000, '1', 'S'), "
        "(5, 1, 3, '2006-07-21', '08', 'U', '', '004571', '1352', 3000000, 3000000, 360000, 0, 0, '1', '2'), "
        "(6, 1, 3, '2006-07-22', '08', 'U', '', '004572', '1352', 0, 0, 0, 0, 30000, '1', '4')");
    const TRelatorio cif = transporte("1");
    ASSERT_EQ(cif.linhas.size(), 5);
    EXPECT_EQ(cif.resumo[0].texto, "Total Geral de Notas: 5");
    const ConsultasTransporte::TResumo tela =
        ConsultasTransporte::Resumo(con(), 1, "1", ConsultasNotas::periodo("07", "2006"));
    using FormatoRelatorio::Total;
    EXPECT_EQ(cif.resumo[1].celulas.mid(8, 5), (QStringList{Total(tela.valorTotal), Total(tela.valorIcms), Total(tela.baseIcms),
                                                            Total(tela.isenta), Total(tela.outras)}));
    EXPECT_EQ(cif.resumo[1].celulas.mid(8, 5),
              (QStringList{"    1.234,56", "      148,15", "    1.234,56", "        0,00", "        0,00"}));
}

TEST_F(Relatorio, EcfComAliquotas)
{
    // An index that hands a summary's rate lines back by rate, last first: the report orders them itself.
    sql("CREATE INDEX tstAliquotaDecrescente ON CFAliquota (IDCupomFiscal, Aliquota DESC)");
    const TRelatorio r = ecf();
    EXPECT_EQ(r.titulo, QString::fromUtf8("RELATÓRIO DE ECF"));
    EXPECT_EQ(r.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    // Each summary is followed by its rates: the rate's base and its exact tax; a rate that is no number
    // is shown as typed with a tax of zero.
    // The summary's cells in the order of its two printed lines: the equipment, counters, grand totals and
    // gross sales; then, after the untitled column the totals' label takes, ISS, cancellations, discounts,
    // F, I and N.
    const QStringList detalhes = celulasDe(r.linhas, TLinhaRelatorio::Tipo::Detalhe);
    ASSERT_EQ(detalhes.size(), 2);
    EXPECT_EQ(detalhes[0], "15/07/2006|001|BE0512SC560000012|2D|100|250|45|118.456,78|123.456,78|1.200,00||"
                           "0,00|15,00|0,00|0,00|0,00|0,00");
    EXPECT_EQ(detalhes[1], "16/07/2006|001|BE0512SC560000012|2D|251|300|46|123.456,78|125.456,78|200,00||"
                           "10,00|0,00|5,00|0,00|0,00|0,00");
    ASSERT_EQ(r.colunas.size(), 17);
    EXPECT_TRUE(r.colunas[10].novaLinha) << "the second line starts after the gross sales";
    for (int k = 0; k < r.colunas.size(); ++k)
        EXPECT_EQ(r.colunas[k].novaLinha, k == 10) << k;
    QStringList titulos;
    for (const TColunaRelatorio& c : r.colunas)
        titulos << c.titulo;
    EXPECT_EQ(titulos.join('|'), QString::fromUtf8("Data Emissão|NE|Número de Série|Modelo|COO Inicial|COO Final|CRZ|"
                                                   "GT Inicial|GT Final|Venda Bruta||I.S.S.|Cancelam.|Descontos|"
                                                   "Subst.Trib.|Isenção|Não Incidência"));
    ASSERT_EQ(r.linhas.size(), 6);
    using T = TLinhaRelatorio::Tipo;
    EXPECT_EQ((QList<T>{r.linhas[0].tipo, r.linhas[1].tipo, r.linhas[2].tipo, r.linhas[3].tipo, r.linhas[4].tipo,
                        r.linhas[5].tipo}),
              (QList<T>{T::Detalhe, T::Sub, T::Sub, T::Sub, T::Detalhe, T::Sub}));
    // The rates of a summary in the order they were entered (the table's key), whatever order the engine
    // would return them in.
    EXPECT_EQ(celulasDe(r.linhas.mid(1, 3), T::Sub),
              (QStringList{"Tributados|17.00%|BC: 1.000,00|170,00", "Tributados|15.50%|BC: 100,00|15,50",
                           "Tributados|ABCD|BC: 50,00|0,00"}));
    EXPECT_EQ(r.linhas[5].celulas, (QStringList{"Tributados", "17.00%", "BC: 200,00", "34,00"}));

    // The footer: the count, the tax of the rates and the gross sales; below, "Totais Gerais" and the
    // totalizers in the order of the second line.
    ASSERT_EQ(r.resumo.size(), 2);
    EXPECT_EQ(r.resumo[0].tipo, T::Total);
    EXPECT_EQ(r.resumo[0].celulas[0], "Quant. Itens : 2");
    EXPECT_EQ(r.resumo[0].celulas[3], "Total Tributados  ...      219,50");
    EXPECT_EQ(r.resumo[0].celulas[9], "    1.400,00");
    const TLinhaRelatorio* totais = &r.resumo[1];
    EXPECT_EQ(totais->celulas.mid(10, 7), (QStringList{"Totais Gerais", "       10,00", "       15,00", "        5,00",
                                                       "        0,00", "        0,00", "        0,00"}));
    ASSERT_TRUE(linhaCom(r.resumo, "Quant. Itens : 2"));
    // 170,00 + 34,00 (the 17% rate over both summaries) + 15,50; the rate that is no number adds nothing.
    ASSERT_TRUE(linhaCom(r.resumo, "Total Tributados  ...      219,50"))
        << r.resumo.last().texto.toStdString();
}

TEST_F(Relatorio, EcfEmDuasLinhasPorResumo)
{
    const TDisposicao d = disposicao(ecf());
    EXPECT_FALSE(d.paisagem) << "an A4 portrait page";
    ASSERT_EQ(d.paginas.size(), 1);
    const QList<QStringList> f = fileiras(d.paginas[0]);
    auto depois = [&f](const QString& primeiro, int n) {
        for (int i = 0; i + n < f.size(); ++i)
            if (f[i].value(0) == primeiro)
                return f[i + n];
        return QStringList{QStringLiteral("<sem %1>").arg(primeiro)};
    };
    const QString titulos = QString::fromUtf8("Data Emissão");
    EXPECT_EQ(depois(titulos, 0), QString::fromUtf8("Data Emissão|NE|Número de Série|Modelo|COO Inicial|COO Final|CRZ|"
                                                    "GT Inicial|GT Final|Venda Bruta").split('|'));
    EXPECT_EQ(depois(titulos, 1), QString::fromUtf8("I.S.S.|Cancelam.|Descontos|Subst.Trib.|Isenção|Não Incidência").split('|'));
    // Each summary: its first line, the totalizers under it, then its rate lines in the order entered.
    EXPECT_EQ(depois("15/07/2006", 0),
              QString("15/07/2006|001|BE0512SC560000012|2D|100|250|45|118.456,78|123.456,78|1.200,00").split('|'));
    EXPECT_EQ(depois("15/07/2006", 1), QString("0,00|15,00|0,00|0,00|0,00|0,00").split('|'));
    EXPECT_EQ(depois("15/07/2006", 2), QString("Tributados|17.00%|BC: 1.000,00|170,00").split('|'));
    EXPECT_EQ(depois("15/07/2006", 3), QString("Tributados|15.50%|BC: 100,00|15,50").split('|'));
    EXPECT_EQ(depois("15/07/2006", 4), QString("Tributados|ABCD|BC: 50,00|0,00").split('|'));
    EXPECT_EQ(depois("16/07/2006", 1), QString("10,00|0,00|5,00|0,00|0,00|0,00").split('|'));
    // The footer: count, tax of the rates and gross sales; then "Totais Gerais" with the totalizers.
    EXPECT_EQ(depois("Quant. Itens : 2", 0), QString("Quant. Itens : 2|Total Tributados  ...      219,50|1.400,00").split('|'));
    EXPECT_EQ(depois("Quant. Itens : 2", 1), QString("Totais Gerais|10,00|15,00|5,00|0,00|0,00|0,00").split('|'));
}

TEST_F(Relatorio, CadastrosETabelas)
{
    const TRelatorio c = contadores();
    EXPECT_EQ(c.titulo, QString::fromUtf8("Relação de Contadores Cadastrados"));
    EXPECT_EQ(c.subtitulos, QStringList{"Ordenados por Nome"});
    EXPECT_EQ(celulasDe(c.linhas, TLinhaRelatorio::Tipo::Detalhe),
              (QStringList{"ANTONIO CONTADOR|111.444.777-35|54321|6133220000|a@c.com",
                           "MARIA CONTADORA|529.982.247-25|ZR123456O9|6133224455|maria@contab.com.br"}));
    EXPECT_EQ(c.resumo[0].texto, "Total de Contadores cadastrados:  2");

    const TRelatorio contribuintes = cadastro(true);
    EXPECT_EQ(contribuintes.titulo, QString::fromUtf8("Relação de Contribuintes Cadastrados"));
    EXPECT_EQ(celulasDe(contribuintes.linhas, TLinhaRelatorio::Tipo::Detalhe),
              (QStringList{"555666777|22.333.444/0001-66|ALFA OUTRO CONTRIBUINTE|",
                           "123456789|11.222.333/0001-81|COMERCIAL EXEMPLO LTDA|MARIA CONTADORA"}));
    EXPECT_EQ(contribuintes.resumo[0].texto, "Total de Contribuintes cadastrados: 2");

    const TRelatorio emitentes = cadastro(false);
    EXPECT_EQ(emitentes.titulo, QString::fromUtf8("Lista de Códigos de Emitentes"));
    EXPECT_EQ(celulasDe(emitentes.linhas, TLinhaRelatorio::Tipo::Detalhe),
              (QStringList{"111222333|44.555.666/0001-77|CLIENTE ATACADO SA|ZR",
                           "987654321|529.982.247-25|JOSE DA SILVA|SP"}));
    EXPECT_EQ(emitentes.resumo[0].texto, "Total de Empresas : 2");

    sql("INSERT OR REPLACE INTO CFOP (CF_Codigo, CF_Descricao, CF_ST) VALUES ('5102', 'VENDA DE MERCADORIA', 'N')");
    sql("INSERT OR REPLACE INTO CFOP3 (CF_Codigo, CF_Descricao, CF_ST) VALUES ('512', 'VENDA TRES DIGITOS', 'N')");
    sql("INSERT OR REPLACE INTO Municipio (codMunicipio, nomeMunicipio) VALUES ('99999', 'ZZ MUNICIPIO DE TESTE')");
    for (const int digitos : {4, 3}) {
        const TRelatorio cfop = Relatorios::Cfop(*t.dtm, digitos, kEmissao);
        EXPECT_EQ(cfop.titulo, QString::fromUtf8("Códigos Fiscais de Operações e Prestações"));
        const qint64 n = TBancoTeste::valorDireto(t.con->db(), digitos == 4 ? "SELECT COUNT(*) FROM CFOP"
                                                                          : "SELECT COUNT(*) FROM CFOP3")
                             .toLongLong();
        EXPECT_EQ(cfop.linhas.size(), n);
        EXPECT_TRUE(linhaCom(cfop.linhas, digitos == 4 ? "VENDA DE MERCADORIA" : "VENDA TRES DIGITOS")) << digitos;
        EXPECT_EQ(cfop.resumo[0].texto, QString::fromUtf8("Total de Códigos Fiscais cadastrados: %1").arg(n));
    }
    const TRelatorio municipios = Relatorios::Municipios(*t.dtm, kEmissao);
    EXPECT_EQ(municipios.titulo, QString::fromUtf8("Relação dos municípios"));
    ASSERT_FALSE(municipios.linhas.isEmpty());
    EXPECT_EQ(municipios.linhas.last().celulas, (QStringList{"99999", "ZZ MUNICIPIO DE TESTE"}));
    EXPECT_EQ(municipios.resumo[0].texto, QString::fromUtf8("Total de municípios cadastrados: %1")
                                              .arg(TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM Municipio")
                                                       .toLongLong()));
}

TEST_F(Relatorio, QuadroVDoPeriodo)
{
    const TRelatorio r = quadroV();
    EXPECT_EQ(r.titulo, QString::fromUtf8("Relação de municípios para o Quadro V"));
    EXPECT_EQ(r.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    EXPECT_EQ(celulasDe(r.linhas, TLinhaRelatorio::Tipo::Detalhe),
              (QStringList{"07/2006|12345|CIDADE EXEMPLO|123,45|01/08/2006|02/08/2006",
                           "07/2006|23456|OUTRA CIDADE|1.000,00|01/08/2006|01/08/2006"}));
    EXPECT_EQ(r.resumo[0].texto, QString::fromUtf8("Quantidade de municípios: 2"));
    EXPECT_EQ(r.resumo[1].celulas[3], "    1.123,45");
}

TEST_F(Relatorio, DadosAnuaisRetificadora)
{
    const TRelatorio r = anuais();
    EXPECT_EQ(r.titulo, QString::fromUtf8("Relatório de Dados Anuais"));
    EXPECT_EQ(r.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    EXPECT_EQ(campo(r, QString::fromUtf8("Ano de referência:")), "2006");
    EXPECT_EQ(campo(r, "Tipo de ZEL:"), "RETIFICADORA");
    EXPECT_EQ(campo(r, QString::fromUtf8("Valor Tributável......:")), "    1.234,56");
    EXPECT_EQ(campo(r, "ESTOQUE TOTAL.........:"), "    1.334,56");
    EXPECT_EQ(campo(r, "SALDO TOTAL.........:"), "      200,00");
    EXPECT_EQ(campo(r, "Despesas gerais...............................................:"), "        1,00");
}

TEST_F(Relatorio, DeclaracoesDoPeriodo)
{
    const TRelatorio normal = zel();
    EXPECT_EQ(normal.titulo, "Zel do ICMS");
    EXPECT_TRUE(normal.subtitulos.isEmpty());
    EXPECT_TRUE(normal.declaracao);
    EXPECT_EQ(normal.contribuinte, "Contribuinte: 12.345678-9  COMERCIAL EXEMPLO LTDA");
    EXPECT_EQ(normal.periodo, QString::fromUtf8("Período: 2006/05"));
    EXPECT_EQ(campo(normal, "Tipo de ZEL:"), "NORMAL");
    EXPECT_EQ(campo(normal, "1- Por entradas"), "    1.234,56");
    EXPECT_EQ(campo(normal, "11- Por saídas"), "    2.000,00");
    EXPECT_EQ(campo(normal, "17- Imposto a Recolher"), "      765,44");

    const TRelatorio epp = zelEpp();
    EXPECT_EQ(epp.titulo, "Zel do ICMS");
    EXPECT_EQ(epp.subtitulos, QStringList{"Regime: EPP"});
    EXPECT_EQ(epp.periodo, QString::fromUtf8("Período: 2006/05"));
    EXPECT_EQ(campo(epp, "Receita Bruta Apurada"), "    1.234,56");
    EXPECT_EQ(campo(epp, QString::fromUtf8("Média das Entradas")), "      100,00");

    const TRelatorio sn = zelSN();
    EXPECT_EQ(sn.subtitulos, QStringList{"Regime: Simples Nacional"});
    EXPECT_EQ(sn.periodo, QString::fromUtf8("Período: 2006/05"));
    EXPECT_EQ(campo(sn, "Tipo de ZEL:"), "RETIFICADORA");
    EXPECT_EQ(campo(sn, "Faturamento"), "    1.234,56");
    EXPECT_EQ(campo(sn, "ICMS do Simples Nacional"), "       48,77");
    EXPECT_EQ(campo(sn, "Categoria do Estabelecimento"), "2 - Filial");
}

// ---------------------------------------------------------------------------------------------------------
// The painter's pages and the PDF files.

TEST_F(Relatorio, ListaLongaEmVariasPaginas)
{
    muitasNotas(500);
    const TRelatorio r = notas("S", "08");
    ASSERT_EQ(r.linhas.size(), 500);
    const int paginas = paginasEmPdf(r);
    EXPECT_GE(paginas, 5);
    EXPECT_EQ(paginasNaImpressora(r), paginas) << "the preview's device pages the same as the file";
    EXPECT_EQ(paginasEmPdf(notas("S")), 1);
    // More lines take more pages: the count follows the lines, not a fixed guess.
    TRelatorio maior = r;
    for (int i = 0; i < 200; ++i)
        maior.linhas.append(r.linhas[i]);
    EXPECT_GT(paginasEmPdf(maior), paginas);

    if (!temPdftotext())
        GTEST_SKIP() << "pdftotext missing";
    const QString texto = exporta(r, "longa.pdf");
    EXPECT_EQ(paginasDoTexto(texto), paginas) << "the count is the pages the painter writes";
    const QStringList folhas = texto.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(folhas.size(), paginas);
    for (int i = 0; i < paginas; ++i) {
        EXPECT_TRUE(folhas[i].contains(QString::fromUtf8("Página: %1").arg(i + 1))) << "page " << i + 1;
        EXPECT_TRUE(folhas[i].contains(QString::fromUtf8("Relatório de Notas Fiscais"))) << "page " << i + 1;
        EXPECT_TRUE(folhas[i].contains("Razao Social")) << "the column headings on page " << i + 1;
    }
    EXPECT_FALSE(texto.contains(QString::fromUtf8("Página: %1").arg(paginas + 1)));
    // No line is lost or repeated across the page breaks; the summary is on the last page.
    for (int i = 1; i <= 500; ++i)
        ASSERT_EQ(texto.count(QStringLiteral("%1").arg(500000 + i, 6, 10, QLatin1Char('0'))), 1) << i;
    EXPECT_TRUE(folhas.last().contains(QRegularExpression("Total de Notas cadastradas:\\s+500")));
    EXPECT_TRUE(folhas.last().contains(QRegularExpression("TOTAIS GERAIS:\\s+50\\.000,00\\s+8\\.500,00")))
        << folhas.last().toStdString();
}

TEST_F(Relatorio, UmPdfDeCadaRelatorio)
{
    if (!temPdftotext())
        GTEST_SKIP() << "pdftotext missing";
    struct TCaso {
        const char* arquivo;
        TRelatorio r;
        QStringList espera;   // texts and, where the line is worth it, patterns the text must hold
    };
    const QList<TCaso> casos = {
        {"notas.pdf", notas("S"),
         {"Relatório de Notas Fiscais", "SAIDAS", "re:Contribuinte: 12\\.345678-9\\s+COMERCIAL EXEMPLO LTDA",
          "529.982.247-25", "44.555.666/0001-77", "28/06/2006", "02/09/2006", "17.00%",
          "re:Total de Notas cadastradas:\\s+3", "re:TOTAIS GERAIS:\\s+1\\.334,56\\s+182,00\\s+1\\.100,00"}},
        {"entradas.pdf", notas("E"), {"Relatório de Notas Fiscais", "ENTRADAS", "re:TOTAIS GERAIS:\\s+500,00"}},
        {"talao.pdf", talao(),
         {"Relatório de Saídas por Talão", "Total de Saídas por Talão:", "re:1\\.534,56\\s+1\\.300,00\\s+221,00"}},
        {"transporte.pdf", transporte("1"),
         {"Relatório de Notas Fiscais de Transporte", "MODALIDADE: CIF", "529.982.247-25", "Total Geral de Notas: 2",
          "re:1\\.234,56\\s+148,15\\s+1\\.234,56"}},
        {"ecf.pdf", ecf(),
         {"RELATÓRIO DE ECF", "Tributados", "17.00%", "15.50%", "BC: 1.000,00", "re:BC: 1\\.000,00\\s+170,00",
          "re:BC: 100,00\\s+15,50", "re:BC: 50,00\\s+0,00",
          "re:Quant\\. Itens : 2\\s+Total Tributados\\s+\\.\\.\\.\\s*219,50\\s+1\\.400,00",
          "re:Totais Gerais\\s+10,00\\s+15,00\\s+5,00\\s+0,00\\s+0,00\\s+0,00"}},
        {"contadores.pdf", contadores(),
         {"Relação de Contadores Cadastrados", "529.982.247-25", "re:Total de Contadores cadastrados:\\s+2"}},
        {"contribuintes.pdf", cadastro(true),
         {"Relação de Contribuintes Cadastrados", "11.222.333/0001-81", "MARIA CONTADORA",
          "Total de Contribuintes cadastrados: 2"}},
        {"emitentes.pdf", cadastro(false), {"Lista de Códigos de Emitentes", "Total de Empresas : 2"}},
        {"cfop.pdf", Relatorios::Cfop(*t.dtm, 4, kEmissao),
         {"Códigos Fiscais de Operações e Prestações", "Total de Códigos Fiscais cadastrados:"}},
        {"municipios.pdf", Relatorios::Municipios(*t.dtm, kEmissao),
         {"Relação dos municípios", "Total de municípios cadastrados:"}},
        {"quadrov.pdf", quadroV(),
         {"Relação de municípios para o Quadro V", "CIDADE EXEMPLO", "Quantidade de municípios: 2", "1.123,45"}},
        {"anuais.pdf", anuais(), {"Relatório de Dados Anuais", "RETIFICADORA", "re:ESTOQUE TOTAL\\.+:\\s+1\\.334,56"}},
        {"zel.pdf", zel(),
         {"Zel do ICMS", "GOVERNO DO ESTADO", "Período: 2006/05", "NORMAL", "re:17- Imposto a Recolher\\s+765,44"}},
        {"epp.pdf", zelEpp(), {"Zel do ICMS", "Regime: EPP", "Período: 2006/05", "re:Receita Bruta Apurada\\s+1\\.234,56"}},
        {"sn.pdf", zelSN(),
         {"Zel do ICMS", "Regime: Simples Nacional", "Período: 2006/05", "RETIFICADORA", "2 - Filial"}},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.arquivo);
        const QString texto = exporta(c.r, QString::fromLatin1(c.arquivo));
        EXPECT_TRUE(texto.contains(QString::fromUtf8("Página: 1")));
        EXPECT_TRUE(texto.contains("Data: 15/09/2006"));
        EXPECT_TRUE(texto.contains("Hora: 10:30:05"));
        for (const QString& e : c.espera) {
            if (e.startsWith("re:"))
                EXPECT_TRUE(texto.contains(QRegularExpression(e.mid(3)))) << e.toStdString() << "\n" << texto.toStdString();
            else
                EXPECT_TRUE(texto.contains(e)) << e.toStdString() << "\n" << texto.toStdString();
        }
    }
}

TEST_F(Relatorio, FigurasLargasSaemInteiras)
{
    if (!temPdftotext())
        GTEST_SKIP() << "pdftotext missing";
    // Amounts as wide as their columns allow and more: the totals are twelve characters under columns of
    // ten and eleven, and an ECF's grand total counter runs to billions.
    sql("UPDATE NotaFiscal SET ValorTotalNota = 999999999900 WHERE IdNotaFiscal = 1");
    sql("UPDATE NFICMS SET BaseCalculoICMS = 99999999900, ValorICMS = 99999999900, IsentaICMS = 99999999900, "
        "OutrasICMS = 99999999900 WHERE IdNotaFiscal = 1");
    sql("UPDATE NFIPI SET ValorIPI = 12345678900, IsentaIPI = 99999999900, OutrasIPI = 99999999900 WHERE IdNotaFiscal = 1");
    sql("UPDATE NFSUBSTRIB SET BaseCalculoSubst = 99999999900, ICMSRetido = 12345678900, DespAcessorias = 99999999900 "
        "WHERE IdNotaFiscal = 1");
    sql("UPDATE CUPOMFISCAL SET GTInicioDia = 12345678901200, GTFimDia = 99999999999900, VendaBruta = 999999999900, "
        "T_DESC = 99999999900, T_CANC = 99999999900, T_ISS = 99999999900, T_F = 99999999900, T_I = 99999999900, "
        "T_N = 99999999900");
    sql("UPDATE NOTATALAO SET ValorTotal = 999999999900, BaseICMS = 999999999900, ValorICMS = 99999999900, "
        "Isenta = 99999999900, Outras = 99999999900");
    sql("UPDATE NFTRANSPORTE SET ValorTotal = 999999999900, BaseCalcIcms = 999999999900, ValorIcms = 999999999900, "
        "Isenta = 99999999900, Outras = 99999999900");
    sql("UPDATE VornQuadroV SET Valor = 99999999999900");
    const QList<QPair<const char*, TRelatorio>> casos = {{"notas.pdf", notas("S")}, {"ecf.pdf", ecf()},
                                                          {"talao.pdf", talao()}, {"transporte.pdf", transporte("1")},
                                                          {"quadrov.pdf", quadroV()}};
    for (const auto& [arquivo, r] : casos) {
        SCOPED_TRACE(arquivo);
        const QString texto = exporta(r, QString::fromLatin1(arquivo));
        EXPECT_FALSE(texto.contains(QRegularExpression(QString::fromUtf8("[0-9.,]…")))) << texto.toStdString();
        // Every figure of a right-aligned column, details and totals alike, is in the file as it was built.
        int figuras = 0;
        for (const QList<TLinhaRelatorio>* parte : {&r.linhas, &r.resumo})
            for (const TLinhaRelatorio& l : *parte) {
                if (l.tipo != TLinhaRelatorio::Tipo::Detalhe && l.tipo != TLinhaRelatorio::Tipo::Total)
                    continue;
                for (int c = 0; c < l.celulas.size() && c < r.colunas.size(); ++c)
                    if (r.colunas[c].direita && !l.celulas[c].trimmed().isEmpty()) {
                        ++figuras;
                        EXPECT_TRUE(texto.contains(l.celulas[c].trimmed())) << l.celulas[c].toStdString();
                    }
            }
        EXPECT_GE(figuras, 3);
    }
}

TEST_F(Relatorio, ExportacaoQueFalhaNaoDeixaArquivo)
{
    const TRelatorio r = contadores();
    auto falha = [&](const QString& caminho) {
        QString erro;
        EXPECT_FALSE(ExportaPdf(r, caminho, &erro)) << caminho.toStdString();
        EXPECT_FALSE(erro.isEmpty()) << caminho.toStdString();
        EXPECT_TRUE(erro.contains(caminho)) << erro.toStdString();
        return erro;
    };

    // A folder that does not exist is not made.
    falha(saida.filePath("nao/existe/r.pdf"));
    EXPECT_FALSE(QFileInfo::exists(saida.filePath("nao")));
    // A path under a plain file, and a path that is a folder.
    QFile simples(saida.filePath("simples.txt"));
    ASSERT_TRUE(simples.open(QIODevice::WriteOnly));
    simples.write("x");
    simples.close();
    falha(saida.filePath("simples.txt/r.pdf"));
    ASSERT_TRUE(QDir(saida.path()).mkdir("pasta.pdf"));
    falha(saida.filePath("pasta.pdf"));
    EXPECT_TRUE(QFileInfo(saida.filePath("pasta.pdf")).isDir());
    EXPECT_EQ(arquivosDaSaida(), (QStringList{"pasta.pdf", "simples.txt"})) << "no temporary file either";
    EXPECT_TRUE(QDir(saida.filePath("pasta.pdf")).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));

    // A read-only folder, unless the test runs with rights that write anyway.
    const QString somenteLeitura = saida.filePath("leitura");
    ASSERT_TRUE(QDir(saida.path()).mkdir("leitura"));
    QFile::setPermissions(somenteLeitura, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadUser | QFile::ExeUser);
    QFile sonda(somenteLeitura + "/sonda");
    const bool escreveAssimMesmo = sonda.open(QIODevice::WriteOnly);
    if (escreveAssimMesmo) {
        sonda.close();
        sonda.remove();
    } else {
        falha(somenteLeitura + "/r.pdf");
        EXPECT_TRUE(QDir(somenteLeitura).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }
    QFile::setPermissions(somenteLeitura, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A good export over an old file replaces it whole.
    const QString bom = saida.filePath("bom.pdf");
    QFile antigo(bom);
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write("arquivo anterior, bem mais longo que nada");
    antigo.close();
    QString erro;
    ASSERT_TRUE(ExportaPdf(r, bom, &erro)) << erro.toStdString();
    EXPECT_TRUE(TBancoTeste::conteudo(bom).startsWith("%PDF-"));
    EXPECT_EQ(QDir(saida.path()).entryList({"bom*"}, QDir::Files | QDir::Hidden), QStringList{"bom.pdf"});
}

// ---------------------------------------------------------------------------------------------------------
// Nothing cut: every report of the catalogue with the longest values its columns can hold.

namespace {

QString semBrancos(QString t)
{
    t.remove(QRegularExpression(QStringLiteral("\\s")));
    return t;
}

// A text of exactly `n` characters made of words from `palavras`, repeated as needed.
QString deTamanho(int n, const QString& palavras)
{
    QString r;
    const QStringList p = palavras.split(QLatin1Char(' '));
    for (int i = 0; r.size() < n; ++i)
        r += (r.isEmpty() ? QString() : QStringLiteral(" ")) + p[i % p.size()];
    return r.left(n).trimmed().leftJustified(n, QLatin1Char('X'));
}

} // namespace

TEST_F(Relatorio, NadaCortadoComOsValoresMaisLongos)
{
    const QString nome = deTamanho(40, "MARIA APARECIDA DOS SANTOS FERREIRA LIMA");
    const QString email = QStringLiteral("maria.aparecida.ferreira@contabilrio.com");
    const QString razao = deTamanho(35, "DISTRIBUIDORA INTERESTADUAL DE ALIMENTOS LTDA");
    const QString serie = QStringLiteral("BE0512SC560000012345");
    const QString municipio = deTamanho(50, "SAO SEBASTIAO DO RIO VERDE DAS FLORES DO NORTE GRANDE");
    ASSERT_EQ(nome.size(), 40);
    ASSERT_EQ(email.size(), 40);
    ASSERT_EQ(razao.size(), 35);
    ASSERT_EQ(serie.size(), 20);
    ASSERT_EQ(municipio.size(), 50);
    // Money: 13 characters as typed on the document screens (99.999.999,99), 16 for the ECF's grand
    // totals and gross sales (9.999.999.999,99).
    const QString m13 = QStringLiteral("999999999900"), m16 = QStringLiteral("99999999999900");
    sql(QStringLiteral("UPDATE Contador SET Nome = '%1', EMail = '%2', Fone = '006133224455', CRC = 'ZR123456AB', "
                       "CPF = '11222333000181' WHERE IDContador = 7").arg(nome, email));
    sql(QStringLiteral("UPDATE Contribuinte SET RazaoSocial = '%1' || substr('%2', 1, 0)").arg(razao, razao));
    sql("UPDATE Contribuinte SET Ccicms = '12345678901234' WHERE IdContribuinte <> 1");
    sql(QStringLiteral("UPDATE NotaFiscal SET NumeroNF = '999999', Serie = '999', ValorTotalNota = %1").arg(m13));
    sql(QStringLiteral("UPDATE NFICMS SET BaseCalculoICMS = %1, ValorICMS = %1, IsentaICMS = %1, OutrasICMS = %1").arg(m13));
    sql(QStringLiteral("UPDATE NFIPI SET ValorIPI = %1, IsentaIPI = %1, OutrasIPI = %1").arg(m13));
    sql(QStringLiteral("UPDATE NFSUBSTRIB SET BaseCalculoSubst = %1, ICMSRetido = %1, DespAcessorias = %1").arg(m13));
    sql(QStringLiteral("UPDATE NOTATALAO SET Serie = 'ABC', SubSerie = '99', NumeroInicial = 999998, NumeroFinal = 999999, "
                       "ValorTotal = %1, BaseICMS = %1, ValorICMS = %1, Isenta = %1, Outras = %1").arg(m13));
    sql(QStringLiteral("UPDATE NFTRANSPORTE SET Numero = '999999', SubSerie = '99', ValorTotal = %1, BaseCalcIcms = %1, "
                       "ValorIcms = %1, Isenta = %1, Outras = %1").arg(m13));
    sql(QStringLiteral("UPDATE CUPOMFISCAL SET NumSerie = '%1', NumEquip = '999', COOInicial = 999998, COOFinal = 999999, "
                       "CRZ = 999999, GTInicioDia = %2, GTFimDia = %2, VendaBruta = %2, T_ISS = %3, T_F = %3, T_I = %3, "
                       "T_N = %3, T_CANC = %3, T_DESC = %3").arg(serie, m16, m13));
    sql(QStringLiteral("UPDATE CFAliquota SET ValorAcumulado = %1").arg(m13));
    sql(QStringLiteral("UPDATE VornQuadroV SET CodMunicipio = '99999', Municipio = '%1', Valor = %2").arg(municipio, m13));
    sql(QStringLiteral("INSERT OR REPLACE INTO Municipio (codMunicipio, nomeMunicipio) VALUES ('99999', '%1')")
            .arg(deTamanho(60, "SAO SEBASTIAO DO RIO VERDE DAS FLORES DO NORTE GRANDE E PEQUENO")));
    sql(QStringLiteral("UPDATE DadosAnuais SET EstqTrib = %1, EstqNaoTrib = %1, EstqSubsTrib = %1, SldCaixa = %1, "
                       "SldBanco = %1, DespPessoal = %1, OutrosImpostos = %1, DespGeral = %1").arg(m13));
    sql(QStringLiteral("UPDATE ZEL SET CredEntradas = %1, DebSaidas = %1, CredSaldoAnterior = %1, DebOutros = %1").arg(m13));
    sql(QStringLiteral("UPDATE ZEL_EPP SET RecApurada = %1, MediaEntradas = 1").arg(m13));
    sql(QStringLiteral("UPDATE ZEL_SN SET Faturamento = %1, ICMSSN = %1, categEstabel = 1, "
                       "Recibo = '12345678901234567890123456789012'").arg(m13));
    const qint64 cfops = TBancoTeste::valorDireto(t.con->db(), "SELECT COUNT(*) FROM CFOP").toLongLong();
    const qint64 maisLonga =
        TBancoTeste::valorDireto(t.con->db(), "SELECT MAX(LENGTH(CF_Descricao)) FROM CFOP").toLongLong();
    ASSERT_GT(cfops, 100) << "the code table as delivered";
    ASSERT_GT(maisLonga, 150);

    struct TCaso {
        const char* nome;
        TRelatorio r;
        int paisagem;   // 1 landscape, 0 portrait, -1 either
    };
    const QList<TCaso> casos = {
        {"notas", notas("S"), 1},          {"entradas", notas("E"), 1},
        {"talao", talao(), -1},            {"transporte", transporte("1"), -1},
        {"ecf", ecf(), 0},                 {"contadores", contadores(), -1},
        {"contribuintes", cadastro(true), -1}, {"emitentes", cadastro(false), -1},
        {"cfop", Relatorios::Cfop(*t.dtm, 4, kEmissao), 0}, {"cfop3", Relatorios::Cfop(*t.dtm, 3, kEmissao), 0},
        {"municipios", Relatorios::Municipios(*t.dtm, kEmissao), 0}, {"quadrov", quadroV(), -1},
        {"anuais", anuais(), 0},           {"zel", zel(), 0},
        {"epp", zelEpp(), 0},              {"sn", zelSN(), 0},
    };
    using P = TTextoPagina::Parte;
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.nome);
        const TDisposicao d = disposicao(c.r);
        ASSERT_FALSE(d.paginas.isEmpty());
        if (c.paisagem >= 0) {
            EXPECT_EQ(d.paisagem, c.paisagem == 1);
        }
        EXPECT_GE(d.pontosDetalhe, 7.0);
        QSet<QString> dispostos;
        for (int n = 0; n < d.paginas.size(); ++n) {
            const TPaginaRelatorio& pagina = d.paginas[n];
            for (int i = 0; i < pagina.textos.size(); ++i) {
                const TTextoPagina& x = pagina.textos[i];
                dispostos.insert(x.texto.trimmed());
                EXPECT_TRUE(x.cabe) << "page " << n + 1 << ": " << x.texto.toStdString() << " in "
                                    << x.caixa.width() << " as " << x.linhas.join('/').toStdString();
                EXPECT_EQ(semBrancos(x.linhas.join(QString())), semBrancos(x.texto)) << "nothing left out";
                EXPECT_FALSE(x.linhas.join(QString()).contains(QChar(0x2026)));
                EXPECT_GE(x.caixa.left(), -0.01);
                EXPECT_LE(x.caixa.right(), d.area.width() + 0.01) << x.texto.toStdString();
                EXPECT_LE(x.caixa.bottom(), d.area.height() + 0.01) << x.texto.toStdString();
                EXPECT_LE(x.linhas.size() * x.altoLinha, x.caixa.height() + 0.01) << "the row holds every line";
                const qreal pt = x.fonte.pointSizeF();
                if (x.parte == P::Detalhe || x.parte == P::Sub || x.parte == P::Campo) {
                    EXPECT_GE(pt, 7.0) << x.texto.toStdString();
                } else {
                    EXPECT_GT(pt, d.pontosDetalhe) << "totals and headings larger: " << x.texto.toStdString();
                }
                if (x.parte == P::Coluna) {
                    EXPECT_LE(x.linhas.size(), 3) << x.texto.toStdString();
                }
                // No two texts share any part of the page.
                for (int j = i + 1; j < pagina.textos.size(); ++j) {
                    const QRectF comum = x.caixa.intersected(pagina.textos[j].caixa);
                    EXPECT_FALSE(comum.width() > 0.5 && comum.height() > 0.5)
                        << x.texto.toStdString() << " over " << pagina.textos[j].texto.toStdString();
                }
            }
        }
        for (const QString& texto : c.r.textos()) {
            if (!texto.trimmed().isEmpty()) {
                EXPECT_TRUE(dispostos.contains(texto.trimmed())) << "not laid out: " << texto.toStdString();
            }
        }
        if (HasFailure())
            break;
    }

    if (!temPdftotext())
        GTEST_SKIP() << "pdftotext missing";
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.nome);
        const QString texto = exporta(c.r, QString::fromLatin1(c.nome) + ".pdf");
        EXPECT_FALSE(texto.contains(QChar(0x2026)));
        const QStringList lidas = texto.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        const QSet<QString> palavras(lidas.begin(), lidas.end());
        int faltam = 0;
        for (const QList<TLinhaRelatorio>* parte : {&c.r.linhas, &c.r.resumo})
            for (const TLinhaRelatorio& l : *parte)
                for (const QString& valor : l.celulas + QStringList{l.texto})
                    for (const QString& palavra : valor.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                        if (!palavras.contains(palavra) && ++faltam < 10)
                            ADD_FAILURE() << "not whole in the PDF: " << palavra.toStdString() << " of "
                                          << valor.toStdString();
        EXPECT_EQ(faltam, 0);
        for (const QString& s : {c.r.contribuinte, c.r.titulo})
            for (const QString& palavra : s.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                EXPECT_TRUE(palavras.contains(palavra)) << palavra.toStdString();
    }
}

// ---------------------------------------------------------------------------------------------------------
// The preview dialog, opened as the screens open it.

TEST_F(Relatorio, VisualizacaoPaginasEExportacao)
{
    muitasNotas(150);
    const TRelatorio r = notas("S", "08");
    const int esperadas = paginasNaImpressora(r);
    ASSERT_GE(esperadas, 3);
    const QString pdf = saida.filePath("visualizado");
    bool tratada = false;
    t.dialogos.esperaTela("TfrmVisualizaRelatorio", [&](QObject* o) {
        auto* v = qobject_cast<TfrmVisualizaRelatorio*>(o);
        EXPECT_TRUE(v);
        if (!v)
            return 0;
        tratada = true;
        v->show();
        EXPECT_EQ(v->relatorio().titulo, QString::fromUtf8("Relatório de Notas Fiscais"));
        EXPECT_EQ(v->paginas(), esperadas);
        EXPECT_EQ(v->paginaAtual(), 1);
        EXPECT_EQ(v->lblPagina->text(), QString::fromUtf8("Página 1 de %1").arg(esperadas));
        EXPECT_FALSE(v->btnPrimeira->isEnabled());
        EXPECT_FALSE(v->btnAnterior->isEnabled());
        EXPECT_TRUE(v->btnProxima->isEnabled());
        EXPECT_TRUE(v->btnUltima->isEnabled());

        QTest::mouseClick(v->btnProxima, Qt::LeftButton);
        EXPECT_EQ(v->paginaAtual(), 2);
        EXPECT_EQ(v->lblPagina->text(), QString::fromUtf8("Página 2 de %1").arg(esperadas));
        EXPECT_TRUE(v->btnPrimeira->isEnabled());
        EXPECT_TRUE(v->btnAnterior->isEnabled());
        QTest::mouseClick(v->btnUltima, Qt::LeftButton);
        EXPECT_EQ(v->paginaAtual(), esperadas);
        EXPECT_FALSE(v->btnProxima->isEnabled());
        EXPECT_FALSE(v->btnUltima->isEnabled());
        QTest::mouseClick(v->btnAnterior, Qt::LeftButton);
        EXPECT_EQ(v->paginaAtual(), esperadas - 1);
        QTest::mouseClick(v->btnPrimeira, Qt::LeftButton);
        EXPECT_EQ(v->paginaAtual(), 1);
        EXPECT_FALSE(v->btnAnterior->isEnabled());

        // A cancelled save dialog writes nothing and says nothing.
        t.dialogos.esperaSalvar(QString());
        QTest::mouseClick(v->btnPdf, Qt::LeftButton);
        EXPECT_EQ(t.dialogos.pendentes(), 0);
        EXPECT_TRUE(arquivosDaSaida().isEmpty());

        // A path without the extension gets it; the message comes once the file is complete.
        t.dialogos.esperaSalvar(pdf);
        t.dialogos.esperaMensagem(QString());
        QTest::mouseClick(v->btnPdf, Qt::LeftButton);
        EXPECT_EQ(t.dialogos.pendentes(), 0);
        EXPECT_TRUE(t.dialogos.registros().last().texto.contains(pdf + ".pdf"));
        EXPECT_TRUE(TBancoTeste::conteudo(pdf + ".pdf").startsWith("%PDF-"));
        EXPECT_EQ(arquivosDaSaida(), QStringList{"visualizado.pdf"});

        // A path that cannot be written is told, and leaves nothing.
        t.dialogos.esperaSalvar(saida.filePath("sem/pasta/r.pdf"));
        t.dialogos.esperaMensagem(QString());
        QTest::mouseClick(v->btnPdf, Qt::LeftButton);
        EXPECT_EQ(t.dialogos.pendentes(), 0);
        EXPECT_TRUE(t.dialogos.registros().last().texto.contains(QString::fromUtf8("Não foi possível gravar")))
            << t.dialogos.registros().last().texto.toStdString();
        EXPECT_EQ(arquivosDaSaida(), QStringList{"visualizado.pdf"});

        QTest::mouseClick(v->btnFechar, Qt::LeftButton);
        EXPECT_FALSE(v->isVisible());
        return 0;
    });
    MostraRelatorio(t.dialogos, nullptr, r);
    t.dialogos.verificaConsumo();
    EXPECT_TRUE(tratada);
    // The dialog suggested the report's title as the file name.
    bool sugeriu = false;
    for (const auto& reg : t.dialogos.registros())
        if (reg.tipo == "salvar")
            sugeriu = sugeriu || reg.texto == QString::fromUtf8("Relatório de Notas Fiscais.pdf");
    EXPECT_TRUE(sugeriu);

    if (!temPdftotext())
        GTEST_SKIP() << "pdftotext missing";
    const QString texto = textoPdf(pdf + ".pdf");
    EXPECT_EQ(paginasDoTexto(texto), esperadas);
    EXPECT_TRUE(texto.contains(QString::fromUtf8("Página: 2")));
    EXPECT_TRUE(texto.contains(QRegularExpression("Total de Notas cadastradas:\\s+150")));
    EXPECT_TRUE(texto.contains(QRegularExpression("TOTAIS GERAIS:\\s+15\\.000,00")));
}

// Pages laid out one at a time, in any order, are the pages of the whole layout; a page is reached without
// laying out more than the pages before it.
TEST_F(Relatorio, PaginasUmaAUmaIguaisAsDoRelatorioInteiro)
{
    muitasNotas(300);
    TRelatorio vazio = contadores();
    vazio.linhas.clear();
    vazio.resumo.clear();
    TRelatorio soResumo = notas("S", "08");
    soResumo.linhas.clear();
    struct TCaso {
        const char* nome;
        TRelatorio r;
    };
    const QList<TCaso> casos = {{"notas", notas("S", "08")}, {"cfop", Relatorios::Cfop(*t.dtm, 4, kEmissao)},
                                {"ecf", ecf()},               {"zel", zel()},
                                {"contadores", contadores()}, {"vazio", vazio},
                                {"so resumo", soResumo}};
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.nome);
        const TDisposicao d = disposicao(c.r);
        TPdfNaMemoria m(c.r);
        TPaginador paginador(m.pintor, m.pdf);
        EXPECT_EQ(paginador.paisagem(), d.paisagem);
        EXPECT_EQ(paginador.pontosDetalhe(), d.pontosDetalhe);
        const int n = int(d.paginas.size());
        // The second page first: only the pages up to it are laid out.
        if (n >= 4) {
            paginador.pagina(2);
            EXPECT_FALSE(paginador.contado());
            EXPECT_LE(paginador.conhecidas(), 3);
        }
        QList<int> ordem;
        for (int k = n; k >= 1; k -= 2)
            ordem << k;
        for (int k = 1; k <= n; ++k)
            ordem << k;
        for (int k : ordem) {
            SCOPED_TRACE(k);
            const TPaginaRelatorio p = paginador.pagina(k);
            const TPaginaRelatorio& e = d.paginas[k - 1];
            ASSERT_EQ(p.textos.size(), e.textos.size());
            for (int i = 0; i < p.textos.size(); ++i) {
                EXPECT_EQ(p.textos[i].texto, e.textos[i].texto);
                EXPECT_EQ(p.textos[i].linhas, e.textos[i].linhas);
                EXPECT_EQ(p.textos[i].caixa, e.textos[i].caixa);
                EXPECT_EQ(p.textos[i].fonte, e.textos[i].fonte);
            }
            EXPECT_EQ(p.reguas, e.reguas);
        }
        EXPECT_TRUE(paginador.contado());
        EXPECT_EQ(paginador.conhecidas(), n);
        EXPECT_TRUE(paginador.pagina(n + 1).textos.isEmpty());
        EXPECT_TRUE(paginador.pagina(0).textos.isEmpty());
    }
}

// A long report shows its first page at once; the count comes in the background while the window answers,
// and the page keys move through the pages as the buttons do.
TEST_F(Relatorio, VisualizacaoMostraAPrimeiraPaginaAntesDeContarAsOutras)
{
    muitasNotas(600);
    const TRelatorio r = notas("S", "08");
    const int esperadas = paginasNaImpressora(r);
    ASSERT_GE(esperadas, 8);
    bool tratada = false;
    t.dialogos.esperaTela("TfrmVisualizaRelatorio", [&](QObject* o) {
        auto* v = qobject_cast<TfrmVisualizaRelatorio*>(o);
        EXPECT_TRUE(v);
        if (!v)
            return 0;
        tratada = true;
        EXPECT_FALSE(v->contagemCompleta());
        EXPECT_LE(v->paginasContadas(), 2);
        EXPECT_EQ(v->lblPagina->text(), QString::fromUtf8("Página 1 de %1 (contando...)").arg(v->paginasContadas()));
        EXPECT_TRUE(v->btnProxima->isEnabled());
        EXPECT_TRUE(v->btnUltima->isEnabled());
        v->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(v));
        // The page on screen is the first, with its text drawn.
        const QImage imagem = v->folha->pixmap().toImage();
        EXPECT_FALSE(imagem.isNull());
        int escuros = 0;
        for (int y = 0; y < imagem.height(); y += 2)
            for (int x = 0; x < imagem.width(); x += 2)
                escuros += qGray(imagem.pixel(x, y)) < 128;
        EXPECT_GT(escuros, 100);
        EXPECT_LE(imagem.width(), v->preview->viewport()->width());
        EXPECT_LE(imagem.height(), v->preview->viewport()->height());

        for (int i = 0; i < 2000 && !v->contagemCompleta(); ++i)
            QTest::qWait(10);
        EXPECT_TRUE(v->contagemCompleta());
        EXPECT_EQ(v->paginasContadas(), esperadas);
        EXPECT_EQ(v->lblPagina->text(), QString::fromUtf8("Página 1 de %1").arg(esperadas));

        QTest::keyClick(v, Qt::Key_PageDown);
        EXPECT_EQ(v->paginaAtual(), 2);
        QTest::keyClick(v, Qt::Key_PageUp);
        QTest::keyClick(v, Qt::Key_PageUp);
        EXPECT_EQ(v->paginaAtual(), 1);
        const double ajustada = v->escala();
        QTest::mouseClick(v->btnZoomMais, Qt::LeftButton);
        EXPECT_DOUBLE_EQ(v->escala(), ajustada * 1.25);
        EXPECT_GT(v->folha->pixmap().width(), imagem.width());
        QTest::mouseClick(v->btnAjusta, Qt::LeftButton);
        EXPECT_DOUBLE_EQ(v->escala(), ajustada);
        QTest::mouseClick(v->btnUltima, Qt::LeftButton);
        EXPECT_EQ(v->paginaAtual(), esperadas);
        QTest::keyClick(v, Qt::Key_PageDown);
        EXPECT_EQ(v->paginaAtual(), esperadas);
        QTest::mouseClick(v->btnFechar, Qt::LeftButton);
        return 0;
    });
    MostraRelatorio(t.dialogos, nullptr, r);
    t.dialogos.verificaConsumo();
    EXPECT_TRUE(tratada);
}

TEST_F(Relatorio, VisualizacaoDeUmaPaginaSemComandosDePagina)
{
    bool tratada = false;
    t.dialogos.esperaTela("TfrmVisualizaRelatorio", [&](QObject* o) {
        auto* v = qobject_cast<TfrmVisualizaRelatorio*>(o);
        EXPECT_TRUE(v);
        if (!v)
            return 0;
        tratada = true;
        EXPECT_EQ(v->paginas(), 1);
        EXPECT_EQ(v->lblPagina->text(), QString::fromUtf8("Página 1 de 1"));
        for (QPushButton* b : {v->btnPrimeira, v->btnAnterior, v->btnProxima, v->btnUltima})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_TRUE(v->btnPdf->isEnabled());
        return 0;
    });
    MostraRelatorio(t.dialogos, nullptr, contadores());
    t.dialogos.verificaConsumo();
    EXPECT_TRUE(tratada);
}
