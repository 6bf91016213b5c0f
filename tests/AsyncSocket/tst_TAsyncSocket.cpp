// The asynchronous socket against a local server: lookups, connecting, the send chain, reading and closing.
#include "AsyncSocket/ESocketError.h"
#include "AsyncSocket/TAsyncSocket.h"
#include "AsyncSocket/WinsockError.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A port on 127.0.0.1 where nobody listens.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

// Connects the socket to the server and returns the server's end.
QTcpSocket *connectTo(TAsyncSocket &socket, QTcpServer &server)
{
    QSignalSpy connected(&socket, &TAsyncSocket::SessionConnected);
    socket.setAddr(QHostAddress::LocalHost);
    socket.setPort(QString::number(server.serverPort()));
    if (socket.Connect() != 0 || !connected.wait(5000) || connected.first().first().toInt() != 0)
        return nullptr;
    if (!server.hasPendingConnections() && !server.waitForNewConnection(5000))
        return nullptr;
    return server.nextPendingConnection();
}

}

class tst_TAsyncSocket final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void errorTextsAndQtErrors();
    void dottedAddresses();
    void lookups();
    void sendChainAndPeerClose();
    void failedAndCancelledConnections();
};

void tst_TAsyncSocket::errorTextsAndQtErrors()
{
    QCOMPARE(WinsockError::text(0), QStringLiteral("No Error"));
    QCOMPARE(WinsockError::text(10004), QStringLiteral("Interrupted system call"));
    QCOMPARE(WinsockError::text(10057), QStringLiteral("Socket is not connected"));
    QCOMPARE(WinsockError::text(10060), QStringLiteral("Connection timed out"));
    QCOMPARE(WinsockError::text(10061), QStringLiteral("Connection refused"));
    QCOMPARE(WinsockError::text(11001), QStringLiteral("Host not found"));
    QCOMPARE(WinsockError::text(10005), QStringLiteral("Unknown Error"));
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::ConnectionRefusedError, QString()), 10061);
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::HostNotFoundError, QString()), 11001);
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::SocketTimeoutError, QString()), 10060);
    // A normal close by the peer is no error.
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::RemoteHostClosedError, QString()), 0);
    // Qt reports several system errors as NetworkError and tells them apart by text.
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::NetworkError, QStringLiteral("Connection timed out")), 10060);
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::NetworkError, QStringLiteral("Network unreachable")), 10051);
    QCOMPARE(WinsockError::fromSocketError(QAbstractSocket::NetworkError, QStringLiteral("Host unreachable")), 10065);
    QCOMPARE(WinsockError::fromLookupError(QHostInfo::HostNotFound), 11001);
}

