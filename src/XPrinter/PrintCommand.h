// One call of a print job: what a printout layout asks for and what the printing component records.
#pragma once

#include <QPoint>
#include <QString>

struct PrintCommand
{
    enum class Kind {
        BeginJob, // text: the job title
        EndJob,
        NewPage,
        Pen,      // text: the pen colour; the text background is transparent
        FontSize, // size: in points
        Text,     // from: top left corner of the text
        Line,     // from, to: the two ends
    };

    Kind kind = Kind::Text;
    QPoint from;
    QPoint to;
    int size = 0;
    QString text;

    static PrintCommand fontSize(int points) { return {Kind::FontSize, {}, {}, points, {}}; }
    static PrintCommand textOut(int x, int y, const QString &text) { return {Kind::Text, {x, y}, {}, 0, text}; }
    static PrintCommand line(int x1, int y1, int x2, int y2) { return {Kind::Line, {x1, y1}, {x2, y2}, 0, {}}; }
    static PrintCommand newPage() { return {Kind::NewPage, {}, {}, 0, {}}; }

    bool operator==(const PrintCommand &) const = default;
};
