// The date text a calendar picker opens on, split into the parts it presets.
#pragma once

#include <QString>

#include <optional>

struct PickerPreset final
{
    std::optional<int> day;   // absent when the text has no day part
    std::optional<int> month; // absent when the text has no month part
    std::optional<int> year;  // absent when the year part is empty: the picker shows today

    /// Splits the text at its first "." into the day part and the rest, the
    /// rest again at its first "." into the month part and the year part; a
    /// part without a following "." is empty for day and month, so "2027" is
    /// only a year. Throws EConvertError "'%s' is not a valid integer value"
    /// naming the first non-empty part that is not a whole number.
    static PickerPreset fromText(const QString &text);
};
