// The iCalendar export: what it holds, read back by libical and by python3-icalendar, and how it fails.
#include "calendar/CalendarEntries.h"
#include "calendar/CalendarExport.h"
#include "support/TestEnvironment.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimeZone>
#include <QtTest>

#include <libical/ical.h>

#include <algorithm>
#include <ctime>
#include <map>

namespace {

// Homework (one done, one with ",;\" and umlauts, one without text), an
// event of each kind (a time-dependent one, a weekly one not acknowledged
// since before today, a monthly one on the 31st, a yearly one across a
// 29 February, whose "#24:00" does not read as a time), an alarm, holidays,
// and beside them dates that do not read.
const char *const kSettings =
    "[Dates]\n15.12.2026=1\n08.12.2026=1\n31.02.2026=1\n"
    "[08.12.2026]\nMathematik=S. 12, Nr. 3; a\\b \xe2\x80\x93 \xc3\x9c" "bung f\xc3\xbcr Gr\xc3\xb6\xc3\x9f" "en\n"
    "Mathematik2=1\nMathematikExec=\nDeutsch=Aufsatz\nDeutsch2=0\n"
    "[15.12.2026]\nEnglisch=\n"
    "[31.02.2026]\nKunst=Bild\n"
    "[TERMIN]\n7.3.2027=Mathearbeit\nx.3.2027=Kaputt\n"
    "[WEEKLY]\n30.11.2026=Training\n"
    "[MONTHLY]\n31.1.2027=Taschengeld\n"
    "[YEARLY]\n1.3.2027=Geburtstag\n"
    "[TIME]\nMathearbeit=#8:00\nTraining=6:00\nGeburtstag=#24:00\n"
    "[MEMO]\nMathearbeit#=1\nMathearbeit0=Formelsammlung, Zirkel; Lineal\nMathearbeit1=Taschenrechner \\ Geodreieck \xc3\xa4\n"
    "[ALARM]\n10.12.2026=Bibliotheksbuch zur\xc3\xbc" "ckgeben\n99.99.2026=Kaputt\n"
    "[FERIEN]\nWEIHNACHTEN1=23.12.2026\nWEIHNACHTEN2=6.1.2027\nWINTER1=5.2.2027\nWINTER2=1.2.2027\n"
    "OSTERN1=22.3.2027\nOSTERN2=Ostermontag\n";

const QStringList kUids = {
    "hausaufgabe-08.12.2026-Mathematik@kalmora", "hausaufgabe-08.12.2026-Deutsch@kalmora",
    "hausaufgabe-15.12.2026-Englisch@kalmora",   "termin-Mathearbeit@kalmora",
    "woechentlich-Training@kalmora",             "monatlich-Taschengeld@kalmora",
    "jaehrlich-Geburtstag@kalmora",              "alarm-10.12.2026@kalmora",
    "ferien-Weihnachten@kalmora",
};

const QList<QDate> kMonthly = {{2027, 3, 31}, {2027, 5, 31}, {2027, 7, 31}, {2027, 8, 31}, {2027, 10, 31}, {2027, 12, 31},
                               {2028, 1, 31}, {2028, 3, 31}, {2028, 5, 31}, {2028, 7, 31}, {2028, 8, 31}, {2028, 10, 31}};

const QString kMathematik = QStringLiteral("S. 12, Nr. 3; a\\b – Übung für Größen");
const QString kMathearbeit = QStringLiteral("Formelsammlung, Zirkel; Lineal\nTaschenrechner \\ Geodreieck ä");

QDateTime stamp()
{
    return QDateTime(QDate(2026, 12, 7), QTime(8, 0), QTimeZone::utc());
}

// One VEVENT as libical reads it.
struct Event
{
    QString summary, description;
    icaltimetype start{}, end{};
    QByteArray startZone;
    QList<icaltimetype> rdates;
    QStringList alarms; // "ACTION trigger-seconds DESCRIPTION"
};

QString textOf(icalcomponent *c, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(c, kind);
    return p ? QString::fromUtf8(icalvalue_as_ical_string(icalproperty_get_value(p))) : QString();
}

QString plainText(icalcomponent *c, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(c, kind);
    return p ? QString::fromUtf8(icalvalue_get_text(icalproperty_get_value(p))) : QString();
}

std::map<QString, Event> readWithLibical(const QByteArray &document, QStringList &uids, QStringList &zones)
{
    std::map<QString, Event> events;
    icalcomponent *calendar = icalparser_parse_string(document.constData());
    if (!calendar)
        return events;
    for (icalcomponent *z = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); z;
         z = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT))
        zones.append(textOf(z, ICAL_TZID_PROPERTY));
    for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        Event e;
        const QString uid = textOf(c, ICAL_UID_PROPERTY);
        uids.append(uid);
        e.summary = plainText(c, ICAL_SUMMARY_PROPERTY);
        e.description = plainText(c, ICAL_DESCRIPTION_PROPERTY);
        icalproperty *start = icalcomponent_get_first_property(c, ICAL_DTSTART_PROPERTY);
        e.start = icalproperty_get_dtstart(start);
        if (icalparameter *tzid = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER))
            e.startZone = icalparameter_get_tzid(tzid);
        if (icalproperty *end = icalcomponent_get_first_property(c, ICAL_DTEND_PROPERTY))
            e.end = icalproperty_get_dtend(end);
        for (icalproperty *r = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); r;
             r = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY))
            e.rdates.append(icalproperty_get_rdate(r).time);
        for (icalcomponent *a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
             a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT)) {
            const icaltriggertype trigger = icalproperty_get_trigger(icalcomponent_get_first_property(a, ICAL_TRIGGER_PROPERTY));
            e.alarms.append(textOf(a, ICAL_ACTION_PROPERTY) + u' ' + QString::number(icaldurationtype_as_int(trigger.duration))
                            + u' ' + plainText(a, ICAL_DESCRIPTION_PROPERTY));
        }
        events[uid] = e;
    }
    icalcomponent_free(calendar);
    return events;
}

