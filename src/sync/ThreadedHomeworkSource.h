// The planner's homework for a sync on its own thread: every call runs in the thread of the stores.
#pragma once

#include "HomeworkStoreSource.h"

class SyncThread;

/// Forwards each call to HomeworkStoreSource in the SyncThread's owner
/// thread and waits for it, so the engine's reads and writes stay the
/// store's operations, one at a time, between the pupil's own.
class ThreadedHomeworkSource final : public HomeworkSource
{
public:
    explicit ThreadedHomeworkSource(SyncThread &thread) : m_thread(thread) {}

    QList<HomeworkItem> all() const override;
    QStringList subjects() const override;
    void add(const HomeworkItem &item) override;
    void setText(QDate due, const QString &subject, const QString &text) override;
    void setDone(QDate due, const QString &subject, bool done) override;
    void remove(QDate due, const QString &subject) override;
    void move(QDate from, const QString &subject, QDate to) override;
    QByteArray calendarExport(const QDateTime &now) const override;

private:
    SyncThread &m_thread;
    HomeworkStoreSource m_store;
};
