// The evening reminder before a school day: its text, its timing by a fixed clock,
// its option on the "Extras" tab, and its way to the desktop's notification service.
#include "TBNArea/TTBNArea.h"
#include "extras/ExtrasTab.h"
#include "packing/PackingDisplay.h"
#include "packing/PackingExtras.h"
#include "packing/PackingGroup.h"
#include "packing/PackingNotifier.h"
#include "packing/PackingReminder.h"
#include "packing/PackingScheduler.h"
#include "packing/PackingSettings.h"
#include "packing/PackingWindow.h"
#include "platform/Clock.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QtTest>

namespace {

// Tuesday's lessons with an empty lesson, a free one and subjects met twice;
// homework due on Tuesday 08.12.2026, one of it done; Christmas holidays.
const QString kSettings = QStringLiteral(
    "[Dates]\n08.12.2026=1\n"
    "[08.12.2026]\nMathematik=S. 45 Nr. 3\nMathematikExec=\nDeutsch=Aufsatz\nDeutsch2=1\nEnglisch=Vokabeln Unit 3\nEnglisch2=0\n"
    "[09.12.2026]\nKunst=not in the index\n"
    "[Montag]\n1=Sport\n"
    "[Dienstag]\n1=Mathematik\n2=Deutsch\n3=\n4=Deutsch\n5=FREI\n6=Englisch\n7=Sport\n8=mathematik\n"
    "[Mittwoch]\n1=Biologie\n[Donnerstag]\n1=Chemie\n[Freitag]\n1=Physik\n"
    "[FERIEN]\nWEIHNACHTEN1=23.12.2026\nWEIHNACHTEN2=6.1.2027\n");

QDateTime at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// Records what would have reached the pupil.
class RecordingDisplay final : public PackingDisplay
{
public:
    void showReminder(const QString &summary, const QString &body) override { shown.append(summary + u'|' + body); }
    QStringList shown;
};



// A session bus of its own, without any service that could be started on demand.
const char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig>\n"
    "  <type>session</type>\n"
    "  <listen>unix:dir=%1</listen>\n"
    "  <auth>EXTERNAL</auth>\n"
    "  <policy context=\"default\">\n"
    "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
    "    <allow eavesdrop=\"true\"/>\n"
    "    <allow own=\"*\"/>\n"
    "  </policy>\n"
    "</busconfig>\n";

}

class tst_PackingReminder final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void reminderText();
    void timing();
    void scheduler();
    void optionOnTheTab();
    void fallbackWindow();
    void notificationThroughService();
};

void tst_PackingReminder::reminderText()
{
    TestEnvironment env(at(2026, 12, 7, 20, 0));
    env.writeSettings(kSettings);
    // Each subject once in lesson order, empty and free lessons left out; open
    // homework only, done homework and a date outside the index not.
    QCOMPARE(PackingReminder::text(QDate(2026, 12, 7)),
             QStringLiteral("Morgen, Dienstag: Mathematik, Deutsch, Englisch, Sport\n"
                            "Hausaufgaben: Mathematik (S. 45 Nr. 3), Englisch (Vokabeln Unit 3)"));
    // Without homework only the lessons; Sunday names Monday.
    QCOMPARE(PackingReminder::text(QDate(2026, 12, 8)), QStringLiteral("Morgen, Mittwoch: Biologie"));
    QCOMPARE(PackingReminder::text(QDate(2026, 12, 13)), QStringLiteral("Morgen, Montag: Sport"));
    // Before a weekend day, and with nothing at all to pack, there is no text.
    QVERIFY(PackingReminder::text(QDate(2026, 12, 11)).isEmpty());
    env.writeSettings(QStringLiteral("[Dienstag]\n1=FREI\n"));
    QVERIFY(PackingReminder::text(QDate(2026, 12, 7)).isEmpty());
    // A long homework text is cut short.
    env.writeSettings(QStringLiteral("[Dates]\n08.12.2026=1\n[08.12.2026]\nMathematik=") + QString(60, u'x') + u'\n');
    const QString text = PackingReminder::text(QDate(2026, 12, 7));
    QVERIFY2(text.startsWith(QStringLiteral("Morgen, Dienstag: keine Stunden eingetragen\nHausaufgaben: Mathematik (xxx")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("x\u2026)")) && text.count(u'x') == 39, qPrintable(text));
}

