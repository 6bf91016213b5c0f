// The grade files "NOTEN.DAT" (the tree's texts and shape) and "NOTEN.NOT" (the records).
#pragma once

#include "GradeTree.h"

#include <QString>
#include <QStringList>

#include <functional>

class GradeStore final
{
public:
    /// Where the tree of `LoadGrades` came from.
    enum class Source { File, Timetable };

    static const QString &TreeFileName();   // "NOTEN.DAT"
    static const QString &RecordFileName(); // "NOTEN.NOT"
    /// "Kurs-/Klassenarbeiten", "andere Leistungsnachweise": the categories of a built subject.
    static const QStringList &CategoryNames();

    /// Replaces `tree` by the grade files, or by `BuildGradeTree` when
    /// "NOTEN.DAT" does not exist ("NOTEN.NOT" is then not read). Nodes read
    /// from the file show image 0. A save that a crash cut off is first
    /// completed or undone, so the two files always belong together.
    ///
    /// Failures leave in `tree` what was read before them:
    /// - a line more than one level deeper than the previous node, or deeper
    ///   than level 2, throws GradeFileError naming the level and the line's text;
    ///   the nodes before it keep their records, since they are the first
    ///   ones in pre-order;
    /// - a missing or unreadable "NOTEN.NOT", or one holding fewer records than
    ///   the tree has categories and grades, throws EInOutError; the nodes
    ///   after the last whole record have no record;
    /// - a cut-off save that cannot be completed throws EWriteError, with
    ///   `tree` empty.
    /// After any failure `tree` is marked incomplete; after a whole reading,
    /// or when it was built, it is complete.
    static Source LoadGrades(GradeTree &tree);

    /// The subjects of the timetable in German collation, each with the two
    /// categories of weight 1; every node shows image 1. Nothing is written.
    static GradeTree BuildGradeTree();

    /// Writes both files anew as one atomic replacement (a crash leaves both
    /// old or both new once the next `LoadGrades` has run), in pre-order: "NOTEN.DAT" as
    /// Windows-1252 lines of level TABs and text ended by CR LF, "NOTEN.NOT"
    /// with two bytes (value, weight) for every category and grade. A node
    /// without a record is written as value 0 with weight 0 for a grade
    /// (its value is unknown) and the weight of a new category for a category.
    /// Throws EWriteError.
    static void SaveGrades(const GradeTree &tree);

    /// Called after each `SaveGrades` that wrote both files, so that views of
    /// the grades can follow. An observer must not throw and should only note
    /// the change. Returns an id for `removeSaveObserver`.
    using SaveObserver = std::function<void()>;
    static int addSaveObserver(SaveObserver observer);
    static void removeSaveObserver(int id);
    /// Tells the observers that the grade files were replaced by other means
    /// than `SaveGrades` (a restore of a backup), as a save would.
    static void announceReplaced();

    /// "NOTEN.DAT.bak", "NOTEN.NOT.bak": where `ApplyGrades` keeps the files
    /// that an incomplete tree replaces.
    static const QString &TreeBackupName();
    static const QString &RecordBackupName();

    /// Saves the working copy by `SaveGrades`. An incomplete tree holds less
    /// than the files it replaces, so the two files are first kept, each as
    /// one atomic replacement, as their backups (the backup of a file that
    /// does not exist is removed, so the backups always belong together);
    /// once saved, the files hold just the tree, and it is complete. A
    /// complete tree leaves the backups alone. Throws EInOutError when a file
    /// to be kept cannot be read, and EWriteError; the grade files are then
    /// unchanged and the tree stays incomplete.
    static void ApplyGrades(GradeTree &tree);

    /// A node text as "NOTEN.DAT" keeps it: tabs and line breaks become blanks
    /// and leading blanks are dropped, since either would change the level of
    /// the line when it is read back.
    static QString storedText(const QString &text);
};
