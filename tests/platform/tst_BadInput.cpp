// Damaged, odd and enormous data files, and saves that cannot be written: a message, never a crash or lost data.
#include "model/GradeFileError.h"
#include "model/GradeStore.h"
#include "model/ResearchCatalogue.h"
#include "Options/TForm8.h"
#include "model/HomeworkStore.h"
#include "main2/Startup.h"
#include "main2/TForm1.h"
#include "platform/ErrorReporter.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramDirectory.h"
#include "platform/Prompt.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

#include <functional>

#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kSettingsName = QStringLiteral("DEZUVEDIRED.INI");
const QString kTreeName = QStringLiteral("NOTEN.DAT");
const QString kRecordName = QStringLiteral("NOTEN.NOT");
const QString kCatalogueName = QStringLiteral("inet.txt");

const QByteArray kGradeTree = "Deutsch\r\n\tKurs-/Klassenarbeiten\r\n\t\t1. Klassenarbeit\r\n\tandere Leistungsnachweise\r\n";
const QByteArray kGradeRecords("\0\2\13\1\0\1", 6);

// Random bytes with every value, NULs included; the same for every run.
QByteArray garbage(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// The texts of the message boxes shown since the last call.
QStringList shownTexts()
{
    QStringList texts;
    for (const Prompt::Question &question : Prompt::takeAsked())
        texts.append(question.text);
    return texts;
}

// The whole start-up without the message loop; returns the main window's state through `startup`.
void startUp(Startup &startup)
{
    startup.setTrayAvailable([] { return true; });
    startup.createWindows();
    startup.finishStartup();
}

// Whether the permission bits stop this process from writing: not so for the superuser.
bool permissionsBind(const QString &path)
{
    return !QFileInfo(path).isWritable();
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

}

class tst_BadInput final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void damagedSettingsAtStartup();
    void brokenDatesAndOddLines();
    void enormousSettingsFile();
    void damagedGradeFiles();
    void damagedCatalogue();
    void readOnlyFiles();
    void fullDiskDuringSave();
};

void tst_BadInput::damagedSettingsAtStartup()
{
    // An empty file reads as no data; a binary one as entries nobody asks
    // for. Start-up shows the main window without a message and, with nothing
    // to change, leaves the bytes as they were.
    const QList<QByteArray> contents = {QByteArray(), garbage(64 * 1024, 7)};
    for (const QByteArray &content : contents) {
        TestEnvironment env;
        env.writeFile(kSettingsName, content);
        Startup startup;
        startUp(startup);
        QCOMPARE(shownTexts(), QStringList());
        QVERIFY(startup.mainWindow()->isVisible());
        QCOMPARE(env.readFile(kSettingsName), content);
    }

    // A file cut off inside an entry or a section header: what stands before the cut is read.
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathematik\n2=Deu\n[Dates]\n08.12.2026=1\n[08.12.2026]\nBiologie=Seite 4\n[Dienst"));
    Startup startup;
    startUp(startup);
    QCOMPARE(shownTexts(), QStringList());
    auto *grid = startup.mainWindow()->findChild<QTableWidget *>(QStringLiteral("StringGrid1"));
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("Mathematik"));
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("Deu"));
    QCOMPARE(startup.mainWindow()->findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->title(),
             QStringLiteral(" Hausaufgaben für 08.12.2026"));
    QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Biologie")), QStringLiteral("Seite 4"));
}

