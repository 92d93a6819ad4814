#include "components/core/record_fields.h"
#include "tests/components/table_fixture.h"

#include <atomic>
#include <gmock/gmock.h>
#include <stdexcept>
#include <thread>

namespace {

const LocateOptions partial{true};

TEST_F(TableTest, NewDatabaseHasEveryTableAndAnIndexPerStandardField)
{
    auto t = open("INDATA.db");
    EXPECT_EQ(t->FieldCount(), 56);
    EXPECT_EQ(t->FieldDefinition(23).type, FieldType::WholeNumber);
    EXPECT_EQ(t->FieldDefinition(30).type, FieldType::Text);
    EXPECT_EQ(open("code.DB")->FieldCount(), 27);
    EXPECT_EQ(open("PostData.db")->FieldCount(), 2);
    EXPECT_EQ(open("Sort.db")->FieldCount(), 2);
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof());
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->RecNo(), 0);

    auto names = t->IndexNames();
    EXPECT_EQ(names.size(), std::size_t(kStandardFieldCount));
    for (int no = 1; no <= kStandardFieldCount; ++no)
        EXPECT_NE(std::find(names.begin(), names.end(), indexNameOfUtf8(recordField(no).name)), names.end()) << no;
    EXPECT_THROW(t->FieldByName("氏名"), DbError);
    EXPECT_THROW(t->Fields(56), DbError);
    EXPECT_THROW(Table(*db, "NoSuchTable"), DbError);
}

TEST_F(TableTest, BrowsingVisitsEveryRecordOnceAndSetsEofAndBofAsDocumented)
{
    auto t = open("INDATA");
    t->First();
    t->Next();
    t->Prior();
    t->Last();
    EXPECT_TRUE(t->Eof() && t->Bof());

    addRecord(*t, "さとう", "1");
    t->First();
    Texts seen;
    while (!t->Eof()) {
        seen.push_back(reading(*t));
        t->Next();
    }
    EXPECT_EQ(seen, Texts{"さとう"});

    addRecord(*t, "あべ", "2");
    addRecord(*t, "かとう", "3");
    EXPECT_EQ(t->RecordCount(), 3);
    t->First();
    EXPECT_TRUE(t->Bof());
    EXPECT_FALSE(t->Eof());
    seen.clear();
    while (!t->Eof()) {
        seen.push_back(reading(*t));
        t->Next();
    }
    EXPECT_EQ(seen, (Texts{"あべ", "かとう", "さとう"}));
    EXPECT_EQ(t->RecNo(), 3);  // Next past the end stays on the last record
    EXPECT_EQ(reading(*t), "さとう");

    t->Last();
    EXPECT_TRUE(t->Eof());
    EXPECT_FALSE(t->Bof());
    seen.clear();
    while (!t->Bof()) {
        seen.push_back(reading(*t));
        t->Prior();
    }
    EXPECT_EQ(seen, (Texts{"さとう", "かとう", "あべ"}));
    EXPECT_EQ(t->RecNo(), 1);
    t->Prior();
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(t->RecNo(), 1);
    t->Next();
    EXPECT_FALSE(t->Bof() || t->Eof());
    EXPECT_EQ(t->RecNo(), 2);

    t->SetRecNo(3);
    EXPECT_EQ(reading(*t), "さとう");
    EXPECT_FALSE(t->Eof());
    t->SetRecNo(0);
    t->SetRecNo(4);
    EXPECT_EQ(t->RecNo(), 3);
}

TEST_F(TableTest, NewRecordHasNoNumberUntilPosted)
{
    auto t = open("INDATA");
    t->Edit();  // on an empty table: a new record
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(t->RecNo(), -1);
    set(*t, "使用者ふりがな", "かとう");
    t->Post();
    t->Insert();
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(t->RecNo(), -1);
    EXPECT_EQ(t->currentPosition(), -1);
    EXPECT_EQ(t->RecordCount(), 1);
    EXPECT_EQ(reading(*t), "");
    EXPECT_FALSE(t->Modified());
    set(*t, "使用者ふりがな", "あべ");
    EXPECT_TRUE(t->Modified());
    t->Post();
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_THROW(set(*t, "使用者", "x"), DbError);  // browse state
}

