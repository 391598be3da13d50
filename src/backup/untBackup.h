#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class IRelogio;

// The kinds of archive, which end its name.
enum class TTipoBackup { Automatico, AntesDaRecuperacao, Manual };

// The backup manager: zip archives (deflate) of the database file, made on demand, before every restore and
// at the end of the program; restores; the settings in the program's INI file (section "Backup") and the
// folder list in "Paths.Backup". No widgets: the screens and the command-line tool drive it.
//
// Nothing it does can damage what exists: an archive is written whole under a temporary name and renamed, an
// existing archive is never opened for writing, and a restore extracts the one database entry beside the
// database, checks it, and replaces the database in one atomic rename, or changes nothing.
class TBackup {
public:
    // `pastaPrograma`: the folder of the program and its data; `arquivoIni`: the settings file's full path.
    TBackup(const QString& pastaPrograma, const QString& arquivoIni, IRelogio& relogio);
    // Writes the settings and the folder list.
    ~TBackup();
    TBackup(const TBackup&) = delete;
    TBackup& operator=(const TBackup&) = delete;

    QString prefixo = QStringLiteral("Backup");
    QStringList arquivos;          // every file archived; the database's entry name is its file name
    QString ultimoArquivo;
    int intervalo = 7;             // days, 1 to 15
    bool sempre = false;
    bool perguntar = false;
    bool configurado = false;
    QStringList pastas;            // always holds the default folder
    QString pastaRecuperacao;      // where a restore puts the database
    bool recuperado = false;
    // Why an automatic backup must not run now (no connection could be made, the database is damaged);
    // empty when it may. An archive of a damaged file would push good copies out of the user's rotation.
    QString impedimento;
    // The status texts of long work ("Cópia de segurança - ..."), and how far it got (0 to 100).
    std::function<void(const QString&)> dica;
    std::function<void(int)> progresso;

    // How an archive takes its name without ever replacing a file: a hard link first; where the file system
    // refuses links (FAT and exFAT, the usual USB sticks), a rename that refuses to replace; where the system
    // has no such rename, a check and a rename under the backup folder's lock. Replaceable so that tests can
    // play those file systems. Both return 0, or -1 with errno set, as the system calls do.
    using TNomeacao = int (*)(const char* de, const char* para);
    TNomeacao liga;
    TNomeacao renomeiaSemSubstituir;
    // The bytes free on a folder's disk (-1 when unknown); replaceable so that tests can play a full disk.
    std::function<qint64(const QString& pasta)> espacoLivre;

    static QString textoSemBackup() { return QStringLiteral("<nenhum backup registrado>"); }
    static QString nomeListaPastas() { return QStringLiteral("Paths.Backup"); }
    static QString nomeEntradaBanco() { return QStringLiteral("bcoZel.mdb"); }
    static constexpr int IntervaloMinimo = 1;
    static constexpr int IntervaloMaximo = 15;

    QString pastaPadrao() const;   // the program folder followed by "Backup/"
    void AdicionaArquivo(const QString& caminho);

    // The archive's final name: prefix, a blank, "yyyy-mm-dd HHhMMminSSs", a blank, the kind, ".zip".
    static QString NomeArquivo(const QString& prefixo, const QDateTime& quando, TTipoBackup tipo);
    static QString TextoTipo(TTipoBackup tipo);
    // The time in an archive name of that pattern; none for a name that does not match it.
    static std::optional<QDateTime> HoraDoNome(const QString& caminho);
    std::optional<QDateTime> ultimoBackup() const { return HoraDoNome(ultimoArquivo); }

    // Makes an archive of every file of the list in `pasta` (empty: the default folder, created when
    // missing). Returns its full path; empty on failure with the reason in `erro` (nothing is left behind).
    QString Realiza(TTipoBackup tipo, const QString& pasta, QString* erro);
    // Restores the database entry of `arquivo`: extracted beside the database and checked, then a safety
    // archive "(antes da recuperação)" of the current data in the default folder (its failure stops the
    // restore), then the replacement in one rename. `conexaoAberta` is
    // asked first: a restore never runs under an open connection. False with the reason in `erro`; the
    // current data are then byte for byte what they were.
    bool Recupera(const QString& arquivo, const std::function<bool()>& conexaoAberta, QString* erro);

    // The end-of-program step: what it did or wants.
    struct TFim {
        enum class Acao { Nada, Realizado, Falhou, Impedido, Pergunta };
        Acao acao = Acao::Nada;
        QString arquivo;           // Realizado
        QString mensagem;          // Falhou, Impedido: the reason; Pergunta: the question
    };
    // Whether the automatic backup is due at `agora`: always, or the time from the last backup to today's
    // midnight reaching the interval in days (a backup on 1 May 10:05 with 7 days is not due at any hour of
    // 8 May, 6.58 days from its midnight, and is due from 9 May 00:00).
    bool Vencido(const QDateTime& agora) const;
    // Runs the automatic backup when due (unless prevented), else returns the question to ask when the
    // ask-on-exit flag is set.
    TFim FimDoPrograma();
    QString PerguntaAoSair(const QDateTime& agora) const;

    // The archives of `pasta`: the files matching prefix*.zip, by name.
    QStringList ArquivosDaPasta(const QString& pasta) const;
    // Deletes a folder of the list as far as it is safe: only this program's archives and then empty
    // folders, never a home, the root, the program's folder or one above it. True when the folder is gone.
    bool ApagaPasta(const QString& pasta, QString* erro) const;
    // A folder text as the management screen keeps it: absolute, with a trailing separator.
    static QString NormalizaPasta(const QString& texto);

    // The settings and the folder list, written at destruction; public for the screens' "Confirma".
    void Salva() const;

    // Removes what a copy of this program killed in the middle of its work left in the data folder and the
    // backup folders: only hidden temporary files of this program's own names, and only those whose process
    // is gone. Run at start; a backup and a restore also clean the folder they write into.
    void LimpaTemporarios() const;

private:
    void carrega();
    void mostraDica(const QString& texto) const;
    void limpaTemporariosEm(const QString& pasta) const;
    int nomeia(const QString& de, const QString& para, const QString& pasta) const;
    qint64 livreEm(const QString& pasta) const;

    QString m_pastaPrograma;
    QString m_ini;
    IRelogio& m_relogio;
};

// The zip library's error texts in Portuguese, one for every code it can give (with the system's reason for
// the codes that carry one), and the system's reasons for a failed file operation.
QString TextoErroZip(int codigoZip, int erroSistema = 0);
QString TextoErroSistema(int erro);

// "zelcli backup" and "zelcli restaura": the same manager over a data folder, with the desktop program's lock
// on the folder respected. 0 on success (the archive's path in `saida`), non-zero with the reason in `erro`.
int ExecutaBackup(const QString& pasta, const QString& destino, IRelogio& relogio, QString* saida, QString* erro);
int ExecutaRestaura(const QString& pasta, const QString& arquivo, IRelogio& relogio, QString* saida, QString* erro);
