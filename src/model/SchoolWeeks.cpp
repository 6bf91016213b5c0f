// The alternation of A and B weeks in the settings file.
#include "SchoolWeeks.h"

#include "SettingsFile.h"
#include "platform/DateText.h"

#include <algorithm>

namespace {

const QString Section = QStringLiteral("WOCHEN");

QDate mondayOf(QDate date)
{
    return date.addDays(1 - date.dayOfWeek());
}

bool holidayWeek(QDate monday, const std::vector<HolidayStore::Days> &holidays)
{
    for (int day = 0; day < 5; ++day) {
        const QDate date = monday.addDays(day);
        if (std::none_of(holidays.begin(), holidays.end(), [&](const auto &period) { return period.contains(date); }))
            return false;
    }
    return true;
}

} // namespace

SchoolWeeks::Options SchoolWeeks::read(const ProfileFile &ini)
{
    Options options;
    options.on = ini.readBool(Section, u"AB", false);
    options.reference = DateText::tryParse(ini.readString(Section, u"Bezug", QString())).value_or(QDate());
    options.counting = ini.readString(Section, u"Zaehlung", QString()).compare(u"Schulwochen", Qt::CaseInsensitive) == 0
                           ? Counting::SchoolWeeks
                           : Counting::Calendar;
    return options;
}

SchoolWeeks::Options SchoolWeeks::read()
{
    return SettingsFile::read([](const ProfileFile &ini) { return read(ini); });
}

bool SchoolWeeks::isHolidayWeek(QDate date, const std::vector<HolidayStore::Days> &holidays)
{
    return holidayWeek(mondayOf(date), holidays);
}

bool SchoolWeeks::isStored(const ProfileFile &ini)
{
    return ini.hasSection(Section);
}

void SchoolWeeks::write(ProfileFile &ini, const Options &options)
{
    ini.writeString(Section, u"AB", options.on ? u"1" : u"0");
    ini.writeString(Section, u"Bezug", options.reference.isValid() ? DateText::formatShort(options.reference) : QString());
    ini.writeString(Section, u"Zaehlung", options.counting == Counting::SchoolWeeks ? u"Schulwochen" : u"Kalender");
}

void SchoolWeeks::write(const Options &options)
{
    SettingsFile::use([&](ProfileFile &ini) { write(ini, options); });
}

Week SchoolWeeks::weekOf(const Options &options, QDate date, const std::vector<HolidayStore::Days> &holidays)
{
    if (!options.on || !options.reference.isValid() || !date.isValid())
        return Week::A;
    const QDate from = mondayOf(options.reference);
    const QDate to = mondayOf(date);
    qint64 weeks = from.daysTo(to) / 7;
    if (options.counting == Counting::SchoolWeeks) {
        // Only the school weeks between the two count; the date's own week, when it is a
        // holiday week, keeps the week of the last school week before it.
        const QDate first = std::min(from, to);
        const QDate last = std::max(from, to);
        qint64 holidayWeeks = 0;
        for (QDate monday = first; monday < last; monday = monday.addDays(7)) {
            if (holidayWeek(monday, holidays))
                ++holidayWeeks;
        }
        if (to > from && holidayWeek(to, holidays))
            ++holidayWeeks; // a holiday week counts like the school week before it
        weeks = weeks >= 0 ? weeks - holidayWeeks : weeks + holidayWeeks;
    }
    return weeks % 2 == 0 ? Week::A : Week::B;
}

Week SchoolWeeks::weekOf(const ProfileFile &ini, QDate date)
{
    const Options options = read(ini);
    if (!options.on)
        return Week::A;
    return weekOf(options, date, HolidayStore::holidays(ini));
}

Week SchoolWeeks::weekOf(QDate date)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return weekOf(ini, date); });
}
