// Where the calendar file is kept current: the section "KALENDER" of the settings file.
#pragma once

#include <QString>

class CalendarSettings final
{
public:
    struct Options
    {
        bool keepCurrent = false; // rewrite the file after every change of the planner's data
        QString path;             // the calendar file; empty: none chosen yet
        friend bool operator==(const Options &, const Options &) = default;
    };

    /// Reads "Aktuell" and "Datei" of "KALENDER"; a missing section gives the option off and no path.
    static Options load();
    /// Writes both keys into "KALENDER"; the other sections stay as they are.
    /// Throws EWriteError when the settings file cannot be written.
    static void save(const Options &options);

    /// "kalmora.ics" in the home folder: where an export is offered first.
    static QString defaultPath();
    /// The file the option keeps current: the chosen path, or the default one.
    /// A path beginning with "~/" or without a folder in front is taken from the home folder.
    static QString fileOf(const Options &options);
};
