// The timetable printout as text: ten framed lines of 90 characters.
#pragma once

#include "model/TimetableStore.h"

#include <QString>
#include <QStringList>

class TimetablePrintout final
{
public:
    /// Width of the lesson-number column and of each school-day column.
    static constexpr int NumberWidth = 2;
    static constexpr int DayWidth = 12;

    /// A text of exactly `width` characters: a longer text keeps its first
    /// (width - 1) characters and its last one, a shorter one is padded with
    /// blanks. A width below 1 gives an empty text.
    static QString FitCell(const QString &text, int width);

    /// "         +----+--------------+ ... +": the frame between the parts.
    static QString BorderLine();
    /// "         | " then the fitted cells of grid row `row`, separated by " | ", then " |".
    static QString RowLine(const TimetableGrid &grid, int row);

    /// The printed lines in order: border, header row, border, lessons 1 to
    /// 6, border. Lessons 7 to 10 are not part of the printout.
    static QStringList Lines(const TimetableGrid &grid);
    /// Both weeks of A/B weeks: "A-Woche" above week A's lines, an empty
    /// line, then "B-Woche" above week B's.
    static QStringList Lines(const TimetableGrid &weekA, const TimetableGrid &weekB);
};
