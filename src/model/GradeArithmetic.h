// Grade values as texts in the two marking systems, and the weighted averages of the grade tree.
#pragma once

#include <QString>
#include <QStringList>

class GradeNode;

/// How values are shown and typed: as grades "1+" to "6" or as points "0" to "15".
enum class MarkingSystem { Grades, Points };

class GradeArithmetic final
{
public:
    /// The sixteen grade texts from best to worst: "1+", "1", "1-", ... "5-", "6".
    static const QStringList &GradeTexts();
    /// The points of the editor's list: "1" to "15" ("0" is typed).
    static const QStringList &PointTexts();

    /// The grade text of a value ("1+" for 15, "6" for 0); empty above 15.
    static QString SNoten(quint8 value);
    /// The decimal text of the value's low 8 bits.
    static QString SPunkte(int value);
    /// The value of a grade text ("2-" gives 10), blanks around it ignored.
    /// Throws EConvertError "'7+' ist keine gültige Note." for any other text.
    static quint8 NotenS(const QString &text);
    /// The value of a points text ("07" gives 7), blanks around it ignored.
    /// Throws EConvertError "'%s' is not a valid integer value" for a text
    /// that is not a whole number, and a German EConvertError for a number
    /// outside 0..15, which no grade has.
    static quint8 PunkteS(const QString &text);

    /// The value typed in the given system, by `NotenS` or `PunkteS`.
    static quint8 readValue(const QString &text, MarkingSystem system);
    /// A single grade's value as the grade field shows it.
    static QString valueText(quint8 value, MarkingSystem system);

    /// The weighted average of a category's grades; 0 when the weights sum to
    /// 0. A grade without a record counts with weight 0. The sums are wide,
    /// so no count of grades and weights can overflow them.
    static double Berechne(const GradeNode &category);
    /// The average of a subject's first two categories, weighted by their
    /// category weights. A missing category or record counts with weight 0,
    /// and the result is 0 when both weights are 0.
    static double subjectAverage(const GradeNode &subject);

    /// Points: up to 15 significant digits, decimal comma, no trailing zeros ("7,5").
    static QString pointsAverageText(double average);
    /// Grades: rounded to the nearest value, halves to the even one, as its grade text.
    static QString gradesAverageText(double average);
    /// An average as the label shows it in the given system.
    static QString averageText(double average, MarkingSystem system);
};
