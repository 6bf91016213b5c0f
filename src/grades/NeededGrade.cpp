// The grade still needed: trial grades on a copy of the node, judged as the grades tab shows averages.
#include "NeededGrade.h"

#include "model/GradeNode.h"
#include "model/GradeTree.h"

#include <QLocale>

#include <algorithm>

namespace {

constexpr int kBestValue = 15;
// The categories that a subject's average uses.
constexpr int kAveragedCategories = 2;

void copyChildren(const GradeNode &from, GradeNode &to)
{
    for (int i = 0; i < from.childCount(); ++i) {
        const GradeNode &child = from.child(i);
        copyChildren(child, to.addChild(child.text(), child.image(), child.record()));
    }
}

// A copy of the node in a tree of its own, at the node's level, with an
// empty trial grade where the new grade goes; nullptr when it goes nowhere.
GradeNode *copyWithTrial(GradeTree &tree, const GradeNode &node, int category)
{
    if (node.level() == 0) {
        GradeNode &subject = tree.addRoot(node.text(), node.image(), node.record());
        copyChildren(node, subject);
        if (category < 0 || category >= std::min(subject.childCount(), kAveragedCategories))
            return nullptr;
        return &subject.child(category).addChild(QString(), GradeNode::GradeImage, GradeRecord{});
    }
    GradeNode &copy = tree.addRoot(QString(), GradeNode::FileImage).addChild(node.text(), node.image(), node.record());
    copyChildren(node, copy);
    return &copy.addChild(QString(), GradeNode::GradeImage, GradeRecord{});
}

}

NeededGrade::Answer NeededGrade::compute(const GradeNode &node, int category, quint8 targetValue, quint8 weight,
                                         MarkingSystem system)
{
    GradeTree trial;
    GradeNode *grade = copyWithTrial(trial, node, category);
    const GradeNode &copy = node.level() == 0 ? trial.root(0) : trial.root(0).child(0);
    if (!grade)
        return {reaches(average(copy), targetValue, system) ? Answer::Reached : Answer::Unreachable, 0};
    // Tried from the worst grade up, so the first one that reaches the target is the lowest.
    for (int value = 0; value <= kBestValue; ++value) {
        grade->setRecord(GradeRecord{quint8(value), weight});
        if (reaches(average(copy), targetValue, system))
            return {value == 0 ? Answer::Reached : Answer::Needed, quint8(value)};
    }
    return {Answer::Unreachable, 0};
}

double NeededGrade::average(const GradeNode &node)
{
    return node.level() == 0 ? GradeArithmetic::subjectAverage(node) : GradeArithmetic::Berechne(node);
}

bool NeededGrade::reaches(double average, quint8 targetValue, MarkingSystem system)
{
    if (system == MarkingSystem::Grades) {
        const QString shown = GradeArithmetic::gradesAverageText(average);
        return !shown.isEmpty() && GradeArithmetic::NotenS(shown) >= targetValue;
    }
    bool ok = false;
    const double shown = QLocale(QLocale::German, QLocale::Germany).toDouble(GradeArithmetic::pointsAverageText(average), &ok);
    return ok && shown >= targetValue;
}

QString NeededGrade::answerText(const Answer &answer)
{
    switch (answer.kind) {
    case Answer::Reached:
        return QStringLiteral("schon erreicht");
    case Answer::Unreachable:
        return QStringLiteral("nicht erreichbar");
    case Answer::Needed:
        break;
    }
    const QString points = answer.value == 1 ? QStringLiteral("1 Punkt") : QStringLiteral("%1 Punkte").arg(answer.value);
    return QStringLiteral("mindestens %1 (%2)").arg(GradeArithmetic::SNoten(answer.value), points);
}
