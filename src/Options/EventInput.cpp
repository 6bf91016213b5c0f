// What the event editor checks before it saves an event, and how it turns its fields into store values.
#include "EventInput.h"

#include "model/SettingsFile.h"
#include "platform/DateText.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

QStringList EventInput::messageLines(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    QStringList lines = plain.split(u'\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString EventInput::storedTimeText(const QString &timeText, bool timeDependent)
{
    if (timeDependent)
        return timeText;
    qsizetype hashes = 0;
    while (hashes < timeText.size() && timeText[hashes] == u'#')
        ++hashes;
    return timeText.mid(hashes);
}

bool EventInput::isTimeOfDay(const QString &timeText)
{
    return DateText::tryParseTime(timeText).has_value();
}

QString EventInput::otherEventOn(EventKind kind, QDate date, const QString &name)
{
    const QString stored = SettingsFile::read([&](const ProfileFile &ini) {
        return ini.readString(EventStore::sectionName(kind), EventStore::dateText(date), QString());
    });
    return stored == name ? QString() : stored;
}

QString EventInput::caseVariantOf(const QString &name)
{
    QStringList stored;
    for (EventKind kind : EventStore::Kinds())
        stored += EventStore::LoadEventNames(kind);
    if (stored.contains(name))
        return QString(); // the records already belong to this very name
    for (const QString &other : std::as_const(stored)) {
        if (other.compare(name, Qt::CaseInsensitive) == 0)
            return other;
    }
    return QString();
}

QStringList EventInput::sortedNames(QStringList names)
{
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}
