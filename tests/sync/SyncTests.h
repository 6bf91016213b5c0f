// The synchronisation against a real CalDAV server started on 127.0.0.1, with python3-caldav as the phone.
// Included by one test executable per server; KALMORA_SYNC_SERVER names it.
#pragma once

#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncEngine.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class SyncTests final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void firstSyncMeetsBothSides();
    void changesTravel_data();
    void changesTravel();
    void raceAndForgottenToken();
    void offlineThenOnline();
    void killDuringSync();
    void dueTimesInLocalZone_data();
    void dueTimesInLocalZone();
    void unreadableReadAgain_data();
    void unreadableReadAgain();

private:
    void startServer();
    QStringList phone(const QStringList &arguments);
    QStringList local() const;
    SyncEngine::Report sync();

    TestServer m_server;
    quint16 m_port = 0;
    QTemporaryDir m_serverDir;
    QUrl m_home;
    std::unique_ptr<TestEnvironment> m_env;
    SyncSettings::Options m_options;
    int m_collections = 0;
};

namespace {
const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kSubjects = QStringLiteral("[Montag]\n1=Mathe\n2=Deutsch\n3=Englisch\n4=Bio\n");

// A source that lets the phone change a todo right after the sync has read the server.
class RacingSource final : public HomeworkSource
{
public:
    std::function<void()> race;
    HomeworkStoreSource store;
    QList<HomeworkItem> all() const override
    {
        if (race)
            std::exchange(const_cast<RacingSource *>(this)->race, nullptr)();
        return store.all();
    }
    QStringList subjects() const override { return store.subjects(); }
    void add(const HomeworkItem &i) override { store.add(i); }
    void setText(QDate d, const QString &s, const QString &t) override { store.setText(d, s, t); }
    void setDone(QDate d, const QString &s, bool done) override { store.setDone(d, s, done); }
    void remove(QDate d, const QString &s) override { store.remove(d, s); }
    void move(QDate f, const QString &s, QDate t) override { store.move(f, s, t); }
};
}

void SyncTests::startServer()
{
    const QString port = QString::number(m_port);
    if (QStringLiteral(KALMORA_SYNC_SERVER) == u"xandikos")
        m_server.start(QStringLiteral("/usr/bin/xandikos"), {"-d", m_serverDir.path(), "--defaults", "-l", "127.0.0.1", "-p", port},
                       QProcessEnvironment::systemEnvironment());
    else
        m_server.start(kPython, {"-m", "radicale", "--server-hosts", "127.0.0.1:" + port, "--auth-type", "none",
                                 "--storage-filesystem-folder", m_serverDir.path(), "--rights-type", "owner_only"},
                       QProcessEnvironment::systemEnvironment());
    for (int i = 0; i < 100; ++i) {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (socket.waitForConnected(100))
            return;
        QTest::qWait(100);
    }
    QFAIL("the server did not start");
}

void SyncTests::initTestCase()
{
    // The pupil lives in Berlin, whatever zone the machine is set to.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    m_port = probe.serverPort();
    probe.close();
    startServer();
    // Discovery once: the well-known address, the principal, the calendar home.
    CalDavClient client({QStringLiteral("http://127.0.0.1:%1/").arg(m_port), QStringLiteral("schueler"), QStringLiteral("geheim")});
    m_home = client.discoverHome();
    QVERIFY(m_home.isValid());
}

void SyncTests::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_env->writeSettings(kSubjects);
    // Each test its own task list and calendar, found again in the listing.
    CalDavClient client({QStringLiteral("http://127.0.0.1:%1/").arg(m_port), QStringLiteral("schueler"), QStringLiteral("geheim")});
    const QString n = QString::number(++m_collections);
    const QUrl tasks = client.makeCalendar(m_home, "aufgaben" + n, "Kalmora Hausaufgaben " + n, true);
    const QUrl events = client.makeCalendar(m_home, "termine" + n, "Kalmora Termine " + n, false);
    const QList<CalDavClient::Collection> listed = client.listCollections(m_home);
    const auto found = std::find_if(listed.begin(), listed.end(), [&](const auto &c) { return c.url == tasks; });
    QVERIFY(found != listed.end());
    QVERIFY(found->todos);
    m_options = {true, QStringLiteral("http://127.0.0.1:%1/").arg(m_port), QStringLiteral("schueler"), tasks.toString(), events.toString()};
}

