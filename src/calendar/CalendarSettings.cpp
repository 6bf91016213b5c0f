// The calendar options in the section "KALENDER" of the settings file.
#include "CalendarSettings.h"

#include "model/SettingsFile.h"

#include <QDir>

namespace {
const QString kSection = QStringLiteral("KALENDER");
const QString kKeepCurrent = QStringLiteral("Aktuell");
const QString kPath = QStringLiteral("Datei");
}

CalendarSettings::Options CalendarSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return Options{ini.readBool(kSection, kKeepCurrent, false), ini.readString(kSection, kPath, QString())};
    });
}

void CalendarSettings::save(const Options &options)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeBool(kSection, kKeepCurrent, options.keepCurrent);
        ini.writeString(kSection, kPath, options.path.trimmed());
    });
}

QString CalendarSettings::defaultPath()
{
    return QDir::home().filePath(QStringLiteral("kalmora.ics"));
}

QString CalendarSettings::fileOf(const Options &options)
{
    const QString path = options.path.trimmed();
    if (path.isEmpty())
        return defaultPath();
    // "~/Nextcloud/kalmora.ics" as a shell would read it, and a path without a
    // folder in front from the home folder, not from wherever the program was started.
    if (path.startsWith(QStringLiteral("~/")))
        return QDir::cleanPath(QDir::home().filePath(path.mid(2)));
    if (QDir::isRelativePath(path))
        return QDir::cleanPath(QDir::home().filePath(path));
    return path;
}
