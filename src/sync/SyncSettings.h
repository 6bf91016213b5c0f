// The account and collections of the synchronisation: the section "CALDAV" of the settings file.
#pragma once

#include <QString>

class SyncSettings final
{
public:
    struct Options
    {
        bool active = false;
        QString server; // as typed
        QString user;
        QString tasks;  // the task list's URL; empty: homework is not synchronised
        QString events; // the calendar's URL; empty: dates are not written
        friend bool operator==(const Options &, const Options &) = default;
    };

    /// Reads "Aktiv", "Server", "Benutzer", "Aufgaben" and "Termine" of
    /// "CALDAV"; a missing section gives the synchronisation off.
    static Options load();
    /// Writes the keys into "CALDAV"; the other sections stay as they are.
    /// Throws EWriteError when the settings file cannot be written.
    static void save(const Options &options);
};
