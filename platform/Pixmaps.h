// Small pictures for trees and lists, drawn in code on a grid of 16 by 16 units.
#pragma once

#include <QColor>
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
};
