// The data files a backup holds, and reading them from the program directory.
#pragma once

#include "BackupContent.h"

#include <QStringList>

namespace DataFiles {

/// The usual names of the data files, in the order a backup lists them.
QStringList names();

/// The usual name matching `name` without regard to case, or an empty text.
QString usualName(const QString &name);

/// The data files of the program directory as they are now, each one that
/// exists. Throws EInOutError naming a file that exists but cannot be read.
BackupContent collect();

}
