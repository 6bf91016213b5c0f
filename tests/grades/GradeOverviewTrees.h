// Grade trees for the overview's tests: the small tree of the grade files' description, and twelve subjects.
#pragma once

#include "model/GradeStore.h"
#include "model/GradeTree.h"

#include <QList>
#include <QStringList>

#include <utility>

namespace GradeOverviewTrees {

// A grade: value and weight.
using Grade = std::pair<int, int>;

struct Subject
{
    QString name;
    int firstWeight = 1;
    int otherWeight = 1;
    QList<Grade> first;
    QList<Grade> other;
};

inline GradeTree build(const QList<Subject> &subjects)
{
    GradeTree tree;
    for (const Subject &s : subjects) {
        GradeNode &subject = tree.addRoot(s.name, GradeNode::FileImage);
        const QStringList &names = GradeStore::CategoryNames();
        GradeNode &first = subject.addChild(names[0], GradeNode::FileImage, GradeRecord{0, quint8(s.firstWeight)});
        for (int i = 0; i < s.first.size(); ++i)
            first.addChild(QStringLiteral("Arbeit %1").arg(i + 1), GradeNode::GradeImage,
                           GradeRecord{quint8(s.first[i].first), quint8(s.first[i].second)});
        GradeNode &other = subject.addChild(names[1], GradeNode::FileImage, GradeRecord{0, quint8(s.otherWeight)});
        for (int i = 0; i < s.other.size(); ++i)
            other.addChild(QStringLiteral("Mitarbeit %1").arg(i + 1), GradeNode::GradeImage,
                           GradeRecord{quint8(s.other[i].first), quint8(s.other[i].second)});
    }
    return tree;
}

// Deutsch with one class test, Englisch with two empty categories.
inline QList<Subject> exampleTree()
{
    return {{QStringLiteral("Deutsch"), 1, 1, {{11, 1}}, {}}, {QStringLiteral("Englisch"), 1, 1, {}, {}}};
}

// Twelve subjects with thirds, halves on both sides of a rounding, equal
// averages, an empty category, a category of weight 0 and one of weight 0 on both.
inline QList<Subject> twelveSubjects()
{
    return {
        {QStringLiteral("Biologie"), 1, 1, {{13, 1}, {14, 2}}, {{12, 1}}},
        {QStringLiteral("Chemie"), 2, 1, {{12, 1}}, {{9, 1}}},                 // 11, the arithmetic's own example
        {QStringLiteral("Deutsch"), 1, 1, {{11, 1}, {12, 1}, {12, 1}}, {{10, 1}}}, // thirds
        {QStringLiteral("Englisch"), 1, 1, {{15, 1}}, {{0, 1}}},               // 7.5: grade 3 by rounding to even
        {QStringLiteral("Erdkunde"), 1, 1, {{12, 1}}, {{9, 1}}},               // 10.5: rounds to 10
        {QStringLiteral("Französisch"), 1, 1, {{8, 1}}, {}},                   // an empty category halves it
        {QStringLiteral("Geschichte"), 1, 0, {{9, 3}, {10, 2}}, {{1, 1}}},     // the second category does not count
        {QStringLiteral("Informatik"), 0, 0, {{15, 1}}, {{15, 1}}},            // no weight at all: 0
        {QStringLiteral("Kunst"), 1, 1, {{12, 1}}, {{9, 1}}},                  // as Erdkunde: equal averages
        {QStringLiteral("Mathematik"), 3, 2, {{4, 1}, {5, 2}}, {{3, 1}, {2, 1}, {6, 4}}},
        {QStringLiteral("Musik"), 1, 1, {{13, 1}}, {{14, 1}}},                 // 13.5: rounds to 14
        {QStringLiteral("Physik"), 1, 2, {{2, 1}}, {{3, 2}, {4, 1}}},
    };
}

}
