// A hostile server's answers are refused without changing the planner's data.
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncEngine.h"

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

QTEST_GUILESS_MAIN(tst_SyncHostile)
#include "tst_SyncHostile.moc"
