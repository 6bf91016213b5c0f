// The backup option in the section "SICHERUNG" of the settings file.
#include "BackupSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("SICHERUNG");
const QString kDaily = QStringLiteral("Taeglich");
}

bool BackupSettings::dailySnapshots()
{
    return SettingsFile::read([](const ProfileFile &ini) { return ini.readBool(kSection, kDaily, true); });
}

void BackupSettings::setDailySnapshots(bool on)
{
    SettingsFile::use([on](ProfileFile &ini) { ini.writeBool(kSection, kDaily, on); });
}