void tst_PackingReminder::timing()
{
    TestEnvironment env(at(2026, 12, 7, 20, 0));
    env.writeSettings(kSettings);
    PackingSettings::Options on{true, QTime(19, 0), QDate()};
    const auto due = [&](const QDateTime &now) { return PackingReminder::isDue(now.date(), now.time(), on); };
    // Monday before a school Tuesday: from the chosen time on, not before.
    QVERIFY(!due(at(2026, 12, 7, 18, 59, 59)));
    QVERIFY(due(at(2026, 12, 7, 19, 0)));
    QVERIFY(due(at(2026, 12, 7, 23, 59)));
    // Not on Friday (Saturday comes) nor Saturday; Sunday before Monday yes.
    QVERIFY(!due(at(2026, 12, 11, 20, 0)));
    QVERIFY(!due(at(2026, 12, 12, 20, 0)));
    QVERIFY(due(at(2026, 12, 13, 20, 0)));
    // Not the evening before the first holiday day, nor inside the holidays; the
    // last holiday day before a school Thursday yes.
    QVERIFY(due(at(2026, 12, 21, 20, 0)));
    QVERIFY(!due(at(2026, 12, 22, 20, 0)));
    QVERIFY(!due(at(2027, 1, 5, 20, 0)));
    QVERIFY(due(at(2027, 1, 6, 20, 0)));
    QVERIFY(PackingReminder::isHoliday(QDate(2026, 12, 23)) && PackingReminder::isHoliday(QDate(2027, 1, 6)));
    QVERIFY(!PackingReminder::isHoliday(QDate(2026, 12, 22)) && !PackingReminder::isHoliday(QDate(2027, 1, 7)));
    // Once a day: shown today, not due again today, but tomorrow.
    on.shownOn = QDate(2026, 12, 7);
    QVERIFY(!due(at(2026, 12, 7, 21, 0)));
    QVERIFY(due(at(2026, 12, 8, 21, 0)));
    // The next moment: Friday evening waits for Sunday; after the last evening
    // before the holidays it waits for their last day.
    QCOMPARE(PackingReminder::nextMoment(at(2026, 12, 11, 20, 0), on), at(2026, 12, 13, 19, 0));
    QCOMPARE(PackingReminder::nextMoment(at(2026, 12, 7, 21, 0), on), at(2026, 12, 8, 19, 0));
    on.shownOn = QDate(2026, 12, 21);
    QCOMPARE(PackingReminder::nextMoment(at(2026, 12, 21, 20, 0), on), at(2027, 1, 6, 19, 0));
    // Started after the time on such a day, it is due at once.
    on.shownOn = QDate();
    QCOMPARE(PackingReminder::nextMoment(at(2026, 12, 7, 20, 0), on), at(2026, 12, 7, 20, 0));
    QCOMPARE(PackingReminder::nextMoment(at(2026, 12, 7, 8, 0), on), at(2026, 12, 7, 19, 0));
    // Option off: never due, nothing to wait for.
    on.active = false;
    QVERIFY(!due(at(2026, 12, 7, 20, 0)));
    QVERIFY(!PackingReminder::nextMoment(at(2026, 12, 7, 8, 0), on).isValid());
}

void tst_PackingReminder::scheduler()
{
    TestEnvironment env(at(2026, 12, 7, 20, 30));
    env.writeSettings(kSettings);
    {
        // Option off: the start builds nothing and shows nothing.
        PackingExtras extras;
        extras.startFromSettings();
        QVERIFY(!extras.scheduler());
        RecordingDisplay display;
        PackingScheduler scheduler(display);
        scheduler.start();
        QVERIFY(display.shown.isEmpty());
        QVERIFY(!scheduler.timer().isActive());
    }
    PackingSettings::save(true, QTime(19, 0));
    {
        // Started after the time: shown at once, once, and the day is noted.
        RecordingDisplay display;
        PackingScheduler scheduler(display);
        scheduler.start();
        QCOMPARE(display.shown, QStringList{QStringLiteral("Ranzen packen|") + PackingReminder::text(QDate(2026, 12, 7))});
        QCOMPARE(PackingSettings::load().shownOn, QDate(2026, 12, 7));
        QVERIFY(env.settingsText().contains(QStringLiteral("[RANZEN]\nAktiv=1\nUhrzeit=19:00\nGezeigt=07.12.2026\n")));
        QVERIFY(!scheduler.check());
        QCOMPARE(display.shown.size(), 1);
        // The timer waits for tomorrow evening, looking again within a quarter hour.
        QCOMPARE(scheduler.nextMoment(), at(2026, 12, 8, 19, 0));
        QVERIFY(scheduler.timer().isActive());
        QVERIFY(scheduler.timer().interval() <= PackingScheduler::MaxWaitMs);
    }
    {
        // A new start the same evening does not show it again.
        RecordingDisplay display;
        PackingScheduler scheduler(display);
        scheduler.start();
        QVERIFY(display.shown.isEmpty());
    }
    {
        // Started before the time on Tuesday: the timer shows it when the time comes.
        Clock::setNow(at(2026, 12, 8, 18, 59, 59));
        RecordingDisplay display;
        PackingScheduler scheduler(display);
        scheduler.start();
        QVERIFY(display.shown.isEmpty());
        QCOMPARE(scheduler.nextMoment(), at(2026, 12, 8, 19, 0));
        Clock::setNow(at(2026, 12, 8, 19, 0, 1));
        QTRY_COMPARE_WITH_TIMEOUT(display.shown.size(), 1, 5000);
        QVERIFY(display.shown.first().startsWith(QStringLiteral("Ranzen packen|Morgen, Mittwoch: Biologie")));
        // Friday evening: nothing, and the timer waits for Sunday.
        Clock::setNow(at(2026, 12, 11, 20, 0));
        QVERIFY(!scheduler.check());
        QCOMPARE(scheduler.nextMoment(), at(2026, 12, 13, 19, 0));
        // The day before the first holiday day: nothing.
        Clock::setNow(at(2026, 12, 22, 20, 0));
        QVERIFY(!scheduler.check());
        QCOMPARE(scheduler.nextMoment(), at(2027, 1, 6, 19, 0));
    }
    {
        // Due, but tomorrow asks for nothing: nothing shown, and the timer does not spin.
        env.writeSettings(QStringLiteral("[RANZEN]\nAktiv=1\nUhrzeit=19:00\n"));
        Clock::setNow(at(2026, 12, 7, 20, 0));
        RecordingDisplay display;
        PackingScheduler scheduler(display);
        QVERIFY(!scheduler.check());
        QVERIFY(display.shown.isEmpty());
        QCOMPARE(scheduler.nextMoment(), at(2026, 12, 8, 19, 0));
    }
}

