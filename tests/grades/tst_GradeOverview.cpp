// The grade overview without windows: the subjects' lines, the order and bands of the chart, reading bad files, the printout's page, and the command-line tool.
#include "GradeOverviewTrees.h"
#include "model/GradeStore.h"
#include "grades/GradeOverview.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "support/TestEnvironment.h"

#include <QProcess>
#include <QtTest>

using namespace GradeOverviewTrees;

class tst_GradeOverview final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesOfTheSubjects();
    void orderAndBands();
    void badFilesGiveTheStoresMessages();
    void pageHoldsTableAndChart();
    void commandLineTool();
};

namespace {

QStringList subjectsOf(const QList<GradeOverview::Row> &rows)
{
    QStringList names;
    for (const GradeOverview::Row &row : rows)
        names.append(row.subject);
    return names;
}

// The message that the grade store's own reading throws, which the grades tab shows.
QString storeMessage()
{
    GradeTree tree;
    try {
        GradeStore::LoadGrades(tree);
    } catch (const KalmoraError &error) {
        return error.message();
    }
    return QString();
}

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &args)
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KALMORA_DIR"));
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("KALMORA_GRADES_TOOL"), args);
    if (!tool.waitForFinished(30000))
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()), QString::fromUtf8(tool.readAllStandardError())};
}

}

void tst_GradeOverview::linesOfTheSubjects()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    const GradeOverview::Loaded loaded = GradeOverview::load();
    QVERIFY(!loaded.failure);
    QCOMPARE(loaded.rows.size(), 12);

    // Each line in the tree's order: average in points with two decimals and as the grade, weight 1, the grades counted.
    QCOMPARE(GradeOverview::cells(loaded.rows[2]), (QStringList{"Deutsch", "10,83", "2", "1", "4"}));
    QCOMPARE(GradeOverview::cells(loaded.rows[1]), (QStringList{"Chemie", "11,00", "2", "1", "2"}));
    QCOMPARE(GradeOverview::cells(loaded.rows[3]).mid(1, 2), (QStringList{"7,50", "3"}));
    QCOMPARE(GradeOverview::cells(loaded.rows[4]).mid(1, 2), (QStringList{"10,50", "2-"}));
    QCOMPARE(GradeOverview::cells(loaded.rows[7]).mid(1, 2), (QStringList{"0,00", "6"}));

    // The overall average is the plain mean of the subjects, since each has weight 1.
    double sum = 0;
    for (const GradeOverview::Row &row : loaded.rows)
        sum += row.average;
    QCOMPARE(GradeOverview::overallAverage(loaded.rows), sum / 12);

    // The small tree: Deutsch 5,5 and Englisch 0 give 2,75; all its 1 grade is counted.
    GradeStore::SaveGrades(build(exampleTree()));
    const QList<GradeOverview::Row> example = GradeOverview::load().rows;
    QCOMPARE(GradeOverview::overallCells(example), (QStringList{"Durchschnitt aller Fächer", "2,75", "5+", "", "1"}));

    // No subjects: no average to show, rather than a 6.
    QCOMPARE(GradeOverview::overallCells({}).mid(1, 2), (QStringList{"–", "–"}));
}

void tst_GradeOverview::orderAndBands()
{
    const QList<GradeOverview::Row> rows = GradeOverview::rows(build(twelveSubjects()));
    // Best first; Erdkunde and Kunst average the same and keep the tree's order.
    QCOMPARE(subjectsOf(GradeOverview::bestFirst(rows)),
             (QStringList{"Musik", "Biologie", "Chemie", "Deutsch", "Erdkunde", "Kunst", "Geschichte", "Englisch",
                          "Mathematik", "Französisch", "Physik", "Informatik"}));

    // The band is that of the grade shown: 9,5 rounds to 10 ("2-"), 3,5 to 4 ("4-").
    using Band = GradeOverview::Band;
    QCOMPARE(GradeOverview::band(15.0), Band::Good);
    QCOMPARE(GradeOverview::band(9.5), Band::Good);
    QCOMPARE(GradeOverview::band(9.49), Band::Middle);
    QCOMPARE(GradeOverview::band(3.5), Band::Middle);
    QCOMPARE(GradeOverview::band(3.49), Band::Poor);
    QCOMPARE(GradeOverview::band(0.0), Band::Poor);
}

