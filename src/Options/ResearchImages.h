// The small pictures of the research tree, drawn in code.
#pragma once

#include <QList>
#include <QPixmap>

class ResearchImages final
{
public:
    /// The pictures addressed by the catalogue's image numbers, from 0: open
    /// book (selected subject), closed book, globe (data set title), page,
    /// leaf, flask, atom, pencil, calculator, pillared building, speech
    /// bubble, note, map pin, link.
    static QList<QPixmap> draw();
};
