// Replacing data files so that a crash leaves either the old or the new content.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace AtomicFile {
/// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
/// renames it over `path`. Throws EWriteError naming `path` on any failure;
/// the old file is then left as it was. A file this process may not write
/// (marked read-only) is not replaced. A symbolic link is followed, so the
/// file it names is replaced and the link stays.
///
/// The temporary file is named "<file name>.<process id>.tmp". One that a
/// killed writer left behind is removed by the next write of the same file
/// once that process has ended; readers look their files up by full name and
/// never take it for data.
void write(const QString &path, const QByteArray &bytes);

/// Replaces several files as one. Every content is first written whole, as
/// by `write`, to a pending file "<path>.new"; then the pending files are
/// renamed over their files in the given order. A crash in between leaves
/// pending files behind, which `finishGroup` completes or discards; a group
/// write cut off earlier is finished first. Throws EWriteError naming the
/// file that failed, before anything is written when one of the files may
/// not be written.
void writeGroup(const QList<std::pair<QString, QByteArray>> &files);

/// Completes a `writeGroup` of the same `paths` that a crash cut off once all
/// its pending files were whole (the last one exists), or removes the pending
/// files of one cut off before, so the files read either all old or all new.
/// Also removes temporary files of writers that have ended. Call it before
/// reading the files of a group. Throws EWriteError naming the file that
/// could not be completed.
void finishGroup(const QStringList &paths);

/// Makes the renames done in `directory` durable by flushing it to disk. A
/// failure is not reported: the renamed files are in place already.
void syncDirectory(const QString &directory);
}
