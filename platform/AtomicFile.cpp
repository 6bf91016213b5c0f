// Atomic replacement of single files and of groups of files, with flushes to disk.
#include "AtomicFile.h"

#include "Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QSaveFile>
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The file a write replaces: symbolic links are followed to the file they name.
QString finalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// A file marked read-only is not replaced, though its directory would allow
// the rename: the mark is the owner's word that the file must not change. It
// binds the superuser too, whom the permission bits themselves do not stop.
bool mayReplace(const QString &target)
{
    const QFileInfo info(target);
    return !info.exists() || (info.isWritable() && info.permissions().testFlag(QFileDevice::WriteOwner));
}

QString pendingName(const QString &target)
{
    return target + QStringLiteral(".new");
}

// Whether a rename is made durable at once by flushing its directory.
enum class Flush { Directory, Later };

#ifdef Q_OS_WIN

void removeStaleTemporaries(const QString &)
{
    // QSaveFile names its temporary files at random; nothing tells whose they are.
}

bool replaceFile(const QString &target, const QByteArray &bytes)
{
    QSaveFile file(target);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool renameOver(const QString &from, const QString &to, Flush = Flush::Directory)
{
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

#else

QString temporaryName(const QString &fileName, qint64 pid)
{
    return fileName + u'.' + QString::number(pid) + QStringLiteral(".tmp");
}

// The writer of a temporary file still runs; a process of another user counts as running.
bool processRuns(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Removes the temporary files of writers of `target` that have ended. A file
// named after this process is left over from an ended process that had the
// same id, since this process writes one file at a time.
void removeStaleTemporaries(const QString &target)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + u'.';
    const QString suffix = QStringLiteral(".tmp");
    const QDir dir = info.dir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.size() <= prefix.size() + suffix.size() || !name.startsWith(prefix) || !name.endsWith(suffix))
            continue;
        const QStringView digits = QStringView(name).sliced(prefix.size(), name.size() - prefix.size() - suffix.size());
        bool isNumber = digits.size() <= 10;
        for (QChar c : digits)
            isNumber = isNumber && c.isDigit() && c.unicode() < 128;
        const qint64 pid = isNumber ? digits.toLongLong() : 0;
        if (pid > 0 && pid <= std::numeric_limits<pid_t>::max() && (pid == ::getpid() || !processRuns(pid)))
            QFile::remove(dir.filePath(name));
    }
}

bool writeWhole(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}


bool renameOver(const QString &from, const QString &to, Flush flush = Flush::Directory)
{
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    if (flush == Flush::Directory)
        AtomicFile::syncDirectory(QFileInfo(to).absolutePath());
    return true;
}

// Writes `bytes` to a fresh temporary file beside `target`, flushed to disk,
// and renames it over `target`. On failure the temporary file is removed.
bool replaceFile(const QString &target, const QByteArray &bytes)
{
    removeStaleTemporaries(target);
    const QFileInfo info(target);
    const QByteArray temporary = QFile::encodeName(info.dir().filePath(temporaryName(info.fileName(), ::getpid())));
    struct stat existing = {};
    const bool exists = ::stat(QFile::encodeName(target).constData(), &existing) == 0;
    // Until it has the old file's permissions, nobody else may read the new content.
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0)
        return false;
    bool ok = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) && writeWhole(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || !renameOver(QFile::decodeName(temporary), target)) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

#endif

}

namespace AtomicFile {

void write(const QString &path, const QByteArray &bytes)
{
    const QString target = finalTarget(path);
    if (!mayReplace(target) || !replaceFile(target, bytes))
        throw EWriteError(path);
}

void writeGroup(const QList<std::pair<QString, QByteArray>> &files)
{
    QStringList paths;
    QStringList targets;
    for (const auto &file : files) {
        paths.append(file.first);
        targets.append(finalTarget(file.first));
    }
    finishGroup(paths);
    for (qsizetype i = 0; i < targets.size(); ++i) {
        if (!mayReplace(targets[i]))
            throw EWriteError(paths[i]);
    }
    const auto removePending = [&targets] {
        for (const QString &target : targets)
            QFile::remove(pendingName(target));
    };
    // Each pending file is on disk before the next one, so the last one is
    // never there without the others, even after a power cut.
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!replaceFile(pendingName(targets[i]), files[i].second)) {
            removePending();
            throw EWriteError(paths[i]);
        }
    }
    // From here on the last pending file marks the group as whole. Each rename
    // but the last is flushed before the next one for the same reason; a last
    // rename lost in a power cut is redone from its pending file by `finishGroup`.
    for (qsizetype i = 0; i < files.size(); ++i) {
        const Flush flush = i + 1 < files.size() ? Flush::Directory : Flush::Later;
        if (!renameOver(pendingName(targets[i]), targets[i], flush)) {
            if (i == 0)
                removePending(); // nothing replaced yet: the old files stay as one
            throw EWriteError(paths[i]);
        }
    }
}

void syncDirectory(const QString &directory)
{
#ifdef Q_OS_WIN
    Q_UNUSED(directory); // MoveFileEx with MOVEFILE_WRITE_THROUGH is durable by itself
#else
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

void finishGroup(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    QStringList targets;
    for (const QString &path : paths)
        targets.append(finalTarget(path));
    const bool whole = QFileInfo::exists(pendingName(targets.last()));
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const QString pending = pendingName(targets[i]);
        if (!whole)
            QFile::remove(pending);
        else if (QFileInfo::exists(pending) && !renameOver(pending, targets[i]))
            throw EWriteError(paths[i]);
        removeStaleTemporaries(targets[i]);
        removeStaleTemporaries(pending);
    }
}

}
