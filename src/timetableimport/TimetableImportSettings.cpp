// The section "STUNDENPLANIMPORT": Beginn<n>=hh:mm, Kuerzel<n>= and Fach<n>=.
#include "TimetableImportSettings.h"

#include "model/SettingsFile.h"
#include "platform/DateText.h"

#include <algorithm>

namespace {
const QString kSection = QStringLiteral("STUNDENPLANIMPORT");
// More short forms than a timetable holds subjects; a hand-edited file cannot make the reading run long.
constexpr int kMostShortForms = 200;

QString key(const char *name, int number)
{
    return QLatin1String(name) + QString::number(number);
}
}

TimetableImportSettings::Values TimetableImportSettings::read(const ProfileFile &ini)
{
    Values values;
    if (!ini.hasSection(kSection))
        return values;
    for (int n = 1; n <= MostBellTimes; ++n) {
        const std::optional<QTime> time = DateText::tryParseTime(ini.readString(kSection, key("Beginn", n), QString()));
        if (!time)
            break;
        values.bellTimes.append(*time);
    }
    for (int n = 1; n <= kMostShortForms; ++n) {
        const QString shortForm = ini.readString(kSection, key("Kuerzel", n), QString());
        if (shortForm.isEmpty())
            break;
        const QString subject = ini.readString(kSection, key("Fach", n), QString());
        if (!subject.isEmpty())
            values.subjectNames.insert(shortForm, subject);
    }
    return values;
}

TimetableImportSettings::Values TimetableImportSettings::read()
{
    return SettingsFile::read([](const ProfileFile &ini) { return read(ini); });
}

void TimetableImportSettings::write(ProfileFile &ini, const Values &values)
{
    ini.eraseSection(kSection);
    for (qsizetype i = 0; i < values.bellTimes.size() && i < MostBellTimes; ++i)
        ini.writeString(kSection, key("Beginn", int(i + 1)), values.bellTimes[i].toString(QStringLiteral("HH:mm")));
    // In a fixed order, so that the same names write the same file.
    QStringList shortForms;
    for (auto it = values.subjectNames.cbegin(); it != values.subjectNames.cend(); ++it) {
        if (!it.key().isEmpty() && !it.value().isEmpty() && it.key() != it.value())
            shortForms.append(it.key());
    }
    std::sort(shortForms.begin(), shortForms.end());
    for (qsizetype i = 0; i < shortForms.size() && i < kMostShortForms; ++i) {
        ini.writeString(kSection, key("Kuerzel", int(i + 1)), shortForms[i]);
        ini.writeString(kSection, key("Fach", int(i + 1)), values.subjectNames.value(shortForms[i]));
    }
}

QString TimetableImportSettings::subjectOf(const Values &values, const QString &summary)
{
    return values.subjectNames.value(summary, summary);
}
