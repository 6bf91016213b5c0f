// The profile-file layer: file text byte for byte, lookups, encodings, failures.
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "platform/Win1252.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

class tst_ProfileFile final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesGiveExactFileText();
    void namesMatchWithoutCase();
    void keysAndEntries();
    void eraseSection();
    void longSectionsKeepTheirEntries();
    void sharedReadsSeeEveryChange();
    void readOnceScopeKeepsOwnWritesOnly();
    void numbersAndTruthValues();
    void encodingAndLineEnds();
    void damagedFilesReadAndKeepTheirLines();
    void writeFailureLeavesOldFile();
    void lineBreaksCannotAddEntries();
    void killedWriterLeavesOldOrNewFile();
};

void tst_ProfileFile::writesGiveExactFileText()
{
    TestEnvironment env;
    ProfileFile ini(env.path(QStringLiteral("a.ini")));
    ini.writeString(u"Dates", u"08.12.2026", u"1");
    ini.writeString(u"08.12.2026", u"Mathematik", u"S. 12");
    ini.writeString(u"Dates", u"15.12.2026", u"1"); // new key goes to the end of its section
    ini.writeString(u"08.12.2026", u"Mathematik", u"S. 13"); // replaced where it stands
    ini.writeString(u"08.12.2026", u"MathematikExec", u"");
    ini.save();
    QCOMPARE(env.readFile(QStringLiteral("a.ini")),
             QByteArray("[Dates]\r\n08.12.2026=1\r\n15.12.2026=1\r\n"
                        "[08.12.2026]\r\nMathematik=S. 13\r\nMathematikExec=\r\n"));

    // A second operation sees the first one's writes; unchanged content is not rewritten.
    ProfileFile again(env.path(QStringLiteral("a.ini")));
    QCOMPARE(again.readString(u"08.12.2026", u"Mathematik", QString()), QStringLiteral("S. 13"));
    const auto before = QFileInfo(env.path(QStringLiteral("a.ini"))).lastModified();
    again.writeString(u"Dates", u"08.12.2026", u"1");
    again.save();
    QCOMPARE(QFileInfo(env.path(QStringLiteral("a.ini"))).lastModified(), before);
}

