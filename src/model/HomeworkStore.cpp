// Homework by due date in the settings file.
#include "HomeworkStore.h"

#include "SettingsFile.h"
#include "AppStore.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"
#include "platform/SaveObservers.h"

#include <QSet>

#include <algorithm>

namespace {
const QString kDates = QStringLiteral("Dates");

SaveObservers<const HomeworkChange &> &observers()
{
    static SaveObservers<const HomeworkChange &> list;
    return list;
}

void announce(const HomeworkStore::Changes &changes)
{
    for (const HomeworkChange &change : changes)
        observers().notify(change);
}

// Runs one write on the settings file and announces what it changed.
void change(HomeworkChange::Kind kind, const QString &dueDate, const QString &subject,
            const std::function<void(ProfileFile &)> &write)
{
    HomeworkStore::edit([&](ProfileFile &ini, HomeworkStore::Changes &changes) {
        write(ini);
        changes.append({kind, dueDate, subject});
    });
}

QString doneKey(const QString &subject)
{
    return subject + u'2';
}

bool onlyOneSection(const ProfileFile &ini, const QString &name)
{
    const QStringList sections = ini.sections();
    return std::count_if(sections.begin(), sections.end(),
                         [&](const QString &section) { return section.compare(name, Qt::CaseInsensitive) == 0; }) == 1;
}

// The keys that read as dates, ordered by date (stable); a hand-edited key
// that is no date is left out.
QStringList sortByDate(const QStringList &keys)
{
    QStringList sorted;
    for (auto &entry : DateText::sortedDates(keys, false))
        sorted.append(std::move(entry.first));
    return sorted;
}

// Lists a due date in "Dates" in date order, where the pruning keeps it.
void listInDateOrder(ProfileFile &ini, const QString &dueDate)
{
    const QStringList keys = ini.keys(kDates);
    const auto date = DateText::tryParse(dueDate);
    const auto later = std::find_if(keys.begin(), keys.end(), [&](const QString &k) {
        const auto other = DateText::tryParse(k);
        return date && other && *other > *date;
    });
    if (keys.contains(dueDate, Qt::CaseInsensitive) || later == keys.end()) {
        ini.writeString(kDates, dueDate, u"1");
        return;
    }
    std::vector<std::pair<QString, QString>> entries;
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it == later)
            entries.emplace_back(dueDate, QStringLiteral("1"));
        entries.emplace_back(*it, ini.readString(kDates, *it, QString()));
    }
    ini.eraseSection(kDates);
    for (const auto &[k, value] : entries)
        ini.writeString(kDates, k, value);
}

// The homework subjects of a date section in file order; each once, letter case aside, when `once`.
QList<Homework> sectionHomework(const ProfileFile &ini, const QString &section, QDate due, bool once)
{
    QList<Homework> items;
    QSet<QString> seen;
    for (const QString &subject : ini.keys(section)) {
        if (!HomeworkStore::isHomeworkKey(subject) || (once && seen.contains(subject.toCaseFolded())))
            continue;
        seen.insert(subject.toCaseFolded());
        items.append({section, due, subject, ini.readString(section, subject, QString()),
                      ini.readBool(section, doneKey(subject), false)});
    }
    return items;
}
}

void HomeworkStore::addHomework(const QString &dueDate, const QString &subject, const QString &text)
{
    edit([&](ProfileFile &ini, Changes &changes) { addHomework(ini, changes, dueDate, subject, text); });
}

void HomeworkStore::addHomework(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject,
                                const QString &text, bool inDateOrder)
{
    if (inDateOrder)
        listInDateOrder(ini, dueDate);
    else
        ini.writeString(kDates, dueDate, u"1");
    ini.writeString(dueDate, subject, text);
    ini.writeString(dueDate, AppStore::execKey(subject), AppStore::defaultApplicationText(ini, subject));
    changes.append({HomeworkChange::Kind::Entered, dueDate, subject});
}

void HomeworkStore::writeText(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject,
                              const QString &text)
{
    ini.writeString(dueDate, subject, text);
    changes.append({HomeworkChange::Kind::Changed, dueDate, subject});
}

