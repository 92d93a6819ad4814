#include "components/core/record_fields.h"
#include "components/core/sql_condition.h"
#include "tests/components/table_fixture.h"

namespace {

// Compiled conditions run against a small table of names and numbers.
class SqlConditionTest : public ::testing::Test {
protected:
    Database db{QStringLiteral(":memory:")};
    const std::vector<FieldDef> fields{{"名前", FieldType::Text}, {"数", FieldType::WholeNumber}};

    void SetUp() override
    {
        db.exec("CREATE TABLE t (名前 BLOB NOT NULL, 数 INTEGER)");
        const std::pair<const char*, const char*> rows[] = {
            {"あ", "1"},          {"あい", "12"},        {"あいう", "123"},       {"い", "2"},
            {"ア", ""},           {"平成１０年", "10"},  {"平成１１年１月", "11"}, {"平成１２年", "5"},
            {"平成１２年３月", "50"}, {"平成１３年", "-5"}, {"O'Neil", "500"},     {"ソフト", ""},
        };
        Statement insert = db.prepare("INSERT INTO t VALUES (?, ?)");
        for (auto [name, number] : rows) {
            insert.reset().bindBlob(1, sj(name));
            if (*number)
                insert.bindInt(2, std::stoll(number));
            insert.step();
        }
    }

    SqlCondition compile(const char* utf8)
    {
        return compileFilter(sj(utf8), [this](const std::string& name) -> const FieldDef* {
            for (const FieldDef& f : fields)
                if (f.name == name)
                    return &f;
            return nullptr;
        });
    }

    Texts select(const char* utf8)
    {
        SqlCondition c = compile(utf8);
        Statement s = db.prepare("SELECT 名前 FROM t" + (c.sql.empty() ? "" : " WHERE " + c.sql) + " ORDER BY rowid");
        bindParams(s, c.params);
        Texts out;
        while (s.step())
            out.push_back(sjis::toUtf8(s.columnBytes(0)));
        return out;
    }
};

// Nesting `depth` groups deep, each adding an "and" and an "or": the
// deepest SQL the expression bounds allow.
std::string nested(int depth)
{
    return depth == 0 ? "(名前 = 'あ*')" : "(" + nested(depth - 1) + " and (数 >= '0') or (名前 = 'い'))";
}

std::string ored(int terms)
{
    std::string text = "(数 = '1')";
    for (int i = 1; i < terms; ++i)
        text += " or (数 = '1')";
    return text;
}

// Expressions up to the bounds run in SQLite; past them they are refused
// before the parser's or SQLite's stack runs out.
TEST_F(SqlConditionTest, NestingAndConditionsAreBounded)
{
    const struct {
        std::string expression;
        const char* refusal;  // part of the message, or nothing when it runs
    } cases[] = {
        {nested(kMaxFilterDepth), nullptr},
        {ored(kMaxFilterTerms), nullptr},
        {nested(kMaxFilterDepth + 1), "深すぎます"},
        {ored(kMaxFilterTerms + 1), "多すぎます"},
        {std::string(20000, '(') + "名前 = 'あ')", "深すぎます"},
        {"(" + ored(kMaxFilterTerms / 2) + ") and (" + ored(kMaxFilterTerms / 2 + 1) + ")", "多すぎます"},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_FALSE(select(c.expression.c_str()).empty());
            EXPECT_EQ(c.refusal, nullptr) << c.expression.substr(0, 40);
        } catch (const DbError& e) {
            ASSERT_NE(c.refusal, nullptr) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.refusal))) << e.message().toStdString();
        }
    }
}

