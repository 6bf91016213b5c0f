// The start-up check of due alarms: sound, question, and what each answer does to the settings file.
#include "almain/AlarmCheck.h"
#include "platform/Prompt.h"
#include "platform/WavePlayer.h"
#include "support/RecordingWavePlayer.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_AlarmCheck final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dueAlarmsAskOneAfterTheOther();
    void nothingDue();
};

void tst_AlarmCheck::dueAlarmsAskOneAfterTheOther()
{
    const RecordingWavePlayer sound;
    TestEnvironment env; // 7 December 2026
    env.writeSettings(QStringLiteral("[ALARM]\n08.12.2026=morgen\n07.12.2026=heute\nkaputt=x\n31.02.2026=y\n"
                                     "01.12.2026=alt\n24.12.2026=\n05.12.2026=zuletzt\n"
                                     "[SOUNDS]\n01.12.2026=/snd/a.wav\n08.12.2026=/snd/b.wav\n"));
    Prompt::queueAnswers({QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes});
    AlarmCheck::CheckAlarms(nullptr);

    // Today's and the earlier alarms in the order of the section, each with its
    // own sound, open and playing while its question waits and closed after it;
    // tomorrow's, and keys that are no dates, are not announced.
    QCOMPARE(WavePlayer::takeCalls(), QStringList({"OpenWAVE STANDARD.WAV", "PlayWAVE", "CloseWAVE",
                                                   "OpenWAVE /snd/a.wav", "PlayWAVE", "CloseWAVE",
                                                   "OpenWAVE STANDARD.WAV", "PlayWAVE", "CloseWAVE"}));
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked[0].text, QStringLiteral("heute\nWollen Sie diesen Eintrag nun löschen?"));
    QCOMPARE(asked[1].text, QStringLiteral("alt\nWollen Sie diesen Eintrag nun löschen?"));
    for (const Prompt::Question &question : asked) {
        QCOMPARE(question.title, QStringLiteral("Alarm"));
        QCOMPARE(question.icon, QMessageBox::Information);
        QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(question.defaultButton, QMessageBox::No);
    }

    // Yes deletes only that alarm; its sound stays, and so does a later alarm
    // with an empty message. No keeps the alarm for the next start.
    QCOMPARE(env.settingsText(), QStringLiteral("[SOUNDS]\n01.12.2026=/snd/a.wav\n08.12.2026=/snd/b.wav\n"
                                                "[ALARM]\n08.12.2026=morgen\nkaputt=x\n31.02.2026=y\n"
                                                "01.12.2026=alt\n24.12.2026=\n"));

    // The next start asks again about the alarm answered with No; closing the
    // box unanswered takes the default No and deletes nothing.
    const QString before = env.settingsText();
    AlarmCheck::CheckAlarms(nullptr);
    QCOMPARE(Prompt::takeAsked().size(), 1);
    QCOMPARE(WavePlayer::takeCalls(), QStringList({"OpenWAVE /snd/a.wav", "PlayWAVE", "CloseWAVE"}));
    QCOMPARE(env.settingsText(), before);
}

void tst_AlarmCheck::nothingDue()
{
    const RecordingWavePlayer sound;
    TestEnvironment env;
    // Only later alarms and unreadable keys: no question, no sound, no write.
    env.writeSettings(QStringLiteral("[ALARM]\n08.12.2026=morgen\n..=x\n=leer\n99.99.9999=z\n00.12.2026=null\n"
                                     "[SOUNDS]\n08.12.2026=/snd/b.wav\n"));
    const QString before = env.settingsText();
    AlarmCheck::CheckAlarms(nullptr);
    QVERIFY(Prompt::takeAsked().isEmpty());
    QVERIFY(WavePlayer::takeCalls().isEmpty());
    QCOMPARE(env.settingsText(), before);
    // No settings file at all.
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    AlarmCheck::CheckAlarms(nullptr);
    QVERIFY(Prompt::takeAsked().isEmpty());
    QVERIFY(!QFile::exists(env.path(QStringLiteral("DEZUVEDIRED.INI"))));
}

QTEST_MAIN(tst_AlarmCheck)
#include "tst_AlarmCheck.moc"
