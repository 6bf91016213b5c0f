// Recurring homework without windows: the rules and the homework they enter on the next lessons.
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/Clock.h"
#include "recurring/RecurringHomework.h"
#include "support/TestEnvironment.h"

#include <QtTest>

namespace {
// Mathematik on Mondays only, Deutsch on Tuesdays; Christmas from 19.12.2026 to 6.1.2027.
const QString kYear = QStringLiteral("[Montag]\n2=Mathematik\n[Dienstag]\n1=Deutsch\n3=[Bio=Chemie\n"
                                     "[FERIEN]\nWEIHNACHTEN1=19.12.2026\nWEIHNACHTEN2=6.1.2027\n"
                                     "[DEFAULT]\nMathematik=/usr/bin/rechner?\n");

void today(int year, int month, int day)
{
    Clock::setNow(QDateTime(QDate(year, month, day), QTime(9, 0)));
}

QString text(const char *dueDate, const QString &subject)
{
    return HomeworkStore::readText(QString::fromLatin1(dueDate), subject);
}

QStringList datesIndex()
{
    return HomeworkStore::dueDates();
}
}

class tst_RecurringHomework final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entersOnTheNextLesson();
    void keepsTheHomeworkThere();
    void endingARule();
    void twoRulesOfOneSubject();
    void subjectOutOfTheTimetable();
    void followsTheWeek();
};

