// The password through a real secret service: gnome-keyring's daemon on a private session bus.
#include "support/TestProcess.h"
#include "sync/SyncPassword.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class tst_SyncPassword final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void throughTheSecretService();
};

void tst_SyncPassword::throughTheSecretService()
{
    for (const char *tool : {"dbus-daemon", "gnome-keyring-daemon"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("not installed: ") + QLatin1String(tool)));
    }
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("bus.conf")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("<busconfig><type>session</type><listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                                "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                                "<allow own=\"*\"/></policy></busconfig>\n")
                     .arg(dir.path())
                     .toUtf8());
    config.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    TestServer bus;
    bus.start(QStringLiteral("dbus-daemon"), {"--config-file=" + config.fileName(), "--nofork", "--nopidfile", "--print-address=1"},
              environment, true);
    const QString address = bus.firstLine(10000);
    QVERIFY(!address.isEmpty());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    qunsetenv("KALMORA_CALDAV_PASSWORD");
    // --unlock makes the login keyring with the password read from stdin; it is the default one.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data/keyrings")));
    QFile alias(dir.filePath(QStringLiteral("data/keyrings/default")));
    QVERIFY(alias.open(QIODevice::WriteOnly));
    alias.write("login");
    alias.close();
    TestServer keyring;
    keyring.start(QStringLiteral("gnome-keyring-daemon"), {"--foreground", "--components=secrets", "--unlock"}, environment);
    keyring.process().write("schluessel\n");
    keyring.process().closeWriteChannel();

    const QString server = QStringLiteral("https://cloud.example.de");
    const QString password = QStringLiteral("geheim 1 ü");
    QObject context;
    // Stored in the service (tried until the daemon has taken its name on the bus).
    const auto stored = [&] {
        std::optional<bool> answer;
        SyncPassword::store(server, QStringLiteral("schueler"), password, &context, [&](bool ok) { answer = ok; });
        return QTest::qWaitFor([&] { return answer.has_value(); }, 5000) && *answer;
    };
    QVERIFY(QTest::qWaitFor(stored, 30000));

    // Read back from the service alone; the answer comes by callback, never while the caller waits.
    const auto fetched = [&](const QString &user) {
        SyncPassword::forgetKept();
        std::optional<std::optional<QString>> answer;
        SyncPassword::fetch(server, user, &context, [&](const std::optional<QString> &p) { answer = p; });
        if (answer)
            return std::optional<std::optional<QString>>(); // answered inside the call: it waited
        return QTest::qWaitFor([&] { return answer.has_value(); }, 20000) ? answer : std::nullopt;
    };
    QCOMPARE(fetched(QStringLiteral("schueler")), std::optional<std::optional<QString>>(password));
    // Another account has none.
    QCOMPARE(fetched(QStringLiteral("andere")), std::make_optional(std::optional<QString>()));
}

QTEST_GUILESS_MAIN(tst_SyncPassword)
#include "tst_SyncPassword.moc"
