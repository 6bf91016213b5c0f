// Grade texts in both marking systems and the weighted averages.
#include "model/GradeArithmetic.h"
#include "model/GradeTree.h"
#include "platform/Errors.h"

#include <QTest>

#include <initializer_list>
#include <utility>

namespace {

// Adds a category of the given weight with grades of (value, weight).
GradeNode &addCategory(GradeNode &subject, quint8 weight, std::initializer_list<std::pair<int, int>> grades = {})
{
    GradeNode &category = subject.addChild(QStringLiteral("Kategorie"), GradeNode::BuiltImage, GradeRecord{0, weight});
    for (const auto &[value, gradeWeight] : grades)
        category.addChild(QString(), GradeNode::GradeImage, GradeRecord{quint8(value), quint8(gradeWeight)});
    return category;
}

QString refusal(const QString &text, MarkingSystem system)
{
    try {
        GradeArithmetic::readValue(text, system);
    } catch (const EConvertError &error) {
        return error.message();
    }
    return QStringLiteral("accepted");
}

QString shown(double average, MarkingSystem system)
{
    return GradeArithmetic::averageText(average, system);
}

}

class tst_GradeArithmetic final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions();
    void averages();
    void wideSums();
};

void tst_GradeArithmetic::conversions()
{
    // The table runs from "1+" for 15 to "6" for 0, and reads back.
    for (int value = 0; value <= 15; ++value)
        QCOMPARE(GradeArithmetic::NotenS(GradeArithmetic::SNoten(quint8(value))), quint8(value));
    QCOMPARE(GradeArithmetic::SNoten(15), QStringLiteral("1+"));
    QCOMPARE(GradeArithmetic::SNoten(0), QStringLiteral("6"));
    QCOMPARE(GradeArithmetic::SNoten(16), QString());

    // Points: leading zeros are read, the low 8 bits are written.
    QCOMPARE(GradeArithmetic::PunkteS(QStringLiteral("07")), quint8(7));
    QCOMPARE(GradeArithmetic::SPunkte(256 + 12), QStringLiteral("12"));

    // Texts that are no grade are refused instead of storing a wrong value.
    QCOMPARE(refusal(QStringLiteral("7+"), MarkingSystem::Grades), QStringLiteral("'7+' ist keine gültige Note."));
    QCOMPARE(refusal(QStringLiteral("1,5"), MarkingSystem::Points), QStringLiteral("'1,5' is not a valid integer value"));
    QVERIFY(refusal(QStringLiteral("16"), MarkingSystem::Points).contains(QStringLiteral("0 bis 15")));
    QVERIFY(refusal(QStringLiteral("-1"), MarkingSystem::Points).contains(QStringLiteral("0 bis 15")));
}

void tst_GradeArithmetic::averages()
{
    GradeTree tree;
    GradeNode &subject = tree.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage);

    // 15 and 0 average 7.5, rounded to 8 in the grade system; 13.5 rounds to 14.
    const double half = GradeArithmetic::Berechne(addCategory(subject, 2, {{15, 1}, {0, 1}}));
    QCOMPARE(shown(half, MarkingSystem::Grades), QStringLiteral("3"));
    QCOMPARE(shown(half, MarkingSystem::Points), QStringLiteral("7,5"));
    QCOMPARE(shown(GradeArithmetic::Berechne(addCategory(subject, 1, {{13, 1}, {14, 1}})), MarkingSystem::Grades),
             QStringLiteral("1"));
    QCOMPARE(shown(34.0 / 3.0, MarkingSystem::Points), QStringLiteral("11,3333333333333"));
    QCOMPARE(shown(10.5, MarkingSystem::Grades), QStringLiteral("2-"));
    QCOMPARE(shown(12.5, MarkingSystem::Grades), QStringLiteral("2+"));

    // Grade weights count: 12 twice and 9 once give 11; so do the category weights.
    QCOMPARE(GradeArithmetic::Berechne(addCategory(subject, 1, {{12, 2}, {9, 1}})), 11.0);
    GradeTree second;
    GradeNode &math = second.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage);
    addCategory(math, 2, {{12, 1}});
    addCategory(math, 1, {{9, 1}});
    QCOMPARE(shown(GradeArithmetic::subjectAverage(math), MarkingSystem::Grades), QStringLiteral("2"));
    QCOMPARE(shown(GradeArithmetic::subjectAverage(math), MarkingSystem::Points), QStringLiteral("11"));

    // An empty category averages 0 and shows "0" or "6".
    const double empty = GradeArithmetic::Berechne(addCategory(subject, 1));
    QCOMPARE(shown(empty, MarkingSystem::Points), QStringLiteral("0"));
    QCOMPARE(shown(empty, MarkingSystem::Grades), QStringLiteral("6"));

    // No category, one only, or both of weight 0: no division by zero.
    GradeNode &art = second.addRoot(QStringLiteral("Kunst"), GradeNode::BuiltImage);
    QCOMPARE(GradeArithmetic::subjectAverage(art), 0.0);
    addCategory(art, 3, {{14, 1}});
    QCOMPARE(GradeArithmetic::subjectAverage(art), 14.0);
    art.child(0).setRecord(GradeRecord{0, 0});
    addCategory(art, 0, {{9, 1}});
    QCOMPARE(GradeArithmetic::subjectAverage(art), 0.0);
}

void tst_GradeArithmetic::wideSums()
{
    GradeTree tree;
    GradeNode &subject = tree.addRoot(QStringLiteral("Mathe"), GradeNode::BuiltImage);

    // 18 grades of 15 with weight 255 sum to 68 850, past 16 bits.
    GradeNode &many = addCategory(subject, 1);
    for (int i = 0; i < 18; ++i)
        many.addChild(QString(), GradeNode::GradeImage, GradeRecord{15, 255});
    QCOMPARE(GradeArithmetic::Berechne(many), 15.0);

    // 258 weights of 255 sum to 65 790, past 16 bits as well.
    GradeNode &heavy = addCategory(subject, 1);
    for (int i = 0; i < 258; ++i)
        heavy.addChild(QString(), GradeNode::GradeImage, GradeRecord{quint8(i % 2), 255});
    QCOMPARE(GradeArithmetic::Berechne(heavy), 0.5);
}

QTEST_GUILESS_MAIN(tst_GradeArithmetic)
#include "tst_GradeArithmetic.moc"
