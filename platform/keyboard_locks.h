// The keyboard locks the programs switch: Caps Lock on at start and off at
// close. The program must not change the keyboard of the whole desktop, so
// Caps Lock is emulated for the program's own typing only: while it is on,
// an application-wide key filter swaps the case of the ASCII letters a key
// types (a-z become A-Z, and with Shift, A-Z become a-z), in every key press
// and release that reaches a widget without Ctrl, Alt or Meta held, except
// in file and print dialogs, whose file names are case-sensitive here. Text
// composed by an input method (QInputMethodEvent) is left as it is, and so
// is the real Caps Lock of the keyboard.
#pragma once

// Needs a QApplication; before one exists only the state is kept, and the
// filter is put in place by the first call made with an application.
void setCapsLock(bool on);
bool capsLock();

// The kana lock has no Linux counterpart (kana input is the input method's
// own mode): the keyboard is left alone and only the state asked for is
// kept.
void setKanaLock(bool on);
bool kanaLock();
