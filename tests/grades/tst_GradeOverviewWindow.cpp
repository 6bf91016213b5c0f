// The grade overview window against the real grades tab: its averages, its chart, bad files, following a save, printing, the menu entry.
#include "GradeOverviewTrees.h"
#include "Options/GradeTab.h"
#include "XPrinter/TXPrint.h"
#include "extras/ExtrasMenu.h"
#include "grades/GradeExtras.h"
#include "grades/GradeOverviewChart.h"
#include "grades/GradeOverviewWindow.h"
#include "platform/ErrorReporter.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QValueAxis>
#include <QtTest>

using namespace GradeOverviewTrees;

class tst_GradeOverviewWindow final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void averagesEqualTheTab();
    void chartHoldsOneBarPerSubject();
    void badFilesAsTheTabReportsThem();
    void followsASave();
    void printsOnePage();
    void menuEntryMakesTheWindowOnFirstUse();
};

namespace {

template <typename T>
T *control(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// The grades tab, loaded from the files, and what it shows for a subject.
struct Tab
{
    Tab() { ErrorReporter::guarded([this] { tab.LoadGradeTab(); }); }
    // The overview shows the tab's average in points with two decimals.
    static QString inOverview(const QString &tabText) { return GradeOverview::pointsText(QLocale(QLocale::German).toDouble(tabText)); }
    QString average(int subject, MarkingSystem system)
    {
        control<QRadioButton>(tab, system == MarkingSystem::Points ? "RadioButton6" : "RadioButton5")->click();
        tree->setCurrentItem(nullptr);
        tree->setCurrentItem(tree->topLevelItem(subject));
        return control<QLabel>(tab, "NoteD")->text();
    }
    QStringList subjects() const
    {
        QStringList names;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            names.append(tree->topLevelItem(i)->text(0));
        return names;
    }

    GradeTab tab;
    QTreeWidget *tree = control<QTreeWidget>(tab, "TreeView2");
};

QStringList column(QTableWidget *table, int c)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts.append(table->item(r, c)->text());
    return texts;
}

QAbstractBarSeries *barsOf(QChart *chart)
{
    return chart->series().size() == 1 ? qobject_cast<QAbstractBarSeries *>(chart->series().first()) : nullptr;
}

QStringList categoriesOf(QChart *chart)
{
    const auto axes = chart->axes(Qt::Vertical);
    auto *axis = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(axes.first());
    return axis ? axis->categories() : QStringList();
}

}

void tst_GradeOverviewWindow::averagesEqualTheTab()
{
    for (const auto &subjects : {exampleTree(), twelveSubjects()}) {
        TestEnvironment env;
        GradeStore::SaveGrades(build(subjects));
        Tab tab;
        GradeOverviewWindow window([&] { return GradeExtras::systemOf(&tab.tab); });
        window.open();
        auto *table = control<QTableWidget>(window, "GradeTable");

        // Every subject of the tab, in its order, with the tab's own texts in both systems.
        QCOMPARE(column(table, 0), tab.subjects());
        for (int i = 0; i < table->rowCount(); ++i) {
            QCOMPARE(table->item(i, 1)->text(), Tab::inOverview(tab.average(i, MarkingSystem::Points)));
            QCOMPARE(table->item(i, 2)->text(), tab.average(i, MarkingSystem::Grades));
            QCOMPARE(table->item(i, 3)->text(), QStringLiteral("1"));
        }
        QVERIFY(control<QLabel>(window, "WeightNote")->text().contains(QStringLiteral("gleich")));
        QVERIFY(control<QLabel>(window, "ReadNote")->isHidden());
    }
}

