// A tray click on the main window: a window on screen is hidden, a minimised or hidden one comes back
// in its normal state, raised and with the keyboard focus; checked offscreen and under a real X server.
#include "TBNArea/TTBNArea.h"
#include "main2/TForm1.h"
#include "platform/WindowActivation.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>
#include <QVBoxLayout>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

// Set for the child process that runs on the X display the test started.
constexpr char kChildVariable[] = "KALMORA_TRAY_RESTORE_DISPLAY";



// A small window with a field that takes the keyboard focus.
std::unique_ptr<QWidget> editorWindow()
{
    auto window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    layout->addWidget(new QLineEdit(window.get()));
    window->resize(240, 120);
    return window;
}

}

class tst_TrayRestore final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void ruleOffscreen();
    void mainWindowUnderWindowManager();
};

void tst_TrayRestore::ruleOffscreen()
{
    // Another window holds the focus while ours is away, as on a desktop.
    const auto other = editorWindow();
    other->show();
    QVERIFY(QTest::qWaitForWindowExposed(other.get()));
    {
        // A minimised window comes back normal, active and with a focused field.
        const auto window = editorWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->showMinimized();
        other->activateWindow();
        QTRY_VERIFY(other->isActiveWindow());
        WindowActivation::toggleFromTray(window.get());
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QTRY_VERIFY(window->isActiveWindow());
        QVERIFY(QApplication::focusWidget() && window->isAncestorOf(QApplication::focusWidget()));
        // Shown normally, the next click hides it.
        WindowActivation::toggleFromTray(window.get());
        QVERIFY(!window->isVisible());
        // A hidden window is shown and activated.
        other->activateWindow();
        QTRY_VERIFY(other->isActiveWindow());
        WindowActivation::toggleFromTray(window.get());
        QVERIFY(window->isVisible());
        QTRY_VERIFY(window->isActiveWindow());
    }
    {
        // A window that was minimised and then hidden is not shown minimised again.
        const auto window = editorWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->showMinimized();
        window->hide();
        WindowActivation::toggleFromTray(window.get());
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
    }
    {
        // The main window through its tray icon: both buttons bring the minimised window back.
        TestEnvironment env;
        TForm1 form;
        form.FormCreate();
        auto *tray = form.findChild<TTBNArea *>(QStringLiteral("TBNArea1"));
        QVERIFY(tray);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.showMinimized();
        other->activateWindow();
        QTRY_VERIFY(other->isActiveWindow());
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
        QTRY_VERIFY(form.isActiveWindow());
        form.showMinimized();
        tray->handleActivation(QSystemTrayIcon::Context);
        QVERIFY(form.isVisible());
        QVERIFY(!form.isMinimized());
        // On screen, either button still hides it.
        tray->handleActivation(QSystemTrayIcon::Context);
        QVERIFY(!form.isVisible());
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(form.isVisible());
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(!form.isVisible());
    }
}

void tst_TrayRestore::mainWindowUnderWindowManager()
{
    // An X server of its own with a window manager and a tray; the window itself
    // runs in a child process on that display.
    QStringList missing;
    for (const char *tool : {"Xvfb", "openbox", "trayer", "xdotool", "xprop"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing << QLatin1String(tool);
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    TestServer xserver;
    // -displayfd 1: the server picks a free display and prints its number.
    xserver.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                  environment, true);
    QString display;
    QElapsedTimer waited;
    waited.start();
    while (display.isEmpty() && xserver.running() && waited.elapsed() < 15000) {
        xserver.process().waitForReadyRead(200);
        QStringList lines = QString::fromLocal8Bit(xserver.process().peek(4096)).split(u'\n');
        lines.removeLast(); // not ended yet
        for (const QString &line : std::as_const(lines)) {
            bool number = false;
            line.trimmed().toInt(&number);
            if (number)
                display = u':' + line.trimmed();
        }
    }
    if (display.isEmpty())
        QSKIP("the X server (Xvfb) did not start");

    environment.insert(QStringLiteral("DISPLAY"), display);
    // The tray is found through the X selection, not through a session bus.
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));

    TestServer windowManager;
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, environment);
    bool managed = false;
    waited.restart();
    while (!managed && windowManager.running() && waited.elapsed() < 15000) {
        QTest::qWait(100);
        const QString root = runTool(QStringLiteral("xprop"), {QStringLiteral("-display"), display, QStringLiteral("-root"),
                                                               QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        managed = root.contains(QStringLiteral("window id"));
    }
    if (!managed)
        QSKIP("the window manager (openbox) did not start");

    TestServer trayHost;
    trayHost.start(QStringLiteral("trayer"),
                   {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
                    QStringLiteral("--widthtype"), QStringLiteral("request"), QStringLiteral("--height"),
                    QStringLiteral("24"), QStringLiteral("--SetDockType"), QStringLiteral("true")},
                   environment);
    if (!trayHost.process().waitForStarted(5000))
        QSKIP("the tray host (trayer) did not start");

    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    allowXkbStringCopies(environment);
    environment.insert(QLatin1String(kChildVariable), display);
    TestServer child;
    child.start(QCoreApplication::applicationFilePath(), {}, environment, true);
    const bool finished = child.process().waitForFinished(120000);
    const QString output = QString::fromLocal8Bit(child.process().readAll());
    if (!finished)
        QFAIL(qPrintable(QStringLiteral("the window on the X display did not finish:\n") + output));
    if (child.process().exitStatus() != QProcess::NormalExit || child.process().exitCode() != 0)
        QFAIL(qPrintable(QStringLiteral("the window on the X display failed:\n") + output));
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(QStringLiteral("SKIP")))
            QSKIP(qPrintable(line.section(QStringLiteral("() "), 1).trimmed()));
    }
    QVERIFY2(output.contains(QStringLiteral("PASS   : tst_TrayRestoreOnX11::minimisedWindowComesBack")),
             qPrintable(output));
}

