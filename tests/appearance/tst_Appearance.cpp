// Dark windows: the option on the "Extras" tab, and the desktop's preference read from a real portal while the program runs.
#include "appearance/Appearance.h"
#include "appearance/AppearanceSettings.h"
#include "appearance/ColorSchemePortal.h"
#include "appearance/ThemeColours.h"
#include "grades/GradeOverviewWindow.h"
#include "main2/TForm1.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "termin/TForm10.h"

#include <QApplication>
#include <QChart>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QFrame>
#include <QLabel>
#include <QStandardPaths>
#include <QStyle>
#include <QTableWidget>
#include <QtTest>

namespace {

// A session bus of its own; the portals are started by the test, none on demand.
const char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>\n"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
    "<allow own=\"*\"/></policy></busconfig>\n";

bool windowIsDark(QWidget *window)
{
    return window->grab().toImage().pixelColor(2, 2).lightness() < 100;
}

QColor bandColour(TForm10 &reminder)
{
    for (QFrame *frame : reminder.findChildren<QFrame *>()) {
        if (frame->autoFillBackground())
            return frame->palette().color(QPalette::Window);
    }
    return {};
}

}

class tst_Appearance final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void optionAndPortalReply();
    void windowsFollowTheDesktop();
};

void tst_Appearance::optionAndPortalReply()
{
    TestEnvironment environment;
    // Stored as text in its own section; anything unknown follows the system.
    QCOMPARE(AppearanceSettings::mode(), AppearanceSettings::Mode::System);
    AppearanceSettings::setMode(AppearanceSettings::Mode::Dark);
    QVERIFY(environment.settingsText().contains(QStringLiteral("[DARSTELLUNG]\nModus=dunkel\n")));
    QCOMPARE(AppearanceSettings::mode(), AppearanceSettings::Mode::Dark);
    environment.writeSettings(QStringLiteral("[darstellung]\nmodus=HELL\n"));
    QCOMPARE(AppearanceSettings::mode(), AppearanceSettings::Mode::Light);
    environment.writeSettings(QStringLiteral("[DARSTELLUNG]\nModus=bunt\n"));
    QCOMPARE(AppearanceSettings::mode(), AppearanceSettings::Mode::System);

    // The portal's 1 is dark, its 0 (no preference), 2 and no portal are light; the option overrides.
    using M = AppearanceSettings::Mode;
    QVERIFY(AppearanceSettings::dark(M::System, 1));
    for (int scheme : {0, 2, ColorSchemePortal::NoPortal})
        QVERIFY(!AppearanceSettings::dark(M::System, scheme));
    QVERIFY(!AppearanceSettings::dark(M::Light, 1));
    QVERIFY(AppearanceSettings::dark(M::Dark, ColorSchemePortal::NoPortal));

    // Read answers a variant in a variant; SettingChanged one variant; the scheme is unsigned.
    const QVariant twice = QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(uint(1))))));
    QCOMPARE(ColorSchemePortal::schemeFromReply(twice), 1);
    QCOMPARE(ColorSchemePortal::schemeFromReply(QVariant::fromValue(QDBusVariant(QVariant(uint(2))))), 2);
    QCOMPARE(ColorSchemePortal::schemeFromReply(QVariant(QStringLiteral("dark"))), 0);
}

