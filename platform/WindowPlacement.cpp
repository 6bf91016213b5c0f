// Where a window opens on the screen.
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void WindowPlacement::centreOver(QWidget *window, const QWidget *anchor)
{
    if (window->isVisible())
        return;
    const bool anchored = anchor && anchor->isVisible();
    QScreen *screen = anchored ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QPoint centre = anchored ? anchor->frameGeometry().center() : area.center();
    // Before its first showing a window not resized yet takes its size hint,
    // and its frame is not known: the main window's frame stands in for it.
    QSize size = window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    const QWidget *framed = anchored ? anchor : window;
    size += framed->frameGeometry().size() - framed->size();
    QPoint topLeft = centre - QPoint(size.width() / 2, size.height() / 2);
    topLeft.setX(qBound(area.left(), topLeft.x(), qMax(area.left(), area.right() + 1 - size.width())));
    topLeft.setY(qBound(area.top(), topLeft.y(), qMax(area.top(), area.bottom() + 1 - size.height())));
    window->move(topLeft);
}
