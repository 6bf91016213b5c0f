// Events, their time, sound and message, and pending snoozes in the settings file.
#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class ProfileFile;

/// The four kinds of event, each kept in a section of its own.
enum class EventKind { OneTime, Weekly, Monthly, Yearly };

class EventStore final
{
public:
    /// What `LoadEvent` gives the editor.
    struct Event
    {
        std::optional<QDate> date; // empty when no entry of the kind carries the name
        QString sound;
        bool timeDependent = false;
        QString timeText;
        QStringList lines;
    };

    /// An event as its kind section, "TIME" and "MEMO" hold it.
    struct StoredEvent
    {
        EventKind kind;
        QDate date;                // its next occurrence as stored
        QString name;
        std::optional<QTime> time; // a time-dependent event: its time of day
        std::optional<QStringList> message; // none without a "MEMO" length record
    };

    /// Every event of "TERMIN", "WEEKLY", "MONTHLY" and "YEARLY", the kinds in
    /// that order and each in file order; an entry whose key is not a date or
    /// whose name is empty is no event the editor lists and is left out.
    static QList<StoredEvent> storedEvents(const ProfileFile &ini);

    /// The occurrences of an event of `kind` stored on `stored`, as the
    /// acknowledgement of each reminder moves it on (7 days, the next monthly
    /// date, 365 days): from the stored date, also when that lies before
    /// `today`, since each of those reminders is still to come, up to and
    /// including `last`. The stored date is always the first. Of the
    /// occurrences before `today` at most the last 1000 are kept, so a
    /// hand-edited date centuries back cannot swell a listing.
    static QList<QDate> occurrences(EventKind kind, QDate stored, QDate today, QDate last);

    /// "TERMIN", "WEEKLY", "MONTHLY", "YEARLY": the form the writes use.
    static QString sectionName(EventKind kind);
    /// "Termin", "Weekly", "Monthly", "Yearly": the form the name listing and
    /// the removal before a save use; it addresses the same section.
    static QString listSectionName(EventKind kind);
    /// The four kinds in the order the due-event scan reads their sections.
    static const std::array<EventKind, 4> &Kinds();

    /// "d.m.yyyy", the key of an event's next occurrence.
    static QString dateText(QDate date);
    /// "d.m.yyyy h:m:s", the key of a pending snooze (whole seconds).
    static QString snoozeKey(const QDateTime &moment);

    /// Days of January to December; February has 28 days in every year.
    static const std::array<int, 12> &MonthLengths();
    /// The next monthly occurrence: the same day in the next month that has it,
    /// so the 31st moves to the next month with 31 days and no monthly event
    /// ever falls on 29 February.
    static QDate nextMonthlyDate(QDate date);

    static QString snoozeSection() { return QStringLiteral("ERINNERN"); }
    static QString timeSection() { return QStringLiteral("TIME"); }
    static QString soundSection() { return QStringLiteral("SOUND"); }
    static QString memoSection() { return QStringLiteral("MEMO"); }
    /// The name a kind entry or snooze stands for when its value cannot be read.
    static QString notEntered() { return QStringLiteral("Not entered!"); }
    /// The time the editor shows for an event without a "TIME" record.
    static QString defaultTimeText() { return QStringLiteral("6:00"); }
    /// The sound of a reminder whose event has no "SOUND" record.
    static QString defaultReminderSound() { return QStringLiteral("DEFAULT.WAV"); }

    /// The name as the store keeps it: without leading and trailing blanks,
    /// with "=" written as "-" and a leading "[" as "(", since the name is a
    /// key of "TIME", "SOUND" and "MEMO" and must read back as the same key
    /// without ever opening a section.
    static QString usableName(const QString &typed);

    /// The names of all events of a kind in the order of their entries.
    static QStringList LoadEventNames(EventKind kind);
    /// The event of that kind and name: its date (from the first entry of the
    /// kind carrying the name; none when there is none or its key is not a
    /// date), sound (default empty), time (default "6:00", a leading "#" makes
    /// it time-dependent) and message lines. Throws EConvertError when the
    /// stored number of lines is not a number.
    static Event LoadEvent(EventKind kind, const QString &name);
    /// Writes the event: its kind entry on the date, "SOUND", "TIME", the
    /// number of lines minus one ("-1" for none) and the lines. The name is
    /// stored as `usableName` gives it. Lines that an earlier save wrote
    /// beyond the new number stay; see `ReplaceEvent`.
    static void SaveEvent(EventKind kind, QDate date, const QString &name, const QString &sound,
                          const QString &timeText, bool timeDependent, const QStringList &lines);
    /// `RemoveEventByName` and then `SaveEvent`, in one operation: how the
    /// editor saves an event it already lists.
    static void ReplaceEvent(EventKind kind, QDate date, const QString &name, const QString &sound,
                             const QString &timeText, bool timeDependent, const QStringList &lines);
    /// Removes the event of that kind and name with its "TIME", "SOUND" and
    /// "MEMO" records; the kind's section is written anew under its
    /// mixed-case name. A message without lines keeps its length record.
    static void RemoveEventByName(EventKind kind, const QString &name);
    static void RemoveEventByName(ProfileFile &ini, EventKind kind, const QString &name);
    /// Removes the kind entries carrying the name; "TIME", "SOUND" and "MEMO" stay.
    static void RemoveEventEntry(EventKind kind, const QString &name);

    /// Removes the entries with exactly this key (case counts) by rewriting
    /// the section at the end of the file. The section is rewritten also when
    /// nothing matched; entries with an empty value never survive it.
    static void RemoveEntry(const QString &section, const QString &key);
    static void RemoveEntry(ProfileFile &ini, const QString &section, const QString &key);
    /// What a sequence of `RemoveEntry` calls, one per key, leaves: one
    /// rewrite for all of them. Nothing happens when `keys` is empty.
    static void RemoveEntries(ProfileFile &ini, const QString &section, const QSet<QString> &keys);

    /// Acknowledges the occurrence of a reminder from `section`: a snooze is
    /// removed, a one-time entry is removed, a weekly, monthly or yearly entry
    /// moves on by 7 days, to `nextMonthlyDate`, or by 365 days. Only the date
    /// of `occurrence` counts, except for a snooze, whose key is the moment.
    static void AdvanceOccurrence(const QString &section, const QDateTime &occurrence, const QString &name);
    /// As above, where `storedKey` is the entry's key as the file spells it
    /// (it may differ from the canonical text in a hand-edited file); an empty
    /// `storedKey` means the canonical text.
    static void AdvanceOccurrence(ProfileFile &ini, const QString &section, const QDateTime &occurrence,
                                  const QString &name, const QString &storedKey = QString());

    /// Writes the pending snooze "ERINNERN": snooze key of `due` = name.
    static void AddSnooze(const QDateTime &due, const QString &name);
    static void AddSnooze(ProfileFile &ini, const QDateTime &due, const QString &name);
    /// Removes the pending snooze of `due`.
    static void RemoveSnooze(const QDateTime &due);

    /// The message lines of an event whose length record reads `lastIndex`:
    /// "MEMO" name followed by 0 to `lastIndex`, empty where missing.
    static QStringList messageLines(const ProfileFile &ini, const QString &name, int lastIndex);

    /// Removes the "TIME" and "SOUND" records of names no event and no snooze
    /// uses, and the "MEMO" records that begin with no such name. With no
    /// event and no snooze at all nothing is removed.
    static void Reorganisation();
    static void Reorganisation(ProfileFile &ini);
};
