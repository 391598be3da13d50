#include "db/untTravaPasta.h"

#include <QDir>
#include <QFileInfo>

#include "core/DialogsNew.h"

TTravaPasta::TTravaPasta(const QString& pasta) : m_arquivo(QDir(pasta).filePath(nomeArquivo()))
{
    // Held for as long as the program runs: age alone never makes it stale, only a holder that is gone.
    m_arquivo.setStaleLockTime(0);
}

TTravaPasta::~TTravaPasta() = default;

QString TTravaPasta::mensagemOcupada()
{
    return QString::fromUtf8("O programa já está aberto nesta pasta.\n"
                             "Feche a outra cópia do programa antes de abri-lo novamente.");
}

bool TTravaPasta::trava()
{
    if (m_arquivo.isLocked())
        return true;
    // tryLock removes a lock file whose process is no longer running and takes it over.
    return m_arquivo.tryLock(0);
}

QString TTravaPasta::mensagemDaFalha() const
{
    const QFileInfo arquivo(m_arquivo.fileName());
    const QString pasta = QDir::toNativeSeparators(arquivo.absolutePath());
    switch (m_arquivo.error()) {
    case QLockFile::LockFailedError:
        return mensagemOcupada();
    case QLockFile::PermissionError:
        // A read-only folder is no sign of another copy: saying so would send the user looking for one.
        return QString::fromUtf8("Não é possível usar a pasta %1: falta permissão de gravação nela (ou o disco está "
                                 "protegido contra gravação), e o programa precisa criar ali o arquivo %2.\n"
                                 "Dê permissão de gravação na pasta ou use outra pasta.")
            .arg(pasta, arquivo.fileName());
    default:
        return QString::fromUtf8("Não foi possível reservar a pasta do programa %1: o arquivo %2 não pôde ser criado.")
            .arg(pasta, arquivo.fileName());
    }
}

bool TTravaPasta::trava(IDialogos& dialogos)
{
    if (trava())
        return true;
    InformaErro(dialogos, mensagemDaFalha());
    return false;
}
