// A hostile server's answers are refused without changing the planner's data.
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncEngine.h"
#include "sync/SyncState.h"

#include <QtTest>

class tst_SyncHostile final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void refused_data();
    void refused();

private:
    TestServer m_server;
    QTemporaryDir m_keys;
    QString m_port;
    QString m_tlsPort; // the same server over TLS, with a certificate nothing trusts
};

void tst_SyncHostile::initTestCase()
{
    const QString key = m_keys.filePath("key.pem"), certificate = m_keys.filePath("certificate.pem");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key,
                              "-out", certificate, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1"});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    m_server.start(QStringLiteral("/usr/bin/python3"), {QFINDTESTDATA("hostile.py"), certificate, key},
                   QProcessEnvironment::systemEnvironment(), true);
    const QStringList ports = m_server.firstLine(10000).split(u' ');
    QCOMPARE(ports.size(), 2);
    m_port = ports[0];
    m_tlsPort = ports[1];
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
    QTest::newRow("untrusted certificate") << "tls" << "Zertifikat ist selbst ausgestellt";
}

void tst_SyncHostile::refused()
{
    QFETCH(QString, server);
    QFETCH(QString, message);
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n"));
    HomeworkStore::addHomework(QStringLiteral("11.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 12"));
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    QString tasks = server.contains(u':') ? server : QStringLiteral("http://127.0.0.1:%1/%2/tasks/").arg(m_port, server);
    if (server == u"tls")
        tasks = QStringLiteral("https://127.0.0.1:%1/tls/tasks/").arg(m_tlsPort);
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
    if (!message.isEmpty()) {
        QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);
        QVERIFY(!QFile::exists(SyncState::path()));
    }
    QCOMPARE(HomeworkStoreSource().all().size(), 1);
}

QTEST_GUILESS_MAIN(tst_SyncHostile)
#include "tst_SyncHostile.moc"
