// One sync of the class's shared task list with the planner's homework, run after the own list.
#pragma once

#include "ClassListMerge.h"
#include "ClassListSettings.h"
#include "sync/CalDavClient.h"

class ClassListSync final
{
public:
    struct Report
    {
        int taken = 0;   // class todos read anew
        int written = 0; // the pupil's todos written to the class list
    };

    ClassListSync(CalDavClient &client, HomeworkSource &homework);

    /// Reads the class list, brings the planner's homework up to it and writes
    /// the pupil's shared homework: a new one with If-None-Match under a name
    /// given by its subject and date (so two planners meet on one todo and
    /// merge after 412), a changed one with If-Match. Nothing is written to a
    /// list the server refused a write to; the refusal is thrown once as
    /// CalDavError and then kept quiet. The state is saved after the planner
    /// is changed and after each write, so a run cut off doubles nothing.
    Report run(const ClassListSettings::Options &options);

    /// The uid and object name of the pupil's todo for a subject and date.
    static QString uidFor(QDate due, const QString &subject);
    static QString nameFor(QDate due, const QString &subject);

private:
    QList<ClassListMerge::ClassTodo> pull(const QUrl &collection);
    void push(const QUrl &collection);
    bool pushOne(const QUrl &collection, ClassListState::Entry &entry);

    CalDavClient &m_client;
    HomeworkSource &m_homework;
    ClassListState m_state;
    QStringList m_subjects;
    Report m_report;
};