void tst_PackingReminder::optionOnTheTab()
{
    TestEnvironment env(at(2026, 12, 7, 9, 0));
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n"));
    ExtrasTab tab;
    PackingExtras extras;
    extras.install(&tab, nullptr);
    tab.LoadExtrasTab();
    auto *group = tab.findChild<PackingGroup *>(QStringLiteral("PackingGroup"));
    QVERIFY(group);
    auto *check = group->findChild<QCheckBox *>(QStringLiteral("PackingRemindCheck"));
    auto *time = group->findChild<QTimeEdit *>(QStringLiteral("PackingTimeEdit"));
    QVERIFY(check && time);
    // Loading: off at 19:00, nothing written.
    QVERIFY(!check->isChecked());
    QCOMPARE(time->time(), QTime(19, 0));
    QVERIFY(!env.settingsText().contains(QStringLiteral("RANZEN")));
    // A click stores the option and starts the scheduler; the time follows.
    check->click();
    QCOMPARE(PackingSettings::load(), (PackingSettings::Options{true, QTime(19, 0), QDate()}));
    QVERIFY(extras.scheduler() && extras.scheduler()->timer().isActive());
    time->setTime(QTime(18, 30));
    Q_EMIT time->editingFinished();
    QCOMPARE(PackingSettings::load().time, QTime(18, 30));
    QCOMPARE(extras.scheduler()->nextMoment(), at(2026, 12, 7, 18, 30));
    // Off again: the timer stops; the other sections stay.
    check->click();
    QVERIFY(!PackingSettings::load().active);
    QVERIFY(!extras.scheduler()->timer().isActive());
    QVERIFY(env.settingsText().startsWith(QStringLiteral("[Montag]\n1=Mathematik\n")));
}

