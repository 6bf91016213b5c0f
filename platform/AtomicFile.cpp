// Atomic file replacement over QSaveFile, with an explicit flush to disk.
#include "AtomicFile.h"

#include "Errors.h"

#include <QSaveFile>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace AtomicFile {

void write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw EWriteError(path);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw EWriteError(path);
    }
#ifndef Q_OS_WIN
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        throw EWriteError(path);
    }
#endif
    if (!file.commit())
        throw EWriteError(path);
}

}
