// Fuzzes the reader of the grade files "NOTEN.DAT" and "NOTEN.NOT": read, save and read again must give the same tree.
//
// Input: the bytes of "NOTEN.DAT", optionally followed by the separator line
// below and the bytes of "NOTEN.NOT"; without the separator "NOTEN.NOT" is
// missing. The files are written into a temporary program directory.
#include "FuzzCheck.h"

#include "model/GradeFileError.h"
#include "model/GradeStore.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr QByteArrayView kSeparator = "\n==NOTEN.NOT==\n";

QTemporaryDir *programDir = nullptr;

QString pathOf(const QString &name)
{
    return programDir->filePath(name);
}

void writeFile(const QString &name, QByteArrayView bytes)
{
    QFile file(pathOf(name));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
}

QByteArray readFile(const QString &name)
{
    QFile file(pathOf(name));
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Reads the grade files; a bad line or a short record file leaves the tree as far as it was read.
void load(GradeTree &tree)
{
    try {
        FUZZ_CHECK(GradeStore::LoadGrades(tree) == GradeStore::Source::File);
    } catch (const GradeFileError &) {
    } catch (const EInOutError &) {
    }
}

// What a node read from the file keeps when saved and read again.
void checkSameNode(const GradeNode &read, const GradeNode &reread)
{
    FUZZ_CHECK(reread.text() == GradeStore::storedText(read.text()));
    FUZZ_CHECK(reread.level() == read.level());
    FUZZ_CHECK(reread.image() == GradeNode::FileImage);
    if (read.level() == 0) {
        FUZZ_CHECK(!read.record() && !reread.record());
    } else {
        const GradeRecord missing = read.level() == 1 ? GradeRecord{0, GradeRecord::NewWeight} : GradeRecord{};
        FUZZ_CHECK(reread.record() == read.record().value_or(missing));
    }
    FUZZ_CHECK(reread.childCount() == read.childCount());
    for (int i = 0; i < read.childCount(); ++i)
        checkSameNode(read.child(i), reread.child(i));
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // scripts/fuzz names a directory in memory that it removes afterwards;
    // saving syncs each file, which costs nothing there.
    QString parent = qEnvironmentVariable("KALMORA_FUZZ_TMPDIR");
    if (parent.isEmpty())
        parent = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    programDir = new QTemporaryDir(parent + QStringLiteral("/kalmora-grades-XXXXXX"));
    FUZZ_CHECK(programDir->isValid());
    setProgramDirectory(programDir->path());
    std::atexit([] { delete programDir; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype separator = input.indexOf(kSeparator);
    writeFile(GradeStore::TreeFileName(), separator < 0 ? input : input.first(separator));
    if (separator < 0)
        QFile::remove(pathOf(GradeStore::RecordFileName()));
    else
        writeFile(GradeStore::RecordFileName(), input.sliced(separator + kSeparator.size()));

    GradeTree read;
    load(read);
    for (const GradeNode *node : read.preOrder())
        FUZZ_CHECK(node->level() >= 0 && node->level() <= 2 && node->image() == GradeNode::FileImage);

    GradeStore::SaveGrades(read);
    const QByteArray treeBytes = readFile(GradeStore::TreeFileName());
    const QByteArray recordBytes = readFile(GradeStore::RecordFileName());

    // What was saved reads without a fault, and saves to the same bytes.
    GradeTree reread;
    FUZZ_CHECK(GradeStore::LoadGrades(reread) == GradeStore::Source::File);
    FUZZ_CHECK(reread.rootCount() == read.rootCount());
    for (int i = 0; i < read.rootCount(); ++i)
        checkSameNode(read.root(i), reread.root(i));
    GradeStore::SaveGrades(reread);
    FUZZ_CHECK(readFile(GradeStore::TreeFileName()) == treeBytes);
    FUZZ_CHECK(readFile(GradeStore::RecordFileName()) == recordBytes);
    return 0;
}
