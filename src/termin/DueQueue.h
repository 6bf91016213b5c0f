// The reminders waiting to be shown in this run, in the order they were queued.
#pragma once

#include "DueEntry.h"

#include <QList>

/// At most 255 entries. The queue never wraps: an entry that finds it full is
/// not queued and stays in the settings file for the next start.
class DueQueue final
{
public:
    static constexpr qsizetype Capacity = 255;

    void clear() { m_entries.clear(); }
    /// Appends the entry; false when the queue is full and the entry was left out.
    bool append(DueEntry entry);
    /// Removes the entry; the entries after it move up one place.
    void removeAt(qsizetype index);

    qsizetype count() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    bool isFull() const { return m_entries.size() >= Capacity; }
    const DueEntry &at(qsizetype index) const { return m_entries.at(index); }
    const QList<DueEntry> &entries() const { return m_entries; }

    /// The index of the first entry whose due moment lies strictly before
    /// `now`, or -1 when none has come yet.
    qsizetype firstDueBefore(const QDateTime &now) const;

private:
    QList<DueEntry> m_entries;
};
