// Replacing a data file so that a crash leaves either the old or the new content.
#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {
/// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
/// renames it over `path`. Throws EWriteError naming `path` on any failure;
/// the old file is then left as it was.
void write(const QString &path, const QByteArray &bytes);
}
