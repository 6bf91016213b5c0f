// Homework by due date in the settings file.
#include "HomeworkStore.h"

#include "SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Errors.h"

#include <algorithm>

namespace {
const QString kDates = QStringLiteral("Dates");
const QString kDefault = QStringLiteral("DEFAULT");

QString doneKey(const QString &subject)
{
    return subject + u'2';
}

QString execKey(const QString &subject)
{
    return subject + QStringLiteral("Exec");
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
    std::vector<std::pair<QDate, QString>> dated;
    dated.reserve(keys.size());
    for (const QString &key : keys) {
        if (const std::optional<QDate> date = DateText::tryParse(key))
            dated.emplace_back(*date, key);
    }
    std::stable_sort(dated.begin(), dated.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList sorted;
    sorted.reserve(keys.size());
    for (auto &entry : dated)
        sorted.append(std::move(entry.second));
    return sorted;
}
}

void HomeworkStore::addHomework(const QString &dueDate, const QString &subject, const QString &text)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.writeString(kDates, dueDate, u"1");
        ini.writeString(dueDate, subject, text);
        const QString application = ini.readString(kDefault, subject, QString());
        ini.writeString(dueDate, execKey(subject), application);
    });
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
    return SettingsFile::read([&](const ProfileFile &ini) {
        QStringList texts;
        for (const QString &key : ini.keys(section)) {
            if (!isHomeworkKey(key))
                continue;
            texts.append(ini.readBool(section, doneKey(key), false) ? DoneItemText(key) : key);
        }
        return texts;
    });
}

QString HomeworkStore::readText(const QString &dueDate, const QString &subject)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return ini.readString(dueDate, subject, QString()); });
}

void HomeworkStore::writeText(const QString &dueDate, const QString &subject, const QString &text)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(dueDate, subject, text); });
}

void HomeworkStore::setDone(const QString &dueDate, const QString &subject, bool done)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeBool(dueDate, doneKey(subject), done); });
}

void HomeworkStore::deleteDueDate(const QString &dueDate)
{
    SettingsFile::use([&](ProfileFile &ini) {
        RemoveSectionEntry(ini, kDates, dueDate);
        ini.eraseSection(dueDate);
    });
}

void HomeworkStore::deleteHomework(const QString &dueDate, const QString &subject)
{
    SettingsFile::use([&](ProfileFile &ini) { RemoveSectionEntry(ini, dueDate, subject); });
}

QStringList HomeworkStore::PruneHomeworkDates()
{
    return SettingsFile::use([](ProfileFile &ini) {
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
            }
        }
        const QStringList sorted = sortByDate(kept);
        QStringList rewritten;
        qsizetype next = 0;
        for (const Slot &slot : places)
            rewritten.append(slot.readable ? QString(sorted[next++] + QStringLiteral("=1")) : QString(slot.key + u'=' + slot.value));
        // An index already in order stays where it stands in the file (a
        // second "Dates" of a hand-edited file is merged by the rewrite).
        if (rewritten == ini.entries(kDates) && rewritten.size() == ini.keys(kDates).size()
            && onlyOneSection(ini, kDates))
            return unreadable;
        ini.eraseSection(kDates);
        for (const QString &entry : rewritten) {
            const qsizetype eq = entry.indexOf(u'=');
            ini.writeString(kDates, entry.left(eq), QStringView(entry).mid(eq + 1));
        }
        return unreadable;
    });
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
