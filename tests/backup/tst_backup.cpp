// The backup manager over a real data folder: archives, the due rule, restores and their refusals, the
// settings, the folder deletion, and the command-line tool over the same core.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include "backup/untBackup.h"
#include "core/untRelogio.h"
#include "db/untTravaPasta.h"
#include "support/TBancoTeste.h"
#include "support/TProcessoFilho.h"

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

// The texts the zip library would give in English: none may reach the user.
void semTextoDaBibliotecaZip(const QString& mensagem)
{
    for (int c = ZIP_ER_MULTIDISK; c <= ZIP_ER_CANCELLED; ++c) {
        zip_error_t e;
        zip_error_init_with_code(&e, c);
        const QString ingles = QString::fromUtf8(zip_error_strerror(&e)).section(QLatin1Char(':'), 0, 0);
        zip_error_fini(&e);
        EXPECT_FALSE(mensagem.contains(ingles, Qt::CaseInsensitive)) << ingles.toStdString() << " in " << mensagem.toStdString();
    }
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
    EXPECT_FALSE(erro.contains(QString::fromUtf8("nele a verificação"))) << erro.toStdString();
    semTextoDaBibliotecaZip(erro);
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
        ArquivoRuim{"DuasBasesDeDados",
                    [](const QString& a, const QByteArray& db) {
                        criaZip(a, {{"bcoZel.mdb", db}, {"bcoZel.mdX", db}});
                        // The library refuses to write two entries of one name: the second is renamed after.
                        QFile f(a);
                        f.open(QIODevice::ReadWrite);
                        QByteArray bytes = f.readAll();
                        bytes.replace("bcoZel.mdX", "bcoZel.mdb");
                        f.seek(0);
                        f.write(bytes);
                    },
                    "mais de uma entrada com o mesmo nome"},
        ArquivoRuim{"BaseDeOutroPrograma",
                    [](const QString& a, const QByteArray&) {
                        QTemporaryDir d;
                        const QString outro = d.filePath("outro.db");
                        sqlite3* db = TBancoTeste::abreDireto(outro);
                        TBancoTeste::executaDireto(db, "CREATE TABLE Clientes (Nome TEXT)");
                        sqlite3_close(db);
                        criaZip(a, {{"bcoZel.mdb", TBancoTeste::conteudo(outro)}});
                    },
                    "a Base de Dados contida nele não é deste sistema"},
        ArquivoRuim{"BaseDanificada",
                    [](const QString& a, const QByteArray& db) {
                        QByteArray estragado = db;
                        const int pagina = 4096;
                        const int meio = int(estragado.size() / pagina / 2 * pagina);
                        estragado.replace(meio, pagina, QByteArray(pagina, '\x5A'));
                        criaZip(a, {{"bcoZel.mdb", estragado}});
                    },
                    "a Base de Dados contida nele está danificada (a verificação de integridade encontrou erros)"},
        ArquivoRuim{"Truncado",
                    [](const QString& a, const QByteArray& db) {
                        criaZip(a, {{"bcoZel.mdb", db}});
                        QFile f(a);
                        f.open(QIODevice::ReadWrite);
                        f.resize(f.size() / 2);
                    },
                    "não pôde ser lido como backup"},
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

int zelcli(const QStringList& args, QString* saida = nullptr, QString* erros = nullptr,
           const QProcessEnvironment& ambiente = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(ambiente);
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
    // Without --pasta the tool takes the desktop program's folder; one without a database is refused.
    QTemporaryDir vazia;
    auto semBanco = QProcessEnvironment::systemEnvironment();
    semBanco.insert("ZEL_PASTA", vazia.path());
    EXPECT_EQ(zelcli({"backup"}, nullptr, &erros, semBanco), 1);
    EXPECT_TRUE(erros.contains(vazia.path())) << erros.toStdString();
    EXPECT_EQ(zelcli({"backup", "--destino"}, nullptr, nullptr, semBanco), 2);
}

TEST_F(Backup, LinhaDeComandoInstaladaNumaPastaSomenteLeituraUsaAPastaDoUsuario)
{
    b.reset();
    // The tool copied where it cannot write, as an installed program is: its data are the user's folder.
    QTemporaryDir programa, usuario;
    const QString zelcliCopia = QDir(programa.path()).filePath("zelcli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZELCLI), zelcliCopia));
    const QString dados = QDir(usuario.path()).filePath("zel");
    ASSERT_TRUE(QDir().mkpath(dados));
    ASSERT_TRUE(QFile::copy(banco, QDir(dados).filePath("bcoZel.mdb")));
    TPastaSomenteLeitura somenteLeitura(programa.path());
    if (!somenteLeitura.impossivel().isEmpty())
        GTEST_SKIP() << somenteLeitura.impossivel().toStdString();
    auto ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.remove("ZEL_PASTA");
    ambiente.insert("XDG_DATA_HOME", usuario.path());
    QProcess p;
    p.setProcessEnvironment(ambiente);
    p.start(zelcliCopia, {"backup"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString arquivo = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(arquivo.startsWith(QDir(dados).filePath("Backup/BackupZel "))) << arquivo.toStdString();
    EXPECT_TRUE(QFileInfo::exists(QDir(dados).filePath("zel.ini")));
    EXPECT_EQ(QDir(programa.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"zelcli"});
}

TEST_F(Backup, LinhaDeComandoSemPastaSegueZelPastaComTravaIniEBackups)
{
    b.reset();
    auto ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert("ZEL_PASTA", pasta);
    QString saida, erros;
    ASSERT_EQ(zelcli({"backup"}, &saida, &erros, ambiente), 0) << erros.toStdString();
    const QString arquivo = saida.trimmed();
    EXPECT_EQ(QFileInfo(arquivo).absolutePath(), QFileInfo(padrao()).absoluteFilePath()) << arquivo.toStdString();
    // The settings of that folder record it, as the desktop program reads them.
    novo();
    EXPECT_EQ(b->ultimoArquivo, arquivo);
    b.reset();

    // --pasta wins over ZEL_PASTA.
    QTemporaryDir outra;
    EXPECT_EQ(zelcli({"backup", "--pasta", outra.path()}, nullptr, &erros, ambiente), 1);
    EXPECT_TRUE(erros.contains(outra.path())) << erros.toStdString();
    EXPECT_EQ(QDir(padrao()).entryList({"*.zip"}, QDir::Files).size(), 1);

    {
        // The lock is that folder's too: a desktop program open on it keeps the tool out.
        TTravaPasta trava(pasta);
        ASSERT_TRUE(trava.trava());
        EXPECT_EQ(zelcli({"restaura", arquivo}, nullptr, &erros, ambiente), 1);
        EXPECT_EQ(erros.trimmed(), "zelcli restaura: " + TTravaPasta::mensagemOcupada()) << erros.toStdString();
    }
    ASSERT_EQ(zelcli({"restaura", arquivo}, &saida, &erros, ambiente), 0) << erros.toStdString();
    EXPECT_EQ(QDir(padrao()).entryList({"*antes da recupera*"}, QDir::Files).size(), 1);
}

// ----- what the system does to a backup: an interrupted writer, full disks, size limits, file systems

namespace {

const QString kInalterado = QString::fromUtf8("Os dados atuais não foram alterados.");

QStringList temporariosEm(const QString& pasta)
{
    return tudoEm(pasta).filter(QRegularExpression(QStringLiteral("(^|/)\\.[^/]*\\.(tmp|lck)")));
}

// A database entry as a restore sees it: whole, ours, with the rows it had.
void confereBancoDoArquivo(const QString& arquivo, const QString& pastaTrabalho, const QString& razaoEsperada)
{
    const QList<TEntrada> e = entradas(arquivo);
    ASSERT_EQ(e.size(), 1);
    const QString copia = QDir(pastaTrabalho).filePath("conferencia.mdb");
    QFile::remove(copia);
    QFile f(copia);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(e[0].bytes);
    f.close();
    sqlite3* db = TBancoTeste::abreDireto(copia);
    EXPECT_EQ(TBancoTeste::valorDireto(db, "PRAGMA quick_check").toString(), "ok");
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT RazaoSocial FROM Contribuinte").toString(), razaoEsperada);
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM sqlite_master WHERE name = 'Enchimento'").toInt(), 0);
    sqlite3_close(db);
    QFile::remove(copia);
}

// The desktop program killed in the middle of a write transaction whose pages already reached the file.
void escritorMorto(const QString& pasta, const QString& banco)
{
    const QByteArray antes = TBancoTeste::conteudo(banco);
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--transacao-interrompida"), pasta});
    ASSERT_TRUE(p.waitForStarted(5000));
    while (!p.canReadLine() && p.waitForReadyRead(20000)) {
    }
    ASSERT_EQ(p.readLine().trimmed(), "pronto") << p.readAllStandardError().toStdString();
    p.kill();
    p.waitForFinished(5000);
    ASSERT_TRUE(QFileInfo::exists(banco + "-journal")) << "the dead writer left its journal";
    ASSERT_NE(TBancoTeste::conteudo(banco), antes) << "its pages reached the file: a raw copy would not be sound";
}

} // namespace

TEST_F(Backup, TransacaoInterrompidaDesfeitaAntesDaCopia)
{
    // The tool and the automatic backup at the end of the program take the same path.
    for (const bool peloTerminal : {true, false}) {
        SCOPED_TRACE(peloTerminal ? "zelcli backup" : "automatic backup");
        b.reset();
        escritorMorto(pasta, banco);
        if (HasFatalFailure())
            return;
        QString arquivo;
        if (peloTerminal) {
            QString saida, erros;
            ASSERT_EQ(zelcli({"backup", "--pasta", pasta}, &saida, &erros), 0) << erros.toStdString();
            arquivo = saida.trimmed();
        } else {
            novo();
            b->sempre = true;
            relogio.ajusta(relogio.agora().addSecs(1));
            const TBackup::TFim fim = b->FimDoPrograma();
            ASSERT_EQ(fim.acao, TBackup::TFim::Acao::Realizado) << fim.mensagem.toStdString();
            arquivo = fim.arquivo;
        }
        EXPECT_FALSE(QFileInfo::exists(banco + "-journal")) << "rolled back before the copy";
        confereBancoDoArquivo(arquivo, t.pasta.path(), "ANTES");
        EXPECT_TRUE(temporariosEm(pasta).isEmpty()) << temporariosEm(pasta).join(", ").toStdString();
    }
    // And the archive restores.
    novo();
    QString erro;
    ASSERT_TRUE(b->Recupera(b->ultimoArquivo, [] { return false; }, &erro)) << erro.toStdString();
}

TEST_F(Backup, BaseDanificadaNaoViraBackup)
{
    // A page in the middle of the file overwritten: the check of the copy finds it.
    {
        QFile f(banco);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 pagina = 4096;
        ASSERT_GT(f.size(), 8 * pagina);
        f.seek(f.size() / pagina / 2 * pagina);
        f.write(QByteArray(int(pagina), '\x5A'));
    }
    QString erro;
    EXPECT_TRUE(b->Realiza(TTipoBackup::Manual, {}, &erro).isEmpty());
    EXPECT_TRUE(erro.contains("danificada")) << erro.toStdString();
    EXPECT_TRUE(erro.endsWith("Nenhum arquivo de backup foi gravado.")) << erro.toStdString();
    EXPECT_TRUE(tudoEm(padrao()).isEmpty()) << tudoEm(padrao()).join(", ").toStdString();
    b.reset();
    QString erros;
    EXPECT_EQ(zelcli({"backup", "--pasta", pasta}, nullptr, &erros), 1);
    EXPECT_TRUE(erros.contains("danificada")) << erros.toStdString();
}

namespace {

// zelcli run as a user with a file-size limit (ulimit -f) would run it.
int zelcliComLimite(const QStringList& args, rlim_t limite, QString* erros)
{
    QProcess p;
    p.setChildProcessModifier([limite] {
        rlimit r{limite, limite};
        ::setrlimit(RLIMIT_FSIZE, &r);
    });
    p.start(QStringLiteral(ZELCLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    *erros = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : 128 + p.exitCode();
}

} // namespace

TEST_F(Backup, LimiteDeTamanhoDeArquivoRelatadoSemRestos)
{
    t.con->Conectar();
    sql("CREATE TABLE Enchimento2 (b BLOB)");
    sql("INSERT INTO Enchimento2 VALUES (randomblob(1500000))");
    t.con->Fechar();
    const QString arquivo = faz();
    b.reset();
    const QByteArray atual = TBancoTeste::conteudo(banco);
    struct Caso {
        const char* nome;
        QStringList args;
        const char* fim;
    };
    const QList<Caso> casos = {
        {"backup", {"backup", "--pasta", pasta}, "Nenhum arquivo de backup foi gravado."},
        {"restaura", {"restaura", "--pasta", pasta, arquivo}, "Os dados atuais não foram alterados."},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QString erros;
        EXPECT_EQ(zelcliComLimite(c.args, 256 * 1024, &erros), 1) << erros.toStdString();
        EXPECT_TRUE(erros.contains(QString::fromUtf8("tamanho máximo de arquivo"))) << erros.toStdString();
        EXPECT_FALSE(erros.contains("danificad")) << "a good archive is never blamed";
        EXPECT_TRUE(erros.trimmed().endsWith(QString::fromUtf8(c.fim))) << erros.toStdString();
        EXPECT_TRUE(temporariosEm(pasta).isEmpty()) << temporariosEm(pasta).join(", ").toStdString();
        EXPECT_EQ(TBancoTeste::conteudo(banco), atual);
        EXPECT_EQ(tudoEm(padrao()).size(), 1) << tudoEm(padrao()).join(", ").toStdString();
    }
}

TEST_F(Backup, TemporariosDeProcessosMortosApagadosSoOsNossos)
{
    // The id of a process that has ended.
    const pid_t filho = ::fork();
    if (filho == 0)
        ::_exit(0);
    ASSERT_GT(filho, 0);
    ::waitpid(filho, nullptr, 0);
    const QString pid = QString::number(filho);
    QDir().mkpath(padrao());
    const QStringList orfaos = {".BackupZel.%1-0.tmp", ".BackupZel.%1-3.tmp.Ab12Cd", ".bcoZel.mdb.%1-0.tmp"};
    // A live process's work, another program's files, and names that only look alike.
    const QStringList alheios = {".BackupZel.1-0.tmp", ".outro.%1-0.tmp", "BackupZel.%1-0.tmp", ".BackupZel.abc-0.tmp",
                                 ".BackupZel.%1-0.tmp.longo123", "planilha.tmp"};
    auto cria = [&](const QString& dir) {
        for (const QString& n : orfaos + alheios) {
            QFile f(QDir(dir).filePath(QString(n).replace("%1", pid)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    };
    auto confere = [&](const QString& dir) {
        for (const QString& n : orfaos)
            EXPECT_FALSE(QFileInfo::exists(QDir(dir).filePath(QString(n).replace("%1", pid)))) << n.toStdString();
        for (const QString& n : alheios)
            EXPECT_TRUE(QFileInfo::exists(QDir(dir).filePath(QString(n).replace("%1", pid)))) << n.toStdString();
    };
    // At start: the data folder and the backup folders.
    cria(pasta);
    cria(padrao());
    b->LimpaTemporarios();
    confere(pasta);
    confere(padrao());
    // Before a backup: the folder it writes into.
    const QString outra = QDir(pasta).filePath("outra");
    QDir().mkpath(outra);
    cria(outra);
    faz(TTipoBackup::Manual, outra);
    confere(outra);
}

// ----- naming the archive where links are refused

namespace {

int contagemLinks = 0, contagemRenomeia = 0;
int linkRecusado(const char*, const char*)
{
    ++contagemLinks;
    errno = EPERM;
    return -1;
}
int renameat2Ausente(const char*, const char*)
{
    ++contagemRenomeia;
    errno = EINVAL;
    return -1;
}

struct SistemaDeArquivos {
    const char* nome;
    TBackup::TNomeacao liga;               // null: the system's own
    TBackup::TNomeacao renomeiaSemSubstituir;
};
void PrintTo(const SistemaDeArquivos& s, std::ostream* os) { *os << s.nome; }

class Nomeacao : public Backup, public ::testing::WithParamInterface<SistemaDeArquivos> {};

} // namespace

TEST_P(Nomeacao, NuncaSobrescreveNemPerdeOArquivo)
{
    contagemLinks = contagemRenomeia = 0;
    if (GetParam().liga)
        b->liga = GetParam().liga;
    if (GetParam().renomeiaSemSubstituir)
        b->renomeiaSemSubstituir = GetParam().renomeiaSemSubstituir;
    const QString primeiro = faz();
    EXPECT_EQ(primeiro, padrao() + "/BackupZel 2024-05-01 10h05min33s (manual).zip");
    const QByteArray bytesPrimeiro = TBancoTeste::conteudo(primeiro);
    const QString segundo = faz();
    EXPECT_EQ(segundo, padrao() + "/BackupZel.zip");
    const QByteArray bytesSegundo = TBancoTeste::conteudo(segundo);
    QString erro;
    EXPECT_TRUE(b->Realiza(TTipoBackup::Manual, {}, &erro).isEmpty());
    EXPECT_TRUE(erro.contains(QString::fromUtf8("Já existem arquivos de backup"))) << erro.toStdString();
    EXPECT_EQ(TBancoTeste::conteudo(primeiro), bytesPrimeiro);
    EXPECT_EQ(TBancoTeste::conteudo(segundo), bytesSegundo);
    EXPECT_EQ(tudoEm(padrao()), QStringList({"BackupZel 2024-05-01 10h05min33s (manual).zip", "BackupZel.zip"}));
    EXPECT_EQ(contagemLinks > 0, GetParam().liga != nullptr);
    EXPECT_EQ(contagemRenomeia > 0, GetParam().renomeiaSemSubstituir != nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Sistemas, Nomeacao,
    ::testing::Values(SistemaDeArquivos{"ComLinks", nullptr, nullptr},
                      SistemaDeArquivos{"SemLinksComRenameat2", linkRecusado, nullptr},
                      SistemaDeArquivos{"SemLinksNemRenameat2", linkRecusado, renameat2Ausente}),
    [](const ::testing::TestParamInfo<SistemaDeArquivos>& i) { return std::string(i.param.nome); });

// ----- full disks

TEST_F(Backup, EntradaMaiorQueOEspacoLivreRecusadaAntesDeGravar)
{
    const QString arquivo = faz();
    const qint64 tamanho = TBancoTeste::conteudo(banco).size();
    const QByteArray atual = TBancoTeste::conteudo(banco);
    QStringList consultadas;
    b->espacoLivre = [&](const QString& p) {
        consultadas << p;
        return tamanho / 2;
    };
    QList<int> passos;
    b->progresso = [&](int p) { passos << p; };
    QString erro;
    EXPECT_FALSE(b->Recupera(arquivo, [] { return false; }, &erro));
    EXPECT_TRUE(erro.startsWith(QString::fromUtf8("Não há espaço livre suficiente no disco da pasta ") +
                                QDir::toNativeSeparators(QDir::cleanPath(pasta))))
        << erro.toStdString();
    EXPECT_TRUE(erro.endsWith(kInalterado)) << erro.toStdString();
    EXPECT_TRUE(passos.isEmpty()) << "nothing extracted";
    EXPECT_EQ(TBancoTeste::conteudo(banco), atual);
    EXPECT_EQ(tudoEm(padrao()).size(), 1) << "no safety copy";
}

TEST_F(Backup, DiscoCheioNaoCulpaOArquivo)
{
    // A bigger database archived elsewhere, restored into a data folder on a nearly full disk.
    t.con->Conectar();
    sql("CREATE TABLE Enchimento2 (b BLOB)");
    sql("INSERT INTO Enchimento2 VALUES (randomblob(2000000))");
    t.con->Fechar();
    const QString arquivo = faz(TTipoBackup::Manual, QDir(pasta).filePath("copias"));
    const QString dados = QDir(pasta).filePath("pequeno");
    const qint64 livreNoDisco = 1536 * 1024;
    TDiscoPequeno disco(dados, livreNoDisco);
    if (!disco.impossivel().isEmpty())
        GTEST_SKIP() << disco.impossivel().toStdString();
    QDir().mkpath(dados + "/Backup");
    // The current data: the small delivered database.
    TBancoTeste pequeno;
    ASSERT_EQ(pequeno.con->Conectar(), "JET");
    pequeno.con->Fechar();
    ASSERT_TRUE(QFile::copy(pequeno.caminho(), dados + "/bcoZel.mdb"));
    const QByteArray atual = TBancoTeste::conteudo(dados + "/bcoZel.mdb");
    TBackup r(dados, dados + "/zel.ini", relogio);
    r.prefixo = "BackupZel";
    r.AdicionaArquivo(dados + "/bcoZel.mdb");
    r.pastaRecuperacao = dados;
    // Told in advance from the free space, and told the same when the disk fills while writing.
    struct Caso {
        const char* nome;
        bool sabeOEspaco;
    };
    for (const Caso& c : {Caso{"free space known", true}, Caso{"disk fills while writing", false}}) {
        SCOPED_TRACE(c.nome);
        if (!c.sabeOEspaco)
            r.espacoLivre = nullptr;
        QString erro;
        EXPECT_FALSE(r.Recupera(arquivo, [] { return false; }, &erro));
        EXPECT_TRUE(erro.startsWith(QString::fromUtf8("Não há espaço livre suficiente no disco da pasta ") + dados))
            << erro.toStdString();
        EXPECT_TRUE(erro.contains(QString::fromUtf8("são necessários 2,"))) << erro.toStdString();
        EXPECT_FALSE(erro.contains("danificad")) << erro.toStdString();
        EXPECT_TRUE(erro.endsWith(kInalterado)) << erro.toStdString();
        semTextoDaBibliotecaZip(erro);
        EXPECT_EQ(TBancoTeste::conteudo(dados + "/bcoZel.mdb"), atual);
        EXPECT_TRUE(temporariosEm(dados).isEmpty()) << temporariosEm(dados).join(", ").toStdString();
    }
    // A backup onto that disk: the same reasons, and nothing left there.
    QString erro;
    b->espacoLivre = nullptr;
    EXPECT_TRUE(b->Realiza(TTipoBackup::Manual, dados + "/Backup", &erro).isEmpty());
    EXPECT_TRUE(erro.contains(QString::fromUtf8("Não há espaço livre suficiente no disco da pasta ") + dados + "/Backup"))
        << erro.toStdString();
    EXPECT_TRUE(erro.endsWith("Nenhum arquivo de backup foi gravado.")) << erro.toStdString();
    semTextoDaBibliotecaZip(erro);
    EXPECT_TRUE(tudoEm(dados + "/Backup").isEmpty()) << tudoEm(dados + "/Backup").join(", ").toStdString();
}

// ----- hostile archives

TEST_F(Backup, ZerosRecusadosNoPrimeiroBloco)
{
    const QString arquivo = QDir(t.pasta.path()).filePath("zeros.zip");
    criaZip(arquivo, {{"bcoZel.mdb", QByteArray(64 * 1024 * 1024, '\0')}});
    ASSERT_LT(QFileInfo(arquivo).size(), 1024 * 1024);
    QList<int> passos;
    b->progresso = [&](int p) { passos << p; };
    const QStringList antes = tudoEm(pasta);
    QString erro;
    EXPECT_FALSE(b->Recupera(arquivo, [] { return false; }, &erro));
    EXPECT_TRUE(erro.contains(QString::fromUtf8("não é uma Base de Dados"))) << erro.toStdString();
    EXPECT_TRUE(passos.isEmpty()) << "refused before the first block was written; got to " << passos.value(passos.size() - 1);
    EXPECT_EQ(tudoEm(pasta), antes);
}

TEST(TextosDaBibliotecaZip, CadaCodigoTemTextoEmPortugues)
{
    QStringList textos;
    for (int c = ZIP_ER_OK; c <= ZIP_ER_CANCELLED; ++c) {
        const QString t = TextoErroZip(c);
        zip_error_t e;
        zip_error_init_with_code(&e, c);
        EXPECT_NE(t, QString::fromUtf8(zip_error_strerror(&e))) << c;
        zip_error_fini(&e);
        EXPECT_FALSE(t.contains(QString::fromUtf8("nº"))) << c << ": no text of its own";
        textos << t;
    }
    EXPECT_EQ(QSet<QString>(textos.begin(), textos.end()).size(), textos.size()) << "each code tells its own fault";
    EXPECT_EQ(TextoErroZip(ZIP_ER_WRITE, ENOSPC), QString::fromUtf8("erro de gravação (não há espaço livre no disco)"));
}

// ----- the command-line tool over odd folders

TEST_F(Backup, PastaSomenteLeituraNaoEOutraCopiaAberta)
{
    const QString arquivo = faz(TTipoBackup::Manual, QDir(pasta).filePath("copias"));
    b.reset();
    const QByteArray atual = TBancoTeste::conteudo(banco);
    TPastaSomenteLeitura somenteLeitura(pasta);
    if (!somenteLeitura.impossivel().isEmpty())
        GTEST_SKIP() << somenteLeitura.impossivel().toStdString();
    for (const QStringList& args : {QStringList{"backup", "--pasta", pasta, "--destino", "/tmp"},
                                    QStringList{"restaura", "--pasta", pasta, arquivo}}) {
        SCOPED_TRACE(args.first().toStdString());
        QString erros;
        EXPECT_EQ(zelcli(args, nullptr, &erros), 1);
        EXPECT_FALSE(erros.contains(QString::fromUtf8("já está aberto"))) << erros.toStdString();
        EXPECT_TRUE(erros.contains(QDir::toNativeSeparators(QDir::cleanPath(pasta)))) << erros.toStdString();
        EXPECT_TRUE(erros.contains(QString::fromUtf8("falta permissão de gravação"))) << erros.toStdString();
        EXPECT_EQ(TBancoTeste::conteudo(banco), atual);
    }
}

TEST_F(Backup, PastaRelativaGuardaCaminhosAbsolutosSemRepetir)
{
    // The desktop program has written the list with the absolute form.
    b.reset();
    const QString absoluta = QDir::cleanPath(pasta);
    const QString pai = QFileInfo(absoluta).absolutePath();
    const QString nome = QFileInfo(absoluta).fileName();
    novo();
    b.reset();
    for (const QString& relativa : {nome, "./" + nome, nome + "/", nome + "/../" + nome}) {
        SCOPED_TRACE(relativa.toStdString());
        QProcess p;
        p.setWorkingDirectory(pai);
        p.start(QStringLiteral(ZELCLI), {"backup", "--pasta", relativa, "--destino", nome + "/copias"});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        const QString arquivo = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
        EXPECT_TRUE(arquivo.startsWith(absoluta + "/copias/BackupZel")) << arquivo.toStdString();
        EXPECT_EQ(QSettings(ini, QSettings::IniFormat).value("Backup/UltimoArquivo").toString(), arquivo);
        QFile lista(QDir(pasta).filePath("Paths.Backup"));
        ASSERT_TRUE(lista.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(lista.readAll()), absoluta + "/Backup/\n");
        QDir(absoluta + "/copias").removeRecursively();
    }
}
