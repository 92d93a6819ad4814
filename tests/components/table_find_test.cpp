#include "tests/components/table_fixture.h"

namespace {

class TableFindTest : public TableTest {
protected:
    std::unique_ptr<Table> t;

    void SetUp() override
    {
        TableTest::SetUp();
        t = open("INDATA");
        addRecord(*t, "あべ", "1", "山田");
        addRecord(*t, "いとう", "2", "川口");
        addRecord(*t, "うえだ", "3", "山口");
        addRecord(*t, "えんどう", "4", "小川");
        t->First();
    }

    int find(const char* field, const char* text, int start, bool backwards = false)
    {
        return t->findInField(t->FieldIndex(field), sj(text), start, backwards);
    }
};

TEST_F(TableFindTest, FindsForwardAndBackwardFromAPositionInTheActiveOrder)
{
    EXPECT_EQ(find("使用者", "山", 0), 0);
    EXPECT_EQ(find("使用者", "山", 1), 2);
    EXPECT_EQ(find("使用者", "山", 3), -1);
    EXPECT_EQ(find("使用者", "川", 3, true), 3);
    EXPECT_EQ(find("使用者", "川", 2, true), 1);
    EXPECT_EQ(find("使用者", "川", 0, true), -1);
    // A start past either end looks at the record at that end.
    EXPECT_EQ(find("使用者", "小川", 9), 3);
    EXPECT_EQ(find("使用者", "山田", -5, true), 0);

    t->SetIndexName("使用");  // 山口, 山田, 小川, 川口 in byte order
    EXPECT_EQ(find("使用者", "川", 0), 2);
    EXPECT_EQ(find("使用者", "山", 3, true), 1);
}

TEST_F(TableFindTest, LooksOnlyAtVisibleRecordsAndNeverMoves)
{
    int scrolls = 0;
    t->AfterScroll = [&](Table&) { ++scrolls; };
    t->SetFilter(sj("(使用者ふりがな >= 'う')"));
    t->SetFiltered(true);
    scrolls = 0;
    EXPECT_EQ(find("使用者", "山", 0), 0);  // うえだ, the first visible
    EXPECT_EQ(find("使用者", "山田", 0), -1);
    EXPECT_EQ(reading(*t), "うえだ");
    EXPECT_EQ(scrolls, 0);
}

TEST_F(TableFindTest, MatchesWholeCharactersOnly)
{
    t->Edit();
    set(*t, "登録年月日", "昭和６０年");  // 和 is 0x98 0x61
    set(*t, "型式", "アイ");              // ア is 0x83 0x41
    t->Post();
    EXPECT_EQ(find("登録年月日", "a", 0), -1);
    EXPECT_EQ(find("型式", "A", 0), -1);
    EXPECT_EQ(find("登録年月日", "和", 0), 0);
    EXPECT_EQ(find("型式", "イ", 0), 0);
}

TEST_F(TableFindTest, WholeNumbersAreSearchedAsTheirDecimalText)
{
    t->Last();
    t->Edit();
    set(*t, "車両重量", "1250");
    t->Post();
    EXPECT_EQ(find("車両重量", "25", 0), 3);
    EXPECT_EQ(find("車両重量", "9", 0), -1);
}

TEST_F(TableFindTest, AnEmptyTableOrAnUnknownFieldFindsNothing)
{
    EXPECT_EQ(t->findInField(-1, sj("山"), 0), -1);
    t->EmptyTable();
    EXPECT_EQ(find("使用者", "山", 0), -1);
}

}  // namespace
