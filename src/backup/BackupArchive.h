// A backup as one ZIP file: the data files and the manifest.
#pragma once

#include "BackupContent.h"

namespace BackupArchive {

/// No entry of a backup file may unpack to more than this.
constexpr qint64 kMaxEntryBytes = 100LL * 1024 * 1024;
/// Nor all entries together.
constexpr qint64 kMaxTotalBytes = 200LL * 1024 * 1024;

/// "Kalmora-Sicherung-<yyyy-mm-dd>.zip" in the home folder.
QString defaultPath();

/// Writes `content` with its manifest as a ZIP file to `path`, replacing it
/// whole. Throws EWriteError when it cannot be written.
void write(const QString &path, const BackupContent &content);

/// Reads and checks a backup file. A file that is not a ZIP archive or is
/// damaged, an entry that is no plain file or not one of the data files or the
/// manifest, an entry named twice, an entry or a total over the limits, or a
/// file that does not match the manifest refuses the whole file: KalmoraError
/// with a German message naming the file and the reason.
BackupContent read(const QString &path);

}
