// The group on the "Extras" tab and the menu entry, driven by object name against Radicale on 127.0.0.1.
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/SyncExtras.h"
#include "sync/SyncGroup.h"
#include "sync/SyncScheduler.h"
#include "sync/SyncSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QToolButton>
#include <QtTest>

class tst_SyncGroup final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void setUpAndSync();
    void inputWhileServerStalls();
};

void tst_SyncGroup::setUpAndSync()
{
    QTemporaryDir serverDir;
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    const QString address = QStringLiteral("127.0.0.1:%1").arg(port);
    probe.close();
    TestServer radicale;
    radicale.start(QStringLiteral("/usr/bin/python3"), {"-m", "radicale", "--server-hosts", address, "--auth-type", "none",
                                                       "--storage-filesystem-folder", serverDir.path()},
                   QProcessEnvironment::systemEnvironment());
    QTRY_VERIFY_WITH_TIMEOUT([&] { QTcpSocket s; s.connectToHost(QHostAddress::LocalHost, port); return s.waitForConnected(100); }(), 10000);
    qputenv("KALMORA_CALDAV_PASSWORD", "geheim");

    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n"));
    HomeworkStore::addHomework(QStringLiteral("10.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 12"));
    QWidget window;
    auto *button = new QToolButton(&window);
    auto *menu = new ExtrasMenu(button);
    auto *tab = new ExtrasTab(&window);
    SyncExtras extras;
    extras.install(menu, tab);
    tab->LoadExtrasTab();
    auto *group = tab->findChild<QGroupBox *>(QStringLiteral("SyncGroup"));
    QVERIFY(group);
    QCOMPARE(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text(), QStringLiteral("Noch nicht synchronisiert."));

    // Account, "Verbindung prüfen", new collections for both, "Übernehmen".
    group->findChild<QCheckBox *>(QStringLiteral("SyncActiveCheck"))->setChecked(true);
    group->findChild<QLineEdit *>(QStringLiteral("SyncServerEdit"))->setText("http://" + address);
    group->findChild<QLineEdit *>(QStringLiteral("SyncUserEdit"))->setText(QStringLiteral("schueler"));
    group->findChild<QPushButton *>(QStringLiteral("SyncCheckButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().startsWith(QStringLiteral("Verbindung in Ordnung")),
                             20000);
    // A new account has no lists: both choices offer the new ones.
    for (const char *name : {"SyncTasksCombo", "SyncEventsCombo"})
        QVERIFY(group->findChild<QComboBox *>(QString::fromLatin1(name))->currentText().startsWith(QStringLiteral("Neu anlegen")));
    QSignalSpy saved(static_cast<SyncGroup *>(group), &SyncGroup::optionsSaved);
    group->findChild<QPushButton *>(QStringLiteral("SyncApplyButton"))->click();
    QVERIFY(saved.wait(20000));
    const SyncSettings::Options stored = SyncSettings::load();
    QVERIFY(stored.active);
    QVERIFY(stored.tasks.endsWith(QStringLiteral("/schueler/kalmora-hausaufgaben/")));
    QVERIFY(stored.events.endsWith(QStringLiteral("/schueler/kalmora-termine/")));
    if (qEnvironmentVariableIsSet("KALMORA_SCREENSHOT"))
        group->grab().save(qEnvironmentVariable("KALMORA_SCREENSHOT"));

    // "Jetzt synchronisieren", then a change goes out on its own after the delay.
    extras.scheduler()->setIntervals(200, SyncScheduler::Period);
    QSignalSpy ended(extras.scheduler(), &SyncScheduler::finished);
    menu->actions().constFirst()->trigger();
    QVERIFY(ended.wait(20000));
    QVERIFY(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().startsWith(QStringLiteral("Zuletzt synchronisiert: 07.12.2026")));
    QCOMPARE(SyncState::load().todos.size(), 1);
    HomeworkStore::addHomework(QStringLiteral("11.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 13"));
    QTRY_COMPARE(SyncState::load().todos.size(), 2);

    // The server gone: the failure is told once, however often the sync runs.
    radicale.stop();
    int told = 0;
    connect(extras.scheduler(), &SyncScheduler::failed, this, [&] { ++told; });
    for (int run = 0; run < 2; ++run) {
        QTRY_VERIFY_WITH_TIMEOUT(!extras.scheduler()->isRunning(), 20000);
        QVERIFY(extras.scheduler()->runNow());
        QVERIFY(ended.wait(20000));
    }
    QCOMPARE(told, 1);
    QVERIFY(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().contains(QStringLiteral("nicht erreichbar")));
}

void tst_SyncGroup::inputWhileServerStalls()
{
    // A server that takes every connection and never answers.
    QTcpServer stalling;
    QVERIFY(stalling.listen(QHostAddress::LocalHost));
    QList<QTcpSocket *> asked;
    connect(&stalling, &QTcpServer::newConnection, this, [&] {
        while (QTcpSocket *socket = stalling.nextPendingConnection())
            asked.append(socket);
    });
    const QString server = QStringLiteral("http://127.0.0.1:%1/").arg(stalling.serverPort());
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n"));
    SyncSettings::save({true, server, QString(), server + QStringLiteral("aufgaben/"), QString()});
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));

    QWidget window;
    auto *menu = new ExtrasMenu(new QToolButton(&window));
    auto *tab = new ExtrasTab(&window);
    auto extras = std::make_unique<SyncExtras>();
    extras->install(menu, tab);
    tab->LoadExtrasTab();
    window.show();
    auto *edit = tab->findChild<QLineEdit *>(QStringLiteral("SyncServerEdit"));
    menu->actions().constFirst()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!asked.isEmpty() && asked.constFirst()->bytesAvailable() > 0, 20000);

    // While the sync waits for its answer, a key typed into the settings is taken.
    edit->clear();
    QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
    QTRY_COMPARE_WITH_TIMEOUT(edit->text(), QStringLiteral("x"), 20000);
    QVERIFY(extras->scheduler()->isRunning());
    QVERIFY(tab->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().startsWith(QStringLiteral("Synchronisation läuft")));

    // Closing the planner stops the waiting sync; nothing of the planner's data changed.
    extras.reset();
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);
}

QTEST_MAIN(tst_SyncGroup)
#include "tst_SyncGroup.moc"
