// The small pictures of the grade tree, drawn in code.
#pragma once

#include <QList>
#include <QPixmap>

class GradeImages final
{
public:
    /// The pictures addressed by the node image numbers, from 0: a grade
    /// sheet (nodes read from the grade file), a binder (nodes built from the
    /// timetable), a star (kept free), a sheet with a red tick (grades added
    /// in the editor).
    static QList<QPixmap> draw();
};
