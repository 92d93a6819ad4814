// Display widths of grid columns as the settings files keep them: counted in
// characters of the grid's font, a character being as wide as "0".
#pragma once

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

class ColumnWidth {
public:
    // `padding`: the pixels a column takes besides its characters.
    explicit ColumnWidth(const QFontMetrics& metrics, int padding = 0)
        : unit_(std::max(1, metrics.horizontalAdvance(QLatin1Char('0')))), padding_(padding)
    {
    }

    // The pixels of one character.
    int unit() const { return unit_; }

    int pixels(int characters) const { return characters * unit_ + padding_; }

    // The whole characters that fit in `pixels`; never fewer than none.
    int charactersIn(int pixels) const { return std::max(0, (pixels - padding_) / unit_); }

    // The count of characters nearest to `pixels`.
    int nearestCharacters(int pixels) const { return int(std::lround(double(pixels - padding_) / unit_)); }

private:
    int unit_;
    int padding_;
};
