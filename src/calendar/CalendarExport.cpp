// The planner's dates as one iCalendar document, built and written by libical.
#include "CalendarExport.h"

#include "CalendarEntries.h"
#include "model/SettingsFile.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"

#include <QTimeZone>

#include <libical/ical.h>

#include <cstdlib>
#include <memory>

namespace {

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The zone the times of day are written in: the system's, when libical knows
// it, as local times with its VTIMEZONE; else none, and the times are written
// in UTC, converted through the system's own idea of local time.
struct Zone
{
    icaltimezone *zone = nullptr;
    QByteArray tzid; // the IANA id, e.g. "Europe/Berlin"
};

Zone systemZone()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    if (id.isEmpty())
        return {};
    icaltimezone *zone = icaltimezone_get_builtin_timezone(id.constData());
    if (!zone || zone == icaltimezone_get_utc_timezone() || !icaltimezone_get_component(zone))
        return {};
    return {zone, id};
}

// The zone's definition under its plain IANA id: libical names its built-in
// zones with a prefix of its own, which other programs need not know.
icalcomponent *timezoneComponent(const Zone &zone)
{
    icalcomponent *component = icalcomponent_new_clone(icaltimezone_get_component(zone.zone));
    if (icalproperty *tzid = icalcomponent_get_first_property(component, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(tzid, zone.tzid.constData());
    return component;
}

// Text as UTF-8 without control characters, which the format does not allow
// (only a garbled settings file has them); line breaks stay for libical to escape.
QByteArray text(const QString &value)
{
    QString clean = value;
    for (QChar &c : clean) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || u == 0x7f)
            c = u' ';
    }
    return clean.toUtf8();
}

icaltimetype dateValue(QDate date)
{
    icaltimetype t = icaltime_null_date();
    date.getDate(&t.year, &t.month, &t.day);
    return t;
}

class EventWriter final
{
public:
    EventWriter(const QDateTime &stamp)
        : m_stamp(icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone()))
        , m_zone(systemZone())
    {
    }

    bool usesZone() const { return m_usedZone; }
    const Zone &zone() const { return m_zone; }

    icalcomponent *vevent(const CalendarEntry &entry)
    {
        icalcomponent *event = icalcomponent_new_vevent();
        icalcomponent_add_property(event, icalproperty_new_uid(text(entry.uid).constData()));
        icalcomponent_add_property(event, icalproperty_new_dtstamp(m_stamp));
        if (entry.time) {
            icalcomponent_add_property(event, withZone(icalproperty_new_dtstart(timeValue(entry.start, *entry.time))));
        } else {
            icalcomponent_add_property(event, icalproperty_new_dtstart(dateValue(entry.start)));
            icalcomponent_add_property(event, icalproperty_new_dtend(dateValue(entry.end)));
        }
        for (QDate date : entry.moreDates) {
            icaldatetimeperiodtype value{};
            value.period = icalperiodtype_null_period();
            if (entry.time) {
                value.time = timeValue(date, *entry.time);
                icalcomponent_add_property(event, withZone(icalproperty_new_rdate(value)));
            } else {
                value.time = dateValue(date);
                icalproperty *rdate = icalproperty_new_rdate(value);
                icalproperty_add_parameter(rdate, icalparameter_new_value(ICAL_VALUE_DATE));
                icalcomponent_add_property(event, rdate);
            }
        }
        const QByteArray summary = text(entry.summary);
        icalcomponent_add_property(event, icalproperty_new_summary(summary.constData()));
        if (!entry.description.isEmpty())
            icalcomponent_add_property(event, icalproperty_new_description(text(entry.description).constData()));
        if (entry.alarm)
            icalcomponent_add_component(event, valarm(summary));
        return event;
    }

private:
    // Reminded at the start of each occurrence: the time of a time-dependent
    // event, else the start of its day, as the reminder and alarm checks do.
    static icalcomponent *valarm(const QByteArray &description)
    {
        icalcomponent *alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_null_duration();
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(description.constData()));
        return alarm;
    }

    icaltimetype timeValue(QDate date, QTime time) const
    {
        icaltimetype t = icaltime_null_time();
        if (m_zone.zone) {
            date.getDate(&t.year, &t.month, &t.day);
            t.hour = time.hour();
            t.minute = time.minute();
            t.second = time.second();
            t.zone = m_zone.zone;
            return t;
        }
        const QDateTime utc = QDateTime(date, time).toUTC();
        utc.date().getDate(&t.year, &t.month, &t.day);
        t.hour = utc.time().hour();
        t.minute = utc.time().minute();
        t.second = utc.time().second();
        t.zone = icaltimezone_get_utc_timezone();
        return t;
    }

    icalproperty *withZone(icalproperty *property)
    {
        if (m_zone.zone) {
            icalproperty_add_parameter(property, icalparameter_new_tzid(m_zone.tzid.constData()));
            m_usedZone = true;
        }
        return property;
    }

    icaltimetype m_stamp;
    Zone m_zone;
    bool m_usedZone = false;
};

// A component as libical writes it: its content lines, CR LF ended and folded.
QByteArray icalText(icalcomponent *component)
{
    char *ical = icalcomponent_as_ical_string_r(component);
    QByteArray bytes(ical);
    std::free(ical);
    return bytes;
}

}

QByteArray CalendarExport::document(const QDateTime &stamp)
{
    const QList<CalendarEntry> entries = CalendarEntries::read(SettingsFile::readWhole(), Clock::today());

    // Each event is written by libical and freed on its own, and the texts go
    // where libical puts a calendar's children, before its last line: the same
    // bytes as one calendar written whole, without holding the tens of
    // thousands of properties of years of data at once, a quarter faster.
    EventWriter writer(stamp);
    QByteArray events;
    for (const CalendarEntry &entry : entries) {
        const Component event(writer.vevent(entry));
        events += icalText(event.get());
    }

    const Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Kalmora//Kalmora 2.0//DE"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    if (writer.usesZone())
        icalcomponent_add_component(calendar.get(), timezoneComponent(writer.zone()));
    QByteArray document = icalText(calendar.get());
    static const QByteArray end = QByteArrayLiteral("END:VCALENDAR\r\n");
    document.insert(document.endsWith(end) ? document.size() - end.size() : document.size(), events);
    return document;
}

void CalendarExport::writeFile(const QString &path)
{
    AtomicFile::write(path, document(Clock::now()));
}
