// Backup and restore in the windows: the menu entries, the restore dialog, the windows reloaded, the group's option.
#include "backup/BackupArchive.h"
#include "backup/BackupExtras.h"
#include "backup/BackupSettings.h"
#include "backup/RestoreDialog.h"
#include "backup/Snapshots.h"
#include "eingabe/TForm2.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "Options/TForm8.h"
#include "platform/ErrorReporter.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

class tst_BackupExtras final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        FileDialog::setUnattended(true);
        qputenv("HOME", m_home.path().toUtf8()); // the default backup file lies in the home folder
    }
    void menuEntriesAndBackupFile();
    void restoreSnapshotReloadsTheWindows();
    void damagedFileChangesNothing();
    void dailyOptionOnTheTab();

private:
    TemporaryConfigHome m_config;
    QTemporaryDir m_home;
};

namespace {
const QString kBefore = QStringLiteral("[Dates]\n10.12.2026=1\n[10.12.2026]\nEnglisch=Vokabeln\n[Montag]\n1=Mathematik\n");
const QString kAfter = QStringLiteral("[Dates]\n08.12.2026=1\n[08.12.2026]\nBiologie=Referat\n[Montag]\n1=Physik\n");
const QByteArray kGradeTree = "Mathematik\r\n\tSchulaufgabe 1\r\n";

QAction *entry(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

template<class T>
T *topLevel()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (T *window = qobject_cast<T *>(widget))
            return window;
    }
    return nullptr;
}

template<class T>
T *child(QWidget *window, const char *name)
{
    T *found = window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        qWarning("no control %s", name);
    return found;
}
}

void tst_BackupExtras::menuEntriesAndBackupFile()
{
    {
        // Without any data file there is nothing to back up: said so, and no file is asked for.
        TestEnvironment empty;
        FileDialog::takeAsked();
        BackupExtras::BackupClick(nullptr);
        QVERIFY(FileDialog::takeAsked().isEmpty());
        const QList<Prompt::Question> told = Prompt::takeAsked();
        QCOMPARE(told.size(), 1);
        QCOMPARE(told.at(0).icon, QMessageBox::Information);
    }
    TestEnvironment env;
    env.writeSettings(kBefore);
    env.writeFile(QStringLiteral("NOTEN.DAT"), kGradeTree);
    Startup startup;
    startup.createWindows();
    QMenu *menu = startup.mainWindow()->extrasMenu();

    // Both entries stand in the menu, with tooltips, and no two entries share an accelerator.
    QAction *backup = entry(menu, QStringLiteral("Daten &sichern ..."));
    QAction *restore = entry(menu, QStringLiteral("Daten &wiederherstellen ..."));
    QVERIFY(backup && restore);
    QVERIFY(!backup->toolTip().isEmpty() && !restore->toolTip().isEmpty());
    QSet<QChar> keys;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        const qsizetype amp = action->text().indexOf(u'&');
        QVERIFY2(amp >= 0, qPrintable(action->text()));
        const QChar key = action->text().at(amp + 1).toLower();
        QVERIFY2(!keys.contains(key), qPrintable(action->text()));
        keys.insert(key);
    }

    // The backup file holds the data files byte for byte, and the confirmation names it and its count.
    Prompt::takeAsked();
    FileDialog::takeAsked();
    FileDialog::setNextFileName(env.path(QStringLiteral("stick/sicherung")));
    QDir().mkpath(env.path(QStringLiteral("stick")));
    backup->trigger();
    const FileDialog::Request asked = FileDialog::takeAsked().value(0);
    QVERIFY(asked.save);
    QCOMPARE(asked.filter, QStringLiteral("Kalmora-Sicherungen (*.zip)"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("zip"));
    QCOMPARE(asked.presetName, BackupArchive::defaultPath());
    const QString written = env.path(QStringLiteral("stick/sicherung.zip"));
    const BackupContent content = BackupArchive::read(written);
    QCOMPARE(content.files.size(), 2);
    QCOMPARE(content.find(QStringLiteral("DEZUVEDIRED.INI"))->bytes, env.readFile(QStringLiteral("DEZUVEDIRED.INI")));
    QCOMPARE(content.find(QStringLiteral("NOTEN.DAT"))->bytes, kGradeTree);
    const QList<Prompt::Question> confirmed = Prompt::takeAsked();
    QCOMPARE(confirmed.size(), 1);
    QCOMPARE(confirmed.at(0).icon, QMessageBox::Information);
    QVERIFY2(confirmed.at(0).text.contains(QDir::toNativeSeparators(written)), qPrintable(confirmed.at(0).text));
    QVERIFY2(confirmed.at(0).text.contains(QStringLiteral("2 Dateien")), qPrintable(confirmed.at(0).text));

    // A file that cannot be written is reported, not confirmed.
    FileDialog::setNextFileName(env.path(QStringLiteral("fehlt/sicherung.zip")));
    backup->trigger();
    const QList<Prompt::Question> failed = Prompt::takeAsked();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.at(0).icon, QMessageBox::Critical);
}

