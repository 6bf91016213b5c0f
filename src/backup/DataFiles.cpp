// The data files of the program directory, read for a backup.
#include "DataFiles.h"

#include "platform/Clock.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"

#include <QFile>
#include <QFileInfo>

namespace DataFiles {

QStringList names()
{
    return {QStringLiteral("DEZUVEDIRED.INI"), QStringLiteral("inet.txt"), QStringLiteral("NOTEN.DAT"),
            QStringLiteral("NOTEN.NOT"),
            // what the CalDAV synchronisation last saw on both sides
            QStringLiteral("CALDAV.DAT"),
            // and what the class list last saw
            QStringLiteral("KLASSE.DAT")};
}

QString usualName(const QString &name)
{
    for (const QString &usual : names()) {
        if (usual.compare(name, Qt::CaseInsensitive) == 0)
            return usual;
    }
    return QString();
}

BackupContent collect()
{
    BackupContent content;
    content.created = Clock::now();
    for (const QString &name : names()) {
        const QString path = DataFilePath(name);
        if (!QFileInfo(path).isFile())
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
        content.files.append({name, std::move(bytes)});
    }
    return content;
}

}
