// The VTODO and VEVENT objects of the synchronisation; libical reads and writes the format.
#include "TodoMapping.h"

#include <QCryptographicHash>

#include <libical/ical.h>

#include <memory>

namespace TodoMapping {

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QByteArray text(const QString &value)
{
    QString clean = value;
    for (QChar &c : clean) {
        if ((c.unicode() < 0x20 && c != u'\n' && c != u'\t') || c.unicode() == 0x7f)
            c = u' ';
    }
    return clean.toUtf8();
}

icaltimetype utc(const QDateTime &moment)
{
    return icaltime_from_timet_with_zone(moment.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
}

QByteArray toBytes(icalcomponent *calendar)
{
    char *string = icalcomponent_as_ical_string_r(calendar);
    QByteArray bytes(string);
    icalmemory_free_buffer(string);
    return bytes;
}

// Replaces every property of a kind by one (or none, when `property` is null).
void replace(icalcomponent *todo, icalproperty_kind kind, icalproperty *property)
{
    while (icalproperty *old = icalcomponent_get_first_property(todo, kind)) {
        icalcomponent_remove_property(todo, old);
        icalproperty_free(old);
    }
    if (property)
        icalcomponent_add_property(todo, property);
}

void writeFields(icalcomponent *todo, const QString &uid, const HomeworkItem &item, const QDateTime &stamp, bool textKept = false)
{
    icaltimetype due = icaltime_null_date();
    item.due.getDate(&due.year, &due.month, &due.day);
    replace(todo, ICAL_UID_PROPERTY, icalproperty_new_uid(text(uid).constData()));
    replace(todo, ICAL_DTSTAMP_PROPERTY, icalproperty_new_dtstamp(utc(stamp)));
    replace(todo, ICAL_LASTMODIFIED_PROPERTY, icalproperty_new_lastmodified(utc(stamp)));
    replace(todo, ICAL_DUE_PROPERTY, icalproperty_new_due(due));
    // A start after the new due date would make the todo invalid.
    replace(todo, ICAL_DTSTART_PROPERTY, nullptr);
    if (!textKept) {
        replace(todo, ICAL_SUMMARY_PROPERTY, icalproperty_new_summary(text(item.subject + QStringLiteral(": ") + item.text).constData()));
        replace(todo, ICAL_DESCRIPTION_PROPERTY, icalproperty_new_description(text(item.text).constData()));
        replace(todo, ICAL_CATEGORIES_PROPERTY, icalproperty_new_categories(text(item.subject).constData()));
    }
    replace(todo, ICAL_STATUS_PROPERTY, icalproperty_new_status(item.done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
    replace(todo, ICAL_COMPLETED_PROPERTY, item.done ? icalproperty_new_completed(utc(stamp)) : nullptr);
    replace(todo, ICAL_PERCENTCOMPLETE_PROPERTY, item.done ? icalproperty_new_percentcomplete(100) : nullptr);
}

Component newCalendar()
{
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Kalmora//Schulplaner 2.0//DE"));
    return calendar;
}

// The day a due date or time falls on for the pupil. A time with a zone (UTC,
// or the TZID's zone, which libical finds in the object or among its own) is
// taken to the system's zone; a floating time is the pupil's own already.
std::optional<QDate> localDay(const icaltimetype &t)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return std::nullopt;
    // libical reads a month 60 or a day 40 without complaint and would roll it
    // into a later year; such a date is no date.
    QDate day(t.year, t.month, t.day);
    if (!day.isValid())
        return std::nullopt;
    if (!t.is_date && t.zone) {
        const time_t moment = icaltime_as_timet_with_zone(t, t.zone);
        day = QDateTime::fromSecsSinceEpoch(moment).date();
    }
    // A due date is written back as eight digits.
    return day.isValid() && day.year() >= 1 && day.year() <= 9999 ? std::optional(day) : std::nullopt;
}

// A calendar object holds a todo holding alarms; libical frees and writes nested
// components by recursion, copying the inner text once a level, so an object
// nested thousands of levels deep is refused before libical reads it.
bool nestedTooDeep(QByteArrayView object)
{
    constexpr int MostNesting = 8;
    int depth = 0;
    qsizetype at = 0;
    while (at < object.size()) {
        const QByteArrayView rest = object.sliced(at);
        if (rest.size() >= 6 && rest.first(6).compare("BEGIN:", Qt::CaseInsensitive) == 0 && ++depth > MostNesting)
            return true;
        if (rest.size() >= 4 && rest.first(4).compare("END:", Qt::CaseInsensitive) == 0)
            depth = qMax(0, depth - 1);
        const qsizetype end = rest.indexOf('\n');
        if (end < 0)
            break;
        at += end + 1;
    }
    return false;
}

Component parseCalendar(const QByteArray &object)
{
    if (object.size() > MaxObjectSize || object.contains('\0') || nestedTooDeep(object))
        return nullptr;
    Component parsed(icalparser_parse_string(object.constData()));
    if (!parsed || icalcomponent_isa(parsed.get()) != ICAL_VCALENDAR_COMPONENT)
        return nullptr;
    return parsed;
}

}

QByteArray create(const QString &uid, const HomeworkItem &item, const QDateTime &stamp)
{
    Component calendar = newCalendar();
    icalcomponent *todo = icalcomponent_new(ICAL_VTODO_COMPONENT);
    writeFields(todo, uid, item, stamp);
    icalcomponent_add_component(calendar.get(), todo);
    return toBytes(calendar.get());
}

QByteArray update(const QByteArray &object, const QString &uid, const HomeworkItem &item, const QDateTime &stamp,
                  const std::optional<HomeworkItem> &held)
{
    Component calendar = parseCalendar(object);
    icalcomponent *todo = calendar ? icalcomponent_get_first_component(calendar.get(), ICAL_VTODO_COMPONENT) : nullptr;
    if (!todo)
        return create(uid, item, stamp);
    writeFields(todo, uid, item, stamp, held && held->subject == item.subject && held->text == item.text);
    return toBytes(calendar.get());
}

std::optional<Todo> parse(const QByteArray &object)
{
    Component calendar = parseCalendar(object);
    if (!calendar)
        return std::nullopt;
    icalcomponent *todo = icalcomponent_get_first_component(calendar.get(), ICAL_VTODO_COMPONENT);
    if (!todo)
        return std::nullopt;
    Todo result;
    result.uid = QString::fromUtf8(icalcomponent_get_uid(todo));
    if (result.uid.isEmpty())
        return std::nullopt;
    result.summary = QString::fromUtf8(icalcomponent_get_summary(todo)).simplified();
    result.description = QString::fromUtf8(icalcomponent_get_description(todo)).simplified();
    if (icalproperty *due = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY))
        result.due = localDay(icalproperty_get_datetime_with_component(due, todo));
    for (icalproperty *c = icalcomponent_get_first_property(todo, ICAL_CATEGORIES_PROPERTY); c;
         c = icalcomponent_get_next_property(todo, ICAL_CATEGORIES_PROPERTY)) {
        for (const QString &category : QString::fromUtf8(icalproperty_get_categories(c)).split(u','))
            result.categories.append(category.trimmed());
    }
    result.done = icalcomponent_get_status(todo) == ICAL_STATUS_COMPLETED
                  || icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY) != nullptr;
    return result;
}

