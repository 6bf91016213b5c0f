// Homework that recurs with every lesson of a subject: the rules, and entering their homework.
#pragma once

#include "RecurringRules.h"

class RecurringHomework final : public RecurringRules
{
public:
    /// Makes every rule's homework stand on the subject's next lesson after
    /// today, skipping lessons inside a holiday period, and returns how many
    /// homework items it entered or extended. A subject that already has
    /// homework on that day keeps it, unless a rule of the same subject
    /// entered it in this very run: then the text is appended after "; ".
    /// Each rule handles a date once, so homework deleted by the pupil is not
    /// entered again; ending a rule leaves its homework. A subject no longer
    /// in the timetable makes its rule do nothing. The settings file is
    /// written only when something is due.
    static int apply();
};
