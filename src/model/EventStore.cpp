// Events, their time, sound and message, and pending snoozes in the settings file.
#include "EventStore.h"

#include "SettingsFile.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

#include <algorithm>

namespace {

// A message of the editor holds at most 255 characters, so this many lines are
// far beyond anything stored; a hand-edited length record cannot make a read
// run for ever.
constexpr int kMaxMessageLines = 4096;

QString lengthKey(const QString &name)
{
    return name + u'#';
}

QString lineKey(const QString &name, qsizetype index)
{
    return name + QString::number(index);
}

QString keyOf(const QString &entry)
{
    return entry.left(entry.indexOf(u'='));
}

QString valueOf(const QString &entry)
{
    return entry.mid(entry.indexOf(u'=') + 1);
}

// Rewrites a section with the entries whose key `drop` refuses, as the removal
// of single entries always has: erased, then written back one by one, so the
// section moves to the end of the file and entries with empty values vanish.
template <typename Drop>
void rewriteSection(ProfileFile &ini, const QString &section, Drop drop)
{
    const QStringList entries = ini.entries(section);
    ini.eraseSection(section);
    for (const QString &entry : entries) {
        const qsizetype eq = entry.indexOf(u'=');
        const QString key = entry.left(eq);
        if (!drop(key))
            ini.writeString(section, key, QStringView(entry).mid(eq + 1));
    }
}

// Whether `key` is the name followed by a line index 0..lastIndex as the
// store writes it (decimal, no leading zeros).
bool isLineKey(const QString &key, const QString &name, int lastIndex)
{
    if (!key.startsWith(name))
        return false;
    const QStringView index = QStringView(key).mid(name.size());
    if (index.isEmpty() || index.size() > 10 || (index.size() > 1 && index[0] == u'0'))
        return false;
    if (!std::all_of(index.begin(), index.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return false;
    return index.toLongLong() <= lastIndex;
}

int lineCount(const QString &text)
{
    bool ok = false;
    const int lastIndex = text.toInt(&ok);
    if (!ok)
        throw EConvertError::invalidInteger(text);
    return lastIndex;
}

std::optional<EventKind> kindOfSection(const QString &section)
{
    for (EventKind kind : EventStore::Kinds()) {
        if (section.compare(EventStore::sectionName(kind), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
}

void writeEvent(ProfileFile &ini, EventKind kind, QDate date, const QString &name, const QString &sound,
                const QString &timeText, bool timeDependent, const QStringList &lines)
{
    const QString n = EventStore::usableName(name);
    if (n.isEmpty())
        return;
    ini.writeString(EventStore::sectionName(kind), EventStore::dateText(date), n);
    ini.writeString(EventStore::soundSection(), n, sound);
    ini.writeString(EventStore::timeSection(), n, timeDependent ? QString(u'#' + timeText) : timeText);
    ini.writeInteger(EventStore::memoSection(), lengthKey(n), int(lines.size()) - 1);
    for (qsizetype k = 0; k < lines.size(); ++k)
        ini.writeString(EventStore::memoSection(), lineKey(n, k), lines[k]);
}

}

QString EventStore::sectionName(EventKind kind)
{
    switch (kind) {
    case EventKind::OneTime: return QStringLiteral("TERMIN");
    case EventKind::Weekly: return QStringLiteral("WEEKLY");
    case EventKind::Monthly: return QStringLiteral("MONTHLY");
    case EventKind::Yearly: return QStringLiteral("YEARLY");
    }
    return QString();
}

QString EventStore::listSectionName(EventKind kind)
{
    switch (kind) {
    case EventKind::OneTime: return QStringLiteral("Termin");
    case EventKind::Weekly: return QStringLiteral("Weekly");
    case EventKind::Monthly: return QStringLiteral("Monthly");
    case EventKind::Yearly: return QStringLiteral("Yearly");
    }
    return QString();
}

const std::array<EventKind, 4> &EventStore::Kinds()
{
    static const std::array<EventKind, 4> kinds = {EventKind::OneTime, EventKind::Weekly, EventKind::Monthly, EventKind::Yearly};
    return kinds;
}

QString EventStore::dateText(QDate date)
{
    return DateText::formatShort(date);
}

QString EventStore::snoozeKey(const QDateTime &moment)
{
    return DateText::formatSnoozeKey(moment);
}

const std::array<int, 12> &EventStore::MonthLengths()
{
    static const std::array<int, 12> lengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return lengths;
}

QDate EventStore::nextMonthlyDate(QDate date)
{
    const int day = date.day();
    int month = date.month() + 1;
    if (month == 13)
        return QDate(date.year() + 1, 1, day);
    while (day > MonthLengths()[month - 1])
        ++month; // ends at December at the latest, which has 31 days
    return QDate(date.year(), month, day);
}

QString EventStore::usableName(const QString &typed)
{
    QString name = typed;
    name.replace(u'\r', u' ');
    name.replace(u'\n', u' ');
    name = name.trimmed();
    name.replace(u'=', u'-');
    if (name.startsWith(u'['))
        name[0] = u'(';
    return name;
}

QStringList EventStore::LoadEventNames(EventKind kind)
{
    return SettingsFile::read([&](const ProfileFile &ini) {
        QStringList names;
        for (const QString &entry : ini.entries(listSectionName(kind)))
            names.append(valueOf(entry));
        return names;
    });
}

EventStore::Event EventStore::LoadEvent(EventKind kind, const QString &name)
{
    return SettingsFile::read([&](const ProfileFile &ini) {
        Event event;
        for (const QString &entry : ini.entries(sectionName(kind))) {
            if (valueOf(entry) == name) {
                event.date = DateText::tryParse(keyOf(entry));
                break;
            }
        }
        event.sound = ini.readString(soundSection(), name, QString());
        event.timeText = ini.readString(timeSection(), name, defaultTimeText());
        if (event.timeText.startsWith(u'#')) {
            event.timeDependent = true;
            event.timeText.remove(0, 1);
        }
        const int lastIndex = lineCount(ini.readString(memoSection(), lengthKey(name), QStringLiteral("-1")));
        event.lines = messageLines(ini, name, lastIndex);
        return event;
    });
}

void EventStore::SaveEvent(EventKind kind, QDate date, const QString &name, const QString &sound,
                           const QString &timeText, bool timeDependent, const QStringList &lines)
{
    SettingsFile::use([&](ProfileFile &ini) { writeEvent(ini, kind, date, name, sound, timeText, timeDependent, lines); });
}

void EventStore::ReplaceEvent(EventKind kind, QDate date, const QString &name, const QString &sound,
                              const QString &timeText, bool timeDependent, const QStringList &lines)
{
    SettingsFile::use([&](ProfileFile &ini) {
        RemoveEventByName(ini, kind, name);
        writeEvent(ini, kind, date, name, sound, timeText, timeDependent, lines);
    });
}

void EventStore::RemoveEventByName(EventKind kind, const QString &name)
{
    SettingsFile::use([&](ProfileFile &ini) { RemoveEventByName(ini, kind, name); });
}

void EventStore::RemoveEventByName(ProfileFile &ini, EventKind kind, const QString &name)
{
    const QString section = listSectionName(kind);
    QStringList kept = ini.entries(section);
    kept.removeIf([&](const QString &entry) { return valueOf(entry) == name; });
    ini.eraseSection(section);
    RemoveEntry(ini, timeSection(), name);
    RemoveEntry(ini, soundSection(), name);
    const QString length = lengthKey(name);
    const int lastIndex = ini.readInteger(memoSection(), length, -1);
    if (lastIndex >= 0) {
        // The lines 0..n one by one and then the length record: one rewrite does the same.
        rewriteSection(ini, memoSection(), [&](const QString &key) {
            return key == length || isLineKey(key, name, lastIndex);
        });
    }
    for (const QString &entry : kept)
        ini.writeString(section, keyOf(entry), valueOf(entry));
}

void EventStore::RemoveEventEntry(EventKind kind, const QString &name)
{
    SettingsFile::use([&](ProfileFile &ini) {
        const QString section = sectionName(kind);
        QSet<QString> keys;
        for (const QString &entry : ini.entries(section)) {
            if (valueOf(entry) == name)
                keys.insert(keyOf(entry));
        }
        RemoveEntries(ini, section, keys);
    });
}

void EventStore::RemoveEntry(const QString &section, const QString &key)
{
    SettingsFile::use([&](ProfileFile &ini) { RemoveEntry(ini, section, key); });
}

void EventStore::RemoveEntry(ProfileFile &ini, const QString &section, const QString &key)
{
    rewriteSection(ini, section, [&](const QString &k) { return k == key; });
}

void EventStore::RemoveEntries(ProfileFile &ini, const QString &section, const QSet<QString> &keys)
{
    if (!keys.isEmpty())
        rewriteSection(ini, section, [&](const QString &k) { return keys.contains(k); });
}

void EventStore::AdvanceOccurrence(const QString &section, const QDateTime &occurrence, const QString &name)
{
    SettingsFile::use([&](ProfileFile &ini) { AdvanceOccurrence(ini, section, occurrence, name); });
}

void EventStore::AdvanceOccurrence(ProfileFile &ini, const QString &section, const QDateTime &occurrence,
                                   const QString &name, const QString &storedKey)
{
    if (section.compare(snoozeSection(), Qt::CaseInsensitive) == 0) {
        RemoveEntry(ini, snoozeSection(), storedKey.isEmpty() ? snoozeKey(occurrence) : storedKey);
        return;
    }
    const std::optional<EventKind> kind = kindOfSection(section);
    if (!kind)
        return;
    const QString kindSection = sectionName(*kind);
    const QDate date = occurrence.date();
    RemoveEntry(ini, kindSection, storedKey.isEmpty() ? dateText(date) : storedKey);
    switch (*kind) {
    case EventKind::OneTime:
        break;
    case EventKind::Weekly:
        ini.writeString(kindSection, dateText(date.addDays(7)), name);
        break;
    case EventKind::Monthly:
        ini.writeString(kindSection, dateText(nextMonthlyDate(date)), name);
        break;
    case EventKind::Yearly:
        // 365 days, not a calendar year: across a 29 February the day moves one earlier.
        ini.writeString(kindSection, dateText(date.addDays(365)), name);
        break;
    }
}

void EventStore::AddSnooze(const QDateTime &due, const QString &name)
{
    SettingsFile::use([&](ProfileFile &ini) { AddSnooze(ini, due, name); });
}

void EventStore::AddSnooze(ProfileFile &ini, const QDateTime &due, const QString &name)
{
    ini.writeString(snoozeSection(), snoozeKey(due), name);
}

void EventStore::RemoveSnooze(const QDateTime &due)
{
    RemoveEntry(snoozeSection(), snoozeKey(due));
}

QStringList EventStore::messageLines(const ProfileFile &ini, const QString &name, int lastIndex)
{
    QStringList lines;
    const int last = std::min(lastIndex, kMaxMessageLines - 1);
    for (int k = 0; k <= last; ++k)
        lines.append(ini.readString(memoSection(), lineKey(name, k), QString()));
    return lines;
}

void EventStore::Reorganisation()
{
    SettingsFile::use([](ProfileFile &ini) { Reorganisation(ini); });
}

void EventStore::Reorganisation(ProfileFile &ini)
{
    QSet<QString> names;
    QStringList sections;
    for (EventKind kind : Kinds())
        sections.append(sectionName(kind));
    sections.append(snoozeSection());
    for (const QString &section : sections) {
        for (const QString &entry : ini.entries(section))
            names.insert(valueOf(entry));
    }
    if (names.isEmpty())
        return;

    // Each section's keys are taken once; removing them one by one with
    // `RemoveEntry` leaves what one rewrite without all of them leaves.
    for (const QString &section : {timeSection(), soundSection()}) {
        QSet<QString> unused;
        for (const QString &key : ini.keys(section)) {
            if (!names.contains(key))
                unused.insert(key);
        }
        RemoveEntries(ini, section, unused);
    }

    // A "MEMO" key stays when some name in use is its beginning. Only the
    // lengths that names have need looking at.
    QList<qsizetype> lengths;
    for (const QString &name : std::as_const(names))
        lengths.append(name.size());
    std::sort(lengths.begin(), lengths.end());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());
    QSet<QString> unused;
    for (const QString &key : ini.keys(memoSection())) {
        const bool used = std::any_of(lengths.begin(), lengths.end(), [&](qsizetype length) {
            return length <= key.size() && names.contains(key.left(length));
        });
        if (!used)
            unused.insert(key);
    }
    RemoveEntries(ini, memoSection(), unused);
}

QList<EventStore::StoredEvent> EventStore::storedEvents(const ProfileFile &ini)
{
    QList<StoredEvent> events;
    for (EventKind kind : Kinds()) {
        const QString section = sectionName(kind);
        for (const QString &key : ini.keys(section)) {
            const auto date = DateText::tryParse(key);
            const QString name = ini.readString(section, key, QString());
            if (!date || name.isEmpty())
                continue;
            StoredEvent event{kind, *date, name, std::nullopt, std::nullopt};
            // As the due-event scan reads it: a "TIME" of "#" and a readable time.
            const QString time = ini.readString(timeSection(), name, QString());
            if (time.startsWith(u'#'))
                event.time = DateText::tryParseTime(QStringView(time).mid(1));
            const int lastIndex = ini.readInteger(memoSection(), QString(name + u'#'), -1);
            if (lastIndex >= 0)
                event.message = messageLines(ini, name, lastIndex);
            events.append(std::move(event));
        }
    }
    return events;
}

QList<QDate> EventStore::occurrences(EventKind kind, QDate stored, QDate today, QDate last)
{
    constexpr int kMaxPastOccurrences = 1000;
    const auto next = [kind](QDate date) {
        switch (kind) {
        case EventKind::Weekly: return date.addDays(7);
        case EventKind::Monthly: return nextMonthlyDate(date);
        case EventKind::Yearly: return date.addDays(365);
        case EventKind::OneTime: break;
        }
        return QDate();
    };
    QList<QDate> dates = {stored};
    if (kind == EventKind::OneTime)
        return dates;
    int past = stored < today ? 1 : 0;
    for (QDate date = next(stored); date <= last; date = next(date)) {
        dates.append(date);
        if (date < today && ++past > kMaxPastOccurrences) {
            dates.removeFirst();
            --past;
        }
    }
    return dates;
}
