// The converter's old-data import: the legacy text conversion over 1 MB of
// mixed field values, and a base file and a merge file of 100,000 records
// each imported into a fresh book.
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/core/table.h"
#include "components/formats/legacy_text.h"
#include "converter/old_data_import.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kRecordCount = 100000;

// Field values as old files hold them, each with the mode that converts it.
struct Field {
    int mode;
    std::string bytes;
};

std::vector<Field> mixedFields()
{
    const Field samples[] = {
        {0, "ABC 12345.6789\xB6\xDE\xDD\xB9\xB2 X1  "},
        {0, "\x96\xDE\xCA\xDF\x01\x08\xA2\xB1\xB2\xB3\xA3  "},
        {1, "\x33\x3B\x44\x45\x6B\x4E\x5A\x4C!!!!!!"},
        {2, "0#1#2#3#!!\x34\x3A\x23\x46"},
        {3, "0#3#1#2#3#4#5#6#7#8#"},
        {21, "\xD4\xCF\xC0\xDE \xC0\xDB\xB3   "},
        {22, "\xB6\xDE\xB2\xBC\xDE  ABC ^ux \x95\xBD\x90\xAC"},
        {20, "0312345678"},
    };
    std::vector<Field> fields;
    std::size_t total = 0;
    while (total < (1u << 20))
        for (const Field& f : samples) {
            fields.push_back(f);
            total += f.bytes.size();
        }
    return fields;
}

void BM_ConvertLegacyText1MB(benchmark::State& state)
{
    const std::vector<Field> fields = mixedFields();
    std::size_t bytes = 0;
    for (const Field& f : fields)
        bytes += f.bytes.size();
    for (auto _ : state)
        for (const Field& f : fields) {
            SjisString s = f.bytes;
            benchmark::DoNotOptimize(ConvertLegacyText(s, f.mode));
        }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
}
BENCHMARK(BM_ConvertLegacyText1MB)->Unit(benchmark::kMillisecond);

// A base layout of 12 entries, 120 bytes a record: reading, telephone
// (the merge key), name, model, dates, capacity, remarks and body shape.
OldDataInput baseFile()
{
    OldDataInput in;
    in.layout.entries = {{1, 12, 21}, {2, 10, 20}, {3, 8, 1},   {8, 22, 0},  {13, 8, 30}, {6, 8, 30},
                         {7, 6, 31},  {24, 2, 20}, {42, 8, 2},  {22, 3, 23}, {4, 20, 22}, {5, 13, 22}};
    in.pairs = {{"SED", "\xBE\xC0\xDE\xDD"}, {"CPE", "\xB8\xB0\xCD\xDF"}};
    std::string data;
    for (int i = 0; i < kRecordCount; ++i) {
        char phone[11];
        std::snprintf(phone, sizeof phone, "%010d", i);
        data += std::string("\xD4\xCF\xC0\xDE \xC0\xDB\xB3    ") + phone + "\x33\x3B\x44\x45!!!!" +
                "ABC 12345.6789\xB6\xDE\xDD\xB9\xB2 X1" + "20190501" + "19930607" + "199306" + "05" + "0#1#!!!!" +
                "SED" + "Tokyo Chiyoda 1-1-1 " + "Shinagawa 300";
    }
    in.data = QByteArray::fromStdString(data);
    return in;
}

OldDataInput mergeFile()
{
    OldDataInput in;
    in.layout.entries = {{2, 10, 20}, {2, 10, 20}, {16, 10, 22}, {50, 6, 22}};
    std::string data;
    for (int i = kRecordCount - 1; i >= 0; --i) {
        char phone[11];
        std::snprintf(phone, sizeof phone, "%010d", i);
        data += std::string(phone) + "OWNER NAME" + "WHITE ";
    }
    in.data = QByteArray::fromStdString(data);
    return in;
}

// A fresh book's record table for each run.
struct Book {
    QTemporaryDir dir;
    std::unique_ptr<Database> db = openSharedDatabase(dir.filePath("CARDATA.sqlite3"));
    Table table{*db, "INDATA"};
    Book() { table.Open(); }
};

template <class Work> void timeIt(benchmark::State& state, Work work)
{
    const auto start = std::chrono::steady_clock::now();
    const OldDataOutcome outcome = work();
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (outcome.written != kRecordCount)
        state.SkipWithError("not every record was written");
}

void BM_ImportBase100k(benchmark::State& state)
{
    const OldDataInput base = baseFile();
    for (auto _ : state) {
        Book book;
        timeIt(state, [&] { return importOldDataBase(book.table, 1, base); });
    }
}
BENCHMARK(BM_ImportBase100k)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_Merge100k(benchmark::State& state)
{
    const OldDataInput base = baseFile(), merge = mergeFile();
    for (auto _ : state) {
        Book book;
        importOldDataBase(book.table, 1, base);
        timeIt(state, [&] { return mergeOldData(book.table, 1, merge); });
    }
}
BENCHMARK(BM_Merge100k)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
