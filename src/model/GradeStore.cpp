// Reading and writing the grade files, and building a first grade tree from the timetable.
#include "GradeStore.h"

#include "GradeFileError.h"
#include "TimetableStore.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"
#include "platform/ProgramDirectory.h"
#include "platform/SaveObservers.h"
#include "platform/Win1252.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Grades are the deepest level that has a meaning.
constexpr int kDeepestLevel = 2;

bool hasRecord(const GradeNode &node)
{
    return node.level() == 1 || node.level() == 2;
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Die Datei %1 kann nicht gelesen werden.").arg(path));
    return file.readAll();
}

// The lines of a text split at CR LF, CR or LF. A line break at the very end
// ends the last line and starts none.
QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.sliced(begin, i - begin));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.append(text.sliced(begin));
    return lines;
}

// Adds a node after `previous` at `level`, which is at most one deeper.
GradeNode &addAtLevel(GradeTree &tree, GradeNode *previous, int level, const QString &text)
{
    if (!previous)
        return tree.addRoot(text, GradeNode::FileImage);
    if (level == previous->level() + 1)
        return previous->addChild(text, GradeNode::FileImage);
    GradeNode *sibling = previous;
    while (sibling->level() > level)
        sibling = sibling->parent();
    GradeNode *parent = sibling->parent();
    return parent ? parent->addChild(text, GradeNode::FileImage) : tree.addRoot(text, GradeNode::FileImage);
}

// Reads the tree text into `tree`; a line that does not fit ends the reading
// and is returned as the error, with the nodes before it kept.
std::optional<GradeFileError> readTreeText(QStringView content, const QString &path, GradeTree &tree)
{
    GradeNode *previous = nullptr;
    for (QStringView line : splitLines(content)) {
        qsizetype level = 0;
        while (level < line.size() && (line[level] == u'\t' || line[level] == u' '))
            ++level;
        const QString text = line.sliced(level).toString();
        // The first line is a subject, however it is indented.
        const int previousLevel = previous ? previous->level() : -1;
        if (previous && (level > previousLevel + 1 || level > kDeepestLevel)) {
            return GradeFileError(QStringLiteral("Ungültige Ebene %1 in der Zeile '%2' der Datei %3.")
                                      .arg(level)
                                      .arg(text, path));
        }
        previous = &addAtLevel(tree, previous, previous ? int(level) : 0, text);
    }
    return std::nullopt;
}

// What a node without a record (a short "NOTEN.NOT") is saved with: a
// category keeps its share in the averages with the weight of a new one; a
// grade whose value is lost counts for nothing rather than as the worst grade.
GradeRecord missingRecord(const GradeNode &node)
{
    return node.level() == 1 ? GradeRecord{0, GradeRecord::NewWeight} : GradeRecord{};
}

// Gives every category and grade, in pre-order, the next two bytes of the record file.
void attachRecords(const GradeTree &tree, const QString &path)
{
    if (!QFileInfo::exists(path))
        throw EInOutError(QStringLiteral("Die Datei %1 fehlt.").arg(path));
    const QByteArray bytes = readWholeFile(path);
    qsizetype needed = 0;
    qsizetype at = 0;
    for (GradeNode *node : tree.preOrder()) {
        if (!hasRecord(*node))
            continue;
        ++needed;
        if (at + 2 <= bytes.size()) {
            node->setRecord(GradeRecord{quint8(bytes[at]), quint8(bytes[at + 1])});
            at += 2;
        }
    }
    if (at / 2 < needed) {
        throw EInOutError(QStringLiteral("Die Datei %1 ist zu kurz: Sie enthält %2 von %3 Notendatensätzen.")
                              .arg(path)
                              .arg(at / 2)
                              .arg(needed));
    }
}

SaveObservers<> &saveObservers()
{
    static SaveObservers<> observers;
    return observers;
}

// The grade files and their backups, as pairs of file and backup.
QList<std::pair<QString, QString>> backupPairs()
{
    return {{DataFilePath(GradeStore::TreeFileName()), DataFilePath(GradeStore::TreeBackupName())},
            {DataFilePath(GradeStore::RecordFileName()), DataFilePath(GradeStore::RecordBackupName())}};
}

