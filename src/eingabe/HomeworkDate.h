// The due date of new homework: the proposal from the timetable and the check of a typed date.
#pragma once

#include <QDate>
#include <QString>

class HomeworkDate final
{
public:
    /// The day of the subject's next lesson strictly after today: the school
    /// days from the first one after today on (Monday after a Friday,
    /// Saturday or Sunday) are searched in turn for a lesson of exactly this
    /// subject, letter case included; a subject taught only on today's weekday
    /// gets that weekday a week later. When no school day holds the subject
    /// the first school day after today is proposed.
    static QDate NextLessonDate(const QString &subject);

    struct Checked
    {
        QString text;  // the typed date normalised to day.month.year
        bool accepted; // whether the homework may be stored under `text`
    };

    /// Checks and normalises a typed due date. The text is split at its first
    /// two full stops into day, month and year (a missing stop makes day or
    /// month 50); a one-character day or month gets a leading "0" and a
    /// two-character year "19" in front. It is accepted when day and month
    /// have two characters, the year four, the month is at most 12 and the
    /// day lies below the month's limit (February always has 28 days), and
    /// the result reads back as a date, so a day or month of 0 is refused.
    /// Throws EConvertError "'%s' is not a valid integer value" when the day
    /// or month is not a number.
    static Checked checkDueDate(const QString &text);
};
