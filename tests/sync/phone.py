# The pupil's phone: an independent CalDAV client (python3-caldav) working on one task list.
# Usage: phone.py COLLECTION-URL list | add UID DUE SUMMARY [CATEGORY] | put CALENDAR-TEXT | set UID FIELD VALUE | delete UID
import json
import sys
from datetime import date, datetime, timezone

import caldav
import icalendar

url, command, args = sys.argv[1], sys.argv[2], sys.argv[3:]
client = caldav.DAVClient(url, username="schueler", password="geheim")
tasks = client.calendar(url=url)


def find(uid):
    for todo in tasks.todos(include_completed=True):
        if str(todo.icalendar_instance.walk("VTODO")[0].get("UID")) == uid:
            return todo
    raise SystemExit("no todo " + uid)


if command == "list":
    result = []
    for todo in tasks.todos(include_completed=True):
        vtodo = todo.icalendar_instance.walk("VTODO")[0]
        due = vtodo.get("DUE")
        result.append({"uid": str(vtodo.get("UID")), "summary": str(vtodo.get("SUMMARY", "")),
                       "due": due.dt.isoformat() if due else "", "status": str(vtodo.get("STATUS", ""))})
    print(json.dumps(sorted(result, key=lambda t: (t["due"], t["summary"]))))
elif command == "add":
    uid, due, summary = args[0], args[1], args[2]
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Phone//EN", "BEGIN:VTODO", "UID:" + uid,
             "DTSTAMP:20261201T080000Z", "SUMMARY:" + summary]
    if due:
        lines.append("DUE;VALUE=DATE:" + due.replace("-", ""))
    if len(args) > 3:
        lines.append("CATEGORIES:" + args[3])
    tasks.save_todo("\r\n".join(lines + ["END:VTODO", "END:VCALENDAR", ""]))
elif command == "put":
    tasks.save_todo(args[0].replace("\n", "\r\n"))
elif command == "set":
    todo = find(args[0])
    vtodo = todo.icalendar_instance.walk("VTODO")[0]
    field, value = args[1], args[2]
    if field == "DUE":
        del vtodo["DUE"]
        vtodo.add("DUE", date.fromisoformat(value))
    elif field == "STATUS" and value == "COMPLETED":
        vtodo["STATUS"] = "COMPLETED"
        vtodo.add("COMPLETED", datetime(2026, 12, 7, 9, tzinfo=timezone.utc))
    else:
        vtodo[field] = value
    todo.save()
elif command == "delete":
    find(args[0]).delete()
