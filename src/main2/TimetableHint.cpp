// The hint over the empty timetable grid that tells how to enter a timetable.
#include "TimetableHint.h"

#include "appearance/ThemeColours.h"

#include <QEvent>
#include <QTableWidget>

namespace {
constexpr int kInset = 2;
constexpr int kLastLesson = 10;
}

TimetableHint::TimetableHint(QTableWidget *grid)
    : QLabel(grid->viewport())
    , m_grid(grid)
{
    setObjectName(QStringLiteral("FirstRunHint"));
    setText(QStringLiteral("Noch kein Stundenplan eingetragen.\n\n"
                           "Unten „Optionsbox“ öffnen, „Editmode“ einschalten, die Fächer eintragen "
                           "(rechte Maustaste: Fächerliste) und „Editmode“ wieder ausschalten: "
                           "Der Plan ist gespeichert."));
    setToolTip(QStringLiteral("Verschwindet, sobald ein Stundenplan gespeichert ist."));
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(5);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    ThemeColours::follow(this, [this] {
        using C = ThemeColours::Colour;
        setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %3; }")
                          .arg(ThemeColours::of(C::HintBackground).name(), ThemeColours::of(C::HintText).name(),
                               ThemeColours::of(C::HintBorder).name()));
    });
    place();
}

void TimetableHint::place()
{
    const int left = m_grid->columnViewportPosition(1) + 2 * kInset;
    const int width = m_grid->columnWidth(1) - 4 * kInset;
    const int bottom = m_grid->rowViewportPosition(kLastLesson) + m_grid->rowHeight(kLastLesson) - kInset;
    const int highest = m_grid->rowViewportPosition(1) + kInset;
    const int preferred = m_grid->rowViewportPosition(2) + kInset;
    ensurePolished();
    const int top = qBound(highest, bottom - heightForWidth(width), preferred);
    setGeometry(left, top, width, bottom - top);
}

bool TimetableHint::event(QEvent *event)
{
    const bool handled = QLabel::event(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        place();
    return handled;
}
