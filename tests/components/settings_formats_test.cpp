// The settings files of the card, the queries, the list, the look-ups and
// the choices: exact bytes, odd files read tolerantly, missing files.
#include "components/formats/card_settings.h"
#include "components/formats/choice_files.h"
#include "components/formats/list_settings.h"
#include "components/formats/lookup_settings.h"
#include "components/formats/query_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

LineListFile fromBytes(std::string_view bytes) { return LineListFile::fromBytes(bytes); }

// What a file's reader makes of the bytes, written back by its writer.
template <auto fromLines, auto toLines>
SjisString reread(std::string_view bytes)
{
    return toLines(fromLines(fromBytes(bytes))).toBytes();
}

SjisString number(int n) { return std::to_string(n) + "\r\n"; }

TEST(SettingsFormats, WritersGiveTheFilesBytes)
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
    EXPECT_EQ(titleColorSettingsLines({sj("　空　色"), sj("　赤　色")}).toBytes(), sj("　空　色\r\n　赤　色\r\n"));
    EXPECT_EQ(fieldChoicesLines({{sj("車名"), "", sj("型式")}}).toBytes(), sj("車名\r\n\r\n型式\r\n"));
    EXPECT_EQ(chooserListsLines({{sj("使用者"), sj("電話番号")}, {sj("車名")}}).toBytes(),
              sj("使用者\r\n電話番号\r\n\r\n車名\r\n\r\n"));
    EXPECT_EQ(chooserListsLines({{sj(" 0,使用者ふりがな")}, {sj("46,自賠責期間至"), sj(" 2,使用者")}}).toBytes(),
              sj(" 0,使用者ふりがな\r\n\r\n46,自賠責期間至\r\n 2,使用者\r\n\r\n"));
    EXPECT_EQ(columnWidthsLines({{{4, 30}, {1, 12}}}).toBytes(), "4\r\n30\r\n1\r\n12\r\n");
    EXPECT_EQ(postDataColumnsLines({{1, 2, 0, 4}}).toBytes(), "1\r\n2\r\n0\r\n4\r\n");
    EXPECT_EQ(codeFileListLines({{sj("codes\\ホンダ.csv"), "b.csv"}}).toBytes(), sj("codes\\ホンダ.csv\r\nb.csv\r\n"));
    EXPECT_EQ(bodyShapeCodesLines({{{"1", sj("箱型")}, {"2", sj("バン,改")}}}).toBytes(), sj("1,箱型\r\n2,バン,改\r\n"));
    EXPECT_EQ(choiceEntriesLines({{sj("群"), "", sj("群馬")}}).toBytes(), sj("群\r\n\r\n群馬\r\n"));
    EXPECT_EQ(sectionTitlesLines({{sj("色"), ""}}).toBytes(), sj("色\r\n\r\n"));
}

