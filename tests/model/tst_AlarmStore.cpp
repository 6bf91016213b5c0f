// Date alarms: the start-up check's data, the sorting of the list and the edits of the list window.
#include "model/AlarmStore.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_AlarmStore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dueAlarmsAndRemoval();
    void sortRewritesInDateOrder();
    void listWindowEdits();
};

void tst_AlarmStore::dueAlarmsAndRemoval()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
    env.writeSettings(QStringLiteral("[ALARM]\n08.12.2026=morgen\n07.12.2026=heute\n01.12.2026=alt\nkaputt=x\n05.12.2026=\n"
                                     "[SOUNDS]\n01.12.2026=/snd/a.wav\n08.12.2026=/snd/b.wav\n"));
    // Today and earlier, in section order, each with its own sound; tomorrow's
    // waits and a key that is no date is skipped.
    QCOMPARE(AlarmStore::dueAlarms(), (QList<AlarmStore::DueAlarm>{
                                          {"07.12.2026", "STANDARD.WAV", "heute"},
                                          {"01.12.2026", "/snd/a.wav", "alt"},
                                          {"05.12.2026", "STANDARD.WAV", ""},
                                      }));
    QCOMPARE(AlarmStore::questionText(QStringLiteral("alt")), QStringLiteral("alt\nWollen Sie diesen Eintrag nun löschen?"));
    // Yes removes that date's "ALARM" entry; "SOUNDS" stays, and so does the
    // alarm with the empty message.
    AlarmStore::deleteAlarm(QStringLiteral("01.12.2026"));
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n01.12.2026=/snd/a.wav\n08.12.2026=/snd/b.wav\n"
                                                "[ALARM]\n08.12.2026=morgen\n07.12.2026=heute\nkaputt=x\n05.12.2026=\n"));
}

void tst_AlarmStore::sortRewritesInDateOrder()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n15.04.2026=c\n01.02.2026=a\n03.03.2026=b\n[SOUNDS]\n15.04.2026=x.wav\n"));
    QCOMPARE(AlarmStore::SortAlarms(), QStringList({"01.02.2026", "03.03.2026", "15.04.2026"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n15.04.2026=x.wav\n[ALARM]\n01.02.2026=a\n03.03.2026=b\n15.04.2026=c\n"));
    // An empty message keeps its key and value; equal dates keep their order;
    // a key that is no date keeps its place among the sorted ones.
    env.writeSettings(QStringLiteral("[ALARM]\n15.04.2026=c\nkaputt=k\n03.03.2026=\n1.2.2026=erst\n01.02.2026=zweit\n"));
    QCOMPARE(AlarmStore::SortAlarms(), QStringList({"1.2.2026", "kaputt", "01.02.2026", "03.03.2026", "15.04.2026"}));
    QCOMPARE(env.settingsText(), QStringLiteral("[ALARM]\n1.2.2026=erst\nkaputt=k\n01.02.2026=zweit\n03.03.2026=\n15.04.2026=c\n"));
    // Without alarms nothing is written.
    env.writeSettings(QStringLiteral("[X]\ny=1\n"));
    QVERIFY(AlarmStore::SortAlarms().isEmpty());
    QCOMPARE(env.settingsText(), QStringLiteral("[X]\ny=1\n"));
}

void tst_AlarmStore::listWindowEdits()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[ALARM]\n01.02.2026=\n03.03.2026=b\n[SOUNDS]\n03.03.2026=/snd/b.wav\n"));
    // A picked date becomes a key with two-digit day and month and the message "Alarm".
    QCOMPARE(AlarmStore::newAlarm(QStringLiteral("7.3.2026")), QStringLiteral("07.03.2026"));
    QCOMPARE(AlarmStore::message(QStringLiteral("07.03.2026")), QStringLiteral("Alarm"));
    AlarmStore::saveMessage(QStringLiteral("03.03.2026"), QStringLiteral("Zahnarzt"));
    QCOMPARE(AlarmStore::newAlarm(QStringLiteral("03.03.2026")), QStringLiteral("03.03.2026"));
    QCOMPARE(AlarmStore::message(QStringLiteral("03.03.2026")), QStringLiteral("Alarm"));
    try {
        AlarmStore::newAlarm(QStringLiteral("31.2.2026"));
        QFAIL("an impossible date was accepted");
    } catch (const EConvertError &error) {
        QCOMPARE(error.message(), QStringLiteral("'31.2.2026' is not a valid date"));
    }
    // Deleting keeps the other alarms, also one with an empty message, and the sound.
    AlarmStore::deleteAlarm(QStringLiteral("03.03.2026"));
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n03.03.2026=/snd/b.wav\n[ALARM]\n01.02.2026=\n07.03.2026=Alarm\n"));
    QCOMPARE(AlarmStore::sound(QStringLiteral("03.03.2026")), QStringLiteral("/snd/b.wav"));
    QCOMPARE(AlarmStore::sound(QStringLiteral("07.03.2026")), QStringLiteral("STANDARD.WAV"));
    AlarmStore::setSound(QStringLiteral("07.03.2026"), QStringLiteral("/home/pupil/wecker.wav"));
    QCOMPARE(AlarmStore::sound(QStringLiteral("07.03.2026")), QStringLiteral("/home/pupil/wecker.wav"));
}

QTEST_GUILESS_MAIN(tst_AlarmStore)
#include "tst_AlarmStore.moc"
