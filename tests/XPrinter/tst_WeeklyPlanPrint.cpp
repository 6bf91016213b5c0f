// The weekly homework sheet: block coordinates, the two print jobs and the PDF files without a printer.
#include "XPrinter/PrintDialog.h"
#include "XPrinter/TXPrint.h"
#include "XPrinter/WeeklyPlan.h"
#include "main2/TForm1.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QPrinterInfo>
#include <QToolButton>
#include <QtTest>

namespace {
// One readable line per call, so that a failing comparison shows where the layout went wrong.
QStringList describe(const QList<PrintCommand> &commands)
{
    QStringList lines;
    for (const PrintCommand &c : commands) {
        switch (c.kind) {
        case PrintCommand::Kind::BeginJob:
            lines << QStringLiteral("begin ") + c.text;
            break;
        case PrintCommand::Kind::EndJob:
            lines << QStringLiteral("end");
            break;
        case PrintCommand::Kind::NewPage:
            lines << QStringLiteral("page");
            break;
        case PrintCommand::Kind::Pen:
            lines << QStringLiteral("pen ") + c.text;
            break;
        case PrintCommand::Kind::FontSize:
            lines << QStringLiteral("font %1").arg(c.size);
            break;
        case PrintCommand::Kind::Text:
            lines << QStringLiteral("text %1 %2 %3").arg(c.from.x()).arg(c.from.y()).arg(c.text);
            break;
        case PrintCommand::Kind::Line:
            lines << QStringLiteral("line %1 %2 %3 %4").arg(c.from.x()).arg(c.from.y()).arg(c.to.x()).arg(c.to.y());
            break;
        }
    }
    return lines;
}

QStringList only(const QStringList &lines, const QString &prefix)
{
    QStringList kept;
    for (const QString &line : lines) {
        if (line.startsWith(prefix))
            kept << line;
    }
    return kept;
}

QString timetable(const QString &day, const QStringList &lessons)
{
    QString text = u'[' + day + QStringLiteral("]\n");
    for (int i = 0; i < lessons.size(); ++i)
        text += QStringLiteral("%1=%2\n").arg(i + 1).arg(lessons[i]);
    return text;
}
}

class tst_WeeklyPlanPrint final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dayBlockCoordinates();
    void emptyLessonsCloseUp();
    void blocksThatDoNotFitStartANewPage();
    void buttonPrintsTwoJobsAsPdfFiles();
    void cancelledDialogPrintsNothing();
    void printableAreaInsideTheMargins();

private:
    QList<PrintCommand> m_recorded;
};

void tst_WeeklyPlanPrint::init()
{
    m_recorded.clear();
    TXPrint::setRecorder(&m_recorded);
}

void tst_WeeklyPlanPrint::cleanup()
{
    TXPrint::setRecorder(nullptr);
}

void tst_WeeklyPlanPrint::dayBlockCoordinates()
{
    TestEnvironment env;
    env.writeSettings(timetable(QStringLiteral("Montag"), {"Deutsch", "Mathematik", "Englisch", "Biologie", "Sport", "Kunst"})
                      + timetable(QStringLiteral("Dienstag"), {"Physik"}));
    const QList<PrintCommand> job = WeeklyPlan::LayoutJob({"Montag", "Dienstag"}, {1800, 2570});
    const QStringList lines = describe(job);

    // Monday from y 200: heading, six rules from 300 in steps of 70, each with its subject 17 below.
    QCOMPARE(lines.mid(0, 15), QStringList({"font 14", "text 100 200 Montag", "font 12",
                                            "line 0 300 1800 300", "text 25 317 Deutsch",
                                            "line 0 370 1800 370", "text 25 387 Mathematik",
                                            "line 0 440 1800 440", "text 25 457 Englisch",
                                            "line 0 510 1800 510", "text 25 527 Biologie",
                                            "line 0 580 1800 580", "text 25 597 Sport",
                                            "line 0 650 1800 650", "text 25 667 Kunst"}));
    // The closing rule at 720 and the column rule from 300 to 720.
    QCOMPARE(lines.mid(15, 2), QStringList({"line 0 720 1800 720", "line 300 300 300 720"}));
    // y advanced to 720, so Tuesday starts 300 below it, at 1020.
    QCOMPARE(lines.mid(17, 3), QStringList({"font 14", "text 100 1020 Dienstag", "font 12"}));
    QCOMPARE(lines.mid(20), QStringList({"line 0 1120 1800 1120", "text 25 1137 Physik", "line 0 1190 1800 1190",
                                         "line 300 1120 300 1190"}));

    // PrintDayBlock itself advances y by 100 + 70 per row.
    int y = 200;
    QList<PrintCommand> block;
    WeeklyPlan::PrintDayBlock(y, QStringLiteral("Montag"), {"A", "B", "C", "D", "E", "F"}, 1800, block);
    QCOMPARE(y, 720);
}

