// Colours as the settings files hold them: a plain number, so that files
// and pure rules can carry colours without the graphics library.
#pragma once

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
