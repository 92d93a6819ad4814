// Settings of the grids: the list window's fields and columns, and the
// column widths of the specification editor. Each lies in the directory its
// window was created in (the data directory).
//
// Dsplay.INI, the fields of the list window, as items " 0,使用者ふりがな":
// the field's position from 0 right-aligned in two characters, a comma and
// its name (only the number counts):
//
//   line            | meaning                                  | default
//   ----------------+------------------------------------------+-----------------------
//   1 .. a          | items of the fields not shown            | every field shown,
//   a + 1           | empty line                               | in field order
//   a + 2 .. b      | items of the fields shown                |
//   b + 1           | empty line (the end of the file counts)  |
//
// DsplayLen.INI, the list window's columns from left to right, and
// FormListLen.INI, the specification editor's columns in grid order (the
// converter writes a file of this name in another layout):
//
//   line  | meaning                                        | default
//   ------+------------------------------------------------+-------------------
//   2n-1  | field number of column n, from 1               | the grid's order
//   2n    | its display width in characters (a last line  | the grid's widths
//         | without a partner pairs with 0)                |
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

// left: the fields not shown; right: the fields shown.
using DisplaySettings = ChooserLists;

std::optional<DisplaySettings> readDisplaySettings(const QString& dir);
void writeDisplaySettings(const QString& dir, const DisplaySettings& settings);

// Read into range: at most kMaxGridColumns pairs, field numbers in
// [0, kMaxGridColumns], widths in [0, kMaxColumnChars] characters.
constexpr int kMaxGridColumns = 256;
constexpr int kMaxColumnChars = 500;

struct ColumnWidths {
    std::vector<std::pair<int, int>> columns;  // (field number from 1, width)
};

ColumnWidths columnWidthsFromLines(const LineListFile& file);
LineListFile columnWidthsLines(const ColumnWidths& widths);
ColumnWidths readListColumnWidths(const QString& dir);  // DsplayLen.INI
void writeListColumnWidths(const QString& dir, const ColumnWidths& widths);
ColumnWidths readSpecColumnWidths(const QString& dir);  // FormListLen.INI
void writeSpecColumnWidths(const QString& dir, const ColumnWidths& widths);
