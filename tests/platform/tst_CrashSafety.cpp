// Writers of the settings file and of the grade files killed at random moments, and what they leave.
#include "model/GradeStore.h"
#include "model/GradeTree.h"
#include "model/SettingsFile.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

constexpr int kRounds = 250;
const QString kSettings = QStringLiteral("DEZUVEDIRED.INI");
const QString kTree = QStringLiteral("NOTEN.DAT");
const QString kRecords = QStringLiteral("NOTEN.NOT");
// Far above any process id the system hands out, so no process runs under it.
const QString kDeadPid = QStringLiteral("2147483647");

quint32 seed()
{
    bool ok = false;
    const quint32 fromEnvironment = qEnvironmentVariable("KALMORA_CRASH_SEED").toUInt(&ok);
    return ok ? fromEnvironment : 20261207u;
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Empties `dir` and fills it with the given files.
void resetDir(const QString &dir, const QList<std::pair<QString, QByteArray>> &files)
{
    for (const QString &name : filesIn(dir))
        QFile::remove(dir + name);
    for (const auto &[name, bytes] : files) {
        QFile file(dir + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(dir + name));
    }
}

// The one content of each file that a writer makes from one variant.
struct Content
{
    QByteArray first;
    QByteArray second;
    bool operator==(const Content &) const = default;
};

// How the kills of one writer fell.
struct Tally
{
    int beforeFirstWrite = 0;
    int insideWrite = 0;
    int betweenWrites = 0;
    int afterExit = 0;
    int temporaryLeft = 0;
    int pendingLeft = 0;
    int halfReplaced = 0;
};

struct Kill
{
    QByteArray marks; // "b" before and "e" after each write
    bool exitedFirst = false;
};

class KillingRun final
{
public:
    KillingRun(const QString &program, QString dir)
        : m_program(program), m_dir(std::move(dir))
    {
    }

    // Runs the writer to its end and gives the time that took, in microseconds.
    qint64 timeOneRun(const QStringList &arguments) const
    {
        QElapsedTimer timer;
        timer.start();
        QProcess child;
        child.start(m_program, arguments);
        if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            qFatal("%s failed", qPrintable(m_program));
        return timer.nsecsElapsed() / 1000;
    }

    Kill startAndKill(const QStringList &arguments, qint64 delayMicroseconds) const
    {
        QProcess child;
        child.start(m_program, arguments);
        if (!child.waitForStarted())
            qFatal("%s did not start", qPrintable(m_program));
        QThread::usleep(quint64(delayMicroseconds));
        child.kill();
        child.waitForFinished(-1);
        Kill kill;
        kill.marks = child.readAllStandardOutput();
        kill.exitedFirst = child.exitStatus() == QProcess::NormalExit;
        if (kill.exitedFirst && child.exitCode() != 0)
            qFatal("%s failed", qPrintable(m_program));
        return kill;
    }

    void count(const Kill &kill, Tally &tally) const
    {
        if (kill.exitedFirst)
            ++tally.afterExit;
        else if (kill.marks.isEmpty())
            ++tally.beforeFirstWrite;
        else if (kill.marks.endsWith('b'))
            ++tally.insideWrite;
        else
            ++tally.betweenWrites;
        const QStringList names = filesIn(m_dir);
        tally.temporaryLeft += std::any_of(names.begin(), names.end(), [](const QString &n) { return n.endsWith(u".tmp"); });
        tally.pendingLeft += std::any_of(names.begin(), names.end(), [](const QString &n) { return n.endsWith(u".new"); });
    }

private:
    QString m_program;
    QString m_dir;
};

// The contents a kill may have left: the one of the last whole write and,
// when the kill fell inside a write, the one that write was making.
QList<Content> allowedContents(const Kill &kill, const Content &old, const QList<Content> &written)
{
    const int done = int(kill.marks.count('e'));
    QList<Content> allowed = {done == 0 ? old : written[(done - 1) % written.size()]};
    if (kill.marks.endsWith('b'))
        allowed.append(written[done % written.size()]);
    return allowed;
}

QString describe(const Tally &t)
{
    return QStringLiteral("killed before the first write %1, inside a write %2, between writes %3, after the "
                          "writer's end %4; temporary file at the kill %5, pending group file %6, one file of "
                          "the pair replaced %7")
        .arg(t.beforeFirstWrite).arg(t.insideWrite).arg(t.betweenWrites).arg(t.afterExit)
        .arg(t.temporaryLeft).arg(t.pendingLeft).arg(t.halfReplaced);
}

GradeTree smallTree(bool withGrade)
{
    GradeTree tree;
    GradeNode &subject = tree.addRoot(QStringLiteral("Mathematik"), GradeNode::FileImage);
    GradeNode &tests = subject.addChild(QStringLiteral("Kurs-/Klassenarbeiten"), GradeNode::FileImage, GradeRecord{0, 2});
    if (withGrade)
        tests.addChild(QStringLiteral("1. Arbeit"), GradeNode::FileImage, GradeRecord{3, 1});
    subject.addChild(QStringLiteral("andere Leistungsnachweise"), GradeNode::FileImage, GradeRecord{0, 1});
    return tree;
}

QStringList dump(const GradeTree &tree)
{
    QStringList lines;
    for (const GradeNode *node : tree.preOrder()) {
        const auto record = node->record();
        lines.append(QStringLiteral("%1|%2|%3").arg(node->level()).arg(node->text(),
            record ? QStringLiteral("%1/%2").arg(record->value).arg(record->weight) : QStringLiteral("-")));
    }
    return lines;
}

}

