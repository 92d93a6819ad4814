#include "record_book/model/record_rules.h"
#include "tests/components/table_fixture.h"
#include "tests/record_book/seed_records.h"

namespace {

TEST(KanaRowIndex, ChoosesTheRowByTheFirstKana)
{
    // がっこう is 0x82AA, ぱ 0x82CF, ん 0x82F1; what sorts after ん is row 9.
    const std::pair<const char*, int> cases[] = {
        {"かとう", 1}, {"がっこう", 1}, {"さとう", 2}, {"ぢ", 3},   {"のむら", 4}, {"ぱ", 5},    {"ぽ", 5},
        {"まつだ", 6}, {"ょ", 7},       {"ろ", 8},     {"わだ", 9}, {"ん", 9},     {"あべ", 0},  {"ぁ", 0},
        {"Abc", 0},    {"", 0},         {"１", 0},     {"カトウ", 9}, {"ｶﾄｳ", 9},  {"加藤", 9},
    };
    for (auto [reading, row] : cases)
        EXPECT_EQ(KanaRowIndex(sj(reading)), row) << reading;
    EXPECT_EQ(KanaRowIndex("\x82"), 0);  // a lone lead byte reads as 0x82 0x00
}

class LearningTest : public TableTest {
protected:
    std::unique_ptr<Table> records, codes;

    void SetUp() override
    {
        TableTest::SetUp();
        records = open("INDATA");
        codes = open("code");
    }

    void save(const char* designation, const char* classification, const char* make, int weight,
              const char* category = "", int mode = 0)
    {
        records->Append();
        records->FieldByName("使用者ふりがな").SetAsString(sj("あ") + std::to_string(records->RecordCount()));
        records->FieldByName("自動車型式指定番号").SetAsString(sj(designation));
        records->FieldByName("類別区分番号").SetAsString(sj(classification));
        records->FieldByName("車名").SetAsString(sj(make));
        records->FieldByName("車両重量").SetAsInteger(weight);
        records->FieldByName("カテゴリ").SetAsString(sj(category));
        learnSpecification(*records, *codes, mode);
        records->Post();
    }

    std::string stored(const char* field)
    {
        return sjis::toUtf8(codes->FieldByName(field).AsString());
    }
};

TEST_F(LearningTest, FirstSaveAppendsTheSpecification)
{
    save("１２３４５", "０００１", "トヨタ", 1100);
    ASSERT_EQ(codes->RecordCount(), 1);
    EXPECT_EQ(stored("車名"), "トヨタ");
    EXPECT_EQ(stored("車両重量"), "1100");
    EXPECT_EQ(stored("カテゴリ"), "");
}

TEST_F(LearningTest, SecondSaveRaisesOnlyValuesThatSortAfter)
{
    save("１２３４５", "０００１", "トヨタ", 1100);
    save("１２３４５", "０００１", "", 900);  // empty never overwrites; "900" sorts after "1100"
    EXPECT_EQ(codes->RecordCount(), 1);
    EXPECT_EQ(stored("車名"), "トヨタ");
    EXPECT_EQ(stored("車両重量"), "900");
    EXPECT_EQ(codes->state(), Table::State::Browse);
    save("１２３４５", "０００１", "アルファ", 100);  // sorts before: nothing copied, cancelled
    EXPECT_EQ(stored("車名"), "トヨタ");
    EXPECT_EQ(stored("車両重量"), "900");
    EXPECT_EQ(codes->state(), Table::State::Browse);
}

TEST_F(LearningTest, NothingIsLearnedWithoutBothCodesOrUnderAnotherMode)
{
    save("", "０００１", "トヨタ", 1);
    save("１２３４５", "", "トヨタ", 1);
    save("１２３４５", "０００１", "トヨタ", 1, "", 3);
    EXPECT_EQ(codes->RecordCount(), 0);
}

TEST_F(LearningTest, CategoryIsLearnedUnderTheExtensionLayoutOnly)
{
    save("１", "１", "", 1, "スクーター", 2);
    EXPECT_EQ(stored("カテゴリ"), "");
    save("２", "２", "", 1, "スクーター", 1);
    codes->Locate("自動車型式指定番号", {sj("２")});
    EXPECT_EQ(stored("カテゴリ"), "スクーター");
}

TEST_F(TableTest, TheExtensionLayoutOnAStandardRecordTableLearnsWithoutTheCategory)
{
    makeStandardRecordTable(*db);
    auto records = open("INDATA");
    auto codes = open("code");
    records->Append();
    records->FieldByName("自動車型式指定番号").SetAsString(sj("１"));
    records->FieldByName("類別区分番号").SetAsString(sj("２"));
    learnSpecification(*records, *codes, 1);
    records->Post();
    EXPECT_EQ(codes->RecordCount(), 1);
}

}  // namespace
