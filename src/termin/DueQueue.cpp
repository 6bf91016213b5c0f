// The reminders waiting to be shown in this run.
#include "DueQueue.h"

bool DueQueue::append(DueEntry entry)
{
    if (isFull())
        return false;
    m_entries.append(std::move(entry));
    return true;
}

void DueQueue::removeAt(qsizetype index)
{
    if (index >= 0 && index < m_entries.size())
        m_entries.removeAt(index);
}

qsizetype DueQueue::firstDueBefore(const QDateTime &now) const
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].due < now)
            return i;
    }
    return -1;
}
