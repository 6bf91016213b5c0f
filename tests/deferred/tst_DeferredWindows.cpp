// The start in two steps: the main window's first frame, then the other windows from the module.
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "Options/TForm8.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

class tst_DeferredWindows final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void otherWindowsFollowTheFirstFrame_data();
    void otherWindowsFollowTheFirstFrame();
    void missingModuleIsNamedWhenNeeded();
};

void tst_DeferredWindows::otherWindowsFollowTheFirstFrame_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QStringList>("beforeFrame");
    QTest::addColumn<QStringList>("afterFrame");
    QTest::addColumn<bool>("mainShown");
    const QStringList others = {"TForm2", "TForm3", "TForm5", "TForm7", "TForm8", "TForm9"};
    QTest::newRow("nothing due") << QStringLiteral("[Montag]\n1=Mathematik\n") << QStringList{"TForm1"}
                                 << QStringList{"TForm1"} + others + QStringList{"TForm10"} << true;
    // The reminder shows before the main window, as ever, and is not made twice.
    QTest::newRow("event due") << QStringLiteral("[TERMIN]\n7.12.2026=Kino\n") << QStringList{"TForm1", "TForm10"}
                               << QStringList{"TForm1", "TForm10"} + others << true;
    // Hidden in the holidays: nothing to wait for.
    QTest::newRow("holidays") << QStringLiteral("[FERIEN]\nHERBST1=30.11.2026\nHERBST2=07.12.2026\n") << QStringList{"TForm1"}
                              << QStringList{"TForm1"} + others + QStringList{"TForm10"} << false;
}

void tst_DeferredWindows::otherWindowsFollowTheFirstFrame()
{
    QFETCH(QString, settings);
    QFETCH(QStringList, beforeFrame);
    QFETCH(QStringList, afterFrame);
    QFETCH(bool, mainShown);
    TestEnvironment env;
    env.writeSettings(settings);
    Startup startup;
    startup.setTrayAvailable([] { return true; });
    startup.createMainWindow();
    startup.finishStartup();
    startup.createOtherWindowsAfterFirstFrame();
    QCOMPARE(startup.creationOrder(), beforeFrame);
    QVERIFY(!startup.settingsWindow());
    QCOMPARE(startup.mainWindow()->isVisible(), mainShown);
    QTRY_COMPARE(startup.creationOrder(), afterFrame);
    // Wired to the main window as when they were made with it.
    Q_EMIT startup.mainWindow()->settingsRequested();
    QVERIFY(startup.settingsWindow()->isVisible());
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
}

void tst_DeferredWindows::missingModuleIsNamedWhenNeeded()
{
    // The program alone, without its module beside it: the backup command needs it and says so.
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("kalmora"));
    QVERIFY(QFile::copy(qEnvironmentVariable("KALMORA_PROGRAM"), program));
    TestEnvironment env;
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_DIR"), env.path(QString()));
    run.setProcessEnvironment(environment);
    run.start(program, {QStringLiteral("--sichern"), folder.filePath(QStringLiteral("s.zip"))});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 2);
    const QString error = QString::fromLocal8Bit(run.readAllStandardError());
    QVERIFY2(error.contains(QStringLiteral("Der Programmteil")) && error.contains(QStringLiteral("kalmora-deferred.so fehlt")), qPrintable(error));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("s.zip"))));
}

QTEST_MAIN(tst_DeferredWindows)
#include "tst_DeferredWindows.moc"
