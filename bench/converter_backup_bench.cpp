// Brindel's backup and restore of 100,000 records: the CSV backup without
// and with postal codes (its own scan of a KEN_ALL.CSV of the real file's
// size, loaded and indexed once per backup), the TXT backup that grows its
// widths first, and the restores of both.
#include "bench/backup_corpus.h"
#include "components/core/record_fields.h"
#include "components/core/schema.h"
#include "converter/converter_backup.h"
#include "tests/components/ken_all_synthetic.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace backup;

namespace {

constexpr std::size_t kRecords = 100000;

struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db;
    std::unique_ptr<Table> records, sets;

    Book()
    {
        writeFullSizeKenAll(dir.path());
        db = openSharedDatabase(dir.filePath(QStringLiteral("CARDATA.sqlite3")));
        insertBackupRecords(*db, kRecords);
        records = std::make_unique<Table>(*db, "INDATA");
        std::string order;
        for (int no = 1; no <= 14; ++no) {
            if (no > 1)
                order += ';';
            order += recordField(no).name;
        }
        records->SetIndexFieldNames(order);
        records->Open();
        sets = std::make_unique<Table>(*db, "INDTLEN");
        sets->Open();
        sets->Append();
        sets->FieldByName("データ用途").SetAsString(sj("通常"));
        for (int no = 1; no <= kStandardFieldCount; ++no)
            sets->FieldByName(recordField(no).name).SetAsInteger(4);
        sets->Post();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Book& book()
{
    static Book b;
    return b;
}

WidthSet fullSet(int postalMode)
{
    WidthSet set{sj("通常")};
    set.widths.fill(10);
    set.postalMode = postalMode;
    return set;
}

void csvBackup(int postalMode, const char* file)
{
    Book& b = book();
    std::unique_ptr<postal::ConverterKenAll> kenAll;
    if (postalMode != 0)
        kenAll = postal::ConverterKenAll::read(b.path("KEN_ALL.CSV"));
    writeConverterCsvBackup(*b.records, fullSet(postalMode), 1, kenAll.get(), b.path(file),
                            [](const QString&) { return true; });
}

void txtBackup(const char* file)
{
    Book& b = book();
    writeConverterTxtBackup(*b.records, *b.sets, widthSetOf(*b.sets), BackupPath::split(b.path(file)));
}

void restore(const char* file)
{
    Book& b = book();
    BackupSteps steps;
    steps.chooseRestoreFile = [&](const QString&) { return std::optional<QString>(b.path(file)); };
    steps.ask = [](const QString&) { return true; };
    steps.showError = [](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };
    restoreConverterRecords(*b.records, {1, b.dir.path(), {}}, steps);
}

template <class F>
void timed(benchmark::State& state, F f)
{
    book();  // the records are made outside the measured time
    for (auto _ : state)
        state.SetIterationTime(secondsOf(f));
    state.counters["records"] = double(book().records->RecordCount());
}

void BM_ConverterBackupToCsv(benchmark::State& state) { timed(state, [] { csvBackup(0, "backup.CSV"); }); }
BENCHMARK(BM_ConverterBackupToCsv)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ConverterBackupWithPostalCodes(benchmark::State& state) { timed(state, [] { csvBackup(2, "postal.CSV"); }); }
BENCHMARK(BM_ConverterBackupWithPostalCodes)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ConverterBackupToTxt(benchmark::State& state) { timed(state, [] { txtBackup("backup.TXT"); }); }
BENCHMARK(BM_ConverterBackupToTxt)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ConverterRestoreFromCsv(benchmark::State& state)
{
    csvBackup(0, "restore.CSV");
    timed(state, [] { restore("restore.CSV"); });
}
BENCHMARK(BM_ConverterRestoreFromCsv)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_ConverterRestoreFromTxt(benchmark::State& state)
{
    txtBackup("restore.TXT");
    timed(state, [] { restore("restore.TXT"); });
}
BENCHMARK(BM_ConverterRestoreFromTxt)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_ConverterKenAllLoad(benchmark::State& state)
{
    const QString path = book().path("KEN_ALL.CSV");
    for (auto _ : state)
        benchmark::DoNotOptimize(postal::ConverterKenAll::read(path));
}
BENCHMARK(BM_ConverterKenAllLoad)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ConverterPostalLookup(benchmark::State& state)
{
    const auto kenAll = postal::ConverterKenAll::read(book().path("KEN_ALL.CSV"));
    const std::vector<SjisString> addresses =
        encodeAll({"東京都千代田区飯田橋３－１０", "港区芝浦３－４", "北海道港区芝２丁目３－１", "東京都渋谷区桜丘町２６－１",
                   "大阪府大阪市北区梅田１", "どこにもない住所", "新宿区西新宿２丁目８－１"});
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(kenAll->lookup(addresses[i++ % addresses.size()], 2));
}
BENCHMARK(BM_ConverterPostalLookup)->Unit(benchmark::kMicrosecond);
}  // namespace