void SyncTests::cleanup()
{
    m_env.reset();
}

QStringList SyncTests::phone(const QStringList &arguments)
{
    QProcess process;
    process.start(kPython, QStringList{QFINDTESTDATA("phone.py"), m_options.tasks} + arguments);
    process.waitForFinished(30000);
    if (process.exitCode() != 0)
        qWarning() << process.readAllStandardError();
    QStringList todos;
    for (const QJsonValue &v : QJsonDocument::fromJson(process.readAllStandardOutput()).array()) {
        const QJsonObject t = v.toObject();
        todos.append(t["due"].toString() + u' ' + t["summary"].toString() + (t["status"].toString() == u"COMPLETED" ? " (erledigt)" : ""));
    }
    return todos;
}

QStringList SyncTests::local() const
{
    QStringList items;
    for (const HomeworkItem &i : HomeworkStoreSource().all())
        items.append(i.due.toString(Qt::ISODate) + u' ' + i.subject + QStringLiteral(": ") + i.text + (i.done ? " (erledigt)" : ""));
    items.sort();
    return items;
}

SyncEngine::Report SyncTests::sync()
{
    CalDavClient client({m_options.server, m_options.user, QStringLiteral("geheim")});
    HomeworkStoreSource homework;
    return SyncEngine(client, homework).run(m_options);
}

void SyncTests::firstSyncMeetsBothSides()
{
    HomeworkStore::addHomework("09.12.2026", "Englisch", "Vokabeln");
    HomeworkStore::addHomework("10.12.2026", "Mathe", "S. 12");
    HomeworkStore::addHomework("11.12.2026", "Deutsch", "Aufsatz");
    HomeworkStore::setDone("11.12.2026", "Deutsch", true);
    SettingsFile::use([](ProfileFile &ini) { ini.writeString(u"ALARM", u"20.12.2026", u"Zahnarzt"); });
    phone({"add", "p1", "2026-12-10", "mathe: S. 13"});             // meets the planner's, texts differ
    phone({"add", "p2", "2026-12-11", "Aufsatz", "Deutsch"});       // the same homework, subject as category
    phone({"add", "p3", "2026-12-14", "Kunst: Bild malen"});        // no subject of the timetable
    phone({"add", "p4", "2026-12-14", "Bio: Zelle", "Bio"});        // a second one that day
    phone({"add", "p5", "2026-12-15", "Bio: Blatt"});               // collides with p6
    phone({"add", "p6", "2026-12-15", "Bio: Heft"});
    phone({"add", "p7", "", "ohne Datum"});                         // left on the server
    phone({"add", "p8", "2026-12-07", "Mathe: heute"});             // due today: left there

    const SyncEngine::Report first = sync();
    QCOMPARE(first.skipped, 2);
    const QStringList expected{"2026-12-09 Englisch: Vokabeln", "2026-12-10 Mathe: S. 12 | S. 13", "2026-12-11 Deutsch: Aufsatz (erledigt)",
                               "2026-12-14 Bio: Zelle", "2026-12-14 Sonstiges: Kunst: Bild malen", "2026-12-15 Bio: Blatt | Heft"};
    QCOMPARE(local(), expected);
    QStringList onPhone = phone({"list"});
    QCOMPARE(onPhone.size(), 8); // nothing doubled: p6 went into p5, Englisch came in
    QVERIFY(onPhone.contains("2026-12-10 Mathe: S. 12 | S. 13"));
    QVERIFY(onPhone.contains("2026-12-11 Deutsch: Aufsatz (erledigt)"));
    QVERIFY(onPhone.contains("2026-12-15 Bio: Blatt | Heft"));

    // Nothing changed: nothing written, at most two requests.
    CalDavClient client({m_options.server, m_options.user, QStringLiteral("geheim")});
    HomeworkStoreSource homework;
    const SyncEngine::Report again = SyncEngine(client, homework).run(m_options);
    QCOMPARE(again.taken + again.written, 0);
    QVERIFY(client.requestCount() <= 2);
    QCOMPARE(local(), expected);

    // The alarm went to the calendar once; removed in the planner, it is deleted there.
    QCOMPARE(client.listEtags(QUrl(m_options.events)).size(), 1);
    SettingsFile::use([](ProfileFile &ini) { ini.eraseSection(u"ALARM"); });
    sync();
    QCOMPARE(client.listEtags(QUrl(m_options.events)).size(), 0);
}

