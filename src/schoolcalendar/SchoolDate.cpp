// The texts of a school date.
#include "SchoolDate.h"

#include <algorithm>

namespace {
const char *const kWeekdays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};

QString dayText(QDate day)
{
    return QLatin1String(kWeekdays[day.dayOfWeek() - 1]) + u' ' + day.toString(QStringLiteral("dd.MM.yyyy"));
}
}

QDate SchoolDate::lastDay() const
{
    if (!end.isValid() || end <= start)
        return firstDay();
    const QDateTime last = end.addMSecs(-1);
    return last.date();
}

void SchoolDates::sort(QList<SchoolDate> &dates)
{
    std::stable_sort(dates.begin(), dates.end(), [](const SchoolDate &a, const SchoolDate &b) {
        if (a.start != b.start)
            return a.start < b.start;
        if (a.allDay != b.allDay)
            return a.allDay; // the day's all-day dates first
        return a.summary < b.summary;
    });
}

QString SchoolDates::title(const SchoolDate &date)
{
    const QString summary = date.summary.isEmpty() ? QStringLiteral("(ohne Titel)") : date.summary;
    return date.cancelled ? QStringLiteral("fällt aus: ") + summary : summary;
}

QString SchoolDates::shortDay(QDate day)
{
    return QLatin1String(kWeekdays[day.dayOfWeek() - 1]) + u' ' + day.toString(QStringLiteral("dd.MM."));
}

QString SchoolDates::line(const SchoolDate &date)
{
    QString when = dayText(date.firstDay());
    if (date.allDay) {
        if (date.lastDay() != date.firstDay())
            when += u'–' + dayText(date.lastDay());
    } else if (date.lastDay() != date.firstDay()) {
        when += u' ' + date.start.toString(QStringLiteral("HH:mm")) + u'–' + dayText(date.lastDay()) + u' '
                + date.end.toString(QStringLiteral("HH:mm"));
    } else {
        when += u' ' + date.start.toString(QStringLiteral("HH:mm"));
        if (date.end > date.start)
            when += u'–' + date.end.toString(QStringLiteral("HH:mm"));
    }
    QString text = when + u' ' + title(date);
    if (!date.source.isEmpty())
        text += QStringLiteral(" (") + date.source + u')';
    return text;
}
