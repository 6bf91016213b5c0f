# The teacher: an independent CalDAV client (python3-caldav) on the class's task list.
# Usage: teacher.py SERVER-URL make | list | add UID DUE SUMMARY | set UID FIELD VALUE
import json
import sys

import caldav

server, command, args = sys.argv[1], sys.argv[2], sys.argv[3:]
client = caldav.DAVClient(server, username="lehrer", password="geheim")
url = server.rstrip("/") + "/lehrer/klasse/"

if command == "make":
    client.principal().make_calendar(name="Klasse 7b", cal_id="klasse", supported_calendar_component_set=["VTODO"])
    sys.exit(0)
tasks = client.calendar(url=url)
if command == "list":
    result = []
    for todo in tasks.todos(include_completed=True):
        vtodo = todo.icalendar_instance.walk("VTODO")[0]
        due = vtodo.get("DUE")
        result.append({"summary": str(vtodo.get("SUMMARY", "")), "due": due.dt.isoformat() if due else "",
                       "status": str(vtodo.get("STATUS", ""))})
    print(json.dumps(sorted(result, key=lambda t: (t["due"], t["summary"]))))
elif command == "add":
    uid, due, summary = args
    tasks.save_todo("\r\n".join(["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Lehrer//DE", "BEGIN:VTODO", "UID:" + uid,
                                 "DTSTAMP:20261201T080000Z", "SUMMARY:" + summary, "DUE;VALUE=DATE:" + due.replace("-", ""),
                                 "END:VTODO", "END:VCALENDAR", ""]))
elif command == "set":
    todo = next(t for t in tasks.todos(include_completed=True)
                if str(t.icalendar_instance.walk("VTODO")[0].get("UID")) == args[0])
    todo.icalendar_instance.walk("VTODO")[0][args[1]] = args[2]
    todo.save()
