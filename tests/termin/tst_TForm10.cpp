// The reminder window, driven through its controls and its timer: showing, sound, snooze, acknowledging.
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "platform/WavePlayer.h"
#include "support/RecordingWavePlayer.h"
#include "support/TestEnvironment.h"
#include "termin/TForm10.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
template <typename T>
T *control(const TForm10 &form, const char *name)
{
    return form.findChild<T *>(QString::fromLatin1(name));
}

QTimer *timer(const TForm10 &form)
{
    return control<QTimer>(form, "Timer1");
}

// What the timer does when it fires, without waiting for it.
void fireTimer(const TForm10 &form)
{
    QVERIFY(QMetaObject::invokeMethod(timer(form), "timeout"));
}

QString shownName(const TForm10 &form)
{
    return form.isVisible() ? control<QLabel>(form, "Label1")->text() : QString();
}

void expectIdle(const TForm10 &form)
{
    QVERIFY(!form.isVisible());
    QVERIFY(timer(form)->isActive());
    QCOMPARE(timer(form)->interval(), TForm10::IdleInterval);
}

void setAt(const QDate &date, const QTime &time)
{
    Clock::setNow(QDateTime(date, time));
}
}

class tst_TForm10 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsDueEventWithSoundAndMessage();
    void waitsUntilTheMomentHasPassed();
    void everyWayOfClosingAcknowledges();
    void snoozeComesBackAfterTheDelay();
    void failedWritesAreReported();
};

void tst_TForm10::showsDueEventWithSoundAndMessage()
{
    const RecordingWavePlayer sound;
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[TERMIN]\n6.12.2026=Mathearbeit\n7.12.2026=Kino\n"
                                     "[SOUND]\nMathearbeit=C:\\Sounds\\gong.wav\n"
                                     "[MEMO]\nMathearbeit#=1\nMathearbeit0=Formelsammlung\nMathearbeit1=Taschenrechner\nKino#=-1\n"));
    TForm10 form;
    // Created hidden with the minute check running.
    expectIdle(form);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(form.windowTitle(), QStringLiteral("Ereignis !!!"));

    form.ScanDueEvents();
    QCOMPARE(shownName(form), QStringLiteral("Mathearbeit"));
    QCOMPARE(control<QPlainTextEdit>(form, "Memo1")->toPlainText(), QStringLiteral("Formelsammlung\nTaschenrechner"));
    QCOMPARE(control<QComboBox>(form, "ComboBox1")->currentText(), QStringLiteral("0:05"));
    QCOMPARE(WavePlayer::takeCalls(), (QStringList{"OpenWAVE C:\\Sounds\\gong.wav", "PlayWAVE"}));
    // While a reminder is on screen the timer is off, set to follow up at once.
    QVERIFY(!timer(form)->isActive());
    QCOMPARE(timer(form)->interval(), TForm10::NextInterval);

    // The next entry follows right after the first one was closed; an empty
    // message shows nothing, a missing sound plays the default.
    control<QPushButton>(form, "Button2")->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(WavePlayer::takeCalls(), QStringList{"CloseWAVE"});
    QVERIFY(timer(form)->isActive());
    fireTimer(form);
    QCOMPARE(shownName(form), QStringLiteral("Kino"));
    QCOMPARE(control<QPlainTextEdit>(form, "Memo1")->toPlainText(), QString());
    QCOMPARE(WavePlayer::takeCalls(), (QStringList{"OpenWAVE DEFAULT.WAV", "PlayWAVE"}));
    control<QPushButton>(form, "Button2")->click();
    fireTimer(form);
    expectIdle(form);

    // With a real player the shipped default sound is open exactly while the reminder is shown.
    WavePlayer::setRecording(false);
    QVERIFY(QFile::copy(QFINDTESTDATA("../../data/sounds/DEFAULT.WAV"), env.path(QStringLiteral("DEFAULT.WAV"))));
    env.writeSettings(QStringLiteral("[WEEKLY]\n1.12.2026=Sport\n"));
    form.ScanDueEvents();
    QCOMPARE(shownName(form), QStringLiteral("Sport"));
    QVERIFY(WavePlayer::isOpen());
    control<QPushButton>(form, "Button2")->click();
    QVERIFY(!WavePlayer::isOpen());
}

