// Two programs on one book: two connections to one database file, each
// with its own table.
#include "tests/components/table_fixture.h"

#include <QString>
#include <functional>
#include <thread>

namespace {

class TwoProgramsTest : public TableTest {
protected:
    std::unique_ptr<Database> otherDb;
    std::unique_ptr<Table> a;  // this program
    std::unique_ptr<Table> b;  // the other program

    void SetUp() override
    {
        TableTest::SetUp();
        otherDb = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
        a = open("INDATA");
        b = std::make_unique<Table>(*otherDb, "INDATA");
        b->Open();
    }

    void fill(Table& t, const Texts& readings)
    {
        for (std::size_t i = 0; i < readings.size(); ++i)
            addRecord(t, readings[i].c_str(), std::to_string(i + 1).c_str());
    }

    // The other program, on the record with this reading.
    Table& otherOn(const char* readingText)
    {
        b->Refresh();
        EXPECT_TRUE(b->Locate("使用者ふりがな", {sj(readingText)})) << readingText;
        return *b;
    }

    void otherSets(const char* readingText, const char* field, const char* value)
    {
        otherOn(readingText).Edit();
        set(*b, field, value);
        b->Post();
    }

    std::string stored(const char* readingText, const char* field)
    {
        Statement s = db->prepare("SELECT CAST(\"" + std::string(field) +
                                  "\" AS BLOB) FROM INDATA WHERE \"使用者ふりがな\" = ?");
        s.bindBlob(1, sj(readingText));
        return s.step() ? sjis::toUtf8(s.columnBytes(0)) : "<none>";
    }

    static QString failure(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const DbError& e) {
            return e.message();
        }
        return {};
    }
};

