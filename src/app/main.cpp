#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "widgets/DialogsQt.h"
#include "app/Main.h"
#include "widgets/untAguarde.h"
#include "app/untConvencoes.h"
#include "app/untRegistroTelas.h"
#include "backup/untBackup.h"
#include "core/untContexto.h"
#include "core/untFuncoes.h"
#include "core/untRelogio.h"
#include "db/UntDTM.h"
#include "db/untDTMCON.h"
#include "db/untTravaPasta.h"

int main(int argc, char** argv)
{
    IgnoraLimiteDeTamanhoDeArquivo();
    QApplication app(argc, argv);
    AplicaConvencoes(app);

    TDialogosQt dialogos;
    TRelogioSistema relogio;
    TProgressoJanela progresso;
    // The program's data (database, settings, import files) lives in its own folder, which only one running
    // copy may use: a second one would compact and replace the file under the first one's open transaction.
    const QString pasta = QCoreApplication::applicationDirPath();
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
    // a restore puts it back into; its settings sit beside the program, named after it.
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
