// Fetching the subscriptions over https with Qt Network: conditional requests, bounded answers, own redirections.
#include "SchoolCalendarFetcher.h"

#include "AsyncSocket/CertificateFault.h"
#include "Options/ResearchServer.h"
#include "SchoolCalendar.h"
#include "SchoolCalendarError.h"
#include "SchoolFeed.h"
#include "platform/Clock.h"
#include "platform/Errors.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

struct SchoolCalendarFetcher::Job
{
    qsizetype index = 0;
    QUrl url;
    int redirections = 0;
    QNetworkReply *reply = nullptr;
    QTimer *stall = nullptr;
    QByteArray body;
    bool tooLarge = false;
    bool stalled = false;
    QStringList certificateProblems;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorText;
};

namespace {

QNetworkProxy proxyFromEnvironment()
{
    const ResearchServer::Proxy proxy = ResearchServer::ProxySettings();
    if (!proxy.enabled())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return QNetworkProxy(QNetworkProxy::HttpProxy, proxy.host, proxy.port.toUShort(), proxy.user, proxy.password);
}

} // namespace

SchoolCalendarFetcher::SchoolCalendarFetcher(QObject *parent)
    : QObject(parent)
{
}

SchoolCalendarFetcher::~SchoolCalendarFetcher() = default;

void SchoolCalendarFetcher::refresh(const QList<SchoolCalendarSettings::Subscription> &subscriptions)
{
    if (busy())
        return;
    // Built at the first refresh, which comes after the first frame.
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_network->setProxy(proxyFromEnvironment());
    m_statuses.clear();
    for (const SchoolCalendarSettings::Subscription &subscription : subscriptions) {
        Status status;
        status.subscription = subscription;
        const SchoolCalendar::Copy copy = SchoolCalendar::readCopy(subscription.address);
        status.hasCopy = copy.exists();
        status.fetchedAt = copy.fetchedAt;
        m_statuses.append(status);
    }
    if (m_statuses.isEmpty()) {
        QTimer::singleShot(0, this, &SchoolCalendarFetcher::finished);
        return;
    }
    m_pending = int(m_statuses.size());
    for (qsizetype i = 0; i < m_statuses.size(); ++i) {
        auto *job = new Job;
        job->index = i;
        try {
            start(job, SchoolCalendar::fetchAddress(m_statuses[i].subscription.address));
        } catch (const SchoolCalendarError &error) {
            // Reported from the event loop, like every other end of a fetch.
            QTimer::singleShot(0, this, [this, job, message = error.message()] { fail(job, message); });
        }
    }
}