// The row id that A's view remembers names another record after the other
// program deleted and appended, or restored the whole table.
TEST_F(TwoProgramsTest, APostOrDeleteNeverLandsOnTheRecordThatTookTheRowId)
{
    const struct {
        const char* name;
        bool restore, deleting;
    } cases[] = {
        {"delete and append, then post", false, false},
        {"delete and append, then delete", false, true},
        {"restore, then post", true, false},
        {"restore, then delete", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        a->EmptyTable();
        fill(*a, {"あ", "い", "う"});
        a->Locate("使用者ふりがな", {sj(c.restore ? "あ" : "う")});
        const long long row = scalar("SELECT rowid FROM INDATA WHERE \"自動車登録番号\" = x'" +
                                     std::string(c.restore ? "31" : "33") + "'");
        if (c.restore) {
            b->Refresh();
            Table::Bulk bulk(*b, Table::Bulk::Mode::ReplaceAll);
            fill(*b, {"か", "き"});
            bulk.commit();
        } else {
            otherOn("う").Delete();
            addRecord(*b, "え", "9");
        }
        const char* other = c.restore ? "か" : "え";
        ASSERT_EQ(scalar("SELECT count(*) FROM INDATA WHERE rowid = " + std::to_string(row) +
                         " AND \"使用者ふりがな\" = x'" + (c.restore ? "82a9" : "82a6") + "'"),
                  1);
        const long long count = scalar("SELECT count(*) FROM INDATA");

        const QString message = failure([&] {
            if (c.deleting) {
                a->Delete();
            } else {
                a->Edit();
                set(*a, "車名", "ほしい");
                a->Post();
            }
        });
        EXPECT_TRUE(message.startsWith(QStringLiteral("レコードが見つかりません"))) << message.toStdString();
        EXPECT_EQ(a->state(), c.deleting ? Table::State::Browse : Table::State::Edit);
        EXPECT_EQ(get(*a, "車名"), c.deleting ? "" : "ほしい");
        EXPECT_EQ(scalar("SELECT count(*) FROM INDATA"), count);
        EXPECT_EQ(stored(other, "車名"), "");
        a->Cancel();
    }
}

// A and B both edit the record A shows; B posts first.
TEST_F(TwoProgramsTest, APostOverAnotherProgramsChangeIsRefusedAndNothingIsLost)
{
    const struct {
        const char* name;
        const char* otherField;
        const char* refusal;  // start of A's message; nullptr: A's post lands
    } cases[] = {
        {"the same field", "車名", "このレコードは他のプログラムで変更されています"},
        {"another field", "所有者住所", nullptr},
        {"a key field", "使用者", "レコードが見つかりません"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        a->EmptyTable();
        fill(*a, {"あ", "い"});
        a->First();
        a->Edit();
        set(*a, "車名", "エー");
        set(*a, "備考", "Aのメモ");
        otherSets("あ", c.otherField, "ビー");

        const QString message = failure([&] { a->Post(); });
        if (!c.refusal) {
            EXPECT_TRUE(message.isEmpty()) << message.toStdString();
            EXPECT_EQ(stored("あ", "車名"), "エー");
            EXPECT_EQ(stored("あ", c.otherField), "ビー");
            EXPECT_EQ(get(*a, c.otherField), "ビー");
            continue;
        }
        EXPECT_TRUE(message.startsWith(QString::fromUtf8(c.refusal))) << message.toStdString();
        EXPECT_EQ(a->state(), Table::State::Edit);
        EXPECT_EQ(get(*a, "車名"), "エー");
        EXPECT_EQ(get(*a, "備考"), "Aのメモ");
        EXPECT_EQ(stored("あ", c.otherField), "ビー");
        EXPECT_EQ(stored("あ", "備考"), "");
        a->Cancel();
        EXPECT_EQ(get(*a, c.otherField), "ビー");
    }
}

TEST_F(TwoProgramsTest, ASecondPostAfterARefusalWritesOnlyTheTypedFields)
{
    fill(*a, {"あ"});
    a->Edit();
    set(*a, "車名", "エー");
    otherSets("あ", "車名", "ビー");
    otherSets("あ", "所有者住所", "東京");
    EXPECT_THROW(a->Post(), DbError);
    EXPECT_EQ(get(*a, "所有者住所"), "東京");  // the other program's value, as the card now shows
    a->Post();
    EXPECT_EQ(stored("あ", "車名"), "エー");
    EXPECT_EQ(stored("あ", "所有者住所"), "東京");
}

// Each program adds one to a number, retrying after a refusal the way a
// user cancels and edits again.
TEST_F(TwoProgramsTest, IncrementsFromTwoProgramsAreNeverLost)
{
    fill(*a, {"あ"});
    b->Refresh();
    auto increment = [](Table& t) {
        for (;;) {
            t.Edit();
            t.FieldByName("車両重量").SetAsInteger(t.FieldByName("車両重量").AsInteger() + 1);
            try {
                t.Post();
                return;
            } catch (const DbError&) {
                t.Cancel();
            }
        }
    };
    for (int i = 0; i < 100; ++i) {  // interleaved: both read before either posts
        a->Edit();
        b->Edit();
        increment(*a);
        increment(*b);
    }
    EXPECT_EQ(scalar("SELECT \"車両重量\" FROM INDATA"), 200);

    auto program = [&](Database* shared) {
        Table t(*shared, "INDATA");
        t.Open();
        for (int i = 0; i < 150; ++i)
            increment(t);
    };
    std::thread first(program, db.get()), second(program, otherDb.get());
    first.join();
    second.join();
    EXPECT_EQ(scalar("SELECT \"車両重量\" FROM INDATA"), 500);
}

// While the other program writes in one transaction (a restore or an
// import), a post waits a bounded time and is refused with the typed values
// kept; once the other program commits, its change is not overwritten.
TEST_F(TwoProgramsTest, APostWhileTheOtherProgramHoldsTheBookWaitsThenSeesItsChange)
{
    fill(*a, {"あ"});
    sqlite3_busy_timeout(db->handle(), 100);
    a->Edit();
    set(*a, "車名", "エー");
    b->Refresh();
    {
        Table::Bulk bulk(*b);
        b->Edit();
        set(*b, "車名", "ビー");
        b->Post();
        EXPECT_TRUE(failure([&] { a->Post(); }).contains(QStringLiteral("使用中")));
        EXPECT_EQ(a->state(), Table::State::Edit);
        EXPECT_EQ(get(*a, "車名"), "エー");
        bulk.commit();
    }
    EXPECT_TRUE(failure([&] { a->Post(); }).contains(QStringLiteral("変更されています")));
    EXPECT_EQ(stored("あ", "車名"), "ビー");
    a->Post();
    EXPECT_EQ(stored("あ", "車名"), "エー");
}

// A's view still holds records that the other program has deleted.
TEST_F(TwoProgramsTest, AMoveOntoADeletedRecordGoesToTheNearestOneThatExists)
{
    const struct {
        const char* name;
        const char* at;
        Texts deleted;
        std::function<void(Table&)> move;
        const char* expected;
        bool bof, eof;
    } cases[] = {
        {"next", "い", {"う"}, &Table::Next, "え", false, false},
        {"next past several", "い", {"う", "え"}, &Table::Next, "お", false, false},
        {"next with nothing left after", "い", {"う", "え", "お"}, &Table::Next, "い", false, true},
        {"prior", "え", {"う"}, &Table::Prior, "い", false, false},
        {"prior with nothing left before", "い", {"あ"}, &Table::Prior, "い", true, false},
        {"first", "う", {"あ"}, &Table::First, "い", true, false},
        {"last", "う", {"お"}, &Table::Last, "え", false, true},
        {"record number", "あ", {"う"}, [](Table& t) { t.SetRecNo(3); }, "え", false, false},
        {"next when the current one went too", "い", {"い", "う"}, &Table::Next, "え", false, false},
        {"delete next to a deleted one", "い", {"う"}, &Table::Delete, "え", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        a->EmptyTable();
        fill(*a, {"あ", "い", "う", "え", "お"});
        a->Locate("使用者ふりがな", {sj(c.at)});
        for (const std::string& r : c.deleted)
            otherOn(r.c_str()).Delete();
        std::string shown;
        int scrolls = 0;
        auto watch = QObject::connect(a.get(), &Table::recordChanged, [&] { shown = reading(*a); });
        a->AfterScroll = [&](Table&) { ++scrolls; };

        const QString message = failure([&] { c.move(*a); });
        EXPECT_TRUE(message.isEmpty()) << message.toStdString();
        EXPECT_EQ(reading(*a), c.expected);
        EXPECT_EQ(shown, c.expected);  // what bound controls show
        EXPECT_EQ(a->Bof(), c.bof);
        EXPECT_EQ(a->Eof(), c.eof);
        EXPECT_EQ(a->RecordCount(), scalar("SELECT count(*) FROM INDATA"));
        ASSERT_GE(a->RecNo(), 1);
        EXPECT_EQ(column(*a)[std::size_t(a->RecNo() - 1)], c.expected);
        EXPECT_EQ(scrolls, c.expected == std::string(c.at) ? 0 : 1);
        QObject::disconnect(watch);
        a->AfterScroll = nullptr;
    }
}

// Another table on this program's connection and a table on the other's
// see each other's records after a refresh.
TEST_F(TwoProgramsTest, EachTableSeesTheOthersRecordsAfterRefresh)
{
    Table c(*db, "INDATA");
    c.Open();
    int scrolls = 0;
    b->AfterScroll = [&](Table&) { ++scrolls; };

    addRecord(*a, "あべ", "1");
    EXPECT_EQ(b->RecordCount(), 0);
    b->Refresh();
    c.Refresh();
    EXPECT_EQ(b->RecordCount(), 1);
    EXPECT_EQ(c.RecordCount(), 1);

    addRecord(*a, "かとう", "2");
    b->First();
    scrolls = 0;
    EXPECT_TRUE(b->Locate("使用者ふりがな", {sj("かとう")}));  // not yet in b's view
    EXPECT_EQ(reading(*b), "かとう");
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(b->RecordCount(), 2);

    b->First();
    b->Delete();
    addRecord(c, "さとう", "3");
    a->Refresh();
    EXPECT_EQ(column(*a), (Texts{"かとう", "さとう"}));

    // An edit of a record that the other program deleted is not saved
    // silently.
    a->First();
    otherOn("かとう").Delete();
    a->Edit();
    set(*a, "電話番号", "03");
    EXPECT_THROW(a->Post(), DbError);
    EXPECT_EQ(a->state(), Table::State::Edit);
    a->Cancel();
    EXPECT_EQ(column(*a), (Texts{"さとう"}));
    EXPECT_EQ(reading(*a), "さとう");
}

// A walk's snapshot sees what another table of this program added since
// A's view was built, also when A wrote after it, and nothing the other
// program writes while the walk runs.
TEST_F(TwoProgramsTest, ASnapshotSeesTheBookAsItStoodWhenItBegan)
{
    Table c(*db, "INDATA");
    c.Open();
    fill(c, {"あ", "い"});
    {
        const Table::Snapshot snapshot(*a);
        EXPECT_EQ(column(*a), (Texts{"あ", "い"}));
    }
    addRecord(c, "う", "3");
    addRecord(*a, "え", "4");
    const Table::Snapshot snapshot(*a);
    otherOn("う").Delete();
    EXPECT_EQ(column(*a), (Texts{"あ", "い", "う", "え"}));
}

}  // namespace
