// The weekly timetable: five school-day sections with the lessons "1" to "10".
#pragma once

#include "HolidayStore.h"
#include "SchoolWeeks.h"

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

    /// The section of a school day (0 Monday .. 4 Friday) in a week: "Montag"
    /// in week A, "Montag B" in week B.
    static QString sectionName(int day, Week week);

    /// Fills the 50 lesson cells of a week from the settings file, then the
    /// header cells. Week B falls back day by day on week A where the file
    /// has no section of it yet.
    static void LoadTimetable(TimetableGrid &grid, Week week = Week::A);
    /// Writes all 50 lesson cells of a week, empty ones too; nothing is erased first.
    static void SaveTimetable(const TimetableGrid &grid, Week week = Week::A);
    static void SaveTimetable(ProfileFile &ini, const TimetableGrid &grid, Week week = Week::A);
    /// True once a timetable has been saved: a school-day section exists.
    static bool hasTimetable();
    /// The subjects of lessons 1 to 10 of one school-day section (empty where none).
    static QStringList readSchoolDay(const QString &dayName, Week week = Week::A);
    static QStringList schoolDay(const ProfileFile &ini, const QString &dayName, Week week = Week::A);
    /// The lessons 1 to 10 of a date in the week it lies in (A/B weeks
    /// followed); empty on a Saturday or Sunday.
    static QStringList lessonsOn(const ProfileFile &ini, QDate date);
    static QStringList lessonsOn(QDate date);

    /// The lessons of the school day a date stands for, as the main window
    /// shows them: a Saturday or Sunday stands for the Friday before it. The
    /// week is named only while A/B weeks are on.
    struct DayPlan
    {
        QString dayName;
        QStringList lessons;
        std::optional<Week> week;
    };
    static DayPlan dayPlan(const ProfileFile &ini, QDate date);
    static DayPlan dayPlan(QDate date);

    /// Saves the timetable tab in one write: week A; week B while A/B weeks
    /// are on or once the file has a section of it, so that a timetable of
    /// one week never gains a copy of itself; the section "WOCHEN" while the
    /// option is on or once the file has it.
    static void SaveTimetables(const TimetableGrid &weekA, const TimetableGrid &weekB, const SchoolWeeks::Options &weeks);
    static void SaveTimetables(ProfileFile &ini, const TimetableGrid &weekA, const TimetableGrid &weekB,
                               const SchoolWeeks::Options &weeks);
    /// The distinct non-empty lesson texts, sorted by German collation without
    /// regard to case; of two spellings the one met first (lesson by lesson,
    /// Monday to Friday, week A before week B) is kept. Week B counts only
    /// while A/B weeks are on.
    static QStringList CollectSubjects();

    /// The first school day after `after` with a lesson of exactly this
    /// subject, letter case included, searched a week ahead (two with A/B
    /// weeks, each date in its own week): a subject taught only on the
    /// weekday of `after` gets that weekday a week later. A lesson
    /// inside one of `holidays` is passed over for the first one after that
    /// period. None when no school day holds the subject.
    static std::optional<QDate> NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                           const std::vector<HolidayStore::Days> &holidays = {});
    /// The same with the A/B weeks read once by the caller, for a search of several subjects.
    static std::optional<QDate> NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                           const std::vector<HolidayStore::Days> &holidays,
                                           const SchoolWeeks::Options &weeks);
};
