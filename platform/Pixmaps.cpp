// Drawing small pictures at twice their size on a grid of 16 by 16 units.
#include "Pixmaps.h"

#include <QPainter>

const QColor &Pixmaps::Outline()
{
    static const QColor colour(70, 70, 70);
    return colour;
}

QPixmap Pixmaps::draw(Drawing drawing)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(2, 2);
        painter.setPen(QPen(Outline(), 1));
        drawing(painter);
    }
    pixmap.setDevicePixelRatio(2);
    return pixmap;
}

QList<QPixmap> Pixmaps::draw(std::initializer_list<Drawing> drawings)
{
    QList<QPixmap> pixmaps;
    pixmaps.reserve(qsizetype(drawings.size()));
    for (const Drawing drawing : drawings)
        pixmaps.append(draw(drawing));
    return pixmaps;
}