QDate dateOf(const icaltimetype &t)
{
    return QDate(t.year, t.month, t.day);
}

QList<QDate> datesOf(const QList<icaltimetype> &times)
{
    QList<QDate> dates;
    for (const icaltimetype &t : times)
        dates.append(dateOf(t));
    return dates;
}

// The document without its DTSTAMP lines.
QByteArray withoutStamps(const QByteArray &document)
{
    QByteArrayList kept;
    for (const QByteArray &line : document.split('\n')) {
        if (!line.startsWith("DTSTAMP:"))
            kept.append(line);
    }
    return kept.join('\n');
}

}

class tst_CalendarExport final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void documentReadByLibical();
    void documentReadByPythonIcalendar();
    void occurrencesFollowTheProgramsRule();
    void unknownZoneGivesUtc();
    void stableAndRobust();
    void writeFileFailures();
    void tool();
};

void tst_CalendarExport::initTestCase()
{
    // A zone with summer time, whatever the machine's zone is.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("Europe/Berlin"));
}

void tst_CalendarExport::documentReadByLibical()
{
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    const QByteArray document = CalendarExport::document(stamp());
    QVERIFY(document.startsWith("BEGIN:VCALENDAR\r\nPRODID:-//Kalmora//Kalmora 2.0//DE\r\nVERSION:2.0\r\nCALSCALE:GREGORIAN\r\n"));
    QStringList uids, zones;
    std::map<QString, Event> events = readWithLibical(document, uids, zones);
    // Everything that reads, in order; the unreadable dates, the reversed and
    // the unreadable holiday period are left out.
    QCOMPARE(uids, kUids);
    QCOMPARE(zones, QStringList{"Europe/Berlin"});

    // Homework: all-day on its due date, done marked in the summary.
    const Event &maths = events["hausaufgabe-08.12.2026-Mathematik@kalmora"];
    QCOMPARE(maths.summary, "Mathematik (erledigt): " + kMathematik);
    QCOMPARE(maths.description, kMathematik);
    QVERIFY(maths.start.is_date && maths.end.is_date);
    QCOMPARE(dateOf(maths.start), QDate(2026, 12, 8));
    QCOMPARE(dateOf(maths.end), QDate(2026, 12, 9));
    QVERIFY(maths.alarms.isEmpty());
    QCOMPARE(events["hausaufgabe-08.12.2026-Deutsch@kalmora"].summary, QStringLiteral("Deutsch: Aufsatz"));
    QCOMPARE(events["hausaufgabe-15.12.2026-Englisch@kalmora"].summary, QStringLiteral("Englisch"));

    // A time-dependent event: local time in the system's zone, reminded at that moment.
    const Event &test = events["termin-Mathearbeit@kalmora"];
    QVERIFY(!test.start.is_date);
    QCOMPARE(test.startZone, QByteArray("Europe/Berlin"));
    QCOMPARE(QTime(test.start.hour, test.start.minute, test.start.second), QTime(8, 0));
    icaltimezone *berlin = icaltimezone_get_builtin_timezone("Europe/Berlin");
    QCOMPARE(qint64(icaltime_as_timet_with_zone(test.start, berlin)),
             QDateTime(QDate(2027, 3, 7), QTime(7, 0), QTimeZone::utc()).toSecsSinceEpoch());
    QCOMPARE(test.description, kMathearbeit);
    QVERIFY(test.rdates.isEmpty());
    QCOMPARE(test.alarms, QStringList{"DISPLAY 0 Mathearbeit"});

    // Weekly, not acknowledged since 30.11.2026: from the stored date on, to 7.12.2028.
    const Event &weekly = events["woechentlich-Training@kalmora"];
    QVERIFY(weekly.start.is_date);
    QCOMPARE(dateOf(weekly.start), QDate(2026, 11, 30));
    QCOMPARE(dateOf(weekly.end), QDate(2026, 12, 1));
    QCOMPARE(weekly.rdates.size(), 105);
    QVERIFY(weekly.rdates.first().is_date);
    QCOMPARE(dateOf(weekly.rdates.first()), QDate(2026, 12, 7));
    QCOMPARE(dateOf(weekly.rdates.last()), QDate(2028, 12, 4));
    QCOMPARE(weekly.alarms, QStringList{"DISPLAY 0 Training"});

    // Monthly on the 31st: only months with 31 days.
    QCOMPARE(datesOf(events["monatlich-Taschengeld@kalmora"].rdates), kMonthly);
    // Yearly by 365 days: 1.3.2027 is followed by 29.2.2028; "#24:00" makes it all-day.
    const Event &birthday = events["jaehrlich-Geburtstag@kalmora"];
    QVERIFY(birthday.start.is_date);
    QCOMPARE(datesOf(birthday.rdates), QList<QDate>{QDate(2028, 2, 29)});

    const Event &alarm = events["alarm-10.12.2026@kalmora"];
    QCOMPARE(alarm.summary, QStringLiteral("Bibliotheksbuch zurückgeben"));
    QCOMPARE(dateOf(alarm.start), QDate(2026, 12, 10));
    QCOMPARE(alarm.alarms, QStringList{"DISPLAY 0 Bibliotheksbuch zurückgeben"});

    // Holidays: the last day included.
    const Event &christmas = events["ferien-Weihnachten@kalmora"];
    QCOMPARE(christmas.summary, QStringLiteral("Weihnachten"));
    QCOMPARE(dateOf(christmas.start), QDate(2026, 12, 23));
    QCOMPARE(dateOf(christmas.end), QDate(2027, 1, 7));
}