TEST_F(TableTest, MovingPostsAModifiedRecordAndDropsAnUntouchedOne)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    addRecord(*t, "かとう", "2");
    int posts = 0;
    t->BeforePost = [&](Table&) { ++posts; };

    t->Append();
    t->First();
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(t->RecordCount(), 2);

    t->Edit();
    t->Next();
    EXPECT_EQ(posts, 0);  // an untouched edit writes nothing

    t->Append();
    set(*t, "使用者ふりがな", "さとう");
    t->First();
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_EQ(reading(*t), "あべ");

    t->Edit();
    set(*t, "電話番号", "03");
    t->Last();
    t->First();
    EXPECT_EQ(get(*t, "電話番号"), "03");

    t->Append();
    set(*t, "使用者ふりがな", "いとう");
    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("かとう")}));
    EXPECT_EQ(t->RecordCount(), 4);

    t->Append();
    set(*t, "使用者ふりがな", "うえの");
    t->Append();
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(t->RecordCount(), 5);
    t->Cancel();
    EXPECT_EQ(reading(*t), "うえの");
    EXPECT_EQ(posts, 4);
    EXPECT_EQ(column(*t), (Texts{"あべ", "いとう", "うえの", "かとう", "さとう"}));
}

TEST_F(TableTest, PostKeepsThePostedRecordCurrentInItsPlace)
{
    auto t = open("INDATA");
    addRecord(*t, "さとう", "3");
    EXPECT_EQ(t->RecNo(), 1);
    addRecord(*t, "あべ", "1");
    EXPECT_EQ(t->RecNo(), 1);
    addRecord(*t, "かとう", "2");
    EXPECT_EQ(t->RecNo(), 2);

    t->First();
    t->Edit();
    set(*t, "使用者ふりがな", "わだ");
    t->Post();
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(reading(*t), "わだ");
    EXPECT_EQ(column(*t), (Texts{"かとう", "さとう", "わだ"}));

    // Under a secondary order the record moves by that order.
    t->SetIndexName(indexNameOfUtf8("自動車登録番号"));
    EXPECT_EQ(t->RecNo(), 1);  // わだ, number 1, stays current
    t->Edit();
    set(*t, "自動車登録番号", "4");
    t->Post();
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_EQ(column(*t), (Texts{"かとう", "さとう", "わだ"}));

    // Records with equal keys keep the order they were added in, also when
    // one of them is edited.
    auto s = open("Sort");
    for (const char* pair : {"b1", "a2", "b3"})
        s->AppendRecord({sj(std::string(1, pair[0])), sj(std::string(1, pair[1]))});
    EXPECT_EQ(column(*s, "項目2"), (Texts{"2", "1", "3"}));
    s->SetRecNo(2);
    s->Edit();
    set(*s, "項目2", "9");
    s->Post();
    EXPECT_EQ(s->RecNo(), 2);
    EXPECT_EQ(column(*s, "項目2"), (Texts{"2", "9", "3"}));
}

TEST_F(TableTest, DuplicateKeyIsRefusedAndTheTypedValuesStay)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    addRecord(*t, "かとう", "2");
    t->Append();
    set(*t, "使用者ふりがな", "あべ");
    set(*t, "自動車登録番号", "1");
    try {
        t->Post();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("キー違反です。"));
    }
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(t->RecNo(), -1);
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_THROW(t->Next(), DbError);  // moving posts, and fails the same way
    EXPECT_EQ(t->state(), Table::State::Insert);
    set(*t, "自動車登録番号", "9");  // mended
    t->Post();
    EXPECT_EQ(t->RecordCount(), 3);

    // An edit that collides with another record.
    t->Locate("使用者ふりがな", {sj("かとう")});
    t->Edit();
    set(*t, "使用者ふりがな", "あべ");
    set(*t, "自動車登録番号", "1");
    EXPECT_THROW(t->Post(), DbError);
    EXPECT_EQ(t->state(), Table::State::Edit);
    EXPECT_EQ(reading(*t), "あべ");
    t->Cancel();
    EXPECT_EQ(reading(*t), "かとう");
    EXPECT_EQ(column(*t), (Texts{"あべ", "あべ", "かとう"}));
}

// A value longer than the engine stores is a refused record that says so,
// and a message quotes only the start of a long value.
TEST_F(TableTest, AValueTooLongIsRefusedForWhatItIs)
{
    auto t = open("INDATA");
    sqlite3_limit(db->handle(), SQLITE_LIMIT_LENGTH, 1000);
    const std::tuple<const char*, std::size_t, QString> cases[] = {
        {"使用者ふりがな", 2000, QStringLiteral("値が長すぎます（2000 バイト、1000 バイトまで）。")},
        {"乗車定員", 61, "「" + QString(60, QLatin1Char('x')) + "…」"},
        {"乗車定員", 60, "「" + QString(60, QLatin1Char('x')) + "」"},
    };
    t->Append();
    for (const auto& [field, size, part] : cases) {
        set(*t, field, std::string(size, 'x').c_str());
        EXPECT_THAT([&] { t->Post(); }, testing::Throws<DbError>(testing::Truly([&](const DbError& e) {
                        return isRecordRefusal(e) && e.message().contains(part);
                    })));
    }
}