void tst_BackupExtras::restoreSnapshotReloadsTheWindows()
{
    TestEnvironment env;
    env.writeSettings(kBefore);
    Startup startup;
    startup.setTrayAvailable([] { return true; });
    startup.createWindows();
    startup.finishStartup();
    Snapshots::takeDailyIfDue(); // today's snapshot of the first state, if the start did not take it
    const QByteArray first = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));

    // The data changes; the main window shows it with its homework selected, the settings window is open.
    env.writeSettings(kAfter);
    const QByteArray changed = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    TForm1 *form1 = startup.mainWindow();
    Q_EMIT topLevel<TForm2>()->homeworkStored(); // the day panels read the file anew
    auto *panel1 = child<QGroupBox>(form1, "GroupBox1");
    auto *list1 = child<QListWidget>(form1, "ListBox1");
    auto *label2 = child<QLabel>(form1, "Label2");
    auto *save = child<QPushButton>(form1, "Button1");
    QCOMPARE(panel1->title(), QStringLiteral(" Hausaufgaben für 08.12.2026"));
    list1->setCurrentRow(0);
    QCOMPARE(label2->text(), QStringLiteral("Biologie für den 08.12.2026 :"));
    QVERIFY(save->isEnabled());
    TForm8 *form8 = startup.settingsWindow();
    form8->show();
    auto *timetable = child<QTableWidget>(form8, "StringGrid1");
    QCOMPARE(timetable->item(1, 1)->text(), QStringLiteral("Physik"));
    Prompt::takeAsked();

    // The dialog lists today's snapshot first and selected.
    QAction *restore = entry(form1->extrasMenu(), QStringLiteral("Daten &wiederherstellen ..."));
    restore->trigger();
    auto *dialog = form1->findChild<RestoreDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    auto *snapshots = child<QListWidget>(dialog, "SnapshotList");
    QCOMPARE(snapshots->count(), 1);
    QCOMPARE(snapshots->currentRow(), 0);
    QCOMPARE(snapshots->item(0)->text(), QStringLiteral("Montag, 07.12.2026"));

    // A snapshot that holds the very data of now restores nothing and asks nothing.
    env.writeSettings(kBefore);
    Prompt::takeAsked();
    child<QPushButton>(dialog, "RestoreButton")->click();
    const QList<Prompt::Question> nothing = Prompt::takeAsked();
    QCOMPARE(nothing.size(), 1);
    QCOMPARE(nothing.at(0).icon, QMessageBox::Information);
    QCOMPARE(Snapshots::list().size(), 1);
    env.writeSettings(kAfter);

    // "Nein", the default, changes nothing and leaves the dialog open.
    Prompt::queueAnswers({QMessageBox::No});
    child<QPushButton>(dialog, "RestoreButton")->click();
    const QList<Prompt::Question> declined = Prompt::takeAsked();
    QCOMPARE(declined.size(), 1);
    QCOMPARE(declined.at(0).title, ErrorReporter::applicationTitle());
    QCOMPARE(declined.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(declined.at(0).defaultButton, QMessageBox::No);
    QVERIFY2(declined.at(0).text.contains(QStringLiteral("DEZUVEDIRED.INI")), qPrintable(declined.at(0).text));
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), changed);
    QCOMPARE(Snapshots::list().size(), 1);
    QVERIFY(dialog->isVisible());

    // "Ja" brings the bytes back, keeps the replaced state, closes the dialog and reloads the windows.
    Prompt::queueAnswers({QMessageBox::Yes});
    child<QPushButton>(dialog, "RestoreButton")->click();
    // The question, the settings window's reload naming the missing catalogue again, then the confirmation.
    const QList<Prompt::Question> accepted = Prompt::takeAsked();
    QCOMPARE(accepted.size(), 3);
    QCOMPARE(accepted.at(2).icon, QMessageBox::Information);
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), first);
    QCOMPARE(Snapshots::list().size(), 2);
    QVERIFY(Snapshots::list().first().beforeRestore);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(panel1->title(), QStringLiteral(" Hausaufgaben für 10.12.2026"));
    QCOMPARE(list1->item(0)->text(), QStringLiteral("Englisch"));
    QCOMPARE(timetable->item(1, 1)->text(), QStringLiteral("Mathematik"));
    // The homework selected before is gone: "speichern" cannot write it back.
    QCOMPARE(label2->text(), QStringLiteral("Hausaufgabe:"));
    QVERIFY(!save->isEnabled());
}

