#include "components/formats/legacy_import.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

LineListFile lines(const std::vector<std::string>& l) { return LineListFile(l); }

using Slots = std::map<int, std::string>;

// The slots one entry fills, by slot number, as UTF-8.
Slots entrySlots(int target, int type, const std::string& bytes, const ConvTypePairs& pairs = {})
{
    OldDataRecord record;
    decodeOldDataEntry(record, {target, int(bytes.size()), type}, bytes, pairs);
    Slots filled;
    for (std::size_t i = 0; i < record.size(); ++i)
        if (!record[i].empty())
            filled[int(i)] = sjis::toUtf8(record[i]);
    return filled;
}

struct EntryCase {
    const char* what;
    int target, type;
    std::string bytes;
    Slots expected;
    ConvTypePairs pairs = {};
};

TEST(OldDataLayout, ReadsTriplesAndRefusesBrokenLayouts)
{
    const auto good = oldDataLayoutFromLines(lines({"2", "1", "4", "22", "3", "6", "22"}), OldDataFile::Base);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->entries, (std::vector<OldDataEntry>{{1, 4, 22}, {3, 6, 22}}));
    EXPECT_EQ(good->recordLength(OldDataFile::Base), 10u);
    EXPECT_EQ(good->recordLength(OldDataFile::Merge), 6u);

    const struct {
        const char* what;
        std::vector<std::string> lines;
        OldDataFile kind;
    } broken[] = {
        {"no entries", {"0"}, OldDataFile::Base},
        {"more than 60", {"61"}, OldDataFile::Base},
        {"a missing triple", {"2", "1", "4", "22"}, OldDataFile::Base},
        {"a length of 0", {"1", "1", "0", "22"}, OldDataFile::Base},
        {"a negative length", {"1", "1", "-3", "22"}, OldDataFile::Base},
        {"a target above 60", {"1", "61", "4", "22"}, OldDataFile::Base},
        {"a negative target", {"1", "-1", "4", "22"}, OldDataFile::Base},
        {"a merge layout of one entry", {"1", "1", "4", "22"}, OldDataFile::Merge},
        {"a merge key of 0", {"2", "0", "4", "22", "3", "6", "22"}, OldDataFile::Merge},
        {"a merge key above 56", {"2", "57", "4", "22", "3", "6", "22"}, OldDataFile::Merge},
    };
    for (const auto& b : broken)
        EXPECT_FALSE(oldDataLayoutFromLines(lines(b.lines), b.kind)) << b.what;
    EXPECT_TRUE(oldDataLayoutFromLines(lines({"2", "0", "4", "22", "3", "6", "22"}), OldDataFile::Base));
}

TEST(OldDataLayout, ConvTypeSplitsAtTheFirstComma)
{
    EXPECT_EQ(convTypeFromLines(lines({"A,B,C", "same", ",x", ""})),
              (ConvTypePairs{{"A", "B,C"}, {"same", "same"}, {"", "x"}, {"", ""}}));
}

TEST(OldDataDecoder, BaseRecordsWriteThePurchaseAmountAsANumber)
{
    const OldDataLayout layout{{{1, 1, 20}, {54, 4, 20}}};
    std::vector<std::string> amounts;
    decodeOldData(layout, OldDataFile::Base, {}, "A0120B  x ", [&](const OldDataRecord& r) { amounts.push_back(r[54]); });
    EXPECT_EQ(amounts, (std::vector<std::string>{"120", "0"}));
}

TEST(OldDataDecoder, EraDatesOfTypes30And31)
{
    const struct {
        const char* digits;
        bool withDay;
        const char* era;
    } cases[] = {
        {"20050607", true, "平成17年06月07日"},
        {"19930607", true, "平成05年06月07日"},
        {"19890107", true, "昭和64年01月07日"},
        {"19890108", true, "平成01年01月08日"},
        {"20190430", true, "平成31年04月30日"},
        {"20190501", true, "令和01年05月01日"},
        {"19260101", true, "大正15年01月01日"},
        {"199306", false, "平成05年06"},
        {"201905", false, "令和01年05"},
        {"198901", false, "昭和64年01"},
        {"00000000", true, ""},
        {"        ", true, ""},
        {"000000", false, ""},
        {"      ", false, ""},
        {"0000", false, ""},
        // what the era table cannot date keeps the old arithmetic
        {"19991301", true, "平成11年13月01日"},
        {"19900000", true, "平成02年00月00日"},
        {"18000101", true, "昭和-125年01月01日"},
        {"2005", true, "平成17年月日"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sjis::toUtf8(oldDataEraDate(c.digits, c.withDay)), c.era) << c.digits;
}

TEST(OldDataDecoder, EntryTypesFillTheirSlots)
{
    const ConvTypePairs pairs{{"OLD", sj("ｼﾝ") + "A"}, {"KANJI", sj("新")}};
    const EntryCase cases[] = {
        {"type 30 blank", 13, 30, "00000000", {}},
        {"type 0 split", 8, 0, "ABC 12345.6789" + sj("ｹﾞﾝｹｲ") + " X1",
         {{8, "ＡＢＣ"}, {10, "Ｘ１"}, {11, "１２３４５"}, {12, "６７８９"}}},
        {"type 0 point among the first six", 8, 0, "AB.12", {{8, "ＡＢ"}, {11, "ＡＢ"}, {12, "１２"}}},
        {"type 0 engine word at the end", 8, 0, "M" + sj("ｹﾞﾝｹｲ"), {{8, "Ｍ"}}},
        {"type 10 Heisei", 6, 10, "05\x08" "06\x01" "07", {{6, "平成０５年０６月０７日"}}},
        {"type 10 Showa", 6, 10, "45\x08", {{6, "昭和４５年日"}}},
        {"type 10 western", 6, 10, "85\x08", {{6, "１９８５年日"}}},
        {"type 10 two spaces", 6, 10, "  ", {{6, "　　"}}},
        {"type 10 full-width spaces", 6, 10, "  X", {{6, "　　Ｘ"}}},
        {"type 15", 51, 15, "0#5#", {{51, "平成０５年"}}},
        {"type 15 on an empty slot", 51, 15, " $", {{42, " $\r\n"}}},
        {"type 18", 46, 18, "2#4#", {{46, "２４ヶ月"}}},
        {"type 3 fails into the remarks", 24, 3, "A#", {{42, "Ａ\r\n"}}},
        {"type 1 twice failing keeps the bytes", 3, 1, " $", {{42, " $\r\n"}}},
        {"type 23 double-byte", 22, 23, "KANJI", {{22, "新"}}, pairs},
        {"type 23 unknown", 22, 23, "NEW", {{22, "ＮＥＷ"}}, pairs},
        {"target 0 stores nothing", 0, 22, "A", {{0, "Ａ"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(entrySlots(c.target, c.type, c.bytes, c.pairs), c.expected) << c.what;
}

TEST(OldDataDecoder, EntriesOfOneTargetJoinInEntryOrder)
{
    const OldDataLayout layout{{{3, 2, 22}, {3, 2, 20}, {17, 2, 17}}};
    std::string name, day;
    decodeOldData(layout, OldDataFile::Base, {}, "AB" "cd" "0#", [&](const OldDataRecord& r) {
        name = sjis::toUtf8(r[3]);
        day = sjis::toUtf8(r[17]);
    });
    EXPECT_EQ(name, "ＡＢcd");
    EXPECT_EQ(day, "０日");
}

}  // namespace
