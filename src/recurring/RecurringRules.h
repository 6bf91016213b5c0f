// The rules of recurring homework in the section "WIEDERHOLUNG".
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class ProfileFile;

class RecurringRules
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
    static QList<Rule> rules(const ProfileFile &ini);
    static QList<Rule> rules();
    /// Stores a rule and returns its number. A rule with the same subject and
    /// text that exists already is not stored twice; its number is returned.
    static int addRule(const QString &subject, const QString &text);
    /// Ends a rule. An unknown number does nothing.
    static void endRule(int number);

    /// The last lesson date the rule has handled; none when it has handled none.
    static std::optional<QDate> handledDate(const ProfileFile &ini, int number);
    static void setHandled(ProfileFile &ini, int number, const QString &dueDate);
};
