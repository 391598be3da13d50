// A month as an office types it, end to end: the registers through their checks and saves, the month's
// invoices through the entry rules, each kind of declaration saved from what "Processa" computes, and its return
// file written through the desktop path and through zelcli gerar; both files alike and clean for the check.
// Then the month's documents change under the stored declarations, and neither path files them silently.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untSqlite.h"
#include "declarations/untDadosAnuais.h"
#include "declarations/untRecibo.h"
#include "declarations/untZel.h"
#include "declarations/untZelEpp.h"
#include "declarations/untZelSN.h"
#include "documents/untRegrasNotaFiscal.h"
#include "output/untGeradorArquivo.h"
#include "output/untVerificaArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TCadastroTeste.h"

namespace {

const QString kRecibo = QStringLiteral("A1B2C3D4E5F60718293A4B5C6D7E8F90");

struct TArquivoDoMes {
    const char* nome;
    const char* tipoCli;   // zelcli gerar --tipo
    const char* regime;
    const char* periodo;
    int tipoDeclaracao;
};

const TArquivoDoMes kArquivos[] = {
    {"normal", "ZEL", "1", "201205", 1},
    {"epp", "EPP", "7", "201205", 2},
    {"simples", "SN", "3", "201205", 3},
    {"anual", "DA", "1", "201112", 4},
};

struct MesCompleto : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2012, 6, 15), QTime(10, 0))};
    TProgressoGravado progresso;
    QTemporaryDir saida;
    int contribuinte = 0, cliente = 0, transportadora = 0;
    QString cnpj, ie;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        TCadastroTeste cadastro(*t.dtm, t.dialogos);
        const TCamposContribuinte c = Fixtura::Contribuinte();
        cnpj = c.numero;
        ie = c.ccicms;
        contribuinte = cadastro.contribuinte(c, cadastro.contador());
        cliente = cadastro.parte();
        transportadora = cadastro.parte(Fixtura::Transportadora());
        ASSERT_GT(contribuinte * cliente * transportadora, 0);

        // A sale inside the state and an interstate purchase, as "&Salvar" of the invoice entry takes them.
        nota(false, "000123", QDate(2012, 5, 10), "5102", cliente, "ZR", "1.000,00", "17");
        nota(true, "004567", QDate(2012, 5, 20), "2102", transportadora, "SP", "500,00", "7");
        salvaDeclaracoes();
    }

    void nota(bool entrada, const char* numero, const QDate& emissao, const char* cfop, int parte, const char* uf,
              const char* valor, const char* aliquota)
    {
        TCamposNota c;
        c.entrada = entrada;
        c.proprio = !entrada;
        c.modelo = "01";
        c.serie = "1";
        c.numero = QString::fromLatin1(numero);
        c.emissao = emissao;
        c.cfop = QString::fromLatin1(cfop);
        c.valorTotal = *Money::parse(QString::fromLatin1(valor));
        c.idEmtDest = parte;
        c.ufEmtDest = QString::fromLatin1(uf);
        c.baseIcms = c.valorTotal;
        c.aliquota = *Money::parse(QString::fromLatin1(aliquota));
        c.valorIcms = ValorIcms(c.baseIcms, c.aliquota);
        const TSituacaoNota s = ChecaSituacaoNota(c);
        ASSERT_FALSE(s.falha.falhou()) << s.falha.mensagem.toStdString();
        TNotaFiscal n;
        const TFalha f = ChecaNota(c, s, contribuinte, relogio.agora(), false, n);
        ASSERT_FALSE(f.falhou()) << f.mensagem.toStdString();
        TTransacao transacao(*t.con);
        QString foco;
        ASSERT_TRUE(GravaNotasEntrada(*t.dtm, t.dialogos, n, s, &foco)) << foco.toStdString();
        transacao.commit();
    }

    // Each declaration of the month from its "Processa", checked as its save checks it.
    void salvaDeclaracoes()
    {
        TDTMCON& con = *t.con;
        TCriticaRecibo recibo(relogio, t.dialogos);
        recibo.setTipoEntrega(0);
        recibo.setNumRecibo(kRecibo);
        ASSERT_TRUE(recibo.Critica("201205")) << recibo.Mensagem().toStdString();

        TApuracaoNormal normal;
        ProcessaNormal(con, contribuinte, 5, 2012, normal);
        ASSERT_FALSE(normal.ChecaSalvar().falhou()) << normal.ChecaSalvar().mensagem.toStdString();
        TZel z(*t.dtm);
        z.IdContribuinte = contribuinte;
        z.Periodo = "201205";
        z.Tipo = "N";
        z.valores = normal.valores();
        z.NumRecibo = kRecibo;
        z.sitCadastroContrib = 0;
        QString erro;
        ASSERT_TRUE(z.Incluir(&erro)) << erro.toStdString();

        TApuracaoEPP epp;
        ASSERT_FALSE(TApuracaoEPP::ChecaPeriodo(true, 5, 2012).falhou());
        ProcessaEPP(con, contribuinte, 5, 2012, epp);
        epp.mediaEntradas = *Money::parse("500,00");
        ASSERT_FALSE(epp.ChecaSalvar().falhou()) << epp.ChecaSalvar().mensagem.toStdString();
        TZelEPP e(*t.dtm);
        e.IdContribuinte = contribuinte;
        e.Periodo = "201205";
        e.Tipo = "N";
        e.apuracao = epp;
        ASSERT_TRUE(e.Incluir(&erro)) << erro.toStdString();

        TInformacoesSN sn;
        ProcessaSN(con, contribuinte, 5, 2012, sn);
        sn.faturamento = *Money::parse("1.000,00");
        sn.aliquota = "3,95";
        sn.icmssn = sn.icmsEsperado();
        const TPassoSN passo = ChecaSalvarSN(sn, true, cnpj, true);
        ASSERT_EQ(passo.tipo, TPassoSN::Tipo::Segue) << passo.falha.mensagem.toStdString();
        sn.categoria = passo.categoria;
        TZelSN s(*t.dtm);
        s.IdContribuinte = contribuinte;
        s.Periodo = "201205";
        s.Tipo = "N";
        s.info = sn;
        s.NumRecibo = kRecibo;
        s.sitCadastroContrib = 0;
        ASSERT_TRUE(s.Incluir(relogio.agora(), &erro)) << erro.toStdString();

        TDadosAnuais a(*t.dtm);
        a.IdContribuinte = contribuinte;
        a.Ano = "2011";
        a.Tipo = "N";
        a.TipoRegimeContrib = 1;
        a.valores.EstqTrib = *Money::parse("12.500,00");
        a.valores.SldBanco = *Money::parse("3.210,55");
        ASSERT_FALSE(ChecaDadosAnuais(a.valores, a.TipoRegimeContrib).falhou());
        ASSERT_TRUE(a.Incluir(&erro)) << erro.toStdString();
    }

    TGeradorArquivo gerador() { return TGeradorArquivo(*t.dtm, t.dialogos, progresso, relogio, contribuinte); }

    struct TSaida {
        int codigo = -1;
        QString erros;
    };
    TSaida zelcli(const TArquivoDoMes& a, const QString& destino, const QStringList& mais = {}, const char* periodo = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(ZELCLI), QStringList{"gerar", "--pasta", t.pasta.path(), "--ie", ie, "--periodo",
                                                    QString::fromLatin1(periodo ? periodo : a.periodo), "--tipo",
                                                    QString::fromLatin1(a.tipoCli), "--saida", destino} +
                                            mais);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
    }
};

} // namespace

