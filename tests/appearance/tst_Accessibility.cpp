// What a screen reader finds: the running planner's tree read through AT-SPI, with no focusable control unnamed.
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtTest>

namespace {

const char kBusConfig[] =
    "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
    " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
    "<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>\n"
    "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
    "<allow own=\"*\"/></policy></busconfig>\n";

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
    const QString program = qEnvironmentVariable("KALMORA_PROGRAM");
    const QString walker = QStringLiteral(KALMORA_SOURCE_TESTS "/appearance/atspi_walk.py");
    QStringList missing;
    for (const char *tool : {"dbus-daemon", "Xvfb", "openbox", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    }
    if (!QFileInfo(kLauncher).isExecutable())
        missing.append(kLauncher);
    if (runTool(kPython, {QStringLiteral("-c"), QStringLiteral("import pyatspi; print('ok')")}) != QLatin1String("ok"))
        missing.append(QStringLiteral("python3-pyatspi"));
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("not installed: ") + missing.join(QStringLiteral(", "))));
    QVERIFY2(QFileInfo(program).isExecutable(), "KALMORA_PROGRAM names no program");

    // Monday 7 December 2026 with two lessons, so that the entry dialog has a subject to open.
    TestEnvironment environment;
    environment.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n2=Deutsch\n"));
    // The research tab, shown first, would name a missing catalogue in a message box.
    QFile catalogue(QStringLiteral(KALMORA_SOURCE_TESTS "/../data/inet.txt"));
    QVERIFY(catalogue.open(QIODevice::ReadOnly));
    environment.writeFile(QStringLiteral("inet.txt"), catalogue.readAll());
    QTemporaryDir work;
    QVERIFY(work.isValid());
    QDir(work.path()).mkpath(QStringLiteral("run"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("HOME"), work.path());
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));

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
    TestServer xserver;
    xserver.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                  env, true);
    const QString number = xserver.firstLine(15000);
    if (number.isEmpty())
        QSKIP("the X server (Xvfb) did not start");
    env.insert(QStringLiteral("DISPLAY"), u':' + number);

    // A window manager gives the keyboard focus, as on a desktop.
    TestServer windowManager;
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")}, env);
    // The accessibility bus and its registry, as a desktop session starts them.
    TestServer launcher;
    launcher.start(kLauncher, {QStringLiteral("--launch-immediately")}, env);
    QTest::qWait(1000);

    QProcessEnvironment planner = env;
    planner.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    planner.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    planner.insert(QStringLiteral("KALMORA_DIR"), environment.dir());
    planner.insert(QStringLiteral("KALMORA_NOW"), QStringLiteral("2026-12-07T09:00:00"));
    TestServer kalmora;
    kalmora.start(program, {}, planner);

    QProcess walk;
    walk.setProcessEnvironment(env);
    walk.start(kPython, {walker, QStringLiteral("Mathematik")});
    QVERIFY(walk.waitForFinished(120000));
    const QString output = QString::fromUtf8(walk.readAllStandardOutput());
    const QString errors = QString::fromUtf8(walk.readAllStandardError());
    QVERIFY2(walk.exitCode() == 0, qPrintable(errors));

    // Every window was reached: the main window, the entry dialog and the six tabs of the settings window.
    const QStringList lines = output.split(u'\n', Qt::SkipEmptyParts);
    QStringList windows;
    QStringList problems;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("WINDOW ")))
            windows.append(line.section(u':', 0, 0).mid(7));
        else
            problems.append(line);
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    QVERIFY2(windows.contains(QStringLiteral("main")) && windows.contains(QStringLiteral("entry")), qPrintable(output));
    QCOMPARE(windows.filter(QStringLiteral("settings")).size(), 6);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
