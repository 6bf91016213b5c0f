// The two bytes kept for a category or a grade: the value and the weight.
#pragma once

#include <QtGlobal>

/// A grade's value on the 0..15 scale (15 best) and its weight, or a
/// category's weight; a category's value byte has no meaning and is 0.
struct GradeRecord final
{
    /// Limits of the editor's weight fields, since each weight is one byte.
    static constexpr int MinGradeWeight = 1;
    static constexpr int MinCategoryWeight = 0;
    static constexpr int MaxWeight = 255;
    /// The weight a category or grade gets when it is made: a category built
    /// from the timetable, and the start of the editor's weight fields.
    static constexpr quint8 NewWeight = 1;

    quint8 value = 0;
    quint8 weight = 0;

    bool operator==(const GradeRecord &) const = default;
};