class tst_CrashSafety final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void killedSettingsWriterLeavesOldOrNewFile();
    void killedGradeWriterLeavesOldOrNewPair();
    void cutOffGradeSaveIsCompletedOrUndone();
    void temporaryFilesOfEndedWritersAreRemoved();
};

void tst_CrashSafety::initTestCase()
{
    qInfo("random seed %u (set KALMORA_CRASH_SEED to repeat a run)", seed());
}

void tst_CrashSafety::killedSettingsWriterLeavesOldOrNewFile()
{
    TestEnvironment env;
    const QString writer = TestEnvironment::helperDir() + QStringLiteral("profilewriter");
    QVERIFY2(QFile::exists(writer), qPrintable(writer));

    // The two contents as the program writes them, B over A and A over B.
    QTemporaryDir reference;
    const QString refDir = reference.path() + u'/';
    KillingRun(writer, refDir).timeOneRun({QStringLiteral("--settings"), refDir, QStringLiteral("1"), QStringLiteral("A")});
    const Content a{readFile(refDir + kSettings), {}};
    KillingRun(writer, refDir).timeOneRun({QStringLiteral("--settings"), refDir, QStringLiteral("1"), QStringLiteral("B")});
    const Content b{readFile(refDir + kSettings), {}};
    QVERIFY(a.first.size() > 5000 && b.first.size() > a.first.size());

    // One whole run of the writer: start, one write, end. Kills are spread over it.
    const KillingRun run(writer, env.dir());
    const QStringList once = {QStringLiteral("--settings"), env.dir(), QStringLiteral("1"), QStringLiteral("B")};
    const QStringList looping = {QStringLiteral("--settings"), env.dir(), QStringLiteral("0"), QStringLiteral("B"), QStringLiteral("A")};
    qint64 runTime = 0;
    for (int i = 0; i < 3; ++i) {
        resetDir(env.dir(), {{kSettings, a.first}});
        runTime = std::max(runTime, run.timeOneRun(once));
        QCOMPARE(readFile(env.path(kSettings)), b.first);
    }

    QRandomGenerator random(seed());
    QElapsedTimer timer;
    timer.start();
    Tally tally;
    for (int round = 0; round < kRounds; ++round) {
        resetDir(env.dir(), {{kSettings, a.first}});
        // Odd rounds kill a writer that writes B and A in turn, so kills fall inside writes often.
        const bool loop = round % 2 == 1;
        const qint64 delay = random.bounded(loop ? 2 * runTime : runTime * 13 / 10);
        const Kill kill = run.startAndKill(loop ? looping : once, delay);
        run.count(kill, tally);

        const QList<Content> allowed = allowedContents(kill, a, loop ? QList<Content>{b, a} : QList<Content>{b});
        const Content found{readFile(env.path(kSettings)), {}};
        QVERIFY2(allowed.contains(found), qPrintable(QStringLiteral("round %1, delay %2 us, marks '%3': %4 bytes")
                                                         .arg(round).arg(delay).arg(QString::fromLatin1(kill.marks))
                                                         .arg(found.first.size())));

        // A later write through the program succeeds and leaves only the settings file.
        SettingsFile::use([round](ProfileFile &ini) { ini.writeString(u"Check", u"round", QString::number(round)); });
        QCOMPARE(SettingsFile::read([](const ProfileFile &ini) { return ini.readString(u"Check", u"round", QString()); }),
                 QString::number(round));
        QCOMPARE(filesIn(env.dir()), QStringList{kSettings});
    }
    qInfo().noquote() << QStringLiteral("settings writer: %1 rounds in %2 s, one run %3 ms;").arg(kRounds)
                             .arg(timer.elapsed() / 1000.0, 0, 'f', 1).arg(runTime / 1000.0, 0, 'f', 1)
                      << describe(tally);
    QVERIFY2(tally.insideWrite > 0, "no kill fell inside a write");
}

