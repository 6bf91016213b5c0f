// Fuzzes the reader of backup files: any input is refused with a message or
// read as data files only, within the limits, and written again it reads back the same.
//
// Input: the bytes of a backup file (a ZIP archive), written to a temporary folder.
#include "FuzzCheck.h"

#include "backup/BackupArchive.h"
#include "backup/DataFiles.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {
QTemporaryDir *scratch = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QString parent = qEnvironmentVariable("KALMORA_FUZZ_TMPDIR");
    if (parent.isEmpty())
        parent = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratch = new QTemporaryDir(parent + QStringLiteral("/kalmora-backup-XXXXXX"));
    FUZZ_CHECK(scratch->isValid());
    std::atexit([] { delete scratch; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratch->filePath(QStringLiteral("input.zip"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }
    BackupContent content;
    try {
        content = BackupArchive::read(path);
    } catch (const KalmoraError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
        return 0;
    }
    qint64 total = 0;
    for (const BackupFile &file : content.files) {
        FUZZ_CHECK(DataFiles::usualName(file.name) == file.name);
        FUZZ_CHECK(file.bytes.size() <= BackupArchive::kMaxEntryBytes);
        total += file.bytes.size();
    }
    FUZZ_CHECK(total <= BackupArchive::kMaxTotalBytes);

    // What was accepted is written and read again unchanged.
    const QString again = scratch->filePath(QStringLiteral("again.zip"));
    BackupArchive::write(again, content);
    const BackupContent reread = BackupArchive::read(again);
    FUZZ_CHECK(reread.files.size() == content.files.size());
    for (qsizetype i = 0; i < content.files.size(); ++i) {
        FUZZ_CHECK(reread.files[i].name == content.files[i].name);
        FUZZ_CHECK(reread.files[i].bytes == content.files[i].bytes);
    }
    return 0;
}
