// Servers and tools that a test starts: an X server, a window manager, a session bus, their command-line tools.
#include "TestProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

void TestServer::start(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                       bool readOutput)
{
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    if (!readOutput)
        m_process.setStandardOutputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    // Also a test killed by its time limit takes its servers with it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    m_process.start(program, arguments);
    m_process.waitForStarted(5000);
}

QString TestServer::firstLine(int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (running() && waited.elapsed() < ms) {
        if (m_process.canReadLine())
            return QString::fromLocal8Bit(m_process.readLine()).trimmed();
        m_process.waitForReadyRead(200);
    }
    return m_process.canReadLine() ? QString::fromLocal8Bit(m_process.readLine()).trimmed() : QString();
}

void TestServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool KillDuringWork::run(const QStringList &arguments, bool &killedInside)
{
    QProcess child;
    child.start(m_program, arguments);
    if (!child.waitForReadyRead(20000))
        return false;
    QElapsedTimer timer;
    timer.start();
    if (m_durations.size() < 3) {
        if (!child.waitForFinished(20000))
            return false;
        m_durations.append(timer.nsecsElapsed() / 1000);
    } else {
        const qint64 span = *std::max_element(m_durations.begin(), m_durations.end());
        QThread::usleep(QRandomGenerator::global()->bounded(span + 1));
        ::kill(pid_t(child.processId()), SIGKILL);
        if (!child.waitForFinished(20000))
            return false;
    }
    killedInside = !child.readAllStandardOutput().contains('e');
    return true;
}

bool KillDuringWork::runKilledAtRename(const QStringList &arguments, int rename, bool &finished, int &exitCode)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_KILL_AT_RENAME"), QString::number(rename));
    child.setProcessEnvironment(environment);
    child.start(m_program, arguments);
    if (!child.waitForFinished(60000))
        return false;
    finished = child.exitStatus() == QProcess::NormalExit;
    exitCode = child.exitCode();
    return true;
}

int KillDuringWork::runKilledAtEachRename(const QStringList &arguments, const std::function<bool(int)> &prepare, int mostRounds)
{
    for (int round = 0; round < mostRounds; ++round) {
        bool finished = false;
        int exitCode = 0;
        if (!prepare(round) || !runKilledAtRename(arguments, round + 1, finished, exitCode))
            return 0;
        if (finished)
            return exitCode == 0 ? round + 1 : 0;
    }
    return 0;
}

QString PrivateDesktop::start(const QString &folder, const QString &screen)
{
    for (const char *tool : {"dbus-daemon", "Xvfb"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return QStringLiteral("not installed: ") + QLatin1String(tool);
    }
    const QDir dir(folder);
    dir.mkpath(QStringLiteral("run"));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("HOME"), folder);
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));

    QFile config(dir.filePath(QStringLiteral("bus.conf")));
    if (!config.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the bus configuration");
    config.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                                " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                     .arg(folder)
                     .toUtf8());
    config.close();
    m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                                                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")},
                environment, true);
    busAddress = m_bus.firstLine(10000);
    if (busAddress.isEmpty())
        return QStringLiteral("the private session bus (dbus-daemon) did not start");
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    // -displayfd 1: the server picks a free display and prints its number.
    m_xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                                             screen, QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                    environment, true);
    const QString number = m_xserver.firstLine(15000);
    if (number.isEmpty())
        return QStringLiteral("the X server (Xvfb) did not start");
    environment.insert(QStringLiteral("DISPLAY"), u':' + number);
    return {};
}

void allowXkbStringCopies(QProcessEnvironment &environment)
{
    if (environment.contains(QStringLiteral("ASAN_OPTIONS")))
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":strict_string_checks=0"));
}
