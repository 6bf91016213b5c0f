// HTTP/1.0 GET of one document over http or https, directly or through a proxy.
#include "TWebClient.h"

#include "AsyncSocket/ESocketError.h"
#include "AsyncSocket/TAsyncSocket.h"
#include "AsyncSocket/WinsockError.h"
#include "Base64.h"
#include "EWebClientError.h"
#include "HeaderLine.h"
#include "UrlParts.h"
#include "platform/Win1252.h"

#include <QEventLoop>
#include <QIODevice>
#include <QTimer>

namespace {

const QString kTimeout = QStringLiteral("Timeout");
const QString kTooLarge = QStringLiteral("Response too large");
const QString kIncomplete = QStringLiteral("Incomplete response");
const QString kUnsupportedRedirection = QStringLiteral("Unsupported redirection");

QString describe(int error)
{
    return WinsockError::text(error) % QStringLiteral(" (Error #") % QString::number(error) % u')';
}

// The request target and the host travel as written, except that blanks,
// control characters and non-ASCII bytes are percent-encoded: no address, not
// even one from a server's redirection, can break the request into more lines.
QByteArray requestWord(const QString &text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        const uchar byte = uchar(c);
        if (byte <= 0x20 || byte >= 0x7f)
            out.append('%').append(QByteArray::number(byte, 16).toUpper().rightJustified(2, '0'));
        else
            out.append(c);
    }
    return out;
}

// A field value: line breaks and other control characters become blanks.
QByteArray fieldValue(const QString &text)
{
    QByteArray out = Win1252::encode(text);
    for (char &c : out) {
        if (uchar(c) < 0x20 || uchar(c) == 0x7f)
            c = ' ';
    }
    return out;
}

bool isHttps(const QString &protocol)
{
    return protocol.compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

// Only an address of the document's own protocol with a host and a usable
// port can be followed: a file address must not end up as a plain request to
// port 80 or as a lookup of an empty name, an https document never continues
// unencrypted, and a plain one stays plain as it always did.
bool followable(const UrlParts &parts, bool secure)
{
    const bool https = isHttps(parts.protocol);
    if ((!https && parts.protocol.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0) || https != secure
        || parts.host.isEmpty())
        return false;
    if (parts.port.isEmpty())
        return true;
    bool ok = false;
    const uint port = parts.port.toUInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

// The statuses that send the client elsewhere and say nothing without a location.
bool isRedirectionStatus(int statusCode)
{
    return statusCode == 301 || statusCode == 302 || statusCode == 303 || statusCode == 307 || statusCode == 308;
}

QByteArray httpDate(const QDateTime &moment)
{
    static const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDateTime utc = moment.toUTC();
    const QDate date = utc.date();
    const QTime time = utc.time();
    return QByteArray(kDays[date.dayOfWeek() - 1]) + ", "
        + QString::asprintf("%2.2d %s %4.4d %2.2d:%2.2d:%2.2d", date.day(), kMonths[date.month() - 1], date.year(),
                            time.hour(), time.minute(), time.second())
              .toLatin1()
        + " GMT";
}

}

TWebClient::TWebClient(QObject *parent)
    : QObject(parent)
    , m_socket(new TAsyncSocket(this))
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_state != State::Ready)
            fail(kTimeout);
    });
    connect(m_socket, &TAsyncSocket::DnsLookupDone, this, &TWebClient::dnsLookupDone);
    connect(m_socket, &TAsyncSocket::SessionConnected, this, &TWebClient::sessionConnected);
    connect(m_socket, &TAsyncSocket::DataAvailable, this, &TWebClient::dataAvailable);
    connect(m_socket, &TAsyncSocket::DataSent, this, &TWebClient::restartTimer);
    connect(m_socket, &TAsyncSocket::SessionClosed, this, &TWebClient::sessionClosed);
    connect(m_socket, &TAsyncSocket::TlsDone, this, &TWebClient::tlsDone);
}

