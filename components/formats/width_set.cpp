#include "components/formats/width_set.h"

#include "components/core/sql_condition.h"
#include "components/core/table.h"
#include "components/formats/list_settings.h"

#include <algorithm>
#include <climits>

namespace {

SjisString valueOf(const Table& table, const char* utf8Name)
{
    const int index = table.FieldIndex(utf8Name);
    return index < 0 ? SjisString() : table.value(index);
}

// Blank, missing or no whole number: 0.
int wholeNumber(const Table& table, const char* utf8Name)
{
    const std::optional<long long> n = parseWholeNumber(valueOf(table, utf8Name));
    return n ? int(std::clamp<long long>(*n, INT_MIN, INT_MAX)) : 0;
}

}  // namespace

WidthSet widthSetOf(const Table& table)
{
    WidthSet set;
    set.name = valueOf(table, "データ用途");
    for (int no = 1; no <= kStandardFieldCount; ++no)
        set.widths[std::size_t(no - 1)] = wholeNumber(table, recordField(no).name);
    set.postalMode = wholeNumber(table, "郵便番号");
    set.weightWidth = wholeNumber(table, "車両重量又は総重量");
    set.useAndWeightWidth = wholeNumber(table, "用途及び重量");
    return set;
}

std::vector<int> chooserColumnWidthsFromLines(const LineListFile& file, std::size_t columns)
{
    std::vector<int> widths;
    for (std::size_t i = 0; i < columns; ++i)
        widths.push_back(file.number(i, 0, kMaxColumnChars));
    return widths;
}

LineListFile chooserColumnWidthsLines(const std::vector<int>& widths)
{
    LineListFile file;
    for (int w : widths)
        file.append(w);
    return file;
}
