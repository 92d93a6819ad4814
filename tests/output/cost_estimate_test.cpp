#include "output/cost_estimate.h"

#include "platform/message_box.h"
#include "record_book/model/record_book.h"
#include "tests/components/table_fixture.h"
#include "tests/record_book/seed_records.h"

#include <QFile>

namespace {

class CostEstimateTest : public TableTest {
protected:
    std::unique_ptr<RecordBook> book;
    std::unique_ptr<CostTables> tables;
    std::unique_ptr<CostEstimate> estimate;
    std::vector<CostEstimate::Job> printed;

    // The book over the records, with fees: insurance 100·class, stamp
    // 10·class, fees 1·class for every use; weight tax 1000 below 2000 kg.
    void load(const std::vector<Fields>& records)
    {
        seedTable(*db, "INDATA", records);
        book = std::make_unique<RecordBook>(*db);
        book->load(dir.path());
        tables = std::make_unique<CostTables>(*db);
        tables->open();
        Table& e = tables->expense();
        Table& w = tables->weightTax();
        e.Edit();
        w.Edit();
        for (int use = 1; use <= kCostUses; ++use) {
            for (int k = 1; k <= kFeeClasses; ++k)
                for (auto [kind, unit] : {std::pair{FeeKind::Insurance, 100}, {FeeKind::Stamp, 10}, {FeeKind::Misc, 1}})
                    e.FieldByName(feeField(kind, use, k)).SetAsInteger(unit * k);
            w.FieldByName(weightBoundField(use, 1)).SetAsInteger(2000);
            w.FieldByName(weightAmountField(use, 1)).SetAsInteger(1000);
        }
        e.FieldByName(kPlateField).SetAsInteger(5000);
        e.Post();
        w.Post();
        estimate = std::make_unique<CostEstimate>(*book, *tables);
        estimate->printJob = [this](const CostEstimate::Job& job) { printed.push_back(job); };
    }

    static Fields car(const char* name, const char* number, const char* kind = "小型", const char* use = "乗用")
    {
        return {{"使用者ふりがな", name}, {"使用者", name}, {"自動車登録番号", number}, {"自動車の種別", kind},
                {"用途", use}, {"車両重量", "1200"}};
    }

    EstimateResult run(EstimateScope scope, EstimateOutput output, int perJob = 3, bool plate = false,
                       bool broughtIn = false)
    {
        return estimate->run(
            {scope, output, perJob, plate, broughtIn, sj("諸費用"), expenseFontDefaults(), QDate(2026, 3, 4)});
    }

