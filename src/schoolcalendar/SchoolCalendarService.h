// Keeps the school's dates current while the planner runs: refreshes every 6 hours and on demand.
#pragma once

#include "SchoolCalendar.h"
#include "SchoolCalendarFetcher.h"

#include <QObject>

class QTimer;

class SchoolCalendarService final : public QObject
{
    Q_OBJECT
public:
    static constexpr int RefreshIntervalMs = 6 * 60 * 60 * 1000;

    explicit SchoolCalendarService(QObject *parent = nullptr);

    /// Reads the last good copies at once, then fetches every subscription
    /// and keeps doing so every 6 hours. Without subscriptions nothing is fetched.
    void start();
    /// Fetches every stored subscription now (after one was added, or asked for).
    void refresh();

    /// The dates of the last good copies, yesterday to 8 weeks ahead.
    const SchoolCalendar::Dates &dates() const { return m_dates; }
    /// How each subscription fared in the last refresh; empty before the first.
    const QList<SchoolCalendarFetcher::Status> &statuses() const { return m_fetcher->statuses(); }
    bool busy() const { return m_fetcher->busy(); }
    SchoolCalendarFetcher *fetcher() const { return m_fetcher; }

Q_SIGNALS:
    /// The dates were read anew.
    void datesChanged();
    /// A refresh began or ended; `statuses` tells how it went.
    void refreshStateChanged();

private:
    void reread();
    void dropEndedCopies();

    SchoolCalendarFetcher *m_fetcher;
    QTimer *m_timer;
    SchoolCalendar::Dates m_dates;
    bool m_refreshAgain = false;
};
