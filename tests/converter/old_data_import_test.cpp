#include "converter/old_data_import.h"
#include "tests/converter/old_data_fixture.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

class OldDataImportTest : public OldDataFixture {
protected:
    std::unique_ptr<Table> table;

    void SetUp() override
    {
        OldDataFixture::SetUp();
        table = std::make_unique<Table>(*db, "INDATA");
        table->Open();
    }

    OldDataInput input(const char* file, OldDataFile kind = OldDataFile::Base)
    {
        auto in = readOldDataInput(path(file), dir.path(), kind);
        EXPECT_TRUE(in) << file;
        return in.value_or(OldDataInput{});
    }

    OldDataOutcome base(int mode = 0) { return importOldDataBase(*table, mode, input("SAMPLE.JWP")); }
    OldDataOutcome merge(const char* file) { return mergeOldData(*table, 0, input(file, OldDataFile::Merge)); }

    static RecordValues with(RecordValues r, int field, const std::string& value) { r[field] = value; return r; }
    // A merge layout keyed on the telephone, writing one target.
    void mergeLayout(const char* no, const char* width, const char* type) const
    {
        writeLines("MERGE.INI", {"3", "2", "10", "20", "2", "10", "20", no, width, type});
    }

    static RecordValues yamadaRecord() { return expected("やまだ", "0312345678", "山田"); }
    static RecordValues suzukiRecord() { return expected("すずき", "0312345678", "鈴木", " $0#\r\n\r\n"); }
    static RecordValues satoRecord() { return expected("さとう", "0459998888", "佐藤"); }
};

TEST_F(OldDataImportTest, BaseFileReplacesTheRecordsByteForByteAndSkipsRefusedOnes)
{
    table->AppendRecord({sj("まえ")});
    writeSample();
    OldDataOutcome outcome = base();
    EXPECT_EQ(records(), (std::vector<RecordValues>{satoRecord(), suzukiRecord(), yamadaRecord()}));
    EXPECT_EQ(std::tuple(outcome.records, outcome.written, outcome.refused), std::tuple(3, 3, 0));
    EXPECT_EQ(outcome.lastReading, sj("さとう"));
    writeFile("SAMPLE.JWP", yamada() + yamada() + sato());
    outcome = base();
    EXPECT_EQ(records(), (std::vector<RecordValues>{satoRecord(), yamadaRecord()}));
    EXPECT_EQ(std::tuple(outcome.written, outcome.refused), std::tuple(2, 1));
}

// A base file without a whole record of its layout's length (however long)
// leaves the book; bytes after the last whole record are noted.
TEST_F(OldDataImportTest, ABaseFileWithoutAWholeRecordLeavesTheBook)
{
    table->AppendRecord({sj("まえ")});
    const std::vector<RecordValues> before = records();
    writeSample();
    writeLines("HUGE.INI", {"1", "1", "2147483647", "22"});
    using File = std::pair<const char*, std::string>;
    for (const auto& [file, bytes] :
         {File("SAMPLE.JWP", ""), File("SAMPLE.JWP", yamada().substr(1)), File("HUGE.JWP", yamada())}) {
        writeFile(file, bytes);
        importOldDataBase(*table, 0, input(file));
        EXPECT_EQ(records(), before) << file;
    }
    writeFile("SAMPLE.JWP", yamada());
    EXPECT_FALSE(leftoverBytesNote(QStringLiteral("F.JWP"), input("SAMPLE.JWP")));
    writeFile("SAMPLE.JWP", yamada() + "abc");
    EXPECT_TRUE(leftoverBytesNote(QStringLiteral("F.JWP"), input("SAMPLE.JWP")).value_or("").contains(QStringLiteral("3 バイトが残って")));
}

