// A CalDAV client on Qt Network: discovery, collections, changes, reading and writing objects.
#pragma once

#include "platform/Errors.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

/// A failure talking to the server, with a German message. `offline` tells a
/// server that was not reached (the changes wait) from one that answered wrongly.
class CalDavError final : public KalmoraError
{
public:
    explicit CalDavError(const QString &message, bool offline = false)
        : KalmoraError(message), m_offline(offline) {}
    bool offline() const { return m_offline; }

private:
    bool m_offline;
};

/// The server forgot the sync token (`valid-sync-token`): list the etags instead.
class InvalidSyncToken final : public std::exception
{
};

/// Every call waits for its answer in a local event loop; the planner makes
/// its clients on a thread of their own (SyncThread), so no window waits for
/// them, and the tool on its only thread. `writeAll` and `fetch` keep up to
/// `InFlight` requests under way at once. The server's answers
/// are untrusted: bodies over `MaxBody`, malformed XML, hrefs outside the
/// collection asked about, plain http to anything but a loopback address,
/// certificate errors and redirects to another host (after discovery) are
/// refused with CalDavError before anything is taken from them.
class CalDavClient final
{
public:
    static constexpr qint64 MaxBody = 8 * 1024 * 1024;
    static constexpr int Timeout = 30000; // ms without an answer
    static constexpr int InFlight = 4;    // requests under way at once to the server

    struct Account
    {
        QString server; // as typed; "https://" is put in front when no scheme is given
        QString user;
        QString password;
    };
    struct Collection
    {
        QUrl url;
        QString name;
        bool todos = false;
        bool events = false;
    };
    struct Changes
    {
        QHash<QString, QString> changed; // href -> etag
        QStringList removed;
        QString token;
    };
    struct Object
    {
        QString href;
        QString etag;
        QByteArray data;
    };
    /// One write of `writeAll`: a PUT of `data`, or with `remove` a DELETE.
    struct Write
    {
        QString href;
        QByteArray data;
        QString etag; // empty: create only (PUT) or unconditionally (DELETE)
        bool remove = false;
    };
    /// How a write of `writeAll` ended: the new etag (empty for a removal or
    /// when the server names none), or none when the precondition failed (412).
    using Written = std::optional<QString>;

    explicit CalDavClient(Account account);
    ~CalDavClient();

    /// The address typed, made a URL; throws CalDavError when it is none or
    /// plain http to a host that is not a loopback address.
    static QUrl serverUrl(const QString &typed);

    /// The calendar home of the account (RFC 6764 and RFC 4791: the
    /// well-known address, current-user-principal, calendar-home-set).
    QUrl discoverHome();
    /// The calendars below the home with the components each takes.
    QList<Collection> listCollections(const QUrl &home);
    /// Creates a calendar for todos or events below the home and returns its
    /// address; one of that name that is there already is taken.
    QUrl makeCalendar(const QUrl &home, const QString &segment, const QString &name, bool todos);

    /// RFC 6578: what changed since `token` (empty: everything). Throws
    /// InvalidSyncToken when the server no longer knows the token.
    Changes syncCollection(const QUrl &collection, const QString &token);
    /// Every object's etag, for servers without sync-collection.
    QHash<QString, QString> listEtags(const QUrl &collection);
    /// The objects of these hrefs (calendar-multiget, `MaxObjects` a request,
    /// up to `InFlight` requests at once), request by request in the order asked.
    QList<Object> fetch(const QUrl &collection, const QStringList &hrefs);

    /// Writes an object: created only when none is there (`etag` empty), else
    /// replaced only when it still has `etag`. Returns the new etag (possibly
    /// empty), or none when the precondition failed (412).
    std::optional<QString> put(const QUrl &collection, const QString &href, const QByteArray &data, const QString &etag);
    /// Deletes an object that still has `etag`; one already gone counts as
    /// deleted. False when the precondition failed.
    bool remove(const QUrl &collection, const QString &href, const QString &etag);
    /// The object's current etag, or none when it is gone.
    std::optional<QString> etagOf(const QUrl &collection, const QString &href);

    /// Whether the account may write objects into the collection, as its
    /// current-user-privilege-set (RFC 3744) says; none when the server does not tell.
    std::optional<bool> mayWrite(const QUrl &collection);

    /// Sends the writes, up to `InFlight` at once, and calls `done` in this
    /// thread for each as its answer comes (in any order), as `put` and
    /// `remove` answer. A failure aborts the writes under way and is thrown;
    /// those answered before were told to `done`.
    void writeAll(const QUrl &collection, const QList<Write> &writes, const std::function<void(qsizetype index, const Written &result)> &done);

    /// A flag, set from another thread, that makes the request waiting now
    /// and every later one fail with CalDavError (offline): the run is stopped.
    void setCancel(const std::atomic_bool *cancel) { m_cancel = cancel; }

    /// The requests sent so far.
    int requestCount() const { return m_requests; }
    /// The href of an object's name below a collection.
    static QString hrefFor(const QUrl &collection, const QString &name);

private:
    struct Reply;
    struct Pending;
    using Headers = QList<std::pair<QByteArray, QByteArray>>;
    struct Request
    {
        QByteArray verb;
        QUrl url;
        QByteArray body;
        Headers headers;
    };
    std::unique_ptr<Pending> start(const Request &request);
    Reply finish(Pending &pending);
    void waitForAny(const std::vector<std::unique_ptr<Pending>> &pending);
    /// Sends the requests, up to `InFlight` at once; `answered` gets each reply
    /// (redirects followed) in this thread as it comes.
    void sendAll(const QList<Request> &requests, const std::function<void(qsizetype, const Reply &)> &answered);
    static Request writeRequest(const QUrl &url, const Write &write);
    Written writeResult(const QUrl &collection, const Write &write, const Reply &reply);
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QList<std::pair<QByteArray, QByteArray>> &headers,
               bool otherHostAllowed = false);
    Reply sendOnce(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QList<std::pair<QByteArray, QByteArray>> &headers);
    Reply propfind(const QUrl &url, int depth, const QByteArray &props, bool otherHostAllowed = false);
    QUrl checkedHref(const QUrl &collection, const QString &href) const;

    Account m_account;
    QNetworkAccessManager m_network;
    const std::atomic_bool *m_cancel = nullptr;
    int m_requests = 0;
};
