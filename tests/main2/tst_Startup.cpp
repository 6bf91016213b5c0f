// The start-up sequence: windows in their order and wired, the holiday decision, the data found in its place.
#include "TBNArea/TTBNArea.h"
#include "model/HomeworkStore.h"
#include "main2/ProgramState.h"
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"
#include "Options/TForm8.h"
#include "eingabe/TForm2.h"

#include <QApplication>
#include <QAbstractButton>
#include <QScreen>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {
QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name)
            return widget;
    }
    return nullptr;
}

// The last day of the autumn holidays is the test clock's today, 07.12.2026.
const QString kHoliday = QStringLiteral("[FERIEN]\nHERBST1=30.11.2026\nHERBST2=07.12.2026\n");
}

class tst_Startup final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowsInOrderAndWired();
    void holidayStartWithAndWithoutTray();
    void dueEventAndAlarmAtStart();
    void missingSettingsFile();
    void otherWorkingDirectory();
    void windowsOpenOverTheMainWindow();
};

void tst_Startup::windowsInOrderAndWired()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n"));
    Startup startup;
    startup.setTrayAvailable([] { return true; });
    ProgramState::StartupScanPending = false;
    startup.createWindows();
    // The main window's preparation leaves the start-up scan pending; the sequence clears it.
    QVERIFY(ProgramState::StartupScanPending);
    startup.finishStartup();
    QVERIFY(!ProgramState::StartupScanPending);
    QVERIFY(startup.mainWindow()->isVisible());
    QCOMPARE(startup.creationOrder(), QStringList({"TForm1", "TForm2", "TForm3", "TForm5", "TForm7", "TForm8", "TForm9", "TForm10"}));
    for (const QString &name : startup.creationOrder().mid(1))
        QVERIFY2(!topLevel(name)->isVisible(), qPrintable(name));
    QWidget *entry = topLevel(QStringLiteral("TForm2"));
    QVERIFY(entry && !entry->isVisible());

    // A subject chosen in the grid opens the entry dialog for it.
    auto *grid = startup.mainWindow()->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    grid->setCurrentCell(1, 1);
    QVERIFY(entry->isVisible());
    QCOMPARE(entry->windowTitle(), QStringLiteral("Mathematik"));

    // Stored homework shows in the day panels at once, and the further dates get their width.
    for (int day = 8; day <= 18; ++day)
        HomeworkStore::addHomework(QStringLiteral("%1.12.2026").arg(day, 2, 10, QChar(u'0')), QStringLiteral("Mathematik"), QString());
    Q_EMIT static_cast<TForm2 *>(entry)->homeworkStored();
    auto *first = startup.mainWindow()->findChild<QGroupBox *>(QStringLiteral("GroupBox1"));
    QCOMPARE(first->title(), QStringLiteral(" Hausaufgaben für 08.12.2026"));
    QCOMPARE(startup.mainWindow()->findChild<QListWidget *>(QStringLiteral("ListBox5"))->width(), 81);

    // The settings button shows the settings window, "Standardanwendung" there the subject's dialog.
    Q_EMIT startup.mainWindow()->settingsRequested();
    QVERIFY(startup.settingsWindow()->isVisible());
    Q_EMIT startup.settingsWindow()->standardApplicationRequested(QStringLiteral("Mathematik"));
    QWidget *subjectDialog = topLevel(QStringLiteral("TForm7"));
    QVERIFY(subjectDialog->isVisible());
    QVERIFY(subjectDialog->windowTitle().contains(QStringLiteral("Mathematik")));

    // The alarm list button shows the alarm list.
    Q_EMIT startup.mainWindow()->alarmsRequested();
    QVERIFY(topLevel(QStringLiteral("TForm5"))->isVisible());

    // "Anwendung definieren" opens the homework's dialog captioned "subject - date".
    Q_EMIT startup.mainWindow()->defineApplicationRequested(QStringLiteral("Mathematik"), QStringLiteral("08.12.2026"));
    QWidget *homeworkDialog = topLevel(QStringLiteral("TForm3"));
    QVERIFY(homeworkDialog->isVisible());
    QCOMPARE(homeworkDialog->windowTitle(), QStringLiteral("Mathematik - 08.12.2026"));
}

void tst_Startup::holidayStartWithAndWithoutTray()
{
    TestEnvironment env;
    env.writeSettings(kHoliday);
    {
        // With a tray the window stays hidden; each click on the icon toggles it.
        Startup startup;
        startup.setTrayAvailable([] { return true; });
        startup.createWindows();
        startup.finishStartup();
        TForm1 *form = startup.mainWindow();
        QVERIFY(!form->isVisible());
        auto *tray = form->findChild<TTBNArea *>(QStringLiteral("TBNArea1"));
        QVERIFY(tray && tray->trayIcon().isVisible());
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(form->isVisible());
        tray->handleActivation(QSystemTrayIcon::Trigger);
        QVERIFY(!form->isVisible());
        tray->handleActivation(QSystemTrayIcon::Context);
        QVERIFY(form->isVisible());
        // A double click raises no click of its own beyond the first press.
        tray->handleActivation(QSystemTrayIcon::DoubleClick);
        QVERIFY(form->isVisible());
    }
    {
        // Without a tray nothing could show it, so the window is shown in the holidays too.
        Startup startup;
        startup.setTrayAvailable([] { return false; });
        startup.createWindows();
        startup.finishStartup();
        QVERIFY(startup.mainWindow()->isVisible());
    }
    {
        // The day after the holidays the window is shown.
        TestEnvironment nextDay(QDateTime(QDate(2026, 12, 8), QTime(7, 30)));
        nextDay.writeSettings(kHoliday);
        Startup startup;
        startup.setTrayAvailable([] { return true; });
        startup.createWindows();
        startup.finishStartup();
        QVERIFY(startup.mainWindow()->isVisible());
    }
}

