// The grade still needed: known answers, and every answer against a search with the grade arithmetic.
#include "model/GradeArithmetic.h"
#include "model/GradeTree.h"
#include "grades/NeededGrade.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QtTest>

#include <optional>

namespace {

using Answer = NeededGrade::Answer;

struct Grade
{
    quint8 value;
    quint8 weight;
};

struct Category
{
    std::optional<quint8> weight; // none: a category read without its record
    QList<Grade> grades;
};

struct Subject
{
    QString name;
    QList<Category> categories;
};

// Where the trial grade of the search goes.
struct Trial
{
    int subject;
    int category;
    Grade grade;
};

GradeTree buildTree(const QList<Subject> &subjects, std::optional<Trial> trial = std::nullopt)
{
    GradeTree tree;
    for (int s = 0; s < subjects.size(); ++s) {
        GradeNode &subject = tree.addRoot(subjects[s].name, GradeNode::FileImage);
        for (int c = 0; c < subjects[s].categories.size(); ++c) {
            const Category &data = subjects[s].categories[c];
            std::optional<GradeRecord> record;
            if (data.weight)
                record = GradeRecord{0, *data.weight};
            GradeNode &category = subject.addChild(QStringLiteral("Bereich %1").arg(c), GradeNode::FileImage, record);
            for (const Grade &grade : data.grades)
                category.addChild(QStringLiteral("Note"), GradeNode::FileImage, GradeRecord{grade.value, grade.weight});
            if (trial && trial->subject == s && trial->category == c)
                category.addChild(QStringLiteral("Versuch"), GradeNode::GradeImage, GradeRecord{trial->grade.value, trial->grade.weight});
        }
    }
    return tree;
}

// Reached as the tab shows it: a grade at or before the target in the grade list, or shown points not below it.
bool shownReaches(double average, int target, MarkingSystem system)
{
    if (system == MarkingSystem::Grades) {
        const qsizetype position = GradeArithmetic::GradeTexts().indexOf(GradeArithmetic::gradesAverageText(average));
        return position >= 0 && position <= 15 - target;
    }
    return QLocale(QLocale::German).toDouble(GradeArithmetic::pointsAverageText(average)) >= target;
}

// Every value tried in a tree built anew with the trial grade in it; the subject's or the category's average.
Answer searched(const QList<Subject> &subjects, int subject, int category, bool ofSubject, int target, int weight,
                MarkingSystem system)
{
    for (int value = 0; value <= 15; ++value) {
        const GradeTree tree = buildTree(subjects, Trial{subject, category, Grade{quint8(value), quint8(weight)}});
        const GradeNode &node = tree.root(subject);
        const double average = ofSubject ? GradeArithmetic::subjectAverage(node) : GradeArithmetic::Berechne(node.child(category));
        if (shownReaches(average, target, system))
            return {value == 0 ? Answer::Reached : Answer::Needed, quint8(value)};
    }
    return {Answer::Unreachable, 0};
}

QString describe(const Answer &answer)
{
    return NeededGrade::answerText(answer);
}

// The tree with one grade of the grade file's example, Englisch still without grades.
QList<Subject> exampleTree()
{
    return {{QStringLiteral("Deutsch"), {{1, {{11, 1}}}, {1, {}}}},
            {QStringLiteral("Englisch"), {{1, {}}, {1, {}}}}};
}

// Twelve subjects: made by hand for the odd shapes, the rest drawn with a fixed seed.
QList<Subject> twelveSubjects()
{
    QList<Subject> subjects = {
        {QStringLiteral("Leer"), {{1, {}}, {1, {}}}},
        {QStringLiteral("Nullgewichte"), {{0, {{9, 2}}}, {0, {{4, 1}}}}},
        {QStringLiteral("Ohne Datensatz"), {{std::nullopt, {{13, 1}}}, {2, {{7, 3}}}}},
        {QStringLiteral("Schwer"), {{255, {{15, 255}, {0, 255}, {14, 200}}}, {1, {{3, 1}}}}},
        {QStringLiteral("Ein Bereich"), {{1, {{10, 1}}}}},
        {QStringLiteral("Drei Bereiche"), {{2, {{12, 1}}}, {1, {{8, 2}}}, {5, {{1, 1}}}}},
        {QStringLiteral("Note ohne Gewicht"), {{1, {{6, 0}, {11, 1}}}, {3, {}}}},
    };
    QRandomGenerator random(20261207);
    while (subjects.size() < 12) {
        Subject subject{QStringLiteral("Fach %1").arg(subjects.size()), {}};
        for (int c = 0; c < 2; ++c) {
            Category category{quint8(random.bounded(1, 4)), {}};
            const int count = random.bounded(0, 7);
            for (int g = 0; g < count; ++g)
                category.grades.append({quint8(random.bounded(16)), quint8(random.bounded(1, 4))});
            subject.categories.append(category);
        }
        subjects.append(subject);
    }
    return subjects;
}

// Compares the answers for every subject with each of its categories, and every category, for all targets.
void compareWithSearch(const QList<Subject> &subjects)
{
    const GradeTree tree = buildTree(subjects);
    int compared = 0;
    for (const MarkingSystem system : {MarkingSystem::Grades, MarkingSystem::Points}) {
        for (const int weight : {0, 1, 255}) {
            for (int target = 0; target <= 15; ++target) {
                for (int s = 0; s < subjects.size(); ++s) {
                    const GradeNode &subject = tree.root(s);
                    for (int c = 0; c < subjects[s].categories.size(); ++c) {
                        const QByteArray where = QStringLiteral("%1, Bereich %2, Ziel %3, Wertigkeit %4, %5")
                                                     .arg(subjects[s].name).arg(c).arg(target).arg(weight)
                                                     .arg(system == MarkingSystem::Grades ? "Noten" : "Punkte")
                                                     .toUtf8();
                        const Answer forCategory = NeededGrade::compute(subject.child(c), -1, quint8(target), quint8(weight), system);
                        QVERIFY2(forCategory == searched(subjects, s, c, false, target, weight, system), where.constData());
                        const Answer forSubject = NeededGrade::compute(subject, c, quint8(target), quint8(weight), system);
                        QVERIFY2(forSubject == searched(subjects, s, c, true, target, weight, system), where.constData());
                        // A grade of weight 0 changes nothing.
                        if (weight == 0)
                            QVERIFY2(forCategory.kind != Answer::Needed && forSubject.kind != Answer::Needed, where.constData());
                        compared += 2;
                    }
                }
            }
        }
    }
    // The tree asked about is left as it was.
    QCOMPARE(buildTree(subjects).preOrder().size(), tree.preOrder().size());
    QVERIFY(compared > 0);
}

}

