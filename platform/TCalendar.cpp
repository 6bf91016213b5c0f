// The month grid.
#include "TCalendar.h"

#include "Clock.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
// Sunday first, as Qt's day of the week modulo 7 counts them.
const std::array<const char16_t *, 7> kShortWeekdayNames = {u"So", u"Mo", u"Di", u"Mi", u"Do", u"Fr", u"Sa"};

// The date, with a day the month lacks replaced by the month's last day.
QDate validDate(int year, int month, int day)
{
    return QDate(year, month, std::min(day, QDate(year, month, 1).daysInMonth()));
}
}

TCalendar::TCalendar(QWidget *parent)
    : QWidget(parent)
    , m_date(Clock::today())
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Monatskalender"));
    setAccessibleDescription(QStringLiteral("Die Tage des Monats; die Pfeiltasten wählen einen Tag"));
}

void TCalendar::setYear(int year)
{
    if (year < 1 || year == m_date.year())
        return;
    hold(validDate(year, m_date.month(), m_date.day()));
}

void TCalendar::setMonth(int month)
{
    if (month < 1 || month > 12 || month == m_date.month())
        return;
    hold(validDate(m_date.year(), month, m_date.day()));
}

void TCalendar::setDay(int day)
{
    if (day < 1 || day > m_date.daysInMonth() || day == m_date.day())
        return;
    hold(QDate(m_date.year(), m_date.month(), day));
}

void TCalendar::setDate(QDate date)
{
    if (date.isValid())
        hold(date);
}

void TCalendar::previousMonth()
{
    if (m_date.month() == 1)
        hold(validDate(m_date.year() - 1, 12, m_date.day()));
    else
        hold(validDate(m_date.year(), m_date.month() - 1, m_date.day()));
}

void TCalendar::nextMonth()
{
    if (m_date.month() == 12)
        hold(validDate(m_date.year() + 1, 1, m_date.day()));
    else
        hold(validDate(m_date.year(), m_date.month() + 1, m_date.day()));
}

void TCalendar::jumpToToday()
{
    hold(Clock::today());
}

void TCalendar::setMondayFirst(bool mondayFirst)
{
    if (m_mondayFirst == mondayFirst)
        return;
    m_mondayFirst = mondayFirst;
    update();
}

QString TCalendar::cellText(int column, int row) const
{
    if (column < 0 || column >= Columns || row < 0 || row >= Rows)
        return QString();
    if (row == 0)
        return QString::fromUtf16(kShortWeekdayNames[(column + (m_mondayFirst ? 1 : 0)) % 7]);
    const int day = dayAt(column, row);
    return day > 0 ? QString::number(day) : QString();
}

QRect TCalendar::cellRect(int column, int row) const
{
    // Spread the widget's pixels over the cells so that the grid fills it exactly.
    const int left = column * width() / Columns;
    const int right = (column + 1) * width() / Columns;
    const int top = row * height() / Rows;
    const int bottom = (row + 1) * height() / Rows;
    return QRect(left, top, right - left, bottom - top);
}

QPoint TCalendar::selectedCell() const
{
    const int index = firstDayColumn() + m_date.day() - 1;
    return QPoint(index % Columns, 1 + index / Columns);
}

void TCalendar::clickCell(int column, int row)
{
    if (column < 0 || column >= Columns || row < 1 || row >= Rows)
        return;
    if (const int day = dayAt(column, row); day > 0)
        setDay(day);
}

QSize TCalendar::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(Columns * (metrics.horizontalAdvance(QStringLiteral("00")) + 14), Rows * (metrics.height() + 6));
}

QSize TCalendar::minimumSizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(Columns * (metrics.horizontalAdvance(QStringLiteral("00")) + 4), Rows * (metrics.height() + 2));
}

void TCalendar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    painter.fillRect(rect(), colours.base());

    QFont headerFont = font();
    headerFont.setBold(true);
    const QPoint selected = selectedCell();
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            const QRect cell = cellRect(column, row);
            const QString text = cellText(column, row);
            if (row == 0) {
                painter.fillRect(cell, colours.button());
                painter.setFont(headerFont);
                painter.setPen(colours.color(QPalette::ButtonText));
            } else if (QPoint(column, row) == selected) {
                painter.fillRect(cell, colours.highlight());
                painter.setFont(font());
                painter.setPen(colours.color(QPalette::HighlightedText));
            } else {
                painter.setFont(font());
                painter.setPen(colours.color(QPalette::Text));
            }
            painter.drawText(cell, Qt::AlignCenter, text);
        }
    }

    // Thin lines between the cells and round the grid.
    painter.setPen(colours.color(QPalette::Mid));
    for (int column = 1; column < Columns; ++column) {
        const int x = cellRect(column, 0).left();
        painter.drawLine(x, 0, x, height() - 1);
    }
    for (int row = 1; row < Rows; ++row) {
        const int y = cellRect(0, row).top();
        painter.drawLine(0, y, width() - 1, y);
    }
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Text), 1, Qt::DotLine));
        painter.drawRect(cellRect(selected.x(), selected.y()).adjusted(1, 1, -2, -2));
    }
}

void TCalendar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    clickCell(cell.x(), cell.y());
}

void TCalendar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    clickCell(cell.x(), cell.y());
    Q_EMIT doubleClicked();
}

int TCalendar::firstDayColumn() const
{
    const int dayOfWeek = QDate(m_date.year(), m_date.month(), 1).dayOfWeek(); // Monday 1 .. Sunday 7
    return m_mondayFirst ? dayOfWeek - 1 : dayOfWeek % 7;
}

int TCalendar::dayAt(int column, int row) const
{
    const int day = (row - 1) * Columns + column - firstDayColumn() + 1;
    return day >= 1 && day <= m_date.daysInMonth() ? day : 0;
}

QPoint TCalendar::cellAt(QPoint position) const
{
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            if (cellRect(column, row).contains(position))
                return QPoint(column, row);
        }
    }
    return QPoint(-1, -1);
}

void TCalendar::hold(QDate date)
{
    if (date == m_date)
        return;
    m_date = date;
    update();
    Q_EMIT changed();
}
