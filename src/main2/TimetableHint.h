// The hint over the empty timetable grid that tells how to enter a timetable.
#pragma once

#include <QLabel>

class QTableWidget;

/// A label over the lesson column of a timetable grid, letting clicks
/// through. It stands at the bottom of the column and grows upwards as far
/// as its text needs, from lesson 2 up to lesson 1, whatever the font.
class TimetableHint final : public QLabel
{
public:
    explicit TimetableHint(QTableWidget *grid);

    /// Fits the hint into the lesson column again.
    void place();

protected:
    bool event(QEvent *event) override;

private:
    QTableWidget *m_grid;
};
