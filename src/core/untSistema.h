#pragma once
#include <QString>
#include <QtGlobal>

// The few operating-system calls that the program's file safety rests on and that Qt does not offer with the
// guarantees needed: naming a file without ever replacing another, replacing a file in one step, making bytes
// durable before a rename, telling a live process from a dead one, and surviving a file-size limit. Everything
// else goes through Qt. One branch per system; the calls report as the POSIX calls do: 0, or -1 with errno set.
namespace Sistema {

// A second name for a file (a hard link); refused when the new name exists (EEXIST) and, on file systems
// without links (FAT, exFAT), with EPERM, EOPNOTSUPP or ENOSYS.
int Liga(const QString& de, const QString& para);
// Moves `de` to `para` only when `para` does not exist (EEXIST otherwise); ENOSYS or EINVAL where the system
// or the file system cannot make that check part of the rename.
int RenomeiaSemSubstituir(const QString& de, const QString& para);
// Moves `de` over `para` in one step: at every moment `para` names the old file or the new one, never neither.
int Substitui(const QString& de, const QString& para);

// Makes a file's bytes durable before it takes a name that others rely on (a database, an archive), so a
// power cut cannot leave a renamed but empty file behind. False when the system refuses.
bool GravaNoDisco(const QString& caminho);

// A new file opened for writing, refused when the name exists: a descriptor, or -1 with errno set.
int CriaExclusivo(const QString& caminho);
// Writes all `n` bytes, resuming after interruptions; false with errno set.
bool EscreveTudo(int fd, const char* dados, qint64 n);
// The descriptor's bytes made durable; false with errno set.
bool Sincroniza(int fd);
// False with errno set when the last writes failed at closing.
bool Fecha(int fd);

qint64 IdProcesso();
// Whether a process of that id is running; in doubt (no right to ask about it) it counts as running, since a
// live program's files must never be taken away.
bool ProcessoVivo(qint64 pid);

// A file-size limit (ulimit -f) would otherwise end the process at the first write past it, with no message
// and temporary files left behind; with the signal ignored the write fails and is reported like a full disk.
// Called first thing by every executable.
void IgnoraLimiteDeTamanhoDeArquivo();

} // namespace Sistema
