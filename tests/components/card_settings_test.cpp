#include "components/formats/card_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

LineListFile fromBytes(std::string_view bytes) { return LineListFile::fromBytes(bytes); }

TEST(CardSettings, RoundTripThroughBytes)
{
    WidthSettings widths;
    for (int n = 1; n <= kWidthSettingCount; ++n)
        widths.widths[std::size_t(n - 1)] = 40 + n;
    const SjisString bytes = widthSettingsLines(widths).toBytes();
    EXPECT_TRUE(bytes.starts_with(sj("自動車登録番号\r\n41\r\n登録年月日\r\n42\r\n")));
    EXPECT_NE(bytes.find(sj("\r\n電話番号\r\n51\r\n\r\n52\r\n")), std::string::npos);
    EXPECT_EQ(fromBytes(bytes).lineCount(), 36u);
    EXPECT_EQ(widthSettingsFromLines(fromBytes(bytes)).widths, widths.widths);

    EXPECT_EQ(heightSettingsLines({2}).toBytes(), "2\r\n");
    EXPECT_EQ(heightSettingsFromLines(fromBytes("2\r\n")).lineCount, 2);

    const TitleColorSettings colors{sj("　空　色"), sj("　赤　色")};
    EXPECT_EQ(titleColorSettingsLines(colors).toBytes(), sj("　空　色\r\n　赤　色\r\n"));
    const TitleColorSettings back = titleColorSettingsFromLines(fromBytes(titleColorSettingsLines(colors).toBytes()));
    EXPECT_EQ(back.titleColor, colors.titleColor);
    EXPECT_EQ(back.indicatorColor, colors.indicatorColor);
}

TEST(CardSettings, AWidthFileThatEndsEarlyLacksTheRestAndWritesBackTheSame)
{
    const SjisString bytes = sj("自動車登録番号\r\n100\r\n登録年月日\r\n7x\r\n初度登録年月\r\n");
    const WidthSettings read = widthSettingsFromLines(fromBytes(bytes));
    EXPECT_EQ(read.widths[0], 100);
    EXPECT_EQ(read.widths[1], 7);
    for (std::size_t i = 2; i < read.widths.size(); ++i)
        EXPECT_FALSE(read.widths[i]) << i;
    EXPECT_EQ(widthSettingsLines(read).toBytes(), sj("自動車登録番号\r\n100\r\n登録年月日\r\n7\r\n"));
}

TEST(CardSettings, ShortFilesAndMissingFiles)
{
    EXPECT_EQ(heightSettingsFromLines(fromBytes("")).lineCount, 0);
    const TitleColorSettings oneLine = titleColorSettingsFromLines(fromBytes(sj("　青　色")));
    EXPECT_EQ(oneLine.titleColor, sj("　青　色"));
    EXPECT_EQ(oneLine.indicatorColor, sj("　黒　色"));

    QTemporaryDir dir;
    EXPECT_FALSE(readWidthSettings(dir.path()));
    EXPECT_FALSE(readHeightSettings(dir.path()));
    EXPECT_EQ(readTitleColorSettings(dir.path()).titleColor, sj("アクティブでないウィンドウのタイトルバーの色"));
    writeHeightSettings(dir.path(), {1});
    EXPECT_EQ(readHeightSettings(dir.path())->lineCount, 1);
}

}  // namespace

// Widths of hostile settings files are brought into what a screen shows,
// so that no caller sizes a window by them.
TEST(CardSettings, WidthsAreReadIntoWhatAScreenShows)
{
    const struct {
        const char* bytes;
        int width;  // of setting 1
    } cases[] = {{"x\r\n120\r\n", 120}, {"x\r\n2147483647\r\n", kMaxWidth}, {"x\r\n-5\r\n", 0}, {"x\r\n4001\r\n", kMaxWidth}};
    for (const auto& c : cases)
        EXPECT_EQ(widthSettingsFromLines(LineListFile::fromBytes(c.bytes)).widths[0], c.width) << c.bytes;
}
