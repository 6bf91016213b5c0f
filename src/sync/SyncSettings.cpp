// The section "CALDAV" of the settings file; no other sync code touches the file.
#include "SyncSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("CALDAV");
}

SyncSettings::Options SyncSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return Options{ini.readBool(kSection, u"Aktiv", false), ini.readString(kSection, u"Server", QString()),
                       ini.readString(kSection, u"Benutzer", QString()), ini.readString(kSection, u"Aufgaben", QString()),
                       ini.readString(kSection, u"Termine", QString())};
    });
}

void SyncSettings::save(const Options &options)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeBool(kSection, u"Aktiv", options.active);
        ini.writeString(kSection, u"Server", options.server.trimmed());
        ini.writeString(kSection, u"Benutzer", options.user.trimmed());
        ini.writeString(kSection, u"Aufgaben", options.tasks.trimmed());
        ini.writeString(kSection, u"Termine", options.events.trimmed());
    });
}
