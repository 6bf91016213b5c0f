// The six holiday periods of the school year in the section "FERIEN".
#pragma once

#include <QString>
#include <QStringList>

#include <QDate>

#include <array>
#include <optional>
#include <vector>

class ProfileFile;

class HolidayStore final
{
public:
    struct Period
    {
        const char16_t *label;     // row label on the "Ferien" tab
        const char16_t *firstKey;  // first day of the period
        const char16_t *lastKey;   // last day of the period
    };
    /// The periods in the row order of the tab: winter, Easter, Whitsun, summer, autumn, Christmas.
    static const std::array<Period, 6> &Periods();

    /// The twelve stored texts in row order (first day, last day), empty where missing.
    static QStringList LoadHolidays();
    /// Writes the twelve texts in row order, unchecked, empty ones too.
    static void SaveHolidays(const QStringList &texts);

    /// The first and last day of a period.
    struct Days
    {
        QDate first;
        QDate last;
        bool contains(QDate day) const { return first <= day && day <= last; }
    };
    /// Each period in row order as the holiday test reads it: none when a
    /// bound is missing or not a date, or the last day comes before the first.
    static std::array<std::optional<Days>, 6> ReadPeriods(const ProfileFile &ini);
    /// The periods that hold days, in row order, as the holiday test reads them.
    static std::vector<Days> holidays(const ProfileFile &ini);
    static std::vector<Days> holidays();

    /// Whether today lies in one of the periods, bounds included. The periods
    /// are tested Easter first, then winter, Whitsun, summer, autumn,
    /// Christmas. A bound that is not a date makes its period contain no day,
    /// so the answer never fails.
    static bool IsHolidayToday();
};
