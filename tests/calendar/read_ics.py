#!/usr/bin/python3
"""Reads an iCalendar file with python3-icalendar and prints its events as JSON.

Used by the calendar export test as a reader independent of libical.
Exit status 77 when the icalendar module is missing.
"""
import json
import sys

try:
    import icalendar
except ImportError:
    sys.exit(77)


def text(value):
    return value.isoformat()


def dates(prop):
    if prop is None:
        return []
    props = prop if isinstance(prop, list) else [prop]
    return [text(d.dt) for p in props for d in p.dts]


def main(path):
    with open(path, 'rb') as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    events = []
    for event in calendar.walk('VEVENT'):
        alarms = []
        for alarm in event.walk('VALARM'):
            alarms.append({
                'action': str(alarm['ACTION']),
                'trigger': int(alarm['TRIGGER'].dt.total_seconds()),
                'description': str(alarm['DESCRIPTION']),
            })
        events.append({
            'uid': str(event['UID']),
            'summary': str(event['SUMMARY']),
            'description': str(event.get('DESCRIPTION', '')),
            'start': text(event['DTSTART'].dt),
            'end': text(event['DTEND'].dt) if 'DTEND' in event else '',
            'rdates': dates(event.get('RDATE')),
            'alarms': alarms,
        })
    zones = [str(z['TZID']) for z in calendar.walk('VTIMEZONE')]
    print(json.dumps({'version': str(calendar['VERSION']), 'zones': zones, 'events': events}, ensure_ascii=False))


if __name__ == '__main__':
    main(sys.argv[1])