TEST_F(TableTest, NonNumberInWholeNumberFieldIsRefusedBeforeAnythingHappens)
{
    auto t = open("INDATA");
    int hooks = 0;
    t->BeforePost = [&](Table&) { ++hooks; };
    t->AfterPost = [&](Table&) { ++hooks; };
    t->Append();
    set(*t, "使用者ふりがな", "あべ");
    for (const char* bad : {"abc", "1.5", "５", "1 2", "-", "12345678901234567890"}) {
        set(*t, "乗車定員", bad);
        try {
            t->Post();
            FAIL() << bad;
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("乗車定員"))) << e.what();
        }
        EXPECT_EQ(get(*t, "乗車定員"), bad);
    }
    EXPECT_EQ(hooks, 0);
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA"), 0);

    set(*t, "乗車定員", " 5 ");
    set(*t, "車両重量", "-20");
    t->Post();
    EXPECT_EQ(hooks, 2);
    EXPECT_EQ(t->FieldByName("乗車定員").AsInteger(), 5);
    EXPECT_EQ(get(*t, "乗車定員"), "5");
    EXPECT_EQ(t->FieldByName("車両重量").AsInteger(), -20);
    EXPECT_EQ(t->FieldByName("定員").AsInteger(), 0);  // blank
    EXPECT_EQ(get(*t, "定員"), "");
    EXPECT_THROW(t->FieldByName("使用者ふりがな").AsInteger(), DbError);
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA WHERE 定員 IS NULL AND typeof(乗車定員) = 'integer'"), 1);

    t->Edit();
    set(*t, "乗車定員", "x");
    EXPECT_THROW(t->Post(), DbError);
    EXPECT_EQ(t->state(), Table::State::Edit);
    EXPECT_EQ(scalar("SELECT 乗車定員 FROM INDATA"), 5);
}

TEST_F(TableTest, FailingBeforePostLeavesTheRecordUnsaved)
{
    auto t = open("INDATA");
    t->BeforePost = [](Table& r) {
        r.FieldByName("使用者").SetAsString(sj("山田"));
        throw std::runtime_error("stop");
    };
    t->Append();
    set(*t, "使用者ふりがな", "やまだ");
    EXPECT_THROW(t->Post(), std::runtime_error);
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(reading(*t), "やまだ");
    EXPECT_EQ(get(*t, "使用者"), "山田");
    EXPECT_EQ(t->RecordCount(), 0);
    t->BeforePost = nullptr;
    t->Post();
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(TableTest, CancelDropsTheChangesOrTheNewRecord)
{
    auto t = open("INDATA");
    t->Append();
    set(*t, "使用者ふりがな", "あべ");
    t->Cancel();
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof() && t->Bof());
    EXPECT_EQ(t->state(), Table::State::Browse);

    addRecord(*t, "あべ", "1");
    addRecord(*t, "かとう", "2");
    addRecord(*t, "さとう", "3");
    int scrolls = 0;
    t->AfterScroll = [&](Table&) { ++scrolls; };

    t->Last();
    scrolls = 0;
    t->Edit();
    set(*t, "使用者ふりがな", "ああ");
    t->Cancel();
    EXPECT_EQ(reading(*t), "さとう");
    EXPECT_EQ(t->RecNo(), 3);
    EXPECT_TRUE(t->Eof());  // not a move
    EXPECT_EQ(scrolls, 0);

    t->SetRecNo(2);
    scrolls = 0;
    t->Append();
    set(*t, "使用者ふりがな", "ああ");
    t->Cancel();
    EXPECT_EQ(reading(*t), "かとう");
    EXPECT_EQ(t->RecNo(), 2);
    EXPECT_EQ(scrolls, 2);  // onto the new record and back
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA"), 3);
}

TEST_F(TableTest, DeleteMakesTheNextOrThePreviousRecordCurrent)
{
    auto t = open("INDATA");
    EXPECT_THROW(t->Delete(), DbError);
    for (const char* r : {"あ", "い", "う", "え"})
        addRecord(*t, r, "1");
    t->SetRecNo(2);
    t->Delete();
    EXPECT_EQ(reading(*t), "う");
    EXPECT_EQ(t->RecNo(), 2);
    t->Last();
    t->Delete();
    EXPECT_EQ(reading(*t), "う");
    EXPECT_EQ(t->RecNo(), 2);
    EXPECT_FALSE(t->Eof());

    t->Edit();
    set(*t, "使用者ふりがな", "ん");
    t->Delete();  // the edit goes with the record
    EXPECT_EQ(reading(*t), "あ");
    t->Append();
    t->Delete();  // a new record is cancelled
    EXPECT_EQ(t->RecordCount(), 1);
    EXPECT_EQ(reading(*t), "あ");
    t->Delete();
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_TRUE(t->Eof() && t->Bof());
    EXPECT_EQ(t->RecNo(), 0);
    EXPECT_EQ(reading(*t), "");
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA"), 0);
}