void tst_GradeOverview::badFilesGiveTheStoresMessages()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    const QByteArray records = env.readFile(QStringLiteral("NOTEN.NOT"));

    // A short "NOTEN.NOT": the store's message, every subject read, those without records averaging less.
    env.writeFile(QStringLiteral("NOTEN.NOT"), records.left(10));
    GradeOverview::Loaded loaded = GradeOverview::load();
    QVERIFY(loaded.failure);
    QCOMPARE(loaded.failureText, storeMessage());
    QVERIFY(loaded.failureText.contains(QStringLiteral("zu kurz")));
    QCOMPARE(loaded.rows.size(), 12);
    QCOMPARE(loaded.rows[0].average, GradeArithmetic::subjectAverage(loaded.tree.root(0)));
    QCOMPARE(loaded.rows[11].average, 0.0);

    // A missing "NOTEN.NOT": the tree's shape without any average.
    QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
    loaded = GradeOverview::load();
    QCOMPARE(loaded.failureText, storeMessage());
    QVERIFY(loaded.failureText.contains(QStringLiteral("fehlt")));
    QCOMPARE(loaded.rows.size(), 12);

    // A level jump in the fourth subject: the three before it are shown.
    env.writeFile(QStringLiteral("NOTEN.NOT"), records);
    QByteArray lines = env.readFile(QStringLiteral("NOTEN.DAT"));
    lines.replace("Englisch\r\n\tKurs", "Englisch\r\n\t\t\tKurs");
    env.writeFile(QStringLiteral("NOTEN.DAT"), lines);
    loaded = GradeOverview::load();
    QCOMPARE(loaded.failureText, storeMessage());
    QVERIFY(loaded.failureText.contains(QStringLiteral("Ebene 3")));
    QCOMPARE(subjectsOf(loaded.rows), (QStringList{"Biologie", "Chemie", "Deutsch", "Englisch"}));

    // No "NOTEN.DAT": the subjects of the timetable, as the tab builds them, and no failure.
    QFile::remove(env.path(QStringLiteral("NOTEN.DAT")));
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n2=Deutsch\n[Dienstag]\n1=mathe\n"));
    loaded = GradeOverview::load();
    QVERIFY(!loaded.failure);
    QVERIFY(loaded.fromTimetable);
    QCOMPARE(subjectsOf(loaded.rows), (QStringList{"Deutsch", "Mathe"}));
}

void tst_GradeOverview::pageHoldsTableAndChart()
{
    // A4 inside margins of 15 and 20 mm, in 0.1 mm.
    const QSize area(1800, 2570);
    for (int subjects : {2, 12, 40}) {
        QList<GradeOverview::Row> rows;
        for (int i = 0; i < subjects; ++i)
            rows.append({QStringLiteral("Fach %1").arg(i), 10.0, 1, 3});
        const GradeOverview::Page page = GradeOverview::printLayout(rows, area, QStringLiteral("Stand: 07.12.2026"));
        // One page: no new page, every text above the chart, the chart high enough to read and inside the page.
        int lowest = 0;
        int texts = 0;
        for (const PrintCommand &command : page.commands) {
            QVERIFY(command.kind != PrintCommand::Kind::NewPage);
            if (command.kind == PrintCommand::Kind::Text) {
                lowest = std::max(lowest, command.from.y());
                ++texts;
            }
        }
        QCOMPARE(texts, 2 + 5 * (subjects + 2) + 1);
        QVERIFY2(lowest < page.chartArea.top(), qPrintable(QString::number(subjects)));
        QVERIFY(page.chartArea.height() >= 900);
        QVERIFY(page.chartArea.bottom() < area.height());
        QCOMPARE(page.chartArea.width(), area.width());
    }
}

void tst_GradeOverview::commandLineTool()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));

    // The table: header, one line a subject, the overall average last; columns aligned.
    ToolRun run = runTool({env.dir()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 14);
    QCOMPARE(run.out, GradeOverview::plainText(GradeOverview::rows(build(twelveSubjects()))));
    QVERIFY(lines.last().startsWith(QStringLiteral("Durchschnitt aller Fächer")));
    const qsizetype pointsEnd = lines[0].indexOf(QStringLiteral("Punkte")) + 6;
    const qsizetype gradeAt = lines[0].indexOf(QStringLiteral("Note"));
    QVERIFY(lines[3].startsWith(QStringLiteral("Deutsch ")));
    QCOMPARE(lines[3].mid(pointsEnd - 6, 6), QStringLiteral(" 10,83"));
    QCOMPARE(lines[3].mid(gradeAt, 2), QStringLiteral("2 "));
    QCOMPARE(lines[2].mid(pointsEnd - 6, 6), QStringLiteral(" 11,00"));

    // From KALMORA_DIR without an argument; no "NOTEN.DAT" gives the timetable's subjects.
    QFile::remove(env.path(QStringLiteral("NOTEN.DAT")));
    QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n2=Deutsch\n"));
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_DIR"), env.dir());
    tool.setProcessEnvironment(environment);
    tool.start(qEnvironmentVariable("KALMORA_GRADES_TOOL"), {});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    const QStringList built = QString::fromUtf8(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(built.size(), 4);
    QVERIFY(built[1].startsWith(QStringLiteral("Deutsch")));

    // A short "NOTEN.NOT": what was read, a German warning, and 1, so that a script notices.
    GradeStore::SaveGrades(build(exampleTree()));
    env.writeFile(QStringLiteral("NOTEN.NOT"), env.readFile(QStringLiteral("NOTEN.NOT")).left(4));
    run = runTool({env.dir()});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out.split(u'\n', Qt::SkipEmptyParts).size(), 4);
    QVERIFY(run.err.startsWith(QStringLiteral("kalmora-grades: Warnung:")));
    QVERIFY(run.err.contains(QStringLiteral("zu kurz")));

    // Grade files that cannot be read at all, a folder that does not exist, a wrong call: 2 and a message.
    QFile::remove(env.path(QStringLiteral("NOTEN.DAT")));
    QVERIFY(QDir(env.dir()).mkdir(QStringLiteral("NOTEN.DAT")));
    run = runTool({env.dir()});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.contains(QStringLiteral("Die Notendateien können nicht gelesen werden")));
    run = runTool({env.path(QStringLiteral("fehlt"))});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("gibt es nicht")));
    run = runTool({QStringLiteral("a"), QStringLiteral("b")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("Falscher Aufruf")));
}

QTEST_GUILESS_MAIN(tst_GradeOverview)
#include "tst_GradeOverview.moc"
