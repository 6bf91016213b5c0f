// The weekly timetable: five school-day sections with the lessons "1" to "10".
#pragma once

#include "HolidayStore.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

/// The timetable as the editors and printouts see it: 6 columns by 11 rows.
/// Column 0 and row 0 are the fixed headers; cell (c, r) for c = 1..5 and
/// r = 1..10 is lesson r of school day c.
class TimetableGrid final
{
public:
    static constexpr int Columns = 6;
    static constexpr int Rows = 11;
    QString &at(int column, int row) { return m_cells[column][row]; }
    const QString &at(int column, int row) const { return m_cells[column][row]; }
    bool operator==(const TimetableGrid &) const = default;

private:
    std::array<std::array<QString, Rows>, Columns> m_cells;
};

class TimetableStore final
{
public:
    /// "Montag" to "Freitag", index 0 to 4: section names and column headers.
    static const QStringList &SchoolDayNames();
    /// "Sonntag" to "Samstag", index 0 to 6 (Sunday first): captions naming a day.
    static const QStringList &WeekdayNames();
    /// The name of a date's weekday, as the captions give it.
    static QString weekdayName(int qtDayOfWeek);

    /// Fills the 50 lesson cells from the settings file, then the header cells.
    static void LoadTimetable(TimetableGrid &grid);
    /// Writes all 50 lesson cells, empty ones too; nothing is erased first.
    static void SaveTimetable(const TimetableGrid &grid);
    /// True once a timetable has been saved: a school-day section exists.
    static bool hasTimetable();
    /// The subjects of lessons 1 to 10 of one school-day section (empty where none).
    static QStringList readSchoolDay(const QString &dayName);
    static QStringList schoolDay(const ProfileFile &ini, const QString &dayName);
    /// The distinct non-empty lesson texts, sorted by German collation without
    /// regard to case; of two spellings the one met first (lesson by lesson,
    /// Monday to Friday) is kept.
    static QStringList CollectSubjects();

    /// The first school day after `after` with a lesson of exactly this
    /// subject, letter case included, searched a week ahead: a subject taught
    /// only on the weekday of `after` gets that weekday a week later. A lesson
    /// inside one of `holidays` is passed over for the first one after that
    /// period. None when no school day holds the subject.
    static std::optional<QDate> NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                           const std::vector<HolidayStore::Days> &holidays = {});
};