void tst_CalendarExport::documentReadByPythonIcalendar()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (QProcess::execute(python, {"-c", "import icalendar"}) != 0)
        QSKIP("/usr/bin/python3 cannot import icalendar (Debian package python3-icalendar)");
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    env.writeFile(QStringLiteral("kalmora.ics"), CalendarExport::document(stamp()));
    QProcess reader;
    reader.start(python, {QFINDTESTDATA("read_ics.py"), env.path(QStringLiteral("kalmora.ics"))});
    QVERIFY(reader.waitForFinished(60000));
    const QByteArray errors = reader.readAllStandardError();
    QVERIFY2(reader.exitCode() == 0, errors.constData());
    const QJsonObject calendar = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    QCOMPARE(calendar["version"].toString(), QStringLiteral("2.0"));
    QCOMPARE(calendar["zones"].toArray(), QJsonArray{"Europe/Berlin"});
    QStringList uids;
    std::map<QString, QJsonObject> events;
    for (const QJsonValue &value : calendar["events"].toArray()) {
        uids.append(value["uid"].toString());
        events[uids.last()] = value.toObject();
    }
    QCOMPARE(uids, kUids);

    const QJsonObject &maths = events["hausaufgabe-08.12.2026-Mathematik@kalmora"];
    QCOMPARE(maths["summary"].toString(), "Mathematik (erledigt): " + kMathematik);
    QCOMPARE(maths["start"].toString(), QStringLiteral("2026-12-08"));
    QCOMPARE(maths["end"].toString(), QStringLiteral("2026-12-09"));
    const QJsonObject &test = events["termin-Mathearbeit@kalmora"];
    QCOMPARE(test["start"].toString(), QStringLiteral("2027-03-07T08:00:00+01:00"));
    QCOMPARE(test["description"].toString(), kMathearbeit);
    QCOMPARE(test["alarms"].toArray(), (QJsonArray{QJsonObject{{"action", "DISPLAY"}, {"trigger", 0}, {"description", "Mathearbeit"}}}));
    QCOMPARE(events["woechentlich-Training@kalmora"]["rdates"].toArray().size(), 105);
    QJsonArray monthly;
    for (QDate date : kMonthly)
        monthly.append(date.toString(Qt::ISODate));
    QCOMPARE(events["monatlich-Taschengeld@kalmora"]["rdates"].toArray(), monthly);
    QCOMPARE(events["jaehrlich-Geburtstag@kalmora"]["rdates"].toArray(), QJsonArray{"2028-02-29"});
    QCOMPARE(events["alarm-10.12.2026@kalmora"]["summary"].toString(), QStringLiteral("Bibliotheksbuch zurückgeben"));
    QCOMPARE(events["ferien-Weihnachten@kalmora"]["end"].toString(), QStringLiteral("2027-01-07"));
}

