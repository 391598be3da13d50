// The month's closing of an office: each taxpayer's state of May 2012 in a folder built through the register's
// and the documents' own saves, the batch of return files (a refused one among them), and zelcli fechamento
// run as an office's script runs it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "core/untRelogio.h"
#include "db/untSqlite.h"
#include "db/untTravaPasta.h"
#include "declarations/untZel.h"
#include "declarations/untZelSN.h"
#include "output/untEstadoMes.h"
#include "output/untGeradorArquivo.h"
#include "output/untVerificaArquivo.h"
#include "support/TBancoTeste.h"
#include "support/TEscritorioFechamento.h"

using namespace Fechamento;

namespace {

struct FechamentoMes : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2012, 6, 15), QTime(10, 0))};
    TEscritorioFechamento escritorio;
    QTemporaryDir saida;
    const QString maio = QString::fromLatin1(TEscritorioFechamento::kPeriodo);

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        ASSERT_TRUE(escritorio.monta(*t.dtm, t.dialogos, relogio));
    }

    QList<TLinha> estado(const QString& pasta = {}) { return EstadoDoMes(*t.dtm, t.dialogos, relogio, maio, pasta); }

    static const TLinha* de(const QList<TLinha>& linhas, int id)
    {
        for (const TLinha& l : linhas)
            if (l.idContribuinte == id)
                return &l;
        return nullptr;
    }
    QString situacao(const QList<TLinha>& linhas, const char* nome)
    {
        const TLinha* l = de(linhas, escritorio.ids.value(QString::fromLatin1(nome)));
        return l ? TextoSituacao(l->situacao) : QStringLiteral("(ausente)");
    }

    struct TSaida {
        int codigo = -1;
        QString saida, erros;
    };
    TSaida zelcli(const QStringList& args, const QString& zelPasta = {})
    {
        QProcess p;
        if (!zelPasta.isEmpty()) {
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert(QStringLiteral("ZEL_PASTA"), zelPasta);
            p.setProcessEnvironment(ambiente);
        }
        p.start(QStringLiteral(ZELCLI), QStringList{"fechamento"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
};

struct TEsperado {
    const char* nome;
    const char* situacao;
    const char* declaracao;   // siglaDeclaracao
    qint64 saidas;
};
const TEsperado kMaio[] = {
    {"ALFA", "sem movimento", "", 0},
    {"BETA", "sem declaração", "", 1},
    {"GAMA", "declaração desatualizada", "ZEL", 2},
    {"DELTA", "pronto para gerar", "ZEL", 1},
    {"EPSILON", "pronto para gerar", "EPP", 1},
    {"ZETA", "pronto para gerar", "SN", 1},
    {"ETA", "arquivo gerado", "SN", 1},
    {"TETA", "entregue", "ZEL", 1},
    {"IOTA", "pronto para gerar", "ZEL", 1},
};

} // namespace

TEST_F(FechamentoMes, CadaContribuinteNaSuaSituacao)
{
    const QList<TLinha> linhas = estado();
    ASSERT_EQ(linhas.size(), 9);   // the taxpayers only: the client of the register is no row
    for (const TEsperado& e : kMaio) {
        SCOPED_TRACE(e.nome);
        const TLinha* l = de(linhas, escritorio.ids.value(QString::fromLatin1(e.nome)));
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(TextoSituacao(l->situacao).toStdString(), e.situacao);
        EXPECT_EQ(l->siglaDeclaracao().toStdString(), e.declaracao);
        EXPECT_EQ(l->documentos[NotasSaida].quantidade, e.saidas);
        EXPECT_EQ(l->ccicms, escritorio.inscricoes.value(QString::fromLatin1(e.nome)));
    }
    // By name, as the register lists them.
    EXPECT_EQ(linhas.first().idContribuinte, escritorio.ids.value("ALFA"));
    EXPECT_EQ(linhas.last().idContribuinte, escritorio.ids.value("ZETA"));

    const TLinha& delta = *de(linhas, escritorio.ids.value("DELTA"));
    EXPECT_EQ(delta.documentos[NotasEntrada].quantidade, 1);
    EXPECT_EQ(delta.documentos[NotasEntrada].total, *Money::parse("400,00"));
    EXPECT_EQ(delta.documentos[NotasSaida].total, *Money::parse("1.000,00"));
    EXPECT_EQ(delta.tipo, "N");
    EXPECT_EQ(delta.tipoEntrega, 0);
    EXPECT_EQ(delta.numRecibo, TEscritorioFechamento::recibo());
    EXPECT_EQ(delta.dtGeracao, relogio.agora());

    // The stale one says which field and by how much, as the writer's question does.
    const TLinha& gama = *de(linhas, escritorio.ids.value("GAMA"));
    EXPECT_TRUE(gama.diferencas.contains(QString::fromUtf8("11- Por saídas"))) << gama.diferencas.toStdString();
    EXPECT_TRUE(gama.diferencas.contains(QStringLiteral("+42,50"))) << gama.diferencas.toStdString();
    EXPECT_EQ(gama.documentos[NotasSaida].total, *Money::parse("1.250,00"));

    EXPECT_FALSE(MesEmOrdem(linhas));
}

TEST_F(FechamentoMes, LoteGravaOsProntosESeguePelaFalha)
{
    QList<TLinha> linhas = estado();
    TProgressoGravado progresso;
    QStringList passagens;
    const QList<TResultado> r = GeraArquivos(*t.dtm, t.dialogos, progresso, relogio, maio, saida.path(), linhas,
                                             [&](int i, int n, const TLinha& l) {
                                                 passagens << QStringLiteral("%1/%2 %3").arg(i + 1).arg(n).arg(l.ccicms);
                                             });
    // The four ready ones, in the list's order; nothing else is written.
    ASSERT_EQ(r.size(), 4);
    EXPECT_EQ(passagens.size(), 4);
    EXPECT_EQ(progresso.inicios, 1);
    EXPECT_EQ(progresso.terminos, 1);
    EXPECT_EQ(progresso.pausas, 0);   // one file's pauses would stretch a batch of hundreds

    QStringList gravados;
    for (const TResultado& x : r) {
        const QString nome = escritorio.razoes.key(x.razaoSocial);
        SCOPED_TRACE(nome.toStdString());
        if (nome == QLatin1String("IOTA")) {
            EXPECT_FALSE(x.gravado);
            EXPECT_TRUE(x.mensagem.contains(QString::fromUtf8("tipo de entrega não está informado"))) << x.mensagem.toStdString();
            EXPECT_FALSE(QFile::exists(x.arquivo));
            continue;
        }
        ASSERT_TRUE(x.gravado) << x.mensagem.toStdString();
        gravados << QFileInfo(x.arquivo).fileName();
        // The name the desktop program proposes, and the very bytes of a single write.
        TProgressoNulo nulo;
        TGeradorArquivo g(*t.dtm, t.dialogos, nulo, relogio, x.idContribuinte);
        const TLinha* l = de(linhas, x.idContribuinte);
        EXPECT_EQ(QFileInfo(x.arquivo).fileName(), g.NomeArquivo(maio, l->tipoDeclaracao, "1") + ".txt");
        const QString sozinho = saida.filePath("sozinho.txt");
        ASSERT_TRUE(g.GravaArquivo(sozinho, l->regime, maio, l->tipoDeclaracao, "1")) << g.ultimoErro().toStdString();
        EXPECT_EQ(TBancoTeste::conteudo(x.arquivo), TBancoTeste::conteudo(sozinho));
        QFile::remove(sozinho);
        QString texto, erro;
        EXPECT_EQ(ExecutaVerifica(x.arquivo, &texto, &erro), 0) << texto.toStdString() << erro.toStdString();
        EXPECT_EQ(TextoSituacao(l->situacao), "arquivo gerado");
    }
    // Three files and nothing half-written beside them.
    EXPECT_EQ(QDir(saida.path()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << QDir(saida.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
    EXPECT_EQ(gravados.filter("ZEL201205_").size(), 1);
    EXPECT_EQ(gravados.filter("EPP201205_").size(), 1);
    EXPECT_EQ(gravados.filter("SN201205_").size(), 1);
    EXPECT_EQ(TextoSituacao(de(linhas, escritorio.ids.value("IOTA"))->situacao), "pronto para gerar");
    EXPECT_FALSE(MesEmOrdem(linhas, r));

    // Read again: the Simples Nacional row recorded its file; the others are known by the files in the folder.
    const QList<TLinha> semPasta = estado();
    EXPECT_EQ(situacao(semPasta, "ZETA"), "arquivo gerado");
    EXPECT_EQ(situacao(semPasta, "DELTA"), "pronto para gerar");
    const QList<TLinha> comPasta = estado(saida.path());
    for (const char* nome : {"DELTA", "EPSILON", "ZETA"})
        EXPECT_EQ(situacao(comPasta, nome), "arquivo gerado") << nome;
    EXPECT_EQ(situacao(comPasta, "IOTA"), "pronto para gerar");
}

TEST_F(FechamentoMes, ArquivoAnteriorAoUltimoSalvarNaoContaComoGerado)
{
    QList<TLinha> linhas = estado();
    TProgressoNulo nulo;
    GeraArquivos(*t.dtm, t.dialogos, nulo, relogio, maio, saida.path(), linhas);
    const TLinha* delta = de(linhas, escritorio.ids.value("DELTA"));
    ASSERT_TRUE(delta && delta->arquivoGerado);
    // The file dates from before the declaration's save (stamped by the fixed clock).
    QFile arquivo(delta->arquivo);
    ASSERT_TRUE(arquivo.open(QIODevice::ReadWrite));
    ASSERT_TRUE(arquivo.setFileTime(relogio.agora().addDays(-1), QFileDevice::FileModificationTime));
    arquivo.close();
    EXPECT_EQ(situacao(estado(saida.path()), "DELTA"), "pronto para gerar");

    // A Simples Nacional declaration saved again after its file is ready again.
    TZelSN sn(*t.dtm);
    TDataSet q(*t.con);
    q.setCommandText("SELECT IdSN FROM ZEL_SN WHERE IdContribuinte = :Id");
    q.setParam("Id", escritorio.ids.value("ZETA"));
    q.open();
    ASSERT_TRUE(sn.CarregarId(q.asInteger("IdSN"), escritorio.ids.value("ZETA")));
    QString erro;
    ASSERT_TRUE(sn.Alterar(relogio.agora().addSecs(3600), &erro)) << erro.toStdString();
    EXPECT_EQ(situacao(estado(), "ZETA"), "pronto para gerar");
}

TEST_F(FechamentoMes, PeriodosQueNaoSaoMes)
{
    for (const char* p : {"", "2012", "201213", "201200", "20125", "abcdef", "1899012"}) {
        SCOPED_TRACE(p);
        QString erro;
        EXPECT_FALSE(PeriodoValido(QString::fromLatin1(p), &erro));
        EXPECT_FALSE(erro.isEmpty());
        EXPECT_THROW(EstadoDoMes(*t.dtm, t.dialogos, relogio, QString::fromLatin1(p)), EArquivoInvalido);
    }
    EXPECT_TRUE(PeriodoValido("201205", nullptr));
}

TEST_F(FechamentoMes, RelatorioTemUmaLinhaPorContribuinteEAsContagens)
{
    const TRelatorio r = Relatorio(estado(), maio, relogio.agora());
    EXPECT_EQ(r.linhas.size(), 9);
    const QStringList textos = r.textos();
    EXPECT_TRUE(textos.contains(QStringLiteral("pronto para gerar: 4")));
    EXPECT_TRUE(textos.contains(QStringLiteral("sem movimento: 1")));
    EXPECT_TRUE(textos.contains(QStringLiteral("Contribuintes: 9")));
    EXPECT_EQ(r.periodo, QStringLiteral("Período: 05 / 2012"));
}

// ----- zelcli fechamento

TEST_F(FechamentoMes, ZelcliListaUmaLinhaPorContribuinte)
{
    t.con->Fechar();
    const TSaida s = zelcli({"--pasta", t.pasta.path(), "--periodo", maio});
    EXPECT_EQ(s.codigo, 1) << s.erros.toStdString();   // BETA, GAMA
    const QStringList linhas = s.saida.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 9) << s.saida.toStdString();
    for (const TEsperado& e : kMaio) {
        SCOPED_TRACE(e.nome);
        const QStringList l = linhas.filter(escritorio.inscricoes.value(QString::fromLatin1(e.nome)) + '\t');
        ASSERT_EQ(l.size(), 1);
        const QStringList campos = l.first().split('\t');
        ASSERT_GE(campos.size(), 8);
        EXPECT_EQ(campos[1], escritorio.razoes.value(QString::fromLatin1(e.nome)));
        EXPECT_EQ(campos[2].toStdString(), e.situacao);
        EXPECT_EQ(campos[4].toLongLong(), e.saidas);
    }
    // The stale one carries its differences on its own line.
    EXPECT_TRUE(linhas.filter(escritorio.inscricoes.value("GAMA")).first().contains(QString::fromUtf8("11- Por saídas")));
}

TEST_F(FechamentoMes, ZelcliGeraOsProntosEDizQualFalhou)
{
    t.con->Fechar();
    const TSaida s = zelcli({"--pasta", t.pasta.path(), "--periodo", maio, "--gerar", saida.path()});
    EXPECT_EQ(s.codigo, 1) << s.erros.toStdString();
    const QStringList linhas = s.saida.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 9);
    const QString iota = linhas.filter(escritorio.inscricoes.value("IOTA")).first();
    EXPECT_TRUE(iota.contains(QString::fromUtf8("\tpronto para gerar\t"))) << iota.toStdString();
    EXPECT_TRUE(iota.contains(QString::fromUtf8("tipo de entrega não está informado"))) << iota.toStdString();
    for (const char* nome : {"DELTA", "EPSILON", "ZETA"}) {
        const QString l = linhas.filter(escritorio.inscricoes.value(QString::fromLatin1(nome))).first();
        EXPECT_TRUE(l.contains("\tarquivo gerado\t")) << l.toStdString();
    }
    EXPECT_EQ(QDir(saida.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    EXPECT_EQ(s.erros.count("gerando "), 4) << s.erros.toStdString();

    // The office brings the month up to date through the declaration screens' saves: BETA's declaration, GAMA's
    // saved again after "Processa", IOTA's with its delivery type. The month closes, and only those three are
    // written: the files already in the folder count as written.
    t.reinicia();
    ASSERT_EQ(t.con->Conectar(), "JET");
    for (const char* nome : {"GAMA", "IOTA"}) {
        TDataSet q(*t.con);
        q.setCommandText("SELECT IDZel FROM ZEL WHERE IdContribuinte = :Id");
        q.setParam("Id", escritorio.ids.value(nome));
        q.open();
        QString erro;
        ASSERT_TRUE(ExcluiZel(*t.dtm, q.asInteger("IDZel"), escritorio.ids.value(nome), maio, &erro)) << erro.toStdString();
    }
    for (const char* nome : {"BETA", "GAMA", "IOTA"})
        ASSERT_TRUE(TEscritorioFechamento::salvaZel(*t.dtm, t.dialogos, relogio, escritorio.ids.value(nome), maio, 0,
                                                    TEscritorioFechamento::recibo()));
    t.con->Fechar();
    const TSaida ok = zelcli({"--pasta", t.pasta.path(), "--periodo", maio, "--gerar", saida.path()});
    EXPECT_EQ(ok.codigo, 0) << ok.saida.toStdString() << ok.erros.toStdString();
    EXPECT_EQ(ok.erros.count("gerando "), 3) << ok.erros.toStdString();
    EXPECT_EQ(QDir(saida.path()).entryList(QDir::Files | QDir::Hidden).size(), 6);
    EXPECT_EQ(ok.saida.count("\tarquivo gerado\t"), 7) << ok.saida.toStdString();
}

TEST_F(FechamentoMes, ZelcliUsoIncorretoEPastaOcupada)
{
    t.con->Fechar();
    const QStringList errados[] = {
        {},
        {"--pasta", t.pasta.path()},
        {"--pasta", t.pasta.path(), "--periodo", "052012"},
        {"--pasta", t.pasta.path(), "--periodo", maio, "--gerar"},
        {"--pasta", t.pasta.path(), "--periodo", maio, "--desconhecida"},
        {"--pasta", t.pasta.path(), "--periodo", maio, "sobra"},
    };
    for (const QStringList& args : errados) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const TSaida s = zelcli(args);
        EXPECT_EQ(s.codigo, 2);
        EXPECT_TRUE(s.erros.contains("zelcli fechamento --pasta PASTA --periodo AAAAMM")) << s.erros.toStdString();
        EXPECT_TRUE(s.saida.isEmpty());
    }
    QTemporaryDir vazia;
    EXPECT_EQ(zelcli({"--pasta", vazia.path(), "--periodo", maio}).codigo, 1);
    // Without --pasta the folder is the desktop program's: here the one ZEL_PASTA names.
    const TSaida comPasta = zelcli({"--pasta", t.pasta.path(), "--periodo", maio});
    const TSaida semPasta = zelcli({"--periodo", maio}, t.pasta.path());
    EXPECT_EQ(semPasta.codigo, comPasta.codigo);
    EXPECT_EQ(semPasta.saida, comPasta.saida);
    EXPECT_FALSE(semPasta.saida.isEmpty());
    EXPECT_EQ(zelcli({"--pasta", t.pasta.path(), "--periodo", maio, "--gerar", saida.filePath("nao-existe")}).codigo, 1);

    // A desktop program open on the folder keeps the batch out.
    TTravaPasta trava(t.pasta.path());
    ASSERT_TRUE(trava.trava());
    const TSaida ocupada = zelcli({"--pasta", t.pasta.path(), "--periodo", maio, "--gerar", saida.path()});
    EXPECT_EQ(ocupada.codigo, 1);
    EXPECT_TRUE(ocupada.erros.contains(TTravaPasta::mensagemOcupada())) << ocupada.erros.toStdString();
    EXPECT_TRUE(QDir(saida.path()).isEmpty());
}
