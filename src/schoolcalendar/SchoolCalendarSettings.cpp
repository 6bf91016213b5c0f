// The subscriptions in the section "SCHULKALENDER", as Name<n>= and Adresse<n>=.
#include "SchoolCalendarSettings.h"

#include "model/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("SCHULKALENDER");
// More than any pupil subscribes to; a hand-edited file cannot make the reading run long.
constexpr int kMostSubscriptions = 100;

QString key(const char *name, int number)
{
    return QLatin1String(name) + QString::number(number);
}
}

QList<SchoolCalendarSettings::Subscription> SchoolCalendarSettings::load()
{
    return SettingsFile::read([](const ProfileFile &ini) {
        QList<Subscription> subscriptions;
        if (!ini.hasSection(kSection))
            return subscriptions;
        for (int n = 1; n <= kMostSubscriptions; ++n) {
            const QString address = ini.readString(kSection, key("Adresse", n), QString()).trimmed();
            const QString name = ini.readString(kSection, key("Name", n), QString()).trimmed();
            if (address.isEmpty() && name.isEmpty())
                break;
            if (!address.isEmpty())
                subscriptions.append({name.isEmpty() ? address : name, address});
        }
        return subscriptions;
    });
}

void SchoolCalendarSettings::save(const QList<Subscription> &subscriptions)
{
    SettingsFile::use([&](ProfileFile &ini) {
        ini.eraseSection(kSection);
        for (qsizetype i = 0; i < subscriptions.size(); ++i) {
            ini.writeString(kSection, key("Name", int(i + 1)), subscriptions[i].name);
            ini.writeString(kSection, key("Adresse", int(i + 1)), subscriptions[i].address);
        }
    });
}