void tst_BackupExtras::damagedFileChangesNothing()
{
    TestEnvironment env;
    env.writeSettings(kBefore);
    const QByteArray before = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    TForm1 form;
    ExtrasTab tab;
    BackupExtras extras;
    extras.install(form.extrasMenu(), &tab);
    extras.RestoreClick();
    RestoreDialog *dialog = extras.restoreDialog();
    QVERIFY(dialog && dialog->isVisible());

    // Without snapshots the list says so, and there is nothing to restore.
    auto *snapshots = child<QListWidget>(dialog, "SnapshotList");
    QCOMPARE(snapshots->count(), 1);
    QCOMPARE(snapshots->item(0)->text(), QStringLiteral("Noch keine Sicherung vorhanden."));
    QVERIFY(!child<QPushButton>(dialog, "RestoreButton")->isEnabled());

    // A damaged backup file is reported in German; no question, no snapshot, no change, the dialog stays.
    const QString damaged = env.path(QStringLiteral("kaputt.zip"));
    env.writeFile(QStringLiteral("kaputt.zip"), QByteArray("PK\x03\x04", 4) + QByteArray(300, 'x'));
    Prompt::takeAsked();
    FileDialog::takeAsked();
    FileDialog::setNextFileName(damaged);
    child<QPushButton>(dialog, "FromFileButton")->click();
    QCOMPARE(FileDialog::takeAsked().value(0).filter, QStringLiteral("Kalmora-Sicherungen (*.zip)"));
    const QList<Prompt::Question> reported = Prompt::takeAsked();
    QCOMPARE(reported.size(), 1);
    QCOMPARE(reported.at(0).icon, QMessageBox::Critical);
    QVERIFY2(reported.at(0).text.contains(QStringLiteral("kaputt.zip")), qPrintable(reported.at(0).text));
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")), before);
    QVERIFY(Snapshots::list().isEmpty());
    QVERIFY(dialog->isVisible());
}

void tst_BackupExtras::dailyOptionOnTheTab()
{
    TestEnvironment env;
    env.writeSettings(kBefore);
    QToolButton menuButton;
    ExtrasMenu menu(&menuButton);
    TForm8 form;
    BackupExtras extras;
    extras.install(&menu, form.extrasTab());
    form.show();
    Prompt::takeAsked(); // the research tab names its missing catalogue
    auto *check = child<QCheckBox>(&form, "DailySnapshotCheck");
    auto *folder = child<QLabel>(&form, "BackupFolderLabel");
    QVERIFY(check && folder);

    // On unless switched off; the label names the folder and the days kept.
    QVERIFY(check->isChecked());
    const QString shownFolder = u"„" + QDir::toNativeSeparators(QDir::cleanPath(Snapshots::folder())) + u"“";
    QVERIFY2(folder->text().contains(shownFolder), qPrintable(folder->text()));
    QVERIFY(folder->text().contains(QStringLiteral("14 Tage")));

    // A click stores the option at once, and the next showing reads it back.
    child<QTabWidget>(&form, "PageControl1")->setCurrentWidget(form.extrasTab());
    check->click();
    QVERIFY(!BackupSettings::dailySnapshots());
    QVERIFY(env.settingsText().contains(QStringLiteral("[SICHERUNG]\nTaeglich=0\n")));
    form.hide();
    form.show();
    QVERIFY(!check->isChecked());
    check->click();
    QVERIFY(BackupSettings::dailySnapshots());
}

QTEST_MAIN(tst_BackupExtras)
#include "tst_BackupExtras.moc"
