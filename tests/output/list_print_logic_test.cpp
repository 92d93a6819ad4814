// The list print's lines, cells and jobs, and its two settings files,
// without a printer.
#include "components/core/database.h"
#include "components/formats/print_settings.h"
#include "output/list_print.h"
#include "tests/components/table_fixture.h"

#include <gmock/gmock.h>

#include <QDir>
#include <QFile>

namespace {

using ::testing::ElementsAre;

// The lines of each job, UTF-8, the font size in front of a line printed
// at another size than the list's.
struct RecordedOutput : ListOutput {
    std::vector<Texts> jobs;
    int size = 0;
    bool open = false;
    void beginJob() override
    {
        EXPECT_FALSE(open);
        open = true;
        jobs.emplace_back();
    }
    void setFontSize(int points) override { size = points; }
    void line(const SjisString& t) override { jobs.back().push_back((size ? std::to_string(size) + ":" : "") + sjis::toUtf8(t)); }
    void endJob() override
    {
        EXPECT_TRUE(open);
        open = false;
    }
};

class ListPrintTest : public TableTest {
protected:
    std::unique_ptr<Table> widths, records;

    void SetUp() override
    {
        TableTest::SetUp();
        widths = open("INDTLEN");
        records = open("INDATA");
    }

    void setWidth(const char* name, int width)
    {
        widths->Append();
        widths->FieldByName(name).SetAsInteger(width);
        widths->Post();
    }

    void addVehicle(const char* reading, const char* kind = "", const char* use = "", const char* weight = "",
                    const char* gross = "")
    {
        records->Append();
        for (auto [field, value] : {std::pair{"使用者ふりがな", reading}, {"自動車の種別", kind}, {"用途", use},
                                    {"車両重量", weight}, {"車両総重量", gross}})
            set(*records, field, value);
        records->Post();
    }

    ListLayout layout(const std::vector<const char*>& names)
    {
        std::vector<SjisString> n;
        for (const char* name : names)
            n.push_back(sj(name));
        return ListLayout(n, *widths, *records);
    }
};

TEST_F(ListPrintTest, CellsKeepTheirWidthsAndNeverSplitACharacter)
{
    struct Case {
        const char* column;
        int width;
        const char *kind, *use, *weight, *gross, *reading;
        const char* expected;
    } cases[] = {
        {"使用者ふりがな", 4, "", "", "", "", "abcdefghij", "abcd"},
        {"使用者ふりがな", 5, "", "", "", "", "あいう", "あい "},
        {"車両重量又は総重量", 8, "普通", "乗用", "1234", "1500", "", "  1234  "},
        {"車両重量又は総重量", 8, "普通", "貨物", "1234", "2345", "", "  2345　"},
        {"車両重量又は総重量", 8, "軽自動車", "乗用", "700", "900", "", "        "},
        {"車両重量又は総重量", 4, "普通", "乗用", "123456", "", "", "1234"},
        {"車両重量又は総重量", 4, "普通", "貨物", "", "12345", "", "12345　"},  // right-aligned text stays whole
        {"用途及び重量", 12, "軽自動車", "貨物", "700", "900", "", "  軽自動車  "},
        {"用途及び重量", 9, "普通", "乗用", "1234", "1500", "", "   1234  "},
        {"用途及び重量", 9, "普通", "貨物", "1234", "2345", "", "   2345  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " " + c.expected);
        widths->EmptyTable();
        records->EmptyTable();
        setWidth(c.column, c.width);
        addVehicle(c.reading, c.kind, c.use, c.weight, c.gross);
        const ListLayout l = layout({c.column});
        EXPECT_EQ(sjis::toUtf8(l.recordLine(records->rowValues(0))), c.expected);
        EXPECT_EQ(sjis::toUtf8(l.header()), sjis::toUtf8(padCut(sj(c.column), c.width)));
    }
}

TEST_F(ListPrintTest, ColumnsOutsideTheWidthSetOrTheTableAreRefusedByName)
{
    setWidth("使用者", 10);
    for (const char* column : {"重量", "郵便番号"}) {
        try {
            layout({"使用者", column});
            ADD_FAILURE() << column;
        } catch (const DbError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(column))) << e.message().toStdString();
        }
    }
    std::vector<const char*> many(kMaxListColumns + 1, "使用者");
    const ListLayout l = layout(many);
    EXPECT_TRUE(l.truncated());
    EXPECT_EQ(l.columns().size(), std::size_t(kMaxListColumns));
}

TEST_F(ListPrintTest, TheFirstColumnPastTheLineIsTheFirstThatEndsBeyondIt)
{
    setWidth("使用者", 10);
    const ListLayout l = layout({"使用者", "使用者", "使用者"});
    for (auto [cells, past] : {std::pair{31, -1}, {30, -1}, {29, 2}, {20, 2}, {19, 1}, {0, 0}})
        EXPECT_EQ(l.firstColumnPast(cells), past) << cells;
    EXPECT_EQ(layout({}).firstColumnPast(0), -1);
}