void SyncTests::changesTravel_data()
{
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expectLocal");
    QTest::addColumn<QStringList>("expectPhone");
    const QStringList none;
    QTest::newRow("planner text") << "planner" << "text" << QStringList{"2026-12-10 Mathe: neu"} << QStringList{"2026-12-10 Mathe: neu"};
    QTest::newRow("planner done") << "planner" << "done" << QStringList{"2026-12-10 Mathe: S. 12 (erledigt)"} << QStringList{"2026-12-10 Mathe: S. 12 (erledigt)"};
    QTest::newRow("planner move") << "planner" << "move" << QStringList{"2026-12-15 Mathe: S. 12"} << QStringList{"2026-12-15 Mathe: S. 12"};
    QTest::newRow("planner delete") << "planner" << "delete" << none << none;
    QTest::newRow("phone text") << "phone" << "text" << QStringList{"2026-12-10 Mathe: neu"} << QStringList{"2026-12-10 Mathe: neu"};
    QTest::newRow("phone done") << "phone" << "done" << QStringList{"2026-12-10 Mathe: S. 12 (erledigt)"} << QStringList{"2026-12-10 Mathe: S. 12 (erledigt)"};
    QTest::newRow("phone move") << "phone" << "move" << QStringList{"2026-12-15 Mathe: S. 12"} << QStringList{"2026-12-15 Mathe: S. 12"};
    QTest::newRow("phone delete") << "phone" << "delete" << none << none;
    // The note is the text too; a later change elsewhere keeps the text taken from it.
    QTest::newRow("phone note") << "phone" << "note" << QStringList{"2026-12-10 Mathe: neu"} << QStringList{"2026-12-10 Mathe: S. 12"};
    QTest::newRow("phone note, then done") << "phone" << "note, then done" << QStringList{"2026-12-10 Mathe: neu (erledigt)"}
                                           << QStringList{"2026-12-10 Mathe: S. 12 (erledigt)"};
    // A title the settings file cannot hold is never written back shortened.
    QTest::newRow("phone emoji") << "phone" << "emoji" << QStringList{"2026-12-10 Mathe: Lied üben ??"}
                                 << QStringList{"2026-12-10 Mathe: Lied üben 🎵"};
    QTest::newRow("phone emoji, planner done") << "both" << "emoji, planner done" << QStringList{"2026-12-10 Mathe: Lied üben ?? (erledigt)"}
                                               << QStringList{"2026-12-10 Mathe: Lied üben 🎵 (erledigt)"};
    // Made by the planner, deleted on the phone before the next sync, with another change beside it.
    QTest::newRow("phone delete and add") << "phone" << "delete and add" << QStringList{"2026-12-11 Deutsch: Gedicht"}
                                          << QStringList{"2026-12-11 Deutsch: Gedicht"};
    // Conflicts: both texts kept; an edit beats a delete on the other side.
    QTest::newRow("both text") << "both" << "text" << QStringList{"2026-12-10 Mathe: lokal | neu"} << QStringList{"2026-12-10 Mathe: lokal | neu"};
    QTest::newRow("edit beats phone delete") << "both" << "phone delete" << QStringList{"2026-12-10 Mathe: lokal"} << QStringList{"2026-12-10 Mathe: lokal"};
    QTest::newRow("edit beats planner delete") << "both" << "planner delete" << QStringList{"2026-12-10 Mathe: neu"} << QStringList{"2026-12-10 Mathe: neu"};
    // Pruning past homework never reaches the server.
    QTest::newRow("pruned") << "planner" << "prune" << none << QStringList{"2026-12-10 Mathe: S. 12"};
}

