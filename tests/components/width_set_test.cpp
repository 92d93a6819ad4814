// The width sets a new book starts with, and reading a set from its row.
#include "components/core/database.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "components/formats/width_set.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class WidthSetTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("CARDATA.sqlite3"); }

    std::vector<WidthSet> sets()
    {
        auto db = openSharedDatabase(path());
        Table t(*db, "INDTLEN");
        t.Open();
        std::vector<WidthSet> all;
        for (t.First(); !t.Eof(); t.Next())
            all.push_back(widthSetOf(t));
        return all;
    }
};

// Values as long as a field's longest usual ones (CP932 bytes).
struct LongValue {
    const char* field;
    const char* value;
};
const LongValue kLongValues[] = {
    {"使用者ふりがな", "かぶしきがいしゃみなとうんゆそうこ"},
    {"使用者住所", "神奈川県横浜市中区山下町一丁目二番地三号　みなとビル１０１"},
    {"自動車登録番号", "名古屋　５０２　や　２４－６８"},
    {"登録年月日", "令和０３年０４月１２日"},
    {"車台番号", "ＺＺ１０－００１２３４５"},
    {"自動車の種別", "軽自動車"},
    {"車体の形状", "ステーションワゴン"},
    {"燃料の種類", "ガソリン・電気"},
    {"車両総重量", "25000"},
    {"備考", "令和０３年０４月１２日　新規登録\r\n令和０５年０４月０３日　車検\r\n令和０７年０４月０１日　車検"},
    {"自賠責期間", "２５ヶ月"},
    {"自賠責期間至", "令和０７年０５月０３日"},
};

TEST_F(WidthSetTest, ANewBookHasAFullSetWithPostalCodesAndAnAddressBook)
{
    const std::vector<WidthSet> all = sets();
    const WidthSet* full = nullptr;
    const WidthSet* addressBook = nullptr;
    for (const WidthSet& s : all) {
        const bool every = std::all_of(s.widths.begin(), s.widths.end(), [](int w) { return w > 0; });
        if (every && s.postalMode != 0 && !s.isAddressBook())
            full = &s;
        if (s.isAddressBook())
            addressBook = &s;
    }
    ASSERT_TRUE(full);
    ASSERT_TRUE(addressBook);
    EXPECT_GE(full->weightWidth, 6);
    EXPECT_GE(full->useAndWeightWidth, int(sj("  軽自動車").size()));
    for (const LongValue& v : kLongValues)
        EXPECT_GE(full->widths[std::size_t(recordFieldNumber(v.field) - 1)], int(sj(v.value).size())) << v.field;
    EXPECT_NE(addressBook->postalMode, 0);
    EXPECT_GT(addressBook->widths[std::size_t(recordFieldNumber("使用者住所") - 1)], 0);
}

TEST_F(WidthSetTest, AnExistingWidthSetTableKeepsItsRowsAndBlankWidthsReadAsZero)
{
    {
        auto db = openSharedDatabase(path());
        db->exec("DELETE FROM INDTLEN");
        db->exec("INSERT INTO INDTLEN (データ用途, 電話番号) VALUES (x'8ea995aa', 7)");  // 自分
    }
    const std::vector<WidthSet> all = sets();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].name, sj("自分"));
    EXPECT_EQ(all[0].widths[1], 7);
    EXPECT_EQ(all[0].widths[0], 0);
    EXPECT_EQ(all[0].postalMode, 0);
    EXPECT_EQ(all[0].useAndWeightWidth, 0);
}

TEST(ChooserColumnWidthsTest, OneLinePerColumnAMissingLineReadsZero)
{
    const LineListFile file = LineListFile::fromBytes("12\r\nx\r\n9999\r\n");
    EXPECT_EQ(chooserColumnWidthsFromLines(file, 5), (std::vector<int>{12, 0, 500, 0, 0}));
    EXPECT_EQ(chooserColumnWidthsLines({3, 0, 41}).toBytes(), "3\r\n0\r\n41\r\n");
}

}  // namespace