class tst_NeededGrade final : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void knownAnswers();
    void subjectsAndCategories();
    void answerTexts();
    void matchesTheSearch();
};

void tst_NeededGrade::knownAnswers()
{
    // Grades 12 (weight 2) and 9 average 11; a new grade of weight 1 gives (33 + v) / 4.
    const GradeTree tree = buildTree({{QStringLiteral("Mathe"), {{1, {{12, 2}, {9, 1}}}, {1, {}}}}});
    const GradeNode &category = tree.root(0).child(0);
    const auto points = [&](int target, int weight = 1) {
        return NeededGrade::compute(category, 0, quint8(target), quint8(weight), MarkingSystem::Points);
    };
    const auto grades = [&](int target, int weight = 1) {
        return NeededGrade::compute(category, 0, quint8(target), quint8(weight), MarkingSystem::Grades);
    };
    QCOMPARE(points(11), (Answer{Answer::Needed, 11}));
    QCOMPARE(points(12), (Answer{Answer::Needed, 15}));
    QCOMPARE(points(13), (Answer{Answer::Unreachable, 0}));
    // Even a 0 keeps 8,25.
    QCOMPARE(points(8), (Answer{Answer::Reached, 0}));
    // The grade system counts the rounded average: 11,5 already shows "2+".
    QCOMPARE(grades(12), (Answer{Answer::Needed, 13}));
    // Weight 0 leaves 11: reached up to 11, out of reach above.
    QCOMPARE(points(11, 0), (Answer{Answer::Reached, 0}));
    QCOMPARE(points(12, 0), (Answer{Answer::Unreachable, 0}));
    // Weight 255 almost replaces the average by the new grade, yet 13 still needs a 14.
    QCOMPARE(points(13, 255), (Answer{Answer::Needed, 14}));

    // Halves go to the even value as the tab shows them: 10,5 is "2-", so "2" needs 12, not 11.
    const GradeTree ten = buildTree({{QStringLiteral("Chemie"), {{1, {{10, 1}}}, {1, {}}}}});
    QCOMPARE(NeededGrade::compute(ten.root(0).child(0), 0, 11, 1, MarkingSystem::Grades), (Answer{Answer::Needed, 12}));
    // 11,5 is "2+": "2+" needs 12.
    const GradeTree eleven = buildTree({{QStringLiteral("Chemie"), {{1, {{11, 1}}}, {1, {}}}}});
    QCOMPARE(NeededGrade::compute(eleven.root(0).child(0), 0, 12, 1, MarkingSystem::Grades), (Answer{Answer::Needed, 12}));

    // Points as shown: with a 3 the subject averages 8 exactly, which the division leaves a hair below and the tab shows as 8.
    const GradeTree hair = buildTree({{QStringLiteral("Physik"), {{3, {{6, 3}, {12, 1}}}, {1, {{13, 3}, {11, 2}}}}}});
    QCOMPARE(NeededGrade::compute(hair.root(0), 0, 8, 1, MarkingSystem::Points), (Answer{Answer::Needed, 3}));
}