void SyncTests::changesTravel()
{
    QFETCH(QString, side);
    QFETCH(QString, change);
    QFETCH(QStringList, expectLocal);
    QFETCH(QStringList, expectPhone);
    HomeworkStore::addHomework("10.12.2026", "Mathe", "S. 12");
    sync();
    const QString uid = SyncState::load().todos.value(0).uid;
    HomeworkStoreSource planner;
    const QDate due(2026, 12, 10);
    if (side == u"planner" && change == u"text")
        planner.setText(due, "Mathe", "neu");
    else if (side == u"planner" && change == u"done")
        planner.setDone(due, "Mathe", true);
    else if (side == u"planner" && change == u"move")
        planner.move(due, "Mathe", QDate(2026, 12, 15));
    else if (side == u"planner" && change == u"delete")
        planner.remove(due, "Mathe");
    else if (change == u"prune") {
        Clock::setNow(QDateTime(QDate(2026, 12, 11), QTime(9, 0)));
        HomeworkStore::PruneHomeworkDates();
    } else if (side == u"phone" && change == u"text")
        phone({"set", uid, "SUMMARY", "Mathe: neu"});
    else if (side == u"phone" && change == u"done")
        phone({"set", uid, "STATUS", "COMPLETED"});
    else if (side == u"phone" && change == u"move")
        phone({"set", uid, "DUE", "2026-12-15"});
    else if (side == u"phone" && change == u"delete")
        phone({"delete", uid});
    else if (change.startsWith(u"note")) {
        phone({"set", uid, "DESCRIPTION", "neu"});
        if (change.endsWith(u"done")) {
            sync();
            phone({"set", uid, "STATUS", "COMPLETED"});
        }
    } else if (change.startsWith(u"emoji")) {
        phone({"set", uid, "SUMMARY", QString::fromUtf8("Mathe: Lied üben 🎵")});
        if (change.endsWith(u"done")) {
            sync();
            planner.setDone(due, "Mathe", true);
        }
    } else if (change == u"delete and add") {
        phone({"delete", uid});
        phone({"add", "p9", "2026-12-11", "Deutsch: Gedicht"});
    }
    if (side == u"both" && !change.startsWith(u"emoji")) {
        change == u"planner delete" ? planner.remove(due, "Mathe") : planner.setText(due, "Mathe", "lokal");
        change == u"phone delete" ? (void)phone({"delete", uid}) : (void)phone({"set", uid, "SUMMARY", "Mathe: neu"});
    }
    sync();
    QCOMPARE(local(), expectLocal);
    QCOMPARE(phone({"list"}), expectPhone);
    QCOMPARE(sync().written, 0); // settled
}

void SyncTests::raceAndForgottenToken()
{
    HomeworkStore::addHomework("10.12.2026", "Mathe", "S. 12");
    sync();
    const QString uid = SyncState::load().todos.value(0).uid;
    // The phone changes the todo after the sync has read it: the write meets 412, reads again and merges.
    HomeworkStore::setDone("10.12.2026", "Mathe", true);
    RacingSource racing;
    racing.race = [&] { phone({"set", uid, "SUMMARY", "Mathe: S. 13"}); };
    CalDavClient client({m_options.server, m_options.user, QStringLiteral("geheim")});
    SyncEngine(client, racing).run(m_options);
    QCOMPARE(local(), QStringList{"2026-12-10 Mathe: S. 13 (erledigt)"});
    QCOMPARE(phone({"list"}), QStringList{"2026-12-10 Mathe: S. 13 (erledigt)"});

    // A token the server no longer knows: a full comparison, nothing doubled.
    SyncState state = SyncState::load();
    state.syncToken = QStringLiteral("http://radicale.org/ns/sync/unbekannt");
    state.save();
    phone({"add", "p9", "2026-12-11", "Deutsch: Gedicht"});
    sync();
    QCOMPARE(local(), (QStringList{"2026-12-10 Mathe: S. 13 (erledigt)", "2026-12-11 Deutsch: Gedicht"}));
    QCOMPARE(phone({"list"}).size(), 2);
}

void SyncTests::offlineThenOnline()
{
    HomeworkStore::addHomework("10.12.2026", "Mathe", "S. 12");
    sync();
    m_server.stop();
    HomeworkStore::writeText("10.12.2026", "Mathe", "offline geändert");
    try {
        sync();
        QFAIL("a sync without the server must fail");
    } catch (const CalDavError &error) {
        QVERIFY(error.offline());
    }
    startServer();
    sync();
    QCOMPARE(phone({"list"}), QStringList{"2026-12-10 Mathe: offline geändert"});
}