void tst_Appearance::windowsFollowTheDesktop()
{
    QStringList missing;
    for (const char *tool : {"dbus-daemon", "Xvfb", "gsettings", "/usr/libexec/xdg-desktop-portal", "/usr/libexec/xdg-desktop-portal-gtk"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty() && !QFileInfo(QLatin1String(tool)).isExecutable())
            missing.append(QLatin1String(tool));
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));

    TestEnvironment environment;
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QDir(work.path()).mkpath(QStringLiteral("run"));
    QFile(work.filePath(QStringLiteral("run"))).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME")); // the portal offers its settings only then
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile")); // shared through a file, no dconf service
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));

    QFile config(work.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QString::fromLatin1(kBusConfig).arg(work.path()).toUtf8());
    config.close();
    TestServer bus;
    bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                                              QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")},
              env, true);
    const QString address = bus.firstLine(10000);
    if (address.isEmpty())
        QSKIP("the private session bus (dbus-daemon) did not start");
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    const QString connectionName = QStringLiteral("appearance-test-bus");
    struct Disconnect
    {
        QString name;
        ~Disconnect() { QDBusConnection::disconnectFromBus(name); }
    } disconnect{connectionName};
    QDBusConnection connection = QDBusConnection::connectToBus(address, connectionName);
    QVERIFY(connection.isConnected());

    // The windows before any portal: the light palette, the colours they always had.
    Prompt::takeAsked();
    TForm1 form1;
    TForm10 reminder;
    GradeOverviewWindow overview;
    form1.show();
    reminder.show();
    overview.show();
    auto *heading = form1.findChild<QLabel *>(QStringLiteral("Label8"));
    QVERIFY(heading);
    const QString lightHeading = heading->styleSheet();
    QVERIFY(lightHeading.contains(QStringLiteral("#2f6fc4")));
    QCOMPARE(bandColour(reminder), QColor(0xff, 0xf0, 0xb3));
    QVERIFY(!windowIsDark(&form1));

    // No portal on the bus: light, and no message.
    {
        Appearance appearance;
        appearance.setBusConnection(connectionName);
        appearance.start();
        QTest::qWait(300);
        QVERIFY(!appearance.isDark());
        QVERIFY(Prompt::takeAsked().isEmpty());
    }

    // The portal with its GTK backend, started first, on an X display.
    TestServer xserver;
    xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                  env, true);
    const QString number = xserver.firstLine(15000);
    if (number.isEmpty())
        QSKIP("the X server (Xvfb) did not start");
    env.insert(QStringLiteral("DISPLAY"), u':' + number);
    TestServer gtkPortal;
    gtkPortal.start(QStringLiteral("/usr/libexec/xdg-desktop-portal-gtk"), {}, env);
    QTRY_VERIFY_WITH_TIMEOUT(connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.impl.portal.desktop.gtk")).value(), 10000);
    TestServer portal;
    portal.start(QStringLiteral("/usr/libexec/xdg-desktop-portal"), {}, env);
    QTRY_VERIFY_WITH_TIMEOUT(connection.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.portal.Desktop")).value(), 10000);

    // Asked now, the portal answers "no preference": still light.
    Appearance following;
    following.setBusConnection(connectionName);
    following.start();
    QTest::qWait(500);
    QVERIFY(!following.isDark());

    // The desktop turns dark while the program runs: every window at once.
    const auto setScheme = [&](const QString &value) {
        runTool(QStringLiteral("gsettings"), {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), value}, env);
    };
    setScheme(QStringLiteral("prefer-dark"));
    QTRY_VERIFY_WITH_TIMEOUT(following.isDark(), 10000);
    QVERIFY(ThemeColours::dark());
    QTRY_VERIFY(windowIsDark(&form1));
    QVERIFY(windowIsDark(&reminder));
    QVERIFY(heading->styleSheet() != lightHeading);
    QCOMPARE(bandColour(reminder), ThemeColours::of(ThemeColours::Colour::BannerBackground));
    QVERIFY(bandColour(reminder).lightness() < 128);
    QCOMPARE(overview.chart()->theme(), QChart::ChartThemeDark);
    auto *grid = form1.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    QCOMPARE(grid->item(0, 0)->background().color(), QApplication::palette().color(QPalette::Button));

    // And light again: the style's own palette and the hand-picked colours as before.
    setScheme(QStringLiteral("default"));
    QTRY_VERIFY_WITH_TIMEOUT(!following.isDark(), 10000);
    QCOMPARE(QApplication::palette().color(QPalette::Window), QApplication::style()->standardPalette().color(QPalette::Window));
    QTRY_VERIFY(!windowIsDark(&form1));
    QCOMPARE(heading->styleSheet(), lightHeading);
    QCOMPARE(bandColour(reminder), QColor(0xff, 0xf0, 0xb3));
    QCOMPARE(overview.chart()->theme(), QChart::ChartThemeLight);

    // The option overrides the desktop: "hell" stays light when it turns dark, "dunkel" is dark at once.
    following.setMode(AppearanceSettings::Mode::Light);
    setScheme(QStringLiteral("prefer-dark"));
    QTest::qWait(800);
    QVERIFY(!following.isDark());
    following.setMode(AppearanceSettings::Mode::System);
    QVERIFY(following.isDark()); // the change while "hell" was heard
    following.setMode(AppearanceSettings::Mode::Light);
    QVERIFY(!windowIsDark(&form1));
}

QTEST_MAIN(tst_Appearance)
#include "tst_Appearance.moc"
