// What the last synchronisation left on both sides, kept in a file beside the data files.
#pragma once

#include "SyncMerge.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

struct SyncState
{
    /// The file "CALDAV.DAT" in the program directory.
    static QString path();
    static QString fileName() { return QStringLiteral("CALDAV.DAT"); }

    struct EventRecord
    {
        QString href;
        QString etag;
        QByteArray fingerprint;
    };

    /// A todo's title and note as the server held them after the last sync,
    /// which tell what the phone changed since (the planner's copy may have lost characters).
    struct TodoText
    {
        QString summary;
        QString note;
    };

    QString tasksUrl;  // the collection the todo state belongs to
    QString syncToken; // empty: list the etags
    bool writtenSinceToken = false; // the last sync wrote todos after it got the token
    QSet<QString> writtenHrefs;     // which ones; empty with the flag set: not known (an older file)
    QList<SyncMerge::Record> todos;
    QHash<QString, TodoText> texts;       // href -> title and note of a todo in `todos`
    QHash<QString, QString> ignoredEtags; // href -> etag of todos the planner does not take
    QSet<QString> unreadable;             // hrefs of todos that could not be read: read again next time
    QString eventsUrl;
    QHash<QString, EventRecord> events; // uid -> what the planner last wrote
    QDateTime lastSync;                 // the end of the last sync that went through
    int skipped = 0;                    // todos left on the server at that sync

    /// Reads the file; a missing or unreadable one gives an empty state, so
    /// the next sync compares both sides in full, which doubles nothing.
    static SyncState load();
    /// Writes the file atomically. Throws EWriteError.
    void save() const;
};