void tst_CrashSafety::killedGradeWriterLeavesOldOrNewPair()
{
    TestEnvironment env;
    const QString writer = TestEnvironment::helperDir() + QStringLiteral("gradewriter");
    QVERIFY2(QFile::exists(writer), qPrintable(writer));

    QTemporaryDir reference;
    const QString refDir = reference.path() + u'/';
    const auto saved = [&refDir] { return Content{readFile(refDir + kTree), readFile(refDir + kRecords)}; };
    KillingRun(writer, refDir).timeOneRun({refDir, QStringLiteral("1"), QStringLiteral("A")});
    const Content a = saved();
    KillingRun(writer, refDir).timeOneRun({refDir, QStringLiteral("1"), QStringLiteral("B")});
    const Content b = saved();
    // Both files differ in size, so a pair of A's tree with B's records cannot go unnoticed.
    QVERIFY(a.first.size() != b.first.size() && a.second.size() != b.second.size());

    const KillingRun run(writer, env.dir());
    const QStringList once = {env.dir(), QStringLiteral("1"), QStringLiteral("B")};
    const QStringList looping = {env.dir(), QStringLiteral("0"), QStringLiteral("B"), QStringLiteral("A")};
    const QList<std::pair<QString, QByteArray>> oldFiles = {{kTree, a.first}, {kRecords, a.second}};
    qint64 runTime = 0;
    for (int i = 0; i < 3; ++i) {
        resetDir(env.dir(), oldFiles);
        runTime = std::max(runTime, run.timeOneRun(once));
        QCOMPARE(readFile(env.path(kTree)), b.first);
        QCOMPARE(readFile(env.path(kRecords)), b.second);
    }

    QRandomGenerator random(seed() + 1);
    QElapsedTimer timer;
    timer.start();
    Tally tally;
    for (int round = 0; round < kRounds; ++round) {
        resetDir(env.dir(), oldFiles);
        const bool loop = round % 2 == 1;
        const qint64 delay = random.bounded(loop ? 2 * runTime : runTime * 13 / 10);
        const Kill kill = run.startAndKill(loop ? looping : once, delay);
        run.count(kill, tally);
        const QString where = QStringLiteral("round %1, delay %2 us, marks '%3'").arg(round).arg(delay)
                                  .arg(QString::fromLatin1(kill.marks));

        // Each file on its own is whole, the pending ones too.
        for (const QString &name : filesIn(env.dir())) {
            if (name.endsWith(u".tmp"))
                continue;
            const QByteArray bytes = readFile(env.path(name));
            const bool tree = name.startsWith(kTree);
            QVERIFY2(bytes == (tree ? a.first : a.second) || bytes == (tree ? b.first : b.second),
                     qPrintable(where + u": " + name));
        }
        tally.halfReplaced += (readFile(env.path(kTree)) == b.first) != (readFile(env.path(kRecords)) == b.second);

        // Loading finishes or undoes a cut-off save: the pair belongs together.
        GradeTree tree;
        try {
            QVERIFY(GradeStore::LoadGrades(tree) == GradeStore::Source::File);
        } catch (const KalmoraError &error) {
            QFAIL(qPrintable(where + u": " + error.message()));
        }
        const Content found{readFile(env.path(kTree)), readFile(env.path(kRecords))};
        QVERIFY2(allowedContents(kill, a, loop ? QList<Content>{b, a} : QList<Content>{b}).contains(found),
                 qPrintable(where));

        // Saving what was read gives the same files and leaves nothing else.
        GradeStore::SaveGrades(tree);
        QVERIFY2((Content{readFile(env.path(kTree)), readFile(env.path(kRecords))} == found), qPrintable(where));
        QCOMPARE(filesIn(env.dir()), (QStringList{kTree, kRecords}));
    }
    qInfo().noquote() << QStringLiteral("grade writer: %1 rounds in %2 s, one run %3 ms;").arg(kRounds)
                             .arg(timer.elapsed() / 1000.0, 0, 'f', 1).arg(runTime / 1000.0, 0, 'f', 1)
                      << describe(tally);
    QVERIFY2(tally.insideWrite > 0, "no kill fell inside a save");
}

