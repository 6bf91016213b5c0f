// Date and time texts of the data files.
#include "DateText.h"

#include "Clock.h"
#include "Errors.h"

#include <QSet>

#include <algorithm>
#include <array>

namespace {

// One to three decimal numbers and how many digits each was written with.
struct Numbers
{
    std::array<int, 3> value{};
    std::array<qsizetype, 3> width{};
    qsizetype count = 0;
};

// Splits at `sep` into 1..3 parts of decimal digits; false when any part is
// not a number. Made without allocating: the start-up reads thousands of dates.
bool splitNumbers(QStringView text, QChar sep, Numbers &numbers)
{
    const QStringView t = text.trimmed();
    qsizetype begin = 0;
    while (true) {
        qsizetype end = t.indexOf(sep, begin);
        if (end < 0)
            end = t.size();
        const qsizetype width = end - begin;
        if (numbers.count == 3 || width == 0 || width > 9)
            return false;
        int value = 0;
        for (qsizetype i = begin; i < end; ++i) {
            const QChar c = t[i];
            if (c < u'0' || c > u'9')
                return false;
            value = value * 10 + (c.unicode() - u'0');
        }
        numbers.value[size_t(numbers.count)] = value;
        numbers.width[size_t(numbers.count)] = width;
        ++numbers.count;
        if (end == t.size())
            return true;
        begin = end + 1;
    }
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
    Numbers numbers;
    if (!splitNumbers(text, u'.', numbers) || numbers.count < 2)
        return std::nullopt;
    const auto &n = numbers.value;
    // The current year only where the text leaves it open: asking the clock
    // costs more than the rest of the parse.
    int year = 0;
    if (numbers.count == 3) {
        year = n[2];
        if (numbers.width[2] <= 2)
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
    Numbers numbers;
    if (!splitNumbers(text, u':', numbers) || numbers.count < 2)
        return std::nullopt;
    const auto &n = numbers.value;
    const QTime time(n[0], n[1], numbers.count == 3 ? n[2] : 0);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

QList<std::pair<QString, QDate>> sortedDates(const QStringList &keys, bool once)
{
    QList<std::pair<QString, QDate>> dated;
    QSet<QString> seen;
    for (const QString &key : keys) {
        const auto date = tryParse(key);
        if (!date)
            continue;
        if (once) {
            const QString folded = key.toCaseFolded();
            if (seen.contains(folded))
                continue;
            seen.insert(folded);
        }
        dated.append({key, *date});
    }
    std::stable_sort(dated.begin(), dated.end(), [](const auto &a, const auto &b) { return a.second < b.second; });
    return dated;
}

}