TEST_F(OldDataImportTest, TheLayoutModeDecidesWhichTargetsAreStored)
{
    writeLines("SAMPLE.INI", {"3", "1", "1", "20", "48", "2", "20", "56", "2", "20"});
    writeFile("SAMPLE.JWP", "AbcMe");
    const struct {
        int mode;
        std::string field48, field56;
    } cases[] = {{0, "", ""}, {1, "bc", "Me"}, {2, "bc", "Me"}, {12, "", ""}};
    for (const auto& c : cases) {
        base(c.mode);
        ASSERT_EQ(table->RecordCount(), 1) << c.mode;
        table->First();
        EXPECT_EQ(table->FieldByName("販売形態").AsString(), c.field48) << c.mode;
        EXPECT_EQ(table->FieldByName("メモ").AsString(), c.field56) << c.mode;
    }
}

TEST_F(OldDataImportTest, LayoutsAreFoundByTheDataFileOrInTheDataDirectory)
{
    writeSample();
    ASSERT_TRUE(QFile::rename(path("SAMPLE.INI"), path("Brindel.INI")));
    EXPECT_EQ(input("SAMPLE.JWP").layout.entries.size(), 8u);
    ASSERT_TRUE(QFile::remove(path("Brindel.INI")));
    EXPECT_FALSE(readOldDataInput(path("SAMPLE.JWP"), dir.path(), OldDataFile::Base)) << "no layout";
}

TEST_F(OldDataImportTest, MergeWritesItsValuesIntoEveryRecordWithTheKey)
{
    writeSample();
    base();
    mergeLayout("16", "1", "20");
    writeFile("MERGE.JWP", "031234567*A");
    merge("MERGE.JWP");  // a value ending in * matches only texts that hold the star
    EXPECT_EQ(records(), (std::vector<RecordValues>{satoRecord(), suzukiRecord(), yamadaRecord()}));
    mergeLayout("16", "4", "22");
    writeFile("MERGE.JWP", "0312345678OWNR0999999999XXXX031234");
    const OldDataOutcome outcome = merge("MERGE.JWP");
    EXPECT_EQ(records(), (std::vector<RecordValues>{satoRecord(), with(suzukiRecord(), 16, sj("ＯＷＮＲ")),
                                                    with(yamadaRecord(), 16, sj("ＯＷＮＲ"))}));
    EXPECT_EQ(std::tuple(outcome.records, outcome.written), std::tuple(2, 2));
    // A key the first record rewrites through a wildcard is gone for the next.
    db->exec("UPDATE INDATA SET 電話番号 = CAST('A*B' AS BLOB) WHERE CAST(電話番号 AS BLOB) = CAST('0459998888' AS BLOB)");
    writeLines("MERGE.INI", {"2", "2", "10", "20", "2", "10", "20"});
    writeFile("MERGE.JWP", "A*        A*B       ");
    EXPECT_EQ(merge("MERGE.JWP").written, 1);
    EXPECT_EQ(records().front(), with(satoRecord(), 2, "A*"));
}

TEST_F(OldDataImportTest, AMergeKeyOutsideTheLayoutModesFieldsMatchesButWritesNothing)
{
    db->exec("INSERT INTO INDATA (使用者ふりがな, 色) VALUES (x'82a0', 'AB')");
    table->Refresh();
    writeLines("MERGE.INI", {"2", "50", "2", "20", "50", "2", "20"});
    writeFile("MERGE.JWP", "AB");
    EXPECT_EQ(merge("MERGE.JWP").written, 1);
    EXPECT_EQ(records(), (std::vector<RecordValues>{{{1, sj("あ")}}}));
}

TEST_F(OldDataImportTest, ARefusedMergeUpdateRollsBackTheWholeFile)
{
    writeSample();
    writeFile("SAMPLE.JWP", yamada() + baseRecord(sj("ﾀﾅｶ") + "     ", "0312345678", "\x33\x3B\x44\x45!!!!") + sato());
    base();
    const std::vector<RecordValues> before = records();
    mergeLayout("1", "4", "22");
    writeFile("MERGE.JWP", "0459998888ZZZZ0312345678SAME");
    try {
        merge("MERGE.JWP");
        ADD_FAILURE() << "the second record's update collides";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("合成ファイルの 2 件目のレコード（0312345678）"))) << e.what();
    }
    EXPECT_EQ(records(), before);
    EXPECT_EQ(table->state(), Table::State::Browse);
}

}  // namespace
