// The settings file "DEZUVEDIRED.INI".
#include "SettingsFile.h"

#include "platform/Errors.h"

#include <QFile>

ProfileFile SettingsFile::readWhole()
{
    QFile file(path());
    if (!file.exists())
        return ProfileFile::fromBytes({});
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path()));
    return ProfileFile::fromBytes(file.readAll());
}
