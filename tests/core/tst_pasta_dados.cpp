#include "core/untPastaDados.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

#include "support/TDialogosRoteiro.h" // readable QString output on failures

namespace {

// An environment variable set for one test and put back as it was.
class TVariavel {
public:
    TVariavel(const char* nome, const std::optional<QString>& valor) : m_nome(nome)
    {
        if (qEnvironmentVariableIsSet(nome))
            m_antes = qEnvironmentVariable(nome);
        if (valor)
            qputenv(nome, valor->toUtf8());
        else
            qunsetenv(nome);
    }
    ~TVariavel()
    {
        if (m_antes)
            qputenv(m_nome, m_antes->toUtf8());
        else
            qunsetenv(m_nome);
    }

private:
    const char* m_nome;
    std::optional<QString> m_antes;
};

struct PastaDados : ::testing::Test {
    QTemporaryDir raiz;
    QString programa, argumento, ambiente, usuario;
    std::optional<TVariavel> xdg;

    void SetUp() override
    {
        programa = raiz.filePath("programa");
        argumento = raiz.filePath("argumento");
        ambiente = raiz.filePath("ambiente");
        for (const QString& p : {programa, argumento, ambiente})
            ASSERT_TRUE(QDir().mkpath(p));
        // The user's data folder under a temporary home, not created yet.
        xdg.emplace("XDG_DATA_HOME", raiz.filePath("dados"));
        usuario = raiz.filePath("dados/zel");
    }
};

} // namespace

TEST_F(PastaDados, EscolhaPelaOrdemDasRegras)
{
    // The program folder's writability is played through the check's seam: as root (the CI) permission bits
    // stop nothing, so a read-only folder cannot be made by chmod.
    struct Caso {
        const char* nome;
        bool argumentoDado;
        bool ambienteDado;
        bool programaGravavel;
        TOrigemPasta origem;
    } casos[] = {
        {"portable copy", false, false, true, TOrigemPasta::Programa},
        {"read-only program folder", false, false, false, TOrigemPasta::Usuario},
        {"ZEL_PASTA over the program folder", false, true, true, TOrigemPasta::Ambiente},
        {"ZEL_PASTA with a read-only program folder", false, true, false, TOrigemPasta::Ambiente},
        {"--pasta over the program folder", true, false, true, TOrigemPasta::Argumento},
        {"--pasta over ZEL_PASTA", true, true, false, TOrigemPasta::Argumento},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        TVariavel var("ZEL_PASTA", c.ambienteDado ? std::optional<QString>(ambiente) : std::nullopt);
        QStringList perguntadas;
        const TPastaDados r = EscolhePastaDados(programa, c.argumentoDado ? argumento : QString(), c.argumentoDado,
                                                [&](const QString& p) {
                                                    perguntadas << p;
                                                    return c.programaGravavel;
                                                });
        EXPECT_TRUE(r.erro.isEmpty()) << r.erro.toStdString();
        EXPECT_EQ(r.origem, c.origem);
        const QString esperada = c.origem == TOrigemPasta::Programa    ? programa
                                 : c.origem == TOrigemPasta::Usuario   ? usuario
                                 : c.origem == TOrigemPasta::Ambiente  ? ambiente
                                                                       : argumento;
        EXPECT_EQ(r.pasta, QDir::cleanPath(esperada));
        // A folder that was given is used without asking about the program's.
        EXPECT_EQ(perguntadas.isEmpty(), c.argumentoDado || c.ambienteDado);
    }
    // The user's folder was created on that first start.
    EXPECT_TRUE(QFileInfo(usuario).isDir());
}

TEST_F(PastaDados, PastaDadaQueNaoExisteERecusadaSemCriarNada)
{
    const QString falta = raiz.filePath("nao-existe");
    {
        const TPastaDados r = EscolhePastaDados(programa, falta, true, [](const QString&) { return true; });
        EXPECT_TRUE(r.pasta.isEmpty());
        EXPECT_TRUE(r.erro.contains("--pasta") && r.erro.contains(falta)) << r.erro.toStdString();
    }
    {
        TVariavel var("ZEL_PASTA", falta);
        const TPastaDados r = EscolhePastaDados(programa, QString(), false, [](const QString&) { return true; });
        EXPECT_TRUE(r.erro.contains("ZEL_PASTA") && r.erro.contains(falta)) << r.erro.toStdString();
    }
    {
        // An empty variable is no folder named: the usual rule applies.
        TVariavel var("ZEL_PASTA", QString());
        EXPECT_EQ(EscolhePastaDados(programa, QString(), false, [](const QString&) { return true; }).pasta, programa);
    }
    EXPECT_FALSE(QFileInfo::exists(falta));
    EXPECT_FALSE(EscolhePastaDados(programa, "  ", true).erro.isEmpty());
}

TEST_F(PastaDados, PastaDoProgramaSoQuandoSeGravaNelaENuncaDoSistema)
{
    EXPECT_TRUE(PastaDoProgramaGravavel(programa));
    EXPECT_TRUE(QDir(programa).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "the check leaves nothing behind";
    for (const char* sistema : {"/usr/bin", "/usr/local/bin", "/usr", "/bin"})
        EXPECT_FALSE(PastaDoProgramaGravavel(sistema)) << sistema;
    EXPECT_FALSE(PastaDoProgramaGravavel(raiz.filePath("nao-existe")));
}

TEST_F(PastaDados, ArgumentosDaLinhaDeComandoGanhamAPastaSoQuandoFalta)
{
    TVariavel var("ZEL_PASTA", ambiente);
    const auto gravavel = [](const QString&) { return true; };
    struct Caso {
        QStringList args, esperados;
    } casos[] = {
        {{"--pasta", "/x", "--ie", "1"}, {"--pasta", "/x", "--ie", "1"}},
        {{"--ie", "1", "--pasta=/x"}, {"--ie", "1", "--pasta=/x"}},
        {{"--ie", "1"}, {"--pasta", QDir::cleanPath(ambiente), "--ie", "1"}},
        {{}, {"--pasta", QDir::cleanPath(ambiente)}},
        // After "--" everything is a file name, even one called --pasta.
        {{"--", "--pasta"}, {"--pasta", QDir::cleanPath(ambiente), "--", "--pasta"}},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(ArgumentosComPasta(c.args, programa, gravavel), c.esperados) << c.args.join(' ').toStdString();
}
