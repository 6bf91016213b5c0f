// Taking the timetable from a WebUntis-shaped feed served on 127.0.0.1 through the real dialog of
// the timetable tab, and the main window striking through the lesson the feed cancels today.
#include "Options/TForm8.h"
#include "extras/ExtrasTab.h"
#include "main2/TForm1.h"
#include "schoolcalendar/SchoolCalendarExtras.h"
#include "schoolcalendar/SchoolCalendarFetcher.h"
#include "schoolcalendar/SchoolCalendarService.h"
#include "support/TemporaryConfigHome.h"
#include "support/TestEnvironment.h"
#include "support/TestProcess.h"
#include "timetableimport/CancelledLessonMarker.h"
#include "timetableimport/TimetableImportDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include <ctime>

namespace {

// The feed's times are read in the pupil's zone; the bell times below are Berlin's.
const bool kBerlin = [] {
    qputenv("TZ", "Europe/Berlin");
    tzset();
    return true;
}();

// A time in UTC, or in Berlin's by a TZID the feed gives no VTIMEZONE for.
QByteArray lesson(const char *uid, const QByteArray &start, const QByteArray &end, const char *summary, bool cancelled = false)
{
    const QByteArray zone = start.endsWith('Z') ? ":" : ";TZID=Europe/Berlin:";
    return "BEGIN:VEVENT\r\nUID:" + QByteArray(uid) + "\r\nDTSTAMP:20261201T120000Z\r\nDTSTART" + zone + start + "\r\nDTEND" + zone + end
           + "\r\nSUMMARY:" + summary + "\r\nLOCATION:R 204\r\n" + (cancelled ? "STATUS:CANCELLED\r\n" : "") + "END:VEVENT\r\n";
}

// Two weeks as WebUntis gives them, one event a lesson: week A in UTC with a double period of M and a
// cancelled Englisch today, week B with a TZID; Tuesday's second lesson is Physik in A, Chemie in B.
QByteArray feed()
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Untis//DE\r\n"
           + lesson("a1", "20261207T064500Z", "20261207T081500Z", "M") + lesson("a2", "20261207T083500Z", "20261207T092000Z", "Englisch", true)
           + lesson("a3", "20261207T093000Z", "20261207T101500Z", "Deutsch") + lesson("a4", "20261208T073500Z", "20261208T082000Z", "Physik")
           + lesson("b1", "20261214T074500", "20261214T091500", "M") + lesson("b2", "20261214T093500", "20261214T102000", "Englisch")
           + lesson("b3", "20261214T103000", "20261214T111500", "Deutsch") + lesson("b4", "20261215T083500", "20261215T092000", "Chemie")
           + "END:VCALENDAR\r\n";
}

QStringList column(QTableWidget *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts.append(table->item(row, column)->text());
    return texts;
}

}

class tst_TimetableImportWindows final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void importThroughTheDialog();
    void cancelledLessonStruckThrough();

private:
    /// Subscribes to the served feed and fetches it into the kept copy.
    void subscribe(const TestEnvironment &env, const QString &timetable);

    TemporaryConfigHome m_config;
    QTemporaryDir m_dir;
    TestServer m_server;
    QString m_address;
};

