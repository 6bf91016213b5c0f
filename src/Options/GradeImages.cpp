// Drawing the pictures of the grade tree on a grid of 16 by 16 units.
#include "GradeImages.h"

#include "platform/Pixmaps.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

void sheet(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 1.5, 11, 13));
}

void gradeSheet(QPainter &p)
{
    sheet(p);
    p.fillRect(QRectF(3, 2, 10, 2.5), QColor(70, 120, 190));
    p.setPen(QColor(150, 150, 150));
    for (qreal y = 6.5; y <= 13; y += 2)
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
}

void binder(QPainter &p)
{
    p.setBrush(QColor(70, 150, 90));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1, 1);
    p.fillRect(QRectF(3, 2, 2.5, 12), QColor(40, 105, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 4, 5, 3));
}

void star(QPainter &p)
{
    QPolygonF points;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 7 : 3;
        const qreal angle = M_PI / 5 * i - M_PI / 2;
        points.append(QPointF(8 + radius * std::cos(angle), 8.5 + radius * std::sin(angle)));
    }
    p.setBrush(QColor(245, 200, 60));
    p.drawPolygon(points);
}

void tickedSheet(QPainter &p)
{
    sheet(p);
    p.setPen(QColor(150, 150, 150));
    for (qreal y = 4.5; y <= 13; y += 2)
        p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    p.setPen(QPen(QColor(210, 40, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{4.5, 9}, {7, 12}, {12.5, 4.5}}));
}

}

QList<QPixmap> GradeImages::draw()
{
    return Pixmaps::draw({gradeSheet, binder, star, tickedSheet});
}
