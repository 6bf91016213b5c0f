// One queued reminder of a due event or snooze.
#pragma once

#include <QDateTime>
#include <QString>

struct DueEntry
{
    QDateTime due;   // the reminder is shown once this moment has passed
    QString name;    // the event's name: its "SOUND", "TIME" and "MEMO" records
    QString section; // "ERINNERN", "TERMIN", "WEEKLY", "MONTHLY" or "YEARLY"
    QString key;     // the entry's key as the file spells it, removed on acknowledging

    bool operator==(const DueEntry &) const = default;
};