void TWebClient::Get()
{
    startRequest();
    if (m_state != State::Ready) {
        QEventLoop loop;
        m_waitLoop = &loop;
        loop.exec();
        m_waitLoop = nullptr;
    }
    if (m_exception)
        std::rethrow_exception(std::exchange(m_exception, nullptr));
    if (m_statusCode >= 400)
        throw EWebClientError(m_reasonPhrase, m_statusCode);
}

void TWebClient::startRequest()
{
    if (m_state != State::Ready)
        throw EWebClientError(QStringLiteral("HTTP component is busy"), 1);
    m_rcvdHeader.clear();
    m_reasonPhrase.clear();
    m_rcvdCount = 0;
    m_redirections = 0;
    m_exception = nullptr;
    resetAnswer();

    const UrlParts parts = SplitUrl(m_url);
    m_protocol = parts.protocol;
    m_user = parts.user;
    m_password = parts.password;
    m_host = parts.host;
    m_port = parts.port;
    m_path = parts.path;
    setServer();
    lookUp();
}

void TWebClient::setServer()
{
    if (m_proxy.isEmpty()) {
        m_server = m_host;
        m_serverPort = !m_port.isEmpty() ? m_port : secure() ? QStringLiteral("443") : QStringLiteral("80");
    } else {
        const UrlParts proxy = SplitUrl(m_proxy);
        m_server = proxy.host;
        m_serverPort = proxy.port.isEmpty() ? m_proxyPort : proxy.port;
    }
}

// Throws when the lookup cannot start; the state is left as it was then.
void TWebClient::lookUp()
{
    m_socket->DnsLookup(m_server);
    m_state = State::DnsLookup;
    restartTimer();
}

void TWebClient::resetAnswer()
{
    m_statusCode = 0;
    m_contentLength = -1;
    m_contentType.clear();
    m_location.clear();
    m_headerBytes = 0;
    m_buffer.clear();
}

void TWebClient::restartTimer()
{
    if (m_state != State::Ready)
        m_timer->start(m_timeoutMs);
}

QByteArray TWebClient::requestText() const
{
    // Through a proxy the target is the full address; its port is kept, or the
    // proxy would fetch the document from another port. Through a tunnel the
    // proxy sees nothing of the request.
    const QString target = m_proxy.isEmpty() || secure()
        ? m_path
        : m_protocol % QStringLiteral("://") % m_host % (m_port.isEmpty() ? QString() : u':' % m_port) % m_path;
    QByteArray text = "GET " + requestWord(target) + " HTTP/1.0\r\n";
    if (!m_sender.isEmpty())
        text += "From: " + fieldValue(m_sender) + "\r\n";
    if (!m_reference.isEmpty())
        text += "Referer: " + fieldValue(m_reference) + "\r\n";
    if (!m_agent.isEmpty())
        text += "User-Agent: " + fieldValue(m_agent) + "\r\n";
    text += "Host: " + requestWord(m_host) + "\r\n";
    if (m_noCache)
        text += "Pragma: no-cache\r\n";
    if (m_modifiedSince.isValid())
        text += "If-Modified-Since: " + httpDate(m_modifiedSince) + "\r\n";
    if (!m_user.isEmpty())
        text += "Authorization: Basic " + Base64Encode(Win1252::encode(QString(m_user % u':' % m_password))) + "\r\n";
    if (!m_proxy.isEmpty() && !secure() && !m_proxyUser.isEmpty())
        text += "Proxy-Authorization: Basic " + Base64Encode(Win1252::encode(QString(m_proxyUser % u':' % m_proxyPassword))) + "\r\n";
    if (!m_cookie.isEmpty())
        text += "Cookie: " + fieldValue(m_cookie) + "\r\n";
    return text + "\r\n";
}

void TWebClient::dnsLookupDone(int error)
{
    if (m_state != State::DnsLookup)
        return;
    if (error != WinsockError::NoError) {
        fail(QStringLiteral("can't resolve hostname to IP address"));
        return;
    }
    restartTimer();
    m_socket->setAddr(m_socket->DnsResult());
    m_socket->setPort(m_serverPort);
    m_socket->setProto(QStringLiteral("tcp"));
    const int started = m_socket->Connect();
    if (started != WinsockError::NoError) {
        fail(QStringLiteral("can't connect: ") % describe(started));
        return;
    }
    m_state = State::Connecting;
}