void tst_ProfileFile::namesMatchWithoutCase()
{
    auto ini = ProfileFile::fromBytes("[Termin]\r\nKey=v\r\n");
    QCOMPARE(ini.readString(u"TERMIN", u"kEY", QStringLiteral("d")), QStringLiteral("v"));
    ini.writeString(u"TERMIN", u"KEY", u"w"); // same entry, spelling of the file kept
    ini.writeString(u"termin", u"other", u"x");
    QCOMPARE(ini.toBytes(), QByteArray("[Termin]\r\nKey=w\r\nother=x\r\n"));
    // Umlauts fold too.
    ini.writeString(u"Übung", u"Ä", u"1");
    QCOMPARE(ini.readString(u"übung", u"ä", QString()), QStringLiteral("1"));
    // The first lookup in a section read from bytes, and the next ones, find the same first entry.
    const QByteArray raw = "[S]\r\n\tkey = 1\r\nKEY=2\r\n\xA0k\xE4se=3\r\nK\xC4SE=4\r\nx=5\r\n"; // the blank before "käse" is a no-break space
    for (const auto &[key, value] : {std::pair{u"Key", u"1"}, {u"k\u00c4se", u"3"}, {u"\u00e4", u"-"}, {u"X", u"5"}}) {
        const ProfileFile fresh = ProfileFile::fromBytes(raw);
        QCOMPARE(fresh.readString(u"S", key, QStringLiteral("-")), QString::fromUtf16(value));
        QCOMPARE(fresh.readString(u"S", key, QStringLiteral("-")), QString::fromUtf16(value));
    }
    // Missing key, section or file gives the default.
    QCOMPARE(ini.readString(u"Termin", u"none", QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(ini.readString(u"None", u"Key", QStringLiteral("d")), QStringLiteral("d"));
    TestEnvironment env;
    ProfileFile missing(env.path(QStringLiteral("missing.ini")));
    QCOMPARE(missing.readString(u"a", u"b", QStringLiteral("d")), QStringLiteral("d"));
    missing.save(); // nothing written, nothing created
    QVERIFY(!QFile::exists(env.path(QStringLiteral("missing.ini"))));
}

void tst_ProfileFile::keysAndEntries()
{
    const auto ini = ProfileFile::fromBytes("[S]\r\nb=2\r\n a = 1 \r\nempty=\r\nnoequals\r\nc=x=y\r\n[T]\r\n");
    QCOMPARE(ini.keys(u"s"), QStringList({"b", "a", "empty", "c"}));
    QCOMPARE(ini.entries(u"S"), QStringList({"b=2", "a=1", "c=x=y"}));
    QCOMPARE(ini.readString(u"S", u"a", QString()), QStringLiteral("1")); // trimmed
    QCOMPARE(ini.readString(u"S", u"empty", QStringLiteral("d")), QString()); // present but empty
    QCOMPARE(ini.sections(), QStringList({"S", "T"}));
    QVERIFY(ini.keys(u"T").isEmpty());
    QVERIFY(ini.keys(u"U").isEmpty());
}

void tst_ProfileFile::eraseSection()
{
    auto ini = ProfileFile::fromBytes("[A]\r\nx=1\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n");
    ini.eraseSection(u"b");
    QVERIFY(!ini.hasSection(u"B"));
    QCOMPARE(ini.readString(u"B", u"y", QStringLiteral("gone")), QStringLiteral("gone"));
    ini.writeString(u"B", u"y", u"4"); // written again: a new section at the end
    QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nx=1\r\n[C]\r\nz=3\r\n[B]\r\ny=4\r\n"));
    // A second section of the same name in a hand-edited file answers once the first is gone.
    auto twice = ProfileFile::fromBytes("[A]\r\nx=1\r\n[a]\r\nx=2\r\n");
    QCOMPARE(twice.readString(u"A", u"x", QString()), QStringLiteral("1"));
    twice.eraseSection(u"A");
    QCOMPARE(twice.readString(u"A", u"x", QString()), QStringLiteral("2"));
    twice.eraseSection(u"A");
    QCOMPARE(twice.toBytes(), QByteArray());
}

void tst_ProfileFile::longSectionsKeepTheirEntries()
{
    // Forty entries, a repeated key and two comment lines at the end: long
    // enough that lookups go through the section's key index.
    QByteArray text = "[MEMO]\r\n";
    for (int i = 0; i < 40; ++i)
        text += "Termin " + QByteArray::number(i) + "=Heft " + QByteArray::number(i) + "\r\n";
    text += "termin 7=zweites\r\n; Ende der Liste\r\n\r\n[Other]\r\nx=1\r\n";
    auto ini = ProfileFile::fromBytes(text);
    QCOMPARE(ini.readString(u"memo", u"TERMIN 39", QString()), QStringLiteral("Heft 39"));
    QCOMPARE(ini.readString(u"MEMO", u"Termin 7", QString()), QStringLiteral("Heft 7")); // the first wins
    QCOMPARE(ini.keys(u"MEMO").size(), 41);

    // A new key goes behind the last entry, before the comment; lookups still find everything.
    ini.writeString(u"MEMO", u"Neu", u"ja");
    ini.writeString(u"MEMO", u"Termin 3", u"geändert");
    QCOMPARE(ini.readString(u"MEMO", u"neu", QString()), QStringLiteral("ja"));
    QCOMPARE(ini.readString(u"MEMO", u"Termin 3", QString()), QStringLiteral("geändert"));
    QCOMPARE(ini.readString(u"MEMO", u"Termin 39", QString()), QStringLiteral("Heft 39"));
    QVERIFY(ini.toBytes().contains("termin 7=zweites\r\nNeu=ja\r\n; Ende der Liste\r\n\r\n[Other]"));

    // Erased and written again, the section starts empty and indexes afresh.
    ini.eraseSection(u"MEMO");
    for (int i = 0; i < 20; ++i)
        ini.writeInteger(u"MEMO", QString(QStringLiteral("k") + QString::number(i)), i);
    QCOMPARE(ini.readInteger(u"MEMO", u"K19", -1), 19);
    QCOMPARE(ini.readString(u"MEMO", u"Termin 3", QStringLiteral("weg")), QStringLiteral("weg"));
    QVERIFY(ini.toBytes().startsWith("[Other]\r\nx=1\r\n[MEMO]\r\nk0=0\r\n"));

    // Sections never touched come out byte for byte; a file only read is not rewritten,
    // not even to mend its line ends.
    TestEnvironment env;
    const QByteArray lf = "[A]\nx=1\n[B]\ny=\xE4\n";
    env.writeFile(QStringLiteral("lf.ini"), lf);
    {
        ProfileFile read(env.path(QStringLiteral("lf.ini")));
        QCOMPARE(read.readString(u"B", u"y", QString()), QStringLiteral("ä"));
        read.save();
    }
    QCOMPARE(env.readFile(QStringLiteral("lf.ini")), lf);
    ProfileFile written(env.path(QStringLiteral("lf.ini")));
    written.writeString(u"A", u"x", u"2");
    written.save();
    QCOMPARE(env.readFile(QStringLiteral("lf.ini")), QByteArray("[A]\r\nx=2\r\n[B]\r\ny=\xE4\r\n"));
}

void tst_ProfileFile::sharedReadsSeeEveryChange()
{
    TestEnvironment env;
    const QString path = env.path(QStringLiteral("s.ini"));
    QByteArray text = "[MEMO]\r\n";
    for (int i = 0; i < 30; ++i)
        text += "Übung " + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    text.replace("\xC3\x9C", "\xDC"); // Windows-1252
    text += "\xC4pfel=rot\r\n"; // "Äpfel"
    env.writeFile(QStringLiteral("s.ini"), text);

    const auto first = ProfileFile::readShared(path);
    QCOMPARE(first->readString(u"memo", u"ÜBUNG 29", QString()), QStringLiteral("29"));
    QCOMPARE(first->readString(u"memo", u"äPFEL", QString()), QStringLiteral("rot"));
    QCOMPARE(first->readString(u"memo", u"Ubung 29", QStringLiteral("nein")), QStringLiteral("nein"));
    QCOMPARE(ProfileFile::readShared(path).get(), first.get()); // unchanged: not parsed again

    // One byte changed in place, same size: seen at once.
    env.writeFile(QStringLiteral("s.ini"), QByteArray(text).replace("=rot", "=tor"));
    QCOMPARE(ProfileFile::readShared(path)->readString(u"MEMO", u"Äpfel", QString()), QStringLiteral("tor"));
    // A write through an operation, and the file removed.
    {
        ProfileFile ini(path);
        ini.writeString(u"MEMO", u"Übung 3", u"drei");
        ini.save();
    }
    QCOMPARE(ProfileFile::readShared(path)->readString(u"MEMO", u"übung 3", QString()), QStringLiteral("drei"));
    QCOMPARE(first->readString(u"MEMO", u"Übung 3", QString()), QStringLiteral("3")); // a profile handed out stays as it was
    QVERIFY(QFile::remove(path));
    QCOMPARE(ProfileFile::readShared(path)->readString(u"MEMO", u"Übung 3", QStringLiteral("weg")), QStringLiteral("weg"));
}

void tst_ProfileFile::readOnceScopeKeepsOwnWritesOnly()
{
    TestEnvironment env;
    const QString path = env.path(QStringLiteral("s.ini"));
    const QString missing = env.path(QStringLiteral("neu.ini"));
    env.writeFile(QStringLiteral("s.ini"), "[A]\r\nx=1\r\n");
    {
        ProfileFile::ReadOnceScope outer;
        ProfileFile::ReadOnceScope inner;
        QCOMPARE(ProfileFile::readShared(path)->readString(u"A", u"x", QString()), QStringLiteral("1"));
        // Another writer's change is not seen inside the scope; the program's own save is.
        env.writeFile(QStringLiteral("s.ini"), "[A]\r\nx=fremd\r\n");
        QCOMPARE(ProfileFile::readShared(path)->readString(u"A", u"x", QString()), QStringLiteral("1"));
        ProfileFile ini(path);
        QCOMPARE(ini.readString(u"A", u"x", QString()), QStringLiteral("1"));
        ini.writeString(u"A", u"y", u"2");
        ini.save();
        const quint64 parses = ProfileFile::parseCount();
        QCOMPARE(ProfileFile::readShared(path)->readString(u"A", u"y", QString()), QStringLiteral("2"));
        QCOMPARE(ProfileFile::parseCount(), parses); // the saved profile itself, not a parse of the bytes
        // A file created by a save inside the scope reads with its content.
        QCOMPARE(ProfileFile::readShared(missing)->sections(), QStringList());
        ProfileFile created(missing);
        created.writeString(u"B", u"z", u"3");
        created.save();
        QCOMPARE(ProfileFile::readShared(missing)->readString(u"B", u"z", QString()), QStringLiteral("3"));
    }
    // The scope ended: the disk again, and the save wrote the file whole.
    env.writeFile(QStringLiteral("s.ini"), "[A]\r\nx=danach\r\n");
    QCOMPARE(ProfileFile::readShared(path)->readString(u"A", u"x", QString()), QStringLiteral("danach"));
    QCOMPARE(ProfileFile(missing).readString(u"B", u"z", QString()), QStringLiteral("3"));
}

void tst_ProfileFile::numbersAndTruthValues()
{
    const auto ini = ProfileFile::fromBytes("[N]\r\nd=42\r\nh=0x1F\r\nH2=0XfF\r\nneg=-7\r\nbad=12abc\r\n"
                                            "empty=\r\nt=1\r\nf=0\r\nbig=99999999999\r\n");
    QCOMPARE(ini.readInteger(u"N", u"d", -1), 42);
    QCOMPARE(ini.readInteger(u"N", u"h", -1), 31);
    QCOMPARE(ini.readInteger(u"N", u"H2", -1), 255);
    QCOMPARE(ini.readInteger(u"N", u"neg", 0), -7);
    QCOMPARE(ini.readInteger(u"N", u"bad", -1), -1);
    QCOMPARE(ini.readInteger(u"N", u"empty", -1), -1);
    QCOMPARE(ini.readInteger(u"N", u"big", -1), -1);
    QCOMPARE(ini.readBool(u"N", u"t", false), true);
    QCOMPARE(ini.readBool(u"N", u"f", true), false);
    QCOMPARE(ini.readBool(u"N", u"d", false), true); // any number but 0
    QCOMPARE(ini.readBool(u"N", u"bad", true), true); // not a number: the default
    QCOMPARE(ini.readBool(u"N", u"missing", false), false);
    auto written = ProfileFile::fromBytes({});
    written.writeBool(u"B", u"on", true);
    written.writeBool(u"B", u"off", false);
    written.writeInteger(u"B", u"n", -12);
    QCOMPARE(written.toBytes(), QByteArray("[B]\r\non=1\r\noff=0\r\nn=-12\r\n"));
}

void tst_ProfileFile::encodingAndLineEnds()
{
    // Umlauts, ß and the euro sign are single Windows-1252 bytes.
    auto ini = ProfileFile::fromBytes({});
    ini.writeString(u"Französisch", u"Übung", u"Größe 5 €");
    const QByteArray bytes = ini.toBytes();
    QCOMPARE(bytes, QByteArray("[Franz\xF6sisch]\r\n\xDC" "bung=Gr\xF6\xDF" "e 5 \x80\r\n"));
    QCOMPARE(ProfileFile::fromBytes(bytes).readString(u"französisch", u"übung", QString()), QStringLiteral("Größe 5 €"));
    // Every byte survives a read and a write, the undefined ones too.
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            all.append(char(b));
    }
    QCOMPARE(Win1252::encode(Win1252::decode(all)), all);
    // LF only, CR only and a UTF-8 byte-order mark all read.
    const auto lf = ProfileFile::fromBytes("\xEF\xBB\xBF[A]\nx=1\ry=2\n");
    QCOMPARE(lf.readString(u"A", u"x", QString()), QStringLiteral("1"));
    QCOMPARE(lf.readString(u"A", u"y", QString()), QStringLiteral("2"));
    QCOMPARE(lf.toBytes(), QByteArray("[A]\r\nx=1\r\ny=2\r\n"));
    QCOMPARE(ProfileFile::fromBytes("[A]\r\na=1\r\nb=2\nc=3\r\n\r\nd=4").toBytes(), QByteArray("[A]\r\na=1\r\nb=2\r\nc=3\r\n\r\nd=4\r\n"));
    // A mark written twice goes as a whole, so writing back cannot turn the rest into a mark.
    const auto twice = ProfileFile::fromBytes("\xEF\xBB\xBF\xEF\xBB\xBF[A]\r\nx=1\r\n");
    QCOMPARE(twice.sections(), QStringList{QStringLiteral("A")});
    QCOMPARE(twice.toBytes(), QByteArray("[A]\r\nx=1\r\n"));
}

void tst_ProfileFile::damagedFilesReadAndKeepTheirLines()
{
    // Garbage, a line without "=", a header without "]" and a 10 MB line.
    // A fixed seed, and no "[": a "[" after a line break would open a section of its own.
    QRandomGenerator random(20261208);
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) {
        const char byte = char(random.bounded(256));
        garbage.append(byte == '[' ? '(' : byte);
    }
    const QByteArray longLine(10 * 1024 * 1024, 'x');
    const QByteArray text = "; comment\r\n[A]\r\nx=1\r\nno equals sign\r\n[broken header\r\n" + longLine
                            + "\r\ny=2\r\n[B]\r\n" + garbage + "\r\nz=3\r\n";
    auto ini = ProfileFile::fromBytes(text);
    QCOMPARE(ini.readString(u"A", u"y", QString()), QStringLiteral("2"));
    QCOMPARE(ini.readString(u"B", u"z", QString()), QStringLiteral("3"));
    ini.writeString(u"A", u"x", u"9");
    QByteArray expected = text;
    expected.replace("x=1", "x=9");
    // Unchanged lines come back as they were, but with CR LF line ends.
    const QByteArray written = ini.toBytes();
    QVERIFY(written.contains(QByteArray(QByteArray("; comment\r\n[A]\r\nx=9\r\nno equals sign\r\n[broken header\r\n") + longLine)));
    QCOMPARE(ProfileFile::fromBytes(written).readString(u"B", u"z", QString()), QStringLiteral("3"));
    // New keys go behind the last entry of their section, not behind stray lines.
    auto stray = ProfileFile::fromBytes("[A]\r\nx=1\r\n\r\n[B]\r\n");
    stray.writeString(u"A", u"y", u"2");
    QCOMPARE(stray.toBytes(), QByteArray("[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\n"));
}