void tst_BadInput::brokenDatesAndOddLines()
{
    {
        // Hand-edited dates that are no dates: holidays, events and alarms
        // skip them, start-up goes on without a message.
        TestEnvironment env;
        env.writeSettings(QStringLiteral("[FERIEN]\nHERBST1=31.02.2026\nHERBST2=xx.yy\nWEIH1=\nWEIH2\n"
                                         "[TERMIN]\n31.02.2027=Kino\nxx.yy=Zirkus\n"
                                         "[ALARM]\nxx.yy=Oma\n32.12.2026=Opa\n"
                                         "[ERINNERN]\n7.12.2026 xx:yy:zz=Kino\n"));
        Startup startup;
        startUp(startup);
        QCOMPARE(shownTexts(), QStringList());
        QVERIFY(startup.mainWindow()->isVisible());
    }
    {
        // A due date that is no date is named once with the platform's text;
        // the window is still shown and the file is left as it was.
        TestEnvironment env;
        env.writeSettings(QStringLiteral("[Dates]\n31.02.2027=1\n09.12.2026=1\n[31.02.2027]\nMathe=S. 5\n[09.12.2026]\nDeutsch=Gedicht\n"));
        const QByteArray before = env.readFile(kSettingsName);
        Startup startup;
        startUp(startup);
        const QStringList shown = shownTexts();
        QCOMPARE(shown, QStringList{"'31.02.2027' is not a valid date"});
        QVERIFY(startup.mainWindow()->isVisible());
        QCOMPARE(env.readFile(kSettingsName), before);
    }
    {
        // Keys without a value, lines without "=", "=" at the start of a line,
        // two sections of one name: the first section answers, and a write
        // changes only its own line.
        TestEnvironment env;
        env.writeSettings(QStringLiteral("[Dates]\n08.12.2026=1\n[08.12.2026]\nMathe=\nDeutsch\n=Gedicht\nBio = Zelle = Kern \n"
                                         "[Dates]\n10.12.2026=1\n[08.12.2026]\nMathe=zweiter Abschnitt\n"));
        QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Mathe")), QString());
        QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Deutsch")), QString());
        QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Bio")), QStringLiteral("Zelle = Kern"));
        QCOMPARE(HomeworkStore::dueDates(), QStringList{"08.12.2026"});
        HomeworkStore::writeText(QStringLiteral("08.12.2026"), QStringLiteral("Mathe"), QStringLiteral("S. 7"));
        QCOMPARE(env.settingsText(), QStringLiteral("[Dates]\n08.12.2026=1\n[08.12.2026]\nMathe=S. 7\nDeutsch\n=Gedicht\nBio = Zelle = Kern \n"
                                                    "[Dates]\n10.12.2026=1\n[08.12.2026]\nMathe=zweiter Abschnitt\n"));
        // Pruning at start-up keeps the homework of both "Dates" sections.
        Startup startup;
        startUp(startup);
        QCOMPARE(shownTexts(), QStringList());
        QCOMPARE(HomeworkStore::sortedDueDates(), (QStringList{"08.12.2026", "10.12.2026"}));
        QCOMPARE(HomeworkStore::readText(QStringLiteral("08.12.2026"), QStringLiteral("Mathe")), QStringLiteral("S. 7"));
    }
    {
        // Subjects of the timetable with "=" or a leading "[": their homework
        // is listed and found again, and adds no section to the file.
        TestEnvironment env;
        HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("Bio=Chemie"), QStringLiteral("Versuch"));
        HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("[AG]"), QStringLiteral("Plakat"));
        QCOMPARE(HomeworkStore::readText(QStringLiteral("09.12.2026"), QStringLiteral("Bio=Chemie")), QStringLiteral("Versuch"));
        QCOMPARE(HomeworkStore::readText(QStringLiteral("09.12.2026"), QStringLiteral("[AG]")), QStringLiteral("Plakat"));
        QCOMPARE(HomeworkStore::homeworkListTexts(QDate(2026, 12, 9)).size(), 2);
        QCOMPARE(ProfileFile(env.path(kSettingsName)).sections(), (QStringList{"Dates", "09.12.2026"}));
    }
}

