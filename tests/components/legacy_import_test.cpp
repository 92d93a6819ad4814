#include "components/formats/legacy_import.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Slots = std::map<int, std::string>;

TEST(OldDataLayout, ReadsTriplesAndConvTypeAndRefusesBrokenLayouts)
{
    const auto good = oldDataLayoutFromLines(LineListFile({"2", "1", "4", "22", "3", "6", "22"}), OldDataFile::Base);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->entries, (std::vector<OldDataEntry>{{1, 4, 22}, {3, 6, 22}}));
    EXPECT_EQ(good->recordLength(OldDataFile::Base), 10u);
    EXPECT_EQ(good->recordLength(OldDataFile::Merge), 6u);
    EXPECT_TRUE(oldDataLayoutFromLines(LineListFile({"2", "0", "4", "22", "3", "6", "22"}), OldDataFile::Base));

    const struct {
        std::vector<std::string> lines;
        OldDataFile kind;
    } broken[] = {
        {{"0"}, OldDataFile::Base}, {{"61"}, OldDataFile::Base}, {{"2", "1", "4", "22"}, OldDataFile::Base},
        {{"1", "1", "0", "22"}, OldDataFile::Base}, {{"1", "1", "-3", "22"}, OldDataFile::Base},
        {{"1", "61", "4", "22"}, OldDataFile::Base}, {{"1", "-1", "4", "22"}, OldDataFile::Base},
        {{"1", "1", "4", "22"}, OldDataFile::Merge},  // a merge layout of one entry
        {{"2", "0", "4", "22", "3", "6", "22"}, OldDataFile::Merge},  // merge keys are 1..56
        {{"2", "57", "4", "22", "3", "6", "22"}, OldDataFile::Merge},
    };
    for (const auto& b : broken)
        EXPECT_FALSE(oldDataLayoutFromLines(LineListFile(b.lines), b.kind)) << b.lines[0] << " " << b.lines.size();

    EXPECT_EQ(convTypeFromLines(LineListFile({"A,B,C", "same", ",x", ""})),
              (ConvTypePairs{{"A", "B,C"}, {"same", "same"}, {"", "x"}, {"", ""}}));
}

TEST(OldDataDecoder, PurchaseAmountsAreNumbersAndEntriesOfOneTargetJoinInOrder)
{
    std::vector<std::string> amounts;
    decodeOldData(OldDataLayout{{{1, 1, 20}, {54, 4, 20}}}, OldDataFile::Base, {}, "A0120B  x ",
                  [&](const OldDataRecord& r) { amounts.push_back(r[54]); });
    EXPECT_EQ(amounts, (std::vector<std::string>{"120", "0"}));

    std::string name, day;
    decodeOldData(OldDataLayout{{{3, 2, 22}, {3, 2, 20}, {17, 2, 17}}}, OldDataFile::Base, {}, "AB" "cd" "0#",
                  [&](const OldDataRecord& r) { name = sjis::toUtf8(r[3]), day = sjis::toUtf8(r[17]); });
    EXPECT_EQ(name, "ＡＢcd");
    EXPECT_EQ(day, "０日");
}

TEST(OldDataDecoder, EraDatesOfTypes30And31)
{
    const struct {
        const char* digits;
        bool withDay;
        const char* era;
    } cases[] = {
        {"20050607", true, "平成17年06月07日"}, {"19890107", true, "昭和64年01月07日"},
        {"19890108", true, "平成01年01月08日"}, {"20190430", true, "平成31年04月30日"},
        {"20190501", true, "令和01年05月01日"}, {"19260101", true, "大正15年01月01日"},
        {"18680101", true, "明治01年01月01日"},
        {"201905", false, "令和01年05"}, {"198901", false, "昭和64年01"},
        // a day the month lacks dates by the month's first day
        {"19890200", true, "平成01年02月00日"}, {"20200230", true, "令和02年02月30日"},
        {"00000000", true, ""}, {"        ", true, ""}, {"000000", false, ""}, {"      ", false, ""}, {"0000", false, ""},
        // what the era table cannot date keeps the old arithmetic
        {"19991301", true, "平成11年13月01日"}, {"19900000", true, "平成02年00月00日"},
        {"18000101", true, "昭和-125年01月01日"}, {"2005", true, "平成17年月日"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sjis::toUtf8(oldDataEraDate(c.digits, c.withDay)), c.era) << c.digits;
}

TEST(OldDataDecoder, EntryTypesFillTheirSlots)
{
    const ConvTypePairs pairs{{"OLD", sj("ｼﾝ") + "A"}, {"KANJI", sj("新")}};
    const struct {
        int target, type;
        std::string bytes;
        Slots expected;
    } cases[] = {
        {13, 30, "00000000", {}},
        {8, 0, "ABC 12345.6789" + sj("ｹﾞﾝｹｲ") + " X1", {{8, "ＡＢＣ"}, {10, "Ｘ１"}, {11, "１２３４５"}, {12, "６７８９"}}},
        {8, 0, "AB.12", {{8, "ＡＢ"}, {11, "ＡＢ"}, {12, "１２"}}},  // a point among the first six
        {8, 0, "M" + sj("ｹﾞﾝｹｲ"), {{8, "Ｍ"}}},                      // the engine word at the end
        {6, 10, "05\x08" "06\x01" "07", {{6, "平成０５年０６月０７日"}}},
        {6, 10, "45\x08", {{6, "昭和４５年日"}}}, {6, 10, "85\x08", {{6, "１９８５年日"}}},
        {6, 10, "  ", {{6, "　　"}}}, {6, 10, "  X", {{6, "　　Ｘ"}}},
        {51, 15, "0#5#", {{51, "平成０５年"}}}, {51, 15, " $", {{42, " $\r\n"}}},  // failures go to the remarks
        {46, 18, "2#4#", {{46, "２４ヶ月"}}}, {24, 3, "A#", {{42, "Ａ\r\n"}}},
        {3, 1, " $", {{42, " $\r\n"}}},  // failing twice keeps the bytes
        {22, 23, "KANJI", {{22, "新"}}}, {22, 23, "NEW", {{22, "ＮＥＷ"}}},
        {0, 22, "A", {{0, "Ａ"}}},  // target 0 stores nothing in the table
    };
    for (const auto& c : cases) {
        OldDataRecord record;
        decodeOldDataEntry(record, {c.target, int(c.bytes.size()), c.type}, c.bytes, c.type == 23 ? pairs : ConvTypePairs{});
        Slots filled;
        for (std::size_t i = 0; i < record.size(); ++i)
            if (!record[i].empty())
                filled[int(i)] = sjis::toUtf8(record[i]);
        EXPECT_EQ(filled, c.expected) << c.target << "/" << c.type << " " << c.bytes;
    }
}

}  // namespace
