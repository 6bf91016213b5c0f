// Backup files as ZIP archives, written and read with libarchive.
#include "BackupArchive.h"

#include "BackupManifest.h"
#include "DataFiles.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace {

// The manifest is a few hundred bytes; anything near this is no manifest.
constexpr qint64 kMaxManifestBytes = 1024 * 1024;

struct ArchiveDeleter
{
    void operator()(archive *a) const { archive_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

struct EntryDeleter
{
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

la_ssize_t appendToBuffer(archive *, void *buffer, const void *data, size_t length)
{
    static_cast<QByteArray *>(buffer)->append(static_cast<const char *>(data), qsizetype(length));
    return la_ssize_t(length);
}

void addEntry(archive *zip, const QString &name, const QByteArray &bytes, const QDateTime &modified, const QString &path)
{
    std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
    const QByteArray utf8 = name.toUtf8();
    archive_entry_set_pathname(entry.get(), utf8.constData());
    archive_entry_set_size(entry.get(), bytes.size());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_mtime(entry.get(), modified.toSecsSinceEpoch(), 0);
    if (archive_write_header(zip, entry.get()) != ARCHIVE_OK
        || (!bytes.isEmpty() && archive_write_data(zip, bytes.constData(), size_t(bytes.size())) != bytes.size()))
        throw EWriteError(path);
}

class Reader final
{
public:
    explicit Reader(const QString &path)
        : m_path(path)
    {
    }

    BackupContent read()
    {
        QFile file(m_path);
        if (!file.exists())
            throw EInOutError(QStringLiteral("Die Datei %1 fehlt.").arg(m_path));
        ArchivePtr zip(archive_read_new());
        archive_read_support_format_zip(zip.get());
        if (archive_read_open_filename(zip.get(), QFile::encodeName(m_path).constData(), 64 * 1024) != ARCHIVE_OK)
            refuse(QStringLiteral("Sie ist keine ZIP-Datei oder kann nicht gelesen werden."));
        QList<BackupFile> files;
        QByteArray manifest;
        bool haveManifest = false;
        archive_entry *entry = nullptr;
        for (;;) {
            const int status = archive_read_next_header(zip.get(), &entry);
            if (status == ARCHIVE_EOF)
                break;
            if (status != ARCHIVE_OK)
                refuse(QStringLiteral("Sie ist beschädigt (%1).").arg(errorText(zip.get())));
            const QString name = checkedName(entry);
            const bool isManifest = name == BackupManifest::fileName();
            const QByteArray bytes = readData(zip.get(), name, isManifest ? kMaxManifestBytes : BackupArchive::kMaxEntryBytes);
            if (isManifest) {
                manifest = bytes;
                haveManifest = true;
            } else {
                files.append({name, bytes});
            }
        }
        if (!haveManifest)
            refuse(QStringLiteral("Ihr fehlt das Inhaltsverzeichnis „%1“.").arg(BackupManifest::fileName()));
        try {
            return BackupManifest::verify(manifest, files);
        } catch (const KalmoraError &error) {
            refuse(error.message());
        }
    }

private:
    [[noreturn]] void refuse(const QString &reason) const
    {
        throw KalmoraError(QStringLiteral("Die Datei „%1“ ist keine gültige Kalmora-Sicherung. %2 Es wurde nichts verändert.")
                               .arg(QDir::toNativeSeparators(m_path), reason));
    }

    static QString errorText(archive *zip)
    {
        const char *text = archive_error_string(zip);
        return text ? QString::fromUtf8(text) : QStringLiteral("unbekannter Fehler");
    }

    // The entry's name when it is a plain file named as a data file or the
    // manifest, and not seen before; anything else refuses the archive.
    QString checkedName(archive_entry *entry)
    {
        const char *utf8 = archive_entry_pathname_utf8(entry);
        const char *raw = archive_entry_pathname(entry);
        const QString name = utf8 ? QString::fromUtf8(utf8) : raw ? QString::fromLocal8Bit(raw) : QString();
        if (archive_entry_filetype(entry) != AE_IFREG || archive_entry_symlink(entry) || archive_entry_hardlink(entry))
            refuse(QStringLiteral("Der Eintrag „%1“ ist keine gewöhnliche Datei (ein Ordner oder Verweis).").arg(name));
        const bool known = name == BackupManifest::fileName() || DataFiles::usualName(name) == name;
        if (!known)
            refuse(QStringLiteral("Der Eintrag „%1“ ist keine Datendatei des Planers.").arg(name));
        if (m_seen.contains(name))
            refuse(QStringLiteral("Der Eintrag „%1“ steht zweimal darin.").arg(name));
        m_seen.insert(name);
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > BackupArchive::kMaxEntryBytes)
            refuse(tooLarge(name));
        return name;
    }

    static QString tooLarge(const QString &name)
    {
        return QStringLiteral("Der Eintrag „%1“ ist größer als %2 MB.").arg(name).arg(BackupArchive::kMaxEntryBytes / (1024 * 1024));
    }

    // Reads the entry's data, counting what it unpacks to: the sizes an
    // archive states are not trusted.
    QByteArray readData(archive *zip, const QString &name, qint64 limit)
    {
        QByteArray bytes;
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t got = archive_read_data(zip, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0)
                refuse(QStringLiteral("Der Eintrag „%1“ ist beschädigt (%2).").arg(name, errorText(zip)));
            m_total += got;
            if (bytes.size() + got > limit)
                refuse(name == BackupManifest::fileName() ? QStringLiteral("Das Inhaltsverzeichnis ist zu groß.") : tooLarge(name));
            if (m_total > BackupArchive::kMaxTotalBytes)
                refuse(QStringLiteral("Sie entpackt zu mehr als %1 MB.").arg(BackupArchive::kMaxTotalBytes / (1024 * 1024)));
            bytes.append(buffer, qsizetype(got));
        }
        return bytes;
    }

    QString m_path;
    QSet<QString> m_seen;
    qint64 m_total = 0;
};

}

namespace BackupArchive {

QString defaultPath()
{
    return QDir::home().filePath(QStringLiteral("Kalmora-Sicherung-%1.zip").arg(Clock::today().toString(QStringLiteral("yyyy-MM-dd"))));
}

void write(const QString &path, const BackupContent &content)
{
    QByteArray zipBytes;
    {
        ArchivePtr zip(archive_write_new());
        if (archive_write_set_format_zip(zip.get()) != ARCHIVE_OK || archive_write_zip_set_compression_deflate(zip.get()) != ARCHIVE_OK
            || archive_write_set_bytes_in_last_block(zip.get(), 1) != ARCHIVE_OK
            || archive_write_open(zip.get(), &zipBytes, nullptr, &appendToBuffer, nullptr) != ARCHIVE_OK)
            throw EWriteError(path);
        for (const BackupFile &file : content.files)
            addEntry(zip.get(), file.name, file.bytes, content.created, path);
        addEntry(zip.get(), BackupManifest::fileName(), BackupManifest::write(content), content.created, path);
        if (archive_write_close(zip.get()) != ARCHIVE_OK)
            throw EWriteError(path);
    }
    AtomicFile::write(path, zipBytes);
}

BackupContent read(const QString &path)
{
    return Reader(path).read();
}

}