TEST_F(TableTest, EmptyingByDeleteUntilEofWithAHookThatStartsANewRecord)
{
    auto t = open("INDATA");
    for (int i = 0; i < 5; ++i)
        addRecord(*t, "あ", std::to_string(i).c_str());
    // The record book starts a new record when it lands on an empty table.
    int scrolls = 0;
    t->AfterScroll = [&](Table& r) {
        ++scrolls;
        if (r.RecNo() != -1 && r.IsEmpty())
            r.Append();
    };
    t->First();
    int deleted = 0;
    while (!t->Eof()) {
        t->Delete();
        ++deleted;
    }
    EXPECT_EQ(deleted, 5);
    EXPECT_TRUE(t->IsEmpty());
    EXPECT_EQ(t->state(), Table::State::Insert);
    EXPECT_EQ(t->RecNo(), -1);
    EXPECT_EQ(scrolls, 1 + 5 + 1);  // First, each delete, the new record
    set(*t, "使用者ふりがな", "い");
    t->Post();
    EXPECT_EQ(t->RecNo(), 1);
}

TEST_F(TableTest, AppendRecordLeavesMissingAndNullValuesEmpty)
{
    auto t = open("INDATA");
    t->AppendRecord({sj("あべ"), std::nullopt, sj("阿部")});
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_EQ(get(*t, "電話番号"), "");
    EXPECT_EQ(get(*t, "使用者"), "阿部");
    EXPECT_EQ(get(*t, "メモ"), "");

    std::vector<std::optional<SjisString>> all(60, sj("1"));  // more values than fields
    all[0] = sj("かとう");
    t->AppendRecord(all);
    EXPECT_EQ(get(*t, "メモ"), "1");
    EXPECT_EQ(t->FieldByName("総重量").AsInteger(), 1);

    t->First();
    EXPECT_THROW(t->AppendRecord({sj("あべ"), std::nullopt, sj("阿部")}), DbError);
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_EQ(t->RecordCount(), 2);
    all[0] = sj("さとう");
    all[25] = sj("x");
    EXPECT_THROW(t->AppendRecord(all), DbError);
    EXPECT_EQ(t->RecordCount(), 2);
}

TEST_F(TableTest, AfterScrollRunsOncePerRealMove)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    addRecord(*t, "かとう", "2");
    addRecord(*t, "さとう", "3");
    int n = 0;
    t->AfterScroll = [&](Table&) { ++n; };
    t->First();
    EXPECT_EQ(n, 1);
    t->First();
    t->Prior();
    t->SetRecNo(1);
    EXPECT_EQ(n, 1);
    t->Next();
    t->Last();
    EXPECT_EQ(n, 3);
    t->Next();
    t->Last();
    EXPECT_EQ(n, 3);

    t->Edit();
    set(*t, "電話番号", "03");
    t->Post();
    t->Edit();
    t->Cancel();
    EXPECT_EQ(n, 3);
    t->Edit();
    set(*t, "使用者ふりがな", "あ");  // moves to the front when posted
    t->Post();
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(n, 3);

    t->Append();
    EXPECT_EQ(n, 4);
    set(*t, "使用者ふりがな", "わだ");
    t->Post();
    EXPECT_EQ(n, 4);

    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("わだ")}));
    EXPECT_EQ(n, 4);
    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("かとう")}));
    EXPECT_EQ(n, 5);
    EXPECT_FALSE(t->Locate("使用者ふりがな", {sj("ん")}));
    EXPECT_EQ(n, 5);
    t->SetIndexName(indexNameOfUtf8("自動車登録番号"));  // the current record stays
    t->Refresh();
    EXPECT_EQ(n, 5);
    t->Delete();
    EXPECT_EQ(n, 6);
    t->Close();
    t->Open();
    EXPECT_EQ(n, 7);
}

TEST_F(TableTest, AfterPostMayLocateInTheSameTable)
{
    auto t = open("INDATA");
    addRecord(*t, "かとう", "123", "A");
    addRecord(*t, "さとう", "1");
    int scrolls = 0;
    t->AfterScroll = [&](Table&) { ++scrolls; };
    // The record book finds the saved record again by the beginnings of its
    // reading and number.
    t->AfterPost = [](Table& r) {
        r.Locate("使用者ふりがな;自動車登録番号",
                 {r.FieldByName("使用者ふりがな").AsString(), r.FieldByName("自動車登録番号").AsString()}, partial);
    };
    addRecord(*t, "かとう", "12", "B");  // sorts after かとう/123/A, which begins alike
    EXPECT_EQ(get(*t, "使用者"), "A");
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(t->state(), Table::State::Browse);
    EXPECT_EQ(scrolls, 2);  // the new record, then the located one

    scrolls = 0;
    t->Last();
    t->Edit();
    set(*t, "電話番号", "0");
    t->Post();  // finds itself
    EXPECT_EQ(reading(*t), "さとう");
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(t->RecordCount(), 3);
}

