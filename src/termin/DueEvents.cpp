// The start-up scan for due events, the content of a reminder, snoozing and acknowledging.
#include "DueEvents.h"

#include "model/EventStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

namespace {

void scanSnoozes(const ProfileFile &ini, QDate today, DueQueue &queue)
{
    const QString section = EventStore::snoozeSection();
    for (const QString &key : ini.keys(section)) {
        if (queue.isFull())
            return;
        const qsizetype blank = key.indexOf(u' ');
        if (blank < 0)
            continue;
        const auto date = DateText::tryParse(QStringView(key).left(blank));
        if (!date || *date > today)
            continue;
        const auto time = DateText::tryParseTime(QStringView(key).mid(blank + 1));
        if (!time)
            continue;
        queue.append({QDateTime(*date, *time), ini.readString(section, key, EventStore::notEntered()), section, key});
    }
}

// The time of day an event is due from: its "#" time, or the start of its date.
QTime dueTime(const ProfileFile &ini, const QString &name)
{
    const QString time = ini.readString(EventStore::timeSection(), name, QString());
    if (time.startsWith(u'#')) {
        if (const auto t = DateText::tryParseTime(QStringView(time).mid(1)))
            return *t;
    }
    return QTime(0, 0);
}

void scanEvents(const ProfileFile &ini, QDate today, const QString &section, DueQueue &queue)
{
    for (const QString &key : ini.keys(section)) {
        if (queue.isFull())
            return;
        const auto date = DateText::tryParse(key);
        if (!date || *date > today)
            continue;
        const QString name = ini.readString(section, key, EventStore::notEntered());
        queue.append({QDateTime(*date, dueTime(ini, name)), name, section, key});
    }
}

}

void DueEvents::ScanDueEvents(DueQueue &queue)
{
    const QDate today = Clock::today();
    SettingsFile::read([&](const ProfileFile &ini) { ScanDueEvents(ini, today, queue); });
}

void DueEvents::ScanDueEvents(const ProfileFile &ini, QDate today, DueQueue &queue)
{
    queue.clear();
    scanSnoozes(ini, today, queue);
    for (EventKind kind : EventStore::Kinds())
        scanEvents(ini, today, EventStore::sectionName(kind), queue);
}

DueEvents::Reminder DueEvents::LoadReminder(const QString &name)
{
    return SettingsFile::read([&](const ProfileFile &ini) {
        Reminder reminder;
        reminder.sound = ini.readString(EventStore::soundSection(), name, EventStore::defaultReminderSound());
        const int lastIndex = ini.readInteger(EventStore::memoSection(), QString(name + u'#'), 0);
        if (lastIndex >= 0)
            reminder.lines = EventStore::messageLines(ini, name, lastIndex);
        return reminder;
    });
}

const QStringList &DueEvents::SnoozeDelays()
{
    static const QStringList delays = {QStringLiteral("0:05"), QStringLiteral("0:15"), QStringLiteral("0:30"),
                                       QStringLiteral("1:00"), QStringLiteral("2:00"), QStringLiteral("5:00")};
    return delays;
}

std::optional<int> DueEvents::snoozeDelay(QStringView text)
{
    const auto time = DateText::tryParseTime(text);
    if (!time)
        return std::nullopt;
    return time->msecsSinceStartOfDay() / 1000;
}

bool DueEvents::Snooze(DueQueue &queue, qsizetype shown, QStringView delayText)
{
    const auto delay = snoozeDelay(delayText);
    if (!delay || shown < 0 || shown >= queue.count())
        return false;
    const QString name = queue.at(shown).name;
    QDateTime now = Clock::now();
    now = now.addMSecs(-now.time().msec()); // the snooze key keeps whole seconds only
    const QDateTime due = now.addSecs(*delay);
    EventStore::AddSnooze(due, name);
    queue.append({due, name, EventStore::snoozeSection(), EventStore::snoozeKey(due)});
    return true;
}

void DueEvents::Acknowledge(DueQueue &queue, qsizetype shown)
{
    if (shown < 0 || shown >= queue.count())
        return;
    const DueEntry entry = queue.at(shown);
    queue.removeAt(shown);
    SettingsFile::use([&](ProfileFile &ini) {
        EventStore::AdvanceOccurrence(ini, entry.section, entry.due, entry.name, entry.key);
    });
}
