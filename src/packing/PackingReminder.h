// The evening reminder before a school day: when it is due and what it says.
#pragma once

#include "PackingSettings.h"

#include <QDateTime>
#include <QString>

class PackingReminder final
{
public:
    /// The summary line of the notification.
    static QString summary() { return QStringLiteral("Ranzen packen"); }

    /// Whether a day lies in one of the holiday periods, both bounds included.
    static bool isHoliday(QDate day);
    /// Monday to Friday and not inside a holiday period.
    static bool isSchoolDay(QDate day);

    /// Whether the reminder is to be shown now: the option is on, its time has
    /// come today, it was not shown today yet, and tomorrow is a school day.
    static bool isDue(QDate today, QTime now, const PackingSettings::Options &options);
    /// The first moment from `now` on at which the reminder is due: `now` itself
    /// when it is due already, else the time of the next evening before a school
    /// day. Invalid when the option is off or no such evening comes within a year.
    static QDateTime nextMoment(const QDateTime &now, const PackingSettings::Options &options);

    /// What tomorrow asks for: "Morgen, Dienstag: Mathematik, Deutsch" (each
    /// subject once, in lesson order, without empty and free lessons) and, when
    /// homework is due tomorrow and not marked done, a second line
    /// "Hausaufgaben: Mathematik (S. 45), Englisch". Empty when tomorrow has
    /// neither lessons nor open homework.
    static QString text(QDate today);
};
