#include "components/formats/lookup_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(LookupSettings, RoundTripThroughBytes)
{
    const PostDataColumns post{{1, 2, 0, 4}};
    EXPECT_EQ(postDataColumnsLines(post).toBytes(), "1\r\n2\r\n0\r\n4\r\n");
    EXPECT_EQ(postDataColumnsFromLines(LineListFile::fromBytes("1\r\n2\r\n0\r\n4\r\n")).columns, post.columns);
    EXPECT_EQ(postDataColumnsFromLines(LineListFile::fromBytes("1\r\n2x\r\n\r\n4\r\n")).columns, post.columns);

    const CodeFileList files{{sj("codes\\ホンダ.csv"), "b.csv"}};
    EXPECT_EQ(codeFileListLines(files).toBytes(), sj("codes\\ホンダ.csv\r\nb.csv\r\n"));
    EXPECT_EQ(codeFileListFromLines(LineListFile::fromBytes(codeFileListLines(files).toBytes())).paths, files.paths);

    const BodyShapeCodes codes{{{"1", sj("箱型")}, {"2", sj("バン,改")}}};
    const SjisString bytes = bodyShapeCodesLines(codes).toBytes();
    EXPECT_EQ(bytes, sj("1,箱型\r\n2,バン,改\r\n"));
    const BodyShapeCodes back = bodyShapeCodesFromLines(LineListFile::fromBytes(bytes));
    ASSERT_EQ(back.codes.size(), 2u);
    EXPECT_EQ(back.codes[1].code, "2");
    EXPECT_EQ(back.codes[1].name, sj("バン,改"));
}

TEST(LookupSettings, ShortFilesAndMissingFiles)
{
    EXPECT_EQ(postDataColumnsFromLines(LineListFile::fromBytes("1\r\n2x\r\n")).columns, (std::array<int, 4>{1, 2, 0, 0}));
    SjisString many;
    for (int i = 0; i < 120; ++i)
        many += std::to_string(i) + "\r\n";
    const BodyShapeCodes codes = bodyShapeCodesFromLines(LineListFile::fromBytes(many));
    ASSERT_EQ(codes.codes.size(), kMaxBodyShapeCodes);
    EXPECT_EQ(codes.codes[99].code, "99");
    EXPECT_EQ(codes.codes[99].name, "");

    QTemporaryDir dir;
    EXPECT_EQ(readPostDataColumns(dir.path()).columns, (std::array<int, 4>{3, 7, 8, 9}));
    EXPECT_TRUE(readCodeFileList(dir.path()).paths.empty());
    EXPECT_TRUE(readBodyShapeCodes(dir.path()).codes.empty());
}

}  // namespace

TEST(LookupSettings, PostDataColumnsAreReadIntoTheCellsALineKeeps)
{
    const PostDataColumns read = postDataColumnsFromLines(LineListFile::fromBytes("2147483647\r\n-1\r\n8\r\n51\r\n"));
    EXPECT_EQ(read.columns, (std::array<int, 4>{kMaxPostDataColumn, 0, 8, kMaxPostDataColumn}));
}
