// CalDAV over QNetworkAccessManager: the requests wait in a local event loop of the calling thread, up to four at once.
#include "CalDavClient.h"

#include "AsyncSocket/CertificateFault.h"
#include "Multistatus.h"

#include <QAuthenticator>
#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QTimer>

struct CalDavClient::Reply
{
    int status = 0;
    QByteArray body;
    QByteArray etag;
    QUrl url; // after redirects
    QUrl location;
};

namespace {

const QByteArray kXmlHeader = QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");
constexpr int MaxObjects = 100; // hrefs per multiget

bool isLoopback(const QUrl &url)
{
    const QString host = url.host();
    if (host.compare(u"localhost", Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

bool allowedScheme(const QUrl &url)
{
    return url.scheme() == u"https" || (url.scheme() == u"http" && isLoopback(url));
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 && a.port(-1) == b.port(-1);
}

QString pathWithSlash(const QUrl &url)
{
    QString path = url.path();
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

QString unquoted(const QString &etag)
{
    return etag.trimmed();
}

CalDavError badAnswer(const QUrl &url)
{
    return CalDavError(QStringLiteral("Der Server hat auf die Anfrage an %1 unverständlich geantwortet; es wurde nichts übernommen.")
                           .arg(url.toDisplayString(QUrl::RemoveUserInfo)));
}

CalDavError httpFailure(int status, const QUrl &url)
{
    if (status == 401)
        return CalDavError(QStringLiteral("Der Server hat die Anmeldung abgelehnt. Bitte prüfen Sie Benutzername und Passwort."));
    if (status == 403)
        return CalDavError(QStringLiteral("Der Server verweigert den Zugriff auf %1.").arg(url.toDisplayString(QUrl::RemoveUserInfo)));
    if (status == 404)
        return CalDavError(QStringLiteral("Die Adresse %1 gibt es auf dem Server nicht.").arg(url.toDisplayString(QUrl::RemoveUserInfo)));
    return CalDavError(QStringLiteral("Der Server hat mit dem Fehler %1 geantwortet (%2).").arg(status).arg(url.toDisplayString(QUrl::RemoveUserInfo)),
                       status >= 500);
}

}

CalDavClient::CalDavClient(Account account)
    : m_account(std::move(account))
{
    m_network.setAutoDeleteReplies(false);
}

CalDavClient::~CalDavClient() = default;

QUrl CalDavClient::serverUrl(const QString &typed)
{
    QString text = typed.trimmed();
    if (!text.contains(QStringLiteral("://")))
        text.prepend(QStringLiteral("https://"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"http" && url.scheme() != u"https"))
        throw CalDavError(QStringLiteral("„%1“ ist keine gültige Serveradresse.").arg(typed.trimmed()));
    if (!allowedScheme(url))
        throw CalDavError(QStringLiteral("Die Verbindung zu „%1“ wäre unverschlüsselt. Bitte geben Sie eine Adresse mit https:// an.").arg(url.host()));
    return url;
}

QString CalDavClient::hrefFor(const QUrl &collection, const QString &name)
{
    return pathWithSlash(collection) + QString::fromLatin1(QUrl::toPercentEncoding(name));
}

struct CalDavClient::Pending
{
    std::unique_ptr<QNetworkReply> reply;
    QUrl url;
    QTimer timer;
    QString refused;
    QStringList certificateProblems;
    int authentications = 0;
};

std::unique_ptr<CalDavClient::Pending> CalDavClient::start(const Request &request)
{
    if (m_cancel && m_cancel->load())
        throw CalDavError(QStringLiteral("Die Synchronisation wurde abgebrochen."), true);
    const QUrl &url = request.url;
    if (!allowedScheme(url))
        throw CalDavError(QStringLiteral("Die Verbindung zu „%1“ wäre unverschlüsselt; sie wird nicht aufgebaut.").arg(url.host()));
    QNetworkRequest sent(url);
    sent.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    sent.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    sent.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("Kalmora/2.0"));
    if (!request.body.isEmpty())
        sent.setHeader(QNetworkRequest::ContentTypeHeader, request.body.startsWith("<?xml") ? QByteArrayLiteral("application/xml; charset=utf-8")
                                                                                            : QByteArrayLiteral("text/calendar; charset=utf-8"));
    // Sent with the first request: saves the round trip of a refusal each time.
    if (!m_account.user.isEmpty())
        sent.setRawHeader("Authorization", "Basic " + (m_account.user + u':' + m_account.password).toUtf8().toBase64());
    for (const auto &[name, value] : request.headers)
        sent.setRawHeader(name, value);

    ++m_requests;
    auto pending = std::make_unique<Pending>();
    Pending *p = pending.get();
    p->url = url;
    p->reply.reset(m_network.sendCustomRequest(sent, request.verb, request.body));
    QNetworkReply *reply = p->reply.get();
    p->timer.setSingleShot(true);
    p->timer.setInterval(Timeout);
    QObject::connect(&p->timer, &QTimer::timeout, reply, [p] {
        p->refused = QStringLiteral("Der Server %1 antwortet nicht.").arg(p->url.host());
        p->reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [p](qint64 received, qint64 total) {
        p->timer.start();
        if (received > MaxBody || total > MaxBody) {
            p->refused = QStringLiteral("Die Antwort des Servers ist zu groß; es wurde nichts übernommen.");
            p->reply->abort();
        }
    });
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired, reply,
                     [this, p](QNetworkReply *asking, QAuthenticator *authenticator) {
                         if (asking != p->reply.get() || m_account.user.isEmpty() || p->authentications++ > 0)
                             return; // asked again: the name or password is wrong
                         authenticator->setUser(m_account.user);
                         authenticator->setPassword(m_account.password);
                     });
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [p](const QList<QSslError> &errors) {
        for (const QSslError &error : errors)
            p->certificateProblems.append(CertificateFault(error));
    });
    p->timer.start();
    return pending;
}

void CalDavClient::waitForAny(const std::vector<std::unique_ptr<Pending>> &pending)
{
    QEventLoop loop;
    for (const auto &p : pending) {
        if (p->reply->isFinished())
            return;
        QObject::connect(p->reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    }
    QTimer cancelCheck;
    if (m_cancel) {
        QObject::connect(&cancelCheck, &QTimer::timeout, &loop, [&] {
            if (m_cancel->load())
                loop.quit();
        });
        cancelCheck.start(100);
    }
    // No window lives in this thread (or none at all in the tool): nothing waits for this loop.
    loop.exec();
    if (m_cancel && m_cancel->load())
        throw CalDavError(QStringLiteral("Die Synchronisation wurde abgebrochen."), true);
}

CalDavClient::Reply CalDavClient::finish(Pending &pending)
{
    pending.timer.stop();
    QNetworkReply *reply = pending.reply.get();
    const QUrl &url = pending.url;
    if (!pending.refused.isEmpty())
        throw CalDavError(pending.refused, pending.refused.contains(QStringLiteral("antwortet nicht")));
    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (result.status == 0) {
        switch (error) {
        case QNetworkReply::SslHandshakeFailedError:
            pending.certificateProblems.removeDuplicates();
            throw CalDavError(QStringLiteral("Das Zertifikat des Servers %1 ist nicht vertrauenswürdig (%2). Die Verbindung wurde abgelehnt.")
                                  .arg(url.host(), pending.certificateProblems.isEmpty()
                                                       ? QStringLiteral("keine sichere Verbindung")
                                                       : pending.certificateProblems.join(QStringLiteral("; "))));
        case QNetworkReply::ConnectionRefusedError:
            throw CalDavError(QStringLiteral("Der Server %1 ist nicht erreichbar (er nimmt keine Verbindung an).").arg(url.host()), true);
        case QNetworkReply::HostNotFoundError:
            throw CalDavError(QStringLiteral("Der Server %1 ist nicht erreichbar (der Name wurde nicht gefunden).").arg(url.host()), true);
        case QNetworkReply::RemoteHostClosedError:
            throw CalDavError(QStringLiteral("Der Server %1 ist nicht erreichbar (er hat die Verbindung geschlossen).").arg(url.host()), true);
        case QNetworkReply::TimeoutError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
            throw CalDavError(QStringLiteral("Der Server %1 ist nicht erreichbar (%2).").arg(url.host(), reply->errorString()), true);
        default:
            throw CalDavError(QStringLiteral("Die Verbindung zum Server %1 ist fehlgeschlagen (%2).").arg(url.host(), reply->errorString()), true);
        }
    }
    result.body = reply->readAll();
    if (result.body.size() > MaxBody)
        throw CalDavError(QStringLiteral("Die Antwort des Servers ist zu groß; es wurde nichts übernommen."));
    result.etag = reply->rawHeader("ETag");
    result.url = url;
    result.location = QUrl::fromEncoded(reply->rawHeader("Location").trimmed());
    return result;
}

CalDavClient::Reply CalDavClient::sendOnce(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                                           const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    std::vector<std::unique_ptr<Pending>> pending;
    pending.push_back(start({verb, url, body, headers}));
    while (!pending.front()->reply->isFinished())
        waitForAny(pending);
    return finish(*pending.front());
}

namespace {
bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}
}

void CalDavClient::sendAll(const QList<Request> &requests, const std::function<void(qsizetype, const Reply &)> &answered)
{
    std::vector<std::unique_ptr<Pending>> pending; // destroyed on a failure: what is under way is aborted
    std::vector<qsizetype> indexes;
    qsizetype next = 0;
    while (next < requests.size() || !pending.empty()) {
        while (next < requests.size() && pending.size() < std::size_t(InFlight)) {
            pending.push_back(start(requests.at(next)));
            indexes.push_back(next++);
        }
        waitForAny(pending);
        for (std::size_t i = 0; i < pending.size();) {
            if (!pending[i]->reply->isFinished()) {
                ++i;
                continue;
            }
            const std::unique_ptr<Pending> done = std::move(pending[i]);
            const qsizetype index = indexes[i];
            pending.erase(pending.begin() + qptrdiff(i));
            indexes.erase(indexes.begin() + qptrdiff(i));
            Reply reply = finish(*done);
            if (isRedirect(reply.status) && reply.location.isValid()) {
                // Rare: the redirect is followed from the start, with its checks.
                const Request &request = requests.at(index);
                reply = send(request.verb, request.url, request.body, request.headers);
            }
            answered(index, reply);
        }
    }
}

CalDavClient::Reply CalDavClient::send(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                                       const QList<std::pair<QByteArray, QByteArray>> &headers, bool otherHostAllowed)
{
    // Redirects are followed here, with the same method and body (a PROPFIND
    // must stay one), and only to https or loopback, and to another host only
    // while the account is being discovered.
    QUrl target = url;
    for (int hop = 0;; ++hop) {
        Reply reply = sendOnce(verb, target, body, headers);
        if (!isRedirect(reply.status) || !reply.location.isValid())
            return reply;
        const QUrl next = target.resolved(reply.location);
        if (hop >= 5 || !allowedScheme(next) || (!otherHostAllowed && !sameOrigin(next, url)))
            throw CalDavError(QStringLiteral("Der Server leitet zu %1 um; diese Umleitung wird nicht befolgt.").arg(next.toDisplayString(QUrl::RemoveUserInfo)));
        target = next;
    }
}

CalDavClient::Reply CalDavClient::propfind(const QUrl &url, int depth, const QByteArray &props, bool otherHostAllowed)
{
    const QByteArray body = kXmlHeader + "<d:propfind xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop>" + props
                            + "</d:prop></d:propfind>";
    Reply reply = send("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}}, otherHostAllowed);
    if (reply.status != 207)
        throw httpFailure(reply.status, url);
    return reply;
}

QUrl CalDavClient::checkedHref(const QUrl &collection, const QString &href) const
{
    const QUrl resolved = collection.resolved(QUrl(href));
    const QString decoded = QUrl::fromPercentEncoding(href.toUtf8());
    if (!resolved.isValid() || !sameOrigin(resolved, collection) || decoded.contains(QStringLiteral("/../"))
        || decoded.endsWith(QStringLiteral("/..")) || !resolved.path().startsWith(pathWithSlash(collection)))
        throw CalDavError(QStringLiteral("Der Server nennt einen Eintrag außerhalb des Kalenders (%1); es wurde nichts übernommen.").arg(href));
    return resolved;
}

QUrl CalDavClient::discoverHome()
{
    const QUrl server = serverUrl(m_account.server);
    const QByteArray principalProp = "<d:current-user-principal/>";
    // The well-known address first where only a host was typed, else the address itself.
    QList<QUrl> starts{server, server.resolved(QUrl(QStringLiteral("/.well-known/caldav")))};
    if (server.path().isEmpty() || server.path() == u"/")
        std::swap(starts[0], starts[1]);
    QUrl principal;
    std::optional<CalDavError> firstFailure;
    for (const QUrl &start : starts) {
        try {
            const Reply reply = propfind(start, 0, principalProp, true);
            const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
            if (!answer)
                throw badAnswer(start);
            for (const Multistatus::Response &response : answer->responses) {
                const QString href = response.innerHref.value(QStringLiteral("current-user-principal"));
                if (!href.isEmpty())
                    principal = reply.url.resolved(QUrl(href));
            }
            if (principal.isValid() && !sameOrigin(principal, reply.url))
                throw badAnswer(start);
            if (principal.isValid())
                break;
        } catch (const CalDavError &error) {
            if (error.offline() || error.message().contains(QStringLiteral("Anmeldung")) || error.message().contains(QStringLiteral("Zertifikat")))
                throw;
            if (!firstFailure)
                firstFailure = error;
        }
    }
    if (!principal.isValid()) {
        if (firstFailure)
            throw *firstFailure;
        throw CalDavError(QStringLiteral("Unter dieser Adresse wurde kein CalDAV-Konto gefunden."));
    }
    const Reply reply = propfind(principal, 0, "<c:calendar-home-set/>");
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer)
        throw badAnswer(principal);
    for (const Multistatus::Response &response : answer->responses) {
        const QString href = response.innerHref.value(QStringLiteral("calendar-home-set"));
        if (href.isEmpty())
            continue;
        const QUrl home = reply.url.resolved(QUrl(href));
        if (!sameOrigin(home, reply.url))
            throw badAnswer(principal);
        return home;
    }
    throw CalDavError(QStringLiteral("Der Server nennt keine Kalender für dieses Konto."));
}

QList<CalDavClient::Collection> CalDavClient::listCollections(const QUrl &home)
{
    const Reply reply = propfind(home, 1, "<d:resourcetype/><d:displayname/><c:supported-calendar-component-set/>");
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer)
        throw badAnswer(home);
    QList<Collection> collections;
    for (const Multistatus::Response &response : answer->responses) {
        if (!response.resourceTypes.contains(QStringLiteral("calendar")))
            continue;
        const QUrl url = checkedHref(home, response.href);
        if (pathWithSlash(url) == pathWithSlash(home))
            continue;
        Collection c{url, response.text.value(QStringLiteral("displayname")).trimmed(), true, true};
        if (!response.components.isEmpty()) {
            c.todos = response.components.contains(QStringLiteral("VTODO"));
            c.events = response.components.contains(QStringLiteral("VEVENT"));
        }
        if (c.name.isEmpty())
            c.name = QUrl::fromPercentEncoding(pathWithSlash(url).section(u'/', -2, -2).toUtf8());
        collections.append(c);
    }
    return collections;
}

QUrl CalDavClient::makeCalendar(const QUrl &home, const QString &segment, const QString &name, bool todos)
{
    const QUrl url = home.resolved(QUrl(pathWithSlash(home) + segment + u'/'));
    const QByteArray body = kXmlHeader
                            + "<c:mkcalendar xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>"
                            + escaped(name) + "</d:displayname><c:supported-calendar-component-set><c:comp name=\""
                            + (todos ? "VTODO" : "VEVENT") + "\"/></c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
    const Reply reply = send("MKCALENDAR", url, body, {});
    if (reply.status == 201 || reply.status == 405 || reply.status == 409)
        return url; // 405/409: there already, from an earlier attempt
    throw httpFailure(reply.status, url);
}

CalDavClient::Changes CalDavClient::syncCollection(const QUrl &collection, const QString &token)
{
    const QByteArray body = kXmlHeader + "<d:sync-collection xmlns:d=\"DAV:\"><d:sync-token>" + escaped(token)
                            + "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>";
    const Reply reply = send("REPORT", collection, body, {{"Depth", "1"}});
    if (reply.status != 207) {
        // Servers tell a forgotten token differently (403, 409, even 500);
        // comparing everything is always safe, so any refusal of a token leads there.
        if (reply.body.contains("valid-sync-token") || (!token.isEmpty() && reply.status != 401))
            throw InvalidSyncToken();
        throw httpFailure(reply.status, collection);
    }
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer || answer->syncToken.isEmpty())
        throw badAnswer(collection);
    Changes changes;
    changes.token = answer->syncToken;
    for (const Multistatus::Response &response : answer->responses) {
        const QUrl url = checkedHref(collection, response.href);
        if (pathWithSlash(url) == pathWithSlash(collection))
            continue;
        // A removed member comes with 404, as the response's status or its properties'.
        if (response.status == 404 || !response.text.contains(QStringLiteral("getetag")))
            changes.removed.append(url.path());
        else
            changes.changed.insert(url.path(), unquoted(response.text.value(QStringLiteral("getetag"))));
    }
    return changes;
}

