// The era-date fields of the record table and the form of their stored
// text. The card's date boxes serve all of them; the value boxes of the
// find and filter dialogs those of the standard layout.
#pragma once

#include "components/core/era_date.h"

#include <cstddef>
#include <string_view>

struct EraDateField {
    std::string_view name;     // UTF-8
    std::string_view pattern;  // of the stored text (era_date.h)
    std::size_t bytes;         // the length the field keeps
};

inline constexpr EraDateField kEraDateFields[] = {
    {"登録年月日", kEraDatePattern, kEraDateBytes},
    {"初度登録年月", kEraMonthPattern, kEraMonthBytes},
    {"有効期間の満了する日", kEraDatePattern, kEraDateBytes},
    {"自賠責期間自", kEraDatePattern, kEraDateBytes},
    {"自賠責期間至", kEraDatePattern, kEraDateBytes},
    {"販売年月日", kEraDatePattern, kEraDateBytes},
    {"盗難保険", kEraDatePattern, kEraDateBytes},
    {"年式", kEraYearPattern, kEraYearBytes},
};

// The entry of a field by its UTF-8 name; nullptr for a field that holds no
// era date.
constexpr const EraDateField* findEraDateField(std::string_view utf8Name)
{
    for (const EraDateField& f : kEraDateFields)
        if (f.name == utf8Name)
            return &f;
    return nullptr;
}
