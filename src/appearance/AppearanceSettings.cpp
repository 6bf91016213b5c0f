// The appearance option in the section "DARSTELLUNG" of the settings file.
#include "AppearanceSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("DARSTELLUNG");
const QString kMode = QStringLiteral("Modus");
constexpr int kPreferDark = 1;
}

AppearanceSettings::Mode AppearanceSettings::mode()
{
    return modeFromText(SettingsFile::read([](const ProfileFile &ini) { return ini.readString(kSection, kMode, QString()); }));
}

void AppearanceSettings::setMode(Mode mode)
{
    SettingsFile::use([mode](ProfileFile &ini) { ini.writeString(kSection, kMode, modeText(mode)); });
}

QString AppearanceSettings::modeText(Mode mode)
{
    switch (mode) {
    case Mode::Light:
        return QStringLiteral("hell");
    case Mode::Dark:
        return QStringLiteral("dunkel");
    case Mode::System:
        break;
    }
    return QStringLiteral("system");
}

AppearanceSettings::Mode AppearanceSettings::modeFromText(const QString &text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("hell"))
        return Mode::Light;
    if (value == QLatin1String("dunkel"))
        return Mode::Dark;
    return Mode::System;
}

bool AppearanceSettings::dark(Mode mode, int desktopScheme)
{
    return mode == Mode::Dark || (mode == Mode::System && desktopScheme == kPreferDark);
}