TEST_F(SqlConditionTest, StarredEqualitySelectsTheTextAndEveryLongerTextBeginningWithIt)
{
    EXPECT_EQ(select("(名前 = 'あい*')"), (Texts{"あい", "あいう"}));
    EXPECT_EQ(select("(名前 = 'あい')"), Texts{"あい"});
    EXPECT_EQ(select("(名前 = '平成１２年*')"), (Texts{"平成１２年", "平成１２年３月"}));
    EXPECT_EQ(select("(名前 = 'ソ*')"), Texts{"ソフト"});  // ソ ends in 0x5C
    EXPECT_EQ(select("(名前 = '*')").size(), 12u);
    EXPECT_EQ(select("(名前 <= 'あ*')"), (Texts{"あ", "O'Neil"}));  // a star is a wildcard only under "="
    EXPECT_EQ(select(""), select("   "));
    EXPECT_EQ(select("").size(), 12u);
}

TEST_F(SqlConditionTest, QuotesInsideALiteralAreDoubled)
{
    EXPECT_EQ(select("(名前 = 'O''Neil')"), Texts{"O'Neil"});
    EXPECT_EQ(select("(名前 = 'O''*')"), Texts{"O'Neil"});
    EXPECT_EQ(select("(名前 = '''')"), Texts{});
    EXPECT_EQ(select("(名前 = ') or (名前 = ''あ')"), Texts{});  // brackets and keywords inside a literal
}

TEST_F(SqlConditionTest, RangeOfTheFilterDialogTakesTheTextsBetweenAndThoseBeginningWithTheUpperBound)
{
    EXPECT_EQ(select("(名前 >= '平成１０年') and  ((名前 <= '平成１２年') or (名前 = '平成１２年*'))"),
              (Texts{"平成１０年", "平成１１年１月", "平成１２年", "平成１２年３月"}));
    // With a second row.
    EXPECT_EQ(select("(名前 >= '平成１０年') and  ((名前 <= '平成１２年') or (名前 = '平成１２年*')) and "
                     "(数 >= '10') and  ((数 <= '11') or (数 = '11*'))"),
              (Texts{"平成１０年", "平成１１年１月"}));
}

TEST_F(SqlConditionTest, AndBindsBeforeOrAndParenthesesGroup)
{
    EXPECT_EQ(select("(名前 = 'い') or (名前 = 'あ*') and (数 >= '100')"), (Texts{"あいう", "い"}));
    EXPECT_EQ(select("((名前 = 'い') or (名前 = 'あ*')) and (数 >= '100')"), Texts{"あいう"});
    EXPECT_EQ(select("(数 >= '100') and (名前 = 'あ*') or (名前 = 'い')"), (Texts{"あいう", "い"}));
    EXPECT_EQ(select("(名前='い')OR(名前 = 'ア')  AND(数 = '')"), (Texts{"い", "ア"}));
}

TEST_F(SqlConditionTest, WholeNumberFieldsCompareAsNumbers)
{
    EXPECT_EQ(select("(数 >= '5') and (数 <= '12')"), (Texts{"あい", "平成１０年", "平成１１年１月", "平成１２年"}));
    EXPECT_EQ(select("(数 = ' 5 ')"), Texts{"平成１２年"});
    EXPECT_EQ(select("(数 = '')"), (Texts{"ア", "ソフト"}));
    EXPECT_EQ(select("(数 = '5*')"), (Texts{"平成１２年", "平成１２年３月", "O'Neil"}));
    EXPECT_EQ(select("(数 = '-*')"), Texts{"平成１３年"});
    EXPECT_EQ(select("(数 <= '-1')"), Texts{"平成１３年"});
}

TEST_F(SqlConditionTest, MalformedExpressionsUnknownFieldsAndUnsuitableValuesAreRefused)
{
    for (const char* bad : {"名前 = 'あ'", "(名前 = 'あ'", "(名前 = あ)", "(名前 = 'あ)", "(名前 < 'あ')",
                            "(名前 <> 'あ')", "(名前 == 'あ')", "(名前 => 'あ')", "()", "(名前 = 'あ') and",
                            "(名前 = 'あ') and ", "(名前 = 'あ') (名前 = 'い')", "(名前 = 'あ') xor (名前 = 'い')",
                            "(名前 = 'あ') andor (名前 = 'い')", "(名前 = 'あ'))", "((名前 = 'あ')",
                            "(氏名 = 'あ')", "( = 'あ')", "(数 >= 'abc')", "(数 = '1.5')", "(数 <= '')",
                            "(数 = '１')", "(数 = 'x*')", "(数 = '1-*')"})
        EXPECT_THROW(compile(bad), DbError) << bad;
}