void TWebClient::sessionConnected(int error)
{
    if (m_state != State::Connecting)
        return;
    if (error != WinsockError::NoError) {
        fail(describe(error));
        return;
    }
    restartTimer();
    if (secure() && !m_proxy.isEmpty())
        openTunnel();
    else if (secure())
        startTls();
    else
        sendRequest();
}

bool TWebClient::secure() const
{
    return isHttps(m_protocol);
}

void TWebClient::sendRequest()
{
    m_state = State::WaitingHeader;
    const int sent = m_socket->Send(requestText());
    if (sent != WinsockError::NoError)
        fail(describe(sent));
}

// The proxy is asked for a plain connection to the server, which TLS then runs through.
void TWebClient::openTunnel()
{
    m_state = State::Tunnelling;
    const QByteArray authority = requestWord(m_host) + ':' + requestWord(m_port.isEmpty() ? QStringLiteral("443") : m_port);
    QByteArray text = "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority + "\r\n";
    if (!m_proxyUser.isEmpty())
        text += "Proxy-Authorization: Basic " + Base64Encode(Win1252::encode(QString(m_proxyUser % u':' % m_proxyPassword))) + "\r\n";
    const int sent = m_socket->Send(QByteArray(text + "\r\n"));
    if (sent != WinsockError::NoError)
        fail(describe(sent));
}

void TWebClient::readTunnelAnswer()
{
    const qsizetype end = m_buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (m_buffer.size() >= ReceiveBufferSize - 1)
            fail(kTooLarge);
        return;
    }
    const HeaderLine status = ParseHeaderLine(QString::fromLatin1(m_buffer.left(m_buffer.indexOf("\r\n"))));
    if (status.kind != HeaderLine::Kind::Status || status.statusCode != 200) {
        fail(QStringLiteral("Proxy refused the connection to %1: %2 %3")
                 .arg(m_host)
                 .arg(status.statusCode)
                 .arg(status.reasonPhrase));
        return;
    }
    // Nothing may follow the proxy's answer before the server's TLS greeting is asked for.
    if (m_buffer.size() > end + 4) {
        fail(QStringLiteral("Invalid response"));
        return;
    }
    m_buffer.clear();
    startTls();
}

void TWebClient::startTls()
{
    m_state = State::SecuringConnection;
    const int started = m_socket->StartTls(m_host);
    if (started != WinsockError::NoError)
        fail(describe(started));
}

void TWebClient::tlsDone(int error)
{
    if (m_state != State::SecuringConnection)
        return;
    if (error != WinsockError::NoError) {
        fail(m_socket->TlsErrorText());
        return;
    }
    restartTimer();
    sendRequest();
}

void TWebClient::dataAvailable(int)
{
    if (m_state == State::Tunnelling) {
        const QByteArray bytes = m_socket->Receive(ReceiveBufferSize - 1 - m_buffer.size());
        if (bytes.isEmpty())
            return;
        restartTimer();
        m_buffer += bytes;
        readTunnelAnswer();
    } else if (m_state == State::WaitingHeader) {
        const QByteArray bytes = m_socket->Receive(ReceiveBufferSize - 1 - m_buffer.size());
        if (bytes.isEmpty())
            return;
        restartTimer();
        m_buffer += bytes;
        readHeader();
    } else if (m_state == State::ReceivingBody) {
        const QByteArray bytes = m_socket->Receive(ReceiveBufferSize - 1);
        if (bytes.isEmpty())
            return;
        restartTimer();
        appendBody(bytes);
    }
}

void TWebClient::readHeader()
{
    for (qsizetype lineEnd = m_buffer.indexOf('\n'); lineEnd >= 0; lineEnd = m_buffer.indexOf('\n')) {
        QByteArray line = m_buffer.left(lineEnd);
        m_buffer.remove(0, lineEnd + 1);
        m_headerBytes += lineEnd + 1;
        if (m_headerBytes > MaxBodySize) {
            fail(kTooLarge);
            return;
        }
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty()) {
            endOfHeader();
            return;
        }
        headerLine(QString::fromLatin1(line));
        // The body of an error answer is not read.
        if (m_statusCode >= 400) {
            m_socket->Close();
            finish();
            return;
        }
    }
    // A full buffer without a line end: no header line is that long.
    if (m_buffer.size() >= ReceiveBufferSize - 1)
        fail(kTooLarge);
}

