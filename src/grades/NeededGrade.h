// The lowest grade that, added to a subject or a category, lifts its average to a target.
#pragma once

#include "model/GradeArithmetic.h"
#include "model/GradeRecord.h"

#include <QString>

class GradeNode;

/// Answers "Was brauche ich?" with the tab's own arithmetic: the node is
/// copied, a trial grade of each value 0..15 is added to the copy, and the
/// copy's average is taken by `Berechne` or the subject average and judged
/// as the tab shows it. The node itself is never changed.
///
/// When a target counts as reached:
/// - Grade system: the average rounded as the tab rounds it (halves to the
///   even value) is at least the target's value, i.e. the grade the tab
///   shows is the target grade or a better one. A target "2" (11) is not
///   reached by 10.5, which the tab shows as "2-".
/// - Points system: the average as the tab shows it (15 significant digits)
///   is at least the target's points, so 9.5 does not reach 10, and an
///   average that the tab shows as "10" reaches 10 also where the division
///   leaves it a hair below.
class NeededGrade final
{
public:
    struct Answer final
    {
        enum Kind { Reached, Needed, Unreachable };
        /// Reached: even a 0 keeps the target. Needed: `value` is the lowest
        /// grade that reaches it. Unreachable: even a 15 misses it.
        Kind kind = Reached;
        quint8 value = 0;

        bool operator==(const Answer &) const = default;
    };

    /// The answer for a new grade of the given weight. For a subject the new
    /// grade goes into its category of that index (0 or 1, the two categories
    /// that its average uses); for a category the index is not used. Another
    /// index, a category weight of 0 or a grade weight of 0 leave the average
    /// as it is, so the answer is then Reached or Unreachable.
    static Answer compute(const GradeNode &node, int category, quint8 targetValue, quint8 weight,
                          MarkingSystem system);

    /// The average of a subject (level 0) or a category (any other level) as
    /// the tab computes it.
    static double average(const GradeNode &node);

    /// Whether an average reaches the target, judged as described above.
    static bool reaches(double average, quint8 targetValue, MarkingSystem system);

    /// The answer as the box shows it: "mindestens 2- (10 Punkte)",
    /// "schon erreicht" or "nicht erreichbar".
    static QString answerText(const Answer &answer);
};
