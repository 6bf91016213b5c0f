// One date of the school's calendars, as the planner shows it.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

struct SchoolDate
{
    QDateTime start;     // local time; for an all-day date midnight of its first day
    QDateTime end;       // local time, exclusive; for an all-day date midnight after its last day
    bool allDay = false;
    bool cancelled = false; // STATUS:CANCELLED: a lesson or date that does not take place
    QString summary;
    QString location;
    QString description;
    QString source;      // the name of the subscription it came from
    QDateTime replaces;  // a single date that replaces one of a repetition (RECURRENCE-ID): the start it replaces

    QDate firstDay() const { return start.date(); }
    /// The last day it touches (an end at midnight belongs to the day before).
    QDate lastDay() const;
    /// Whether it touches the day.
    bool touches(QDate day) const { return firstDay() <= day && day <= lastDay(); }
};

namespace SchoolDates {
/// Sorts by start, then by summary, so that every reading lists them alike.
void sort(QList<SchoolDate> &dates);
/// "Di 15.12.2026 08:00–09:30 Klassenarbeit Mathematik (WebUntis)"; an
/// all-day date without times, one of several days "Mo 14.12.2026–Fr 18.12.2026",
/// a cancelled one "fällt aus: Sport".
QString line(const SchoolDate &date);
/// "Klassenarbeit Mathematik", or "fällt aus: Sport" when cancelled.
QString title(const SchoolDate &date);
/// The German short weekday and day.month. ("Di 15.12."), for the band.
QString shortDay(QDate day);
}
