// The backup manager over a real data folder: archives, the due rule, restores and their refusals, the
// settings, the folder deletion, and the command-line tool over the same core.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zip.h>

#include "backup/untBackup.h"
#include "core/untRelogio.h"
#include "db/untTravaPasta.h"
#include "support/TBancoTeste.h"

namespace {

// The entries of an archive: name, compression method and bytes.
struct TEntrada {
    QString nome;
    int metodo = -1;
    QByteArray bytes;
};

QList<TEntrada> entradas(const QString& arquivo)
{
    QList<TEntrada> r;
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(arquivo).constData(), ZIP_RDONLY, &codigo);
    EXPECT_NE(z, nullptr) << arquivo.toStdString();
    if (!z)
        return r;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        TEntrada e{QString::fromUtf8(st.name), st.comp_method, QByteArray(qsizetype(st.size), '\0')};
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        zip_fread(f, e.bytes.data(), st.size);
        zip_fclose(f);
        r << e;
    }
    zip_discard(z);
    return r;
}

// An archive made by hand, each entry stored or deflated as asked.
void criaZip(const QString& arquivo, const QList<QPair<QString, QByteArray>>& conteudo, bool guardado = false)
{
    QFile::remove(arquivo);
    int codigo = 0;
    zip_t* z = zip_open(QFile::encodeName(arquivo).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codigo);
    ASSERT_NE(z, nullptr);
    for (const auto& [nome, bytes] : conteudo) {
        auto* copia = static_cast<char*>(malloc(size_t(bytes.size())));
        memcpy(copia, bytes.constData(), size_t(bytes.size()));
        zip_source_t* s = zip_source_buffer(z, copia, zip_uint64_t(bytes.size()), 1);
        const zip_int64_t i = zip_file_add(z, nome.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(i, 0) << zip_strerror(z);
        zip_set_file_compression(z, zip_uint64_t(i), guardado ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

QStringList tudoEm(const QString& pasta)
{
    QStringList r;
    QDirIterator it(pasta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        r << QDir(pasta).relativeFilePath(it.next());
    r.sort();
    return r;
}

struct Backup : ::testing::Test {
    TBancoTeste t;
    TRelogioFixo relogio{QDateTime(QDate(2024, 5, 1), QTime(10, 5, 33))};
    QString pasta, banco, ini;
    std::unique_ptr<TBackup> b;

    void SetUp() override
    {
        ASSERT_EQ(t.con->Conectar(), "JET");
        sql("INSERT INTO Contribuinte (IdContribuinte, CNPJ, RazaoSocial, Tipo) VALUES (1, '11222333000181', 'ANTES', 'C')");
        t.con->Fechar();
        pasta = t.pasta.path();
        banco = QDir(pasta).filePath("bcoZel.mdb");
        ini = QDir(pasta).filePath("zel.ini");
        novo();
    }
    void novo()
    {
        b.reset();
        b = std::make_unique<TBackup>(pasta, ini, relogio);
        b->prefixo = "BackupZel";
        b->AdicionaArquivo(banco);
        b->pastaRecuperacao = pasta;
    }
    void sql(const QString& s)
    {
        TBancoTeste::executaDireto(t.con->db(), s);
    }
    QString faz(TTipoBackup tipo = TTipoBackup::Manual, const QString& destino = {})
    {
        QString erro;
        const QString r = b->Realiza(tipo, destino, &erro);
        EXPECT_FALSE(r.isEmpty()) << erro.toStdString();
        return r;
    }
    QString padrao() const { return QDir(pasta).filePath("Backup"); }
};

} // namespace

// ----- archives

TEST_F(Backup, ArquivoTemSoABaseDeDadosCompactadaIgualAoArquivo)
{
    QStringList dicas;
    QList<int> passos;
    b->dica = [&](const QString& d) { dicas << d; };
    b->progresso = [&](int p) { passos << p; };
    const QString arquivo = faz();
    // The compression reports how far it got, up to the end.
    ASSERT_FALSE(passos.isEmpty());
    EXPECT_EQ(passos.last(), 100);
    EXPECT_TRUE(std::is_sorted(passos.begin(), passos.end()));
    EXPECT_EQ(arquivo, padrao() + "/BackupZel 2024-05-01 10h05min33s (manual).zip");
    const QList<TEntrada> e = entradas(arquivo);
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e[0].nome, "bcoZel.mdb");
    EXPECT_EQ(e[0].metodo, ZIP_CM_DEFLATE);
    EXPECT_EQ(e[0].bytes, TBancoTeste::conteudo(banco));
    EXPECT_EQ(b->ultimoArquivo, arquivo);
    EXPECT_EQ(b->ultimoBackup(), QDateTime(QDate(2024, 5, 1), QTime(10, 5, 33)));
    EXPECT_EQ(dicas, QStringList({QString::fromUtf8("Cópia de segurança - Checando pasta de backup..."),
                                  QString::fromUtf8("Cópia de segurança - Preparando compactação de arquivos..."),
                                  QString::fromUtf8("Cópia de segurança - Compactando arquivos de dados..."),
                                  QString::fromUtf8("Cópia de segurança - Renomeando arquivo de backup..."), QString()}));
    // Nothing else was left in the folder.
    EXPECT_EQ(tudoEm(padrao()), QStringList{"BackupZel 2024-05-01 10h05min33s (manual).zip"});
}

TEST_F(Backup, NoMesmoSegundoONomeSimplesEDepoisNenhumSobrescrito)
{
    const QString primeiro = faz();
    const QByteArray bytesPrimeiro = TBancoTeste::conteudo(primeiro);
    const QString segundo = faz(TTipoBackup::Manual);
    EXPECT_EQ(segundo, padrao() + "/BackupZel.zip");
    const QByteArray bytesSegundo = TBancoTeste::conteudo(segundo);
    QString erro;
    EXPECT_TRUE(b->Realiza(TTipoBackup::Manual, {}, &erro).isEmpty());
    EXPECT_FALSE(erro.isEmpty());
    EXPECT_EQ(TBancoTeste::conteudo(primeiro), bytesPrimeiro);
    EXPECT_EQ(TBancoTeste::conteudo(segundo), bytesSegundo);
    EXPECT_EQ(tudoEm(padrao()).size(), 2);
    EXPECT_EQ(b->ultimoArquivo, segundo);
    EXPECT_FALSE(b->ultimoBackup().has_value()) << "the plain name holds no time";
}

TEST_F(Backup, PastaDadaCriadaComAsIntermediarias)
{
    const QString destino = QDir(pasta).filePath("a/b/c");
    const QString arquivo = faz(TTipoBackup::Manual, destino);
    EXPECT_TRUE(arquivo.startsWith(destino + "/BackupZel 2024-05-01"));
    EXPECT_TRUE(QFile::exists(arquivo));
}

TEST_F(Backup, DiscoCheioNaoDeixaArquivoPela_Metade)
{
    // A database larger than the space left: random bytes do not compress.
    t.con->Conectar();
    sql("CREATE TABLE Enchimento (b BLOB)");
    sql("INSERT INTO Enchimento VALUES (randomblob(3000000))");
    t.con->Fechar();
    QDir().mkpath(padrao());
    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    auto sinal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 256 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    QString erro;
    const QString r = b->Realiza(TTipoBackup::Manual, {}, &erro);
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinal);
    EXPECT_TRUE(r.isEmpty());
    EXPECT_TRUE(erro.contains(QString::fromUtf8("Nenhum arquivo de backup foi gravado"))) << erro.toStdString();
    EXPECT_TRUE(tudoEm(padrao()).isEmpty()) << tudoEm(padrao()).join(", ").toStdString();
    EXPECT_EQ(b->ultimoArquivo, TBackup::textoSemBackup());
}

TEST_F(Backup, HoraSoDoPadraoDoNome)
{
    EXPECT_EQ(TBackup::HoraDoNome("/x/2023/BackupZel 2024-05-01 10h05min33s (manual).zip"),
              QDateTime(QDate(2024, 5, 1), QTime(10, 5, 33)));
    EXPECT_FALSE(TBackup::HoraDoNome("/backups/20240501100533/BackupZel.zip").has_value());
    EXPECT_FALSE(TBackup::HoraDoNome(TBackup::textoSemBackup()).has_value());
    EXPECT_FALSE(TBackup::HoraDoNome("BackupZel 2024-02-30 10h05min33s (manual).zip").has_value());
    EXPECT_EQ(TBackup::NomeArquivo("BackupZel", QDateTime(QDate(2024, 5, 1), QTime(9, 5, 3)), TTipoBackup::AntesDaRecuperacao),
              QString::fromUtf8("BackupZel 2024-05-01 09h05min03s (antes da recuperação).zip"));
}

// ----- the end of the program

TEST_F(Backup, VencimentoNaViradaDoDia)
{
    b->ultimoArquivo = padrao() + "/BackupZel 2024-05-01 10h05min33s (manual).zip";
    b->intervalo = 7;
    EXPECT_FALSE(b->Vencido(QDateTime(QDate(2024, 5, 8), QTime(23, 59, 59))));
    EXPECT_TRUE(b->Vencido(QDateTime(QDate(2024, 5, 9), QTime(0, 0))));
    b->intervalo = 1;
    EXPECT_FALSE(b->Vencido(QDateTime(QDate(2024, 5, 2), QTime(10, 0))));
    EXPECT_TRUE(b->Vencido(QDateTime(QDate(2024, 5, 3), QTime(0, 0))));
    b->sempre = true;
    EXPECT_TRUE(b->Vencido(QDateTime(QDate(2024, 5, 1), QTime(10, 6))));
}

TEST_F(Backup, FimDoProgramaFazOAutomaticoOuPergunta)
{
    b->ultimoArquivo = padrao() + "/BackupZel 2024-05-01 10h05min33s (manual).zip";
    relogio.ajusta(QDateTime(QDate(2024, 5, 8), QTime(18, 0)));
    EXPECT_EQ(b->FimDoPrograma().acao, TBackup::TFim::Acao::Nada);
    relogio.ajusta(QDateTime(QDate(2024, 5, 9), QTime(0, 0, 1)));
    const TBackup::TFim fim = b->FimDoPrograma();
    ASSERT_EQ(fim.acao, TBackup::TFim::Acao::Realizado);
    EXPECT_EQ(fim.arquivo, padrao() + QString::fromUtf8("/BackupZel 2024-05-09 00h00min01s (automático).zip"));

    // Never over good copies from a start that could not connect or a damaged database.
    b->sempre = true;
    b->impedimento = QString::fromUtf8("a Base de Dados está danificada.");
    const TBackup::TFim impedido = b->FimDoPrograma();
    EXPECT_EQ(impedido.acao, TBackup::TFim::Acao::Impedido);
    EXPECT_TRUE(impedido.mensagem.contains("danificada"));
    EXPECT_EQ(tudoEm(padrao()).size(), 1);
}

TEST_F(Backup, PerguntasAoSair)
{
    b->perguntar = true;
    b->ultimoArquivo = TBackup::textoSemBackup();
    const TBackup::TFim fim = b->FimDoPrograma();
    EXPECT_EQ(fim.acao, TBackup::TFim::Acao::Pergunta);
    EXPECT_EQ(fim.mensagem, QString::fromUtf8("O sistema ainda não possui nenhuma cópia de segurança!\n"
                                              "Deseja realizar cópia de segurança agora?"));
    b->ultimoArquivo = "/b/BackupZel 2024-05-01 10h05min33s (manual).zip";   // a Wednesday
    const QString fimTexto = QString::fromUtf8(".\n\nDeseja realizar cópia de segurança agora?");
    EXPECT_EQ(b->PerguntaAoSair(QDateTime(QDate(2024, 5, 1), QTime(18, 0))),
              QString::fromUtf8("A última cópia de segurança dos dados do sistema foi realizada hoje, Quarta, "
                                "01/05/2024, às 10h05min33s") + fimTexto);
    EXPECT_EQ(b->PerguntaAoSair(QDateTime(QDate(2024, 5, 2), QTime(8, 0))),
              QString::fromUtf8("A última cópia de segurança dos dados do sistema foi realizada ontem, Quarta, "
                                "01/05/2024, às 10h05min33s") + fimTexto);
    EXPECT_EQ(b->PerguntaAoSair(QDateTime(QDate(2024, 5, 4), QTime(8, 0))),
              QString::fromUtf8("A última cópia de segurança dos dados do sistema foi realizada há 3 dias (Quarta, "
                                "01/05/2024, às 10h05min33s)") + fimTexto);
}

// ----- restores

TEST_F(Backup, RecuperaDeUmArquivoBom)
{
    const QByteArray original = TBancoTeste::conteudo(banco);
    const QString arquivo = faz();
    t.con->Conectar();
    sql("UPDATE Contribuinte SET RazaoSocial = 'DEPOIS'");
    t.con->Fechar();
    const QByteArray depois = TBancoTeste::conteudo(banco);
    ASSERT_NE(depois, original);
    relogio.ajusta(QDateTime(QDate(2024, 5, 2), QTime(8, 0)));
    QString erro;
    ASSERT_TRUE(b->Recupera(arquivo, [] { return false; }, &erro)) << erro.toStdString();
    EXPECT_EQ(TBancoTeste::conteudo(banco), original);
    EXPECT_TRUE(b->recuperado);
    EXPECT_EQ(b->ultimoArquivo, arquivo);
    // The safety copy holds what the data were just before.
    const QString seguranca = padrao() + QString::fromUtf8("/BackupZel 2024-05-02 08h00min00s (antes da recuperação).zip");
    ASSERT_TRUE(QFile::exists(seguranca));
    EXPECT_EQ(entradas(seguranca).value(0).bytes, depois);
    EXPECT_EQ(tudoEm(pasta).filter(".tmp").size(), 0);
}

TEST_F(Backup, SemCopiaDeSegurancaNaoHaRecuperacao)
{
    const QString destino = QDir(pasta).filePath("outra");
    const QString arquivo = faz(TTipoBackup::Manual, destino);
    t.con->Conectar();
    sql("UPDATE Contribuinte SET RazaoSocial = 'DEPOIS'");
    t.con->Fechar();
    const QByteArray atual = TBancoTeste::conteudo(banco);
    // The default folder cannot be made (a file holds its name): the safety copy fails, and so the restore.
    QFile ocupa(padrao());
    ASSERT_TRUE(ocupa.open(QIODevice::WriteOnly));
    ocupa.close();
    QString erro;
    EXPECT_FALSE(b->Recupera(arquivo, [] { return false; }, &erro));
    EXPECT_TRUE(erro.contains(QString::fromUtf8("Nada foi recuperado"))) << erro.toStdString();
    EXPECT_TRUE(erro.endsWith(QString::fromUtf8("Os dados atuais não foram alterados.")));
    EXPECT_EQ(TBancoTeste::conteudo(banco), atual);
    EXPECT_FALSE(b->recuperado);
    EXPECT_EQ(tudoEm(pasta).filter(".tmp").size(), 0) << "the extracted copy is removed";
}

TEST_F(Backup, NuncaComAConexaoAberta)
{
    const QString arquivo = faz();
    QString erro;
    EXPECT_FALSE(b->Recupera(arquivo, [] { return true; }, &erro));
    EXPECT_TRUE(erro.contains(QString::fromUtf8("Os dados atuais não foram alterados.")));
    EXPECT_EQ(tudoEm(padrao()).size(), 1) << "no safety copy either";
}

struct ArquivoRuim {
    const char* nome;
    std::function<void(const QString& arquivo, const QByteArray& banco)> cria;
    const char* trecho;
};
void PrintTo(const ArquivoRuim& a, std::ostream* os) { *os << a.nome; }

class Recusa : public Backup, public ::testing::WithParamInterface<ArquivoRuim> {};

TEST_P(Recusa, NadaMudaNemNaPastaNemNaBase)
{
    const QString arquivo = QDir(t.pasta.path()).filePath("ruim.zip");
    GetParam().cria(arquivo, TBancoTeste::conteudo(banco));
    const QByteArray antes = TBancoTeste::conteudo(banco);
    const QStringList pastaAntes = tudoEm(pasta);
    QString erro;
    EXPECT_FALSE(b->Recupera(arquivo, [] { return false; }, &erro));
    EXPECT_TRUE(erro.contains(QString::fromUtf8(GetParam().trecho))) << erro.toStdString();
    EXPECT_TRUE(erro.endsWith(QString::fromUtf8("Os dados atuais não foram alterados."))) << erro.toStdString();
    EXPECT_EQ(TBancoTeste::conteudo(banco), antes);
    EXPECT_EQ(tudoEm(pasta), pastaAntes);
    EXPECT_FALSE(QFile::exists(QDir(pasta).filePath("../evil")));
    EXPECT_FALSE(QFile::exists("/tmp/x-zel-recusa"));
    EXPECT_FALSE(b->recuperado);
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, Recusa,
    ::testing::Values(
        ArquivoRuim{"SubindoDePasta",
                    [](const QString& a, const QByteArray& db) { criaZip(a, {{"bcoZel.mdb", db}, {"../evil", "x"}}); },
                    "../evil"},
        ArquivoRuim{"CaminhoAbsoluto",
                    [](const QString& a, const QByteArray& db) {
                        criaZip(a, {{"/tmp/x-zel-recusa", "x"}, {"bcoZel.mdb", db}});
                    },
                    "/tmp/x-zel-recusa"},
        ArquivoRuim{"SemBaseDeDados", [](const QString& a, const QByteArray&) { criaZip(a, {{"outro.txt", "x"}}); },
                    "não contém a Base de Dados"},
        ArquivoRuim{"BaseNumaSubpasta",
                    [](const QString& a, const QByteArray& db) { criaZip(a, {{"Tabelas/bcoZel.mdb", db}}); },
                    "não contém a Base de Dados"},
        ArquivoRuim{"NaoEANossaBase",
                    [](const QString& a, const QByteArray&) {
                        criaZip(a, {{"bcoZel.mdb", QByteArray("isto não é uma base de dados").repeated(100)}});
                    },
                    "não pode ser recuperado"},
        ArquivoRuim{"CrcQuebrado",
                    [](const QString& a, const QByteArray& db) {
                        criaZip(a, {{"bcoZel.mdb", db}}, true);
                        // A byte of the stored data changed: the checksum no longer matches.
                        QFile f(a);
                        f.open(QIODevice::ReadWrite);
                        f.seek(30 + 10 + 2000);
                        char c = 0;
                        f.getChar(&c);
                        f.seek(30 + 10 + 2000);
                        f.putChar(char(c ^ 0x5A));
                    },
                    "danificada"},
        ArquivoRuim{"NaoEZip", [](const QString& a, const QByteArray&) {
                        QFile f(a);
                        f.open(QIODevice::WriteOnly);
                        f.write("PK nada disso");
                    },
                    "não pôde ser lido como backup"}),
    [](const ::testing::TestParamInfo<ArquivoRuim>& i) { return std::string(i.param.nome); });

// ----- settings and folders

TEST_F(Backup, ConfiguracoesForaDoIntervaloEListaDePastas)
{
    b.reset();
    {
        QSettings s(ini, QSettings::IniFormat);
        s.setValue("Backup/IntervaloMaximo", 16);
        s.setValue("Backup/SempreFazer", true);
        s.setValue("Backup/UltimoArquivo", "/b/BackupZel 2024-05-01 10h05min33s (manual).zip");
    }
    QFile lista(QDir(pasta).filePath("Paths.Backup"));
    ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
    lista.write("  /srv/copias  \n\n/srv/copias/\n/mnt/usb\n");
    lista.close();
    novo();
    EXPECT_EQ(b->intervalo, 7);
    EXPECT_TRUE(b->sempre);
    EXPECT_FALSE(b->perguntar);
    EXPECT_EQ(b->ultimoBackup(), QDateTime(QDate(2024, 5, 1), QTime(10, 5, 33)));
    EXPECT_EQ(b->pastas, QStringList({"/srv/copias/", "/mnt/usb/", b->pastaPadrao()}));
    for (const QVariant& ruim : {QVariant(0), QVariant(-3), QVariant("abc")}) {
        b.reset();
        QSettings(ini, QSettings::IniFormat).setValue("Backup/IntervaloMaximo", ruim);
        novo();
        EXPECT_EQ(b->intervalo, 7) << ruim.toString().toStdString();
    }
    b->intervalo = 15;
    b->perguntar = true;
    b->configurado = true;
    b->pastas = {b->pastaPadrao()};
    novo();
    EXPECT_EQ(b->intervalo, 15);
    EXPECT_TRUE(b->perguntar);
    EXPECT_TRUE(b->configurado);
    EXPECT_EQ(b->pastas, QStringList{b->pastaPadrao()});
    // An empty list deletes the file; the default folder comes back on the next start.
    b->pastas.clear();
    b.reset();
    EXPECT_FALSE(QFile::exists(QDir(pasta).filePath("Paths.Backup")));
    novo();
    EXPECT_EQ(b->pastas, QStringList{b->pastaPadrao()});
}

TEST_F(Backup, ApagaPastaSoComArquivosDoBackup)
{
    const QString limpa = QDir(pasta).filePath("limpa");
    faz(TTipoBackup::Manual, limpa);
    QDir().mkpath(limpa + "/vazia/mais");
    QString erro;
    EXPECT_TRUE(b->ApagaPasta(limpa, &erro)) << erro.toStdString();
    EXPECT_FALSE(QFileInfo::exists(limpa));

    const QString mista = QDir(pasta).filePath("mista");
    const QString arquivo = faz(TTipoBackup::Manual, mista);
    QDir().mkpath(mista + "/sub");
    QFile outro(mista + "/sub/planilha.ods");
    ASSERT_TRUE(outro.open(QIODevice::WriteOnly));
    outro.write("dados do usuário");
    outro.close();
    EXPECT_FALSE(b->ApagaPasta(mista, &erro));
    EXPECT_TRUE(erro.contains("planilha.ods")) << erro.toStdString();
    EXPECT_TRUE(QFile::exists(arquivo)) << "nothing deleted";
    EXPECT_TRUE(QFile::exists(mista + "/sub/planilha.ods"));

    // Never the program's folder, one above it, the home or the root.
    for (const QString& proibida : {pasta, QFileInfo(pasta).absolutePath(), QDir::homePath(), QStringLiteral("/")}) {
        EXPECT_FALSE(b->ApagaPasta(proibida, &erro)) << proibida.toStdString();
        EXPECT_TRUE(QFileInfo::exists(proibida));
    }
    EXPECT_TRUE(QFile::exists(banco));
}

// ----- the command-line tool

namespace {

int zelcli(const QStringList& args, QString* saida = nullptr, QString* erros = nullptr)
{
    QProcess p;
    p.start(QStringLiteral(ZELCLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    if (saida)
        *saida = QString::fromUtf8(p.readAllStandardOutput());
    if (erros)
        *erros = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST_F(Backup, LinhaDeComandoFazERecuperaRespeitandoATrava)
{
    b.reset();
    QString saida, erros;
    const QString destino = QDir(pasta).filePath("cli");
    ASSERT_EQ(zelcli({"backup", "--pasta", pasta, "--destino", destino}, &saida, &erros), 0) << erros.toStdString();
    const QString arquivo = saida.trimmed();
    EXPECT_TRUE(arquivo.startsWith(destino + "/BackupZel ") && arquivo.endsWith("(manual).zip")) << arquivo.toStdString();
    EXPECT_EQ(entradas(arquivo).value(0).bytes, TBancoTeste::conteudo(banco));
    // The desktop program reads the last archive from the same settings.
    novo();
    EXPECT_EQ(b->ultimoArquivo, arquivo);
    b.reset();

    t.con->Conectar();
    sql("UPDATE Contribuinte SET RazaoSocial = 'DEPOIS'");
    t.con->Fechar();
    const QByteArray depois = TBancoTeste::conteudo(banco);
    {
        // A running desktop program holds the folder.
        TTravaPasta trava(pasta);
        ASSERT_TRUE(trava.trava());
        EXPECT_EQ(zelcli({"restaura", "--pasta", pasta, arquivo}, nullptr, &erros), 1);
        EXPECT_FALSE(erros.isEmpty());
        EXPECT_EQ(TBancoTeste::conteudo(banco), depois);
    }
    ASSERT_EQ(zelcli({"restaura", "--pasta", pasta, arquivo}, &saida, &erros), 0) << erros.toStdString();
    EXPECT_EQ(TBancoTeste::conteudo(banco), entradas(arquivo).value(0).bytes);
    EXPECT_EQ(QDir(padrao()).entryList({"*antes da recupera*"}, QDir::Files).size(), 1);

    const QString ruim = QDir(pasta).filePath("ruim.zip");
    criaZip(ruim, {{"../evil", "x"}});
    EXPECT_EQ(zelcli({"restaura", "--pasta", pasta, ruim}, nullptr, &erros), 1);
    EXPECT_TRUE(erros.contains("../evil")) << erros.toStdString();
    EXPECT_EQ(zelcli({"backup"}), 2);
}
