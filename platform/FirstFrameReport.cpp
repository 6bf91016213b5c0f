// Start-up measurement for the benchmarks.
#include "FirstFrameReport.h"

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

// Field 22 of /proc/self/stat is the start time in clock ticks since boot;
// the command name in field 2 may hold blanks, so fields count after its ')'.
double processStartSecondsSinceBoot()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    constexpr int startTimeField = 22 - 3; // fields after ')' begin with field 3
    if (fields.size() <= startTimeField)
        return -1;
    return fields[startTimeField].toDouble() / double(sysconf(_SC_CLK_TCK));
}

class PaintWatcher final : public QObject
{
public:
    PaintWatcher(QWidget *window, std::function<std::string()> moreFields)
        : QObject(window), m_moreFields(std::move(moreFields))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            // Report once the paint has been handled and the frame is out.
            QTimer::singleShot(0, [moreFields = m_moreFields] {
                const std::string more = moreFields ? " " + moreFields() : std::string();
                std::printf("first-frame-ms=%.1f rss-kb=%ld%s\n", FirstFrameReport::processAgeMs(),
                            FirstFrameReport::residentKb(), more.c_str());
                std::fflush(stdout);
                std::_Exit(0);
            });
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    std::function<std::string()> m_moreFields;
};

}

double FirstFrameReport::processAgeMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double start = processStartSecondsSinceBoot();
    if (start < 0)
        return -1;
    return (double(now.tv_sec) + double(now.tv_nsec) / 1e9 - start) * 1000.0;
}

long FirstFrameReport::residentKb()
{
    // /proc files report a size of 0, so they are read whole rather than line by line.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void FirstFrameReport::armFromEnvironment(QWidget *window, std::function<std::string()> moreFields)
{
    if (qEnvironmentVariableIsEmpty("KALMORA_EXIT_AFTER_SHOW") || !window)
        return;
    window->installEventFilter(new PaintWatcher(window, std::move(moreFields)));
}
