// The reader of the school's feeds, with feeds shaped like those of WebUntis, IServ and Moodle,
// and the subscriptions' section of the settings file.
#include "schoolcalendar/SchoolCalendarError.h"
#include "schoolcalendar/SchoolCalendarSettings.h"
#include "schoolcalendar/SchoolFeed.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <ctime>

namespace {

QByteArray calendar(const QByteArray &body)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Schule//Test//DE\r\n" + body + "END:VCALENDAR\r\n";
    return text.replace("\n", "\r\n").replace("\r\r\n", "\r\n");
}

const QByteArray kBerlin = "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\n"
                           "BEGIN:DAYLIGHT\nTZOFFSETFROM:+0100\nTZOFFSETTO:+0200\nTZNAME:CEST\nDTSTART:19700329T020000\n"
                           "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\nEND:DAYLIGHT\n"
                           "BEGIN:STANDARD\nTZOFFSETFROM:+0200\nTZOFFSETTO:+0100\nTZNAME:CET\nDTSTART:19701025T030000\n"
                           "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\nEND:STANDARD\nEND:VTIMEZONE\n";

// A WebUntis-like timetable: a weekly lesson across the change to summer time (28.03.2027)
// with one week off (EXDATE), one lesson moved and one cancelled (RECURRENCE-ID), and a
// cancelled lesson of its own. `zone` is the TZID; the VTIMEZONE is there or not.
QByteArray timetable(const QByteArray &zone, bool withTimezone)
{
    return calendar((withTimezone ? kBerlin : QByteArray())
                    + "BEGIN:VEVENT\nUID:mathe@untis\nDTSTART;TZID=" + zone + ":20270316T080000\nDTEND;TZID=" + zone
                    + ":20270316T093000\nRRULE:FREQ=WEEKLY;BYDAY=TU;UNTIL=20270420T220000Z\nEXDATE;TZID=" + zone
                    + ":20270406T080000\nSUMMARY:Mathematik\nLOCATION:R 204\nEND:VEVENT\n"
                      "BEGIN:VEVENT\nUID:mathe@untis\nRECURRENCE-ID;TZID=" + zone + ":20270323T080000\nDTSTART;TZID="
                    + zone + ":20270324T100000\nDTEND;TZID=" + zone + ":20270324T113000\nSUMMARY:Mathematik\nEND:VEVENT\n"
                      "BEGIN:VEVENT\nUID:mathe@untis\nRECURRENCE-ID;TZID=" + zone + ":20270413T080000\nDTSTART;TZID="
                    + zone + ":20270413T080000\nDTEND;TZID=" + zone + ":20270413T093000\nSTATUS:CANCELLED\nSUMMARY:Mathematik\nEND:VEVENT\n"
                      "BEGIN:VEVENT\nUID:sport@untis\nDTSTART;TZID=" + zone + ":20270402T113000\nDTEND;TZID=" + zone
                    + ":20270402T130000\nSTATUS:CANCELLED\nSUMMARY:Sport\nEND:VEVENT\n");
}

const QStringList kTimetable = {
    "Di 16.03.2027 08:00–09:30 Mathematik (WebUntis)",
    "Mi 24.03.2027 10:00–11:30 Mathematik (WebUntis)",
    "Di 30.03.2027 08:00–09:30 Mathematik (WebUntis)",
    "Fr 02.04.2027 11:30–13:00 fällt aus: Sport (WebUntis)",
    "Di 13.04.2027 08:00–09:30 fällt aus: Mathematik (WebUntis)",
    "Di 20.04.2027 08:00–09:30 Mathematik (WebUntis)",
};

QStringList lines(const SchoolFeed::Reading &reading)
{
    QStringList out;
    for (const SchoolDate &date : reading.dates)
        out.append(SchoolDates::line(date));
    return out;
}

}

class tst_SchoolFeed final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void reading_data();
    void reading();
    void refused();
    void settings();
};

