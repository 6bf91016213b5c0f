// The weekly homework sheet as drawing commands: one ruled block per school day.
#pragma once

#include "XPrinter/PrintCommand.h"
#include "model/SchoolWeeks.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QStringList>

/// All positions are in 0.1 mm inside the page margins, y growing downwards.
class WeeklyPlan final
{
public:
    /// The name of both print jobs.
    static QString jobTitle() { return QStringLiteral("Hausaufgabenblatt"); }
    /// The school days of each print job: Monday to Wednesday, then Thursday and Friday.
    static QList<QStringList> PrintJobs();
    /// The Monday of the week a sheet printed on `today` is for: this week,
    /// on a Saturday or Sunday the coming one. Its A/B week picks the lessons.
    static QDate PlanMonday(QDate today);

    /// The non-empty subjects of lessons 1 to 10 of a school-day section, in
    /// lesson order, in `week`; empty lessons are left out so that the rows close up.
    static QStringList CollectDayLessons(const QString &dayName, Week week = Week::A);

    /// Appends one day's block at `y`: the heading, one ruled row per subject
    /// with the subject in the narrow left column, the closing rule and the
    /// column rule; then advances `y` past the block (100 + 70 per row).
    static void PrintDayBlock(int &y, const QString &dayName, const QStringList &lessons, int printableWidth,
                              QList<PrintCommand> &commands);

    /// One print job: the blocks of `days` from y 200 on, 300 apart. A block
    /// that would run past the printable height starts on a new page at y 200.
    static QList<PrintCommand> LayoutJob(const QStringList &days, QSize printableArea, Week week = Week::A);

    /// The height a block of `rows` rows takes.
    static int blockHeight(qsizetype rows);
};