// Each reader gives back what its writer wrote; a short, odd or hostile file
// is read into what the second bytes say.
TEST(SettingsFormats, ReadersReadBackWhatWasWrittenAndTolerateOddFiles)
{
    const auto width = reread<widthSettingsFromLines, widthSettingsLines>;
    const auto height = reread<heightSettingsFromLines, heightSettingsLines>;
    const auto title = reread<titleColorSettingsFromLines, titleColorSettingsLines>;
    const auto fields = reread<fieldChoicesFromLines, fieldChoicesLines>;
    const auto chooser = reread<chooserListsFromLines, chooserListsLines>;
    const auto columns = reread<columnWidthsFromLines, columnWidthsLines>;
    const auto post = reread<postDataColumnsFromLines, postDataColumnsLines>;
    const auto codeFiles = reread<codeFileListFromLines, codeFileListLines>;
    const auto shapes = reread<bodyShapeCodesFromLines, bodyShapeCodesLines>;
    const auto choices = reread<choiceEntriesFromLines, choiceEntriesLines>;
    const auto titles = reread<sectionTitlesFromLines, sectionTitlesLines>;
    const SjisString firstWidth = sj("自動車登録番号\r\n");
    const struct {
        SjisString (*reread)(std::string_view);
        SjisString bytes, back;
    } cases[] = {
        {height, "2\r\n", "2\r\n"},
        {height, "", "0\r\n"},
        {title, sj("　空　色\r\n　赤　色\r\n"), sj("　空　色\r\n　赤　色\r\n")},
        {title, sj("　青　色"), sj("　青　色\r\n　黒　色\r\n")},  // the second colour's default
        // A width file that ends early lacks the rest and writes back the same.
        {width, sj("自動車登録番号\r\n100\r\n登録年月日\r\n7x\r\n初度登録年月\r\n"), sj("自動車登録番号\r\n100\r\n登録年月日\r\n7\r\n")},
        // Hostile widths are brought into what a screen shows.
        {width, "x\r\n120\r\n", firstWidth + "120\r\n"},
        {width, "x\r\n2147483647\r\n", firstWidth + number(kMaxWidth)},
        {width, "x\r\n4001\r\n", firstWidth + number(kMaxWidth)},
        {width, "x\r\n-5\r\n", firstWidth + "0\r\n"},
        {fields, sj("車名\r\n\r\n型式\r\n"), sj("車名\r\n\r\n型式\r\n")},
        {fields, "", ""},
        {chooser, sj("使用者\r\n電話番号\r\n\r\n車名\r\n\r\n"), sj("使用者\r\n電話番号\r\n\r\n車名\r\n\r\n")},
        {chooser, "a\r\n\r\nb\nc", "a\r\n\r\nb\r\nc\r\n\r\n"},         // no second empty line
        {chooser, "\r\nb\r\n\r\nignored\r\n", "\r\nb\r\n\r\n"},       // starts with an empty line
        {chooser, "a\r\n", "a\r\n\r\n\r\n"},                          // no shown list
        {columns, "4\r\n30\r\n1\r\n12\r\n", "4\r\n30\r\n1\r\n12\r\n"},
        {columns, "4\n30\n2x\n", "4\r\n30\r\n2\r\n0\r\n"},  // the last field number pairs with 0
        {columns, "2147483647\r\n2147483647\r\n-3\r\n-4\r\n5\r\n40\r\n",
         number(kMaxGridColumns) + number(kMaxColumnChars) + "0\r\n0\r\n5\r\n40\r\n"},
        {post, "1\r\n2\r\n0\r\n4\r\n", "1\r\n2\r\n0\r\n4\r\n"},
        {post, "1\r\n2x\r\n\r\n4\r\n", "1\r\n2\r\n0\r\n4\r\n"},
        {post, "1\r\n2x\r\n", "1\r\n2\r\n0\r\n0\r\n"},
        // Columns are read into the cells a line keeps.
        {post, "2147483647\r\n-1\r\n8\r\n51\r\n", number(kMaxPostDataColumn) + "0\r\n8\r\n" + number(kMaxPostDataColumn)},
        {codeFiles, sj("codes\\ホンダ.csv\r\nb.csv\r\n"), sj("codes\\ホンダ.csv\r\nb.csv\r\n")},
        {shapes, sj("1,箱型\r\n2,バン,改\r\n"), sj("1,箱型\r\n2,バン,改\r\n")},  // the name keeps its comma
        {choices, sj("群\r\n\r\n群馬\r\n"), sj("群\r\n\r\n群馬\r\n")},
        {choices, "", ""},
        {titles, sj("色\r\n\r\n"), sj("色\r\n\r\n")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.reread(c.bytes), c.back) << sjis::toUtf8(c.bytes);

    const BodyShapeCodes shape = bodyShapeCodesFromLines(fromBytes(sj("1,箱型\r\n2,バン,改\r\n")));
    ASSERT_EQ(shape.codes.size(), 2u);
    EXPECT_EQ(shape.codes[1].code, "2");
    EXPECT_EQ(shape.codes[1].name, sj("バン,改"));
    const SectionTitles three = sectionTitlesFromLines(fromBytes("a\r\nb\r\nc"));
    EXPECT_EQ(three.title(2), "c");
    EXPECT_EQ(three.title(7), "");
}

TEST(SettingsFormats, LongListsAreCutAtTheirLimit)
{
    SjisString many;
    for (int i = 0; i < 3 * kMaxGridColumns; ++i)
        many += number(i);
    EXPECT_EQ(columnWidthsFromLines(fromBytes(many)).columns.size(), std::size_t(kMaxGridColumns));
    const BodyShapeCodes codes = bodyShapeCodesFromLines(fromBytes(many));
    ASSERT_EQ(codes.codes.size(), kMaxBodyShapeCodes);
    EXPECT_EQ(codes.codes[99].code, "99");
    EXPECT_EQ(codes.codes[99].name, "");
}

struct FieldFile {
    const char* name;
    FieldChoices (*read)(const QString&);
    void (*write)(const QString&, const FieldChoices&);
};

TEST(SettingsFormats, FieldFilesRoundTripAndAMissingOneOffersTheStandardFields)
{
    const FieldChoices chosen{{sj("車名"), "", sj("型式")}};
    const FieldFile files[] = {{"Find.INI", readFindFields, writeFindFields},
                               {"Filter.INI", readFilterFields, writeFilterFields},
                               {"Sort.INI", readSortFields, writeSortFields}};
    for (const FieldFile& f : files) {
        SCOPED_TRACE(f.name);
        QTemporaryDir dir;
        const std::vector<SjisString> standard = f.read(dir.path()).fields;
        ASSERT_EQ(standard.size(), 47u);
        EXPECT_EQ(standard.front(), sj("使用者ふりがな"));
        EXPECT_EQ(standard.back(), sj("自賠責期間至"));
        f.write(dir.path(), chosen);
        EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromLatin1(f.name))));
        EXPECT_EQ(f.read(dir.path()).fields, chosen.fields);
    }
}

TEST(SettingsFormats, MissingFilesGiveDefaultsAndEachFileIsItsOwn)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    EXPECT_FALSE(readWidthSettings(d));
    EXPECT_FALSE(readHeightSettings(d));
    EXPECT_EQ(readTitleColorSettings(d).titleColor, sj("アクティブでないウィンドウのタイトルバーの色"));
    EXPECT_FALSE(readCopySettings(d));
    EXPECT_FALSE(readDisplaySettings(d));
    EXPECT_TRUE(readListColumnWidths(d).columns.empty());
    EXPECT_TRUE(readSpecColumnWidths(d).columns.empty());
    EXPECT_EQ(readPostDataColumns(d).columns, (std::array<int, 4>{3, 7, 8, 9}));
    EXPECT_TRUE(readCodeFileList(d).paths.empty());
    EXPECT_TRUE(readBodyShapeCodes(d).codes.empty());
    EXPECT_FALSE(readChoiceEntries(d, "CarNo.INI"));
    EXPECT_FALSE(readSectionTitles(d, "CarMemo2.INI"));

    writeHeightSettings(d, {1});
    EXPECT_EQ(readHeightSettings(d)->lineCount, 1);
    writeSpecColumnWidths(d, {{{3, 9}}});
    EXPECT_EQ(readSpecColumnWidths(d).columns, (std::vector<std::pair<int, int>>{{3, 9}}));
    EXPECT_TRUE(readListColumnWidths(d).columns.empty());
    writeChoiceEntries(d, "CarNo.INI", {});
    EXPECT_TRUE(readChoiceEntries(d, "CarNo.INI")->entries.empty());
}

}  // namespace