TEST_F(TableTest, BeforePostMayDriveAnotherTableAndCatchItsKeyViolation)
{
    auto t = open("INDATA");
    auto code = open("code.DB");
    // Learns the model of a record into the specification table: append,
    // and on a key violation update what sorts after the stored value.
    t->BeforePost = [&](Table& r) {
        SjisString a = r.FieldByName("自動車型式指定番号").AsString();
        SjisString b = r.FieldByName("類別区分番号").AsString();
        SjisString model = r.FieldByName("型式").AsString();
        SjisString riders = r.FieldByName("乗車定員").AsString();
        if (a.empty() || b.empty())
            return;
        try {
            std::vector<std::optional<SjisString>> values(27);
            values[0] = a, values[1] = b, values[2] = model, values[12] = riders;
            code->AppendRecord(values);
        } catch (const DbError&) {
            if (!code->Locate("自動車型式指定番号;類別区分番号", {a, b}, partial))
                return;
            code->Edit();
            if (model > code->FieldByName("型式").AsString()) {
                code->FieldByName("型式").SetAsString(model);
                code->Post();
            } else {
                code->Cancel();
            }
        }
    };
    auto save = [&](const char* reading, const char* model) {
        t->Append();
        set(*t, "使用者ふりがな", reading);
        set(*t, "自動車型式指定番号", "１２３４５");
        set(*t, "類別区分番号", "０００１");
        set(*t, "型式", model);
        set(*t, "乗車定員", "5");
        t->Post();
    };
    save("あ", "ABC");
    save("い", "ABD");
    save("う", "AAA");
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_EQ(code->RecordCount(), 1);
    EXPECT_EQ(code->state(), Table::State::Browse);
    EXPECT_EQ(get(*code, "型式"), "ABD");
    EXPECT_EQ(get(*code, "乗車定員"), "5");
}

TEST_F(TableTest, PartialLocateNeedsEveryFieldToBeginWithItsValue)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "12");
    addRecord(*t, "あべこ", "3");
    addRecord(*t, "かとう", "30");
    t->First();
    const char* keys = "使用者ふりがな;自動車登録番号";
    EXPECT_TRUE(t->Locate(keys, {sj("あべ"), sj("3")}, partial));
    EXPECT_EQ(reading(*t), "あべこ");
    EXPECT_FALSE(t->Locate(keys, {sj("あべこ"), sj("1")}, partial));
    EXPECT_EQ(reading(*t), "あべこ");  // a miss leaves the current record
    EXPECT_TRUE(t->Locate(keys, {sj("あ"), sj("1")}, partial));
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_FALSE(t->Locate(keys, {sj("あ"), sj("1")}));  // whole values
    EXPECT_TRUE(t->Locate(keys, {sj("かとう"), sj("30")}));
    EXPECT_TRUE(t->Locate(keys, {sj(""), sj("")}, partial));  // empty values match anything
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_FALSE(t->Locate("使用者", {sj("x")}));
    EXPECT_TRUE(t->Locate("使用者", {sj("")}));
    EXPECT_THROW(t->Locate("氏名", {sj("x")}), DbError);
}

TEST_F(TableTest, LocateOnWholeNumberFields)
{
    auto t = open("INDATA");
    for (auto [r, n] : {std::pair{"あ", "125"}, {"い", "12"}, {"う", "-3"}, {"え", ""}}) {
        t->Append();
        set(*t, "使用者ふりがな", r);
        set(*t, "乗車定員", n);
        t->Post();
    }
    EXPECT_TRUE(t->Locate("乗車定員", {sj("12")}));
    EXPECT_EQ(reading(*t), "い");
    EXPECT_TRUE(t->Locate("乗車定員", {sj(" 125")}));
    EXPECT_EQ(reading(*t), "あ");
    EXPECT_TRUE(t->Locate("乗車定員", {sj("")}));  // blank
    EXPECT_EQ(reading(*t), "え");
    EXPECT_TRUE(t->Locate("乗車定員", {sj("12")}, partial));  // by the decimal text
    EXPECT_EQ(reading(*t), "あ");
    EXPECT_TRUE(t->Locate("乗車定員", {sj("-")}, partial));
    EXPECT_EQ(reading(*t), "う");
    EXPECT_FALSE(t->Locate("乗車定員", {sj("4")}, partial));
    EXPECT_THROW(t->Locate("乗車定員", {sj("abc")}), DbError);
}