void tst_TimetableImportWindows::initTestCase()
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is needed");
    QFile file(m_dir.filePath(QStringLiteral("untis.ics")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(feed()) > 0);
    file.close();
    // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
    m_server.start(python, {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", m_dir.path()},
                   QProcessEnvironment::systemEnvironment(), true);
    const QString port = m_server.firstLine(10000).section(u' ', 5, 5);
    QVERIFY(port.toInt() > 0);
    m_address = QStringLiteral("http://127.0.0.1:%1/untis.ics").arg(port);
}

void tst_TimetableImportWindows::subscribe(const TestEnvironment &env, const QString &timetable)
{
    env.writeSettings(timetable + QStringLiteral("[SCHULKALENDER]\nName1=WebUntis\nAdresse1=%1\n").arg(m_address));
    SchoolCalendarFetcher fetcher;
    QSignalSpy finished(&fetcher, &SchoolCalendarFetcher::finished);
    fetcher.refresh(SchoolCalendarSettings::load());
    QVERIFY(finished.wait(20000));
    QVERIFY(fetcher.statuses().value(0).ok);
}

void tst_TimetableImportWindows::importThroughTheDialog()
{
    TestEnvironment env;
    // Without a subscription the dialog says how to add one, and nothing can be taken.
    env.writeSettings(QStringLiteral("[Montag]\n1=Alt\n"));
    TForm8 form;
    form.show();
    form.findChild<QTabWidget *>()->setCurrentIndex(0);
    const auto openDialog = [&form] {
        form.findChild<QPushButton *>(QStringLiteral("TimetableImportButton"))->click();
        return form.findChild<TimetableImportDialog *>();
    };
    TimetableImportDialog *dialog = openDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(dialog->findChild<QLabel *>(QStringLiteral("NoSubscriptionLabel"))->isVisible());
    QVERIFY(!dialog->findChild<QPushButton *>(QStringLiteral("ApplyButton"))->isEnabled());
    dialog->findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();

    subscribe(env, QStringLiteral("[Montag]\n1=Alt\n"));

    // The subscription is chosen; the bell times are the distinct starts; the short form M gets its name; the old timetable is beside the new one.
    QTRY_VERIFY(!form.findChild<TimetableImportDialog *>());
    dialog = openDialog();
    QCOMPARE(dialog->findChild<QComboBox *>(QStringLiteral("SubscriptionCombo"))->currentText(), QStringLiteral("WebUntis"));
    auto *bells = dialog->findChild<QTableWidget *>(QStringLiteral("BellTimeTable"));
    QCOMPARE(column(bells, 0).mid(0, 5), (QStringList{"07:45", "08:35", "09:35", "10:30", ""}));
    auto *names = dialog->findChild<QTableWidget *>(QStringLiteral("SubjectNameTable"));
    const int m = int(column(names, 0).indexOf(QStringLiteral("M")));
    QVERIFY(m >= 0);
    names->item(m, 1)->setText(QStringLiteral("Mathematik"));
    auto *shown = dialog->findChild<QTableWidget *>(QStringLiteral("NewTimetable"));
    QCOMPARE(column(shown, 0).mid(0, 4), (QStringList{"Mathematik", "Mathematik", "Englisch", "Deutsch"}));
    QCOMPARE(dialog->findChild<QTableWidget *>(QStringLiteral("CurrentTimetable"))->item(0, 0)->text(), QStringLiteral("Alt"));
    dialog->findChild<QComboBox *>(QStringLiteral("WeekCombo"))->setCurrentIndex(1);
    QCOMPARE(shown->item(1, 1)->text(), QStringLiteral("Chemie"));
    QVERIFY(dialog->findChild<QLabel *>(QStringLiteral("WeeksLabel"))->text().contains(QStringLiteral("A/B-Wochen")));

    // "Übernehmen" writes both weeks, A/B weeks with this week as A, and what it learned.
    QSignalSpy saved(&form, &TForm8::timetableSaved);
    dialog->findChild<QPushButton *>(QStringLiteral("ApplyButton"))->click();
    QCOMPARE(saved.size(), 1);
    const QString text = env.settingsText();
    for (const char *expected : {"[Montag]\n1=Mathematik\n2=Mathematik\n3=Englisch\n4=Deutsch\n5=\n", "[Dienstag]\n1=\n2=Physik\n",
                                 "[Dienstag B]\n1=\n2=Chemie\n", "[Montag B]\n1=Mathematik\n",
                                 "[WOCHEN]\nAB=1\nBezug=7.12.2026\nZaehlung=Kalender\n",
                                 "[STUNDENPLANIMPORT]\nBeginn1=07:45\nBeginn2=08:35\nBeginn3=09:35\nBeginn4=10:30\nKuerzel1=M\nFach1=Mathematik\n"})
        QVERIFY2(text.contains(QLatin1String(expected)), qPrintable(text));
    // The tab shows the new timetable.
    QCOMPARE(form.findChild<QTableWidget *>(QStringLiteral("StringGrid1"))->item(2, 2)->text(), QStringLiteral("Physik"));
}

void tst_TimetableImportWindows::cancelledLessonStruckThrough()
{
    TestEnvironment env; // Monday, 7 December 2026
    subscribe(env, QStringLiteral("[Montag]\n1=Mathematik\n2=Mathematik\n3=Englisch\n4=Deutsch\n"
                                  "[STUNDENPLANIMPORT]\nBeginn1=07:45\nBeginn2=08:35\nBeginn3=09:35\nBeginn4=10:30\n"
                                  "Kuerzel1=M\nFach1=Mathematik\n"));
    TForm1 form;
    form.FormCreate();
    form.show();
    ExtrasTab tab;
    SchoolCalendarExtras extras(&form);
    extras.install(&tab);
    CancelledLessonMarker marker(&form, extras.service());
    extras.start();
    auto *grid = form.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    QTRY_VERIFY_WITH_TIMEOUT(grid->item(3, 1)->font().strikeOut(), 20000);
    QCOMPARE(grid->item(3, 1)->toolTip(), QStringLiteral("fällt aus"));
    QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("Englisch"));
    for (const int row : {1, 2, 4, 5})
        QVERIFY(!grid->item(row, 1)->font().strikeOut() && grid->item(row, 1)->toolTip().isEmpty());
    // The next day has no cancelled lesson; back on Monday the mark is there again.
    form.findChild<QToolButton *>(QStringLiteral("Image2"))->click();
    QVERIFY(!grid->item(3, 1)->font().strikeOut());
    form.findChild<QToolButton *>(QStringLiteral("Image1"))->click();
    QVERIFY(grid->item(3, 1)->font().strikeOut());
    QTRY_VERIFY(!extras.service()->busy());
}

QTEST_MAIN(tst_TimetableImportWindows)
#include "tst_TimetableImportWindows.moc"
