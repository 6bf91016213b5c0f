// The timetable printout as text.
#include "TimetablePrintout.h"

namespace {
const QString kIndent(9, u' ');
}

QString TimetablePrintout::FitCell(const QString &text, int width)
{
    if (width < 1)
        return QString();
    if (text.size() > width)
        return text.left(width - 1) + text.back();
    return text.leftJustified(width, u' ');
}

QString TimetablePrintout::BorderLine()
{
    QString line = kIndent + u'+' + QString(NumberWidth + 2, u'-') + u'+';
    for (int c = 1; c <= 5; ++c)
        line += QString(DayWidth + 2, u'-') + u'+';
    return line;
}

QString TimetablePrintout::RowLine(const TimetableGrid &grid, int row)
{
    QString line = kIndent + QStringLiteral("| ") + FitCell(grid.at(0, row), NumberWidth);
    for (int c = 1; c <= 5; ++c)
        line += QStringLiteral(" | ") + FitCell(grid.at(c, row), DayWidth);
    return line + QStringLiteral(" |");
}

QStringList TimetablePrintout::Lines(const TimetableGrid &grid)
{
    QStringList lines = {BorderLine(), RowLine(grid, 0), BorderLine()};
    for (int r = 1; r <= 6; ++r)
        lines.append(RowLine(grid, r));
    lines.append(BorderLine());
    return lines;
}

QStringList TimetablePrintout::Lines(const TimetableGrid &weekA, const TimetableGrid &weekB)
{
    return QStringList{kIndent + QStringLiteral("A-Woche")} + Lines(weekA)
           + QStringList{QString(), kIndent + QStringLiteral("B-Woche")} + Lines(weekB);
}
