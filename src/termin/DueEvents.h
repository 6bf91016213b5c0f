// What the reminder window does without its widgets: the start-up scan, the
// content of a reminder, snoozing and acknowledging.
#pragma once

#include "DueQueue.h"

#include <QStringList>

#include <optional>

class ProfileFile;

class DueEvents final
{
public:
    /// What the reminder window shows and plays for an event name.
    struct Reminder
    {
        QString sound;     // the "SOUND" value as stored, "DEFAULT.WAV" when absent
        QStringList lines; // the message lines, none for a length record below 0
    };

    /// Empties the queue and fills it with every occurrence whose date has
    /// come: first the snoozes of "ERINNERN" (key "d.m.yyyy h:m:s"), then the
    /// entries of "TERMIN", "WEEKLY", "MONTHLY" and "YEARLY", each section in
    /// file order. An event is due from its "TIME" when that reads "#" and a
    /// time of day, else from the start of its date (also for "#24:00").
    /// Keys that do not read as dates, and snooze keys without a blank or
    /// without a readable time, are skipped. Once the queue is full the rest
    /// stays for the next start.
    static void ScanDueEvents(DueQueue &queue);
    static void ScanDueEvents(const ProfileFile &ini, QDate today, DueQueue &queue);

    /// The sound and message of an event: "SOUND" (default "DEFAULT.WAV") and
    /// the "MEMO" lines 0..n, n read as a number with default 0.
    static Reminder LoadReminder(const QString &name);

    /// The delays the window offers: "0:05", "0:15", "0:30", "1:00", "2:00", "5:00".
    static const QStringList &SnoozeDelays();
    /// A delay text read as hours:minutes, in seconds; none when it does not read.
    static std::optional<int> snoozeDelay(QStringView text);

    /// "&Erinnern" for the shown entry: writes the snooze due at now plus the
    /// delay (whole seconds) to "ERINNERN" and queues it. A full queue leaves
    /// it to the next start. False, with nothing written, when the delay does
    /// not read.
    static bool Snooze(DueQueue &queue, qsizetype shown, QStringView delayText);

    /// What closing the reminder means for the shown entry: it leaves the
    /// queue, then its occurrence is acknowledged (`AdvanceOccurrence`). The
    /// entry leaves the queue first, so a failed write does not show it again
    /// in this run.
    static void Acknowledge(DueQueue &queue, qsizetype shown);
};
