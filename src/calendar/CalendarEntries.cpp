// The planner's dates as plain calendar entries.
#include "CalendarEntries.h"

#include "model/HolidayStore.h"
#include "model/AlarmStore.h"
#include "model/HomeworkStore.h"
#include "platform/DateText.h"

#include <QSet>
#include <QUrl>

#include <algorithm>

namespace {

// The last day whose next day still has a four-digit year, as the calendar
// format writes years.
const QDate kLastDay(9999, 12, 30);

QString uidKind(EventKind kind)
{
    switch (kind) {
    case EventKind::OneTime: return QStringLiteral("termin");
    case EventKind::Weekly: return QStringLiteral("woechentlich");
    case EventKind::Monthly: return QStringLiteral("monatlich");
    case EventKind::Yearly: return QStringLiteral("jaehrlich");
    }
    return QString();
}

// The entries of one document, with UIDs kept unique: a hand-edited file can
// hold what the program never writes twice (the same date twice in "Dates",
// one name on two dates of a kind); the later one gets "-2", "-3" ... before
// the "@", so nothing is lost and the order of the file decides.
class Collector final
{
public:
    void add(CalendarEntry entry)
    {
        const QString base = entry.uid;
        for (int n = 2; m_uids.contains(entry.uid); ++n) {
            const qsizetype at = base.lastIndexOf(u'@');
            entry.uid = base.left(at) + u'-' + QString::number(n) + base.mid(at);
        }
        m_uids.insert(entry.uid);
        m_entries.append(std::move(entry));
    }
    QList<CalendarEntry> take() { return std::move(m_entries); }

private:
    QSet<QString> m_uids;
    QList<CalendarEntry> m_entries;
};

void addHomework(const ProfileFile &ini, Collector &out)
{
    for (const Homework &homework : HomeworkStore::allHomework(ini)) {
        if (homework.due > kLastDay)
            continue;
        const QString label = homework.done ? homework.subject + QStringLiteral(" (erledigt)") : homework.subject;
        const QString firstLine = homework.text.section(u'\n', 0, 0);
        CalendarEntry entry;
        entry.uid = CalendarEntries::uid(QStringLiteral("hausaufgabe"), DateText::formatLong(homework.due) + u'-' + homework.subject);
        entry.summary = firstLine.isEmpty() ? label : label + QStringLiteral(": ") + firstLine;
        entry.description = homework.text;
        entry.start = homework.due;
        entry.end = homework.due.addDays(1);
        out.add(std::move(entry));
    }
}

void addEvents(const ProfileFile &ini, QDate today, Collector &out)
{
    for (const EventStore::StoredEvent &event : EventStore::storedEvents(ini)) {
        if (event.date > kLastDay)
            continue;
        CalendarEntry entry;
        entry.uid = CalendarEntries::uid(uidKind(event.kind), event.name);
        entry.summary = event.name;
        if (event.message)
            entry.description = event.message->join(u'\n');
        entry.time = event.time;
        QList<QDate> dates = CalendarEntries::occurrences(event.kind, event.date, today);
        entry.start = dates.takeFirst();
        entry.end = entry.start.addDays(1);
        entry.moreDates = std::move(dates);
        entry.alarm = true;
        out.add(std::move(entry));
    }
}

void addAlarms(const ProfileFile &ini, Collector &out)
{
    for (const auto &[date, message] : AlarmStore::alarms(ini)) {
        if (date > kLastDay)
            continue;
        CalendarEntry entry;
        entry.uid = CalendarEntries::uid(QStringLiteral("alarm"), DateText::formatLong(date));
        // The start-up check shows the message in a box captioned "Alarm".
        entry.summary = message.isEmpty() ? AlarmStore::newAlarmMessage() : message;
        entry.start = date;
        entry.end = date.addDays(1);
        entry.alarm = true;
        out.add(std::move(entry));
    }
}

void addHolidays(const ProfileFile &ini, Collector &out)
{
    const auto periods = HolidayStore::ReadPeriods(ini);
    for (size_t i = 0; i < periods.size(); ++i) {
        // As the holiday test reads them; a last day the format cannot hold leaves the period out.
        const std::optional<HolidayStore::Days> &days = periods[i];
        if (!days || days->last > kLastDay)
            continue;
        QString name = QString::fromUtf16(HolidayStore::Periods()[i].label);
        name.chop(1); // the row label without its colon
        CalendarEntry entry;
        entry.uid = CalendarEntries::uid(QStringLiteral("ferien"), name);
        entry.summary = name;
        entry.start = days->first;
        entry.end = days->last.addDays(1);
        out.add(std::move(entry));
    }
}

}

QList<CalendarEntry> CalendarEntries::read(const ProfileFile &ini, QDate today)
{
    Collector out;
    addHomework(ini, out);
    addEvents(ini, today, out);
    addAlarms(ini, out);
    addHolidays(ini, out);
    return out.take();
}

QList<QDate> CalendarEntries::occurrences(EventKind kind, QDate stored, QDate today)
{
    return EventStore::occurrences(kind, stored, today, std::min(today.addYears(2), kLastDay));
}

QString CalendarEntries::uid(const QString &kind, const QString &what)
{
    return kind + u'-' + QString::fromLatin1(QUrl::toPercentEncoding(what)) + QStringLiteral("@kalmora");
}
