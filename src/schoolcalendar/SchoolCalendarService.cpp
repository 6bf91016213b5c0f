// Refreshing the subscriptions on a timer and reading their dates after each refresh.
#include "SchoolCalendarService.h"

#include <QTimer>

#include <algorithm>

SchoolCalendarService::SchoolCalendarService(QObject *parent)
    : QObject(parent)
    , m_fetcher(new SchoolCalendarFetcher(this))
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(RefreshIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &SchoolCalendarService::refresh);
    connect(m_fetcher, &SchoolCalendarFetcher::finished, this, [this] {
        dropEndedCopies();
        reread();
        Q_EMIT refreshStateChanged();
        // A subscription added while the refresh ran is fetched now.
        if (std::exchange(m_refreshAgain, false))
            refresh();
    });
}

void SchoolCalendarService::start()
{
    reread();
    refresh();
    m_timer->start();
}

void SchoolCalendarService::refresh()
{
    if (m_fetcher->busy()) {
        m_refreshAgain = true;
        return;
    }
    const QList<SchoolCalendarSettings::Subscription> subscriptions = SchoolCalendarSettings::load();
    if (subscriptions.isEmpty()) {
        reread();
        return;
    }
    m_fetcher->refresh(subscriptions);
    Q_EMIT refreshStateChanged();
}

void SchoolCalendarService::reread()
{
    m_dates = SchoolCalendar::readStored();
    Q_EMIT datesChanged();
}

void SchoolCalendarService::dropEndedCopies()
{
    // A subscription ended while its fetch ran must not leave its copy behind.
    const QList<SchoolCalendarSettings::Subscription> stored = SchoolCalendarSettings::load();
    for (const SchoolCalendarFetcher::Status &status : m_fetcher->statuses()) {
        if (std::none_of(stored.begin(), stored.end(), [&](const auto &s) { return s.address == status.subscription.address; }))
            SchoolCalendar::removeCopy(status.subscription.address);
    }
}
