// The school's dates of one day as lines of the evening reminder.
#include "SchoolCalendarReminder.h"

#include "SchoolCalendar.h"

QString SchoolCalendarReminder::linesFor(QDate day)
{
    try {
        const QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
        if (subscriptions.isEmpty())
            return {};
        QStringList dates;
        QStringList cancelled;
        for (const SchoolDate &date : SchoolCalendar::read(subscriptions, day, day).dates) {
            const QString summary = date.summary.isEmpty() ? QStringLiteral("(ohne Titel)") : date.summary;
            if (date.cancelled) {
                if (!cancelled.contains(summary))
                    cancelled.append(summary);
            } else {
                const bool timed = !date.allDay && date.firstDay() == day;
                dates.append(timed ? date.start.toString(QStringLiteral("HH:mm ")) + summary : summary);
            }
        }
        QString lines;
        if (!dates.isEmpty())
            lines += QStringLiteral("\nSchultermine: ") + dates.join(QStringLiteral(", "));
        if (!cancelled.isEmpty())
            lines += QStringLiteral("\nfällt aus: ") + cancelled.join(QStringLiteral(", "));
        return lines;
    } catch (...) {
        return {};
    }
}
