// The timing of the evening reminder.
#include "PackingScheduler.h"

#include "PackingDisplay.h"
#include "PackingReminder.h"
#include "platform/Clock.h"

#include <algorithm>
#include <exception>

PackingScheduler::PackingScheduler(PackingDisplay &display, QObject *parent)
    : QObject(parent)
    , m_display(display)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::VeryCoarseTimer); // to the second is plenty for an evening
    connect(&m_timer, &QTimer::timeout, this, &PackingScheduler::timerFired);
}

void PackingScheduler::start()
{
    check();
}

bool PackingScheduler::check()
{
    PackingSettings::Options options;
    try {
        options = PackingSettings::load();
        const bool shownNow = showIfDue(options);
        arm(options);
        return shownNow;
    } catch (...) {
        m_next = Clock::now().addMSecs(MaxWaitMs); // look again later
        m_timer.start(MaxWaitMs);
        throw;
    }
}

bool PackingScheduler::showIfDue(PackingSettings::Options options)
{
    if (m_shownOn.isValid() && (!options.shownOn.isValid() || m_shownOn > options.shownOn))
        options.shownOn = m_shownOn;
    const QDateTime now = Clock::now();
    if (!PackingReminder::isDue(now.date(), now.time(), options))
        return false;
    const QString text = PackingReminder::text(now.date());
    if (text.isEmpty()) {
        m_quietOn = now.date(); // nothing to pack: no lessons and no homework tomorrow
        return false;
    }
    m_shownOn = now.date();
    m_display.showReminder(PackingReminder::summary(), text);
    Q_EMIT shown(text);
    PackingSettings::markShown(m_shownOn);
    return true;
}

void PackingScheduler::arm(const PackingSettings::Options &options)
{
    PackingSettings::Options effective = options;
    for (const QDate day : {m_shownOn, m_quietOn}) {
        if (day.isValid() && (!effective.shownOn.isValid() || day > effective.shownOn))
            effective.shownOn = day;
    }
    const QDateTime now = Clock::now();
    QDateTime next;
    try {
        next = PackingReminder::nextMoment(now, effective);
    } catch (...) {
        next = now.addMSecs(MaxWaitMs); // the file could not be read: look again later
    }
    m_next = next;
    if (!next.isValid()) {
        m_timer.stop();
        return;
    }
    const qint64 wait = std::clamp<qint64>(now.msecsTo(next), 1000, MaxWaitMs);
    m_timer.start(int(wait));
}

void PackingScheduler::timerFired()
{
    try {
        check();
    } catch (const std::exception &error) {
        Q_EMIT failed(QString::fromLocal8Bit(error.what()));
    }
}
