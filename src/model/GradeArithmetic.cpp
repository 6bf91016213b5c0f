// Conversions between grade values and texts, and the weighted averages.
#include "GradeArithmetic.h"

#include "GradeNode.h"
#include "platform/Errors.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBestValue = 15;

// The weight of a node's record; a node without one does not count.
quint64 weightOf(const GradeNode &node)
{
    return node.record() ? node.record()->weight : 0;
}

}

const QStringList &GradeArithmetic::GradeTexts()
{
    static const QStringList texts = {
        QStringLiteral("1+"), QStringLiteral("1"), QStringLiteral("1-"), QStringLiteral("2+"),
        QStringLiteral("2"),  QStringLiteral("2-"), QStringLiteral("3+"), QStringLiteral("3"),
        QStringLiteral("3-"), QStringLiteral("4+"), QStringLiteral("4"), QStringLiteral("4-"),
        QStringLiteral("5+"), QStringLiteral("5"),  QStringLiteral("5-"), QStringLiteral("6"),
    };
    return texts;
}

const QStringList &GradeArithmetic::PointTexts()
{
    static const QStringList texts = [] {
        QStringList points;
        for (int value = 1; value <= kBestValue; ++value)
            points.append(QString::number(value));
        return points;
    }();
    return texts;
}

QString GradeArithmetic::SNoten(quint8 value)
{
    if (value > kBestValue)
        return QString();
    return GradeTexts().at(kBestValue - value);
}

QString GradeArithmetic::SPunkte(int value)
{
    return QString::number(value & 0xFF);
}

quint8 GradeArithmetic::NotenS(const QString &text)
{
    const qsizetype index = GradeTexts().indexOf(text.trimmed());
    if (index < 0)
        throw EConvertError(QStringLiteral("'%1' ist keine gültige Note.").arg(text));
    return quint8(kBestValue - index);
}

quint8 GradeArithmetic::PunkteS(const QString &text)
{
    bool ok = false;
    const int points = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EConvertError::invalidInteger(text);
    if (points < 0 || points > kBestValue)
        throw EConvertError(QStringLiteral("'%1' ist keine gültige Punktzahl; erlaubt sind 0 bis 15.").arg(text));
    return quint8(points);
}

quint8 GradeArithmetic::readValue(const QString &text, MarkingSystem system)
{
    return system == MarkingSystem::Points ? PunkteS(text) : NotenS(text);
}

QString GradeArithmetic::valueText(quint8 value, MarkingSystem system)
{
    return system == MarkingSystem::Points ? SPunkte(value) : SNoten(value);
}

double GradeArithmetic::Berechne(const GradeNode &category)
{
    quint64 weights = 0;
    quint64 weighted = 0;
    for (int i = 0; i < category.childCount(); ++i) {
        const GradeNode &grade = category.child(i);
        weights += weightOf(grade);
        if (grade.record())
            weighted += weightOf(grade) * grade.record()->value;
    }
    return weights == 0 ? 0.0 : double(weighted) / double(weights);
}

double GradeArithmetic::subjectAverage(const GradeNode &subject)
{
    double sum = 0.0;
    quint64 weights = 0;
    for (int i = 0; i < std::min(subject.childCount(), 2); ++i) {
        const GradeNode &category = subject.child(i);
        sum += Berechne(category) * double(weightOf(category));
        weights += weightOf(category);
    }
    return weights == 0 ? 0.0 : sum / double(weights);
}

QString GradeArithmetic::pointsAverageText(double average)
{
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    return german.toString(average, 'g', 15);
}

QString GradeArithmetic::gradesAverageText(double average)
{
    // Halves go to the even neighbour: 10.5 gives 10, 11.5 gives 12.
    double rounded = std::round(average);
    if (std::abs(average - std::trunc(average)) == 0.5)
        rounded = 2.0 * std::round(average / 2.0);
    if (!(rounded >= 0.0 && rounded <= kBestValue))
        return QString();
    return SNoten(quint8(rounded));
}

QString GradeArithmetic::averageText(double average, MarkingSystem system)
{
    return system == MarkingSystem::Points ? pointsAverageText(average) : gradesAverageText(average);
}
