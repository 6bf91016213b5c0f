// Reading, writing and building the grade tree.
#include "model/GradeFileError.h"
#include "model/GradeStore.h"
#include "platform/Errors.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTest>

namespace {

const QByteArray kExample = "Deutsch\r\n\tKurs-/Klassenarbeiten\r\n\t\t1. Klassenarbeit\r\n\tandere Leistungsnachweise\r\n"
                            "Englisch\r\n\tKurs-/Klassenarbeiten\r\n\tandere Leistungsnachweise\r\n";
const QByteArray kExampleRecords("\0\2\13\1\0\1\0\3\0\0", 10);

// One line per node in pre-order: level, text, record and image.
QStringList dump(const GradeTree &tree)
{
    QStringList lines;
    for (const GradeNode *node : tree.preOrder()) {
        const auto record = node->record();
        lines.append(QStringLiteral("%1|%2|%3|%4").arg(node->level()).arg(node->text(),
            record ? QStringLiteral("%1/%2").arg(record->value).arg(record->weight) : QString()).arg(node->image()));
    }
    return lines;
}

}

class tst_GradeStore final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheFiles();
    void damagedFiles();
    void roundTrip();
    void buildsFromTimetable();
    void unrecordedNodesSaveWithNewWeight();
};

void tst_GradeStore::readsTheFiles()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("NOTEN.DAT"), kExample);
    env.writeFile(QStringLiteral("NOTEN.NOT"), kExampleRecords);
    GradeTree tree;
    QCOMPARE(GradeStore::LoadGrades(tree), GradeStore::Source::File);
    QCOMPARE(dump(tree), (QStringList{"0|Deutsch||0", "1|Kurs-/Klassenarbeiten|0/2|0", "2|1. Klassenarbeit|11/1|0",
                                      "1|andere Leistungsnachweise|0/1|0", "0|Englisch||0",
                                      "1|Kurs-/Klassenarbeiten|0/3|0", "1|andere Leistungsnachweise|0/0|0"}));

    // Blanks count as TABs; CR or LF alone end lines; an empty description keeps its line.
    env.writeFile(QStringLiteral("NOTEN.DAT"), "Deutsch\r Kurs\n\t\t\r\n  Diktat\nEnglisch\n\tKurs");
    GradeStore::LoadGrades(tree);
    QCOMPARE(dump(tree), (QStringList{"0|Deutsch||0", "1|Kurs|0/2|0", "2||11/1|0", "2|Diktat|0/1|0", "0|Englisch||0",
                                      "1|Kurs|0/3|0"}));
}

void tst_GradeStore::damagedFiles()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("NOTEN.NOT"), kExampleRecords);
    GradeTree tree;

    // A jump of two levels ends the reading; the nodes before it keep their records.
    env.writeFile(QStringLiteral("NOTEN.DAT"), "Deutsch\r\n\tKurs\r\n\t\tDiktat\r\nEnglisch\r\n\t\tAufsatz\r\n\tAndere\r\n");
    try {
        GradeStore::LoadGrades(tree);
        QFAIL("no error for a level jump");
    } catch (const GradeFileError &error) {
        QVERIFY2(error.message().startsWith(QStringLiteral("Ungültige Ebene 2 in der Zeile 'Aufsatz'")),
                 qPrintable(error.message()));
    }
    QCOMPARE(dump(tree), (QStringList{"0|Deutsch||0", "1|Kurs|0/2|0", "2|Diktat|11/1|0", "0|Englisch||0"}));

    // Nothing has a meaning below a grade, so a fourth level is refused too.
    env.writeFile(QStringLiteral("NOTEN.DAT"), "Deutsch\r\n\tKurs\r\n\t\tDiktat\r\n\t\t\tTeil\r\n");
    QVERIFY_THROWS_EXCEPTION(GradeFileError, GradeStore::LoadGrades(tree));
    QCOMPARE(tree.preOrder().size(), size_t(3));

    // Three and a half records for five nodes: the last two have none.
    env.writeFile(QStringLiteral("NOTEN.DAT"), kExample);
    env.writeFile(QStringLiteral("NOTEN.NOT"), kExampleRecords.left(7));
    QVERIFY_THROWS_EXCEPTION(EInOutError, GradeStore::LoadGrades(tree));
    QCOMPARE(tree.preOrder().size(), size_t(7));
    QVERIFY(tree.root(0).child(1).record().has_value());
    QVERIFY(!tree.root(1).child(0).record().has_value());
}