void tst_TAsyncSocket::dottedAddresses()
{
    QCOMPARE(TAsyncSocket::dottedAddress(QStringLiteral("127.0.0.1")), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(TAsyncSocket::dottedAddress(QStringLiteral("255.255.255.255")), QHostAddress(QStringLiteral("255.255.255.255")));
    // Short forms, hexadecimal, out-of-range parts, blanks and names go to the resolver.
    for (const char *text : {"127.1", "0x7f.0.0.1", "256.0.0.1", "1.2.3.4.5", "1.2.3.", " 1.2.3.4", "1.2.3.0004", "a.b.c.d", "::1", ""})
        QVERIFY2(TAsyncSocket::dottedAddress(QString::fromLatin1(text)).isNull(), text);
}

void tst_TAsyncSocket::lookups()
{
    TAsyncSocket socket;
    QSignalSpy done(&socket, &TAsyncSocket::DnsLookupDone);
    // A dotted address is taken without the resolver, but still reported from the event loop.
    socket.DnsLookup(QStringLiteral("127.0.0.1"));
    QCOMPARE(done.count(), 0);
    QVERIFY(done.wait(1000));
    QCOMPARE(done.takeFirst().first().toInt(), 0);
    QCOMPARE(socket.DnsResult(), QHostAddress(QHostAddress::LocalHost));

    // A name resolves to its IPv4 address.
    socket.DnsLookup(QStringLiteral("localhost"));
    QVERIFY(done.wait(10000));
    QCOMPARE(done.takeFirst().first().toInt(), 0);
    QCOMPARE(socket.DnsResult(), QHostAddress(QHostAddress::LocalHost));

    // A name under the reserved ".invalid" domain never resolves.
    socket.DnsLookup(QStringLiteral("nosuchhost.invalid"));
    QVERIFY(done.wait(20000));
    QCOMPARE(done.takeFirst().first().toInt(), 11001);

    // A name no lookup can take raises at once and reports nothing.
    try {
        socket.DnsLookup(QString());
        QFAIL("an empty name was looked up");
    } catch (const ESocketError &error) {
        QCOMPARE(error.message(), QStringLiteral(": can't start DNS lookup, error #10022"));
        QCOMPARE(error.errorNumber(), 10022);
    }
    QVERIFY_THROWS_EXCEPTION(ESocketError, socket.DnsLookup(QString(256, u'a')));

    // Closing drops a lookup under way.
    socket.DnsLookup(QStringLiteral("localhost"));
    socket.Close();
    QVERIFY(!done.wait(500));
}

void tst_TAsyncSocket::sendChainAndPeerClose()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    TAsyncSocket socket;
    // Sending before the connection stands fails with "not connected".
    QCOMPARE(socket.Send("x"), 10057);
    QTcpSocket *peer = connectTo(socket, server);
    QVERIFY(peer);

    // More than three send buffers arrive whole and in order.
    QByteArray sent;
    for (int i = 0; i < 5000; ++i)
        sent.append(char('a' + i % 26));
    QSignalSpy drained(&socket, &TAsyncSocket::DataSent);
    QCOMPARE(socket.Send(sent.first(100)), 0);
    QCOMPARE(socket.Send(sent.sliced(100)), 0);
    QByteArray arrived;
    QTRY_VERIFY_WITH_TIMEOUT((arrived += peer->readAll()).size() >= sent.size(), 5000);
    QCOMPARE(arrived, sent);
    QTRY_VERIFY(drained.count() > 0);
    QCOMPARE(socket.bufferedSendBytes(), 0);

    // The peer answers and closes at once: everything stays readable, in small
    // pieces, and the close is reported only after the last piece.
    const QByteArray answer = sent.repeated(3);
    peer->write(answer);
    peer->disconnectFromHost();
    QByteArray received;
    QStringList events;
    connect(&socket, &TAsyncSocket::DataAvailable, this, [&] {
        events.append(QStringLiteral("data"));
        received += socket.Receive(700);
    });
    connect(&socket, &TAsyncSocket::SessionClosed, this, [&](int error) {
        events.append(QStringLiteral("closed %1 after %2").arg(error).arg(received.size()));
    });
    QTRY_VERIFY_WITH_TIMEOUT(events.size() > 0 && events.last().startsWith(QStringLiteral("closed")), 5000);
    QCOMPARE(received, answer);
    QCOMPARE(events.last(), QStringLiteral("closed 0 after %1").arg(answer.size()));
    QVERIFY(events.count(QStringLiteral("data")) >= answer.size() / 700);
    QTest::qWait(100);
    QCOMPARE(events.filter(QStringLiteral("closed")).size(), 1);
    QCOMPARE(socket.Send("x"), 10057);
}

void tst_TAsyncSocket::failedAndCancelledConnections()
{
    TAsyncSocket socket;
    QSignalSpy connected(&socket, &TAsyncSocket::SessionConnected);
    socket.setAddr(QHostAddress::LocalHost);
    // Settings that cannot connect are refused at once, without a report.
    socket.setPort(QStringLiteral("http"));
    QCOMPARE(socket.Connect(), 10022);
    socket.setPort(QStringLiteral("0"));
    QCOMPARE(socket.Connect(), 10049);
    socket.setPort(QStringLiteral("80"));
    socket.setProto(QStringLiteral("udp"));
    QCOMPARE(socket.Connect(), 10043);
    socket.setProto(QStringLiteral("tcp"));

    // Nobody listening: the attempt ends with "Connection refused".
    socket.setPort(QString::number(closedPort()));
    QCOMPARE(socket.Connect(), 0);
    QVERIFY(connected.wait(5000));
    QCOMPARE(connected.takeFirst().first().toInt(), 10061);

    // Closing during the attempt: nothing is reported any more.
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    socket.setPort(QString::number(server.serverPort()));
    QCOMPARE(socket.Connect(), 0);
    socket.Close();
    QVERIFY(!connected.wait(300));
    QCOMPARE(socket.state(), TAsyncSocket::State::Closed);
}

QTEST_GUILESS_MAIN(tst_TAsyncSocket)
#include "tst_TAsyncSocket.moc"
