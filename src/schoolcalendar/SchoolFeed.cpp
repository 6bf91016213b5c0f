// Reading a school's iCalendar feed with libical, expanding its repetitions into one span of days.
#include "SchoolFeed.h"

#include "SchoolCalendarError.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <libical/ical.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

using ComponentPtr = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;

/// A moment of the feed in local time, or a bare day for dates without a time.
struct Moment
{
    QDateTime time; // valid for a moment with a time
    QDate day;      // valid for a bare day
    bool isDay() const { return day.isValid(); }
    QString key() const { return isDay() ? day.toString(Qt::ISODate) : time.toUTC().toString(Qt::ISODate); }
};

QString text(const char *value)
{
    return value ? QString::fromUtf8(value).trimmed() : QString();
}

const char *tzidOf(icalproperty *property)
{
    icalparameter *parameter = property ? icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER) : nullptr;
    return parameter ? icalparameter_get_tzid(parameter) : nullptr;
}

/// Zone names some programs write with a path in front ("/citadel.org/20190914_1/Europe/Berlin").
QTimeZone knownZone(const QByteArray &tzid)
{
    if (QTimeZone::isTimeZoneIdAvailable(tzid))
        return QTimeZone(tzid);
    const QList<QByteArray> parts = tzid.split('/');
    for (qsizetype first = parts.size() - 2; first >= 0 && first >= parts.size() - 3; --first) {
        const QByteArray tail = parts.mid(first).join('/');
        if (QTimeZone::isTimeZoneIdAvailable(tail))
            return QTimeZone(tail);
    }
    return {};
}

/// Whether iCalendar lets a component `child` stand in `parent` (empty: outside of all).
/// Names the standard does not know may stand in any component.
bool allowedIn(const QByteArray &child, const QByteArray &parent)
{
    static const QSet<QByteArray> inCalendar = {"VEVENT", "VTODO", "VJOURNAL", "VFREEBUSY", "VTIMEZONE", "VAVAILABILITY"};
    if (parent.isEmpty() || child == "VCALENDAR")
        return parent.isEmpty() && child == "VCALENDAR";
    if (inCalendar.contains(child))
        return parent == "VCALENDAR";
    if (child == "VALARM")
        return parent == "VEVENT" || parent == "VTODO";
    if (child == "STANDARD" || child == "DAYLIGHT")
        return parent == "VTIMEZONE";
    if (child == "AVAILABLE")
        return parent == "VAVAILABILITY";
    return true;
}

/// Checks the BEGIN and END lines of `feed` before libical sees it: libical
/// reads nested blocks by recursion and takes blocks in the wrong place as
/// valid, so a feed of deeply nested entries would overflow the stack or read
/// as empty. Throws SchoolCalendarError (German); returns the number of VEVENT blocks.
qsizetype checkNesting(QByteArrayView feed)
{
    const auto refuse = [](const QString &why) {
        throw SchoolCalendarError(QStringLiteral("Der Kalender ist fehlerhaft: %1").arg(why));
    };
    struct Open
    {
        QByteArray name;
        qsizetype line;
    };
    QList<Open> open;
    qsizetype events = 0;
    qsizetype lineNumber = 0;
    qsizetype position = 0;
    while (position < feed.size()) {
        qsizetype end = feed.indexOf('\n', position);
        if (end < 0)
            end = feed.size();
        const QByteArrayView line = feed.sliced(position, end - position);
        position = end + 1;
        ++lineNumber;
        const bool begins = line.size() > 6 && line.first(6).compare("BEGIN:", Qt::CaseInsensitive) == 0;
        const bool ends = !begins && line.size() > 4 && line.first(4).compare("END:", Qt::CaseInsensitive) == 0;
        if (!begins && !ends)
            continue;
        const qsizetype at = lineNumber;
        QByteArray name = line.sliced(begins ? 6 : 4).trimmed().toByteArray();
        // A folded line goes on in the lines that begin with a space or a tab.
        while (position < feed.size() && (feed[position] == ' ' || feed[position] == '\t') && name.size() < 256) {
            end = feed.indexOf('\n', position);
            if (end < 0)
                end = feed.size();
            name += feed.sliced(position + 1, end - position - 1).trimmed();
            position = end + 1;
            ++lineNumber;
        }
        name = name.toUpper();
        const QString shown = QString::fromUtf8(name.left(40));
        if (begins) {
            const QByteArray parent = open.isEmpty() ? QByteArray() : open.last().name;
            if (!allowedIn(name, parent)) {
                refuse(parent.isEmpty() ? QStringLiteral("In Zeile %1 beginnt %2 außerhalb eines VCALENDAR.").arg(QString::number(at), shown)
                                        : QStringLiteral("In Zeile %1 beginnt %2 innerhalb von %3; iCalendar erlaubt das nicht.")
                                              .arg(QString::number(at), shown, QString::fromUtf8(parent.left(40))));
            }
            if (open.size() >= SchoolFeed::MostNesting)
                refuse(QStringLiteral("In Zeile %1 sind die Blöcke tiefer als %2 Ebenen verschachtelt.").arg(at).arg(SchoolFeed::MostNesting));
            events += name == "VEVENT" ? 1 : 0;
            open.append({name, at});
        } else if (open.isEmpty() || open.last().name != name) {
            refuse(open.isEmpty() ? QStringLiteral("END:%1 in Zeile %2 schließt keinen offenen Block.").arg(shown, QString::number(at))
                                  : QStringLiteral("END:%1 in Zeile %2 passt nicht zum offenen %3 aus Zeile %4.")
                                        .arg(shown, QString::number(at), QString::fromUtf8(open.last().name.left(40)),
                                             QString::number(open.last().line)));
        } else {
            open.removeLast();
        }
    }
    if (!open.isEmpty())
        throw SchoolCalendarError(QStringLiteral("Der Kalender ist unvollständig: %1 aus Zeile %2 wird nicht geschlossen.")
                                      .arg(QString::fromUtf8(open.last().name.left(40)), QString::number(open.last().line)));
    return events;
}

