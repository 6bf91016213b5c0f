// Whether the daily snapshot is taken: the section "SICHERUNG" of the settings file.
#pragma once

class BackupSettings final
{
public:
    /// "Taeglich" of "SICHERUNG"; on unless switched off.
    static bool dailySnapshots();
    /// Throws EWriteError when the settings file cannot be written.
    static void setDailySnapshots(bool on);
};
