// The weekly timetable in the settings file.
#include "TimetableStore.h"

#include "SettingsFile.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {
// Past any run of holiday weeks a year can hold.
constexpr int kLongestSearch = 370;
}

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

QString TimetableStore::sectionName(int day, Week week)
{
    return week == Week::A ? SchoolDayNames()[day] : SchoolDayNames()[day] + QStringLiteral(" B");
}

void TimetableStore::LoadTimetable(TimetableGrid &grid, Week week)
{
    SettingsFile::read([&](const ProfileFile &ini) {
        for (int c = 1; c <= 5; ++c) {
            const QStringList lessons = schoolDay(ini, SchoolDayNames()[c - 1], week);
            for (int r = 1; r <= 10; ++r)
                grid.at(c, r) = lessons[r - 1];
        }
    });
    grid.at(0, 0) = QStringLiteral("Zeit");
    for (int r = 1; r <= 10; ++r)
        grid.at(0, r) = QString::number(r);
    for (int c = 1; c <= 5; ++c)
        grid.at(c, 0) = SchoolDayNames()[c - 1];
}

void TimetableStore::SaveTimetable(const TimetableGrid &grid, Week week)
{
    SettingsFile::use([&](ProfileFile &ini) { SaveTimetable(ini, grid, week); });
}

void TimetableStore::SaveTimetable(ProfileFile &ini, const TimetableGrid &grid, Week week)
{
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 10; ++r)
            ini.writeString(sectionName(c - 1, week), QString::number(r), grid.at(c, r));
    }
}

bool TimetableStore::hasTimetable()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        return std::any_of(SchoolDayNames().begin(), SchoolDayNames().end(),
                           [&ini](const QString &day) { return ini.hasSection(day); });
    });
}

QStringList TimetableStore::readSchoolDay(const QString &dayName, Week week)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return schoolDay(ini, dayName, week); });
}

QStringList TimetableStore::schoolDay(const ProfileFile &ini, const QString &dayName, Week week)
{
    QString section = dayName;
    if (week == Week::B) {
        const QString weekB = dayName + QStringLiteral(" B");
        if (ini.hasSection(weekB))
            section = weekB;
    }
    QStringList lessons;
    for (int r = 1; r <= 10; ++r)
        lessons.append(ini.readString(section, QString::number(r), QString()));
    return lessons;
}

QStringList TimetableStore::lessonsOn(const ProfileFile &ini, QDate date)
{
    const int day = date.dayOfWeek() - 1;
    if (day < 0 || day > 4)
        return {};
    return schoolDay(ini, SchoolDayNames()[day], SchoolWeeks::weekOf(ini, date));
}

QStringList TimetableStore::lessonsOn(QDate date)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return lessonsOn(ini, date); });
}

TimetableStore::DayPlan TimetableStore::dayPlan(const ProfileFile &ini, QDate date)
{
    const QDate day = date.dayOfWeek() >= Qt::Saturday ? date.addDays(Qt::Friday - date.dayOfWeek()) : date;
    DayPlan plan;
    plan.dayName = weekdayName(day.dayOfWeek());
    const SchoolWeeks::Options options = SchoolWeeks::read(ini); // the section is read once
    Week week = Week::A;
    if (options.on) {
        const auto holidays = options.counting == SchoolWeeks::Counting::SchoolWeeks ? HolidayStore::holidays(ini)
                                                                                     : std::vector<HolidayStore::Days>();
        week = SchoolWeeks::weekOf(options, day, holidays);
        plan.week = week;
    }
    plan.lessons = schoolDay(ini, plan.dayName, week);
    return plan;
}

TimetableStore::DayPlan TimetableStore::dayPlan(QDate date)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return dayPlan(ini, date); });
}

void TimetableStore::SaveTimetables(const TimetableGrid &weekA, const TimetableGrid &weekB, const SchoolWeeks::Options &weeks)
{
    SettingsFile::use([&](ProfileFile &ini) { SaveTimetables(ini, weekA, weekB, weeks); });
}

void TimetableStore::SaveTimetables(ProfileFile &ini, const TimetableGrid &weekA, const TimetableGrid &weekB,
                                    const SchoolWeeks::Options &weeks)
{
    bool hasWeekB = false;
    for (int day = 0; day < 5; ++day)
        hasWeekB = hasWeekB || ini.hasSection(sectionName(day, Week::B));
    const bool hasWeeks = SchoolWeeks::isStored(ini);
    SaveTimetable(ini, weekA, Week::A);
    if (weeks.on || hasWeekB)
        SaveTimetable(ini, weekB, Week::B);
    if (weeks.on || hasWeeks)
        SchoolWeeks::write(ini, weeks);
}

QStringList TimetableStore::CollectSubjects()
{
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return SettingsFile::read([&](const ProfileFile &ini) {
        std::vector<Week> weeks = {Week::A};
        if (SchoolWeeks::read(ini).on)
            weeks.push_back(Week::B);
        QStringList subjects;
        for (const Week week : weeks) {
            for (int r = 1; r <= 10; ++r) {
                for (int day = 0; day < 5; ++day) {
                    const QString value = ini.readString(sectionName(day, week), QString::number(r), QString());
                    if (value.isEmpty())
                        continue;
                    const auto at = std::lower_bound(subjects.begin(), subjects.end(), value,
                                                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
                    if (at == subjects.end() || collator.compare(*at, value) != 0)
                        subjects.insert(at, value);
                }
            }
        }
        return subjects;
    });
}

std::optional<QDate> TimetableStore::NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                               const std::vector<HolidayStore::Days> &holidays)
{
    return NextLesson(ini, subject, after, holidays, SchoolWeeks::read(ini));
}

std::optional<QDate> TimetableStore::NextLesson(const ProfileFile &ini, const QString &subject, QDate after,
                                               const std::vector<HolidayStore::Days> &holidays,
                                               const SchoolWeeks::Options &weeks)
{
    const std::vector<HolidayStore::Days> weekHolidays =
        weeks.on && weeks.counting == SchoolWeeks::Counting::SchoolWeeks ? HolidayStore::holidays(ini) : std::vector<HolidayStore::Days>();
    std::array<std::array<QStringList, 5>, 2> lessons;
    for (int day = 0; day < 5; ++day) {
        lessons[0][day] = schoolDay(ini, SchoolDayNames()[day], Week::A);
        if (weeks.on)
            lessons[1][day] = schoolDay(ini, SchoolDayNames()[day], Week::B);
    }
    const int horizon = weeks.on ? 14 : 7;
    const auto nextAfter = [&](QDate from) -> std::optional<QDate> {
        // Counting school weeks, a holiday week repeats the week before it, so
        // holiday weeks do not count towards the two weeks that hold every lesson.
        int counted = 0;
        for (int days = 1; counted < horizon && days <= kLongestSearch; ++days) {
            const QDate date = from.addDays(days);
            if (!weekHolidays.empty() && SchoolWeeks::isHolidayWeek(date, weekHolidays))
                continue;
            ++counted;
            const int day = date.dayOfWeek() - 1; // 0 Monday .. 6 Sunday
            if (day >= 5)
                continue;
            const Week week = SchoolWeeks::weekOf(weeks, date, weekHolidays);
            if (lessons[week == Week::A ? 0 : 1][day].contains(subject))
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
