// The month grid: one held date, shown as its month with a weekday header row.
#pragma once

#include <QDate>
#include <QWidget>

/// A 7 x 7 grid: row 0 holds the short German weekday names, rows 1 to 6 the
/// day numbers of the held date's month, day 1 in row 1 under its weekday.
/// The first column is Sunday, or Monday when asked for. The held date is
/// always a valid date; its cell is the selected one.
class TCalendar final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Columns = 7;
    static constexpr int Rows = 7;

    explicit TCalendar(QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    int year() const { return m_date.year(); }
    int month() const { return m_date.month(); }
    int day() const { return m_date.day(); }

    /// The element setters: a value below 1 is ignored, so is a month above 12
    /// and a day beyond the length of the month held; an equal value changes
    /// nothing. Otherwise only that element changes, except that a day the new
    /// month or year lacks (31 in April, 29 February) becomes its last day.
    void setYear(int year);
    void setMonth(int month);
    void setDay(int day);
    /// Holds `date` as a whole; an invalid date is ignored.
    void setDate(QDate date);
    /// One month back or forward, across the year boundary; the day stays
    /// unless the target month lacks it, then it is that month's last day.
    void previousMonth();
    void nextMonth();
    /// Holds today's date.
    void jumpToToday();

    bool mondayFirst() const { return m_mondayFirst; }
    void setMondayFirst(bool mondayFirst);

    /// The text of a cell: a weekday name, a day number, or empty.
    QString cellText(int column, int row) const;
    QRect cellRect(int column, int row) const;
    /// The (column, row) of the held date's cell.
    QPoint selectedCell() const;
    /// A click on a cell: a day number selects that day; a header cell or an
    /// empty cell changes nothing.
    void clickCell(int column, int row);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// The held date changed, by a click, a month step or a setter.
    void changed();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    /// The column of day 1 of the held month.
    int firstDayColumn() const;
    /// The day a cell shows, 0 when it shows none.
    int dayAt(int column, int row) const;
    /// The cell under a point, (-1, -1) outside the grid.
    QPoint cellAt(QPoint position) const;
    void hold(QDate date);

    QDate m_date;
    bool m_mondayFirst = false;
};
