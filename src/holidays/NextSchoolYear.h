// When the next school year's holidays are offered: once, at the first start after the summer holidays.
#pragma once

#include "SchoolHolidayTable.h"
#include "SchoolYearSettings.h"

namespace NextSchoolYear {

/// The school year to offer today, or none: the state is chosen, the summer
/// holidays of the school year the tab holds have ended before today, the
/// next school year has dates in the table, and it was not offered before.
const SchoolHolidayTable::SchoolYear *due(const SchoolHolidayTable &table, const SchoolYearSettings::Values &settings,
                                          QDate today);

}
