// Homework by due date in the settings file: the index "Dates" and one section per due date.
#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

#include <functional>

class ProfileFile;

/// One homework as the settings file holds it.
struct Homework
{
    QString dueDate; // its section, "dd.mm.yyyy" as listed in "Dates"
    QDate due;
    QString subject;
    QString text;
    bool done = false;
    bool operator==(const Homework &) const = default;
};

/// What one write did to the homework: told to the change observers.
struct HomeworkChange
{
    enum class Kind { Entered, Changed, Deleted, Pruned };
    Kind kind;
    QString dueDate;
    QString subject; // empty when the whole due date went
    bool operator==(const HomeworkChange &) const = default;
};

class HomeworkStore final
{
public:
    using Changes = QList<HomeworkChange>;

    /// Adds (or replaces) the homework of a subject on a due date ("dd.mm.yyyy"),
    /// copying the subject's application from "DEFAULT".
    static void addHomework(const QString &dueDate, const QString &subject, const QString &text);
    /// The same inside `edit`, recording the change; with `inDateOrder` a due
    /// date new to "Dates" is listed where the pruning would sort it, not last.
    static void addHomework(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject,
                            const QString &text, bool inDateOrder = false);
    /// Replaces a homework's text inside `edit`, recording the change.
    static void writeText(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject,
                          const QString &text);
    /// Marks a homework done or open inside `edit`, recording the change.
    static void setDone(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject, bool done);
    /// Removes a homework inside `edit` with its done mark and application,
    /// and its due date when no homework is left there, recording the change.
    static void removeHomework(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject);
    /// Runs `operation` on the open settings file, writes the file back, and
    /// then tells the observers of every change the operation recorded (also
    /// when it failed midway, since what it wrote before stays written).
    static void edit(const std::function<void(ProfileFile &, Changes &)> &operation);

    /// Every homework of the due dates in "Dates" that read as dates: by date,
    /// earliest first (stable), then the subjects in file order; a date or a
    /// subject written twice (letter case aside) counts once.
    static QList<Homework> allHomework(const ProfileFile &ini);
    static QList<Homework> allHomework();
    /// The homework of one day, subjects in file order, when "Dates" lists it
    /// as "dd.mm.yyyy", as the main window lists it.
    static QList<Homework> homeworkOn(const ProfileFile &ini, QDate day);
    static QList<Homework> homeworkOn(QDate day);
    /// The text of a homework; `missing` when the subject has none on that date.
    static QString readText(const ProfileFile &ini, const QString &dueDate, const QString &subject, const QString &missing);

    /// Calls `observer` once for each change of the homework made through
    /// this store, after the settings file holds it. Returns an id for
    /// `removeChangeObserver`.
    static int addChangeObserver(std::function<void(const HomeworkChange &)> observer);
    static void removeChangeObserver(int id);

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

private:
    static QStringList pruneDates(ProfileFile &ini, Changes &changes);
};
