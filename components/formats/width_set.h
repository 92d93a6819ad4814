// A width set: one row of INDTLEN. It says how many CP932 bytes each
// standard record field takes in a fixed-width output (0: the field is left
// out), whether a backup adds a postal-code column, and the widths of the
// list print's two computed columns.
#pragma once

#include "components/core/cp932.h"
#include "components/core/record_fields.h"
#include "components/formats/settings_file.h"

#include <array>
#include <vector>

class Table;

struct WidthSet {
    SjisString name;                                // データ用途
    std::array<int, kStandardFieldCount> widths{};  // fields 1..47
    int postalMode = 0;                             // 郵便番号: 0 = no postal-code column
    int weightWidth = 0;                            // 車両重量又は総重量
    int useAndWeightWidth = 0;                      // 用途及び重量

    // A name holding "住所録" makes the set an address-book export.
    bool isAddressBook() const { return sjis::findCharacters(name, sj("住所録")) != std::string::npos; }
};

// The current row of a width-set table (INDTLEN). A blank whole-number
// field reads as 0.
WidthSet widthSetOf(const Table& table);

// The width-set chooser's grid column widths as its settings file keeps
// them: one line per grid column in grid order, the display width in
// characters; a missing line reads as 0 (the column's default width).
std::vector<int> chooserColumnWidthsFromLines(const LineListFile& file, std::size_t columns);
LineListFile chooserColumnWidthsLines(const std::vector<int>& widths);
