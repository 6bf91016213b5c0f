// An asynchronous TCP socket on QSslSocket and QHostInfo; TLS only when asked for.
#include "TAsyncSocket.h"

#include "CertificateFault.h"
#include "ESocketError.h"
#include "WinsockError.h"

#include <QHostInfo>
#include <QNetworkProxy>
#include <QSslSocket>

#include <algorithm>

namespace {
// Longest name the resolver takes.
constexpr qsizetype kMaxHostNameLength = 255;
}

TAsyncSocket::TAsyncSocket(QObject *parent)
    : QObject(parent)
{
}

// Made at the first connection: a TLS socket sets up the TLS library, which a
// planner that never downloads need not pay for at start.
QSslSocket *TAsyncSocket::socket()
{
    if (m_socket)
        return m_socket;
    m_socket = new QSslSocket(this);
    // Proxies are the HTTP client's business; the socket always connects directly.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    connect(m_socket, &QTcpSocket::connected, this, &TAsyncSocket::socketConnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TAsyncSocket::socketError);
    connect(m_socket, &QTcpSocket::readyRead, this, &TAsyncSocket::socketReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &TAsyncSocket::socketDisconnected);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &TAsyncSocket::flushSendChain);
    connect(m_socket, &QSslSocket::encrypted, this, &TAsyncSocket::tlsEncrypted);
    connect(m_socket, &QSslSocket::sslErrors, this, &TAsyncSocket::tlsCertificateErrors);
    return m_socket;
}

TAsyncSocket::~TAsyncSocket()
{
    Close();
}

QHostAddress TAsyncSocket::dottedAddress(const QString &host)
{
    const QStringList parts = host.split(u'.');
    if (parts.size() != 4)
        return {};
    for (const QString &part : parts) {
        const bool digits = std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits || part.isEmpty() || part.size() > 3 || part.toInt() > 255)
            return {};
    }
    return QHostAddress(host);
}

void TAsyncSocket::DnsLookup(const QString &host)
{
    if (m_state != State::Closed)
        Close();
    if (host.isEmpty() || host.size() > kMaxHostNameLength)
        throw ESocketError::dnsLookupNotStarted(host, WinsockError::InvalidArgument);
    m_dnsResult = dottedAddress(host);
    if (!m_dnsResult.isNull()) {
        post(&TAsyncSocket::DnsLookupDone, WinsockError::NoError);
        return;
    }
    m_state = State::DnsLookup;
    const quint64 generation = m_generation;
    m_lookupId = QHostInfo::lookupHost(host, this, [this, generation](const QHostInfo &info) {
        if (generation == m_generation)
            lookupFinished(info);
    });
}

void TAsyncSocket::lookupFinished(const QHostInfo &info)
{
    m_lookupId = -1;
    m_state = State::Closed;
    int error = WinsockError::fromLookupError(info.error());
    if (error == WinsockError::NoError) {
        const QList<QHostAddress> addresses = info.addresses();
        const auto ipv4 = std::find_if(addresses.begin(), addresses.end(),
                                       [](const QHostAddress &a) { return a.protocol() == QAbstractSocket::IPv4Protocol; });
        if (ipv4 != addresses.end())
            m_dnsResult = *ipv4;
        else if (!addresses.isEmpty())
            m_dnsResult = addresses.first();
        else
            error = WinsockError::HostNotFound;
    }
    post(&TAsyncSocket::DnsLookupDone, error);
}

int TAsyncSocket::Connect()
{
    if (m_state == State::Connecting || m_state == State::Connected || m_state == State::PeerClosed)
        return WinsockError::AlreadyConnected;
    if (m_proto.compare(QLatin1String("tcp"), Qt::CaseInsensitive) != 0)
        return WinsockError::ProtocolNotSupported;
    bool ok = false;
    const uint port = m_port.toUInt(&ok);
    if (!ok || port > 65535)
        return WinsockError::InvalidArgument;
    if (port == 0 || m_addr.isNull())
        return WinsockError::AddressNotAvailable;
    m_state = State::Connecting;
    m_readNotified = false;
    m_closeReported = false;
    m_closeError = WinsockError::NoError;
    socket()->connectToHost(m_addr, quint16(port));
    return WinsockError::NoError;
}

int TAsyncSocket::Send(QByteArrayView data)
{
    if (m_state != State::Connected)
        return WinsockError::NotConnected;
    qsizetype offset = 0;
    if (!m_sendChain.empty() && m_sendChain.back().size() < SendBufferSize) {
        offset = std::min(SendBufferSize - m_sendChain.back().size(), data.size());
        m_sendChain.back().append(data.first(offset));
    }
    while (offset < data.size()) {
        const qsizetype take = std::min(SendBufferSize, data.size() - offset);
        QByteArray buffer;
        buffer.reserve(SendBufferSize);
        buffer.append(data.sliced(offset, take));
        m_sendChain.push_back(std::move(buffer));
        offset += take;
    }
    m_sendPending = true;
    flushSendChain();
    return WinsockError::NoError;
}

qsizetype TAsyncSocket::bufferedSendBytes() const
{
    qsizetype bytes = m_socket ? m_socket->bytesToWrite() : 0;
    for (const QByteArray &buffer : m_sendChain)
        bytes += buffer.size();
    return bytes;
}

