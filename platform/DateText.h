// Date and time texts of the data files, always day.month.year whatever the locale.
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace DateText {

/// "dd.mm.yyyy": homework due dates and alarm keys.
QString formatLong(QDate date);
/// "d.m.yyyy": event dates and the dates the calendar picker returns.
QString formatShort(QDate date);
/// "d.m.yyyy h:m:s": the keys of pending snoozes.
QString formatSnoozeKey(const QDateTime &moment);

/// Reads day.month[.year] with one or more digits per part. A missing year is
/// the current year; a year of one or two digits lies in the current century.
std::optional<QDate> tryParse(QStringView text);
/// As `tryParse`, but throws EConvertError "'%s' is not a valid date".
QDate parse(QStringView text);

/// Reads h:m or h:m:s as a time of day (0:00:00 to 23:59:59).
std::optional<QTime> tryParseTime(QStringView text);

}
