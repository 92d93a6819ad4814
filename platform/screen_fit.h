// Windows that fit the screen: a window larger than the screen's area for
// windows shrinks to it, and one that reaches past an edge (a place saved
// on a larger screen, or off it) moves back inside.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The client rectangle of a window that fits `available` with the window
// manager's `frame` around it; a window that fits keeps its place and size.
QRect fitOnScreen(const QRect& window, const QMargins& frame, const QRect& available);

// Fits a top-level window to the screen it is on (the primary screen when
// it is on none), taking its frame as the window manager draws it, or a
// usual title bar and border before the window has been decorated.
void fitToScreen(QWidget* window);

// Fits the window to the screen each time it is shown.
void keepOnScreen(QWidget* window);