TEST_F(SqlConditionTest, PrefixMatchHandlesBytesUpTo0xFF)
{
    const FieldDef name{"名前", FieldType::Text};
    db.exec("DELETE FROM t");
    Statement insert = db.prepare("INSERT INTO t (名前) VALUES (?)");
    for (std::string v : {"a\xFF", "a\xFF\x01", "b", "\xFF", "\xFF\xFF\x02", "\xFE"})
        insert.reset().bindBlob(1, v).step();
    auto count = [&](std::string prefix) {
        SqlCondition c = fieldMatch(name, prefix, true);
        Statement s = db.prepare("SELECT count(*) FROM t" + (c.sql.empty() ? "" : " WHERE " + c.sql));
        bindParams(s, c.params);
        s.step();
        return s.columnInt(0);
    };
    EXPECT_EQ(count("a\xFF"), 2);
    EXPECT_EQ(count("\xFF"), 2);
    EXPECT_EQ(count("\xFF\xFF"), 1);
    EXPECT_EQ(count(""), 6);
}

TEST(SqlCondition, WholeNumberTextIsReadAsTyped)
{
    EXPECT_EQ(parseWholeNumber(" 12 "), 12);
    EXPECT_EQ(parseWholeNumber("-3"), -3);
    EXPECT_EQ(parseWholeNumber("+4"), 4);
    EXPECT_EQ(parseWholeNumber("007"), 7);
    EXPECT_EQ(parseWholeNumber("999999999999999999"), 999999999999999999LL);
    for (const char* bad : {"", " ", "-", "+", "1.0", "1e3", "1 2", "0x10", "\x82\x50", "9999999999999999999"})
        EXPECT_FALSE(parseWholeNumber(bad)) << bad;
}

// The filter of a table.
class FilterTest : public TableTest {
protected:
    std::unique_ptr<Table> t;

    void SetUp() override
    {
        TableTest::SetUp();
        t = open("INDATA");
        for (auto [r, riders] : {std::pair{"あべ", "2"}, {"かとう", "5"}, {"かねこ", "4"}, {"きむら", ""}}) {
            t->Append();
            set(*t, "使用者ふりがな", r);
            set(*t, "乗車定員", riders);
            t->Post();
        }
    }
};

TEST_F(FilterTest, FilteredShowsOnlyTheMatchingRecordsAndClearingShowsAllAgain)
{
    int scrolls = 0;
    t->AfterScroll = [&](Table&) { ++scrolls; };
    t->SetFilter(sj("(使用者ふりがな = 'か*')"));
    EXPECT_EQ(t->RecordCount(), 4);  // not filtered yet
    t->SetFiltered(true);
    EXPECT_TRUE(t->Filtered());
    EXPECT_EQ(column(*t), (Texts{"かとう", "かねこ"}));
    EXPECT_EQ(reading(*t), "かとう");
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(scrolls, 1);

    t->SetFilter(sj("(使用者ふりがな = 'かと*')"));  // replaces the filter at once
    EXPECT_EQ(column(*t), Texts{"かとう"});
    EXPECT_EQ(scrolls, 1);  // the first record stays current
    t->SetFilter(sj("(乗車定員 >= '3') and (乗車定員 <= '4')"));
    EXPECT_EQ(column(*t), Texts{"かねこ"});
    EXPECT_EQ(scrolls, 2);
    t->SetIndexName(indexNameOfUtf8("乗車定員"));
    t->SetFilter(sj("(乗車定員 >= '1')"));
    EXPECT_EQ(column(*t), (Texts{"あべ", "かねこ", "かとう"}));

    t->SetFiltered(false);
    EXPECT_EQ(t->RecordCount(), 4);
    EXPECT_EQ(sjis::toUtf8(t->Filter()), "(乗車定員 >= '1')");
    EXPECT_EQ(t->RecNo(), 1);
    EXPECT_EQ(reading(*t), "きむら");  // blank sorts first
}

