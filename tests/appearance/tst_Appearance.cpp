// Dark windows: the option, and the desktop's preference read from a real portal while the program runs.
#include "appearance/Appearance.h"
#include "appearance/ColorSchemePortal.h"
#include "appearance/ThemeColours.h"
#include "grades/GradeOverviewWindow.h"
#include "main2/TForm1.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "termin/TForm10.h"

#include <QChart>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTableWidget>
#include <QtTest>

namespace {
const QString kPortals = QStringLiteral("/usr/libexec/");

bool looksDark(QWidget *window)
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
    using M = AppearanceSettings::Mode;
    // Stored in its own section; anything unknown follows the system.
    QCOMPARE(AppearanceSettings::mode(), M::System);
    AppearanceSettings::setMode(M::Dark);
    QVERIFY(environment.settingsText().contains(QStringLiteral("[DARSTELLUNG]\nModus=dunkel\n")));
    environment.writeSettings(QStringLiteral("[darstellung]\nmodus=HELL\n"));
    QCOMPARE(AppearanceSettings::mode(), M::Light);
    environment.writeSettings(QStringLiteral("[DARSTELLUNG]\nModus=bunt\n"));
    QCOMPARE(AppearanceSettings::mode(), M::System);
    // The portal's 1 is dark; 0, 2 and no portal are light; the option overrides.
    QVERIFY(AppearanceSettings::dark(M::System, 1));
    for (int scheme : {0, 2, ColorSchemePortal::NoPortal})
        QVERIFY(!AppearanceSettings::dark(M::System, scheme));
    QVERIFY(!AppearanceSettings::dark(M::Light, 1) && AppearanceSettings::dark(M::Dark, ColorSchemePortal::NoPortal));
    // Read answers a variant in a variant, SettingChanged one variant.
    const auto wrapped = [](const QVariant &value) { return QVariant::fromValue(QDBusVariant(value)); };
    QCOMPARE(ColorSchemePortal::schemeFromReply(wrapped(wrapped(uint(1)))), 1);
    QCOMPARE(ColorSchemePortal::schemeFromReply(wrapped(uint(2))), 2);
    QCOMPARE(ColorSchemePortal::schemeFromReply(QStringLiteral("dark")), 0);
}

void tst_Appearance::windowsFollowTheDesktop()
{
    if (!QFileInfo(kPortals + QStringLiteral("xdg-desktop-portal-gtk")).isExecutable() || QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        QSKIP("xdg-desktop-portal-gtk or gsettings is not installed");
    TestEnvironment environment;
    QTemporaryDir work;
    PrivateDesktop desktop;
    if (const QString failure = desktop.start(work.path()); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    QProcessEnvironment &env = desktop.environment;
    env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME")); // the portal offers its settings only then
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile")); // shared through a file, no dconf service
    const QString name = QStringLiteral("appearance-test-bus");
    QDBusConnection bus = QDBusConnection::connectToBus(desktop.busAddress, name);
    const auto disconnect = qScopeGuard([&] { QDBusConnection::disconnectFromBus(name); });
    QVERIFY(bus.isConnected());
    // Slow under load: a portal gets half a minute to appear.
    const auto registered = [&](const QString &service) {
        QElapsedTimer waited;
        waited.start();
        while (!bus.interface()->isServiceRegistered(service).value() && waited.elapsed() < 30000)
            QTest::qWait(100);
        return bus.interface()->isServiceRegistered(service).value();
    };

    TForm1 form1;
    TForm10 reminder;
    GradeOverviewWindow overview;
    for (QWidget *window : {static_cast<QWidget *>(&form1), static_cast<QWidget *>(&reminder), static_cast<QWidget *>(&overview)})
        window->show();
    auto *heading = form1.findChild<QLabel *>(QStringLiteral("Label8"));
    const QString lightHeading = heading->styleSheet();
    QVERIFY(lightHeading.contains(QStringLiteral("#2f6fc4")) && !looksDark(&form1));

    // No portal on the bus: light, and no message.
    Prompt::takeAsked();
    Appearance appearance;
    appearance.setBusConnection(name);
    appearance.start();
    QTest::qWait(300);
    QVERIFY(!appearance.isDark() && Prompt::takeAsked().isEmpty());

    // The portal with its GTK backend started first. It comes later than the
    // program asked, so only its change reaches it.
    TestServer gtk;
    gtk.start(kPortals + QStringLiteral("xdg-desktop-portal-gtk"), {}, env);
    if (!registered(QStringLiteral("org.freedesktop.impl.portal.desktop.gtk")))
        QSKIP("the portal's GTK backend did not come up on the private bus");
    TestServer portal;
    portal.start(kPortals + QStringLiteral("xdg-desktop-portal"), {}, env);
    if (!registered(QStringLiteral("org.freedesktop.portal.Desktop")))
        QSKIP("the desktop portal did not come up on the private bus");
    const auto setScheme = [&](const char *value) {
        runTool(QStringLiteral("gsettings"), {QStringLiteral("set"), QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), QLatin1String(value)}, env);
    };

    // The desktop turns dark while the program runs: every window at once.
    setScheme("prefer-dark");
    QTRY_VERIFY_WITH_TIMEOUT(appearance.isDark(), 10000);
    QTRY_VERIFY(looksDark(&form1) && looksDark(&reminder));
    QVERIFY(heading->styleSheet() != lightHeading);
    QCOMPARE(bandColour(reminder), ThemeColours::of(ThemeColours::Colour::BannerBackground));
    QCOMPARE(overview.chart()->theme(), QChart::ChartThemeDark);
    QCOMPARE(form1.findChild<QTableWidget *>(QStringLiteral("StringGrid1"))->item(0, 0)->background().color(),
             Appearance::darkPalette().color(QPalette::Button));

    // And light again, with the colours the windows always had.
    setScheme("default");
    QTRY_VERIFY_WITH_TIMEOUT(!appearance.isDark(), 10000);
    QTRY_VERIFY(!looksDark(&form1));
    QCOMPARE(heading->styleSheet(), lightHeading);
    QCOMPARE(bandColour(reminder), QColor(0xff, 0xf0, 0xb3));
    QCOMPARE(overview.chart()->theme(), QChart::ChartThemeLight);

    // A program started now reads the portal's answer; "hell" overrides it.
    setScheme("prefer-dark");
    QTRY_VERIFY_WITH_TIMEOUT(appearance.isDark(), 10000);
    Appearance later;
    later.setBusConnection(name);
    later.start();
    QTRY_VERIFY(later.isDark());
    later.setMode(AppearanceSettings::Mode::Light);
    QVERIFY(!later.isDark());
    QTRY_VERIFY(!looksDark(&form1));
}

QTEST_MAIN(tst_Appearance)
#include "tst_Appearance.moc"
