// Drawing the pictures of the research tree on a grid of 16 by 16 units.
#include "ResearchImages.h"

#include "platform/Pixmaps.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void openBook(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{1, 4}, {7.5, 5}, {7.5, 14}, {1, 13}}));
    p.drawPolygon(QPolygonF({{15, 4}, {8.5, 5}, {8.5, 14}, {15, 13}}));
    p.setPen(QColor(150, 150, 150));
    for (qreal y = 7; y <= 11; y += 2) {
        p.drawLine(QPointF(2.5, y - 0.5), QPointF(6.5, y));
        p.drawLine(QPointF(9.5, y), QPointF(13.5, y - 0.5));
    }
}

void closedBook(QPainter &p)
{
    p.setBrush(QColor(60, 100, 170));
    p.drawRoundedRect(QRectF(3, 1.5, 10, 13), 1, 1);
    p.fillRect(QRectF(3.5, 2, 2, 12), QColor(35, 65, 120));
    p.fillRect(QRectF(7, 4, 4.5, 2), Qt::white);
}

void globe(QPainter &p)
{
    p.setBrush(QColor(70, 140, 210));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255), 0.8));
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(2.8, 4.8), QPointF(13.2, 4.8));
    p.drawLine(QPointF(2.8, 11.2), QPointF(13.2, 11.2));
}

void page(QPainter &p)
{
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3, 1.5}, {10, 1.5}, {13, 4.5}, {13, 14.5}, {3, 14.5}}));
    p.drawPolyline(QPolygonF({{10, 1.5}, {10, 4.5}, {13, 4.5}}));
    p.setPen(QColor(140, 140, 140));
    for (qreal y = 7; y <= 12; y += 1.7)
        p.drawLine(QPointF(5, y), QPointF(11, y));
}

void leaf(QPainter &p)
{
    QPainterPath path;
    path.moveTo(2.5, 13.5);
    path.cubicTo(2, 5, 7, 1.5, 14, 2);
    path.cubicTo(14.5, 9, 10, 14, 2.5, 13.5);
    p.setBrush(QColor(80, 170, 70));
    p.setPen(QColor(40, 110, 40));
    p.drawPath(path);
    p.setPen(QPen(QColor(200, 240, 190), 0.9));
    p.drawLine(QPointF(3.5, 12.5), QPointF(12, 4));
}

void flask(QPainter &p)
{
    QPainterPath glass;
    glass.moveTo(6, 1.5);
    glass.lineTo(10, 1.5);
    glass.lineTo(10, 6);
    glass.lineTo(14, 14.5);
    glass.lineTo(2, 14.5);
    glass.lineTo(6, 6);
    glass.closeSubpath();
    p.setBrush(QColor(235, 245, 250));
    p.drawPath(glass);
    QPainterPath liquid;
    liquid.moveTo(4.3, 10);
    liquid.lineTo(11.7, 10);
    liquid.lineTo(13.6, 14);
    liquid.lineTo(2.4, 14);
    liquid.closeSubpath();
    p.fillPath(liquid, QColor(150, 60, 190));
}

void atom(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 110, 180), 1));
    const QRectF orbit(1, 5.5, 14, 5);
    for (int angle : {0, 60, 120}) {
        p.save();
        p.translate(8, 8);
        p.rotate(angle);
        p.translate(-8, -8);
        p.drawEllipse(orbit);
        p.restore();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 60, 50));
    p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
}

void pencil(QPainter &p)
{
    p.translate(8, 8);
    p.rotate(-45);
    p.setBrush(QColor(240, 190, 50));
    p.drawRect(QRectF(-4.5, -1.8, 9, 3.6));
    p.setBrush(QColor(240, 150, 150));
    p.drawRect(QRectF(4.5, -1.8, 2, 3.6));
    p.setBrush(QColor(245, 225, 185));
    p.drawPolygon(QPolygonF({{-4.5, -1.8}, {-7.5, 0}, {-4.5, 1.8}}));
    p.setBrush(Pixmaps::Outline());
    p.drawPolygon(QPolygonF({{-6.3, -0.7}, {-7.5, 0}, {-6.3, 0.7}}));
}

void calculator(QPainter &p)
{
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(3, 1.5, 10, 13), 1.2, 1.2);
    p.fillRect(QRectF(4.5, 3, 7, 3), QColor(190, 220, 180));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            p.fillRect(QRectF(4.5 + column * 2.5, 7.5 + row * 2.2, 1.8, 1.5), QColor(235, 235, 235));
    }
}

void building(QPainter &p)
{
    p.setBrush(QColor(225, 215, 190));
    p.drawPolygon(QPolygonF({{1.5, 5.5}, {8, 1.5}, {14.5, 5.5}}));
    p.drawRect(QRectF(2, 13, 12, 1.5));
    for (qreal x : {3.0, 7.0, 11.0})
        p.drawRect(QRectF(x, 6.5, 2, 6.5));
}

void speechBubble(QPainter &p)
{
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 2, 13, 9), 2.5, 2.5);
    QPainterPath tail;
    tail.moveTo(4, 10);
    tail.lineTo(3.5, 14.5);
    tail.lineTo(8, 10);
    tail.closeSubpath();
    p.setBrush(QColor(250, 230, 120));
    p.drawPath(bubble.united(tail));
    p.setPen(Pixmaps::Outline());
    for (qreal y : {5.0, 7.8})
        p.drawLine(QPointF(4, y), QPointF(12, y));
}

void note(QPainter &p)
{
    p.setPen(QPen(Pixmaps::Outline(), 1.2));
    p.drawLine(QPointF(6.5, 12), QPointF(6.5, 2.5));
    p.drawLine(QPointF(13, 10.5), QPointF(13, 1.5));
    p.setBrush(Pixmaps::Outline());
    p.drawPolygon(QPolygonF({{6.5, 2.5}, {13, 1.5}, {13, 3.8}, {6.5, 4.8}}));
    p.drawEllipse(QPointF(4.7, 12.3), 2, 1.6);
    p.drawEllipse(QPointF(11.2, 10.8), 2, 1.6);
}

void mapPin(QPainter &p)
{
    QPainterPath pin;
    pin.moveTo(8, 15);
    pin.cubicTo(4, 10, 2.5, 8, 2.5, 6);
    pin.arcTo(QRectF(2.5, 0.5, 11, 11), 180, -180);
    pin.cubicTo(13.5, 8, 12, 10, 8, 15);
    p.setBrush(QColor(220, 70, 60));
    p.drawPath(pin);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8, 6), 2.2, 2.2);
}

void chainLink(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 120, 190), 1.8));
    p.translate(8, 8);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-7, -2.5, 8, 5), 2.5, 2.5);
    p.drawRoundedRect(QRectF(-1, -2.5, 8, 5), 2.5, 2.5);
}

}

QList<QPixmap> ResearchImages::draw()
{
    return Pixmaps::draw({openBook, closedBook, globe, page, leaf, flask, atom, pencil, calculator, building,
                          speechBubble, note, mapPin, chainLink});
}