TEST_F(MesCompleto, CadaDeclaracaoPelosDoisCaminhosSemFalhas)
{
    for (const TArquivoDoMes& a : kArquivos) {
        SCOPED_TRACE(a.nome);
        const QString desktop = saida.filePath(QStringLiteral("%1-desktop.txt").arg(a.nome));
        t.dialogos.esperaSalvar(desktop);
        auto g = gerador();
        ASSERT_TRUE(g.GerarArquivo(QString::fromLatin1(a.regime), QString::fromLatin1(a.periodo), a.tipoDeclaracao, "1"))
            << g.ultimoErro().toStdString();
        const QByteArray bytes = TBancoTeste::conteudo(desktop);
        ASSERT_FALSE(bytes.isEmpty());
        QString texto, erro;
        EXPECT_EQ(ExecutaVerifica(desktop, &texto, &erro), 0) << texto.toStdString() << erro.toStdString();
        // The accountant registered through its screen reaches the file with its CRC's letters.
        EXPECT_TRUE(bytes.contains("8805" "00052998224725" "ZR123456O9")) << a.nome;

        const QString cli = saida.filePath(QStringLiteral("%1-cli.txt").arg(a.nome));
        const TSaida r = zelcli(a, cli);
        ASSERT_EQ(r.codigo, 0) << r.erros.toStdString();
        EXPECT_EQ(TBancoTeste::conteudo(cli), bytes);
    }
}

