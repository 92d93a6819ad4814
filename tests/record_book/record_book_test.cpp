#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "record_book/model/record_book.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::pair<const char*, const char*>>;

// The record book on a database of its own, without a window.
class RecordBookTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<RecordBook> book;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    }

    // Records put straight into the record table, past the book's hooks.
    void seed(const std::vector<Fields>& records)
    {
        Table t(*db, "INDATA");
        t.Open();
        for (const Fields& fields : records) {
            t.Append();
            for (auto [field, value] : fields)
                t.FieldByName(field).SetAsString(sj(value));
            t.Post();
        }
    }

    void load()
    {
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
    }

    void set(const char* name, const char* value) { book->records().FieldByName(name).SetAsString(sj(value)); }
    std::string field(const char* name) { return sjis::toUtf8(book->records().FieldByName(name).AsString()); }
};

TEST_F(RecordBookTest, AChangedInsuranceMovesThePreviousPairIntoTheHistory)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"},
           {"自賠責証明番号", "A100"}},
          {{"使用者ふりがな", "いとう"}, {"自動車登録番号", "2"}}});
    load();
    Table& t = book->records();
    t.Edit();
    set("自賠責保険機関", "みなと");
    t.Post();
    EXPECT_EQ(field("自賠責機関"), "あおば");
    EXPECT_EQ(field("証明番号"), "A100");

    // Saving again without a change of insurance leaves the history,
    t.Edit();
    set("備考", "x");
    t.Post();
    EXPECT_EQ(field("自賠責機関"), "あおば");
    // also after leaving the record and coming back.
    t.Next();
    EXPECT_EQ(field("使用者ふりがな"), "いとう");
    t.Prior();
    t.Edit();
    set("備考", "y");
    t.Post();
    EXPECT_EQ(field("自賠責機関"), "あおば");
    EXPECT_EQ(field("証明番号"), "A100");

    // A new certificate alone moves the pair too.
    t.Edit();
    set("自賠責証明番号", "B200");
    t.Post();
    EXPECT_EQ(field("自賠責機関"), "みなと");
    EXPECT_EQ(field("証明番号"), "A100");

    // A new record remembers nothing: its first insurer leaves empty history.
    t.Append();
    set("使用者ふりがな", "うえの");
    set("自賠責保険機関", "はやて");
    set("自賠責証明番号", "C300");
    t.Post();
    EXPECT_EQ(field("使用者ふりがな"), "うえの");
    EXPECT_EQ(field("自賠責機関"), "");
    EXPECT_EQ(field("証明番号"), "");
}

TEST_F(RecordBookTest, AFailedOrCancelledSaveKeepsTheRememberedInsurance)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"}},
          {{"使用者ふりがな", "あべ"}, {"自動車登録番号", "2"}, {"自賠責保険機関", "みなと"}}});
    load();
    Table& t = book->records();
    t.First();
    t.Edit();
    set("自賠責保険機関", "みなと");
    set("自動車登録番号", "2");  // the other record's key: refused
    EXPECT_THROW(t.Post(), DbError);
    t.Cancel();
    EXPECT_EQ(field("自賠責保険機関"), "あおば");
    // The cancelled insurer never reaches the history.
    t.Edit();
    set("自賠責保険機関", "はやて");
    t.Post();
    EXPECT_EQ(field("自賠責機関"), "あおば");
}

TEST_F(RecordBookTest, ABulkRestoreKeepsTheInsuranceHistory)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"}}});
    load();
    book->BulkRestoring = true;
    book->records().Edit();
    set("自賠責保険機関", "みなと");
    book->records().Post();
    EXPECT_EQ(field("自賠責機関"), "");
}

TEST_F(RecordBookTest, ASecondChangeOnTheSameRecordMovesTheFirstChangeIntoTheHistory)
{
    seed({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"},
           {"自賠責証明番号", "A100"}}});
    load();
    Table& t = book->records();
    t.Edit();
    set("自賠責保険機関", "みなと");
    t.Post();
    t.Edit();
    set("自賠責保険機関", "はやて");
    t.Post();
    EXPECT_EQ(field("自賠責保険機関"), "はやて");
    EXPECT_EQ(field("自賠責機関"), "みなと");
    EXPECT_EQ(field("証明番号"), "A100");
}

}  // namespace