// Runs in the child process, on the display its parent started.
class tst_TrayRestoreOnX11 final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void minimisedWindowComesBack();

private:
    static QString windowProperties(WId window);
    static WId activeWindow();
    static void click(const QRect &where, int button);
    static void pauseBetweenClicks();
};

QString tst_TrayRestoreOnX11::windowProperties(WId window)
{
    return runTool(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QStringLiteral("WM_STATE"),
                                             QStringLiteral("_NET_WM_STATE")});
}

WId tst_TrayRestoreOnX11::activeWindow()
{
    return WId(runTool(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).toULongLong());
}

void tst_TrayRestoreOnX11::click(const QRect &where, int button)
{
    runTool(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(where.center().x()), QString::number(where.center().y()),
             QStringLiteral("click"), QString::number(button)});
}

void tst_TrayRestoreOnX11::pauseBetweenClicks()
{
    // Two presses close together would count as one double click.
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 150);
}

void tst_TrayRestoreOnX11::minimisedWindowComesBack()
{
    QVERIFY(QGuiApplication::platformName() == u"xcb");
    QElapsedTimer waited;
    waited.start();
    while (!QSystemTrayIcon::isSystemTrayAvailable() && waited.elapsed() < 15000)
        QTest::qWait(100);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        QSKIP("the tray host (trayer) offers no tray on the X display");

    TestEnvironment env;
    TForm1 form;
    form.FormCreate();
    auto *tray = form.findChild<TTBNArea *>(QStringLiteral("TBNArea1"));
    QVERIFY(tray);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form, 10000));
    const WId id = form.winId();
    waited.restart();
    while (!tray->trayIcon().geometry().isValid() && waited.elapsed() < 15000)
        QTest::qWait(100);
    const QRect icon = tray->trayIcon().geometry();
    if (!icon.isValid())
        QSKIP("the tray host (trayer) did not take the icon");
    QTRY_VERIFY_WITH_TIMEOUT(windowProperties(id).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), 10000);

    // Each of both buttons on the icon brings the window back from the window manager's minimise.
    for (const int button : {1, 3}) {
        runTool(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), QStringLiteral("--sync"), QString::number(id)});
        QTRY_VERIFY_WITH_TIMEOUT(form.isMinimized(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(windowProperties(id).contains(QStringLiteral("Iconic")), 10000);
        pauseBetweenClicks();
        click(icon, button);
        QTRY_VERIFY2_WITH_TIMEOUT(form.isVisible() && !form.isMinimized() && form.windowHandle()->isExposed(),
                                  qPrintable(windowProperties(id)), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(windowProperties(id).contains(QStringLiteral("window state: Normal")), 10000);
        // It has the keyboard focus, so its accelerators and tooltips work at once.
        QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), id, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), form.windowHandle(), 10000);
        QVERIFY(QApplication::focusWidget() && form.isAncestorOf(QApplication::focusWidget()));
        // And it is still kept off the task bar.
        const QString properties = windowProperties(id);
        QVERIFY2(properties.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), qPrintable(properties));
        QVERIFY2(!properties.contains(QStringLiteral("_NET_WM_STATE_HIDDEN")), qPrintable(properties));
    }

    // On screen, a click hides it; the next one shows it again, focused and off the task bar.
    pauseBetweenClicks();
    click(icon, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!windowProperties(id).contains(QStringLiteral("window state: Normal")), 10000);
    pauseBetweenClicks();
    click(icon, 1);
    QTRY_VERIFY_WITH_TIMEOUT(form.isVisible() && form.windowHandle()->isExposed(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(activeWindow(), id, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::focusWindow(), form.windowHandle(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(windowProperties(id).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")), 10000);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTEST_SET_MAIN_SOURCE_PATH
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        tst_TrayRestoreOnX11 test;
        return QTest::qExec(&test, argc, argv);
    }
    tst_TrayRestore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TrayRestore.moc"
