// Colours as the settings know them: an RGB colour or one of the desktop's
// own colours, named by the index the Windows colour scheme gave it. A
// system colour is looked up in the application's palette each time it is
// turned into a QColor, so it follows the user's colour scheme.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// red + green·256 + blue·65536, or 0xFF000000 + index for a system colour.
// Black and "no colour" are the same value, 0.
using TColor = std::uint32_t;

constexpr TColor rgbColor(int red, int green, int blue)
{
    return TColor(red) | TColor(green) << 8 | TColor(blue) << 16;
}
constexpr TColor systemColorValue(int index) { return 0xFF000000u | TColor(index); }
constexpr bool isSystemColor(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }

// System colour indexes the program names.
inline constexpr int kColorInactiveCaption = 3;
inline constexpr int kColorWindowText = 8;

// The palette's colour for a system colour index (1 to 24); an index
// without a counterpart gives the window colour.
QColor systemColor(int index, const QPalette& palette);

// The colour to draw with, system colours taken from `palette`.
QColor toQColor(TColor c, const QPalette& palette);