    QByteArray text()
    {
        QFile f(estimateTextPath(dir.path()));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
};

TEST_F(CostEstimateTest, AllRecordsGoToTheScreenFileInTheActiveOrderAndTheTableEndsOnTheLast)
{
    load({car("か", "２"), car("あ", "１", "普通車"), car("さ", "３")});
    book->records().SetFilter(sj("(使用者ふりがな <= 'か')"));
    book->records().SetFiltered(true);
    const EstimateResult r = run(EstimateScope::All, EstimateOutput::Screen);
    const QByteArray bytes = text();
    const auto at = [&](const char* utf8) { return bytes.indexOf(QByteArray::fromStdString(sj(utf8))); };
    EXPECT_LT(at("　　　１"), at("　　　２"));
    EXPECT_EQ(at("　　　３"), -1);
    EXPECT_GE(at("　自動車の種別　が認識できません！\r\n"), 0);
    EXPECT_EQ(bytes.count("\r\n"), 11 + 19);
    EXPECT_TRUE(bytes.startsWith(" \r\n"));
    ASSERT_TRUE(r.last);
    EXPECT_EQ(r.last->amounts.total, 200 + 1000 + 20 + 2);
    EXPECT_TRUE(book->records().Eof());
    EXPECT_EQ(get(book->records(), "使用者"), "か");
}

TEST_F(CostEstimateTest, TheQuestionsOfAllRecordsNameEachRecordAndAClosedBoxKeepsTheAnswer)
{
    load({car("あ", "１"), car("い", "２")});
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Yes).answer(MessageAnswer::No).answer(MessageAnswer::Cancel).answer(
        MessageAnswer::Yes);
    run(EstimateScope::All, EstimateOutput::Screen, 3, true, true);
    ASSERT_EQ(messages.prompts().size(), 4u);
    EXPECT_EQ(messages.prompts()[0].text, sjis::decode(sj("あ                様\r１の\r仮ナンバー代を付けますか？")));
    EXPECT_TRUE(messages.prompts()[3].text.startsWith(QStringLiteral("い ")));
    EXPECT_TRUE(messages.prompts()[3].text.endsWith(QStringLiteral("自賠責保険は持ち込みですか？")));
    // あ: plate, insurance not brought in; い: the plate answer kept, brought in.
    const QByteArray bytes = text();
    EXPECT_EQ(bytes.count(QByteArray::fromStdString(sj("仮ナンバー"))), 2);
    EXPECT_EQ(bytes.count(QByteArray::fromStdString(sj("自 賠 責"))), 1);
    EXPECT_EQ(bytes.count(QByteArray::fromStdString(sj("自賠責証明書が必要です。"))), 1);
}

TEST_F(CostEstimateTest, ThePrinterGetsANewJobEveryNRecords)
{
    load({car("あ", "１"), car("い", "２"), car("う", "３"), car("え", "４"), car("お", "５")});
    const std::pair<int, std::vector<std::size_t>> cases[] = {{2, {2, 2, 1}}, {5, {5}}, {0, {5}}, {1, {1, 1, 1, 1, 1}}};
    for (const auto& [perJob, records] : cases) {
        printed.clear();
        run(EstimateScope::All, EstimateOutput::Printer, perJob);
        std::vector<std::size_t> sizes;
        for (const auto& job : printed)
            sizes.push_back(job.size());
        EXPECT_EQ(sizes, records) << perJob;
    }
}

// The other program added "え" since the view was built and deletes "う" while
// the first job prints: the book as it stood when the estimate began is priced.
TEST_F(CostEstimateTest, AllRecordsAreTheBookAsItStoodWhenTheEstimateBegan)
{
    load({car("あ", "１"), car("い", "２"), car("う", "３")});
    const std::unique_ptr<Database> other = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    seedTable(*other, "INDATA", {car("え", "４")});
    estimate->printJob = [&](const CostEstimate::Job& job) {
        printed.push_back(job);
        other->exec("DELETE FROM INDATA WHERE 使用者 = x'82a4'");
    };
    run(EstimateScope::All, EstimateOutput::Printer, 1);
    EXPECT_EQ(printed.size(), 4u);
}

TEST_F(CostEstimateTest, RequestRowsCarryTheRecordAndAmountsThatAddUp)
{
    Fields plated = car("あ", "１");
    plated.insert(plated.end(), {{"電話番号", "03-1"}, {"使用者住所", "東京都"}, {"車台番号", "AB-1"},
                                 {"自動車の種別", "普通"}, {"用途", "貨物"}, {"最大積載量", "2500"},
                                 {"車両総重量", "1500"}});
    load({plated, car("い", "２", "小型", "営業")});
    ScriptedMessages messages;
    messages.answer(MessageAnswer::Ok);
    const EstimateResult r = run(EstimateScope::All, EstimateOutput::Request);
    EXPECT_EQ(r.requestsAdded, 1);
    EXPECT_EQ(r.requestsNotAdded, 1);
    ASSERT_EQ(messages.prompts().size(), 1u);
    EXPECT_EQ(messages.prompts()[0].text, QStringLiteral("　用途　が認識できません！"));
    Table& rq = estimate->requests();
    ASSERT_EQ(rq.RecordCount(), 1);
    // 自賠責 400: class 4, cargo over 2 t.
    for (auto [field, value] : {std::pair{"作成日", "令和０８年０３月０４日"}, {"項番", "20260304"}, {"住所", "東京都"},
                                {"車台番号", "AB-1"}, {"分類", "車検"}, {"車検", "True"}, {"自賠責", "400"},
                                {"重量税", "1000"}, {"車検合計", "1444"}})
        EXPECT_EQ(get(rq, field), value) << field;
    EXPECT_TRUE(text() == "<missing>");
    book->records().First();
    run(EstimateScope::Current, EstimateOutput::Request);  // a second row of the same day
    EXPECT_EQ(rq.RecordCount(), 2);
}

}  // namespace