void tst_GradeOverviewWindow::chartHoldsOneBarPerSubject()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    Tab tab;
    GradeOverviewWindow window([&] { return GradeExtras::systemOf(&tab.tab); });
    window.open();

    // One bar a subject, the best at the top (the last category), each in the set of its band and nowhere else.
    QStringList best = {"Musik", "Biologie", "Chemie", "Deutsch", "Erdkunde", "Kunst", "Geschichte", "Englisch",
                        "Mathematik", "Französisch", "Physik", "Informatik"};
    std::reverse(best.begin(), best.end());
    QAbstractBarSeries *series = barsOf(window.chart());
    QVERIFY(series);
    QCOMPARE(series->barSets().size(), 3);
    const QStringList categories = categoriesOf(window.chart());
    QCOMPARE(categories.size(), best.size());
    GradeTree tree;
    GradeStore::LoadGrades(tree);
    for (int i = 0; i < best.size(); ++i) {
        QVERIFY2(categories[i].startsWith(best[i] + u' '), qPrintable(categories[i]));
        int subject = 0;
        while (tree.root(subject).text() != best[i])
            ++subject;
        const double average = GradeArithmetic::subjectAverage(tree.root(subject));
        const QColor colour = GradeOverviewChart::bandColor(GradeOverview::band(average));
        double shown = 0;
        for (QBarSet *set : series->barSets()) {
            QCOMPARE(set->count(), best.size());
            if (set->at(i) != 0.0) {
                QCOMPARE(set->color(), colour);
                shown += set->at(i);
            }
        }
        QCOMPARE(shown, average);
    }
    // The legend names the bands of the system shown: points, as the tab starts.
    QCOMPARE(series->barSets().first()->label(), QStringLiteral("15 bis 10 Punkte"));
    QVERIFY(qobject_cast<QValueAxis *>(window.chart()->axes(Qt::Horizontal).first()));
    QCOMPARE(categories.last(), QStringLiteral("Musik (13,50)"));

    // After the tab changed to grades, the next showing draws grades.
    tab.average(0, MarkingSystem::Grades);
    window.open();
    QCOMPARE(window.markingSystem(), MarkingSystem::Grades);
    QVERIFY(qobject_cast<QCategoryAxis *>(window.chart()->axes(Qt::Horizontal).first()));
    QCOMPARE(categoriesOf(window.chart()).last(), QStringLiteral("Musik (1)"));
    QCOMPARE(barsOf(window.chart())->barSets().first()->label(), QStringLiteral("Noten 1 und 2"));

    // Without a grades tab to follow, grades.
    GradeOverviewWindow alone;
    alone.LoadOverview();
    QCOMPARE(alone.markingSystem(), MarkingSystem::Grades);
}

void tst_GradeOverviewWindow::badFilesAsTheTabReportsThem()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    const QByteArray records = env.readFile(QStringLiteral("NOTEN.NOT"));
    const QByteArray lines = env.readFile(QStringLiteral("NOTEN.DAT"));
    QByteArray jump = lines;
    jump.replace("Englisch\r\n\tKurs", "Englisch\r\n\t\t\tKurs");

    const QList<std::pair<QByteArray, QByteArray>> cases = {
        {lines, records.left(10)}, // short
        {lines, QByteArray()},     // missing
        {jump, records},           // a level jump
    };
    for (const auto &[treeFile, recordFile] : cases) {
        env.writeFile(QStringLiteral("NOTEN.DAT"), treeFile);
        QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
        if (!recordFile.isEmpty())
            env.writeFile(QStringLiteral("NOTEN.NOT"), recordFile);
        Prompt::takeAsked();
        Tab tab;
        const QList<Prompt::Question> tabAsked = Prompt::takeAsked();
        QCOMPARE(tabAsked.size(), 1);

        // The same box, and the subjects the tab shows, with their averages.
        GradeOverviewWindow window([&] { return GradeExtras::systemOf(&tab.tab); });
        window.open();
        const QList<Prompt::Question> asked = Prompt::takeAsked();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, tabAsked[0].title);
        QCOMPARE(asked[0].text, tabAsked[0].text);
        QCOMPARE(asked[0].icon, tabAsked[0].icon);
        auto *table = control<QTableWidget>(window, "GradeTable");
        QCOMPARE(column(table, 0), tab.subjects());
        for (int i = 0; i < table->rowCount(); ++i)
            QCOMPARE(table->item(i, 1)->text(), Tab::inOverview(tab.average(i, MarkingSystem::Points)));
        QVERIFY(!control<QLabel>(window, "ReadNote")->isHidden());
        QCOMPARE(categoriesOf(window.chart()).size(), table->rowCount());
    }
}