QHash<QString, QString> CalDavClient::listEtags(const QUrl &collection)
{
    const Reply reply = propfind(collection, 1, "<d:getetag/><d:resourcetype/>");
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer)
        throw badAnswer(collection);
    QHash<QString, QString> etags;
    for (const Multistatus::Response &response : answer->responses) {
        const QUrl url = checkedHref(collection, response.href);
        if (pathWithSlash(url) == pathWithSlash(collection) || !response.resourceTypes.isEmpty())
            continue;
        etags.insert(url.path(), unquoted(response.text.value(QStringLiteral("getetag"))));
    }
    return etags;
}

QList<CalDavClient::Object> CalDavClient::fetch(const QUrl &collection, const QStringList &hrefs)
{
    QList<Request> requests;
    for (qsizetype first = 0; first < hrefs.size(); first += MaxObjects) {
        QByteArray body = kXmlHeader + "<c:calendar-multiget xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
                                       "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
        for (const QString &href : hrefs.mid(first, MaxObjects))
            body += "<d:href>" + escaped(href) + "</d:href>";
        body += "</c:calendar-multiget>";
        requests.append({"REPORT", collection, body, {{"Depth", "1"}}});
    }
    QList<QList<Object>> parts(requests.size()); // in the order asked, whatever order the answers come in
    sendAll(requests, [&](qsizetype index, const Reply &reply) {
        if (reply.status != 207)
            throw httpFailure(reply.status, collection);
        const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
        if (!answer)
            throw badAnswer(collection);
        for (const Multistatus::Response &response : answer->responses) {
            const QUrl url = checkedHref(collection, response.href);
            if (response.status == 404 || !response.text.contains(QStringLiteral("calendar-data")))
                continue;
            parts[index].append({url.path(), unquoted(response.text.value(QStringLiteral("getetag"))),
                                 response.text.value(QStringLiteral("calendar-data")).toUtf8()});
        }
    });
    QList<Object> objects;
    for (const QList<Object> &part : std::as_const(parts))
        objects.append(part);
    return objects;
}

