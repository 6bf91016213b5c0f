// The six holiday periods of the school year in the section "FERIEN".
#pragma once

#include <QString>
#include <QStringList>

#include <array>

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

    /// Whether today lies in one of the periods, bounds included. The periods
    /// are tested Easter first, then winter, Whitsun, summer, autumn,
    /// Christmas. A bound that is not a date makes its period contain no day,
    /// so the answer never fails.
    static bool IsHolidayToday();
};