void tst_GradeStore::roundTrip()
{
    TestEnvironment env;
    GradeTree tree;
    GradeNode &math = tree.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage);
    GradeNode &tests = math.addChild(QStringLiteral("Arbeiten"), GradeNode::BuiltImage, GradeRecord{0, 2});
    tests.addChild(QStringLiteral("1. Arbeit"), GradeNode::GradeImage, GradeRecord{12, 1});
    tests.addChild(QString(), GradeNode::GradeImage, GradeRecord{7, 255});
    math.addChild(QStringLiteral("Andere"), GradeNode::BuiltImage, GradeRecord{0, 1});
    GradeNode &music = tree.addRoot(QStringLiteral("Musik für Anfänger"), GradeNode::BuiltImage);
    music.addChild(QStringLiteral("Arbeiten"), GradeNode::BuiltImage, GradeRecord{0, 0});
    music.addChild(QStringLiteral("Andere"), GradeNode::BuiltImage, GradeRecord{0, 1})
        .addChild(QStringLiteral("Referat"), GradeNode::GradeImage, GradeRecord{0, 3});
    GradeStore::SaveGrades(tree);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.DAT")),
             QByteArray("Mathe\r\n\tArbeiten\r\n\t\t1. Arbeit\r\n\t\t\r\n\tAndere\r\n"
                        "Musik f\xfcr Anf\xe4nger\r\n\tArbeiten\r\n\tAndere\r\n\t\tReferat\r\n"));
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), QByteArray("\0\2\14\1\7\377\0\1\0\0\0\1\0\3", 14));

    // Texts, order and records come back; every node then shows image 0.
    QStringList expected = dump(tree);
    for (QString &line : expected)
        line = line.section(u'|', 0, 2) + QStringLiteral("|0");
    QCOMPARE(GradeStore::LoadGrades(tree), GradeStore::Source::File);
    QCOMPARE(dump(tree), expected);

    // Tabs, line breaks or leading blanks in a description would change the
    // shape read back; they are stored as blanks.
    tree.root(0).child(0).child(0).setText(QStringLiteral("Test\t1\r\nTeil 2"));
    tree.root(0).child(0).child(1).setText(QStringLiteral(" \tNachschrift"));
    GradeStore::SaveGrades(tree);
    GradeStore::LoadGrades(tree);
    expected[2] = QStringLiteral("2|Test 1  Teil 2|12/1|0");
    expected[3] = QStringLiteral("2|Nachschrift|7/255|0");
    QCOMPARE(dump(tree), expected);

    // An empty tree writes two empty files, which read back as an empty tree.
    GradeStore::SaveGrades(GradeTree());
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.DAT")), QByteArray());
    QCOMPARE(GradeStore::LoadGrades(tree), GradeStore::Source::File);
    QVERIFY(tree.isEmpty());
}

void tst_GradeStore::buildsFromTimetable()
{
    // Periods 1 to 10 only; the first spelling of a subject is kept.
    TestEnvironment env;
    env.writeSettings(QStringLiteral("[Montag]\n1=Mathe\n2=Mathe\n11=Physik\n[Dienstag]\n3=Deutsch\n[Freitag]\n4=mathe\n"));
    GradeTree tree;
    QCOMPARE(GradeStore::LoadGrades(tree), GradeStore::Source::Timetable);
    QCOMPARE(dump(tree), (QStringList{"0|Deutsch||1", "1|Kurs-/Klassenarbeiten|0/1|1", "1|andere Leistungsnachweise|0/1|1",
                                      "0|Mathe||1", "1|Kurs-/Klassenarbeiten|0/1|1", "1|andere Leistungsnachweise|0/1|1"}));
    QVERIFY(!QFile::exists(env.path(QStringLiteral("NOTEN.DAT"))));
}

void tst_GradeStore::unrecordedNodesSaveWithNewWeight()
{
    TestEnvironment env;
    env.writeFile(QStringLiteral("NOTEN.DAT"), kExample);
    GradeTree tree;

    // Englisch's categories had no record: saved with weight 1, not 0, so they keep their share in the averages.
    env.writeFile(QStringLiteral("NOTEN.NOT"), kExampleRecords.left(7));
    QVERIFY_THROWS_EXCEPTION(EInOutError, GradeStore::LoadGrades(tree));
    GradeStore::SaveGrades(tree);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), QByteArray("\0\2\13\1\0\1\0\1\0\1", 10));


    // A grade without a record keeps weight 0: its value is lost, and as value 0
    // with a weight it would count as the worst grade.
    env.writeFile(QStringLiteral("NOTEN.NOT"), kExampleRecords.left(2));
    QVERIFY_THROWS_EXCEPTION(EInOutError, GradeStore::LoadGrades(tree));
    GradeStore::SaveGrades(tree);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), QByteArray("\0\2\0\0\0\1\0\1\0\1", 10));

    // No "NOTEN.NOT" at all: every category gets weight 1.
    QFile::remove(env.path(QStringLiteral("NOTEN.NOT")));
    QVERIFY_THROWS_EXCEPTION(EInOutError, GradeStore::LoadGrades(tree));
    GradeStore::SaveGrades(tree);
    QCOMPARE(env.readFile(QStringLiteral("NOTEN.NOT")), QByteArray("\0\1\0\0\0\1\0\1\0\1", 10));
    QCOMPARE(GradeStore::LoadGrades(tree), GradeStore::Source::File);
}

QTEST_GUILESS_MAIN(tst_GradeStore)
#include "tst_GradeStore.moc"
