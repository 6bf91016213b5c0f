// The evening reminder's option in the section "RANZEN" of the settings file.
#pragma once

#include <QDate>
#include <QTime>

class PackingSettings final
{
public:
    struct Options
    {
        bool active = false;      // "Aktiv": remind in the evening before a school day
        QTime time = QTime(19, 0); // "Uhrzeit": from when on the reminder is shown
        QDate shownOn;            // "Gezeigt": the day it was last shown, invalid when never
        friend bool operator==(const Options &, const Options &) = default;
    };

    /// Reads "RANZEN"; a missing section gives the option off at 19:00. A time
    /// or day that cannot be read counts as missing.
    static Options load();
    /// Writes "Aktiv" and "Uhrzeit" (hh:mm); "Gezeigt" and the other sections stay.
    /// Throws EWriteError when the settings file cannot be written.
    static void save(bool active, QTime time);
    /// Notes the day the reminder was shown ("Gezeigt", dd.mm.yyyy).
    static void markShown(QDate day);
};