void tst_SchoolFeed::initTestCase()
{
    // The pupil's clock is German time, so the change to summer time falls inside the span.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void tst_SchoolFeed::reading_data()
{
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("warning");
    const QDate from(2027, 3, 15);
    const QDate to(2027, 5, 10);
    QTest::newRow("timetable with VTIMEZONE") << timetable("Europe/Berlin", true) << from << to << kTimetable << QString();
    QTest::newRow("known zone name without VTIMEZONE") << timetable("Europe/Berlin", false) << from << to << kTimetable << QString();
    QTest::newRow("zone name with a path in front") << timetable("/citadel.org/20190914_1/Europe/Berlin", false) << from << to
                                                    << kTimetable << QString();
    // Only the dates that touch the span: a lesson before it and one after it are left out.
    QTest::newRow("span cuts the repetition") << timetable("Europe/Berlin", true) << QDate(2027, 3, 24) << QDate(2027, 4, 2)
                                              << kTimetable.mid(1, 3) << QString();
    // IServ-like class calendar: an exam week of all-day dates, a one-day trip, an RDATE.
    QTest::newRow("all-day exam weeks")
        << calendar("BEGIN:VEVENT\nUID:a@iserv\nDTSTART;VALUE=DATE:20270322\nDTEND;VALUE=DATE:20270327\nSUMMARY:Prüfungswoche\nEND:VEVENT\n"
                    "BEGIN:VEVENT\nUID:b@iserv\nDTSTART;VALUE=DATE:20270409\nSUMMARY:Wandertag\nRDATE;VALUE=DATE:20270507\nEND:VEVENT\n"
                    "BEGIN:VEVENT\nUID:c@iserv\nDTSTART;VALUE=DATE:20260101\nDTEND;VALUE=DATE:20260102\nSUMMARY:Alt\nEND:VEVENT\n")
        << from << to
        << QStringList{"Mo 22.03.2027–Fr 26.03.2027 Prüfungswoche (WebUntis)", "Fr 09.04.2027 Wandertag (WebUntis)",
                       "Fr 07.05.2027 Wandertag (WebUntis)"}
        << QString();
    // Moodle export: UTC times, escaped text, a DURATION, a yearly rule.
    QTest::newRow("Moodle export")
        << calendar("BEGIN:VEVENT\nUID:1@moodle\nDTSTART:20270318T215900Z\nDURATION:PT0S\nSUMMARY:Abgabe\\, Aufsatz Deutsch\n"
                    "DESCRIPTION:Hochladen bis Mitternacht\\nals PDF\nCATEGORIES:Deutsch 9b\nEND:VEVENT\n"
                    "BEGIN:VEVENT\nUID:2@moodle\nDTSTART:20270330T063000Z\nDURATION:PT45M\nSUMMARY:Test\nRRULE:FREQ=YEARLY\nEND:VEVENT\n")
        << from << to << QStringList{"Do 18.03.2027 22:59 Abgabe, Aufsatz Deutsch (WebUntis)", "Di 30.03.2027 08:30–09:15 Test (WebUntis)"}
        << QString();
    // A repetition without end, every minute: cut off with a German warning.
    QByteArray endless = calendar("BEGIN:VEVENT\nUID:x\nDTSTART:20270315T000000Z\nRRULE:FREQ=MINUTELY\nSUMMARY:Flut\nEND:VEVENT\n");
    QTest::newRow("endless repetition") << endless << from << to << QStringList() << QStringLiteral("mehr als 1000 Termine");
}

void tst_SchoolFeed::reading()
{
    QFETCH(QByteArray, feed);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, expected);
    QFETCH(QString, warning);
    const SchoolFeed::Reading reading = SchoolFeed::read(feed, from, to, QStringLiteral("WebUntis"));
    if (warning.isEmpty()) {
        QCOMPARE(lines(reading), expected);
        QVERIFY(reading.warning.isEmpty());
    } else {
        QCOMPARE(reading.dates.size(), SchoolFeed::MostDatesPerEntry);
        QVERIFY2(reading.warning.contains(warning), qPrintable(reading.warning));
    }
    if (QTest::currentDataTag() == QLatin1String("Moodle export"))
        QCOMPARE(reading.dates.first().description, QStringLiteral("Hochladen bis Mitternacht\nals PDF"));
}

void tst_SchoolFeed::refused()
{
    const QDate day(2027, 3, 15);
    // No calendar at all, an HTML login page instead of the feed, and a cut-off body.
    for (const QByteArray &feed : {QByteArray(), QByteArray("<html><body>Anmeldung</body></html>"), QByteArray("BEGIN:VCAL")}) {
        QVERIFY_THROWS_EXCEPTION(SchoolCalendarError, SchoolFeed::read(feed, day, day));
    }
    // Blocks cut off, closed in the wrong order, or in a place iCalendar does not allow.
    for (const QByteArray &body : {QByteArray("BEGIN:VEVENT\nDTSTART:20270315T080000\n"),
                                   QByteArray("BEGIN:VEVENT\nBEGIN:VALARM\nEND:VEVENT\nEND:VALARM\n"),
                                   QByteArray("BEGIN:VTIMEZONE\nBEGIN:VEVENT\nEND:VEVENT\nEND:VTIMEZONE\n")}) {
        QVERIFY_THROWS_EXCEPTION(SchoolCalendarError, SchoolFeed::read(calendar(body), day, day));
    }
    // A folded BEGIN line and lower-case names are iCalendar still.
    const QByteArray folded = calendar("BEGIN:VEV\n ENT\nDTSTART:20270315T090000\nSUMMARY:C\nbegin:valarm\nEND:VALARM\nEND:VEVENT\n");
    QCOMPARE(lines(SchoolFeed::read(folded, day, day)), QStringList{"Mo 15.03.2027 09:00 C"});
    // Broken entries are skipped, the rest is read.
    const QByteArray broken = calendar("BEGIN:VEVENT\nDTSTART:kaputt\nSUMMARY:A\nEND:VEVENT\n"
                                       "BEGIN:VEVENT\nDTSTART:20270315T080000\nRRULE:FREQ=NIE\nSUMMARY:B\nEND:VEVENT\n");
    QCOMPARE(lines(SchoolFeed::read(broken, day, day)), QStringList{"Mo 15.03.2027 08:00 B"});
}

void tst_SchoolFeed::settings()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n[SCHULKALENDER]\nName1=Alt\nAdresse1=https://alt\n"));
    const QList<SchoolCalendarSettings::Subscription> two = {{"WebUntis", "webcal://untis.example/ical?key=ä"},
                                                             {"Moodle", "https://moodle.example/export.ics"}};
    SchoolCalendarSettings::save(two);
    QCOMPARE(SchoolCalendarSettings::load(), two);
    QVERIFY(env.settingsText().startsWith(QStringLiteral("[Montag]\n1=Mathematik\n")));
    QVERIFY(env.settingsText().contains(QStringLiteral("Name2=Moodle\nAdresse2=https://moodle.example/export.ics\n")));
    SchoolCalendarSettings::save({});
    QVERIFY(SchoolCalendarSettings::load().isEmpty());
}

QTEST_GUILESS_MAIN(tst_SchoolFeed)
#include "tst_SchoolFeed.moc"
