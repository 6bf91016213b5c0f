// The rules of recurring homework.
//
// A rule is three entries of "WIEDERHOLUNG" sharing its number n:
// "Fachn" the subject, "Textn" the homework text, "Standn" the last lesson
// date the rule has handled. The subject is a value, not a key, so that any
// subject text ("=" or a leading "[" included) is stored as it is, and two
// rules of one subject live side by side.
#include "RecurringRules.h"

#include "model/SettingsFile.h"
#include "platform/DateText.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
const QString kSection = QStringLiteral("WIEDERHOLUNG");
const QString kSubjectKey = QStringLiteral("Fach");
const QString kTextKey = QStringLiteral("Text");
const QString kHandledKey = QStringLiteral("Stand");

QString key(const QString &name, int number)
{
    return name + QString::number(number);
}
}

QString RecurringRules::sectionName()
{
    return kSection;
}

QList<RecurringRules::Rule> RecurringRules::rules(const ProfileFile &ini)
{
    QList<Rule> rules;
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

QList<RecurringRules::Rule> RecurringRules::rules()
{
    return SettingsFile::read([](const ProfileFile &ini) { return rules(ini); });
}

int RecurringRules::addRule(const QString &subject, const QString &text)
{
    return SettingsFile::use([&](ProfileFile &ini) {
        int last = 0;
        for (const Rule &rule : rules(ini)) {
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

void RecurringRules::endRule(int number)
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

std::optional<QDate> RecurringRules::handledDate(const ProfileFile &ini, int number)
{
    return DateText::tryParse(ini.readString(kSection, key(kHandledKey, number), QString()));
}

void RecurringRules::setHandled(ProfileFile &ini, int number, const QString &dueDate)
{
    ini.writeString(kSection, key(kHandledKey, number), dueDate);
}