TEST_F(TableTest, LocateFollowsTheActiveOrderAndTheFilter)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "2");
    addRecord(*t, "あらい", "1");
    addRecord(*t, "いとう", "3");
    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("あ")}, partial));
    EXPECT_EQ(reading(*t), "あべ");
    t->SetIndexName(indexNameOfUtf8("自動車登録番号"));
    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("あ")}, partial));
    EXPECT_EQ(reading(*t), "あらい");
    EXPECT_EQ(t->RecNo(), 1);

    t->SetFilter(sj("(使用者ふりがな = 'あべ*') or (使用者ふりがな = 'い*')"));
    t->SetFiltered(true);
    EXPECT_TRUE(t->Locate("自動車登録番号", {sj("3")}));
    EXPECT_FALSE(t->Locate("使用者ふりがな", {sj("あらい")}));
    EXPECT_EQ(reading(*t), "いとう");
    EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("あ")}, partial));
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_EQ(t->RecNo(), 1);
}

TEST_F(TableTest, IndexNameSelectsTheIndexNamedByTheRule)
{
    auto t = open("INDATA");
    auto add = [&](const char* r, const char* width, const char* until, const char* chassis) {
        t->Append();
        set(*t, "使用者ふりがな", r);
        set(*t, "幅", width);
        set(*t, "自賠責期間至", until);
        set(*t, "車台番号", chassis);
        t->Post();
    };
    add("あ", "169", "平成１２年", "C");
    add("い", "148", "平成１０年", "A");
    add("う", "170", "平成１１年", "B");
    t->Locate("使用者ふりがな", {sj("い")});

    t->SetIndexName("はば");
    EXPECT_EQ(t->IndexName(), "はば");
    EXPECT_EQ(column(*t), (Texts{"い", "あ", "う"}));
    EXPECT_EQ(reading(*t), "い");  // the current record stays
    EXPECT_EQ(t->RecNo(), 1);
    t->SetIndexName(indexNameOfUtf8("自賠責期間至"));
    EXPECT_EQ(t->IndexName(), "賠責期間至");
    EXPECT_EQ(column(*t), (Texts{"い", "う", "あ"}));
    t->SetIndexName(indexNameOfUtf8("車台番号"));
    EXPECT_EQ(t->IndexName(), "車台番");
    EXPECT_EQ(column(*t), (Texts{"い", "う", "あ"}));
    t->Last();

    for (const char* unknown : {"車台番号", "幅", "nothing"}) {
        EXPECT_THROW(t->SetIndexName(unknown), DbError) << unknown;
        EXPECT_EQ(t->IndexName(), "車台番");
        EXPECT_EQ(column(*t), (Texts{"い", "う", "あ"}));
        EXPECT_EQ(reading(*t), "あ");
    }
    t->SetIndexName("");
    EXPECT_EQ(t->IndexName(), "");
    EXPECT_EQ(column(*t), (Texts{"あ", "い", "う"}));
    EXPECT_EQ(t->RecNo(), 1);
}

TEST_F(TableTest, IndexFieldNamesOrdersByTheNamedFields)
{
    auto t = open("INDATA");
    addRecord(*t, "あ", "2", "B");
    addRecord(*t, "い", "1", "A");
    addRecord(*t, "う", "1", "B");
    t->SetIndexFieldNames("使用者;自動車登録番号");
    EXPECT_EQ(column(*t), (Texts{"い", "う", "あ"}));
    t->Append();
    set(*t, "使用者ふりがな", "え");
    set(*t, "使用者", "A");
    t->Post();
    EXPECT_EQ(t->RecNo(), 1);  // blank number sorts first
    EXPECT_THROW(t->SetIndexFieldNames("使用者;氏名"), DbError);
    EXPECT_EQ(column(*t), (Texts{"え", "い", "う", "あ"}));
    t->SetIndexFieldNames("");
    EXPECT_EQ(column(*t), (Texts{"あ", "い", "う", "え"}));
    t->SetIndexFieldNames(recordPrimaryKey());
    EXPECT_EQ(column(*t), (Texts{"あ", "い", "う", "え"}));
}

