// The daily snapshots: taken on the first start of a day only, before pruning, fourteen days kept, never half.
#include "backup/BackupSettings.h"
#include "backup/Snapshots.h"
#include "main2/Startup.h"
#include "platform/Clock.h"
#include "platform/ProgramDirectory.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QProcess>
#include <QtTest>


namespace {

QStringList snapshotFolders(const TestEnvironment &env)
{
    return QDir(env.path(QStringLiteral("Sicherungen"))).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}

class tst_Snapshots final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstStartOfADayOnly();
    void keepsTheNewestFourteenDays();
    void startUpKeepsTheFilesBeforePruning();
    void killedSnapshotNeverCounts();
};

void tst_Snapshots::firstStartOfADayOnly()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 9), QTime(7, 30)));
    // A first start with no data: nothing to keep, no folder.
    QVERIFY(!Snapshots::takeDailyIfDue());
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("Sicherungen"))));

    env.writeSettings(QStringLiteral("[Dates]\n10.12.2026=\n"));
    env.writeFile(QStringLiteral("inet.txt"), "Thema\r\n");
    QVERIFY(Snapshots::takeDailyIfDue());
    const QByteArray morning = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    QCOMPARE(env.readFile(QStringLiteral("Sicherungen/2026-12-09/DEZUVEDIRED.INI")), morning);
    QCOMPARE(env.readFile(QStringLiteral("Sicherungen/2026-12-09/inet.txt")), QByteArray("Thema\r\n"));
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("Sicherungen/2026-12-09/NOTEN.DAT"))));

    // A later start of the same day keeps the morning's state.
    env.writeSettings(QStringLiteral("[Dates]\n11.12.2026=\n"));
    Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    QVERIFY(!Snapshots::takeDailyIfDue());
    QCOMPARE(env.readFile(QStringLiteral("Sicherungen/2026-12-09/DEZUVEDIRED.INI")), morning);

    // The next day gets its own; switched off, none.
    Clock::setNow(QDateTime(QDate(2026, 12, 10), QTime(7, 0)));
    QVERIFY(Snapshots::takeDailyIfDue());
    BackupSettings::setDailySnapshots(false);
    Clock::setNow(QDateTime(QDate(2026, 12, 11), QTime(7, 0)));
    QVERIFY(!Snapshots::takeDailyIfDue());
    QCOMPARE(snapshotFolders(env), QStringList({QStringLiteral("2026-12-09"), QStringLiteral("2026-12-10")}));
    const QList<Snapshots::Entry> listed = Snapshots::list();
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.first().label(), QStringLiteral("Donnerstag, 10.12.2026"));
}

void tst_Snapshots::keepsTheNewestFourteenDays()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dates]\n"));
    // Twenty school days with gaps; the restore's snapshots count by their day.
    QList<QDate> schoolDays;
    for (QDate day(2026, 11, 2); schoolDays.size() < 20; day = day.addDays(1)) {
        if (day.dayOfWeek() <= 5)
            schoolDays.append(day);
    }
    for (int start = 0; start < 20; ++start) {
        Clock::setNow(QDateTime(schoolDays[start], QTime(7, 0)));
        QVERIFY(Snapshots::takeDailyIfDue());
        if (start == 10)
            Snapshots::takeBeforeRestore();
    }
    const auto days = [&env] {
        QSet<QString> distinct;
        for (const QString &folder : snapshotFolders(env))
            distinct.insert(folder.left(10));
        return distinct.size();
    };
    const QStringList folders = snapshotFolders(env);
    QCOMPARE(days(), 14);
    QCOMPARE(folders.first(), QStringLiteral("2026-11-10"));
    QCOMPARE(folders.last(), QStringLiteral("2026-11-27"));
    QVERIFY(folders.contains(QStringLiteral("2026-11-16_070000")));

    // After a long break nothing is lost: the last fourteen days stay.
    Clock::setNow(QDateTime(QDate(2027, 3, 1), QTime(7, 0)));
    QVERIFY(Snapshots::takeDailyIfDue());
    QCOMPARE(days(), 14);
    QCOMPARE(snapshotFolders(env).first(), QStringLiteral("2026-11-11"));
    QCOMPARE(Snapshots::list().first().created.date(), QDate(2027, 3, 1));
}