void tst_RecurringHomework::entersOnTheNextLesson()
{
    TestEnvironment env;
    env.writeSettings(kYear + QStringLiteral("[Dates]\n16.12.2026=1\n[16.12.2026]\nEnglisch=Brief\n"));
    const int rule = RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen"));
    QCOMPARE(RecurringHomework::rules(),
             QList<RecurringHomework::Rule>({{rule, QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen")}}));

    // On a Friday the next lesson is Monday, across the weekend; the homework
    // is entered as the entry dialog enters it, and "Dates" stays in date order.
    today(2026, 12, 11);
    QCOMPARE(RecurringHomework::apply(), 1);
    QCOMPARE(text("14.12.2026", QStringLiteral("Mathematik")), QStringLiteral("Vokabeln lernen"));
    QCOMPARE(text("14.12.2026", QStringLiteral("MathematikExec")), QStringLiteral("/usr/bin/rechner?"));
    QCOMPARE(datesIndex(), QStringList({QStringLiteral("14.12.2026"), QStringLiteral("16.12.2026")}));

    // A second run on the same day finds nothing to do and leaves the file alone.
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    QCOMPARE(RecurringHomework::apply(), 0);
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);

    // The Mondays of the Christmas holidays are skipped: the next lesson after
    // them is on 11.01.2027; a start inside the holidays gives the same.
    for (const QDate day : {QDate(2026, 12, 15), QDate(2026, 12, 28)}) {
        today(day.year(), day.month(), day.day());
        HomeworkStore::PruneHomeworkDates();
        QCOMPARE(RecurringHomework::apply(), day == QDate(2026, 12, 15) ? 1 : 0);
        QCOMPARE(text("11.01.2027", QStringLiteral("Mathematik")), QStringLiteral("Vokabeln lernen"));
        for (const char *holiday : {"21.12.2026", "28.12.2026", "04.01.2027"})
            QVERIFY(!SettingsFile::read([&](const ProfileFile &ini) { return ini.hasSection(QString::fromLatin1(holiday)); }));
    }
    QCOMPARE(datesIndex(), QStringList({QStringLiteral("11.01.2027")}));
}

void tst_RecurringHomework::keepsTheHomeworkThere()
{
    TestEnvironment env;
    env.writeSettings(kYear + QStringLiteral("[Dates]\n14.12.2026=1\n[14.12.2026]\nMathematik=Seite 12\nMathematikExec=eigenes\n"));
    RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen"));
    today(2026, 12, 11);

    // The pupil's own homework on that day stays as it is.
    QCOMPARE(RecurringHomework::apply(), 0);
    QCOMPARE(text("14.12.2026", QStringLiteral("Mathematik")), QStringLiteral("Seite 12"));
    QCOMPARE(text("14.12.2026", QStringLiteral("MathematikExec")), QStringLiteral("eigenes"));

    // Homework of the rule that the pupil deleted is not entered again for that day.
    HomeworkStore::deleteDueDate(QStringLiteral("14.12.2026"));
    QCOMPARE(RecurringHomework::apply(), 0);
    QVERIFY(datesIndex().isEmpty());

    // An empty homework text is homework too and stays.
    today(2026, 12, 14);
    SettingsFile::use([](ProfileFile &ini) {
        ini.writeString(u"FERIEN", u"WEIHNACHTEN2", u"1.1.2027");
        ini.writeString(u"Dates", u"04.01.2027", u"1");
        ini.writeString(u"04.01.2027", u"Mathematik", u"");
    });
    QCOMPARE(RecurringHomework::apply(), 0);
    QCOMPARE(text("04.01.2027", QStringLiteral("Mathematik")), QString());
}

void tst_RecurringHomework::endingARule()
{
    TestEnvironment env;
    env.writeSettings(kYear);
    const int mathe = RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen"));
    const int deutsch = RecurringHomework::addRule(QStringLiteral("Deutsch"), QStringLiteral("Lesen"));
    QVERIFY(mathe != deutsch);
    // The same rule again is not stored twice.
    QCOMPARE(RecurringHomework::addRule(QStringLiteral("Deutsch"), QStringLiteral("Lesen")), deutsch);
    today(2026, 12, 11);
    QCOMPARE(RecurringHomework::apply(), 2);

    // Ending a rule stops it; the homework it entered stays, the other rule goes on.
    RecurringHomework::endRule(mathe);
    QCOMPARE(text("14.12.2026", QStringLiteral("Mathematik")), QStringLiteral("Vokabeln lernen"));
    QCOMPARE(RecurringHomework::rules(), QList<RecurringHomework::Rule>({{deutsch, QStringLiteral("Deutsch"), QStringLiteral("Lesen")}}));
    today(2026, 12, 15);
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(RecurringHomework::apply(), 1);
    QCOMPARE(datesIndex(), QStringList({QStringLiteral("12.01.2027")}));
    QCOMPARE(text("12.01.2027", QStringLiteral("Deutsch")), QStringLiteral("Lesen"));
    QVERIFY(!env.settingsText().contains(QStringLiteral("Fach%1=").arg(mathe)));

    // A new rule takes a new number, so an ended rule's date is not taken over.
    const int again = RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln lernen"));
    QVERIFY(again != mathe && again != deutsch);
    RecurringHomework::endRule(4711); // unknown: nothing happens
    QCOMPARE(RecurringHomework::rules().size(), 2);
}

void tst_RecurringHomework::twoRulesOfOneSubject()
{
    TestEnvironment env;
    env.writeSettings(kYear);
    // A subject with "=" and a leading "[" is kept whole as the rules' subject.
    const QString odd = QStringLiteral("[Bio=Chemie");
    RecurringHomework::addRule(odd, QStringLiteral("Heft"));
    RecurringHomework::addRule(odd, QStringLiteral("Skizze"));
    QCOMPARE(RecurringHomework::rules().size(), 2);
    QCOMPARE(RecurringHomework::rules().at(0).subject, odd);

    // Both in one run: the second text is appended to the first's.
    today(2026, 12, 11);
    QCOMPARE(RecurringHomework::apply(), 2);
    QCOMPARE(text("15.12.2026", odd), QStringLiteral("Heft; Skizze"));

    // A rule made when the date holds homework already waits for the next lesson.
    RecurringHomework::addRule(odd, QStringLiteral("Tabelle"));
    QCOMPARE(RecurringHomework::apply(), 0);
    QCOMPARE(text("15.12.2026", odd), QStringLiteral("Heft; Skizze"));
    today(2026, 12, 15);
    HomeworkStore::PruneHomeworkDates();
    QCOMPARE(RecurringHomework::apply(), 3);
    QCOMPARE(text("12.01.2027", odd), QStringLiteral("Heft; Skizze; Tabelle"));
}

void tst_RecurringHomework::subjectOutOfTheTimetable()
{
    TestEnvironment env;
    env.writeSettings(kYear);
    RecurringHomework::addRule(QStringLiteral("Physik"), QStringLiteral("Versuch"));
    RecurringHomework::addRule(QStringLiteral("mathematik"), QStringLiteral("Letter case counts"));
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    today(2026, 12, 11);
    // No lesson, no homework, no failure; the file is not even written.
    QCOMPARE(RecurringHomework::apply(), 0);
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);
    QVERIFY(datesIndex().isEmpty());

    // The same once the subject has left a timetable that held it.
    RecurringHomework::addRule(QStringLiteral("Mathematik"), QStringLiteral("Vokabeln"));
    SettingsFile::use([](ProfileFile &ini) { ini.writeString(u"Montag", u"2", u"Kunst"); });
    QCOMPARE(RecurringHomework::apply(), 0);
    QVERIFY(datesIndex().isEmpty());
}

void tst_RecurringHomework::followsTheWeek()
{
    // Physik in week A only; of the holidays only the week of 28.12.2026 counts as one, so
    // 11.1.2027 is a B week by calendar weeks and an A week by school weeks.
    const QString plan = QStringLiteral("[Montag]\n1=Physik\n[Montag B]\n1=Chemie\n[FERIEN]\nWEIHNACHTEN1=23.12.2026\n"
                                        "WEIHNACHTEN2=5.1.2027\n[WOCHEN]\nAB=1\nBezug=9.12.2026\nZaehlung=");
    for (const auto &[counting, due] : {std::pair{"Kalender", "18.01.2027"}, std::pair{"Schulwochen", "11.01.2027"}}) {
        TestEnvironment env(QDateTime(QDate(2026, 12, 22), QTime(9, 0)));
        env.writeSettings(plan + QString::fromLatin1(counting) + u'\n');
        RecurringHomework::addRule(QStringLiteral("Physik"), QStringLiteral("Protokoll"));
        QCOMPARE(RecurringHomework::apply(), 1);
        QCOMPARE(datesIndex(), QStringList({QString::fromLatin1(due)}));
    }
}

QTEST_GUILESS_MAIN(tst_RecurringHomework)
#include "tst_RecurringHomework.moc"
