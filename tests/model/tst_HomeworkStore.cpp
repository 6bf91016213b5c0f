// Homework by due date: adding, listing, marking, deleting and pruning in the settings file.
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "recurring/RecurringHomework.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_HomeworkStore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addWritesTheFourEntries();
    void pruneDropsPastDatesAndSorts();
    void pruneKeepsAnUnreadableKey();
    void listTextsFollowTheSubjectRules();
    void doneMarksAndDeleting();
    void removeSectionEntryRewritesTheSection();
    void sameFileUnderEitherName();
    void allHomeworkInOneRead();
    void everyWriteIsToldOnce();
};

void tst_HomeworkStore::addWritesTheFourEntries()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[DEFAULT]\nEnglisch=/usr/bin/writer?vokabeln.txt\n"));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), QStringLiteral("Vokabeln"));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Mathematik"), QStringLiteral("S. 12"));
    QCOMPARE(env.settingsText(), QStringLiteral("[DEFAULT]\nEnglisch=/usr/bin/writer?vokabeln.txt\n"
                                                "[Dates]\n08.12.2026=1\n"
                                                "[08.12.2026]\nEnglisch=Vokabeln\nEnglischExec=/usr/bin/writer?vokabeln.txt\n"
                                                "Mathematik=S. 12\nMathematikExec=\n"));
    // Entering homework again for the same subject and date replaces its text.
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Mathematik"), QStringLiteral("S. 14"));
    QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Mathematik")), QStringLiteral("S. 14"));
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 8)), QStringList({"Englisch", "Mathematik"}));
}

void tst_HomeworkStore::pruneDropsPastDatesAndSorts()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    env.writeSettings(QStringLiteral("[Dates]\n15.12.2026=1\n07.12.2026=1\n08.12.2026=1\n04.01.2027=1\n"
                                     "[07.12.2026]\nDeutsch=Aufsatz\nDeutsch2=1\nDeutschExec=\n"
                                     "[08.12.2026]\nMathe=x\n"));
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(HomeworkStore::dueDates(), QStringList({"08.12.2026", "15.12.2026", "04.01.2027"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[08.12.2026]\nMathe=x\n"
                                                "[Dates]\n08.12.2026=1\n15.12.2026=1\n04.01.2027=1\n"));
    // The day after, 08.12.2026 goes with its section too.
    Clock::setNow(QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(HomeworkStore::dueDates(), QStringList({"15.12.2026", "04.01.2027"}));
    QVERIFY(!env.settingsText().contains(QStringLiteral("Mathe=x")));
    // Equal dates keep their order; dates written without leading zeros sort by date.
    env.writeSettings(QStringLiteral("[Dates]\n9.1.2027=1\n05.01.2027=1\n09.01.2027=1\n"));
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(HomeworkStore::dueDates(), QStringList({"05.01.2027", "9.1.2027", "09.01.2027"}));
}

void tst_HomeworkStore::pruneKeepsAnUnreadableKey()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    env.writeSettings(QStringLiteral("[Dates]\n01.12.2026=1\nkaputt=7\n15.12.2026=1\n10.12.2026=1\n"
                                     "[01.12.2026]\nA=x\n[kaputt]\nB=y\n"));
    // The key is named to the caller, stays where it stood with its value and
    // section, and the readable dates are pruned and sorted around it.
    QCOMPARE(HomeworkStore::PruneHomeworkDates(), QStringList{"kaputt"});
    const QString pruned = QStringLiteral("[kaputt]\nB=y\n[Dates]\nkaputt=7\n10.12.2026=1\n15.12.2026=1\n");
    QCOMPARE(env.settingsText(), pruned);
    // Listing the due dates passes over it.
    QCOMPARE(HomeworkStore::sortedDueDates(), QStringList({"10.12.2026", "15.12.2026"}));
    // A second pruning changes nothing.
    QCOMPARE(HomeworkStore::PruneHomeworkDates(), QStringList{"kaputt"});
    QCOMPARE(env.settingsText(), pruned);
}

