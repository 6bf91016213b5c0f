// What the last sync of the class list left, kept in "KLASSE.DAT" beside the data files.
#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

struct ClassListState
{
    /// The file "KLASSE.DAT" in the program directory.
    static QString path();
    static QString fileName() { return QStringLiteral("KLASSE.DAT"); }

    enum class Kind {
        Taken,   // a class todo whose text stands in the planner's homework
        Dropped, // a class todo the pupil removed in the planner; it stays out until the class changes it
        Shared,  // the pupil's own homework written to the class list (no etag yet: still to be written)
    };
    struct Entry
    {
        QString href;
        QString etag;
        QDate due;
        QString subject;
        QString text; // the class todo's text as last read or written
        Kind kind = Kind::Taken;
    };

    QString tasksUrl; // the class list the entries belong to
    QList<Entry> entries;
    QHash<QString, QString> ignoredEtags; // href -> etag of todos the planner does not take
    bool readOnly = false;                // nothing is written to this list
    bool readOnlyByRights = false;        // ... because its privileges said so (asked again each sync)

    /// Reads the file; a missing or unreadable one gives an empty state.
    static ClassListState load();
    /// Writes the file atomically. Throws EWriteError.
    void save() const;

    /// Marks the planner's homework of `subject` on `due` to be written to the
    /// class list at the next sync, in a file of its own ("KLASSE.NEU"), so
    /// that a sync running meanwhile loses nothing. Throws EWriteError.
    static void requestShare(QDate due, const QString &subject);
    /// Moves the requests made so far into the entries, as Shared without an
    /// etag; `finishRequests` forgets them once the state holding them is saved.
    void takeRequests();
    static void finishRequests();

    /// Whether the entry dialog offers "Für die Klasse": none without a class
    /// list, false when the server refused a write to it, else true.
    static std::optional<bool> shareAvailable();
};