void tst_GradeOverviewWindow::followsASave()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    Tab tab;
    GradeOverviewWindow window([&] { return GradeExtras::systemOf(&tab.tab); });
    window.open();
    auto *table = control<QTableWidget>(window, "GradeTable");
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("11,00"));

    // A grade added on the tab shows only once it is saved.
    tab.tree->setCurrentItem(tab.tree->topLevelItem(1)->child(0));
    control<QComboBox>(tab.tab, "ComboBox3")->setEditText(QStringLiteral("4"));
    control<QPushButton>(tab.tab, "Button13")->click();
    QTest::qWait(20);
    QCOMPARE(table->item(1, 1)->text(), QStringLiteral("11,00"));
    control<QPushButton>(tab.tab, "Button12")->click();
    const QString saved = tab.average(1, MarkingSystem::Points);
    QCOMPARE(saved, QStringLiteral("8,33333333333333"));
    QTRY_COMPARE(table->item(1, 1)->text(), QStringLiteral("8,33"));
    QCOMPARE(categoriesOf(window.chart()).indexOf(QStringLiteral("Chemie (8,33)")), 12 - 1 - 6);
}

void tst_GradeOverviewWindow::printsOnePage()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(twelveSubjects()));
    TXPrint other;
    other.setTitle(QStringLiteral("Hausaufgabenblatt"));
    GradeOverviewWindow window;
    window.open();
    Prompt::takeAsked();

    // No printer here: one page as a PDF in the program directory, named in a box.
    control<QPushButton>(window, "PrintButton")->click();
    const QString file = QStringLiteral("Notenübersicht-1.pdf");
    const QByteArray pdf = env.readFile(file);
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdf.count("/Type /Page\n"), 1);
    const QList<Prompt::Question> asked = Prompt::takeAsked();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].text.contains(env.path(file)));
    // The chart is drawn into the page: far more than the table's text alone.
    QVERIFY2(pdf.size() > 20000, qPrintable(QString::number(pdf.size())));

    // The program's other printouts keep their job name.
    QCOMPARE(other.Title(), QStringLiteral("Hausaufgabenblatt"));

    // No subjects at all: an empty overview, which prints as well.
    QFile::remove(env.path(QStringLiteral("NOTEN.DAT")));
    QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
    window.open();
    QCOMPARE(control<QTableWidget>(window, "GradeTable")->rowCount(), 0);
    QVERIFY(control<QLabel>(window, "OverallLabel")->text().contains(QStringLiteral("–")));
    control<QPushButton>(window, "PrintButton")->click();
    QCOMPARE(env.readFile(QStringLiteral("Notenübersicht-2.pdf")).count("/Type /Page\n"), 1);
}

void tst_GradeOverviewWindow::menuEntryMakesTheWindowOnFirstUse()
{
    TestEnvironment env;
    GradeStore::SaveGrades(build(exampleTree()));
    QToolButton button;
    ExtrasMenu menu(&button);
    QWidget page;
    auto *tab = new GradeTab(&page);
    GradeExtras extras;
    extras.install(&menu, &page);

    // Only the entry is there; nothing of the window is made before it is chosen.
    QAction *entry = nullptr;
    for (QAction *action : menu.actions())
        entry = action->text() == QStringLiteral("&Notenübersicht ...") ? action : entry;
    QVERIFY(entry);
    QVERIFY(!extras.window());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(widget->objectName() != QStringLiteral("GradeOverview"));

    // Chosen, it shows the files in the tab's system; chosen again, the same window, read anew.
    entry->trigger();
    GradeOverviewWindow *window = extras.window();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("GradeOverview"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Notenübersicht"));
    QCOMPARE(window->markingSystem(), MarkingSystem::Points);
    control<QRadioButton>(*tab, "RadioButton5")->click();
    GradeStore::SaveGrades(build(twelveSubjects()));
    window->hide();
    entry->trigger();
    QCOMPARE(extras.window(), window);
    QCOMPARE(window->markingSystem(), MarkingSystem::Grades);
    QCOMPARE(window->rows().size(), 12);
}

QTEST_MAIN(tst_GradeOverviewWindow)
#include "tst_GradeOverviewWindow.moc"
