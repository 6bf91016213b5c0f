// Date alarms and their sounds in the settings file.
#include "AlarmStore.h"

#include "HomeworkStore.h"
#include "SettingsFile.h"
#include "platform/Clock.h"
#include "platform/DateText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct Alarm
{
    QString key;
    QString message;
};

// Every alarm with its own value, also those whose message is empty.
std::vector<Alarm> readAlarms(const ProfileFile &ini)
{
    std::vector<Alarm> alarms;
    for (const QString &key : ini.keys(AlarmStore::alarmSection()))
        alarms.push_back({key, ini.readString(AlarmStore::alarmSection(), key, QString())});
    return alarms;
}

void writeAlarms(ProfileFile &ini, const std::vector<Alarm> &alarms)
{
    ini.eraseSection(AlarmStore::alarmSection());
    for (const Alarm &alarm : alarms)
        ini.writeString(AlarmStore::alarmSection(), alarm.key, alarm.message);
}

}

QString AlarmStore::questionText(const QString &message)
{
    return message + u'\n' + QStringLiteral("Wollen Sie diesen Eintrag nun löschen?");
}

QList<AlarmStore::DueAlarm> AlarmStore::dueAlarms()
{
    const QDate today = Clock::today();
    return SettingsFile::read([&](const ProfileFile &ini) {
        QList<DueAlarm> due;
        for (const QString &key : ini.keys(alarmSection())) {
            const auto date = DateText::tryParse(key);
            if (!date || *date > today)
                continue;
            due.append({key, ini.readString(soundSection(), key, defaultSound()),
                        ini.readString(alarmSection(), key, QString())});
        }
        return due;
    });
}

QStringList AlarmStore::SortAlarms()
{
    return SettingsFile::use([](ProfileFile &ini) { return SortAlarms(ini); });
}

QStringList AlarmStore::SortAlarms(ProfileFile &ini)
{
    std::vector<Alarm> alarms = readAlarms(ini);
    if (alarms.empty())
        return {};
    // Only the alarms with readable dates move, among the places they hold.
    std::vector<size_t> places;
    std::vector<std::pair<QDate, Alarm>> dated;
    for (size_t i = 0; i < alarms.size(); ++i) {
        if (const auto date = DateText::tryParse(alarms[i].key)) {
            places.push_back(i);
            dated.emplace_back(*date, alarms[i]);
        }
    }
    std::stable_sort(dated.begin(), dated.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < places.size(); ++i)
        alarms[places[i]] = std::move(dated[i].second);
    writeAlarms(ini, alarms);
    return ini.keys(alarmSection());
}

QString AlarmStore::message(const QString &key)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return ini.readString(alarmSection(), key, QString()); });
}

void AlarmStore::saveMessage(const QString &key, const QString &message)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(alarmSection(), key, message); });
}

QString AlarmStore::newAlarm(const QString &pickedDate)
{
    const QString key = DateText::formatLong(DateText::parse(pickedDate));
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(alarmSection(), key, newAlarmMessage()); });
    return key;
}

AlarmStore::AddedAlarm AlarmStore::addAlarm(const QString &pickedDate)
{
    const QString key = DateText::formatLong(DateText::parse(pickedDate));
    return SettingsFile::use([&](ProfileFile &ini) {
        if (ini.keys(alarmSection()).contains(key, Qt::CaseInsensitive))
            return AddedAlarm{key, false};
        ini.writeString(alarmSection(), key, newAlarmMessage());
        return AddedAlarm{key, true};
    });
}

void AlarmStore::deleteAlarm(const QString &key)
{
    SettingsFile::use([&](ProfileFile &ini) {
        std::vector<Alarm> alarms = readAlarms(ini);
        std::erase_if(alarms, [&](const Alarm &alarm) { return alarm.key == key; });
        writeAlarms(ini, alarms);
    });
}

QString AlarmStore::sound(const QString &key)
{
    return SettingsFile::read([&](const ProfileFile &ini) { return ini.readString(soundSection(), key, defaultSound()); });
}

void AlarmStore::setSound(const QString &key, const QString &file)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(soundSection(), key, file); });
}

QList<std::pair<QDate, QString>> AlarmStore::alarms(const ProfileFile &ini)
{
    QList<std::pair<QDate, QString>> all;
    for (const auto &[key, date] : DateText::sortedDates(ini.keys(alarmSection()), true))
        all.append({date, ini.readString(alarmSection(), key, QString())});
    return all;
}
