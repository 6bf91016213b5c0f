// Bringing a top-level window back to the pupil from the tray icon.
#pragma once

class QWidget;

namespace WindowActivation {

/// A click on the tray icon: a window that is on screen (shown and not
/// minimised) is hidden; a minimised or hidden one is brought back with
/// `bringBack`. A window without a task-bar button has no other way back.
void toggleFromTray(QWidget *window);

/// Shows the window in its normal state (no longer minimised), raises it
/// above the other windows and asks the window system for the keyboard focus.
/// The focus arrives asynchronously, once the window manager has mapped it.
void bringBack(QWidget *window);

}
