// Putting the data files of a backup back in place, all of them or none.
#pragma once

#include "BackupContent.h"
#include "Snapshots.h"

#include <functional>

namespace Restore {

/// What a restore does to one data file.
struct Change
{
    QString name;
    qint64 currentSize = -1; // -1: the file does not exist now
    qint64 newSize = 0;
    bool unchanged = false;  // the backup holds the very bytes the file has now
};

/// The changes restoring `content` makes, one for each file of the backup.
/// Data files the backup does not hold are left as they are.
QList<Change> preview(const BackupContent &content);

/// The German list of `changes` for the question before a restore.
QString describe(const QList<Change> &changes);

/// Takes a snapshot of the current state, then replaces the data files with
/// those of `content`: each file is first written whole beside its file, then
/// a journal marks the set complete, then the files are renamed into place.
/// A crash before the journal leaves the old files, one after it is completed
/// by `recoverInterrupted` at the next start. The program's save observers
/// hear of the replaced files. Returns the snapshot of the state replaced.
/// Throws EWriteError; the files are then as before.
Snapshots::Entry replace(const BackupContent &content);

/// Completes a restore that a crash cut off after its journal, or removes
/// the files of one cut off before. Runs before anything reads the data files.
void recoverInterrupted();

}
