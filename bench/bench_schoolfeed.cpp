// Reading a school's feed of 5 000 entries: a year of a WebUntis timetable as weekly
// lessons with exceptions and moved or cancelled single lessons, plus all-day dates,
// expanded from yesterday to 8 weeks ahead as the band and the window need it.
// Aim: one reading well within 100 ms, so that a refresh never holds up the window.
//
//   bench_schoolfeed [--benchmark_filter=...]
#include "schoolcalendar/SchoolFeed.h"

#include <benchmark/benchmark.h>

namespace {

const QByteArray kZone = "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"
                         "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nDTSTART:19700329T020000\r\n"
                         "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
                         "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nDTSTART:19701025T030000\r\n"
                         "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

/// `entries` VEVENTs: each tenth a weekly lesson of the school year with two
/// EXDATEs, each tenth a moved or cancelled single lesson, the rest single dates.
QByteArray feed(int entries)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//DE\r\n" + kZone;
    const QDate first(2026, 8, 17);
    for (int i = 0; i < entries; ++i) {
        const QDate day = first.addDays(i % 300);
        const QByteArray when = day.toString(QStringLiteral("yyyyMMdd")).toLatin1() + 'T' + QByteArray::number(7 + i % 8).rightJustified(2, '0') + "0000";
        const QByteArray until = when.left(9) + QByteArray::number(8 + i % 8).rightJustified(2, '0') + "3000";
        text += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i % 10 == 1 ? i - 1 : i) + "@bench\r\n";
        if (i % 10 == 0) {
            text += "DTSTART;TZID=Europe/Berlin:" + when + "\r\nDTEND;TZID=Europe/Berlin:" + until
                    + "\r\nRRULE:FREQ=WEEKLY;UNTIL=20270720T000000Z\r\nEXDATE;TZID=Europe/Berlin:" + day.addDays(70).toString(QStringLiteral("yyyyMMdd")).toLatin1()
                    + when.mid(8) + "\r\nEXDATE;TZID=Europe/Berlin:" + day.addDays(133).toString(QStringLiteral("yyyyMMdd")).toLatin1() + when.mid(8) + "\r\n";
        } else if (i % 10 == 1) {
            const QByteArray moved = day.addDays(-1 + 7 * 17).toString(QStringLiteral("yyyyMMdd")).toLatin1() + when.mid(8);
            text += "RECURRENCE-ID;TZID=Europe/Berlin:" + moved + "\r\nDTSTART;TZID=Europe/Berlin:" + moved + "\r\nSTATUS:CANCELLED\r\n";
        } else if (i % 10 == 2) {
            text += "DTSTART;VALUE=DATE:" + when.left(8) + "\r\nDTEND;VALUE=DATE:" + day.addDays(5).toString(QStringLiteral("yyyyMMdd")).toLatin1() + "\r\n";
        } else {
            text += "DTSTART;TZID=Europe/Berlin:" + when + "\r\nDTEND;TZID=Europe/Berlin:" + until + "\r\n";
        }
        text += "SUMMARY:Fach " + QByteArray::number(i % 17) + "\r\nLOCATION:R " + QByteArray::number(100 + i % 50)
                + "\r\nDESCRIPTION:Stunde " + QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

void BM_ReadFeed(benchmark::State &state)
{
    const QByteArray text = feed(int(state.range(0)));
    const QDate today(2026, 12, 7);
    qsizetype dates = 0;
    for (auto _ : state) {
        const SchoolFeed::Reading reading = SchoolFeed::read(text, today.addDays(-1), today.addDays(56), QStringLiteral("WebUntis"));
        dates = reading.dates.size();
        benchmark::DoNotOptimize(dates);
    }
    state.counters["dates"] = double(dates);
    state.counters["feed_kb"] = double(text.size()) / 1024;
}
BENCHMARK(BM_ReadFeed)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

}

BENCHMARK_MAIN();
