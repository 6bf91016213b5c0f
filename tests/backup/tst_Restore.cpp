// Restoring a backup: exactly the backup's bytes, the state before kept, all files or none, also when killed.
#include "backup/BackupArchive.h"
#include "backup/DataFiles.h"
#include "backup/Restore.h"
#include "backup/Snapshots.h"
#include "model/GradeStore.h"
#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QProcess>
#include <QtTest>


namespace {

const QStringList kNames = {QStringLiteral("DEZUVEDIRED.INI"), QStringLiteral("inet.txt"), QStringLiteral("NOTEN.DAT"),
                            QStringLiteral("NOTEN.NOT")};

// One state of all four files; `size` makes the kills fall inside the writing.
void writeState(const TestEnvironment &env, char state, int size = 64)
{
    for (const QString &name : kNames)
        env.writeFile(name, QByteArray(size, state) + name.toLatin1());
}

QByteArray stateOf(const TestEnvironment &env)
{
    QByteArray states;
    for (const QString &name : kNames) {
        const QByteArray bytes = env.readFile(name);
        states += bytes.isEmpty() ? '?' : bytes.at(0);
    }
    return states;
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run runProgram(const TestEnvironment &env, const QStringList &arguments)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_DIR"), env.dir());
    environment.insert(QStringLiteral("KALMORA_NOW"), QStringLiteral("2026-12-09T10:15:00"));
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("KALMORA_PROGRAM"), arguments);
    program.waitForFinished(60000);
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()), QString::fromUtf8(program.readAllStandardError())};
}

}

class tst_Restore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bringsBackTheBackupsBytes();
    void replacesNothingItMayNot();
    void killedRestoreIsOldOrNew();
    void commandLine();
    void runningPlannerBlocksTheCommandLine();
};

void tst_Restore::bringsBackTheBackupsBytes()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 8), QTime(7, 0)));
    env.writeSettings(QStringLiteral("[Dates]\n10.12.2026=\n[10.12.2026]\nMathematik=S. 12\n"));
    env.writeFile(QStringLiteral("inet.txt"), "Thema\r\n");
    QVERIFY(Snapshots::takeDailyIfDue());
    const QByteArray monday = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));

    // The next day: a wrong deletion, grades begun, and the settings file now under a Windows name.
    Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(10, 15)));
    QFile::remove(env.path(QStringLiteral("DEZUVEDIRED.INI")));
    env.writeFile(QStringLiteral("Dezuvedired.ini"), "[Dates]\r\n");
    env.writeFile(QStringLiteral("NOTEN.DAT"), "Mathematik\r\n");
    const QByteArray tuesday = env.readFile(QStringLiteral("Dezuvedired.ini"));

    QStringList heard;
    const int settingsObserver = ProfileFile::addSaveObserver([&heard](const QString &path) { heard.append(QFileInfo(path).fileName()); });
    const int gradeObserver = GradeStore::addSaveObserver([&heard] { heard.append(QStringLiteral("grades")); });
    const BackupContent snapshot = Snapshots::read(Snapshots::list().first());
    QCOMPARE(Restore::describe(Restore::preview(snapshot)),
             QStringLiteral("DEZUVEDIRED.INI: wird ersetzt (jetzt 9 Bytes, danach %1 Bytes)\ninet.txt: bleibt, wie sie ist").arg(monday.size()));
    Restore::replace(snapshot);

    // The bytes of the snapshot, in the file of the name found; grades the backup lacks stay.
    QCOMPARE(env.readFile(QStringLiteral("Dezuvedired.ini")), monday);
    QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("DEZUVEDIRED.INI"))) || QFileInfo(env.path(QStringLiteral("DEZUVEDIRED.INI"))).fileName() == QStringLiteral("Dezuvedired.ini") || QDir(env.dir()).entryList({QStringLiteral("dezuvedired.ini")}).size() == 1);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.DAT")), QByteArray("Mathematik\r\n"));
    QCOMPARE(heard, QStringList({QStringLiteral("Dezuvedired.ini"), QStringLiteral("inet.txt")}));
    // The state it replaced is kept, and is offered next.
    const Snapshots::Entry kept = Snapshots::list().first();
    QVERIFY(kept.beforeRestore);
    QCOMPARE(kept.label(), QStringLiteral("Mittwoch, 09.12.2026, 10:15 Uhr (vor der Wiederherstellung)"));
    QCOMPARE(Snapshots::read(kept).find(QStringLiteral("DEZUVEDIRED.INI"))->bytes, tuesday);

    // The same through a backup file, which holds the grades as well.
    const QString zip = env.path(QStringLiteral("sicherung.zip"));
    BackupArchive::write(zip, Snapshots::read(kept));
    heard.clear();
    Restore::replace(BackupArchive::read(zip));
    QCOMPARE(env.readFile(QStringLiteral("Dezuvedired.ini")), tuesday);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.DAT")), QByteArray("Mathematik\r\n"));
    QVERIFY(heard.contains(QStringLiteral("grades")));
    QCOMPARE(QDir(env.dir()).entryList(QDir::Files | QDir::Hidden).size(), 4); // no staged file left, no second settings file
    ProfileFile::removeSaveObserver(settingsObserver);
    GradeStore::removeSaveObserver(gradeObserver);
}

