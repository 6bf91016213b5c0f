// Three planners and a teacher on one shared task list of a real Radicale with a rights file.
#include "classlist/ClassListState.h"
#include "eingabe/TForm2.h"
#include "model/HomeworkStore.h"
#include "platform/DateText.h"
#include "platform/ProgramDirectory.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/CalDavClient.h"
#include "sync/HomeworkStoreSource.h"
#include "sync/SyncCommand.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QString kPython = QStringLiteral("/usr/bin/python3");
const QStringList kPupils{"anna", "ben", "cara"};
// Each his own calendars; the class list of the teacher is written by the class, read only by "dora".
const char kRights[] = "[own]\nuser: .+\ncollection: {user}(/.*)?\npermissions: RrWw\n"
                       "[root]\nuser: .+\ncollection:\npermissions: R\n"
                       "[readonly]\nuser: dora\ncollection: lehrer/klasse\npermissions: r\n"
                       "[class]\nuser: .+\ncollection: lehrer/klasse\npermissions: rw\n";

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
}

class tst_ClassListRadicale final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void threePlannersShareOneList();
    void readOnlyListIsReportedOnce();
    void killedSyncsDoubleNothing();

private:
    void use(const QString &pupil);
    void syncAll(const QStringList &pupils = kPupils);
    QStringList teacher(const QStringList &arguments);
    QStringList local(const QString &pupil);
    bool share(const QString &pupil, const QString &due, const QString &subject, const QString &text);

    TestServer m_server;
    QTemporaryDir m_serverDir;
    QString m_url;
    std::unique_ptr<TestEnvironment> m_env;
    std::map<QString, std::unique_ptr<QTemporaryDir>> m_planners;
};

void tst_ClassListRadicale::initTestCase()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    writeFile(m_serverDir.filePath("users"), "anna:geheim\nben:geheim\ncara:geheim\ndora:geheim\nlehrer:geheim\n");
    writeFile(m_serverDir.filePath("rights"), kRights);
    m_server.start(kPython, {"-m", "radicale", "--server-hosts", "127.0.0.1:" + port, "--auth-type", "htpasswd", "--auth-htpasswd-filename",
                             m_serverDir.filePath("users"), "--auth-htpasswd-encryption", "plain", "--rights-type", "from_file",
                             "--rights-file", m_serverDir.filePath("rights"), "--storage-filesystem-folder", m_serverDir.filePath("data")},
                   QProcessEnvironment::systemEnvironment());
    m_url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    QTRY_VERIFY_WITH_TIMEOUT([&] { QTcpSocket s; s.connectToHost(QHostAddress::LocalHost, port.toUShort()); return s.waitForConnected(100); }(),
                             20000);
    teacher({"make"});
    m_env = std::make_unique<TestEnvironment>();
    for (const QString &pupil : kPupils + QStringList{"dora"}) {
        m_planners[pupil] = std::make_unique<QTemporaryDir>();
        use(pupil);
        // Each pupil's own list beside the class list, both in the same run.
        CalDavClient client({m_url, pupil, QStringLiteral("geheim")});
        const QUrl own = client.makeCalendar(client.discoverHome(), "aufgaben", "Meine Hausaufgaben", true);
        writeFile(DataFilePath("DEZUVEDIRED.INI"), QStringLiteral("[Montag]\r\n1=Mathe\r\n2=Deutsch\r\n3=Englisch\r\n[CALDAV]\r\nAktiv=1\r\nServer=%1\r\nBenutzer=%2\r\n"
                                      "Aufgaben=%3\r\n[KLASSE]\r\nAktiv=1\r\nAufgaben=%1lehrer/klasse/\r\n")
                                                       .arg(m_url, pupil, own.toString())
                                                       .toLatin1());
    }
}

void tst_ClassListRadicale::use(const QString &pupil)
{
    setProgramDirectory(m_planners.at(pupil)->path());
}

void tst_ClassListRadicale::syncAll(const QStringList &pupils)
{
    for (const QString &pupil : pupils) {
        use(pupil);
        SyncCommand::run(SyncSettings::load(), QStringLiteral("geheim"));
    }
}

QStringList tst_ClassListRadicale::teacher(const QStringList &arguments)
{
    QProcess process;
    process.start(kPython, QStringList{QFINDTESTDATA("teacher.py"), m_url} + arguments);
    process.waitForFinished(30000);
    if (process.exitCode() != 0)
        qWarning() << process.readAllStandardError();
    QStringList todos;
    for (const QJsonValue &v : QJsonDocument::fromJson(process.readAllStandardOutput()).array())
        todos.append(v["due"].toString() + u' ' + v["summary"].toString() + (v["status"].toString() == u"COMPLETED" ? " (erledigt)" : ""));
    return todos;
}

