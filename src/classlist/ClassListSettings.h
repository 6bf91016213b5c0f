// The class's shared task list: the section "KLASSE" of the settings file.
#pragma once

#include <QString>

class ClassListSettings final
{
public:
    struct Options
    {
        bool active = false;
        QString tasks; // the shared task list's URL, on the server and account of "CALDAV"
        friend bool operator==(const Options &, const Options &) = default;
        /// Whether the class list takes part in the sync.
        bool inUse() const { return active && !tasks.trimmed().isEmpty(); }
    };

    /// Reads "Aktiv" and "Aufgaben" of "KLASSE"; a missing section gives the class list off.
    static Options load();
    /// Writes both keys; the other sections stay. Throws EWriteError.
    static void save(const Options &options);

    /// How a task list is shown in the choice: its display name, and for a
    /// list shared with the account (Nextcloud names it
    /// "<name>_shared_by_<owner>") "(geteilt von <owner>)" behind it.
    static QString listLabel(const QString &name, const QString &url);
};
