// An asynchronous TCP socket whose lookup, connection, TLS, reading and closing are reported in the event loop.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <deque>

class QHostInfo;
class QSslError;
class QSslSocket;

/// Name lookup, connection and data transfer without blocking. Every
/// completion arrives as a signal from the event loop, never from inside the
/// call that started it, and carries a Windows Sockets error number (0 for
/// success). Closing the socket oneself reports nothing; completions still
/// queued from before the close are dropped.
class TAsyncSocket final : public QObject
{
    Q_OBJECT

public:
    enum class State { Closed, DnsLookup, Connecting, Connected, PeerClosed };

    /// Sent data is chained in buffers of this size.
    static constexpr qsizetype SendBufferSize = 1514;

    explicit TAsyncSocket(QObject *parent = nullptr);
    ~TAsyncSocket() override;

    State state() const { return m_state; }

    /// The address of a host written as a dotted IPv4 address (four decimal
    /// parts 0..255, "192.168.0.1"); a null address for any other text.
    static QHostAddress dottedAddress(const QString &host);

    /// Starts looking up a host's address; `DnsLookupDone` reports the end and
    /// `DnsResult` holds the address found (IPv4 preferred). A dotted address
    /// is taken at once without asking the resolver. Throws ESocketError
    /// "%s: can't start DNS lookup, error #%d" for a name no lookup can take.
    void DnsLookup(const QString &host);
    QHostAddress DnsResult() const { return m_dnsResult; }

    void setAddr(const QHostAddress &address) { m_addr = address; }
    /// The port as decimal text, 1..65535.
    void setPort(const QString &port) { m_port = port; }
    /// Only "tcp" is supported.
    void setProto(const QString &protocol) { m_proto = protocol; }

    /// Starts connecting to the address and port; `SessionConnected` reports
    /// the end. Returns 0 when the attempt has started, else the error number
    /// and nothing is reported.
    int Connect();

    /// Appends the bytes to the chain of send buffers and writes as much as
    /// the network accepts; the rest follows as the socket drains. Returns 0,
    /// or 10057 ("Socket is not connected") when the socket is not connected.
    int Send(QByteArrayView data);
    /// Bytes still waiting in the send chain.
    qsizetype bufferedSendBytes() const;

    /// Takes up to `maxBytes` of the received data. While data is left,
    /// another `DataAvailable` follows; after the peer closed, `SessionClosed`
    /// follows once everything has been taken.
    QByteArray Receive(qsizetype maxBytes);

    /// Ends the lookup or connection at once and drops unsent data.
    void Close();

    /// Begins TLS on the connected socket: the server's certificate must be
    /// signed by one of the system's certificates and name `peerName`.
    /// `TlsDone` reports the end; until then nothing sent goes out. Returns 0,
    /// or 10057 when the socket is not connected.
    int StartTls(const QString &peerName);
    /// Why TLS failed, in German with the host and the reason ("Das Zertifikat
    /// von host wird abgelehnt: ..."); empty while nothing failed.
    const QString &TlsErrorText() const { return m_tlsErrorText; }

Q_SIGNALS:
    void DnsLookupDone(int error);
    void SessionConnected(int error);
    void DataAvailable(int error);
    /// Everything sent has been taken by the network.
    void DataSent(int error);
    /// The peer closed the connection (0) or it broke (the error number).
    void SessionClosed(int error);
    /// TLS is set up (0), or failed (an error number, `TlsErrorText` says why;
    /// the socket is closed then).
    void TlsDone(int error);

private:
    void post(void (TAsyncSocket::*signal)(int), int error);
    void lookupFinished(const QHostInfo &info);
    void socketConnected();
    void socketError();
    void socketReadyRead();
    void socketDisconnected();
    void flushSendChain();
    void peerClosed(int error);
    void reportCloseWhenRead();
    void tlsEncrypted();
    void tlsCertificateErrors(const QList<QSslError> &errors);
    void tlsFailed(int error);

    QSslSocket *socket();

    QSslSocket *m_socket = nullptr;
    State m_state = State::Closed;
    quint64 m_generation = 0; // bumped by Close, so queued completions of before are dropped
    int m_lookupId = -1;
    QHostAddress m_dnsResult;
    QHostAddress m_addr;
    QString m_port;
    QString m_proto = QStringLiteral("tcp");
    std::deque<QByteArray> m_sendChain;
    bool m_sendPending = false; // sent data not yet all taken by the network
    bool m_readNotified = false; // a DataAvailable is on its way and no Receive came since
    bool m_closeReported = false;
    int m_closeError = 0;
    bool m_tlsPending = false;
    QString m_tlsPeer;
    QString m_tlsErrorText;
};
