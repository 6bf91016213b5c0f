// Bringing a top-level window back to the pupil from the tray icon.
#include "WindowActivation.h"

#include <QWidget>

void WindowActivation::toggleFromTray(QWidget *window)
{
    if (!window)
        return;
    if (window->isVisible() && !window->isMinimized())
        window->hide();
    else
        bringBack(window);
}

void WindowActivation::bringBack(QWidget *window)
{
    if (!window)
        return;
    // Showing alone is not enough: a window minimised by the window manager
    // keeps its minimised state through hiding and showing, and would be
    // mapped minimised again.
    const Qt::WindowStates state = window->windowState();
    if (state & Qt::WindowMinimized)
        window->setWindowState(state & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
