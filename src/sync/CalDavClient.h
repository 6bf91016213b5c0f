// A CalDAV client on Qt Network: discovery, collections, changes, reading and writing objects.
#pragma once

#include "platform/Errors.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

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

/// Every call waits for its answer in a local event loop, as the planner's
/// downloads do, so the windows stay usable meanwhile. The server's answers
/// are untrusted: bodies over `MaxBody`, malformed XML, hrefs outside the
/// collection asked about, plain http to anything but a loopback address,
/// certificate errors and redirects to another host (after discovery) are
/// refused with CalDavError before anything is taken from them.
class CalDavClient final
{
public:
    static constexpr qint64 MaxBody = 8 * 1024 * 1024;
    static constexpr int Timeout = 30000; // ms without an answer

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
    /// The objects of these hrefs (calendar-multiget), at most `MaxObjects`.
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

    /// The requests sent so far.
    int requestCount() const { return m_requests; }
    /// The href of an object's name below a collection.
    static QString hrefFor(const QUrl &collection, const QString &name);

private:
    struct Reply;
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QList<std::pair<QByteArray, QByteArray>> &headers,
               bool otherHostAllowed = false);
    Reply sendOnce(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QList<std::pair<QByteArray, QByteArray>> &headers);
    Reply propfind(const QUrl &url, int depth, const QByteArray &props, bool otherHostAllowed = false);
    QUrl checkedHref(const QUrl &collection, const QString &href) const;

    Account m_account;
    QNetworkAccessManager m_network;
    int m_requests = 0;
};
