// The colour names the title-colour dialog offers, in their fixed order,
// and the colour each one stands for.
#pragma once

#include "components/core/cp932.h"
#include "platform/color_value.h"

#include <array>
#include <string_view>

struct ColorName {
    const char* name;  // UTF-8
    TColor color;
};

extern const std::array<ColorName, 42> kColorNames;

// The colour of a name (CP932 bytes), compared byte for byte with the
// table; 0 for a name the table lacks, the empty name included.
TColor ColorNameToColor(std::string_view name);
