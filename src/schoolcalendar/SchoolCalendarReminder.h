// What the school's calendars add to the evening reminder before a school day.
#pragma once

#include <QDate>
#include <QString>

namespace SchoolCalendarReminder {
/// The lines for `day` from the subscriptions' last good copies, each
/// beginning with a line break: "\nSchultermine: 08:00 Klassenarbeit
/// Mathematik, Wandertag" and "\nfällt aus: Sport". Empty when the day has no
/// such dates or nothing can be read; never throws, so the reminder comes anyway.
QString linesFor(QDate day);
}