TEST_F(MesCompleto, DocumentosMudadosDepoisDaDeclaracaoNaoVaoCalados)
{
    // A purchase typed after the declarations were saved: every monthly declaration now disagrees.
    nota(true, "000777", QDate(2012, 5, 25), "1102", cliente, "ZR", "200,00", "17");

    const struct {
        const TArquivoDoMes& arquivo;
        const char* campo;
        const char* valores;
    } casos[] = {
        {kArquivos[0], "1- Por entradas", "declarado 35,00, documentos 69,00 (diferença +34,00)"},
        {kArquivos[1], "Total de Aquisições", nullptr},
        {kArquivos[2], "Total de Entradas", "declarado 500,00, documentos 700,00 (diferença +200,00)"},
    };
    for (const auto& c : casos) {
        const TArquivoDoMes& a = c.arquivo;
        SCOPED_TRACE(a.nome);
        const QString desktop = saida.filePath(QStringLiteral("%1-desktop.txt").arg(a.nome));
        auto g = gerador();
        const QString diferencas =
            g.DiferencasDosDocumentos(QString::fromLatin1(a.regime), QString::fromLatin1(a.periodo), a.tipoDeclaracao, "1");
        if (a.tipoDeclaracao == 2) {
            // From July 2006 the EPP month takes no acquisitions from the documents: the purchase changes nothing
            // it stored, and its file goes as before.
            EXPECT_TRUE(diferencas.isEmpty()) << diferencas.toStdString();
            continue;
        }
        EXPECT_TRUE(diferencas.contains(QString::fromUtf8(c.campo) + ": " + QString::fromUtf8(c.valores)))
            << diferencas.toStdString();

        // The desktop asks; "&Não" writes nothing and shows nothing more.
        t.dialogos.esperaMensagem({}, Botao::Nao);
        EXPECT_FALSE(g.GerarArquivo(QString::fromLatin1(a.regime), QString::fromLatin1(a.periodo), a.tipoDeclaracao, "1"));
        EXPECT_TRUE(g.cancelado());
        EXPECT_TRUE(t.dialogos.registros().last().texto.contains("Gerar o arquivo assim mesmo?"));
        EXPECT_FALSE(QFile::exists(desktop));
        // "&Sim" files it as the user chose.
        t.dialogos.esperaMensagem({}, Botao::Sim).esperaSalvar(desktop);
        EXPECT_TRUE(g.GerarArquivo(QString::fromLatin1(a.regime), QString::fromLatin1(a.periodo), a.tipoDeclaracao, "1"))
            << g.ultimoErro().toStdString();

        // The command line refuses, naming the field, unless told to accept the differences.
        const QString cli = saida.filePath(QStringLiteral("%1-cli.txt").arg(a.nome));
        TSaida r = zelcli(a, cli);
        EXPECT_EQ(r.codigo, 1);
        EXPECT_TRUE(r.erros.contains(QString::fromUtf8(c.campo)) && r.erros.contains("--aceita-diferencas"))
            << r.erros.toStdString();
        EXPECT_FALSE(QFile::exists(cli));
        r = zelcli(a, cli, {"--aceita-diferencas"});
        EXPECT_EQ(r.codigo, 0) << r.erros.toStdString();
        EXPECT_EQ(TBancoTeste::conteudo(cli), TBancoTeste::conteudo(desktop));
    }
}

// The annual file belongs to December of its year (or to the current month of the current year): another month
// would deliver the year under a month's period.
TEST_F(MesCompleto, ArquivoAnualSoNoPeriodoDoAno)
{
    const TArquivoDoMes& anual = kArquivos[3];
    const QString cli = saida.filePath("anual.txt");
    for (const char* periodo : {"201106", "201101", "201113"}) {
        const TSaida r = zelcli(anual, cli, {}, periodo);
        EXPECT_EQ(r.codigo, 1) << periodo;
        EXPECT_FALSE(QFile::exists(cli)) << periodo;
        if (QByteArrayView(periodo) != "201113") {
            EXPECT_TRUE(r.erros.contains(QString::fromUtf8("O arquivo de dados anuais de 2011 é do período 12/2011")))
                << r.erros.toStdString();
        }
    }
    EXPECT_EQ(zelcli(anual, cli, {}, "201112").codigo, 0);
}
