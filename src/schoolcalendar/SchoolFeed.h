// Reads a school's iCalendar feed into the dates of a span of days.
#pragma once

#include "SchoolDate.h"

#include <QByteArrayView>

namespace SchoolFeed {

/// More dates than one entry gives in the span are cut off (an hourly rule, say).
constexpr int MostDatesPerEntry = 1000;
/// More dates than a whole feed gives in the span are cut off.
constexpr int MostDates = 20000;
/// Steps of one repetition rule before its expansion stops, however few dates it gave.
constexpr int MostRuleSteps = 100000;
/// Blocks nested deeper than this (VCALENDAR, VEVENT, VALARM, ...) refuse the feed.
constexpr int MostNesting = 8;

struct Reading
{
    QList<SchoolDate> dates; // sorted
    QString warning;         // German, when something was cut off; empty otherwise
};

/// The dates of `feed` that touch the days `from`..`to` (both included), in
/// local time, each marked with `source`. Repetitions (RRULE, RDATE, EXDATE)
/// are expanded, moved or cancelled single dates (RECURRENCE-ID) replace the
/// ones they name, times with a TZID follow the feed's VTIMEZONE or else a
/// known zone of that name, so a weekly lesson stays at its time across the
/// change to summer time. Throws SchoolCalendarError (German) when the
/// feed is no iCalendar calendar, is cut off, or nests its blocks in a way
/// iCalendar does not allow (an entry inside an entry).
Reading read(QByteArrayView feed, QDate from, QDate to, const QString &source = {});

}
