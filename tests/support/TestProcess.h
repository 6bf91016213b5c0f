// Servers and tools that a test starts: an X server, a window manager, a session bus, their command-line tools.
#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

/// A process the test started, ended with the test at the latest: by its
/// destructor, and by the system when the test process itself is killed.
class TestServer final
{
public:
    TestServer() = default;
    ~TestServer() { stop(); }
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    QProcess &process() { return m_process; }

    /// Only with `readOutput` is what the process prints kept.
    void start(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
               bool readOutput = false);
    bool running() const { return m_process.state() == QProcess::Running; }
    /// The first line the process printed, waiting at most `ms`.
    QString firstLine(int ms);
    void stop();

private:
    QProcess m_process;
};

/// For a child that connects to an X server: the keyboard map library of the
/// X connection copies names with strndup from buffers that are not
/// NUL-terminated, which only the address sanitizer's strict string check
/// takes for an overflow, so the child goes without that check.
void allowXkbStringCopies(QProcessEnvironment &environment);

/// Runs a tool to its end (at most five seconds) and gives what it printed
/// on standard output without outer blanks, or an empty text.
QString runTool(const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

/// Kills a helper program in the middle of its work. The helper prints "b"
/// when its work begins and "e" when it ends. The first runs are left to
/// finish and measure the work; each later one is killed with SIGKILL at a
/// random moment after "b" within the longest work measured.
class KillDuringWork final
{
public:
    explicit KillDuringWork(QString program) : m_program(std::move(program)) {}

    /// One run; false when it did not start, print "b" or end. `killedInside`
    /// tells whether the run ended before its work did (no "e").
    bool run(const QStringList &arguments, bool &killedInside);
    /// One run that kills itself just before its `rename`-th rename (the
    /// helper reads KALMORA_KILL_AT_RENAME); false when it did not end.
    /// `finished` tells whether it ran out of renames first and ended
    /// normally, with `exitCode`.
    bool runKilledAtRename(const QStringList &arguments, int rename, bool &finished, int &exitCode);
    /// Kills runs at each of their renames in turn: round r (from 0) calls
    /// `prepare(r)`, which adds the round's work and returns false when that
    /// failed, then a run killed just before its (r+1)-th rename, until a run
    /// ends by itself with exit code 0. The rounds taken; 0 when a round
    /// failed or no run ended by itself within `mostRounds`.
    int runKilledAtEachRename(const QStringList &arguments, const std::function<bool(int round)> &prepare, int mostRounds = 40);

private:
    QString m_program;
    QList<qint64> m_durations; // microseconds from "b" to the end of the measured runs
};

/// A private desktop for a test: a session bus of its own (nothing started
/// on demand) and an X server, with the environment that reaches them and
/// private XDG folders inside `folder`.
class PrivateDesktop final
{
public:
    /// The missing tools' names, or what did not start; empty on success.
    QString start(const QString &folder, const QString &screen = QStringLiteral("1280x1024x24"));

    QProcessEnvironment environment;
    QString busAddress;

private:
    TestServer m_bus;
    TestServer m_xserver;
};
