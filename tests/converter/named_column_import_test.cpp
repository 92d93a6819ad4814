#include "components/formats/named_column_csv.h"
#include "converter/named_column_import.h"
#include "tests/converter/old_data_fixture.h"

#include <gtest/gtest.h>

namespace {

using named_csv::NamedColumnCsv;
using named_csv::Problem;

TEST(NamedColumnCsvTest, SplitsLinesAtLineFeedsWithoutCarriageReturns)
{
    using Names = std::optional<std::vector<SjisString>>;
    using Lines = std::vector<std::string_view>;
    const struct {
        std::string bytes;
        Names names;
        Lines lines;
    } cases[] = {
        {"a,b\r\nx,y\r\n", Names{{"a", "b"}}, {"a,b", "x,y"}},
        {"a,b\nx,y\n", Names{{"a", "b"}}, {"a,b", "x,y"}},
        {"a\r,b\nx,\ry", Names{{"a", "b"}}, {"a,b", "x,y"}},  // a last line without a line end counts
        {"a\n\nx\n\x1A", Names{{"a"}}, {"a", "", "x"}},       // but not an end-of-file byte alone
        {"a,\n", Names{{"a", ""}}, {"a,"}},
        {"a,b", std::nullopt, {"a,b"}},  // a first line without a line end names nothing
        {"", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        const NamedColumnCsv csv(c.bytes);
        EXPECT_EQ(csv.nameLine(), c.names) << c.bytes;
        EXPECT_EQ(csv.lines(), c.lines) << c.bytes;
    }
}

TEST(NamedColumnCsvTest, ChecksTheWholeFileAgainstTheFields)
{
    const std::vector<FieldDef> fields = {{"使用者ふりがな", FieldType::Text}, {"乗車定員", FieldType::WholeNumber}};
    const SjisString reading = sj("使用者ふりがな"), seats = sj("乗車定員");
    const struct {
        std::string bytes;
        std::vector<SjisString> columns;
        std::optional<Problem::Kind> problem;
        std::size_t line;
    } cases[] = {
        {"a,5\nb\n\nc, 7 \n", {reading, seats}, std::nullopt, 0},
        {"a,5\nb\n", {seats, reading}, Problem::Kind::NotANumber, 1},
        {"a,\nb,x5\n", {reading, seats}, Problem::Kind::NotANumber, 2},
        {"a,5\nb,6,\n", {reading, seats}, Problem::Kind::TooManyValues, 2},
        {"a\n", {reading, sj("色")}, Problem::Kind::UnknownName, 0},
        {"a\n", {reading, ""}, Problem::Kind::UnknownName, 0},
        {"a\n", std::vector<SjisString>(250, reading), std::nullopt, 0},
        {"a\n", std::vector<SjisString>(251, reading), Problem::Kind::TooManyColumns, 0},
    };
    for (const auto& c : cases) {
        const named_csv::Check check = named_csv::checkFile(NamedColumnCsv(c.bytes), 0, c.columns, fields);
        ASSERT_EQ(check.problem.has_value(), c.problem.has_value()) << c.bytes;
        EXPECT_NE(check.plan.has_value(), c.problem.has_value());
        if (c.problem) {
            EXPECT_EQ(check.problem->kind, *c.problem) << c.bytes;
            EXPECT_EQ(check.problem->line, c.line) << c.bytes;
            EXPECT_FALSE(named_csv::describe(*check.problem).isEmpty());
        }
    }
    EXPECT_EQ(named_csv::checkFile(NamedColumnCsv("5,a\n"), 0, {seats, reading}, fields).plan->columnFields,
              (std::vector<int>{1, 0}));
    // Lines of bytes that are no CP932 text are counted, from the first.
    const auto nonText = named_csv::checkFile(NamedColumnCsv(std::string("a\nb\0\n\x82 \nc\n\xFD", 11)), 0, {reading}, fields).nonText;
    EXPECT_EQ(std::tuple(nonText.count, nonText.first), std::tuple(3u, 2u));
}

class NamedColumnImportTest : public OldDataFixture {
protected:
    std::unique_ptr<Table> table;

    void SetUp() override
    {
        OldDataFixture::SetUp();
        table = std::make_unique<Table>(*db, "INDATA");
        table->Open();
    }

    NamedCsvOutcome import(const std::string& bytes, bool keep = false)
    {
        const NamedColumnCsv csv(bytes);
        std::vector<FieldDef> fields;
        for (int i = 0; i < table->FieldCount(); ++i)
            fields.push_back(table->FieldDefinition(i));
        const auto check = named_csv::checkFile(csv, 1, *csv.nameLine(), fields);
        return importNamedCsv(*table, csv, *check.plan, keep);
    }
};

// On request the records are kept and refused lines skipped; otherwise the
// named columns of every line replace them. The table ends in key order.
TEST_F(NamedColumnImportTest, KeepsOrReplacesTheRecordsWithTheNamedColumnsOfEveryLine)
{
    db->exec("INSERT INTO INDATA (使用者ふりがな) VALUES (x'82a0')");
    auto outcome = import(sj("使用者ふりがな,電話番号\nあ\nい,1\nい,1\nう\n"), true);
    EXPECT_EQ(std::pair(outcome.written, outcome.refused), std::pair(2, 2));
    EXPECT_EQ(records().size(), 3u);
    table->SetIndexFieldNames("使用者");
    outcome = import(sj("使用者,使用者ふりがな,乗車定員\r\n山田,やまだ,5\r\n\r\n鈴木,すずき\nsato,さとう,"));
    EXPECT_EQ(outcome.written, 3);
    EXPECT_EQ(records(), (std::vector<RecordValues>{{{1, sj("さとう")}, {3, "sato"}},
                                                    {{1, sj("すずき")}, {3, sj("鈴木")}},
                                                    {{1, sj("やまだ")}, {3, sj("山田")}, {24, "5"}}}));
    EXPECT_EQ(table->RecNo(), 1);
    table->Next();
    EXPECT_EQ(table->FieldByName("使用者").AsString(), sj("鈴木"));
}

}  // namespace