class FeedReader
{
public:
    FeedReader(icalcomponent *calendar, QDate from, QDate to, const QString &source)
        : m_calendar(calendar)
        , m_spanStart(from.startOfDay())
        , m_spanEnd(to.addDays(1).startOfDay())
        , m_source(source)
    {
    }

    void readOverrides();
    void readEntries();
    SchoolFeed::Reading take() { return std::move(m_reading); }

private:
    Moment moment(icaltimetype value, const char *tzid);
    std::optional<Moment> startOf(icalcomponent *event);
    void readEntry(icalcomponent *event);
    void addOccurrence(icalcomponent *event, const Moment &start, qint64 length, bool cancelled,
                       const std::optional<Moment> &original = std::nullopt);
    void cutOff(const QString &why);

    icalcomponent *m_calendar;
    QDateTime m_spanStart;
    QDateTime m_spanEnd;
    QString m_source;
    // The single dates that replace one of a repetition: UID and original start.
    QHash<QString, QSet<QString>> m_overridden;
    SchoolFeed::Reading m_reading;
    bool m_full = false;
};

Moment FeedReader::moment(icaltimetype value, const char *tzid)
{
    const QDate day(value.year, value.month, value.day);
    if (value.is_date)
        return {{}, day};
    const QTime clock(value.hour, value.minute, qMin(value.second, 59));
    if (icaltime_is_utc(value))
        return {QDateTime(day, clock, Qt::UTC).toLocalTime(), {}};
    if (tzid && *tzid) {
        if (icaltimezone *zone = icalcomponent_get_timezone(m_calendar, tzid)) {
            icaltimetype utc = value;
            utc.zone = nullptr;
            icaltimezone_convert_time(&utc, zone, icaltimezone_get_utc_timezone());
            return {QDateTime(QDate(utc.year, utc.month, utc.day), QTime(utc.hour, utc.minute, qMin(utc.second, 59)), Qt::UTC)
                        .toLocalTime(),
                    {}};
        }
        if (const QTimeZone zone = knownZone(QByteArray(tzid)); zone.isValid())
            return {QDateTime(day, clock, zone).toLocalTime(), {}};
    }
    return {QDateTime(day, clock), {}}; // floating: the pupil's own time
}

std::optional<Moment> FeedReader::startOf(icalcomponent *event)
{
    icalproperty *property = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!property)
        return std::nullopt;
    const icaltimetype value = icalproperty_get_dtstart(property);
    if (icaltime_is_null_time(value) || !QDate(value.year, value.month, value.day).isValid())
        return std::nullopt;
    Moment start = moment(value, tzidOf(property));
    if (!start.isDay() && !start.time.isValid())
        return std::nullopt;
    return start;
}

