#include "db/untTravaPasta.h"

#include <QDir>

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

bool TTravaPasta::trava(IDialogos& dialogos)
{
    if (trava())
        return true;
    if (m_arquivo.error() == QLockFile::LockFailedError)
        InformaErro(dialogos, mensagemOcupada());
    else
        InformaErro(dialogos, QString::fromUtf8("Não foi possível reservar a pasta do programa: %1")
                                  .arg(QDir::toNativeSeparators(m_arquivo.fileName())));
    return false;
}
