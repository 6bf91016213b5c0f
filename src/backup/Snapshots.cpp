// Snapshots of the data files, one folder each in "Sicherungen".
#include "Snapshots.h"

#include "BackupArchive.h"
#include "BackupManifest.h"
#include "BackupSettings.h"
#include "DataFiles.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <signal.h>
#include <unistd.h>

#include <map>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("hhmmss");
const QString kTemporarySuffix = QStringLiteral(".tmp");

// "2026-12-09" (a daily snapshot) or "2026-12-09_101500" (taken before a restore).
const QRegularExpression &folderPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(?:_(\\d{6}))?$"));
    return pattern;
}


// The temporary folder of a snapshot: ".<name>.<process id>.tmp", never listed.
QString temporaryName(const QString &name)
{
    return u'.' + name + u'.' + QString::number(::getpid()) + kTemporarySuffix;
}

bool writerEnded(const QString &temporaryFolderName)
{
    const QStringList parts = temporaryFolderName.split(u'.');
    bool ok = false;
    const qint64 pid = parts.size() >= 3 ? parts.at(parts.size() - 2).toLongLong(&ok) : 0;
    if (!ok || pid <= 0)
        return true;
    return pid == ::getpid() || (::kill(pid_t(pid), 0) != 0 && errno != EPERM);
}

// Writes the content with its manifest into a fresh folder `name` of the
// snapshot folder: into a temporary folder first, each file flushed, then
// renamed. Returns false when a snapshot of that name exists already.
bool writeSnapshot(const QString &root, const QString &name, const BackupContent &content)
{
    const QString final = root + name;
    if (QFileInfo::exists(final))
        return false;
    const QString temporary = root + temporaryName(name);
    QDir(temporary).removeRecursively();
    if (!QDir().mkpath(temporary))
        throw EWriteError(temporary);
    try {
        for (const BackupFile &file : content.files)
            AtomicFile::write(temporary + u'/' + file.name, file.bytes);
        AtomicFile::write(temporary + u'/' + BackupManifest::fileName(), BackupManifest::write(content));
    } catch (...) {
        QDir(temporary).removeRecursively();
        throw;
    }
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(final).constData()) != 0) {
        QDir(temporary).removeRecursively();
        if (QFileInfo::exists(final))
            return false;
        throw EWriteError(final);
    }
    AtomicFile::syncDirectory(root);
    return true;
}

Snapshots::Entry entryFor(const QString &path, const QRegularExpressionMatch &match)
{
    Snapshots::Entry entry;
    entry.path = path;
    const QDate date = QDate::fromString(match.captured(1), kDateFormat);
    const QTime time = match.hasCaptured(2) ? QTime::fromString(match.captured(2), kTimeFormat) : QTime(0, 0);
    entry.beforeRestore = match.hasCaptured(2);
    entry.created = QDateTime(date, time);
    return entry;
}

}

QString Snapshots::Entry::label() const
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text = german.toString(created.date(), QStringLiteral("dddd, dd.MM.yyyy"));
    if (beforeRestore)
        text += QStringLiteral(", %1 Uhr (vor der Wiederherstellung)").arg(created.time().toString(QStringLiteral("hh:mm")));
    return text;
}

QString Snapshots::folder()
{
    return ProgramDirectory() + QStringLiteral("Sicherungen/");
}

bool Snapshots::takeDailyIfDue()
{
    return prepareDaily().write();
}

Snapshots::Daily Snapshots::prepareDaily()
{
    Daily daily;
    // On every start but the first of a day this is all it costs.
    daily.root = folder();
    daily.name = Clock::today().toString(kDateFormat);
    if (QFileInfo::exists(daily.root + daily.name) || !BackupSettings::dailySnapshots())
        return daily;
    daily.content = DataFiles::collect(); // empty on a first start: nothing to keep yet
    return daily;
}