void tst_HomeworkStore::listTextsFollowTheSubjectRules()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dates]\n08.12.2026=1\n"
                                     "[08.12.2026]\nMathe2=stored but hidden\nDeutsch=a\nDeutsch2=1\n"
                                     "Physik=b\nPhysik2=0\nPhysikExec=\nXExecY=z\nLatein=\nMusikE=c\n"
                                     "Gemeinschaftskunde=d\nGemeinschaftskunde2=1\n"));
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 8)),
             QStringList({"Deutsch        E", "Physik", "Latein", "MusikE", "GemeinschaftskundeE"}));
    // Reading the texts back: a final "E" is a done mark, also for a subject that ends in "E".
    QCOMPARE(HomeworkStore::subjectOfListText(QStringLiteral("Deutsch        E")), QStringLiteral("Deutsch"));
    QCOMPARE(HomeworkStore::subjectOfListText(QStringLiteral("GemeinschaftskundeE")), QStringLiteral("Gemeinschaftskunde"));
    QCOMPARE(HomeworkStore::subjectOfListText(QStringLiteral("MusikE")), QStringLiteral("Musik"));
    QCOMPARE(HomeworkStore::subjectOfListText(QStringLiteral("Physik")), QStringLiteral("Physik"));
    // The "E" column: 14 characters padded to 15, 15 and more get it directly behind.
    QCOMPARE(HomeworkStore::DoneItemText(QStringLiteral("Kt. Religion12")), QStringLiteral("Kt. Religion12 E"));
    QCOMPARE(HomeworkStore::DoneItemText(QStringLiteral("Kt. Religion123")), QStringLiteral("Kt. Religion123E"));
}

void tst_HomeworkStore::doneMarksAndDeleting()
{
    TestEnvironment env;
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Deutsch"), QStringLiteral("a"));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Physik"), QStringLiteral("b"));
    HomeworkStore::setDone(QStringLiteral("08.12.2026"), QStringLiteral("Deutsch"), true);
    HomeworkStore::setDone(QStringLiteral("08.12.2026"), QStringLiteral("Physik"), true);
    HomeworkStore::setDone(QStringLiteral("08.12.2026"), QStringLiteral("Physik"), false);
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 8)), QStringList({"Deutsch        E", "Physik"}));
    QVERIFY(env.settingsText().contains(QStringLiteral("Physik2=0\n")));
    // Deleting one of two items keeps its done entry, so homework entered again shows as done.
    HomeworkStore::deleteHomework(QStringLiteral("08.12.2026"), QStringLiteral("Deutsch"));
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 8)), QStringList({"Physik"}));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("Deutsch"), QStringLiteral("neu"));
    QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 8)), QStringList({"Physik", "Deutsch        E"}));
    // Deleting the last item of a date removes the date and its whole section.
    HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("Kunst"), QStringLiteral("c"));
    HomeworkStore::deleteDueDate(QStringLiteral("08.12.2026"));
    QCOMPARE(HomeworkStore::dueDates(), QStringList{"09.12.2026"});
    QCOMPARE(env.settingsText(), QStringLiteral("[09.12.2026]\nKunst=c\nKunstExec=\n[Dates]\n09.12.2026=1\n"));
}

void tst_HomeworkStore::removeSectionEntryRewritesTheSection()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n01.02.2026=a\n03.03.2026=\n15.04.2026=c\n[X]\ny=1\n"));
    // A key differing only in case removes nothing, but the section is rewritten
    // at the end of the file and loses its empty entry.
    HomeworkStore::RemoveSectionEntry(QStringLiteral("dezuvedired.ini"), QStringLiteral("alarm"), QStringLiteral("01.02.2026 "));
    QCOMPARE(env.settingsText(), QStringLiteral("[X]\ny=1\n[alarm]\n01.02.2026=a\n15.04.2026=c\n"));
    HomeworkStore::RemoveSectionEntry(QStringLiteral("dezuvedired.ini"), QStringLiteral("ALARM"), QStringLiteral("01.02.2026"));
    QCOMPARE(env.settingsText(), QStringLiteral("[X]\ny=1\n[ALARM]\n15.04.2026=c\n"));
    env.writeSettings(QStringLiteral("[S]\nKey=1\n"));
    HomeworkStore::RemoveSectionEntry(QStringLiteral("dezuvedired.ini"), QStringLiteral("S"), QStringLiteral("key"));
    QCOMPARE(env.settingsText(), QStringLiteral("[S]\nKey=1\n"));
}

void tst_HomeworkStore::sameFileUnderEitherName()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("Dezuvedired.ini"), "[Dates]\r\n08.12.2026=1\r\n");
    QCOMPARE(HomeworkStore::dueDates(), QStringList{"08.12.2026"});
    HomeworkStore::RemoveSectionEntry(QStringLiteral("dezuvedired.ini"), QStringLiteral("Dates"), QStringLiteral("08.12.2026"));
    QCOMPARE(QDir(env.dir()).entryList(QDir::Files), QStringList{"Dezuvedired.ini"});
    QVERIFY(HomeworkStore::dueDates().isEmpty());
    // Without any file the first write creates it under the upper-case name.
    QFile::remove(env.path(QStringLiteral("Dezuvedired.ini")));
    HomeworkStore::addHomework(QStringLiteral("08.12.2026"), QStringLiteral("A"), QStringLiteral("b"));
    QCOMPARE(QDir(env.dir()).entryList(QDir::Files), QStringList{"DEZUVEDIRED.INI"});
}

