// The start-up frame as committed: window creation, the first showing, the data directory.
#include "model/HomeworkStore.h"
#include "main2/ProgramState.h"
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "support/TestEnvironment.h"

#include <QtTest>

class tst_StartupFrame final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithoutSettingsFile();
    void findsDataFromAnotherWorkingDirectory();
};

void tst_StartupFrame::startsWithoutSettingsFile()
{
    TestEnvironment env(QDateTime(QDate(2026, 12, 6), QTime(9, 0))); // a Sunday
    Startup startup;
    startup.createWindows();
    QCOMPARE(startup.creationOrder().first(), QStringLiteral("TForm1"));
    QVERIFY(ProgramState::StartupScanPending);
    startup.finishStartup();
    QVERIFY(!ProgramState::StartupScanPending);
    QVERIFY(startup.mainWindow()->isVisible()); // no holiday stored
    QVERIFY(startup.mainWindow()->windowTitle().startsWith(QStringLiteral("Kalmora V2.0 - 06.12.2026, Sonntag")));
    // Reading alone creates no file.
    QVERIFY(!QFile::exists(env.path(QStringLiteral("DEZUVEDIRED.INI"))));
}

void tst_StartupFrame::findsDataFromAnotherWorkingDirectory()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dates]\n15.12.2026=1\n"));
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    QCOMPARE(HomeworkStore::dueDates(), QStringList{"15.12.2026"});
    HomeworkStore::addHomework(QStringLiteral("16.12.2026"), QStringLiteral("Sport"), QString());
    QDir::setCurrent(before);
    QVERIFY(QDir(elsewhere.path()).isEmpty());
    QVERIFY(env.settingsText().contains(QStringLiteral("16.12.2026=1")));
}

QTEST_MAIN(tst_StartupFrame)
#include "tst_StartupFrame.moc"