void HomeworkStore::setDone(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject, bool done)
{
    ini.writeBool(dueDate, doneKey(subject), done);
    changes.append({HomeworkChange::Kind::Changed, dueDate, subject});
}

void HomeworkStore::removeHomework(ProfileFile &ini, Changes &changes, const QString &dueDate, const QString &subject)
{
    for (const QString &key : {subject, doneKey(subject), AppStore::execKey(subject)})
        RemoveSectionEntry(ini, dueDate, key);
    const QStringList left = ini.keys(dueDate);
    if (std::none_of(left.begin(), left.end(), [](const QString &key) { return isHomeworkKey(key); })) {
        RemoveSectionEntry(ini, kDates, dueDate);
        ini.eraseSection(dueDate);
    }
    changes.append({HomeworkChange::Kind::Deleted, dueDate, subject});
}

void HomeworkStore::edit(const std::function<void(ProfileFile &, Changes &)> &operation)
{
    Changes changes;
    try {
        SettingsFile::use([&](ProfileFile &ini) { operation(ini, changes); });
    } catch (...) {
        announce(changes);
        throw;
    }
    announce(changes);
}

QList<Homework> HomeworkStore::allHomework(const ProfileFile &ini)
{
    QList<Homework> all;
    for (const auto &[section, date] : DateText::sortedDates(ini.keys(kDates), true))
        all += sectionHomework(ini, section, date, true);
    return all;
}

QList<Homework> HomeworkStore::allHomework()
{
    return SettingsFile::read([](const ProfileFile &ini) { return allHomework(ini); });
}

QList<Homework> HomeworkStore::homeworkOn(const ProfileFile &ini, QDate day)
{
    const QString section = DateText::formatLong(day);
    return ini.keys(kDates).contains(section) ? sectionHomework(ini, section, day, false) : QList<Homework>();
}

QList<Homework> HomeworkStore::homeworkOn(QDate day)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return homeworkOn(ini, day); });
}

QString HomeworkStore::readText(const ProfileFile &ini, const QString &dueDate, const QString &subject, const QString &missing)
{
    return ini.readString(dueDate, subject, missing);
}

int HomeworkStore::addChangeObserver(std::function<void(const HomeworkChange &)> observer)
{
    return observers().add(std::move(observer));
}

void HomeworkStore::removeChangeObserver(int id)
{
    observers().remove(id);
}

QStringList HomeworkStore::dueDates()
{
    return SettingsFile::read([](const ProfileFile &ini) { return ini.keys(kDates); });
}

QStringList HomeworkStore::sortedDueDates()
{
    return sortByDate(dueDates());
}

QStringList HomeworkStore::homeworkListTexts(QDate dueDate)
{
    const QString section = DateText::formatLong(dueDate);
    QStringList texts;
    for (const Homework &homework : SettingsFile::read([&](const ProfileFile &ini) { return sectionHomework(ini, section, dueDate, false); }))
        texts.append(homework.done ? DoneItemText(homework.subject) : homework.subject);
    return texts;
}

QString HomeworkStore::readText(const QString &dueDate, const QString &subject)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return ini.readString(dueDate, subject, QString()); });
}

void HomeworkStore::writeText(const QString &dueDate, const QString &subject, const QString &text)
{
    edit([&](ProfileFile &ini, Changes &changes) { writeText(ini, changes, dueDate, subject, text); });
}

void HomeworkStore::setDone(const QString &dueDate, const QString &subject, bool done)
{
    change(HomeworkChange::Kind::Changed, dueDate, subject, [&](ProfileFile &ini) { ini.writeBool(dueDate, doneKey(subject), done); });
}

void HomeworkStore::deleteDueDate(const QString &dueDate)
{
    change(HomeworkChange::Kind::Deleted, dueDate, {}, [&](ProfileFile &ini) {
        RemoveSectionEntry(ini, kDates, dueDate);
        ini.eraseSection(dueDate);
    });
}