void SchoolCalendarFetcher::start(Job *job, const QUrl &url)
{
    job->url = url;
    job->body.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // No compressed answers: the size limit must hold for what is read, not what is sent.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setRawHeader("Accept", "text/calendar, */*;q=0.5");
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Kalmora/2.0"));
    const SchoolCalendar::Copy copy = SchoolCalendar::readCopy(m_statuses[job->index].subscription.address);
    if (copy.exists()) {
        if (!copy.etag.isEmpty())
            request.setRawHeader("If-None-Match", copy.etag.toUtf8());
        if (!copy.lastModified.isEmpty())
            request.setRawHeader("If-Modified-Since", copy.lastModified.toUtf8());
    }
    QNetworkReply *reply = m_network->get(request);
    job->reply = reply;
    if (!job->stall) {
        job->stall = new QTimer(this);
        job->stall->setSingleShot(true);
        connect(job->stall, &QTimer::timeout, this, [job] {
            job->stalled = true;
            if (job->reply)
                job->reply->abort();
        });
    }
    job->stall->start(m_stallTimeout);
    const auto progressed = [this, job] { job->stall->start(m_stallTimeout); };
    connect(reply, &QNetworkReply::metaDataChanged, this, [job, reply] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > SchoolCalendar::MostBytes) {
            job->tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::readyRead, this, [job, reply, progressed] {
        progressed();
        job->body += reply->readAll();
        if (job->body.size() > SchoolCalendar::MostBytes) {
            job->tooLarge = true;
            job->body.clear();
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::sslErrors, this, [job](const QList<QSslError> &errors) {
        for (const QSslError &error : errors)
            job->certificateProblems.append(CertificateFault(error));
    });
    connect(reply, &QNetworkReply::finished, this, [this, job] { replyFinished(job); });
}

void SchoolCalendarFetcher::replyFinished(Job *job)
{
    QNetworkReply *reply = job->reply;
    job->reply = nullptr;
    reply->deleteLater();
    job->stall->stop();
    if (!job->tooLarge && reply->isOpen())
        job->body += reply->readAll();
    const QString host = job->url.host();
    if (job->tooLarge)
        return fail(job, QStringLiteral("Die Antwort von %1 ist größer als 10 MB und wurde abgebrochen.").arg(host));
    if (job->stalled)
        return fail(job, QStringLiteral("Der Server %1 antwortet nicht (%2 Sekunden ohne Daten).").arg(host).arg(m_stallTimeout / 1000));
    const int code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (code >= 300 && code < 400 && code != 304) {
        // Qt's parsed Location header drops relative addresses ("/f/plan.ics"): the raw one is resolved here.
        const QByteArray location = reply->rawHeader("Location").trimmed();
        if (location.isEmpty())
            return fail(job, QStringLiteral("%1 leitet weiter, nennt aber kein Ziel.").arg(host));
        const QUrl target = job->url.resolved(QUrl(QString::fromUtf8(location)));
        if (++job->redirections > MostRedirections)
            return fail(job, QStringLiteral("%1 leitet zu oft weiter (mehr als %2 Mal).").arg(host).arg(MostRedirections));
        if (!SchoolCalendar::isFetchable(target))
            return fail(job, QStringLiteral("%1 leitet auf eine unsichere Adresse weiter: %2").arg(host, target.toDisplayString()));
        return start(job, target);
    }
    if (reply->error() != QNetworkReply::NoError && code == 0) {
        job->error = reply->error();
        job->errorText = reply->errorString();
        return fail(job, networkFailure(job));
    }
    if (code == 304) {
        Status &status = m_statuses[job->index];
        SchoolCalendar::Copy copy = SchoolCalendar::readCopy(status.subscription.address);
        copy.fetchedAt = Clock::now();
        try {
            SchoolCalendar::writeCopy(status.subscription.address, copy);
        } catch (const KalmoraError &error) {
            return fail(job, error.message());
        }
        status.ok = true;
        status.fetchedAt = copy.fetchedAt;
        return end(job);
    }
    if (code != 200)
        return fail(job, QStringLiteral("Der Server %1 meldet %2 %3.")
                             .arg(host)
                             .arg(code)
                             .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    SchoolCalendar::Copy copy;
    copy.etag = QString::fromUtf8(reply->rawHeader("ETag"));
    copy.lastModified = QString::fromUtf8(reply->rawHeader("Last-Modified"));
    copy.feed = std::move(job->body);
    keep(job, std::move(copy));
}

void SchoolCalendarFetcher::keep(Job *job, SchoolCalendar::Copy copy)
{
    Status &status = m_statuses[job->index];
    // Only a feed that reads is kept: a broken answer leaves the last good copy.
    try {
        if (copy.feed.isEmpty())
            throw SchoolCalendarError(QStringLiteral("Die Antwort ist leer."));
        SchoolFeed::read(copy.feed, SchoolCalendar::firstDay(), SchoolCalendar::lastDay());
        copy.fetchedAt = Clock::now();
        SchoolCalendar::writeCopy(status.subscription.address, copy);
    } catch (const KalmoraError &error) {
        return fail(job, QStringLiteral("%1: %2").arg(job->url.host(), error.message()));
    }
    status.ok = true;
    status.hasCopy = true;
    status.fetchedAt = copy.fetchedAt;
    end(job);
}

QString SchoolCalendarFetcher::networkFailure(Job *job) const
{
    const QString host = job->url.host();
    if (!job->certificateProblems.isEmpty())
    {
        job->certificateProblems.removeDuplicates();
        return QStringLiteral("Das Zertifikat von %1 wird abgelehnt: %2.").arg(host, job->certificateProblems.join(QStringLiteral("; ")));
    }
    switch (job->error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Der Server %1 wurde nicht gefunden.").arg(host);
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Der Server %1 nimmt keine Verbindung an.").arg(host);
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Mit %1 kommt keine sichere Verbindung zustande.").arg(host);
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("Der Proxy für %1 ist nicht erreichbar oder lehnt ab.").arg(host);
    default:
        return QStringLiteral("Der Kalender von %1 kann nicht abgerufen werden (%2).").arg(host, job->errorText);
    }
}

void SchoolCalendarFetcher::fail(Job *job, const QString &message)
{
    Status &status = m_statuses[job->index];
    status.ok = false;
    status.error = message;
    end(job);
}

void SchoolCalendarFetcher::end(Job *job)
{
    m_statuses[job->index].done = true;
    if (job->stall)
        job->stall->deleteLater();
    delete job;
    if (--m_pending == 0)
        Q_EMIT finished();
}
