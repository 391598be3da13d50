#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// Where the program keeps its data (database, settings, lock, backups, import files). Both executables choose it
// the same way, so that the desktop program and the command-line tool meet on one folder:
//   1. the folder given with --pasta;
//   2. otherwise the folder in the environment variable ZEL_PASTA (set and not empty);
//   3. otherwise the executable's own folder, when this program may write there (a portable copy, a build
//      folder): a folder kept beside the program is how offices have always carried it around;
//   4. otherwise the user's data folder (QStandardPaths::AppDataLocation of "zel"), created on first start.
enum class TOrigemPasta { Argumento, Ambiente, Programa, Usuario };

struct TPastaDados {
    QString pasta;    // absolute and clean; empty when `erro` is set
    TOrigemPasta origem = TOrigemPasta::Usuario;
    QString erro;     // why no folder can be used (a given folder that does not exist, a default not creatable)
};

// Whether the executable's folder can hold the data: never a system folder (an installed program run by the
// administrator would otherwise write its database into /usr/bin), and only where a file can really be created
// (permission bits say nothing for the administrator, nor for a read-only disk).
bool PastaDoProgramaGravavel(const QString& pasta);

// The user's data folder of the program, whichever executable asks.
QString PastaDadosDoUsuario();

// Chooses the data folder. `argumento` is the value of --pasta (`argumentoDado` false when it was not given);
// `gravavel` decides rule 3 and is replaceable so that tests can play a read-only program folder even as root.
// A folder that was given must exist: a mistyped network path must not silently start an empty database.
// The user's data folder is created when missing.
TPastaDados EscolhePastaDados(const QString& pastaPrograma, const QString& argumento, bool argumentoDado,
                              const std::function<bool(const QString&)>& gravavel = PastaDoProgramaGravavel);

// The command-line tool's arguments with the data folder made explicit: unchanged when they carry --pasta,
// otherwise "--pasta FOLDER" put in front, FOLDER chosen as above. Only for the commands that take --pasta.
QStringList ArgumentosComPasta(const QStringList& args, const QString& pastaPrograma,
                               const std::function<bool(const QString&)>& gravavel = PastaDoProgramaGravavel);