void tst_Restore::replacesNothingItMayNot()
{
    TestEnvironment env;
    writeState(env, 'A');
    BackupContent backup = DataFiles::collect();
    for (BackupFile &file : backup.files)
        file.bytes[0] = 'B';

    // A data file marked read-only: refused before anything is written.
    QFile::setPermissions(env.path(QStringLiteral("NOTEN.NOT")), QFileDevice::ReadOwner);
    QVERIFY_THROWS_EXCEPTION(EWriteError, Restore::replace(backup));
    QCOMPARE(stateOf(env), QByteArray("AAAA"));
    QFile::setPermissions(env.path(QStringLiteral("NOTEN.NOT")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A data file that is a link to a file elsewhere: the link is replaced, the file elsewhere is not written.
    QTemporaryDir outside;
    const QString elsewhere = outside.filePath(QStringLiteral("inet.txt"));
    QVERIFY(QFile::rename(env.path(QStringLiteral("inet.txt")), elsewhere));
    QVERIFY(QFile::link(elsewhere, env.path(QStringLiteral("inet.txt"))));
    Restore::replace(backup);
    QCOMPARE(stateOf(env), QByteArray("BBBB"));
    QVERIFY(!QFileInfo(env.path(QStringLiteral("inet.txt"))).isSymLink());
    QFile file(elsewhere);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().at(0), 'A');
}

// Killed at any moment of a restore, the files read all old or all new once
// the next start has finished what the journal marks as complete.
void tst_Restore::killedRestoreIsOldOrNew()
{
    TestEnvironment env;
    writeState(env, 'B', 400000);
    const QString zip = env.path(QStringLiteral("neu.zip"));
    BackupArchive::write(zip, DataFiles::collect());
    KillDuringWork killer(TestEnvironment::helperDir() + QStringLiteral("/backuprunner"));

    int inside = 0;
    int completed = 0;
    for (int run = 0; run < 100; ++run) {
        writeState(env, 'A', 400000);
        QDir(env.path(QStringLiteral("Sicherungen"))).removeRecursively();
        bool killedInside = false;
        QVERIFY(killer.run({QStringLiteral("restore"), env.dir(), zip}, killedInside));
        inside += killedInside;

        // What the next start does first; every other time a command-line
        // tool comes first, which must finish the restore in the same way.
        if (run % 2)
            QVERIFY(!runTool(qEnvironmentVariable("KALMORA_ICAL_TOOL"), {env.dir()}).isEmpty());
        else
            Restore::recoverInterrupted();
        const QByteArray state = stateOf(env);
        QVERIFY2(state == "AAAA" || state == "BBBB", state.constData());
        completed += state == "BBBB";
        QCOMPARE(QDir(env.dir()).entryList(QDir::Files | QDir::Hidden).size(), 5); // the four and the backup file
        QVERIFY(!QFileInfo::exists(env.path(QStringLiteral("Sicherungen/.wiederherstellung"))));
    }
    // Where random kills fall depends on the machine's speed: only what holds on every run is asserted.
    qInfo("%d of 100 kills fell inside the restore; %d restores completed", inside, completed);

    // Kills aimed at every step: the helper dies just before its first, second, ... rename,
    // until a run has no rename left to die at. The steps before the journal counts the
    // restore as done leave the old state, those after it the new one.
    QByteArray outcomes;
    for (int step = 1; step < 200; ++step) {
        writeState(env, 'A', 4000);
        QDir(env.path(QStringLiteral("Sicherungen"))).removeRecursively();
        bool finished = false;
        int exitCode = 0;
        QVERIFY(killer.runKilledAtRename({QStringLiteral("restore"), env.dir(), zip}, step, finished, exitCode));
        if (finished) {
            QCOMPARE(exitCode, 0);
            break;
        }
        Restore::recoverInterrupted();
        const QByteArray state = stateOf(env);
        QVERIFY2(state == "AAAA" || state == "BBBB", qPrintable(QStringLiteral("step %1: %2").arg(step).arg(state)));
        QCOMPARE(QDir(env.dir()).entryList(QDir::Files | QDir::Hidden).size(), 5);
        outcomes += state.at(0);
    }
    qInfo("states after the aimed kills: %s", outcomes.constData());
    QVERIFY2(outcomes.contains('A') && outcomes.contains('B') && !outcomes.contains("BA"), outcomes.constData());
}

void tst_Restore::commandLine()
{
    TestEnvironment env;
    writeState(env, 'A');
    QTemporaryDir home;
    const QString zip = home.filePath(QStringLiteral("Kalmora-Sicherung.zip"));

    Run run = runProgram(env, {QStringLiteral("--sichern"), zip});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QStringLiteral("4 Dateien in „%1“ gesichert.").arg(zip));

    writeState(env, 'B');
    run = runProgram(env, {QStringLiteral("--wiederherstellen"), zip});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QStringLiteral("Wiederhergestellt aus „%1“: DEZUVEDIRED.INI, inet.txt, NOTEN.DAT, NOTEN.NOT. Der vorige Stand liegt in „%2“.")
                                    .arg(zip, env.path(QStringLiteral("Sicherungen/2026-12-09_101500"))));
    QCOMPARE(stateOf(env), QByteArray("AAAA"));
    // A snapshot folder is a source too: the one the restore just kept brings back B.
    run = runProgram(env, {QStringLiteral("--wiederherstellen"), env.path(QStringLiteral("Sicherungen/2026-12-09_101500"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(stateOf(env), QByteArray("BBBB"));

    // Failures: exit status 2 and a German message, the files untouched.
    run = runProgram(env, {QStringLiteral("--wiederherstellen"), home.filePath(QStringLiteral("fehlt.zip"))});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("fehlt")), qPrintable(run.err));
    run = runProgram(env, {QStringLiteral("--sichern")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("Aufruf: kalmora --sichern DATEI")), qPrintable(run.err));
    run = runProgram(env, {QStringLiteral("--sichern"), QStringLiteral("/proc/keine-erlaubnis/x.zip")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("kann nicht geschrieben werden")), qPrintable(run.err));
    QCOMPARE(stateOf(env), QByteArray("BBBB"));
}

// While the planner runs on the folder, a restore from the command line is
// refused: the planner would show the old data and write it back with its next
// save. A backup is still made; a planner that was killed blocks nothing.
void tst_Restore::runningPlannerBlocksTheCommandLine()
{
    TestEnvironment env;
    writeState(env, 'A');
    QTemporaryDir home;
    const QString zip = home.filePath(QStringLiteral("sicherung.zip"));
    QCOMPARE(runProgram(env, {QStringLiteral("--sichern"), zip}).exitCode, 0);
    writeState(env, 'B');

    QProcess planner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_DIR"), env.dir());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    planner.setProcessEnvironment(environment);
    planner.start(qEnvironmentVariable("KALMORA_PROGRAM"), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(env.path(QStringLiteral(".kalmora.lock"))), 30000);

    Run run = runProgram(env, {QStringLiteral("--wiederherstellen"), zip});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("Der Planer läuft gerade mit dem Datenordner")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("Prozess %1").arg(planner.processId())), qPrintable(run.err));
    QCOMPARE(stateOf(env), QByteArray("BBBB"));
    QCOMPARE(runProgram(env, {QStringLiteral("--sichern"), home.filePath(QStringLiteral("zweite.zip"))}).exitCode, 0);

    planner.kill();
    QVERIFY(planner.waitForFinished(10000));
    run = runProgram(env, {QStringLiteral("--wiederherstellen"), zip});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(stateOf(env), QByteArray("AAAA"));
}

QTEST_GUILESS_MAIN(tst_Restore)
#include "tst_Restore.moc"
