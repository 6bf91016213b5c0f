// The data files of one backup.
#include "BackupContent.h"

const BackupFile *BackupContent::find(const QString &name) const
{
    for (const BackupFile &file : files) {
        if (file.name == name)
            return &file;
    }
    return nullptr;
}