// Hands the socket one buffer at a time: the next goes when the network has
// taken the one before.
void TAsyncSocket::flushSendChain()
{
    if (m_state != State::Connected)
        return;
    while (!m_sendChain.empty() && socket()->bytesToWrite() == 0) {
        const qint64 written = socket()->write(m_sendChain.front());
        if (written < 0)
            return; // the socket reports the failure itself
        if (written < m_sendChain.front().size())
            m_sendChain.front().remove(0, written);
        else
            m_sendChain.pop_front();
    }
    if (m_sendPending && m_sendChain.empty() && socket()->bytesToWrite() == 0) {
        m_sendPending = false;
        post(&TAsyncSocket::DataSent, WinsockError::NoError);
    }
}

QByteArray TAsyncSocket::Receive(qsizetype maxBytes)
{
    if (m_state != State::Connected && m_state != State::PeerClosed)
        return {};
    const QByteArray data = maxBytes > 0 ? socket()->read(maxBytes) : QByteArray();
    m_readNotified = false;
    if (socket()->bytesAvailable() > 0) {
        m_readNotified = true;
        post(&TAsyncSocket::DataAvailable, WinsockError::NoError);
    } else {
        reportCloseWhenRead();
    }
    return data;
}

void TAsyncSocket::Close()
{
    ++m_generation;
    if (m_lookupId != -1) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    m_state = State::Closed;
    if (m_socket)
        m_socket->abort();
    m_sendChain.clear();
    m_sendPending = false;
    m_readNotified = false;
    m_closeReported = false;
    m_closeError = WinsockError::NoError;
    m_tlsPending = false;
}

void TAsyncSocket::post(void (TAsyncSocket::*signal)(int), int error)
{
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, signal, error, generation] {
            if (generation == m_generation)
                Q_EMIT(this->*signal)(error);
        },
        Qt::QueuedConnection);
}

void TAsyncSocket::socketConnected()
{
    if (m_state != State::Connecting)
        return;
    m_state = State::Connected;
    post(&TAsyncSocket::SessionConnected, WinsockError::NoError);
}

void TAsyncSocket::socketError()
{
    const int error = WinsockError::fromSocketError(socket()->error(), socket()->errorString());
    if (m_tlsPending) {
        tlsFailed(error != WinsockError::NoError ? error : WinsockError::NotConnected);
        return;
    }
    if (m_state == State::Connecting) {
        m_state = State::Closed;
        post(&TAsyncSocket::SessionConnected, error != WinsockError::NoError ? error : WinsockError::NotConnected);
    } else if (m_state == State::Connected && error != WinsockError::NoError) {
        peerClosed(error);
    }
}

void TAsyncSocket::socketReadyRead()
{
    if (m_state != State::Connected && m_state != State::PeerClosed)
        return;
    if (!m_readNotified && socket()->bytesAvailable() > 0) {
        m_readNotified = true;
        post(&TAsyncSocket::DataAvailable, WinsockError::NoError);
    }
}

void TAsyncSocket::socketDisconnected()
{
    if (m_tlsPending) {
        tlsFailed(WinsockError::NotConnected);
        return;
    }
    peerClosed(WinsockError::NoError);
}

// What the peer sent before closing stays readable; the close is reported
// once all of it has been taken.
void TAsyncSocket::peerClosed(int error)
{
    if (m_state != State::Connected)
        return;
    m_state = State::PeerClosed;
    m_closeError = error;
    m_sendChain.clear();
    socketReadyRead();
    reportCloseWhenRead();
}

void TAsyncSocket::reportCloseWhenRead()
{
    if (m_state != State::PeerClosed || m_closeReported || m_readNotified || socket()->bytesAvailable() > 0)
        return;
    m_closeReported = true;
    post(&TAsyncSocket::SessionClosed, m_closeError);
}

int TAsyncSocket::StartTls(const QString &peerName)
{
    if (m_state != State::Connected)
        return WinsockError::NotConnected;
    m_tlsPending = true;
    m_tlsPeer = peerName;
    m_tlsErrorText.clear();
    // The system's certificates and the name checked are Qt's defaults; the
    // name is the one in the address, since the socket connected to a number.
    socket()->setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket()->setPeerVerifyName(peerName);
    socket()->startClientEncryption();
    return WinsockError::NoError;
}

void TAsyncSocket::tlsEncrypted()
{
    if (!m_tlsPending)
        return;
    m_tlsPending = false;
    post(&TAsyncSocket::TlsDone, WinsockError::NoError);
}

void TAsyncSocket::tlsCertificateErrors(const QList<QSslError> &errors)
{
    // Never ignored: the handshake fails after this, and the reason is kept for the message.
    QStringList reasons;
    for (const QSslError &error : errors)
        reasons.append(CertificateFault(error));
    reasons.removeDuplicates();
    m_tlsErrorText = QStringLiteral("Das Zertifikat von %1 wird abgelehnt: %2.").arg(m_tlsPeer, reasons.join(QStringLiteral("; ")));
}

void TAsyncSocket::tlsFailed(int error)
{
    if (m_tlsErrorText.isEmpty())
        m_tlsErrorText = QStringLiteral("Mit %1 kommt keine sichere Verbindung zustande: %2.").arg(m_tlsPeer, socket()->errorString());
    const QString text = m_tlsErrorText;
    Close();
    m_tlsErrorText = text;
    post(&TAsyncSocket::TlsDone, error);
}
