// The band "Demnächst": placed below the main window's own layout, which keeps its fixed size above it.
#include "SchoolCalendarBand.h"

#include "platform/Clock.h"

#include <QLayout>

namespace {
constexpr int kBandHeight = 24;
constexpr int kMargin = 12;
constexpr int kGap = 6;
}

SchoolCalendarBand::SchoolCalendarBand(QWidget *window)
    : QPushButton(window)
    , m_window(window)
    , m_windowHeight(window->height())
    , m_bottomMargin(window->layout() ? window->layout()->contentsMargins().bottom() : kMargin)
{
    setObjectName(QStringLiteral("SchoolCalendarBand"));
    setFlat(true);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Die Termine der Schule in den nächsten 14 Tagen; klicken für die nächsten 8 Wochen (Alt+D)"));
    setShortcut(QKeySequence(Qt::ALT | Qt::Key_D));
    hide();
}

QString SchoolCalendarBand::bandText(const QList<SchoolDate> &dates, QDate today)
{
    QStringList parts;
    const QDate last = today.addDays(DaysShown - 1);
    for (const SchoolDate &date : dates) {
        if (date.lastDay() < today || date.firstDay() > last)
            continue;
        const QDate day = qMax(date.firstDay(), today);
        parts.append(SchoolDates::shortDay(day) + u' ' + SchoolDates::title(date));
    }
    return parts.join(QStringLiteral(" · "));
}

void SchoolCalendarBand::showDates(const QList<SchoolDate> &dates)
{
    const QString text = bandText(dates, Clock::today());
    const QString full = QStringLiteral("Demnächst:  ") + text;
    setText(fontMetrics().elidedText(full, Qt::ElideRight, m_window->width() - 2 * kMargin - 16));
    if (!text.isEmpty())
        setToolTip(full);
    place(!text.isEmpty());
}

void SchoolCalendarBand::place(bool visible)
{
    // The window's layout gets the band's height as margin, so its controls keep their places and sizes.
    const int extra = visible ? kBandHeight + kGap : 0;
    if (QLayout *layout = m_window->layout()) {
        QMargins margins = layout->contentsMargins();
        margins.setBottom(m_bottomMargin + extra);
        layout->setContentsMargins(margins);
    }
    m_window->setFixedHeight(m_windowHeight + extra);
    if (visible) {
        // Styled at its first showing only: a style sheet costs time, and the band is built before the first frame.
        if (styleSheet().isEmpty())
            setStyleSheet(QStringLiteral("QPushButton#SchoolCalendarBand { text-align: left; padding: 2px 6px; "
                                         "background: #fff6d5; border: 1px solid #e0c870; border-radius: 3px; }"));
        setGeometry(kMargin, m_windowHeight - m_bottomMargin + kGap, m_window->width() - 2 * kMargin, kBandHeight);
        show();
        raise();
    } else {
        hide();
    }
}