std::optional<HomeworkItem> toHomework(const Todo &todo, const QStringList &subjects)
{
    if (!todo.due)
        return std::nullopt;
    const auto known = [&](const QString &name) -> QString {
        for (const QString &subject : subjects) {
            if (subject.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                return subject;
        }
        return QString();
    };
    const qsizetype colon = todo.summary.indexOf(u':');
    const QString prefix = colon > 0 ? known(todo.summary.left(colon)) : QString();
    QString subject = prefix;
    for (qsizetype i = 0; subject.isEmpty() && i < todo.categories.size(); ++i)
        subject = known(todo.categories[i]);
    if (subject.isEmpty())
        return HomeworkItem{*todo.due, QStringLiteral("Sonstiges"), todo.summary, todo.done};
    QString rest = todo.summary;
    if (!prefix.isEmpty())
        rest = todo.summary.mid(colon + 1).trimmed();
    return HomeworkItem{*todo.due, subject, rest, todo.done};
}

QList<Event> splitEvents(const QByteArray &document, const QStringList &skipPrefixes)
{
    QList<Event> events;
    Component calendar(icalparser_parse_string(document.constData()));
    if (!calendar)
        return events;
    icalcomponent *zone = icalcomponent_get_first_component(calendar.get(), ICAL_VTIMEZONE_COMPONENT);
    for (icalcomponent *event = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const QString uid = QString::fromUtf8(icalcomponent_get_uid(event));
        if (uid.isEmpty() || std::any_of(skipPrefixes.begin(), skipPrefixes.end(), [&](const QString &p) { return uid.startsWith(p); }))
            continue;
        Component single = newCalendar();
        if (zone)
            icalcomponent_add_component(single.get(), icalcomponent_new_clone(zone));
        icalcomponent *copy = icalcomponent_new_clone(event);
        icalcomponent_add_component(single.get(), copy);
        const QByteArray object = toBytes(single.get());
        // The fingerprint leaves out the stamp, which changes with every export.
        replace(copy, ICAL_DTSTAMP_PROPERTY, nullptr);
        events.append({uid, object, QCryptographicHash::hash(toBytes(single.get()), QCryptographicHash::Sha1).toHex()});
    }
    return events;
}

}
