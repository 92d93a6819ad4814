#include "record_book/model/record_book.h"
#include "tests/components/table_fixture.h"
#include "tests/record_book/seed_records.h"

namespace {

using Pair = std::pair<std::string, std::string>;

// The record book on a database of its own, without a window.
class RecordBookTest : public TableTest {
protected:
    std::unique_ptr<RecordBook> book;

    // The book over the records given, put straight into the table.
    Table& load(const std::vector<Fields>& records)
    {
        seedTable(*db, "INDATA", records);
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
        return book->records();
    }

    void set(const Fields& fields)
    {
        for (auto [name, value] : fields)
            book->records().FieldByName(name).SetAsString(sj(value));
    }
    // The current record edited and saved through the book's hooks.
    void save(const Fields& fields)
    {
        book->records().Edit();
        set(fields);
        book->records().Post();
    }
    std::string field(const char* name) { return get(book->records(), name); }
    // The insurer and certificate number kept as the previous pair.
    Pair history() { return {field("自賠責機関"), field("証明番号")}; }
};

TEST_F(RecordBookTest, AChangedInsuranceMovesThePreviousPairIntoTheHistory)
{
    Table& t = load({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"},
                      {"自賠責証明番号", "A100"}},
                     {{"使用者ふりがな", "いとう"}, {"自動車登録番号", "2"}}});
    save({{"自賠責保険機関", "みなと"}});
    EXPECT_EQ(history(), Pair("あおば", "A100"));

    // Saving again without a change of insurance leaves the history, also
    // after leaving the record and coming back.
    save({{"備考", "x"}});
    EXPECT_EQ(history(), Pair("あおば", "A100"));
    t.Next();
    EXPECT_EQ(field("使用者ふりがな"), "いとう");
    t.Prior();
    save({{"備考", "y"}});
    EXPECT_EQ(history(), Pair("あおば", "A100"));

    // A new certificate alone moves the pair too.
    save({{"自賠責証明番号", "B200"}});
    EXPECT_EQ(history(), Pair("みなと", "A100"));

    // A new record remembers nothing: its first insurer leaves empty history.
    t.Append();
    set({{"使用者ふりがな", "うえの"}, {"自賠責保険機関", "はやて"}, {"自賠責証明番号", "C300"}});
    t.Post();
    EXPECT_EQ(field("使用者ふりがな"), "うえの");
    EXPECT_EQ(history(), Pair("", ""));
}

TEST_F(RecordBookTest, AFailedOrCancelledSaveKeepsTheRememberedInsurance)
{
    Table& t = load({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"}},
                     {{"使用者ふりがな", "あべ"}, {"自動車登録番号", "2"}, {"自賠責保険機関", "みなと"}}});
    t.First();
    t.Edit();
    set({{"自賠責保険機関", "みなと"}, {"自動車登録番号", "2"}});  // the other record's key: refused
    EXPECT_THROW(t.Post(), DbError);
    t.Cancel();
    EXPECT_EQ(field("自賠責保険機関"), "あおば");
    // The cancelled insurer never reaches the history.
    save({{"自賠責保険機関", "はやて"}});
    EXPECT_EQ(field("自賠責機関"), "あおば");
}

TEST_F(RecordBookTest, ABulkRestoreKeepsTheInsuranceHistory)
{
    load({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"}}});
    book->BulkRestoring = true;
    save({{"自賠責保険機関", "みなと"}});
    EXPECT_EQ(field("自賠責機関"), "");
}

TEST_F(RecordBookTest, ASecondChangeOnTheSameRecordMovesTheFirstChangeIntoTheHistory)
{
    load({{{"使用者ふりがな", "あべ"}, {"自動車登録番号", "1"}, {"自賠責保険機関", "あおば"},
           {"自賠責証明番号", "A100"}}});
    save({{"自賠責保険機関", "みなと"}});
    save({{"自賠責保険機関", "はやて"}});
    EXPECT_EQ(field("自賠責保険機関"), "はやて");
    EXPECT_EQ(history(), Pair("みなと", "A100"));
}

}  // namespace
