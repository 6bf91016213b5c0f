// The evening reminder's option in the section "RANZEN".
#include "PackingSettings.h"

#include "model/SettingsFile.h"
#include "platform/DateText.h"

namespace {
const QString kSection = QStringLiteral("RANZEN");
const QString kActive = QStringLiteral("Aktiv");
const QString kTime = QStringLiteral("Uhrzeit");
const QString kShown = QStringLiteral("Gezeigt");
}

PackingSettings::Options PackingSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        Options options;
        options.active = ini.readBool(kSection, kActive, false);
        if (const auto time = DateText::tryParseTime(ini.readString(kSection, kTime, QString()).trimmed()))
            options.time = *time;
        options.shownOn = QDate::fromString(ini.readString(kSection, kShown, QString()).trimmed(), QStringLiteral("dd.MM.yyyy"));
        return options;
    });
}

void PackingSettings::save(bool active, QTime time)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeBool(kSection, kActive, active);
        ini.writeString(kSection, kTime, time.toString(QStringLiteral("hh:mm")));
    });
}

void PackingSettings::markShown(QDate day)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(kSection, kShown, day.toString(QStringLiteral("dd.MM.yyyy"))); });
}
