// A hostile server's answers are refused without changing the planner's data.
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncEngine.h"
#include "sync/SyncState.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class tst_SyncHostile final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void refused_data();
    void refused();
    void untrustedCertificate();

private:
    TestServer m_server;
    QString m_port;
};

void tst_SyncHostile::initTestCase()
{
    m_server.start(QStringLiteral("/usr/bin/python3"), {QFINDTESTDATA("hostile.py")}, QProcessEnvironment::systemEnvironment(), true);
    m_port = m_server.firstLine(10000);
    QVERIFY(!m_port.isEmpty());
}

void tst_SyncHostile::refused_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("message"); // empty: no failure, the todo is only left out
    QTest::newRow("oversized body") << "big" << "zu groß";
    QTest::newRow("malformed XML") << "badxml" << "unverständlich";
    QTest::newRow("href outside the collection") << "outside" << "außerhalb";
    QTest::newRow("redirect to another host") << "redirect" << "Umleitung";
    QTest::newRow("malformed iCalendar") << "badical" << "";
    QTest::newRow("plain http to another machine") << "http://192.0.2.1/" << "https://";
}

void tst_SyncHostile::refused()
{
    QFETCH(QString, server);
    QFETCH(QString, message);
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n"));
    HomeworkStore::addHomework(QStringLiteral("11.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 12"));
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    const QString tasks = server.contains(u':') ? server : QStringLiteral("http://127.0.0.1:%1/%2/tasks/").arg(m_port, server);
    CalDavClient client({tasks, QString(), QString()});
    HomeworkStoreSource homework;
    QString failure;
    try {
        if (server.contains(u':'))
            client.discoverHome();
        else
            QCOMPARE(SyncEngine(client, homework).run({true, tasks, QString(), tasks, QString()}).skipped, 1);
    } catch (const CalDavError &error) {
        failure = error.message();
    }
    QVERIFY2(message.isEmpty() ? failure.isEmpty() : failure.contains(message), qPrintable(failure));
    if (!message.isEmpty())
        QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);
    QCOMPARE(HomeworkStoreSource().all().size(), 1);
}

void tst_SyncHostile::untrustedCertificate()
{
    // Radicale over TLS with a certificate of a test authority the system does not trust.
    QTemporaryDir keys;
    const auto openssl = [&](const QStringList &arguments) {
        QProcess process;
        process.setWorkingDirectory(keys.path());
        process.start(QStringLiteral("openssl"), arguments);
        return process.waitForFinished(30000) && process.exitCode() == 0;
    };
    QVERIFY(openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "3", "-subj", "/CN=Test-CA"}));
    QVERIFY(openssl({"req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"}));
    QFile names(keys.filePath("names.cnf"));
    QVERIFY(names.open(QIODevice::WriteOnly) && names.write("subjectAltName=IP:127.0.0.1\n") > 0);
    names.close();
    QVERIFY(openssl({"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial", "-out", "server.pem",
                     "-days", "3", "-extfile", "names.cnf"}));
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    TestServer radicale;
    radicale.start(QStringLiteral("/usr/bin/python3"), {"-m", "radicale", "--server-hosts", "127.0.0.1:" + port, "--auth-type", "none",
                                                         "--storage-filesystem-folder", keys.filePath("data"), "--server-ssl",
                                                         "--server-certificate", keys.filePath("server.pem"), "--server-key",
                                                         keys.filePath("server.key")},
                   QProcessEnvironment::systemEnvironment());
    QTRY_VERIFY_WITH_TIMEOUT([&] { QTcpSocket s; s.connectToHost(QHostAddress::LocalHost, port.toUShort()); return s.waitForConnected(100); }(), 20000);

    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n"));
    HomeworkStore::addHomework(QStringLiteral("11.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 12"));
    SyncState state;
    state.tasksUrl = QStringLiteral("https://127.0.0.1:%1/schueler/aufgaben/").arg(port);
    state.save();
    const QByteArray settings = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    const QByteArray kept = env.readFile(SyncState::fileName());
    const QString server = QStringLiteral("https://127.0.0.1:%1/").arg(port);
    CalDavClient client({server, QStringLiteral("schueler"), QStringLiteral("geheim")});
    HomeworkStoreSource homework;
    // "Verbindung prüfen" and the sync itself are both refused, in German, and the server is not taken for offline.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            attempt == 0 ? (void)client.discoverHome() : (void)SyncEngine(client, homework).run({true, server, "schueler", state.tasksUrl, QString()});
            QFAIL("a server with an untrusted certificate must be refused");
        } catch (const CalDavError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("Zertifikat")) && !error.offline(), qPrintable(error.message()));
        }
    }
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), settings);
    QCOMPARE(env.readFile(SyncState::fileName()), kept);
}

QTEST_GUILESS_MAIN(tst_SyncHostile)
#include "tst_SyncHostile.moc"
