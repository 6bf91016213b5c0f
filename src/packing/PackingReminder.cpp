// The evening reminder before a school day.
#include "PackingReminder.h"

#include "Options/HolidayStore.h"
#include "Options/TimetableStore.h"
#include "main2/HomeworkStore.h"
#include "main2/SettingsFile.h"
#include "platform/DateText.h"
#include "schoolcalendar/SchoolCalendarReminder.h"

#include <QStringList>

namespace {
// A homework text longer than this is cut, so that the notification stays short.
constexpr qsizetype kMaxHomeworkText = 40;
// How far ahead the next evening is looked for: beyond the longest holidays.
constexpr int kSearchDays = 370;

bool inside(const std::vector<std::pair<QDate, QDate>> &periods, QDate day)
{
    for (const auto &[first, last] : periods) {
        if (first <= day && day <= last)
            return true;
    }
    return false;
}

bool schoolDay(const std::vector<std::pair<QDate, QDate>> &periods, QDate day)
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
    const QString dayName = TimetableStore::SchoolDayNames().at(day.dayOfWeek() - 1);
    for (const QString &lesson : TimetableStore::readSchoolDay(dayName)) {
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
    const QString section = day.toString(QStringLiteral("dd.MM.yyyy"));
    return SettingsFile::read([&](const ProfileFile &ini) {
        QStringList items;
        // Only dates of the index count, as in the main window.
        if (!ini.keys(u"Dates").contains(section))
            return items;
        for (const QString &subject : ini.keys(section)) {
            if (!HomeworkStore::isHomeworkKey(subject) || ini.readBool(section, QString(subject + u'2'), false))
                continue;
            const QString text = shortened(ini.readString(section, subject, QString()));
            items.append(text.isEmpty() ? subject : QStringLiteral("%1 (%2)").arg(subject, text));
        }
        return items;
    });
}
}

std::vector<std::pair<QDate, QDate>> PackingReminder::holidayPeriods()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        std::vector<std::pair<QDate, QDate>> periods;
        for (const auto &days : HolidayStore::ReadPeriods(ini)) {
            if (days)
                periods.emplace_back(days->first, days->last);
        }
        return periods;
    });
}

bool PackingReminder::isHoliday(QDate day)
{
    return inside(holidayPeriods(), day);
}

bool PackingReminder::isSchoolDay(QDate day)
{
    return schoolDay(holidayPeriods(), day);
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
    const auto periods = holidayPeriods();
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
