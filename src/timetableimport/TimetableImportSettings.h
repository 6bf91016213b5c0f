// The school's bell times and the subject names of the feed's short forms, in the section "STUNDENPLANIMPORT".
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QTime>

class ProfileFile;

class TimetableImportSettings final
{
public:
    /// The most bell times: one for each lesson of the timetable.
    static constexpr int MostBellTimes = 10;

    struct Values
    {
        QList<QTime> bellTimes;              // "Beginn1" to "Beginn10": lesson n begins at bellTimes[n - 1]
        QHash<QString, QString> subjectNames; // "Kuerzel<n>" and "Fach<n>": "M" -> "Mathematik"
        bool operator==(const Values &) const = default;
    };

    /// Bell times are read up to the first that is missing or no time; short
    /// forms up to the first number without one.
    static Values read(const ProfileFile &ini);
    static Values read();
    /// Replaces the section; the other sections stay.
    static void write(ProfileFile &ini, const Values &values);

    /// The subject a feed's SUMMARY stands for: its remembered name, or the text itself.
    static QString subjectOf(const Values &values, const QString &summary);
};