void HomeworkStore::deleteHomework(const QString &dueDate, const QString &subject)
{
    change(HomeworkChange::Kind::Deleted, dueDate, subject, [&](ProfileFile &ini) { RemoveSectionEntry(ini, dueDate, subject); });
}

QStringList HomeworkStore::PruneHomeworkDates()
{
    QStringList unreadableKeys;
    edit([&](ProfileFile &ini, Changes &changes) { unreadableKeys = pruneDates(ini, changes); });
    return unreadableKeys;
}

QStringList HomeworkStore::pruneDates(ProfileFile &ini, Changes &changes)
{
    {
        const QDate today = Clock::today();
        // Each kept key has a slot: an unreadable one keeps its own key and
        // value, the slots of the readable ones are filled in date order.
        struct Slot
        {
            bool readable;
            QString key;
            QString value;
        };
        QList<Slot> places;
        QStringList kept;
        QStringList past;
        QStringList unreadable;
        for (const QString &key : ini.keys(kDates)) {
            const std::optional<QDate> date = DateText::tryParse(key);
            if (!date) {
                places.append({false, key, ini.readString(kDates, key, QString())});
                unreadable.append(key);
            } else if (*date > today) {
                places.append({true, {}, {}});
                kept.append(key);
            } else {
                ini.eraseSection(key);
                past.append(key);
                changes.append({HomeworkChange::Kind::Pruned, key, {}});
            }
        }
        const QStringList sorted = sortByDate(kept);
        QStringList rewritten;
        qsizetype next = 0;
        for (const Slot &slot : places)
            rewritten.append(slot.readable ? QString(sorted[next++] + QStringLiteral("=1")) : QString(slot.key + u'=' + slot.value));
        // An index already in order stays where it stands in the file (a
        // second "Dates" of a hand-edited file is merged by the rewrite).
        // So does one that is in order once the past dates are gone, which
        // then are all that is taken out of it.
        // A key without a value has no entry, so it fails the comparison.
        if (onlyOneSection(ini, kDates)) {
            QStringList entries = ini.entries(kDates);
            entries.removeIf([&](const QString &entry) { return past.contains(entry.left(entry.indexOf(u'='))); });
            if (rewritten == entries) {
                if (rewritten.isEmpty() && !past.isEmpty())
                    ini.eraseSection(kDates); // nothing left: no empty index stays behind
                else
                    ini.eraseKeys(kDates, past);
                return unreadable;
            }
        }
        ini.eraseSection(kDates);
        for (const QString &entry : rewritten) {
            const qsizetype eq = entry.indexOf(u'=');
            ini.writeString(kDates, entry.left(eq), QStringView(entry).mid(eq + 1));
        }
        return unreadable;
    }
}

void HomeworkStore::RemoveSectionEntry(const QString &fileName, const QString &section, const QString &key)
{
    SettingsFile::useFile(DataFilePath(fileName), [&](ProfileFile &ini) { RemoveSectionEntry(ini, section, key); });
}

void HomeworkStore::RemoveSectionEntry(ProfileFile &ini, const QString &section, const QString &key)
{
    const QStringList entries = ini.entries(section);
    ini.eraseSection(section);
    for (const QString &entry : entries) {
        const qsizetype eq = entry.indexOf(u'=');
        const QString entryKey = entry.left(eq);
        if (entryKey != key)
            ini.writeString(section, entryKey, QStringView(entry).mid(eq + 1));
    }
}

bool HomeworkStore::isHomeworkKey(const QString &key)
{
    return !key.endsWith(u'2') && !key.contains(QStringLiteral("Exec"));
}

QString HomeworkStore::DoneItemText(const QString &subject)
{
    QString text = subject;
    while (text.size() <= 14)
        text += u' ';
    return text + u'E';
}

QString HomeworkStore::subjectOfListText(const QString &listText)
{
    if (!isDoneText(listText))
        return listText;
    QString subject = listText.chopped(1);
    while (subject.endsWith(u' '))
        subject.chop(1);
    return subject;
}
