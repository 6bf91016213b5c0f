// The planner's dates as plain calendar entries.
#include "CalendarEntries.h"

#include "Options/HolidayStore.h"
#include "almain/AlarmStore.h"
#include "main2/HomeworkStore.h"
#include "platform/DateText.h"
#include "platform/ProfileFile.h"

#include <QSet>
#include <QUrl>

#include <algorithm>

namespace {

constexpr int kMaxPastOccurrences = 1000;

// The last day whose next day still has a four-digit year, as the calendar
// format writes years.
const QDate kLastDay(9999, 12, 30);

std::optional<QDate> readDate(QStringView text)
{
    const auto date = DateText::tryParse(text);
    if (!date || *date > kLastDay)
        return std::nullopt;
    return date;
}

QDate nextOccurrence(EventKind kind, QDate date)
{
    switch (kind) {
    case EventKind::Weekly: return date.addDays(7);
    case EventKind::Monthly: return EventStore::nextMonthlyDate(date);
    case EventKind::Yearly: return date.addDays(365);
    case EventKind::OneTime: break;
    }
    return QDate();
}

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

// Keys of a section that read as dates, ordered by date (stable); each key
// text once, since a section name or key written twice is the one entry.
QList<std::pair<QString, QDate>> datedKeys(const ProfileFile &ini, const QString &section)
{
    QList<std::pair<QString, QDate>> keys;
    QSet<QString> seen;
    for (const QString &key : ini.keys(section)) {
        const auto date = readDate(key);
        if (!date || seen.contains(key.toCaseFolded()))
            continue;
        seen.insert(key.toCaseFolded());
        keys.append({key, *date});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.second < b.second; });
    return keys;
}

void addHomework(const ProfileFile &ini, Collector &out)
{
    for (const auto &[section, date] : datedKeys(ini, QStringLiteral("Dates"))) {
        QSet<QString> seen;
        for (const QString &subject : ini.keys(section)) {
            if (!HomeworkStore::isHomeworkKey(subject) || seen.contains(subject.toCaseFolded()))
                continue;
            seen.insert(subject.toCaseFolded());
            const QString text = ini.readString(section, subject, QString());
            const bool done = ini.readBool(section, QString(subject + u'2'), false);
            const QString label = done ? subject + QStringLiteral(" (erledigt)") : subject;
            const QString firstLine = text.section(u'\n', 0, 0);
            CalendarEntry entry;
            entry.uid = CalendarEntries::uid(QStringLiteral("hausaufgabe"), DateText::formatLong(date) + u'-' + subject);
            entry.summary = firstLine.isEmpty() ? label : label + QStringLiteral(": ") + firstLine;
            entry.description = text;
            entry.start = date;
            entry.end = date.addDays(1);
            out.add(std::move(entry));
        }
    }
}

// The time of day a reminder of the event is due from, as the start-up scan
// reads it: a "TIME" of "#" and a readable time, else none (the day's start).
std::optional<QTime> eventTime(const ProfileFile &ini, const QString &name)
{
    const QString time = ini.readString(EventStore::timeSection(), name, QString());
    if (!time.startsWith(u'#'))
        return std::nullopt;
    return DateText::tryParseTime(QStringView(time).mid(1));
}

void addEvents(const ProfileFile &ini, QDate today, Collector &out)
{
    for (EventKind kind : EventStore::Kinds()) {
        const QString section = EventStore::sectionName(kind);
        for (const QString &key : ini.keys(section)) {
            const auto date = readDate(key);
            const QString name = ini.readString(section, key, QString());
            if (!date || name.isEmpty()) // an entry without a name is no event the editor lists
                continue;
            const int lastIndex = ini.readInteger(EventStore::memoSection(), QString(name + u'#'), -1);
            CalendarEntry entry;
            entry.uid = CalendarEntries::uid(uidKind(kind), name);
            entry.summary = name;
            if (lastIndex >= 0)
                entry.description = EventStore::messageLines(ini, name, lastIndex).join(u'\n');
            entry.time = eventTime(ini, name);
            QList<QDate> dates = CalendarEntries::occurrences(kind, *date, today);
            entry.start = dates.takeFirst();
            entry.end = entry.start.addDays(1);
            entry.moreDates = std::move(dates);
            entry.alarm = true;
            out.add(std::move(entry));
        }
    }
}

void addAlarms(const ProfileFile &ini, Collector &out)
{
    const QString section = AlarmStore::alarmSection();
    for (const auto &[key, date] : datedKeys(ini, section)) {
        const QString message = ini.readString(section, key, QString());
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
    QList<QDate> dates = {stored};
    if (kind == EventKind::OneTime)
        return dates;
    const QDate last = std::min(today.addYears(2), kLastDay);
    int past = stored < today ? 1 : 0;
    for (QDate date = nextOccurrence(kind, stored); date <= last; date = nextOccurrence(kind, date)) {
        dates.append(date);
        if (date < today && ++past > kMaxPastOccurrences) {
            dates.removeFirst();
            --past;
        }
    }
    return dates;
}

QString CalendarEntries::uid(const QString &kind, const QString &what)
{
    return kind + u'-' + QString::fromLatin1(QUrl::toPercentEncoding(what)) + QStringLiteral("@kalmora");
}