void tst_WeeklyPlanPrint::emptyLessonsCloseUp()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Mittwoch]\n1=Deutsch\n2=Chemie\n3=\n5=Musik\n10=\n"));
    // Lessons 1, 2 and 5 give three rows without a gap.
    QCOMPARE(WeeklyPlan::CollectDayLessons(QStringLiteral("Mittwoch")), QStringList({"Deutsch", "Chemie", "Musik"}));
    const QStringList lines = describe(WeeklyPlan::LayoutJob({"Mittwoch"}, {1800, 2570}));
    QCOMPARE(only(lines, QStringLiteral("text 25")),
             QStringList({"text 25 317 Deutsch", "text 25 387 Chemie", "text 25 457 Musik"}));

    // A day without lessons: its heading and the closing rule only.
    QCOMPARE(describe(WeeklyPlan::LayoutJob({"Freitag"}, {1800, 2570})),
             QStringList({"font 14", "text 100 200 Freitag", "font 12", "line 0 300 1800 300"}));

    // A sheet is for this week, on a weekend for the coming one; week B has lessons of its own.
    QCOMPARE(WeeklyPlan::PlanMonday(QDate(2026, 12, 10)), QDate(2026, 12, 7));
    QCOMPARE(WeeklyPlan::PlanMonday(QDate(2026, 12, 13)), QDate(2026, 12, 14));
    env.writeSettings(QStringLiteral("[Mittwoch]\n1=Deutsch\n[Mittwoch B]\n2=Latein\n"));
    QCOMPARE(WeeklyPlan::CollectDayLessons(QStringLiteral("Mittwoch"), Week::B), QStringList({"Latein"}));
}

void tst_WeeklyPlanPrint::blocksThatDoNotFitStartANewPage()
{
    TestEnvironment env;
    const QStringList full = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    env.writeSettings(timetable(QStringLiteral("Montag"), full) + timetable(QStringLiteral("Dienstag"), full)
                      + timetable(QStringLiteral("Mittwoch"), full));
    // Two ten-lesson blocks fit on a portrait A4 page (they end at 2100 of 2570);
    // the third would end at 3200, so it starts a new page at y 200.
    const QStringList lines = describe(WeeklyPlan::LayoutJob({"Montag", "Dienstag", "Mittwoch"}, {1800, 2570}));
    QCOMPARE(lines.count(QStringLiteral("page")), 1);
    QCOMPARE(only(lines, QStringLiteral("text 100")),
             QStringList({"text 100 200 Montag", "text 100 1300 Dienstag", "text 100 200 Mittwoch"}));
    QCOMPARE(lines.indexOf(QStringLiteral("page")), lines.indexOf(QStringLiteral("text 100 200 Mittwoch")) - 2);
}

