// Homework as VTODO and the planner's dates as single VEVENT documents, written and read by libical.
#pragma once

#include "HomeworkSource.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

namespace TodoMapping {

/// A todo as read from the server, before it is taken as homework.
struct Todo
{
    QString uid;
    std::optional<QDate> due; // the day in the planner's own time zone
    QString summary;
    QString description; // simplified, as the summary
    QStringList categories;
    bool done = false;
};

/// A new calendar object with one VTODO: DUE as a date, SUMMARY "<subject>: <text>",
/// DESCRIPTION the text, CATEGORIES the subject, STATUS COMPLETED or NEEDS-ACTION.
QByteArray create(const QString &uid, const HomeworkItem &item, const QDateTime &stamp);
/// The same fields written into a calendar object read from the server, so
/// that what other programs added to the todo (alarms, priority) stays.
/// Where `held` (the object as homework, as read) has the item's subject and
/// text, SUMMARY, DESCRIPTION and CATEGORIES stay as they are: a text the
/// planner's file cannot hold in full is never written back shortened.
/// An object without a VTODO gives a new one.
QByteArray update(const QByteArray &object, const QString &uid, const HomeworkItem &item, const QDateTime &stamp,
                  const std::optional<HomeworkItem> &held = std::nullopt);

/// The first VTODO of a calendar object; none when the object does not read
/// as iCalendar, holds no VTODO, is larger than `MaxObjectSize` or nests its
/// components deeper than a todo with alarms needs. A due time
/// (UTC, with a TZID of the object's VTIMEZONE or libical's zones, or
/// floating) gives the day it falls on in the system's time zone.
std::optional<Todo> parse(const QByteArray &object);
constexpr qsizetype MaxObjectSize = 256 * 1024;

/// A todo as homework: the subject is the CATEGORIES value or the summary's
/// prefix before ":" naming a subject of `subjects` (letter case aside; the
/// timetable's spelling is taken), the rest of the summary the text; else the
/// subject "Sonstiges" with the whole summary. None without a due date.
std::optional<HomeworkItem> toHomework(const Todo &todo, const QStringList &subjects);

/// One entry of the planner's calendar as its own calendar object.
struct Event
{
    QString uid;
    QByteArray object;     // a VCALENDAR with the VEVENT (and the VTIMEZONE it uses)
    QByteArray fingerprint; // the same for the same content, whatever its DTSTAMP
};
/// Splits an iCalendar document of the calendar export into one object per
/// entry, leaving out the entries whose uid begins with one of `skipPrefixes`.
QList<Event> splitEvents(const QByteArray &document, const QStringList &skipPrefixes);

}
