// The pupil's state and the school year last loaded: the section "SCHULJAHR" of the settings file.
#include "SchoolYearSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("SCHULJAHR");
const QString kState = QStringLiteral("Bundesland");
const QString kYear = QStringLiteral("Schuljahr");
const QString kOffered = QStringLiteral("Angeboten");
}

SchoolYearSettings::Values SchoolYearSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return Values{ini.readString(kSection, kState, QString()), ini.readString(kSection, kYear, QString()),
                      ini.readString(kSection, kOffered, QString())};
    });
}

void SchoolYearSettings::remember(const QString &state, const QString &year)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeString(kSection, kState, state);
        ini.writeString(kSection, kYear, year);
    });
}

void SchoolYearSettings::setOffered(const QString &year)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(kSection, kOffered, year); });
}