// The program's start takes the snapshot before it prunes past homework, so
// the snapshot still holds what pruning removed.
void tst_Snapshots::startUpKeepsTheFilesBeforePruning()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 9), QTime(7, 30)));
    env.writeSettings(QStringLiteral("[Dates]\n01.12.2026=\n10.12.2026=\n[01.12.2026]\nMathematik=S. 12\n[10.12.2026]\nDeutsch=Aufsatz\n"));
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    {
        Startup startup;
        startup.createWindows();
    }
    QVERIFY(env.readFile(QStringLiteral("DEZUVEDIRED.INI")) != before);
    QCOMPARE(env.readFile(QStringLiteral("Sicherungen/2026-12-09/DEZUVEDIRED.INI")), before);
}

// Killed at any moment, a snapshot is either complete or not listed, and the
// next start takes a complete one and removes what the killed one left.
void tst_Snapshots::killedSnapshotNeverCounts()
{
    TestEnvironment env;
    // Large enough that the kills fall inside the writing.
    QByteArray settings = "[Dates]\r\n";
    for (int i = 0; i < 60000; ++i)
        settings += "Zeile" + QByteArray::number(i) + "=Text der Zeile\r\n";
    env.writeFile(QStringLiteral("DEZUVEDIRED.INI"), settings);
    env.writeFile(QStringLiteral("NOTEN.DAT"), QByteArray(300000, 'N'));
    env.writeFile(QStringLiteral("NOTEN.NOT"), QByteArray(200000, '\x01'));
    env.writeFile(QStringLiteral("inet.txt"), QByteArray(100000, 'i'));
    KillDuringWork killer(TestEnvironment::helperDir() + QStringLiteral("/backuprunner"));

    // What the next start finds after a kill: complete snapshots only, and a complete one after it.
    const auto nextStart = [&] {
        Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(7, 30)));
        for (const Snapshots::Entry &entry : Snapshots::list()) {
            const BackupContent content = Snapshots::read(entry); // throws on half a snapshot
            QCOMPARE(content.files.size(), 4);
            QCOMPARE(content.files.first().bytes, settings);
        }
        Snapshots::takeDailyIfDue();
        QCOMPARE(Snapshots::list().size(), 1);
        QCOMPARE(snapshotFolders(env), QStringList{QStringLiteral("2026-12-09")});
    };
    int inside = 0;
    for (int run = 0; run < 100; ++run) {
        QDir(env.path(QStringLiteral("Sicherungen/2026-12-09"))).removeRecursively();
        bool killedInside = false;
        QVERIFY(killer.run({QStringLiteral("snapshot"), env.dir(), QStringLiteral("2026-12-09")}, killedInside));
        inside += killedInside;
        nextStart();
        if (QTest::currentTestFailed())
            return;
    }
    // Where random kills fall depends on the machine's speed: only what holds on every run is asserted.
    qInfo("%d of 100 kills fell inside the snapshot", inside);

    // Kills aimed at every step: just before the first, second, ... rename, until a run has none left.
    int step = 1;
    for (; step < 50; ++step) {
        QDir(env.path(QStringLiteral("Sicherungen/2026-12-09"))).removeRecursively();
        bool finished = false;
        int exitCode = 0;
        QVERIFY(killer.runKilledAtRename({QStringLiteral("snapshot"), env.dir(), QStringLiteral("2026-12-09")}, step, finished, exitCode));
        nextStart();
        if (QTest::currentTestFailed() || finished)
            break;
    }
    qInfo("a snapshot takes %d renames", step - 1);
    QVERIFY2(step > 5, "the snapshot was written with fewer renames than its five files need");
}

QTEST_MAIN(tst_Snapshots)
#include "tst_Snapshots.moc"