void tst_PackingReminder::fallbackWindow()
{
    // No bus to send on and no tray: the reminder comes in a window of its own.
    PackingNotifier notifier;
    notifier.setBusConnection(QStringLiteral("packing-no-such-bus"));
    TTBNArea tray; // never loaded, so not in the tray
    notifier.setTray(&tray);
    QSignalSpy delivered(&notifier, &PackingNotifier::delivered);
    notifier.showReminder(QStringLiteral("Ranzen packen"), QStringLiteral("Morgen, Dienstag: Mathematik"));
    QTRY_COMPARE(delivered.size(), 1);
    QCOMPARE(delivered.first().first().value<PackingNotifier::Route>(), PackingNotifier::Route::Window);
    PackingWindow *window = notifier.window();
    QVERIFY(window && window->isVisible() && !window->isModal());
    QCOMPARE(window->objectName(), QStringLiteral("PackingWindow"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Ranzen packen"));
    QCOMPARE(window->text(), QStringLiteral("Morgen, Dienstag: Mathematik"));
}

void tst_PackingReminder::notificationThroughService()
{
    QStringList missing;
    for (const char *tool : {"dbus-daemon", "Xvfb", "dunst", "dunstctl", "dbus-send"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));

    QTemporaryDir work;
    QVERIFY(work.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config"))); // dunst's own defaults
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));

    // A private session bus.
    QFile config(work.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QString::fromLatin1(kBusConfig).arg(work.path()).toUtf8());
    config.close();
    TestServer bus;
    bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                                              QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")},
              environment, true);
    const QString address = bus.firstLine(10000);
    if (address.isEmpty())
        QSKIP("the private session bus (dbus-daemon) did not start");
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    const QString connectionName = QStringLiteral("packing-test-bus");
    struct Disconnect
    {
        QString name;
        ~Disconnect() { QDBusConnection::disconnectFromBus(name); }
    } disconnect{connectionName};
    QDBusConnection connection = QDBusConnection::connectToBus(address, connectionName);
    if (!connection.isConnected())
        QSKIP("cannot connect to the private session bus");

    PackingNotifier notifier;
    notifier.setBusConnection(connectionName);
    QSignalSpy delivered(&notifier, &PackingNotifier::delivered);
    const QString body = QStringLiteral("Morgen, Dienstag: Mathematik, Deutsch & Kunst\nHausaufgaben: Englisch (Vokabeln)");

    // No service on the bus yet: the error answer leads to the window.
    notifier.showReminder(QStringLiteral("Ranzen packen"), body);
    QTRY_COMPARE_WITH_TIMEOUT(delivered.size(), 1, PackingNotifier::NotifyTimeoutMs + 2000);
    QCOMPARE(delivered.takeFirst().first().value<PackingNotifier::Route>(), PackingNotifier::Route::Window);
    QVERIFY(notifier.window() && notifier.window()->isVisible());
    notifier.window()->hide();

    // An X display for dunst; -displayfd 1: the server picks a free display and prints its number.
    TestServer xserver;
    xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1024x400x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                  environment, true);
    const QString number = xserver.firstLine(15000);
    if (number.isEmpty())
        QSKIP("the X server (Xvfb) did not start");
    environment.insert(QStringLiteral("DISPLAY"), u':' + number);

    TestServer dunst;
    dunst.start(QStringLiteral("dunst"), {}, environment);
    QElapsedTimer waited;
    waited.start();
    while (dunst.running() && waited.elapsed() < 10000
           && !connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications")).value())
        QTest::qWait(100);
    if (!connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications")).value())
        QSKIP("the notification service (dunst) did not start on the private bus");

    // The service takes it and gives it a number.
    notifier.showReminder(QStringLiteral("Ranzen packen"), body);
    QTRY_COMPARE_WITH_TIMEOUT(delivered.size(), 1, PackingNotifier::NotifyTimeoutMs + 2000);
    QCOMPARE(delivered.first().first().value<PackingNotifier::Route>(), PackingNotifier::Route::Notification);
    QVERIFY(delivered.first().at(1).toUInt() > 0);

    // What dunst shows, for the help pages.
    const QByteArray screenshot = qgetenv("KALMORA_PACKING_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        QTest::qWait(1500);
        runTool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QString::fromLocal8Bit(screenshot)}, environment);
    }

    // Closed, it stands in dunst's history with the program, the summary and the body.
    QTest::qWait(300);
    runTool(QStringLiteral("dunstctl"), {QStringLiteral("close-all")}, environment);
    QString history;
    waited.restart();
    while (waited.elapsed() < 5000 && !history.contains(QStringLiteral("Ranzen packen"))) {
        history = runTool(QStringLiteral("dunstctl"), {QStringLiteral("history")}, environment);
        if (!history.contains(QStringLiteral("Ranzen packen")))
            QTest::qWait(200);
    }
    const QJsonDocument json = QJsonDocument::fromJson(history.toUtf8());
    QVERIFY2(!json.isNull(), qPrintable(history));
    const QJsonArray entries = json.object().value(QStringLiteral("data")).toArray().at(0).toArray();
    QCOMPARE(entries.size(), 1);
    const QJsonObject entry = entries.at(0).toObject();
    const auto field = [&](const char *name) { return entry.value(QLatin1String(name)).toObject().value(QStringLiteral("data")).toString(); };
    QCOMPARE(field("appname"), QStringLiteral("Kalmora"));
    QCOMPARE(field("summary"), QStringLiteral("Ranzen packen"));
    QVERIFY2(field("body").contains(QStringLiteral("Mathematik, Deutsch")) && field("body").contains(QStringLiteral("Englisch (Vokabeln)")),
             qPrintable(field("body")));
    // The body goes as markup: a "&" of the text is escaped, so that the service shows it.
    QVERIFY2(field("body").contains(QStringLiteral("Deutsch &amp; Kunst")), qPrintable(field("body")));
}

QTEST_MAIN(tst_PackingReminder)
#include "tst_PackingReminder.moc"
