// The calendar in the windows: exported from the "Extras" menu, its option stored from the "Extras" tab.
#include "calendar/CalendarExtras.h"
#include "calendar/CalendarSync.h"
#include "extras/ExtrasMenu.h"
#include "extras/ExtrasTab.h"
#include "model/SettingsFile.h"
#include "main2/TForm1.h"
#include "Options/TForm8.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

class tst_CalendarExtras final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        FileDialog::setUnattended(true);
        qputenv("HOME", m_home.path().toUtf8()); // the default file lies in the home folder
    }
    void exportFromTheMenu();
    void optionOnTheTab();

private:
    TemporaryConfigHome m_config;
    QTemporaryDir m_home;
};

namespace {
const QString kSettings = QStringLiteral("; Kalmora\n[Dates]\n10.12.2026=1\n[10.12.2026]\nEnglisch=Vokabeln\n\n"
                                         "[Montag]\n1 = Mathematik\n[FERIEN]\nWinterVon=01.02.2027\n");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QAction *entry(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}
}

void tst_CalendarExtras::exportFromTheMenu()
{
    TestEnvironment env;
    env.writeSettings(kSettings);
    TForm1 form;
    ExtrasTab tab;
    CalendarExtras extras;
    extras.install(form.extrasMenu(), &tab);
    form.show();

    // The Extras button opens its menu, which offers the export with an accelerator.
    auto *button = form.findChild<QToolButton *>(QStringLiteral("ExtrasButton"));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    auto *menu = form.findChild<QMenu *>(QStringLiteral("ExtrasMenu"));
    QTRY_VERIFY(menu->isVisible());
    QAction *exportEntry = entry(menu, QStringLiteral("Kalender &exportieren ..."));
    QVERIFY(exportEntry);
    menu->hide();

    // The file chosen in the save dialog is written, and the confirmation names it.
    FileDialog::takeAsked();
    Prompt::takeAsked();
    FileDialog::setNextFileName(env.path(QStringLiteral("plan")));
    exportEntry->trigger();
    const FileDialog::Request asked = FileDialog::takeAsked().value(0);
    QVERIFY(asked.save);
    QCOMPARE(asked.filter, QStringLiteral("iCalendar-Dateien (*.ics)"));
    QCOMPARE(asked.defaultSuffix, QStringLiteral("ics"));
    QCOMPARE(asked.presetName, QDir::home().filePath(QStringLiteral("kalmora.ics")));
    const QByteArray written = readAll(env.path(QStringLiteral("plan.ics")));
    QVERIFY(written.startsWith("BEGIN:VCALENDAR"));
    QVERIFY(written.contains("Vokabeln"));
    const QList<Prompt::Question> confirmed = Prompt::takeAsked();
    QCOMPARE(confirmed.size(), 1);
    QCOMPARE(confirmed.at(0).icon, QMessageBox::Information);
    QVERIFY(confirmed.at(0).text.contains(QDir::toNativeSeparators(env.path(QStringLiteral("plan.ics")))));

    // A file that cannot be written: a German error message, and no file.
    const QString unreachable = env.path(QStringLiteral("fehlt/plan.ics"));
    FileDialog::setNextFileName(unreachable);
    exportEntry->trigger();
    const QList<Prompt::Question> failed = Prompt::takeAsked();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.at(0).icon, QMessageBox::Critical);
    QVERIFY2(failed.at(0).text.startsWith(QStringLiteral("Der Kalender konnte nicht in die Datei")), qPrintable(failed.at(0).text));
    QVERIFY(!QFile::exists(unreachable));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("fehlt"))));

    // A cancelled dialog writes and asks nothing.
    FileDialog::setNextFileName(QString());
    exportEntry->trigger();
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_CalendarExtras::optionOnTheTab()
{
    TestEnvironment env;
    env.writeSettings(kSettings);
    const QByteArray original = env.readFile(QStringLiteral("DEZUVEDIRED.INI"));
    QToolButton menuButton;
    ExtrasMenu menu(&menuButton);
    TForm8 form;
    CalendarExtras extras;
    extras.install(&menu, form.extrasTab());
    form.show();
    Prompt::takeAsked(); // the research tab names its missing catalogue
    auto *check = form.findChild<QCheckBox *>(QStringLiteral("KeepCurrentCheck"));
    auto *file = form.findChild<QLineEdit *>(QStringLiteral("CalendarFileEdit"));
    QVERIFY(check && file);
    QVERIFY(!check->isChecked());
    QVERIFY(!extras.sync()); // nothing is kept current while the option was never on

    // Switching on stores the option with the default file in "KALENDER";
    // every other line of the file stays as it was.
    auto *pages = form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    pages->setCurrentWidget(form.extrasTab());
    check->click();
    const QString defaultPath = QDir::home().filePath(QStringLiteral("kalmora.ics"));
    QCOMPARE(env.readFile(QStringLiteral("DEZUVEDIRED.INI")),
             original + "[KALENDER]\r\nAktuell=1\r\nDatei=" + defaultPath.toUtf8() + "\r\n");
    QVERIFY(extras.sync() && extras.sync()->isOn());

    // Another file through the "..." button; the calendar is written there.
    extras.sync()->setInterval(50);
    FileDialog::setNextFileName(env.path(QStringLiteral("handy")));
    form.findChild<QToolButton *>(QStringLiteral("CalendarFileButton"))->click();
    const QString chosen = env.path(QStringLiteral("handy.ics"));
    QCOMPARE(SettingsFile::read([](const ProfileFile &ini) { return ini.readString(u"KALENDER", u"Datei", QString()); }), chosen);
    QTRY_VERIFY(readAll(chosen).contains("Vokabeln"));

    // A showing of the window reloads the tab from the file.
    form.hide();
    SettingsFile::use([](ProfileFile &ini) { ini.writeBool(u"KALENDER", u"Aktuell", false); });
    form.show();
    QVERIFY(!check->isChecked());
    QCOMPARE(QDir::fromNativeSeparators(file->text()), chosen);
    for (const Prompt::Question &asked : Prompt::takeAsked())
        QVERIFY2(!asked.text.contains(QStringLiteral("Kalender")), qPrintable(asked.text));
}

QTEST_MAIN(tst_CalendarExtras)
#include "tst_CalendarExtras.moc"
