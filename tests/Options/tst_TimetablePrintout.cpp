// The timetable printout: fitted cells, the ten lines, and the job the print button sends.
#include "Options/TForm8.h"
#include "Options/TimetablePrinter.h"
#include "Options/TimetablePrintout.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QPrinterInfo>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

class tst_TimetablePrintout final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }
    void cleanup() { TimetablePrinter::setSink({}); }
    void fitCell();
    void lines();
    void printButtonSendsTheGridAsShown();
    void pdfWhereNoPrinterIsInstalled();

private:
    QTemporaryDir m_config; // keeps the autostart folder out of the real home
};

namespace {
const QString kBorder = QStringLiteral(
    "         +----+--------------+--------------+--------------+--------------+--------------+");

TimetableGrid loadedGrid()
{
    TimetableGrid grid;
    TimetableStore::LoadTimetable(grid);
    return grid;
}
}

void tst_TimetablePrintout::fitCell()
{
    // Too long: all but the last place from the front, then the last character.
    QCOMPARE(TimetablePrintout::FitCell(QStringLiteral("Zeit"), 2), QStringLiteral("Zt"));
    QCOMPARE(TimetablePrintout::FitCell(QStringLiteral("Bildende Kunst"), 12), QStringLiteral("Bildende Kut"));
    // Short texts are padded, exact ones kept; no room gives nothing.
    QCOMPARE(TimetablePrintout::FitCell(QStringLiteral("Französisch"), 12), QStringLiteral("Französisch "));
    QCOMPARE(TimetablePrintout::FitCell(QStringLiteral("Kt. Religion"), 12), QStringLiteral("Kt. Religion"));
    QCOMPARE(TimetablePrintout::FitCell(QStringLiteral("Sport"), 0), QString());
}

void tst_TimetablePrintout::lines()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    // An empty timetable: frame, header with Zt and the day names, lesson numbers only.
    QStringList expected = {kBorder,
        QStringLiteral("         | Zt | Montag       | Dienstag     | Mittwoch     | Donnerstag   | Freitag      |"), kBorder};
    for (int lesson = 1; lesson <= 6; ++lesson)
        expected.append(QStringLiteral("         | %1 |              |              |              |              |              |")
                            .arg(QString::number(lesson).leftJustified(2)));
    expected.append(kBorder);
    QCOMPARE(TimetablePrintout::Lines(loadedGrid()), expected);

    // A 13-character subject loses its twelfth character; lessons 7 to 10 are never printed.
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n6=Bildende Kunst\n7=Sport\n[Donnerstag]\n1=Informatik AG\n"
                                     "10=Chemie\n[Freitag]\n2=Französisch\n8=Musik\n"));
    const QStringList lines = TimetablePrintout::Lines(loadedGrid());
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[3], QStringLiteral(
        "         | 1  | Mathematik   |              |              | Informatik G |              |"));
    QCOMPARE(lines[4], QStringLiteral(
        "         | 2  |              |              |              |              | Französisch  |"));
    QCOMPARE(lines[8], QStringLiteral(
        "         | 6  | Bildende Kut |              |              |              |              |"));
    QCOMPARE(lines[9], kBorder);
    for (const char *word : {"Sport", "Chemie", "Musik"})
        QVERIFY(!lines.join(u'\n').contains(QString::fromLatin1(word)));
}

void tst_TimetablePrintout::printButtonSendsTheGridAsShown()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    env.writeSettings(QStringLiteral("[Dienstag]\n3=Latein\n"));
    QList<TimetablePrinter::Job> jobs;
    TimetablePrinter::setSink([&](const TimetablePrinter::Job &job) { jobs.append(job); });
    TForm8 form;
    form.show();
    form.findChild<QTabWidget *>()->setCurrentIndex(0);
    auto *grid = form.findChild<QTableWidget *>(QStringLiteral("StringGrid1"));

    // An edit still being typed is printed, before edit mode is left; nothing is saved or asked.
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Button5")), Qt::LeftButton);
    grid->setCurrentCell(3, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(grid->indexWidget(grid->currentIndex()), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(grid->indexWidget(grid->currentIndex()), QStringLiteral("Geschichte"));
    form.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(jobs[0].title, QStringLiteral("Hausaufgabenblatt"));
    QCOMPARE(jobs[0].font.family(), QStringLiteral("Courier New"));
    QCOMPARE(jobs[0].font.pointSize(), 10);
    QCOMPARE(jobs[0].lines[5], QStringLiteral(
        "         | 3  |              | Geschichte   |              |              |              |"));
    QCOMPARE(env.settingsText(), QStringLiteral("[Dienstag]\n3=Latein\n"));
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_TimetablePrintout::pdfWhereNoPrinterIsInstalled()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("inet.txt"), QByteArray()); // an empty catalogue: showing the window reports nothing
    // Each job takes the next free number; a long job runs onto further pages.
    TimetablePrinter::Job job{TimetablePrinter::JobTitle(), TimetablePrinter::PrintFont(),
                              TimetablePrintout::Lines(loadedGrid())};
    QCOMPARE(TimetablePrinter::printToPdf(job), env.path(QStringLiteral("Hausaufgabenblatt-1.pdf")));
    QVERIFY(env.readFile(QStringLiteral("Hausaufgabenblatt-1.pdf")).startsWith("%PDF"));
    QCOMPARE(env.readFile(QStringLiteral("Hausaufgabenblatt-1.pdf")).count("/Type /Page\n"), 1);
    for (int i = 0; i < 200; ++i)
        job.lines.append(QStringLiteral("Zeile %1").arg(i));
    QCOMPARE(TimetablePrinter::printToPdf(job), env.path(QStringLiteral("Hausaufgabenblatt-2.pdf")));
    QVERIFY(env.readFile(QStringLiteral("Hausaufgabenblatt-2.pdf")).count("/Type /Page\n") > 1);

    // A file that cannot be written fails with the write error, never silently.
    env.writeFile(QStringLiteral("kein-ordner"), "x");
    setProgramDirectory(env.path(QStringLiteral("kein-ordner")));
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    QVERIFY_THROWS_EXCEPTION(EWriteError, TimetablePrinter::printToPdf(job));
    setProgramDirectory(env.dir());

    // Without a printer the print button writes the file and names it.
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed on this machine");
    TForm8 form;
    form.show();
    form.findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].text.contains(env.path(QStringLiteral("Hausaufgabenblatt-3.pdf"))));
    QVERIFY(env.readFile(QStringLiteral("Hausaufgabenblatt-3.pdf")).startsWith("%PDF"));
}

QTEST_MAIN(tst_TimetablePrintout)
#include "tst_TimetablePrintout.moc"
