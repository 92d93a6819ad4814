#include "record_book/model/record_rules.h"
#include "tests/components/table_fixture.h"
#include "components/core/record_fields.h"

namespace {

TEST(KanaRowIndex, ChoosesTheRowByTheFirstKana)
{
    EXPECT_EQ(KanaRowIndex(sj("かとう")), 1);
    EXPECT_EQ(KanaRowIndex(sj("がっこう")), 1);  // 0x82AA
    EXPECT_EQ(KanaRowIndex(sj("さとう")), 2);
    EXPECT_EQ(KanaRowIndex(sj("ぢ")), 3);
    EXPECT_EQ(KanaRowIndex(sj("のむら")), 4);
    EXPECT_EQ(KanaRowIndex(sj("ぱ")), 5);  // 0x82CF
    EXPECT_EQ(KanaRowIndex(sj("ぽ")), 5);
    EXPECT_EQ(KanaRowIndex(sj("まつだ")), 6);
    EXPECT_EQ(KanaRowIndex(sj("ょ")), 7);
    EXPECT_EQ(KanaRowIndex(sj("ろ")), 8);
    EXPECT_EQ(KanaRowIndex(sj("わだ")), 9);
    EXPECT_EQ(KanaRowIndex(sj("ん")), 9);  // 0x82F1
    EXPECT_EQ(KanaRowIndex(sj("あべ")), 0);
    EXPECT_EQ(KanaRowIndex(sj("ぁ")), 0);
    EXPECT_EQ(KanaRowIndex("Abc"), 0);
    EXPECT_EQ(KanaRowIndex(""), 0);
    EXPECT_EQ(KanaRowIndex(sj("１")), 0);
    EXPECT_EQ(KanaRowIndex(sj("カトウ")), 9);
    EXPECT_EQ(KanaRowIndex(sj("ｶﾄｳ")), 9);
    EXPECT_EQ(KanaRowIndex(sj("加藤")), 9);
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

}  // namespace

namespace {

TEST_F(TableTest, TheExtensionLayoutOnAStandardRecordTableLearnsWithoutTheCategory)
{
    db->exec("DROP TABLE INDATA");
    std::string sql = "CREATE TABLE INDATA (";
    for (int no = 1; no <= kStandardFieldCount; ++no)
        sql += std::string(no > 1 ? ", " : "") + quoteIdentifier(recordField(no).name) +
               (recordField(no).wholeNumber ? " INTEGER" : " BLOB NOT NULL DEFAULT x''");
    db->exec(sql + ")");
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
