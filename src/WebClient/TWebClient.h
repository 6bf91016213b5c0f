// HTTP/1.0 GET of one document over http or https, directly or through a proxy, into a stream the caller supplies.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <exception>

class QEventLoop;
class QIODevice;
class QTimer;
class TAsyncSocket;

/// Fetches one document at a time. All network work runs in the event loop
/// of the calling thread; `Get` waits in a local loop that keeps dispatching
/// events, so the windows stay usable meanwhile.
class TWebClient final : public QObject
{
    Q_OBJECT

public:
    enum class State { Ready, DnsLookup, Connecting, WaitingHeader, ReceivingBody, Tunnelling, SecuringConnection };

    /// Received bytes are read into a buffer of this size, one byte kept free.
    static constexpr qsizetype ReceiveBufferSize = 8192;
    static constexpr qint64 MaxBodySize = 4 * 1024 * 1024;
    static constexpr int MaxRedirections = 10;
    static constexpr int DefaultTimeoutMs = 30000;

    explicit TWebClient(QObject *parent = nullptr);

    /// [protocol "://"][user[":"password]"@"]host[":"port][path]
    const QString &URL() const { return m_url; }
    void setURL(const QString &url) { m_url = url; }
    /// Proxy host, in the same form as an address; empty for a direct connection.
    const QString &Proxy() const { return m_proxy; }
    void setProxy(const QString &proxy) { m_proxy = proxy; }
    /// Port of the proxy when the Proxy text names none; "80" at first.
    const QString &ProxyPort() const { return m_proxyPort; }
    void setProxyPort(const QString &port) { m_proxyPort = port; }
    void setProxyUsername(const QString &user) { m_proxyUser = user; }
    void setProxyPassword(const QString &password) { m_proxyPassword = password; }
    /// Receives the body; owned by the caller, valid until `Get` returns. Without it the body is dropped.
    QIODevice *RcvdStream() const { return m_rcvdStream; }
    void setRcvdStream(QIODevice *stream) { m_rcvdStream = stream; }
    /// When on, the request carries "Pragma: no-cache".
    bool NoCache() const { return m_noCache; }
    void setNoCache(bool noCache) { m_noCache = noCache; }
    /// The optional request fields "From", "Referer", "User-Agent", "Cookie"
    /// and "If-Modified-Since"; empty texts and an invalid moment leave them out.
    void setSender(const QString &sender) { m_sender = sender; }
    void setReference(const QString &reference) { m_reference = reference; }
    void setAgent(const QString &agent) { m_agent = agent; }
    void setCookie(const QString &cookie) { m_cookie = cookie; }
    void setModifiedSince(const QDateTime &moment) { m_modifiedSince = moment; }
    /// How long a request may go without any progress before it ends with "Timeout".
    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int milliseconds) { m_timeoutMs = milliseconds; }

    State state() const { return m_state; }
    int StatusCode() const { return m_statusCode; }
    const QString &ReasonPhrase() const { return m_reasonPhrase; }
    /// The non-empty header lines received, in order, over all redirections.
    const QStringList &RcvdHeader() const { return m_rcvdHeader; }
    /// From the last answer's header; -1 when it names none.
    qint64 ContentLength() const { return m_contentLength; }
    const QString &ContentType() const { return m_contentType; }
    /// Body bytes written to RcvdStream.
    qint64 RcvdCount() const { return m_rcvdCount; }

    /// Fetches URL and waits for the end of the request while events go on.
    /// Throws EWebClientError "HTTP component is busy" (code 1) when a request
    /// is running, EWebClientError with ReasonPhrase and StatusCode when that
    /// is 400 or more, and ESocketError when the name lookup of URL's server
    /// cannot start. A redirection that cannot be followed (not an address of
    /// the document's own protocol, http or https, with a host, or no location at all) ends with 404
    /// "Unsupported redirection"; a location starting with "/" is a new path
    /// on the same server. An https address is fetched over TLS (through the
    /// proxy with CONNECT); a certificate the system does not trust for the
    /// host ends with 404 and a German reason naming host and fault.
    void Get();

private:
    void startRequest();
    void setServer();
    void lookUp();
    QByteArray requestText() const;
    void resetAnswer();
    void restartTimer();

    void dnsLookupDone(int error);
    void sessionConnected(int error);
    void dataAvailable(int error);
    void sessionClosed(int error);
    bool secure() const;
    void openTunnel();
    void readTunnelAnswer();
    void startTls();
    void tlsDone(int error);
    void sendRequest();
    void readHeader();
    void headerLine(const QString &line);
    void endOfHeader();
    void redirect();
    void appendBody(const QByteArray &bytes);

    void fail(const QString &reason);
    void finish();

    TAsyncSocket *m_socket;
    QTimer *m_timer;
    QEventLoop *m_waitLoop = nullptr;
    int m_timeoutMs = DefaultTimeoutMs;

    QString m_url;
    QString m_proxy;
    QString m_proxyPort = QStringLiteral("80");
    QString m_proxyUser;
    QString m_proxyPassword;
    QIODevice *m_rcvdStream = nullptr;
    bool m_noCache = false;
    QString m_sender;
    QString m_reference;
    QString m_agent;
    QString m_cookie;
    QDateTime m_modifiedSince;

    State m_state = State::Ready;
    // The document being fetched, updated by redirections.
    QString m_protocol;
    QString m_user;
    QString m_password;
    QString m_host;
    QString m_port;
    QString m_path;
    // Where the connection goes: the document's host or the proxy.
    QString m_server;
    QString m_serverPort;

    int m_statusCode = 0;
    QString m_reasonPhrase;
    QStringList m_rcvdHeader;
    qint64 m_contentLength = -1;
    QString m_contentType;
    QString m_location;
    qint64 m_rcvdCount = 0;
    qint64 m_headerBytes = 0;
    int m_redirections = 0;
    QByteArray m_buffer;
    std::exception_ptr m_exception; // raised inside the event loop, passed on by Get
};
