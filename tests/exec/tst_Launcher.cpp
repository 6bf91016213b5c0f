// Starting a homework's application: program and file as a program and its arguments, never a shell.
#include "model/AppStore.h"
#include "exec/Launcher.h"
#include "support/TestEnvironment.h"

#include <QtTest>

namespace {
// The helper that writes its arguments to the file KALMORA_ARGDUMP names.
QString argdumpPath()
{
    const QString dir = qEnvironmentVariable("KALMORA_TEST_HELPER_DIR");
    return (dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir) + QStringLiteral("/argdump");
}

// Puts a copy of the helper named `name` into `dir` and returns its path.
QString copyHelper(const QString &dir, const QString &name)
{
    QDir().mkpath(dir);
    const QString target = dir + u'/' + name;
    QFile::remove(target);
    if (!QFile::copy(argdumpPath(), target))
        return QString();
    QFile::setPermissions(target, QFile::permissions(argdumpPath()));
    return target;
}

// Reads what the helper wrote, waiting for the detached process.
QStringList dumpedArguments(const QString &dumpPath)
{
    QFile dump(dumpPath);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(dump.exists(), 10000); }();
    if (!dump.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no dump>")};
    QStringList lines = QString::fromLocal8Bit(dump.readAll()).split(u'\n');
    lines.removeLast(); // after the last line end
    return lines;
}

// Prepends a folder to the PATH while it lives.
struct PathPrefix
{
    explicit PathPrefix(const QString &dir)
        : old(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(dir) + ':' + old);
    }
    ~PathPrefix() { qputenv("PATH", old); }
    QByteArray old;
};
}

class tst_Launcher final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void commandsFromStoredValues();
    void startsTheHomeworksApplication();
    void argumentsArriveWhole();
};

void tst_Launcher::initTestCase()
{
    QVERIFY2(QFileInfo(argdumpPath()).isExecutable(), "build the argdump helper first");
}

void tst_Launcher::commandsFromStoredValues()
{
    TestEnvironment env;
    const QString program = copyHelper(env.path(QStringLiteral("Meine Programme")), QStringLiteral("writer"));
    QVERIFY(!program.isEmpty());
    using Command = Launcher::Command;
    // An existing program is one program, blanks and all; the file is one argument.
    QCOMPARE(Launcher::commandFor({program, QStringLiteral("/home/p/Meine Vokabeln.txt")}),
             (Command{program, {QStringLiteral("/home/p/Meine Vokabeln.txt")}}));
    // Program only: no argument at all, not an empty one.
    QCOMPARE(Launcher::commandFor({program, QString()}), (Command{program, {}}));
    // Any other text is a command line: blanks separate, quotes group, the file comes last.
    QCOMPARE(Launcher::commandFor({QStringLiteral("writer --new"), QStringLiteral("a b.txt")}),
             (Command{QStringLiteral("writer"), {QStringLiteral("--new"), QStringLiteral("a b.txt")}}));
    QCOMPARE(Launcher::commandFor({u'"' + program + QStringLiteral("\" -x"), QString()}), (Command{program, {QStringLiteral("-x")}}));
    // Nothing to start: empty, only blanks, or a lone mark.
    QVERIFY(!Launcher::commandFor({}));
    QVERIFY(!Launcher::commandFor({QStringLiteral("   "), QString()}));
    QVERIFY(!Launcher::commandFor(AppValue::fromText(QStringLiteral("?"))));
    // A file alone goes to the desktop's opener on the PATH; without one nothing starts.
    const QString opener = copyHelper(env.path(QStringLiteral("bin")), QStringLiteral("xdg-open"));
    {
        const PathPrefix path(env.path(QStringLiteral("bin")));
        QCOMPARE(Launcher::commandFor({QString(), QStringLiteral("heft.txt")}), (Command{opener, {QStringLiteral("heft.txt")}}));
    }
    {
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(env.path(QStringLiteral("leer"))));
        const bool none = !Launcher::commandFor({QString(), QStringLiteral("heft.txt")});
        qputenv("PATH", oldPath);
        QVERIFY(none);
    }
}

void tst_Launcher::startsTheHomeworksApplication()
{
    TestEnvironment env;
    QList<Launcher::Command> started;
    Launcher::setStarter([&](const Launcher::Command &command) {
        started.append(command);
        return true;
    });
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {QStringLiteral("editor"), QString()});
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Mathe"), {});
    // An empty application starts nothing; so does a homework without one.
    QVERIFY(!Launcher::startHomeworkApplication(QStringLiteral("Mathe"), QStringLiteral("08.12.2026")));
    QVERIFY(!Launcher::startHomeworkApplication(QStringLiteral("Kunst"), QStringLiteral("08.12.2026")));
    QVERIFY(started.isEmpty());
    // The program alone starts without an argument.
    QVERIFY(Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026")));
    QCOMPARE(started, QList<Launcher::Command>({{QStringLiteral("editor"), {}}}));
    // A failed start is passed on as such.
    Launcher::setStarter([](const Launcher::Command &) { return false; });
    QVERIFY(!Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026")));
    Launcher::setStarter({});
    // The real start of a program that does not exist fails quietly.
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Physik"), {env.path(QStringLiteral("fehlt/kein programm")), QString()});
    QVERIFY(!Launcher::startHomeworkApplication(QStringLiteral("Physik"), QStringLiteral("08.12.2026")));
}

void tst_Launcher::argumentsArriveWhole()
{
    TestEnvironment env;
    const QString dump = env.path(QStringLiteral("args.txt"));
    qputenv("KALMORA_ARGDUMP", QFile::encodeName(dump));
    const QString program = copyHelper(env.path(QStringLiteral("Meine Programme")), QStringLiteral("Schreib Programm"));
    const QString file = env.path(QStringLiteral("Englisch Heft/Vokabeln Lektion 3.txt"));
    // A program and a file, both with blanks, started for real.
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {program, file});
    QVERIFY(Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026")));
    QCOMPARE(dumpedArguments(dump), QStringList{file});
    // The program alone gets no argument.
    QFile::remove(dump);
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {program, QString()});
    QVERIFY(Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026")));
    QCOMPARE(dumpedArguments(dump), QStringList());
    // A file alone reaches the opener whole.
    QFile::remove(dump);
    copyHelper(env.path(QStringLiteral("bin")), QStringLiteral("xdg-open"));
    const PathPrefix path(env.path(QStringLiteral("bin")));
    AppStore::setHomeworkApplication(QStringLiteral("08.12.2026"), QStringLiteral("Englisch"), {QString(), file});
    QVERIFY(Launcher::startHomeworkApplication(QStringLiteral("Englisch"), QStringLiteral("08.12.2026")));
    QCOMPARE(dumpedArguments(dump), QStringList{file});
    qunsetenv("KALMORA_ARGDUMP");
}

QTEST_GUILESS_MAIN(tst_Launcher)
#include "tst_Launcher.moc"
