// The manifest of a backup: program version, date, and each file's size and SHA-256 checksum.
#pragma once

#include "BackupContent.h"

namespace BackupManifest {

/// The manifest's name inside a backup file or snapshot folder.
QString fileName();

/// The manifest of `content` as JSON text.
QByteArray write(const BackupContent &content);

/// Checks `files` against the manifest and returns the content with the
/// manifest's date and version. Throws KalmoraError with a German reason
/// when the manifest cannot be read, names a file twice or a file that is no
/// data file, or when a file is missing, extra, or differs in size or checksum.
BackupContent verify(const QByteArray &manifest, const QList<BackupFile> &files);

}
