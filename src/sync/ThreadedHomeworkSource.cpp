// Each call of the engine, run through SyncThread::runHere.
#include "ThreadedHomeworkSource.h"

#include "SyncThread.h"

QList<HomeworkItem> ThreadedHomeworkSource::all() const
{
    QList<HomeworkItem> items;
    m_thread.runHere([&] { items = m_store.all(); });
    return items;
}

QStringList ThreadedHomeworkSource::subjects() const
{
    QStringList subjects;
    m_thread.runHere([&] { subjects = m_store.subjects(); });
    return subjects;
}

void ThreadedHomeworkSource::add(const HomeworkItem &item)
{
    m_thread.runHere([&] { m_store.add(item); });
}

void ThreadedHomeworkSource::setText(QDate due, const QString &subject, const QString &text)
{
    m_thread.runHere([&] { m_store.setText(due, subject, text); });
}

void ThreadedHomeworkSource::setDone(QDate due, const QString &subject, bool done)
{
    m_thread.runHere([&] { m_store.setDone(due, subject, done); });
}

void ThreadedHomeworkSource::remove(QDate due, const QString &subject)
{
    m_thread.runHere([&] { m_store.remove(due, subject); });
}

void ThreadedHomeworkSource::move(QDate from, const QString &subject, QDate to)
{
    m_thread.runHere([&] { m_store.move(from, subject, to); });
}

QByteArray ThreadedHomeworkSource::calendarExport(const QDateTime &now) const
{
    QByteArray document;
    m_thread.runHere([&] { document = m_store.calendarExport(now); });
    return document;
}
