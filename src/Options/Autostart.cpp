// The autostart entry "Kalmora 2.0".
#include "Autostart.h"

#include "platform/AtomicFile.h"
#include "platform/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace {

const QString kFileName = QStringLiteral("kalmora-2.0.desktop");

QString autostartDirectory()
{
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is ignored as the
    // desktop environments do.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart");
}

bool isReserved(QChar c)
{
    return QStringView(u" \t\n\r\"'\\><~|&;$*?#()`").contains(c);
}

// The desktop-entry escapes of string values: backslash, line break, tab, carriage return.
QString escapeValue(const QString &text)
{
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default: out += c;
        }
    }
    return out;
}

QString unescapeValue(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i].unicode()) {
        case u's': out += u' '; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u't': out += u'\t'; break;
        default: out += text[i];
        }
    }
    return out;
}

#ifdef Q_OS_WIN

const QString kRunKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");

#else

bool canOpen()
{
    const QString dir = autostartDirectory();
    if (!QDir().mkpath(dir))
        return false;
    const QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

// The raw Exec= value of the [Desktop Entry] group, empty when there is none.
QString storedExecValue()
{
    QFile file(Autostart::EntryPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    bool inEntryGroup = false;
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inEntryGroup = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inEntryGroup && equals > 0 && QStringView(line).left(equals).trimmed() == u"Exec")
            return QStringView(line).mid(equals + 1).trimmed().toString();
    }
    return QString();
}

#endif

}

const QString &Autostart::ValueName()
{
    static const QString name = QStringLiteral("Kalmora 2.0");
    return name;
}

QString Autostart::EntryPath()
{
    return autostartDirectory() + u'/' + kFileName;
}

QString Autostart::ProgramPath()
{
    const QString launcher = qEnvironmentVariable("KALMORA_LAUNCHER");
    if (!launcher.isEmpty())
        return QFileInfo(launcher).absoluteFilePath();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString Autostart::ExecText(const QString &programPath)
{
    QString argument = programPath;
    if (std::any_of(programPath.begin(), programPath.end(), isReserved)) {
        argument = QStringLiteral("\"");
        for (QChar c : programPath) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    }
    argument.replace(u'%', QStringLiteral("%%"));
    return escapeValue(argument);
}

QString Autostart::ProgramOfExecText(const QString &execText)
{
    const QString command = unescapeValue(execText).trimmed();
    QString program;
    if (command.startsWith(u'"')) {
        for (qsizetype i = 1; i < command.size() && command[i] != u'"'; ++i) {
            if (command[i] == u'\\' && i + 1 < command.size())
                ++i;
            program += command[i];
        }
    } else {
        program = command.section(u' ', 0, 0);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

#ifdef Q_OS_WIN

bool Autostart::AutostartEnabled()
{
    QSettings key(kRunKey, QSettings::NativeFormat);
    return key.isWritable() && !key.value(ValueName()).toString().isEmpty();
}

QString Autostart::StoredProgramPath()
{
    QSettings key(kRunKey, QSettings::NativeFormat);
    return key.isWritable() ? key.value(ValueName()).toString() : QString();
}

bool Autostart::EnableAutostart(const QString &programPath)
{
    QSettings key(kRunKey, QSettings::NativeFormat);
    if (!key.isWritable())
        return false;
    key.setValue(ValueName(), QDir::toNativeSeparators(programPath));
    key.sync();
    if (key.status() != QSettings::NoError)
        throw ERegistryError(ValueName());
    return true;
}

bool Autostart::DisableAutostart()
{
    QSettings key(kRunKey, QSettings::NativeFormat);
    if (!key.isWritable())
        return false;
    key.remove(ValueName());
    return true;
}

#else

bool Autostart::AutostartEnabled()
{
    return canOpen() && !storedExecValue().isEmpty();
}

QString Autostart::StoredProgramPath()
{
    return canOpen() ? ProgramOfExecText(storedExecValue()) : QString();
}

bool Autostart::EnableAutostart(const QString &programPath)
{
    if (!canOpen())
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\nType=Application\nName=") + ValueName()
                          + QStringLiteral("\nExec=") + ExecText(programPath)
                          + QStringLiteral("\nX-GNOME-Autostart-enabled=true\n");
    try {
        AtomicFile::write(EntryPath(), entry.toUtf8());
    } catch (const EWriteError &) {
        throw ERegistryError(ValueName());
    }
    return true;
}

bool Autostart::DisableAutostart()
{
    if (!canOpen())
        return false;
    QFile::remove(EntryPath());
    return true;
}

#endif
