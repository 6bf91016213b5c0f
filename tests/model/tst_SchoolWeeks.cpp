// A and B weeks: counting the weeks, the lessons of a date and the next lesson in the right week.
#include "model/SchoolWeeks.h"
#include "model/SettingsFile.h"
#include "model/TimetableStore.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_SchoolWeeks final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void weekOf_data();
    void weekOf();
    void lessonsFollowTheWeek();
    void savingBothWeeks();
};

void tst_SchoolWeeks::weekOf_data()
{
    QTest::addColumn<QString>("wochen");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("week");
    // Reference Wednesday 9.12.2026 (an A week); Christmas holidays 23.12.2026 to 5.1.2027, so only
    // the week of 28.12. lies wholly inside them.
    const QString calendar = QStringLiteral("AB=1\nBezug=9.12.2026\nZaehlung=Kalender\n");
    const QString school = QStringLiteral("AB=1\nBezug=9.12.2026\nZaehlung=Schulwochen\n");
    QTest::newRow("off") << QStringLiteral("AB=0\nBezug=9.12.2026\n") << QDate(2026, 12, 14) << "A";
    QTest::newRow("same week") << calendar << QDate(2026, 12, 7) << "A";
    QTest::newRow("next week") << calendar << QDate(2026, 12, 14) << "B";
    QTest::newRow("week before") << calendar << QDate(2026, 12, 4) << "B";
    // 2026 has an ISO week 53 (28.12.): weeks count from the reference, so 4.1.2027 stays A.
    QTest::newRow("week 53") << calendar << QDate(2026, 12, 28) << "B";
    QTest::newRow("across new year") << calendar << QDate(2027, 1, 4) << "A";
    QTest::newRow("calendar, later") << calendar << QDate(2027, 1, 11) << "B";
    // Counting school weeks, the holiday week keeps the week before it and then does not count.
    QTest::newRow("school weeks, before holidays") << school << QDate(2026, 12, 21) << "A";
    QTest::newRow("school weeks, in holidays") << school << QDate(2026, 12, 30) << "A";
    QTest::newRow("school weeks, after holidays") << school << QDate(2027, 1, 4) << "B";
    QTest::newRow("school weeks, later") << school << QDate(2027, 1, 11) << "A";
}

void tst_SchoolWeeks::weekOf()
{
    QFETCH(QString, wochen);
    QFETCH(QDate, date);
    QFETCH(QString, week);
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[FERIEN]\nWEIHNACHTEN1=23.12.2026\nWEIHNACHTEN2=5.1.2027\n[WOCHEN]\n") + wochen);
    const Week got = SettingsFile::read([&](const ProfileFile &ini) { return SchoolWeeks::weekOf(ini, date); });
    QCOMPARE(SchoolWeeks::letter(got), week);
}

void tst_SchoolWeeks::lessonsFollowTheWeek()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n2=Physik\n[Dienstag]\n1=Deutsch\n"
                                     "[Montag B]\n1=Mathematik\n2=Chemie\n"));
    const QDate mondayA(2026, 12, 7), mondayB(2026, 12, 14), tuesdayB(2026, 12, 15);
    // Without the option the B sections are not read.
    QCOMPARE(TimetableStore::lessonsOn(mondayB).mid(0, 2), QStringList({"Mathematik", "Physik"}));
    QVERIFY(!TimetableStore::CollectSubjects().contains(QStringLiteral("Chemie")));
    SchoolWeeks::write({true, QDate(2026, 12, 9), SchoolWeeks::Counting::Calendar});
    QCOMPARE(TimetableStore::lessonsOn(mondayA).mid(0, 2), QStringList({"Mathematik", "Physik"}));
    QCOMPARE(TimetableStore::lessonsOn(mondayB).mid(0, 2), QStringList({"Mathematik", "Chemie"}));
    // A day without a B section has week A's lessons in both weeks.
    QCOMPARE(TimetableStore::lessonsOn(tuesdayB).first(), QStringLiteral("Deutsch"));
    QVERIFY(TimetableStore::lessonsOn(QDate(2026, 12, 12)).isEmpty());
    QVERIFY(TimetableStore::CollectSubjects().contains(QStringLiteral("Chemie")));
    // The next lesson of a subject is looked for in the week each date lies in.
    const auto next = [](const QString &subject, QDate after) {
        return SettingsFile::read([&](const ProfileFile &ini) { return TimetableStore::NextLesson(ini, subject, after); });
    };
    QCOMPARE(next(QStringLiteral("Chemie"), mondayA), std::optional<QDate>(mondayB));
    QCOMPARE(next(QStringLiteral("Physik"), mondayA), std::optional<QDate>(QDate(2026, 12, 21)));
    QCOMPARE(next(QStringLiteral("Mathematik"), mondayA), std::optional<QDate>(mondayB));
    QCOMPARE(SettingsFile::read([](const ProfileFile &ini) { return SchoolWeeks::read(ini); }),
             (SchoolWeeks::Options{true, QDate(2026, 12, 9), SchoolWeeks::Counting::Calendar}));
    // Counting school weeks, two holiday weeks both repeat week B: the search reaches past them.
    env.writeSettings(QStringLiteral("[Montag]\n1=Physik\n[Montag B]\n1=Chemie\n[WOCHEN]\nAB=1\nBezug=9.12.2026\n"
                                     "Zaehlung=Schulwochen\n[FERIEN]\nWEIHNACHTEN1=19.12.2026\nWEIHNACHTEN2=6.1.2027\n"));
    QCOMPARE(next(QStringLiteral("Physik"), QDate(2026, 12, 18)), std::optional<QDate>(QDate(2027, 1, 4)));
}

void tst_SchoolWeeks::savingBothWeeks()
{
    TestEnvironment env;
    TimetableGrid weekA, weekB;
    weekB.at(1, 1) = QStringLiteral("Chemie");
    const SchoolWeeks::Options off{false, QDate(2026, 12, 9), SchoolWeeks::Counting::Calendar};
    // Off in a file without weeks: week A alone, as ever; once on, week B and the section stay written.
    TimetableStore::SaveTimetables(weekA, weekB, off);
    QVERIFY(!env.settingsText().contains(QStringLiteral(" B]")) && !env.settingsText().contains(QStringLiteral("WOCHEN")));
    TimetableStore::SaveTimetables(weekA, weekB, {true, QDate(2026, 12, 9), SchoolWeeks::Counting::Calendar});
    TimetableStore::SaveTimetables(weekA, weekB, off);
    QCOMPARE(TimetableStore::readSchoolDay(QStringLiteral("Montag"), Week::B).first(), QStringLiteral("Chemie"));
    QCOMPARE(SchoolWeeks::read(), off);
}

QTEST_GUILESS_MAIN(tst_SchoolWeeks)
#include "tst_SchoolWeeks.moc"
