// The wave player of reminders and alarms: finding the file, failing quietly, the test record.
#include "platform/WavePlayer.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_WavePlayer final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resolvesNames();
    void unplayableFilesPlayNothing();
    void recordsCallsWithoutSound();
    // Qt Multimedia loads sounds in a thread of its own; one started just
    // before the test ends must reach its event loop while the application
    // still lives, or it logs into a torn-down message handler and crashes.
    void cleanupTestCase() { QTest::qWait(500); }
};

void tst_WavePlayer::resolvesNames()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("default.wav"), "RIFF");
    // A bare name is found in the program directory without regard to case.
    QCOMPARE(WavePlayer::resolve(QStringLiteral("DEFAULT.WAV")), env.path(QStringLiteral("default.wav")));
    QCOMPARE(WavePlayer::resolve(QStringLiteral("STANDARD.WAV")), env.path(QStringLiteral("STANDARD.WAV")));
    // Paths are taken as they are; a wildcard never matches another file.
    QCOMPARE(WavePlayer::resolve(QStringLiteral("/home/pupil/gong.wav")), QStringLiteral("/home/pupil/gong.wav"));
    QCOMPARE(WavePlayer::resolve(QStringLiteral("C:\\Sounds\\gong.wav")), QStringLiteral("C:\\Sounds\\gong.wav"));
    QCOMPARE(WavePlayer::resolve(QStringLiteral("*.wav")), env.path(QStringLiteral("*.wav")));
}

void tst_WavePlayer::unplayableFilesPlayNothing()
{
    TestEnvironment env;
    // Missing, empty or a Windows path: nothing opens, and nothing is raised.
    for (const QString &name : {QStringLiteral("fehlt.wav"), QString(), QStringLiteral("C:\\Sounds\\gong.wav")}) {
        OpenWAVE(name);
        QVERIFY(!WavePlayer::isOpen());
        PlayWAVE();
        CloseWAVE();
    }
    // A file that is no wave opens, fails to load in the background and stays silent.
    env.writeFile(QStringLiteral("kaputt.wav"), QByteArray(4000, 'x'));
    OpenWAVE(QStringLiteral("kaputt.wav"));
    QVERIFY(WavePlayer::isOpen());
    PlayWAVE();
    QTest::qWait(200);
    CloseWAVE();
    QVERIFY(!WavePlayer::isOpen());
    // Opening a second sound closes the first one: at most one is open.
    QFile::copy(QFINDTESTDATA("../../data/sounds/DEFAULT.WAV"), env.path(QStringLiteral("DEFAULT.WAV")));
    OpenWAVE(QStringLiteral("DEFAULT.WAV"));
    PlayWAVE();
    OpenWAVE(QStringLiteral("fehlt.wav"));
    QVERIFY(!WavePlayer::isOpen());
}

void tst_WavePlayer::recordsCallsWithoutSound()
{
    TestEnvironment env;
    QFile::copy(QFINDTESTDATA("../../data/sounds/DEFAULT.WAV"), env.path(QStringLiteral("DEFAULT.WAV")));
    OpenWAVE(QStringLiteral("DEFAULT.WAV"));
    QVERIFY(WavePlayer::isOpen());
    // Recording closes what plays and makes no sound while it lasts.
    WavePlayer::setRecording(true);
    QVERIFY(!WavePlayer::isOpen());
    OpenWAVE(QStringLiteral("DEFAULT.WAV"));
    PlayWAVE();
    CloseWAVE();
    OpenWAVE(QStringLiteral("/snd/alarm.wav"));
    QVERIFY(!WavePlayer::isOpen());
    QCOMPARE(WavePlayer::takeCalls(), QStringList({"OpenWAVE DEFAULT.WAV", "PlayWAVE", "CloseWAVE", "OpenWAVE /snd/alarm.wav"}));
    QVERIFY(WavePlayer::takeCalls().isEmpty());
    WavePlayer::setRecording(false);
    CloseWAVE();
    QVERIFY(WavePlayer::takeCalls().isEmpty());
}

QTEST_GUILESS_MAIN(tst_WavePlayer)
#include "tst_WavePlayer.moc"