void tst_BadInput::enormousSettingsFile()
{
    QElapsedTimer timer;
    timer.start();
    TestEnvironment env;
    {
        // 100 MB in one line of homework text and a few normal sections: read
        // whole, and a write elsewhere keeps it byte for byte.
        QFile file(env.path(kSettingsName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Montag]\r\n1=Mathematik\r\n[Dates]\r\n09.12.2026=1\r\n[09.12.2026]\r\nDeutsch=");
        const QByteArray chunk(1024 * 1024, 'x');
        for (int i = 0; i < 100; ++i)
            file.write(chunk);
        file.write("\r\n");
    }
    const QByteArray before = env.readFile(kSettingsName);
    QCOMPARE(HomeworkStore::readText(QStringLiteral("09.12.2026"), QStringLiteral("Deutsch")).size(), 100 * 1024 * 1024);
    HomeworkStore::addHomework(QStringLiteral("10.12.2026"), QStringLiteral("Kunst"), QStringLiteral("Bild"));
    QByteArray expected = before;
    expected.replace("09.12.2026=1\r\n", "09.12.2026=1\r\n10.12.2026=1\r\n");
    expected += "[10.12.2026]\r\nKunst=Bild\r\nKunstExec=\r\n";
    QVERIFY(env.readFile(kSettingsName) == expected); // not QCOMPARE: it would print 100 MB
    qDebug("100 MB settings file: %lld ms", timer.restart());

    // Half a million short lines, many of them without "=": start-up reads them without a message.
    QByteArray lines = "[Montag]\r\n1=Mathematik\r\n";
    lines.reserve(12 * 1024 * 1024);
    for (int i = 0; i < 500000; ++i)
        lines += i % 2 ? QByteArray("Zeile ohne Wert\r\n") : "k" + QByteArray::number(i) + "=v\r\n";
    env.writeFile(kSettingsName, lines);
    Startup startup;
    startUp(startup);
    QCOMPARE(shownTexts(), QStringList());
    QCOMPARE(startup.mainWindow()->findChild<QTableWidget *>(QStringLiteral("StringGrid1"))->item(1, 1)->text(),
             QStringLiteral("Mathematik"));
    qDebug("start-up with 500 000 lines: %lld ms", timer.restart());
}

void tst_BadInput::damagedGradeFiles()
{
    // The cases are tried through the settings window's grade tab, which loads
    // the files each time it is shown; the catalogue is there so that only
    // the grade files can give a message.
    TestEnvironment env;
    env.writeFile(kCatalogueName, QByteArray());
    TForm8 form;
    auto *tree = form.findChild<QTreeWidget *>(QStringLiteral("TreeView2"));
    const auto showWith = [&](const QByteArray &treeBytes, const std::optional<QByteArray> &records) {
        form.hide();
        env.writeFile(kTreeName, treeBytes);
        QFile::remove(env.path(kRecordName));
        if (records)
            env.writeFile(kRecordName, *records);
        form.show();
        QStringList texts = shownTexts();
        // Showing never writes the grade files.
        if (env.readFile(kTreeName) != treeBytes || (records && env.readFile(kRecordName) != *records))
            texts.append(QStringLiteral("<grade files changed>"));
        return texts;
    };

    // Empty files: an empty tree.
    QCOMPARE(showWith({}, QByteArray()), QStringList());
    QCOMPARE(tree->topLevelItemCount(), 0);

    // A tree file without its record file.
    QStringList shown = showWith(kGradeTree, std::nullopt);
    QCOMPARE(shown, QStringList{QStringLiteral("Die Datei %1 fehlt.").arg(env.path(kRecordName))});
    QCOMPARE(tree->topLevelItemCount(), 1);

    // Cut off in the middle of a line and of a record.
    shown = showWith(kGradeTree.left(kGradeTree.size() - 10), kGradeRecords.left(5));
    QCOMPARE(shown, QStringList{QStringLiteral("Die Datei %1 ist zu kurz: Sie enthält 2 von 3 Notendatensätzen.")
                                    .arg(env.path(kRecordName))});
    QCOMPARE(tree->topLevelItem(0)->child(1)->text(0), QStringLiteral("andere Leistungsn"));

    // Random bytes in both files: at most the German message of a bad level
    // or a short file, never a crash, also when every node is selected.
    const auto selectEvery = [&] {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            tree->setCurrentItem(*it);
    };
    for (quint32 seed = 1; seed <= 5; ++seed) {
        shown = showWith(garbage(20000, seed), garbage(301, seed + 100));
        QVERIFY(shown.size() <= 1);
        for (const QString &text : shown) {
            QVERIFY2(text.startsWith(QStringLiteral("Ungültige Ebene ")) || text.startsWith(QStringLiteral("Die Datei ")),
                     qPrintable(text));
        }
        selectEvery();
        QCOMPARE(shownTexts(), QStringList());
    }

    // Records beyond the scale (value 200, weights 0 and 255) show without a failure.
    QCOMPARE(showWith("Mathe\r\n\tArbeiten\r\n\t\tTest\r\n\tAndere\r\n", QByteArray("\0\xff\xc8\0\0\0", 6)), QStringList());
    selectEvery();
    QCOMPARE(shownTexts(), QStringList());

    // Names with "=" and duplicated subjects are plain texts of the tree.
    QCOMPARE(showWith("A=B\r\n\tx=1\r\nA=B\r\n\tx=1\r\n", QByteArray("\0\1\0\2", 4)), QStringList());
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(tree->topLevelItem(1)->child(0)->text(0), QStringLiteral("x=1"));
}

void tst_BadInput::damagedCatalogue()
{
    TestEnvironment env;
    ResearchCatalogue catalogue;

    // Empty: an empty tree without a message.
    env.writeFile(kCatalogueName, QByteArray());
    catalogue.load();
    QVERIFY(catalogue.nodes().isEmpty());

    // Cut off inside a topic: its missing image number is the conversion error; the nodes before stay.
    env.writeFile(kCatalogueName, "<SUBJECT>\r\nBiologie\r\n1\r\n<TOPIC>\r\nZelle\r\nhttps://exa");
    QVERIFY_THROWS_EXCEPTION(EConvertError, catalogue.load());
    QCOMPARE(catalogue.nodes().size(), 1);

    // Random bytes, also behind a tag: no crash; a failure is the conversion error.
    for (quint32 seed = 1; seed <= 5; ++seed) {
        env.writeFile(kCatalogueName, "<SUBJECT>\r\n" + garbage(20000, seed));
        try {
            catalogue.load();
        } catch (const EConvertError &error) {
            QVERIFY(error.message().endsWith(QStringLiteral("' is not a valid integer value")));
        }
    }

    // 100 MB in one line outside any block, and after it a whole catalogue,
    // shown in the settings window; so are 100 000 topics.
    {
        QFile file(env.path(kCatalogueName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray chunk(1024 * 1024, '<');
        for (int i = 0; i < 100; ++i)
            file.write(chunk);
        file.write("\r\n<SUBJECT>\r\nBiologie\r\n1\r\n<TOPIC>\r\nZelle\r\nhttps://example.org\r\nAufbau\r\n3\r\n");
    }
    QElapsedTimer timer;
    timer.start();
    TForm8 form;
    form.show();
    QCOMPARE(shownTexts(), QStringList());
    auto *research = form.findChild<QTreeWidget *>(QStringLiteral("ITreeView1"));
    QCOMPARE(research->topLevelItemCount(), 1);
    QCOMPARE(research->topLevelItem(0)->child(0)->text(0), QStringLiteral("Zelle"));
    qDebug("100 MB catalogue: %lld ms", timer.restart());
    QByteArray topics = "<SUBJECT>\r\nBiologie\r\n1\r\n";
    for (int i = 0; i < 100000; ++i)
        topics += "<TOPIC>\r\nT" + QByteArray::number(i) + "\r\nhttps://example.org\r\nBeschreibung\r\n3\r\n";
    env.writeFile(kCatalogueName, topics);
    form.hide();
    form.show();
    QCOMPARE(shownTexts(), QStringList());
    QCOMPARE(research->topLevelItem(0)->childCount(), 100000);
    qDebug("100 000 topics: %lld ms", timer.restart());
}

void tst_BadInput::readOnlyFiles()
{
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Dates]\n09.12.2026=1\n[09.12.2026]\nDeutsch=Gedicht\n"));
    const QByteArray before = env.readFile(kSettingsName);
    const QString path = env.path(kSettingsName);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(env.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    });

    // A read-only settings file is not replaced, also by the superuser: the
    // platform's text names it, the bytes and the mark stay.
    ErrorReporter::guarded([] { HomeworkStore::addHomework(QStringLiteral("10.12.2026"), QStringLiteral("Kunst"), QStringLiteral("Bild")); });
    QCOMPARE(shownTexts(), QStringList{QStringLiteral("Unable to write to ") + path});
    QCOMPARE(env.readFile(kSettingsName), before);
    QCOMPARE(QFileInfo(path).permissions() & QFile::WriteOwner, QFile::Permissions());
    QCOMPARE(filesIn(env.dir()), QStringList{kSettingsName});

    // A writable file in a read-only directory cannot be replaced either. The
    // superuser passes the directory's bits, so for it the directory is
    // mounted read-only instead.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(env.dir(), QFile::ReadOwner | QFile::ExeOwner);
    QString dir = env.dir();
    std::function<void()> unmount = [] {};
    if (!permissionsBind(env.dir())) {
        QFile::setPermissions(env.dir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        dir = env.path(QStringLiteral("readonly"));
        const QByteArray mountPoint = QFile::encodeName(dir);
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(QFile::copy(path, dir + QLatin1Char('/') + kSettingsName));
        if (::mount(mountPoint.constData(), mountPoint.constData(), nullptr, MS_BIND, nullptr) != 0)
            QSKIP("the superuser's case needs a read-only mount, and none could be made here");
        unmount = [mountPoint] { ::umount2(mountPoint.constData(), MNT_DETACH); };
        if (::mount(nullptr, mountPoint.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
            unmount();
            QSKIP("the superuser's case needs a read-only mount, and none could be made here");
        }
        setProgramDirectory(dir);
    }
    const auto unmountAtEnd = qScopeGuard([&] { unmount(); });
    const QString target = QDir(dir).filePath(kSettingsName);
    GradeTree grades;
    grades.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage).addChild(QStringLiteral("Arbeiten"), GradeNode::BuiltImage, GradeRecord{0, 1});
    ErrorReporter::guarded([] { HomeworkStore::addHomework(QStringLiteral("10.12.2026"), QStringLiteral("Kunst"), QStringLiteral("Bild")); });
    ErrorReporter::guarded([&] { GradeStore::SaveGrades(grades); });
    QCOMPARE(shownTexts(), (QStringList{QStringLiteral("Unable to write to ") + target,
                                        QStringLiteral("Unable to write to ") + QDir(dir).filePath(kTreeName)}));
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), before);
    QCOMPARE(filesIn(dir), QStringList{kSettingsName});
}

