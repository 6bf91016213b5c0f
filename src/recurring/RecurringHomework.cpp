// Recurring homework: the rules and entering their homework on the next lesson.
//
// A rule is three entries of "WIEDERHOLUNG" sharing its number n:
// "Fachn" the subject, "Textn" the homework text, "Standn" the last lesson
// date the rule has handled. The subject is a value, not a key, so that any
// subject text ("=" or a leading "[" included) is stored as it is, and two
// rules of one subject live side by side.
#include "RecurringHomework.h"

#include "Options/HolidayStore.h"
#include "Options/TimetableStore.h"
#include "main2/SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace {
const QString kSection = QStringLiteral("WIEDERHOLUNG");
const QString kSubjectKey = QStringLiteral("Fach");
const QString kTextKey = QStringLiteral("Text");
const QString kHandledKey = QStringLiteral("Stand");
const QString kDates = QStringLiteral("Dates");
const QString kDefault = QStringLiteral("DEFAULT");
const QString kJoin = QStringLiteral("; ");
// Never a value read from a file: values are single lines of printable text.
const QString kMissing = QString(QChar(0));

QString key(const QString &name, int number)
{
    return name + QString::number(number);
}

QList<RecurringHomework::Rule> readRules(const ProfileFile &ini)
{
    QList<RecurringHomework::Rule> rules;
    for (const QString &k : ini.keys(kSection)) {
        if (!k.startsWith(kSubjectKey, Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int number = QStringView(k).mid(kSubjectKey.size()).toInt(&ok);
        if (!ok || number <= 0)
            continue;
        const QString subject = ini.readString(kSection, k, QString());
        if (subject.isEmpty())
            continue;
        rules.append({number, subject, ini.readString(kSection, key(kTextKey, number), QString())});
    }
    return rules;
}

// What the rules need to know of the school year: the lessons of the five
// school days and the holiday periods, read once per run.
struct SchoolYear
{
    std::array<QStringList, 5> lessons;
    std::vector<std::pair<QDate, QDate>> holidays;

    explicit SchoolYear(const ProfileFile &ini)
    {
        for (int day = 0; day < 5; ++day) {
            for (int r = 1; r <= 10; ++r)
                lessons[day].append(ini.readString(TimetableStore::SchoolDayNames()[day], QString::number(r), QString()));
        }
        // As the start-up's holiday test reads them.
        for (const auto &days : HolidayStore::ReadPeriods(ini)) {
            if (days)
                holidays.emplace_back(days->first, days->last);
        }
    }

    // The first school day after `after` with a lesson of exactly this subject;
    // as the entry dialog's proposal, a subject taught only on that weekday
    // gets the same weekday a week later.
    std::optional<QDate> nextLesson(const QString &subject, QDate after) const
    {
        for (int days = 1; days <= 7; ++days) {
            const QDate date = after.addDays(days);
            const int day = date.dayOfWeek() - 1; // 0 Monday .. 6 Sunday
            if (day < 5 && lessons[day].contains(subject))
                return date;
        }
        return std::nullopt;
    }

    // The next lesson after today that lies outside every holiday period.
    std::optional<QDate> dueDate(const QString &subject, QDate today) const
    {
        std::optional<QDate> date = nextLesson(subject, today);
        // Each step leaves a period behind; overlapping periods take a few more.
        for (size_t step = 0; date && step <= holidays.size(); ++step) {
            const auto in = std::find_if(holidays.begin(), holidays.end(),
                                         [&](const auto &period) { return period.first <= *date && *date <= period.second; });
            if (in == holidays.end())
                return date;
            date = nextLesson(subject, in->second);
        }
        return std::nullopt;
    }
};

// The date a rule is to handle now, or nothing when it has handled it already
// or its subject has no lesson.
std::optional<QDate> pendingDate(const ProfileFile &ini, const SchoolYear &year, const RecurringHomework::Rule &rule, QDate today)
{
    const std::optional<QDate> date = year.dueDate(rule.subject, today);
    if (!date)
        return std::nullopt;
    const auto handled = DateText::tryParse(ini.readString(kSection, key(kHandledKey, rule.number), QString()));
    if (handled && *handled >= *date)
        return std::nullopt;
    return date;
}

// Lists a due date in "Dates" in date order, where the pruning keeps it.
void listDueDate(ProfileFile &ini, const QString &dueDate, QDate date)
{
    if (ini.readString(kDates, dueDate, kMissing) != kMissing) {
        ini.writeString(kDates, dueDate, u"1");
        return;
    }
    const QStringList keys = ini.keys(kDates);
    const auto later = std::find_if(keys.begin(), keys.end(), [&](const QString &k) {
        const auto other = DateText::tryParse(k);
        return other && *other > date;
    });
    if (later == keys.end()) {
        ini.writeString(kDates, dueDate, u"1");
        return;
    }
    std::vector<std::pair<QString, QString>> entries;
    entries.reserve(size_t(keys.size()) + 1);
    for (auto it = keys.begin(); it != keys.end(); ++it) {
        if (it == later)
            entries.emplace_back(dueDate, QStringLiteral("1"));
        entries.emplace_back(*it, ini.readString(kDates, *it, QString()));
    }
    ini.eraseSection(kDates);
    for (const auto &[k, value] : entries)
        ini.writeString(kDates, k, value);
}
}

QString RecurringHomework::sectionName()
{
    return kSection;
}

QList<RecurringHomework::Rule> RecurringHomework::rules()
{
    return SettingsFile::read([](const ProfileFile &ini) { return readRules(ini); });
}

int RecurringHomework::addRule(const QString &subject, const QString &text)
{
    return SettingsFile::use([&](ProfileFile &ini) {
        int last = 0;
        for (const Rule &rule : readRules(ini)) {
            if (rule.subject == subject && rule.text == text.trimmed())
                return rule.number;
            last = std::max(last, rule.number);
        }
        // Also numbers whose subject entry was emptied by hand are not reused.
        for (const QString &k : ini.keys(kSection)) {
            for (const QString &name : {kSubjectKey, kTextKey, kHandledKey}) {
                if (k.startsWith(name, Qt::CaseInsensitive))
                    last = std::max(last, QStringView(k).mid(name.size()).toInt());
            }
        }
        const int number = last + 1;
        ini.writeString(kSection, key(kSubjectKey, number), subject);
        ini.writeString(kSection, key(kTextKey, number), text);
        return number;
    });
}

void RecurringHomework::endRule(int number)
{
    SettingsFile::use([&](ProfileFile &ini) {
        if (!ini.hasSection(kSection))
            return;
        const QStringList gone = {key(kSubjectKey, number), key(kTextKey, number), key(kHandledKey, number)};
        const QStringList keys = ini.keys(kSection);
        if (std::none_of(keys.begin(), keys.end(), [&](const QString &k) { return gone.contains(k, Qt::CaseInsensitive); }))
            return;
        std::vector<std::pair<QString, QString>> kept;
        for (const QString &k : keys) {
            if (!gone.contains(k, Qt::CaseInsensitive))
                kept.emplace_back(k, ini.readString(kSection, k, QString()));
        }
        ini.eraseSection(kSection);
        for (const auto &[k, value] : kept)
            ini.writeString(kSection, k, value);
    });
}

int RecurringHomework::apply()
{
    const QDate today = Clock::today();
    // A look first, through the shared read that the start-up's other reads
    // use as well: on most starts every rule has handled its date already.
    const bool due = SettingsFile::read([&](const ProfileFile &ini) {
        const QList<Rule> rules = readRules(ini);
        if (rules.isEmpty())
            return false;
        const SchoolYear year(ini);
        return std::any_of(rules.begin(), rules.end(), [&](const Rule &rule) { return pendingDate(ini, year, rule, today).has_value(); });
    });
    if (!due)
        return 0;
    return SettingsFile::use([&](ProfileFile &ini) {
        const SchoolYear year(ini);
        QSet<QString> enteredNow; // "date\nsubject" of the homework this run entered
        int changed = 0;
        for (const Rule &rule : readRules(ini)) {
            const std::optional<QDate> date = pendingDate(ini, year, rule, today);
            if (!date)
                continue;
            const QString dueDate = DateText::formatLong(*date);
            const QString entered = dueDate + u'\n' + rule.subject;
            const QString existing = ini.readString(dueDate, rule.subject, kMissing);
            if (existing == kMissing) {
                // As the entry dialog adds homework, the subject's application from "DEFAULT" included.
                listDueDate(ini, dueDate, *date);
                ini.writeString(dueDate, rule.subject, rule.text);
                ini.writeString(dueDate, QString(rule.subject + QStringLiteral("Exec")), ini.readString(kDefault, rule.subject, QString()));
                enteredNow.insert(entered);
                ++changed;
            } else if (enteredNow.contains(entered) && !rule.text.isEmpty()) {
                ini.writeString(dueDate, rule.subject, existing.isEmpty() ? rule.text : QString(existing + kJoin + rule.text));
                ++changed;
            }
            // A date already holding the pupil's own homework counts as handled too.
            ini.writeString(kSection, key(kHandledKey, rule.number), dueDate);
        }
        return changed;
    });
}
