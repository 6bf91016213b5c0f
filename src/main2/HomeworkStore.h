// Homework by due date in the settings file: the index "Dates" and one section per due date.
#pragma once

#include <QDate>
#include <QStringList>

class ProfileFile;

class HomeworkStore final
{
public:
    /// Adds (or replaces) the homework of a subject on a due date ("dd.mm.yyyy"),
    /// copying the subject's application from "DEFAULT".
    static void addHomework(const QString &dueDate, const QString &subject, const QString &text);

    /// The keys of "Dates" in file order.
    static QStringList dueDates();
    /// The keys of "Dates" that read as dates, ordered by date, earliest first
    /// (stable). A key that is no date is left out.
    static QStringList sortedDueDates();

    /// The list texts of a date's homework in file order: the subject, or its
    /// `DoneItemText` when marked done. Keys that are no homework are left out.
    static QStringList homeworkListTexts(QDate dueDate);

    static QString readText(const QString &dueDate, const QString &subject);
    static void writeText(const QString &dueDate, const QString &subject, const QString &text);
    /// Marks the homework done ("1") or takes the mark back ("0").
    static void setDone(const QString &dueDate, const QString &subject, bool done);

    /// Removes the date from "Dates" and erases its section with all its entries.
    static void deleteDueDate(const QString &dueDate);
    /// Removes one homework text; its done and application entries stay.
    static void deleteHomework(const QString &dueDate, const QString &subject);

    /// Drops every due date up to and including today (erasing its section)
    /// and rewrites "Dates" in date order. A key that is no date (a hand-edited
    /// file) is kept with its value after the dates and returned, so that the
    /// caller can report it; nothing else is done with it.
    static QStringList PruneHomeworkDates();

    /// Removes the entries with exactly this key (case counts) by rewriting the
    /// section; entries with an empty value do not survive the rewrite.
    static void RemoveSectionEntry(const QString &fileName, const QString &section, const QString &key);
    static void RemoveSectionEntry(ProfileFile &ini, const QString &section, const QString &key);

    /// A key that is a homework subject: not ending in "2", not containing "Exec".
    static bool isHomeworkKey(const QString &key);
    /// The list text of a homework marked done: the subject padded to 15 characters, then "E".
    static QString DoneItemText(const QString &subject);
    static bool isDoneText(const QString &listText) { return listText.endsWith(u'E'); }
    /// The subject of a list text: without a final "E" and the blanks before it.
    static QString subjectOfListText(const QString &listText);
};
