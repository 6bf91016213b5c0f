// The pupil's state and the school year last loaded: the section "SCHULJAHR" of the settings file.
#pragma once

#include <QString>

class SchoolYearSettings final
{
public:
    struct Values
    {
        QString state;       // "Bundesland": the state whose holidays were loaded, empty before
        QString filledYear;  // "Schuljahr": the school year whose holidays the tab holds
        QString offeredYear; // "Angeboten": the school year last offered at start-up
    };

    /// The three values in one read.
    static Values load();
    /// Remembers the state and school year after their holidays were stored.
    /// Throws EWriteError when the settings file cannot be written.
    static void remember(const QString &state, const QString &year);
    /// Notes that the school year was offered, whatever the answer.
    static void setOffered(const QString &year);
};
