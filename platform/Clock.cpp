// Today and now, replaceable for tests and for trying a chosen moment.
#include "Clock.h"

namespace {
struct ClockState
{
    bool fixed = false;
    bool running = false;
    QDateTime moment;
    qint64 setAtMs = 0; // system time when the moment was set
};

ClockState &state()
{
    static ClockState s;
    return s;
}
}

QDateTime Clock::now()
{
    const ClockState &s = state();
    if (!s.fixed)
        return QDateTime::currentDateTime();
    if (!s.running)
        return s.moment;
    return s.moment.addMSecs(QDateTime::currentMSecsSinceEpoch() - s.setAtMs);
}

void Clock::setNow(const QDateTime &moment, bool running)
{
    ClockState &s = state();
    s.fixed = true;
    s.running = running;
    s.moment = moment;
    s.setAtMs = QDateTime::currentMSecsSinceEpoch();
}

void Clock::reset()
{
    state() = ClockState();
}

bool Clock::initFromEnvironment()
{
    const QString text = qEnvironmentVariable("KALMORA_NOW");
    if (text.isEmpty())
        return true;
    QDateTime moment = QDateTime::fromString(text, Qt::ISODate);
    if (!moment.isValid()) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (!day.isValid())
            return false;
        moment = day.startOfDay();
    }
    setNow(moment, true);
    return true;
}
