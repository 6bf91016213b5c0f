// What the synchronisation needs of the planner's homework, kept apart from where it is stored.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

/// One homework as the synchronisation sees it.
struct HomeworkItem
{
    QDate due;
    QString subject;
    QString text;
    bool done = false;
    friend bool operator==(const HomeworkItem &, const HomeworkItem &) = default;
};

/// The key of a homework: its due date and its subject, letter case aside,
/// since the planner keeps one homework per subject and due date.
QString homeworkKey(QDate due, const QString &subject);
inline QString homeworkKey(const HomeworkItem &item) { return homeworkKey(item.due, item.subject); }

class HomeworkSource
{
public:
    virtual ~HomeworkSource() = default;
    /// Every homework with a readable due date.
    virtual QList<HomeworkItem> all() const = 0;
    /// The subjects the timetable names (for todos made elsewhere).
    virtual QStringList subjects() const = 0;
    virtual void add(const HomeworkItem &item) = 0;
    virtual void setText(QDate due, const QString &subject, const QString &text) = 0;
    virtual void setDone(QDate due, const QString &subject, bool done) = 0;
    virtual void remove(QDate due, const QString &subject) = 0;
    /// Moves a homework to another due date, keeping its text and mark.
    virtual void move(QDate from, const QString &subject, QDate to) = 0;
    /// A text as the planner keeps it, which may have lost characters its file cannot hold.
    virtual QString keptText(const QString &text) const { return text; }
    /// The planner's dates as the calendar export writes them at `now`
    /// (by default read here, in the caller's thread).
    virtual QByteArray calendarExport(const QDateTime &now) const;
};
