// The evening reminder before a school day.
#include "PackingReminder.h"

#include "model/HolidayStore.h"
#include "model/TimetableStore.h"
#include "model/HomeworkStore.h"
#include "schoolcalendar/SchoolCalendarReminder.h"

#include <QStringList>

#include <algorithm>

namespace {
// A homework text longer than this is cut, so that the notification stays short.
constexpr qsizetype kMaxHomeworkText = 40;
// How far ahead the next evening is looked for: beyond the longest holidays.
constexpr int kSearchDays = 370;

bool inside(const std::vector<HolidayStore::Days> &periods, QDate day)
{
    return std::any_of(periods.begin(), periods.end(), [day](const auto &period) { return period.contains(day); });
}

bool schoolDay(const std::vector<HolidayStore::Days> &periods, QDate day)
{
    return day.dayOfWeek() <= 5 && !inside(periods, day);
}

QString shortened(const QString &text)
{
    const QString simple = text.simplified();
    return simple.size() <= kMaxHomeworkText ? simple : simple.left(kMaxHomeworkText - 1).trimmed() + QChar(0x2026);
}

QStringList lessonsOf(QDate day)
{
    QStringList subjects;
    for (const QString &lesson : TimetableStore::lessonsOn(day)) { // in the week the day lies in
        const QString subject = lesson.trimmed();
        if (subject.isEmpty() || subject.compare(u"FREI", Qt::CaseInsensitive) == 0)
            continue;
        if (!subjects.contains(subject, Qt::CaseInsensitive))
            subjects.append(subject);
    }
    return subjects;
}

QStringList openHomeworkOf(QDate day)
{
    QStringList items;
    for (const Homework &homework : HomeworkStore::homeworkOn(day)) {
        if (homework.done)
            continue;
        const QString text = shortened(homework.text);
        items.append(text.isEmpty() ? homework.subject : QStringLiteral("%1 (%2)").arg(homework.subject, text));
    }
    return items;
}
}

bool PackingReminder::isHoliday(QDate day)
{
    return inside(HolidayStore::holidays(), day);
}

bool PackingReminder::isSchoolDay(QDate day)
{
    return schoolDay(HolidayStore::holidays(), day);
}

bool PackingReminder::isDue(QDate today, QTime now, const PackingSettings::Options &options)
{
    return options.active && options.time.isValid() && now >= options.time && options.shownOn != today
        && isSchoolDay(today.addDays(1));
}

QDateTime PackingReminder::nextMoment(const QDateTime &now, const PackingSettings::Options &options)
{
    if (!options.active || !options.time.isValid())
        return {};
    const auto periods = HolidayStore::holidays();
    const QDate today = now.date();
    for (int ahead = 0; ahead <= kSearchDays; ++ahead) {
        const QDate day = today.addDays(ahead);
        if (day == options.shownOn || !schoolDay(periods, day.addDays(1)))
            continue;
        if (ahead == 0 && now.time() >= options.time)
            return now; // due already
        return QDateTime(day, options.time);
    }
    return {};
}

QString PackingReminder::text(QDate today)
{
    const QDate tomorrow = today.addDays(1);
    if (tomorrow.dayOfWeek() > 5)
        return {};
    const QStringList lessons = lessonsOf(tomorrow);
    const QStringList homework = openHomeworkOf(tomorrow);
    if (lessons.isEmpty() && homework.isEmpty())
        return {};
    QString text = QStringLiteral("Morgen, %1: %2")
                       .arg(TimetableStore::weekdayName(tomorrow.dayOfWeek()),
                            lessons.isEmpty() ? QStringLiteral("keine Stunden eingetragen") : lessons.join(QStringLiteral(", ")));
    if (!homework.isEmpty())
        text += QStringLiteral("\nHausaufgaben: ") + homework.join(QStringLiteral(", "));
    return text + SchoolCalendarReminder::linesFor(tomorrow);
}