QStringList tst_ClassListRadicale::local(const QString &pupil)
{
    use(pupil);
    QStringList items;
    for (const HomeworkItem &i : HomeworkStoreSource().all())
        items.append(i.due.toString(Qt::ISODate) + u' ' + i.subject + QStringLiteral(": ") + i.text + (i.done ? " (erledigt)" : ""));
    items.sort();
    return items;
}

// "Für die Klasse" in the real entry dialog; false when the box is not offered.
bool tst_ClassListRadicale::share(const QString &pupil, const QString &due, const QString &subject, const QString &text)
{
    use(pupil);
    TForm2 form;
    form.openForSubject(subject);
    auto *box = form.findChild<QCheckBox *>("ClassShareCheck");
    if (!box->isVisible() || !box->isEnabled())
        return false;
    form.findChild<QLineEdit *>("Edit1")->setText(due);
    form.findChild<QLineEdit *>("Edit2")->setText(text);
    box->setChecked(true);
    form.findChild<QPushButton *>("Button1")->click();
    return true;
}

void tst_ClassListRadicale::threePlannersShareOneList()
{
    // The teacher's todos reach all three, beside Anna's own homework of that subject and date.
    use("anna");
    HomeworkStore::addHomework("10.12.2026", "Mathe", "Heft");
    teacher({"add", "t1", "2026-12-10", "Mathe: S. 12"});
    teacher({"add", "t2", "2026-12-11", "Deutsch: Gedicht"});
    syncAll();
    QCOMPARE(local("anna"), (QStringList{"2026-12-10 Mathe: Heft | (Klasse) S. 12", "2026-12-11 Deutsch: (Klasse) Gedicht"}));
    for (const char *pupil : {"ben", "cara"})
        QCOMPARE(local(pupil), (QStringList{"2026-12-10 Mathe: (Klasse) S. 12", "2026-12-11 Deutsch: (Klasse) Gedicht"}));

    // Ben's tick and Cara's deletion stay in their planners.
    use("ben");
    HomeworkStoreSource().setDone(QDate(2026, 12, 10), "Mathe", true);
    use("cara");
    HomeworkStoreSource().remove(QDate(2026, 12, 11), "Deutsch");
    syncAll();
    syncAll();
    const QStringList classList{"2026-12-10 Mathe: S. 12", "2026-12-11 Deutsch: Gedicht"};
    QCOMPARE(teacher({"list"}), classList);
    QCOMPARE(local("ben"), (QStringList{"2026-12-10 Mathe: (Klasse) S. 12 (erledigt)", "2026-12-11 Deutsch: (Klasse) Gedicht"}));
    QCOMPARE(local("cara"), QStringList{"2026-12-10 Mathe: (Klasse) S. 12"});

    // The teacher's edit reaches all, Cara's removed one too, Ben's tick stays.
    teacher({"set", "t2", "SUMMARY", "Deutsch: Gedicht lernen"});
    syncAll();
    for (const QString &pupil : kPupils)
        QVERIFY2(local(pupil).contains("2026-12-11 Deutsch: (Klasse) Gedicht lernen"), qPrintable(pupil));

    // Ben's and Cara's "Für die Klasse" of one subject and date: one todo with both texts, in Anna's planner as well.
    QVERIFY(share("ben", "14.12.2026", "Englisch", "Vokabeln"));
    QVERIFY(share("cara", "14.12.2026", "Englisch", "Text lesen"));
    syncAll({"ben", "cara"});
    syncAll();
    syncAll();
    const QStringList listed = teacher({"list"});
    QCOMPARE(listed.size(), 3);
    QVERIFY2(listed.contains("2026-12-14 Englisch: Text lesen | Vokabeln") || listed.contains("2026-12-14 Englisch: Vokabeln | Text lesen"),
             qPrintable(listed.join(u'\n')));
    const QString both = listed.last().mid(11);
    QVERIFY(local("anna").contains("2026-12-14 Englisch: (Klasse) " + both.mid(10)));
    QVERIFY(local("ben").contains("2026-12-14 " + both));

    // Ben's later edit changes that todo only; Cara's text, taken out by it,
    // stays in her planner beside the class's. After more rounds nothing is doubled anywhere.
    use("ben");
    HomeworkStoreSource().setText(QDate(2026, 12, 14), "Englisch", "Vokabeln S. 30");
    syncAll();
    syncAll();
    const QStringList after = teacher({"list"});
    QCOMPARE(after.size(), 3);
    QCOMPARE(after.last(), "2026-12-14 Englisch: Vokabeln S. 30");
    QVERIFY(local("cara").contains("2026-12-14 Englisch: Text lesen | Vokabeln | (Klasse) Vokabeln S. 30"));
    for (const QString &pupil : kPupils) {
        const QStringList items = local(pupil);
        QCOMPARE(items.filter("Englisch").size(), 1);
        const QStringList parts = items.filter("Englisch").first().split(QStringLiteral(" | "));
        QCOMPARE(QSet<QString>(parts.begin(), parts.end()).size(), parts.size());
    }
}

