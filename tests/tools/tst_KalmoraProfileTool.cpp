// The command-line tool over the profile-file layer: UTF-8 outside, Windows-1252 inside.
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QtTest>

class tst_KalmoraProfileTool final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void commands();
    void badUsageAndWriteFailure();

private:
    static std::pair<int, QString> run(const QStringList &args);
};

std::pair<int, QString> tst_KalmoraProfileTool::run(const QStringList &args)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("KALMORA_PROFILE_TOOL"), args);
    tool.waitForFinished();
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError())};
}

void tst_KalmoraProfileTool::commands()
{
    TestEnvironment env;
    const QString file = env.path(QStringLiteral("DEZUVEDIRED.INI"));
    QCOMPARE(run({file, "set", "Montag", "1", "Französisch"}).first, 0);
    QCOMPARE(run({file, "set", "Montag", "2", ""}).first, 0);
    QCOMPARE(run({file, "set", "Dates", "08.12.2026", "1"}).first, 0);
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")),
             QByteArray("[Montag]\r\n1=Franz\xF6sisch\r\n2=\r\n[Dates]\r\n08.12.2026=1\r\n"));
    QCOMPARE(run({file, "get", "MONTAG", "1"}), std::make_pair(0, QStringLiteral("Französisch\n")));
    QCOMPARE(run({file, "get", "Montag", "9", "leer"}), std::make_pair(0, QStringLiteral("leer\n")));
    QCOMPARE(run({file, "keys", "Montag"}), std::make_pair(0, QStringLiteral("1\n2\n")));
    QCOMPARE(run({file, "entries", "Montag"}), std::make_pair(0, QStringLiteral("1=Französisch\n")));
    QCOMPARE(run({file, "sections"}), std::make_pair(0, QStringLiteral("Montag\nDates\n")));
    QCOMPARE(run({file, "erase", "montag"}).first, 0);
    QCOMPARE(run({file, "sections"}), std::make_pair(0, QStringLiteral("Dates\n")));
}

void tst_KalmoraProfileTool::badUsageAndWriteFailure()
{
    TestEnvironment env;
    const QString file = env.path(QStringLiteral("a.ini"));
    QCOMPARE(run({}).first, 2);
    QCOMPARE(run({file, "get", "only-section"}).first, 2);
    QCOMPARE(run({file, "frobnicate"}).first, 2);
    env.writeFile(QStringLiteral("plain"), "x");
    const auto [code, output] = run({env.path(QStringLiteral("plain/a.ini")), "set", "A", "b", "c"});
    QCOMPARE(code, 2);
    QVERIFY2(output.contains(QStringLiteral("Unable to write to ") + env.path(QStringLiteral("plain/a.ini"))), qPrintable(output));
}

QTEST_GUILESS_MAIN(tst_KalmoraProfileTool)
#include "tst_KalmoraProfileTool.moc"
