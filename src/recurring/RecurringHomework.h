// Homework that recurs with every lesson of a subject: the rules in "WIEDERHOLUNG" and entering their homework.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

class RecurringHomework final
{
public:
    /// One rule: its number in the section, the subject exactly as the
    /// timetable holds it, and the homework text.
    struct Rule
    {
        int number = 0;
        QString subject;
        QString text;
        bool operator==(const Rule &) const = default;
    };

    /// The section of the settings file that holds the rules.
    static QString sectionName();

    /// The rules in the order they were made.
    static QList<Rule> rules();
    /// Stores a rule and returns its number. A rule with the same subject and
    /// text that exists already is not stored twice; its number is returned.
    static int addRule(const QString &subject, const QString &text);
    /// Ends a rule; the homework it entered stays. An unknown number does nothing.
    static void endRule(int number);

    /// Makes every rule's homework stand on the subject's next lesson after
    /// today, skipping lessons inside a holiday period, and returns how many
    /// homework items it entered or extended. A subject that already has
    /// homework on that day keeps it, unless a rule of the same subject
    /// entered it in this very run: then the text is appended after "; ".
    /// Each rule handles a date once, so homework deleted by the pupil is not
    /// entered again. A subject no longer in the timetable makes its rule do
    /// nothing. The settings file is written only when something is due.
    static int apply();
};
