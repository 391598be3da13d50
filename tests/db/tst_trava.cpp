// One program per data folder, proved with a second real process on the same folder.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>
#include <cstdio>
#include <sqlite3.h>

#include "db/untTravaPasta.h"
#include "support/TBancoTeste.h"
#include "support/TProcessoFilho.h"

namespace {

// The other copy of the program: holds the folder and an open write transaction until told to commit.
struct TOutroProcesso {
    QProcess p;
    explicit TOutroProcesso(const QString& pasta)
    {
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--segura-pasta"), pasta});
        EXPECT_TRUE(p.waitForStarted(5000));
        while (!p.canReadLine() && p.waitForReadyRead(10000)) {
        }
        EXPECT_EQ(p.readLine().trimmed(), "pronto") << p.readAllStandardError().toStdString();
    }
    ~TOutroProcesso()
    {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished(5000);
        }
    }
    void confirma()
    {
        p.write("\n");
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_TRUE(p.readAllStandardOutput().contains("gravado"));
    }
};

} // namespace

TEST(TravaPasta, SegundaCopiaRecusadaSemTocarNoBancoEPrimeiraNadaPerde)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    t.con->Fechar();
    const QByteArray antes = TBancoTeste::conteudo(t.caminho());

    TOutroProcesso outro(t.pasta.path());
    TTravaPasta segunda(t.pasta.path());
    t.dialogos.esperaMensagem(TTravaPasta::mensagemOcupada());
    EXPECT_FALSE(segunda.trava(t.dialogos));
    EXPECT_EQ(t.dialogos.registros().value(0).titulo, "Erro");
    EXPECT_EQ(TBancoTeste::conteudo(t.caminho()), antes) << "the refused copy must not touch the file";

    outro.confirma();
    sqlite3* db = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM Contador WHERE Nome = 'DO OUTRO PROCESSO'").toInt(), 1);
    sqlite3_close(db);
    // Once the first copy has ended, the folder is free again.
    EXPECT_TRUE(segunda.trava());
}

TEST(TravaPasta, TravaDeProcessoMortoERecuperada)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    t.con->Fechar();
    {
        TOutroProcesso outro(t.pasta.path());
        outro.p.kill(); // dies without releasing anything
        outro.p.waitForFinished(5000);
    }
    EXPECT_TRUE(QFileInfo::exists(QDir(t.pasta.path()).filePath(TTravaPasta::nomeArquivo())));
    TTravaPasta nova(t.pasta.path());
    EXPECT_TRUE(nova.trava()) << "the lock of a process that is gone is taken over";
    // The dead process's transaction never reached the file.
    sqlite3* db = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM Contador WHERE Nome = 'DO OUTRO PROCESSO'").toInt(), 0);
    sqlite3_close(db);
}

TEST(TravaPasta, UmaTravaValeParaAVidaInteira)
{
    QTemporaryDir pasta;
    TTravaPasta primeira(pasta.path());
    ASSERT_TRUE(primeira.trava());
    TTravaPasta outra(pasta.path());
    EXPECT_FALSE(outra.trava()) << "a live holder is never stale, however old its lock";
    primeira.libera();
    EXPECT_TRUE(outra.trava());
}

TEST(Compactar, OutroProcessoComTransacaoAbertaImpedeACompactacao)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    t.con->Fechar();
    TOutroProcesso outro(t.pasta.path());
    t.con->esperaBloqueioMs = 200;
    t.dialogos.esperaSimples(QString());
    TProgressoGravado progresso;
    EXPECT_FALSE(t.con->CompactarBanco("bcoZel.mdb", progresso));
    EXPECT_FALSE(QFileInfo::exists(QDir(t.pasta.path()).filePath("TEMPbcoZel.mdb")));
    outro.confirma();
    sqlite3* db = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM Contador WHERE Nome = 'DO OUTRO PROCESSO'").toInt(), 1);
    sqlite3_close(db);
}

TEST(Compactar, NinguemEscreveDaCopiaATroca)
{
    TBancoTeste t;
    ASSERT_EQ(t.con->Conectar(), "JET");
    t.con->Fechar();
    int rcEscrita = SQLITE_OK;
    const QString caminho = t.caminho();
    t.con->substituiArquivo = [&](const QString& de, const QString& para, QString* erro) {
        // Between the copy and the rename another connection tries to write.
        sqlite3* outro = TBancoTeste::abreDireto(caminho);
        sqlite3_busy_timeout(outro, 100);
        rcEscrita = sqlite3_exec(outro, "INSERT INTO Contador (Nome) VALUES ('PERDIDO')", nullptr, nullptr, nullptr);
        sqlite3_close(outro);
        return ::rename(QFile::encodeName(de).constData(), QFile::encodeName(para).constData()) == 0 ||
               (erro && (*erro = QStringLiteral("rename"), false));
    };
    TProgressoGravado progresso;
    EXPECT_TRUE(t.con->CompactarBanco("bcoZel.mdb", progresso));
    EXPECT_EQ(rcEscrita & 0xff, SQLITE_BUSY);
    t.reinicia();
    sqlite3* db = TBancoTeste::abreDireto(t.caminho());
    EXPECT_EQ(TBancoTeste::valorDireto(db, "SELECT COUNT(*) FROM Contador WHERE Nome = 'PERDIDO'").toInt(), 0);
    sqlite3_close(db);
}

TEST(TravaPasta, PastaSemPermissaoDeGravacaoNaoEOutraCopia)
{
    TBancoTeste t;
    const QString pasta = t.pasta.path();
    TPastaSomenteLeitura somenteLeitura(pasta);
    if (!somenteLeitura.impossivel().isEmpty())
        GTEST_SKIP() << somenteLeitura.impossivel().toStdString();
    TTravaPasta trava(pasta);
    const QString mensagem = QString::fromUtf8("Não é possível usar a pasta %1: falta permissão de gravação nela (ou o "
                                               "disco está protegido contra gravação), e o programa precisa criar ali o "
                                               "arquivo bcoZel.lck.\nDê permissão de gravação na pasta ou use outra pasta.")
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(pasta)));
    t.dialogos.esperaMensagem(mensagem);
    EXPECT_FALSE(trava.trava(t.dialogos));
    EXPECT_EQ(trava.mensagemDaFalha(), mensagem);
}
