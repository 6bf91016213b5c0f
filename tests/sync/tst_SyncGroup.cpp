// The group on the "Extras" tab and the menu entry, driven by object name against Radicale on 127.0.0.1.
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "model/HomeworkStore.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "sync/SyncExtras.h"
#include "sync/SyncScheduler.h"

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
    QVERIFY(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().startsWith(QStringLiteral("Verbindung in Ordnung")));
    for (const char *name : {"SyncTasksCombo", "SyncEventsCombo"}) {
        QComboBox *combo = group->findChild<QComboBox *>(QString::fromLatin1(name));
        combo->setCurrentIndex(1); // "Neu anlegen: ..."
    }
    group->findChild<QPushButton *>(QStringLiteral("SyncApplyButton"))->click();
    const SyncSettings::Options stored = SyncSettings::load();
    QVERIFY(stored.active);
    QVERIFY(stored.tasks.endsWith(QStringLiteral("/schueler/kalmora-hausaufgaben/")));
    QVERIFY(stored.events.endsWith(QStringLiteral("/schueler/kalmora-termine/")));
    if (qEnvironmentVariableIsSet("KALMORA_SCREENSHOT"))
        group->grab().save(qEnvironmentVariable("KALMORA_SCREENSHOT"));

    // "Jetzt synchronisieren", then a change goes out on its own after the delay.
    extras.scheduler()->setIntervals(200, SyncScheduler::Period);
    menu->actions().constFirst()->trigger();
    QVERIFY(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().startsWith(QStringLiteral("Zuletzt synchronisiert: 07.12.2026")));
    QCOMPARE(SyncState::load().todos.size(), 1);
    HomeworkStore::addHomework(QStringLiteral("11.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 13"));
    QTRY_COMPARE(SyncState::load().todos.size(), 2);

    // The server gone: the failure is told once, however often the sync runs.
    radicale.stop();
    int told = 0;
    connect(extras.scheduler(), &SyncScheduler::failed, this, [&] { ++told; });
    extras.scheduler()->runNow();
    extras.scheduler()->runNow();
    QCOMPARE(told, 1);
    QVERIFY(group->findChild<QLabel *>(QStringLiteral("SyncStatusLabel"))->text().contains(QStringLiteral("nicht erreichbar")));
}

QTEST_MAIN(tst_SyncGroup)
#include "tst_SyncGroup.moc"
