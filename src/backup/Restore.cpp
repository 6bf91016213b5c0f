// Replacing the data files with those of a backup, as one step.
#include "Restore.h"

#include "DataFiles.h"
#include "Snapshots.h"
#include "model/GradeStore.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace {

// The journal of a restore: "begonnen <pid>" while files are staged, then
// "vollständig <pid>" and the names once they are all whole. Without it no
// restore ran, so a start costs one look for it.
const QByteArray kBegun = "begonnen";
const QByteArray kComplete = "vollständig";

QByteArray journalHead(const QByteArray &state)
{
    return state + ' ' + QByteArray::number(qint64(::getpid()));
}

// A restore whose process still runs is its own business, not one to finish or undo.
bool writerRuns(const QByteArray &head)
{
    bool ok = false;
    const qint64 pid = head.mid(head.indexOf(' ') + 1).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0 || pid == qint64(::getpid()))
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

QString journalPath()
{
    return Snapshots::folder() + QStringLiteral(".wiederherstellung");
}

// Where the new content of a data file waits, whole, for its rename.
QString stagedPath(const QString &target)
{
    const QFileInfo info(target);
    return info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".wiederherstellung"));
}

// The data file's path in the program directory, found without regard to case.
QString targetOf(const QString &name)
{
    return DataFilePath(name);
}


// The rename replaces a link in the program directory itself, never the file it
// points to: a restore writes nothing outside the program directory.
bool moveInPlace(const QString &staged, const QString &target)
{
    return ::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) == 0;
}

// Removes the staged files, and the temporary files of writers of them and
// of the journal that were killed.
void removeStaged()
{
    for (const QString &name : DataFiles::names()) {
        const QString staged = stagedPath(targetOf(name));
        QFile::remove(staged);
        AtomicFile::finishGroup({staged});
    }
    AtomicFile::finishGroup({journalPath()});
}

void announce(const BackupContent &content)
{
    bool grades = false;
    for (const BackupFile &file : content.files) {
        if (file.name.startsWith(QStringLiteral("NOTEN.")))
            grades = true;
        else
            ProfileFile::announceReplaced(targetOf(file.name));
    }
    if (grades)
        GradeStore::announceReplaced();
}

QString sizeText(qint64 bytes)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(bytes) + QStringLiteral(" Bytes");
}

}

namespace Restore {

QList<Change> preview(const BackupContent &content)
{
    QList<Change> changes;
    for (const BackupFile &file : content.files) {
        Change change;
        change.name = file.name;
        change.newSize = file.bytes.size();
        QFile current(targetOf(file.name));
        if (QFileInfo(current).isFile()) {
            change.currentSize = current.size();
            change.unchanged = change.currentSize == change.newSize && current.open(QIODevice::ReadOnly) && current.readAll() == file.bytes;
        }
        changes.append(change);
    }
    return changes;
}

QString describe(const QList<Change> &changes)
{
    QStringList lines;
    for (const Change &change : changes) {
        if (change.unchanged)
            lines.append(QStringLiteral("%1: bleibt, wie sie ist").arg(change.name));
        else if (change.currentSize < 0)
            lines.append(QStringLiteral("%1: wird angelegt (%2)").arg(change.name, sizeText(change.newSize)));
        else
            lines.append(QStringLiteral("%1: wird ersetzt (jetzt %2, danach %3)").arg(change.name, sizeText(change.currentSize), sizeText(change.newSize)));
    }
    return lines.join(u'\n');
}

Snapshots::Entry replace(const BackupContent &content)
{
    recoverInterrupted();
    if (QFileInfo::exists(journalPath()))
        throw KalmoraError(QStringLiteral("Gerade stellt ein anderes Programm die Daten wieder her. Es wurde nichts verändert."));
    QStringList targets;
    for (const BackupFile &file : content.files) {
        const QString target = targetOf(file.name);
        // A data file marked read-only keeps its content, as with every save.
        const QFileInfo info(target);
        if (info.exists() && !info.isSymLink() && !(info.isWritable() && info.permissions().testFlag(QFileDevice::WriteOwner)))
            throw EWriteError(target);
        targets.append(target);
    }
    const Snapshots::Entry kept = Snapshots::takeBeforeRestore();
    AtomicFile::write(journalPath(), journalHead(kBegun));
    try {
        for (qsizetype i = 0; i < targets.size(); ++i)
            AtomicFile::write(stagedPath(targets[i]), content.files[i].bytes);
        QByteArray journal = journalHead(kComplete);
        for (const BackupFile &file : content.files)
            journal += "\r\n" + file.name.toUtf8();
        // From here on the restore counts as done; a crash is completed at the next start.
        AtomicFile::write(journalPath(), journal);
    } catch (...) {
        removeStaged();
        QFile::remove(journalPath());
        throw;
    }
    recoverInterrupted();
    announce(content);
    return kept;
}

void recoverInterrupted()
{
    QFile journal(journalPath());
    if (!journal.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = journal.readAll().split('\n');
    journal.close();
    const QByteArray head = lines.value(0).trimmed();
    if (writerRuns(head))
        return;
    if (head.split(' ').value(0) == kComplete) {
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QString name = QString::fromUtf8(lines[i].trimmed());
            if (DataFiles::usualName(name) != name)
                continue;
            const QString target = targetOf(name);
            const QString staged = stagedPath(target);
            if (QFileInfo::exists(staged) && !moveInPlace(staged, target))
                throw EWriteError(target);
        }
        AtomicFile::syncDirectory(ProgramDirectory());
    }
    // A restore cut off before it was complete leaves the old files; its staged files go.
    removeStaged();
    QFile::remove(journalPath());
}

}
