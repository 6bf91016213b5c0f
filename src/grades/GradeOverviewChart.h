// The bar chart of the grade overview: the subjects' averages, the best first, coloured by grade band.
#pragma once

#include "GradeOverview.h"

#include <QColor>

class QChart;
class QPainter;
class QRectF;

class GradeOverviewChart final
{
public:
    /// A new chart of the subjects' averages, the best first from the top:
    /// one lying bar per subject, in the set of its band (green, orange, red),
    /// so that the legend explains the colours; the value axis in the given
    /// system. The categories count from the bottom, so the best subject is
    /// the last one. The caller owns the chart.
    static QChart *build(const QList<GradeOverview::Row> &rows, MarkingSystem system);

    /// The dark or the light look for the window (background, axes, legend,
    /// titles); the bars keep their band colours. A printout stays light.
    static void setDark(QChart *chart, bool dark);

    /// Draws such a chart into `area` of `painter`, for the printout.
    static void render(const QList<GradeOverview::Row> &rows, MarkingSystem system, QPainter &painter,
                       const QRectF &area);

    static QColor bandColor(GradeOverview::Band band);
    /// A bar's label on the subject axis: the subject and its average, short.
    static QString barLabel(const GradeOverview::Row &row, MarkingSystem system);
};
