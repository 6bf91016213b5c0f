// The rules by which the class's todos enter the planner's homework: pure apart from the homework they change.
#pragma once

#include "ClassListState.h"
#include "sync/HomeworkSource.h"

#include <QDate>
#include <QList>
#include <QString>

namespace ClassListMerge {

/// The mark before a text that came from the class: "(Klasse) ". The
/// homework lists show it as part of the text, so their layout stays.
QString marked(const QString &classText);
/// The planner's text with the class's text added once: alone when there is
/// none, else behind the pupil's own text after " | ". A text that holds the
/// class text already (marked or not) stays as it is.
QString withClassText(const QString &local, const QString &classText);
/// The planner's text without the marked class text (and its separator); the
/// text as it is when the pupil changed that part.
QString withoutClassText(const QString &local, const QString &classText);
/// The pupil's own part of a text: what stands before the first marked class text.
QString ownText(const QString &local);

/// A todo of the class list as read now (its done mark is never taken: ticks stay private).
struct ClassTodo
{
    QString href;
    QString etag;
    HomeworkItem item;
};

/// Brings the planner's homework up to the class list's todos due after
/// `today` and returns the entries to keep. New and changed class todos are
/// added to the homework of their subject and date, never replacing the
/// pupil's text; an unchanged one the pupil removed (its text no longer in
/// the homework) becomes Dropped and stays out; a todo gone from the list
/// takes its text out again. The pupil's Shared todos changed by others merge
/// three-way with the pupil's own text. Shared entries not yet written are kept.
QList<ClassListState::Entry> take(const QList<ClassListState::Entry> &entries, const QList<ClassTodo> &todos, HomeworkSource &homework,
                                  QDate today);

}
