// A thin adapter over HomeworkStore's operations; the only sync code that reaches the homework.
#include "HomeworkStoreSource.h"

#include "calendar/CalendarExport.h"
#include "model/TimetableStore.h"
#include "model/HomeworkStore.h"
#include "model/SettingsFile.h"
#include "platform/DateText.h"
#include "platform/ProfileFile.h"

#include <algorithm>
#include <functional>

QString homeworkKey(QDate due, const QString &subject)
{
    return due.toString(Qt::ISODate) + u'|' + subject.toCaseFolded();
}

QByteArray HomeworkSource::calendarExport(const QDateTime &now) const
{
    return CalendarExport::document(now);
}

namespace {
int g_writing = 0;

// One write of the sync, as one operation of the store; while it runs, the
// saves the planner's observers hear are the sync's own.
void write(const std::function<void(ProfileFile &, HomeworkStore::Changes &)> &operation)
{
    ++g_writing;
    try {
        HomeworkStore::edit(operation);
    } catch (...) {
        --g_writing;
        throw;
    }
    --g_writing;
}

// Adds, also when not done writing the mark: a mark left behind by a removed
// homework must not come back.
void addItem(ProfileFile &ini, HomeworkStore::Changes &changes, const HomeworkItem &item)
{
    const QString due = DateText::formatLong(item.due);
    HomeworkStore::addHomework(ini, changes, due, item.subject, item.text);
    HomeworkStore::setDone(ini, changes, due, item.subject, item.done);
}
}

bool HomeworkStoreSource::writing()
{
    return g_writing > 0;
}

QList<HomeworkItem> HomeworkStoreSource::all() const
{
    QList<HomeworkItem> items;
    for (const Homework &homework : HomeworkStore::allHomework())
        items.append({homework.due, homework.subject, homework.text, homework.done});
    return items;
}

QStringList HomeworkStoreSource::subjects() const
{
    return TimetableStore::CollectSubjects();
}

void HomeworkStoreSource::add(const HomeworkItem &item)
{
    write([&](ProfileFile &ini, HomeworkStore::Changes &changes) { addItem(ini, changes, item); });
}

void HomeworkStoreSource::setText(QDate due, const QString &subject, const QString &text)
{
    write([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        HomeworkStore::writeText(ini, changes, DateText::formatLong(due), subject, text);
    });
}

void HomeworkStoreSource::setDone(QDate due, const QString &subject, bool done)
{
    write([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        HomeworkStore::setDone(ini, changes, DateText::formatLong(due), subject, done);
    });
}

void HomeworkStoreSource::remove(QDate due, const QString &subject)
{
    write([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        HomeworkStore::removeHomework(ini, changes, DateText::formatLong(due), subject);
    });
}

void HomeworkStoreSource::move(QDate from, const QString &subject, QDate to)
{
    // One write: a kill cannot leave the homework on both dates or on none.
    write([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        const QString fromText = DateText::formatLong(from);
        const auto same = [&](const Homework &homework) { return homework.subject.compare(subject, Qt::CaseInsensitive) == 0; };
        const QList<Homework> there = HomeworkStore::homeworkOn(ini, from);
        const auto found = std::find_if(there.begin(), there.end(), same);
        const Homework homework = found != there.end() ? *found : Homework{fromText, from, subject, {}, false};
        HomeworkStore::removeHomework(ini, changes, fromText, subject);
        addItem(ini, changes, {to, subject, homework.text, homework.done});
    });
}

QString HomeworkStoreSource::keptText(const QString &text) const
{
    ProfileFile probe = ProfileFile::fromBytes({});
    probe.writeString(u"x", u"x", text);
    return ProfileFile::fromBytes(probe.toBytes()).readString(u"x", u"x", QString());
}
