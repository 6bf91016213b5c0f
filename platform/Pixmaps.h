// Small pictures: drawn in code for the trees and lists on a grid of 16 by 16 units, and the ready-drawn button pictures and program icon.
#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPixmap>

#include <initializer_list>

class QPainter;

class Pixmaps final
{
public:
    /// Draws one picture on a painter scaled to 16 by 16 units, antialiased,
    /// its pen set to `Outline` with a width of one unit.
    using Drawing = void (*)(QPainter &);

    /// The colour of the outlines.
    static const QColor &Outline();

    /// One picture, drawn at twice its size and marked so, which keeps it sharp
    /// on dense screens; transparent where nothing is drawn.
    static QPixmap draw(Drawing drawing);
    /// The pictures in the order of the drawings.
    static QList<QPixmap> draw(std::initializer_list<Drawing> drawings);

    /// The button picture `name` of the program's resources in 16, 24, 32 and
    /// 48 pixels. The pictures are stored ready-drawn, and one is decoded only
    /// when its size is painted, which keeps them out of the start-up time.
    static QIcon buttonIcon(const QString &name);
    /// The program's own icon, in the sizes from 16 to 256 pixels.
    static QIcon programIcon();
};