void FeedReader::readOverrides()
{
    for (icalcomponent *event = icalcomponent_get_first_component(m_calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(m_calendar, ICAL_VEVENT_COMPONENT)) {
        icalproperty *property = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        if (!property)
            continue;
        const icaltimetype value = icalproperty_get_recurrenceid(property);
        if (icaltime_is_null_time(value) || !QDate(value.year, value.month, value.day).isValid())
            continue;
        const Moment original = moment(value, tzidOf(property));
        m_overridden[text(icalcomponent_get_uid(event))].insert(original.key());
        if (original.isDay())
            m_overridden[text(icalcomponent_get_uid(event))].insert(QStringLiteral("day:") + original.day.toString(Qt::ISODate));
    }
}

void FeedReader::readEntries()
{
    for (icalcomponent *event = icalcomponent_get_first_component(m_calendar, ICAL_VEVENT_COMPONENT); event && !m_full;
         event = icalcomponent_get_next_component(m_calendar, ICAL_VEVENT_COMPONENT))
        readEntry(event);
}

void FeedReader::readEntry(icalcomponent *event)
{
    const std::optional<Moment> start = startOf(event);
    if (!start)
        return; // an entry without a readable start names no date
    const bool cancelled = icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED;

    // The length: seconds for a date with a time, days for a bare day.
    qint64 length = start->isDay() ? 1 : 0;
    if (icalproperty *property = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
        const icaltimetype value = icalproperty_get_dtend(property);
        if (!icaltime_is_null_time(value) && QDate(value.year, value.month, value.day).isValid()) {
            const Moment end = moment(value, tzidOf(property));
            if (start->isDay() && end.isDay())
                length = start->day.daysTo(end.day);
            else if (!start->isDay() && !end.isDay() && end.time.isValid())
                length = start->time.secsTo(end.time);
        }
    } else if (icalproperty *property = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
        const qint64 seconds = icaldurationtype_as_int(icalproperty_get_duration(property));
        length = start->isDay() ? seconds / 86400 : seconds;
    }
    // Nothing lasts longer than a year; a longer one is shown as one.
    length = start->isDay() ? std::clamp<qint64>(length, 1, 366) : std::clamp<qint64>(length, 0, 366LL * 86400);

    // A replacement of one date of a repetition stands on its own.
    if (icalproperty *property = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
        const icaltimetype value = icalproperty_get_recurrenceid(property);
        std::optional<Moment> original;
        if (!icaltime_is_null_time(value) && QDate(value.year, value.month, value.day).isValid())
            original = moment(value, tzidOf(property));
        addOccurrence(event, *start, length, cancelled, original);
        return;
    }

    const QSet<QString> overridden = m_overridden.value(text(icalcomponent_get_uid(event)));
    QSet<QString> excluded;
    for (icalproperty *property = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
        const icaltimetype value = icalproperty_get_exdate(property);
        if (icaltime_is_null_time(value) || !QDate(value.year, value.month, value.day).isValid())
            continue;
        const Moment exception = moment(value, tzidOf(property));
        excluded.insert(exception.isDay() ? QStringLiteral("day:") + exception.day.toString(Qt::ISODate) : exception.key());
    }
    int given = 0;
    const auto take = [&](const Moment &occurrence) {
        const QString dayKey = QStringLiteral("day:")
                               + (occurrence.isDay() ? occurrence.day : occurrence.time.date()).toString(Qt::ISODate);
        if (excluded.contains(occurrence.key()) || excluded.contains(dayKey) || overridden.contains(occurrence.key())
            || (occurrence.isDay() && overridden.contains(dayKey)))
            return true;
        if (++given > SchoolFeed::MostDatesPerEntry) {
            cutOff(QStringLiteral("Die Wiederholung von „%1“ ergibt mehr als %2 Termine und wurde abgeschnitten.")
                       .arg(text(icalcomponent_get_summary(event)))
                       .arg(SchoolFeed::MostDatesPerEntry));
            return false;
        }
        addOccurrence(event, occurrence, length, cancelled);
        return !m_full;
    };

    icalproperty *rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (!rule) {
        take(*start);
    } else {
        icalproperty *dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
        const char *tzid = tzidOf(dtstart);
        icaltimetype first = icalproperty_get_dtstart(dtstart);
        // The rule runs on the wall-clock times of the start's own zone.
        if (tzid && *tzid)
            first.zone = icalcomponent_get_timezone(m_calendar, tzid);
        std::unique_ptr<icalrecur_iterator, decltype(&icalrecur_iterator_free)> steps(
            icalrecur_iterator_new(icalproperty_get_rrule(rule), first), &icalrecur_iterator_free);
        if (!steps) {
            take(*start); // a rule libical cannot read leaves the first date
        } else {
            const qint64 reach = start->isDay() ? length * 86400 : length;
            int step = 0;
            for (icaltimetype value = icalrecur_iterator_next(steps.get()); !icaltime_is_null_time(value);
                 value = icalrecur_iterator_next(steps.get())) {
                if (++step > SchoolFeed::MostRuleSteps) {
                    cutOff(QStringLiteral("Die Wiederholung von „%1“ ist zu lang und wurde abgeschnitten.")
                               .arg(text(icalcomponent_get_summary(event))));
                    break;
                }
                const Moment occurrence = moment(value, tzid);
                const QDateTime at = occurrence.isDay() ? occurrence.day.startOfDay() : occurrence.time;
                if (!at.isValid())
                    continue;
                if (at >= m_spanEnd)
                    break;
                if (at.addSecs(reach) <= m_spanStart && at < m_spanStart)
                    continue;
                if (!take(occurrence))
                    break;
            }
        }
    }
    // Gathered before any is taken: taking one reads the summary, which moves
    // the entry's one property cursor away from the RDATE lines.
    QList<Moment> added;
    for (icalproperty *property = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        const icaltimetype at = icaltime_is_null_time(value.time) ? value.period.start : value.time;
        if (icaltime_is_null_time(at) || !QDate(at.year, at.month, at.day).isValid())
            continue;
        added.append(moment(at, tzidOf(property)));
    }
    for (const Moment &occurrence : std::as_const(added)) {
        if (m_full || !take(occurrence))
            break;
    }
}

void FeedReader::addOccurrence(icalcomponent *event, const Moment &start, qint64 length, bool cancelled,
                               const std::optional<Moment> &original)
{
    SchoolDate date;
    date.allDay = start.isDay();
    if (date.allDay) {
        date.start = start.day.startOfDay();
        date.end = start.day.addDays(length).startOfDay();
    } else {
        date.start = start.time;
        date.end = start.time.addSecs(length);
    }
    // Touching the span: it ends after its first moment (or is a moment in it) and starts before its end.
    const bool inSpan = date.start < m_spanEnd && (date.end > m_spanStart || (date.end == date.start && date.start >= m_spanStart));
    if (!date.start.isValid() || !inSpan)
        return;
    if (m_reading.dates.size() >= SchoolFeed::MostDates) {
        cutOff(QStringLiteral("Der Kalender enthält mehr als %1 Termine; die übrigen wurden abgeschnitten.").arg(SchoolFeed::MostDates));
        m_full = true;
        return;
    }
    date.cancelled = cancelled;
    if (original)
        date.replaces = original->isDay() ? original->day.startOfDay() : original->time;
    date.summary = text(icalcomponent_get_summary(event));
    date.location = text(icalcomponent_get_location(event));
    date.description = text(icalcomponent_get_description(event));
    date.source = m_source;
    m_reading.dates.append(std::move(date));
}

void FeedReader::cutOff(const QString &why)
{
    if (m_reading.warning.isEmpty())
        m_reading.warning = why;
}

} // namespace