bool Snapshots::Daily::write() const
{
    if (content.files.isEmpty())
        return false;
    const bool taken = writeSnapshot(root, name, content);
    pruneFolder(root);
    return taken;
}

Snapshots::Entry Snapshots::takeBeforeRestore()
{
    const BackupContent content = DataFiles::collect();
    QDateTime moment = Clock::now();
    QString name;
    // Two restores within a second get folders a second apart.
    for (;; moment = moment.addSecs(1)) {
        name = moment.date().toString(kDateFormat) + u'_' + moment.time().toString(kTimeFormat);
        if (writeSnapshot(folder(), name, content))
            break;
    }
    Entry entry = entryFor(folder() + name, folderPattern().match(name));
    prune();
    return entry;
}

QList<Snapshots::Entry> Snapshots::list()
{
    QList<Entry> entries;
    const QDir root(folder());
    const QStringList names = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = folderPattern().match(name);
        if (!match.hasMatch() || !QFileInfo(root.filePath(name) + u'/' + BackupManifest::fileName()).isFile())
            continue;
        Entry entry = entryFor(root.filePath(name), match);
        if (entry.created.isValid())
            entries.append(entry);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.created > b.created; });
    return entries;
}

BackupContent Snapshots::read(const Entry &entry)
{
    return readFolder(entry.path);
}

BackupContent Snapshots::readFolder(const QString &path)
{
    const auto refuse = [&](const QString &reason) {
        return KalmoraError(QStringLiteral("Der Ordner „%1“ ist keine gültige Sicherung. %2 Es wurde nichts verändert.")
                                .arg(QDir::toNativeSeparators(path), reason));
    };
    const QDir dir(path);
    if (!dir.exists())
        throw refuse(QStringLiteral("Er fehlt."));
    QList<BackupFile> files;
    QByteArray manifest;
    const QFileInfoList infos = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        const QString name = info.fileName();
        const bool isManifest = name == BackupManifest::fileName();
        if (!isManifest && DataFiles::usualName(name) != name)
            continue; // a temporary file of a write cut off, or something put there by hand
        if (info.isSymLink() || !info.isFile())
            throw refuse(QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(name));
        if (info.size() > BackupArchive::kMaxEntryBytes)
            throw refuse(QStringLiteral("„%1“ ist zu groß.").arg(name));
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            throw refuse(QStringLiteral("„%1“ kann nicht gelesen werden.").arg(name));
        const QByteArray bytes = file.readAll();
        if (isManifest)
            manifest = bytes;
        else
            files.append({name, bytes});
    }
    if (manifest.isNull())
        throw refuse(QStringLiteral("Ihm fehlt das Inhaltsverzeichnis „%1“.").arg(BackupManifest::fileName()));
    try {
        return BackupManifest::verify(manifest, files);
    } catch (const KalmoraError &error) {
        throw refuse(error.message());
    }
}

void Snapshots::prune()
{
    pruneFolder(folder());
}

void Snapshots::pruneFolder(const QString &path)
{
    const QDir root(path);
    const QStringList names = root.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    std::map<QDate, QStringList> byDay;
    for (const QString &name : names) {
        if (name.startsWith(u'.') && name.endsWith(kTemporarySuffix)) {
            if (writerEnded(name))
                QDir(root.filePath(name)).removeRecursively();
            continue;
        }
        const QRegularExpressionMatch match = folderPattern().match(name);
        const QDate day = match.hasMatch() ? QDate::fromString(match.captured(1), kDateFormat) : QDate();
        if (day.isValid())
            byDay[day].append(name);
    }
    // The newest days stay, however long ago they were: after a long break
    // the last snapshots are the ones that matter.
    int kept = 0;
    for (auto day = byDay.rbegin(); day != byDay.rend(); ++day) {
        if (++kept <= kDaysKept)
            continue;
        for (const QString &name : day->second)
            QDir(root.filePath(name)).removeRecursively();
    }
}
