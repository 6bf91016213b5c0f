// The section "KLASSE" of the settings file; no other class list code touches the file.
#include "ClassListSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("KLASSE");
}

ClassListSettings::Options ClassListSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return Options{ini.readBool(kSection, u"Aktiv", false), ini.readString(kSection, u"Aufgaben", QString()).trimmed()};
    });
}

void ClassListSettings::save(const Options &options)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeBool(kSection, u"Aktiv", options.active);
        ini.writeString(kSection, u"Aufgaben", options.tasks.trimmed());
    });
}
