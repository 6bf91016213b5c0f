// The mark of a running planner in its program directory, so that a restore from the command line does not replace files under it.
#pragma once

#include <QtGlobal>

#include <memory>

class QLockFile;

class DataFolderLock final
{
public:
    DataFolderLock();
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

    /// Marks the program directory as used by this process while the object
    /// lives. Returns false, holding nothing, when another running process
    /// holds the mark or it cannot be written; the program runs on then.
    bool acquire();

    /// Whether another running process holds the mark of the program
    /// directory; its process id goes to `pid`. A mark left by a process
    /// that has ended does not count.
    static bool heldElsewhere(qint64 *pid = nullptr);

private:
    std::unique_ptr<QLockFile> m_lock;
};