void tst_TForm10::waitsUntilTheMomentHasPassed()
{
    const RecordingWavePlayer sound;
    const QDate today(2026, 12, 7);
    TestEnvironment env(QDateTime(today, QTime(9, 0)));
    TForm10 form;
    // Nothing stored, or only what is still to come: nothing is shown.
    form.ScanDueEvents();
    expectIdle(form);
    env.writeSettings(QStringLiteral("[TERMIN]\n7.12.2026=Zahnarzt\n8.12.2026=Morgen\n"
                                     "[ERINNERN]\n7.12.2026 9:30:0=Bus\n"
                                     "[TIME]\nZahnarzt=#14:00\n"));
    form.ScanDueEvents();
    expectIdle(form);
    QCOMPARE(WavePlayer::takeCalls(), QStringList());

    // The minute check after the snooze's moment shows it, not the one at the moment itself.
    setAt(today, QTime(9, 30));
    fireTimer(form);
    expectIdle(form);
    setAt(today, QTime(9, 31));
    fireTimer(form);
    QCOMPARE(shownName(form), QStringLiteral("Bus"));
    control<QPushButton>(form, "Button2")->click();
    fireTimer(form);
    expectIdle(form);
    setAt(today, QTime(14, 1));
    fireTimer(form);
    QCOMPARE(shownName(form), QStringLiteral("Zahnarzt"));
    control<QPushButton>(form, "Button2")->click();
    QCOMPARE(env.settingsText(), QStringLiteral("[TIME]\nZahnarzt=#14:00\n[TERMIN]\n8.12.2026=Morgen\n"));

    // A time that is no time of day counts from the start of its date.
    setAt(today, QTime(9, 0));
    env.writeSettings(QStringLiteral("[TERMIN]\n7.12.2026=Mitternacht\n[TIME]\nMitternacht=#24:00\n"));
    form.ScanDueEvents();
    QCOMPARE(shownName(form), QStringLiteral("Mitternacht"));
}

void tst_TForm10::everyWayOfClosingAcknowledges()
{
    const RecordingWavePlayer sound;
    TestEnvironment env;
    TForm10 form;
    const QString details = QStringLiteral("[TIME]\nSport=8:00\n[SOUND]\nSport=pfiff.wav\n");
    env.writeSettings(details + QStringLiteral("[WEEKLY]\n9.11.2026=Sport\n"));
    const struct
    {
        const char *way;
        std::function<void()> close;
        const char *nextDate;
    } ways[] = {
        {"Okay", [&] { control<QPushButton>(form, "Button2")->click(); }, "16.11.2026"},
        {"close box", [&] { form.close(); }, "23.11.2026"},
        {"Escape", [&] { QTest::keyClick(&form, Qt::Key_Escape); }, "30.11.2026"},
        {"hidden", [&] { form.hide(); }, "7.12.2026"},
    };
    // A weekly event missed for weeks comes once a start and moves on by a week each time.
    for (const auto &w : ways) {
        form.ScanDueEvents();
        QVERIFY2(form.isVisible(), w.way);
        QCOMPARE(shownName(form), QStringLiteral("Sport"));
        WavePlayer::takeCalls();
        w.close();
        QVERIFY2(!form.isVisible(), w.way);
        QCOMPARE(WavePlayer::takeCalls(), QStringList{"CloseWAVE"});
        QCOMPARE(form.queue().count(), 0);
        QCOMPARE(env.settingsText(), details + QStringLiteral("[WEEKLY]\n%1=Sport\n").arg(QLatin1String(w.nextDate)));
    }
    // Today's occurrence still comes; after it the event waits for next week.
    form.ScanDueEvents();
    control<QPushButton>(form, "Button2")->click();
    form.ScanDueEvents();
    expectIdle(form);

    // A one-time event leaves its entry behind, and its details stay.
    env.writeSettings(QStringLiteral("[TERMIN]\n6.12.2026=Arbeit\n7.12.2026=Heute\n") + details);
    form.ScanDueEvents();
    form.close();
    QCOMPARE(env.settingsText(), details + QStringLiteral("[TERMIN]\n7.12.2026=Heute\n"));
}

