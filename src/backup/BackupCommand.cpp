// The backup and the restore from the command line.
#include "BackupCommand.h"

#include "BackupArchive.h"
#include "DataFiles.h"
#include "DataFolderLock.h"
#include "Restore.h"
#include "Snapshots.h"
#include "platform/Clock.h"
#include "platform/Counted.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {


void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
}

int fail(const QString &message)
{
    print(stderr, QStringLiteral("kalmora: ") + message);
    return 2;
}

int backup(const QString &path)
{
    const BackupContent content = DataFiles::collect();
    if (content.files.isEmpty())
        return fail(QStringLiteral("Im Datenordner %1 liegen keine Daten, die sich sichern ließen.").arg(QDir::toNativeSeparators(ProgramDirectory())));
    BackupArchive::write(path, content);
    print(stdout, QStringLiteral("%1 in „%2“ gesichert.").arg(counted(content.files.size(), "Datei", "Dateien"), QDir::toNativeSeparators(path)));
    return 0;
}

int restore(const QString &path)
{
    // The running planner would show the old data and could write it back with its next save.
    qint64 pid = 0;
    if (DataFolderLock::heldElsewhere(&pid))
        return fail(QStringLiteral("Der Planer läuft gerade mit dem Datenordner %1 (Prozess %2). Schließen Sie ihn zuerst, "
                                   "oder stellen Sie die Daten dort mit „Daten wiederherstellen ...“ im Menü Extras wieder her. "
                                   "Es wurde nichts verändert.")
                        .arg(QDir::toNativeSeparators(ProgramDirectory()))
                        .arg(pid));
    // A snapshot folder is taken as it is, so that one copied by hand can be put back too.
    const BackupContent content = QFileInfo(path).isDir() ? Snapshots::readFolder(path) : BackupArchive::read(path);
    const Snapshots::Entry kept = Restore::replace(content);
    QStringList names;
    for (const BackupFile &file : content.files)
        names.append(file.name);
    print(stdout, QStringLiteral("Wiederhergestellt aus „%1“: %2. Der vorige Stand liegt in „%3“.")
                      .arg(QDir::toNativeSeparators(path), names.join(QStringLiteral(", ")), QDir::toNativeSeparators(kept.path)));
    return 0;
}

}

namespace BackupCommand {

int run(const QStringList &arguments)
{
    if (arguments.size() != 3 || arguments.at(2).isEmpty())
        return fail(QStringLiteral("Aufruf: kalmora --sichern DATEI | kalmora --wiederherstellen DATEI"));
    if (!Clock::initFromEnvironment())
        return fail(QStringLiteral("KALMORA_NOW ist kein Zeitpunkt nach ISO 8601."));
    if (!QFileInfo(ProgramDirectory()).isDir())
        return fail(QStringLiteral("Der Datenordner %1 existiert nicht.").arg(QDir::toNativeSeparators(ProgramDirectory())));
    const QString path = QFileInfo(arguments.at(2)).absoluteFilePath();
    try {
        Restore::recoverInterrupted();
        return arguments.at(1) == kBackupOption ? backup(path) : restore(path);
    } catch (const EWriteError &error) {
        return fail(QStringLiteral("Die Datei %1 kann nicht geschrieben werden; die Daten sind unverändert.").arg(QDir::toNativeSeparators(error.path())));
    } catch (const KalmoraError &error) {
        return fail(error.message());
    } catch (const std::exception &error) {
        return fail(QString::fromUtf8(error.what()));
    }
}

}
