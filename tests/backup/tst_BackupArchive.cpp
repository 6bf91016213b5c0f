// The backup file: written with its manifest, read back byte for byte, and every hostile archive refused whole.
#include "backup/BackupArchive.h"
#include "backup/BackupManifest.h"
#include "backup/DataFiles.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

#include <archive.h>
#include <archive_entry.h>

namespace {

struct Entry
{
    Entry() = default;
    Entry(QString name, QByteArray bytes, int type = AE_IFREG, QString link = QString(), bool hardLink = false, qint64 repeat = 1)
        : name(std::move(name)), bytes(std::move(bytes)), type(type), link(std::move(link)), hardLink(hardLink), repeat(repeat)
    {
    }
    QString name;
    QByteArray bytes;
    int type = AE_IFREG;
    QString link;        // the target of a symbolic link
    bool hardLink = false;
    qint64 repeat = 1;   // the bytes written this many times, for entries too large to hold
};

// A ZIP archive as a hostile or careless writer might make it.
void writeZip(const QString &path, const QList<Entry> &entries)
{
    archive *zip = archive_write_new();
    archive_write_set_format_zip(zip);
    QVERIFY(archive_write_open_filename(zip, QFile::encodeName(path).constData()) == ARCHIVE_OK);
    for (const Entry &e : entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.toUtf8().constData());
        archive_entry_set_filetype(entry, e.type);
        archive_entry_set_perm(entry, 0644);
        if (!e.link.isEmpty()) {
            if (e.hardLink)
                archive_entry_set_hardlink(entry, e.link.toUtf8().constData());
            else
                archive_entry_set_symlink(entry, e.link.toUtf8().constData());
        }
        archive_entry_set_size(entry, e.type == AE_IFREG && e.link.isEmpty() ? e.bytes.size() * e.repeat : 0);
        QVERIFY(archive_write_header(zip, entry) == ARCHIVE_OK);
        for (qint64 i = 0; e.type == AE_IFREG && i < e.repeat; ++i)
            archive_write_data(zip, e.bytes.constData(), size_t(e.bytes.size()));
        archive_entry_free(entry);
    }
    archive_write_close(zip);
    archive_write_free(zip);
}

BackupContent sampleContent()
{
    BackupContent content;
    content.created = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
    content.files = {{QStringLiteral("DEZUVEDIRED.INI"), QByteArray("[Dates]\r\n11.12.2026=\r\n")},
                     {QStringLiteral("inet.txt"), QByteArray("Thema\r\n")},
                     {QStringLiteral("NOTEN.DAT"), QByteArray("Mathematik\r\n")},
                     {QStringLiteral("NOTEN.NOT"), QByteArray("\x0b\x01", 2)}};
    return content;
}

// Every file below `dir`, with its bytes, links as their targets.
QMap<QString, QByteArray> tree(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink())
            files.insert(info.filePath(), "-> " + info.symLinkTarget().toUtf8());
        else if (info.isDir())
            files.insert(info.filePath() + u'/', QByteArray());
        else {
            QFile file(info.filePath());
            files.insert(info.filePath(), file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable"));
        }
    }
    return files;
}

}

class tst_BackupArchive final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesAndReadsBack();
    void refusesHostileArchives_data();
    void refusesHostileArchives();
};

void tst_BackupArchive::writesAndReadsBack()
{
    TestEnvironment env;
    const BackupContent content = sampleContent();
    const QString path = env.path(QStringLiteral("sicherung.zip"));
    BackupArchive::write(path, content);

    // Read back: the same files in the same order, byte for byte, and the date.
    const BackupContent read = BackupArchive::read(path);
    QCOMPARE(read.files.size(), content.files.size());
    for (qsizetype i = 0; i < content.files.size(); ++i) {
        QCOMPARE(read.files[i].name, content.files[i].name);
        QCOMPARE(read.files[i].bytes, content.files[i].bytes);
    }
    QCOMPARE(read.created, content.created);
    QCOMPARE(read.programVersion, QStringLiteral("2.0"));

    // A plain ZIP that other programs unpack: Python's zipfile lists the entries and tests their checksums.
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"),
        QStringLiteral("import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); assert z.testzip() is None; print(' '.join(z.namelist()))"), path});
    if (python.waitForFinished(10000) && python.exitCode() == 0)
        QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("DEZUVEDIRED.INI inet.txt NOTEN.DAT NOTEN.NOT manifest.json"));
    else
        qWarning("python3 zipfile not available: %s", python.readAllStandardError().constData());
}

