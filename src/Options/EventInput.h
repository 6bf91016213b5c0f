// What the event editor checks before it saves an event, and how it turns its fields into store values.
#pragma once

#include "model/EventStore.h"

#include <QDate>
#include <QString>
#include <QStringList>

class EventInput final
{
public:
    /// The lines of a message text as a multi-line field holds them: split at
    /// line breaks, where a last line that is empty does not count, so an
    /// empty text has no lines and a final line break adds none.
    static QStringList messageLines(const QString &text);

    /// The time text as it is stored for an event: for an event that is not
    /// time-dependent any leading "#" is dropped, since the store reads a
    /// leading "#" as the time-dependent flag.
    static QString storedTimeText(const QString &timeText, bool timeDependent);

    /// Whether a time-dependent event can be due at this text: it must read
    /// as a time of day from 0:00 to 23:59:59 ("24:00" does not).
    static bool isTimeOfDay(const QString &timeText);

    /// The name of the event of that kind stored on the date when it is
    /// another than `name`; empty when the date is free or holds `name`.
    /// Saving `name` on the date would replace that other event, since a
    /// kind holds one event per date.
    static QString otherEventOn(EventKind kind, QDate date, const QString &name);

    /// For a name no event of any kind carries yet: a stored event name that
    /// equals it except for letter case; empty when there is none, or when
    /// `name` itself is stored. The settings file does not tell such names
    /// apart, so a new event of that name would take over the other's time,
    /// sound and message.
    static QString caseVariantOf(const QString &name);

    /// The names sorted as the pupil reads them: German collation without
    /// regard to letter case; equal names keep their order.
    static QStringList sortedNames(QStringList names);
};