CalDavClient::Request CalDavClient::writeRequest(const QUrl &url, const Write &write)
{
    if (write.remove) {
        Headers headers;
        if (!write.etag.isEmpty())
            headers.append({"If-Match", write.etag.toUtf8()});
        return {"DELETE", url, {}, headers};
    }
    return {"PUT", url, write.data,
            {write.etag.isEmpty() ? std::pair{QByteArray("If-None-Match"), QByteArray("*")} : std::pair{QByteArray("If-Match"), write.etag.toUtf8()}}};
}

CalDavClient::Written CalDavClient::writeResult(const QUrl &collection, const Write &write, const Reply &reply)
{
    if (reply.status == 412)
        return std::nullopt;
    if (write.remove) {
        if (reply.status == 404 || (reply.status >= 200 && reply.status <= 299))
            return QString();
        throw httpFailure(reply.status, reply.url);
    }
    if (reply.status < 200 || reply.status > 299)
        throw httpFailure(reply.status, reply.url);
    if (reply.etag.isEmpty() || reply.etag.startsWith("W/"))
        return etagOf(collection, write.href).value_or(QString());
    return QString::fromUtf8(reply.etag);
}

void CalDavClient::writeAll(const QUrl &collection, const QList<Write> &writes,
                            const std::function<void(qsizetype index, const Written &result)> &done)
{
    QList<Request> requests;
    for (const Write &write : writes)
        requests.append(writeRequest(checkedHref(collection, write.href), write));
    sendAll(requests, [&](qsizetype index, const Reply &reply) { done(index, writeResult(collection, writes.at(index), reply)); });
}

