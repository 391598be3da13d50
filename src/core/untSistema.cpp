#include "core/untSistema.h"

#include <QFile>
#include <cerrno>

#ifdef Q_OS_WIN
// Written from the Win32 documentation; not yet compiled (see docs/windows.md).
#include <QDir>
#include <windows.h>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace Sistema {

#ifdef Q_OS_WIN

namespace {

// The errno value the callers test for each Win32 error a file operation can give.
int erroPosix(DWORD e)
{
    switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return EEXIST;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    // FAT and exFAT answer a hard link with one of these.
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED:
        return EOPNOTSUPP;
    default:
        return EIO;
    }
}

int falhaWin32()
{
    errno = erroPosix(::GetLastError());
    return -1;
}

std::wstring nativo(const QString& caminho)
{
    return QDir::toNativeSeparators(caminho).toStdWString();
}

} // namespace

int Liga(const QString& de, const QString& para)
{
    return ::CreateHardLinkW(nativo(para).c_str(), nativo(de).c_str(), nullptr) ? 0 : falhaWin32();
}

int RenomeiaSemSubstituir(const QString& de, const QString& para)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails on an existing name, as one step of the file system.
    return ::MoveFileExW(nativo(de).c_str(), nativo(para).c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : falhaWin32();
}

int Substitui(const QString& de, const QString& para)
{
    return ::MoveFileExW(nativo(de).c_str(), nativo(para).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : falhaWin32();
}

bool GravaNoDisco(const QString& caminho)
{
    // FlushFileBuffers needs a handle with write access.
    const HANDLE h = ::CreateFileW(nativo(caminho).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        falhaWin32();
        return false;
    }
    const bool ok = ::FlushFileBuffers(h) != 0;
    if (!ok)
        falhaWin32();
    ::CloseHandle(h);
    return ok;
}

int CriaExclusivo(const QString& caminho)
{
    return ::_wopen(nativo(caminho).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

bool EscreveTudo(int fd, const char* dados, qint64 n)
{
    while (n > 0) {
        const int r = ::_write(fd, dados, unsigned(qMin<qint64>(n, INT_MAX)));
        if (r < 0)
            return false;
        dados += r;
        n -= r;
    }
    return true;
}

bool Sincroniza(int fd)
{
    // _commit is FlushFileBuffers on the descriptor's handle.
    return ::_commit(fd) == 0;
}

bool Fecha(int fd)
{
    return ::_close(fd) == 0;
}

qint64 IdProcesso()
{
    return qint64(::GetCurrentProcessId());
}

bool ProcessoVivo(qint64 pid)
{
    const HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD codigo = 0;
    const bool vivo = ::GetExitCodeProcess(h, &codigo) && codigo == STILL_ACTIVE;
    ::CloseHandle(h);
    return vivo;
}

void IgnoraLimiteDeTamanhoDeArquivo()
{
    // Windows has no such limit nor signal: a write past a quota fails and is reported.
}

#else

namespace {

QByteArray nativo(const QString& caminho)
{
    return QFile::encodeName(caminho);
}

} // namespace

int Liga(const QString& de, const QString& para)
{
    return ::link(nativo(de).constData(), nativo(para).constData());
}

int RenomeiaSemSubstituir(const QString& de, const QString& para)
{
#ifdef SYS_renameat2
#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif
    return int(::syscall(SYS_renameat2, AT_FDCWD, nativo(de).constData(), AT_FDCWD, nativo(para).constData(),
                         RENAME_NOREPLACE));
#else
    (void)de;
    (void)para;
    errno = ENOSYS;
    return -1;
#endif
}

int Substitui(const QString& de, const QString& para)
{
    return ::rename(nativo(de).constData(), nativo(para).constData());
}

bool GravaNoDisco(const QString& caminho)
{
    const int fd = ::open(nativo(caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    const int e = errno;
    ::close(fd);
    errno = e;
    return ok;
}

int CriaExclusivo(const QString& caminho)
{
    return ::open(nativo(caminho).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
}

bool EscreveTudo(int fd, const char* dados, qint64 n)
{
    while (n > 0) {
        const ssize_t r = ::write(fd, dados, size_t(n));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        dados += r;
        n -= r;
    }
    return true;
}

bool Sincroniza(int fd)
{
    return ::fsync(fd) == 0;
}

bool Fecha(int fd)
{
    return ::close(fd) == 0;
}

qint64 IdProcesso()
{
    return qint64(::getpid());
}

bool ProcessoVivo(qint64 pid)
{
    if (pid <= 0 || pid != qint64(pid_t(pid)))
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

void IgnoraLimiteDeTamanhoDeArquivo()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

#endif

} // namespace Sistema