// Keeps the grade files as they are now as their backups.
void keepBackups()
{
    const auto pairs = backupPairs();
    // Copied as they would be read: a save cut off between the two is completed or undone first.
    AtomicFile::finishGroup({pairs[0].first, pairs[1].first});
    QList<std::pair<QString, QByteArray>> copies;
    QStringList stale;
    for (const auto &[file, backup] : pairs) {
        if (QFileInfo::exists(file))
            copies.append({backup, readWholeFile(file)});
        else
            stale.append(backup);
    }
    // An old backup is never left beside a new one of the other file.
    for (const QString &backup : stale) {
        if (QFileInfo::exists(backup) && !QFile::remove(backup))
            throw EWriteError(backup);
    }
    if (!copies.isEmpty())
        AtomicFile::writeGroup(copies);
}

}

const QString &GradeStore::TreeFileName()
{
    static const QString name = QStringLiteral("NOTEN.DAT");
    return name;
}

const QString &GradeStore::RecordFileName()
{
    static const QString name = QStringLiteral("NOTEN.NOT");
    return name;
}

const QString &GradeStore::TreeBackupName()
{
    static const QString name = QStringLiteral("NOTEN.DAT.bak");
    return name;
}

const QString &GradeStore::RecordBackupName()
{
    static const QString name = QStringLiteral("NOTEN.NOT.bak");
    return name;
}

const QStringList &GradeStore::CategoryNames()
{
    static const QStringList names = {QStringLiteral("Kurs-/Klassenarbeiten"),
                                      QStringLiteral("andere Leistungsnachweise")};
    return names;
}

GradeStore::Source GradeStore::LoadGrades(GradeTree &tree)
{
    tree.clear();
    // Incomplete until the reading has ended well.
    tree.setComplete(false);
    // A save cut off between the two files is completed or undone first.
    AtomicFile::finishGroup({DataFilePath(TreeFileName()), DataFilePath(RecordFileName())});
    const QString treePath = DataFilePath(TreeFileName());
    if (!QFileInfo::exists(treePath)) {
        tree = BuildGradeTree();
        return Source::Timetable;
    }
    const std::optional<GradeFileError> badLine = readTreeText(Win1252::decode(readWholeFile(treePath)), treePath, tree);
    try {
        attachRecords(tree, DataFilePath(RecordFileName()));
    } catch (const EInOutError &) {
        // A bad line is the cause of more harm than a missing record, so it is the one reported.
        if (badLine)
            throw *badLine;
        throw;
    }
    if (badLine)
        throw *badLine;
    tree.setComplete(true);
    return Source::File;
}

GradeTree GradeStore::BuildGradeTree()
{
    GradeTree tree;
    for (const QString &subject : TimetableStore::CollectSubjects()) {
        GradeNode &node = tree.addRoot(subject, GradeNode::BuiltImage);
        for (const QString &category : CategoryNames())
            node.addChild(category, GradeNode::BuiltImage, GradeRecord{0, GradeRecord::NewWeight});
    }
    return tree;
}

void GradeStore::SaveGrades(const GradeTree &tree)
{
    QByteArray lines;
    QByteArray records;
    for (const GradeNode *node : tree.preOrder()) {
        lines += QByteArray(node->level(), '\t') + Win1252::encode(storedText(node->text())) + "\r\n";
        if (hasRecord(*node)) {
            const GradeRecord record = node->record().value_or(missingRecord(*node));
            records += char(record.value);
            records += char(record.weight);
        }
    }
    // Replaced as one, since records read against another tree's shape land on the wrong nodes.
    AtomicFile::writeGroup({{DataFilePath(TreeFileName()), lines}, {DataFilePath(RecordFileName()), records}});
    saveObservers().notify();
}

int GradeStore::addSaveObserver(SaveObserver observer)
{
    return saveObservers().add(std::move(observer));
}

void GradeStore::removeSaveObserver(int id)
{
    saveObservers().remove(id);
}

void GradeStore::announceReplaced()
{
    saveObservers().notify();
}

void GradeStore::ApplyGrades(GradeTree &tree)
{
    if (!tree.isComplete())
        keepBackups();
    SaveGrades(tree);
    tree.setComplete(true);
}

QString GradeStore::storedText(const QString &text)
{
    QString stored = text;
    for (QChar &c : stored) {
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    }
    qsizetype blanks = 0;
    while (blanks < stored.size() && stored[blanks] == u' ')
        ++blanks;
    return stored.mid(blanks);
}
