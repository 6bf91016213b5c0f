// The timetable sections, the grid model and the subject set.
#include "model/HolidayStore.h"
#include "model/TimetableStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_TimetableStore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void saveAndLoadRoundTrip();
    void subjectSet();
    void holidayPeriods();
    void nextLesson();
};

void tst_TimetableStore::saveAndLoadRoundTrip()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n11=extra\nNotiz=bleibt\n"));
    TimetableGrid grid;
    TimetableStore::LoadTimetable(grid);
    // A missing file or key is an empty slot; the headers are set all the same.
    QCOMPARE(grid.at(0, 0), QStringLiteral("Zeit"));
    QCOMPARE(grid.at(0, 10), QStringLiteral("10"));
    QCOMPARE(grid.at(4, 0), QStringLiteral("Donnerstag"));
    QVERIFY(grid.at(1, 1).isEmpty());
    grid.at(1, 1) = QStringLiteral("Mathematik");
    grid.at(1, 3) = QStringLiteral("Ev. Religion");
    grid.at(5, 10) = QStringLiteral("Französisch");
    TimetableStore::SaveTimetable(grid);
    // All ten keys of every day are written, empty ones too; other keys stay.
    const QString text = env.settingsText();
    QVERIFY(text.startsWith(QStringLiteral("[Montag]\n11=extra\nNotiz=bleibt\n1=Mathematik\n2=\n3=Ev. Religion\n4=\n")));
    QVERIFY(text.contains(QStringLiteral("[Freitag]\n1=\n2=\n3=\n4=\n5=\n6=\n7=\n8=\n9=\n10=Französisch\n")));
    TimetableGrid again;
    TimetableStore::LoadTimetable(again);
    QCOMPARE(again, grid);
    QCOMPARE(TimetableStore::readSchoolDay(QStringLiteral("Montag")).mid(0, 3), QStringList({"Mathematik", "", "Ev. Religion"}));
}

void tst_TimetableStore::subjectSet()
{
    TestEnvironment env;
    // Lesson 1 is read before lesson 2, so Tuesday's spelling wins.
    env.writeSettings(QStringLiteral("[Montag]\n2=Mathematik\n3=Ärger\n11=Zusatz\n[Dienstag]\n1=mathematik\n2=Deutsch\n"
                                     "[Mittwoch]\n4=biologie\n5=FREI\n[Freitag]\n10=Zeichnen\n"));
    QCOMPARE(TimetableStore::CollectSubjects(),
             QStringList({"Ärger", "biologie", "Deutsch", "FREI", "mathematik", "Zeichnen"}));
    env.writeSettings(QStringLiteral("[Montag]\n1=FREI\n[Freitag]\n9=FREI\n"));
    QCOMPARE(TimetableStore::CollectSubjects(), QStringList{"FREI"});
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QVERIFY(TimetableStore::CollectSubjects().isEmpty());
    // Weekday names for captions follow Qt's day numbers.
    QCOMPARE(TimetableStore::weekdayName(QDate(2026, 12, 6).dayOfWeek()), QStringLiteral("Sonntag"));
    QCOMPARE(TimetableStore::weekdayName(QDate(2026, 12, 7).dayOfWeek()), QStringLiteral("Montag"));
}

void tst_TimetableStore::holidayPeriods()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[FERIEN]\nWEIHNACHTEN1=23.12.2026\nWEIHNACHTEN2=6.1.2027\n"
                                     "SOMMER1=1.8.2026\nSOMMER2=\nHERBST1=kaputt\nHERBST2=1.11.2026\n"
                                     "OSTERN1=10.4.2026\nOSTERN2=1.4.2026\n"));
    const auto holidayOn = [](QDate day) {
        Clock::setNow(day.startOfDay());
        return HolidayStore::IsHolidayToday();
    };
    // Both bounds count; the days around them do not.
    QVERIFY(holidayOn(QDate(2026, 12, 23)));
    QVERIFY(holidayOn(QDate(2027, 1, 6)));
    QVERIFY(holidayOn(QDate(2026, 12, 31)));
    QVERIFY(!holidayOn(QDate(2026, 12, 22)));
    QVERIFY(!holidayOn(QDate(2027, 1, 7)));
    // An empty or mistyped bound, or a reversed period, contains no day.
    QVERIFY(!holidayOn(QDate(2026, 8, 2)));
    QVERIFY(!holidayOn(QDate(2026, 10, 20)));
    QVERIFY(!holidayOn(QDate(2026, 4, 5)));
    // Without the section no day is a holiday, not even the default dates of 1990.
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    QVERIFY(!holidayOn(QDate(1990, 1, 1)));
    QVERIFY(!holidayOn(QDate(1990, 1, 2)));
    // The twelve fields are saved in row order, empty ones too.
    HolidayStore::SaveHolidays({"1.2.2027", "5.2.2027"});
    QCOMPARE(env.settingsText(), QStringLiteral("[FERIEN]\nWINTER1=1.2.2027\nWINTER2=5.2.2027\nOSTERN1=\nOSTERN2=\n"
                                                "PFINGSTEN1=\nPFINGSTEN2=\nSOMMER1=\nSOMMER2=\nHERBST1=\nHERBST2=\n"
                                                "WEIHNACHTEN1=\nWEIHNACHTEN2=\n"));
    QCOMPARE(HolidayStore::LoadHolidays().mid(0, 3), QStringList({"1.2.2027", "5.2.2027", ""}));
}

QTEST_GUILESS_MAIN(tst_TimetableStore)
#include "tst_TimetableStore.moc"

void tst_TimetableStore::nextLesson()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n2=Mathe\n[Mittwoch]\n5=Mathe\n1=Bio\n"));
    const std::vector<HolidayStore::Days> christmas = {{QDate(2026, 12, 19), QDate(2027, 1, 6)}};
    const struct
    {
        const char *subject;
        QDate after;
        bool holidays;
        QDate expected; // invalid: none
    } cases[] = {
        {"Mathe", QDate(2026, 12, 7), false, QDate(2026, 12, 9)},   // Monday: Wednesday's lesson
        {"Mathe", QDate(2026, 12, 11), false, QDate(2026, 12, 14)}, // across the weekend
        {"mathe", QDate(2026, 12, 7), false, QDate()},              // letter case counts
        {"Bio", QDate(2026, 12, 9), false, QDate(2026, 12, 16)},    // only on that weekday: a week later
        {"Mathe", QDate(2026, 12, 18), true, QDate(2027, 1, 11)},   // lessons in the holidays passed over
        {"Mathe", QDate(2026, 12, 18), false, QDate(2026, 12, 21)},
        {"Sport", QDate(2026, 12, 7), false, QDate()},
    };
    for (const auto &c : cases) {
        const auto found = SettingsFile::read([&](const ProfileFile &ini) {
            return TimetableStore::NextLesson(ini, QString::fromUtf8(c.subject), c.after, c.holidays ? christmas : std::vector<HolidayStore::Days>{});
        });
        QCOMPARE(found.value_or(QDate()), c.expected);
    }
}