SchoolFeed::Reading SchoolFeed::read(QByteArrayView feed, QDate from, QDate to, const QString &source)
{
    // libical reads a text ending in a NUL; a NUL inside the feed ends it there.
    const QByteArray terminated(feed.data(), feed.size());
    if (!terminated.contains("BEGIN:VCALENDAR"))
        throw SchoolCalendarError(QStringLiteral("Die Antwort ist kein iCalendar-Kalender (BEGIN:VCALENDAR fehlt)."));
    const qsizetype events = checkNesting(QByteArrayView(terminated.constData()));
    ComponentPtr root(icalparser_parse_string(terminated.constData()), &icalcomponent_free);
    if (!root)
        throw SchoolCalendarError(QStringLiteral("Der Kalender kann nicht gelesen werden."));

    QList<icalcomponent *> calendars;
    if (icalcomponent_isa(root.get()) == ICAL_VCALENDAR_COMPONENT) {
        calendars.append(root.get());
    } else {
        for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT); c;
             c = icalcomponent_get_next_component(root.get(), ICAL_VCALENDAR_COMPONENT))
            calendars.append(c);
    }
    if (calendars.isEmpty())
        throw SchoolCalendarError(QStringLiteral("Der Kalender kann nicht gelesen werden: kein VCALENDAR darin."));
    // A feed whose entries libical all lost reads as empty; it must not pass for a calendar without dates.
    const auto hasEntry = [](icalcomponent *calendar) { return icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); };
    if (events > 0 && std::none_of(calendars.cbegin(), calendars.cend(), hasEntry))
        throw SchoolCalendarError(QStringLiteral("Der Kalender kann nicht gelesen werden: keiner seiner Termine ist lesbar."));

    Reading all;
    for (icalcomponent *calendar : calendars) {
        FeedReader reader(calendar, from, to, source);
        reader.readOverrides();
        reader.readEntries();
        Reading one = reader.take();
        all.dates.append(std::move(one.dates));
        if (all.warning.isEmpty())
            all.warning = one.warning;
        if (all.dates.size() >= MostDates)
            break;
    }
    SchoolDates::sort(all.dates);
    return all;
}