void tst_WeeklyPlanPrint::buttonPrintsTwoJobsAsPdfFiles()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here; the PDF files are written only without one");
    TestEnvironment env;
    env.writeSettings(timetable(QStringLiteral("Montag"), {"Deutsch"}) + timetable(QStringLiteral("Freitag"), {"Sport"}));
    TForm1 form;
    form.FormCreate();
    Prompt::takeAsked();
    auto *button = form.findChild<QToolButton *>(QStringLiteral("SpeedButton80"));
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Wochenplan ausdrucken"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(PrintDialog::takeAskedCount(), 1);

    // Two jobs named "Hausaufgabenblatt": Monday to Wednesday, then Thursday and Friday.
    const QStringList lines = describe(m_recorded);
    QCOMPARE(only(lines, QStringLiteral("begin")), QStringList({"begin Hausaufgabenblatt", "begin Hausaufgabenblatt"}));
    QCOMPARE(only(lines, QStringLiteral("text 100")),
             QStringList({"text 100 200 Montag", "text 100 670 Dienstag", "text 100 1070 Mittwoch",
                          "text 100 200 Donnerstag", "text 100 600 Freitag"}));
    const qsizetype secondJob = lines.lastIndexOf(QStringLiteral("begin Hausaufgabenblatt"));
    QCOMPARE(lines.at(secondJob - 1), QStringLiteral("end"));
    QCOMPARE(lines.at(1), QStringLiteral("pen #000000"));
    QCOMPARE(lines.last(), QStringLiteral("end"));

    // Each job is one PDF file in the program directory, named in a message box.
    for (const QString &name : {QStringLiteral("Hausaufgabenblatt-1.pdf"), QStringLiteral("Hausaufgabenblatt-2.pdf")})
        QVERIFY2(env.readFile(name).startsWith("%PDF"), qPrintable(name));
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked[0].text.contains(env.path(QStringLiteral("Hausaufgabenblatt-1.pdf"))));
    QVERIFY(asked[1].text.contains(env.path(QStringLiteral("Hausaufgabenblatt-2.pdf"))));

    // The next press goes on numbering instead of overwriting the sheets.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(QFile::exists(env.path(QStringLiteral("Hausaufgabenblatt-4.pdf"))));
    Prompt::takeAsked();

    // A sheet that cannot be written is reported, and the rest of the press is skipped.
    m_recorded.clear();
    setProgramDirectory(env.path(QStringLiteral("fehlt")));
    QTest::mouseClick(button, Qt::LeftButton);
    const QList<Prompt::Question> failed = Prompt::takeAsked();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed[0].text, QStringLiteral("Unable to write to ") + env.path(QStringLiteral("fehlt/Hausaufgabenblatt-1.pdf")));
    QVERIFY(m_recorded.isEmpty());
}

void tst_WeeklyPlanPrint::cancelledDialogPrintsNothing()
{
    TestEnvironment env;
    TForm1 form;
    form.FormCreate();
    PrintDialog::takeAskedCount();
    PrintDialog::queueAnswers({false});
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("SpeedButton80")), Qt::LeftButton);
    QCOMPARE(PrintDialog::takeAskedCount(), 1);
    QVERIFY(m_recorded.isEmpty());
    QVERIFY(QDir(env.dir()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    QVERIFY(Prompt::takeAsked().isEmpty());
}

void tst_WeeklyPlanPrint::printableAreaInsideTheMargins()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed here; its paper size is not known in advance");
    TestEnvironment env;
    TXPrint print;
    print.setMarginLeft(150);
    print.setMarginTop(200);
    print.setMarginRight(150);
    print.setMarginBottom(200);
    print.setTitle(QStringLiteral("Probe/../Blatt"));
    // A4 portrait in 0.1 mm: 2100 wide, 2970 high, less the margins.
    QCOMPARE(print.BeginDoc(), 1800);
    QCOMPARE(print.PrintableHeight(), 2570);
    print.Abort();
    QVERIFY(print.Aborted());
    // The title is made safe for a file name, and an aborted job leaves no file.
    QCOMPARE(TXPrint::nextPdfPath(print.Title()), env.path(QStringLiteral("Probe____Blatt-1.pdf")));
    QVERIFY(QDir(env.dir()).entryList({QStringLiteral("*.pdf")}).isEmpty());

    print.setOrientation(QPageLayout::Landscape);
    QCOMPARE(print.BeginDoc(), 2970 - 300);
    QCOMPARE(print.PrintableHeight(), 2100 - 400);
    print.EndDoc();
    // Drawing outside a job is a failure, not a silent no-op.
    QVERIFY_THROWS_EXCEPTION(KalmoraError, print.TextOut(0, 0, QStringLiteral("x")));
}

QTEST_MAIN(tst_WeeklyPlanPrint)
#include "tst_WeeklyPlanPrint.moc"
