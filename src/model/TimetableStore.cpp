// The weekly timetable in the settings file.
#include "TimetableStore.h"

#include "SettingsFile.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

const QStringList &TimetableStore::SchoolDayNames()
{
    static const QStringList names = {QStringLiteral("Montag"), QStringLiteral("Dienstag"),
                                      QStringLiteral("Mittwoch"), QStringLiteral("Donnerstag"),
                                      QStringLiteral("Freitag")};
    return names;
}

const QStringList &TimetableStore::WeekdayNames()
{
    static const QStringList names = {QStringLiteral("Sonntag"), QStringLiteral("Montag"),
                                      QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"),
                                      QStringLiteral("Donnerstag"), QStringLiteral("Freitag"),
                                      QStringLiteral("Samstag")};
    return names;
}

QString TimetableStore::weekdayName(int qtDayOfWeek)
{
    return WeekdayNames().at(qtDayOfWeek % 7); // Qt counts Monday 1 .. Sunday 7
}

void TimetableStore::LoadTimetable(TimetableGrid &grid)
{
    SettingsFile::read([&](const ProfileFile &ini) {
        for (int c = 1; c <= 5; ++c) {
            for (int r = 1; r <= 10; ++r)
                grid.at(c, r) = ini.readString(SchoolDayNames()[c - 1], QString::number(r), QString());
        }
    });
    grid.at(0, 0) = QStringLiteral("Zeit");
    for (int r = 1; r <= 10; ++r)
        grid.at(0, r) = QString::number(r);
    for (int c = 1; c <= 5; ++c)
        grid.at(c, 0) = SchoolDayNames()[c - 1];
}

void TimetableStore::SaveTimetable(const TimetableGrid &grid)
{
    SettingsFile::use([&](ProfileFile &ini) {
        for (int c = 1; c <= 5; ++c) {
            for (int r = 1; r <= 10; ++r)
                ini.writeString(SchoolDayNames()[c - 1], QString::number(r), grid.at(c, r));
        }
    });
}

bool TimetableStore::hasTimetable()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return std::any_of(SchoolDayNames().begin(), SchoolDayNames().end(),
                           [&ini](const QString &day) { return ini.hasSection(day); });
    });
}

QStringList TimetableStore::readSchoolDay(const QString &dayName)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return schoolDay(ini, dayName); });
}

QStringList TimetableStore::schoolDay(const ProfileFile &ini, const QString &dayName)
{
    QStringList lessons;
    for (int r = 1; r <= 10; ++r)
        lessons.append(ini.readString(dayName, QString::number(r), QString()));
    return lessons;
}

QStringList TimetableStore::CollectSubjects()
{
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return SettingsFile::read([&](const ProfileFile &ini) {
        QStringList subjects;
        for (int r = 1; r <= 10; ++r) {
            for (const QString &day : SchoolDayNames()) {
                const QString value = ini.readString(day, QString::number(r), QString());
                if (value.isEmpty())
                    continue;
                const auto at = std::lower_bound(subjects.begin(), subjects.end(), value,
                                                 [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
                if (at == subjects.end() || collator.compare(*at, value) != 0)
                    subjects.insert(at, value);
            }
        }
        return subjects;
    });
}

std::optional<QDate> TimetableStore::NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                               const std::vector<HolidayStore::Days> &holidays)
{
    std::array<QStringList, 5> lessons;
    for (int day = 0; day < 5; ++day)
        lessons[day] = schoolDay(ini, SchoolDayNames()[day]);
    const auto nextAfter = [&](QDate from) -> std::optional<QDate> {
        for (int days = 1; days <= 7; ++days) {
            const QDate date = from.addDays(days);
            const int day = date.dayOfWeek() - 1; // 0 Monday .. 6 Sunday
            if (day < 5 && lessons[day].contains(subject))
                return date;
        }
        return std::nullopt;
    };
    std::optional<QDate> date = nextAfter(after);
    // Each step leaves a period behind; overlapping periods take a few more.
    for (size_t step = 0; date && step <= holidays.size(); ++step) {
        const auto in = std::find_if(holidays.begin(), holidays.end(), [&](const auto &period) { return period.contains(*date); });
        if (in == holidays.end())
            return date;
        date = nextAfter(in->last);
    }
    return std::nullopt;
}
