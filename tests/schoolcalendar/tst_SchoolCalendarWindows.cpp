// The school's calendars in the windows: the band below the main window's controls, the window
// of 8 weeks, the group on the "Extras" tab, and the lines of the evening reminder.
#include "extras/ExtrasTab.h"
#include "main2/TForm1.h"
#include "packing/PackingReminder.h"
#include "platform/Prompt.h"
#include "schoolcalendar/SchoolCalendar.h"
#include "schoolcalendar/SchoolCalendarBand.h"
#include "schoolcalendar/SchoolCalendarExtras.h"
#include "schoolcalendar/SchoolCalendarGroup.h"
#include "schoolcalendar/SchoolCalendarService.h"
#include "schoolcalendar/SchoolCalendarWindow.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {
const QString kAddress = QStringLiteral("https://untis.example/ical");
const QByteArray kFeed = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                         "BEGIN:VEVENT\r\nUID:1\r\nDTSTART:20261208T080000\r\nDTEND:20261208T093000\r\nSUMMARY:Klassenarbeit Mathematik\r\n"
                         "LOCATION:R 204\r\nEND:VEVENT\r\n"
                         "BEGIN:VEVENT\r\nUID:2\r\nDTSTART:20261208T113000\r\nSTATUS:CANCELLED\r\nSUMMARY:Sport\r\nEND:VEVENT\r\n"
                         "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:20261211\r\nSUMMARY:Wandertag\r\nEND:VEVENT\r\n"
                         "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;VALUE=DATE:20270125\r\nSUMMARY:Zeugnisse\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

class tst_SchoolCalendarWindows final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bandAndWindow();
    void groupOnTheTab();
    void eveningReminder();
};

void tst_SchoolCalendarWindows::bandAndWindow()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dienstag]\n1=Mathematik\n[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\n").arg(kAddress));
    SchoolCalendar::writeCopy(kAddress, {kFeed, {}, {}, QDateTime(QDate(2026, 12, 7), QTime(6, 0))});
    TForm1 form;
    form.FormCreate();
    form.show();
    QHash<QWidget *, QRect> before;
    for (QWidget *child : form.findChildren<QWidget *>())
        before.insert(child, child->geometry());
    const int height = form.height();
    ExtrasTab tab;
    SchoolCalendarExtras extras(&form);
    extras.install(&tab);
    // Without dates the band stays hidden; with them it shows the next 14 days below every control.
    QVERIFY(!extras.band()->isVisible());
    extras.service()->fetcher()->setStallTimeout(100);
    extras.start();
    QVERIFY(extras.band()->isVisible());
    QCOMPARE(SchoolCalendarBand::bandText(extras.service()->dates().dates, QDate(2026, 12, 7)),
             QStringLiteral("Di 08.12. Klassenarbeit Mathematik · Di 08.12. fällt aus: Sport · Fr 11.12. Wandertag"));
    QCOMPARE(form.height(), height + extras.band()->height() + 6);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(it.key()->geometry(), it.value());
    QVERIFY(extras.band()->geometry().top() >= height - 12);
    // A click opens the 8 weeks by day, with time, place and subscription.
    extras.band()->click();
    QVERIFY(extras.window() && extras.window()->isVisible());
    auto *tree = extras.window()->findChild<QTreeWidget *>(QStringLiteral("SchoolCalendarDateTree"));
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0), QStringLiteral("Dienstag, 08.12.2026"));
    const QTreeWidgetItem *exam = tree->topLevelItem(0)->child(0);
    QCOMPARE((QStringList{exam->text(0), exam->text(1), exam->text(2), exam->text(4)}),
             (QStringList{"08:00–09:30", "Klassenarbeit Mathematik", "R 204", "WebUntis"}));
    QCOMPARE(tree->topLevelItem(2)->text(0), QStringLiteral("Montag, 25.01.2027"));
    // No dates any more: the band goes and the window has its old height.
    SchoolCalendar::removeCopy(kAddress);
    extras.service()->refresh();
    QTRY_VERIFY(!extras.service()->busy());
    QVERIFY(!extras.band()->isVisible());
    QCOMPARE(form.height(), height);
}

void tst_SchoolCalendarWindows::groupOnTheTab()
{
    TestEnvironment env;
    ExtrasTab tab;
    SchoolCalendarService service;
    service.fetcher()->setStallTimeout(100);
    tab.addGroup([&] { return new SchoolCalendarGroup(service); });
    tab.LoadExtrasTab();
    auto *name = tab.findChild<QLineEdit *>(QStringLiteral("SchoolCalendarNameEdit"));
    auto *address = tab.findChild<QLineEdit *>(QStringLiteral("SchoolCalendarAddressEdit"));
    auto *list = tab.findChild<QListWidget *>(QStringLiteral("SchoolCalendarList"));
    auto *add = tab.findChild<QPushButton *>(QStringLiteral("SchoolCalendarAddButton"));
    QVERIFY(name && address && list && add);
    // A plain http address on the net is refused with its reason, and nothing is stored.
    address->setText(QStringLiteral("http://schule.example/plan.ics"));
    add->click();
    QVERIFY(Prompt::takeAsked().value(0).text.contains(QStringLiteral("nur https-Adressen")));
    QVERIFY(SchoolCalendarSettings::load().isEmpty());
    // A webcal address is stored as entered and fetched at once; the failure shows on the tab.
    name->setText(QStringLiteral("IServ"));
    address->setText(QStringLiteral("webcal://127.0.0.1:1/kalender.ics"));
    add->click();
    QCOMPARE(SchoolCalendarSettings::load(), (QList<SchoolCalendarSettings::Subscription>{{"IServ", "webcal://127.0.0.1:1/kalender.ics"}}));
    QTRY_VERIFY(!service.busy());
    QVERIFY(list->item(0)->text().startsWith(QStringLiteral("IServ – webcal://127.0.0.1:1/kalender.ics  (Fehler)")));
    QVERIFY(tab.findChild<QLabel *>(QStringLiteral("SchoolCalendarStatusLabel"))->text().contains(QStringLiteral("127.0.0.1")));
    list->setCurrentRow(0);
    tab.findChild<QPushButton *>(QStringLiteral("SchoolCalendarRemoveButton"))->click();
    QVERIFY(SchoolCalendarSettings::load().isEmpty());
    QCOMPARE(list->count(), 0);
}

void tst_SchoolCalendarWindows::eveningReminder()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dienstag]\n1=Mathematik\n2=Sport\n"));
    const QString plain = PackingReminder::text(QDate(2026, 12, 7));
    QCOMPARE(plain, QStringLiteral("Morgen, Dienstag: Mathematik, Sport"));
    env.writeSettings(QStringLiteral("[Dienstag]\n1=Mathematik\n2=Sport\n[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\n").arg(kAddress));
    SchoolCalendar::writeCopy(kAddress, {kFeed, {}, {}, {}});
    QCOMPARE(PackingReminder::text(QDate(2026, 12, 7)), plain + QStringLiteral("\nSchultermine: 08:00 Klassenarbeit Mathematik\nfällt aus: Sport"));
}

QTEST_MAIN(tst_SchoolCalendarWindows)
#include "tst_SchoolCalendarWindows.moc"
