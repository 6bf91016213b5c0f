// Date and time texts of the data files.
#include "DateText.h"

#include "Clock.h"
#include "Errors.h"

#include <QList>

namespace {

// Splits at `sep` into 1..3 parts of decimal digits; false when any part is not a number.
bool splitNumbers(QStringView text, QChar sep, QList<int> &numbers, QList<qsizetype> &widths)
{
    const auto parts = text.trimmed().split(sep);
    if (parts.size() > 3)
        return false;
    for (QStringView part : parts) {
        if (part.isEmpty() || part.size() > 9)
            return false;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return false;
        }
        numbers.append(part.toInt());
        widths.append(part.size());
    }
    return true;
}

}

namespace DateText {

QString formatLong(QDate date)
{
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString formatShort(QDate date)
{
    return QStringLiteral("%1.%2.%3").arg(date.day()).arg(date.month()).arg(date.year());
}

QString formatSnoozeKey(const QDateTime &moment)
{
    const QTime t = moment.time();
    return formatShort(moment.date()) + QStringLiteral(" %1:%2:%3").arg(t.hour()).arg(t.minute()).arg(t.second());
}

std::optional<QDate> tryParse(QStringView text)
{
    QList<int> n;
    QList<qsizetype> widths;
    if (!splitNumbers(text, u'.', n, widths) || n.size() < 2)
        return std::nullopt;
    // The current year only where the text leaves it open: asking the clock
    // costs more than the rest of the parse.
    int year = 0;
    if (n.size() == 3) {
        year = n[2];
        if (widths[2] <= 2)
            year += Clock::today().year() / 100 * 100;
    } else {
        year = Clock::today().year();
    }
    const QDate date(year, n[1], n[0]);
    if (!date.isValid() || year < 1)
        return std::nullopt;
    return date;
}

QDate parse(QStringView text)
{
    if (const auto date = tryParse(text))
        return *date;
    throw EConvertError::invalidDate(text.toString());
}

std::optional<QTime> tryParseTime(QStringView text)
{
    QList<int> n;
    QList<qsizetype> widths;
    if (!splitNumbers(text, u':', n, widths) || n.size() < 2)
        return std::nullopt;
    const QTime time(n[0], n[1], n.size() == 3 ? n[2] : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

}
