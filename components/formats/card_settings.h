// Settings of the record card's layout, in the data directory:
//
// WIDTH.INI, the widths of the 18 adjustable columns, a pair of lines per
// setting in this order:
//
//   line    | meaning                                   | default
//   --------+-------------------------------------------+-------------------
//   2n - 1  | label of setting n (written, never read)  | widthLabel(n)
//   2n      | width of setting n in pixels              | the design width
//
//   n = 1..10 自動車登録番号, 登録年月日, 初度登録年月, 自動車の種別, 用途,
//   自家用事業用の別, 型式, 原動機の型式, 自動車型式指定番号, 類別区分番号;
//   n = 11 電話番号; n = 12..18 the extension row, with empty labels.
//   A file may end early: the settings it lacks are not applied.
//
// HEIGHT.INI, the lines of the reading and telephone line:
//
//   line | meaning                           | default
//   -----+-----------------------------------+----------------------------
//   1    | line count as index 0, 1 or 2     | the design heights
//
// TitleColor.INI, in the directory the colour dialog was created in:
//
//   line | meaning                                | default
//   -----+----------------------------------------+---------------------------------------------
//   1    | colour name of the title panels        | "アクティブでないウィンドウのタイトルバーの色"
//   2    | colour name of the sort/filter texts   | "　黒　色" (also when the file ends after 1)
//
// Names are kept byte for byte, also names the colour table lacks.
#pragma once

#include "components/core/cp932.h"
#include "components/formats/settings_file.h"

#include <QString>
#include <array>
#include <optional>

constexpr int kWidthSettingCount = 18;
// Widths are read into [0, kMaxWidth] pixels, the most a screen shows.
constexpr int kMaxWidth = 4000;

// The label line of setting n (from 1), UTF-8.
const char* widthLabel(int setting);

struct WidthSettings {
    // Setting n at index n - 1; none where the file ended before it.
    std::array<std::optional<int>, kWidthSettingCount> widths;
};

WidthSettings widthSettingsFromLines(const LineListFile& file);
// The pairs up to the first setting without a width.
LineListFile widthSettingsLines(const WidthSettings& settings);
std::optional<WidthSettings> readWidthSettings(const QString& dataDir);
void writeWidthSettings(const QString& dataDir, const WidthSettings& settings);

struct HeightSettings {
    int lineCount = 0;  // index of the line-count choice; another number keeps the design heights
};

HeightSettings heightSettingsFromLines(const LineListFile& file);
LineListFile heightSettingsLines(const HeightSettings& settings);
std::optional<HeightSettings> readHeightSettings(const QString& dataDir);
void writeHeightSettings(const QString& dataDir, const HeightSettings& settings);

struct TitleColorSettings {
    SjisString titleColor = sj("アクティブでないウィンドウのタイトルバーの色");
    SjisString indicatorColor = sj("　黒　色");
};

TitleColorSettings titleColorSettingsFromLines(const LineListFile& file);
LineListFile titleColorSettingsLines(const TitleColorSettings& settings);
TitleColorSettings readTitleColorSettings(const QString& dir);
void writeTitleColorSettings(const QString& dir, const TitleColorSettings& settings);
