// The rules of taking the timetable from a feed, and which lessons of a day a feed cancels.
#include "timetableimport/CancelledLessons.h"
#include "timetableimport/TimetableImport.h"

#include <QtTest>

namespace {

using Lessons = QList<SchoolDate>;
using Names = QHash<QString, QString>;

SchoolDate lesson(const QString &day, const QString &from, const QString &to, const char *summary, bool cancelled = false)
{
    SchoolDate lesson;
    lesson.start = QDateTime::fromString(day + u' ' + from, "d.M.yyyy HH:mm");
    lesson.end = QDateTime::fromString(day + u' ' + to, "d.M.yyyy HH:mm");
    lesson.summary = QLatin1String(summary);
    lesson.cancelled = cancelled;
    return lesson;
}

QList<QTime> times(const QStringList &texts)
{
    QList<QTime> result;
    std::transform(texts.begin(), texts.end(), std::back_inserter(result), [](const QString &text) { return QTime::fromString(text, "HH:mm"); });
    return result;
}

/// "M,M,E|D|||": the lessons of each day up to its last one.
QString describe(const TimetableGrid &grid)
{
    QStringList days;
    for (int c = 1; c <= 5; ++c) {
        QStringList lessons;
        for (int r = 1; r <= 10; ++r)
            lessons.append(grid.at(c, r));
        while (!lessons.isEmpty() && lessons.last().isEmpty())
            lessons.removeLast();
        days.append(lessons.join(u','));
    }
    return days.join(u'|');
}

// The holidays of every case.
const std::vector<HolidayStore::Days> kChristmas = {{QDate(2026, 12, 21), QDate(2027, 1, 5)}};

}

class tst_TimetableImport final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void propose_data();
    void propose();
    void marks_data();
    void marks();
};

void tst_TimetableImport::propose_data()
{
    QTest::addColumn<Lessons>("lessons");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("bells");
    QTest::addColumn<Names>("names");
    QTest::addColumn<QString>("weekA");
    QTest::addColumn<QString>("weekB"); // empty: the weeks do not alternate
    QTest::addColumn<int>("weeksRead");

    // Bell times from the distinct starts; a double period fills both rows, a cancelled lesson its slot.
    QTest::newRow("double period, cancelled")
        << Lessons{lesson("7.12.2026", "07:45", "09:15", "M"), lesson("8.12.2026", "08:35", "09:20", "D"),
                   lesson("7.12.2026", "09:35", "10:20", "E", true), lesson("14.12.2026", "07:45", "09:15", "M"),
                   lesson("14.12.2026", "09:35", "10:20", "E"), lesson("15.12.2026", "08:35", "09:20", "D")}
        << QDate(2026, 12, 7) << QStringList() << Names() << "M,M,E|,D|||" << "" << 2;
    // Even and odd weeks differ; a lesson left out of one A week is kept from the other.
    QTest::newRow("A/B, lesson left out")
        << Lessons{lesson("7.12.2026", "07:45", "08:30", "M"), lesson("7.12.2026", "08:35", "09:20", "Ph"),
                   lesson("14.12.2026", "07:45", "08:30", "M"), lesson("14.12.2026", "08:35", "09:20", "Ch"),
                   lesson("11.1.2027", "07:45", "08:30", "M"), lesson("18.1.2027", "08:35", "09:20", "Ph")}
        << QDate(2026, 12, 9) << QStringList() << Names() << "M,Ph||||" << "M,Ch||||" << 4;
    // The holidays' weeks are passed over, and so is a week without lessons.
    QTest::newRow("holidays and empty weeks")
        << Lessons{lesson("7.12.2026", "07:45", "08:30", "M"), lesson("28.12.2026", "07:45", "08:30", "Ferienkurs"),
                   lesson("11.1.2027", "07:45", "08:30", "M")}
        << QDate(2026, 12, 7) << QStringList() << Names() << "M||||" << "" << 2;
    // Corrected bell times: a lesson between two goes to the earlier; short forms get their names.
    QTest::newRow("bell times and short forms")
        << Lessons{lesson("8.12.2026", "08:10", "08:55", "M"), lesson("8.12.2026", "09:00", "09:45", "D")}
        << QDate(2026, 12, 7) << QStringList{"08:00", "08:50"} << Names{{"M", "Mathematik"}} << "|Mathematik,D|||"
        << "" << 1;
    // On a weekend the next week is the first, and last Friday's lessons do not count.
    QTest::newRow("weekend")
        << Lessons{lesson("4.12.2026", "07:45", "08:30", "Alt"), lesson("7.12.2026", "07:45", "08:30", "M"),
                   lesson("14.12.2026", "07:45", "08:30", "D")}
        << QDate(2026, 12, 5) << QStringList() << Names() << "M||||" << "D||||" << 2;
}

