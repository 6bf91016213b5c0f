// The grade overview: every subject's average, weight and number of grades, the average over all subjects, and its printout.
#pragma once

#include "model/GradeArithmetic.h"
#include "model/GradeTree.h"
#include "XPrinter/PrintCommand.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <exception>

class GradeOverview final
{
public:
    /// The colour of a subject's average: grades 1 and 2, 3 and 4, 5 and 6.
    enum class Band { Good, Middle, Poor };

    /// One subject of the tree.
    struct Row
    {
        QString subject;
        /// The weighted average of the subject's first two categories, as the
        /// grades tab shows it for the subject.
        double average = 0.0;
        /// The grade files keep no weight for a subject, so every subject counts once.
        int weight = 1;
        /// The grades under the subject, in all its categories.
        int grades = 0;
    };

    /// The grade files as the overview reads them.
    struct Loaded
    {
        GradeTree tree;
        QList<Row> rows;
        /// Built from the timetable, since there is no "NOTEN.DAT" yet.
        bool fromTimetable = false;
        /// Why the reading ended early, as the grades tab reports it; null when
        /// the files were read whole. `tree` and `rows` hold what was read before.
        std::exception_ptr failure;
        /// The failure's message; empty when there is none.
        QString failureText;
    };

    /// Reads the grade files through the grade store, exactly as the grades
    /// tab does (a missing "NOTEN.DAT" gives the subjects of the timetable).
    /// Never throws: a failure is kept in the result with what was read.
    static Loaded load();

    /// The subjects of the tree in its order.
    static QList<Row> rows(const GradeTree &tree);
    /// The average over the subjects, each weighted with its weight; 0 without subjects.
    static double overallAverage(const QList<Row> &rows);
    /// The subjects by their average, the best first; equal averages keep the tree's order.
    static QList<Row> bestFirst(QList<Row> rows);
    /// The band of the grade that an average shows in the grade system.
    static Band band(double average);
    /// "1 und 2" ... in the grade system, "15 bis 10 Punkte" ... in the points system.
    static QString bandName(Band band, MarkingSystem system);

    /// An average in points as the overview shows it: two decimals ("10,22").
    static QString pointsText(double average);

    /// "Fach", "Punkte", "Note", "Gewicht", "Anzahl".
    static const QStringList &Headers();
    /// The cells of a subject's line: the average in points and as a grade
    /// text, exactly as the grades tab shows them in the two systems.
    static QStringList cells(const Row &row);
    /// The last line: the overall average, and the number of all grades.
    static QStringList overallCells(const QList<Row> &rows);
    /// "Durchschnitt aller Fächer"
    static const QString &OverallLabel();
    /// Says that every subject counts the same, and why.
    static const QString &WeightNote();

    /// The table as text lines with aligned columns, the overall average last.
    static QString plainText(const QList<Row> &rows);

    /// "Notenübersicht": the window's caption and the name of its print job.
    static const QString &Title();

    /// The printed page, in 0.1 mm inside the margins: the commands of the
    /// title and the table, and the rectangle left below them for the chart.
    struct Page
    {
        QList<PrintCommand> commands;
        QRect chartArea;
    };
    /// Lays the table out so that it and a chart of a usable height fit on one page.
    static Page printLayout(const QList<Row> &rows, QSize printableArea, const QString &dateText);
};
