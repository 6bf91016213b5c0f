// Date alarms "ALARM" and their sounds "SOUNDS" in the settings file.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class ProfileFile;

class AlarmStore final
{
public:
    /// An alarm whose date has come, as the start-up check announces it.
    struct DueAlarm
    {
        QString key;     // "dd.mm.yyyy" as stored
        QString sound;   // "SOUNDS" value, "STANDARD.WAV" when absent
        QString message; // "ALARM" value
        bool operator==(const DueAlarm &) const = default;
    };

    static QString alarmSection() { return QStringLiteral("ALARM"); }
    static QString soundSection() { return QStringLiteral("SOUNDS"); }
    /// The sound of an alarm without a "SOUNDS" record.
    static QString defaultSound() { return QStringLiteral("STANDARD.WAV"); }
    /// The message of a newly created alarm.
    static QString newAlarmMessage() { return QStringLiteral("Alarm"); }
    /// The question of the start-up check: the message, a line break, then
    /// "Wollen Sie diesen Eintrag nun löschen?".
    static QString questionText(const QString &message);

    /// Every alarm by date, earliest first (stable): its date and message; a
    /// key that is no date is left out, a key written twice counts once.
    static QList<std::pair<QDate, QString>> alarms(const ProfileFile &ini);

    /// The alarms dated today or earlier, in the order of "ALARM". Keys that
    /// do not read as dates are skipped.
    static QList<DueAlarm> dueAlarms();

    /// Sorts "ALARM" by date, earliest first and stable, and rewrites it at the
    /// end of the file, each key with its own value (empty ones too). Keys
    /// that do not read as dates keep their places; the others are sorted
    /// among the remaining places. Returns the keys in their new file order.
    static QStringList SortAlarms();
    static QStringList SortAlarms(ProfileFile &ini);

    /// The "ALARM" value of a key, empty when absent.
    static QString message(const QString &key);
    static void saveMessage(const QString &key, const QString &message);
    /// A new alarm on the date the calendar picker returned ("d.m.yyyy" or
    /// "dd.mm.yyyy"), with the message "Alarm"; an alarm already on that date
    /// gets it again. Returns its key "dd.mm.yyyy". Throws EConvertError when
    /// the text is not a date.
    static QString newAlarm(const QString &pickedDate);
    /// What `addAlarm` did: the alarm's key "dd.mm.yyyy", and whether the
    /// alarm is new rather than one that already stood on that date.
    struct AddedAlarm
    {
        QString key;
        bool created = false;
    };
    /// A new alarm on the date the calendar picker returned, with the message
    /// "Alarm". An alarm already on that date is left as it is, so that its
    /// message is not lost. Throws EConvertError when the text is not a date.
    static AddedAlarm addAlarm(const QString &pickedDate);
    /// Removes the alarm of the key; the other alarms stay with their values,
    /// empty ones too, and in their order. Its "SOUNDS" entry stays.
    static void deleteAlarm(const QString &key);

    /// The "SOUNDS" value of a key, "STANDARD.WAV" when absent.
    static QString sound(const QString &key);
    static void setSound(const QString &key, const QString &file);
};
