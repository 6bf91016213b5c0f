// The lock file ".kalmora.lock" in the program directory.
#include "DataFolderLock.h"

#include "platform/ProgramDirectory.h"

#include <QLockFile>
#include <QString>

namespace {
QString lockPath()
{
    return ProgramDirectory() + QStringLiteral(".kalmora.lock");
}
}

DataFolderLock::DataFolderLock() = default;
DataFolderLock::~DataFolderLock() = default;

bool DataFolderLock::acquire()
{
    auto lock = std::make_unique<QLockFile>(lockPath());
    // A lock whose process has ended is taken over at once, whatever its age.
    if (!lock->tryLock(0))
        return false;
    m_lock = std::move(lock);
    return true;
}

bool DataFolderLock::heldElsewhere(qint64 *pid)
{
    QLockFile probe(lockPath());
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    if (probe.error() != QLockFile::LockFailedError)
        return false; // no mark can be written here, so none is held either
    if (pid) {
        QString host;
        QString application;
        probe.getLockInfo(pid, &host, &application);
    }
    return true;
}