void tst_BadInput::fullDiskDuringSave()
{
    if (::geteuid() != 0)
        QSKIP("a small file system is mounted for this test, which needs the superuser");
    TestEnvironment env;
    const QString disk = env.path(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("no tmpfs could be mounted here");
    const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
    setProgramDirectory(disk);
    const QString dir = ProgramDirectory();

    // The old data: a settings file and a grade pair.
    HomeworkStore::addHomework(QStringLiteral("09.12.2026"), QStringLiteral("Deutsch"), QStringLiteral("Gedicht"));
    GradeTree grades;
    GradeStore::LoadGrades(grades); // built from the empty timetable: empty
    grades.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage).addChild(QStringLiteral("Arbeiten"), GradeNode::BuiltImage, GradeRecord{0, 1});
    GradeStore::SaveGrades(grades);
    const QByteArray settings = env.readFile(QStringLiteral("disk/") + kSettingsName);
    const QByteArray treeBytes = env.readFile(QStringLiteral("disk/") + kTreeName);
    const QByteArray recordBytes = env.readFile(QStringLiteral("disk/") + kRecordName);

    // Fill the disk in pages, then give one page back: room for one small file, not for two.
    int chunks = 0;
    for (;; ++chunks) {
        QFile filler(dir + QStringLiteral("filler%1").arg(chunks));
        if (!filler.open(QIODevice::WriteOnly) || filler.write(QByteArray(4096, 'f')) != 4096 || !filler.flush()) {
            filler.close();
            filler.remove();
            break;
        }
    }
    QVERIFY(chunks > 0);

    // A full disk: the platform's text names the file, the old content stays whole.
    ErrorReporter::guarded([] { HomeworkStore::addHomework(QStringLiteral("10.12.2026"), QStringLiteral("Kunst"), QString(5000, u'x')); });
    QCOMPARE(shownTexts(), QStringList{QStringLiteral("Unable to write to ") + dir + kSettingsName});
    QCOMPARE(env.readFile(QStringLiteral("disk/") + kSettingsName), settings);

    // One page free: the tree file's new content fits, the record file's does not; both stay old.
    QFile::remove(dir + QStringLiteral("filler0"));
    grades.root(0).child(0).addChild(QStringLiteral("1. Arbeit"), GradeNode::GradeImage, GradeRecord{12, 1});
    ErrorReporter::guarded([&] { GradeStore::SaveGrades(grades); });
    const QStringList shown = shownTexts();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().startsWith(QStringLiteral("Unable to write to ") + dir), qPrintable(shown.first()));
    QCOMPARE(env.readFile(QStringLiteral("disk/") + kTreeName), treeBytes);
    QCOMPARE(env.readFile(QStringLiteral("disk/") + kRecordName), recordBytes);
    GradeTree reread;
    GradeStore::LoadGrades(reread);
    QCOMPARE(reread.preOrder().size(), size_t(2));

    // No temporary or pending file is left behind to fill the disk further.
    for (const QString &name : filesIn(dir))
        QVERIFY2(name == kSettingsName || name == kTreeName || name == kRecordName || name.startsWith(QStringLiteral("filler")),
                 qPrintable(name));
}

QTEST_MAIN(tst_BadInput)
#include "tst_BadInput.moc"
