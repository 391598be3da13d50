#include "core/untSistema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Sistema_ : ::testing::Test {
    QTemporaryDir d;
    QString de, para;

    void SetUp() override
    {
        de = d.filePath("de");
        para = d.filePath("para");
    }
    void grava(const QString& caminho, const QByteArray& bytes)
    {
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray le(const QString& caminho)
    {
        QFile f(caminho);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<ausente>");
    }
};

} // namespace

TEST_F(Sistema_, NomearSemSubstituirESubstituirEmUmPasso)
{
    using TChamada = int (*)(const QString&, const QString&);
    struct Caso {
        const char* nome;
        TChamada chamada;
        bool destinoExiste;
        int resultado, erro;
        QByteArray origemDepois, destinoDepois;
    } casos[] = {
        {"link to a new name", Sistema::Liga, false, 0, 0, "novo", "novo"},
        {"link over a name", Sistema::Liga, true, -1, EEXIST, "novo", "velho"},
        {"no-replace rename to a new name", Sistema::RenomeiaSemSubstituir, false, 0, 0, "<ausente>", "novo"},
        {"no-replace rename over a name", Sistema::RenomeiaSemSubstituir, true, -1, EEXIST, "novo", "velho"},
        {"replace over a name", Sistema::Substitui, true, 0, 0, "<ausente>", "novo"},
        {"replace to a new name", Sistema::Substitui, false, 0, 0, "<ausente>", "novo"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        QFile::remove(de);
        QFile::remove(para);
        grava(de, "novo");
        if (c.destinoExiste)
            grava(para, "velho");
        errno = 0;
        EXPECT_EQ(c.chamada(de, para), c.resultado);
        if (c.resultado != 0) {
            EXPECT_EQ(errno, c.erro);
        }
        EXPECT_EQ(le(de), c.origemDepois);
        EXPECT_EQ(le(para), c.destinoDepois);
    }
    EXPECT_EQ(Sistema::Substitui(d.filePath("nao-existe"), para), -1);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(Sistema_, ArquivoExclusivoEscritoESincronizado)
{
    const int fd = Sistema::CriaExclusivo(de);
    ASSERT_GE(fd, 0);
    const QByteArray bytes(3 << 20, 'x');
    EXPECT_TRUE(Sistema::EscreveTudo(fd, bytes.constData(), bytes.size()));
    EXPECT_TRUE(Sistema::Sincroniza(fd));
    EXPECT_TRUE(Sistema::Fecha(fd));
    EXPECT_EQ(le(de), bytes);
    // The name is taken: a second writer is refused and the file is left whole.
    EXPECT_EQ(Sistema::CriaExclusivo(de), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(QFileInfo(de).size(), bytes.size());
    EXPECT_TRUE(Sistema::GravaNoDisco(de));
    EXPECT_FALSE(Sistema::GravaNoDisco(d.filePath("nao-existe")));
}

TEST(Sistema, ProcessoVivoOuTerminado)
{
    EXPECT_TRUE(Sistema::ProcessoVivo(Sistema::IdProcesso()));
    const pid_t filho = ::fork();
    ASSERT_GE(filho, 0);
    if (filho == 0)
        ::_exit(0);
    int estado = 0;
    ASSERT_EQ(::waitpid(filho, &estado, 0), filho);
    // Reaped: no process holds that id any more (ids are not reused this quickly).
    EXPECT_FALSE(Sistema::ProcessoVivo(filho));
    EXPECT_FALSE(Sistema::ProcessoVivo(0));
    EXPECT_FALSE(Sistema::ProcessoVivo(-1));
}

TEST(Sistema, LimiteDeTamanhoNaoEncerraOPrograma)
{
    struct sigaction antes {};
    ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &antes), 0);
    Sistema::IgnoraLimiteDeTamanhoDeArquivo();
    struct sigaction depois {};
    ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &depois), 0);
    EXPECT_EQ(depois.sa_handler, SIG_IGN);
    ::sigaction(SIGXFSZ, &antes, nullptr);
}