void TWebClient::headerLine(const QString &line)
{
    m_rcvdHeader.append(line);
    const HeaderLine parsed = ParseHeaderLine(line);
    if (parsed.kind == HeaderLine::Kind::Status) {
        m_statusCode = parsed.statusCode;
        m_reasonPhrase = parsed.reasonPhrase;
    } else if (parsed.kind == HeaderLine::Kind::Field) {
        if (parsed.name == QLatin1String("content-length")) {
            bool ok = false;
            m_contentLength = parsed.value.trimmed().toLongLong(&ok);
            if (!ok || m_contentLength < 0)
                m_contentLength = -1;
        } else if (parsed.name == QLatin1String("content-type")) {
            m_contentType = parsed.value;
        } else if (parsed.name == QLatin1String("location")) {
            m_location = parsed.value.trimmed();
        }
    }
}

void TWebClient::endOfHeader()
{
    // Without a readable status line the answer is not HTTP.
    if (m_statusCode < 100) {
        fail(QStringLiteral("Invalid response"));
        return;
    }
    if (!m_location.isEmpty()) {
        redirect();
        return;
    }
    // A redirection without a location must not pass for the document.
    if (isRedirectionStatus(m_statusCode)) {
        fail(kUnsupportedRedirection);
        return;
    }
    m_state = State::ReceivingBody;
    const QByteArray body = std::exchange(m_buffer, QByteArray());
    appendBody(body);
}

void TWebClient::redirect()
{
    m_socket->Close();
    if (m_redirections >= MaxRedirections) {
        fail(QStringLiteral("Too many redirections"));
        return;
    }
    ++m_redirections;
    if (m_location.startsWith(u'/')) {
        m_path = m_location;
    } else {
        const UrlParts parts = SplitUrl(m_location);
        if (!followable(parts, secure())) {
            fail(kUnsupportedRedirection);
            return;
        }
        // The credentials of the first address are meant for its host only.
        if (!parts.user.isEmpty() || parts.host.compare(m_host, Qt::CaseInsensitive) != 0) {
            m_user = parts.user;
            m_password = parts.password;
        }
        m_protocol = parts.protocol;
        m_host = parts.host;
        m_port = parts.port; // a location without a port means the default port
        m_path = parts.path;
    }
    resetAnswer();
    setServer();
    try {
        lookUp();
    } catch (const ESocketError &) {
        // A host name no lookup takes (too long) is the server's fault, not the caller's.
        fail(kUnsupportedRedirection);
    } catch (...) {
        m_exception = std::current_exception();
        finish();
    }
}

void TWebClient::appendBody(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_rcvdCount + bytes.size() > MaxBodySize) {
        fail(kTooLarge);
        return;
    }
    if (m_rcvdStream && m_rcvdStream->write(bytes) != bytes.size()) {
        fail(QStringLiteral("can't write received data"));
        return;
    }
    m_rcvdCount += bytes.size();
}

void TWebClient::sessionClosed(int error)
{
    if (m_state != State::WaitingHeader && m_state != State::ReceivingBody && m_state != State::Tunnelling)
        return;
    if (m_state == State::Tunnelling)
        fail(QStringLiteral("Proxy closed the connection to %1").arg(m_host));
    else if (error != WinsockError::NoError)
        fail(describe(error));
    else if (m_state == State::WaitingHeader)
        fail(kIncomplete);
    else if (m_contentLength >= 0 && m_rcvdCount < m_contentLength)
        fail(kIncomplete);
    else {
        m_socket->Close();
        finish();
    }
}

void TWebClient::fail(const QString &reason)
{
    m_socket->Close();
    m_statusCode = 404;
    m_reasonPhrase = reason;
    finish();
}

void TWebClient::finish()
{
    m_timer->stop();
    m_state = State::Ready;
    if (m_waitLoop)
        m_waitLoop->quit();
}
