// Settings of the printed lists, in the data directory.
//
// The font block: six lines that name a print font, shared by Print.INI
// (the list print) and Expense.INI (the cost estimate):
//
//   line | meaning                                                | default
//   -----+--------------------------------------------------------+-------------
//   1    | character set, decimal (128: Shift JIS)                | 128
//   2    | colour, decimal: red + green·256 + blue·65536, or a    | window text
//        | negative number for a system colour (its low byte is  |
//        | the index)                                             |
//   3    | the font's handle when it was saved; kept, never used  | 0
//   4    | height, decimal: negative, the character height in     | -12
//        | screen pixels (96 per inch)                            |
//   5    | face name                                              | "ＭＳ 明朝"
//   6    | size in points, decimal; wins over the height when     | 9
//        | above 0                                                |
//
// Print.INI, the list print's settings:
//
//   line      | meaning                                              | default
//   ----------+------------------------------------------------------+----------------
//   1 .. 6    | the font block (lines 1 and 3 are written, not used) |
//   7         | record scope: 0 the current record, 1 every record   | 1
//   8         | output method: 0 the chosen columns as text,         | 0
//             | 1 the window's image                                 |
//   9         | records per print job (text as typed)                | "5"
//   10        | length of the separator line in "－" (text)          | "40"
//   11 .. a   | columns not printed, then an empty line              | the design list
//   a+1 .. b  | columns printed, in order, then an empty line        | none
//
// PrintPat.INI, the title and date lines: five lines of text, read as
// numbers where they are numbers.
//
//   line | meaning
//   -----+--------------------------------------------------------------
//   1    | title text
//   2    | title position: blanks in front of the title
//   3    | title size in points; 0 (or no title) prints no title line
//   4    | date position: blanks in front of the date
//   5    | date size in points; 0 prints no date line
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"
#include "platform/color_value.h"

#include <QString>
#include <optional>
#include <vector>

inline constexpr int kShiftJisCharset = 128;
// Screen pixels per inch, the unit of a font block's height.
inline constexpr int kScreenDpi = 96;
// The largest print font a page holds (the text printer's largest size),
// and the same as a font block's height.
inline constexpr int kMaxFontPoints = 500;
inline constexpr int kMaxFontHeight = (kMaxFontPoints * kScreenDpi + 36) / 72;

struct FontBlock {
    int charset = kShiftJisCharset;
    TColor color = systemColorValue(kColorWindowText);
    int handle = 0;
    int height = -12;
    SjisString name = sj("ＭＳ 明朝");
    int size = 9;

    // The size in points: `size` when above 0, else the height's.
    int pointSize() const;
    bool operator==(const FontBlock&) const = default;
};

// The six lines from line `start` (from 0) on; a missing line reads as an
// empty one, and an empty face name keeps the default's. The height and
// size are brought within kMaxFontHeight and kMaxFontPoints (a size below
// 1 reads as 0: the height's size).
FontBlock fontBlockFromLines(const LineListFile& file, std::size_t start = 0, const FontBlock& defaults = {});
void appendFontBlock(LineListFile& file, const FontBlock& font);

// A colour as the font block writes it, and back.
int colorNumber(TColor color);
TColor colorOfNumber(int number);

// The column names the list print offers: the 47 standard record fields in
// field order, then the two computed columns.
std::vector<SjisString> designListColumns();

struct ListPrintSettings {
    FontBlock font;
    int scope = 1;
    int method = 0;
    SjisString perJob = "5";
    SjisString separatorLength = "40";
    ChooserLists columns{designListColumns(), {}};  // left: not printed; right: printed
};

ListPrintSettings listPrintSettingsFromLines(const LineListFile& file);
LineListFile listPrintSettingsLines(const ListPrintSettings& settings);
std::optional<ListPrintSettings> readListPrintSettings(const QString& dir);
void writeListPrintSettings(const QString& dir, const ListPrintSettings& settings);

struct ListTitleSettings {
    SjisString title, titlePosition, titleSize, datePosition, dateSize;
    bool operator==(const ListTitleSettings&) const = default;
};

ListTitleSettings listTitleSettingsFromLines(const LineListFile& file);
LineListFile listTitleSettingsLines(const ListTitleSettings& settings);
std::optional<ListTitleSettings> readListTitleSettings(const QString& dir);
void writeListTitleSettings(const QString& dir, const ListTitleSettings& settings);
