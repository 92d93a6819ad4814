// The font dialog: Qt's font dialog ("FontDialog1"), shown through
// showModal, with a button "ColorButton" for the text colour that opens
// the colour dialog ("ColorDialog1").
#pragma once

#include <QColor>
#include <QFont>

class QWidget;

// Opens on `font` and `color`; when the dialog is accepted, they hold the
// choice and the result is true.
bool chooseFont(QFont& font, QColor& color, QWidget* parent = nullptr);
