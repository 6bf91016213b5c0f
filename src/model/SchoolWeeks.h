// A and B weeks: which of two alternating timetables a date follows, kept in the section "WOCHEN".
#pragma once

#include "HolidayStore.h"

#include <QDate>

#include <vector>

class ProfileFile;

/// The two timetables of a school that teaches in alternating weeks. Week A
/// is the timetable of "Montag" to "Freitag"; week B that of "Montag B" to
/// "Freitag B".
enum class Week { A, B };

class SchoolWeeks final
{
public:
    /// How the weeks alternate: every calendar week from the reference date,
    /// holidays included, or only the school weeks, pausing over a week that
    /// lies wholly inside the holiday periods.
    enum class Counting { Calendar, SchoolWeeks };

    struct Options
    {
        bool on = false;
        QDate reference; // a date in an A week
        Counting counting = Counting::Calendar;
        bool operator==(const Options &) const = default;
    };

    static Options read(const ProfileFile &ini);
    static Options read();
    /// True once the file has the section "WOCHEN", switched on or off.
    static bool isStored(const ProfileFile &ini);
    /// Writes the whole section "WOCHEN".
    static void write(ProfileFile &ini, const Options &options);
    static void write(const Options &options);

    /// The week a date lies in: always A while the option is off or has no
    /// reference date. Weeks are counted from the reference date's week, not
    /// by their number in the year, so a year of 53 weeks changes nothing.
    /// With school-week counting a week whose Monday to Friday all lie inside
    /// `holidays` does not count, and a date in such a week follows the last
    /// school week before it.
    static Week weekOf(const Options &options, QDate date, const std::vector<HolidayStore::Days> &holidays);
    /// The same with the options and holidays of the file.
    static Week weekOf(const ProfileFile &ini, QDate date);
    static Week weekOf(QDate date);

    /// True when Monday to Friday of the date's week all lie inside `holidays`:
    /// a week that school-week counting passes over.
    static bool isHolidayWeek(QDate date, const std::vector<HolidayStore::Days> &holidays);

    /// "A" or "B".
    static QString letter(Week week) { return week == Week::A ? QStringLiteral("A") : QStringLiteral("B"); }
};