void tst_TimetableImport::propose()
{
    QFETCH(Lessons, lessons);
    QFETCH(QDate, today);
    QFETCH(QStringList, bells);
    QFETCH(Names, names);
    QFETCH(QString, weekA);
    QFETCH(QString, weekB);
    QFETCH(int, weeksRead);
    const TimetableImport::Proposal proposal = TimetableImport::propose(lessons, today, kChristmas, {}, {times(bells), names});
    QCOMPARE(describe(proposal.weekA), weekA);
    QCOMPARE(proposal.alternating, !weekB.isEmpty());
    QCOMPARE(describe(proposal.weekB), weekB.isEmpty() ? weekA : weekB);
    QCOMPARE(proposal.mondays.size(), weeksRead);
    QCOMPARE(proposal.weeks.reference, TimetableImport::firstMonday(today));
    QCOMPARE(proposal.weeks.reference.dayOfWeek(), int(Qt::Monday));
}

void tst_TimetableImport::marks_data()
{
    QTest::addColumn<Lessons>("feed");
    QTest::addColumn<QStringList>("timetable");
    QTest::addColumn<QStringList>("bells");
    QTest::addColumn<QString>("expected"); // "row:tip" joined by "|"

    const QStringList day = {"Mathematik", "Mathematik", "Englisch", "Deutsch"};
    const QStringList bells = {"07:45", "08:35", "09:35", "10:30"};
    // At its bell time and subject; only that lesson.
    QTest::newRow("cancelled") << Lessons{lesson("7.12.2026", "09:35", "10:20", "E", true), lesson("7.12.2026", "10:30", "11:15", "D")}
                               << day << bells << "3:fällt aus";
    QTest::newRow("double period") << Lessons{lesson("7.12.2026", "07:45", "09:15", "Mathematik", true)} << day << bells
                                   << "1:fällt aus|2:fällt aus";
    // Another subject at that time, or another day, strikes nothing.
    QTest::newRow("other subject") << Lessons{lesson("7.12.2026", "07:45", "08:30", "Physik", true),
                                              lesson("8.12.2026", "09:35", "10:20", "E", true)}
                                   << day << bells << "";
    // Without bell times: the second Mathematik of the feed is the second of the timetable.
    QTest::newRow("by order") << Lessons{lesson("7.12.2026", "08:00", "08:45", "Mathematik"), lesson("7.12.2026", "11:00", "11:45", "Mathematik", true)}
                              << QStringList{"Mathematik", "Deutsch", "Mathematik"} << QStringList() << "3:fällt aus";
    // A lesson moved to another day names its new time.
    SchoolDate moved = lesson("9.12.2026", "11:30", "12:15", "Deutsch");
    moved.replaces = QDateTime(QDate(2026, 12, 7), QTime(10, 30));
    QTest::newRow("moved") << Lessons{moved} << day << bells << "4:fällt aus – verlegt auf Mi 09.12. 11:30";
}

void tst_TimetableImport::marks()
{
    QFETCH(Lessons, feed);
    QFETCH(QStringList, timetable);
    QFETCH(QStringList, bells);
    QFETCH(QString, expected);
    const QMap<int, QString> marks = CancelledLessons::marks(feed, QDate(2026, 12, 7), timetable, {times(bells), {{"E", "Englisch"}}});
    QStringList found;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it)
        found.append(QString::number(it.key()) + u':' + it.value());
    QCOMPARE(found.join(u'|'), expected);
}

QTEST_GUILESS_MAIN(tst_TimetableImport)
#include "tst_TimetableImport.moc"
