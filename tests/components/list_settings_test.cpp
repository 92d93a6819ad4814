#include "components/formats/list_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ListSettings, RoundTripThroughBytes)
{
    const DisplaySettings display{{sj(" 0,使用者ふりがな")}, {sj("46,自賠責期間至"), sj(" 2,使用者")}};
    const SjisString bytes = chooserListsLines(display).toBytes();
    EXPECT_EQ(bytes, sj(" 0,使用者ふりがな\r\n\r\n46,自賠責期間至\r\n 2,使用者\r\n\r\n"));
    const DisplaySettings back = chooserListsFromLines(LineListFile::fromBytes(bytes));
    EXPECT_EQ(back.left, display.left);
    EXPECT_EQ(back.right, display.right);

    const ColumnWidths widths{{{4, 30}, {1, 12}}};
    EXPECT_EQ(columnWidthsLines(widths).toBytes(), "4\r\n30\r\n1\r\n12\r\n");
    EXPECT_EQ(columnWidthsFromLines(LineListFile::fromBytes("4\r\n30\r\n1\r\n12\r\n")).columns, widths.columns);
}

TEST(ListSettings, ShortFilesAndMissingFiles)
{
    // An odd line count: the last field number pairs with 0.
    EXPECT_EQ(columnWidthsFromLines(LineListFile::fromBytes("4\n30\n2x\n")).columns,
              (std::vector<std::pair<int, int>>{{4, 30}, {2, 0}}));
    const DisplaySettings noShown = chooserListsFromLines(LineListFile::fromBytes(" 1,a\r\n"));
    EXPECT_EQ(noShown.left, std::vector<SjisString>{" 1,a"});
    EXPECT_TRUE(noShown.right.empty());

    QTemporaryDir dir;
    EXPECT_FALSE(readDisplaySettings(dir.path()));
    EXPECT_TRUE(readListColumnWidths(dir.path()).columns.empty());
    EXPECT_TRUE(readSpecColumnWidths(dir.path()).columns.empty());
    writeSpecColumnWidths(dir.path(), {{{3, 9}}});
    EXPECT_EQ(readSpecColumnWidths(dir.path()).columns, (std::vector<std::pair<int, int>>{{3, 9}}));
    EXPECT_TRUE(readListColumnWidths(dir.path()).columns.empty());
}

}  // namespace

TEST(ListSettings, ColumnNumbersAreReadIntoTheirRange)
{
    const ColumnWidths read =
        columnWidthsFromLines(LineListFile::fromBytes("2147483647\r\n2147483647\r\n-3\r\n-4\r\n5\r\n40\r\n"));
    EXPECT_EQ(read.columns, (std::vector<std::pair<int, int>>{{kMaxGridColumns, kMaxColumnChars}, {0, 0}, {5, 40}}));

    std::string many;
    for (int i = 0; i < 3 * kMaxGridColumns; ++i)
        many += "1\r\n";
    EXPECT_EQ(columnWidthsFromLines(LineListFile::fromBytes(many)).columns.size(), std::size_t(kMaxGridColumns));
}