void tst_CrashSafety::cutOffGradeSaveIsCompletedOrUndone()
{
    TestEnvironment env;
    GradeStore::SaveGrades(smallTree(false));
    const Content a{env.readFile(kTree), env.readFile(kRecords)};
    GradeStore::SaveGrades(smallTree(true));
    const Content b{env.readFile(kTree), env.readFile(kRecords)};
    const QStringList pair = {kTree, kRecords};
    const auto load = [] {
        GradeTree tree;
        GradeStore::LoadGrades(tree);
        return dump(tree);
    };
    const QStringList treeA = dump(smallTree(false));
    const QStringList treeB = dump(smallTree(true));

    // Cut off before the pending record file was whole: the old pair stays, the rest goes.
    resetDir(env.dir(), {{kTree, a.first}, {kRecords, a.second}, {kTree + u".new", b.first},
                         {kRecords + u".new." + kDeadPid + u".tmp", b.second.left(1)}});
    QCOMPARE(load(), treeA);
    QCOMPARE(filesIn(env.dir()), pair);

    // Cut off with both pending files whole: the new pair is put in place.
    resetDir(env.dir(), {{kTree, a.first}, {kRecords, a.second}, {kTree + u".new", b.first}, {kRecords + u".new", b.second}});
    QCOMPARE(load(), treeB);
    QCOMPARE(filesIn(env.dir()), pair);

    // Cut off between the two renames: the tree file is new, the records follow.
    // Read as they lie, B's tree would take A's records and one would be missing.
    resetDir(env.dir(), {{kTree, b.first}, {kRecords, a.second}, {kRecords + u".new", b.second}});
    QCOMPARE(load(), treeB);
    QCOMPARE((Content{env.readFile(kTree), env.readFile(kRecords)}), b);

    // The very first save cut off before its renames: no tree is built from the timetable.
    resetDir(env.dir(), {{kTree + u".new", a.first}, {kRecords + u".new", a.second}});
    QCOMPARE(load(), treeA);
    QCOMPARE(filesIn(env.dir()), pair);

    // A save after a cut-off one starts clean and leaves only the pair.
    resetDir(env.dir(), {{kTree, a.first}, {kRecords, a.second}, {kTree + u".new", b.first}});
    GradeStore::SaveGrades(smallTree(true));
    QCOMPARE(filesIn(env.dir()), pair);
    QCOMPARE(load(), treeB);
}

void tst_CrashSafety::temporaryFilesOfEndedWritersAreRemoved()
{
    TestEnvironment env;
    const QByteArray content = "[A]\r\nx=1\r\n";
    const QString ended = kSettings + u'.' + kDeadPid + QStringLiteral(".tmp");
    const QString running = kSettings + QStringLiteral(".1.tmp"); // the first process runs as long as the system
    const QString foreign = kSettings + QStringLiteral(".backup.tmp");
    resetDir(env.dir(), {{kSettings, content}, {ended, "[A]\r\nx=half"}, {running, "x"}, {foreign, "y"}});

    // Readers never take a temporary file for the settings file.
    QCOMPARE(SettingsFile::read([](const ProfileFile &ini) { return ini.readString(u"A", u"x", QString()); }),
             QStringLiteral("1"));
    // The next write removes the one of the ended writer and keeps files that are not its own.
    SettingsFile::use([](ProfileFile &ini) { ini.writeString(u"A", u"x", u"2"); });
    QCOMPARE(filesIn(env.dir()), (QStringList{kSettings, running, foreign}));
    QCOMPARE(env.readFile(kSettings), QByteArray("[A]\r\nx=2\r\n"));

    // The replaced file keeps its permissions, and a symbolic link stays a link.
    const QString real = env.path(QStringLiteral("real.ini"));
    resetDir(env.dir(), {{QStringLiteral("real.ini"), content}});
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner);
    const QFile::Permissions permissions = QFile::permissions(real);
    QVERIFY(QFile::link(real, env.path(kSettings)));
    SettingsFile::use([](ProfileFile &ini) { ini.writeString(u"A", u"x", u"3"); });
    QVERIFY(QFileInfo(env.path(kSettings)).isSymLink());
    QCOMPARE(env.readFile(QStringLiteral("real.ini")), QByteArray("[A]\r\nx=3\r\n"));
    QCOMPARE(QFile::permissions(real), permissions);
    QCOMPARE(filesIn(env.dir()), (QStringList{kSettings, QStringLiteral("real.ini")}));
}

QTEST_GUILESS_MAIN(tst_CrashSafety)
#include "tst_CrashSafety.moc"
