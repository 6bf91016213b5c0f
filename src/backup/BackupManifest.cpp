// The manifest of a backup as a small JSON document.
#include "BackupManifest.h"

#include "DataFiles.h"
#include "platform/Errors.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {
const QString kFormat = QStringLiteral("Kalmora-Sicherung");
constexpr int kFormatVersion = 1;

QString checksum(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

[[noreturn]] void refuse(const QString &reason)
{
    throw KalmoraError(reason);
}
}

namespace BackupManifest {

QString fileName()
{
    return QStringLiteral("manifest.json");
}

QByteArray write(const BackupContent &content)
{
    QJsonArray files;
    for (const BackupFile &file : content.files) {
        files.append(QJsonObject{{QStringLiteral("name"), file.name},
                                 {QStringLiteral("size"), double(file.bytes.size())},
                                 {QStringLiteral("sha256"), checksum(file.bytes)}});
    }
    const QJsonObject manifest{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("formatVersion"), kFormatVersion},
        {QStringLiteral("programVersion"), QStringLiteral(KALMORA_VERSION)},
        {QStringLiteral("created"), content.created.toString(Qt::ISODate)},
        {QStringLiteral("files"), files},
    };
    return QJsonDocument(manifest).toJson(QJsonDocument::Indented);
}

BackupContent verify(const QByteArray &manifestBytes, const QList<BackupFile> &files)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(manifestBytes, &error);
    const QJsonObject manifest = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject() || manifest.value(QStringLiteral("format")).toString() != kFormat)
        refuse(QStringLiteral("Das Inhaltsverzeichnis „%1“ ist unlesbar.").arg(fileName()));
    if (manifest.value(QStringLiteral("formatVersion")).toInt() != kFormatVersion)
        refuse(QStringLiteral("Die Sicherung stammt von einer neueren Programmversion."));

    BackupContent content;
    content.programVersion = manifest.value(QStringLiteral("programVersion")).toString();
    content.created = QDateTime::fromString(manifest.value(QStringLiteral("created")).toString(), Qt::ISODate);
    QSet<QString> listed;
    const QJsonArray entries = manifest.value(QStringLiteral("files")).toArray();
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const QString name = entry.value(QStringLiteral("name")).toString();
        if (DataFiles::usualName(name) != name || listed.contains(name))
            refuse(QStringLiteral("Das Inhaltsverzeichnis nennt „%1“, das keine Datendatei ist oder doppelt steht.").arg(name));
        listed.insert(name);
        const auto found = std::find_if(files.begin(), files.end(), [&](const BackupFile &file) { return file.name == name; });
        if (found == files.end())
            refuse(QStringLiteral("Die Datei „%1“ fehlt in der Sicherung.").arg(name));
        const QJsonValue size = entry.value(QStringLiteral("size"));
        if (!size.isDouble() || size.toDouble() != double(found->bytes.size())
            || entry.value(QStringLiteral("sha256")).toString() != checksum(found->bytes))
            refuse(QStringLiteral("Die Datei „%1“ stimmt nicht mit ihrer Prüfsumme überein; sie ist beschädigt.").arg(name));
    }
    for (const BackupFile &file : files) {
        if (!listed.contains(file.name))
            refuse(QStringLiteral("Die Datei „%1“ steht nicht im Inhaltsverzeichnis.").arg(file.name));
    }
    // The files in the usual order, whatever the order of the archive.
    for (const QString &name : DataFiles::names()) {
        const auto found = std::find_if(files.begin(), files.end(), [&](const BackupFile &file) { return file.name == name; });
        if (found != files.end())
            content.files.append(*found);
    }
    return content;
}

}
