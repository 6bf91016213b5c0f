// A thin adapter over HomeworkStore's operations; the only sync code that reaches the homework.
#include "HomeworkStoreSource.h"

#include "Options/TimetableStore.h"
#include "main2/HomeworkStore.h"
#include "main2/SettingsFile.h"
#include "platform/DateText.h"

QString homeworkKey(QDate due, const QString &subject)
{
    return due.toString(Qt::ISODate) + u'|' + subject.toCaseFolded();
}

// All homework in one read of the settings file. HomeworkStore has no such
// read yet: listing it date by date reads the whole file once a date.
// Same rules as HomeworkStore: the keys of "Dates" that read as dates, the
// homework keys of each section, the done mark under "<subject>2".
QList<HomeworkItem> readAllHomework()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        QList<QDate> dates;
        for (const QString &key : ini.keys(u"Dates")) {
            if (const std::optional<QDate> due = DateText::tryParse(key))
                dates.append(*due);
        }
        std::stable_sort(dates.begin(), dates.end());
        dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
        QList<HomeworkItem> items;
        for (const QDate &date : dates) {
            const std::optional<QDate> due = date;
            const QString dueText = DateText::formatLong(date);
            for (const QString &subject : ini.keys(dueText)) {
                if (HomeworkStore::isHomeworkKey(subject))
                    items.append({*due, subject, ini.readString(dueText, subject, QString()), ini.readBool(dueText, QString(subject + u'2'), false)});
            }
        }
        return items;
    });
}

QList<HomeworkItem> HomeworkStoreSource::all() const
{
    return readAllHomework();
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