void tst_TForm10::snoozeComesBackAfterTheDelay()
{
    const RecordingWavePlayer sound;
    const QDate today(2026, 2, 1);
    TestEnvironment env(QDateTime(today, QTime(10, 0, 20)));
    env.writeSettings(QStringLiteral("[MONTHLY]\n31.1.2026=Miete\n[MEMO]\nMiete#=0\nMiete0=Überweisen\n"));
    TForm10 form;
    form.ScanDueEvents();
    auto *delays = control<QComboBox>(form, "ComboBox1");
    QStringList items;
    for (int i = 0; i < delays->count(); ++i)
        items.append(delays->itemText(i));
    QCOMPARE(items, (QStringList{"0:05", "0:15", "0:30", "1:00", "2:00", "5:00"}));
    QVERIFY(!delays->isEditable());

    // "In 0:15 erinnern": the occurrence moves on, the snooze is written and queued.
    delays->setCurrentIndex(1);
    control<QPushButton>(form, "Button1")->click();
    QVERIFY(!form.isVisible());
    const QString memo = QStringLiteral("[MEMO]\nMiete#=0\nMiete0=Überweisen\n");
    QCOMPARE(env.settingsText(), memo + QStringLiteral("[ERINNERN]\n1.2.2026 10:15:20=Miete\n[MONTHLY]\n31.3.2026=Miete\n"));
    fireTimer(form);
    expectIdle(form);

    // Shown again only once the moment has passed, with the same message.
    setAt(today, QTime(10, 15, 20));
    fireTimer(form);
    expectIdle(form);
    setAt(today, QTime(10, 16));
    fireTimer(form);
    QCOMPARE(shownName(form), QStringLiteral("Miete"));
    QCOMPARE(control<QPlainTextEdit>(form, "Memo1")->toPlainText(), QStringLiteral("Überweisen"));
    // Every showing starts with the shortest delay.
    QCOMPARE(delays->currentText(), QStringLiteral("0:05"));
    // "&Okay" removes the snooze record and leaves the monthly entry alone.
    control<QPushButton>(form, "Button2")->click();
    QCOMPARE(env.settingsText(), memo + QStringLiteral("[MONTHLY]\n31.3.2026=Miete\n"));
    QCOMPARE(form.queue().count(), 0);
}

void tst_TForm10::failedWritesAreReported()
{
    const RecordingWavePlayer sound;
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[WEEKLY]\n1.12.2026=Fest\n"));
    TForm10 form;
    form.ScanDueEvents();
    QCOMPARE(shownName(form), QStringLiteral("Fest"));
    WavePlayer::takeCalls();
    // The settings file now lies below a plain file, so nothing can be written.
    env.writeFile(QStringLiteral("plain"), "x");
    setProgramDirectory(env.path(QStringLiteral("plain")));
    const QString unwritable = QStringLiteral("Unable to write to ") + env.path(QStringLiteral("plain/DEZUVEDIRED.INI"));

    // A snooze that cannot be stored is reported and keeps the reminder on screen.
    control<QPushButton>(form, "Button1")->click();
    QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, unwritable);
    QVERIFY(form.isVisible());
    QCOMPARE(form.queue().count(), 1);
    QCOMPARE(WavePlayer::takeCalls(), QStringList());

    // An acknowledgement that cannot be stored is reported; the sound ends and
    // the reminder leaves this run's queue, to come back at the next start.
    control<QPushButton>(form, "Button2")->click();
    asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].text, unwritable);
    QVERIFY(!form.isVisible());
    QCOMPARE(WavePlayer::takeCalls(), QStringList{"CloseWAVE"});
    fireTimer(form);
    expectIdle(form);
    setProgramDirectory(env.dir());
    QCOMPARE(env.settingsText(), QStringLiteral("[WEEKLY]\n1.12.2026=Fest\n"));
}

QTEST_MAIN(tst_TForm10)
#include "tst_TForm10.moc"
