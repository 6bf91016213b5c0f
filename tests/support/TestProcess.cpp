// Servers and tools that a test starts: an X server, a window manager, a session bus, their command-line tools.
#include "TestProcess.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
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