void tst_Startup::dueEventAndAlarmAtStart()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[TERMIN]\n7.12.2026=Kino\n[ALARM]\n07.12.2026=Geburtstag Oma\n"));
    Prompt::takeAsked();
    Startup startup;
    startup.createWindows();
    // The alarm is asked about during the main window's preparation, before any scan.
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().title, QStringLiteral("Alarm"));
    QVERIFY(asked.first().text.startsWith(QStringLiteral("Geburtstag Oma")));
    QWidget *reminder = topLevel(QStringLiteral("TForm10"));
    QVERIFY(reminder && !reminder->isVisible());
    // The scan of the finished start shows today's event.
    startup.finishStartup();
    QVERIFY(reminder->isVisible());
    QVERIFY(reminder->findChild<QLabel *>(QStringLiteral("Label1"))->text().contains(QStringLiteral("Kino")));
    reminder->hide();
}

void tst_Startup::missingSettingsFile()
{
    TestEnvironment env;
    Startup startup;
    startup.createWindows();
    startup.finishStartup();
    TForm1 *form = startup.mainWindow();
    // Every read gives its default: empty panels and an empty timetable.
    QCOMPARE(form->findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("Keine weiteren Hausaufgaben"));
    auto *grid = form->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Montag"));
    for (int row = 1; row <= 10; ++row)
        QVERIFY(grid->item(row, 1)->text().isEmpty());
    QVERIFY(!form->windowTitle().isEmpty());
    // A hint tells how to enter the timetable, until one is saved in the settings window.
    QLabel *hint = form->findChild<QLabel *>(QStringLiteral("FirstRunHint"));
    QVERIFY(hint->isVisible());
    QVERIFY(hint->text().contains(QStringLiteral("Editmode")));
    Q_EMIT form->settingsRequested();
    TForm8 *settings = startup.settingsWindow();
    auto *editMode = settings->findChild<QPushButton *>(QStringLiteral("Button5"));
    editMode->click();
    auto *plan = settings->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    plan->item(1, 1)->setText(QStringLiteral("Chemie")); // Monday, lesson 1
    Prompt::queueAnswers({QMessageBox::Yes});
    editMode->click();
    QVERIFY(!hint->isVisible());
    // The main window shows the saved plan of the day it shows (Monday 07.12.2026).
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Chemie"));
    settings->hide();
    // The first write creates the file in the program directory.
    HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("Kunst"), QStringLiteral("Bild"));
    form->RefreshDayPanels();
    QVERIFY(QFile::exists(env.path(QStringLiteral("DEZUVEDIRED.INI"))));
    QCOMPARE(form->findChild<QListWidget *>(QStringLiteral("ListBox1"))->item(0)->text(), QStringLiteral("Kunst"));
}

void tst_Startup::otherWorkingDirectory()
{
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    QFile decoy(elsewhere.filePath(QStringLiteral("DEZUVEDIRED.INI")));
    QVERIFY(decoy.open(QIODevice::WriteOnly));
    decoy.write("[Montag]\r\n1=Falsch\r\n");
    decoy.close();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    {
        // The settings file is the program directory's, whatever the working directory.
        TestEnvironment env;
        env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n"));
        Startup startup;
        startup.createWindows();
        auto *grid = startup.mainWindow()->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
        QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Mathematik"));
    }
    // Without a chosen directory it is the executable's, not the working directory.
    qunsetenv("KALMORA_DIR");
    QCOMPARE(ProgramDirectory(), QCoreApplication::applicationDirPath() + u'/');
    QDir::setCurrent(before);
}

void tst_Startup::windowsOpenOverTheMainWindow()
{
    TestEnvironment env;
    Startup startup;
    startup.setTrayAvailable([] { return true; });
    startup.createWindows();
    startup.finishStartup();
    TForm1 *form = startup.mainWindow();
    const QRect screen = form->screen()->availableGeometry();
    const auto centredOverMain = [&](const QWidget *window) {
        const QPoint offset = window->frameGeometry().center() - form->frameGeometry().center();
        return screen.contains(window->frameGeometry()) && qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1;
    };
    // Two places of the main window where both windows fit centred over it.
    const QPoint middle = screen.center() - form->frameGeometry().center() + form->pos();
    for (const QPoint &at : {middle, middle + QPoint(30, 40)}) {
        form->move(at);
        Q_EMIT form->settingsRequested();
        QVERIFY2(centredOverMain(startup.settingsWindow()), qPrintable(QStringLiteral("settings window at %1,%2 over main window at %3,%4")
                     .arg(startup.settingsWindow()->x()).arg(startup.settingsWindow()->y()).arg(at.x()).arg(at.y())));
        startup.settingsWindow()->hide();
        QTest::mouseClick(form->findChild<QAbstractButton *>(QStringLiteral("SpeedButton15")), Qt::LeftButton);
        QWidget *help = topLevel(QStringLiteral("HelpWindow"));
        QVERIFY(help && help->isVisible());
        QVERIFY(centredOverMain(help));
        help->hide();
    }
    // A window still open stays where it is.
    Q_EMIT form->settingsRequested();
    const QPoint where = startup.settingsWindow()->pos();
    form->move(form->pos() + QPoint(-20, -20));
    Q_EMIT form->settingsRequested();
    QCOMPARE(startup.settingsWindow()->pos(), where);
}

QTEST_MAIN(tst_Startup)
#include "tst_Startup.moc"
