// Servers and tools that a test starts: an X server, a window manager, a session bus, their command-line tools.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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

/// Runs a tool to its end (at most five seconds) and gives what it printed
/// on standard output without outer blanks, or an empty text.
QString runTool(const QString &program, const QStringList &arguments,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
