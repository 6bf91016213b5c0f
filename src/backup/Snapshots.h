// The snapshots of the data files in the folder "Sicherungen" of the program directory.
#pragma once

#include "BackupContent.h"

#include <QDate>
#include <QList>

class Snapshots final
{
public:
    struct Entry
    {
        QString path;            // the snapshot's folder
        QDateTime created;       // when it was taken
        bool beforeRestore = false; // taken by a restore, of the state it replaced
        /// "Mittwoch, 09.12.2026" or "Mittwoch, 09.12.2026, 10:15 Uhr (vor der Wiederherstellung)".
        QString label() const;
    };

    /// How many days of snapshots are kept: the days with the newest snapshots.
    static constexpr int kDaysKept = 14;

    /// The folder "Sicherungen" in the program directory.
    static QString folder();

    /// The snapshot of the first start of a day: when today has none yet and
    /// the daily snapshot is on, copies the data files into
    /// "Sicherungen/<yyyy-mm-dd>/" and removes the snapshots of older days
    /// beyond the kept ones. Returns whether it took one. A snapshot is
    /// written into a temporary folder renamed at the end, so a snapshot cut
    /// off by a crash is never listed. Throws EWriteError when it cannot be written.
    static bool takeDailyIfDue();

    /// The daily snapshot in two steps, for the program's start: `prepareDaily`
    /// decides whether it is due and reads the files, before anything changes
    /// them; `write` writes them later, from any thread, so that the first
    /// window does not wait for the disk. It touches nothing but the snapshot folder.
    struct Daily
    {
        QString root;
        QString name;
        BackupContent content; // empty: nothing to write
        /// Writes the snapshot and removes old ones; whether it wrote one. Throws EWriteError.
        bool write() const;
    };
    static Daily prepareDaily();

    /// A snapshot of the data files now, "Sicherungen/<yyyy-mm-dd>_<hhmmss>/",
    /// taken before a restore replaces them. Throws EWriteError.
    static Entry takeBeforeRestore();

    /// The complete snapshots, newest first.
    static QList<Entry> list();

    /// Reads a snapshot and checks it against its manifest. Throws KalmoraError.
    static BackupContent read(const Entry &entry);
    /// The same for a snapshot folder named by its path (a copy kept elsewhere, say).
    static BackupContent readFolder(const QString &path);

    /// Removes the snapshots of all but the `kDaysKept` newest days, and
    /// temporary folders that crashed snapshots left behind.
    static void prune();

private:
    static void pruneFolder(const QString &path);
};