void tst_CalendarExport::occurrencesFollowTheProgramsRule()
{
    using E = CalendarEntries;
    const QDate today(2027, 3, 1);
    // Yearly by 365 days, to today plus two years, the end included.
    QCOMPARE(E::occurrences(EventKind::Yearly, QDate(2027, 3, 1), today),
             (QList<QDate>{{2027, 3, 1}, {2028, 2, 29}, {2029, 2, 28}}));
    // A one-time event is its date, however far off.
    QCOMPARE(E::occurrences(EventKind::OneTime, QDate(2040, 1, 1), today), QList<QDate>{QDate(2040, 1, 1)});
    // A recurring one stored beyond the two years is listed at its stored date.
    QCOMPARE(E::occurrences(EventKind::Monthly, QDate(2040, 1, 31), today), QList<QDate>{QDate(2040, 1, 31)});
    // A weekly event left since the year 1 (a hand-edited file): the last
    // thousand past occurrences and the coming ones, no more.
    const QList<QDate> old = E::occurrences(EventKind::Weekly, QDate(1, 1, 1), today);
    QCOMPARE(std::count_if(old.begin(), old.end(), [&](QDate d) { return d < today; }), 1000);
    QVERIFY(old.last() <= today.addYears(2) && old.last() > today.addYears(2).addDays(-7));
    QCOMPARE(old.first().daysTo(old.last()) % 7, 0);
}

void tst_CalendarExport::unknownZoneGivesUtc()
{
    // A zone libical has no definition of: the moments in UTC, no VTIMEZONE.
    qputenv("TZ", "<+0530>-5:30");
    tzset();
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    const QByteArray document = CalendarExport::document(stamp());
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QVERIFY(!document.contains("BEGIN:VTIMEZONE"));
    QVERIFY(!document.contains("TZID"));
    QVERIFY2(document.contains("\r\nDTSTART:20270307T023000Z\r\n"), document.constData());
}

