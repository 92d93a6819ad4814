// Postal-code look-ups in a KEN_ALL.CSV of the real file's size.
//
// The file is made from the real Tokyo excerpt repeated under 30
// prefectures (about 125,000 lines, 15 MB) and written to a temporary data
// directory. Loading reads and indexes it as the first look-up after a
// change of the file does; a look-up then searches the loaded file: fixed
// addresses, each alone, and a mix made from lines all over the file, next
// to the plain scan from the top. The PostData table is rebuilt from the
// same file.
#include "components/core/database.h"
#include "components/core/schema.h"
#include "components/formats/settings_file.h"
#include "components/core/table.h"
#include "components/formats/post_read.h"
#include "tests/components/ken_all_synthetic.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct FullSize {
    QTemporaryDir dir;
    QString path;
    std::string data;
    std::vector<SjisString> addresses;
    std::vector<SjisString> mix;

    FullSize()
    {
        const std::string tokyo = ken_all_synthetic::tokyoExcerpt(QStringLiteral(TEST_DATA_DIR "/KEN_ALL_13TOKYO.CSV"));
        data = ken_all_synthetic::make(tokyo, 30);
        path = dir.filePath(QStringLiteral("KEN_ALL.CSV"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data.data(), qint64(data.size())) != qint64(data.size()))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        f.close();
        // Addresses from the first, a middle and the last prefecture, with
        // and without their prefecture, and ones whose city is nowhere.
        for (const char* a : {"北海道港区芝２丁目３－１", "港区芝浦３－４", "東京都千代田区飯田橋３－１０",
                              "東京都渋谷区桜丘町２６－１", "和歌山県和小笠原村父島", "大阪府大阪市北区梅田１",
                              "京都府京和港区海岸１", "どこにもない住所", "群馬県群新宿区西新宿２丁目８－１"})
            addresses.push_back(sj(a));
        // Every 97th line's town with its city, with and without its
        // prefecture, and a block number after it.
        const std::vector<std::string_view> lines = splitLines(data);
        for (std::size_t i = 0; i < lines.size(); i += 97) {
            const postal::KenAllLine line(lines[i]);
            const SjisString city = SjisString(postal::unquote(line.column(8))) + SjisString(postal::unquote(line.column(9)));
            mix.push_back((i / 97 % 2 ? SjisString(postal::unquote(line.column(7))) : SjisString()) + city + sj("１－２－３"));
        }
        std::printf("KEN_ALL.CSV: %zu bytes, %zu lines\n", data.size(), lines.size());
    }
};

FullSize& fullSize()
{
    static FullSize f;
    return f;
}

void BM_KenAllLoad(benchmark::State& state)
{
    FullSize& f = fullSize();
    for (auto _ : state) {
        QFile file(f.path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        postal::KenAllIndex index(std::string(bytes.constData(), std::size_t(bytes.size())));
        benchmark::DoNotOptimize(index.lines().size());
        state.counters["index MB"] = double(index.indexBytes()) / 1e6;
    }
}
BENCHMARK(BM_KenAllLoad)->Unit(benchmark::kMillisecond);

void BM_PostReadLookup(benchmark::State& state)
{
    FullSize& f = fullSize();
    const auto index = postal::kenAllIndex(f.path);
    std::size_t i = 0;
    for (auto _ : state) {
        const postal::PostReadResult r = index->lookup(f.addresses[i++ % f.addresses.size()], int(state.range(0)));
        benchmark::DoNotOptimize(r.code.size());
    }
}
BENCHMARK(BM_PostReadLookup)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Each fixed address alone, in both modes: the one of the largest city
// (港区, about 1,000 lines) reads the most lines.
void BM_PostReadLookupEach(benchmark::State& state)
{
    FullSize& f = fullSize();
    const auto index = postal::kenAllIndex(f.path);
    const SjisString& address = f.addresses[std::size_t(state.range(0))];
    for (auto _ : state) {
        for (int mode : {0, 1}) {
            const postal::PostReadResult r = index->lookup(address, mode);
            benchmark::DoNotOptimize(r.code.size());
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * 2);
}
BENCHMARK(BM_PostReadLookupEach)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

// Addresses from all over the file, as a backup looks them up one by one.
void BM_PostReadLookupMix(benchmark::State& state)
{
    FullSize& f = fullSize();
    const auto index = postal::kenAllIndex(f.path);
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        const postal::PostReadResult r = index->lookup(f.mix[i++ % f.mix.size()], int(state.range(0)));
        found += !r.code.empty();
        benchmark::DoNotOptimize(r.code.size());
    }
    state.counters["found"] = double(found) / double(std::max<std::size_t>(i, 1));
}
BENCHMARK(BM_PostReadLookupMix)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same through kenAllIndex(path), which looks at the file each call.
void BM_PostReadLookupByPath(benchmark::State& state)
{
    FullSize& f = fullSize();
    std::size_t i = 0;
    for (auto _ : state) {
        const postal::PostReadResult r = postal::kenAllIndex(f.path)->lookup(f.mix[i++ % f.mix.size()], 0);
        benchmark::DoNotOptimize(r.code.size());
    }
}
BENCHMARK(BM_PostReadLookupByPath)->Unit(benchmark::kMicrosecond);

// The plain scan from the top that the index replaces, for comparison.
void BM_PostReadScanFromTop(benchmark::State& state)
{
    FullSize& f = fullSize();
    const auto index = postal::kenAllIndex(f.path);
    std::size_t i = 0;
    for (auto _ : state) {
        const postal::PostReadResult r =
            postal::postReadScan(index->lines(), f.addresses[i++ % f.addresses.size()], 0);
        benchmark::DoNotOptimize(r.code.size());
    }
}
BENCHMARK(BM_PostReadScanFromTop)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// Rebuilding the PostData table from the full-size file, in one
// transaction; timed by hand around the rebuild alone.
void BM_PostDataRebuild(benchmark::State& state)
{
    FullSize& f = fullSize();
    std::vector<std::pair<SjisString, SjisString>> rows;
    for (std::string_view line : splitLines(f.data))
        rows.push_back(postal::postDataRecord(postal::postDataCells(line), {3, 7, 8, 9}));
    const auto db = openSharedDatabase(f.dir.filePath(QStringLiteral("CARDATA.sqlite3")));
    Table table(*db, "PostData");
    table.Open();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        postal::replacePostData(table, rows);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    state.counters["records"] = double(table.RecordCount());
}
BENCHMARK(BM_PostDataRebuild)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace
