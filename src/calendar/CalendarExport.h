// The planner's dates as one iCalendar document, for calendar programs to import.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class CalendarExport final
{
public:
    /// The planner's dates as one iCalendar document (UTF-8, CR LF, folded lines), read from the settings file of the program directory. `stamp` is every entry's DTSTAMP; recurring events are listed from today (Clock::today()) for two years.
    ///
    /// Homework, events (recurring ones with each occurrence as an RDATE, a
    /// time-dependent one at its local time in the system's zone), alarms and
    /// the holiday periods, each with a UID that stays the same as long as
    /// the entry is the same. Unchanged data gives the same bytes apart from
    /// the DTSTAMP lines. No settings file gives an empty calendar; one that
    /// exists but cannot be read throws EInOutError, so that an exported file
    /// is never replaced by an empty one.
    static QByteArray document(const QDateTime &stamp);
    /// document(Clock::now()) written to `path` atomically (temporary file renamed over it); throws EWriteError "Unable to write to %s" (platform/Errors.h) when it cannot be written; never leaves a half-written file.
    static void writeFile(const QString &path);
};
