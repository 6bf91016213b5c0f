// Fetches the subscriptions from their servers and keeps each last good copy.
#pragma once

#include "SchoolCalendar.h"
#include "SchoolCalendarSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSslError>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

class SchoolCalendarFetcher final : public QObject
{
    Q_OBJECT
public:
    /// How one subscription fared in the last refresh.
    struct Status
    {
        SchoolCalendarSettings::Subscription subscription;
        bool done = false;     // the refresh of this one has ended
        bool ok = false;       // the copy is what the server has now
        bool hasCopy = false;  // a last good copy exists (perhaps an older one)
        QString error;         // German, when not ok
        QDateTime fetchedAt;   // when the server last confirmed the copy
    };

    /// Redirections followed before a fetch is refused.
    static constexpr int MostRedirections = 5;

    explicit SchoolCalendarFetcher(QObject *parent = nullptr);
    ~SchoolCalendarFetcher() override;

    /// Time without any data after which a fetch is given up (30 s).
    void setStallTimeout(int milliseconds) { m_stallTimeout = milliseconds; }

    /// Fetches every subscription at once (with If-None-Match and
    /// If-Modified-Since from the last copy); `finished` follows when all are
    /// done. A refresh asked for while one runs is ignored.
    void refresh(const QList<SchoolCalendarSettings::Subscription> &subscriptions);
    bool busy() const { return m_pending > 0; }
    const QList<Status> &statuses() const { return m_statuses; }

Q_SIGNALS:
    void finished();

private:
    struct Job;
    void start(Job *job, const QUrl &url);
    void replyFinished(Job *job);
    void keep(Job *job, SchoolCalendar::Copy copy);
    QString networkFailure(Job *job) const;
    void fail(Job *job, const QString &message);
    void end(Job *job);

    QNetworkAccessManager *m_network = nullptr;
    QList<Status> m_statuses;
    int m_pending = 0;
    int m_stallTimeout = 30000;
};