TEST_F(ListPrintTest, JobsOfNRecordsEachStartWithDateTitleAndHeader)
{
    setWidth("使用者ふりがな", 6);
    for (int i = 1; i <= 12; ++i)
        addVehicle(QStringLiteral("r%1").arg(i, 2, 10, QLatin1Char('0')).toUtf8().constData());
    const ListPrintOptions o{.perJob = 5, .separatorLength = 3, .title = sj("車検一覧"), .titlePosition = 2,
                             .titleSize = 14, .datePosition = 1, .dateSize = 10, .date = QDate(2026, 12, 9), .font = {}};
    RecordedOutput out;
    records->First();
    printList(out, *records, layout({"使用者ふりがな"}), o);

    ASSERT_EQ(out.jobs.size(), 3u);
    EXPECT_THAT(Texts(out.jobs[2]), ElementsAre("10: 令和08年12月09日", "14:  車検一覧", "使用者", "－－－",
                                                "r11   ", "－－－", "r12   ", "－－－"));
    EXPECT_EQ(out.jobs[0].size(), 4u + 2 * 5);
    EXPECT_EQ(out.jobs[1][4], "r06   ");
    EXPECT_TRUE(records->Eof());
    EXPECT_EQ(reading(*records), "r12");
}

TEST_F(ListPrintTest, OneRecordOrOneJobAndLinesWithoutColumns)
{
    setWidth("使用者ふりがな", 3);
    for (const char* r : {"a", "b", "c"})
        addVehicle(r);
    struct Case {
        bool all;
        int perJob;
        std::vector<const char*> columns;
        std::vector<Texts> jobs;
        bool empty = false;  // all of no records: the blank current record once
    } cases[] = {
        {false, 1, {"使用者ふりがな"}, {{"使 ", "－", "b  ", "－"}}},
        {true, 0, {"使用者ふりがな"}, {{"使 ", "－", "a  ", "－", "b  ", "－", "c  ", "－"}}},
        {true, 3, {}, {{"", "－", "", "－", "", "－", "", "－"}}},
        {true, 0, {"使用者ふりがな"}, {{"使 ", "－", "   ", "－"}}, true},
    };
    for (const Case& c : cases) {
        if (c.empty)
            records->EmptyTable();
        records->First();
        records->Next();
        RecordedOutput out;  // a title without a size prints no title line
        printList(out, *records, layout(c.columns),
                  {.allRecords = c.all, .perJob = c.perJob, .separatorLength = 1, .title = sj("無視"), .date = {}, .font = {}});
        EXPECT_EQ(out.jobs, c.jobs);
    }
}

// The other program added "d" since the view was built and deletes "c"
// while the first job prints: the list is the book as it stood when it began.
TEST_F(ListPrintTest, AllRecordsAreTheBookAsItStoodWhenThePrintBegan)
{
    setWidth("使用者ふりがな", 1);
    for (const char* r : {"a", "b", "c"})
        addVehicle(r);
    struct OtherProgram : RecordedOutput {
        std::unique_ptr<Database> db;
        void endJob() override { RecordedOutput::endJob(); db->exec("DELETE FROM INDATA WHERE 使用者ふりがな = x'63'"); }
    } out;
    out.db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    out.db->exec("INSERT INTO INDATA (使用者ふりがな) VALUES (x'64')");
    printList(out, *records, layout({"使用者ふりがな"}),
              {.perJob = 1, .separatorLength = 1, .title = {}, .date = {}, .font = {}});
    EXPECT_EQ(out.jobs.size(), 4u) << "a, b, c and d";
}

TEST(ListPrintSettingsTest, PrintFilesRoundTripAndReadTheirFontBlock)
{
    const ListPrintSettings defaults;
    EXPECT_EQ(defaults.columns.left.size(), 49u);
    EXPECT_EQ(defaults.columns.left[26], sj("積載量"));

    std::vector<SjisString> lines = {"128", "-16777208", "4711", "-16", sj("ＭＳ ゴシック"), "0", "0", "1", "7", "12",
                                     sj("使用者"), "", sj("車名"), sj("重量"), ""};
    const ListPrintSettings s = listPrintSettingsFromLines(LineListFile(lines));
    EXPECT_EQ(std::tuple(s.font.handle, s.scope, s.method, s.perJob), std::tuple(4711, 0, 1, SjisString("7")));
    EXPECT_EQ(s.columns.left, std::vector<SjisString>{sj("使用者")});
    EXPECT_EQ(s.columns.right, (std::vector<SjisString>{sj("車名"), sj("重量")}));
    EXPECT_EQ(listPrintSettingsLines(s).lines(), lines);
    // A system colour in either spelling; the size from the height when none is given.
    for (auto [color, size, points] : {std::tuple{"-16777208", "0", 12}, {"-2147483640", "20", 20}}) {
        lines[1] = color, lines[5] = size;
        const FontBlock f = listPrintSettingsFromLines(LineListFile(lines)).font;
        EXPECT_EQ(std::pair(f.color, f.pointSize()), std::pair(systemColorValue(kColorWindowText), points)) << color;
    }
    lines[1] = "0", lines[3] = "-13", lines[5] = "0";  // black; 9.75 points round to 10
    const FontBlock black = listPrintSettingsFromLines(LineListFile(lines)).font;
    EXPECT_EQ(std::pair(black.color, black.pointSize()), std::pair(rgbColor(0, 0, 0), 10));
    EXPECT_EQ(colorOfNumber(0x0000FF), rgbColor(255, 0, 0));

    QTemporaryDir dir;
    const ListTitleSettings t{sj("一覧表"), "3", "14", "", "9"};
    writeListTitleSettings(dir.path(), t);
    EXPECT_EQ(readListTitleSettings(dir.path()), t);
    EXPECT_FALSE(readListPrintSettings(dir.path()));
}

}  // namespace
