#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <QDir>
#include <QFileInfo>

#include "widgets/DialogsQt.h"
#include "app/Main.h"
#include "widgets/untAguarde.h"
#include "app/untConvencoes.h"
#include "app/untRegistroTelas.h"
#include "backup/untBackup.h"
#include "core/DialogsNew.h"
#include "core/untContexto.h"
#include "core/untAjuda.h"
#include "core/untPastaDados.h"
#include "core/untSistema.h"
#include "core/untVersao.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untTravaPasta.h"

int main(int argc, char** argv)
{
    Sistema::IgnoraLimiteDeTamanhoDeArquivo();
    // Answered before any window system is asked for: the help must work on a terminal without a display.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0) {
            std::fputs(TextoAjudaZel().toUtf8().constData(), stdout);
            return 0;
        }
        if (qstrcmp(argv[i], "--version") == 0) {
            std::fputs(qPrintable(QStringLiteral("zel ") + TextoVersao() + QLatin1Char('\n')), stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    AplicaConvencoes(app);

    QCommandLineParser parser;
    const QCommandLineOption opcaoPasta(QStringLiteral("pasta"), QString(), QStringLiteral("PASTA"));
    parser.addOption(opcaoPasta);
    if (!parser.parse(app.arguments()) || !parser.positionalArguments().isEmpty()) {
        std::fputs(qPrintable(parser.errorText() + QStringLiteral("\n\n") + TextoAjudaZel()), stderr);
        return 2;
    }

    TDialogosQt dialogos;
    TRelogioSistema relogio;
    TProgressoJanela progresso;
    // The program's data (database, settings, backups, import files) lives in one folder, which only one
    // running copy may use: a second one would compact and replace the file under the first one's open
    // transaction.
    const TPastaDados escolha = EscolhePastaDados(QCoreApplication::applicationDirPath(), parser.value(opcaoPasta),
                                                  parser.isSet(opcaoPasta));
    if (!escolha.erro.isEmpty()) {
        InformaErro(dialogos, escolha.erro);
        return 1;
    }
    const QString pasta = escolha.pasta;
    TTravaPasta trava(pasta);
    if (!trava.trava(dialogos))
        return 1;
    TDTMCON con(pasta, dialogos);
    TDTM dtm(con);
    con.AposConectar = [&dtm] { dtm.AposConectar(); };

    TContexto ctx;
    ctx.pasta = con.pasta();
    ctx.dialogos = &dialogos;
    ctx.relogio = &relogio;
    ctx.con = &con;
    ctx.dtm = &dtm;
    ctx.progresso = &progresso;

    // The backup manager lives as long as the window: the archive name, the database it saves and the folder
    // a restore puts it back into; its settings sit in the data folder, named after the program.
    TBackup backup(pasta, QDir(pasta).filePath(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                                               QStringLiteral(".ini")),
                   relogio);
    backup.prefixo = QStringLiteral("BackupZel");
    backup.AdicionaArquivo(con.caminhoBanco());
    backup.pastaRecuperacao = pasta;
    // What a copy of the program killed in the middle of a backup or a restore left behind.
    backup.LimpaTemporarios();

    TfrmMain janela(ctx, progresso);
    RegistraTelas(janela, ctx);
    RegistraBackup(janela, ctx, backup);
    janela.show();
    return app.exec();
}
