// The input box: a caption, a prompt, one line of text and the buttons OK
// and キャンセル. It is a dialog named "InputQueryDlg" (its edit "Edit")
// shown through showModal, so tests answer it from a ScriptedDialogs script.
#pragma once

#include <QString>

class QWidget;

// True on OK, with `value` set to the text typed; on Cancel (or the close
// box) false, and `value` stays. The edit starts with `value`.
bool inputQuery(const QString& caption, const QString& prompt, QString& value, QWidget* parent = nullptr);