TEST_F(TableTest, TextSortsInShiftJisByteOrder)
{
    auto t = open("INDATA");
    // Byte order puts katakana (0x83..) after hiragana (0x82..), and the
    // half-width katakana (single bytes 0xA1-0xDF) between the kanji led by
    // 0x88-0x9F and those led by 0xE0 and above (腕 0x9872, 熙 0xEAA4).
    for (const char* r : {"熙", "ｱ", "腕", "亜", "ア", "あ", "A", "", "あい"})
        addRecord(*t, r, "1");
    EXPECT_EQ(column(*t), (Texts{"", "A", "あ", "あい", "ア", "亜", "腕", "ｱ", "熙"}));
    t->SetFilter(sj("(使用者ふりがな >= 'ア') and (使用者ふりがな <= 'ｱ')"));
    t->SetFiltered(true);
    EXPECT_EQ(column(*t), (Texts{"ア", "亜", "腕", "ｱ"}));
}

TEST_F(TableTest, BytesSurviveUntouched)
{
    auto t = open("INDATA");
    // ソ and 表 end in 0x5C; 0xFD-0xFF and a lone lead byte are no CP932;
    // a NUL byte inside.
    const SjisString odd = std::string("\x83\x5C\x95\x5C\\\xFD\xFE\xFF\x00z\x81", 11);
    t->Append();
    set(*t, "使用者ふりがな", "あ");
    t->FieldByName("使用者").SetAsString(odd);
    t->FieldByName("備考").SetAsString("\r\n\x81\x40 ");
    t->Post();
    t->Close();
    t->Open();
    EXPECT_EQ(t->FieldByName("使用者").AsString(), odd);
    EXPECT_EQ(t->FieldByName("備考").AsString(), "\r\n\x81\x40 ");
    t->First();
    EXPECT_TRUE(t->Locate("使用者", {odd}));
    EXPECT_TRUE(t->Locate("使用者", {odd.substr(0, 2)}, partial));
    t->SetFilter(sj("(使用者 = '") + odd.substr(0, 6) + "*')");
    t->SetFiltered(true);
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(TableTest, EmptyTextIsAValueSoBlankRecordsCollideOnTheKey)
{
    auto t = open("INDATA");
    t->Append();
    set(*t, "使用者ふりがな", "");  // modified, yet every field blank
    t->Post();
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA WHERE 使用者ふりがな IS NULL OR 所有者 IS NULL"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA WHERE typeof(使用者) = 'blob' AND length(使用者) = 0"), 1);
    EXPECT_THROW(t->AppendRecord({}), DbError);
    EXPECT_EQ(t->RecordCount(), 1);
}

TEST_F(TableTest, HandMadeRecordTableWith47FieldsOpens)
{
    const QString path = dir.filePath("hand.sqlite3");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
        std::string sql = "CREATE TABLE INDATA (";
        for (int no = 1; no <= kStandardFieldCount; ++no)
            sql += std::string(no > 1 ? ", " : "") + quoteIdentifier(recordField(no).name) +
                   (recordField(no).wholeNumber ? " INTEGER" : " TEXT");
        sql += ")";
        ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    Database hand(path);
    Table t(hand, "INDATA.db");
    t.Open();
    EXPECT_EQ(t.FieldCount(), kStandardFieldCount);
    EXPECT_EQ(t.FieldDefinition(23).type, FieldType::WholeNumber);
    EXPECT_EQ(t.FieldIndex("メモ"), -1);
    EXPECT_THROW(t.FieldByName("メモ"), DbError);
    addRecord(t, "かとう", "2");
    addRecord(t, "あべ", "1");
    EXPECT_EQ(column(t), (Texts{"あべ", "かとう"}));
    t.SetIndexFieldNames("自動車登録番号");
    EXPECT_EQ(column(t), (Texts{"あべ", "かとう"}));
    // The sort indexes it never had are built when a sort first asks.
    const auto names = t.IndexNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "はば"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "メ"), names.end());
    t.SetIndexName("型");
    Statement made = hand.prepare("SELECT count(*) FROM sqlite_master WHERE name = 'INDATA$型'");
    ASSERT_TRUE(made.step());
    EXPECT_EQ(made.columnInt(0), 1);
    EXPECT_THROW(t.SetIndexName("メ"), DbError);
    EXPECT_EQ(t.IndexName(), "型");
}

