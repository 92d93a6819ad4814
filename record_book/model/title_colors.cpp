#include "record_book/model/title_colors.h"

#include <mutex>
#include <vector>

const std::array<ColorName, 42> kColorNames = {{
    {"　空　色", rgbColor(0, 255, 255)},
    {"　黒　色", rgbColor(0, 0, 0)},
    {"　青　色", rgbColor(0, 0, 255)},
    {"　灰色（暗）", rgbColor(128, 128, 128)},
    {"　赤紫色", rgbColor(255, 0, 255)},
    {"　灰　色", rgbColor(128, 128, 128)},
    {"　緑　色", rgbColor(0, 128, 0)},
    {"　淡緑色", rgbColor(0, 255, 0)},
    {"　灰色（明）", rgbColor(192, 192, 192)},
    {"　栗　色", rgbColor(128, 0, 0)},
    {"　濃紺色", rgbColor(0, 0, 128)},
    {"　黄緑色", rgbColor(128, 128, 0)},
    {"　紫　色", rgbColor(128, 0, 128)},
    {"　赤　色", rgbColor(255, 0, 0)},
    {"　銀　色", rgbColor(192, 192, 192)},
    {"　暗青緑色", rgbColor(0, 128, 128)},
    {"　白　色", rgbColor(255, 255, 255)},
    {"　黄　色", rgbColor(255, 255, 0)},
    {"　Windows デスクトップの背景色", systemColorValue(1)},
    {"　アクティブウィンドウのタイトルバーの色", systemColorValue(2)},
    {"アクティブでないウィンドウのタイトルバーの色", systemColorValue(3)},
    {"　メニューの背景色", systemColorValue(4)},
    {"　ウィンドウの背景色", systemColorValue(5)},
    {"　ウィンドウ枠の色", systemColorValue(6)},
    {"　メニュー上の文字の色", systemColorValue(7)},
    {"　ウィンドウ内の文字の色", systemColorValue(8)},
    {"アクティブウィンドウのタイトルバーの文字の色", systemColorValue(9)},
    {"　アクティブウィンドウの境界色", systemColorValue(10)},
    {"　アクティブでないウィンドウの境界色", systemColorValue(11)},
    {"　アプリケーション作業領域の色", systemColorValue(12)},
    {"　選択した文字の背景色", systemColorValue(13)},
    {"　選択した文字の色", systemColorValue(14)},
    {"　ボタン面の色", systemColorValue(15)},
    {"　ボタンのシャドウキャストの色", systemColorValue(16)},
    {"　淡色表示されている文字の色", systemColorValue(17)},
    {"　ボタンの文字の色", systemColorValue(18)},
    {"アクティブでないウィンドウのタイトルバーの文字の色", systemColorValue(19)},
    {"　ボタンの強調表示の色", systemColorValue(20)},
    {"　3次元表示要素の暗い影", systemColorValue(21)},
    {"　3次元表示要素の明るい色（明るい面の縁用）", systemColorValue(22)},
    {"　ツールチップコントロールの文字の色", systemColorValue(23)},
    {"　ツールチップコントロールの背景色", systemColorValue(24)},
}};

TColor ColorNameToColor(std::string_view name)
{
    static std::vector<SjisString> encoded;
    static std::once_flag once;
    std::call_once(once, [] {
        for (const ColorName& c : kColorNames)
            encoded.push_back(sj(c.name));
    });
    for (std::size_t i = 0; i < encoded.size(); ++i)
        if (encoded[i] == name)
            return kColorNames[i].color;
    return 0;
}
