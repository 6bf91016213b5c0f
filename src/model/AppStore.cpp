// The applications in the settings file.
#include "AppStore.h"

#include "SettingsFile.h"

namespace {
const QString kPrograms = QStringLiteral("PROGRAMMS");
const QString kDefault = QStringLiteral("DEFAULT");
}

QStringList AppStore::programs()
{
    return SettingsFile::read([](const ProfileFile &ini) { return ini.keys(kPrograms); });
}

bool AppStore::addProgram(const QString &program)
{
    if (program.trimmed().isEmpty())
        return false;
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(kPrograms, program, u"1"); });
    return true;
}

AppValue AppStore::defaultApplication(const QString &subject)
{
    return AppValue::fromText(SettingsFile::read([&](const ProfileFile &ini) { return defaultApplicationText(ini, subject); }));
}

QString AppStore::defaultApplicationText(const ProfileFile &ini, const QString &subject)
{
    return ini.readString(kDefault, subject, QString());
}

void AppStore::setDefaultApplication(const QString &subject, const AppValue &value)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(kDefault, subject, value.text()); });
}

AppValue AppStore::homeworkApplication(const QString &dueDate, const QString &subject)
{
    return AppValue::fromText(
        SettingsFile::read([&](const ProfileFile &ini) { return ini.readString(dueDate, execKey(subject), QString()); }));
}

void AppStore::setHomeworkApplication(const QString &dueDate, const QString &subject, const AppValue &value)
{
    SettingsFile::use([&](ProfileFile &ini) { ini.writeString(dueDate, execKey(subject), value.text()); });
}