TEST_F(TableTest, ARestoreReplacingAllLeavesSortIndexesToTheFirstSort)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    {
        Table::Bulk bulk(*t, Table::Bulk::Mode::ReplaceAll);
        EXPECT_EQ(t->RecordCount(), 0);
        addRecord(*t, "さとう", "2");
        addRecord(*t, "かとう", "3");
        bulk.commit();
    }
    EXPECT_EQ(column(*t), (Texts{"かとう", "さとう"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_master WHERE name = 'INDATA$車台番'"), 0);
    t->SetIndexName("車台番");
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_master WHERE name = 'INDATA$車台番'"), 1);
    {
        Table::Bulk bulk(*t, Table::Bulk::Mode::ReplaceAll);
        addRecord(*t, "たなか", "4");
    }  // no commit: everything stays
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_master WHERE name = 'INDATA$車台番'"), 1);
}

TEST_F(TableTest, BulkCommitsEverythingOrNothing)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    addRecord(*t, "かとう", "2");
    {
        Table::Bulk bulk(*t);
        t->AppendRecord({sj("さとう")});
        EXPECT_THROW(t->AppendRecord({sj("あべ"), {}, {}, {}, sj("1")}), DbError);
        t->AppendRecord({sj("いとう")});
        bulk.commit();
    }
    EXPECT_EQ(column(*t), (Texts{"あべ", "いとう", "かとう", "さとう"}));
    EXPECT_EQ(reading(*t), "いとう");
    EXPECT_EQ(t->RecNo(), 2);

    // An after-post hook that finds the record again does not rebuild the
    // view for every record: it is rebuilt once, at the end.
    t->AfterPost = [](Table& r) { r.Locate("使用者ふりがな", {r.FieldByName("使用者ふりがな").AsString()}); };
    int rebuilt = 0;
    QObject::connect(t.get(), &Table::dataSetChanged, [&] { ++rebuilt; });
    {
        Table::Bulk bulk(*t);
        for (const char* r : {"う", "え", "お"})
            t->AppendRecord({sj(r)});
        EXPECT_EQ(reading(*t), "お");
        EXPECT_TRUE(t->Locate("使用者ふりがな", {sj("え")}));
        EXPECT_EQ(reading(*t), "え");
        EXPECT_EQ(rebuilt, 0);
        bulk.commit();
    }
    EXPECT_EQ(rebuilt, 1);
    EXPECT_EQ(reading(*t), "え");
    EXPECT_EQ(t->RecNo(), 4);
    EXPECT_EQ(t->RecordCount(), 7);
    t->AfterPost = nullptr;

    t->First();
    {
        Table::Bulk bulk(*t);
        t->EmptyTable();
        t->AppendRecord({sj("わだ")});
        t->AppendRecord({sj("をの")});
    }
    EXPECT_EQ(column(*t), (Texts{"あべ", "いとう", "う", "え", "お", "かとう", "さとう"}));
    EXPECT_EQ(scalar("SELECT count(*) FROM INDATA"), 7);
    EXPECT_EQ(reading(*t), "あべ");
    EXPECT_EQ(t->RecNo(), 1);
    t->Next();
    EXPECT_EQ(reading(*t), "いとう");
}

TEST_F(TableTest, TwoProgramsCreatingTheDatabaseAtOnceBothOpenIt)
{
    for (int round = 0; round < 20; ++round) {
        const QString path = dir.filePath(QStringLiteral("race%1.sqlite3").arg(round));
        std::atomic<bool> go{false};
        std::atomic<int> failures{0};
        auto start = [&] {
            while (!go) {
            }
            try {
                openSharedDatabase(path);
            } catch (const DbError& e) {
                ADD_FAILURE() << e.what();
                ++failures;
            }
        };
        std::thread a(start), b(start);
        go = true;
        a.join();
        b.join();
        ASSERT_EQ(failures, 0) << round;
    }
}

TEST_F(TableTest, AMoveThatFindsNothingClearsTheOtherEndsFlag)
{
    auto t = open("INDATA");
    addRecord(*t, "あ", "1");
    t->First();
    EXPECT_TRUE(t->Bof());
    t->Next();
    EXPECT_TRUE(t->Eof());
    EXPECT_FALSE(t->Bof());
    t->Prior();
    EXPECT_TRUE(t->Bof());
    EXPECT_FALSE(t->Eof());
    int changes = 0;
    QObject::connect(t.get(), &Table::recordChanged, [&] { ++changes; });
    t->Prior();
    EXPECT_EQ(changes, 1);  // bound navigators learn the final flags
}

TEST_F(TableTest, AFilterCopesWithRowIdsFarApart)
{
    auto t = open("INDATA");
    addRecord(*t, "あべ", "1");
    db->exec("INSERT INTO INDATA (rowid, \"使用者ふりがな\") VALUES (4611686018427387904, x'82a9')");  // か
    db->exec("INSERT INTO INDATA (rowid, \"使用者ふりがな\") VALUES (-5, x'82a0')");                   // あ
    t->Refresh();
    t->SetFilter(sj("(使用者ふりがな = 'か*')"));
    t->SetFiltered(true);
    EXPECT_EQ(column(*t), (Texts{"か"}));
    t->SetFilter(sj("(使用者ふりがな = 'あ*')"));
    EXPECT_EQ(column(*t), (Texts{"あ", "あべ"}));
}

}  // namespace
