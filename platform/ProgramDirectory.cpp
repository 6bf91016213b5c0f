// The program directory and case-insensitive lookup of data files in it.
#include "ProgramDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString &overrideDirectory()
{
    static QString directory;
    return directory;
}

QString withSlash(QString dir)
{
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

QString executableDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

}

QString ProgramDirectory()
{
    if (!overrideDirectory().isEmpty())
        return overrideDirectory();
    const QString fromEnvironment = qEnvironmentVariable("KALMORA_DIR");
    if (!fromEnvironment.isEmpty())
        return withSlash(QDir(fromEnvironment).absolutePath());
    return withSlash(executableDirectory());
}

void setProgramDirectory(const QString &directory)
{
    overrideDirectory() = directory.isEmpty() ? QString() : withSlash(QDir(directory).absolutePath());
}

QString DataFilePath(const QString &bareName)
{
    const QString dir = ProgramDirectory();
    // The usual case: the file is there under the name asked for, which needs no listing.
    if (QFileInfo(dir + bareName).isFile())
        return dir + bareName;
    const QStringList found = QDir(dir).entryList({bareName}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    if (found.contains(bareName) || found.isEmpty()) {
        // The settings file is created under its usual upper-case name.
        if (found.isEmpty() && bareName.compare(u"DEZUVEDIRED.INI", Qt::CaseInsensitive) == 0)
            return dir + QStringLiteral("DEZUVEDIRED.INI");
        return dir + bareName;
    }
    return dir + found.first();
}