void tst_BackupArchive::refusesHostileArchives_data()
{
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QString>("reason");
    const BackupContent good = sampleContent();
    const QByteArray manifest = BackupManifest::write(good);
    QList<Entry> valid;
    for (const BackupFile &file : good.files)
        valid.append({file.name, file.bytes});
    const Entry manifestEntry{BackupManifest::fileName(), manifest};
    const auto with = [&](const Entry &extra) {
        QList<Entry> entries = valid;
        entries.append(extra);
        entries.append(manifestEntry);
        return entries;
    };

    QTest::newRow("parent path") << with({QStringLiteral("../x"), "boom"}) << QStringLiteral("„../x“ ist keine Datendatei");
    QTest::newRow("absolute path") << with({QStringLiteral("/tmp/DEZUVEDIRED.INI"), "boom"}) << QStringLiteral("keine Datendatei");
    QTest::newRow("data file in a folder") << with({QStringLiteral("Sicherungen/../NOTEN.DAT"), "boom"}) << QStringLiteral("keine Datendatei");
    QTest::newRow("other name") << with({QStringLiteral("autostart.desktop"), "boom"}) << QStringLiteral("keine Datendatei");
    QList<Entry> symlink = valid;
    symlink[0] = {QStringLiteral("DEZUVEDIRED.INI"), QByteArray(), AE_IFLNK, QStringLiteral("/etc/passwd")};
    symlink.append(manifestEntry);
    QTest::newRow("symbolic link") << symlink << QStringLiteral("keine gewöhnliche Datei");
    // (A hard link cannot be told apart in a ZIP: it is an empty file there, which the checksum refuses.)
    QTest::newRow("folder") << with({QStringLiteral("NOTEN.DAT"), QByteArray(), AE_IFDIR}) << QStringLiteral("keine gewöhnliche Datei");
    QTest::newRow("twice") << with({QStringLiteral("NOTEN.DAT"), "Mathematik\r\n"}) << QStringLiteral("zweimal");

    // Sizes: the data are zeros, so the archives stay small while they unpack to much.
    const QByteArray megabyte(1024 * 1024, '\0');
    QList<Entry> large = {{QStringLiteral("NOTEN.DAT"), megabyte, AE_IFREG, QString(), false, 101}, manifestEntry};
    QTest::newRow("entry over 100 MB") << large << QStringLiteral("größer als 100 MB");
    QList<Entry> total = {{QStringLiteral("DEZUVEDIRED.INI"), megabyte, AE_IFREG, QString(), false, 70},
                          {QStringLiteral("NOTEN.DAT"), megabyte, AE_IFREG, QString(), false, 70},
                          {QStringLiteral("NOTEN.NOT"), megabyte, AE_IFREG, QString(), false, 70}, manifestEntry};
    QTest::newRow("total over 200 MB") << total << QStringLiteral("mehr als 200 MB");

    QList<Entry> changed = valid;
    changed[0].bytes = "[Dates]\r\n12.12.2026=\r\n"; // same size, other bytes
    changed.append(manifestEntry);
    QTest::newRow("checksum") << changed << QStringLiteral("Prüfsumme");
    QTest::newRow("no manifest") << valid << QStringLiteral("Inhaltsverzeichnis");
    QList<Entry> missing = valid.mid(1);
    missing.append(manifestEntry);
    QTest::newRow("file of the manifest missing") << missing << QStringLiteral("„DEZUVEDIRED.INI“ fehlt");
    QTest::newRow("damaged") << QList<Entry>() << QStringLiteral("beschädigt");
    QTest::newRow("no archive") << QList<Entry>() << QStringLiteral("keine ZIP-Datei");
}

// Each archive is refused by the program itself, with exit status 2 and a
// German message, and nothing in the program directory changes.
void tst_BackupArchive::refusesHostileArchives()
{
    QFETCH(QList<Entry>, entries);
    QFETCH(QString, reason);
    TestEnvironment env;
    for (const BackupFile &file : sampleContent().files)
        env.writeFile(file.name, "old " + file.bytes);
    QVERIFY(QDir().mkpath(env.path(QStringLiteral("Sicherungen/2026-12-08"))));
    QTemporaryDir outside;
    const QString zipPath = outside.filePath(QStringLiteral("sicherung.zip"));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    if (tag == QStringLiteral("damaged")) {
        BackupArchive::write(zipPath, sampleContent());
        QFile zip(zipPath);
        QVERIFY(zip.open(QIODevice::ReadWrite));
        QByteArray bytes = zip.readAll();
        bytes.truncate(bytes.size() * 2 / 3); // cut off where a download broke
        zip.resize(0);
        zip.write(bytes);
    } else if (tag == QStringLiteral("no archive")) {
        QFile text(zipPath);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("[Dates]\r\n");
    } else {
        writeZip(zipPath, entries);
    }
    const QMap<QString, QByteArray> before = tree(env.dir());

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KALMORA_DIR"), env.dir());
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("KALMORA_PROGRAM"), {QStringLiteral("--wiederherstellen"), zipPath});
    QVERIFY(program.waitForFinished(120000));
    const QString message = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitCode(), 2);
    QVERIFY2(message.contains(reason), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Es wurde nichts verändert.")), qPrintable(message));
    QCOMPARE(tree(env.dir()), before);
}

QTEST_GUILESS_MAIN(tst_BackupArchive)
#include "tst_BackupArchive.moc"