void tst_NeededGrade::subjectsAndCategories()
{
    // Deutsch: 12 in the first category, 9 in the second, weights 1: the subject averages 10,5.
    const GradeTree tree = buildTree({{QStringLiteral("Deutsch"), {{1, {{12, 1}}}, {1, {{9, 1}}}}},
                                      {QStringLiteral("Kunst"), {{1, {{12, 1}}}}},
                                      {QStringLiteral("Sport"), {{std::nullopt, {{3, 1}}}, {1, {{14, 1}}}}}});
    const GradeNode &deutsch = tree.root(0);
    // Into the second: (12 + (9 + v) / 2) / 2 >= 11 needs 11; into the first: ((12 + v) / 2 + 9) / 2 >= 11 needs 14.
    QCOMPARE(NeededGrade::compute(deutsch, 1, 11, 1, MarkingSystem::Points), (Answer{Answer::Needed, 11}));
    QCOMPARE(NeededGrade::compute(deutsch, 0, 11, 1, MarkingSystem::Points), (Answer{Answer::Needed, 14}));
    // A category that the average does not use takes no grade: the average stays 10,5.
    QCOMPARE(NeededGrade::compute(deutsch, 2, 10, 1, MarkingSystem::Points), (Answer{Answer::Reached, 0}));
    QCOMPARE(NeededGrade::compute(deutsch, 2, 11, 1, MarkingSystem::Points), (Answer{Answer::Unreachable, 0}));
    // Nothing is added to the tree asked about.
    QCOMPARE(deutsch.child(0).childCount(), 1);
    QCOMPARE(deutsch.child(1).childCount(), 1);

    // Kunst has one category only: the average counts it with its weight against none.
    QCOMPARE(NeededGrade::compute(tree.root(1), 0, 13, 1, MarkingSystem::Points), (Answer{Answer::Needed, 14}));
    QCOMPARE(NeededGrade::compute(tree.root(1), 1, 12, 1, MarkingSystem::Points), (Answer{Answer::Reached, 0}));
    // Sport's first category has no record and so no weight: a grade there changes nothing.
    QCOMPARE(NeededGrade::compute(tree.root(2), 0, 14, 1, MarkingSystem::Points), (Answer{Answer::Reached, 0}));
    QCOMPARE(NeededGrade::compute(tree.root(2), 0, 15, 255, MarkingSystem::Points), (Answer{Answer::Unreachable, 0}));
    // ... while the category itself averages its grades as ever.
    QCOMPARE(NeededGrade::compute(tree.root(2).child(0), 0, 9, 1, MarkingSystem::Points), (Answer{Answer::Needed, 15}));
}

void tst_NeededGrade::answerTexts()
{
    QCOMPARE(describe({Answer::Needed, 10}), QStringLiteral("mindestens 2- (10 Punkte)"));
    QCOMPARE(describe({Answer::Needed, 1}), QStringLiteral("mindestens 5- (1 Punkt)"));
    QCOMPARE(describe({Answer::Needed, 15}), QStringLiteral("mindestens 1+ (15 Punkte)"));
    QCOMPARE(describe({Answer::Reached, 0}), QStringLiteral("schon erreicht"));
    QCOMPARE(describe({Answer::Unreachable, 0}), QStringLiteral("nicht erreichbar"));
}

void tst_NeededGrade::matchesTheSearch()
{
    // The tree of the grade file's example.
    compareWithSearch(exampleTree());
    if (QTest::currentTestFailed())
        return;
    // Twelve subjects with empty, weightless, heavy and odd-shaped categories.
    compareWithSearch(twelveSubjects());
}

QTEST_GUILESS_MAIN(tst_NeededGrade)
#include "tst_NeededGrade.moc"
