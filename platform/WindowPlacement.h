// Where a window opens on the screen.
#pragma once

class QWidget;

namespace WindowPlacement {

/// Moves a window that is about to be shown so that it stands centred over
/// `anchor` (over its screen's centre when the anchor is hidden), kept inside
/// the available area of that screen. A window already on screen stays where
/// the pupil put it.
void centreOver(QWidget *window, const QWidget *anchor);

}