QTEST_GUILESS_MAIN(tst_HomeworkStore)
#include "tst_HomeworkStore.moc"

void tst_HomeworkStore::allHomeworkInOneRead()
{
    TestEnvironment env;
    // A date listed twice and a subject written twice count once; "Dates"
    // decides the order and which sections count; a key that is no date is left out.
    env.writeSettings(QStringLiteral("[Dates]\n10.12.2026=1\nkaputt=1\n09.12.2026=1\n10.12.2026=1\n"
                                     "[09.12.2026]\nDeutsch=Gedicht\nDeutsch2=1\nDeutschExec=x\n"
                                     "[10.12.2026]\nMathe=S. 3\nMATHE=doppelt\nBio=\n[11.12.2026]\nKunst=nicht gelistet\n"));
    using H = Homework;
    QCOMPARE(HomeworkStore::allHomework(),
             QList<H>({H{"09.12.2026", QDate(2026, 12, 9), "Deutsch", "Gedicht", true}, H{"10.12.2026", QDate(2026, 12, 10), "Mathe", "S. 3", false},
                       H{"10.12.2026", QDate(2026, 12, 10), "Bio", "", false}}));
    QCOMPARE(HomeworkStore::homeworkOn(QDate(2026, 12, 9)).size(), 1);
    QVERIFY(HomeworkStore::homeworkOn(QDate(2026, 12, 11)).isEmpty());
}

void tst_HomeworkStore::everyWriteIsToldOnce()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n[Dates]\n10.12.2026=1\n[10.12.2026]\nDeutsch=alt\n"));
    QList<HomeworkChange> heard;
    const int id = HomeworkStore::addChangeObserver([&](const HomeworkChange &change) { heard.append(change); });
    using K = HomeworkChange::Kind;
    const QString day = QStringLiteral("15.12.2026");
    const struct
    {
        const char *what;
        std::function<void()> write;
        QList<HomeworkChange> told;
    } cases[] = {
        {"entry dialog adds", [&] { HomeworkStore::addHomework(day, "Kunst", "Bild"); }, {{K::Entered, day, "Kunst"}}},
        {"text edited", [&] { HomeworkStore::writeText(day, "Kunst", "Skizze"); }, {{K::Changed, day, "Kunst"}}},
        {"marked done", [&] { HomeworkStore::setDone(day, "Kunst", true); }, {{K::Changed, day, "Kunst"}}},
        {"one deleted", [&] { HomeworkStore::deleteHomework(day, "Kunst"); }, {{K::Deleted, day, "Kunst"}}},
        {"date deleted", [&] { HomeworkStore::deleteDueDate(day); }, {{K::Deleted, day, ""}}},
        {"added and removed in one write",
         [&] {
             HomeworkStore::edit([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
                 HomeworkStore::addHomework(ini, changes, day, "Kunst", "Bild");
                 HomeworkStore::setDone(ini, changes, day, "Kunst", true);
                 HomeworkStore::removeHomework(ini, changes, day, "Kunst");
             });
             QVERIFY(!HomeworkStore::dueDates().contains(day)); // the emptied date goes too
         },
         {{K::Entered, day, "Kunst"}, {K::Changed, day, "Kunst"}, {K::Deleted, day, "Kunst"}}},
        {"past date pruned", [] { HomeworkStore::PruneHomeworkDates(); }, {{K::Pruned, "10.12.2026", ""}}},
        {"rule enters", [] { RecurringHomework::addRule("Mathe", "Übung"); RecurringHomework::apply(); },
         {{K::Entered, "14.12.2026", "Mathe"}}},
        {"nothing due", [] { HomeworkStore::PruneHomeworkDates(); RecurringHomework::apply(); }, {}},
    };
    for (const auto &c : cases) {
        heard.clear();
        c.write();
        QVERIFY2(heard == c.told, c.what);
    }
    HomeworkStore::removeChangeObserver(id);
    HomeworkStore::addHomework(day, "Kunst", "Bild");
    QVERIFY(heard.isEmpty());
}
