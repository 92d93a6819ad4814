// Brindel's CSV import with named columns and its address check, each over
// 100,000 records in a fresh book.
#include "bench/record_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "components/formats/named_column_csv.h"
#include "converter/address_check.h"
#include "converter/named_column_import.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kRecordCount = 100000;

struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    Table table{*db, "INDATA"};
    Book() { table.Open(); }
};

// Twelve named columns, CR LF line ends.
std::string namedCsv()
{
    std::string out = sj("使用者ふりがな,電話番号,使用者,使用者住所,自動車登録番号,型式,車台番号,"
                         "有効期間の満了する日,乗車定員,車両重量,車体の形状,備考\r\n");
    const SjisString row = sj(",山田　太郎,前橋市大手町１－１－１,群馬　３００　あ　１２３４,ABC-E12,E12-345678,"
                              "令和０６年０５月３１日,5,1200,セダン,オイル交換済み\r\n");
    for (int i = 0; i < kRecordCount; ++i)
        out += sj("やまだ") + std::to_string(i) + ',' + std::to_string(270000000 + i) + row;
    return out;
}

void BM_NamedCsvImport100k(benchmark::State& state)
{
    const std::string bytes = namedCsv();
    for (auto _ : state) {
        Book book;
        NamedCsvOutcome outcome;
        state.SetIterationTime(secondsOf([&] {
            const named_csv::NamedColumnCsv csv(bytes);
            std::vector<FieldDef> fields;
            for (int i = 0; i < book.table.FieldCount(); ++i)
                fields.push_back(book.table.FieldDefinition(i));
            const auto check = named_csv::checkFile(csv, 1, *csv.nameLine(), fields);
            outcome = importNamedCsv(book.table, csv, *check.plan, false);
        }));
        if (outcome.written != kRecordCount)
            state.SkipWithError("not every record was written");
    }
}
BENCHMARK(BM_NamedCsvImport100k)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Half the addresses lack their prefecture, a fifth begin with a town of
// the place-name table.
void BM_AddressCheck100k(benchmark::State& state)
{
    const std::vector<SjisString> addresses =
        encodeAll({"前橋市大手町１－１", "群馬県高崎市高松町３５", "榛東村新井７９０", "東京都千代田区丸の内",
                   "伊勢崎市今泉町２", "栃木県小山市中央町", "宇都宮市本町５", "太田市浜町２－３５",
                   "群馬県桐生市織姫町１", "群馬県館林市城町１－１"});
    for (auto _ : state) {
        Book book;
        insertRecords(*book.db, kRecordCount, [&](std::size_t i) {
            Values v(std::size_t(book.table.FieldCount()));
            v[0] = sj("やまだ") + std::to_string(i);
            v[3] = addresses[i % addresses.size()] + std::to_string(i);
            return v;
        }, IndexUpkeep::BuiltAfterwards);
        book.table.Refresh();
        AddressCheckOutcome outcome;
        state.SetIterationTime(secondsOf([&] { outcome = checkAddresses(book.table); }));
        if (outcome.completed != kRecordCount / 2)
            state.SkipWithError("not every address was completed");
    }
}
BENCHMARK(BM_AddressCheck100k)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