void tst_CalendarExport::stableAndRobust()
{
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    // A second export of the same data differs in the DTSTAMP lines only.
    const QByteArray first = CalendarExport::document(stamp());
    const QByteArray second = CalendarExport::document(stamp().addSecs(3600));
    QVERIFY(first != second);
    QCOMPARE(withoutStamps(first), withoutStamps(second));
    // CR LF line ends only, lines folded at 75 octets.
    for (const QByteArray &line : first.split('\n')) {
        QVERIFY2(line.isEmpty() || line.endsWith('\r'), line.constData());
        QVERIFY2(line.size() <= 76, line.constData());
    }
    QVERIFY(first.endsWith("END:VCALENDAR\r\n"));

    // A settings file of random bytes gives a document of what reads.
    QByteArray garbage;
    quint32 seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.append(char(seed >> 16));
    }
    garbage.replace(100, 0, "\r\n[ALARM]\r\n01.01.2027=\x01\x02\x7f\r\n[WEEKLY]\r\n3.1.2027=\x80\x9f\r\n[FERIEN]\r\nSOMMER1=1.7\r\nSOMMER2=31.8\r\n");
    env.writeFile(QStringLiteral("DEZUVEDIRED.INI"), garbage);
    const QByteArray document = CalendarExport::document(stamp());
    QStringList uids, zones;
    readWithLibical(document, uids, zones);
    QVERIFY2(uids.contains("alarm-01.01.2027@kalmora"), document.constData());
    QVERIFY(uids.contains(CalendarEntries::uid("woechentlich", QStringLiteral("€Ÿ"))));
    QVERIFY(uids.contains("ferien-Sommer@kalmora")); // dates without a year: this year
}

void tst_CalendarExport::writeFileFailures()
{
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    const QString target = env.path(QStringLiteral("kalmora.ics"));
    CalendarExport::writeFile(target);
    QCOMPARE(withoutStamps(env.readFile(QStringLiteral("kalmora.ics"))), withoutStamps(CalendarExport::document(stamp())));

    // A directory that is not there.
    const QString missing = env.path(QStringLiteral("fehlt/kalmora.ics"));
    try {
        CalendarExport::writeFile(missing);
        QFAIL("no failure");
    } catch (const EWriteError &error) {
        QCOMPARE(error.message(), "Unable to write to " + missing);
    }
    // A file marked read-only is not replaced, and no temporary file stays.
    env.writeFile(QStringLiteral("kalmora.ics"), "alt");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QVERIFY_THROWS_EXCEPTION(EWriteError, CalendarExport::writeFile(target));
    QCOMPARE(env.readFile(QStringLiteral("kalmora.ics")), QByteArray("alt"));
    // A settings file that cannot be read must not give an empty calendar over the old one.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QVERIFY(QDir().mkdir(env.path(QStringLiteral("DEZUVEDIRED.INI"))));
    QVERIFY_THROWS_EXCEPTION(EInOutError, CalendarExport::writeFile(target));
    QCOMPARE(env.readFile(QStringLiteral("kalmora.ics")), QByteArray("alt"));
    QCOMPARE(QDir(env.dir()).entryList(QDir::Files), QStringList{"kalmora.ics"});
}

void tst_CalendarExport::tool()
{
    TestEnvironment env;
    env.writeSettings(QString::fromUtf8(kSettings));
    const auto run = [](const QStringList &args) {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KALMORA_NOW"), QStringLiteral("2026-12-07T09:00:00"));
        environment.remove(QStringLiteral("KALMORA_DIR"));
        tool.setProcessEnvironment(environment);
        tool.start(qEnvironmentVariable("KALMORA_ICAL_TOOL"), args);
        tool.waitForFinished(60000);
        return std::make_tuple(tool.exitCode(), tool.readAllStandardOutput(), QString::fromUtf8(tool.readAllStandardError()));
    };
    // The document on standard output.
    const auto [code, out, err] = run({env.dir()});
    QCOMPARE(code, 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QCOMPARE(withoutStamps(out), withoutStamps(CalendarExport::document(stamp())));
    // A directory that is not there, a settings file that cannot be read.
    const auto [missingCode, missingOut, missingErr] = run({env.path(QStringLiteral("fehlt"))});
    QCOMPARE(missingCode, 2);
    QVERIFY(missingOut.isEmpty());
    QVERIFY2(missingErr.contains(QStringLiteral("Das Programmverzeichnis ") + env.path(QStringLiteral("fehlt"))), qPrintable(missingErr));
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QDir().mkdir(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    const auto [unreadableCode, unreadableOut, unreadableErr] = run({env.dir()});
    QCOMPARE(unreadableCode, 2);
    QVERIFY2(unreadableErr.contains(QStringLiteral("kann nicht gelesen werden")), qPrintable(unreadableErr));
    QCOMPARE(std::get<0>(run({"--help"})), 0);
    QCOMPARE(std::get<0>(run({"a", "b"})), 2);
}

QTEST_GUILESS_MAIN(tst_CalendarExport)
#include "tst_CalendarExport.moc"
