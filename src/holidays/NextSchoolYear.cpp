// When the next school year's holidays are offered: once, at the first start after the summer holidays.
#include "NextSchoolYear.h"

const SchoolHolidayTable::SchoolYear *NextSchoolYear::due(const SchoolHolidayTable &table,
                                                          const SchoolYearSettings::Values &settings, QDate today)
{
    const SchoolHolidayTable::SchoolYear *filled = table.find(settings.state, settings.filledYear);
    if (settings.state.isEmpty() || !filled)
        return nullptr;
    // Summer is the fourth row; without its dates the end of the school year is not known.
    const SchoolHolidayTable::Period &summer = filled->periods[3];
    if (summer.kind != SchoolHolidayTable::Kind::Dates)
        return nullptr;
    for (const SchoolHolidayTable::Piece &piece : summer.pieces) {
        if (today <= piece.last)
            return nullptr;
    }
    const QString next = SchoolHolidayTable::nextSchoolYear(settings.filledYear);
    const SchoolHolidayTable::SchoolYear *offer = table.find(settings.state, next);
    if (!offer || !offer->known() || settings.offeredYear == next)
        return nullptr;
    return offer;
}
