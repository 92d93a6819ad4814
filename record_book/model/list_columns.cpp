#include "record_book/model/list_columns.h"

#include "components/core/record_fields.h"
#include "components/formats/settings_file.h"

#include <algorithm>

SjisString displayItem(int position)
{
    SjisString number = std::to_string(position);
    if (number.size() < 2)
        number.insert(0, 2 - number.size(), ' ');
    return number + ',' + sj(recordField(position + 1).name);
}

std::vector<SjisString> designDisplayItems()
{
    std::vector<SjisString> items;
    for (int k = 0; k < kStandardFieldCount; ++k)
        items.push_back(displayItem(k));
    return items;
}

int displayItemPosition(const SjisString& item)
{
    return readNumber(item);
}

std::vector<ListColumn> arrangeListColumns(int fieldCount, const std::set<int>& shown,
                                           const std::vector<std::pair<int, int>>& pairs)
{
    std::vector<ListColumn> columns;
    for (int f = 0; f < fieldCount; ++f)
        if (shown.contains(f))
            columns.push_back({f, std::nullopt});
    std::size_t c = 0;
    for (auto [number, width] : pairs) {
        if (c >= columns.size())
            break;
        const int field = number - 1;
        if (!shown.contains(field))
            continue;
        // The columns from c on turn until that field's column is at c.
        auto at = std::find_if(columns.begin() + std::ptrdiff_t(c), columns.end(),
                               [field](const ListColumn& col) { return col.field == field; });
        if (at == columns.end())
            continue;  // placed already, or no column for it
        std::rotate(columns.begin() + std::ptrdiff_t(c), at, columns.end());
        columns[c].width = width;
        ++c;
    }
    return columns;
}
