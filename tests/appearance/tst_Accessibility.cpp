// What a screen reader finds: the running planner's tree read through AT-SPI, with no focusable control unnamed.
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

namespace {
const QString kLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
// Debian's own Python, which holds python3-pyatspi, also where another python3 comes first on the path.
const QString kPython = QStringLiteral("/usr/bin/python3");
}

class tst_Accessibility final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyFocusableControlHasAName();
};

void tst_Accessibility::everyFocusableControlHasAName()
{
    if (!QFileInfo(kLauncher).isExecutable() || QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()
        || runTool(kPython, {QStringLiteral("-c"), QStringLiteral("import pyatspi; print('ok')")}) != QLatin1String("ok"))
        QSKIP("at-spi2-core, python3-pyatspi, openbox, xdotool or xprop is not installed");
    TestEnvironment environment;
    // Monday 7 December 2026 with two lessons, so that the entry dialog has a subject to open.
    environment.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n2=Deutsch\n"));
    // The research tab, shown first, would name a missing catalogue in a message box.
    QFile catalogue(QStringLiteral(KALMORA_SOURCE_DIR "/data/inet.txt"));
    QVERIFY(catalogue.open(QIODevice::ReadOnly));
    environment.writeFile(QStringLiteral("inet.txt"), catalogue.readAll());

    QTemporaryDir work;
    PrivateDesktop desktop;
    if (const QString failure = desktop.start(work.path()); !failure.isEmpty())
        QSKIP(qPrintable(failure));
    // A window manager gives the keyboard focus, and the accessibility bus with its registry, as on a desktop.
    TestServer windowManager;
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, desktop.environment);
    // The planner's window is focused only once the window manager has taken over the screen.
    QTRY_VERIFY_WITH_TIMEOUT(runTool(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")},
                                     desktop.environment)
                                 .contains(QLatin1String("window id")),
                             60000);
    TestServer launcher;
    launcher.start(kLauncher, {QStringLiteral("--launch-immediately")}, desktop.environment);
    {
        // The program looks for the accessibility bus once, at its start.
        QDBusConnection bus = QDBusConnection::connectToBus(desktop.busAddress, QStringLiteral("a11y-test-bus"));
        QTRY_VERIFY_WITH_TIMEOUT(bus.interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus")).value(), 30000);
        QDBusConnection::disconnectFromBus(QStringLiteral("a11y-test-bus"));
    }
    QProcessEnvironment planner = desktop.environment;
    planner.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    allowXkbStringCopies(planner);
    planner.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    planner.insert(QStringLiteral("KALMORA_DIR"), environment.dir());
    planner.insert(QStringLiteral("KALMORA_NOW"), QStringLiteral("2026-12-07T09:00:00"));
    TestServer kalmora;
    kalmora.start(qEnvironmentVariable("KALMORA_PROGRAM"), {}, planner);

    QProcess walk;
    walk.setProcessEnvironment(desktop.environment);
    walk.start(kPython, {QStringLiteral(KALMORA_SOURCE_DIR "/tools/atspi-walk.py"), QStringLiteral("Mathematik")});
    // What the walk got to is shown when it does not end.
    const bool ended = walk.waitForFinished(300000);
    if (!ended)
        walk.kill();
    const QByteArray output = walk.readAllStandardOutput();
    const QString steps = QString::fromUtf8(walk.readAllStandardError());
    QVERIFY2(ended && walk.exitCode() == 0, qPrintable(output + steps));
    // Every window was reached (the entry dialog with the keyboard alone), and nothing is unnamed.
    QStringList windows;
    QStringList problems;
    for (const QString &line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1String("WINDOW ")))
            windows.append(line.mid(7).section(u':', 0, 0));
        else
            problems.append(line);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n') + u'\n' + steps));
    QCOMPARE(windows.filter(QStringLiteral("settings")).size(), 6);
    QVERIFY2(windows.contains(QStringLiteral("main")) && windows.contains(QStringLiteral("entry")), qPrintable(windows.join(u' ')));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