TEST_F(FilterTest, TheFilterDialogsDateRangeOnTheRecordTable)
{
    t->EmptyTable();
    for (const char* date : {"平成　９年１２月", "平成１０年", "平成１０年　１月", "平成１２年", "平成１２年１２月",
                             "平成１３年", "昭和６３年"}) {
        t->Append();
        set(*t, "使用者ふりがな", date);
        set(*t, "登録年月日", date);
        t->Post();
    }
    t->SetFilter(sj("(登録年月日 >= '平成１０年') and  ((登録年月日 <= '平成１２年') or (登録年月日 = '平成１２年*'))"));
    t->SetFiltered(true);
    EXPECT_EQ(column(*t, "登録年月日"), (Texts{"平成１０年", "平成１０年　１月", "平成１２年", "平成１２年１２月"}));
}

TEST_F(FilterTest, BadFilterIsRefusedAndNothingChanges)
{
    for (const char* bad : {"(使用者ふりがな = 'か*'", "(氏名 = 'か*')", "(乗車定員 >= 'three')"}) {
        t->SetFilter(sj(bad));  // not applied while not filtered
        EXPECT_THROW(t->SetFiltered(true), DbError) << bad;
        EXPECT_FALSE(t->Filtered());
        EXPECT_EQ(t->RecordCount(), 4);
    }
    t->SetFilter(sj("(使用者ふりがな = 'か*')"));
    t->SetFiltered(true);
    t->Last();
    EXPECT_THROW(t->SetFilter(sj("(使用者ふりがな = )")), DbError);
    EXPECT_TRUE(t->Filtered());
    EXPECT_EQ(sjis::toUtf8(t->Filter()), "(使用者ふりがな = 'か*')");
    EXPECT_EQ(t->RecordCount(), 2);
    EXPECT_EQ(reading(*t), "かねこ");
}

TEST_F(FilterTest, RecordsPostedOutsideTheFilterLeaveTheView)
{
    t->SetFilter(sj("(使用者ふりがな = 'か*')"));
    t->SetFiltered(true);
    t->Append();
    set(*t, "使用者ふりがな", "かい");
    t->Post();
    EXPECT_EQ(reading(*t), "かい");
    EXPECT_EQ(t->RecordCount(), 3);

    t->Append();
    set(*t, "使用者ふりがな", "さとう");
    t->Post();
    EXPECT_EQ(t->RecordCount(), 3);
    EXPECT_EQ(reading(*t), "かい");  // the record before the new one

    t->Edit();
    set(*t, "使用者ふりがな", "いとう");
    t->Post();
    EXPECT_EQ(column(*t), (Texts{"かとう", "かねこ"}));
    EXPECT_EQ(reading(*t), "かとう");  // the record after it
    t->Last();
    t->Edit();
    set(*t, "使用者ふりがな", "わだ");
    t->Post();
    EXPECT_EQ(reading(*t), "かとう");
    t->Edit();
    set(*t, "使用者ふりがな", "わく");
    t->Post();
    EXPECT_EQ(t->RecordCount(), 0);
    EXPECT_TRUE(t->Eof() && t->Bof());
    t->SetFiltered(false);
    EXPECT_EQ(column(*t), (Texts{"あべ", "いとう", "きむら", "さとう", "わく", "わだ"}));
}

}  // namespace
