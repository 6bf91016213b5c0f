// Test helper: saves the grade files over and over until it is killed.
//
//   gradewriter DIR COUNT VARIANT...
//       saves the grade files in the program directory DIR through the grade
//       store COUNT times (0: until killed), taking the trees A and B named by
//       the variants in turn. Before each save it prints "b" and after it "e"
//       on standard output, so whoever kills it learns whether the kill fell
//       inside a save.
#include "model/GradeStore.h"
#include "model/GradeTree.h"
#include "platform/ProgramDirectory.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// Tree B has one grade more in its first subject, so every record after it
// sits two bytes later than in A, and other values throughout.
GradeTree makeTree(char variant)
{
    const QStringList subjects = {QStringLiteral("Biologie"), QStringLiteral("Deutsch"), QStringLiteral("Englisch"),
                                  QStringLiteral("Französisch"), QStringLiteral("Mathematik"), QStringLiteral("Physik")};
    const QStringList categories = {QStringLiteral("Kurs-/Klassenarbeiten"), QStringLiteral("andere Leistungsnachweise")};
    const int shift = variant == 'B' ? 1 : 0;
    GradeTree tree;
    for (int s = 0; s < subjects.size(); ++s) {
        GradeNode &subject = tree.addRoot(subjects[s], GradeNode::FileImage);
        for (int c = 0; c < categories.size(); ++c) {
            GradeNode &category = subject.addChild(categories[c], GradeNode::FileImage, GradeRecord{0, quint8(1 + c + shift)});
            const int grades = 3 + (s == 0 && c == 0 ? shift : 0);
            for (int g = 0; g < grades; ++g) {
                category.addChild(QStringLiteral("%1. Note vom %2.12.2026").arg(g + 1).arg(g + 2 + shift),
                                  GradeNode::FileImage, GradeRecord{quint8(1 + (s + g + shift) % 6), quint8(1 + g)});
            }
        }
    }
    return tree;
}

void mark(char c)
{
    std::fputc(c, stdout);
    std::fflush(stdout);
}

}

int main(int argc, char **argv)
{
    if (argc < 4)
        return 2;
    setProgramDirectory(QString::fromLocal8Bit(argv[1]));
    const int count = std::atoi(argv[2]);
    const GradeTree trees[2] = {makeTree('A'), makeTree('B')};
    for (int i = 0; count == 0 || i < count; ++i) {
        const char variant = argv[3 + i % (argc - 3)][0];
        mark('b');
        GradeStore::SaveGrades(trees[variant == 'B' ? 1 : 0]);
        mark('e');
    }
    return 0;
}
