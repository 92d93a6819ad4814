// The list window's columns: which fields Dsplay.INI shows, and the order
// and widths DsplayLen.INI gives them.
#pragma once

#include "components/core/cp932.h"

#include <optional>
#include <set>
#include <utility>
#include <vector>

// An item of the display-settings lists: the field's position in the record
// table (from 0) right-aligned in two characters, a comma and its name, as
// " 0,使用者ふりがな".
SjisString displayItem(int position);
// The items of the standard layout's 47 fields, in field order.
std::vector<SjisString> designDisplayItems();
// The position an item names: its number before the comma.
int displayItemPosition(const SjisString& item);

struct ListColumn {
    int field;                 // position in the record table, from 0
    std::optional<int> width;  // none: the grid's default width
};

// The grid's columns, left to right, for a table of `fieldCount` fields of
// which `shown` are shown, arranged by the (field number from 1, width)
// pairs of DsplayLen.INI: the fields the pairs name come first, in their
// order and with their widths; the other shown fields follow. A pair that
// names a field not shown, or one already placed, is skipped.
std::vector<ListColumn> arrangeListColumns(int fieldCount, const std::set<int>& shown,
                                           const std::vector<std::pair<int, int>>& pairs);
