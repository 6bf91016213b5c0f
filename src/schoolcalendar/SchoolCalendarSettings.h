// The school's calendar subscriptions in the section "SCHULKALENDER" of the settings file.
#pragma once

#include <QList>
#include <QString>

class SchoolCalendarSettings final
{
public:
    struct Subscription
    {
        QString name;    // "Name<n>": what the pupil calls it ("WebUntis")
        QString address; // "Adresse<n>": the address as entered
        friend bool operator==(const Subscription &, const Subscription &) = default;
    };

    /// Reads "Name1"/"Adresse1", "Name2"/"Adresse2", ... up to the first
    /// number without an address; entries with an empty address are skipped.
    static QList<Subscription> load();
    /// Replaces the section with `subscriptions`, numbered from 1; the other
    /// sections stay. Throws EWriteError when the settings file cannot be written.
    static void save(const QList<Subscription> &subscriptions);
};
