// The bar chart of the grade overview, drawn with Qt Charts.
#include "GradeOverviewChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLocale>
#include <QPainter>
#include <QHorizontalStackedBarSeries>
#include <QValueAxis>

#include <algorithm>

namespace {

constexpr double kBest = 15.0;

const GradeOverview::Band kBands[] = {GradeOverview::Band::Good, GradeOverview::Band::Middle, GradeOverview::Band::Poor};

QAbstractAxis *valueAxis(MarkingSystem system)
{
    if (system == MarkingSystem::Points) {
        auto *axis = new QValueAxis;
        axis->setRange(0.0, kBest);
        axis->setTickCount(6);
        axis->setLabelFormat(QStringLiteral("%d"));
        axis->setTitleText(QStringLiteral("Punkte"));
        return axis;
    }
    // The grades stand at the value of their plain grade: "1" at 14, "2" at 11 ... "6" at 0.
    auto *axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(-1.0);
    axis->append(QStringLiteral("6"), 0.0);
    for (int grade = 5; grade >= 1; --grade)
        axis->append(QString::number(grade), 17.0 - 3.0 * grade);
    axis->setRange(0.0, kBest);
    axis->setTitleText(QStringLiteral("Note"));
    return axis;
}

}

QColor GradeOverviewChart::bandColor(GradeOverview::Band band)
{
    switch (band) {
    case GradeOverview::Band::Good:
        return QColor(0x3a, 0xa6, 0x55);
    case GradeOverview::Band::Middle:
        return QColor(0xf0, 0xa0, 0x28);
    case GradeOverview::Band::Poor:
        break;
    }
    return QColor(0xd2, 0x3f, 0x31);
}

QString GradeOverviewChart::barLabel(const GradeOverview::Row &row, MarkingSystem system)
{
    const QString value = system == MarkingSystem::Points ? GradeOverview::pointsText(row.average)
                                                          : GradeArithmetic::gradesAverageText(row.average);
    return QStringLiteral("%1 (%2)").arg(row.subject, value);
}

QChart *GradeOverviewChart::build(const QList<GradeOverview::Row> &rows, MarkingSystem system)
{
    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setTitle(QStringLiteral("Durchschnitt der Fächer, das beste zuerst"));

    // One set a band; a subject's bar stands in its band's set, the other sets
    // hold 0 there. The bars lie, so that every subject's name reads upright.
    auto *series = new QHorizontalStackedBarSeries;
    QList<QBarSet *> sets;
    for (GradeOverview::Band band : kBands) {
        auto *set = new QBarSet(GradeOverview::bandName(band, system));
        set->setColor(bandColor(band));
        set->setBorderColor(bandColor(band).darker(130));
        sets.append(set);
    }
    auto *subjects = new QBarCategoryAxis;
    QStringList labels;
    // A category axis counts from the bottom, so the best comes last and stands at the top.
    QList<GradeOverview::Row> order = GradeOverview::bestFirst(rows);
    std::reverse(order.begin(), order.end());
    for (const GradeOverview::Row &row : order) {
        const GradeOverview::Band band = GradeOverview::band(row.average);
        for (int b = 0; b < sets.size(); ++b)
            sets[b]->append(kBands[b] == band ? row.average : 0.0);
        // The axis keeps one entry per distinct text, so a repeated subject name is set apart invisibly.
        QString label = barLabel(row, system);
        while (labels.contains(label))
            label += QChar(0x200B);
        labels.append(label);
    }
    for (QBarSet *set : sets)
        series->append(set);
    series->setBarWidth(0.7);
    chart->addSeries(series);

    subjects->append(labels);
    subjects->setTruncateLabels(false);
    chart->addAxis(subjects, Qt::AlignLeft);
    series->attachAxis(subjects);
    QAbstractAxis *values = valueAxis(system);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(values);

    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

void GradeOverviewChart::setDark(QChart *chart, bool dark)
{
    chart->setTheme(dark ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    // The theme gives the bars its own colours; they keep their bands'.
    for (QAbstractSeries *series : chart->series()) {
        if (auto *bars = qobject_cast<QHorizontalStackedBarSeries *>(series)) {
            const QList<QBarSet *> sets = bars->barSets();
            for (int b = 0; b < sets.size() && b < int(std::size(kBands)); ++b) {
                sets[b]->setColor(bandColor(kBands[b]));
                sets[b]->setBorderColor(bandColor(kBands[b]).darker(130));
            }
        }
    }
}

void GradeOverviewChart::render(const QList<GradeOverview::Row> &rows, MarkingSystem system, QPainter &painter,
                                const QRectF &area)
{
    if (area.isEmpty())
        return;
    QGraphicsScene scene;
    QChart *chart = build(rows, system);
    scene.addItem(chart); // the scene owns it now
    // Laid out at about the size of a window, then scaled into the area, so that texts keep their proportions.
    const QSizeF size(640.0, 640.0 * area.height() / area.width());
    chart->setGeometry(QRectF(QPointF(0, 0), size));
    if (chart->layout())
        chart->layout()->activate();
    scene.setSceneRect(QRectF(QPointF(0, 0), size));
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, area, scene.sceneRect());
}
