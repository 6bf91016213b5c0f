// The six holiday periods of the school year.
#include "HolidayStore.h"

#include "SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

namespace {
const QString kSection = QStringLiteral("FERIEN");
}

const std::array<HolidayStore::Period, 6> &HolidayStore::Periods()
{
    static const std::array<Period, 6> periods = {{
        {u"Winter:", u"WINTER1", u"WINTER2"},
        {u"Ostern:", u"OSTERN1", u"OSTERN2"},
        {u"Pfingsten:", u"PFINGSTEN1", u"PFINGSTEN2"},
        {u"Sommer:", u"SOMMER1", u"SOMMER2"},
        {u"Herbst:", u"HERBST1", u"HERBST2"},
        {u"Weihnachten:", u"WEIHNACHTEN1", u"WEIHNACHTEN2"},
    }};
    return periods;
}

QStringList HolidayStore::LoadHolidays()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        QStringList texts;
        for (const Period &p : Periods()) {
            texts.append(ini.readString(kSection, QString::fromUtf16(p.firstKey), QString()));
            texts.append(ini.readString(kSection, QString::fromUtf16(p.lastKey), QString()));
        }
        return texts;
    });
}

void HolidayStore::SaveHolidays(const QStringList &texts)
{
    SettingsFile::use([&](ProfileFile &ini) {
        for (size_t i = 0; i < Periods().size(); ++i) {
            ini.writeString(kSection, QString::fromUtf16(Periods()[i].firstKey), texts.value(int(2 * i)));
            ini.writeString(kSection, QString::fromUtf16(Periods()[i].lastKey), texts.value(int(2 * i + 1)));
        }
    });
}

std::array<std::optional<HolidayStore::Days>, 6> HolidayStore::ReadPeriods(const ProfileFile &ini)
{
    std::array<std::optional<Days>, 6> periods;
    for (size_t i = 0; i < periods.size(); ++i) {
        const Period &p = Periods()[i];
        // The defaults of missing keys give a period without any day.
        const auto first = DateText::tryParse(ini.readString(kSection, QString::fromUtf16(p.firstKey), QStringLiteral("2.1.90")));
        const auto last = DateText::tryParse(ini.readString(kSection, QString::fromUtf16(p.lastKey), QStringLiteral("1.1.90")));
        if (first && last && *first <= *last)
            periods[i] = Days{*first, *last};
    }
    return periods;
}

std::vector<HolidayStore::Days> HolidayStore::holidays(const ProfileFile &ini)
{
    std::vector<Days> periods;
    for (const auto &days : ReadPeriods(ini)) {
        if (days)
            periods.push_back(*days);
    }
    return periods;
}

std::vector<HolidayStore::Days> HolidayStore::holidays()
{
    return SettingsFile::read([](const ProfileFile &ini) { return holidays(ini); });
}

bool HolidayStore::IsHolidayToday()
{
    static constexpr int kOrder[] = {1, 0, 2, 3, 4, 5}; // Easter first
    const QDate today = Clock::today();
    return SettingsFile::read([&](const ProfileFile &ini) {
        const auto periods = ReadPeriods(ini);
        for (int index : kOrder) {
            const std::optional<Days> &days = periods[size_t(index)];
            if (days && days->contains(today))
                return true;
        }
        return false;
    });
}
