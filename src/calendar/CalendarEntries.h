// The planner's dates as plain calendar entries: homework, events, alarms and holidays.
#pragma once

#include "model/EventStore.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

class ProfileFile;

/// One entry of the exported calendar, still without any file format.
struct CalendarEntry
{
    QString uid;         // stable: what the entry is, never where it stands
    QString summary;
    QString description; // lines joined by "\n"; may be empty
    QDate start;         // the first (or only) day
    QDate end;           // all-day entries: the day after the last day
    std::optional<QTime> time; // a time-dependent event: its local time of day
    QList<QDate> moreDates;    // the further occurrences of a recurring event
    bool alarm = false;        // reminded at the start moment of each occurrence
};

class CalendarEntries final
{
public:
    /// Every entry the settings file holds, in a fixed order: homework by due
    /// date (then the subjects in file order), the events of "TERMIN",
    /// "WEEKLY", "MONTHLY" and "YEARLY" in file order, the alarms by date,
    /// and the six holiday periods in the row order of the "Ferien" tab.
    /// Stored dates that do not read (or lie outside the years 1 to 9999)
    /// leave their entry out. Recurring events are listed up to
    /// `today` plus two years.
    static QList<CalendarEntry> read(const ProfileFile &ini, QDate today);

    /// The occurrences of an event of `kind` stored on `stored`, as the
    /// acknowledgement of each reminder moves it on (7 days, the next monthly
    /// date, 365 days): from the stored date, also when that lies before
    /// today, since each of those reminders is still to come, up to and
    /// including `today` plus two years. The stored date is always the first.
    /// Of the occurrences before today at most the last 1000 are kept, so a
    /// hand-edited date centuries back cannot swell the document.
    static QList<QDate> occurrences(EventKind kind, QDate stored, QDate today);

    /// "<kind>-<what>@kalmora" with everything but letters, digits and
    /// "-._~" percent-encoded as UTF-8.
    static QString uid(const QString &kind, const QString &what);
};
