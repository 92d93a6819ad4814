// Handlers on widget events that Qt delivers as virtual functions only
// (click, double-click, enter, key down), so forms can bind them by name
// like signals. Events of an editable combo box or a text edit reach their
// inner editor and viewport; those are watched too. Handlers run through
// the error guard.
#pragma once

#include <QEvent>
#include <functional>

class QFocusEvent;
class QKeyEvent;
class QWidget;

void onEvent(QWidget* w, QEvent::Type type, std::function<void()> handler);
void onClick(QWidget* w, std::function<void()> handler);
void onDoubleClick(QWidget* w, std::function<void()> handler);
void onEnter(QWidget* w, std::function<void()> handler);  // takes the focus
// Gives the focus to another control of its window (a popup opening or a
// switch to another window is no leave).
void onExit(QWidget* w, std::function<void()> handler);
// The rule of onExit: a focus loss leaves the control unless a popup (a
// combo box's list, a menu) opened or the user switched windows.
bool leavesControl(const QFocusEvent* event);
void onKeyDown(QWidget* w, std::function<void(QKeyEvent*)> handler);
