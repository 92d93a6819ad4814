#include "tests/components/table_fixture.h"

namespace {

TEST_F(TableTest, NewDatabaseHasEveryTableAndTheRecordTableHas56Fields)
{
    auto t = open("INDATA.db");
    EXPECT_EQ(t->FieldCount(), 56);
    EXPECT_EQ(t->FieldDefinition(23).type, FieldType::WholeNumber);
    EXPECT_EQ(open("code.DB")->FieldCount(), 27);
    EXPECT_EQ(open("PostData.db")->FieldCount(), 2);
    EXPECT_EQ(open("Sort.db")->FieldCount(), 2);
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof());
    EXPECT_TRUE(t->Bof());
}

TEST_F(TableTest, RecordsAreKeptInPrimaryOrderAndBrowsed)
{
    auto t = open("INDATA");
    addRecord(*t, "さとう", "1");
    addRecord(*t, "あべ", "2");
    addRecord(*t, "かとう", "3");
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_EQ(reading(*t), "かとう");
    EXPECT_EQ(t->RecNo(), 2);
    t->First();
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(reading(*t), "あべ");
    std::vector<std::string> seen;
    while (!t->Eof()) {
        seen.push_back(reading(*t));
        t->Next();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"あべ", "かとう", "さとう"}));
    EXPECT_EQ(t->RecNo(), 3);
    t->SetRecNo(2);
    EXPECT_EQ(reading(*t), "かとう");
}

TEST_F(TableTest, DuplicateKeyIsRefusedAndTheTypedValuesStay)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    t->Append();
    t->FieldByName("使用者ふりがな").SetAsString(sj("あべ"));
    t->FieldByName("自動車登録番号").SetAsString(sj("1"));
    try {
        t->Post();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("キー違反です。"));
    }
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(reading(*t), "あべ");
    t->Cancel();
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(TableTest, EmptyingByDeleteUntilEof)
{
    auto t = open("INDATA");
    for (int i = 0; i < 5; ++i)
        addRecord(*t, "あ", std::to_string(i).c_str());
    t->First();
    int deleted = 0;
    while (!t->Eof()) {
        t->Delete();
        ++deleted;
    }
    EXPECT_EQ(deleted, 5);
    EXPECT_TRUE(t->IsEmpty());
}

}  // namespace
