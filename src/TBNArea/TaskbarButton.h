// Keeps a window off the task bar: the tray icon is the program's only presence there.
#pragma once

class QWindow;

class TaskbarButton final
{
public:
    /// Asks the window system not to show a task-bar button for the window.
    /// On X11 this is the state hint _NET_WM_STATE_SKIP_TASKBAR, which the
    /// window manager reads when the window is mapped and drops again when it
    /// is withdrawn, so it is set again before every showing. Qt has no flag of
    /// its own for it (Qt::Tool would also make a small utility window). Other
    /// window systems without such a hint (Wayland) keep the button.
    static void hide(QWindow *window);
};