std::optional<QString> CalDavClient::put(const QUrl &collection, const QString &href, const QByteArray &data, const QString &etag)
{
    const Write write{href, data, etag, false};
    const Request request = writeRequest(checkedHref(collection, href), write);
    return writeResult(collection, write, send(request.verb, request.url, request.body, request.headers));
}

bool CalDavClient::remove(const QUrl &collection, const QString &href, const QString &etag)
{
    const Write write{href, {}, etag, true};
    const Request request = writeRequest(checkedHref(collection, href), write);
    return writeResult(collection, write, send(request.verb, request.url, request.body, request.headers)).has_value();
}

std::optional<QString> CalDavClient::etagOf(const QUrl &collection, const QString &href)
{
    const QUrl url = checkedHref(collection, href);
    const QByteArray body = kXmlHeader + "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>";
    const Reply reply = send("PROPFIND", url, body, {{"Depth", "0"}});
    if (reply.status == 404)
        return std::nullopt;
    if (reply.status != 207)
        throw httpFailure(reply.status, url);
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer)
        throw badAnswer(url);
    for (const Multistatus::Response &response : answer->responses) {
        if (response.text.contains(QStringLiteral("getetag")))
            return unquoted(response.text.value(QStringLiteral("getetag")));
    }
    return QString();
}

std::optional<bool> CalDavClient::mayWrite(const QUrl &collection)
{
    const Reply reply = propfind(collection, 0, "<d:current-user-privilege-set/>");
    const std::optional<Multistatus> answer = Multistatus::parse(reply.body);
    if (!answer)
        throw badAnswer(collection);
    for (const Multistatus::Response &response : answer->responses) {
        if (response.privileges.isEmpty())
            continue;
        const QStringList writing{QStringLiteral("all"), QStringLiteral("write"), QStringLiteral("write-content"), QStringLiteral("bind")};
        return std::any_of(writing.cbegin(), writing.cend(), [&](const QString &p) { return response.privileges.contains(p); });
    }
    return std::nullopt;
}
