// Colours as the settings know them: an RGB colour or one of the desktop's
// own colours, named by the index the Windows colour scheme gave it. A
// system colour is looked up in the application's palette each time it is
// turned into a QColor, so it follows the user's colour scheme.
#pragma once

#include "platform/color_value.h"

#include <QColor>
#include <QPalette>

// The palette's colour for a system colour index (1 to 24); an index
// without a counterpart gives the window colour.
QColor systemColor(int index, const QPalette& palette);

// The colour to draw with, system colours taken from `palette`.
QColor toQColor(TColor c, const QPalette& palette);