// Dora may only read: her rights say so before anything is written.
void tst_ClassListRadicale::readOnlyListIsReportedOnce()
{
    QVERIFY(share("dora", "15.12.2026", "Mathe", "Zirkel mitbringen"));
    try {
        syncAll({"dora"});
        QFAIL("the refused write must be reported");
    } catch (const CalDavError &error) {
        QVERIFY2(error.message().contains("nur lesbar"), qPrintable(error.message()));
        QVERIFY2(!error.message().contains("verweigert"), qPrintable(error.message())); // known from the rights, nothing tried
    }
    syncAll({"dora"}); // reported once: quiet now, nothing retried
    QVERIFY(!share("dora", "16.12.2026", "Mathe", "x")); // the box is off
    QVERIFY(local("dora").contains("2026-12-15 Mathe: Zirkel mitbringen"));
    QVERIFY(local("dora").contains("2026-12-10 Mathe: (Klasse) S. 12"));
    QCOMPARE(teacher({"list"}).filter("Zirkel").size(), 0);

    // Ben's rights are taken back after he started: the refused write (403) is reported once, his homework stays.
    writeFile(m_serverDir.filePath("rights"), QByteArray("[ben]\nuser: ben\ncollection: lehrer/klasse\npermissions: r\n") + kRights);
    QVERIFY(share("ben", "16.12.2026", "Deutsch", "Buch lesen"));
    QVERIFY_THROWS_EXCEPTION(CalDavError, syncAll({"ben"}));
    syncAll({"ben"});
    QVERIFY(local("ben").contains("2026-12-16 Deutsch: Buch lesen"));
    QCOMPARE(teacher({"list"}).filter("Buch").size(), 0);
}

// Anna's sync killed just before each of its renames in turn (every save of
// the homework, the sync state or the class list's state), with new work of
// all kinds waiting each time: after one more sync both lists and the planner
// hold everything once.
void tst_ClassListRadicale::killedSyncsDoubleNothing()
{
    KillDuringWork killer(TestEnvironment::helperDir() + QStringLiteral("/syncrunner"));
    const int rounds = killer.runKilledAtEachRename({m_planners.at("anna")->path()}, [&](int round) {
        const QDate due = QDate(2027, 1, 11).addDays(round);
        const QString n = QString::number(round);
        if (!share("anna", due.toString("dd.MM.yyyy"), "Mathe", "Anna " + n))
            return false;
        teacher({"add", "kill" + n, due.toString(Qt::ISODate), "Deutsch: Lehrer " + n});
        HomeworkStore::addHomework(DateText::formatLong(due), "Englisch", "eigen " + n);
        return true;
    });
    QVERIFY2(rounds > 0, "a round failed, or the sync never ran out of renames");
    syncAll({"anna"});
    syncAll({"anna"});

    const QStringList listed = teacher({"list"});
    const QStringList planner = local("anna");
    for (int round = 0; round < rounds; ++round) {
        const QString day = QDate(2027, 1, 11).addDays(round).toString(Qt::ISODate) + u' ';
        const QString n = QString::number(round);
        QCOMPARE(listed.filter(day).size(), 2);
        QVERIFY(listed.contains(day + "Mathe: Anna " + n) && listed.contains(day + "Deutsch: Lehrer " + n));
        QCOMPARE(planner.filter(day),
                 (QStringList{day + "Deutsch: (Klasse) Lehrer " + n, day + "Englisch: eigen " + n, day + "Mathe: Anna " + n}));
    }
    const SyncSettings::Options own = SyncSettings::load();
    QCOMPARE(CalDavClient({m_url, "anna", QStringLiteral("geheim")}).listEtags(QUrl(own.tasks)).size(), planner.size());
}

QTEST_MAIN(tst_ClassListRadicale)
#include "tst_ClassListRadicale.moc"
