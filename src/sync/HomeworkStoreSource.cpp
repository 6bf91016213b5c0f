// A thin adapter over HomeworkStore's operations; the only sync code that reaches the homework.
#include "HomeworkStoreSource.h"

#include "Options/TimetableStore.h"
#include "main2/HomeworkStore.h"
#include "platform/DateText.h"

QString homeworkKey(QDate due, const QString &subject)
{
    return due.toString(Qt::ISODate) + u'|' + subject.toCaseFolded();
}

QList<HomeworkItem> HomeworkStoreSource::all() const
{
    QList<HomeworkItem> items;
    for (const QString &dueText : HomeworkStore::sortedDueDates()) {
        const std::optional<QDate> parsed = DateText::tryParse(dueText);
        if (!parsed)
            continue;
        const QDate due = *parsed;
        for (const QString &listText : HomeworkStore::homeworkListTexts(due)) {
            const QString subject = HomeworkStore::subjectOfListText(listText);
            const QString text = HomeworkStore::readText(DateText::formatLong(due), subject);
            items.append({due, subject, text, HomeworkStore::isDoneText(listText)});
        }
    }
    return items;
}

QStringList HomeworkStoreSource::subjects() const
{
    return TimetableStore::CollectSubjects();
}

void HomeworkStoreSource::add(const HomeworkItem &item)
{
    const QString due = DateText::formatLong(item.due);
    HomeworkStore::addHomework(due, item.subject, item.text);
    // Also when not done: a mark left behind by a removed homework must not come back.
    HomeworkStore::setDone(due, item.subject, item.done);
}

void HomeworkStoreSource::setText(QDate due, const QString &subject, const QString &text)
{
    HomeworkStore::writeText(DateText::formatLong(due), subject, text);
}

void HomeworkStoreSource::setDone(QDate due, const QString &subject, bool done)
{
    HomeworkStore::setDone(DateText::formatLong(due), subject, done);
}

void HomeworkStoreSource::remove(QDate due, const QString &subject)
{
    const QString dueText = DateText::formatLong(due);
    HomeworkStore::deleteHomework(dueText, subject);
    if (HomeworkStore::homeworkListTexts(due).isEmpty())
        HomeworkStore::deleteDueDate(dueText);
}

void HomeworkStoreSource::move(QDate from, const QString &subject, QDate to)
{
    const QString fromText = DateText::formatLong(from);
    const bool done = HomeworkStore::homeworkListTexts(from).contains(HomeworkStore::DoneItemText(subject));
    const QString text = HomeworkStore::readText(fromText, subject);
    add({to, subject, text, done});
    remove(from, subject);
}