void tst_ProfileFile::writeFailureLeavesOldFile()
{
    TestEnvironment env;
    QDir().mkpath(env.path(QStringLiteral("ro")));
    QString path = env.path(QStringLiteral("ro/a.ini"));
    {
        ProfileFile ini(path);
        ini.writeString(u"A", u"x", u"old");
        ini.save();
    }
    QFile::setPermissions(env.path(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner);
    ProfileFile ini(path);
    ini.writeString(u"A", u"x", u"new");
    if (QFileInfo(env.path(QStringLiteral("ro"))).isWritable()) {
        // The superuser writes into read-only directories: make the write fail
        // by a file standing where the directory of the temporary file must be.
        env.writeFile(QStringLiteral("plain"), "x");
        path = env.path(QStringLiteral("plain/a.ini"));
        ini = ProfileFile(path);
        ini.writeString(u"A", u"x", u"new");
    }
    try {
        ini.save();
        QFAIL("the write succeeded");
    } catch (const EWriteError &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to write to ") + path);
    }
    QFile::setPermissions(env.path(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(ProfileFile(env.path(QStringLiteral("ro/a.ini"))).readString(u"A", u"x", QString()), QStringLiteral("old"));
    QCOMPARE(QDir(env.path(QStringLiteral("ro"))).entryList(QDir::Files), QStringList{"a.ini"});
}

void tst_ProfileFile::lineBreaksCannotAddEntries()
{
    auto ini = ProfileFile::fromBytes({});
    ini.writeString(u"A", u"key\r\n[Evil]", u"one\r\ntwo\nx=1");
    QCOMPARE(ini.toBytes(), QByteArray("[A]\r\nkey  [Evil]=one  two x=1\r\n"));
    QCOMPARE(ProfileFile::fromBytes(ini.toBytes()).sections(), QStringList{"A"});

    // A key with "=" or a leading "[" cannot stand in a line as it is; it is
    // written with "-" and "(" and found again under the name it was written with.
    ini.writeString(u"A", u"Bio=Chemie", u"S. 4=5");
    ini.writeString(u"A", u" [AG] ", u"Treffen");
    const auto reread = ProfileFile::fromBytes(ini.toBytes());
    QCOMPARE(reread.sections(), QStringList{"A"});
    QCOMPARE(reread.keys(u"A"), (QStringList{"key  [Evil]", "Bio-Chemie", "(AG]"}));
    QCOMPARE(reread.readString(u"A", u"Bio=Chemie", QString()), QStringLiteral("S. 4=5"));
    QCOMPARE(reread.readString(u"A", u"[ag]", QString()), QStringLiteral("Treffen"));

    // A hand-edited "[key" line stays readable; a "]" written into its value
    // must not turn it into a section header.
    auto edited = ProfileFile::fromBytes("[A]\r\n[abc=1\r\n");
    QCOMPARE(edited.readString(u"A", u"[ABC", QString()), QStringLiteral("1"));
    edited.writeString(u"A", u"[abc", u"x]");
    const auto again = ProfileFile::fromBytes(edited.toBytes());
    QCOMPARE(again.sections(), QStringList{"A"});
    QCOMPARE(again.readString(u"A", u"[abc", QString()), QStringLiteral("x]"));
}

void tst_ProfileFile::killedWriterLeavesOldOrNewFile()
{
    // A child process rewrites a large file again and again; it is killed at
    // random moments, and every time the file must read as one whole version.
    TestEnvironment env;
    const QString path = env.path(QStringLiteral("big.ini"));
    const QString writer = TestEnvironment::helperDir() + QStringLiteral("profilewriter");
    QVERIFY2(QFile::exists(writer), qPrintable(writer));
    for (int round = 0; round < 25; ++round) {
        QProcess child;
        child.start(writer, {path, QString::number(round)});
        QVERIFY(child.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(5, 60));
        child.kill();
        child.waitForFinished();
        if (!QFile::exists(path))
            continue; // killed before its first rename
        const ProfileFile ini(path);
        const QString version = ini.readString(u"Meta", u"version", QString());
        QVERIFY2(!version.isEmpty(), "the file was left without its header section");
        const QStringList keys = ini.keys(u"Data");
        QCOMPARE(keys.size(), 2000);
        for (const QString &key : {keys.first(), keys.last()})
            QCOMPARE(ini.readString(u"Data", key, QString()), version);
    }
    // Temporary files of killed writers never take the place of the file itself.
    for (const QString &name : QDir(env.dir()).entryList(QDir::Files)) {
        if (name != u"big.ini")
            QVERIFY2(name.startsWith(u"big.ini."), qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_ProfileFile.moc"
