// Random record values for the backup round trips: multi-byte text (with
// 0x5C as a trail byte), blanks at both ends, several lines, empty values
// and whole numbers; never a ",". The two code fields are full width, as
// the save hooks leave them.
#pragma once

#include "components/core/cp932.h"
#include "components/core/record_fields.h"

#include <random>
#include <string>
#include <vector>

class RandomValues {
public:
    explicit RandomValues(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    SjisString text()
    {
        static const std::vector<SjisString> pieces = {
            sj("やまだ"), sj("山田"), sj("表示"), sj("ソフト"), "ABC", sj("１２３"), sj("ｱｲｳ"), " ",
            sj("　"),     "-",        "\"",      "1",          sj("東京都港区"), "\\", "x.y"};
        SjisString out;
        for (int n = below(5); n > 0; --n)
            out += pieces[std::size_t(below(int(pieces.size())))];
        return out;
    }

    SjisString lines()
    {
        SjisString out = text();
        for (int n = below(3); n > 0; --n)
            out += "\r\n" + text();
        return out;
    }

    SjisString code()
    {
        static const std::vector<SjisString> pieces = {sj("１２３"), sj("ＡＢ"), sj("４５")};
        SjisString out;
        for (int n = below(3); n > 0; --n)
            out += pieces[std::size_t(below(int(pieces.size())))];
        return out;
    }

    SjisString wholeNumber()
    {
        static const std::vector<SjisString> numbers = {"", "0", "12", "-3", "2000"};
        return numbers[std::size_t(below(int(numbers.size())))];
    }

    // The 56 values of a record; `serial` in the registration number keeps
    // the keys of the records of one run apart.
    std::vector<SjisString> record(int serial)
    {
        std::vector<SjisString> values;
        for (int no = 1; no <= kExtendedFieldCount; ++no) {
            if (no == 11 || no == 12)
                values.push_back(code());
            else if (recordField(no).wholeNumber)
                values.push_back(wholeNumber());
            else if (no == 42 || no == 56)
                values.push_back(lines());
            else
                values.push_back(text());
        }
        values[4] += std::to_string(serial);
        return values;
    }

private:
    std::mt19937 rng_;
};