// Killed just before each of its renames in turn (every save of the homework
// or the sync state), with new work on both sides each time: one more sync then
// leaves everything once on both sides, whatever the machine's speed.
void SyncTests::killDuringSync()
{
    for (int day = 0; day < 40; ++day)
        HomeworkStore::addHomework(DateText::formatLong(QDate(2026, 12, 10).addDays(day)), "Mathe", QString::number(day));
    SyncSettings::save(m_options);
    KillDuringWork killer(TestEnvironment::helperDir() + QStringLiteral("/syncrunner"));
    const int rounds = killer.runKilledAtEachRename({m_env->dir()}, [&](int round) {
        const QDate due = QDate(2027, 2, 1).addDays(round);
        HomeworkStore::addHomework(DateText::formatLong(due), "Deutsch", QString::number(round));
        phone({"add", "k" + QString::number(round), due.toString(Qt::ISODate), "Bio: " + QString::number(round)});
        return true;
    });
    QVERIFY2(rounds > 0, "a round failed, or the sync never ran out of renames");
    sync();
    QCOMPARE(local().size(), 40 + 2 * rounds);
    QCOMPARE(phone({"list"}).size(), 40 + 2 * rounds);
}

void SyncTests::dueTimesInLocalZone_data()
{
    QTest::addColumn<QString>("due");
    QTest::addColumn<QString>("expected");
    // 23:30 UTC is 00:30 of the next day in Berlin.
    QTest::newRow("UTC") << "DUE:20261210T233000Z" << "2026-12-11";
    // 20:00 at UTC-5 (the object's own zone) is 02:00 of the next day in Berlin.
    QTest::newRow("TZID with VTIMEZONE") << "DUE;TZID=Fern:20261210T200000" << "2026-12-11";
    QTest::newRow("floating") << "DUE:20261210T233000" << "2026-12-10";
    QTest::newRow("date") << "DUE;VALUE=DATE:20261211" << "2026-12-11";
}

void SyncTests::dueTimesInLocalZone()
{
    QFETCH(QString, due);
    QFETCH(QString, expected);
    phone({"put", "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Phone//EN\nBEGIN:VTIMEZONE\nTZID:Fern\nBEGIN:STANDARD\n"
                  "DTSTART:19700101T000000\nTZOFFSETFROM:-0500\nTZOFFSETTO:-0500\nEND:STANDARD\nEND:VTIMEZONE\nBEGIN:VTODO\n"
                  "UID:zeit\nDTSTAMP:20261201T080000Z\nSUMMARY:Mathe: S. 12\n" + due + "\nEND:VTODO\nEND:VCALENDAR\n"});
    sync();
    QCOMPARE(local(), QStringList{expected + " Mathe: S. 12"});
    QCOMPARE(sync().written, 0);
}

void SyncTests::unreadableReadAgain_data()
{
    QTest::addColumn<QString>("spoil");
    QTest::addColumn<bool>("known"); // the todo was synced and changed on the phone since
    QTest::newRow("garbled, new") << "garble" << false;
    QTest::newRow("left out, known") << "leave-out" << true;
}

void SyncTests::unreadableReadAgain()
{
    // The first answer with "S. 13" comes spoilt; the planner keeps what it had, and the next run reads it again.
    QFETCH(QString, spoil);
    QFETCH(bool, known);
    TestServer proxy;
    proxy.start(kPython, {QFINDTESTDATA("flaky.py"), QString::number(m_port), spoil}, QProcessEnvironment::systemEnvironment(), true);
    const QString port = proxy.firstLine(10000);
    QVERIFY(!port.isEmpty());
    QUrl tasks(m_options.tasks);
    tasks.setPort(port.toInt());
    m_options.tasks = tasks.toString();
    m_options.events.clear();
    phone({"add", "f1", "2026-12-10", known ? "Mathe: S. 12" : "Mathe: S. 13"});
    const QStringList before = known ? QStringList{"2026-12-10 Mathe: S. 12"} : QStringList();
    if (known) {
        sync();
        phone({"set", "f1", "SUMMARY", "Mathe: S. 13"});
    }
    QCOMPARE(sync().skipped, 1);
    QCOMPARE(local(), before);
    QCOMPARE(sync().skipped, 0);
    QCOMPARE(local(), QStringList{"2026-12-10 Mathe: S. 13"});
}
