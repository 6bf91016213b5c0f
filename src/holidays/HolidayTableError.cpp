// A holiday table that is missing or cannot be read.
#include "HolidayTableError.h"

#include <QDir>

HolidayTableError HolidayTableError::atLine(const QString &path, int line, const QString &problem)
{
    return HolidayTableError(QStringLiteral("Die Ferientabelle %1 ist fehlerhaft (Zeile %2): %3")
                                 .arg(QDir::toNativeSeparators(path))
                                 .arg(line)
                                 .arg(problem));
}
