// Date and time texts of the data files, always day.month.year whatever the locale.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

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

/// The keys that read as dates with their dates, earliest first (stable); a
/// key that is no date is left out, and with `once` a key written twice
/// (letter case aside) counts once.
QList<std::pair<QString, QDate>> sortedDates(const QStringList &keys, bool once);

/// Reads h:m or h:m:s as a time of day (0:00:00 to 23:59:59).
std::optional<QTime> tryParseTime(QStringView text);

}
